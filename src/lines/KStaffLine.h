#pragma once
// KStaffLine: the line of standard music notation, a five-line staff under one
// of nine clef kinds, holding KChord note columns at integer column positions
// and attached objects (ties, slurs, brackets, text boxes) through its base
// classes. It gives a staff row its meaning as a pitch under the clef, the key
// signature and the accidentals written earlier in the bar, and draws itself
// through its drawing cache (KSpeedLine), which it owns as its linked line.
//
// Staff kinds and the row offset that turns a row of the staff into a row of
// the common treble scale:
//    0 treble 0, 1 bass 12, 9 alto 6, 10 tenor 8, 11 treble 8va -7,
//   12 treble 8vb 7, 13 drums 0, 14 no clef 0, 16 percussion 0.
// Rows are counted downwards in diatonic steps from 1 to 36 (each row a line
// or a space); row 14 is the top line of the staff and row 22 the bottom line
// under every clef (treble F5 and E4, bass A3 and G2).
//
// A staff may be paired with a second staff (a treble and a bass staff shown
// and edited as one grand staff): the partner pointer. It is not owned and not
// stored; line groups restore it after a load. Each staff also remembers which
// staves point at it, so that deleting either staff of a pair (or of a pairing
// left one-sided) never leaves a pointer to a deleted line behind.
//
// The class's jobs are split over several files: KStaffLine.cpp
// (construction, partner, the edit and text slots), KStaffLineSerialize.cpp
// (the file record), KStaffLinePitch.cpp (pitch and row mapping and moving a
// note by one row) and KStaffLineDraw.cpp (drawing).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/KListLine.h"

class CArchive;
class CDC;
class KChord;
class KRhythmLine;
class KSpeedLine;
class KTabLine;

// Makes the plain-text writer of staff lines return their ABC text (the sixth
// number of the "TextFiles" preference; 0 by default). Set by the preference
// reader.
extern int g_staffTextAsAbc;
// Restores the start value above (tests call it).
void ResetStaffLineServices();
// Lets the string choice raise the notes of a bass staff by one or two octaves
// onto a tablature line that is not a bass tablature while they lie below its
// lowest open string (a number of the "Translation" preference; 1 by default).
// Set by the preference reader.
extern int g_shiftBassIntoTabRange;
// The ABC unit note length in ticks (480 per quarter note), shared by the ABC
// reader and writer: a meter either of them handles resets it (240, or 120 for
// a meter below 3/4). 240 at start.
extern int g_abcUnitLength;
// A slur of a staff line that runs on into the next line is written as "("
// on the line and ")" on the next one. The number of slurs the line written
// last left open, and whether another staff line of the same tune follows
// the one being written (set by the tune's writer; without it a line closes
// its own slurs). 0 and false at start.
extern int g_abcSlursOpen;
extern bool g_abcLineFollows;
// The ABC name of a key-signature index ("G", "Bb", "Cb"); C outside 0..15.
std::string AbcKeyName(int key);
// The clef clause of an ABC key field for a staff kind (" clef=bass"), empty
// for the treble staff.
std::string AbcClefClause(int kind);
// The rows by which ABC letters are moved on a staff of the kind: ABC names
// the notes of the bass, alto and tenor staves at their pitch (a staff row
// is the treble row less this), and those of the octave trebles at the treble
// staff's rows, which the clef sounds an octave away.
int AbcNamingRowOffset(int kind);

class KStaffLine : public KListLine {
  DECLARE_SERIAL(KStaffLine);

 public:
  // The rows a note may stand on.
  static constexpr int kFirstRow = 1;
  static constexpr int kLastRow = 36;
  // Pitch numbers are MIDI note numbers less this.
  static constexpr int kPitchToMidi = 20;
  // Accidental kinds of PitchToRow.
  static constexpr int kNoAccidental = 0;
  static constexpr int kSharp = 1;
  static constexpr int kFlat = 2;
  static constexpr int kNatural = 3;
  // Arrow keys of MoveNoteOneStep.
  static constexpr int kKeyUp = 38;
  static constexpr int kKeyDown = 40;

  // The factory's line: a treble staff, key 0, flags 0, the default indent of
  // new lines.
  KStaffLine();
  // A staff of the kind with that key signature (also the layout key) and flag
  // word, natural length, no group, and its drawing cache.
  KStaffLine(int type, int key, DWORD flags);
  // A staff made from another note line (the translate commands): its kind,
  // its key at column 0, staff length, label name (without the part after the
  // label separator), flag word, indent and a copy of every column (stored
  // stem values kept) and attachment; the spaces of new staff lines. A
  // tablature source keeps its kind and cells here; the command converts them.
  explicit KStaffLine(const KListLine& source);
  // Unhooks every staff that points at this one, then the list line's part
  // deletes the drawing cache, the columns and the attachments.
  ~KStaffLine() override;

  // The row offset of a staff kind (0 for kinds that have none).
  static int RowOffset(int type);
  static bool IsStaffKind(int type);
  // The row on which engraving puts a rest of the code (14 whole .. 20 64th)
  // that nobody placed: a whole rest hangs from the fourth line (row 16), the
  // others sit on the middle of the staff (row 18, a half rest on the middle
  // line). -1 for a code that is not a rest.
  static int RestRow(int code);
  static constexpr int kFirstRest = 14;
  static constexpr int kLastRest = 20;

  // ---- Partner staff -------------------------------------------------------------
  // Stores the partner (null unpairs) and gives a partner that lacks it the
  // paired-staff flag 0x4. One-way: the caller sets both sides.
  void SetPartner(KStaffLine* line);
  KStaffLine* GetPartner() const { return m_partner; }
  // The line group's way to pair staves: SetPartner with the line when it is
  // a staff line, else with null.
  void SetPartnerStaff(KListLine* partner) override;

  // The drawing cache; null only when someone replaced it with another line.
  KSpeedLine* GetSpeedLine() const;

  // ---- Pitch and row mapping (KStaffLinePitch.cpp) ------------------------------
  // The pitch number (MIDI note - 20) that a note on the row sounds at the
  // column under the clef, the key in force and the accidentals written on
  // that row earlier in the bar; column -1: the key of column 0 and no bar
  // accidentals. -1 for a line that is not a staff and for a row whose
  // natural pitch lies outside 6..80.
  int GetPitchAtRow(int row, int column) const;
  // The same, for the column of the list node `at` (a walk that already
  // holds the node need not find the column from the line's end).
  int GetPitchAtRow(int row, int column, POSITION at) const;
  // The same, given the accidental written on the row earlier in the bar
  // (a BarAccidentalOfCode value, 0 for none): for walks that keep the bar's
  // accidentals as they go instead of searching back for each note.
  int PitchAtRowWithBar(int row, int column, int barAccidental) const;
  // What an accidental symbol code does to the notes after it on its row in
  // the bar: 1 / 2 / -1 / -2 for sharp, double sharp, flat, double flat,
  // kBarNatural for a natural, 0 for a code that is not an accidental.
  static constexpr int kBarNatural = 100;
  static int BarAccidentalOfCode(int code);
  // The natural pitch number of a row under the clef of a staff kind (no key,
  // no accidental); it may lie outside 6..80.
  static int NaturalPitchAtRow(int type, int row);
  // The row of this staff on which a MIDI note is written at the column, and
  // through accidental the sign to write before it: kNoAccidental when the
  // key or an accidental earlier in the bar already gives the row that pitch,
  // else kSharp, kNatural or (only to restore a flat of the key after another
  // accidental on the row in the bar) kFlat. key -1: the key in force at the
  // column. A black key is written on the row of the natural below it (as a
  // sharp), or in a flat key on the row above it when the key flattens that
  // note. The row may lie outside 1..36 for notes the staff cannot show;
  // callers check the range.
  int PitchToRow(int midiNote, int column, int& accidental, int key) const;
  // Moves one note of the column at exactly `column` one row up (kKeyUp) or
  // down (kKeyDown) keeping its pitch: writes the accidental the new row
  // needs, or none when the new row already sounds it, and takes along the
  // other entries of the old row. Returns the first column to redraw, or -1
  // when nothing was done.
  int MoveNoteOneStep(int column, int row, int arrowKey, int sizeIndex);
  // Gives the notes of the column at `column` the pitches that the same rows
  // have at sourceColumn of `source` (a staff of the same kind, for example
  // the copied notes under the key they were copied from): a note whose row
  // sounds otherwise here gets the accidental that restores its pitch, and a
  // sign the row no longer needs goes. Staves of other kinds change nothing.
  void KeepPitchesOf(const KStaffLine& source, int sourceColumn, int column);

  // ---- String choice for tablature (KStaffLineChooseString.cpp) -----------------
  // The string row on which the tablature line (null: the current tuning)
  // plays the note or symbol `code` written on staffRow of this staff at the
  // column, and through fretCode the fret code (226 + fret, the fret's place
  // in a fret list) that plays the note there; -1 with a beep when none can.
  // A staff row of 1000 (a whole column) answers 1000. Notes go to a string
  // not taken by a fret of `taken` (null: none taken), nearest at or above the
  // hand position, which comes from positionCode (1000 and up: code / 1000 - 1;
  // 0..20: that fret; otherwise the fret statistics of the tablature line
  // around the column); wantedString 1..8 asks for that string when it can
  // play the note. The delete code and other symbols go to the string of
  // `taken` that sounds the row's pitch (the delete code only there). Rests,
  // marks above the strings and some flagged symbols have rows of their own;
  // flagged half and quarter heads come back through code as notes 10 and 8.
  int ChooseTabString(const KTabLine* tab, int& code, int column, int staffRow, int positionCode,
                      int wantedString, const KChord* taken, int& fretCode) const;
  // ChooseTabString without the beep: for callers that report a refusal
  // themselves (the column conversion).
  int FindTabString(const KTabLine* tab, int& code, int column, int staffRow, int positionCode,
                    int wantedString, const KChord* taken, int& fretCode) const;

  // ---- Slots ------------------------------------------------------------------------
  // Key entry: the note-entry editor at the caret cell, every argument passed
  // on unchanged (KListLine::EditNoteAt).
  KLinePair HandleKey(int code, int subCode, int sizeIndex, int column, int row, int beamFlag, int replace,
                      int removeMode) override;
  // Deletes at the caret: the delete code typed at the column and row.
  KLinePair DeleteAtCaret(int column, int row, int sizeIndex, int extra) override;
  // A symbol entered on a tablature line mirrored onto this staff
  // (KStaffLineKeys.cpp): treble tablature onto a treble staff, bass
  // tablature onto a bass staff. x is the pixel x on the tablature line, y the
  // string row (or a code from 10000 up, or 1000, passed on unchanged). A fret
  // becomes the note value of rhythmCode, with the accidental it needs first.
  // (1, -1) when nothing changed.
  KLinePair EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y, int arg7,
                        int arg8, int packed) override;
  // Puts a note column at the column (refuses other objects with (0, -1),
  // which leaves them with the caller).
  KLinePair InsertObj(CObject* object, int sizeIndex, int column, const int* beamFlags, int replace) override;
  // Puts a copy of a note column (computed stems dropped) at the column.
  KLinePair InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                       int replace) override;
  // With g_staffTextAsAbc the line's ABC text; otherwise an empty text.
  std::optional<CString> WriteText(int from, int to, int mode) override;
  // The line as ABC text (KStaffLineAbc.cpp): meter and tempo header lines,
  // then one line of notes, rests, chords, bars and decorations, each line
  // ended by "\r\n"; none for a line without columns. Updates g_abcUnitLength.
  std::optional<CString> WriteAbc() override;
  // Brings the drawing cache up to date, renders the columns from the one
  // under redrawX on, then draws the attachments (KStaffLineDraw.cpp). Of the
  // view values, view6, view7, view8 and view10 go to the cache's Render.
  void Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int view6, int view7, int view8,
            int view9, int view10) override;
  // A transposed copy of the columns first..last (KStaffLineTranspose.cpp):
  // the notes move by the interval from the staff's key to the key of list
  // index targetKey (direction 1 down, 2 nearest, other up) and are spelled
  // for that key; a last column from 31000 on (the whole line) also gives the
  // copy that key. Symbols and attachments of kinds 0..2 follow the notes.
  std::unique_ptr<KLineObj> Transpose(int first, int last, int keySwitch, int targetKey, int sourceKey,
                                      int direction, int keepHand, int sizeIndex, int handPosition) override;
  // The key list of transposition: list index -> key code and pitch class
  // (A flat 0), and key code -> list index (-1 outside 0..15).
  static constexpr int kKeyListSize = 15;
  static int KeyCodeOfListIndex(int index);
  static int PitchClassOfListIndex(int index);
  static int ListIndexOfKeyCode(int key);

  // ---- Translations (KStaffLineTranslate.cpp) -----------------------------------
  // A new line of another kind (staff kinds: ConvertToClef; 2: ConvertToTab
  // with the tuning text and default hand position; 3: ConvertToRhythm);
  // null for the staff's own kind and kinds without a translation.
  std::unique_ptr<KLineObj> TranslateTo(int arg1, int kind, int textMode, int sizeIndex, int fontNumber,
                                        CString text, int defaultPosition) override;
  // The same music under another clef; null for kinds 13, 16, the own kind
  // and kinds that are not staves.
  std::unique_ptr<KStaffLine> ConvertToClef(int newKind, int sizeIndex) const;
  // Tablature with the tuning (hand-position marks among the attachments keep
  // the fingering in their positions); null for staves without a pitch clef.
  std::unique_ptr<KTabLine> ConvertToTab(int sizeIndex, const CString& tuning, int defaultPosition);
  // A rhythm line of the note values.
  std::unique_ptr<KRhythmLine> ConvertToRhythm(int sizeIndex) const;

  // A staff line's record is exactly the list line's record under its own
  // class name. Loading repairs the pairing marks of older files and brings
  // the drawing cache up to date.
  void Serialize(CArchive& ar) override;
  // A staff line holds note columns only, whatever kind a file claims.
  const CRuntimeClass* GetObjClass() const override;
  // The empty staff of a split: this kind and flag word, the key at the column.
  std::unique_ptr<KListLine> CloneEmpty(int column) override {
    return std::make_unique<KStaffLine>(m_type, GetKeySignatureAt(column), m_flags);
  }

 protected:
  // Unpairs this staff and its partner on both sides; returns the former
  // partner.
  KListLine* UnhookPartner() override;

 private:
  // Builds the drawing cache from the line's current settings.
  void MakeSpeedLine();
  // The accidental written on the row in the bar up to the column, as
  // BarAccidentalOfCode gives it (0 for none).
  int BarAccidental(int row, int column) const;
  // The row a MIDI note is spelled on under the key (0..15), as PitchToRow
  // writes it, without looking for its sign.
  int SpelledRow(int midiNote, int key) const;
  // From the list node `from` backward.
  int BarAccidentalFrom(int row, int column, POSITION from) const;
  // The key in force at a column (column 0 for a negative one), kept in 0..15.
  int KeyAt(int column) const;
  // Stems whose beam group passes through the column's node are computed
  // again for both voices (after a note of the column moved).
  void RestemBeamGroups(POSITION node, int sizeIndex);
  void Unpoint(KStaffLine* line);

  KStaffLine* m_partner = nullptr;
  // The staves whose partner is this one.
  std::vector<KStaffLine*> m_pointedBy;
};
