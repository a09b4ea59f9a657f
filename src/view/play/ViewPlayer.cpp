#include "view/play/ViewPlayer.h"

#include <algorithm>

#include "doc/pref_values/Preferences.h"
#include "midi/LivePlayback.h"
#include "midi/PlayOrder.h"
#include "midi/PlaySequencer.h"
#include "midi/TempoMap.h"
#include "platform/MidiClock.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/midi/ViewPlayInput.h"

namespace {

// The end of the score as a range end.
constexpr int kScoreEnd = 30000;
// The mark field of the score's settings record when no marks are set.
constexpr short kNoMarks = 10000;
// Notes the closing play window silences.
constexpr int kLowestSilenced = 28;
constexpr int kHighestSilenced = 99;

// Where Back and Fwd step from: whether anything was played since the last
// To Start, and the display line of the group played last and the one
// before (program-wide, as the transport is).
struct PlaySteps {
  bool present = false;
  int previousLine = 0;
  int currentLine = 0;
};
PlaySteps g_playSteps;

// A port that takes every message and sends nothing (no output at all).
class SilentOutput final : public MidiOutPort {
 public:
  BOOL Open(int, DWORD) override { return FALSE; }
  BOOL Put(const MidiShortEvent&) override { return TRUE; }
  void Close() override {}
  bool IsOpen() const override { return false; }
};
SilentOutput g_silent;

bool IsNoteLineType(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }

BYTE MirrorByte(int value) { return static_cast<BYTE>(std::clamp(value, 0, 255)); }

}  // namespace

KViewPlayer::KViewPlayer(CStavlinView& view) : m_view(view) {
  const ScoreSettings& o = view.m_options;
  m_params.tempo = o.midiTempo > 0 ? o.midiTempo : g_prefMidi.tempo;
  m_params.loudness = static_cast<int>(o.midiLevel) - 127;
  m_params.loop = o.midiLoop != 0 ? 1 : 0;
  m_params.ignoreRepeats = o.midiIgnoreRepeats != 0 ? 1 : 0;
  m_params.betweenMarks = o.midiBetweenMarks != 0 ? 1 : 0;
  // Bit 6 may come from the conversion of an old file.
  m_params.showCaret = (o.midiShowCaret & ~0x40) != 0 ? 1 : 0;
}

KViewPlayer::~KViewPlayer() {
  Halt();
  if (m_dialog != nullptr) m_dialog->TargetGone(this);
  m_dialog = nullptr;
  ClearPlayLists(m_directions, m_jumps);
}

void KViewPlayer::SetPlayParams(const KPlayParams& params) {
  m_params = params;
  ScoreSettings& o = m_view.m_options;
  const ScoreSettings before = o;
  o.midiTempo = static_cast<short>(std::clamp(params.tempo, -32768, 32767));
  o.midiLevel = MirrorByte(params.loudness + 127);
  o.midiBetweenMarks = MirrorByte(params.betweenMarks);
  o.midiLoop = MirrorByte(params.loop);
  o.midiIgnoreRepeats = MirrorByte(params.ignoreRepeats);
  o.midiShowCaret = MirrorByte(params.showCaret);
  const bool changed = o.midiTempo != before.midiTempo || o.midiLevel != before.midiLevel ||
                       o.midiBetweenMarks != before.midiBetweenMarks || o.midiLoop != before.midiLoop ||
                       o.midiIgnoreRepeats != before.midiIgnoreRepeats ||
                       o.midiShowCaret != before.midiShowCaret;
  if (changed && m_view.m_document != nullptr) m_view.m_document->SetSettings(o, TRUE);
}

KFrameServices* KViewPlayer::Frame() const {
  return m_view.Host() != nullptr ? m_view.Host()->Frame() : nullptr;
}

MidiOutPort* KViewPlayer::Output() {
  if (m_outputOverride != nullptr) return m_outputOverride;
  KFrameServices* frame = Frame();
  MidiOutPort* port = frame != nullptr ? frame->PlayOutput() : nullptr;
  return port != nullptr ? port : &g_silent;
}

BOOL KViewPlayer::MarkingOutput::Put(const MidiShortEvent& event) {
  const BOOL sent = target->Put(event);
  if (sent == FALSE && !target->IsOpen() && player != nullptr) player->OnOutputGone();
  const BYTE kind = event.status & 0xF0;
  // Percussion (channel 10) has no place on the fretboard or the keyboard.
  if (frame != nullptr && (kind == 0x80 || kind == 0x90) && (event.status & 0x0F) != 9)
    frame->ShowPlayedNote(kind == 0x90 && event.data2 != 0 ? 1 : 0, event.data1, -1, -1);
  return sent;
}

void KViewPlayer::SilenceAll() {
  MidiOutPort* port = Output();
  if (port == &g_silent) return;
  for (int channel = 0; channel < 16; ++channel) {
    for (int note = kLowestSilenced; note <= kHighestSilenced; ++note)
      port->Put(SendNowEvent(static_cast<BYTE>(0x80 + channel), static_cast<BYTE>(note), 0));
  }
}

bool KViewPlayer::MarksSet() const { return m_view.m_playFirstLine >= 0 && m_view.m_playLastLine >= 0; }

int KViewPlayer::LineLength(int displayLine) const {
  KLineObj* line = m_view.GetDisplayLineObj(displayLine);
  return line != nullptr ? line->GetLength() : 0;
}

void KViewPlayer::ClearMidiMarks() {
  CStavlinView& v = m_view;
  v.m_playFirstLine = -1;
  v.m_playLastLine = -1;
  v.m_options.word70 = kNoMarks;
  if (v.m_document != nullptr) v.m_document->SetSettings(v.m_options, TRUE);
  if (v.Host() != nullptr) v.Host()->InvalidateRect(nullptr, FALSE);
}

void KViewPlayer::ArmMidiMarks() {
  CStavlinView& v = m_view;
  v.m_playFirstLine = -1;
  v.m_playLastLine = -1;
  if (v.Host() != nullptr) v.Host()->InvalidateRect(nullptr, FALSE);
  // The next click sets the start mark, the one after it the end mark.
  v.m_playAwaitStart = 1;
  v.m_playAwaitEnd = 0;
}

void KViewPlayer::TakeFocus() {
  if (m_view.Host() != nullptr && !m_view.m_destroyed) m_view.Host()->TakeFocus();
}

// ---- Choosing what to play --------------------------------------------------------------

bool KViewPlayer::ChooseRange(int mode, int& startLine, int& startColumn, int& endLine, int& endColumn) {
  CStavlinView& v = m_view;
  const int count = v.GetDisplayLineCount();
  v.m_currentLine = std::clamp(v.m_currentLine, 0, count - 1);
  v.m_caretColumn = std::max(v.m_caretColumn, 0);
  const bool marks = m_params.betweenMarks != 0 && MarksSet();

  // Back and Fwd step through the music: a caret on a line that does not
  // play (a title, lyrics) first goes to the next line that does.
  bool offTheMusic = false;
  if ((mode == kModeBack || mode == kModeForward) &&
      !IsNoteLineType(v.GetDisplayEntry(v.m_currentLine).type)) {
    const int next = NextNoteLine(v.m_currentLine);
    if (next < 0) return false;
    v.m_currentLine = next;
    v.m_caretColumn = 0;
    offTheMusic = true;
  }
  if (mode == kModeBack) {
    int line = v.m_currentLine;
    int column = v.m_caretColumn;
    if (offTheMusic) {
      column = 0;  // the first column of the line the caret went to
    } else if (!g_playSteps.present) {
      line = FirstPlayedLine(line);
      column = 0;
    } else if (column > 0) {
      --column;
    } else {
      // Back from the start of a line: the last column of the note line above.
      int above = line - 1;
      while (above >= 0 && !IsNoteLineType(v.GetDisplayEntry(above).type)) --above;
      if (above < 0) {
        column = 0;
      } else {
        line = above;
        column = std::max(LineLength(above) - 1, 0);
      }
    }
    v.m_currentLine = line;
    v.m_caretColumn = column;
    startLine = endLine = line;
    startColumn = endColumn = column;
    return true;
  }
  if (mode == kModeForward) {
    int line = v.m_currentLine;
    int column = v.m_caretColumn;
    if (column >= LineLength(line)) {
      // Past the end of the line: column 0 of the next line that plays.
      line = NextNoteLine(line + 1);
      if (line < 0) return false;
      column = 0;
    }
    v.m_currentLine = line;
    v.m_caretColumn = column;
    startLine = endLine = line;
    startColumn = endColumn = column;
    return true;
  }
  // Play: from the caret, or from the start mark when the caret stands
  // outside the marked range.
  if (marks) {
    const auto before = [](int l1, int c1, int l2, int c2) { return l1 < l2 || (l1 == l2 && c1 < c2); };
    const bool outside = before(v.m_currentLine, v.m_caretColumn, v.m_playFirstLine, v.m_playFirstColumn) ||
                         before(v.m_playLastLine, v.m_playLastColumn, v.m_currentLine, v.m_caretColumn);
    if (outside) {
      v.m_currentLine = std::clamp(v.m_playFirstLine, 0, count - 1);
      v.m_caretColumn = std::max(v.m_playFirstColumn, 0);
    }
  }
  startLine = v.m_currentLine;
  startColumn = v.m_caretColumn;
  if (marks) {
    endLine = std::clamp(v.m_playLastLine, 0, count - 1);
    endColumn = v.m_playLastColumn;
    if (IsNoteLineType(v.GetDisplayEntry(endLine).type))
      endColumn = std::clamp(endColumn, 0, std::max(LineLength(endLine) - 1, 0));
  } else {
    endLine = kScoreEnd;
    endColumn = kScoreEnd;
  }
  return true;
}

void KViewPlayer::ToStart() {
  CStavlinView& v = m_view;
  const int count = v.GetDisplayLineCount();
  if (m_params.betweenMarks != 0 && MarksSet()) {
    v.m_currentLine = std::clamp(v.m_playFirstLine, 0, count - 1);
    v.m_caretColumn = std::max(v.m_playFirstColumn, 0);
  } else {
    // The start of the music: the first line that plays, not the title.
    v.m_currentLine = std::max(FirstPlayedLine(0), 0);
    v.m_caretColumn = 0;
  }
  g_playSteps = PlaySteps{};
  // The caret's line group comes to the top of the window.
  const KPlayScore score = [&] {
    std::vector<KLineObj*> lines;
    for (int i = 0; i < count; ++i) lines.push_back(v.GetDisplayLineObj(i));
    return KPlayScore(std::move(lines));
  }();
  const int group = score.GroupOf(v.m_currentLine);
  ScrollLineToTop(group >= 0 ? score.Groups()[static_cast<std::size_t>(group)].first : v.m_currentLine);
  ShowStepCaret();
}

int KViewPlayer::NextNoteLine(int from) const {
  for (int i = std::max(from, 0); i < m_view.GetDisplayLineCount(); ++i)
    if (IsNoteLineType(m_view.GetDisplayEntry(i).type)) return i;
  return -1;
}

int KViewPlayer::FirstPlayedLine(int fallback) const {
  const int first = NextNoteLine(0);
  return first >= 0 ? first : fallback;
}

void KViewPlayer::ShowStepCaret() {
  CStavlinView& v = m_view;
  // The play window keeps the keyboard; the score shows where the caret
  // went all the same, and the status bar follows it.
  m_stepCaret = m_dialog != nullptr;
  v.PlaceCaret();
  if (v.Host() != nullptr) {
    v.Host()->InvalidateRect(nullptr, FALSE);
    if (KFrameServices* frame = v.Host()->Frame()) frame->AfterViewInput();
  }
}

// ---- Running ---------------------------------------------------------------------------------

void KViewPlayer::PlayOrExportMidi(int mode) {
  if (m_running) EndRun(false);
  CStavlinView& v = m_view;
  if (v.GetDisplayLineCount() <= 0) {
    if (mode == kModePlay && m_dialog != nullptr) m_dialog->OnPlayEnded();
    return;
  }
  if (mode == kModeToStart) {
    ToStart();
    return;
  }
  int startLine = 0;
  int startColumn = 0;
  int endLine = kScoreEnd;
  int endColumn = kScoreEnd;
  if (!ChooseRange(mode, startLine, startColumn, endLine, endColumn)) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }

  std::vector<KLineObj*> lines;
  for (int i = 0; i < v.GetDisplayLineCount(); ++i) lines.push_back(v.GetDisplayLineObj(i));
  m_score = KPlayScore(std::move(lines));

  KPlaySettings settings;
  settings.tempo = m_params.tempo;
  settings.loudness = m_params.loudness;
  settings.effects = v.m_options.midiEffects;
  settings.guitarOctaveLower = g_prefMidiInstruments.tabOctaveLower != 0;
  for (int i = 0; i < v.m_labelCount; ++i) {
    const LabelEntry& label = v.m_labels[static_cast<std::size_t>(i)];
    settings.instruments.push_back({std::string(label.name.View()), label.program, label.volume});
  }
  GiveEveryLineAnInstrument(m_score, settings);
  // Back and Fwd sound one column: no repeats to follow there.
  const CObList* jumps = nullptr;
  settings.ignoreRepeats = m_params.ignoreRepeats != 0 || mode != kModePlay;
  if (!settings.ignoreRepeats) {
    if (BuildPlayOrder(m_score, m_directions, m_jumps) != 0) {
      jumps = &m_jumps;
    } else {
      settings.ignoreRepeats = true;
    }
  }
  KPlaySequencer sequencer(m_score, jumps, settings);
  KPerformance performance = sequencer.Run(KPlayRange{startLine, startColumn, endLine, endColumn});
  sequencer.ClearPlayEvents();
  // Play with the caret past the last music (where a finished play leaves
  // it) plays from the top, as To Start then Play would.
  if (mode == kModePlay && performance.endTick == 0) {
    ToStart();
    if (ChooseRange(mode, startLine, startColumn, endLine, endColumn)) {
      KPlaySequencer again(m_score, jumps, settings);
      KPerformance fromTheTop = again.Run(KPlayRange{startLine, startColumn, endLine, endColumn});
      again.ClearPlayEvents();
      if (fromTheTop.endTick > 0) performance = std::move(fromTheTop);
    }
  }

  m_mode = mode;
  m_loop = mode == kModePlay && m_params.loop != 0;
  m_showCaret = mode != kModePlay || m_params.showCaret != 0;
  m_lastLine = startLine;
  m_lastColumn = mode == kModeForward ? startColumn : startColumn - 1;
  if (mode == kModeBack) m_lastColumn = startColumn;
  g_playSteps.present = true;

  // The output opens on demand, on the chosen device.
  m_port = Output();
  if (!m_port->IsOpen()) m_port->Open(std::max(g_prefMidi.outputDevice - 1, 0), kOpenFlags);
  // A chosen output that is not there: said at once, nothing plays.
  if (m_outputOverride == nullptr && ReportOutputProblem()) {
    m_port = nullptr;
    m_mode = -1;
    if (mode == kModePlay && m_dialog != nullptr) m_dialog->OnPlayEnded();
    return;
  }
  SendModuleReset(*m_port);

  m_outputGone = false;
  m_marking.player = this;
  m_marking.target = m_port;
  m_marking.frame = Frame();
  if (m_marking.frame != nullptr) m_marking.frame->ShowPlayedNote(0, -1, -1, -1);
  m_clock = &CurrentMidiClock();
  m_live = std::make_unique<KLivePlayback>(*m_clock);
  m_finishAlarm = m_clock->NewAlarm([this] { OnFinished(); });
  m_startUs = m_clock->NowUs();
  m_shownTempo = performance.tempo;
  if (m_dialog != nullptr && mode == kModePlay) m_dialog->SetElapsed(FormatElapsedTime(0));
  m_running = true;
  m_performance = std::move(performance);
  m_tempoMap = std::make_unique<KTempoMap>(m_performance);
  Start(m_performance);
}

void KViewPlayer::Start(const KPerformance& performance) {
  m_group = -1;
  m_live->Start(
      performance, m_marking, [this](const KPerfCue& cue) { OnCue(cue); },
      [this] {
        // The live playback is still inside its own wake: finish after it.
        if (m_finishAlarm != nullptr) m_finishAlarm->ArmAt(m_clock->NowUs());
      });
}

void KViewPlayer::OnCue(const KPerfCue& cue) {
  if (!m_running) return;
  // A line group without notes (a title, lyrics) passes without the caret.
  if (cue.displayLine >= 0 && cue.displayLine < m_view.GetDisplayLineCount() &&
      !IsNoteLineType(m_view.GetDisplayEntry(cue.displayLine).type) &&
      m_view.GetDisplayEntry(cue.displayLine).type != KLineObj::kKindRhythm)
    return;
  m_lastLine = cue.displayLine;
  m_lastColumn = cue.column;
  if (cue.group != m_group) {
    m_group = cue.group;
    g_playSteps.previousLine = g_playSteps.currentLine;
    g_playSteps.currentLine = cue.displayLine;
    if (m_showCaret) ScrollGroupIntoView(cue.group);
  }
  if (m_showCaret) {
    m_view.m_currentLine = std::clamp(cue.displayLine, 0, std::max(m_view.GetDisplayLineCount() - 1, 0));
    m_view.m_caretColumn = cue.column;
    ShowPlayCaret();
  }
  if (m_dialog != nullptr && m_mode == kModePlay) {
    const int bpm = m_tempoMap != nullptr ? m_tempoMap->TempoAt(cue.tick) : m_shownTempo;
    if (bpm != m_shownTempo) {
      m_shownTempo = bpm;
      m_dialog->ShowTempo(bpm);
    }
    m_dialog->SetElapsed(FormatElapsedTime(m_clock->NowUs() - m_startUs));
  }
}

void KViewPlayer::OnOutputGone() {
  if (!m_running || m_outputGone) return;
  m_outputGone = true;
  if (m_finishAlarm != nullptr) m_finishAlarm->ArmAt(m_clock->NowUs());
}

bool KViewPlayer::ReportOutputProblem() {
  KFrameServices* frame = Frame();
  const std::string problem = frame != nullptr ? frame->PlayOutputProblem() : std::string();
  if (problem.empty()) return false;
  AfxMessageBox(problem.c_str(), MB_OK | MB_ICONEXCLAMATION);
  return true;
}

void KViewPlayer::OnFinished() {
  if (!m_running) return;
  if (m_outputGone) {
    EndRun(true);
    ReportOutputProblem();
    return;
  }
  // Loop: the range again from its start (an empty range never loops).
  if (m_loop && m_performance.endTick > 0) {
    Start(m_performance);
    return;
  }
  EndRun(true);
}

void KViewPlayer::StopPlaying() {
  if (m_running) EndRun(true);
}

void KViewPlayer::Halt() {
  if (m_running) EndRun(false);
}

void KViewPlayer::EndRun(bool placeCaret) {
  const int mode = m_mode;
  m_running = false;
  if (m_finishAlarm != nullptr) m_finishAlarm->Cancel();
  if (m_live != nullptr) m_live->Stop();
  if (m_port != nullptr && m_port->IsOpen()) m_port->Close();
  if (m_marking.frame != nullptr) m_marking.frame->ShowPlayedNote(0, -1, -1, -1);
  m_marking.frame = nullptr;
  m_port = nullptr;
  m_mode = -1;

  CStavlinView& v = m_view;
  if (placeCaret && !v.m_destroyed && v.GetDisplayLineCount() > 0) {
    // The caret stands after the last column played (Back: on it).
    v.m_currentLine = std::clamp(m_lastLine, 0, v.GetDisplayLineCount() - 1);
    v.m_caretColumn = std::max(mode == kModeBack ? m_lastColumn : m_lastColumn + 1, 0);
    ShowStepCaret();
  }
  if (mode == kModePlay && m_dialog != nullptr) m_dialog->OnPlayEnded();
  // An autosave that fell due while the music played happens now.
  if (!v.m_destroyed) v.AutosaveIfDue();
}

// ---- The caret and the window during play ----------------------------------------------------

void KViewPlayer::ShowPlayCaret() {
  CStavlinView& v = m_view;
  const POINT at = v.PlaceCaret();
  if (v.Host() == nullptr || v.GetDisplayLineCount() <= 0) return;
  KCaret& caret = v.Host()->Caret();
  // A tall caret from the top of the line, over the staff and what is below.
  const int top = v.GetDisplayEntry(v.m_currentLine).top - v.GetVirtualScrollPosition().y;
  caret.Hide();
  caret.Create(kPlayCaretWidth, kPlayCaretHeight);
  caret.SetPos(at.x, top);
  caret.Show();
}

void KViewPlayer::ScrollLineToTop(int displayLine) {
  CStavlinView& v = m_view;
  if (v.GetDisplayLineCount() <= 0) return;
  displayLine = std::clamp(displayLine, 0, v.GetDisplayLineCount() - 1);
  const POINT scroll = v.GetVirtualScrollPosition();
  const int y = v.FindTopLine(v.GetDisplayEntry(displayLine).top);
  v.SetVirtualScrollPosition(scroll.x, y);
  if (v.Host() != nullptr) v.Host()->InvalidateRect(nullptr, FALSE);
}

void KViewPlayer::ScrollGroupIntoView(int group) {
  if (group < 0 || group >= static_cast<int>(m_score.Groups().size())) return;
  const KPlayScore::Group& g = m_score.Groups()[static_cast<std::size_t>(group)];
  CStavlinView& v = m_view;
  if (g.first >= v.GetFirstVisible() && g.last <= v.GetLastVisible()) return;
  // The line just above the group stays in sight at the top.
  ScrollLineToTop(std::max(g.first - 1, 0));
}

// ---- Input while playing ---------------------------------------------------------------------

bool KViewPlayer::TakeChar(UINT character) {
  if (!m_running) return false;
  if (character == 's' || character == 'S' || character == ' ') StopPlaying();
  return true;
}

bool KViewPlayer::TakePress() {
  if (!m_running) return false;
  m_swallowRelease = true;
  StopPlaying();
  return true;
}

bool KViewPlayer::TakeRelease() {
  if (!m_swallowRelease) return false;
  m_swallowRelease = false;
  return true;
}
