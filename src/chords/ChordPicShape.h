#pragma once
// A chosen chord before its diagram is placed: the chord joins the recent
// chords, so that the chord selection dialog opens on it next time.

#include "common/ChordServices.h"

// The record: tuning (text0), root code (text1), type name (text2, a '*'
// after it is dropped), spelling (text3), the catalogue type's string id
// (value0), the catalogue's and the user's variation counts (value1,
// value2) and the variation (value3).
void UpdateChordPicShape(ChordRecord& record);
