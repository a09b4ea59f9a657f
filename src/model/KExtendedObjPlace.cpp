// Where an attachment lies on its line: its origin for the line family, its
// scaled lengths, its two grips and the rectangle it covers.

#include "model/KExtendedObjPlace.h"

#include <algorithm>
#include <initializer_list>

#include "common/Globals.h"
#include "model/DocServices.h"
#include "model/KExtendedObj.h"
#include "model/KLineObj.h"

namespace {

constexpr int kTopStaffRow = 14;
constexpr int kTopTabRow = 2;
// A percussion staff draws its attachments this many staff steps higher.
constexpr int kPercussionSteps = 6;
// Rhythm and chord lines hang their attachments this much above the line's top.
constexpr int kRhythmLift = 4;
// The size-0 scale that stored lengths are written in.
constexpr int kBaseScale = 9;
// Bracket lines on rhythm and chord lines: the reversed kinds lie this far down,
// and rhythm lines lower their hooks by as much.
constexpr int kReversedDrop = 27;
constexpr int kRhythmDashedLine = 10;
constexpr int kRhythmDashedReversedLine = 13;
// Grips are this many pixels wide and high.
constexpr int kGripSize = 3;
// Rectangles thinner than this grow by kGrowBy on both sides.
constexpr int kMinRectSide = 4;
constexpr int kGrowBy = 2;

int SizeOf(int sizeIndex) { return sizeIndex != 0 ? 1 : 0; }

bool IsBracketLine(int kind) {
  return kind >= KExtendedObj::kFirstBracketLine && kind <= KExtendedObj::kLastBracketLine &&
         kind != KExtendedObj::kDoubleBar;
}

bool IsRhythmOrChord(int family) {
  return family == KLineObj::kFamilyRhythm || family == KLineObj::kFamilyChord;
}

int MinOf(std::initializer_list<int> values) { return std::min(values); }
int MaxOf(std::initializer_list<int> values) { return std::max(values); }

}  // namespace

int BoundedValue(long long value, int low, int high) {
  return static_cast<int>(std::clamp<long long>(value, low, high));
}

int ScaleLength(int value, int size) { return value * g_RhythmColumnWidth[SizeOf(size)] / kBaseScale; }

int KindShift(int kind) {
  if (kind == KExtendedObj::kNumberedBracket) return -6;
  if (kind == KExtendedObj::kTextBox) return KExtendedObj::kTextBoxShiftX;
  if (kind >= KExtendedObj::kFirstBracketLine && kind <= 22 && kind != KExtendedObj::kDoubleBar) return -6;
  return 0;
}

int BracketLineY(int kind, int family) {
  const bool reversed = KExtendedObj::IsReversedBracket(kind);
  if (family == KLineObj::kFamilyRhythm && kind >= 14 && kind <= 20) {
    return reversed ? kRhythmDashedReversedLine : kRhythmDashedLine;
  }
  if (reversed && IsRhythmOrChord(family)) return kReversedDrop;
  return 1;
}

int BracketHookY(int family, int h) { return family == KLineObj::kFamilyRhythm ? h + kReversedDrop : h; }

KAttachmentFrame PlaceAttachment(const KExtendedObj& attachment, int lineType, int x, int y, int sizeIndex) {
  KAttachmentFrame frame;
  frame.family = KLineObj::FamilyOf(lineType);
  frame.size = SizeOf(sizeIndex);
  const int size = frame.size;
  const int kind = attachment.GetKind();
  const int row = BoundedValue(attachment.GetRow(), -kMaxAttachmentRow, kMaxAttachmentRow);
  x = BoundedValue(x, -kMaxLinePixel, kMaxLinePixel);
  y = BoundedValue(y, -kMaxLinePixel, kMaxLinePixel);

  int x0 = x;
  if (kind < 22 || kind > KExtendedObj::kLastBracketLine) {
    x0 += (IsRhythmOrChord(frame.family) ? g_RhythmColumnWidth[size] : g_NoteColumnWidth[size]) / 2;
  }
  int y0 = y;
  if (frame.family == KLineObj::kFamilyStaff) {
    const int step = g_StaffStep[size];
    y0 += (row - kTopStaffRow) * step;
    if (lineType == KLineObj::kKindPercussion) y0 -= kPercussionSteps * step;
  } else if (frame.family == KLineObj::kFamilyTab) {
    y0 += (row - kTopTabRow) * (TabStringSpacing(size) + 1) - 2;
  } else if (IsRhythmOrChord(frame.family)) {
    y0 -= kRhythmLift;
  }

  auto scaled = [size](int value) { return ScaleLength(BoundedLength(value), size); };
  const CPoint offset = attachment.GetOffset();
  frame.x = x0 + scaled(offset.x);
  frame.y = y0 + scaled(offset.y);
  frame.w = scaled(attachment.GetSize().cx);
  frame.h = scaled(attachment.GetSize().cy);
  frame.anchor = CPoint(scaled(attachment.GetAnchor().x), scaled(attachment.GetAnchor().y));
  for (int i = 0; i < 2; ++i) {
    const CPoint point = attachment.GetPoint(i);
    frame.points[i] = CPoint(BoundedLength(point.x), BoundedLength(point.y));
    frame.scaledPoints[i] = CPoint(scaled(point.x), scaled(point.y));
  }
  return frame;
}

int KExtendedObj::GetHandleRects(CRect& first, CRect& second, int lineType, int x, int y, int sizeIndex) {
  const KAttachmentFrame frame = PlaceAttachment(*this, lineType, x, y, sizeIndex);
  CRect* grips[2] = {&first, &second};
  for (int i = 0; i < 2; ++i) {
    const CPoint at = m_kind == kLineOrV ? frame.anchor : frame.scaledPoints[i];
    const CPoint corner(frame.x + at.x, frame.y + at.y);
    grips[i]->SetRect(corner.x, corner.y, corner.x + kGripSize, corner.y + kGripSize);
  }
  return 1;
}

int KExtendedObj::MoveHandleBy(int grip, CPoint from, CPoint to, int sizeIndex) {
  // Points are stored at the normal size and drawn scaled by ScaleLength, so
  // a movement on screen goes back through the inverse scale: at large
  // symbols 11 pixels on screen are 9 stored units, and the grip follows the
  // pointer.
  const int scale = g_RhythmColumnWidth[SizeOf(sizeIndex)];
  const long long dx = (static_cast<long long>(to.x) - from.x) * kBaseScale / scale;
  const long long dy = (static_cast<long long>(to.y) - from.y) * kBaseScale / scale;
  if (m_kind == kLineOrV) {
    m_anchorX = BoundedLength(m_anchorX + dx);
    m_anchorY = BoundedLength(m_anchorY + dy);
  } else {
    const CPoint point = GetPoint(grip);
    SetPoint(grip == 0 ? 0 : 1, BoundedLength(point.x + dx), BoundedLength(point.y + dy));
  }
  return 1;
}

CRect KExtendedObj::GetDrawnTextRect(CDC* dc, int lineType, int x, int y, int sizeIndex) {
  const KAttachmentFrame f = PlaceAttachment(*this, lineType, x, y, sizeIndex);
  const CSize text = TextExtent(dc);
  const int left = f.x + kTextBoxShiftX;
  const int top = f.y + kTextBoxShiftY;
  return CRect(left, top, left + text.cx, top + text.cy);
}

void KExtendedObj::GetScreenRect(CRect& rect, CDC* dc, int lineType, int x, int y, int sizeIndex) {
  const KAttachmentFrame f = PlaceAttachment(*this, lineType, x, y, sizeIndex);
  const int w = f.w;
  const int h = f.h;
  if (IsCurve()) {
    const CPoint p0 = f.points[0];
    const CPoint p1 = f.points[1];
    rect.SetRect(f.x + MinOf({0, p0.x, p1.x, w}), f.y + MinOf({0, p0.y, p1.y, h}),
                 f.x + MaxOf({0, p0.x, p1.x, w}), f.y + MaxOf({0, p0.y, p1.y, h}));
  } else if (m_kind == kNumberedBracket) {
    rect.SetRect(f.x - 6, std::min(f.y - 5, f.y + h - 5), f.x - 6 + w, std::max(f.y + 5, f.y + h + 5));
  } else if (m_kind == kTextBox) {
    const CSize text = TextExtent(dc);
    rect.SetRect(f.x - 3, f.y - 7, f.x - 3 + text.cx, f.y + text.cy);
  } else if (m_kind == kCrescendo || m_kind == kDecrescendo) {
    rect.SetRect(f.x, std::min(f.y, f.y + h), f.x + w, std::max(f.y, f.y + h));
  } else if (m_kind == kLineOrV) {
    const CPoint a = f.anchor;
    rect.SetRect(std::max(0, f.x - 2 + MinOf({0, a.x, w}) - 1), std::max(0, f.y + MinOf({0, a.y, h}) - 1),
                 f.x - 2 + MaxOf({0, a.x, w}) + 1, f.y + MaxOf({0, a.y, h}) + 1);
  } else if (IsBracketLine(m_kind)) {
    const int t = BracketLineY(m_kind, f.family);
    const int hooks = BracketHookY(f.family, h);
    const int left = f.x + KindShift(m_kind);
    rect.SetRect(left, f.y + MinOf({0, t, hooks}), left + w, f.y + MaxOf({0, t, hooks}));
  } else if (m_kind == kDoubleBar) {
    rect.SetRect(f.x, f.y - 6, f.x + w, f.y + 6);
  } else {
    // Kinds that draw nothing still cover their origin, so that they can be
    // found and removed.
    rect.SetRect(f.x, f.y, f.x, f.y);
  }
  // A reshaped attachment may have a negative width or height: it covers the
  // same pixels either way.
  rect.NormalizeRect();
  if (rect.Height() < kMinRectSide) rect.top -= kGrowBy, rect.bottom += kGrowBy;
  if (rect.Width() < kMinRectSide) rect.left -= kGrowBy, rect.right += kGrowBy;
}
