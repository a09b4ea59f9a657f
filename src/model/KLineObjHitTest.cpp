// Finding the attachment under a mouse point. The columns an attachment
// reaches are worked out from its anchor column, its x offset and its width;
// only attachments that reach the column under the point are asked for their
// covered rectangle, which is where the line draws them.

#include <algorithm>

#include "model/KExtendedObj.h"
#include "model/KExtendedObjPlace.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"

namespace {

// Column units in which an attachment's reach is counted: chord lines count
// in 8-pixel columns from the offset, the others in 18-pixel columns with the
// offset biased by 10, about the half column the drawing shifts by.
constexpr int kChordUnit = 8;
constexpr int kChordBias = 0;
constexpr int kNoteUnit = 18;
constexpr int kNoteBias = 10;

}  // namespace

KExtendedObj* KLineObj::HitTestAttachment(int x, int y, int columnWidth, CDC* dc, int top, int sizeIndex) {
  if (columnWidth <= 0 || m_attachments.IsEmpty()) return nullptr;
  const int size = sizeIndex != 0 ? 1 : 0;
  const long long column = (static_cast<long long>(x) + columnWidth / 2) / columnWidth;
  const KListLine* line = AsListLine();
  int drawTop = top;
  if (IsNoteFamily(GetFamily()) && line != nullptr) {
    drawTop =
        BoundedValue(static_cast<long long>(top) + line->GetSpaceAbove(size), -kMaxLinePixel, kMaxLinePixel);
  }
  const bool chord = GetFamily() == kFamilyChord;
  const int unit = chord ? kChordUnit : kNoteUnit;
  const int bias = chord ? kChordBias : kNoteBias;

  for (POSITION node = m_attachments.GetTailPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetPrev(node));
    const long long pos = attachment->GetPos();
    const long long offsetX = attachment->GetOffset().x;
    const long long first = (offsetX + bias) / unit + pos;
    const long long last = std::max(first + 1, (attachment->MeasureText(dc) + offsetX) / unit + pos);
    if (column < first || column > last) continue;

    const int left = BoundedValue(pos * columnWidth, -kMaxLinePixel, kMaxLinePixel);
    CRect rect;
    attachment->GetScreenRect(rect, dc, GetType(), left, drawTop, size);
    if (rect.left < 0 && rect.right < 1) rect.right = 1;
    if (rect.PtInRect(CPoint(x, y))) return attachment;
  }
  return nullptr;
}
