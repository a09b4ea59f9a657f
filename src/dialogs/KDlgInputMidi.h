#pragma once
// KDlgInputMidi: the modeless window "MIDI Recording..." (template 5552),
// opened by Actions/MIDI/Live MIDI Input. It holds the recording settings
// (tempo mode and tempo, shortest note value, line length, remote start and
// stop, metronome), starts and stops recording into the score that was
// active when it opened, and shows the beat within the bar while the
// metronome runs.
//
// It is the program's one recording dialog while it exists: the notes that
// arrive from the MIDI input read its settings and its recording state
// (through ActiveInputMidiDialog), and each beat of the sync timer reaches
// RecordingMetronomeTick. It knows the score view and the main frame only
// through KLiveInputHost, so that it stays below the view.

#include <functional>

#include "platform/MidiOutPort.h"
#include "platform/ModalDialog.h"

// The recording settings, the "MidiInput" preference fields in order.
struct KLiveInputSettings {
  int chordWindow = 2;  // index into the grid table: 240, 120, 60, 30 ticks
  int inputDevice = 1;  // 1-based
  int metronome = 1;
  int remoteStartStop = 0;
  int lineLength = 738;  // pixels
  int tempo = 120;       // beats per minute
  int remoteKey = 100;   // note number of the remote start/stop key
  int shortest = 1;      // 0 eighth, 1 sixteenth, 2 thirty-second, 3 sixty-fourth
  int tempoMode = 1;     // 0 single step, 1 auto-sense, 2 set
  int lineKind = 3;      // 0 tablature, 1 treble, 2 bass, 3 keyboard staff
  int octaveShift = 0;   // above 0 (and not 9): every note an octave up
  // The metronome's click (the MIDI import preferences): a percussion note
  // and its velocity.
  int metronomeNote = 37;
  int metronomeVelocity = 100;
};

// What the recording dialog asks of the program.
class KLiveInputHost {
 public:
  virtual ~KLiveInputHost() = default;
  // The program's MIDI output (metronome clicks, the reset messages) and the
  // device it opens on (0-based); null when there is none.
  virtual MidiOutPort* RecordingOutput() = 0;
  virtual int RecordingOutputDevice() const = 0;
  // A score view is the live-input target.
  virtual bool HasLiveInputTarget() = 0;
  // StartLiveMidiInput on the target with the tempo (beats per minute).
  virtual void StartLiveInput(int tempo) = 0;
  // StopLiveMidiInput on the target.
  virtual void StopLiveInput() = 0;
  // The input is stopped and closed and the sync timer stopped.
  virtual void StopInputDevices() = 0;
  // The sync timer's tempo (beats per minute).
  virtual void SetSyncTempo(int bpm) = 0;
  // Single-step recording: the target's entry state is saved and switched to
  // step entry, and put back afterwards.
  virtual void SaveEntryState() = 0;
  virtual void RestoreEntryState() = 0;
  // The target takes the keyboard focus.
  virtual void FocusTarget() = 0;
  // The settings become the preferences (and are written).
  virtual void StoreSettings(const KLiveInputSettings& settings) = 0;
  // The main frame destroys the dialog (after the call returns).
  virtual void CloseInputMidiDialog() = 0;
};

class KDlgInputMidi : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5552;
  static constexpr UINT kIdSingleStep = 1349;
  static constexpr UINT kIdAutoSense = 1345;
  static constexpr UINT kIdSetTempo = 1343;
  static constexpr UINT kIdTempo = 1344;
  static constexpr UINT kIdTempoScroll = 1341;
  static constexpr UINT kIdEighth = 1338;
  static constexpr UINT kIdSixteenth = 1337;
  static constexpr UINT kIdThirtySecond = 1336;
  static constexpr UINT kIdSixtyFourth = 1335;
  static constexpr UINT kIdLineLength = 1346;
  static constexpr UINT kIdRemote = 1348;
  static constexpr UINT kIdMetronome = 1347;
  static constexpr UINT kIdBeat = 1342;
  static constexpr UINT kIdStartStop = 1334;
  static constexpr UINT kIdHelp = 1333;
  static constexpr UINT kIdExit = 2;
  // Labels and group boxes (no ids of their own in the template).
  static constexpr UINT kIdTempoBox = 40101;
  static constexpr UINT kIdTempoUnit = 40102;
  static constexpr UINT kIdShortestBox = 40103;
  static constexpr UINT kIdLineLabel = 40104;
  static constexpr UINT kIdLineUnit = 40105;

  static constexpr int kMinTempo = 2;
  static constexpr int kMaxTempo = 480;
  static constexpr int kBeatRange = 120;

  KDlgInputMidi(const KLiveInputSettings& settings, KLiveInputHost* host);
  ~KDlgInputMidi() override;

  // Shows the settings, keeps 4 beats a bar, and registers the dialog as the
  // program's recording dialog.
  BOOL OnInitDialog() override;
  // Exit (the close box and Escape too).
  void OnCancel() override;
  bool OnOK() override;

  // Start/Stop: toggles recording (the remote key does the same).
  void OnStartStop();
  void OnExit();
  void OnHelp();
  // The tempo scroll bar: +1 up, -1 down.
  void OnTempoScroll(int delta);
  // One beat of the sync timer.
  void RecordingMetronomeTick();
  // A tempo worked out by the count-in: shown and given to the sync timer.
  void ShowCountInTempo(int bpm);
  // The input device went away while recording: recording stops as by
  // Start/Stop, and the input and the sync stop whatever the remote setting
  // (no remote key can reach a device that has gone).
  void InputLost();

  // Settings as shown.
  KLiveInputSettings Settings() const;
  bool IsRecording() const { return m_recording; }

  // The window repaints the controls after a change it did not cause.
  void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

  // Members exchanged with the controls.
  int m_tempoMode = 1;
  int m_tempo = 120;
  int m_shortest = 1;
  int m_lineLength = 738;
  int m_remote = 0;
  int m_metronome = 1;

  // Recording state read and changed by the live input.
  bool m_recording = false;
  int m_countIn = -1;  // count-in events so far, -1 off
  int m_countInBeats = 4;
  long long m_countInStampUs = 0;
  bool m_firstNotePending = false;
  bool m_stampPending = false;
  int m_remoteEvents = 0;
  int m_beatsPerBar = 4;
  int m_beat = -1;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void ReadControls();
  void ShowMembers();
  void StopRecording();
  void StartRecording();
  void TempoModeChanged();
  void TempoTyped();
  void Changed();

  KLiveInputSettings m_settings;
  KLiveInputHost* m_host;
  bool m_closing = false;
  bool m_stepEntrySaved = false;
  std::function<void()> m_onChange;
};

// The program's recording dialog; null when none is open.
KDlgInputMidi* ActiveInputMidiDialog();
