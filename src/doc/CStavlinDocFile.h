#pragma once
// The file road of the score document (CStavlinDocFile.cpp and
// CStavlinDocSave.cpp): what it shows and what the rest of the program plugs
// into it.

#include <filesystem>
#include <functional>

#include "platform/CString.h"

// Shown once per run when an opened score holds embedded objects, which this
// system neither shows nor keeps.
extern const char* const kEmbeddedItemsNoticeText;
// Shown when a save failed; %1 is the path, %2 what went wrong.
extern const char* const kSaveFailedText;
// The question before a score with changed content closes; %1 is its name.
extern const char* const kSaveChangesText;
// Shown when the backup copy could not be made (the save goes on); %1 is the
// backup path, %2 what went wrong.
extern const char* const kBackupFailedText;

// Opening a ".mid" file runs this with the path (the MIDI import, which makes
// a score of its own); without one such a file opens nothing.
void SetScoreMidiImporter(void (*importer)(const CString& path));

// Save As asks this for the path to save under, offering the current path
// (empty for a score never saved); an empty answer cancels. Without one
// (null), Save As of a score without a path saves nothing.
using KSaveAsPrompt = std::function<CString(const CString& suggested)>;
void SetScoreSaveAsPrompt(KSaveAsPrompt prompt);

// The backup file of a score file: its name with the extension ".bak" in
// place of its own (added when it has none).
CString BackupPathOf(const CString& path);

// The extension of a path's file name, dot included; empty when it has none.
CString ScoreFileExtension(const CString& path);
// The file-system path of a score path (Windows-1252 text).
std::filesystem::path ScoreNativePath(const CString& path);
