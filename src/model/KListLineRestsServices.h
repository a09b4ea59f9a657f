#pragma once
// The preference that merging the rests of a live recording reads. The
// application's preference loader sets it at start-up from "MidiInput" (the
// shortest live note); it stands here with its start value.

// The shortest note value live recording writes: 0 eighth, 1 16th, 2 32nd,
// 3 64th (the resolution index of TicksToNoteValue).
extern int g_liveShortestNote;

// Restores the start value above.
void ResetRestsServices();
