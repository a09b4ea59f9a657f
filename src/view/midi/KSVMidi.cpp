#include "view/midi/KSVMidi.h"

#include "dialogs/KDlgInputMidi.h"
#include "platform/UiPort.h"
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

void KSVMidiIn::OnInputLost() {
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  // Not recording: nothing was being recorded, and nothing is said.
  if (dialog == nullptr || !dialog->IsRecording()) return;
  if (g_liveInputTarget != nullptr) g_liveInputTarget->ReleaseLiveNotes(TicksSinceLastEvent());
  const std::string message = GetLastError();
  dialog->InputLost();
  AfxMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void KSVMidiSync::OnBeat() {
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  if (dialog != nullptr && dialog->IsRecording()) dialog->RecordingMetronomeTick();
}
