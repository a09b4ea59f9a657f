#include "dialogs/KDlgPlayMidi.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/StringTable.h"

namespace {

constexpr UINT kPlayText = 8095;  // "&Play"
constexpr UINT kStopText = 8096;  // "&Stop"
constexpr const char* kNoTime = "0:00:00";

// Typed values outside the spin ranges are passed on as typed: the edits
// take any integer.
constexpr int kAnyMin = std::numeric_limits<int>::min();
constexpr int kAnyMax = std::numeric_limits<int>::max();

constexpr UINT kTransport[] = {KDlgPlayMidi::kIdToStart, KDlgPlayMidi::kIdSetMarks, KDlgPlayMidi::kIdForward,
                               KDlgPlayMidi::kIdClearMarks, KDlgPlayMidi::kIdBack};

}  // namespace

CString FormatElapsedTime(long long microseconds) {
  const long long seconds = std::max(microseconds, 0LL) / 1000000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return CString(text);
}

KDlgPlayMidi::KDlgPlayMidi(const KPlayParams& params, KPlayMidiOwner* owner)
    : KModalDialog(kTemplateId), m_owner(owner) {
  SetParams(params);
  m_elapsed = kNoTime;
}

KDlgPlayMidi::~KDlgPlayMidi() {
  m_onChange = nullptr;
  if (m_bound != nullptr) m_bound->SetBoundDialog(nullptr);
  m_bound = nullptr;
}

void KDlgPlayMidi::SetParams(const KPlayParams& params) {
  m_tempo = params.tempo;
  m_loudness = params.loudness;
  m_loop = params.loop;
  m_ignoreRepeats = params.ignoreRepeats;
  m_playRange = params.betweenMarks != 0 ? 1 : 0;
  m_showCaret = params.showCaret;
}

KPlayParams KDlgPlayMidi::Params() const {
  KPlayParams params;
  params.tempo = m_tempo;
  params.loudness = m_loudness;
  params.loop = m_loop;
  params.ignoreRepeats = m_ignoreRepeats;
  params.betweenMarks = m_playRange == 1 ? 1 : 0;
  params.showCaret = m_showCaret;
  return params;
}

void KDlgPlayMidi::DeclareControls(DialogControls& c) {
  c.SetTitle("Play Score as MIDI");
  c.Button(kIdPlay, LoadString(kPlayText).Str(), DialogButtonRole::kAction, [this] { OnPlay(); });
  c.Group(kIdPlayBox, "Play: ");
  c.RadioGroup(kIdAll, "&All", m_playRange);
  c.Radio(kIdBetweenMarks, "Bet&w. Marks");
  c.Button(kIdSetMarks, "Set &MIDI Marks", DialogButtonRole::kAction, [this] { OnSetMidiMarks(); });
  c.Button(kIdClearMarks, "Clear MI&DI Marks", DialogButtonRole::kAction, [this] { OnClearMidiMarks(); });
  c.Check(kIdLoop, "&Loop", m_loop);
  c.Check(kIdIgnoreRepeats, "&Ignore reps", m_ignoreRepeats);
  c.Button(kIdToStart, "To &Start", DialogButtonRole::kAction, [this] { OnToStart(); });
  c.Button(kIdBack, "&Back", DialogButtonRole::kAction, [this] { OnBack(); });
  c.Button(kIdForward, "&Fwd", DialogButtonRole::kAction, [this] { OnForward(); });
  c.Check(kIdShowCaret, "Show &Caret", m_showCaret);
  c.Static(kIdTempoLabel, "Tempo:");
  c.Number(kIdTempo, m_tempo, kAnyMin, kAnyMax);
  c.Spin(kIdTempoSpin, [this](int delta) { OnVScroll(kIdTempoSpin, delta); });
  c.Static(kIdTempoUnit, "(beats/min)");
  c.Static(kIdLoudnessLabel, "Loudness:");
  c.Number(kIdLoudness, m_loudness, kAnyMin, kAnyMax);
  c.Spin(kIdLoudnessSpin, [this](int delta) { OnVScroll(kIdLoudnessSpin, delta); });
  c.Static(kIdLoudnessUnit, "(rel. to orig.)");
  c.Static(kIdElapsedLabel, "Elapsed time:");
  c.Static(kIdElapsed, m_elapsed.Str());
  c.Button(kIdExit, "E&xit", DialogButtonRole::kOk);
}

void KDlgPlayMidi::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdPlay), Ctl(kIdToStart), Ctl(kIdBack), Ctl(kIdForward), Stretch()}),
      Row({Box(kIdPlayBox, {Ctl(kIdAll), Ctl(kIdBetweenMarks)}),
           Column({Ctl(kIdSetMarks), Ctl(kIdClearMarks)}),
           Column({Ctl(kIdLoop), Ctl(kIdIgnoreRepeats), Ctl(kIdShowCaret)}), Stretch()}),
      Row({Ctl(kIdTempoLabel), Ctl(kIdTempo), Ctl(kIdTempoSpin), Ctl(kIdTempoUnit), Stretch()}),
      Row({Ctl(kIdLoudnessLabel), Ctl(kIdLoudness), Ctl(kIdLoudnessSpin), Ctl(kIdLoudnessUnit), Stretch()}),
      Row({Ctl(kIdElapsedLabel), Ctl(kIdElapsed), Stretch()}),
  };
}

BOOL KDlgPlayMidi::OnInitDialog() {
  KModalDialog::OnInitDialog();
  m_playing = 0;
  m_elapsed = kNoTime;
  Controls().SetCaption(kIdElapsed, kNoTime);
  return TRUE;
}

void KDlgPlayMidi::ReadControls() {
  // Each control on its own: a tempo that cannot be read keeps the member,
  // the others are still taken.
  DialogControls& c = Controls();
  if (auto value = ParseDialogInteger(c.Text(kIdTempo))) m_tempo = *value;
  if (auto value = ParseDialogInteger(c.Text(kIdLoudness))) m_loudness = *value;
  m_loop = c.Checked(kIdLoop);
  m_ignoreRepeats = c.Checked(kIdIgnoreRepeats);
  m_showCaret = c.Checked(kIdShowCaret);
  m_playRange = c.RadioValue(kIdAll) == 1 ? 1 : 0;
}

void KDlgPlayMidi::ShowMembers() {
  Controls().Load();
  Controls().SetCaption(kIdElapsed, m_elapsed.Str());
}

void KDlgPlayMidi::Changed() {
  if (m_onChange) m_onChange();
}

void KDlgPlayMidi::EnableTransport(bool enabled) {
  for (UINT id : kTransport) Controls().Enable(id, enabled);
}

void KDlgPlayMidi::Bind(KPlayMidiTarget* target) {
  if (target != m_bound) {
    // Music still playing on the score left behind stops there.
    if (m_bound != nullptr) {
      if (m_bound->IsPlaying()) m_bound->StopPlaying();
      m_bound->SetBoundDialog(nullptr);
    }
    m_bound = target;
    if (m_bound != nullptr) m_bound->SetBoundDialog(this);
  }
  if (m_bound != nullptr) m_bound->SetPlayParams(Params());
}

KPlayMidiTarget* KDlgPlayMidi::AttachView(KPlayMidiTarget* target) {
  if (target == nullptr) {
    target = m_owner != nullptr ? m_owner->GetActivePlayTarget() : nullptr;
    if (target == nullptr) {
      Bind(nullptr);
      return nullptr;
    }
    // Another score became the active one: the window shows its settings.
    // The score it is bound to already keeps what the window shows, and
    // what the user typed since is not thrown away.
    if (target != m_bound) {
      SetParams(target->GetPlayParams());
      ShowMembers();
      Changed();
    }
  }
  Bind(target);
  return m_bound;
}

void KDlgPlayMidi::TargetGone(KPlayMidiTarget* target) {
  if (target == nullptr || target != m_bound) return;
  m_bound = nullptr;
  if (m_playing != 0) OnPlayEnded();
}

void KDlgPlayMidi::OnPlay() {
  if (m_playing != 0) {
    // The Play button reads Stop while the music runs.
    if (m_bound != nullptr && m_bound->IsPlaying()) {
      m_bound->StopPlaying();
    } else {
      OnPlayEnded();
    }
    return;
  }
  ReadControls();
  AttachView(nullptr);
  if (m_bound == nullptr) {
    // No score: nothing plays and the buttons stay as they are.
    Changed();
    return;
  }
  m_playing = 1;
  Controls().SetCaption(kIdPlay, LoadString(kStopText).Str());
  EnableTransport(false);
  m_elapsed = kNoTime;
  Controls().SetCaption(kIdElapsed, kNoTime);
  m_bound->SetPlayParams(Params());
  Changed();
  // The music may end at once (an empty score): OnPlayEnded runs then.
  m_bound->PlayOrExportMidi(0);
}

void KDlgPlayMidi::OnPlayEnded() {
  if (m_playing == 0) return;
  m_playing = 0;
  Controls().SetCaption(kIdPlay, LoadString(kPlayText).Str());
  EnableTransport(true);
  if (m_bound != nullptr) m_bound->TakeFocus();
  Changed();
}

bool KDlgPlayMidi::OnKeyWhilePlaying(int character) {
  if (m_playing == 0) return false;
  if (character == 's' || character == 'S' || character == ' ') OnPlay();
  return true;
}

void KDlgPlayMidi::SetElapsed(const CString& text) {
  m_elapsed = text;
  Controls().SetCaption(kIdElapsed, text.Str());
  Changed();
}

void KDlgPlayMidi::ShowTempo(int bpm) {
  m_tempo = bpm;
  DialogControl* tempo = Controls().Find(kIdTempo);
  if (tempo != nullptr) {
    tempo->text = std::to_string(bpm);
    tempo->entered = false;
  }
  Changed();
}

void KDlgPlayMidi::RunMode(int mode) {
  AttachView(nullptr);
  if (m_bound == nullptr) return;
  ReadControls();
  m_bound->SetPlayParams(Params());
  m_bound->PlayOrExportMidi(mode);
}

void KDlgPlayMidi::OnBack() { RunMode(2); }
void KDlgPlayMidi::OnForward() { RunMode(3); }
void KDlgPlayMidi::OnToStart() { RunMode(4); }

void KDlgPlayMidi::OnVScroll(UINT spinId, int delta) {
  if (delta != 1 && delta != -1) return;
  // The value shown (typed, perhaps) is the one stepped.
  ReadControls();
  if (spinId == kIdLoudnessSpin) {
    m_loudness = delta > 0 ? std::min(m_loudness + 1, kMaxLoudness) : std::max(m_loudness - 1, -kMaxLoudness);
  } else if (spinId == kIdTempoSpin) {
    m_tempo = delta > 0 ? std::min(m_tempo + 1, kMaxTempo) : std::max(m_tempo - 1, kMinTempo);
  } else {
    return;
  }
  ShowMembers();
}

void KDlgPlayMidi::OnClearMidiMarks() {
  ReadControls();
  AttachView(nullptr);
  if (m_bound == nullptr) return;
  m_bound->ClearMidiMarks();
  m_playRange = 0;
  ShowMembers();
  m_bound->SetPlayParams(Params());
}

void KDlgPlayMidi::OnSetMidiMarks() {
  ReadControls();
  AttachView(nullptr);
  if (m_bound == nullptr) return;
  m_bound->ArmMidiMarks();
  m_playRange = 1;
  ShowMembers();
  m_bound->SetPlayParams(Params());
  m_bound->TakeFocus();
}

bool KDlgPlayMidi::OnOK() {
  if (m_closing) return true;
  m_closing = true;
  ReadControls();
  if (m_bound != nullptr && m_bound->IsPlaying()) m_bound->StopPlaying();
  if (m_owner != nullptr) m_owner->ClosePlayMidiDialog();
  return true;
}

void KDlgPlayMidi::OnCancel() { OnOK(); }
