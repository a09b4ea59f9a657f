#include "view/midi/KSVMidi.h"

#include "dialogs/KDlgInputMidi.h"
#include "view/CStavlinView.h"

namespace {
CStavlinView* g_liveInputTarget = nullptr;
}  // namespace

CStavlinView* LiveInputTarget() { return g_liveInputTarget; }
void SetLiveInputTarget(CStavlinView* view) { g_liveInputTarget = view; }

BOOL KSVMidiIn::FilterEvent(const MidiShortEvent& event) {
  if (g_liveInputTarget == nullptr) return 0;
  return g_liveInputTarget->HandleLiveMidiNotes(&event);
}

void KSVMidiSync::OnBeat() {
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  if (dialog != nullptr && dialog->IsRecording()) dialog->RecordingMetronomeTick();
}
