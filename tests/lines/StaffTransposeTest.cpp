// Transposing a staff: notes move by the interval between the staff's key and
// the target key, spelled for the target key; symbols and attachments follow
// the notes; columns outside the range, bars and the source stay as they are.

#include <climits>
#include <memory>
#include <string>

#include "StaffConversionTestSupport.h"

namespace {

constexpr int kDot = 36;
constexpr int kWholeLine = 31000;
// Indices in the 15-key list.
constexpr int kToC = 5;
constexpr int kToD = 8;
constexpr int kToEFlat = 9;
constexpr int kToF = 11;
constexpr int kUp = 0;
constexpr int kDown = 1;
constexpr int kNearest = 2;

// C5 with a dot, E4, a bar, F sharp 4 (written sharp), B4.
void FillMelody(KStaffLine& staff) {
  Fill(staff, {Column(0, {{17, kQuarter}, {17, kDot}}), Column(1, {{22, kQuarter}}), Bar(2),
               Column(3, {{21, kSharpSign}, {21, kQuarter}}), Column(4, {{18, kQuarter}})});
}

struct TransposeCase {
  const char* what;
  int targetKey;
  int direction;
  int first = 0;
  int last = kWholeLine;
  int staffKey = 0;
  int newKey;
  const char* cells;
};

class StaffTransposeTest : public StaffConversionTest {};

TEST_F(StaffTransposeTest, NotesMoveToTheTargetKey) {
  const TransposeCase cases[] = {
      {.what = "C to D, nearest: up a tone, F sharp and C sharp from the key",
       .targetKey = kToD,
       .direction = kNearest,
       .newKey = 4,
       .cells = "0:8@16,36@16 1:8@21 2:21@1 3:8@20,28@20 4:8@17"},
      {.what = "C to D, down: a seventh down",
       .targetKey = kToD,
       .direction = kDown,
       .newKey = 4,
       .cells = "0:8@23,36@23 1:8@28 2:21@1 3:8@27,28@27 4:8@24"},
      {.what = "C to E flat: flats of the key, a natural where it needs one",
       .targetKey = kToEFlat,
       .direction = kUp,
       .newKey = 7,
       .cells = "0:8@15,36@15 1:8@20 2:21@1 3:8@19,27@19 4:8@16"},
      {.what = "C to C, up: an octave",
       .targetKey = kToC,
       .direction = kUp,
       .newKey = 0,
       .cells = "0:8@10,36@10 1:8@15 2:21@1 3:8@14,28@14 4:8@11"},
      {.what = "C to C, down: an octave",
       .targetKey = kToC,
       .direction = kDown,
       .newKey = 0,
       .cells = "0:8@24,36@24 1:8@29 2:21@1 3:8@28,28@28 4:8@25"},
      {.what = "C to C, nearest: nothing moves",
       .targetKey = kToC,
       .direction = kNearest,
       .newKey = 0,
       .cells = "0:8@17,36@17 1:8@22 2:21@1 3:8@21,28@21 4:8@18"},
      {.what = "a range keeps the staff's key; its notes get the signs",
       .targetKey = kToD,
       .direction = kNearest,
       .first = 1,
       .last = 3,
       .newKey = 0,
       .cells = "0:8@17,36@17 1:8@21,28@21 2:21@1 3:8@20,28@20 4:8@18"},
      {.what = "F to C from a flat key",
       .targetKey = kToC,
       .direction = kNearest,
       .staffKey = 3,
       .newKey = 0,
       .cells = "0:8@20,36@20 1:8@25 2:21@1 3:8@24,28@24 4:8@21"},
  };
  for (const TransposeCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(kTreble, c.staffKey, 0);
    FillMelody(staff);
    const Bytes before = StoreObject(staff);
    std::unique_ptr<KLineObj> result =
        staff.Transpose(c.first, c.last, 0, c.targetKey, 0, c.direction, 0, 0, 0);
    auto* moved = dynamic_cast<KStaffLine*>(result.get());
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->GetKey(), c.newKey);
    EXPECT_EQ(moved->GetType(), kTreble);
    EXPECT_EQ(CellsText(*moved), c.cells);
    EXPECT_EQ(StoreObject(staff), before) << "the source staff changed";
  }
}

// A sign holds for the later notes on its row up to the bar line, on the staff
// read and on the copy written: F sharp 4, F 4 (still sharp), F natural 4, a
// bar, F 4 (natural again), in C up a tone to D.
TEST_F(StaffTransposeTest, SignsEarlierInTheBarHoldOnTheirRow) {
  KStaffLine staff(kTreble, 0, 0);
  Fill(staff, {Column(0, {{21, kSharpSign}, {21, kQuarter}}), Column(1, {{21, kQuarter}}),
               Column(2, {{21, kNaturalSign}, {21, kQuarter}}), Bar(3), Column(4, {{21, kQuarter}})});
  std::unique_ptr<KLineObj> result = staff.Transpose(0, kWholeLine, 0, kToD, 0, kNearest, 0, 0, 0);
  auto* moved = dynamic_cast<KStaffLine*>(result.get());
  ASSERT_NE(moved, nullptr);
  // G sharp, G sharp under the sign before it, G natural, bar, G.
  EXPECT_EQ(CellsText(*moved), "0:8@20,28@20 1:8@20 2:8@20,27@20 3:21@1 4:8@20");
  for (const auto& [column, pitch] : {std::pair{0, 48}, {1, 48}, {2, 47}, {4, 47}})
    EXPECT_EQ(moved->GetPitchAtRow(20, column), pitch) << "column " << column;
}

TEST_F(StaffTransposeTest, AttachmentsInTheRangeFollowTheLastNote) {
  KStaffLine staff(kTreble, 0, 0);
  FillMelody(staff);
  staff.AddAttachment(new KExtendedObj(1, 22, 0, 0, 0, 20, 0));  // a tie on E4
  staff.AddAttachment(new KExtendedObj(4, 18, 3, 0, 0, 0, 0));   // a text box
  staff.AddAttachment(new KExtendedObj(6, 2, 1, 0, 0, 20, 0));   // a slur outside the range
  std::unique_ptr<KLineObj> moved = staff.Transpose(0, 4, 0, kToD, 0, kNearest, 0, 0, 0);
  ASSERT_NE(moved, nullptr);
  std::string rows;
  CObList* attachments = moved->GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    const auto* a = static_cast<const KExtendedObj*>(attachments->GetNext(node));
    rows += std::to_string(a->GetPos()) + "@" + std::to_string(a->GetRow()) + " ";
  }
  // The last note (B4 to C sharp 5) moved one row up.
  EXPECT_EQ(rows, "1@21 4@18 6@2 ");
}

TEST_F(StaffTransposeTest, KeyIndexOutsideTheListGivesNoLine) {
  KStaffLine staff(kTreble, 0, 0);
  FillMelody(staff);
  for (const int index : {-1, 15, 1000}) {
    EXPECT_EQ(staff.Transpose(0, kWholeLine, 0, index, 0, kUp, 0, 0, 0), nullptr) << index;
  }
  // Other values out of their ranges still give a line.
  for (const int value : {INT_MIN, -1, 99, INT_MAX}) {
    EXPECT_NE(staff.Transpose(value, value, value, kToD, value, value, value, value, value), nullptr)
        << value;
  }
}

TEST_F(StaffTransposeTest, KeyListJoinsIndicesAndKeyCodes) {
  for (int key = 0; key <= 15; ++key) {
    const int index = KStaffLine::ListIndexOfKeyCode(key);
    ASSERT_GE(index, 0);
    // Key code 1 (no accidentals) counts as C.
    EXPECT_EQ(KStaffLine::KeyCodeOfListIndex(index), key == 1 ? 0 : key) << key;
  }
  EXPECT_EQ(KStaffLine::PitchClassOfListIndex(kToF), 9);
  EXPECT_EQ(KStaffLine::ListIndexOfKeyCode(16), -1);
}

TEST_F(StaffTransposeTest, BeamedStemsAreLaidOutAgain) {
  KStaffLine staff(kTreble, 0, 0);
  // Two eighth notes beamed together (7: an eighth of voice 0).
  FillNotes(staff, "0=7@22/o0 1=7@20/c0");
  std::unique_ptr<KLineObj> result = staff.Transpose(0, kWholeLine, 0, kToC, 0, kUp, 0, 0, 0);
  auto* moved = dynamic_cast<KStaffLine*>(result.get());
  ASSERT_NE(moved, nullptr);
  const KChord* first = AsChord(moved->GetObjAt(0, 0));
  const KChord* second = AsChord(moved->GetObjAt(1, 0));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  // The same notes written an octave higher and beamed there.
  KStaffLine expected(kTreble, 0, 0);
  FillNotes(expected, "0=7@15/o0 1=7@13/c0");
  EXPECT_EQ(NotesText(*moved), NotesText(expected));
  EXPECT_EQ(first->GetVoiceStem(0), AsChord(expected.GetObjAt(0, 0))->GetVoiceStem(0));
  EXPECT_EQ(second->GetVoiceStem(0), AsChord(expected.GetObjAt(1, 0))->GetVoiceStem(0));
}

}  // namespace
