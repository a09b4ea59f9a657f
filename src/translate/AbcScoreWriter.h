#pragma once
// The ABC writer of a whole score and of a run of staff lines. Each staff
// line writes its own music (KStaffLine::WriteAbc); this writer makes tunes of
// them: every title line starts a tune (X: and T:), the first staff line of a
// tune ends its header with the meter, unit length and key, a key change
// between lines writes K:, chord names go over the music they belong to, and
// other text becomes notes (N:) in the header and words (W:) in the body.

#include <span>
#include <string>
#include <vector>

#include "translate/ScoreExport.h"

class KLineObj;

// The whole score as ABC tunes, lines ended by "\r\n".
std::string WriteAbcScore(const ScoreExport& score);

// The ABC text of each of the lines, a piece a text line (no line ends),
// empty for a line that is not a staff or has no music. A staff whose key or
// clef differs from the staff before it starts with its key field, so that
// the text reads back in the same key. A slur open at a staff's end goes on
// into the next staff of the run.
std::vector<std::vector<std::string>> WriteAbcOfStaves(std::span<KLineObj* const> lines);
