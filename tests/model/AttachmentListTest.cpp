#include <vector>

#include "LineTestSupport.h"

namespace {

class AttachmentListTest : public LineTest {};

// A line-or-V attachment (kind 6) at a column and row with an offset.
KExtendedObj* Mark(int pos, int row, int x = 0, int y = 0) {
  auto* mark = new KExtendedObj(pos, row, 6, 0, 0, 10, 0);
  mark->SetOffset(x, y);
  return mark;
}

std::vector<const CObject*> Order(const CObList& list) {
  std::vector<const CObject*> out;
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) out.push_back(list.GetNext(node));
  return out;
}

TEST_F(AttachmentListTest, AddingKeepsColumnOrderBeforeEqualColumns) {
  KListLine line(0, kTreble, 0, -1, 0);
  KExtendedObj* at2 = Mark(2, 14);
  KExtendedObj* at5 = Mark(5, 14);
  KExtendedObj* at8 = Mark(8, 14);
  for (KExtendedObj* mark : {at8, at2, at5}) line.AddAttachment(mark);
  KExtendedObj* added = Mark(5, 20);
  line.ClearChanged();
  line.AddAttachment(added);
  EXPECT_EQ(Order(*line.GetAttachments()), (std::vector<const CObject*>{at2, added, at5, at8}));
  EXPECT_EQ(line.IsChanged(), 1);

  EXPECT_EQ(line.RemoveAttachment(added), 1);
  EXPECT_EQ(line.RemoveAttachment(added), 0);
  delete added;  // removing hands it back to the caller
}

TEST_F(AttachmentListTest, RenormalisingMovesWholeRowsAndColumnsIntoTheAnchor) {
  struct Case {
    const char* what;
    int type;
    int pos, row, x, y;
    int newPos, newRow, newX, newY;
  };
  const Case cases[] = {
      {"staff, down", kTreble, 4, 20, 0, 7, 4, 22, 0, 1},
      {"staff, up", kTreble, 4, 20, 0, -1, 4, 19, 0, 2},
      {"staff, past the lowest row", kTreble, 4, 34, 0, 20, 4, 36, 0, 14},
      {"staff, above the highest row", kTreble, 4, 2, 0, -9, 4, 1, 0, -6},
      {"staff, right", kTreble, 3, 14, 40, 0, 5, 14, 4, 0},
      {"staff, left of column 0", kTreble, 0, 14, -20, 0, 0, 14, -20, 0},
      {"tablature, down", kTab, 1, 2, 0, 25, 1, 4, 0, 5},
      {"tablature, past the last string", kTab, 1, 8, 0, 30, 1, 9, 0, 20},
      {"rhythm, 9-pixel columns", kRhythm, 2, 0, 20, 3, 4, 0, 2, 3},
      {"chord, 8-pixel columns", kChordLine, 2, 0, -3, 0, 1, 0, 5, 0},
      {"text, pixels", kText, 10005, 0, 7, 3, 10012, 0, 0, 3},
  };
  for (const Case& c : cases) {
    KListLine line(0, c.type, 0, -1, 0);
    KExtendedObj* mark = Mark(c.pos, c.row, c.x, c.y);
    line.AddAttachment(mark);
    line.EditAttachment(mark, KLineObj::kEditRenormalise);
    EXPECT_EQ(mark->GetPos(), c.newPos) << c.what;
    EXPECT_EQ(mark->GetRow(), c.newRow) << c.what;
    EXPECT_EQ(mark->GetOffset().x, c.newX) << c.what;
    EXPECT_EQ(mark->GetOffset().y, c.newY) << c.what;
  }
}

TEST_F(AttachmentListTest, RenormalisedAttachmentMovesWithinTheList) {
  KListLine line(0, kTreble, 0, -1, 0);
  KExtendedObj* first = Mark(2, 14, 50);  // two columns and 14 pixels to the right
  KExtendedObj* second = Mark(3, 14);
  line.AddAttachment(first);
  line.AddAttachment(second);
  line.EditAttachment(first, KLineObj::kEditRenormalise);
  EXPECT_EQ(Order(*line.GetAttachments()), (std::vector<const CObject*>{second, first}));

  KExtendedObj stranger(1, 14, 6, 0, 0, 10, 0);  // not in the list: ignored, not deleted
  line.EditAttachment(&stranger, KLineObj::kEditDelete);
  line.EditAttachment(second, KLineObj::kEditDelete);
  EXPECT_EQ(Order(*line.GetAttachments()), (std::vector<const CObject*>{first}));
}

TEST_F(AttachmentListTest, DeletingByColumnAndRow) {
  // Text lines: columns are pixels, found within 9 of the asked one.
  KLineObj text(kText, 0, -1, 0, 0);
  text.AppendAttachment(Mark(10030, 0, 9, 2));  // column 39, y offset 2
  text.AppendAttachment(Mark(10040, 0, 0, 2));  // column 40
  EXPECT_EQ(text.DeleteAttachmentAt(30, 2), 1);
  EXPECT_EQ(Positions(*text.GetAttachments()), (std::vector<int>{10040}));
  EXPECT_EQ(text.DeleteAttachmentAt(30, 2), 0);  // 10 pixels away

  // Other lines: the offset counts in 18-pixel columns and in row steps.
  KListLine staff(0, kTreble, 0, -1, 0);
  staff.AddAttachment(Mark(4, 14, 20, 6));  // column 5, row 16
  EXPECT_EQ(staff.DeleteAttachmentAt(5, 14), 0);
  EXPECT_EQ(staff.DeleteAttachmentAt(5, 16), 1);
  KListLine tab(0, kTab, 0, -1, 0);
  tab.AddAttachment(Mark(4, 1, 0, 20));  // string row 3
  EXPECT_EQ(tab.DeleteAttachmentAt(4, 3), 1);
}

TEST_F(AttachmentListTest, DeletingARange) {
  KListLine staff(0, kTreble, 0, -1, 0);
  for (int pos : {1, 3, 5, 7}) staff.AddAttachment(Mark(pos, 14));
  EXPECT_EQ(staff.DeleteAttachmentsInRange(3, 7), 2);
  EXPECT_EQ(Positions(*staff.GetAttachments()), (std::vector<int>{1, 7}));

  KLineObj text(kText, 0, -1, 0, 0);
  text.AppendAttachment(Mark(10010, 0, -5));  // column 5
  text.AppendAttachment(Mark(10010, 0, 5));   // column 15
  EXPECT_EQ(text.DeleteAttachmentsInRange(0, 10), 1);
  EXPECT_EQ(text.GetAttachmentCount(), 1);
}

TEST_F(AttachmentListTest, CopyingTakesNoteAndChordLinesOnly) {
  KListLine staff(0, kTreble, 0, -1, 0);
  staff.AddAttachment(Mark(2, 14, 1, 2));
  staff.AddAttachment(new KExtendedObj(5, 16, "ff", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
  KLineObj text(kText, 0, -1, 0, 0);
  text.AppendAttachment(Mark(10002, 0));

  KListLine copy(0, kTab, 0, -1, 0);
  copy.AddAttachment(Mark(9, 2));
  copy.CopyAttachmentsFrom(text);
  EXPECT_EQ(copy.GetAttachmentCount(), 1);
  copy.CopyAttachmentsFrom(staff);
  EXPECT_EQ(Positions(*copy.GetAttachments()), (std::vector<int>{9, 2, 5}));  // appended in order
  const auto* copied = static_cast<const KExtendedObj*>(copy.GetAttachments()->GetTail());
  EXPECT_EQ(copied->GetText(), "ff");
  EXPECT_NE(copied, staff.GetAttachments()->GetTail());
}

TEST_F(AttachmentListTest, PlacingAtAPixel) {
  struct Case {
    const char* what;
    int type;
    int x, y;
    int pos, row, offsetX, offsetY;
  };
  // Top at 100; staff lines have 22 pixels above the staff and a lead-in of
  // 34, tablature lines 14 above and 10-pixel strings.
  const Case cases[] = {
      {"staff", kTreble, 34 + 3 * 18 + 5, 100 + 28, 3, 16, 5, -1},
      {"staff, far below", kTreble, 34 + 3 * 18 + 5, 100 + 200, 3, 36, 5, (14 - 36) * 3 + 200 - 22 - 1},
      {"staff, left of the columns", kTreble, 10, 100 + 28, 0, 16, -24, -1},
      {"tablature", kTab, 34 + 18, 100 + 39, 1, 4, 0, 4},
      {"text", kText, 57, 90, 10057, 0, 0, -10},
      {"chord", kChordLine, 93, 120, 11, 0, 0, -20},
      {"rhythm", kRhythm, 37, 120, 37, 0, 0, 20},
  };
  for (const Case& c : cases) {
    KListLine line(0, c.type, 0, -1, 0);
    auto* mark = new KExtendedObj();
    line.PlaceAttachmentAt(nullptr, mark, c.x, c.y, 0, 0, 100, 0, 0);
    ASSERT_EQ(line.GetAttachmentCount(), 1) << c.what;
    EXPECT_EQ(mark->GetPos(), c.pos) << c.what;
    EXPECT_EQ(mark->GetRow(), c.row) << c.what;
    EXPECT_EQ(mark->GetOffset().x, c.offsetX) << c.what;
    EXPECT_EQ(mark->GetOffset().y, c.offsetY) << c.what;
  }
}

TEST_F(AttachmentListTest, FindingAtAColumnAndRow) {
  KListLine line(0, kTreble, 0, -1, 0);
  KExtendedObj* tie = new KExtendedObj(3, 14, 0, 0, 0, 30, 0);
  KExtendedObj* hairpin = new KExtendedObj(3, 16, 4, 0, 0, 30, 7);
  line.AddAttachment(tie);
  line.AddAttachment(hairpin);
  line.AddAttachment(Mark(5, 16));
  EXPECT_EQ(line.FindAttachmentAt(3, 16, -1), hairpin);
  EXPECT_EQ(line.FindAttachmentAt(3, 16, 4), hairpin);
  EXPECT_EQ(line.FindAttachmentAt(3, 16, 0), nullptr);
  EXPECT_EQ(line.FindAttachmentAt(3, 14, 0), tie);
  EXPECT_EQ(line.FindAttachmentAt(4, 14, -1), nullptr);
}

TEST_F(AttachmentListTest, RhythmShiftsMoveOrStretchAttachments) {
  KListLine staff(0, kTreble, 0, -1, 0);
  staff.AddAttachment(Mark(5, 14));
  staff.ClearChanged();
  EXPECT_EQ(staff.ShiftAttachments(0, 2), 0);
  EXPECT_EQ(staff.IsChanged(), 0);
  EXPECT_EQ(Positions(*staff.GetAttachments()), (std::vector<int>{5}));

  // A hairpin at 5, 20 pixels wide, reaches from column 6 to column 8 in
  // 4-pixel column units (the line is not measured).
  struct Case {
    int column;
    int pos;
    int width;
    int anchorX;
  };
  const Case cases[] = {
      {3, 7, 20, 10},   // after the shift column: moved
      {7, 5, 28, 14},   // across it: stretched by 2 x 4 pixels
      {10, 5, 20, 10},  // before it: unchanged
  };
  for (const Case& c : cases) {
    KListLine rhythm(0, kRhythm, 0, -1, 0);
    auto* hairpin = new KExtendedObj(5, 0, 4, 10, 0, 20, 7);
    auto* textBox = new KExtendedObj(5, 0, "mf", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial");
    rhythm.AddAttachment(hairpin);
    rhythm.AddAttachment(textBox);
    EXPECT_EQ(rhythm.ShiftAttachments(c.column, 2), 0);
    EXPECT_EQ(hairpin->GetPos(), c.pos) << c.column;
    EXPECT_EQ(hairpin->GetSize().cx, c.width) << c.column;
    EXPECT_EQ(hairpin->GetAnchor().x, c.anchorX) << c.column;
    EXPECT_EQ(textBox->GetSize().cx, 0) << c.column;  // text boxes never stretch
  }

  KListLine rhythm(0, kRhythm, 0, -1, 0);
  auto* tie = new KExtendedObj(5, 0, 0, 0, 0, 30, 0, 0, 0, "", "", "");  // points at 10 and 20
  rhythm.AddAttachment(tie);
  rhythm.ShiftAttachments(6, 1);
  EXPECT_EQ(tie->GetSize().cx, 34);
  EXPECT_EQ(tie->GetPoint(0).x, 10 * 34 / 30);
  EXPECT_EQ(tie->GetPoint(1).x, 20 * 34 / 30);
}

TEST_F(AttachmentListTest, PackedRecordsAreLengthPrefixedAndClosed) {
  KLineObj text(kText, 0, -1, 0, 0);
  EXPECT_TRUE(text.PackAttachments().empty());
  auto* a = Mark(10001, 0, 3, 4);
  auto* b = new KExtendedObj(10002, 0, "abcde", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial");
  text.AppendAttachment(a);
  text.AppendAttachment(b);
  const std::vector<std::int32_t> recordA = a->Pack();
  const std::vector<std::int32_t> recordB = b->Pack();
  std::vector<std::int32_t> expected{std::int32_t(recordA.size())};
  expected.insert(expected.end(), recordA.begin(), recordA.end());
  expected.push_back(std::int32_t(recordB.size()));
  expected.insert(expected.end(), recordB.begin(), recordB.end());
  expected.push_back(0);
  EXPECT_EQ(text.PackAttachments(), expected);
}

}  // namespace
