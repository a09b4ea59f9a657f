#pragma once
// The program-wide state of live MIDI recording: which notes are held, how
// they gather into chord groups, and which groups are ready to be written
// into the score. It knows nothing of the score: the score view feeds it the
// notes as they arrive (with the running time in ticks) and writes the groups
// it hands back.
//
// Notes that start within the chord window of a group's first note join that
// group. A group is ready once all its notes are released and every earlier
// group has been handed back, so groups always leave in the order they began.
//
// Every table is bounded: a ring of 50 unwritten groups, 10 notes a group and
// 130 note numbers. A note that does not fit (an eleventh note in one chord,
// a 51st unwritten group, a note number beyond the table) is refused and the
// caller beeps; nothing is ever written outside the tables.

#include <array>
#include <cstddef>
#include <vector>

class KLiveRecorder {
 public:
  static constexpr int kRingSize = 50;
  static constexpr int kNotesPerGroup = 10;
  static constexpr int kNoteSlots = 130;

  struct Group {
    int count = 0;  // notes in the group
    int held = 0;   // notes still held
    std::array<int, kNotesPerGroup> notes{};
    std::array<int, kNotesPerGroup> durations{};  // ticks; -1 while held
    int start = 0;                                // running time of the first note
  };

  enum class NoteResult {
    kUsed,     // the note went into a group (or released one)
    kIgnored,  // a release of a note that is not held
    kRefused,  // no room in the tables: the note is dropped
  };

  // Empties the ring and the note table; the running time becomes `time`.
  void Reset(int time);
  // Moves the running time on by the event's delta.
  void Advance(int ticks) { m_time += ticks; }
  int Time() const { return m_time; }

  // A key pressed at the running time; chordWindow in ticks. A key pressed
  // again while held first releases its earlier press (ready as NoteOff).
  NoteResult NoteOn(int note, int chordWindow, std::vector<Group>& ready);
  // A key released at the running time; the groups that became ready are
  // appended to ready, oldest first.
  NoteResult NoteOff(int note, std::vector<Group>& ready);

  // Unwritten groups (held or waiting for an earlier one).
  int PendingGroups() const { return m_count; }
  // The running time at which the oldest unwritten group began; -1 when none.
  int OldestPendingStart() const {
    return m_count > 0 ? m_ring[static_cast<std::size_t>(m_oldest)].start : -1;
  }
  bool IsHeld(int note) const;

 private:
  Group& Newest() { return m_ring[static_cast<std::size_t>((m_oldest + m_count - 1) % kRingSize)]; }

  struct Slot {
    int group = -1;  // ring index, -1 none
    int index = 0;   // note index inside the group
  };

  std::array<Group, kRingSize> m_ring{};
  std::array<Slot, kNoteSlots> m_slots{};
  int m_oldest = 0;  // ring index of the oldest unwritten group
  int m_count = 0;   // unwritten groups from the oldest on
  int m_time = 0;
};

// Where the writing of a take stands: the music written since its first
// note (ticks), the place in the bar, the stem choice of the current beat,
// and whether the take has recorded its undo step.
struct KLiveTake {
  int musicTime = 0;
  int barPosition = 0;
  int stemState = 3;         // 0 stems down, 1 up, 3 undecided
  int beatStartColumn = -1;  // the first column of the beat being written; -1 none yet
  bool undoRecorded = false;
  long long countInFirstUs = 0;  // the count-in's first and latest taps
  long long countInLastUs = 0;
};

// The program's one recording state.
KLiveRecorder& ProgramLiveRecorder();
KLiveTake& ProgramLiveTake();
// Back to nothing recorded (start of a take, tests).
void ResetLiveRecording();
