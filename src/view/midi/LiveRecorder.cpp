#include "view/midi/LiveRecorder.h"

void KLiveRecorder::Reset(int time) {
  m_ring = {};
  m_slots = {};
  m_oldest = 0;
  m_count = 0;
  m_time = time;
}

bool KLiveRecorder::IsHeld(int note) const {
  return note >= 0 && note < kNoteSlots && m_slots[static_cast<std::size_t>(note)].group >= 0;
}

KLiveRecorder::NoteResult KLiveRecorder::NoteOn(int note, int chordWindow, std::vector<Group>& ready) {
  if (note < 0 || note >= kNoteSlots) return NoteResult::kRefused;
  // A key pressed again without its release (a lost note-off): the earlier
  // press ends here, so that its group can still be written.
  if (IsHeld(note)) NoteOff(note, ready);
  // The newest group still gathering: unwritten, and the note within the
  // window of its first note.
  const bool joins = m_count > 0 && m_time - Newest().start <= chordWindow;
  if (!joins) {
    if (m_count >= kRingSize) return NoteResult::kRefused;
    ++m_count;
    Group& group = Newest();
    group = Group{};
    group.start = m_time;
  }
  Group& group = Newest();
  if (group.count >= kNotesPerGroup) return NoteResult::kRefused;
  const int index = group.count++;
  group.notes[static_cast<std::size_t>(index)] = note;
  group.durations[static_cast<std::size_t>(index)] = -1;
  ++group.held;
  m_slots[static_cast<std::size_t>(note)] = {(m_oldest + m_count - 1) % kRingSize, index};
  return NoteResult::kUsed;
}

KLiveRecorder::NoteResult KLiveRecorder::NoteOff(int note, std::vector<Group>& ready) {
  if (!IsHeld(note)) return NoteResult::kIgnored;
  Slot& slot = m_slots[static_cast<std::size_t>(note)];
  Group& group = m_ring[static_cast<std::size_t>(slot.group)];
  group.durations[static_cast<std::size_t>(slot.index)] = m_time - group.start;
  --group.held;
  slot = Slot{};
  // Every finished group from the oldest on leaves, in order.
  while (m_count > 0 && m_ring[static_cast<std::size_t>(m_oldest)].held == 0) {
    ready.push_back(m_ring[static_cast<std::size_t>(m_oldest)]);
    m_ring[static_cast<std::size_t>(m_oldest)] = Group{};
    m_oldest = (m_oldest + 1) % kRingSize;
    --m_count;
  }
  return NoteResult::kUsed;
}

namespace {
KLiveRecorder g_recorder;
KLiveTake g_take;
}  // namespace

KLiveRecorder& ProgramLiveRecorder() { return g_recorder; }
KLiveTake& ProgramLiveTake() { return g_take; }

void ResetLiveRecording() {
  g_recorder.Reset(0);
  g_take = KLiveTake{};
}
