// The rhythm letters and the symbol codes they enter.

#include "lines/KRhythmLineSymbols.h"

#include <cstring>

namespace {
constexpr int kOffsets[32] = {0,  1,  2,  3,  4,  5,  6,  7,  17, 18, 19, 20, 21, 22, 23, 24,
                              25, 26, 39, 40, 41, 42, 43, 44, 45, 46, 50, 51, 52, 48, 53, 49};
constexpr int kBlankCode = 32761;
constexpr int kFirstSymbol = 200;
constexpr int kFirstFlagged = 223;
constexpr int kLastFlagged = 238;

// Note codes of the symbols 200..244 (-1: none).
int NoteCodeOfOffset(int d) {
  if (d >= 0 && d <= 4) return 21 + d;
  if (d >= 5 && d <= 16) return 12 - 2 * ((d - 5) % 3);
  if (d >= 17 && d <= 21) return 16 + (d - 17);
  if (d == 22) return 36;
  if (d >= 23 && d <= 38) return 2 * ((d - 23) % 4);
  switch (d) {
    case 39:
      return 14;
    case 40:
      return 15;
    case 41:
      return 34;
    case 42:
      return 26;
    case 43:
      return 89;
    case 44:
      return 90;
    default:
      return -1;
  }
}
}  // namespace

const char kRhythmLetters[33] = "|\"I[]whq!,'jJ.tsyx_-n%OZML#&N/SF";

int RhythmLetterOffset(int index) { return index >= 0 && index < 32 ? kOffsets[index] : -1; }

int RhythmLetterIndex(int letter) {
  if (letter <= 0 || letter > 255) return -1;
  const char* found = std::strchr(kRhythmLetters, letter);
  return found != nullptr ? static_cast<int>(found - kRhythmLetters) : -1;
}

int RhythmCodeOfOffset(int d, int style) {
  style = ((style % 4) + 4) % 4;
  if (d >= 5 && d <= 7) return kFirstSymbol + d + 3 * style;
  if (d >= 23 && d <= 26) return kFirstSymbol + d + 4 * style;
  return kFirstSymbol + d;
}

int RhythmLetterOfCode(int code) {
  int d = code - kFirstSymbol;
  if (d >= 5 && d <= 16) d = 5 + (d - 5) % 3;
  if (d >= 23 && d <= 38) d = 23 + (d - 23) % 4;
  for (int i = 0; i < 32; ++i) {
    if (kOffsets[i] == d) return static_cast<unsigned char>(kRhythmLetters[i]);
  }
  return 0;
}

bool IsFlaggedRhythmCode(int code) { return code >= kFirstFlagged && code <= kLastFlagged; }

int RhythmBeamCount(int code) { return IsFlaggedRhythmCode(code) ? (code - kFirstFlagged) % 4 + 1 : 0; }

int NoteCodeOfRhythmCode(int code) {
  if (code < kFirstSymbol || code > 244) return -1;
  return NoteCodeOfOffset(code - kFirstSymbol);
}

int RhythmCodeOfNoteCode(int noteCode, int style) {
  if ((noteCode >= 21 && noteCode <= 26) || noteCode == 225 || noteCode == 254 || noteCode >= 98)
    return kBlankCode;
  if (noteCode < 0) return kBlankCode;
  if (noteCode < 12 && noteCode % 2 != 0) noteCode -= 1;
  // The base offsets (style 0) and the note codes they stand for.
  for (int i = 0; i < 32; ++i) {
    const int d = kOffsets[i];
    if (NoteCodeOfOffset(d) == noteCode) return RhythmCodeOfOffset(d, style);
  }
  return kBlankCode;
}
