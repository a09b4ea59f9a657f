#pragma once
// Hearing a chord: the chord dialogs play a shape on a tuning through the
// MIDI output. The MIDI code installs the player; until it does, nothing
// sounds.

#include <functional>

#include "platform/CString.h"

using ChordAuditionFn =
    std::function<void(const CString& shape, const CString& tuning, int strumDelay, int program)>;

// Installs the player (an empty function removes it).
void SetChordAudition(ChordAuditionFn player);
// Plays the shape: all strings together (strum delay 0) or one after another.
void PlayChordShape(const CString& shape, const CString& tuning, int strumDelay, int program);
