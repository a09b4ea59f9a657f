#include <climits>

#include "LineTestSupport.h"
#include "platform/RecordingDC.h"

namespace {

class AttachmentHitTest : public LineTest {
 protected:
  RecordingDC dc;
};

KExtendedObj* Shape(int pos, int row, int kind, int width, int height, int offsetX = 0) {
  auto* attachment = new KExtendedObj(pos, row, kind, 0, 0, width, height);
  attachment->SetPoint(0, 10, -6);
  attachment->SetPoint(1, 30, -6);
  attachment->SetOffset(offsetX, 0);
  return attachment;
}

TEST_F(AttachmentHitTest, FindsTheLastAttachmentWhoseColumnsAndRectangleHoldThePoint) {
  // A staff whose drawing top lies at 100 + 22 (its space above):
  //   tie        column 3, covers 63..103 x 116..122
  //   crescendo  column 2, covers 45..105 x 128..138
  //   crescendo  column 3, covers 63..103 x 128..138 (after the other in the list)
  KListLine staff(0, kTreble, 0, -1, 0);
  KExtendedObj* tie = Shape(3, 14, KExtendedObj::kTie, 40, 0);
  KExtendedObj* wide = Shape(2, 16, KExtendedObj::kCrescendo, 60, 10);
  KExtendedObj* narrow = Shape(3, 16, KExtendedObj::kCrescendo, 40, 10);
  for (KExtendedObj* attachment : {tie, wide, narrow}) staff.AddAttachment(attachment);

  struct Case {
    const char* what;
    int x, y;
    const KExtendedObj* found;
  };
  const Case cases[] = {
      {"inside the tie", 80, 119, tie},
      {"below the tie, between the shapes", 80, 125, nullptr},
      {"where both hairpins lie the later one wins", 80, 130, narrow},
      {"left of the later hairpin", 50, 130, wide},
      {"inside the tie's rectangle but beyond its last column", 100, 119, nullptr},
      {"left of every attachment", 20, 130, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(staff.HitTestAttachment(c.x, c.y, 18, &dc, 100, 0), c.found) << c.what;
  }
}

TEST_F(AttachmentHitTest, EachLineFamilyPlacesTheRectangleAsItDraws) {
  struct Case {
    const char* what;
    int type, columnWidth, size;
    int pos, row, kind, width, height;
    int x, y;  // inside the drawn shape; the line's top is 100
  };
  const Case cases[] = {
      // Large staff: space above 22 x 33 / 25 = 29, tie from (77, 129) over 48 pixels.
      {"staff at the large size", kTreble, 22, 1, 3, 14, KExtendedObj::kTie, 40, 0, 100, 126},
      // Tablature: space above 14, row 3 lies at 114 + 11 - 2; hairpin 27..57 x 123..131.
      {"tablature", kTab, 18, 0, 1, 3, KExtendedObj::kCrescendo, 30, 8, 40, 127},
      // Chord lines count 8-pixel columns and hang 4 pixels above their top: 38..62 x 96..109.
      {"chord line", kChordLine, 8, 0, 5, 0, 7, 24, 13, 50, 100},
  };
  for (const Case& c : cases) {
    KListLine line(0, c.type, 0, -1, 0);
    KExtendedObj* attachment = Shape(c.pos, c.row, c.kind, c.width, c.height);
    line.AddAttachment(attachment);
    EXPECT_EQ(line.HitTestAttachment(c.x, c.y, c.columnWidth, &dc, 100, c.size), attachment) << c.what;
    EXPECT_EQ(line.HitTestAttachment(c.x, c.y + 40, c.columnWidth, &dc, 100, c.size), nullptr) << c.what;
  }
}

TEST_F(AttachmentHitTest, AttachmentDraggedOffTheLineStartCanStillBeHitAtItsEdge) {
  // Drawn at 9 - 30: covers -21..-11, so the line's first pixel counts as its.
  KListLine staff(0, kTreble, 0, -1, 0);
  KExtendedObj* hairpin = Shape(0, 14, KExtendedObj::kCrescendo, 10, 10, -30);
  staff.AddAttachment(hairpin);
  EXPECT_EQ(staff.HitTestAttachment(0, 125, 18, &dc, 100, 0), hairpin);
  EXPECT_EQ(staff.HitTestAttachment(5, 125, 18, &dc, 100, 0), nullptr);
}

TEST_F(AttachmentHitTest, BadColumnWidthsAndHostileValuesFindNothing) {
  KListLine staff(0, kTreble, 0, -1, 0);
  staff.AddAttachment(Shape(3, 14, KExtendedObj::kTie, 40, 0));
  EXPECT_EQ(staff.HitTestAttachment(80, 119, 0, &dc, 100, 0), nullptr);
  EXPECT_EQ(staff.HitTestAttachment(80, 119, -18, &dc, 100, 0), nullptr);

  // Text lines keep 32-bit positions, which a damaged file can fill with anything.
  KLineObj text(kText, 0, -1, 0, 0);
  for (int extreme : {INT_MAX, INT_MIN}) {
    auto* attachment = new KExtendedObj(extreme, extreme, 3, extreme, extreme, extreme, extreme);
    attachment->SetOffset(extreme, extreme);
    attachment->SetText("x");
    text.AppendAttachment(attachment);
  }
  for (int x : {0, INT_MAX, INT_MIN}) {
    EXPECT_EQ(text.HitTestAttachment(x, 0, 18, &dc, INT_MAX, 0), nullptr);
    EXPECT_EQ(text.HitTestAttachment(x, INT_MIN, INT_MAX, &dc, INT_MIN, 1), nullptr);
  }
}

}  // namespace
