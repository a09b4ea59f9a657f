// The tick table of the note and rest codes, and the lengths read from it.

#include "model/NoteValues.h"

namespace {

constexpr int kWholeNote = 12;
constexpr int kGraceHead = 13;
constexpr int kBreve = 10012;

}  // namespace

int NoteCodeTicks(int code) {
  static constexpr int kTicks[21] = {240, 240,  120, 120,  60,  60,  30,  30,  480, 480, 960,
                                     960, 1920, 0,   1920, 960, 480, 240, 120, 60,  30};
  if (code == kBreve) return 2 * kTicks[kWholeNote];
  return code >= 0 && code <= kLastRestCode ? kTicks[code] : 0;
}

int FlaggedNoteTicks(int code) {
  switch (code) {
    case 10000:
    case 10010:
      return 2 * kQuarterTicks;
    case 10002:
    case 10008:
      return kQuarterTicks;
    case kBreve:
      return NoteCodeTicks(kBreve);
    default:
      return 0;
  }
}

int WrittenNoteTicks(int code) {
  code = NoteOfHead(code);
  return (code >= 0 && code <= kWholeNote) || code == kBreve ? NoteCodeTicks(code) : 0;
}

int SoundingTicks(int code) { return code == kGraceHead ? kGraceHeadTicks : NoteCodeTicks(code); }
