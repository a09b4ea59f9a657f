// The main frame's MIDI: the output, input and sync objects it owns, the two
// device submenus of Actions/MIDI with the device commands (41264.. output,
// 41274.. input) and their preference writes, and the play window. The one
// output serves the whole program, opened on the chosen device when something
// first sounds: playback, notes picked on the toolboxes, instruments
// auditioned in the MIDI settings and the chord dialogs' chords. Without a
// device it never opens and nothing sounds.

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QTimer>

#include "app/CMainFrame.h"
#include "app/KInputMidiWindow.h"
#include "app/KPlayMidiWindow.h"
#include "chords/ChordAudition.h"
#include "common/Globals.h"
#include "doc/PreferenceWriters.h"
#include "doc/Preferences.h"
#include "platform/MidiDevices.h"
#include "platform/qt/QtText.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/play/ViewPlayer.h"

namespace {

constexpr UINT kFirstOutputId = 41264;  // ten output devices
constexpr UINT kLastOutputId = 41273;
constexpr UINT kFirstInputId = 41274;  // six input devices
constexpr UINT kLastInputId = 41279;
constexpr DWORD kOpenFlags = 0x13320;

// The first output whose name says it is a synthesizer, -1 when none.
int FindSynthesizer(const CMidiOutDeviceMenu& menu) {
  for (int i = 0; i < menu.GetItemCount(); ++i) {
    const std::string& name = menu.Items()[static_cast<std::size_t>(i)].text;
    if (name.find("avetable") != std::string::npos || name.find("ynth") != std::string::npos) return i;
  }
  return -1;
}

}  // namespace

void CMainFrame::AddMidiCommands() {
  // The sync timer opens with the frame; no device opens at start.
  m_midiSync.Open(0, 10);
  m_midiIn.SetSync(&m_midiSync);
  m_midiOut.SetSync(&m_midiSync);
  for (QMenu* menu : m_menus) {
    const QString title = menu->title();
    if (title == QString::fromLatin1(kMidiOutputMenuText)) m_midiOutPopup = menu;
    if (title == QString::fromLatin1(kMidiInputMenuText)) m_midiInPopup = menu;
  }
  AddCommands({
      {cmd::kMidiPlay, cmd::kMidiPlay, [this](UINT) { OnPlayCurrentScore(); }},
      {cmd::kMidiLiveInput, cmd::kMidiLiveInput, [this](UINT) { OnLiveMidiInput(); }},
      {kFirstOutputId, kLastOutputId, [this](UINT id) { SelectOutputDevice(id); }},
      {kFirstInputId, kLastInputId, [this](UINT id) { SelectInputDevice(id); }},
  });
}

void CMainFrame::BuildMidiDeviceMenus() {
  if (m_midiMenusBuilt) return;
  m_midiMenusBuilt = true;
  m_midiOutMenu.Create(kMidiOutputMenuText, kFirstOutputId);
  m_midiInMenu.Create(kMidiInputMenuText, kFirstInputId);
  const auto fill = [this](QMenu* popup, const CMidiDeviceMenu& menu) {
    if (popup == nullptr) return;
    popup->clear();
    for (const CMidiDeviceMenu::Item& item : menu.Items()) {
      auto* action = popup->addAction(ToQString(item.text));
      action->setCheckable(true);
      const UINT id = item.id;
      connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    // No device: the submenu stays, empty and greyed.
    popup->menuAction()->setEnabled(!menu.Items().empty());
  };
  fill(m_midiOutPopup, m_midiOutMenu);
  fill(m_midiInPopup, m_midiInMenu);

  // Output: the saved device, or the first synthesizer found (saved at once).
  const int outputs = m_midiOutMenu.GetItemCount();
  if (outputs > 0) {
    m_midiOutMenu.SetOutput(&m_midiOut);
    if (g_prefMidi.outputDevice < 0) {
      const int synth = FindSynthesizer(m_midiOutMenu);
      if (synth >= 0) {
        g_prefMidi.outputDevice = synth + 1;
        WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidi);
      }
    }
    if (g_prefMidi.outputDevice < 1 || g_prefMidi.outputDevice > outputs)
      g_prefMidi.outputDevice = outputs >= 2 ? 2 : 1;
    m_midiOutMenu.SelectDevice(g_prefMidi.outputDevice - 1);
  }
  const int inputs = m_midiInMenu.GetItemCount();
  if (inputs > 0) {
    m_midiInMenu.SetInput(&m_midiIn);
    if (g_prefMidiInput.inputDevice < 1 || g_prefMidiInput.inputDevice > inputs)
      g_prefMidiInput.inputDevice = 1;
    m_midiInMenu.SelectDevice(g_prefMidiInput.inputDevice - 1);
  }
  ShowMidiDeviceChecks();
}

void CMainFrame::ShowMidiDeviceChecks() {
  const auto show = [](QMenu* popup, const CMidiDeviceMenu& menu) {
    if (popup == nullptr) return;
    const QList<QAction*> actions = popup->actions();
    for (int i = 0; i < actions.size() && i < menu.GetItemCount(); ++i)
      actions[i]->setChecked(menu.Items()[static_cast<std::size_t>(i)].checked);
  };
  show(m_midiOutPopup, m_midiOutMenu);
  show(m_midiInPopup, m_midiInMenu);
}

void CMainFrame::SelectOutputDevice(UINT id) {
  if (!m_midiOutMenu.IsCreated() ||
      m_midiOutMenu.SelectDevice(static_cast<int>(id - kFirstOutputId)) == FALSE)
    return;
  g_prefMidi.outputDevice = static_cast<int>(id - kFirstOutputId) + 1;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidi);
  ShowMidiDeviceChecks();
}

void CMainFrame::SelectInputDevice(UINT id) {
  if (!m_midiInMenu.IsCreated() || m_midiInMenu.SelectDevice(static_cast<int>(id - kFirstInputId)) == FALSE)
    return;
  g_prefMidiInput.inputDevice = static_cast<int>(id - kFirstInputId) + 1;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidiInput);
  ShowMidiDeviceChecks();
}

// ---- The play window ----------------------------------------------------------------------

void CMainFrame::OnPlayCurrentScore() {
  CStavlinView* view = GetActiveScoreView(true);
  if (m_playWindow != nullptr || view == nullptr) return;
  m_playWindow = std::make_unique<KPlayMidiWindow>(*this, view->Player().GetPlayParams());
  m_playWindow->Show(&view->Player());
}

void CMainFrame::ClosePlayMidiDialog() {
  if (m_playWindow == nullptr) return;
  if (m_activeView != nullptr) {
    KViewPlayer& player = m_activeView->Player();
    player.SetPlayParams(m_playWindow->Model().Params());
    player.SilenceAll();
  }
  m_playWindow->Hide();
  // The window's own handler is still running: it goes once that returns.
  m_closingPlayWindow = std::move(m_playWindow);
  QTimer::singleShot(0, this, [this] { m_closingPlayWindow.reset(); });
}

// ---- The recording window ----------------------------------------------------------------

void CMainFrame::OnLiveMidiInput() {
  if (m_inputWindow != nullptr) {
    m_inputWindow->Window().raise();
    m_inputWindow->Window().activateWindow();
    return;
  }
  CStavlinView* view = GetActiveScoreView(true);
  if (view == nullptr) {
    // Recording needs a score: a new one opens first.
    RunCommand(cmd::kFileNew);
    view = GetActiveScoreView(true);
  }
  if (view == nullptr) return;
  SetLiveInputTarget(view);
  m_inputWindow = std::make_unique<KInputMidiWindow>(*this);
  m_inputWindow->Show();
}

void CMainFrame::CloseInputMidiDialog() {
  if (m_inputWindow == nullptr) return;
  m_inputWindow->Hide();
  m_closingInputWindow = std::move(m_inputWindow);
  QTimer::singleShot(0, this, [this] { m_closingInputWindow.reset(); });
}

void CMainFrame::ReattachPlayWindow() {
  if (m_playWindow != nullptr) m_playWindow->Model().AttachView(nullptr);
}

MidiOutPort* CMainFrame::PreviewOutput() { return &m_midiOut; }

void CMainFrame::SetUpMidiOutput() {
  SetChordAudition([this](const CString& shape, const CString& tuning, int strumDelay, int program) {
    PlayChordShapeOn(&m_midiOut, g_MidiOutDevice - 1, shape, tuning, strumDelay, program,
                     g_prefMidiInstruments.tabOctaveLower != 0);
  });
}

void CMainFrame::TearDownMidiOutput() { SetChordAudition(nullptr); }
