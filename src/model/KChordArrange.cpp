// Note-head arrangement: notes a second apart are set side by side,
// accidentals are stacked in columns left of the notes so that they do not
// collide, and the companion symbols of each note (dots, marks, arpeggio and
// slide signs) follow it. Only horizontal nudges are rewritten; the vertical
// nudges stay as they are.

#include <algorithm>

#include "model/DocServices.h"
#include "model/KChord.h"

namespace {

constexpr int kHorizontalMask = 31;
constexpr int kLeftBase = 16;       // nudge code 16 + s: s steps left
constexpr int kDisplacedLeft = 20;  // 4 steps (8 pixels) left
constexpr int kDisplacedRight = 4;  // 4 steps (8 pixels) right
constexpr int kMaxSteps = 15;
constexpr int kAccidentalColumns = 4;
constexpr int kAccidentalColumnSteps = 4;
constexpr int kFirstTwoDigitFret = 236;
constexpr int kArpeggio = 80;

bool IsAccidental(int code) { return code >= 27 && code <= 31; }
bool IsDotLike(int code) { return code == 36 || code == 37 || code == 78 || code == 79; }

// Symbols at a note's step that move with the note.
bool IsCompanion(int code) {
  if (IsAccidental(code) || (code >= 108 && code <= 111)) return true;
  switch (code) {
    case 36:
      return !g_midiImporting;
    case 37:
    case 48:
    case 50:
    case 54:
    case 55:
    case 72:
    case 73:
    case 78:
    case 79:
    case 80:
    case 81:
      return true;
    default:
      return false;
  }
}

int LeftCode(int steps) {
  steps = std::min(steps, kMaxSteps);
  return steps <= 0 ? 0 : kLeftBase + steps;
}

BYTE WithHorizontal(BYTE extra, int horizontal) {
  return static_cast<BYTE>((extra & ~kHorizontalMask) | (horizontal & kHorizontalMask));
}

// A list of at most one item per entry of a column, kept on the stack: the
// arrangement runs for every note added, so it allocates nothing.
template <class T>
class ColumnList {
 public:
  void push_back(const T& item) {
    if (m_size < KChord::kMaxNotes) m_items[m_size++] = item;
  }
  std::size_t size() const { return m_size; }
  T& operator[](std::size_t i) { return m_items[i]; }
  const T& operator[](std::size_t i) const { return m_items[i]; }
  T* begin() { return m_items; }
  T* end() { return m_items + m_size; }
  const T* begin() const { return m_items; }
  const T* end() const { return m_items + m_size; }

 private:
  T m_items[KChord::kMaxNotes]{};
  std::size_t m_size = 0;
};

struct Head {
  int index = 0;
  int step = 0;
  int code = 0;
  int displaced = 0;   // -1 left, +1 right
  int accidental = 0;  // the code of its first accidental, 0 for none
  ColumnList<int> companions;
};

}  // namespace

void KChord::ArrangeNoteHeads() {
  if (IsTabColumn()) {
    // A symbol 80 steps aside for two-digit frets: the flagged one for any in
    // the column, the plain one for those before it on its own string.
    bool twoDigit = false;
    for (int i = 0; i < m_count; ++i)
      twoDigit = twoDigit || (IsFretEntry(i) && m_notes[i].code >= kFirstTwoDigitFret);
    for (int i = 0; i < m_count; ++i) {
      if (m_notes[i].code != kArpeggio) continue;
      int h = m_notes[i].extra & kHorizontalMask;
      auto decide = [&h](bool wide) {
        if (wide && h == 0) h = 19;
        if (!wide && h == 19) h = 0;
      };
      if (m_notes[i].flag & kFlagFlagged) {
        decide(twoDigit);
      } else {
        for (int j = 0; j < i; ++j) {
          if (IsFretEntry(j) && EntryString(j) == EntryString(i))
            decide(m_notes[j].code >= kFirstTwoDigitFret);
        }
      }
      m_notes[i].extra = WithHorizontal(m_notes[i].extra, h);
    }
    return;
  }

  ColumnList<Head> heads;
  for (int i = 0; i < m_count; ++i) {
    const int code = FullCode(i);
    if (code > kWholeNote) continue;
    Head head;
    head.index = i;
    head.step = m_notes[i].value;
    head.code = code;
    for (int j = 0; j < m_count; ++j) {
      if (j == i || m_notes[j].value != head.step || !IsCompanion(m_notes[j].code)) continue;
      head.companions.push_back(j);
      if (head.accidental == 0 && IsAccidental(m_notes[j].code)) head.accidental = m_notes[j].code;
    }
    heads.push_back(head);
    m_notes[i].extra = WithHorizontal(m_notes[i].extra, 0);
  }

  // Seconds. Voice 0 (odd codes, stems down) sets the lower note of a second
  // to the left, voice 1 (even codes, stems up) the upper note to the right;
  // in a run of seconds every other note moves, starting from the stem's end
  // of the chord.
  ColumnList<Head*> voice0;
  ColumnList<Head*> voice1;
  for (Head& head : heads) (head.code % 2 == 1 ? voice0 : voice1).push_back(&head);
  for (std::size_t k = 1; k < voice0.size(); ++k) {
    if (voice0[k]->step == voice0[k - 1]->step + 1 && voice0[k - 1]->displaced == 0)
      voice0[k]->displaced = -1;
  }
  for (std::size_t k = voice1.size(); k-- > 1;) {
    const Head& below = *voice1[k];
    if (voice1[k - 1]->step + 1 == below.step && m_notes[below.index].extra == 0 && below.displaced == 0) {
      voice1[k - 1]->displaced = 1;
    }
  }
  bool movedLeft = false;
  bool movedRight = false;
  for (const Head& head : heads) {
    if (head.displaced == 0) continue;
    movedLeft = movedLeft || head.displaced < 0;
    movedRight = movedRight || head.displaced > 0;
    m_notes[head.index].extra =
        WithHorizontal(m_notes[head.index].extra, head.displaced < 0 ? kDisplacedLeft : kDisplacedRight);
  }

  // Accidentals, stacked in up to four columns.
  struct Placed {
    int step;
    int column;
  };
  ColumnList<Placed> placed;
  int largestShift = 0;
  for (const Head& head : heads) {
    if (head.accidental == 0) continue;
    int column = 1;
    for (; column < kAccidentalColumns; ++column) {
      bool clash = false;
      const std::size_t from = placed.size() > 4 ? placed.size() - 4 : 0;
      for (std::size_t p = from; p < placed.size(); ++p) {
        const int distance =
            placed[p].step > head.step ? placed[p].step - head.step : head.step - placed[p].step;
        if (placed[p].column == column && distance < 5 && distance != 0) clash = true;
      }
      if (!clash) break;
    }
    placed.push_back({head.step, column});
    int shift = (column - 1) * kAccidentalColumnSteps;
    if (movedLeft) shift += kAccidentalColumnSteps;
    if (head.displaced < 0) shift += kAccidentalColumnSteps;
    shift = std::min(shift, kMaxSteps);
    largestShift = std::max(largestShift, shift);
    for (int j : head.companions) {
      if (IsAccidental(m_notes[j].code)) m_notes[j].extra = WithHorizontal(m_notes[j].extra, LeftCode(shift));
    }
  }

  // Dots first: some marks keep at least their distance.
  int largestDot = 0;
  for (const Head& head : heads) {
    for (int j : head.companions) {
      if (!IsDotLike(m_notes[j].code)) continue;
      const int h = head.displaced > 0 ? kDisplacedRight : 0;
      m_notes[j].extra = WithHorizontal(m_notes[j].extra, h);
      largestDot = std::max(largestDot, h);
    }
  }
  for (const Head& head : heads) {
    for (int j : head.companions) {
      const int code = m_notes[j].code;
      const bool flagged = (m_notes[j].flag & kFlagFlagged) != 0;
      if (code == kArpeggio || code == 55 || code == 72 || code == 73) {
        // Left of every accidental; wider for a double sharp or double flat.
        const bool wide = code == kArpeggio && (head.accidental == 29 || head.accidental == 31);
        m_notes[j].extra = WithHorizontal(m_notes[j].extra, LeftCode(largestShift + (wide ? 3 : 0)));
      } else if (code == 48 || code == 50 || code == 54 || code == 81) {
        int h = movedRight ? kDisplacedRight : 0;
        if (code == 54 || (code == 81 && flagged)) h = std::max(h, largestDot);
        m_notes[j].extra = WithHorizontal(m_notes[j].extra, h);
      }
    }
  }
}
