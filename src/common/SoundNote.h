#pragma once
// Sounds one note at once, as a preview when the user enters or changes a
// note: a program change and a note-on now, and the note-off queued for the
// end of the note on the program's sound scheduler, all on MIDI channel 1,
// through the program's MIDI output. The call returns at once: typing goes on
// while the note sounds.

#include "platform/MidiOutPort.h"

// The flags with which the preview opens a closed output.
inline constexpr DWORD kPreviewOpenFlags = 78624;
// Instrument numbers from this one on ("Silence", "Percussion") do not sound.
inline constexpr int kFirstSilentInstrument = 129;
// What the view passes for a typed note.
inline constexpr int kPreviewDurationMs = 200;
inline constexpr int kPreviewVelocity = 63;

// Sounds note (0..127) with instrument number instrument (1..128 are the
// General MIDI programs 0..127; 0 also sends program 0) for durationMs
// milliseconds at velocity (clamped to 0..127). A closed output is opened on
// device g_MidiOutDevice - 1 first and stays open (the next sound or
// playback uses it). Nothing sounds without an output, for a silent or
// negative instrument number, for a note outside 0..127, or when the output
// cannot be opened.
void PlayPreviewNote(MidiOutPort* out, int note, int instrument, int durationMs, int velocity);
