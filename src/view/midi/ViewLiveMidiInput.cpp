// Live MIDI input into the score view: starting and stopping the devices
// for the recording dialog, and every incoming event while this view is the
// live-input target (remote start/stop, the count-in that senses the tempo,
// and the notes gathered into chord groups). Writing the groups into the
// lines is ViewLiveMidiWrite.cpp's job.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "dialogs/KDlgInputMidi.h"
#include "lines/KStaffLine.h"
#include "model/KListLine.h"
#include "platform/MidiClock.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/midi/KSVMidi.h"
#include "view/midi/LiveMidiWrite.h"
#include "view/midi/LiveRecorder.h"
#include "view/play/ViewPlayer.h"

namespace {

constexpr DWORD kOpenFlags = 0x13320;
constexpr int kTrebleType = 0;
constexpr int kBassType = 1;
constexpr int kTabType = 2;
constexpr int kBassTabType = 15;
// Chord windows by the setting's index (ticks at 480 to the quarter).
constexpr int kChordWindow[] = {240, 120, 60, 30};

bool IsNoteOn(const MidiShortEvent& e) { return (e.status & 0xF0) == 0x90 && e.data2 != 0; }
bool IsNoteOff(const MidiShortEvent& e) {
  return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0);
}

// The chords that are ready go into the lines at the caret, the take's undo
// step recorded before its first. A chord written into the lines at the
// caret (and their partners in its group) lays out those lines and the ones
// below; a chord that needed a new line lays out the score.
void WriteReadyGroups(CStavlinView& view, const std::vector<KLiveRecorder::Group>& ready,
                      const KLiveInputSettings& settings) {
  if (ready.empty()) return;
  KLiveTake& take = ProgramLiveTake();
  if (!take.undoRecorded) {
    view.RecordUndoStep(2, 0, 0, nullptr, 0);
    take.undoRecorded = true;
    // A take recorded to a tempo plays back at it: the score's play tempo
    // becomes the recording's (set, or sensed by the count-in).
    if (settings.tempoMode != 0) {
      KFrameServices* frame = view.Host() != nullptr ? view.Host()->Frame() : nullptr;
      const CMaxMidiSync* sync = frame != nullptr ? frame->LiveSync() : nullptr;
      const std::uint32_t period = sync != nullptr ? sync->GetTempo() : 0;
      const int bpm = period > 0 ? static_cast<int>((60000000u + period / 2) / period) : settings.tempo;
      KPlayParams params = view.Player().GetPlayParams();
      if (bpm > 0 && params.tempo != bpm) {
        params.tempo = bpm;
        view.Player().SetPlayParams(params);
      }
    }
  }
  const int line = view.m_currentLine;
  const int lines = view.GetDisplayLineCount();
  WriteLiveGroups(view, ready, settings);
  const bool sameLines = view.m_currentLine == line && view.GetDisplayLineCount() == lines;
  view.UpdateAfterEdit(
      sameLines ? CStavlinView::kHintLineAndBelow + 10000 * view.TopOfGroupAt(line) : CStavlinView::kHintAll,
      1);
}

}  // namespace

void CStavlinView::StartLiveMidiInput(int tempo) {
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  const int settingKind = dialog != nullptr ? std::clamp(dialog->Settings().lineKind, 0, 3) : 3;

  // The line to record into.
  KLineObj* line =
      m_currentLine >= 0 && m_currentLine < m_lineCount ? GetDisplayLineObj(m_currentLine) : nullptr;
  const int family = line != nullptr ? line->GetFamily() : KLineObj::kNoFamily;
  if (family != KLineObj::kFamilyStaff && family != KLineObj::kFamilyTab) {
    InsertLiveLine(*this, settingKind);
    m_liveLineKind = settingKind;
  } else if (family == KLineObj::kFamilyTab) {
    m_liveLineKind = 0;
  } else if (line->GetType() == kTrebleType) {
    m_liveLineKind = KeyboardBassOf(*this, m_currentLine) != nullptr ? 3 : 1;
  } else if (line->GetType() == kBassType) {
    // The lower staff of a keyboard pair records into the pair from its upper staff.
    const KLineObj* above = m_currentLine > 0 ? GetDisplayLineObj(m_currentLine - 1) : nullptr;
    if (above != nullptr && above->GetType() == kTrebleType && above->TestFlags(KLineObj::kFlagPairedStaff) &&
        KeyboardBassOf(*this, m_currentLine - 1) == line) {
      m_liveLineKind = 3;
      --m_currentLine;
      m_currentType = kTrebleType;
      m_caretColumn = std::max(m_caretColumn, 0);
    } else {
      m_liveLineKind = 2;
    }
  } else {
    m_liveLineKind = 3;
  }

  KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr;
  CMaxMidiSync* sync = frame != nullptr ? frame->LiveSync() : nullptr;
  if (sync != nullptr && tempo > 0) {
    const int current = sync->GetTempo() > 0 ? static_cast<int>(60000000 / sync->GetTempo()) : 0;
    if (current != tempo) sync->SetTempo(static_cast<std::uint32_t>(60000000 / tempo));
  }
  if (sync != nullptr && !sync->IsRunning()) {
    if (!sync->IsOpen()) sync->Open(0, 10);
    sync->Start();
  }
  if (CMaxMidiIn* input = frame != nullptr ? frame->LiveInput() : nullptr) {
    const int device = dialog != nullptr ? dialog->Settings().inputDevice : 1;
    if (!input->IsOpen()) input->Open(device - 1, kOpenFlags);
    input->Start();
  }
  SetLiveInputTarget(this);
}

void CStavlinView::StopLiveMidiInput() {
  if (m_document == nullptr || m_currentLine < 0 || m_currentLine >= m_lineCount) return;
  // The recorded lines draw their columns afresh.
  for (int i = m_currentLine; i <= std::min(m_currentLine + 1, m_lineCount - 1); ++i) {
    if (KLineObj* line = GetDisplayLineObj(i)) {
      if (KListLine* list = line->AsListLine()) list->MarkChanged();
    }
  }
  UpdateAfterEdit(kHintAll, 0);
}

void CStavlinView::SaveLiveEntryState() {
  if (m_liveSavedEntryMode < 0) m_liveSavedEntryMode = m_entryMode;
  m_entryMode = 0;
}

void CStavlinView::RestoreLiveEntryState() {
  if (m_liveSavedEntryMode >= 0) m_entryMode = m_liveSavedEntryMode;
  m_liveSavedEntryMode = -1;
}

void CStavlinView::ForgetLiveInput() {
  if (LiveInputTarget() != this) return;
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  if (dialog != nullptr && dialog->IsRecording()) {
    KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr;
    if (CMaxMidiIn* input = frame != nullptr ? frame->LiveInput() : nullptr) {
      input->Stop();
      input->Close();
    }
    if (CMaxMidiSync* sync = frame != nullptr ? frame->LiveSync() : nullptr) sync->Stop();
    dialog->m_recording = false;
  }
  SetLiveInputTarget(nullptr);
}

int CStavlinView::TopOfGroupAt(int displayLine) const {
  int top = std::clamp(displayLine, 0, std::max(m_lineCount - 1, 0));
  const KLineObj* line = GetDisplayLineObj(top);
  const int group = line != nullptr ? line->GetGroupId() : KLineObj::kNoGroup;
  if (group == KLineObj::kNoGroup) return top;
  while (top > 0) {
    const KLineObj* above = GetDisplayLineObj(top - 1);
    if (above == nullptr || above->GetGroupId() != group) break;
    --top;
  }
  return top;
}

int CStavlinView::HandleLiveMidiNotes(const MidiShortEvent* event) {
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr;
  if (dialog == nullptr) {
    // No recording window: the devices go quiet.
    if (CMaxMidiSync* sync = frame != nullptr ? frame->LiveSync() : nullptr) sync->Stop();
    if (CMaxMidiIn* input = frame != nullptr ? frame->LiveInput() : nullptr) {
      input->Stop();
      input->Close();
    }
    return 0;
  }
  if (event == nullptr || m_destroyed) return 0;
  const KLiveInputSettings settings = dialog->Settings();
  KLiveRecorder& recorder = ProgramLiveRecorder();
  KLiveTake& take = ProgramLiveTake();
  const bool noteOn = IsNoteOn(*event);
  const bool noteOff = IsNoteOff(*event);
  const bool timing = dialog->m_recording && !dialog->m_firstNotePending && dialog->m_countIn < 0;

  if (!noteOn && !noteOff) {
    // Not a note (a controller such as the sustain pedal): only its time counts.
    if (timing) recorder.Advance(static_cast<int>(event->time));
    return 0;
  }
  const int note = event->data1 + (settings.octaveShift > 0 && settings.octaveShift != 9 ? 12 : 0);

  if (settings.remoteStartStop != 0 && note == settings.remoteKey) {
    if (timing) recorder.Advance(static_cast<int>(event->time));
    // A press and its release of the remote key toggle recording.
    if (++dialog->m_remoteEvents % 2 == 0) dialog->OnStartStop();
    return 0;
  }
  if (!dialog->m_recording) return 0;

  const long long now = CurrentMidiClock().NowUs();
  if (dialog->m_stampPending) {
    dialog->m_stampPending = false;
    take.countInFirstUs = now;
    take.countInLastUs = now;
  }

  if (dialog->m_countIn >= 0) {
    if (dialog->m_countIn == 0) {
      // The bar of taps is a bar of the time signature at the caret; a line
      // that has none yet takes the one carried from the lines above it.
      int beats = 0;
      int beatTicks = 0;
      if (KLineObj* line = GetDisplayLineObj(m_currentLine)) {
        if (KListLine* list = line->AsListLine()) {
          list->GetTimeSignatureAt(m_caretColumn, beats, beatTicks, 0);
          if (beats <= 0 && m_document != nullptr) {
            m_document->PropagateTimeSignatures();
            list->GetTimeSignatureAt(m_caretColumn, beats, beatTicks, 0);
          }
        }
      }
      dialog->m_countInBeats = beats > 0 ? beats : kDefaultBeats;
      dialog->m_beatsPerBar = dialog->m_countInBeats;
    }
    if (noteOn) take.countInLastUs = now;
    ++dialog->m_countIn;
    if (dialog->m_countIn >= 2 * dialog->m_countInBeats) {
      // One tap on every beat of a bar: the taps' span gives the tempo.
      const double seconds = static_cast<double>(take.countInLastUs - take.countInFirstUs) / 1e6;
      const int spans = std::max(dialog->m_countInBeats - 1, 1);
      int bpm = seconds > 0 ? static_cast<int>(60.0 * spans / seconds) : 480;
      bpm = std::clamp(bpm, 20, 480);
      dialog->ShowCountInTempo(bpm);
      dialog->m_countIn = -1;
      dialog->m_firstNotePending = true;
      recorder.Reset(0);
    }
    return 0;
  }

  recorder.Advance(static_cast<int>(event->time));
  if (dialog->m_firstNotePending) {
    // The take begins with its first note.
    ResetLiveRecording();
    dialog->m_firstNotePending = false;
    if (noteOff) return 0;
  }

  const int window = kChordWindow[static_cast<size_t>(std::clamp(settings.chordWindow, 0, 3))];
  std::vector<KLiveRecorder::Group> ready;
  KLiveRecorder::NoteResult result = KLiveRecorder::NoteResult::kIgnored;
  if (noteOn) {
    result = recorder.NoteOn(note, window, ready);
    if (result == KLiveRecorder::NoteResult::kRefused) MessageBeep(MB_OK);
  } else {
    result = recorder.NoteOff(note, ready);
  }
  WriteReadyGroups(*this, ready, settings);
  return result == KLiveRecorder::NoteResult::kUsed ? 1 : 0;
}

void CStavlinView::ReleaseLiveNotes(std::uint32_t ticks) {
  KDlgInputMidi* dialog = ActiveInputMidiDialog();
  if (dialog == nullptr || !dialog->m_recording || dialog->m_firstNotePending || dialog->m_countIn >= 0 ||
      m_destroyed)
    return;
  KLiveRecorder& recorder = ProgramLiveRecorder();
  recorder.Advance(static_cast<int>(std::min<std::uint32_t>(ticks, 1u << 30)));
  std::vector<KLiveRecorder::Group> ready;
  for (int note = 0; note < KLiveRecorder::kNoteSlots; ++note) {
    if (recorder.IsHeld(note)) recorder.NoteOff(note, ready);
  }
  WriteReadyGroups(*this, ready, dialog->Settings());
}
