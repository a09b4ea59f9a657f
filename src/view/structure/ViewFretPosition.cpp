// Actions/Set TAB Fret Position: moves the fingering of the selected
// tablature notes to another hand position keeping their pitches, and sets
// the score option that makes translation from a staff choose frets near the
// fingering to their left.

#include <algorithm>

#include "common/ViewServices.h"
#include "dialogs/KDlgSetFretPos.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KTabLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"

namespace {

constexpr UINT kSelectFingering = 7028;
constexpr int kUndoLine = 0;
constexpr int kUndoGroup = 1;
constexpr int kUndoGroupToEnd = 5;
constexpr int kWholeLine = 32000;

// The option into the view, its program-wide copy and the score's settings.
void StoreFretFromPrevious(CStavlinView& v, int option) {
  v.m_fretFromPrevious = option;
  g_prefTabOptions.fretFromPrevious = option;
  v.m_options.tabSpacing = static_cast<BYTE>(v.m_options.tabSpacing / 10 * 10 + (option != 0 ? 1 : 0));
  if (v.m_document != nullptr) v.m_document->SetSettings(v.m_options, TRUE);
}

}  // namespace

void CStavlinView::OnActionsSetTabFretPosition() {
  if (m_document == nullptr) return;
  KDlgSetFretPos dlg;
  dlg.fretFromPrevious = m_fretFromPrevious;
  dlg.fretPosition = 0;
  dlg.keepOpen = m_keepOpenStrings;
  if (dlg.DoModal() != IDOK) return;
  m_keepOpenStrings = dlg.keepOpen;
  const bool optionChanged = dlg.fretFromPrevious != m_fretFromPrevious;

  if (!SelectionRectShown() || m_lineCount == 0) {
    if (!optionChanged) {
      AfxMessageBox(kSelectFingering, MB_OK | MB_ICONINFORMATION);
      return;
    }
    StoreFretFromPrevious(*this, dlg.fretFromPrevious);
    return;
  }

  const auto [first, last] = viewgeom::SelectedLines(*this);
  int firstTab = -1;
  for (int i = first; i <= last && firstTab < 0; ++i) {
    if (KLineObj::FamilyOf(GetDisplayEntry(i).type) == KLineObj::kFamilyTab) firstTab = i;
  }
  if (firstTab < 0) return;  // no tablature selected: nothing is changed, nor the option

  int firstColumn = 0;
  int endColumn = kWholeLine;
  if (m_selRect.left != 0) {
    KLineObj* line = GetDisplayLineObj(firstTab);
    const int group = line->GetGroupId();
    if (group == KLineObj::kNoGroup) {
      RecordUndoStep(kUndoLine, firstTab, 0, nullptr, 0);
    } else {
      RecordUndoStep(last > first ? kUndoGroupToEnd : kUndoGroup, group, 0, nullptr, 0);
    }
    // Staff and tablature columns line up across the selection.
    firstColumn = std::min(m_selFirstColumn, m_selLastColumn);
    endColumn = std::max(m_selFirstColumn, m_selLastColumn);
  }
  for (int i = first; i <= last; ++i) {
    if (auto* tab = dynamic_cast<KTabLine*>(GetDisplayLineObj(i)))
      tab->MoveToFretPosition(firstColumn, endColumn, dlg.fretPosition, m_keepOpenStrings);
  }
  m_document->SetModifiedFlag(TRUE);
  g_relayout = 0;
  m_document->UpdateAllViews(nullptr, (last > first ? kHintLineAndBelow : kHintLineFrom) + 10000 * first);
  if (optionChanged) StoreFretFromPrevious(*this, dlg.fretFromPrevious);
}

std::span<const KViewCommandHandler> FretPositionCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kActionsFretPosition, cmd::kActionsFretPosition,
       [](CStavlinView& v, UINT) { v.OnActionsSetTabFretPosition(); }},
  };
  return kHandlers;
}
