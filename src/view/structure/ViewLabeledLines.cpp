// View/Line Types To Show/Labeled Lines: hides and shows lines by their
// label. A hidden line carries line flag 2 and is left out of the layout
// (unless every line is shown); some line of a shown kind must stay visible.

#include <string>
#include <vector>

#include "dialogs/KDlgViewLblLines.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr DWORD kHidden = 2;
constexpr DWORD kOtherStaffHidden = KLineObj::kFlagShownPair;
constexpr UINT kUnlabeled = 8050;
constexpr UINT kLastLinesMessage = 7044;
constexpr int kBassStaff = 1;

// The entry of a line: 0 for an unlabelled line, else its label's.
size_t EntryOf(const std::vector<CString>& labels, const KLineObj& line) {
  const CString name = line.GetLabelName();
  if (name.IsEmpty()) return 0;
  for (size_t i = 1; i < labels.size(); ++i) {
    if (labels[i] == name) return i;
  }
  return 0;
}

}  // namespace

void CStavlinView::OnViewLabeledLines() {
  if (m_document == nullptr) return;
  CStavlinDoc& doc = *m_document;
  KDlgViewLblLines dlg;
  dlg.labels.push_back(LoadString(kUnlabeled));
  dlg.visible.push_back(-1);
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const KLineObj* line = doc.GetNextLine(pos);
    const CString name = line->GetLabelName();
    const int shown = line->TestFlags(kHidden) == 0 ? 1 : 0;
    if (name.IsEmpty()) {
      if (dlg.visible[0] < 0) dlg.visible[0] = shown;
      continue;
    }
    if (EntryOf(dlg.labels, *line) != 0) continue;
    dlg.labels.push_back(name);
    dlg.visible.push_back(shown);
  }
  if (dlg.visible[0] < 0) dlg.visible[0] = 1;
  if (dlg.DoModal() != IDOK) return;

  // Some line of a shown kind must stay visible.
  bool anyStays = false;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr && !anyStays;) {
    const KLineObj* line = doc.GetNextLine(pos);
    const int type = line->GetType();
    const bool shownKind = m_show[ScoreSettings::kShowAll] != 0 ||
                           (type >= 0 && type < 17 && m_show[static_cast<size_t>(type)] != 0);
    anyStays = shownKind && dlg.visible[EntryOf(dlg.labels, *line)] != 0;
  }
  if (!anyStays) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kLastLinesMessage);
    return;
  }
  KLineObj* previous = nullptr;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    const int hide = dlg.visible[EntryOf(dlg.labels, *line)] == 0 ? 1 : 0;
    line->ModifyFlags(kHidden, hide);
    // The upper staff of a keyboard pair knows when its bass staff is hidden.
    if (line->GetType() == kBassStaff && line->TestFlags(KLineObj::kFlagPairedStaff) != 0 &&
        previous != nullptr && previous->TestFlags(KLineObj::kFlagPairUpper) != 0) {
      previous->ModifyFlags(kOtherStaffHidden, hide);
    }
    previous = line;
  }
  MeasureLabelWidth();
  RefreshAfterLineChanges(*this);
}
