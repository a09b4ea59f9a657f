// Where on the page a line's drawing reaches, up and down: what a change of
// the line must repaint besides its own band.

#include <algorithm>

#include "lines/KSpeedLine.h"
#include "lines/KTabLine.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

// Bar numbers stand this far above a note line's band.
constexpr int kBarNumberRise = 10;
// Anti-aliased edges and rounding.
constexpr int kRowMargin = 2;

}  // namespace

std::pair<int, int> CStavlinView::DrawnRows(int displayLine, int column, bool current) {
  if (displayLine < 0 || displayLine >= m_lineCount) return {0, -1};
  const DisplayLine& entry = m_display[static_cast<size_t>(displayLine)];
  int top = entry.top;
  int bottom = entry.bottom;
  KLineObj* line = GetDisplayLineObj(displayLine);
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list != nullptr && KLineObj::IsNoteFamily(KLineObj::FamilyOf(entry.type))) {
    const int size = m_sizeIndex != 0 ? 1 : 0;
    if (auto* cache = dynamic_cast<KSpeedLine*>(list->GetLinkedLine())) {
      if (current) {
        if (auto* tab = dynamic_cast<KTabLine*>(list)) {
          const CString tuning = tab->GetTuning();
          cache->Refresh(*list, size, &tuning);
        } else {
          cache->Refresh(*list, size, nullptr);
        }
      }
      const auto [low, high] = cache->DrawnRows(list->FindRedrawStart(std::max(column, 0)));
      if (low <= high) {
        top = std::min(top, entry.top + low);
        bottom = std::max(bottom, entry.top + high);
      }
    }
    top = std::min(top, entry.top - kBarNumberRise);
    // Attachments keep their heights wherever their columns move.
    CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
    if (const CObList* attachments = line->GetAttachments()) {
      const int y = entry.top + list->GetSpaceAbove(size);
      for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
        auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
        CRect rect;
        attachment->GetScreenRect(rect, dc, entry.type, 0, y, size);
        top = std::min(top, static_cast<int>(rect.top));
        bottom = std::max(bottom, static_cast<int>(rect.bottom));
      }
    }
  }
  return {top - kRowMargin, bottom + kRowMargin};
}
