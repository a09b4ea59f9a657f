#pragma once
// File/Import/MIDI File and the opening of a ".mid" file: a Standard MIDI
// File becomes a new score. The file is read and checked, its tracks are
// proposed in the import settings dialog, the chosen ones are converted
// into staff lines, cut into systems and finished; long passes run with the
// progress window, whose Stop (or s, S, space, a click) ends the import with
// nothing made. The score is built apart and handed over whole: it has no
// path, carries the file's name as its title, and asks where to go when it
// is first saved.

#include <memory>

#include "doc/CStavlinDoc.h"
#include "platform/CString.h"
#include "platform/MidiFileData.h"

class CStavlinView;

// The import method for every import: 1 quantises and finds triplets first
// ("Method 1"), 0 lays the notes out as played ("Method 2").
extern int g_midiImportMethod;
// The warning about notes shorter than the resolution is shown (else a beep).
extern int g_midiShortNoteWarning;

struct MidiFileImportResult {
  std::unique_ptr<CStavlinDoc> document;  // null: nothing was made
  CString title;
  POSITION titleLine = nullptr;  // the title's text line in the document
  bool wantsTablature = false;   // staves marked to become tablature
};

// The whole import of the file at path; every failure is told to the user.
MidiFileImportResult ImportMidiFile(const CString& path);
// The same from bytes already read (path names the file in messages and
// gives the title).
MidiFileImportResult ImportMidiBytes(const CString& path, std::span<const std::uint8_t> bytes);

// The last steps, once the score has its window: the title's font, the
// tablature wanted, and a refresh.
void FinishMidiImportInView(CStavlinView& view, const MidiFileImportResult& result);
