#pragma once
// The width in layout pixels that one printed sheet of a new score holds at
// 100 %: the printer's page (the print preferences) less the default margins
// of File | Print Options, at the screen's resolution. Staves made for a new
// score (a MIDI import's systems) keep within it, so that the score prints
// at its own size.

int NewScoreSheetWidth();
