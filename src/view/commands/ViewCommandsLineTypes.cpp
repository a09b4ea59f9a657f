// View/Line Types To Show: hiding and showing whole kinds of lines. The
// choice is a view option kept in the score's settings; no line changes
// (except the pair flag of keyboard staves, which tells a pair that its
// other staff is hidden). The last kind of line still shown is never hidden.

#include "model/KLineObj.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr UINT kLastLinesMessage = 7044;
constexpr int kShowAll = 8;
constexpr int kTrebleStaff = 0;
constexpr int kBassStaff = 1;
constexpr int kTrebleTab = 2;
constexpr int kChordLine = 4;
constexpr int kBassTab = 15;
constexpr DWORD kHiddenByLabel = 2;
constexpr DWORD kPairUpper = KLineObj::kFlagPairUpper;
constexpr DWORD kOtherStaffHidden = KLineObj::kFlagShownPair;
constexpr int kRealTypes[] = {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14, 15, 16};

void Refuse() {
  MessageBeep(MB_ICONASTERISK);
  AfxMessageBox(kLastLinesMessage);
}

bool IsShown(const CStavlinView& v, int type) {
  return type >= 0 && type < static_cast<int>(v.m_show.size()) && v.m_show[static_cast<size_t>(type)] != 0;
}

bool EveryDisplayLineIs(const CStavlinView& v, int type) {
  for (int i = 0; i < v.m_lineCount; ++i) {
    if (v.GetDisplayEntry(i).type != type) return false;
  }
  return true;
}

void RecomputeAllShown(CStavlinView& v) {
  bool every = true;
  for (const int t : kRealTypes) every = every && IsShown(v, t);
  v.m_allShown = (IsShown(v, kShowAll) || every) ? 1 : 0;
}

// The flag of the type goes into the settings, which the document takes.
void StoreShowFlag(CStavlinView& v, int type) {
  v.m_options.showLineType[type] = static_cast<BYTE>(v.m_show[static_cast<size_t>(type)]);
  if (v.m_document != nullptr) v.m_document->SetSettings(v.m_options, TRUE);
}

void RelayoutAndStore(CStavlinView& v, int type) {
  v.RelayoutKeepingCaretLine(type);
  if (v.m_document != nullptr) v.m_document->UpdateAllViews(nullptr, CStavlinView::kHintAll);
  StoreShowFlag(v, type);
}

// Leaves show-all mode first when it is on. True when the command is done
// with that: the type's own flag is clear (nothing more to hide), or
// show-all could not be left.
bool LeaveShowAll(CStavlinView& v, int type) {
  if (!IsShown(v, kShowAll)) return false;
  v.OnViewShowAll();
  if (IsShown(v, kShowAll)) return true;
  if (!IsShown(v, type)) {
    RecomputeAllShown(v);
    return true;
  }
  return false;
}

void ShowLineType(CStavlinView& v, int type, bool recomputeSummary) {
  if (LeaveShowAll(v, type)) return;
  if (IsShown(v, type) && EveryDisplayLineIs(v, type)) {
    Refuse();
    return;
  }
  v.m_show[static_cast<size_t>(type)] = IsShown(v, type) ? 0 : 1;
  if (recomputeSummary) RecomputeAllShown(v);
  RelayoutAndStore(v, type);
}

// Sets or clears the pair flag on the display lines (all but the last) that
// carry the pair's upper flag and are followed by a line of the type.
void MarkPairsFollowedBy(CStavlinView& v, int type, int set) {
  for (int i = 0; i + 1 < v.m_lineCount; ++i) {
    if (v.GetDisplayEntry(i + 1).type != type) continue;
    KLineObj* line = v.GetDisplayLineObj(i);
    if (line != nullptr && line->TestFlags(kPairUpper)) line->ModifyFlags(kOtherStaffHidden, set);
  }
}

}  // namespace

void CStavlinView::ToggleLineTypeShown(int type) {
  if (type == kShowAll) {
    OnViewShowAll();
    return;
  }
  if (type < 0 || type >= ScoreSettings::kLineTypeCount) return;
  ShowLineType(*this, type, true);
}

void CStavlinView::OnViewShowAll() {
  if (IsShown(*this, kShowAll)) {
    // Some line must stay visible once show-all is off.
    bool anyVisible = false;
    if (m_document != nullptr) {
      for (POSITION pos = m_document->GetFirstLinePosition(); pos != nullptr && !anyVisible;) {
        const KLineObj* line = m_document->GetNextLine(pos);
        anyVisible = line != nullptr && IsShown(*this, line->GetType()) && !line->TestFlags(kHiddenByLabel);
      }
    }
    if (!anyVisible) {
      Refuse();
      return;
    }
  }
  m_show[kShowAll] = IsShown(*this, kShowAll) ? 0 : 1;
  RecomputeAllShown(*this);
  RelayoutAndStore(*this, kShowAll);
}

void CStavlinView::OnViewShowAllTablature() {
  if (IsShown(*this, kTrebleTab) && IsShown(*this, kBassTab)) {
    ShowLineType(*this, kTrebleTab, true);
    if (IsShown(*this, kBassTab)) ShowLineType(*this, kBassTab, true);
    return;
  }
  if (!IsShown(*this, kTrebleTab)) ShowLineType(*this, kTrebleTab, true);
  if (!IsShown(*this, kBassTab)) ShowLineType(*this, kBassTab, true);
}

void CStavlinView::OnViewShowTrebleStaff() {
  ShowLineType(*this, kTrebleStaff, true);
  MarkPairsFollowedBy(*this, kTrebleStaff, IsShown(*this, kTrebleStaff) ? 0 : 1);
}

void CStavlinView::OnViewShowBassStaff() {
  if (LeaveShowAll(*this, kBassStaff)) return;
  if (IsShown(*this, kBassStaff)) {
    if (EveryDisplayLineIs(*this, kBassStaff)) {
      Refuse();
      return;
    }
    // While the bass staves are still laid out, their pairs learn they go.
    MarkPairsFollowedBy(*this, kBassStaff, 1);
  }
  m_show[kBassStaff] = IsShown(*this, kBassStaff) ? 0 : 1;
  RelayoutKeepingCaretLine(kBassStaff);
  if (IsShown(*this, kBassStaff)) MarkPairsFollowedBy(*this, kBassStaff, 0);
  if (m_document != nullptr) m_document->UpdateAllViews(nullptr, kHintAll);
  StoreShowFlag(*this, kBassStaff);
}

void CStavlinView::OnViewShowChordNames() { ShowLineType(*this, kChordLine, false); }

void CStavlinView::OnViewShowChordDiagrams() {
  const bool wasOff = m_chordDiagramsShown == 0;
  m_chordDiagramsShown = wasOff ? 1 : 0;
  // Diagrams are drawn on chord lines, which must then be shown.
  if (wasOff) m_show[kChordLine] = 1;
  RelayoutKeepingCaretLine(kChordLine);
  if (m_document != nullptr) m_document->UpdateAllViews(nullptr, kHintAll);
  int width = m_diagramWidth;
  int height = m_diagramHeight;
  int flags = m_chordDiagramsShown & 1;
  if (width > 255) {
    flags |= (width >> 7) & 14;
    width &= 255;
  }
  if (height > 255) {
    flags |= (height >> 4) & 112;
    height &= 255;
  }
  m_options.flags48 = static_cast<BYTE>(flags);
  m_options.diagramScale = static_cast<WORD>((width << 8) + height);
  StoreShowFlag(*this, kChordLine);
}

BOOL CStavlinView::RunLineTypeCommand(UINT id) {
  // Commands that show one type through the common rule, by id.
  static constexpr struct {
    UINT id;
    int type;
  } kSingleTypes[] = {{41120, 5},  {41122, 2},  {41123, 15}, {41126, 9},  {41127, 10}, {41128, 11},
                      {41129, 12}, {41130, 13}, {41131, 14}, {41132, 16}, {41135, 3}};
  for (const auto& entry : kSingleTypes) {
    if (entry.id == id) {
      ToggleLineTypeShown(entry.type);
      return TRUE;
    }
  }
  switch (id) {
    case 41119:
      OnViewShowAll();
      return TRUE;
    case 41121:
      OnViewShowAllTablature();
      return TRUE;
    case 41124:
      OnViewShowTrebleStaff();
      return TRUE;
    case 41125:
      OnViewShowBassStaff();
      return TRUE;
    case 41133:
      OnViewShowChordDiagrams();
      return TRUE;
    case 41134:
      OnViewShowChordNames();
      return TRUE;
    default:
      return FALSE;
  }
}

std::span<const KViewCommandHandler> ViewMenuCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kViewShowAll, kViewShowRhythm, [](CStavlinView& v, UINT id) { v.RunLineTypeCommand(id); }},
      {kViewRefresh, kViewRefresh, [](CStavlinView& v, UINT) { v.OnViewRefresh(); }},
      {kViewTextBigger, kViewTextBigger, [](CStavlinView& v, UINT) { v.OnViewTextBigger(); }},
      {kViewTextSmaller, kViewTextSmaller, [](CStavlinView& v, UINT) { v.OnViewTextSmaller(); }},
      {kViewTextOriginal, kViewTextOriginal, [](CStavlinView& v, UINT) { v.OnViewTextRestore(); }},
      {kViewSymbolSize, kViewSymbolSize, [](CStavlinView& v, UINT) { v.OnViewToggleSymbolSize(); }},
      {kViewTabStems, kViewTabStems, [](CStavlinView& v, UINT) { v.OnViewShowStemsOnTab(); }},
  };
  return kHandlers;
}
