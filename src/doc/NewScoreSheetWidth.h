#pragma once
// The width in layout pixels that one printed sheet of a new score holds at
// 100 %: the printer's page (the print preferences) less the default margins
// of File | Print Options, at the screen's resolution. Staves made for a new
// score (File | New, a MIDI or ABC import) keep within it, so that the score
// prints at its own size.

int NewScoreSheetWidth();

// Where a score's lines begin on the sheet (its left edge, without labels).
inline constexpr int kNewScoreLeftEdge = 11;

// The staff length a new score's staves take: the length asked for, held to
// the sheet less the lines' left edge. A sheet too narrow to hold a staff of
// some length (a damaged page preference) is not a measure: the length asked
// for stands.
int NewScoreStaffLength(int wanted, int leftEdge = kNewScoreLeftEdge);
