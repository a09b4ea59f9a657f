// The chord selection dialog as a model: the type list merged from the
// catalogue and the user's chords, the variations and shapes it offers, the
// spelling line, type-ahead, and New and Remove against a dictionary file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "chords/ChordAudition.h"
#include "chords/ChordCatalogue.h"
#include "chords/ChordCatalogueSources.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordDictionaryWrite.h"
#include "chords/ChordNames.h"
#include "chords/ChordSettings.h"
#include "common/Globals.h"
#include "common/RecentChords.h"
#include "dialogs/KDlg8StringChordDes.h"
#include "dialogs/KDlgChordSelect.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"
#include "support/TempFolder.h"

namespace {

const char* const kStandard = "E A D G B E  323742475156";

// A user chord record of the standard tuning.
CString UserRecord(const char* root, const char* type, const char* head, const char* details = "") {
  return BuildChordRecord(kStandard, "323742475156", root, type, details, "",
                          CString(head) + CString(' ', 8) + " 0110" + "000640");
}

class ChordSelectDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetChordDictionary();
    ResetChordSettings();
    ClearRecentChords();
    g_ChordFilePath = (m_folder.Path() / "ZODireda.dat").string().c_str();
    InstallChordNameSources();
  }
  void TearDown() override {
    ResetChordNameSources();
    ResetChordDictionary();
    ResetChordSettings();
    ClearRecentChords();
    ResetCommonGlobals();
  }
  void Dictionary(const std::vector<CString>& records) {
    std::ofstream(g_ChordFilePath.Str(), std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(AppendChordRecords(records));
    ClearChordDictionary();
    LoadChordDictionary();
  }
  std::vector<std::string> Rows(const KDlgChordSelect& dialog) {
    std::vector<std::string> rows;
    for (const ChordTypeEntry& entry : dialog.TypeRows()) rows.push_back(entry.name.Str());
    return rows;
  }

  stavlin_test::TempFolder m_folder{"chordselect"};
  FakeUiPort m_ui;
  ScopedUiPort m_scope{m_ui};
  FakeSymbolLoader m_symbols;
  ScopedSymbolLoader m_symbolScope{m_symbols};
};

TEST_F(ChordSelectDialog, OpensOnTheMajorChordOfTheRootAndSpellsIt) {
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.typeName, "(major)");
  EXPECT_EQ(dialog.shape, "0932010");
  EXPECT_EQ(Rows(dialog).front(), "(major)");
  EXPECT_EQ(dialog.IntervalLabel(0), "R");
  EXPECT_EQ(dialog.IntervalLabel(1), "3rd");
  EXPECT_EQ(dialog.NoteLabel(1), "(E)");
  EXPECT_FALSE(dialog.Controls().Find(KDlgChordSelect::kIdRemove)->visible);

  // A minor third over C is spelt with a flat.
  dialog.Controls().Select(KDlgChordSelect::kIdType, dialog.FindTypeIndex("m"));
  EXPECT_EQ(dialog.NoteLabel(1), "(Eb)");
  // Variation 2 of C minor, as the catalogue lists it.
  dialog.Controls().Select(KDlgChordSelect::kIdVariation, 1);
  LibraryType minor;
  ASSERT_EQ(FindLibraryType(GetChordNameSources(), ChordRootIndex("C "), "m", minor), LibraryLookup::kFound);
  EXPECT_EQ(dialog.shape, LibraryVariation(minor.text, 2));
  EXPECT_EQ(dialog.variation, 2);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.isUserChord, 0);
}

TEST_F(ChordSelectDialog, UserChordsJoinTheirTypeOrStandAlone) {
  Dictionary({UserRecord("C ", "m", "0935543", "barre"), UserRecord("C ", "6/9", "0932233", "colour"),
              UserRecord("C ", "zz", "0932000")});
  const struct {
    const char* what;
    int userFirst;
    std::vector<std::string> head;  // the first rows
  } cases[] = {
      {"user types after the catalogue's", 0, {"(major)", "m*", "7"}},
      {"user types first", 1, {"6/9*", "zz*", "(major)", "m*"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_chordSettings.userTypesFirst = c.userFirst;
    KDlgChordSelect dialog;
    dialog.key = "C ";
    dialog.OnInitDialog();
    const std::vector<std::string> rows = Rows(dialog);
    ASSERT_GE(rows.size(), c.head.size());
    EXPECT_EQ(std::vector<std::string>(rows.begin(), rows.begin() + static_cast<long>(c.head.size())),
              c.head);
    // The user's C minor follows the catalogue's variations.
    dialog.Controls().Select(KDlgChordSelect::kIdType, dialog.FindTypeIndex("m*"));
    const int count = dialog.VariationCount();
    EXPECT_EQ(count, dialog.libVarCount + 1);
    dialog.Controls().Select(KDlgChordSelect::kIdVariation, count - 1);
    EXPECT_EQ(dialog.shape.Left(7), "0935543");
    EXPECT_EQ(dialog.Details(), "barre");
    EXPECT_TRUE(dialog.Controls().Find(KDlgChordSelect::kIdRemove)->visible);
    // A user-only type shows its own chord.
    dialog.Controls().Select(KDlgChordSelect::kIdType, dialog.FindTypeIndex("6/9*"));
    EXPECT_EQ(dialog.typeName, "6/9");
    EXPECT_EQ(dialog.shape.Left(7), "0932233");
  }
}

TEST_F(ChordSelectDialog, WithoutTheCatalogueTheBlankRowHeadsAlignedRows) {
  g_chordSettings.libraryOff = 1;
  KDlgChordSelect empty;
  empty.key = "C ";
  empty.OnInitDialog();
  EXPECT_EQ(Rows(empty), std::vector<std::string>{"Blank"});
  EXPECT_EQ(empty.VariationCount(), 1);
  EXPECT_EQ(empty.shape, "0000000");

  Dictionary({UserRecord("C ", "6/9", "0932233", "colour"), UserRecord("C ", "zz", "0932000", "odd")});
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"Blank", "6/9*", "zz*"}));
  // Each row stands for the type it shows.
  for (const char* type : {"zz", "6/9"}) {
    dialog.Controls().Select(KDlgChordSelect::kIdType, dialog.FindTypeIndex(CString(type) + "*"));
    EXPECT_EQ(dialog.typeName, type);
    EXPECT_EQ(dialog.Details(), type == std::string("zz") ? "odd" : "colour");
  }
}

TEST_F(ChordSelectDialog, TypingChoosesRootsAndTypes) {
  KDlgChordSelect dialog;
  dialog.key = "E ";
  dialog.OnInitDialog();
  dialog.MatchTypedText("b", 1);
  EXPECT_EQ(dialog.key, "Eb");
  dialog.MatchTypedText("m", 2);
  EXPECT_EQ(dialog.typeName, "m");
  dialog.MatchTypedText("7", 2);
  EXPECT_EQ(dialog.typeName, "m7");
  EXPECT_TRUE(m_ui.Messages().empty());

  KDlgChordSelect other;
  other.key = "C ";
  other.OnInitDialog();
  other.MatchTypedText("b", 1);  // there is no "Cb"
  EXPECT_EQ(other.key, "C ");
  EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{7021});
}

TEST_F(ChordSelectDialog, RemovingTheOnlyUserVariationFallsBackToTheMajorChord) {
  Dictionary({UserRecord("C ", "zz", "0932000"), UserRecord("D ", "7", "0990212")});
  const auto before = std::filesystem::file_size(g_ChordFilePath.Str());
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  dialog.Controls().Select(KDlgChordSelect::kIdType, dialog.FindTypeIndex("zz*"));
  dialog.OnRemove();
  EXPECT_EQ(std::filesystem::file_size(g_ChordFilePath.Str()), before - 132);
  EXPECT_EQ(dialog.typeName, "(major)");
  EXPECT_EQ(dialog.FindTypeIndex("zz*"), -1);
  EXPECT_NE(g_pendingChordKeys.Find("Czz 1"), -1);
}

TEST_F(ChordSelectDialog, ADesignedChordThatCouldNotBeStoredIsNotOffered) {
  // The dictionary file cannot be written: a folder stands in its place.
  std::filesystem::create_directories(g_ChordFilePath.Str());
  m_ui.AnswerDialog(KDlg8StringChordDes::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlg8StringChordDes::kIdType, "mine");
    return IDOK;
  });
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  dialog.OnNew();
  EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{7012});
  EXPECT_EQ(dialog.FindTypeIndex("mine*"), -1);
  EXPECT_EQ(g_ChordDictionary.GetCount(), 0);
}

TEST_F(ChordSelectDialog, ADesignedChordIsStoredAndBecomesTheLastVariation) {
  Dictionary({});
  m_ui.AnswerDialog(KDlg8StringChordDes::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlg8StringChordDes::kIdType, "m");
    return IDOK;
  });
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  const CString designed = dialog.shape;  // the designer starts from the current chord
  dialog.OnNew();
  EXPECT_EQ(dialog.typeName, "m");
  EXPECT_EQ(dialog.variation, dialog.VariationCount());
  EXPECT_EQ(dialog.shape.Left(7), designed.Left(7));
  EXPECT_EQ(std::filesystem::file_size(g_ChordFilePath.Str()), 132u);
}

TEST_F(ChordSelectDialog, CharactersTypedIntoTheListsChooseRootTypeVariationAndNoteType) {
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  DialogControls& c = dialog.Controls();
  // A root preset by the caller takes letters as the start of a type until
  // the type list has had the focus.
  c.Focus(KDlgChordSelect::kIdType);
  const struct {
    UINT list;
    char typed;
    const char* key;
    const char* type;
    int variation;
  } steps[] = {
      {KDlgChordSelect::kIdRoot, 'e', "E ", "(major)", 1},
      {KDlgChordSelect::kIdRoot, 'b', "Eb", "(major)", 1},  // the accidental of the root shown
      {KDlgChordSelect::kIdRoot, 'm', "Eb", "m", 1},        // after the root: the type's name
      {KDlgChordSelect::kIdType, '7', "Eb", "m7", 1},
      {KDlgChordSelect::kIdVariation, '2', "Eb", "m7", 2},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::string(1, step.typed));
    EXPECT_TRUE(c.TypeChar(step.list, step.typed));
    EXPECT_EQ(dialog.key, step.key);
    EXPECT_EQ(dialog.typeName, step.type);
    EXPECT_EQ(dialog.variation, step.variation);
  }
  EXPECT_TRUE(m_ui.Messages().empty());
  EXPECT_TRUE(c.TypeChar(KDlgChordSelect::kIdNoteType, 'h'));
  EXPECT_EQ(c.Selected(KDlgChordSelect::kIdNoteType), 1);
  EXPECT_TRUE(c.TypeChar(KDlgChordSelect::kIdNoteType, 'z'));
  EXPECT_EQ(m_ui.MessageIds(), std::vector<UINT>{7016});
  EXPECT_EQ(c.Selected(KDlgChordSelect::kIdNoteType), 1);
  // A blank is no name's start: the list keeps it.
  EXPECT_FALSE(c.TypeChar(KDlgChordSelect::kIdType, ' '));
}

TEST_F(ChordSelectDialog, ATypedChordComesBackOnItsLastUsedVariation) {
  g_RecentChords[0] = ChordRecord{kStandard, "G ", "m", "", 0, 0, 0, 2};
  g_RecentChordCount = 1;
  KDlgChordSelect dialog;
  dialog.key = "C ";
  dialog.OnInitDialog();
  dialog.Controls().Focus(KDlgChordSelect::kIdType);
  dialog.Controls().TypeChar(KDlgChordSelect::kIdRoot, 'g');
  EXPECT_EQ(dialog.variation, 1);
  dialog.Controls().TypeChar(KDlgChordSelect::kIdType, 'm');
  EXPECT_EQ(dialog.typeName, "m");
  EXPECT_EQ(dialog.variation, 2);
}

TEST_F(ChordSelectDialog, TheFrameMarksThePictureTheLineTakesAndMovesOnlyOnAChordLine) {
  const struct {
    const char* what;
    int frame;
    int lineFlag;
    int after;  // the frame after a left click on the keyboard picture
  } cases[] = {
      {"chord line showing diagrams", 0, 1, 2},
      {"staff", 1, 0, 1},
      {"tablature", 3, 0, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KDlgChordSelect dialog;
    dialog.key = "G ";
    dialog.pictureFrame = c.frame;
    dialog.lineFlag = c.lineFlag;
    dialog.OnInitDialog();
    for (int k = 0; k < KDlgChordSelect::kFrameCount; ++k) EXPECT_EQ(dialog.FrameShown(k), k == c.frame);
    DialogMouse left;
    dialog.Controls().Click(KDlgChordSelect::kIdKeyboardPicture, left);
    EXPECT_EQ(dialog.pictureFrame, c.after);
    EXPECT_TRUE(dialog.FrameShown(c.after));
  }
  EXPECT_EQ(g_chordSettings.frameChoice, 2);
}

// A right click sounds the chord: the picture clicked sets the strum delay
// (the staff picture and the window outside the pictures keep the last one),
// Ctrl plays it on the chord instrument; a left click outside plays nothing.
TEST_F(ChordSelectDialog, ARightClickAnywhereInTheWindowPlaysTheChord) {
  constexpr UINT kWindow = 0;
  struct Played {
    int strum;
    int program;
  };
  const struct {
    const char* what;
    UINT where;
    int button;
    UINT flags;
    bool plays;
    Played played;
  } clicks[] = {
      {"right on the diagram", KDlgChordSelect::kIdDiagramPicture, 2, 0, true, {25, 0}},
      {"right outside the pictures", kWindow, 2, 0, true, {25, 0}},
      {"right on the small picture", KDlgChordSelect::kIdKeyboardPicture, 2, 0, true, {0, 0}},
      {"right on the staff", KDlgChordSelect::kIdStaffPicture, 2, 0, true, {0, 0}},
      {"right with Ctrl outside", kWindow, 2, kDialogMouseControl, true, {0, 30}},
      {"right on the tablature", KDlgChordSelect::kIdTabPicture, 2, 0, true, {25, 0}},
      {"left outside the pictures", kWindow, 1, 0, false, {}},
  };
  std::vector<std::string> heard;
  SetChordAudition([&](const CString& shape, const CString&, int strum, int program) {
    heard.push_back(std::string(shape.View()) + " " + std::to_string(strum) + " " + std::to_string(program));
  });
  g_chordSettings.chordInstrument = 30;
  g_chordSettings.strumDelay = 7;
  KDlgChordSelect dialog;
  dialog.key = "G ";
  dialog.OnInitDialog();
  for (const auto& c : clicks) {
    SCOPED_TRACE(c.what);
    heard.clear();
    DialogMouse mouse;
    mouse.button = c.button;
    mouse.flags = c.flags;
    if (c.where == kWindow) {
      dialog.Controls().ClickWindow(mouse);
    } else {
      dialog.Controls().Click(c.where, mouse);
    }
    if (!c.plays) {
      EXPECT_TRUE(heard.empty());
      continue;
    }
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], std::string(dialog.shape.View()) + " " + std::to_string(c.played.strum) + " " +
                            std::to_string(c.played.program));
  }
  SetChordAudition(nullptr);
}

}  // namespace
