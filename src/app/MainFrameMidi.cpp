// The main frame's MIDI output: one output for the program, opened on the
// chosen device when something first sounds. Notes picked on the toolboxes
// and instruments auditioned in the MIDI settings go out through it, and the
// chord dialogs' chords are installed to play on it. Without a device the
// output never opens and nothing sounds.

#include "app/CMainFrame.h"
#include "chords/ChordAudition.h"
#include "common/Globals.h"
#include "doc/Preferences.h"
#include "midi/CMaxMidiOut.h"

MidiOutPort* CMainFrame::PreviewOutput() { return m_midiOut.get(); }

void CMainFrame::SetUpMidiOutput() {
  m_midiOut = std::make_unique<CMaxMidiOut>();
  SetChordAudition([this](const CString& shape, const CString& tuning, int strumDelay, int program) {
    PlayChordShapeOn(m_midiOut.get(), g_MidiOutDevice - 1, shape, tuning, strumDelay, program,
                     g_prefMidiInstruments.tabOctaveLower != 0);
  });
}

void CMainFrame::TearDownMidiOutput() {
  SetChordAudition(nullptr);
  // Its destructor makes every scheduler forget it.
  m_midiOut.reset();
}
