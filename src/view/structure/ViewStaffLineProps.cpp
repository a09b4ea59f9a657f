// View/Line Appearance/Staff and Tab Line Indent and Spacing: the left indent
// of lines and the space above and below staff and tablature lines, for the
// current, selected or all lines, and as defaults of new lines of this score
// or of every new score.

#include <algorithm>

#include "common/ViewServices.h"
#include "dialogs/KDlgStaffLineProps.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KListLine.h"
#include "model/LineServices.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr int kAllLines = 1;
constexpr int kUndoWholeScore = 2;
constexpr int kShortestStaff = 50;

bool IsStaff(const KLineObj* line) { return line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff; }
bool IsTab(const KLineObj* line) { return line != nullptr && line->GetFamily() == KLineObj::kFamilyTab; }

// A new indent; a fixed-length staff or tablature line of no group keeps its
// right end where it was.
void Indent(KLineObj& line, int indent) {
  const int delta = indent - line.GetIndent();
  line.SetIndent(indent);
  if ((IsStaff(&line) || IsTab(&line)) && line.GetGroupId() == KLineObj::kNoGroup &&
      line.GetStaffLength() > 0)
    line.SetStaffLength(std::max(line.GetStaffLength() - delta, kShortestStaff));
}

}  // namespace

void CStavlinView::OnViewStaffLineProps() {
  if (m_document == nullptr || m_lineCount == 0) return;
  KDlgStaffLineProps dlg;
  KLineObj* current = GetDisplayLineObj(m_currentLine);
  dlg.indent = current != nullptr ? current->GetIndent() : 0;
  KListLine* list = current != nullptr ? current->AsListLine() : nullptr;
  if (list != nullptr && (IsStaff(current) || IsTab(current))) {
    dlg.spaceAbove = list->GetSpaceAbove(m_sizeIndex);
    dlg.spaceBelow = list->GetSpaceBelow(m_sizeIndex);
    dlg.tabStaff = IsTab(current) ? 1 : 0;
    dlg.musicalStaff = IsStaff(current) ? 1 : 0;
  } else {
    dlg.spaceAbove = m_options.staffValue9;
    dlg.spaceBelow = m_options.staffValue10;
  }
  if (dlg.DoModal() != IDOK) return;
  RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);

  const auto range = [this](int all) {
    if (all == kAllLines) return std::pair<int, int>{0, m_lineCount - 1};
    if (SelectionRectShown()) return viewgeom::SelectedLines(*this);
    return std::pair<int, int>{m_currentLine, m_currentLine};
  };
  if (dlg.setIndent != 0) {
    const auto [first, last] = range(dlg.indentRange);
    for (int i = first; i <= last; ++i) {
      if (KLineObj* line = GetDisplayLineObj(i)) Indent(*line, dlg.indent);
    }
  }
  if (dlg.setAbove != 0 || dlg.setBelow != 0) {
    const auto [first, last] = range(dlg.spacingRange);
    for (int i = first; i <= last; ++i) {
      KLineObj* line = GetDisplayLineObj(i);
      const bool wanted = (IsStaff(line) && dlg.musicalStaff != 0) || (IsTab(line) && dlg.tabStaff != 0);
      KListLine* spaced = wanted ? line->AsListLine() : nullptr;
      if (spaced == nullptr) continue;
      if (dlg.setAbove != 0) spaced->SetSpaceAbove(dlg.spaceAbove, m_sizeIndex);
      if (dlg.setBelow != 0) spaced->SetSpaceBelow(dlg.spaceBelow, m_sizeIndex);
    }
  }
  RefreshAfterLineChanges(*this);

  if (dlg.thisScoreDefaults != 0) {
    ScoreSettings& s = m_options;
    if (dlg.setIndent != 0) s.staffValue8 = static_cast<short>(dlg.indent);
    const auto byte = [](int value) { return static_cast<BYTE>(std::clamp(value, 0, 255)); };
    if (dlg.setAbove != 0 && dlg.musicalStaff != 0) s.staffValue9 = byte(dlg.spaceAbove);
    if (dlg.setBelow != 0 && dlg.musicalStaff != 0) s.staffValue10 = byte(dlg.spaceBelow);
    if (dlg.setAbove != 0 && dlg.tabStaff != 0) s.staffValue11 = byte(dlg.spaceAbove);
    if (dlg.setBelow != 0 && dlg.tabStaff != 0) s.staffValue12 = byte(dlg.spaceBelow);
    SetNewLineSpacing(s.staffValue8, s.staffValue9, s.staffValue10, s.staffValue11, s.staffValue12);
    m_document->SetSettings(m_options, TRUE);
  }
  if (dlg.newScoreDefaults != 0) {
    KPrefStaffLines2& p = g_prefStaffLines2;
    if (dlg.setIndent != 0) p.defaultIndent = dlg.indent;
    if (dlg.setAbove != 0 && dlg.musicalStaff != 0) p.spaceAboveStaff = dlg.spaceAbove;
    if (dlg.setBelow != 0 && dlg.musicalStaff != 0) p.spaceBelowStaff = dlg.spaceBelow;
    if (dlg.setAbove != 0 && dlg.tabStaff != 0) p.spaceAboveTab = dlg.spaceAbove;
    if (dlg.setBelow != 0 && dlg.tabStaff != 0) p.spaceBelowTab = dlg.spaceBelow;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kStaffLines2);
  }
}

void RefreshAfterLineChanges(CStavlinView& v) {
  v.RebuildDisplayLines(0);
  if (v.m_lineCount > 0) {
    const int top = v.GetDisplayEntry(std::clamp(v.m_firstVisible, 0, v.m_lineCount - 1)).top;
    v.SetVirtualScrollPosition(v.GetVirtualScrollPosition().x, v.FindTopLine(top));
  }
  v.m_currentLine = std::clamp(v.m_currentLine, 0, std::max(v.m_lineCount - 1, 0));
  v.m_document->SetModifiedFlag(TRUE);
  g_relayout = 1;
  v.m_document->UpdateAllViews(nullptr, CStavlinView::kHintAll);
  g_relayout = 0;
  v.PlaceCaret();
}

std::span<const KViewCommandHandler> LineAppearanceCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kViewChordLineAppearance, cmd::kViewChordLineAppearance,
       [](CStavlinView& v, UINT) { v.OnViewChordLineProps(); }},
      {cmd::kViewStaffLineSpacing, cmd::kViewStaffLineSpacing,
       [](CStavlinView& v, UINT) { v.OnViewStaffLineProps(); }},
  };
  return kHandlers;
}
