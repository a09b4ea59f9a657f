#pragma once
// KDlgPlayMidi: the modeless transport window "Play Score as MIDI" (template
// 5542), opened by Actions/MIDI/Play Current Score. It edits the six play
// settings of the score it is bound to (the active score view) and starts
// playback there: Play (which becomes Stop while the music runs), Back and
// Fwd (one column sounded each), To Start; Set and Clear MIDI Marks; the
// elapsed time while playing.
//
// Playback itself runs on the score's side, timed by the MIDI clock, so the
// window stays responsive: Play returns at once and the score calls
// OnPlayEnded when the music has stopped (at its end, or stopped by the
// user). Pressing Play again, a click on the window, or the keys s, S or
// space while the window has the focus stop it.
//
// The dialog knows its score and the main frame only through the two small
// interfaces below, so that it stays below the view.

#include <functional>

#include "platform/ModalDialog.h"
#include "platform/UiPort.h"

class KDlgPlayMidi;

// The six play settings, in the order the score view gives them.
struct KPlayParams {
  int tempo = 120;   // beats per minute (the window offers 1..600)
  int loudness = 0;  // -127..127, added to every velocity
  int loop = 0;      // start again at the end
  int ignoreRepeats = 0;
  int betweenMarks = 0;  // 0 all, 1 between the MIDI marks
  int showCaret = 1;     // a tall caret follows the music
};

// A score that the play window can be bound to (the score view's player).
class KPlayMidiTarget {
 public:
  virtual ~KPlayMidiTarget() = default;
  virtual KPlayParams GetPlayParams() const = 0;
  // Stores the settings in the score view (and in the score's settings when
  // a kept value changed, which marks the score modified).
  virtual void SetPlayParams(const KPlayParams& params) = 0;
  // Runs the engine with the stored settings: mode 0 Play, 2 Back, 3 Fwd,
  // 4 To Start. Play returns at once; the bound dialog hears OnPlayEnded
  // when the music stops.
  virtual void PlayOrExportMidi(int mode) = 0;
  virtual bool IsPlaying() const = 0;
  virtual void StopPlaying() = 0;
  // Clears the MIDI marks (the record's mark field becomes "none").
  virtual void ClearMidiMarks() = 0;
  // Clears the marks and arms the view so that the next clicks set them.
  virtual void ArmMidiMarks() = 0;
  // The score view takes the keyboard focus.
  virtual void TakeFocus() = 0;
  // The dialog bound to this target (null: none); the target tells it when
  // it goes away and sends it the elapsed time while playing.
  virtual void SetBoundDialog(KDlgPlayMidi* dialog) = 0;
};

// The main frame as the play window sees it.
class KPlayMidiOwner {
 public:
  virtual ~KPlayMidiOwner() = default;
  // The active score view's target, looked up again; null without a score.
  virtual KPlayMidiTarget* GetActivePlayTarget() = 0;
  // Stores the settings into the active view, silences every note and
  // closes the window (the window is deleted after the call returns).
  virtual void ClosePlayMidiDialog() = 0;
};

class KDlgPlayMidi : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5542;
  static constexpr UINT kIdExit = IDOK;  // 1; Escape and the close box (2) exit too
  static constexpr UINT kIdTempo = 1277;
  static constexpr UINT kIdTempoSpin = 1278;
  static constexpr UINT kIdLoudness = 1279;
  static constexpr UINT kIdLoudnessSpin = 1280;
  static constexpr UINT kIdBack = 1282;
  static constexpr UINT kIdPlay = 1283;
  static constexpr UINT kIdForward = 1284;
  static constexpr UINT kIdToStart = 1286;
  static constexpr UINT kIdSetMarks = 1287;
  static constexpr UINT kIdClearMarks = 1288;
  static constexpr UINT kIdLoop = 1290;
  static constexpr UINT kIdIgnoreRepeats = 1291;
  static constexpr UINT kIdShowCaret = 1292;
  static constexpr UINT kIdElapsed = 1293;
  static constexpr UINT kIdAll = 1294;
  static constexpr UINT kIdBetweenMarks = 1295;
  // The labels and the group box (no ids of their own in the template).
  static constexpr UINT kIdTempoLabel = 40001;
  static constexpr UINT kIdTempoUnit = 40002;
  static constexpr UINT kIdLoudnessLabel = 40003;
  static constexpr UINT kIdLoudnessUnit = 40004;
  static constexpr UINT kIdElapsedLabel = 40005;
  static constexpr UINT kIdPlayBox = 40006;

  static constexpr int kMinTempo = 1;
  static constexpr int kMaxTempo = 600;
  static constexpr int kMaxLoudness = 127;

  // The six settings in the order tempo, loudness, loop, ignore repeats,
  // play range, show caret; the owner is the main frame (may be null).
  KDlgPlayMidi(const KPlayParams& params, KPlayMidiOwner* owner);
  ~KDlgPlayMidi() override;

  BOOL OnInitDialog() override;
  // Exit (and Escape, and the close box): the settings are read and the
  // owner closes the window.
  bool OnOK() override;
  void OnCancel() override;

  void OnPlay();
  void OnBack();
  void OnForward();
  void OnToStart();
  void OnClearMidiMarks();
  void OnSetMidiMarks();
  // A spin's arrow: delta +1 up, -1 down.
  void OnVScroll(UINT spinId, int delta);

  // Binds the dialog to the target, or with null to the owner's active
  // score view; loads the settings from a looked-up view, then stores the
  // dialog's settings into the bound one. Returns the bound target.
  KPlayMidiTarget* AttachView(KPlayMidiTarget* target);
  KPlayMidiTarget* BoundTarget() const { return m_bound; }
  // The bound target is going away: the dialog forgets it (and stops
  // showing play).
  void TargetGone(KPlayMidiTarget* target);

  // From the target while playing.
  void OnPlayEnded();
  void SetElapsed(const CString& text);
  // A tempo change met in the music is shown in the tempo box.
  void ShowTempo(int bpm);
  bool IsPlaying() const { return m_playing != 0; }
  // A key pressed in the window while playing: s, S and space stop the
  // music. Returns true when the key was taken (every key while playing).
  bool OnKeyWhilePlaying(int character);

  // The window repaints the controls after a change it did not cause.
  void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

  KPlayParams Params() const;

  int m_tempo = 120;
  int m_loudness = 0;
  int m_loop = 0;
  int m_ignoreRepeats = 0;
  int m_playRange = 0;  // 0 All, 1 between marks
  int m_showCaret = 1;
  CString m_elapsed;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // Binds the looked-up or given target and exchanges the settings.
  void Bind(KPlayMidiTarget* target);
  void SetParams(const KPlayParams& params);
  // Reads what the controls show into the members (a value that cannot be
  // read keeps the member).
  void ReadControls();
  void ShowMembers();
  void EnableTransport(bool enabled);
  void RunMode(int mode);
  void Changed();

  KPlayMidiOwner* m_owner;
  KPlayMidiTarget* m_bound = nullptr;
  int m_playing = 0;
  bool m_closing = false;
  std::function<void()> m_onChange;
};

// The elapsed time as the window shows it: hours, minutes, seconds
// ("0:00:00").
CString FormatElapsedTime(long long microseconds);
