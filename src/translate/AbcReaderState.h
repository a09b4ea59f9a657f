#pragma once
// The ABC reader's header state. It is shared by every call of one reading:
// the header fields of a tune go on acting on the lines read after them until
// another field changes them. Every tune (an "X:" field) and every command
// that reads ABC starts it afresh.

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "platform/CString.h"

class KStaffLine;

struct AbcReaderState {
  AbcReaderState();
  ~AbcReaderState();
  AbcReaderState(const AbcReaderState&) = delete;
  AbcReaderState& operator=(const AbcReaderState&) = delete;

  int unitLength = 240;  // ticks of one unit note (480 per quarter)
  // An "L:" field, or the end of the tune's header (its "K:" field), fixed
  // the unit length: a later "M:" keeps it. Before that a meter sets the
  // default unit, an eighth, or a sixteenth for meters below 3/4.
  bool unitLengthFixed = false;
  int meterCode = 404;  // numerator * 100 + denominator; -404 common time, -202 cut time
  int tempo = 120;      // beats per minute
  int tempoUnit = 480;  // ticks of the tempo beat
  int key = 0;          // key-signature index 0..15
  // The staff kind of the clef the last "K:" field named (0 treble, 1 bass,
  // 9 alto, 10 tenor, 11 and 12 the octave trebles), and the octaves its
  // "octave=" clause moves the letters by.
  int clef = 0;
  int octave = 0;
  // Semitones (-2..2) that the tune's key, with the accidentals written after
  // it in the "K:" field, adds to each letter A..G. Where they differ from
  // what the key index's signature does, the reader writes the accidental
  // beside the note.
  std::array<int, 7> keyAccidentals{};
  int lastKey = -1;  // key of the previous music line; -1 before the first
  bool titlePending = true;
  bool meterPending = true;
  bool tempoPending = true;
  // The staff line a line ending in "\" left open, and its next free column.
  std::unique_ptr<KStaffLine> continued;
  int continuedColumn = 0;
  bool continueFlag = false;
  bool chordNamesSeen = false;
  // A header field whose value ended in "\": the letter of the field that the
  // next line continues (0 when none).
  char fieldContinued = 0;
  // The letter of the last text field read, which a "+:" line continues.
  char lastField = 0;
  // A broken-rhythm sign at the end of a music line: the change it asks of
  // the next note (as the line reader counts it), for the next line's first.
  int brokenRhythmCarried = 0;
  // (staff row, accidental code) of the accidentals written in the bar that
  // the last music line ended inside: they hold to its bar line, on the next
  // line too. The rows are those of the line type that read them.
  std::vector<std::pair<int, int>> heldAccidentals;
  int heldAccidentalsLineType = 0;
  // (start column, is a tie) of the ties and slurs open when a line ended in
  // "\": the staff line goes on, and so do they.
  std::vector<std::pair<int, bool>> openArcs;
  // Slurs open at the end of the last music line (a line break, not "\"):
  // the next line shows each from its first note to the note that closes it.
  int slursFromLastLine = 0;
  // Inside a "%%begin..." block (PostScript, text, SVG) up to its "%%end...":
  // its lines are no music.
  bool inBlock = false;
};

AbcReaderState& GetAbcReaderState();
// Back to the start values (drops a line left open by continuation).
void ResetAbcReaderState();
// A new tune: the key, meter, unit length and tempo go back to their start
// values and the title, meter and tempo marks are due again. A line left open
// by continuation is not dropped (TakeContinuedAbcLine hands it over).
void StartAbcTune();
// The staff line that continuation left open, or null; the state forgets it.
std::unique_ptr<KStaffLine> TakeContinuedAbcLine();

// Header fields that change the state. The value is the text after the colon.
void ReadAbcKeyField(const CString& value);
void ReadAbcUnitLengthField(const CString& value);
void ReadAbcMeterField(const CString& value);
void ReadAbcTempoField(const CString& value);

// The semitones (-1, 0 or 1) that the signature of a key index gives each
// letter A..G.
std::array<int, 7> AbcKeySignatureAccidentals(int key);
