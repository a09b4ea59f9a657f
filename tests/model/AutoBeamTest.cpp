// Automatic beaming of an entered note and the timing check of its measure.

#include <string>

#include "NoteLineTestSupport.h"
#include "common/ViewServices.h"
#include "model/KExtendedObj.h"
#include "model/KListLineAutoBeamServices.h"

namespace {

struct BeamCase {
  const char* name;
  int kind;
  const char* notes;
  int beats;  // the line's override; 0: none
  int beatTicks;
  int mode;
  int code;
  int column;
  int tabDuration;
  int expected;
};

void PrintTo(const BeamCase& c, std::ostream* out) { *out << c.name; }

class AutoBeamTest : public LineTest, public ::testing::WithParamInterface<BeamCase> {};

TEST_P(AutoBeamTest, NoteJoinsBeamInsideBeamUnit) {
  const BeamCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.notes);
  if (c.beats > 0) line->SetTimeSignature(c.beats, c.beatTicks, 0);
  g_beamDefault = 7;
  const std::string notes = NotesText(*line);
  EXPECT_EQ(line->ShouldBeamWithPrevious(c.mode, c.code, c.column, c.tabDuration), c.expected);
  EXPECT_EQ(NotesText(*line), notes);
}

// Codes: 1 eighth, 9 quarter (voice 0), 0 eighth (voice 1), 21 bar.
INSTANTIATE_TEST_SUITE_P(
    Cases, AutoBeamTest,
    ::testing::Values(
        BeamCase{"SixEightThirdEighthJoins", kTreble, "0=1@18 1=1@18", 6, 240, 1, 1, 2, 0, 1},
        BeamCase{"SixEightFourthEighthStartsNewBeam", kTreble, "0=1@18 1=1@18 2=1@18", 6, 240, 1, 1, 3, 0, 0},
        BeamCase{"FourFourSecondEighthJoins", kTreble, "0=1@18", 4, 480, 1, 1, 1, 0, 1},
        BeamCase{"FourFourOnTheBeatStartsNew", kTreble, "0=1@18 1=1@18", 4, 480, 1, 1, 2, 0, 0},
        BeamCase{"TwoTwoBeamsByHalfNote", kTreble, "0=1@18 1=1@18", 2, 960, 1, 1, 2, 0, 1},
        BeamCase{"FixedUnitOfEighth", kTreble, "0=1@18", 4, 480, 2, 1, 1, 0, 0},
        BeamCase{"FixedUnitOfDottedQuarter", kTreble, "0=1@18 1=1@18", 4, 480, 5, 1, 2, 0, 1},
        BeamCase{"CountsFromLastBarBefore", kTreble, "0=9@18 1=1@18 2=21@1/44", 4, 480, 1, 1, 3, 0, 0},
        // A single melody whose stems flip keeps one time: a stem-down eighth
        // after a stem-up one is in the same beat.
        BeamCase{"AStemDownEighthAfterAStemUpOneJoins", kTreble, "0=1@18", 4, 480, 1, 0, 1, 0, 1},
        BeamCase{"ColumnClosingGroupJoins", kTreble, "0=1@18/o0 1=1@18/c0", 4, 480, 1, 1, 1, 0, 1},
        BeamCase{"ColumnOpeningGroupDoesNot", kTreble, "0=1@18 1=1@18/o0 2=1@18/c0", 4, 480, 1, 1, 1, 0, 0},
        BeamCase{"FlaggedQuarterIsANote", kTreble, "0=1@18", 4, 480, 1, 10002, 1, 0, 1},
        BeamCase{"NotANoteTakesDefault", kTreble, "0=1@18", 4, 480, 1, 36, 1, 0, 7},
        BeamCase{"NoAutomaticBeaming", kTreble, "0=1@18", 4, 480, 0, 1, 1, 0, 0},
        BeamCase{"TablatureFretTakesDuration", kTab, "0~80=226@12", 4, 480, 1, 230, 1, 1, 1},
        BeamCase{"TablatureNonFretTakesDefault", kTab, "0~80=226@12", 4, 480, 1, 9, 1, 1, 7},
        BeamCase{"RhythmLineTakesDefault", kRhythm, "", 4, 480, 1, 1, 1, 0, 7}));

TEST_F(AutoBeamTest, LineWithoutTimeSignatureGetsFourFour) {
  for (const bool timing : {false, true}) {
    std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=1@18");
    int code = 0;
    int column = 0;
    if (timing) {
      EXPECT_EQ(line->CheckMeasureTiming(1, 1, 18, 0, code, column, 0), 1);
    } else {
      EXPECT_EQ(line->ShouldBeamWithPrevious(1, 1, 1, 0), 1);
    }
    EXPECT_EQ(line->GetStartBeats(), 4);
    EXPECT_EQ(line->GetStartBeatTicks(), 480);
    EXPECT_EQ(line->GetOverrideBeats(), 4);
    EXPECT_EQ(line->GetOverrideBeatTicks(), 480);
  }
}

struct TimingCase {
  const char* name;
  const char* notes;
  int code;
  int column;
  int position;
  UINT message;        // 0: none
  int tupletSpan = 0;  // a triplet bracket over columns 0..span
};

void PrintTo(const TimingCase& c, std::ostream* out) { *out << c.name; }

class TimingTest : public LineTest, public ::testing::WithParamInterface<TimingCase> {
 protected:
  TimingTest() { g_warnBarTiming = 1; }
  ~TimingTest() override { ResetAutoBeamServices(); }
};

// 4/4; codes: 1 eighth, 9 quarter, 11 half, 16 quarter rest, 36 dot, 21 bar.
TEST_P(TimingTest, WarnsWhenMeasureRunsOver) {
  const TimingCase& c = GetParam();
  for (const int answer : {IDYES, IDNO}) {
    m_ui.ClearRecords();
    std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
    line->SetTimeSignature(4, 480, 0);
    if (c.tupletSpan > 0) {
      auto* bracket = new KExtendedObj(0, 10, 2, 0, 0, 18 * c.tupletSpan, 0);
      bracket->SetText(CString("-3"));
      line->AddAttachment(bracket);
    }
    if (c.message != 0) m_ui.Answer(c.message, answer);
    const Bytes stored = StoreObject(*line);
    int code = -1;
    int column = -1;
    const int result = line->CheckMeasureTiming(c.code, c.column, c.position, 0, code, column, 0);
    EXPECT_EQ(result, c.message != 0 && answer == IDNO ? 0 : 1);
    EXPECT_EQ(m_ui.MessageIds(), c.message != 0 ? std::vector<UINT>{c.message} : std::vector<UINT>{});
    if (c.message != 0) {
      EXPECT_EQ(m_ui.Messages()[0].type & MB_TYPEMASK, MB_YESNO);
    }
    EXPECT_EQ(code, c.code);
    EXPECT_EQ(column, c.column);
    EXPECT_EQ(StoreObject(*line), stored);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimingTest,
    ::testing::Values(TimingCase{"Fits", "0=9@18 1=9@18", 9, 2, 16, 0},
                      TimingCase{"FillsExactly", "0=11@18 1=9@18", 9, 2, 16, 0},
                      TimingCase{"RunsOver", "0=11@18 1=9@18 2=9@18", 9, 3, 16, 7100},
                      TimingCase{"RestRunsOver", "0=11@18 1=9@18 2=9@18", 16, 3, 16, 7100},
                      TimingCase{"AlreadyWrong", "0=11@18 1=11@18 2=9@18", 1, 3, 16, 7101},
                      TimingCase{"MeasureStartsAfterBar", "0=11@18 1=11@18 2=21@1/44 3=9@18", 11, 4, 16, 0},
                      TimingCase{"MeasureEndsAtBar", "0=9@18 1=21@1/44 2=11@18 3=11@18", 9, 0, 16, 0},
                      TimingCase{"NoteJoiningChordAddsNoTime", "0=11@18 1=9@18 2=9@18", 11, 2, 10, 0},
                      TimingCase{"DotAddsHalfTheNote", "0=9@18 1=9@18 2=9@18 3=9@18", 36, 3, 18, 7100},
                      TimingCase{"DotThatFits", "0=11@18 1=9@18", 36, 1, 18, 0},
                      TimingCase{"DotWithoutNote", "0=11@18 1=9@18 2=9@18", 36, 3, 18, 0},
                      TimingCase{"TripletFits", "0=1@18 1=1@18 2=1@18 3=11@18", 9, 4, 16, 0, 2},
                      TimingCase{"WithoutTripletRunsOver", "0=1@18 1=1@18 2=1@18 3=11@18", 9, 4, 16, 7100}));

TEST_F(TimingTest, OptionOffAsksNothing) {
  g_warnBarTiming = 0;
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=11@18 1=11@18 2=9@18");
  int code = 0;
  int column = 0;
  EXPECT_EQ(line->CheckMeasureTiming(9, 3, 16, 0, code, column, 0), 1);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(TimingTest, TicksOverrideAndTablature) {
  m_ui.Answer(7100, IDNO);
  std::unique_ptr<EditLine> tab = MakeNoteLine(kTab, "0~180=226@112 1~180=228@113");  // two halves
  tab->SetTimeSignature(4, 480, 0);
  int code = 0;
  int column = 0;
  EXPECT_EQ(tab->CheckMeasureTiming(230, 2, 2, 9, code, column, 0), 0);  // a quarter runs over
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<UINT>{7100}));
  m_ui.ClearRecords();
  std::unique_ptr<EditLine> staff = MakeNoteLine(kTreble, "0=11@18");
  staff->SetTimeSignature(4, 480, 0);
  EXPECT_EQ(staff->CheckMeasureTiming(9, 1, 16, 0, code, column, 1200), 0);
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<UINT>{7100}));
}

}  // namespace
