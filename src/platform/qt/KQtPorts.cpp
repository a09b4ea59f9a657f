#include "platform/qt/KQtPorts.h"

#include "platform/ImageFiles.h"
#include "platform/MidiScheduler.h"

KQtPorts::KQtPorts() {
  SetUiPort(&m_ui);
  SetProgressPort(&m_progress);
  SetClipboardPort(&m_clipboard);
  SetKeyStatePort(&m_keys);
  SetShellPort(&m_shell);
  SetHelpPort(&m_help);
  SetSymbolLoader(&m_symbols);
  m_previousMidiClock = SetMidiClock(&m_midiClock);
  m_previousMidiDevices = SetMidiDevices(&m_midiDevices);
  SetPngWriter(&m_png);
}

KQtPorts::~KQtPorts() {
  SetPngWriter(nullptr);
  ResetSoundScheduler();
  SetMidiDevices(m_previousMidiDevices);
  SetMidiClock(m_previousMidiClock);
  SetSymbolLoader(nullptr);
  SetHelpPort(nullptr);
  SetShellPort(nullptr);
  SetKeyStatePort(nullptr);
  SetClipboardPort(nullptr);
  SetUiPort(nullptr);
  SetProgressPort(nullptr);
}
