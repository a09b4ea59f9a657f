#pragma once
// Joining and un-joining the note tails (beams) of a range of note columns.

class KListLine;

namespace viewnotes {

inline constexpr int kJoin = 10;
inline constexpr int kUnjoin = 11;

// Joins (kJoin) the flagged columns of [first, end) into one beam group per
// voice, or takes them out of their groups (kUnjoin); what is left of a group
// on either side of the range is beamed again on its own. Returns the first
// column of the range that holds an object, or -1 when the range holds fewer
// than two objects (nothing changes then).
int JoinTailsInRange(KListLine& line, int first, int end, int sizeIndex, int mode);

}  // namespace viewnotes
