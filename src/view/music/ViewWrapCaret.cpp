#include "view/music/ViewWrapCaret.h"

#include <algorithm>
#include <vector>

#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

// The bars of a line: each run of columns that are not bar columns, by the
// column at which the bar starts (just after the bar column before it, or 0).
std::vector<int> BarStarts(const KListLine& line) {
  std::vector<int> starts;
  int start = 0;
  bool inBar = false;
  const CObList& objects = *line.GetObjList();
  for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(objects.GetNext(pos));
    const KChord* chord = AsChord(object);
    if (chord != nullptr && chord->IsBarColumn()) {
      start = object->GetPos() + 1;
      inBar = false;
    } else if (!inBar) {
      starts.push_back(start);
      inBar = true;
    }
  }
  return starts;
}

// Whether the display line belongs to the part of the remembered caret.
const KListLine* PartLine(const CStavlinView& view, int displayLine, const KWrapCaret& caret) {
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr || line->GetType() != caret.type) return nullptr;
  const KListLine* list = line->AsListLine();
  if (list == nullptr) return nullptr;
  const KLineGroup* group = line->GetGroup();
  if ((group != nullptr) != caret.grouped) return nullptr;
  if (group != nullptr && group->FindSlot(view.GetDisplayEntry(displayLine).line) != caret.slot)
    return nullptr;
  return list;
}

}  // namespace

KWrapCaret RememberWrapCaret(const CStavlinView& view) {
  KWrapCaret caret;
  const int current = view.m_currentLine;
  if (current < 0 || current >= view.GetDisplayLineCount()) return caret;
  const KLineObj* line = view.GetDisplayLineObj(current);
  if (line == nullptr || !KLineObj::IsNoteFamily(line->GetFamily()) || line->AsListLine() == nullptr)
    return caret;
  caret.notation = true;
  caret.type = line->GetType();
  if (const KLineGroup* group = line->GetGroup()) {
    caret.grouped = true;
    caret.slot = group->FindSlot(view.GetDisplayEntry(current).line);
  }
  for (int i = 0; i < current; ++i) {
    if (const KListLine* earlier = PartLine(view, i, caret))
      caret.bar += static_cast<int>(BarStarts(*earlier).size());
  }
  // The caret's bar begins after the last bar column before it.
  int start = 0;
  const CObList& objects = *line->AsListLine()->GetObjList();
  for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(objects.GetNext(pos));
    if (object->GetPos() >= view.m_caretColumn) break;
    const KChord* chord = AsChord(object);
    if (chord != nullptr && chord->IsBarColumn()) start = object->GetPos() + 1;
  }
  for (int barStart : BarStarts(*line->AsListLine())) {
    if (barStart < start) ++caret.bar;
  }
  caret.offset = view.m_caretColumn - start;
  return caret;
}

bool RestoreWrapCaret(CStavlinView& view, const KWrapCaret& caret) {
  if (!caret.notation) return false;
  int left = caret.bar;
  int lastLine = -1;
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    const KListLine* line = PartLine(view, i, caret);
    if (line == nullptr) continue;
    lastLine = i;
    const std::vector<int> starts = BarStarts(*line);
    if (left < static_cast<int>(starts.size())) {
      view.m_currentLine = i;
      view.m_caretColumn = std::clamp(starts[static_cast<size_t>(left)] + caret.offset, 0,
                                      std::max(view.GetDisplayLineObj(i)->GetLength(), 0));
      return true;
    }
    left -= static_cast<int>(starts.size());
  }
  if (lastLine < 0) return false;
  // Fewer bars than before: the end of the part's last line.
  view.m_currentLine = lastLine;
  view.m_caretColumn = std::max(view.GetDisplayLineObj(lastLine)->GetLength(), 0);
  return true;
}
