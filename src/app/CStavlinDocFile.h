#pragma once
// The file road of the score document (CStavlinDocFile.cpp): what it shows and
// what the rest of the program plugs into it.

#include "platform/CString.h"

// Shown once per run when an opened score holds embedded objects, which this
// system neither shows nor keeps.
extern const char* const kEmbeddedItemsNoticeText;
// Shown when a save failed; %1 is the path, %2 what went wrong.
extern const char* const kSaveFailedText;

// Opening a ".mid" file runs this with the path (the MIDI import, which makes
// a score of its own); without one such a file opens nothing.
void SetScoreMidiImporter(void (*importer)(const CString& path));
