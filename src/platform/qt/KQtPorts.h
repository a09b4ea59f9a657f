#pragma once
// The Qt shell's ports (the music-symbol pictures, the PNG writer, the MIDI clock and devices among them),
// made and installed together once the QApplication exists, and uninstalled when this goes (before the
// application does).

#include "platform/qt/KLibPngWriter.h"
#include "platform/qt/KQtClipboard.h"
#include "platform/qt/KQtHelp.h"
#include "platform/qt/KQtKeyState.h"
#include "platform/qt/KQtMidiClock.h"
#include "platform/qt/KQtProgressPort.h"
#include "platform/qt/KQtShell.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform/qt/KQtUiPort.h"
#include "platform/qt/KRtMidiDevices.h"

class KQtPorts {
 public:
  KQtPorts();
  ~KQtPorts();
  KQtPorts(const KQtPorts&) = delete;
  KQtPorts& operator=(const KQtPorts&) = delete;

  KQtUiPort& Ui() { return m_ui; }
  KQtHelp& Help() { return m_help; }

 private:
  KQtUiPort m_ui;
  KQtClipboard m_clipboard;
  KQtKeyState m_keys;
  KQtShell m_shell;
  KQtHelp m_help;
  KQtSymbolLoader m_symbols;
  KQtMidiClock m_midiClock;
  KRtMidiDevices m_midiDevices;
  MidiClock* m_previousMidiClock = nullptr;
  MidiDeviceSystem* m_previousMidiDevices = nullptr;
  KLibPngWriter m_png;
  KQtProgressPort m_progress;
};
