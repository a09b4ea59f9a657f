#pragma once
// Conversions between musical and MIDI quantities: a typed note name ("C4",
// "G#4", "Bb3") to a MIDI note number, and a length in MIDI ticks at a place
// in the bar to the note value a score column can show. MIDI time runs at 480
// ticks per quarter note: a whole note is 1920 ticks, a 64th 30 ticks.

#include <array>
#include <cstdint>

#include "platform/CString.h"

// Note value codes of TicksToNoteValue: whole .. 64th.
inline constexpr int kNoteValueWhole = 0;
inline constexpr int kNoteValueHalf = 1;
inline constexpr int kNoteValueQuarter = 2;
inline constexpr int kNoteValueEighth = 3;
inline constexpr int kNoteValue16th = 4;
inline constexpr int kNoteValue32nd = 5;
inline constexpr int kNoteValue64th = 6;
// The length is too short for the resolution.
inline constexpr int kNoNoteValue = -1;

inline constexpr std::int32_t kTicksPerQuarter = 480;
inline constexpr std::int32_t kTicksPerWhole = 4 * kTicksPerQuarter;
// The 64th, the unit in which the resolution tables count.
inline constexpr std::int32_t kTicksPerUnit = 30;

// The staff symbols of the note values whole .. 64th: the note (stem up; the
// stem-down symbol is the next code, but a whole note has no stem) and the
// rest.
inline constexpr std::array<int, 7> kNoteCodeOfValue = {12, 10, 8, 0, 2, 4, 6};
inline constexpr std::array<int, 7> kRestCodeOfValue = {14, 15, 16, 17, 18, 19, 20};
// The ticks a note value lasts, half as long again when dotted; 0 for a code
// that is not a note value.
inline constexpr int NoteValueTicks(int value, int dotted) {
  if (value < kNoteValueWhole || value > kNoteValue64th) return 0;
  const int plain = kTicksPerWhole >> value;
  return dotted != 0 ? plain + plain / 2 : plain;
}

// Resolutions 0..3 write notes down to the eighth, 16th, 32nd and 64th.
inline constexpr int kResolutionCount = 4;
// Lengths of this many 30-tick units or fewer are refused (unless short
// lengths are accepted) ...
inline constexpr int g_MinUnitsExact[kResolutionCount] = {7, 3, 1, 0};
// ... and the parts of a split length must be longer than this many units.
inline constexpr int g_MinUnitsSplit[kResolutionCount] = {4, 2, 1, 0};

// The MIDI note number of a note name: an upper-case letter A-G, an octave
// digit and an optional "#" or "b". The octave changes at A (A4 is 57, C4 60,
// B4 59). -1 when the name has no octave digit, no note letter, or names a
// note outside the MIDI range 0..127.
int ParseNoteName(const CString& name);

// The note value code (kNoteValueWhole..kNoteValue64th) for a length of ticks
// that starts at tick position (counted from a point on a beat), or -1.
// remainder receives the ticks the value leaves over, which the caller writes
// as a further, tied note (0 when the value covers the length); dotted is 1
// when the value is to be dotted. A length above a whole note gives a whole
// note with the excess as remainder (dotted, still with the remainder, when
// the excess is a half note). resolution is clamped to 0..3; with acceptShort
// set, lengths below the resolution's shortest value are written too. Ticks
// beyond a multiple of 30 are dropped.
int TicksToNoteValue(std::int32_t ticks, std::int32_t& remainder, std::int32_t position, std::int32_t& dotted,
                     int resolution, int acceptShort);
