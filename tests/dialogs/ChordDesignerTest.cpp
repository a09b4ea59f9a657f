// The chord designer as a model: the grid's mouse rules (dots, markers,
// barres and clicks inside a barre, several dots per string), the shape it
// writes, the fingering and tuning spins, the note names under the strings,
// the previews, and OK storing what was drawn.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordRecord.h"
#include "chords/ChordSettings.h"
#include "common/Globals.h"
#include "dialogs/ChordDesignerGrid.h"
#include "dialogs/ChordDesignerTuning.h"
#include "dialogs/KDlg8StringChordDes.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace {

// A click on the grid of six strings and four rows: column c (0 the lowest
// string), and where: a fret row 1..4, the marker strip (0), the strip
// above the markers (-1) or the nut (-2).
struct GridClick {
  int column;
  int row;
  int button = 1;  // 1 left, 2 right
  bool shift = false;
  bool ctrl = false;
};

int ClickX(const KChordGrid& grid, int column) { return grid.GridLeft() + 36 * column + 10; }
int ClickY(const KChordGrid& grid, int row) {
  if (row == 0) return 27;
  if (row == -2) return 40;  // the nut
  if (row < 0) return 10;
  return 43 + (row - 1) * grid.RowHeight() + 10;
}

struct GridCase {
  const char* what;
  std::vector<GridClick> clicks;
  const char* prefix;     // the shape's first seven characters afterwards
  int refused = 0;        // clicks refused with a beep
  bool multiple = false;  // several dots per string allowed
  const char* dots = "";  // the dot characters after position 40
};

class GridRules : public ::testing::TestWithParam<GridCase> {
 protected:
  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
};

TEST_P(GridRules, ClicksGiveTheShape) {
  const GridCase& c = GetParam();
  KChordGrid grid;
  grid.SetStringCount(6);
  grid.SetMultipleDots(c.multiple);
  int refused = 0;
  for (const GridClick& click : c.clicks)
    if (!grid.Click(ClickX(grid, click.column), ClickY(grid, click.row), click.button, click.shift,
                    click.ctrl))
      ++refused;
  const CString shape = grid.BuildShape();
  EXPECT_EQ(shape.Left(7), c.prefix);
  EXPECT_EQ(refused, c.refused);
  EXPECT_EQ(static_cast<int>(m_ui.Beeps().size()), refused);
  EXPECT_EQ(shape.GetLength() > 40 ? shape.Mid(40) : CString(), CString(c.dots));
}

// 16 x string number (1 the rightmost) + 2 x row + kind - 1.
constexpr char kDot1Row2[] = {16 + 4, 16 + 6, 0};

const GridCase kGridCases[] = {
    {"a C major chord in the open position",
     {{0, 0}, {1, 3}, {2, 2}, {3, 0, 2}, {4, 1}, {5, 0, 2}},
     "0932010"},
    {"the same dot twice lets the string ring open", {{2, 2}, {2, 2}}, "0990999"},
    {"a dot of the second kind", {{2, 2, 2}}, "0996999"},
    {"a barre over all six strings on the first row", {{0, 1, 1, true}, {5, 1, 1, true}}, "0m11111"},
    {"a barre gesture above the markers on a muted string is refused", {{2, -1}}, "0999999", 1},
    {"a click on the nut is refused", {{2, -2}}, "0999999", 1},
    {"a middle string of a barre keeps the barre's row",
     {{0, 1, 1, true}, {5, 1, 1, true}, {2, 1}},
     "0m11111",
     1},
    {"a middle string of a barre takes a dot below the barre",
     {{0, 1, 1, true}, {5, 1, 1, true}, {2, 3}},
     "0m13111"},
    {"the last string of a barre opened leaves the barre",
     {{0, 1, 1, true}, {5, 1, 1, true}, {5, 0, 2}},
     "0c11110"},
    {"a click on the first string's dot moves the barre's start and opens the string",
     {{0, 1, 1, true}, {5, 1, 1, true}, {0, 1}},
     "00c1111"},
    {"a barre started and cancelled on the same string", {{3, 2, 1, true}, {3, 2, 1, true}}, "0999299"},
    {"several dots on one string, one cleared with Ctrl",
     {{5, 2}, {5, 3}, {5, 4}, {5, 4, 1, false, true}},
     "0999999",
     0,
     true,
     kDot1Row2},
};

INSTANTIATE_TEST_SUITE_P(Designer, GridRules, ::testing::ValuesIn(kGridCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.what); });

TEST(ChordDesignerGrid, FewerRowsMuteTheStringsBeyondThemAndTheFretPositionStaysOnTheNeck) {
  FakeUiPort ui;
  ScopedUiPort scope{ui};
  KChordGrid grid;
  grid.SetStringCount(6);
  grid.SetFretRows(7);
  grid.Click(ClickX(grid, 1), ClickY(grid, 6), 1, false);
  grid.Click(ClickX(grid, 2), ClickY(grid, 2), 1, false);
  EXPECT_EQ(grid.Value(1), 6);
  // Fret 20 with a dot on row 6 would pass fret 24.
  EXPECT_FALSE(grid.SetFretPosition(20));
  EXPECT_EQ(grid.FretPosition(), 0);
  EXPECT_TRUE(grid.SetFretPosition(18));
  grid.SetFretRows(4);
  EXPECT_EQ(grid.Value(1), 9);
  EXPECT_EQ(grid.Value(2), 2);
}

TEST(ChordDesignerGrid, TheFretPositionArrowsGoRoundTheNeckUnlessADotWouldPassFret24) {
  FakeUiPort ui;
  ScopedUiPort scope{ui};
  KChordGrid grid;
  grid.SetStringCount(6);
  EXPECT_TRUE(grid.StepFretPosition(-1));
  EXPECT_EQ(grid.FretPosition(), 24) << "down from 0";
  EXPECT_TRUE(grid.StepFretPosition(+1));
  EXPECT_EQ(grid.FretPosition(), 0) << "up from 24";
  EXPECT_TRUE(grid.StepFretPosition(+1));
  EXPECT_EQ(grid.FretPosition(), 1);
  EXPECT_TRUE(ui.Beeps().empty());
  // A dot on row 2: 24 would put it at fret 25.
  grid.Click(ClickX(grid, 1), ClickY(grid, 2), 1, false);
  ASSERT_TRUE(grid.SetFretPosition(0));
  EXPECT_FALSE(grid.StepFretPosition(-1));
  EXPECT_EQ(grid.FretPosition(), 0);
  EXPECT_EQ(ui.Beeps().size(), 1u);
}

TEST(ChordDesignerGrid, FingeringLabelsWrapAndStandInTheShape) {
  KChordGrid grid;
  grid.SetStringCount(6);
  grid.StepFinger(5, +1);  // from the blank label up to "0"
  EXPECT_EQ(KChordGrid::FingerLabel(grid.finger[5]), "0");
  grid.StepFinger(5, -1);
  EXPECT_EQ(KChordGrid::FingerLabel(grid.finger[5]), " ");
  grid.StepFinger(4, -1);  // from the blank label down to "13"
  EXPECT_EQ(KChordGrid::FingerLabel(grid.finger[4]), "13");
  const CString shape = grid.BuildShape();
  ASSERT_EQ(shape.GetLength(), 32);
  EXPECT_EQ(shape[16], '1');
  EXPECT_EQ(shape.Mid(26, 6), "    J ");
}

TEST(ChordDesignerGrid, AFourStringChordKeepsTheSixPlaces) {
  KChordGrid grid;
  grid.SetStringCount(4);
  grid.Click(ClickX(grid, 0), ClickY(grid, 2), 1, false);
  const CString shape = grid.BuildShape();
  EXPECT_EQ(shape.Left(7), "0929999");
  EXPECT_EQ(shape[23], '4');
}

struct TuningCase {
  const char* what;
  CString tuning;
};

class TuningRoundTrip : public ::testing::TestWithParam<TuningCase> {};

TEST_P(TuningRoundTrip, TheRowRebuildsTheTuningItWasGiven) {
  KDesignerTuning row;
  row.Load(GetParam().tuning);
  EXPECT_EQ(row.Build(), GetParam().tuning);
}

INSTANTIATE_TEST_SUITE_P(Designer, TuningRoundTrip,
                         ::testing::Values(TuningCase{"guitar", g_TuningGuitar},
                                           TuningCase{"seven-string guitar", g_TuningGuitar7},
                                           TuningCase{"eight-string guitar", g_TuningGuitar8},
                                           TuningCase{"four-string bass", g_TuningBass4},
                                           TuningCase{"five-string bass", g_TuningBass5},
                                           TuningCase{"four strings with a fret count", g_TuningFourString},
                                           TuningCase{"five-string banjo", g_TuningFiveString},
                                           TuningCase{"diatonic three strings", g_TuningDiatonic}),
                         [](const auto& info) { return viewtest::CaseName(info.param.what); });

TEST(ChordDesignerTuning, StepsWalkTheNamesAndKeepThePitchBetweenEnharmonicNames) {
  KDesignerTuning row;
  row.Load(g_TuningGuitar);
  EXPECT_EQ(row.PitchLabel(6), "(E3)");
  ASSERT_TRUE(row.Step(6, -1));  // E down to Eb
  EXPECT_EQ(row.Name(6), "Eb");
  EXPECT_EQ(row.Pitch(6), 31);
  EXPECT_EQ(row.PitchLabel(6), "(Eb3)");
  ASSERT_TRUE(row.Step(6, -1));  // Eb down to D#: the same note
  EXPECT_EQ(row.Name(6), "D#");
  EXPECT_EQ(row.Pitch(6), 31);
  ASSERT_TRUE(row.Step(6, -1));
  EXPECT_EQ(row.Build(), "D A D G B E  303742475156");
  // Ab down wraps to G#: the same note again.
  KDesignerTuning low;
  low.Load("AbA D G B E  243742475156");
  ASSERT_TRUE(low.Step(6, -1));
  EXPECT_EQ(low.Name(6), "G#");
  EXPECT_EQ(low.Pitch(6), 24);
  EXPECT_FALSE(low.Step(9, 1));
}

class ChordDesignerDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetChordDictionary();
    ResetChordSettings();
    g_ChordFilePath = (m_folder.Path() / "ZODireda.dat").string().c_str();
    std::ofstream(g_ChordFilePath.Str(), std::ios::binary | std::ios::trunc);
  }
  void TearDown() override {
    ResetChordDictionary();
    ResetChordSettings();
    ResetCommonGlobals();
  }
  void Click(KDlg8StringChordDes& dialog, int column, int row, int button = 1, UINT flags = 0) {
    DialogMouse mouse;
    mouse.x = ClickX(dialog.Grid(), column);
    mouse.y = ClickY(dialog.Grid(), row);
    mouse.button = button;
    mouse.flags = flags;
    dialog.Controls().Click(KDlg8StringChordDes::kIdGrid, mouse);
  }
  std::string Caption(KDlg8StringChordDes& dialog, UINT id) { return dialog.Controls().Find(id)->caption; }

  stavlin_test::TempFolder m_folder{"chorddesigner"};
  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
  FakeSymbolLoader m_symbols;
  ScopedSymbolLoader m_symbolScope{m_symbols};
};

TEST_F(ChordDesignerDialog, NotesUnderTheStringsAndThePreviewsFollowTheGrid) {
  KDlg8StringChordDes dialog;
  dialog.key = "C ";
  dialog.chordType = "(major)";
  dialog.shape = "0932010";
  dialog.OnInitDialog();
  const std::vector<std::string> expected = {"E ", "C ", "G ", "E ", "C ", " X "};  // strings 1..6
  for (int n = 1; n <= 6; ++n)
    EXPECT_EQ(Caption(dialog, KDlg8StringChordDes::kIdFirstNoteName + n - 1), expected[n - 1]) << n;
  EXPECT_EQ(dialog.TabPreview().GetNoteCount(), 5);
  EXPECT_EQ(dialog.StaffPreview().GetNoteCount() >= 5, true);
  // Muting string 5 takes its note out of both previews.
  Click(dialog, 1, 0);
  EXPECT_EQ(Caption(dialog, KDlg8StringChordDes::kIdFirstNoteName + 4), " X ");
  EXPECT_EQ(dialog.TabPreview().GetNoteCount(), 4);
  // Strings 7 and 8 have no controls on a guitar.
  EXPECT_FALSE(dialog.Controls().IsShown(KDlg8StringChordDes::kIdFirstTuningSpin + 6));
  EXPECT_TRUE(dialog.Controls().IsShown(KDlg8StringChordDes::kIdFirstTuningSpin + 5));
}

TEST_F(ChordDesignerDialog, SpinsRetuneAStringAndLabelItsFingering) {
  KDlg8StringChordDes dialog;
  dialog.key = "D ";
  dialog.chordType = "(major)";
  dialog.shape = "0990232";
  dialog.OnInitDialog();
  DialogControls& c = dialog.Controls();
  c.Step(KDlg8StringChordDes::kIdFirstTuningSpin + 5, -1);  // string 6: E to Eb
  c.Step(KDlg8StringChordDes::kIdFirstTuningSpin + 5, -1);  // to D#
  c.Step(KDlg8StringChordDes::kIdFirstTuningSpin + 5, -1);  // to D
  EXPECT_EQ(dialog.tuning, "D A D G B E  303742475156");
  EXPECT_EQ(Caption(dialog, KDlg8StringChordDes::kIdFirstTuningName + 5), "D ");
  EXPECT_EQ(Caption(dialog, KDlg8StringChordDes::kIdFirstPitchLabel + 5), "(D3)");
  for (int i = 0; i < 3; ++i) c.Step(KDlg8StringChordDes::kIdFirstFingerSpin, +1);  // string 1: "2"
  EXPECT_EQ(Caption(dialog, KDlg8StringChordDes::kIdFirstFinger), "2");
  EXPECT_EQ(dialog.shape.Mid(26, 6), "     2");

  // OK for the new tuning asks first; No closes without storing.
  m_ui.Answer(8220, IDNO);
  EXPECT_FALSE(dialog.OnOK());
  EXPECT_EQ(dialog.TakeEndRequest(), IDCANCEL);
  EXPECT_EQ(std::filesystem::file_size(g_ChordFilePath.Str()), 0u);
}

TEST_F(ChordDesignerDialog, TheFretPositionArrowsStepTheBoxAndTheShape) {
  KDlg8StringChordDes dialog;
  dialog.key = "C ";
  dialog.chordType = "(major)";
  dialog.shape = "0999999";
  dialog.OnInitDialog();
  DialogControls& c = dialog.Controls();
  c.Step(KDlg8StringChordDes::kIdFretPositionSpin, -1);
  EXPECT_EQ(c.Find(KDlg8StringChordDes::kIdFretPosition)->text, "24");
  EXPECT_EQ(dialog.Grid().FretPosition(), 24);
  c.Step(KDlg8StringChordDes::kIdFretPositionSpin, +1);
  c.Step(KDlg8StringChordDes::kIdFretPositionSpin, +1);
  c.Step(KDlg8StringChordDes::kIdFretPositionSpin, +1);
  EXPECT_EQ(c.Find(KDlg8StringChordDes::kIdFretPosition)->text, "2");
  EXPECT_EQ(dialog.shape.Left(1), "2");
}

TEST_F(ChordDesignerDialog, SeveralDotsPerStringAreStoredAndReadBack) {
  KDlg8StringChordDes dialog;
  dialog.key = "A ";
  dialog.chordType = "scale";
  dialog.details = "a long description of thirty c";
  dialog.shape = "0999999";
  dialog.OnInitDialog();
  ASSERT_TRUE(dialog.Controls().IsShown(KDlg8StringChordDes::kIdMultipleDots));
  dialog.Controls().SetChecked(KDlg8StringChordDes::kIdMultipleDots, 1);
  Click(dialog, 5, 2);
  Click(dialog, 5, 4, 2);
  Click(dialog, 4, 0);
  ASSERT_GT(dialog.shape.GetLength(), 40);
  const CString dots = dialog.shape.Mid(40);
  // String 2's marker dot is a blank character: it leads, so no trimming takes it.
  EXPECT_EQ(dots, CString(" ") + static_cast<char>(16 + 4) + static_cast<char>(16 + 8 + 1));
  ASSERT_TRUE(dialog.OnOK());
  ASSERT_TRUE(dialog.stored);
  // The details give way to the dots at their end.
  const KUserChordData chord(dialog.record);
  EXPECT_EQ(chord.GetShape().Mid(40), dots);
  EXPECT_EQ(chord.GetDescription(), CString("a long description of thirty c").Left(25));

  // Opened again, the designer shows the dots it stored.
  KDlg8StringChordDes again;
  again.key = "A ";
  again.chordType = "scale";
  again.shape = chord.GetShape();
  again.OnInitDialog();
  EXPECT_EQ(again.Controls().Checked(KDlg8StringChordDes::kIdMultipleDots), 1);
  EXPECT_EQ(again.Grid().Dot(1, 2), 1);
  EXPECT_EQ(again.Grid().Dot(1, 4), 2);
  EXPECT_EQ(again.Grid().Dot(2, 0), 1);
  // Switched off, the dots go.
  again.Controls().SetChecked(KDlg8StringChordDes::kIdMultipleDots, 0);
  EXPECT_LE(again.shape.GetLength(), 40);
}

TEST_F(ChordDesignerDialog, SeveralDotsAreNotOfferedForEightStringsOrFretLists) {
  for (const CString& tuning : {g_TuningGuitar8, g_TuningDiatonic}) {
    SCOPED_TRACE(tuning.Str());
    KDlg8StringChordDes dialog;
    dialog.tuning = tuning;
    dialog.key = "D ";
    dialog.chordType = "(major)";
    dialog.OnInitDialog();
    EXPECT_FALSE(dialog.Controls().IsShown(KDlg8StringChordDes::kIdMultipleDots));
  }
  KDlg8StringChordDes diatonic;
  diatonic.tuning = g_TuningDiatonic;
  diatonic.key = "D ";
  diatonic.OnInitDialog();
  EXPECT_TRUE(diatonic.Controls().IsShown(KDlg8StringChordDes::kIdFretIntervals));
  EXPECT_EQ(diatonic.Controls().Find(KDlg8StringChordDes::kIdFretIntervals)->caption,
            "Fret Intervals: 0,2,4,5,7,9,10,11,12...");
}

}  // namespace
