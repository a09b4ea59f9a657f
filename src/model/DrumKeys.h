#pragma once
// The General MIDI percussion key a drum-staff note plays, from its row (staff
// step) and note style, as playback sounds it; 0 when that row and style
// play nothing. Readers that write drum notes choose the row and style with
// it, so that what they write plays the key they read.
int DrumKeyOf(int row, int style);
