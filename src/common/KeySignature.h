#pragma once
// The key signature at the start of a staff: up to seven sharps or flats (or
// the naturals that cancel a key) placed by fixed tables per clef, drawn as
// symbols of the symbol cache through the scaled primitives.

#include "platform/CDC.h"

// Line kinds with a key signature of their own placement.
inline constexpr int kKeyLineTreble = 0;
inline constexpr int kKeyLineBass = 1;
inline constexpr int kKeyLineAlto = 9;
inline constexpr int kKeyLineTenor = 10;
inline constexpr int kKeyLineTreble8va = 11;
inline constexpr int kKeyLineTreble8vb = 12;
inline constexpr int kKeyLineDrums = 13;
inline constexpr int kKeyLineNoClef = 14;
inline constexpr int kKeyLinePercussion = 16;
// The key-signature dialog's two pictures.
inline constexpr int kKeyPictureDialog = 4321;
inline constexpr int kKeyPictureOther = 4322;

// Draws key `keyCode` (0..31: number of accidentals * 2, + 1 for flats, + 16
// for the naturals that cancel that key) on a staff whose top line is at
// referenceY. The accidentals start at the lead-in of the size plus xShift,
// after `columns` columns and after the room of the previous key
// (previousKey > 0). Drum, clef-less and percussion lines draw no key; nor do
// codes outside 0..31.
void DrawKeySignature(CDC* dc, int referenceY, int keyCode, int lineKind, int columns, int x, int size,
                      int xShift, int previousKey);
