#pragma once
// Hearing a chord: the chord dialogs play a shape on a tuning through the
// MIDI output. The program installs the player at start (the main frame's
// output); until it does, nothing sounds.
//
// The notes of a shape: the shape's base fret less one, then per string,
// lowest first, the open string or the fret its character names (a high-row
// bit adds four rows); strings marked 5 or more are not sounded. A note's
// number is the tuning's pitch number + 20, an octave lower when tablature
// plays an octave lower.

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/CString.h"
#include "platform/MidiOutPort.h"

using ChordAuditionFn =
    std::function<void(const CString& shape, const CString& tuning, int strumDelay, int program)>;

// Installs the player (an empty function removes it).
void SetChordAudition(ChordAuditionFn player);
// Plays the shape: all strings together (strum delay 0) or one after another.
void PlayChordShape(const CString& shape, const CString& tuning, int strumDelay, int program);

// The MIDI note numbers of the shape on the tuning, lowest string first; none
// for a shape shorter than 7 characters.
std::vector<int> ChordShapeNotes(const CString& shape, const CString& tuning, bool octaveLower);

// How long an unstrummed chord sounds.
inline constexpr int kChordHoldMs = 1920;
// The flags with which the audition opens a closed output.
inline constexpr DWORD kAuditionOpenFlags = 78624;

// Sounds the shape on the output (channel 1, velocity 63): a program change
// (only for a program 0..127, so that no status byte travels as data), then
// the notes, together for 1920 ms or, with a strum delay, each for that long
// one after another. A closed output is opened on the device first; nothing
// sounds when it cannot be. The call returns at once: the later messages go
// out from the program's sound scheduler, so the dialog stays responsive.
void PlayChordShapeOn(MidiOutPort* out, int device, const CString& shape, const CString& tuning,
                      int strumDelay, int program, bool octaveLower);
