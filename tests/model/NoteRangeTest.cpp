// Commands over a selected range: the note value and style of the selected
// notes, and ties between consecutive note columns.

#include <climits>
#include <sstream>
#include <string>
#include <vector>

#include "NoteLineTestSupport.h"
#include "TieTestSupport.h"
#include "dialogs/KDlgSwitchNote.h"
#include "model/KRhythmObj.h"

namespace {

constexpr int kLead = 34;  // clef area of a line without key signature
constexpr int kWidth = 18;
int X(int column) { return kLead + kWidth * column; }

struct ValueCase {
  const char* name;
  const char* before;
  int first = 0;  // selected columns [first, end)
  int end = 0;
  int value = 0;
  int button = 0;               // the switch-note dialog's answer; 0: the dialog must not open
  const char* after = nullptr;  // null: the line must not change
  int redraw = -1;
};

void PrintTo(const ValueCase& c, std::ostream* out) { *out << c.name; }

class NoteRangeValueTest : public LineTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(NoteRangeValueTest, SetsValueOfSelectedNotes) {
  const ValueCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.before);
  if (c.button != 0) m_ui.AnswerDialog(KDlgSwitchNote::kTemplateId, c.button);
  const Bytes stored = StoreObject(*line);
  const std::string before = CodesText(*line);
  line->ClearChanged();

  const KLinePair result = line->SetNoteValueInRange(X(c.first), X(c.end), c.value, 0, 0, &KDlgSwitchNote::AskMode);

  ASSERT_EQ(m_ui.Dialogs().size(), c.button != 0 ? 1u : 0u);
  if (c.button != 0) {
    EXPECT_EQ(m_ui.Dialogs()[0].templateId, KDlgSwitchNote::kTemplateId);
  }
  if (c.after == nullptr) {
    EXPECT_EQ(result, (KLinePair{0, -1}));
    EXPECT_EQ(StoreObject(*line), stored);
    EXPECT_EQ(line->IsChanged(), 0);
  } else {
    EXPECT_EQ(CodesText(*line), c.after) << "before: " << before;
    EXPECT_EQ(result.second, c.redraw);
    EXPECT_EQ(line->IsChanged(), 1);
  }
}

// Codes: 8/9 quarter, 10/11 half (even: voice 1, odd: voice 0), 21 bar.
INSTANTIATE_TEST_SUITE_P(
    Cases, NoteRangeValueTest,
    ::testing::Values(
        ValueCase{"OneVoiceNeedsNoQuestion", "0=8@18 1=8@16 2=8@18", 0, 2, 10, 0, "0=10@18 1=10@16 2=8@18",
                  0},
        ValueCase{"RangeStartsMidLine", "0=8@18 1=8@16 2=21@1/44 3=8@18", 1, 4, 10, 0,
                  "0=8@18 1=10@16 2=21@1 3=10@18", 1},
        ValueCase{"BothVoicesChangeBoth", "0=8@18+9@10 1=8@18", 0, 2, 10, KDlgSwitchNote::kChangeBoth,
                  "0=10@18+10@10 1=10@18", 0},
        ValueCase{"BothVoicesSameOrientationOnly", "0=8@18+9@10 1=8@18", 0, 2, 10,
                  KDlgSwitchNote::kSameOrientation, "0=10@18+9@10 1=10@18", 0},
        ValueCase{"BothVoicesKeepOrientation", "0=8@18+9@10 1=8@18", 0, 2, 10,
                  KDlgSwitchNote::kKeepOrientation, "0=10@18+11@10 1=10@18", 0},
        ValueCase{"CancelChangesNothing", "0=8@18+9@10 1=8@18", 0, 2, 10, IDCANCEL},
        ValueCase{"WholeNoteCountsForNeitherVoice", "0=12@18 1=9@10", 0, 2, 10, 0, "0=10@18 1=10@10", 0},
        ValueCase{"ValueAboveTwelveRefused", "0=8@18 1=8@16", 0, 2, 13},
        ValueCase{"NegativeValueRefused", "0=8@18 1=8@16", 0, 2, -1},
        ValueCase{"RangeWithoutNotes", "0=8@18 5=8@16", 1, 4, 10},
        ValueCase{"SelectionLeftOfLineCountsFromZero", "0=8@18 1=8@16", -3, 1, 10, 0, "0=10@18 1=8@16", 0}));

TEST_F(NoteRangeValueTest, EmptyLineRefused) {
  EditLine line(kTreble);
  EXPECT_EQ(line.SetNoteValueInRange(0, 500, 8, 0, 0), (KLinePair{0, -1}));
}

TEST_F(NoteRangeValueTest, DialogButtonsCarryTheirTextsAndModes) {
  EXPECT_EQ(KDlgSwitchNote::ModeOfButton(KDlgSwitchNote::kChangeBoth), 1000);
  EXPECT_EQ(KDlgSwitchNote::ModeOfButton(KDlgSwitchNote::kSameOrientation), 2000);
  EXPECT_EQ(KDlgSwitchNote::ModeOfButton(KDlgSwitchNote::kKeepOrientation), 3000);
  EXPECT_EQ(KDlgSwitchNote::ModeOfButton(IDCANCEL), 0);
  EXPECT_STREQ(
      KDlgSwitchNote::ButtonText(1767),
      "Change &BOTH up and down notes to the new note type (all notes will then have the same up/down "
      "orientation)");
  EXPECT_STREQ(KDlgSwitchNote::ButtonText(1766),
               "Only change notes which have the &SAME up/down orientation as the new note type");
  EXPECT_STREQ(
      KDlgSwitchNote::ButtonText(1768),
      "Change both up and down notes to the new note      value, but retain their &ORIGINAL orientation");
  EXPECT_STREQ(KDlgSwitchNote::ButtonText(IDOK), "");
}

// A rhythm line that records the key calls it receives.
class RecordingRhythmLine : public KListLine {
 public:
  RecordingRhythmLine() : KListLine(0, kRhythm, 0, -1, 0) {}
  KLinePair HandleKey(int code, int, int sizeIndex, int column, int row, int, int, int) override {
    std::ostringstream out;
    out << code << '/' << sizeIndex << '/' << column << '/' << row;
    calls.push_back(out.str());
    return {1, column};
  }
  std::vector<std::string> calls;
};

TEST_F(NoteRangeValueTest, RhythmSymbolsGetValueAtTheirCharacterColumns) {
  RecordingRhythmLine line;
  auto* wide = new KRhythmObj(1, 210);
  wide->SetText(CString("abc"));
  // Character columns: 205 at 0, 210 over 1..3, 100 at 4, 230 at 5, 206 at 6.
  Fill(line, {Item(0, 205), wide, Item(2, 100), Item(3, 230), Item(4, 206)});

  const KLinePair result = line.SetNoteValueInRange(1, 6, 9, 1, 0);

  EXPECT_EQ(line.calls, (std::vector<std::string>{"9/1/3/11000", "9/1/5/11000"}));
  EXPECT_EQ(result, (KLinePair{1, 3}));
}

struct StyleCase {
  const char* name;
  int kind;
  const char* before;
  int first;
  int end;
  int style;
  std::vector<int> styles;  // the note style of each column afterwards
};

void PrintTo(const StyleCase& c, std::ostream* out) { *out << c.name; }

class NoteRangeStyleTest : public LineTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(NoteRangeStyleTest, SelectedColumnsWithDurationTakeStyle) {
  const StyleCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.before);
  line->SetNoteStyleInRange(X(c.first), X(c.end), c.style, 0, 0);
  std::vector<int> styles;
  for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;)
    styles.push_back(AsChord(line->GetObjList()->GetNext(node))->GetNoteStyle());
  EXPECT_EQ(styles, c.styles);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoteRangeStyleTest,
    ::testing::Values(StyleCase{"Staff", kTreble, "0=8@18 1=8@16 2=21@1/44 3=8@18", 0, 3, 3, {3, 3, 0, 0}},
                      StyleCase{"RestHasNoDuration", kTreble, "0=16@18 1=9@16", 0, 2, 2, {0, 2}},
                      StyleCase{"Tablature", kTab, "0~80=226@12 1~80=228@13", 1, 2, 4, {0, 4}}));

TEST_F(NoteRangeStyleTest, RhythmLineUnchanged) {
  KListLine line(0, kRhythm, 0, -1, 0);
  Fill(line, {Item(0, 205), Item(1, 206)});
  const Bytes stored = StoreObject(line);
  line.SetNoteStyleInRange(0, 400, 3, 0, 0);
  EXPECT_EQ(StoreObject(line), stored);
}

struct TieCase {
  const char* name;
  int kind;
  const char* notes;
  int letter;
  int first;
  int end;
  const char* ties;  // empty: no tie, and a beep
};

void PrintTo(const TieCase& c, std::ostream* out) { *out << c.name; }

class NoteRangeTieTest : public LineTest, public ::testing::WithParamInterface<TieCase> {};

TEST_P(NoteRangeTieTest, TiesSharedNotesOfConsecutiveColumns) {
  const TieCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.notes);
  const std::string notes = NotesText(*line);
  line->ClearChanged();

  line->TieNotesInRange(c.letter, c.first, c.end);

  EXPECT_EQ(TiesText(*line), c.ties);
  EXPECT_EQ(NotesText(*line), notes);  // the copies of the line's ends are not kept
  const bool none = std::string(c.ties).empty();
  EXPECT_EQ(m_ui.Beeps().size(), none ? 1u : 0u);
  EXPECT_EQ(line->IsChanged(), none ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoteRangeTieTest,
    ::testing::Values(
        TieCase{"TwoSharedNotesUpperAboveLowerBelow", kTreble, "0=8@10+8@12 1=8@10+8@12", 't', 0, 2,
                // A new attachment goes before those at its column.
                "0:12 k0 w18 a9,6 o0,5 0:10 k0 w18 a9,-6 o0,-5"},
        TieCase{"SingleNoteBelowUnlessN", kTreble, "0=8@14 2=8@14", 't', 0, 3, "0:14 k0 w36 a18,6 o0,5"},
        TieCase{"SingleNoteAboveWithN", kTreble, "0=8@14 2=8@14", 'n', 0, 3, "0:14 k0 w36 a18,-6 o0,-5"},
        TieCase{"OnlyCommonPositions", kTreble, "0=8@10+8@14 1=8@14+8@16", 't', 0, 2,
                "0:14 k0 w18 a9,6 o0,5"},
        TieCase{"ChainOfThreeColumns", kTreble, "3=9@18 4=9@18 6=9@18", 'n', 3, 7,
                "3:18 k0 w18 a9,-6 o0,-5 4:18 k0 w36 a18,-6 o0,-5"},
        TieCase{"FromTheLineBefore", kTreble, "0=8@18 1=8@18", 'n', 0, 1, "0:18 k0 w18 a9,-6 o-18,-5"},
        TieCase{"OnToTheLineAfter", kTreble, "0=8@18 1=8@18", 'n', 0, 5,
                "0:18 k0 w18 a9,-6 o0,-5 1:18 k0 w54 a27,-6 o0,-5"},
        TieCase{"RestsAreNotTied", kTreble, "0=16@18 1=16@18", 'n', 0, 2, ""},
        TieCase{"NoCommonNote", kTreble, "0=8@10 1=8@12", 'n', 0, 2, ""},
        TieCase{"TablatureFretsOnSameString", kTab, "0~80=226@12+229@13 1~80=230@13", 't', 0, 2,
                "0:3 k0 w18 a9,6 o0,5"}));

TEST_F(NoteRangeTieTest, ExtremeRangesStayInRange) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=8@18 1=8@18");
  line->TieNotesInRange('n', INT_MIN, INT_MAX);
  // The closing tie reaches to the last column a line can address.
  EXPECT_EQ(TiesText(*line), "0:18 k0 w18 a9,-6 o0,-5 1:18 k0 w575964 a287982,-6 o0,-5");
  line->TieNotesInRange('n', INT_MAX, INT_MIN);
  EXPECT_EQ(line->GetAttachmentCount(), 2);
  EXPECT_EQ(line->SetNoteValueInRange(INT_MAX, INT_MIN, 10, 0, INT_MIN), (KLinePair{0, -1}));
  EXPECT_EQ(line->SetNoteValueInRange(INT_MIN, INT_MAX, 10, 0, INT_MAX), (KLinePair{0, -1}));
  EXPECT_EQ(line->SetNoteValueInRange(INT_MIN, INT_MAX, 10, 0, 0).second, 0);
  line->SetNoteStyleInRange(INT_MIN, INT_MAX, 2, 7, INT_MIN);
  EXPECT_EQ(NotesText(*line).substr(0, 7), "0~2=10@");
}

TEST_F(NoteRangeTieTest, OtherLinesUntouched) {
  KListLine line(0, kRhythm, 0, -1, 0);
  Fill(line, {Item(0, 205), Item(1, 205)});
  line.TieNotesInRange('n', 0, 2);
  EXPECT_EQ(line.GetAttachmentCount(), 0);
  EXPECT_TRUE(m_ui.Beeps().empty());
}

}  // namespace
