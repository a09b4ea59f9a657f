#pragma once
// How a score line's tuning meets the chord dictionary, and how a stored chord
// shape is fitted to another tuning.

#include "platform/CString.h"

// The dictionary key of a tuning string: the tuning itself, except that a fret
// list after the fret-list marker is cut to its semitones up to ",12" (its fret
// count dropped), as the dictionary file keeps it.
CString MakeTuningKey(const CString& tuning);

// The shape, written for fromTuning, fitted to toTuning: played again at the
// average of its fretted strings when it has any (and the target has six
// strings or fewer, or the shape seven or more); otherwise the shape completed
// with the empty fields of the target's string count.
void AdaptChordShape(const CString& fromTuning, const CString& shape, const CString& toTuning,
                     CString* result);
