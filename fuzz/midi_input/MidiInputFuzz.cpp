// MIDI bytes arriving from an input device while the recording window
// records into a new score's staff: the bytes are messages, each a time step
// (one byte, in milliseconds), a length (one byte, at most 64) and that many
// bytes as the device delivered them, fed through the program's MIDI input
// (the device layer's fake) to the view. Whatever arrives, the score stays a
// score: it stores and loads back, and once loaded stores the same bytes.

#include <memory>
#include <vector>

#include "FuzzEnvironment.h"
#include "FuzzScoreView.h"
#include "common/Globals.h"
#include "dialogs/KDlgInputMidi.h"
#include "lines/KStaffLine.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"
#include "platform/MidiOutPort.h"
#include "platform/SettingsStore.h"
#include "view/midi/KSVMidi.h"
#include "view/midi/LiveInputLink.h"
#include "view/midi/LiveRecorder.h"

namespace {

constexpr std::int64_t kStartUs = 5000000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
  FakeMidiDevices devices;
  devices.inputs = {"Keyboard"};
  devices.outputs = {"Synth"};
  MidiDeviceSystem* previousDevices = SetMidiDevices(&devices);
  FakeMidiClock clock;
  MidiClock* previousClock = SetMidiClock(&clock);
  clock.AdvanceTo(kStartUs);
  {
    FuzzScoreView score;
    score.doc.AddTailLine(new KStaffLine(0, 0, 0));
    score.view->RebuildDisplayLines(0);
    score.view->m_currentLine = score.view->GetDisplayLineCount() - 1;
    score.view->m_currentType = score.view->GetDisplayEntry(score.view->m_currentLine).type;
    score.view->m_currentFamily = KLineObj::FamilyOf(score.view->m_currentType);

    KSVMidiIn input;
    KSVMidiSync sync;
    RecordingMidiOut output;
    input.SetSync(&sync);
    score.frame.liveInput = &input;
    score.frame.liveSync = &sync;
    score.frame.play = &output;
    ResetLiveRecording();
    g_MidiOutDevice = 1;
    KLiveInputSettings settings;
    settings.tempoMode = 2;
    settings.tempo = 125;
    settings.shortest = 1;
    settings.chordWindow = 2;
    KLiveInputLink link{score.frame, [] {}};
    {
      KDlgInputMidi dialog(settings, &link);
      dialog.OnInitDialog();
      SetLiveInputTarget(score.view.get());
      dialog.OnStartStop();
      std::int64_t at = kStartUs;
      std::size_t i = 0;
      while (i + 2 <= size) {
        at += std::int64_t{data[i]} * 1000;
        const std::size_t length =
            std::min<std::size_t>(static_cast<std::size_t>(data[i + 1] % 65), size - i - 2);
        std::vector<std::uint8_t> bytes(data + i + 2, data + i + 2 + length);
        i += 2 + length;
        clock.AdvanceTo(at);
        devices.Feed(0, {at, std::move(bytes)});
      }
      if (dialog.IsRecording()) dialog.OnStartStop();
      SetLiveInputTarget(nullptr);
    }
    input.Close();
    sync.Close();
    FuzzScoreView::StoresBack(score.doc, "the recorded score does not store, load and store back the same");
  }
  SetMidiClock(previousClock);
  SetMidiDevices(previousDevices);
  ResetLiveRecording();
  return 0;
}
