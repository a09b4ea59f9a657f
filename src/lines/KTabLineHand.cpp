// Hand positions on a tablature line: playing the notes of a column range at a
// new hand position (each note keeps its pitch and moves to the string on which
// it lies at or just above the hand), and measuring the hand position that a
// column uses.

#include <algorithm>
#include <vector>

#include "lines/KTabLine.h"
#include "model/KChord.h"

namespace {

constexpr int kRowOffset = 2;
constexpr int kRowCount = 10;
constexpr int kNoHand = 1000;  // the hand's pitch on a place without a string
constexpr int kSkipStem = 4;
constexpr int kPlainBar = 26;
// A column whose lowest fretted fret is at least this far up averages its
// fretted notes only (the open strings do not tell where the hand is).
constexpr int kHighPosition = 6;

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

struct HandNote {
  int entry;
  int oldRow;
  int pitch;
  int index;
  int fret;
};

}  // namespace

int KTabLine::MoveToFretPosition(int first, int limit, int handPosition, int keepOpen) {
  if (m_objects.IsEmpty()) return -1;
  MarkChanged();
  const int hand = std::clamp(handPosition, 0, kFretMapSize - 1);
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr || column->GetPos() < first || column->GetPos() >= limit) continue;
    const int firstCode = column->GetNote(0).code;
    if (column->GetVoiceStem(1) == kSkipStem || firstCode == kPlainBar ||
        firstCode == KChord::kTimeSignature || firstCode == KChord::kKeySignature) {
      continue;
    }
    RefingerColumn(*column, hand, keepOpen != 0);
  }
  RelayoutBeams(first, limit);
  return FindRedrawStart(std::max(first, 0));
}

void KTabLine::RefingerColumn(KChord& column, int hand, bool keepOpen) {
  TuningPitches open{};
  GetStringPitches(open);
  const int first = FirstStringIndex();
  const int last = LastStringIndex();
  auto hasString = [&](int index) { return index >= first && index <= last && open[index] != kNoString; };
  // The lowest pitch under the hand on each string.
  int handPitch[kRowCount];
  for (int index = 0; index < kRowCount; ++index) {
    handPitch[index] =
        index < kMaxTuningStrings && hasString(index) ? open[index] + m_fretMap[hand] : kNoHand;
  }

  std::vector<HandNote> notes;
  int owner[kRowCount];
  std::fill(std::begin(owner), std::end(owner), -1);
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (!IsFretCode(note.code)) continue;
    const int index = note.position - kRowOffset;
    if (!hasString(index) || owner[index] >= 0) continue;
    const int fret = note.code - KChord::kFirstFret;
    owner[index] = static_cast<int>(notes.size());
    notes.push_back({i, note.position, open[index] + m_fretMap[fret], index, fret});
  }

  // The fret that plays the note on a free string at or above the hand.
  auto fretAtHand = [&](const HandNote& note, int index) {
    if (!hasString(index) || owner[index] >= 0 || note.pitch < handPitch[index]) return -1;
    return FretForSemitone(note.pitch - open[index]);
  };
  auto moveTo = [&](int n, int index, int fret) {
    owner[notes[n].index] = -1;
    owner[index] = n;
    notes[n].index = index;
    notes[n].fret = fret;
  };

  // From the first string to the last, each note once.
  std::vector<int> order(notes.size());
  for (int n = 0; n < static_cast<int>(notes.size()); ++n) order[n] = n;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return notes[a].oldRow < notes[b].oldRow; });
  for (int n : order) {
    HandNote& note = notes[n];
    if (keepOpen && note.fret == 0) continue;
    if (note.pitch < handPitch[note.index]) {
      // Below the hand: down to the first lower string that reaches it.
      for (int index = note.index + 1; index <= last; ++index) {
        const int fret = fretAtHand(note, index);
        if (fret >= 0) {
          moveTo(n, index, fret);
          break;
        }
      }
    } else if (note.index > first && hasString(note.index - 1) && note.pitch >= handPitch[note.index - 1] &&
               FretForSemitone(note.pitch - open[note.index - 1]) >= 0) {
      // Also playable at the hand on the next higher string: up to the string
      // on which it lies at the hand while the string above would need a fret
      // below it.
      for (int index = note.index - 1; index >= first && note.pitch >= handPitch[index]; --index) {
        const bool lastAtHand = index == first || !hasString(index - 1) || note.pitch < handPitch[index - 1];
        const int fret = fretAtHand(note, index);
        if (lastAtHand && fret >= 0) {
          moveTo(n, index, fret);
          break;
        }
      }
    }
  }

  // The entries of a row go with the note of that row.
  int rowTarget[kRowCount];
  std::fill(std::begin(rowTarget), std::end(rowTarget), -1);
  for (const HandNote& note : notes) {
    if (note.index + kRowOffset != note.oldRow) rowTarget[note.oldRow] = note.index + kRowOffset;
  }
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair raw = column.GetRawNote(i);
    const int row = column.GetNote(i).position;
    auto moved = std::find_if(notes.begin(), notes.end(), [i](const HandNote& n) { return n.entry == i; });
    if (moved != notes.end()) {
      column.SetNoteValue(i, moved->index + kRowOffset);
      column.SetNoteCode(i, KChord::kFirstFret + moved->fret);
    } else if (row >= 0 && row < kRowCount && rowTarget[row] >= 0 && !IsFretCode(column.GetNote(i).code)) {
      column.SetNoteValue(i, raw.position / 10 * 10 + rowTarget[row]);
    }
  }
}

int KTabLine::GetFretPositionStat(int column, int mode) const {
  for (POSITION node = FindNodeAt(column, 1); node != nullptr;) {
    const KChord* chord = AsChord(m_objects.GetPrev(node));
    if (chord == nullptr) continue;
    int count = 0;
    int open = 0;
    int sum = 0;
    int lowest = -1;
    int highest = -1;
    int lowestFretted = -1;
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const int code = chord->GetNote(i).code;
      if (!IsFretCode(code)) continue;
      const int fret = code - KChord::kFirstFret;
      ++count;
      sum += fret;
      if (fret == 0) ++open;
      if (lowest < 0 || fret < lowest) lowest = fret;
      highest = std::max(highest, fret);
      if (fret > 0 && (lowestFretted < 0 || fret < lowestFretted)) lowestFretted = fret;
    }
    if (count == 0) continue;
    if (mode == 0) return lowest;
    if (mode == 2) return highest;
    if (open > 0 && lowestFretted >= kHighPosition) return sum / (count - open);
    return sum / count;
  }
  return mode == 2 ? -1 : 0;
}

bool KTabLine::GetRecentFretRange(int column, int& lowest, int& highest) const {
  int low = -1;
  int high = -1;
  int columns = 0;
  for (POSITION node = FindNodeAt(column, 1); node != nullptr && columns < kRecentColumns;) {
    const KChord* chord = AsChord(m_objects.GetPrev(node));
    if (chord == nullptr) continue;
    int columnLow = -1;
    int columnHigh = -1;
    bool frets = false;
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const int code = chord->GetNote(i).code;
      if (!IsFretCode(code)) continue;
      frets = true;
      const int fret = code - KChord::kFirstFret;
      if (fret == 0) continue;  // an open string does not tell where the hand is
      if (columnLow < 0 || fret < columnLow) columnLow = fret;
      columnHigh = std::max(columnHigh, fret);
    }
    if (!frets) continue;
    ++columns;
    if (columnLow < 0) continue;
    if (low < 0) {
      // The nearest column stands for the hand even when it stretches further.
      low = columnLow;
      high = columnHigh;
      continue;
    }
    const int newLow = std::min(low, columnLow);
    const int newHigh = std::max(high, columnHigh);
    if (newHigh - newLow > kHandReach) break;  // the hand was elsewhere before
    low = newLow;
    high = newHigh;
  }
  if (low < 0) return false;
  lowest = low;
  highest = high;
  return true;
}
