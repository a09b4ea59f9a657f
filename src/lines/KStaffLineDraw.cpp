// Drawing a staff line. The notes are drawn by the line's drawing cache
// (KSpeedLine): the staff keeps the cache current (rebuilt at another size
// index or after a change, not otherwise), asks it to render from the first
// column that needs it, and then draws its attachments.

#include <algorithm>

#include "common/Globals.h"
#include "lines/KSpeedLine.h"
#include "lines/KStaffLine.h"
#include "model/KExtendedObj.h"

namespace {

// The cache renders up to this column: the whole line.
constexpr int kLastColumn = 10000;
// Columns drawn before the first one that changed, for symbols that reach
// into the redrawn area from the left.
constexpr int kColumnsBefore = 3;

}  // namespace

void KStaffLine::Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int view6, int view7,
                      int view8, int, int view10) {
  KSpeedLine* cache = GetSpeedLine();
  if (dc == nullptr || cache == nullptr) return;
  const int size = sizeIndex != 0 ? 1 : 0;
  const int columnWidth = g_NoteColumnWidth[size];
  const int lead = GetLeadInWidth(size) + GetIndent();

  // The column under the redraw x; left of the first column it is column 0.
  const long long offset = static_cast<long long>(redrawX) - originX - lead;
  const int column = static_cast<int>(std::clamp<long long>(offset, 0, INT32_MAX) / columnWidth);
  const int first = FindRedrawStart(column);

  cache->Refresh(*this, size, nullptr);
  cache->Render(dc, originX, std::max(first - kColumnsBefore, 0), kLastColumn, top, view7, view8, 0, view10,
                view6);

  const int x0 = lead + originX;
  const int y = GetSpaceAbove(size) + top;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    attachment->Draw(dc, m_type, attachment->GetPos() * columnWidth + x0, y, size);
  }
}
