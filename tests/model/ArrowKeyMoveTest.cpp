// Arrow-key moves on object-list lines: the attachment or notes under the
// caret, the notes of a range of columns, and a note's display nudge.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "NoteLineTestSupport.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr UINT kAsteriskBeep = 64;

class ArrowKeyMove : public LineTest {
 protected:
  std::vector<UINT> Beeps() const { return m_ui.Beeps(); }
};

// The stored stem values of every column, voice 0 then voice 1.
std::vector<int> Stems(const KListLine& line) {
  std::vector<int> stems;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(list.GetNext(node));
    stems.push_back(column->GetVoiceStem(0));
    stems.push_back(column->GetVoiceStem(1));
  }
  return stems;
}

}  // namespace

struct NoteMoveCase {
  const char* name;
  int kind;
  const char* notes;
  int column, row, key;
  int result;
  const char* after;  // nullptr: unchanged
  bool beep;
};

class ArrowKeyMoveNotes : public ArrowKeyMove, public ::testing::WithParamInterface<NoteMoveCase> {};

TEST_P(ArrowKeyMoveNotes, MovesTheColumnAtTheCaret) {
  const NoteMoveCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.notes);
  EXPECT_EQ(line->MoveByArrowKey(c.column, c.row, c.key, 0), c.result);
  EXPECT_EQ(NotesText(*line), c.after != nullptr ? c.after : c.notes);
  EXPECT_EQ(Beeps(), c.beep ? std::vector<UINT>{kAsteriskBeep} : std::vector<UINT>{});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArrowKeyMoveNotes,
    ::testing::Values(
        NoteMoveCase{"StaffDown", kTreble, "2=8@18/00", 2, 18, kDown, 2, "2=8@19/00", false},
        NoteMoveCase{"StaffUpTakesTheRowsEntries", kTreble, "2=8@18+28@18+8@10/00", 2, 18, kUp, 2,
                     "2=8@17+28@17+8@10/00", false},
        NoteMoveCase{"StaffBottomRowBeeps", kTreble, "2=8@36/00", 2, 36, kDown, -1, nullptr, true},
        NoteMoveCase{"StaffTopRowBeeps", kTreble, "2=8@1/00", 2, 1, kUp, -1, nullptr, true},
        NoteMoveCase{"NoNoteOnTheRow", kTreble, "2=8@18/00", 2, 17, kUp, -1, nullptr, false},
        NoteMoveCase{"NewRowTaken", kTreble, "2=8@18+8@17/00", 2, 18, kUp, -1, nullptr, false},
        NoteMoveCase{"NoColumn", kTreble, "2=8@18/00", 3, 18, kUp, -1, nullptr, false},
        NoteMoveCase{"TimeSignatureStays", kTreble, "2=225@1+102@1+103@1/00", 2, 1, kDown, -1, nullptr,
                     false},
        NoteMoveCase{"TablatureKeepsDuration", kTab, "0~80=227@82/00", 0, 2, kDown, 0, "0~80=227@83/00",
                     false},
        NoteMoveCase{"TablatureLastRowBeeps", kTab, "0~80=227@89/00", 0, 9, kDown, -1, nullptr, true},
        NoteMoveCase{"RightShiftsColumns", kTreble, "2=8@18/00 4=8@16/00", 4, 16, kRight, 2,
                     "2=8@18/00 5=8@16/00", false},
        NoteMoveCase{"LeftActsOnColumnBefore", kTreble, "2=8@18/00 5=8@16/00", 6, 16, kLeft, 4,
                     "2=8@18/00 4=8@16/00", false},
        NoteMoveCase{"LeftWithoutColumnBefore", kTreble, "2=8@18/00 5=8@16/00", 5, 16, kLeft, -1, nullptr,
                     false},
        NoteMoveCase{"LeftOntoNeighbourRefused", kTreble, "2=8@18/00 3=8@16/00", 4, 16, kLeft, -1, nullptr,
                     false},
        NoteMoveCase{"OtherKey", kTreble, "2=8@18/00", 2, 18, 41, -1, nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ArrowKeyMove, UpAndDownOnARhythmLineAreRefused) {
  KListLine line(0, kRhythm, 0, -1, 0);
  Fill(line, {Item(0, 40), Item(4, 41)});
  line.AddAttachment(new KExtendedObj(0, 10, 6, 0, 0, 10, 10));
  line.ClearChanged();
  for (int key : {kUp, kDown}) EXPECT_EQ(line.MoveByArrowKey(0, 10, key, 0), -1);
  EXPECT_EQ(AttachText(line), "0:10:6");
  EXPECT_EQ(Positions(*line.GetObjList()), (std::vector<int>{0, 4}));
  EXPECT_EQ(line.IsChanged(), 0);
}

// After a note of a beamed column moves, the group's stems are those of the
// group beamed afresh with the moved note.
TEST_F(ArrowKeyMove, BeamGroupFollowsTheMovedNote) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=1@13/o0 1=1@15/i0 2=1@17/c0");
  EXPECT_EQ(line->MoveByArrowKey(2, 17, kDown, 0), 0);
  std::unique_ptr<EditLine> fresh = MakeNoteLine(kTreble, "0=1@13/o0 1=1@15/i0 2=1@18/c0");
  EXPECT_EQ(NotesText(*line), NotesText(*fresh));
  EXPECT_EQ(Stems(*line), Stems(*fresh));
}

struct AttachmentMoveCase {
  const char* name;
  int kind;  // line kind
  int pos, row, offsetX, offsetY;
  int column, caretRow, key;
  int result;
  int pos2, row2;  // where the attachment ends up
};

class ArrowKeyMoveAttachment : public ArrowKeyMove,
                               public ::testing::WithParamInterface<AttachmentMoveCase> {};

TEST_P(ArrowKeyMoveAttachment, MovesTheAttachmentAtTheCaretFirst) {
  const AttachmentMoveCase& c = GetParam();
  // A note sits at the caret too: the attachment wins.
  std::unique_ptr<EditLine> line = MakeNoteLine(c.kind, c.kind == kTab ? "3~80=227@82/00" : "3=8@18/00");
  const std::string notes = NotesText(*line);
  auto* attachment = new KExtendedObj(c.pos, c.row, 6, 0, 0, 10, 10);
  attachment->SetOffset(c.offsetX, c.offsetY);
  line->AddAttachment(attachment);
  EXPECT_EQ(line->MoveByArrowKey(c.column, c.caretRow, c.key, 0), c.result);
  EXPECT_EQ(attachment->GetPos(), c.pos2);
  EXPECT_EQ(attachment->GetRow(), c.row2);
  EXPECT_EQ(NotesText(*line), notes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArrowKeyMoveAttachment,
    ::testing::Values(AttachmentMoveCase{"Up", kTreble, 3, 18, 0, 0, 3, 18, kUp, 3, 3, 17},
                      AttachmentMoveCase{"Right", kTreble, 3, 18, 0, 0, 3, 18, kRight, 3, 4, 18},
                      AttachmentMoveCase{"Left", kTreble, 3, 18, 0, 0, 3, 18, kLeft, 2, 2, 18},
                      AttachmentMoveCase{"LeftAtColumnZeroStays", kTreble, 0, 18, 0, 0, 0, 18, kLeft, 0, 0,
                                         18},
                      AttachmentMoveCase{"OffsetsPlaceIt", kTreble, 2, 16, 18, 6, 3, 18, kDown, 2, 2, 17},
                      AttachmentMoveCase{"TopRowRefused", kTreble, 3, 0, 0, 0, 3, 0, kUp, -1, 3, 0},
                      AttachmentMoveCase{"TablatureLastRowRefused", kTab, 3, 9, 0, 0, 3, 9, kDown, -1, 3, 9},
                      AttachmentMoveCase{"TablatureRowUnit", kTab, 3, 1, 0, 10, 3, 2, kDown, 3, 3, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ArrowKeyMove, RangeMovesNotesButNotSignaturesBarsOrColumnsOutside) {
  std::unique_ptr<EditLine> line =
      MakeNoteLine(kTreble, "0=8@18/00 2=225@1+102@1+103@1/00 4=21@1/44 6=8@20+28@20/00 8=8@15/00");
  EXPECT_EQ(line->MoveNotesByArrowKey(0, 8, kUp, 0), 0);
  EXPECT_EQ(NotesText(*line), "0=8@17/00 2=225@1+102@1+103@1/00 4=21@1/44 6=8@19+28@19/00 8=8@15/00");
  EXPECT_TRUE(Beeps().empty());
}

TEST_F(ArrowKeyMove, RangeColumnThatWouldLeaveTheStaffBeepsAndStays) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=8@36/00 1=8@20/00");
  EXPECT_EQ(line->MoveNotesByArrowKey(0, 2, kDown, 0), 0);
  EXPECT_EQ(NotesText(*line), "0=8@36/00 1=8@21/00");
  EXPECT_EQ(Beeps(), std::vector<UINT>{kAsteriskBeep});
}

TEST_F(ArrowKeyMove, RangeWithNothingToMoveAnswersMinusOne) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=8@36/00 4=21@1/44");
  EXPECT_EQ(line->MoveNotesByArrowKey(0, 5, kDown, 0), -1);
  EXPECT_EQ(NotesText(*line), "0=8@36/00 4=21@1/44");

  KListLine rhythm(0, kRhythm, 0, -1, 0);
  Fill(rhythm, {Item(0, 40)});
  EXPECT_EQ(rhythm.MoveNotesByArrowKey(0, 5, kDown, 0), 0);
}

TEST_F(ArrowKeyMove, RangeRebeamsTheMovedGroup) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, "0=1@13/o0 1=1@15/c0 2=8@18/00");
  EXPECT_EQ(line->MoveNotesByArrowKey(0, 2, kUp, 0), 0);
  std::unique_ptr<EditLine> fresh = MakeNoteLine(kTreble, "0=1@12/o0 1=1@14/c0 2=8@18/00");
  EXPECT_EQ(NotesText(*line), NotesText(*fresh));
  EXPECT_EQ(Stems(*line), Stems(*fresh));
}

// Attachments in the range move with the notes; a tuplet number keeps to its
// side of the staff.
TEST_F(ArrowKeyMove, RangeMovesAttachmentsWithinTheirRows) {
  struct Case {
    int kind, lineKind, pos, row, key, row2;
  };
  const Case cases[] = {
      {0, kTreble, 1, 18, kDown, 19}, {6, kTreble, 1, 36, kDown, 36}, {1, kTreble, 1, 1, kUp, 1},
      {2, kTreble, 1, 12, kDown, 12}, {2, kTreble, 1, 11, kDown, 12}, {2, kTreble, 1, 24, kUp, 24},
      {2, kTreble, 1, 20, kDown, 21}, {2, kTab, 1, 1, kDown, 1},      {2, kTab, 1, 8, kUp, 8},
      {3, kTab, 1, 9, kDown, 9},      {0, kTreble, 5, 18, kDown, 18},
  };
  for (const Case& c : cases) {
    std::unique_ptr<EditLine> line = MakeNoteLine(c.lineKind, "");
    auto* attachment = new KExtendedObj(c.pos, c.row, c.kind, 0, 0, 10, 10);
    line->AddAttachment(attachment);
    line->MoveNotesByArrowKey(0, 4, c.key, 0);
    EXPECT_EQ(attachment->GetRow(), c.row2) << "kind " << c.kind << " row " << c.row << " pos " << c.pos;
  }
}

TEST_F(ArrowKeyMove, NudgeMovesANoteUntilItsLimit) {
  struct Case {
    const char* notes;
    int column, key, result;
    const char* after;
  };
  const Case cases[] = {
      {"2=12@18/00", 2, kRight, 1, "2=12@18x1/00"},     {"2=12@18/00", 2, kLeft, 1, "2=12@18x17/00"},
      {"2=12@18/00", 2, kUp, 1, "2=12@18x128/00"},      {"2=12@18/00", 3, kRight, 0, "2=12@18/00"},
      {"2=12@18x15/00", 2, kRight, 0, "2=12@18x15/00"}, {"2=12@18/00", 2, 41, 0, "2=12@18/00"},
  };
  for (const Case& c : cases) {
    std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
    line->ClearChanged();
    EXPECT_EQ(line->NudgeNoteAt(c.column, 18, c.key), c.result) << c.notes << " " << c.key;
    EXPECT_EQ(NotesText(*line), c.after);
    EXPECT_EQ(line->IsChanged(), c.result);
  }
}
