// Focus and activation of the score view. The view with the keyboard focus
// publishes its state in the program-wide mirrors (the status bar, dialogs
// and commands read them), becomes the main frame's active score view and
// shows the bars its score asks for; losing the focus removes its caret.
//
// The MIDI device submenus are built by the shell from its own device
// lists, once per menu; the view has no part in them.

#include "chords/ChordDictionary.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "platform/CDC.h"
#include "platform/StringTable.h"
#include "view/CStavlinView.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr UINT kUndoSwitchCommand = 41014;
constexpr UINT kUndoIsEnabledText = 8213;
constexpr UINT kUndoIsDisabledText = 8214;
constexpr int kBassStaff = 1;
constexpr int kBassTab = 15;

// The screen's logical dots per inch, read again whenever a view gains the
// focus (the window may have moved to another screen). Printing and a
// high-resolution export hold their own values while they run.
void MeasureScreenOnFocus(KViewHost* host) {
  if (host == nullptr || g_printInfo != nullptr || g_deviceRender != 0) return;
  if (CDC* dc = host->GetMeasureDC()) {
    g_screenResX = dc->GetDeviceCaps(LOGPIXELSX);
    g_screenResY = dc->GetDeviceCaps(LOGPIXELSY);
  }
}

}  // namespace

void CStavlinView::PublishMirrors() {
  KViewMirrors& m = g_viewMirrors;
  m.currentLine = m_currentLine;
  m.caretColumn = m_caretColumn;
  m.currentType = m_currentType;
  const bool onLine = m_currentLine >= 0 && m_currentLine < m_lineCount;
  m.currentPage = onLine ? GetDisplayEntry(m_currentLine).extra[kPageCode] / 10 : 0;
  m.lineCount = m_lineCount;
  m.pageCount = GetPageCount();
  m.autoScroll = m_autoScroll;
  m.scrollLines = m_scrollStep % 100;
  m.scrollSeconds = static_cast<int>(m_scrollSeconds);
  m.autosaveState = m_readOnly != 0 ? 0 : (m_autosaveInterval != 0 ? 2 : 1);
  m.mutualTranslation = m_mutualTranslation;
  m.independentEditing = m_independentEditing;
  m.autoWrap = m_autoWrap;
  m.noteStyle = m_noteStyle;
  m.alternateSymbols = m_alternateSymbols;
  m.stemDirection = m_stemDirection;
  m.autoBars = m_autoBars;
  m.autoJoin = m_autoJoin;
  m.fileVersion = m_fileVersion;
  // The overwrite state stays as the last Insert key left it.
  if (m_document != nullptr) {
    m.documentModified = m_document->IsModified() ? 1 : 0;
    m.fileName = m_document->fileName;
    m.fileFolder = m_document->fileFolder;
  }
  g_CurrentTuning =
      (m_currentType == kBassStaff || m_currentType == kBassTab) ? m_bassTabTuning : m_trebleTabTuning;
}

void CStavlinView::OnSetFocus() {
  if (m_destroyed) return;
  m_contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + 11;
  PublishMirrors();
  g_beamDefault = m_clusterState;
  MeasureScreenOnFocus(m_host);
  if (KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr) {
    frame->SetActiveScoreView(this);
    const int bars = m_options.barFlags;
    frame->ShowMainToolbar(bars & 1);
    frame->ShowExtraToolsToolbar((bars >> 1) & 1);
    frame->ShowStatusBar((bars >> 2) & 1);
    frame->RefreshToolboxes();
    frame->SetMenuItemText(kUndoSwitchCommand,
                           LoadString(m_undoEnabled != 0 ? kUndoIsEnabledText : kUndoIsDisabledText));
  }
  if (m_host == nullptr || !m_initialUpdateDone) return;
  PlaceCaret();
  m_host->Caret().Show();
}

void CStavlinView::OnKillFocus() {
  if (m_host == nullptr) return;
  m_host->Caret().Hide();
  m_host->Caret().Destroy();
}

void CStavlinView::OnActivateView(BOOL activate) {
  // Chord-file problems found at start-up are told once, on the first
  // activation of a score view.
  if (activate) ReportPendingChordFileErrors();
}
