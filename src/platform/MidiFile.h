#pragma once
// The Standard MIDI File calls of the program's MIDI library, by handle. A
// file opened with mode 'r' is read and checked whole at open (a malformed
// file does not open); one opened with mode 'w' gathers what is written and
// goes to the disk, atomically, when it is closed. Handles are nonzero 32-bit
// values; 0 is failure. Calls with an unknown handle do nothing.

#include <cstdint>
#include <string>

#include "platform/MidiOutPort.h"

using HSMF = DWORD;

// Opens fileName. Mode 'r': *format and *tracks receive the file's format and
// track count. Mode 'w': *format is the format to write (raised to 1 when more
// than one track is written) and *tracks is set to 0. Returns 0 on failure;
// GetSMFLastError then says why.
HSMF OpenSMF(const char* fileName, DWORD* format, char mode, DWORD* tracks);
// Closes the handle; in mode 'w' writes the file. FALSE when writing failed.
BOOL CloseSMF(HSMF handle);
// Closes the handle without writing anything (mode 'w'): the file on the
// disk stays as it was.
void DiscardSMF(HSMF handle);
// Sets every track's read position back to its first event.
void RewindSMF(HSMF handle);
// Ticks per quarter note of the file (its time division), 0 for a bad handle.
DWORD GetSMFResolution(HSMF handle);
// Copies up to max next events of the track (delta times) into buffer; 0 at
// the track's end, in mode 'w', or for a track the file does not have.
DWORD ReadSMF(HSMF handle, DWORD track, MidiShortEvent* buffer, DWORD max);
// Appends count events (delta times) to the track, creating it and any tracks
// before it. Returns count, or 0 with nothing appended when the events cannot
// be written as they are (see CheckMidiEvents) or the handle is not for 'w'.
DWORD WriteSMF(HSMF handle, DWORD track, const MidiShortEvent* events, DWORD count);
// The first meta event of that type in the track: *data points at its bytes
// (valid until the handle closes) and *length is their number, also returned.
// -1 when there is none or the handle is not for 'r'.
int ReadMetaEvent(HSMF handle, DWORD track, BYTE type, const BYTE** data, DWORD* length);
// Appends a meta event of length bytes to the track, time ticks after the
// track's last item; the next short event's delta still counts from the last
// short event (a meta later than that event is written at the event's time). 0 on success, -1 when the handle
// is not for 'w' or the time does not fit.
int WriteMetaEvent(HSMF handle, DWORD track, BYTE type, const BYTE* data, DWORD length, DWORD time);
// Why the last OpenSMF, WriteSMF or CloseSMF failed.
const std::string& GetSMFLastError();
// What the last successful OpenSMF in mode 'r' left out of its file (a
// malformed System Exclusive message, say), one line per part naming its
// track; empty when it read everything. Callers show it beside the result.
const std::string& GetSMFOpenNotes();
