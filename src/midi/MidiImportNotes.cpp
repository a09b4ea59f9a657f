#include "midi/MidiImportNotes.h"

#include <algorithm>

namespace midiimport {

namespace {

// Overlapping notes of one pitch that get slots of their own; more only count.
constexpr int kSlots = 3;
constexpr int kPitches = 130;
// Notes the detector looks ahead at most.
constexpr int kWalkLimit = 15;

// The triplet unit of the first gap (wider ranges) and of later steps.
int GapUnit(int gap) {
  if (gap >= 135 && gap <= 185) return 160;
  if (gap >= 290 && gap <= 350) return 320;
  if (gap >= 70 && gap <= 90) return 80;
  if (gap >= 610 && gap <= 670) return 640;
  if (gap >= 35 && gap <= 45) return 40;
  return 0;
}

int StepUnit(int step) {
  if (step >= 141 && step <= 179) return 160;
  if (step >= 291 && step <= 349) return 320;
  if (step >= 71 && step <= 89) return 80;
  if (step >= 611 && step <= 669) return 640;
  if (step >= 36 && step <= 44) return 40;
  return 0;
}

int RawLength(const ImportNote& note) { return note.end < 0 ? 0 : note.end - note.start; }

// The index of the first note after index that starts later than it.
size_t NextDistinct(const std::vector<ImportNote>& notes, size_t index) {
  size_t next = index + 1;
  while (next < notes.size() && notes[next].qStart == notes[index].qStart) ++next;
  return next;
}

}  // namespace

int RoundToGrid(int ticks, int resolution) {
  const int r = std::clamp(resolution, 0, 3);
  return ((ticks + kHalfGrid[static_cast<size_t>(r)]) / kGrid[static_cast<size_t>(r)]) *
         kGrid[static_cast<size_t>(r)];
}

int TripletPlace(int mark) {
  if (mark <= -10000 && mark >= -19000) return 1;
  if (mark <= -20000 && mark >= -29000) return 2;
  if (mark <= -30000 && mark >= -39000) return 3;
  return 0;
}

std::vector<ImportNote> PairNotes(const std::vector<TimedEvent>& events, const NoteFilter& filter,
                                  size_t capacity) {
  std::vector<ImportNote> notes;
  // Per pitch, up to three indexes (+1) of sounding notes, and how many more
  // overlapping notes only count. The count is kept apart from the indexes:
  // a long track has notes whose index is far beyond any count.
  std::vector<std::array<int, kSlots>> slots(kPitches, std::array<int, kSlots>{});
  std::vector<int> overflow(kPitches, 0);
  int ordinal = 0;
  for (const TimedEvent& e : events) {
    const BYTE kind = e.status & 0xF0;
    if ((e.status & 15) != filter.channel || (kind != 0x80 && kind != 0x90)) continue;
    ++ordinal;
    const int pitch = e.data1 + filter.transpose;
    if (pitch < 0 || pitch >= kPitches) continue;
    if (filter.part == 1 && pitch < filter.split) continue;
    if (filter.part == 2 && pitch >= filter.split) continue;
    std::array<int, kSlots>& open = slots[static_cast<size_t>(pitch)];
    if (kind == 0x90 && e.data2 > 0) {
      if (notes.size() >= capacity) break;
      int free = -1;
      for (int s = 0; s < kSlots && free < 0; ++s) {
        if (open[static_cast<size_t>(s)] == 0) free = s;
      }
      if (free < 0) {
        // A fourth overlapping note of the pitch only counts up.
        ++overflow[static_cast<size_t>(pitch)];
        continue;
      }
      notes.push_back({e.tick, -1, e.tick, -1, pitch, e.data2, ordinal});
      open[static_cast<size_t>(free)] = static_cast<int>(notes.size());
      continue;
    }
    // A release: a counted note first, else the most recently opened slot
    // of the pitch.
    if (overflow[static_cast<size_t>(pitch)] > 0) {
      --overflow[static_cast<size_t>(pitch)];
      continue;
    }
    for (int s = kSlots - 1; s >= 0; --s) {
      int& slot = open[static_cast<size_t>(s)];
      if (slot == 0) continue;
      notes[static_cast<size_t>(slot - 1)].end = e.tick;
      slot = 0;
      break;
    }
  }
  return notes;
}

int DetectTriplet(int gap, std::vector<ImportNote>& notes, int index, int barLength, int resolution,
                  std::array<int, 3>& out) {
  const int unit = GapUnit(gap);
  if (unit == 0 || index < 0 || index >= static_cast<int>(notes.size())) return 0;
  out = {unit, unit, unit};
  const int grid = kGrid[static_cast<size_t>(std::clamp(resolution, 0, 3))];
  const int half = grid / 2;
  const ImportNote& first = notes[static_cast<size_t>(index)];
  const int saved = first.mark;
  const int limit = std::min(static_cast<int>(notes.size()), index + 1 + kWalkLimit);

  size_t walked = NextDistinct(notes, static_cast<size_t>(index));
  int previousStep = gap;
  size_t previousWalked = static_cast<size_t>(index);
  bool accepted = false;
  int remembered = -1;
  while (static_cast<int>(walked) < limit) {
    const ImportNote& note = notes[walked];
    if (note.qStart > first.qStart + 2 * grid + 3 * gap) break;
    const size_t next = NextDistinct(notes, walked);
    if (next >= notes.size()) break;
    // Steps are measured on the times as played: the grid would bend them.
    int step = notes[next].start - note.start;
    if (!accepted) {
      if (step > 3 * RawLength(note)) break;
    } else if (step >= previousStep && std::abs(previousStep - RawLength(notes[previousWalked])) <= half) {
      step = previousStep;
    }
    const int stepUnit = StepUnit(step);
    if (stepUnit == unit) {
      if (remembered < 0) {
        remembered = static_cast<int>(walked);
        accepted = true;
        previousStep = step;
        previousWalked = walked;
        walked = next;
        continue;
      }
      notes[static_cast<size_t>(index)].mark = kMarkFirst;
      notes[static_cast<size_t>(remembered)].mark = kMarkMiddle;
      notes[walked].mark = kMarkLast;
      return 1;
    }
    if (remembered < 0 && stepUnit != 0 && (stepUnit == 2 * unit || 2 * stepUnit == unit)) {
      notes[static_cast<size_t>(index)].mark = kMarkPairFirst;
      notes[walked].mark = kMarkPairSecond;
      out = {std::min(unit, stepUnit), std::max(unit, stepUnit), 0};
      return 1;
    }
    break;
  }
  notes[static_cast<size_t>(index)].mark = saved;
  return 0;
}

void QuantiseNotes(std::vector<ImportNote>& notes, int resolution, int barLength) {
  const int r = std::clamp(resolution, 0, 3);
  const int grid = kGrid[static_cast<size_t>(r)];
  for (ImportNote& note : notes) {
    note.qStart = RoundToGrid(note.start, r);
    note.qEnd = note.end < 0 ? -1 : note.end + (note.qStart - note.start);
  }
  const int bar = std::max(barLength, grid);
  for (size_t i = 0; i < notes.size(); ++i) {
    ImportNote& note = notes[i];
    if (TripletPlace(note.mark) == 0) {
      const size_t next = i + 1;
      const int raw = RawLength(note);
      const bool distinct =
          next >= notes.size() || notes[next].qStart != note.qStart || raw <= RawLength(notes[next]);
      if (distinct && (note.qStart % bar) * 2 + 5 * raw <= 2 * bar) {
        const size_t later = NextDistinct(notes, i);
        if (later < notes.size()) {
          const int gap = notes[later].start - note.start;
          std::array<int, 3> out{};
          if (raw <= grid + gap && gap <= 3 * raw && gap >= 0 &&
              DetectTriplet(gap, notes, static_cast<int>(i), bar, r, out) == 1) {
            // Every note of each chord of the group takes the chord's mark
            // and the length of its step.
            const int until = note.qStart + out[0] + out[1] + out[2];
            size_t chord = i;
            for (int step = 0; step < 3 && chord < notes.size() && notes[chord].qStart < until; ++step) {
              const size_t end = NextDistinct(notes, chord);
              int mark = notes[chord].mark;
              for (size_t k = chord; k < end; ++k) {
                if (TripletPlace(notes[k].mark) != 0) mark = notes[k].mark;
              }
              if (TripletPlace(mark) == 0) break;
              for (size_t k = chord; k < end; ++k) {
                notes[k].mark = mark;
                notes[k].qEnd = notes[k].qStart + out[static_cast<size_t>(step)];
              }
              chord = end;
            }
          }
        }
      }
      if (TripletPlace(note.mark) == 0) {
        if (note.qEnd - note.qStart >= grid) {
          note.qEnd = RoundToGrid(note.qEnd, r);
        } else {
          note.qEnd = note.qStart + grid;
        }
      }
    }
    // Legato: a previous note that stops just short of this one is held on
    // (a triplet note keeps the length of its step).
    if (i > 0 && TripletPlace(note.mark) == 0 && TripletPlace(notes[i - 1].mark) == 0) {
      ImportNote& previous = notes[i - 1];
      const int shortBy = note.qStart - previous.qEnd;
      if (previous.qStart != note.qStart && shortBy >= 1 && shortBy <= 60) previous.qEnd = note.qStart;
    }
  }
}

}  // namespace midiimport
