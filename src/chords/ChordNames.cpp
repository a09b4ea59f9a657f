#include "chords/ChordNames.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<int, kChordRootCount> kRootPitch = {0, 1, 2, 2, 3,  4,  5,  5, 6,
                                                         7, 7, 8, 9, 10, 10, 11, 0};
// Chart spelling, one semitone per step, by root index.
constexpr std::array<int, kChordRootCount> kStepUp = {1,  3,  4,  4,  5,  6,  8, 8, 10,
                                                      11, 11, 12, 13, 15, 15, 0, 1};
constexpr std::array<int, kChordRootCount> kStepDown = {15, 0, 1, 1,  3,  4,  5,  5, 6,
                                                        8,  8, 9, 11, 12, 12, 13, 15};
constexpr int kOctave = 12;

bool IsRootLetter(char c) { return c >= 'A' && c <= 'G'; }

// The pitch (A = 0) of a bass note text "X", "X#" or "Xb" (letter in either
// case), or -1.
int BassPitch(const CString& bass) {
  if (bass.GetLength() < 1 || bass.GetLength() > 2) return -1;
  char letter = bass.GetAt(0);
  if (letter >= 'a' && letter <= 'g') letter = static_cast<char>(letter - 'a' + 'A');
  if (!IsRootLetter(letter)) return -1;
  const char accidental = bass.GetLength() == 2 ? bass.GetAt(1) : ' ';
  if (accidental != ' ' && accidental != '#' && accidental != 'b') return -1;
  const CString table = accidental == 'b' ? kFlatBassTable : kSharpBassTable;
  for (int i = 0; i < kOctave; ++i)
    if (table.GetAt(2 * i) == letter && table.GetAt(2 * i + 1) == accidental) return i;
  return -1;
}

}  // namespace

int ChordRootIndex(const CString& code) {
  // Compared pair by pair: a plain text search would also match across two
  // neighbouring pairs ("bA", " C") or stop at a zero byte in the code.
  if (code.GetLength() != 2) return -1;
  const std::string_view table(kChordRootTable);
  for (int i = 0; i < kChordRootCount; ++i) {
    if (table.substr(static_cast<size_t>(2 * i), 2) == code.View()) return i;
  }
  return -1;
}

CString ChordRootCode(int index) {
  if (index < 0 || index >= kChordRootCount) return CString();
  return CString(kChordRootTable).Mid(2 * index, 2);
}

int ChordRootPitch(int index) {
  return index < 0 || index >= kChordRootCount ? -1 : kRootPitch[static_cast<size_t>(index)];
}

bool SplitChordName(const CString& name, ChordNameParts& parts) {
  if (name.IsEmpty() || !IsRootLetter(name.GetAt(0))) return false;
  const char second = name.GetAt(1);
  const bool accidental = second == '#' || second == 'b';
  CString root = name.Left(1);
  root += accidental ? second : ' ';
  const int index = ChordRootIndex(root);
  if (index < 0) return false;  // "Cb", "E#", "Fb", "B#" are not roots
  parts.root = root;
  parts.rootIndex = index;
  parts.quality = name.Mid(accidental ? 2 : 1);
  if (parts.quality.IsEmpty()) parts.quality = kMajorQuality;
  return true;
}

CString JoinChordName(int rootIndex, const CString& quality) {
  CString name = ChordRootCode(rootIndex);
  name.TrimRight();
  if (quality != kMajorQuality) name += quality;
  return name;
}

int StepChordRoot(int rootIndex, int steps, int direction, bool chartSpelling, int& semitones) {
  semitones = 0;
  if (rootIndex < 0 || rootIndex >= kChordRootCount) return rootIndex;
  const int dir = direction >= 0 ? 1 : -1;
  if (steps <= 0) return rootIndex;
  // Whole turns change nothing but the count: the name walk comes back after
  // 17 steps, the chart spelling (from its first step on) after 12.
  if (chartSpelling) {
    semitones = dir * kOctave * ((steps - 1) / kOctave);
    steps = 1 + (steps - 1) % kOctave;
  } else {
    semitones = dir * kOctave * (steps / kChordRootCount);
    steps %= kChordRootCount;
  }
  int index = rootIndex;
  for (int i = 0; i < steps; ++i) {
    int next;
    if (chartSpelling) {
      next = dir > 0 ? kStepUp[static_cast<size_t>(index)] : kStepDown[static_cast<size_t>(index)];
      semitones += dir;
    } else {
      next = (index + dir + kChordRootCount) % kChordRootCount;
      if (kRootPitch[static_cast<size_t>(next)] != kRootPitch[static_cast<size_t>(index)]) semitones += dir;
    }
    index = next;
  }
  return index;
}

CString TransposeSlashBass(const CString& quality, int oldRootIndex, int newRootIndex) {
  const int slash = quality.ReverseFind('/');
  if (slash < 0) return quality;
  const int oldBass = BassPitch(quality.Mid(slash + 1));
  const int oldRoot = ChordRootPitch(oldRootIndex);
  const int newRoot = ChordRootPitch(newRootIndex);
  if (oldBass < 0 || oldRoot < 0 || newRoot < 0) return quality;
  const int bass = (newRoot - oldRoot + oldBass + 2 * kOctave) % kOctave;
  const bool flats = ChordRootCode(newRootIndex).GetAt(1) == 'b';
  CString spelt = CString(flats ? kFlatBassTable : kSharpBassTable).Mid(2 * bass, 2);
  spelt.TrimRight();
  return quality.Left(slash + 1) + spelt;
}

bool SplitSlashBass(const CString& quality, CString& base, int& bassPitch) {
  const int slash = quality.ReverseFind('/');
  if (slash < 0) return false;
  const int bass = BassPitch(quality.Mid(slash + 1));
  if (bass < 0) return false;
  base = slash == 0 ? CString(kMajorQuality) : quality.Left(slash);
  bassPitch = (bass + 1) % kOctave;  // the bass tables count from A, roots from Ab
  return true;
}
