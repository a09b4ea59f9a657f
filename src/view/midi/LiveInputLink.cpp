#include "view/midi/LiveInputLink.h"

#include <algorithm>

#include "common/Globals.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KListLineRestsServices.h"
#include "view/CStavlinView.h"
#include "view/ViewHost.h"
#include "view/midi/KSVMidi.h"

KLiveInputSettings LiveInputSettingsFromPreferences() {
  const KPrefMidiInput& p = g_prefMidiInput;
  KLiveInputSettings s;
  s.chordWindow = std::clamp(p.shortestImportNote, 0, 3);
  s.inputDevice = p.inputDevice;
  s.metronome = p.metronome;
  s.remoteStartStop = p.remoteStartStop;
  s.lineLength = p.liveLineLength;
  s.tempo = p.tempo;
  s.remoteKey = p.triggerTone;
  s.shortest = std::clamp(p.shortestLiveNote, 0, 3);
  s.tempoMode = std::clamp(p.liveTrigger, 0, 2);
  s.lineKind = std::clamp(g_liveLineType, 0, 3);
  s.octaveShift = p.transposeGuitar;
  s.metronomeNote = g_prefMidiImport.metronomeSound;
  s.metronomeVelocity = g_prefMidiImport.metronomeLoudness;
  return s;
}

MidiOutPort* KLiveInputLink::RecordingOutput() { return m_frame.PlayOutput(); }

int KLiveInputLink::RecordingOutputDevice() const { return std::max(g_MidiOutDevice - 1, 0); }

bool KLiveInputLink::HasLiveInputTarget() { return LiveInputTarget() != nullptr; }

void KLiveInputLink::StartLiveInput(int tempo) {
  if (CStavlinView* view = LiveInputTarget()) view->StartLiveMidiInput(tempo);
}

void KLiveInputLink::StopLiveInput() {
  if (CStavlinView* view = LiveInputTarget()) view->StopLiveMidiInput();
}

void KLiveInputLink::StopInputDevices() {
  if (CMaxMidiIn* input = m_frame.LiveInput()) {
    input->Stop();
    input->Close();
  }
  if (CMaxMidiSync* sync = m_frame.LiveSync()) sync->Stop();
}

void KLiveInputLink::SetSyncTempo(int bpm) {
  if (CMaxMidiSync* sync = m_frame.LiveSync(); sync != nullptr && bpm > 0)
    sync->SetTempo(CMaxMidiSync::BpmToTempo(bpm));
}

void KLiveInputLink::SaveEntryState() {
  if (CStavlinView* view = LiveInputTarget()) view->SaveLiveEntryState();
}

void KLiveInputLink::RestoreEntryState() {
  if (CStavlinView* view = LiveInputTarget()) view->RestoreLiveEntryState();
}

void KLiveInputLink::FocusTarget() {
  CStavlinView* view = LiveInputTarget();
  if (view != nullptr && view->Host() != nullptr && !view->m_destroyed) view->Host()->TakeFocus();
}

void KLiveInputLink::StoreSettings(const KLiveInputSettings& s) {
  KPrefMidiInput& p = g_prefMidiInput;
  p.metronome = s.metronome;
  p.remoteStartStop = s.remoteStartStop;
  p.liveLineLength = s.lineLength;
  p.tempo = s.tempo;
  p.shortestLiveNote = s.shortest;
  p.liveTrigger = s.tempoMode;
  g_liveShortestNote = s.shortest;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kMidiInput);
}

void KLiveInputLink::CloseInputMidiDialog() {
  if (m_close) m_close();
}
