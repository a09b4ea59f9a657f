#include "view/core/ViewLineGeometry.h"

#include <algorithm>

#include "common/Globals.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace viewgeom {

int ColumnWidth(const CStavlinView& view, int type) {
  const int size = view.GetSizeIndex() != 0 ? 1 : 0;
  if (type >= 0 && type < static_cast<int>(view.m_typeColumnWidth.size())) {
    const int measured = view.m_typeColumnWidth[static_cast<size_t>(type)];
    if (measured > 0) return measured;
  }
  const int family = KLineObj::FamilyOf(type);
  if (KLineObj::IsNoteFamily(family)) return g_NoteColumnWidth[size];
  if (family == KLineObj::kFamilyChord) return g_ChordNameWidth[size];
  return 0;
}

int LineLeftX(const CStavlinView& view, int displayLine) {
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return view.m_contentLeft;
  int x = view.m_contentLeft + line->GetIndent();
  const KListLine* list = line->AsListLine();
  if (list != nullptr && KLineObj::IsNoteFamily(line->GetFamily()))
    x += list->GetLeadInWidth(view.GetSizeIndex() != 0 ? 1 : 0);
  return x;
}

std::pair<int, int> SelectedLines(const CStavlinView& view) {
  const int last = std::max(view.GetDisplayLineCount() - 1, 0);
  const int a = std::clamp(view.m_selFirstLine, 0, last);
  const int b = std::clamp(view.m_selLastLine, 0, last);
  return {std::min(a, b), std::max(a, b)};
}

int FamilyAt(const CStavlinView& view, int displayLine) {
  if (displayLine < 0 || displayLine >= view.GetDisplayLineCount()) return KLineObj::kNoFamily;
  return KLineObj::FamilyOf(view.GetDisplayEntry(displayLine).type);
}

}  // namespace viewgeom
