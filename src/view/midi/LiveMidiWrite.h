#pragma once
// Writing a live take into the score: the chord groups the recorder hands
// back become columns at the caret of the target view (rests before them,
// note values, stem directions, bars and ties with Auto Bar Insertion, a new
// line when the line is full), on a staff, a keyboard pair split at the
// split note, or a tablature line, with the bracketed partner line's copy.

#include <vector>

#include "dialogs/KDlgInputMidi.h"
#include "view/midi/LiveRecorder.h"

class CStavlinView;
class KStaffLine;

// Writes the groups, oldest first, at the view's caret (which advances).
void WriteLiveGroups(CStavlinView& view, const std::vector<KLiveRecorder::Group>& groups,
                     const KLiveInputSettings& settings);

// Inserts a new line of the recording kind (0 tablature, 1 treble, 2 bass,
// 3 keyboard staff) below the caret's line (below its keyboard pair) and puts
// the caret at its start (on the upper staff of a keyboard pair).
void InsertLiveLine(CStavlinView& view, int kind);

// The bass staff of the keyboard pair whose treble staff is the display
// line; null when that line is no such treble staff.
KStaffLine* KeyboardBassOf(const CStavlinView& view, int displayLine);
