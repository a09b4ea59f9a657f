// Edit/Read Only, and the question every editing command asks of a
// read-only score.

#include <span>

#include "doc/pref_values/Preferences.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewMirrors.h"

namespace {
constexpr UINT kReadOnlyQuestion = 7094;
}  // namespace

void CStavlinView::OnEditReadOnly() {
  // Read-only mode switches "Arrows Move U/D Within Staff" off and gives the
  // option back when it ends. A score opened read-only gives back what the
  // preference says.
  if (m_arrowsOptionSaved < 0) m_arrowsOptionSaved = g_prefEntryOptions.upDownMode == 1 ? 1 : 0;
  if (m_readOnly == 0) {
    m_arrowsOptionSaved = m_options.arrowKeysWithinStaff;
    m_options.arrowKeysWithinStaff = 0;
  } else {
    m_options.arrowKeysWithinStaff = static_cast<BYTE>(m_arrowsOptionSaved);
  }
  m_readOnly = m_readOnly != 0 ? 0 : 1;
  RebuildDisplayLines(0);
  g_viewMirrors.autosaveState = m_readOnly != 0 ? 0 : (m_autosaveInterval != 0 ? 2 : 1);
  m_options.readOnly = static_cast<BYTE>(m_readOnly);
  if (m_document != nullptr) {
    m_document->SetSettings(m_options, TRUE);
    m_document->LayoutLineGroups(
        std::span<const DisplayLine>(m_display.data(), static_cast<size_t>(m_lineCount)), m_sizeIndex, 0);
  }
  if (m_host != nullptr) m_host->InvalidateRect(nullptr, TRUE);
}

BOOL CStavlinView::LeaveReadOnlyForEdit() {
  if (m_readOnly == 0) return TRUE;
  if (AfxMessageBox(kReadOnlyQuestion, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return FALSE;
  OnEditReadOnly();
  return TRUE;
}
