// View/Bar Numbering: bar numbers shown at the start of notation lines, and
// the number of the first bar of a line (and of its group's staff and
// tablature lines): 0 follows the bars before it, -1 makes the first bar a
// pickup so that the second is bar 1.

#include "common/ViewServices.h"
#include "dialogs/KDlgSetBarNum.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr int kUndoWholeScore = 2;
constexpr int kPickup = -1;

void StoreBarNumberByte(CStavlinView& v) {
  v.m_options.tabDigitPlacement =
      static_cast<BYTE>((v.m_tabDigitPosition + 10) * 10 + (v.m_barNumbersShown != 0 ? 1 : 0));
  if (v.m_document != nullptr) v.m_document->SetSettings(v.m_options, TRUE);
}

void Repaint(CStavlinView& v) {
  v.RebuildDisplayLines(0);
  if (v.m_host != nullptr) v.m_host->InvalidateRect(nullptr, TRUE);
}

}  // namespace

void CStavlinView::OnViewShowBarNumbering() {
  m_barNumbersShown = m_barNumbersShown != 0 ? 0 : 1;
  Repaint(*this);
  StoreBarNumberByte(*this);
}

void CStavlinView::OnViewSetBarNumbering() {
  if (m_document == nullptr || !LeaveReadOnlyForEdit()) return;
  KListLine* current =
      GetDisplayLineObj(m_currentLine) != nullptr ? GetDisplayLineObj(m_currentLine)->AsListLine() : nullptr;
  if (current == nullptr || !KLineObj::IsNoteFamily(current->GetFamily())) return;
  RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);
  KDlgSetBarNum dlg;
  dlg.barNumber = current->GetLayoutRow();
  if (dlg.DoModal() != IDOK || dlg.barNumber < kPickup) return;
  if (KLineGroup* group = m_document->FindLineGroup(current->GetGroupId())) {
    for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
      KLineObj* line = m_document->GetLineAt(group->GetSlotLineRef(slot));
      KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
      if (list != nullptr && KLineObj::IsNoteFamily(line->GetFamily())) {
        list->SetLayoutRow(dlg.barNumber);
        list->MarkChanged();
      }
    }
  } else {
    current->SetLayoutRow(dlg.barNumber);
    current->MarkChanged();
  }
  m_document->SetModifiedFlag(TRUE);
  Repaint(*this);
}

std::span<const KViewCommandHandler> BarNumberCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kViewSetBarNumbering, cmd::kViewSetBarNumbering,
       [](CStavlinView& v, UINT) { v.OnViewSetBarNumbering(); }},
      {cmd::kViewBarNumbering, cmd::kViewBarNumbering,
       [](CStavlinView& v, UINT) { v.OnViewShowBarNumbering(); }},
  };
  return kHandlers;
}
