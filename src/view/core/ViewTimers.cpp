// The score view's two timers: 1111 steps auto-scroll, 2222 ticks every 30
// seconds toward timed autosave; the Auto Save command that sets autosave up,
// the save itself, and starting and stopping auto-scroll.
//
// Autosave saves through the document's ordinary save (with its backup copy
// rule), never in the middle of a command: the tick only marks the save as
// due while a command runs (g_commandDepth above 0), and the end of the
// command (KCommandScope) saves it.

#include <algorithm>

#include "dialogs/AutoSaveDialog.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "platform/Registry.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewMirrors.h"

int g_commandDepth = 0;

namespace {

constexpr UINT kMsgNoTimer = 7043;
constexpr const char* kStartWhileReadOnlyText =
    "This file is scrolling or read only right now.\nDo you really want to start autosaving?";
// The shortest auto-scroll period: a period under a second (0.5 s gives 0 ms
// when whole seconds are taken) would otherwise tick without pause.
constexpr UINT kMinScrollPeriodMs = 250;
// Caret rows a line takes when the caret arrives on it.
constexpr int kStaffCaretRow = 18;
constexpr int kTabCaretRow = 4;
// Line steps of 100 and more count line groups.
constexpr int kGroupStep = 100;
// The settings record keeps the autosave interval in one byte.
constexpr int kMaxStoredInterval = 255;
// Autosave kinds of the settings record.
constexpr int kAutosaveByTime = 0;
constexpr int kAutosaveByCharacters = 1;

// Sets timer id, asking message 7043 (Retry, Cancel) while no timer is to be
// had. False when the user cancelled.
bool SetTimerWithRetry(TimerHost& timers, UINT_PTR id, UINT periodMs) {
  while (timers.SetTimer(id, periodMs) == 0) {
    if (AfxMessageBox(kMsgNoTimer, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) return false;
  }
  return true;
}

// Holds the program-wide no-modify flag up for a scope.
class NoModifyScope {
 public:
  NoModifyScope() : m_saved(g_noModify) { g_noModify = 1; }
  ~NoModifyScope() { g_noModify = m_saved; }
  NoModifyScope(const NoModifyScope&) = delete;
  NoModifyScope& operator=(const NoModifyScope&) = delete;

 private:
  int m_saved;
};

}  // namespace

int CStavlinView::StartScrollTimer(float seconds) {
  if (m_autoScroll == 0 || m_host == nullptr) return 0;
  TimerHost& timers = m_host->Timers();
  if (m_scrollTimerRunning != 0) {
    timers.KillTimer(kScrollTimer);
    m_scrollTimerRunning = 0;
  }
  // Whole seconds; anything shorter than the lower bound takes the bound.
  const float whole = std::clamp(seconds, 0.0f, 3600.0f);
  const UINT period = std::max(static_cast<UINT>(whole) * 1000u, kMinScrollPeriodMs);
  if (!SetTimerWithRetry(timers, kScrollTimer, period)) return 0;
  m_scrollTimerRunning = 1;
  return 1;
}

void CStavlinView::OnTimer(UINT_PTR id) {
  const NoModifyScope noModify;
  if (id == kAutosaveTimer) {
    if (m_readOnly != 0) return;
    ++m_autosaveCount;
    const bool modified = m_document != nullptr && m_document->IsModified();
    if (modified && m_autosaveInterval != 0 && m_autosaveCount >= m_autosaveInterval) {
      m_autosaveCount = 0;
      m_autosaveDue = 1;
    }
    // Between commands the save happens now; otherwise when the command ends
    // (or the music stops).
    if (g_commandDepth == 0) AutosaveIfDue();
    return;
  }
  if (id != kScrollTimer || m_autoScroll == 0 || m_lineCount <= 0) return;
  // Auto-scroll waits while the music plays (the caret follows the music).
  if (IsPlaying()) return;

  // The display line to bring to the top.
  int target = m_lineCount;
  if (m_scrollStep < kGroupStep) {
    target = m_firstVisible + std::max(m_scrollStep, 1);
  } else {
    const int groups = std::max(m_scrollStep % kGroupStep, 1);
    int counted = 0;
    for (int i = std::max(m_currentLine + 1, 0); i < m_lineCount; ++i) {
      const KLineObj* line = GetDisplayLineObj(i);
      const int group = line != nullptr ? line->GetGroupId() : KLineObj::kNoGroup;
      if (group == KLineObj::kNoGroup || group != m_lastGroupSeen) {
        m_lastGroupSeen = group;
        if (++counted == groups) {
          target = i;
          break;
        }
      }
    }
  }
  if (target < 0 || target >= m_lineCount) {
    target = 0;
    if (m_scrollLoop == 0) OnActionsToggleScroll();
  }

  const int y = FindTopLine(m_display[static_cast<size_t>(target)].top);
  SetVirtualScrollPosition(GetVirtualScrollPosition().x, y);

  m_currentLine =
      std::clamp(std::min(m_firstVisible + m_scrollCaretOffset, m_lastVisible), 0, m_lineCount - 1);
  m_currentType = m_display[static_cast<size_t>(m_currentLine)].type;
  m_currentFamily = KLineObj::FamilyOf(m_currentType);
  m_caretColumn = 0;
  m_caretRow = m_currentFamily == KLineObj::kFamilyTab ? kTabCaretRow : kStaffCaretRow;
  UpdateAfterEdit(0, 1);
  if (m_scrollBeep != 0) MessageBeep(0);
}

void CStavlinView::AutosaveIfDue() {
  if (m_autosaveDue == 0 || g_commandDepth > 0 || IsPlaying()) return;
  m_autosaveDue = 0;
  if (m_document == nullptr || m_readOnly != 0 || !m_document->IsModified()) return;
  // A score never saved has no file to save to; it waits for the user's Save.
  const CString path = m_document->GetPathName();
  if (path.IsEmpty()) return;
  // The ordinary save: backup copy rule, safe replacement, its own messages.
  if (m_document->OnSaveDocument(path)) g_viewMirrors.documentModified = m_document->IsModified() ? 1 : 0;
}

void CStavlinView::OnFileAutoSave() {
  if (m_autosaveInterval == 0 && (m_autoScroll != 0 || m_readOnly != 0)) {
    if (AfxMessageBox(kStartWhileReadOnlyText, MB_YESNOCANCEL) != IDYES) return;
  }
  const bool characters = m_autosaveKind != kAutosaveByTime;
  KAutoSaveDialog dialog;
  if (m_autosaveInterval == 0) {
    dialog.interval = characters ? 100 : 10;
  } else {
    dialog.interval = characters ? m_autosaveInterval : m_autosaveInterval / 2;
  }
  dialog.unit = characters ? 1 : 0;
  dialog.choice = 0;
  dialog.newFiles = 1;
  dialog.backup = m_options.makeBackups != 0 ? 1 : 0;
  if (dialog.DoModal() != IDOK) return;

  TimerHost* timers = m_host != nullptr ? &m_host->Timers() : nullptr;
  const auto stopTimer = [&] {
    if (m_autosaveTimerOn != 0 && timers != nullptr) timers->KillTimer(kAutosaveTimer);
    m_autosaveTimerOn = 0;
  };

  bool timerRefused = false;
  if (dialog.choice == 0) {
    const bool byCharacters = dialog.unit == 1;
    m_autosaveKind = byCharacters ? kAutosaveByCharacters : kAutosaveByTime;
    if (byCharacters) {
      stopTimer();
      m_autosaveInterval = dialog.interval;
    } else {
      // The timer ticks every 30 seconds: two ticks a minute.
      m_autosaveInterval = 2 * dialog.interval;
      if (timers != nullptr && SetTimerWithRetry(*timers, kAutosaveTimer, kAutosaveTickMs)) {
        m_autosaveTimerOn = 1;
      } else {
        // Without a timer autosave is off, and the score's settings say so.
        timerRefused = true;
        m_autosaveTimerOn = 0;
        m_autosaveInterval = 0;
      }
    }
    m_autosaveCount = 0;
  } else {
    stopTimer();
    m_autosaveInterval = 0;
  }

  m_options.makeBackups = static_cast<BYTE>(dialog.backup != 0 ? 1 : 0);
  m_options.autosaveAmount = static_cast<BYTE>(std::clamp(m_autosaveInterval, 0, kMaxStoredInterval));
  m_options.autosaveKind = static_cast<BYTE>(m_autosaveKind);
  if (m_document != nullptr) m_document->SetSettings(m_options, TRUE);

  if (dialog.newFiles != 0 && !timerRefused) {
    // mode: 0 characters, 1 minutes, 2 never.
    g_prefAutoSave.mode = dialog.choice != 0 ? 2 : (dialog.unit == 1 ? 0 : 1);
    g_prefAutoSave.interval = dialog.interval;
    g_prefAutoSave.makeBackups = dialog.backup != 0 ? 1 : 0;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kAutoSave);
  }
  g_viewMirrors.autosaveState = m_readOnly != 0 ? 0 : (m_autosaveInterval != 0 ? 2 : 1);
}

void CStavlinView::OnActionsToggleScroll() {
  TimerHost* timers = m_host != nullptr ? &m_host->Timers() : nullptr;
  if (m_autoScroll == 0) {
    m_autoScroll = 1;
    m_readOnlyBeforeScroll = m_readOnly;
    m_readOnly = 1;
    m_scrollCaretOffset = std::max(m_currentLine - m_firstVisible, 0);
    if (m_host != nullptr) {
      // The scrolling caret stands near the right edge at the caret's height.
      KCaret& caret = m_host->Caret();
      caret.Hide();
      caret.Create(2, caret.GetSize().cy);
      caret.SetPos(m_autoScrollCaretX, caret.GetPos().y);
      caret.Show();
    }
    if (StartScrollTimer(m_scrollSeconds) == 0) {
      // No timer: auto-scroll cannot run.
      m_autoScroll = 0;
      m_readOnly = m_readOnlyBeforeScroll;
      PlaceCaret();
    }
  } else {
    if (timers != nullptr && m_scrollTimerRunning != 0) timers->KillTimer(kScrollTimer);
    m_scrollTimerRunning = 0;
    m_autoScroll = 0;
    m_readOnly = m_readOnlyBeforeScroll;
    PlaceCaret();
  }
  g_viewMirrors.autoScroll = m_autoScroll;
  g_viewMirrors.scrollLines = m_scrollStep % kGroupStep;
  g_viewMirrors.scrollSeconds = static_cast<int>(m_scrollSeconds);
  g_viewMirrors.autosaveState = m_readOnly != 0 ? 0 : (m_autosaveInterval != 0 ? 2 : 1);
}
