#pragma once
// How a note column's stored stem value of a voice marks its place in a beam
// group. A group is not an object of its own: its first column holds an odd
// value above 6, its last column an even value above 6, and the columns in
// between negative values (their stem ends, or -1 for a column without flags
// that the beam passes over). 0 to 6 lie outside every group: 4 marks a bar
// column, 6 a voice drawn without flag or beam.
//
// The stored value is read, not the decoded stem end: decoding keeps the sign
// and the parity of the stored value, and the stored value never depends on
// the drawing size.

#include "model/KChord.h"
#include "model/KListLine.h"

namespace beam {

// Walking directions of the group searches.
inline constexpr int kBackward = 20;
inline constexpr int kForward = 21;
// The most columns with flags that one group may join.
inline constexpr int kMaxColumns = 32;
// Shown when a range holds more flagged columns than one group may join.
inline constexpr unsigned kTooLongMessage = 7060;

inline bool IsMarker(int stem) { return stem < 0 || stem > KChord::kStemPlain; }
inline bool Opens(int stem) { return stem > KChord::kStemPlain && stem % 2 != 0; }
inline bool Closes(int stem) { return stem > KChord::kStemPlain && stem % 2 == 0; }
// The group goes on after a column holding this value (it opens or lies inside).
inline bool ContinuesAfter(int stem) { return stem < 0 || Opens(stem); }
// The group began before a column holding this value (it lies inside or closes).
inline bool ContinuesBefore(int stem) { return stem < 0 || Closes(stem); }

// The voice's stored stem value; 0 for an object that is not a note column.
inline int StemOf(const CObject* object, int voice) {
  const KChord* column = AsChord(object);
  return column != nullptr ? column->GetVoiceStem(voice) : 0;
}

}  // namespace beam
