#include "midi/MidiImportNotes.h"

#include <algorithm>

#include "model/NoteValues.h"

namespace midiimport {

namespace {

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

// The index of the first note after index that starts later than it (grace
// notes, which take no time, are passed over).
size_t NextDistinct(const std::vector<ImportNote>& notes, size_t index) {
  size_t next = index + 1;
  while (next < notes.size() && (notes[next].qStart == notes[index].qStart || IsGrace(notes[next].mark)))
    ++next;
  return next;
}

// Ticks a player's timing may stray from the written time (abc2midi, for one,
// starts each note a tick late).
constexpr int kTimingSlack = 10;
constexpr int kMostGraces = 4;

// A length that one plain or dotted note value writes.
bool IsNoteValueLength(int ticks) {
  for (int value = 0; value <= 6; ++value) {
    const int plain = NoteValueTicks(value, 0);
    if (std::abs(ticks - plain) <= kTimingSlack) return true;
    if (value < 6 && std::abs(ticks - plain * 3 / 2) <= kTimingSlack) return true;
  }
  return false;
}

// A note short enough to be a grace note, alone at its start.
bool GraceLike(const std::vector<ImportNote>& notes, size_t k) {
  const ImportNote& n = notes[k];
  if (n.end < 0 || n.end - n.start < 1 || n.end - n.start > kGraceLongest) return false;
  if (k > 0 && notes[k - 1].start == n.start) return false;
  return k + 1 >= notes.size() || notes[k + 1].start != n.start;
}

// b starts where a ends.
bool Follows(const ImportNote& a, const ImportNote& b) {
  return a.end >= 0 && std::abs(b.start - a.end) <= kTimingSlack;
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
  // Per pitch, the indexes of its sounding notes in the order they began.
  std::vector<std::vector<size_t>> open(kPitches);
  int ordinal = 0;
  for (const TimedEvent& e : events) {
    const BYTE kind = e.status & 0xF0;
    if ((e.status & 15) != filter.channel || (kind != 0x80 && kind != 0x90)) continue;
    ++ordinal;
    const int pitch = e.data1 + filter.transpose;
    if (pitch < 0 || pitch >= kPitches) continue;
    if (filter.part == 1 && pitch < filter.split) continue;
    if (filter.part == 2 && pitch >= filter.split) continue;
    std::vector<size_t>& sounding = open[static_cast<size_t>(pitch)];
    if (kind == 0x90 && e.data2 > 0) {
      if (notes.size() >= capacity) break;
      sounding.push_back(notes.size());
      notes.push_back({e.tick, -1, e.tick, -1, pitch, e.data2, ordinal});
      continue;
    }
    // A release ends the pitch's most recent note.
    if (sounding.empty()) continue;
    notes[sounding.back()].end = e.tick;
    sounding.pop_back();
  }
  return SettleOverlaps(std::move(notes));
}

std::vector<ImportNote> SettleOverlaps(std::vector<ImportNote> notes) {
  // Each pitch's notes in order of their starts (note-on order at one tick).
  std::vector<std::vector<size_t>> byPitch(kPitches);
  for (size_t i = 0; i < notes.size(); ++i) {
    const int pitch = std::clamp(notes[i].pitch, 0, kPitches - 1);
    byPitch[static_cast<size_t>(pitch)].push_back(i);
  }
  std::vector<bool> dropped(notes.size(), false);
  for (std::vector<size_t>& list : byPitch) {
    std::stable_sort(list.begin(), list.end(),
                     [&notes](size_t a, size_t b) { return notes[a].start < notes[b].start; });
    size_t kept = notes.size();  // the pitch's last note that stays
    for (const size_t i : list) {
      ImportNote& note = notes[i];
      if (kept < notes.size() && notes[kept].start == note.start) {
        // One key struck twice at once sounds once, as long as the longer:
        // a note that never ends outlasts any other.
        ImportNote& first = notes[kept];
        if (first.end >= 0 && (note.end < 0 || note.end > first.end)) first.end = note.end;
        dropped[i] = true;
        continue;
      }
      // Struck again while it sounds: the earlier note ends where the new
      // one begins.
      if (kept < notes.size() && (notes[kept].end < 0 || notes[kept].end > note.start))
        notes[kept].end = note.start;
      kept = i;
    }
  }
  std::vector<ImportNote> settled;
  settled.reserve(notes.size());
  for (size_t i = 0; i < notes.size(); ++i) {
    if (!dropped[i]) settled.push_back(notes[i]);
  }
  return settled;
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

void MarkGraces(std::vector<ImportNote>& notes) {
  size_t i = 0;
  while (i < notes.size()) {
    // A run starts after a note that is not itself short and played on.
    const bool starts =
        GraceLike(notes, i) && !(i > 0 && GraceLike(notes, i - 1) && Follows(notes[i - 1], notes[i]));
    if (!starts) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < notes.size() && j - i < kMostGraces && GraceLike(notes, j) && j + 1 < notes.size() &&
           Follows(notes[j], notes[j + 1]))
      ++j;
    const bool graces = j > i && j < notes.size() && !GraceLike(notes, j) && notes[j].end >= 0 && [&] {
      const int lead = notes[j].start - notes[i].start;
      const int own = notes[j].end - notes[j].start;
      return own >= 2 * lead && IsNoteValueLength(notes[j].end - notes[i].start);
    }();
    if (!graces) {
      i = std::max(j, i + 1);
      continue;
    }
    const int start = notes[i].start;
    for (size_t k = i; k < j; ++k) {
      notes[k].mark = kMarkGrace;
      notes[k].start = start;
      notes[k].qStart = start;
    }
    // The note they lead to, with every note that starts with it.
    const int leadTo = notes[j].start;
    size_t k = j;
    for (; k < notes.size() && notes[k].start == leadTo; ++k) {
      notes[k].start = start;
      notes[k].qStart = start;
    }
    i = k;
  }
}

namespace {

// Starts (and ends) on the grid, triplet groups marked; with lengths too,
// every other note's end is rounded to the grid and legato gaps are closed.
void Quantise(std::vector<ImportNote>& notes, int resolution, int barLength, bool lengthsToo) {
  const int r = std::clamp(resolution, 0, 3);
  const int grid = kGrid[static_cast<size_t>(r)];
  for (ImportNote& note : notes) {
    note.qStart = RoundToGrid(note.start, r);
    note.qEnd = note.end < 0 ? -1 : note.end + (note.qStart - note.start);
  }
  const int bar = std::max(barLength, grid);
  size_t previousNote = notes.size();  // the last note before i that is not a grace note
  for (size_t i = 0; i < notes.size(); ++i) {
    ImportNote& note = notes[i];
    if (IsGrace(note.mark)) continue;
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
      if (TripletPlace(note.mark) == 0 && lengthsToo) {
        if (note.qEnd - note.qStart >= grid) {
          note.qEnd = RoundToGrid(note.qEnd, r);
        } else {
          note.qEnd = note.qStart + grid;
        }
      }
    }
    // Legato: a previous note that stops just short of this one is held on
    // (a triplet note keeps the length of its step).
    if (lengthsToo && previousNote < notes.size() && TripletPlace(note.mark) == 0 &&
        TripletPlace(notes[previousNote].mark) == 0) {
      ImportNote& previous = notes[previousNote];
      const int shortBy = note.qStart - previous.qEnd;
      if (previous.qStart != note.qStart && shortBy >= 1 && shortBy <= 60) previous.qEnd = note.qStart;
    }
    previousNote = i;
  }
}

}  // namespace

void QuantiseNotes(std::vector<ImportNote>& notes, int resolution, int barLength) {
  Quantise(notes, resolution, barLength, true);
}

void MarkTriplets(std::vector<ImportNote>& notes, int resolution, int barLength) {
  Quantise(notes, resolution, barLength, false);
}

}  // namespace midiimport
