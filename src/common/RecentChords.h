#pragma once
// The list of the 20 most recently used chords, most recent first, and the
// three-character number labels of chord variants and numbered lists.

#include "common/ChordServices.h"
#include "platform/CString.h"

inline constexpr int kRecentChordCapacity = 20;

// The list itself: entries 0 .. g_RecentChordCount - 1 are in use.
extern ChordRecord g_RecentChords[kRecentChordCapacity];
extern int g_RecentChordCount;

// Moves the chord to the front of the list, or inserts it there (dropping the
// oldest when the list is full). With onlyIfPresent a chord that is not in the
// list is not added. A trailing '*' of text2 is removed from the record passed
// in before it is compared and stored.
void RememberRecentChord(ChordRecord& record, bool onlyIfPresent);

// Empties the list (each view's initial update does so).
void ClearRecentChords();

// "  7", " 42", "105", "199" for 0..199; three blanks for any other number.
CString FormatNumberLabel(int n);
