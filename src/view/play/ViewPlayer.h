#pragma once
// The score view's player: plays the shown score, or a part of it, through
// the MIDI output in real time, with the caret following the music.
//
// The music is made once by the sequencer (midi/PlaySequencer.h) and handed
// to a live playback (midi/LivePlayback.h) that sends every message at its
// deadline on the MIDI clock from the event loop: nothing here waits, so the
// window stays live while the music plays. The caret cues of the performance
// move the caret (a tall one while playing), scroll each new line group into
// view and advance the play window's elapsed time.
//
// While the music plays the view takes no input: keys are swallowed, and
// s, S, space or a click stop it; the autosave and auto-scroll ticks wait
// until it has stopped. Without a MIDI device the output stays closed and
// the music plays silently: the caret still follows it.
//
// Modes of PlayOrExportMidi: 0 Play (from the caret to the end or the end
// mark), 2 Back and 3 Fwd (one column sounded), 4 To Start (the caret goes
// to the start; nothing sounds).

#include <cstdint>
#include <memory>

#include "dialogs/KDlgPlayMidi.h"
#include "midi/Performance.h"
#include "midi/PlayScore.h"
#include "platform/CObList.h"
#include "platform/MidiOutPort.h"

class CStavlinView;
class KFrameServices;
class KLivePlayback;
class KTempoMap;
class MidiAlarm;
class MidiClock;

class KViewPlayer final : public KPlayMidiTarget {
 public:
  static constexpr int kModePlay = 0;
  static constexpr int kModeBack = 2;
  static constexpr int kModeForward = 3;
  static constexpr int kModeToStart = 4;
  // The open flags every caller passes to the MIDI output.
  static constexpr DWORD kOpenFlags = 0x13320;
  // The caret while the music plays.
  static constexpr int kPlayCaretWidth = 2;
  static constexpr int kPlayCaretHeight = 56;

  // The settings start from the view's copy of the score's settings.
  explicit KViewPlayer(CStavlinView& view);
  ~KViewPlayer() override;
  KViewPlayer(const KViewPlayer&) = delete;
  KViewPlayer& operator=(const KViewPlayer&) = delete;

  // ---- KPlayMidiTarget -------------------------------------------------------------
  KPlayParams GetPlayParams() const override { return m_params; }
  void SetPlayParams(const KPlayParams& params) override;
  void PlayOrExportMidi(int mode) override;
  bool IsPlaying() const override { return m_running; }
  // Stops the music: every sounding note ends, the output closes, the caret
  // stands after the last column played.
  void StopPlaying() override;
  void ClearMidiMarks() override;
  void ArmMidiMarks() override;
  void TakeFocus() override;
  void SetBoundDialog(KDlgPlayMidi* dialog) override {
    m_dialog = dialog;
    if (dialog == nullptr) m_stepCaret = false;
  }
  KDlgPlayMidi* BoundDialog() const { return m_dialog; }

  // The output the music goes to instead of the frame's (null: the frame's).
  void SetOutput(MidiOutPort* port) { m_outputOverride = port; }
  // Note-off for every note 28..99 on every channel (the play window closes).
  void SilenceAll();
  // The view is going away: the music stops without touching the caret.
  void Halt();

  // Input while the music plays (the view asks before handling it): a
  // character s, S or space stops it; every key is taken.
  bool TakeChar(UINT character);
  // A press of a mouse button stops the music; the press and its release
  // are taken.
  bool TakePress();
  bool TakeRelease();

  // The play window's To Start, Back, Fwd or Stop placed the caret: the
  // score shows it, steady, while the play window keeps the keyboard.
  bool StepCaretShown() const { return m_stepCaret; }

  // The mode of the music playing (-1: none).
  int Mode() const { return m_running ? m_mode : -1; }
  // Where the caret stood last in the music (display line, column).
  int LastLine() const { return m_lastLine; }
  int LastColumn() const { return m_lastColumn; }

 private:
  MidiOutPort* Output();
  // Where a run starts and ends; false when there is nothing to sound.
  bool ChooseRange(int mode, int& startLine, int& startColumn, int& endLine, int& endColumn);
  void ToStart();
  void Start(const KPerformance& performance);
  void OnCue(const KPerfCue& cue);
  void OnFinished();
  // Ends the run; with placeCaret the caret goes after the last column played.
  void EndRun(bool placeCaret);
  void ShowPlayCaret();
  // Places the caret after a step and shows it without the keyboard.
  void ShowStepCaret();
  // The first display line at or after `from` that plays (-1: none).
  int NextNoteLine(int from) const;
  // The first display line that plays, or `fallback` when none does.
  int FirstPlayedLine(int fallback) const;
  KFrameServices* Frame() const;
  void ScrollGroupIntoView(int group);
  void ScrollLineToTop(int displayLine);
  bool MarksSet() const;
  int LineLength(int displayLine) const;

  CStavlinView& m_view;
  KPlayParams m_params;
  KDlgPlayMidi* m_dialog = nullptr;
  MidiOutPort* m_outputOverride = nullptr;
  MidiOutPort* m_port = nullptr;  // the output of the run
  // Passes the run's messages to its output and marks the notes that sound
  // on the fretboard and the piano keyboard.
  class MarkingOutput final : public MidiOutRelay {
   public:
    BOOL Put(const MidiShortEvent& event) override;
    KFrameServices* frame = nullptr;
    // Told when the output goes away in the middle of the run.
    KViewPlayer* player = nullptr;
  };
  // The output went away: the run ends, with a message, from its own alarm
  // (never inside the put that found it gone).
  void OnOutputGone();
  // Shows the frame's message about the output; true when there was one.
  bool ReportOutputProblem();
  bool m_outputGone = false;
  MarkingOutput m_marking;

  // The play-direction and jump lists of the last play order built.
  CObList m_directions;
  CObList m_jumps;

  // The run.
  KPlayScore m_score;
  KPerformance m_performance;
  std::unique_ptr<KTempoMap> m_tempoMap;
  MidiClock* m_clock = nullptr;
  std::unique_ptr<KLivePlayback> m_live;
  std::unique_ptr<MidiAlarm> m_finishAlarm;
  bool m_running = false;
  int m_mode = -1;
  bool m_loop = false;
  bool m_showCaret = true;
  std::int64_t m_startUs = 0;
  int m_group = -1;
  int m_shownTempo = 0;
  int m_lastLine = -1;
  int m_lastColumn = -1;
  bool m_swallowRelease = false;
  bool m_stepCaret = false;
};
