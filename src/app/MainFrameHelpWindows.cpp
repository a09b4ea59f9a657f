// The main frame's help pages that stay open beside the score.

#include <QDialog>

#include "app/CMainFrame.h"
#include "dialogs/KDlgHelpWindows.h"

namespace {

// Shows the open window again, or opens a new one of the page.
template <class Page>
void ShowHelpWindow(std::unique_ptr<KHelpWindow>& slot, QWidget* frame, std::function<void()> onClose) {
  if (slot != nullptr) {
    slot->Window().show();
    slot->Window().raise();
    slot->Window().activateWindow();
    return;
  }
  slot = std::make_unique<KHelpWindow>(std::make_unique<Page>(), frame, std::move(onClose));
}

}  // namespace

void CMainFrame::ShowMidiPercHelp() {
  ShowHelpWindow<KDlgHelpMidiPerc>(m_midiPercHelp, this, [this] { CloseMidiPercHelp(); });
}

void CMainFrame::CloseMidiPercHelp() { m_midiPercHelp.reset(); }

void CMainFrame::ShowStaffNoteNamesHelp() {
  ShowHelpWindow<KDlgHelpStaffNoteNames>(m_staffNoteNamesHelp, this, [this] { CloseStaffNoteNamesHelp(); });
}

void CMainFrame::CloseStaffNoteNamesHelp() { m_staffNoteNamesHelp.reset(); }

QWidget* CMainFrame::MidiPercHelp() const {
  return m_midiPercHelp != nullptr ? &m_midiPercHelp->Window() : nullptr;
}

QWidget* CMainFrame::StaffNoteNamesHelp() const {
  return m_staffNoteNamesHelp != nullptr ? &m_staffNoteNamesHelp->Window() : nullptr;
}
