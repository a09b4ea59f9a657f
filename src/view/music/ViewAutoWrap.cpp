// The automatic wrap check after an edit that lengthens notation lines
// (typing, paste, Insert Previous Object) while Options/Auto-Wrap Music is on.

#include <algorithm>

#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/music/ViewMusic.h"
#include "view/music/ViewWrapColumns.h"

namespace {

constexpr int kWholeLines = 10;
constexpr int kWideColumns = 32000;
constexpr DWORD kNewPiece = 0x8000;

}  // namespace

int AutoWrapCheck(CStavlinView& view, int firstLine, int lastLine) {
  if (view.m_autoWrap == 0 || g_automaticWrap != 0 || view.m_document == nullptr) return 0;
  const int count = view.GetDisplayLineCount();
  if (count <= 0 || firstLine < 0 || firstLine >= count) return 0;
  const int last = lastLine < 0 ? firstLine : std::min(lastLine, count - 1);
  int overflowing = -1;
  for (int d = firstLine; d <= last && overflowing < 0; ++d) {
    KLineObj* line = view.GetDisplayLineObj(d);
    KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) continue;
    if (WrapUsedWidth(*list) > line->GetStaffLength()) overflowing = d;
  }
  if (overflowing < 0) return 0;
  // To the end of the score, or to the line above the next piece's title.
  int end = count - 1;
  for (int d = std::max(view.m_currentLine, overflowing) + 1; d < count; ++d) {
    const KLineObj* line = view.GetDisplayLineObj(d);
    if (line != nullptr && line->GetFamily() == KLineObj::kFamilyText && line->TestFlags(kNewPiece) != 0) {
      end = d - 1;
      break;
    }
  }
  view.UpdateSelection(0, kWideColumns, overflowing, end, kWholeLines);
  g_automaticWrap = 1;
  WrapMusic(view);
  g_automaticWrap = 0;
  return 1;
}
