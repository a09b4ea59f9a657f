#pragma once
// The measures of the fretboard and keyboard pictures, shared by the toolbox
// and by the generator that draws the pictures (tools/symbolgen), so that a
// note's place on a picture and the picture itself always agree.

namespace instrument {

// The fretboard: the x of each fret's line (fret 0 is the nut), one string
// row of 13 pixels (the string in its middle), 595 pixels wide.
inline constexpr int kFrets = 25;
inline constexpr int kFretX[kFrets] = {15,  60,  101, 138, 172, 204, 234, 263, 289, 314, 336, 356, 375,
                                       393, 411, 429, 447, 465, 483, 501, 519, 537, 555, 573, 591};
inline constexpr int kStringRow = 13;
inline constexpr int kFretboardWidth = 595;
inline constexpr int kLabelStripHeight = 12;

// The keyboard: 88 keys from A0, 52 white keys of 14 pixels; an octave of 98
// pixels starts at its C, 70 pixels left of A; the black keys fill the upper
// 36 pixels, each octave's from these pixels (from the octave's C) on, 11 wide.
inline constexpr int kKeyboardWidth = 729;
inline constexpr int kKeyboardHeight = 68;
inline constexpr int kWhiteKeyWidth = 14;
inline constexpr int kOctaveWidth = 98;
inline constexpr int kOctaveShift = 70;
inline constexpr int kBlackKeyHeight = 36;
inline constexpr int kBlackKeyWidth = 11;
inline constexpr int kBlackKeyLeft[5] = {9, 23, 51, 65, 79};  // C#, D#, F#, G#, A#

}  // namespace instrument
