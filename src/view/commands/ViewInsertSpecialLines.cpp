// Two Insert commands that do more than add one line: Keyboard (Treble+Bass)
// Staff makes a braced pair of staves in a line group of its own, and Page
// Break adds a text line that starts a new printed page.

#include <algorithm>

#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kUndoLineToEnd = 6;
constexpr int kTreble = 0;
constexpr int kBass = 1;
constexpr DWORD kSpaceAtBottom = 1;
constexpr DWORD kPageBreakLine = 0x1000;
constexpr DWORD kOtherStaffHidden = KLineObj::kFlagShownPair;

bool IsGrandStaffType(int type) { return type == kTreble || type == kBass; }

}  // namespace

void CStavlinView::OnInsertKeyboardStaff() {
  if (m_document == nullptr) return;
  RecordUndoStep(kUndoLineToEnd, m_currentLine, 0, nullptr, 0);
  const int id = m_document->GetNewLineGroupId();
  auto* group = new KLineGroup(id, 2, kSpaceAtBottom);
  group->SetSlotType(0, kTreble);
  group->SetSlotType(1, kBass);
  group->SetSlotPartner(0, 1);
  group->SetSlotPartner(1, -1);
  m_document->AddLineGroup(group);

  // On the upper staff of a shown pair the new pair goes below that pair and
  // the text line under it.
  if (m_currentLine >= 0 && m_currentLine < m_lineCount &&
      IsGrandStaffType(GetDisplayEntry(m_currentLine).type)) {
    const KLineObj* line = GetDisplayLineObj(m_currentLine);
    if (line != nullptr && line->TestFlags(KLineObj::kFlagPairUpper) && !line->TestFlags(kOtherStaffHidden)) {
      int next = m_currentLine + 1;
      while (next < m_lineCount - 1 && !IsGrandStaffType(GetDisplayEntry(next).type)) ++next;
      m_currentLine = std::min(next, m_lineCount - 1);
      if (m_currentLine + 1 < m_lineCount &&
          KLineObj::FamilyOf(GetDisplayEntry(m_currentLine + 1).type) == KLineObj::kFamilyText) {
        ++m_currentLine;
      }
    }
  }

  const CString labels[KLineGroup::kMaxSlots];
  KLineGroup* built = RebuildLineGroup(id, m_widest, -1, labels);
  KLineObj* upper = built != nullptr ? m_document->GetLineAt(built->GetSlotLineRef(0)) : nullptr;
  if (upper == nullptr) return;
  upper->ModifyFlags(KLineObj::kFlagPairLong, g_prefStaffLines3.keyboardBars != 0 ? 1 : 0);
  upper->ModifyFlags(KLineObj::kFlagPairUpper, 1);
}

void CStavlinView::OnInsertPageBreak() {
  if (m_document == nullptr) return;
  const int linesBefore = m_document->GetLineCount();
  InsertLineOfType(KStrLine::kKind, 0);
  if (m_document->GetLineCount() == linesBefore) return;
  if (auto* text = dynamic_cast<KStrLine*>(GetDisplayLineObj(m_currentLine))) {
    text->ModifyFlags(kPageBreakLine, 1);
    text->SetFontIndex(0);
  }
  m_pageMarks = 1;
  m_options.showPageBreaks = 1;
  m_document->SetSettings(m_options, TRUE);
  OnViewRefresh();
}
