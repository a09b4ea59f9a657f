// The piano keyboard toolbox's instrument: 88 keys from A0 to C8, seven
// white keys of 14 pixels to the octave, the black keys in the upper 36
// pixels.

#include <cmath>

#include "dialogs/toolbox/InstrumentGeometry.h"
#include "dialogs/toolbox/KInstrumentPictures.h"

namespace {

using instrument::kOctaveShift;
using instrument::kOctaveWidth;
constexpr int kWhiteWidth = instrument::kWhiteKeyWidth;
constexpr int kWhiteSemitone[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kWhiteIndex[12] = {0, -1, 1, -1, 2, 3, -1, 4, -1, 5, -1, 6};
// The black keys' marks, by semitone within the octave (from the octave's C).
constexpr int kBlackX[12] = {0, 9, 20, 23, 34, 42, 51, 62, 65, 76, 79, 90};
// Marks: 3 pixels into a white key, 17 below the top of the white-key zone;
// 5 below the top of a black key.
constexpr int kMarkLeft = 3;
constexpr int kMarkDrop = 17;
constexpr int kBlackMarkTop = 22;
constexpr int kWhiteMarkTop = 53;
constexpr int kBlackMarkShift = 29;
// The first and last 8 pixels are the lowest and highest keys whatever y is.
constexpr int kEdge = 8;
constexpr int kRightEdge = 723;

// The semitone (from C) of each pixel of an octave in the black-key zone.
int SemitoneOfPixel(int p) {
  if (p <= 8) return 0;
  if (p <= 19) return 1;
  if (p <= 22) return 2;
  if (p <= 33) return 3;
  if (p <= 41) return 4;
  if (p <= 50) return 5;
  if (p <= 61) return 6;
  if (p <= 64) return 7;
  if (p <= 75) return 8;
  if (p <= 78) return 9;
  if (p <= 89) return 10;
  return 11;
}

int FloorDiv(int a, int b) { return static_cast<int>(std::floor(static_cast<double>(a) / b)); }

}  // namespace

bool KPianoKeyboard::IsBlackKey(int note) { return kWhiteIndex[((note % 12) + 12) % 12] < 0; }

int KPianoKeyboard::NoteAt(int x, int y) {
  if (y > kBlackKeyHeight) {
    const int n = x + kOctaveShift;
    return kWhiteSemitone[(n % kOctaveWidth) / kWhiteWidth] + (n / kOctaveWidth + 1) * 12;
  }
  if (x < kEdge) return kLowest;
  if (x >= kRightEdge) return kHighest;
  const int n = x + kOctaveShift;
  return SemitoneOfPixel(n % kOctaveWidth) + (n / kOctaveWidth + 1) * 12;
}

CString KPianoKeyboard::HoverText(int x, int y, const CString& prompt) {
  return PitchClassName(NoteAt(x, y)) + prompt;
}

void KPianoKeyboard::MarkClick(int x, int y) {
  m_marks.clear();
  const int note = NoteAt(x, y);
  if (!IsBlackKey(note)) {
    m_marks.push_back({kWhiteWidth * (x / kWhiteWidth) + kMarkLeft, kBlackKeyHeight + kMarkDrop, note});
  } else {
    const int octave = FloorDiv(x - 28, kOctaveWidth);
    m_marks.push_back({kBlackX[note % 12] + kOctaveWidth * octave + kBlackMarkShift, kMarkDrop + 5, note});
  }
}

void KPianoKeyboard::ShowPlayedNote(int on, int note) {
  if (note < 0) {
    m_marks.clear();
    return;
  }
  if (on == 0) {
    for (size_t i = 0; i < m_marks.size(); ++i) {
      if (m_marks[i].note == note) {
        m_marks[i] = m_marks.back();
        m_marks.pop_back();
        return;
      }
    }
    return;
  }
  if (static_cast<int>(m_marks.size()) >= kMaxMarks || note < kLowest || note > kHighest) return;
  const int octave = FloorDiv(note - 24, 12);
  const int semitone = note % 12;
  if (IsBlackKey(note)) {
    m_marks.push_back({kBlackX[semitone] + kOctaveWidth * octave + kBlackMarkShift, kBlackMarkTop, note});
  } else {
    m_marks.push_back(
        {kWhiteWidth * (kWhiteIndex[semitone] + 7 * octave + 2) + kMarkLeft, kWhiteMarkTop, note});
  }
}
