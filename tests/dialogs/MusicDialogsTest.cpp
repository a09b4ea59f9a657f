// The dialogs of the music commands: key and time signature, transposition,
// staff length, scrolling, Go To and the autosave interval's limits, played
// as a user plays them on the controls.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/AutoSaveDialog.h"
#include "dialogs/KDlgGoTo.h"
#include "dialogs/KDlgKeySig.h"
#include "dialogs/KDlgScrollData.h"
#include "dialogs/KDlgSetLineLength.h"
#include "dialogs/KDlgTimeSig.h"
#include "dialogs/KDlgTranspose.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"

namespace {

class MusicDialogTest : public ::testing::Test {
 protected:
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  // The signature dialogs draw their previews from the music symbols.
  FakeSymbolLoader symbols;
  ScopedSymbolLoader symbolsInUse{symbols};
};

// ---- Key signature ------------------------------------------------------------------

// Steps round the circle of fifths: 'u' one more sharp, 'd' one more flat.
struct FifthsCase {
  const char* name;
  int startCode;
  const char* steps;
  int code;
  const char* keyName;
};

void PrintTo(const FifthsCase& c, std::ostream* out) { *out << c.name; }

class KeySigFifthsTest : public MusicDialogTest, public ::testing::WithParamInterface<FifthsCase> {};

TEST_P(KeySigFifthsTest, SteppingTheCircleOfFifthsShowsTheKey) {
  const FifthsCase& c = GetParam();
  KDlgKeySig dialog;
  dialog.keyCode = c.startCode;
  dialog.OnInitDialog();
  for (const char* s = c.steps; *s != 0; ++s)
    dialog.PressButton(*s == 'u' ? KDlgKeySig::kIdFifthUp : KDlgKeySig::kIdFifthDown);
  EXPECT_EQ(dialog.keyCode, c.code);
  EXPECT_EQ(dialog.Controls().Selected(KDlgKeySig::kIdKeyName), KDlgKeySig::IndexOfCode(c.code));
  EXPECT_EQ(std::string(KDlgKeySig::KeyName(dialog.nameIndex)), c.keyName);
  EXPECT_EQ(dialog.Controls().Text(KDlgKeySig::kIdCount), std::to_string(c.code / 2));
  EXPECT_EQ(dialog.Controls().Checked(c.code % 2 == 0 ? KDlgKeySig::kIdSharps : KDlgKeySig::kIdFlats), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Fifths, KeySigFifthsTest,
    ::testing::Values(FifthsCase{"down from C gives one flat, not code 1", 0, "d", 3, "F   / Dm"},
                      FifthsCase{"up from one flat gives C", 3, "u", 0, "C   / Am"},
                      FifthsCase{"up twice from C gives D", 0, "uu", 4, "D   / Bm"},
                      FifthsCase{"seven sharps is the top", 14, "u", 14, "C# / A#m"},
                      FifthsCase{"seven flats is the bottom", 15, "d", 15, "Cb / Abm"},
                      FifthsCase{"down three from G gives B flat", 2, "ddd", 5, "Bb / Gm"},
                      FifthsCase{"down from E walks the sharps", 8, "d", 6, "A   / F#m"}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(MusicDialogTest, KeySigOpensOnCWithSharpsAndSetTheLine) {
  KDlgKeySig dialog;
  dialog.keyCode = 0;
  dialog.OnInitDialog();
  const DialogControls& c = dialog.Controls();
  EXPECT_EQ(c.Selected(KDlgKeySig::kIdKeyName), 0);
  EXPECT_EQ(c.Text(KDlgKeySig::kIdCount), "0");
  EXPECT_EQ(c.Checked(KDlgKeySig::kIdSharps), 1);
  EXPECT_EQ(c.RadioValue(KDlgKeySig::kIdSetKey), KDlgKeySig::kActionSetLine);
  EXPECT_EQ(c.Find(KDlgKeySig::kIdKeyLabel)->caption, "Key:");
}

TEST_F(MusicDialogTest, KeySigFlatsWithNoAccidentalsIsCodeOneShownAsC) {
  KDlgKeySig dialog;
  dialog.OnInitDialog();
  dialog.Controls().SetChecked(KDlgKeySig::kIdFlats, 1);
  EXPECT_EQ(dialog.keyCode, 1);
  EXPECT_EQ(dialog.Controls().Selected(KDlgKeySig::kIdKeyName), 0);
}

TEST_F(MusicDialogTest, KeySigTypedFlatAfterEPicksEFlatAndAnUnknownLetterIsRefused) {
  KDlgKeySig dialog;
  dialog.keyCode = 8;  // E
  dialog.OnInitDialog();
  dialog.OnTypeKeyName("b");
  EXPECT_EQ(dialog.keyCode, 7);
  EXPECT_EQ(std::string(KDlgKeySig::KeyName(dialog.nameIndex)), "Eb / Cm");
  dialog.OnTypeKeyName("x");
  EXPECT_EQ(dialog.keyCode, 7);
  ASSERT_EQ(ui.MessageIds(), std::vector<UINT>{7017});
}

TEST_F(MusicDialogTest, KeySigCountOutsideZeroToSevenIsRefusedAndFallsBack) {
  KDlgKeySig dialog;
  dialog.keyCode = 5;  // two flats
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgKeySig::kIdCount, "3");
  EXPECT_EQ(dialog.keyCode, 7);
  dialog.Controls().SetText(KDlgKeySig::kIdCount, "9");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7023});
  EXPECT_EQ(dialog.keyCode, 3);  // flats fall back to one flat
  EXPECT_EQ(dialog.count, 1);
}

TEST_F(MusicDialogTest, KeySigNaturalsChooseInsertingAndTheCancelLabel) {
  KDlgKeySig dialog;
  dialog.keyCode = 4;
  ui.AnswerDialog(KDlgKeySig::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetChecked(KDlgKeySig::kIdNaturals, 1);
    EXPECT_EQ(d.Controls().Find(KDlgKeySig::kIdKeyLabel)->caption, "Key to Cancel:");
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.naturals, 1);
  EXPECT_EQ(dialog.action, KDlgKeySig::kActionInsert);
  EXPECT_EQ(dialog.keyCode, 4);
}

// ---- Time signature -------------------------------------------------------------------

TEST_F(MusicDialogTest, TimeSigOpensOnFourFourNumeric) {
  KDlgTimeSig dialog;
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Controls().RadioValue(KDlgTimeSig::kIdCommon), KDlgTimeSig::kNumeric);
  EXPECT_EQ(dialog.Controls().Text(KDlgTimeSig::kIdBeats), "4");
  EXPECT_EQ(dialog.Controls().Checked(KDlgTimeSig::kIdValue4), 1);
}

struct BeatsCase {
  const char* name;
  const char* typed;  // typed first, or null
  const char* steps;  // '+' or '-'
  int beats;
  std::vector<UINT> messages;
};

void PrintTo(const BeatsCase& c, std::ostream* out) { *out << c.name; }

class TimeSigBeatsTest : public MusicDialogTest, public ::testing::WithParamInterface<BeatsCase> {};

TEST_P(TimeSigBeatsTest, TypedAndSteppedBeats) {
  const BeatsCase& c = GetParam();
  KDlgTimeSig dialog;
  dialog.OnInitDialog();
  if (c.typed != nullptr) dialog.Controls().SetText(KDlgTimeSig::kIdBeats, c.typed);
  for (const char* s = c.steps; *s != 0; ++s)
    dialog.PressButton(*s == '+' ? KDlgTimeSig::kIdBeatsUp : KDlgTimeSig::kIdBeatsDown);
  EXPECT_EQ(dialog.beats, c.beats);
  EXPECT_EQ(ui.MessageIds(), c.messages);
  EXPECT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.beats, c.beats);
}

INSTANTIATE_TEST_SUITE_P(
    Beats, TimeSigBeatsTest,
    ::testing::Values(BeatsCase{"up from sixteen wraps to one", "16", "+", 1, {}},
                      BeatsCase{"down from one wraps to sixteen", "1", "-", 16, {}},
                      BeatsCase{"seventeen is refused and the beats stay", "17", "", 4, {7024}},
                      BeatsCase{"a letter is refused", "x", "", 4, {7024}},
                      BeatsCase{"twelve is taken", "12", "", 12, {}}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(MusicDialogTest, TimeSigRefusedBeatsEmptyTheBox) {
  KDlgTimeSig dialog;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgTimeSig::kIdBeats, "17");
  EXPECT_EQ(dialog.Controls().Text(KDlgTimeSig::kIdBeats), "");
}

TEST_F(MusicDialogTest, TimeSigSixteenthBeatValueChoosesNumeric) {
  KDlgTimeSig dialog;
  dialog.OnInitDialog();
  dialog.Controls().SetChecked(KDlgTimeSig::kIdCut, 1);
  dialog.Controls().SetChecked(KDlgTimeSig::kIdValue16, 1);
  EXPECT_EQ(dialog.Controls().RadioValue(KDlgTimeSig::kIdCommon), KDlgTimeSig::kNumeric);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.beatValue, 16);
  EXPECT_EQ(dialog.choice, KDlgTimeSig::kNumeric);
}

// ---- The time signature's preview --------------------------------------------------------

TEST_F(MusicDialogTest, TimeSigPreviewShowsTheFiguresOfTheBeatsOverTheBeatValue) {
  KDlgTimeSig dialog;
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.ShownBeatsFigure(), 103);
  EXPECT_EQ(dialog.ShownValueFigure(), 103);
  dialog.Controls().SetChecked(KDlgTimeSig::kIdValue16, 1);
  EXPECT_EQ(dialog.ShownValueFigure(), 115);
  dialog.Controls().SetText(KDlgTimeSig::kIdBeats, "12");
  EXPECT_EQ(dialog.ShownBeatsFigure(), 111);
  for (int i = 0; i < 5; ++i) dialog.OnBeatsUp();  // 16 wraps to 1
  EXPECT_EQ(dialog.ShownBeatsFigure(), 100);
}

// ---- Transpose ------------------------------------------------------------------------

TEST_F(MusicDialogTest, TransposeDirectionFollowsTheKeys) {
  KDlgTranspose dialog;
  dialog.targetKey = 5;
  dialog.assumedKey = 14;  // G
  dialog.scope = 2;
  dialog.placement = 0;
  dialog.accidentals = 0;
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Controls().RadioValue(KDlgTranspose::kIdRaise), KDlgTranspose::kClosest);
  dialog.Controls().Select(KDlgTranspose::kIdTargetKey, 14);
  EXPECT_EQ(dialog.Controls().RadioValue(KDlgTranspose::kIdRaise), KDlgTranspose::kRaise);
  // Lower chosen with equal keys stays Lower.
  dialog.Controls().SetChecked(KDlgTranspose::kIdLower, 1);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.direction, KDlgTranspose::kLower);
}

TEST_F(MusicDialogTest, TransposeFretAboveTwentyIsRefused) {
  KDlgTranspose dialog;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgTranspose::kIdFret, "21");
  EXPECT_FALSE(dialog.OnOK());
  EXPECT_EQ(dialog.FocusRequest(), KDlgTranspose::kIdFret);
  dialog.Controls().SetText(KDlgTranspose::kIdFret, "20");
  EXPECT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.fret, 20);
}

TEST_F(MusicDialogTest, TransposeTypeAheadFindsFlatsAndRefusesUnknownLetters) {
  KDlgTranspose dialog;
  dialog.targetKey = 5;
  dialog.OnInitDialog();
  dialog.OnTypeTargetKey("E");
  EXPECT_EQ(std::string(KDlgTranspose::KeyName(dialog.targetKey)), "E   / C#m");
  dialog.OnTypeTargetKey("b");
  EXPECT_EQ(std::string(KDlgTranspose::KeyName(dialog.targetKey)), "Eb / Cm ");
  dialog.OnTypeTargetKey("H");
  EXPECT_EQ(std::string(KDlgTranspose::KeyName(dialog.targetKey)), "Eb / Cm ");
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7017});
}

// ---- Scrolling --------------------------------------------------------------------------

struct DelayCase {
  const char* typed;
  int tenths;  // -1: refused
};

class ScrollDelayTest : public MusicDialogTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(ScrollDelayTest, TypedDelayInTenths) {
  KDlgScrollData dialog;
  dialog.tenths = 25;
  dialog.lines = 3;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgScrollData::kIdDelay, GetParam().typed);
  if (GetParam().tenths < 0) {
    EXPECT_EQ(dialog.tenths, 25);
    EXPECT_EQ(dialog.Controls().Text(KDlgScrollData::kIdDelay), "");
    EXPECT_EQ(ui.Messages().size(), 1u);
  } else {
    EXPECT_EQ(dialog.tenths, GetParam().tenths);
    EXPECT_TRUE(ui.Messages().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Delays, ScrollDelayTest,
                         ::testing::Values(DelayCase{"0.05", -1}, DelayCase{"0.1", 1}, DelayCase{"30", 300},
                                           DelayCase{"30.1", -1}, DelayCase{"2.75", 27}, DelayCase{"a", -1}),
                         [](const auto& info) {
                           return viewtest::CaseName(std::string("typed ") + info.param.typed);
                         });

TEST_F(MusicDialogTest, ScrollLinesRefuseSixteenAndTheSteppersWrap) {
  KDlgScrollData dialog;
  dialog.tenths = 300;
  dialog.lines = 15;
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Controls().Text(KDlgScrollData::kIdDelay), "30.0");
  dialog.Controls().SetText(KDlgScrollData::kIdLines, "16");
  EXPECT_EQ(dialog.lines, 15);
  EXPECT_EQ(dialog.Controls().Text(KDlgScrollData::kIdLines), "");
  dialog.PressButton(KDlgScrollData::kIdDelayUp);
  EXPECT_EQ(dialog.tenths, 1);
  dialog.PressButton(KDlgScrollData::kIdDelayDown);
  EXPECT_EQ(dialog.tenths, 300);
  dialog.PressButton(KDlgScrollData::kIdLinesUp);
  EXPECT_EQ(dialog.lines, 1);
  dialog.PressButton(KDlgScrollData::kIdLinesDown);
  EXPECT_EQ(dialog.lines, 1);
}

// ---- Staff length, Go To, Autosave -----------------------------------------------------

TEST_F(MusicDialogTest, StaffLengthTypingALengthChoosesAFixedUserLength) {
  KDlgSetLineLength dialog;
  dialog.fixed = 1;
  dialog.source = KDlgSetLineLength::kSourceCaret;
  dialog.range = 2;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgSetLineLength::kIdUserLength, "500");
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.source, KDlgSetLineLength::kSourceUser);
  EXPECT_EQ(dialog.fixed, 0);
  EXPECT_EQ(dialog.userLength, 500);
}

TEST_F(MusicDialogTest, GoToNumberOutsideOneToTenThousandIsRefused) {
  KDlgGoTo dialog;
  dialog.number = 1;
  dialog.lineOrBar = 0;
  dialog.typeRadio = 0;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgGoTo::kIdNumber, "10001");
  EXPECT_FALSE(dialog.OnOK());
  dialog.Controls().SetText(KDlgGoTo::kIdNumber, "10000");
  EXPECT_TRUE(dialog.OnOK());
  EXPECT_EQ(KDlgGoTo::TypeOfRadio(4), 15);
  EXPECT_EQ(KDlgGoTo::RadioOfType(16), 14);
}

struct IntervalCase {
  const char* name;
  int unit;  // 0 minutes, 1 characters
  const char* typed;
  bool taken;
};

void PrintTo(const IntervalCase& c, std::ostream* out) { *out << c.name; }

class AutoSaveIntervalTest : public MusicDialogTest, public ::testing::WithParamInterface<IntervalCase> {};

// The score keeps the interval in one byte: the dialog takes only what fits.
TEST_P(AutoSaveIntervalTest, TheIntervalMustFitTheScoresByte) {
  const IntervalCase& c = GetParam();
  KAutoSaveDialog dialog;
  dialog.interval = 10;
  dialog.unit = c.unit;
  dialog.choice = 0;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KAutoSaveDialog::kIdInterval, c.typed);
  EXPECT_EQ(dialog.OnOK(), c.taken);
  if (!c.taken) {
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].id, kIdpParseIntRange);
    EXPECT_EQ(ui.Messages()[0].text,
              std::string("Please enter an integer between 1 and ") + (c.unit == 0 ? "127." : "255."));
    EXPECT_EQ(dialog.interval, 10);
  }
}

INSTANTIATE_TEST_SUITE_P(Intervals, AutoSaveIntervalTest,
                         ::testing::Values(IntervalCase{"127 minutes", 0, "127", true},
                                           IntervalCase{"128 minutes", 0, "128", false},
                                           IntervalCase{"255 characters", 1, "255", true},
                                           IntervalCase{"256 characters", 1, "256", false}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
