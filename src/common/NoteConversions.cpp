#include "common/NoteConversions.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// A letter's place is its semitone offset ("@" fills the black keys' places).
constexpr std::string_view kLetterTable = "@A@BC@D@EF@G";
constexpr std::string_view kOctaveDigits = "0123456789";

// The first character of the set that the name holds anywhere; npos for none.
std::size_t FirstOfSetIn(std::string_view set, std::string_view name) {
  for (std::size_t i = 0; i < set.size(); ++i) {
    if (set[i] != '@' && name.find(set[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

// Position within the beat, also for positions before the counting point.
std::int64_t BeatOffset(std::int64_t position) {
  const std::int64_t offset = position % kTicksPerQuarter;
  return offset < 0 ? offset + kTicksPerQuarter : offset;
}

}  // namespace

int ParseNoteName(const CString& name) {
  const std::string_view text = name.View();
  const std::size_t octave = FirstOfSetIn(kOctaveDigits, text);
  const std::size_t letter = FirstOfSetIn(kLetterTable, text);
  if (octave == std::string_view::npos || letter == std::string_view::npos) return -1;
  int number = 12 * (static_cast<int>(octave) + 1) + static_cast<int>(letter) - 4;
  if (text.find('#') != std::string_view::npos) {
    ++number;
  } else if (text.find('b') != std::string_view::npos) {
    --number;
  }
  return number >= 0 && number <= 127 ? number : -1;
}

int TicksToNoteValue(std::int32_t ticks, std::int32_t& remainder, std::int32_t position, std::int32_t& dotted,
                     int resolution, int acceptShort) {
  dotted = 0;
  if (ticks > kTicksPerWhole) {
    remainder = ticks - kTicksPerWhole;
    if (remainder == kTicksPerWhole / 2) dotted = 1;
    return kNoteValueWhole;
  }
  const int r = std::clamp(resolution, 0, kResolutionCount - 1);
  const int units = std::min(ticks / kTicksPerUnit, 64);
  remainder = 0;
  if (!acceptShort && units <= g_MinUnitsExact[r]) return kNoNoteValue;

  const std::int64_t beatOffset = BeatOffset(position);
  // A dotted value, unless the note starts where the dot would hide a beat:
  // then the shorter part comes first and the rest is tied over the beat.
  auto dottedOrSplit = [&](int dottedValue, std::int64_t splitAt, int firstValue, std::int32_t rest) {
    if (beatOffset == splitAt) {
      remainder = rest;
      return firstValue;
    }
    dotted = 1;
    return dottedValue;
  };
  switch (units) {
    case 1:
      return kNoteValue64th;
    case 2:
      return kNoteValue32nd;
    case 3:
      return dottedOrSplit(kNoteValue32nd, 30, kNoteValue64th, 60);
    case 4:
      return kNoteValue16th;
    case 6:
      return dottedOrSplit(kNoteValue16th, 60, kNoteValue32nd, 120);
    case 8:
      return kNoteValueEighth;
    case 12:
      return dottedOrSplit(kNoteValueEighth, 120, kNoteValue16th, 240);
    case 16:
      return kNoteValueQuarter;
    case 24:
      return dottedOrSplit(kNoteValueQuarter, 240, kNoteValueEighth, 480);
    case 32:
      return kNoteValueHalf;
    case 48:
      dotted = 1;
      return kNoteValueHalf;
    case 64:
      return kNoteValueWhole;
    default:
      break;
  }

  // Any other length: the largest power of two in it, with the rest tied on.
  if (g_MinUnitsSplit[r] >= 64) return kNoNoteValue;
  int part = 64;
  int value = kNoteValueWhole;
  while (part > units) {
    part /= 2;
    ++value;
    if (part <= g_MinUnitsSplit[r]) return kNoNoteValue;
  }
  const std::int32_t rest = (units - part) * kTicksPerUnit;
  remainder = rest;
  if (BeatOffset(static_cast<std::int64_t>(position) + rest) != 0) return value;
  // The long part would start off the beat while the short one ends on it:
  // write the short part first so that the long part starts on the beat.
  switch (rest) {
    case 240:
      remainder = ticks - rest;
      return kNoteValueEighth;
    case 120:
      remainder = ticks - rest;
      return kNoteValue16th;
    case 60:
      remainder = ticks - rest;
      return kNoteValue32nd;
    case 30:
      remainder = ticks - rest;
      return kNoteValue64th;
    default:
      return value;
  }
}
