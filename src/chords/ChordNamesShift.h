#pragma once
// The rewriting of the chord diagrams of a column range of a chord-diagram
// line: transposition of their names and shapes by a number of steps, or a
// step to the next or previous variation of the same chord.

class KChordPicLine;

// The direction key that steps up (the Up arrow); any other key steps down.
inline constexpr int kChordShiftKeyUp = 38;
// Modes: transpose names and shapes; step to the neighbouring variation.
inline constexpr int kChordShiftTranspose = 50;
inline constexpr int kChordShiftVariation = 51;

// Rewrites the diagrams at columns first..end-1. amount is the number of
// steps; spelling non-zero steps by the chart spelling's tables (one semitone
// a step), 0 walks the root names. Diagrams whose names have no root stay as
// they are. Returns first when a diagram was rewritten, else -1. When the
// chord-string library is missing, or a string of its chord block is (then
// after message 7052), nothing changes and the result is -1.
int ShiftChordNames(KChordPicLine& line, int first, int end, int key, int mode, int amount, int spelling);
