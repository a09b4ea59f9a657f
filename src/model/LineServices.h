#pragma once
// What the lines need of the preferences and of the score document: the
// defaults of new lines, the score's table of MIDI instruments for labelled
// lines with the settings record that mirrors it, and the document call that
// takes the changed record. The values stand here with their built-in defaults
// until the preference reader and the document exist; they then fill them (the
// preference reader) or implement the receiver (the document).

#include "platform/CString.h"
#include "platform/WinTypes.h"

// ---- Preferences read by the lines ------------------------------------------

// Indent of new lines in pixels ("StaffLines2", eighth number).
extern int g_defaultIndent;
// Loudness of new instrument entries, 0..127 ("Midi", fourth number).
extern int g_defaultVolume;
// Default MIDI program of each instrument class (treble, bass, tablature,
// percussion, alto, tenor, bass tablature).
inline constexpr int kInstrumentClassCount = 7;
extern int g_defaultPrograms[kInstrumentClassCount];
// Space above and below new staff lines and new tablature lines, pixels at the
// normal symbol size ("StaffLines2", numbers 9 to 12).
extern int g_staffSpaceAbove;
extern int g_staffSpaceBelow;
extern int g_tabSpaceAbove;
extern int g_tabSpaceBelow;

// ---- The score's instrument table --------------------------------------------

// One instrument of the table: a line label name with its program and volume.
struct MidiInstrumentEntry {
  CString name;
  int program = 0;
  int volume = 0;
};

// The score's MIDI instruments: entries 0..6 belong to the unlabelled line
// kinds, the ones after them to line labels. The document keeps room for 37
// entries; labelled lines add entries while the count is below 36.
inline constexpr int kInstrumentTableSize = 37;
inline constexpr int kInstrumentFixedEntries = 7;
inline constexpr int kInstrumentTableLimit = 36;
struct MidiInstrumentTable {
  int count = kInstrumentFixedEntries;
  MidiInstrumentEntry entries[kInstrumentTableSize];
};

// The fields of the score's settings record that mirror the instrument table:
// one display text per entry (program and volume as number labels, then the
// name) and a one-byte copy of the entry count. The document's full settings
// record holds them as its instrument texts and count.
struct InstrumentLabels {
  CString instrumentLabels[kInstrumentTableSize];
  BYTE instrumentCount = kInstrumentFixedEntries;
};

// What the document offers the lines: taking the changed instrument texts into
// its settings record.
class KScoreSettingsSink {
 public:
  virtual ~KScoreSettingsSink() = default;
  // Copies the texts into the document's settings record; nonzero markChanged
  // marks the settings changed and the document modified.
  virtual void TakeInstrumentLabels(const InstrumentLabels& labels, int markChanged) = 0;
};

// Restores the built-in defaults above (tests call it).
void ResetLineServices();
