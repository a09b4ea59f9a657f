#include "chords/ChordPicShape.h"

#include "common/RecentChords.h"

void UpdateChordPicShape(ChordRecord& record) { RememberRecentChord(record, false); }
