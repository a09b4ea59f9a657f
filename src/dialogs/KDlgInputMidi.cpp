#include "dialogs/KDlgInputMidi.h"

#include <algorithm>
#include <string>

#include "platform/HelpPort.h"
#include "platform/StringTable.h"

namespace {

constexpr UINT kStopText = 8096;   // "&Stop"
constexpr UINT kStartText = 8097;  // "&Start"
constexpr DWORD kOpenFlags = 0x13320;

KDlgInputMidi* g_inputMidiDialog = nullptr;

}  // namespace

KDlgInputMidi* ActiveInputMidiDialog() { return g_inputMidiDialog; }

KDlgInputMidi::KDlgInputMidi(const KLiveInputSettings& settings, KLiveInputHost* host)
    : KModalDialog(kTemplateId), m_settings(settings), m_host(host) {
  m_tempoMode = std::clamp(settings.tempoMode, 0, 2);
  m_tempo = settings.tempo;
  m_shortest = std::clamp(settings.shortest, 0, 3);
  m_lineLength = settings.lineLength;
  m_remote = settings.remoteStartStop != 0 ? 1 : 0;
  m_metronome = settings.metronome != 0 ? 1 : 0;
}

KDlgInputMidi::~KDlgInputMidi() {
  m_onChange = nullptr;
  if (g_inputMidiDialog == this) g_inputMidiDialog = nullptr;
}

void KDlgInputMidi::DeclareControls(DialogControls& c) {
  c.SetTitle("MIDI Recording...");
  c.Group(kIdTempoBox, "Tempo");
  c.RadioGroup(kIdSingleStep, "Single ste&p (no tempo)", m_tempoMode).WhenChanged([this] {
    TempoModeChanged();
  });
  c.Radio(kIdAutoSense, "&Auto-sense").WhenChanged([this] { TempoModeChanged(); });
  c.Radio(kIdSetTempo, "S&et:").WhenChanged([this] { TempoModeChanged(); });
  c.Number(kIdTempo, m_tempo, kMinTempo, kMaxTempo).WhenChanged([this] { TempoTyped(); });
  c.Spin(kIdTempoScroll, [this](int delta) { OnTempoScroll(delta); });
  c.Static(kIdTempoUnit, "(b/min)");
  c.Group(kIdShortestBox, "Shortest note value");
  c.RadioGroup(kIdEighth, "1/&8", m_shortest);
  c.Radio(kIdSixteenth, "1/&16");
  c.Radio(kIdThirtySecond, "1/&32");
  c.Radio(kIdSixtyFourth, "1/&64");
  c.Static(kIdLineLabel, "Line length:");
  c.Number(kIdLineLength, m_lineLength, 0, 32000);
  c.Static(kIdLineUnit, "pixels");
  c.Check(kIdRemote, "Use &remote start/stop", m_remote);
  c.Check(kIdMetronome, "Metronome S&ound", m_metronome);
  c.Progress(kIdBeat, 0, kBeatRange);
  c.Button(kIdStartStop, "&Start/Stop", DialogButtonRole::kAction, [this] { OnStartStop(); });
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(kIdExit, "E&xit", DialogButtonRole::kCancel);
}

void KDlgInputMidi::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Box(kIdTempoBox,
               {Ctl(kIdSingleStep), Ctl(kIdAutoSense),
                Row({Ctl(kIdSetTempo), Ctl(kIdTempo), Ctl(kIdTempoScroll), Ctl(kIdTempoUnit), Stretch()})}),
           Box(kIdShortestBox,
               {Ctl(kIdEighth), Ctl(kIdSixteenth), Ctl(kIdThirtySecond), Ctl(kIdSixtyFourth)})}),
      Row({Ctl(kIdLineLabel), Ctl(kIdLineLength), Ctl(kIdLineUnit), Stretch()}),
      Row({Ctl(kIdRemote), Ctl(kIdMetronome), Stretch()}),
      Row({Ctl(kIdBeat)}),
      Row({Ctl(kIdStartStop), Stretch()}),
  };
}

BOOL KDlgInputMidi::OnInitDialog() {
  KModalDialog::OnInitDialog();
  m_beatsPerBar = 4;
  m_beat = -1;
  Controls().SetShown(kIdBeat, 0);
  g_inputMidiDialog = this;
  return TRUE;
}

void KDlgInputMidi::Changed() {
  if (m_onChange) m_onChange();
}

void KDlgInputMidi::ReadControls() {
  DialogControls& c = Controls();
  if (auto value = ParseDialogInteger(c.Text(kIdTempo))) m_tempo = std::clamp(*value, kMinTempo, kMaxTempo);
  if (auto value = ParseDialogInteger(c.Text(kIdLineLength)); value && *value > 0) m_lineLength = *value;
  if (const int mode = c.RadioValue(kIdSingleStep); mode >= 0) m_tempoMode = mode;
  if (const int shortest = c.RadioValue(kIdEighth); shortest >= 0) m_shortest = shortest;
  m_remote = c.Checked(kIdRemote);
  m_metronome = c.Checked(kIdMetronome);
}

void KDlgInputMidi::ShowMembers() { Controls().Load(); }

KLiveInputSettings KDlgInputMidi::Settings() const {
  KLiveInputSettings settings = m_settings;
  settings.tempoMode = m_tempoMode;
  settings.tempo = m_tempo;
  settings.shortest = m_shortest;
  settings.lineLength = m_lineLength;
  settings.remoteStartStop = m_remote;
  settings.metronome = m_metronome;
  return settings;
}

void KDlgInputMidi::TempoModeChanged() {
  // A new tempo mode ends a running recording first.
  if (m_recording) StopRecording();
  ReadControls();
  if (m_host != nullptr) m_host->StoreSettings(Settings());
  Changed();
}

void KDlgInputMidi::TempoTyped() {
  const std::optional<int> typed = ParseDialogInteger(Controls().Text(kIdTempo));
  if (!typed || *typed < kMinTempo || *typed > kMaxTempo) return;
  m_tempo = *typed;
  // A tempo typed chooses "Set:".
  Controls().SetChecked(kIdSetTempo, 1);
  if (m_recording) StopRecording();
  ReadControls();
  if (m_host != nullptr && m_host->HasLiveInputTarget()) m_host->StartLiveInput(m_tempo);
  Changed();
}

void KDlgInputMidi::OnTempoScroll(int delta) {
  if (delta != 1 && delta != -1) return;
  ReadControls();
  if (m_recording) StopRecording();
  const int tempo = delta > 0 ? std::min(m_tempo + 1, kMaxTempo) : std::max(m_tempo - 1, kMinTempo);
  // The tempo edit changes as if typed.
  Controls().SetText(kIdTempo, std::to_string(tempo));
}

void KDlgInputMidi::OnStartStop() {
  ReadControls();
  if (m_host != nullptr) {
    if (MidiOutPort* output = m_host->RecordingOutput()) {
      if (!output->IsOpen()) output->Open(m_host->RecordingOutputDevice(), kOpenFlags);
      SendModuleReset(*output);
    }
  }
  if (m_recording) {
    StopRecording();
  } else {
    StartRecording();
  }
  if (m_host != nullptr) m_host->FocusTarget();
  Changed();
}

void KDlgInputMidi::StopRecording() {
  m_recording = false;
  if (m_host != nullptr) {
    if (m_remote == 0) m_host->StopInputDevices();
    m_host->StopLiveInput();
    if (m_stepEntrySaved) m_host->RestoreEntryState();
  }
  m_stepEntrySaved = false;
  Controls().SetCaption(kIdStartStop, LoadString(kStartText).Str());
  Changed();
}

void KDlgInputMidi::StartRecording() {
  if (m_host == nullptr || !m_host->HasLiveInputTarget()) return;
  m_host->StoreSettings(Settings());
  Controls().SetCaption(kIdStartStop, LoadString(kStopText).Str());
  m_recording = true;
  m_countIn = m_tempoMode == 1 ? 0 : -1;
  if (m_tempoMode == 0) {
    m_host->SaveEntryState();
    m_stepEntrySaved = true;
  }
  m_firstNotePending = true;
  m_stampPending = m_tempoMode == 1;
  m_remoteEvents = 0;
  m_beat = -1;
  m_host->StartLiveInput(m_tempo);
}

void KDlgInputMidi::OnHelp() { ShowHelpTopic("HIDD_MIDI_INPUT"); }

void KDlgInputMidi::RecordingMetronomeTick() {
  if (m_tempoMode == 0) return;
  if (m_metronome != 0 && m_host != nullptr) {
    if (MidiOutPort* output = m_host->RecordingOutput()) {
      if (!output->IsOpen()) output->Open(m_host->RecordingOutputDevice(), kOpenFlags);
      output->Put(SendNowEvent(0x99, std::clamp(m_settings.metronomeNote, 0, 127),
                               std::clamp(m_settings.metronomeVelocity, 0, 127)));
    }
  }
  const int beats = std::max(m_beatsPerBar, 1);
  m_beat = (m_beat + 1) % beats;
  Controls().SetShown(kIdBeat, kBeatRange * (m_beat + 1) / beats);
  Changed();
}

void KDlgInputMidi::ShowCountInTempo(int bpm) {
  m_tempo = std::clamp(bpm, kMinTempo, kMaxTempo);
  if (DialogControl* tempo = Controls().Find(kIdTempo)) {
    tempo->text = std::to_string(m_tempo);
    tempo->entered = false;
  }
  if (m_host != nullptr) m_host->SetSyncTempo(m_tempo);
  Changed();
}

void KDlgInputMidi::InputLost() {
  if (!m_recording) return;
  if (m_host != nullptr) m_host->StopInputDevices();
  StopRecording();
}

void KDlgInputMidi::OnExit() {
  if (m_closing) return;
  m_closing = true;
  ReadControls();
  if (m_host != nullptr) {
    m_host->StoreSettings(Settings());
    if (MidiOutPort* output = m_host->RecordingOutput()) output->Close();
    const bool wasRecording = m_recording;
    m_recording = false;
    m_host->StopInputDevices();
    if (wasRecording) m_host->StopLiveInput();
    if (m_stepEntrySaved) m_host->RestoreEntryState();
  }
  m_recording = false;
  m_stepEntrySaved = false;
  m_remote = 0;
  if (g_inputMidiDialog == this) g_inputMidiDialog = nullptr;
  if (m_host != nullptr) m_host->CloseInputMidiDialog();
}

void KDlgInputMidi::OnCancel() { OnExit(); }

bool KDlgInputMidi::OnOK() {
  OnExit();
  return true;
}
