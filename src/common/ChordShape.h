#pragma once
// Chord shape strings and the music they stand for. A chord diagram is kept as
// a shape string: which fret of which string is held, relative to a base fret.
// Chord-diagram lines, the chord dictionary and the chord dialogs keep shapes
// in this form.
//
// Shape string (8-bit text, positions from 0):
//   0       base fret as a digit character ("0": the shape stands at the nut;
//           characters past "9" carry base frets 10 and up)
//   1-6     one field per string, lowest string first: 0 open; 1-4 the fret
//           row of the diagram (row 1 is the base fret); 5-8 rows 1-4 with the
//           note marked; 9 string not played
//   7-14    finger label, blank-padded      15-22  flag characters ("1" = set)
//   23      number of strings, 2-8           24     number of fret rows, 4-7
//   25      a digit whose bits add 4 to the row of a string (bit k for the
//           field at position k + 1), read only with 5 or more fret rows
//   32-34   "7", the seventh string's field, "1" when 4 is added to its row
//   36-38   "8", the eighth string's field, "1" when 4 is added to its row
// Reading order: the seventh (and eighth) string's field is inserted after the
// base fret for shapes of 36 (40) or more characters, so the fields always run
// from the lowest string to the highest. Shapes of four or fewer strings use
// the fields of the highest strings (positions 2-5 for four strings).
//
// The fret of a field f (1-4 once the mark is taken off): f + 4 x its +4 bit +
// the base fret less one (the base fret itself when it is 0).
//
// Every reader here takes the text as untrusted: a field character is read as
// its digit mod 10 (diagrams may keep a barre span in the tens, up to "0" + 89)
// and anything else counts as an unplayed string; a fret that the tuning
// cannot play (beyond its fret list or fret 24) gives no note.

#include <array>
#include <vector>

#include "common/TuningCodec.h"
#include "platform/CString.h"

inline constexpr int kShapeStrings = 8;
using ShapeValues = std::array<int, kShapeStrings>;

// Symbol codes that the staff column receives with the note heads.
inline constexpr int kShapeSharpCode = 28;
inline constexpr int kShapeFlatCode = 30;
inline constexpr int kShapeNaturalCode = 27;
// Fret 0 in a tablature column; fret k is this plus k.
inline constexpr int kShapeFirstFretCode = 226;

// One entry for a column: a tablature string row or a staff step, and a symbol code.
struct ShapeNote {
  int position = 0;
  int code = 0;
};

// What a shape puts into a tablature column and a staff column.
struct ShapeChordNotes {
  // False for a shape that is too short or holds no note: the columns only get emptied.
  bool holdsNotes = false;
  std::vector<ShapeNote> tab;    // fret codes on string rows (row 2 is the highest string)
  std::vector<ShapeNote> staff;  // note heads, each followed by its accidental if it has one
};

// The entries of the shape on the tuning, the staff notes spelt in the key
// (key signature code 0 none; code / 2 accidentals, sharps for even codes,
// flats for odd ones; codes outside 0..15 count as 0). The note heads carry
// g_CurrentNoteCode mod 256. Without a key signature the black keys are
// written as the chord's root spells them: flats when flatRoot, else sharps.
ShapeChordNotes ComputeShapeNotes(const CString& shape, const CString& tuning, int keySignature,
                                  bool flatRoot = false);

// Whether a chord root ("Gb", "C ", "F#"...) spells its chord with flats: a
// flat root, and the naturals C and F, whose chords take flats.
bool RootSpellsWithFlats(const CString& root);

// Fills a tablature column and a staff column (either may be null) with the
// notes of the shape: each column keeps its rhythm code and loses everything
// else; then the notes are added through its AddNote and the staff column
// arranges its note heads. Column is the score's column class (KChord); root
// is the chord's root, which spells the staff notes where no key signature
// does (empty: sharps).
template <class Column>
void ShapeToChord(const CString& shape, const CString& root, Column* tab, Column* staff,
                  const CString& tuning, int keySignature) {
  for (Column* column : {tab, staff}) {
    if (column == nullptr) continue;
    const int rhythm = column->GetRhythmCode();
    column->Clear();
    column->SetRhythmCode(rhythm);
  }
  const ShapeChordNotes notes = ComputeShapeNotes(shape, tuning, keySignature, RootSpellsWithFlats(root));
  if (!notes.holdsNotes) return;
  if (tab != nullptr)
    for (const ShapeNote& note : notes.tab) tab->AddNote(note.position, note.code);
  if (staff != nullptr) {
    for (const ShapeNote& note : notes.staff) staff->AddNote(note.position, note.code);
    staff->ArrangeNoteHeads();
  }
}

// The sounding pitch, fret and mark flag of every string of the shape on the
// tuning, indexed like the tuning's pitches (entry 0 the highest string). A
// string that is not played, that the tuning lacks, or whose fret the tuning
// cannot play has pitch -9 and fret -1; a string of a too short shape has
// pitch -9 and fret 0. Mark flags are 1 for fields 5-8.
void GetShapePitches(const CString& shape, const CString& tuning, ShapeValues& pitches, ShapeValues& frets,
                     ShapeValues& marks);

// A shape that plays the pitches (indexed freely; -9 or less = none) on the
// target tuning, as close to the preferred fret as the pitches allow. With no
// pitch, or none that the tuning can play, the empty shape of the tuning's
// string count ("0999999" for six strings).
void ComputeChordShape(const CString& tuning, CString& shape, const ShapeValues& pitches, int preferredFret);

// The shape that holds no note for a string count 2..8 (others read as 6).
CString EmptyChordShape(int strings);
