#include <climits>
#include <cstdint>
#include <span>
#include <string>

#include "AttachmentTestSupport.h"
#include "platform/RecordingDC.h"

namespace {

class AttachmentPlacement : public AttachmentTest {
 protected:
  RecordingDC dc;
};

constexpr int kTreble = 0;
constexpr int kTab = 2;
constexpr int kRhythm = 3;
constexpr int kChordLine = 4;
constexpr int kText = 5;
constexpr int kPercussion = 16;

// A line or V (kind 6) whose grips both sit on its anchor: with a zero anchor
// they mark the origin plus the scaled offset.
CPoint GripOf(KExtendedObj& attachment, int type, int x, int y, int size) {
  CRect first, second;
  EXPECT_EQ(attachment.GetHandleRects(first, second, type, x, y, size), 1);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first.Size(), CSize(3, 3));
  return first.TopLeft();
}

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST_F(AttachmentPlacement, OriginFollowsTheLineFamilyRowAndSize) {
  struct Case {
    const char* what;
    int type, row, size;
    int offsetX, offsetY;
    CPoint origin;  // for the column at x = 100 and the line's drawing top at y = 50
  };
  const Case cases[] = {
      {"staff, top line", kTreble, 14, 0, 0, 0, {109, 50}},
      {"staff, two steps lower", kTreble, 16, 0, 0, 0, {109, 56}},
      {"percussion staff, 18 pixels higher", kPercussion, 14, 0, 0, 0, {109, 32}},
      {"staff, large size", kTreble, 16, 1, 0, 0, {111, 58}},
      {"percussion staff, large size", kPercussion, 14, 1, 0, 0, {111, 26}},
      {"tablature, first string row", kTab, 2, 0, 0, 0, {109, 48}},
      {"tablature, three strings lower", kTab, 5, 0, 0, 0, {109, 81}},
      {"tablature, large size (13-pixel strings)", kTab, 3, 1, 0, 0, {111, 62}},
      {"rhythm line", kRhythm, 0, 0, 0, 0, {104, 46}},
      {"chord line, large size", kChordLine, 0, 1, 0, 0, {105, 46}},
      {"text line", kText, 0, 0, 0, 0, {109, 50}},
      {"unknown line type", 99, 20, 0, 0, 0, {109, 50}},
      {"offset at the normal size", kTreble, 14, 0, 9, -18, {118, 32}},
      {"offset scaled by 11/9 at the large size", kTreble, 14, 1, 9, -18, {122, 28}},
      {"offset truncated toward zero", kTreble, 14, 1, -5, 5, {105, 56}},
  };
  for (const Case& c : cases) {
    KExtendedObj mark(0, c.row, KExtendedObj::kLineOrV, 0, 0, 10, 0);
    mark.SetOffset(c.offsetX, c.offsetY);
    EXPECT_EQ(GripOf(mark, c.type, 100, 50, c.size), c.origin) << c.what;
  }
}

TEST_F(AttachmentPlacement, GripsSitOnTheScaledEndPointsOrOnTheAnchorOfAV) {
  KExtendedObj tie(0, 14, KExtendedObj::kTie, 0, 0, 40, 0);
  tie.SetPoint(0, 9, -18);
  tie.SetPoint(1, 27, -18);
  tie.SetOffset(0, 9);
  CRect first, second;
  tie.GetHandleRects(first, second, kTreble, 100, 50, 1);
  EXPECT_EQ(Show(first), "122,39,125,42");   // (111 + 11, 50 + 11 - 22)
  EXPECT_EQ(Show(second), "144,39,147,42");  // (111 + 33, ...)

  // Boxed brackets 22..24 do not move half a column.
  KExtendedObj box(0, 14, 22, 0, 0, 40, 13);
  box.GetHandleRects(first, second, kTreble, 100, 50, 0);
  EXPECT_EQ(first.TopLeft(), CPoint(100, 50));

  KExtendedObj vee(0, 14, KExtendedObj::kLineOrV, 20, 8, 40, 0);
  vee.GetHandleRects(first, second, kTreble, 100, 50, 0);
  EXPECT_EQ(Show(first), "129,58,132,61");
  EXPECT_EQ(second, first);
}

TEST_F(AttachmentPlacement, MovingAGripMovesItsPointByTheScaledMovement) {
  struct Case {
    const char* what;
    int kind, grip, size;
    CPoint from, to;
    CPoint point0, point1, anchor;  // after the move; before it: (10, 0), (30, 0), (20, 5)
  };
  // clang-format off
  const Case cases[] = {
      {"first point, normal size", KExtendedObj::kSlur, 0, 0, {50, 50}, {59, 47},
       {19, -3}, {30, 0}, {20, 5}},
      {"second point, large size: 11 pixels are 9 stored units", KExtendedObj::kSlur, 1, 1, {50, 50},
       {61, 28}, {10, 0}, {39, -18}, {20, 5}},
      {"large size truncates toward zero", KExtendedObj::kTie, 0, 1, {50, 50}, {45, 55},
       {6, 4}, {30, 0}, {20, 5}},
      {"a V moves its anchor with either grip", KExtendedObj::kLineOrV, 1, 0, {0, 0}, {-4, 6},
       {10, 0}, {30, 0}, {16, 11}},
  };
  // clang-format on
  for (const Case& c : cases) {
    KExtendedObj attachment(0, 14, c.kind, 20, 5, 40, 0);
    attachment.SetPoint(0, 10, 0);
    attachment.SetPoint(1, 30, 0);
    EXPECT_EQ(attachment.MoveHandleBy(c.grip, c.from, c.to, c.size), 1) << c.what;
    EXPECT_EQ(attachment.GetPoint(0), c.point0) << c.what;
    EXPECT_EQ(attachment.GetPoint(1), c.point1) << c.what;
    EXPECT_EQ(attachment.GetAnchor(), c.anchor) << c.what;
  }
}

TEST_F(AttachmentPlacement, TheDraggedGripFollowsThePointerAtEitherSize) {
  for (int size : {0, 1}) {
    KExtendedObj slur(0, 14, KExtendedObj::kSlur, 20, 5, 40, 0);
    slur.SetPoint(0, 18, 9);
    slur.SetPoint(1, 36, 0);
    CRect first, second;
    slur.GetHandleRects(first, second, kTreble, 100, 50, size);
    // A drag of two stored columns right and one down, in screen pixels.
    const int step = size != 0 ? 11 : 9;
    const CPoint from(first.left, first.top);
    const CPoint to(first.left + 2 * step, first.top + step);
    slur.MoveHandleBy(0, from, to, size);
    CRect moved, unmoved;
    slur.GetHandleRects(moved, unmoved, kTreble, 100, 50, size);
    EXPECT_EQ(CPoint(moved.left, moved.top), to) << "size " << size;
    EXPECT_EQ(unmoved, second) << "size " << size;
  }
}

TEST_F(AttachmentPlacement, CoveredRectangleByKind) {
  struct Case {
    const char* what;
    int type, kind;
    CPoint anchor;
    CSize size;
    CPoint point0, point1;
    const char* text;
    const char* rect;  // for the column at x = 91 and the drawing top at y = 50: origin (100, 50) on a staff
  };
  // clang-format off
  const Case cases[] = {
      {"tie below its ends", kTreble, 0, {0, 0}, {40, 0}, {10, -6}, {30, -6}, "", "100,44,140,50"},
      {"slur beyond its ends", kTreble, 1, {0, 0}, {40, 4}, {-5, 8}, {45, 12}, "", "95,50,145,62"},
      {"numbered bracket", kTreble, 2, {0, 0}, {30, 4}, {}, {}, "-3", "94,45,124,59"},
      {"text box, measured text", kTreble, 3, {0, 0}, {5, 5}, {}, {}, "Hi", "97,43,109,63"},
      {"crescendo", kTreble, 4, {0, 0}, {40, 10}, {}, {}, "", "100,50,140,60"},
      {"decrescendo rising", kTreble, 5, {0, 0}, {40, -10}, {}, {}, "", "100,40,140,50"},
      {"V through its anchor", kTreble, 6, {20, 8}, {40, 0}, {}, {}, "", "97,49,139,59"},
      {"bracket with hooks", kTreble, 7, {0, 0}, {40, 13}, {}, {}, "", "94,50,134,63"},
      {"reversed bracket on a rhythm line", kRhythm, 10, {0, 0}, {40, -13}, {}, {}, "", "89,46,129,73"},
      {"dashed bracket on a rhythm line", kRhythm, 14, {0, 0}, {40, 13}, {}, {}, "", "89,46,129,86"},
      {"boxed bracket without the half column", kTreble, 22, {0, 0}, {40, 13}, {}, {}, "", "85,50,125,63"},
      {"double bar", kTreble, 21, {0, 0}, {40, 0}, {}, {}, "", "100,44,140,56"},
      {"bracket reshaped to a negative width", kTreble, 7, {0, 0}, {-40, 13}, {}, {}, "", "54,50,94,63"},
      {"flat hairpin grows 2 up and down", kTreble, 4, {0, 0}, {40, 0}, {}, {}, "", "100,48,140,52"},
      {"narrow double bar grows 2 left and right", kTreble, 21, {0, 0}, {1, 0}, {}, {}, "", "98,44,103,56"},
      {"a kind drawing nothing covers its origin", kTreble, -1, {0, 0}, {40, 0}, {}, {}, "", "98,48,102,52"},
  };
  // clang-format on
  for (const Case& c : cases) {
    KExtendedObj attachment(0, 14, c.kind, c.anchor.x, c.anchor.y, c.size.cx, c.size.cy, 0, 0, "", "", "");
    attachment.SetText(c.text);  // in the default font: 6 pixels a character, 13 high
    attachment.SetPoint(0, c.point0.x, c.point0.y);
    attachment.SetPoint(1, c.point1.x, c.point1.y);
    CRect rect;
    attachment.GetScreenRect(rect, &dc, c.type, 91, 50, 0);
    EXPECT_EQ(Show(rect), c.rect) << c.what;
  }
}

TEST_F(AttachmentPlacement, AVNearThePageEdgeStopsAtZero) {
  KExtendedObj vee(0, 14, KExtendedObj::kLineOrV, -20, -8, 40, 0);
  CRect rect;
  vee.GetScreenRect(rect, &dc, kTreble, 0, 5, 0);  // origin (9, 5)
  EXPECT_EQ(Show(rect), "0,0,48,6");
}

TEST_F(AttachmentPlacement, TextBoxMeasuresItsTextOrEstimatesWithoutADeviceContext) {
  KExtendedObj box(0, 14, "Hello", "20,0,0,0,400,0,0,0,0,3,2,1,18,Arial");
  CRect measured, estimated;
  box.GetScreenRect(measured, &dc, kTreble, 91, 50, 0);
  EXPECT_EQ(Show(measured), "97,43,147,70");  // 5 characters of 10 pixels, 20 high
  box.GetScreenRect(estimated, nullptr, kTreble, 91, 50, 0);
  EXPECT_EQ(Show(estimated), "97,43,134,70");  // 5 x 20 x 3 / 8 = 37
}

// A drag of the covered rectangle from (100, 40, 140, 60).
struct DragCase {
  const char* what;
  int kind;
  CPoint anchor;
  CSize size;
  CRect after;
  int result;
  CPoint offset, newAnchor;
  CSize newSize;
  CPoint point0, point1;  // before the drag: (10, -6) and (30, -6), offset (0, 0)
};

void RunDrags(const DragCase* cases, size_t count) {
  const CRect before(100, 40, 140, 60);
  for (size_t i = 0; i < count; ++i) {
    const DragCase& c = cases[i];
    KExtendedObj attachment(0, 14, c.kind, c.anchor.x, c.anchor.y, c.size.cx, c.size.cy, 0, 0,
                            c.kind == KExtendedObj::kTextBox ? "T" : "", "", "");
    attachment.SetPoint(0, 10, -6);
    attachment.SetPoint(1, 30, -6);
    EXPECT_EQ(attachment.DragTo(before, c.after), c.result) << c.what;
    EXPECT_EQ(attachment.GetOffset(), c.offset) << c.what;
    EXPECT_EQ(attachment.GetAnchor(), c.newAnchor) << c.what;
    EXPECT_EQ(attachment.GetSize(), c.newSize) << c.what;
    EXPECT_EQ(attachment.GetPoint(0), c.point0) << c.what;
    EXPECT_EQ(attachment.GetPoint(1), c.point1) << c.what;
  }
}

// clang-format off
TEST_F(AttachmentPlacement, DragOfTheWholeRectangleMovesAnyKind) {
  const DragCase cases[] = {
      {"tie", 0, {0, 0}, {40, 6}, {105, 37, 145, 57},
       1, {5, -3}, {0, 0}, {40, 6}, {10, -6}, {30, -6}},
      {"text box", 3, {0, 0}, {40, 6}, {90, 50, 130, 70},
       1, {-10, 10}, {0, 0}, {40, 6}, {10, -6}, {30, -6}},
      {"bracket", 7, {0, 0}, {40, 13}, {100, 41, 140, 61},
       1, {0, 1}, {0, 0}, {40, 13}, {10, -6}, {30, -6}},
  };
  RunDrags(cases, std::size(cases));
}

TEST_F(AttachmentPlacement, DragThatResizesReshapesByKind) {
  const DragCase cases[] = {
      {"text box keeps its size", 3, {0, 0}, {40, 6}, {100, 40, 150, 60},
       0, {0, 0}, {0, 0}, {40, 6}, {10, -6}, {30, -6}},
      // Ties and slurs: the bow deepens or flattens with the height alone.
      {"tie, bottom lowered", 0, {0, 0}, {40, 6}, {100, 40, 140, 64},
       1, {0, 4}, {0, 0}, {40, 6}, {10, -10}, {30, -10}},
      {"tie, top raised", 0, {0, 0}, {40, 6}, {100, 36, 140, 60},
       1, {0, 0}, {0, 0}, {40, 6}, {10, -10}, {30, -10}},
      {"slur, top raised", 1, {0, 0}, {40, 6}, {100, 36, 140, 60},
       1, {0, -4}, {0, 0}, {40, 6}, {10, -2}, {30, -2}},
      {"slur, bottom lowered", 1, {0, 0}, {40, 6}, {100, 40, 140, 64},
       1, {0, 0}, {0, 0}, {40, 6}, {10, -2}, {30, -2}},
      // Width and height: the control points keep their place along the width.
      {"tie, left edge out and bottom down", 0, {0, 0}, {40, 6}, {80, 40, 140, 62},
       1, {-20, 2}, {0, 0}, {60, 4}, {15, -8}, {45, -8}},
      {"tie, right edge out and top up", 0, {0, 0}, {40, 6}, {100, 38, 180, 60},
       1, {0, 0}, {0, 0}, {80, 4}, {20, -6}, {60, -6}},
      {"slur, width alone from the left", 1, {0, 0}, {40, 6}, {120, 40, 140, 60},
       1, {20, 0}, {0, 0}, {20, 6}, {5, -6}, {15, -6}},
      // Numbered brackets: the end that moved takes the height change.
      {"tuplet falling, bottom lowered", 2, {0, 0}, {40, 6}, {100, 40, 140, 63},
       1, {0, 0}, {0, 0}, {40, 9}, {10, -6}, {30, -6}},
      {"tuplet rising, bottom lowered", 2, {0, 0}, {40, -6}, {100, 40, 140, 63},
       1, {0, 3}, {0, 0}, {40, -9}, {10, -6}, {30, -6}},
      {"level tuplet, bottom lowered", 2, {0, 0}, {40, 0}, {100, 40, 140, 63},
       1, {0, 0}, {0, 0}, {40, 0}, {10, -6}, {30, -6}},
      {"level tuplet, top raised", 2, {0, 0}, {40, 0}, {100, 37, 140, 60},
       1, {0, -3}, {0, 0}, {40, 0}, {10, -6}, {30, -6}},
      {"tuplet falling, top raised", 2, {0, 0}, {40, 6}, {100, 37, 140, 60},
       1, {0, -3}, {0, 0}, {40, 9}, {10, -6}, {30, -6}},
      {"tuplet, left edge in", 2, {0, 0}, {40, 6}, {110, 40, 140, 60},
       1, {10, 0}, {0, 0}, {30, 6}, {10, -6}, {30, -6}},
      // Hairpins, V-shapes and bracket lines: the anchor follows its edge.
      {"V pointing down, bottom lowered", 6, {20, 8}, {40, 0}, {100, 40, 140, 64},
       1, {0, 0}, {20, 12}, {40, 0}, {10, -6}, {30, -6}},
      {"V with its middle on its end, bottom lowered", 6, {20, 5}, {40, 5}, {100, 40, 140, 64},
       1, {0, 0}, {20, 9}, {40, 9}, {10, -6}, {30, -6}},
      {"crescendo, bottom lowered", 4, {0, 0}, {40, 10}, {100, 40, 140, 64},
       1, {0, 0}, {0, 0}, {40, 14}, {10, -6}, {30, -6}},
      {"level line, bottom lowered", 6, {20, 0}, {40, 0}, {100, 40, 140, 64},
       1, {0, 4}, {20, -4}, {40, -4}, {10, -6}, {30, -6}},
      {"crescendo, top raised", 4, {0, 0}, {40, 10}, {100, 36, 140, 60},
       1, {0, -4}, {0, 4}, {40, 14}, {10, -6}, {30, -6}},
      {"reversed bracket, top raised", 10, {0, 0}, {40, -13}, {100, 36, 140, 60},
       1, {0, 0}, {0, 0}, {40, -17}, {10, -6}, {30, -6}},
      {"V pointing up, top raised", 6, {20, -8}, {40, 0}, {100, 36, 140, 60},
       1, {0, 0}, {20, -12}, {40, 0}, {10, -6}, {30, -6}},
      {"V, right edge out", 6, {20, 8}, {40, 0}, {100, 40, 150, 60},
       1, {0, 0}, {25, 8}, {50, 0}, {10, -6}, {30, -6}},
      {"line ending at its middle, left edge out", 6, {40, 8}, {40, 0}, {90, 40, 140, 60},
       1, {-10, 0}, {50, 8}, {50, 0}, {10, -6}, {30, -6}},
  };
  RunDrags(cases, std::size(cases));
}
// clang-format on

TEST_F(AttachmentPlacement, HostileStoredValuesStayBoundedAndNeverOverflow) {
  // Whatever the file held, the placement stays near the line (whose own
  // position is bounded to 2^24 pixels) and edits keep the values bounded.
  constexpr long long kNear = (1LL << 24) + 200000;
  constexpr int kMaxLength = 32767;
  for (int kind = -2; kind <= 26; ++kind) {
    for (int extreme : {INT_MAX, INT_MIN}) {
      KExtendedObj attachment = Hostile(kind, extreme);
      if (kind == KExtendedObj::kTextBox) attachment.SetText("x");
      for (int size : {0, 1}) {
        for (int type : {kTreble, kTab, kRhythm, kChordLine, kText, kPercussion, -7}) {
          CRect rect, first, second;
          attachment.GetScreenRect(rect, &dc, type, INT_MAX, INT_MIN, size);
          attachment.GetHandleRects(first, second, type, INT_MIN, INT_MAX, size);
          for (const CRect& r : {rect, first, second}) {
            for (int v : {r.left, r.top, r.right, r.bottom}) EXPECT_LT(std::abs(1LL * v), kNear) << kind;
          }
        }
      }

      attachment.MoveHandleBy(0, CPoint(INT_MIN, INT_MIN), CPoint(INT_MAX, INT_MAX), 1);
      const CPoint moved = kind == KExtendedObj::kLineOrV ? attachment.GetAnchor() : attachment.GetPoint(0);
      EXPECT_LE(std::abs(1LL * moved.x), kMaxLength) << kind;
      EXPECT_LE(std::abs(1LL * moved.y), kMaxLength) << kind;

      EXPECT_EQ(attachment.DragTo(CRect(0, 0, 10, 10), CRect(INT_MAX - 10, INT_MIN, INT_MAX, INT_MIN + 10)),
                1);
      EXPECT_LE(std::abs(1LL * attachment.GetOffset().x), kMaxLength) << kind;
      EXPECT_LE(std::abs(1LL * attachment.GetOffset().y), kMaxLength) << kind;

      const int resized =
          attachment.DragTo(CRect(INT_MIN, 0, INT_MAX, 10), CRect(INT_MAX, 0, INT_MIN, INT_MAX));
      if (kind != KExtendedObj::kTextBox) {
        EXPECT_EQ(resized, 1);
        EXPECT_LE(std::abs(1LL * attachment.GetSize().cx), kMaxLength) << kind;
      }
    }
  }
}

}  // namespace
