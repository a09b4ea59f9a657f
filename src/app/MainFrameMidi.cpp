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
#include <set>

#include "app/CMainFrame.h"
#include "app/KInputMidiWindow.h"
#include "app/KPlayMidiWindow.h"
#include "chords/ChordAudition.h"
#include "common/Globals.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "platform/MidiDevices.h"
#include "platform/SettingsStore.h"
#include "platform/UiPort.h"
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

// The chosen devices are remembered by name, beside their menu numbers:
// numbers shift as ports come and go, names stay.
constexpr const char* kOutputNameGroup = "MidiOutputPort";
constexpr const char* kInputNameGroup = "MidiInputPort";

std::string SavedDeviceName(const char* group) {
  const auto found = CurrentSettingsStore().Find(group);
  return found && found->value ? *found->value : std::string();
}

void SaveDeviceName(const char* group, const std::string& name) {
  CurrentSettingsStore().SetValue(group, name);
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

void CMainFrame::FillMidiDevicePopups() {
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
}

void CMainFrame::BuildMidiDeviceMenus() {
  if (m_midiMenusBuilt) return;
  m_midiMenusBuilt = true;
  m_midiOutMenu.Create(kMidiOutputMenuText, kFirstOutputId);
  m_midiInMenu.Create(kMidiInputMenuText, kFirstInputId);
  FillMidiDevicePopups();
  // The lists follow the ports each time a submenu opens, and each time the
  // menu that holds them opens: a submenu greyed for want of devices never
  // opens, so a device that came since would otherwise never be seen.
  std::set<QMenu*> refreshers;
  for (QMenu* popup : {m_midiOutPopup, m_midiInPopup}) {
    if (popup == nullptr) continue;
    refreshers.insert(popup);
    for (QObject* holder : popup->menuAction()->associatedObjects()) {
      if (auto* parent = qobject_cast<QMenu*>(holder)) refreshers.insert(parent);
    }
  }
  for (QMenu* menu : refreshers)
    connect(menu, &QMenu::aboutToShow, this, [this] { RefreshMidiDeviceMenus(); });

  // Output: the device saved by name; else the saved number, or the first
  // synthesizer found (saved at once). A saved device that is not there now
  // stays the choice: sounding then says it is missing, and it is used again
  // as soon as it comes back.
  const int outputs = m_midiOutMenu.GetItemCount();
  // The ports of the machine come before the program's own.
  const int devices = m_midiOutMenu.MapperIndex() >= 0 ? m_midiOutMenu.MapperIndex() : outputs;
  m_midiOutMenu.SetOutput(&m_midiOut);
  const std::string savedOutput = SavedDeviceName(kOutputNameGroup);
  if (!savedOutput.empty()) {
    const int index = m_midiOutMenu.FindItem(savedOutput);
    if (index >= 0) {
      g_prefMidi.outputDevice = index + 1;
      m_midiOutMenu.SelectDevice(index);
    } else {
      m_midiOut.SetWantedName(savedOutput);
    }
  } else if (outputs > 0) {
    if (g_prefMidi.outputDevice < 0) {
      const int synth = FindSynthesizer(m_midiOutMenu);
      if (synth >= 0) {
        g_prefMidi.outputDevice = synth + 1;
        WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidi);
      }
    }
    if (g_prefMidi.outputDevice < 1 || g_prefMidi.outputDevice > outputs)
      g_prefMidi.outputDevice = devices >= 2 ? 2 : 1;
    m_midiOutMenu.SelectDevice(g_prefMidi.outputDevice - 1);
  }
  const int inputs = m_midiInMenu.GetItemCount();
  if (inputs > 0) {
    m_midiInMenu.SetInput(&m_midiIn);
    const int saved = m_midiInMenu.FindItem(SavedDeviceName(kInputNameGroup));
    if (saved >= 0) g_prefMidiInput.inputDevice = saved + 1;
    if (g_prefMidiInput.inputDevice < 1 || g_prefMidiInput.inputDevice > inputs)
      g_prefMidiInput.inputDevice = 1;
    m_midiInMenu.SelectDevice(g_prefMidiInput.inputDevice - 1);
  }
  ShowMidiDeviceChecks();
}

void CMainFrame::RefreshMidiDeviceMenus() {
  if (!m_midiMenusBuilt) return;
  // The items in use, by name, before the lists are read again.
  const std::string output = !m_midiOut.GetWantedName().empty()
                                 ? m_midiOut.GetWantedName()
                                 : m_midiOutMenu.ItemText(m_midiOutMenu.CheckedIndex());
  const bool outputOpen = m_midiOut.IsOpen();
  const std::string input = m_midiInMenu.ItemText(m_midiInMenu.CheckedIndex());
  m_midiOutMenu.Create(kMidiOutputMenuText, kFirstOutputId);
  m_midiInMenu.Create(kMidiInputMenuText, kFirstInputId);
  m_midiInMenu.SetInput(&m_midiIn);
  const int outIndex = m_midiOutMenu.FindItem(output);
  if (outIndex >= 0) {
    g_prefMidi.outputDevice = outIndex + 1;
    // The open device keeps its connection; one that is back opens again.
    if (outputOpen)
      m_midiOutMenu.MarkChecked(outIndex);
    else
      m_midiOutMenu.SelectDevice(outIndex);
  }
  const int inIndex = m_midiInMenu.FindItem(input);
  if (inIndex >= 0) {
    g_prefMidiInput.inputDevice = inIndex + 1;
    m_midiInMenu.MarkChecked(inIndex);
  }
  FillMidiDevicePopups();
  ShowMidiDeviceChecks();
}

std::string CMainFrame::PlayOutputProblem() {
  if (m_midiOut.IsOpen()) return {};
  if (m_midiOut.IsLost() || !m_midiOut.GetWantedName().empty()) return m_midiOut.GetLastError();
  return {};
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
  const int index = static_cast<int>(id - kFirstOutputId);
  g_prefMidi.outputDevice = index + 1;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidi);
  SaveDeviceName(kOutputNameGroup, m_midiOutMenu.ItemText(index));
  ShowMidiDeviceChecks();
  // A device that would not open says why at once.
  if (!m_midiOut.IsOpen() && !m_midiOut.GetLastError().empty())
    AfxMessageBox(m_midiOut.GetLastError().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::SelectInputDevice(UINT id) {
  if (!m_midiInMenu.IsCreated() || m_midiInMenu.SelectDevice(static_cast<int>(id - kFirstInputId)) == FALSE)
    return;
  const int index = static_cast<int>(id - kFirstInputId);
  g_prefMidiInput.inputDevice = index + 1;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidiInput);
  SaveDeviceName(kInputNameGroup, m_midiInMenu.ItemText(index));
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
