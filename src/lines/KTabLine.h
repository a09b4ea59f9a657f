#pragma once
// KTabLine: a line of fretted-instrument tablature. Its columns are KChord
// objects holding, per note, a string row and a fret code (226 = fret 0 to
// 250 = fret 24); its strings, open-string pitches and fret layout all come
// from one tuning string (TuningCodec.h). It covers guitar-like tablature
// (kind 2) and bass tablature (kind 15), 2 to 8 strings, and fret lists of
// instruments with diatonic or half frets. Every tablature line owns a drawing
// cache (KSpeedLine) as its linked line.
//
// String rows: row r is entry r - 2 of the open-string pitch array (entry 0
// the highest of six strings, entry 5 the lowest, entries 6 and 7 the seventh
// and eighth strings). Six strings use rows 2..7, seven 2..8, eight 2..9;
// fewer than six start at row 3 (entry 0 holds no string) and end at row
// string count + 2.
//
// Pitches are open-string pitch + fret map value: the fret map turns a fret
// index into semitones above the open string, and a tuning with a fret list
// (a map that differs from the identity) turns semitones back into a fret only
// where the list has one (FindFretIndex).
//
// The class's jobs are split over several files: KTabLine.cpp (construction,
// the fields derived from the tuning and the accessors), KTabLineSerialize.cpp
// (the line record with the repairs of older tuning forms and stem ends),
// KTabLineRetune.cpp (SetTuning with and without carrying the notes over),
// KTabLineHand.cpp (re-fingering at a hand position and the hand position a
// column uses), KTabLineDraw.cpp (drawing), KTabLineKeys.cpp (key entry at the
// caret, insertion, moving a note to the next string),
// KTabLineKeysSymbol.cpp (symbols from the toolbox, the fretboard or a staff),
// KTabLineTranspose.cpp (transposition), KTabLineText.cpp (plain-text
// tablature and its ABC form) and KTabLineTranslate.cpp (translation into
// staff, rhythm and text lines).

#include <cstdint>
#include <memory>

#include "common/TuningCodec.h"
#include "model/KListLine.h"
#include "platform/CString.h"

class KChord;
class KSpeedLine;

class KTabLine : public KListLine {
  DECLARE_SERIAL(KTabLine);

 public:
  static constexpr int kKindTab = 2;
  static constexpr int kKindBassTab = 15;
  // Flag bits of the tablature line.
  static constexpr DWORD kFlagBass = 0x20;          // bass tablature (kind 15)
  static constexpr DWORD kFlagFewStrings = 0x40;    // fewer than 5 strings (set when stored)
  static constexpr DWORD kFlagFiveStrings = 0x80;   // exactly 5 strings (set when stored)
  static constexpr DWORD kFlagAltTuning = 0x40000;  // string names drawn at the line start
  // The first and last string row (GetStringRowLimit).
  static constexpr int kFirstRow = 1;
  static constexpr int kLastRow = 2;

  // Archive creation: key 0, no flags, the standard guitar tuning.
  KTabLine();
  // Kind 15 when flags hold kFlagBass, else 2. A tuning other than the
  // standard and the default bass tuning adds kFlagAltTuning when the
  // preference asks for it; 7 and 8 strings may widen the space below.
  KTabLine(int keySignature, const CString& tuning, DWORD flags);
  ~KTabLine() override;

  // ---- The tuning and what it gives ---------------------------------------------
  CString GetTuning() const { return m_tuning; }
  int GetStringCount() const override { return m_stringCount; }
  // The highest fret, 0..24.
  int GetFretCount() const { return m_fretCount; }
  const FretMap& GetFretMap() const { return m_fretMap; }
  // 1 when the fret list is a known half-fret list and frets show as labels.
  int HasFretLabels() const { return m_hasFretLabels; }
  // The text shown for fret 0..24 ("" outside).
  const CString& GetFretLabel(int fret) const;
  // which = kFirstRow: the first string row; otherwise the last one.
  int GetStringRowLimit(int which) const;
  // The string row in the middle of the strings on which a rest stands that
  // nobody placed (by the string count: row 4 on six strings).
  int GetRestRow() const;
  static int RestRowOfStrings(int stringCount);
  // The open-string pitches from the tuning and the flag word; kNoString
  // marks a place without a string.
  void GetStringPitches(TuningPitches& pitches) const;
  // The fret (0..24) of the note on the string row in the column exactly at
  // `column`; -2 when the row holds a rest (codes 14..20) instead; -1 when there
  // is no column there or no note on the row.
  int GetFretOnString(int column, int row) const;
  // Open-string pitch of the row + fret map value of the fret code; -1 for a
  // row outside the strings, a code that is not a fret, a fret above the fret
  // count or a pitch above 80 (and on a line that is not tablature).
  int GetPitchAt(int row, int code) const;

  // ---- Retuning, re-fingering and hand positions -----------------------------
  // Gives the line another tuning. bassRequest 1 (or a "*" at index 12 of the
  // tuning) makes it a bass tablature line. remap 0: the line itself takes the
  // tuning, its frets staying where they are (notes on strings the tuning no
  // longer has are removed), and the result is null. remap nonzero: the line is
  // left as it is and a new line (owned by the caller) holds every note at its
  // pitch on the strings of the new tuning. The last two values belong to the
  // tuning command and are not read.
  std::unique_ptr<KTabLine> SetTuning(int bassRequest, const CString& tuning, int remap, int arg4 = 0,
                                      int arg5 = 0);
  // Plays the notes of the columns first <= pos < limit at the hand position
  // (a fret): each note moves to the string on which it lies at or just above
  // the hand. keepOpen leaves open strings alone. Returns the first column to
  // redraw, or -1 for a line without objects.
  int MoveToFretPosition(int first, int limit, int handPosition, int keepOpen);
  // Of the nearest column at or before the column that holds frets: mode 0 the
  // lowest fret (0 when none), 1 the average fret (open strings left out when
  // the lowest fretted fret is 6 or more; 0 when none), 2 the highest (-1 when none).
  int GetFretPositionStat(int column, int mode) const;
  // Where the hand has been playing up to the column: the lowest and the
  // highest fretted (non-open) fret of the nearest earlier columns (the column
  // itself included) that one hand reaches together, at most kHandReach frets
  // apart, walking back over at most kRecentColumns columns with frets. False,
  // and nothing written, when those columns hold no fretted note.
  bool GetRecentFretRange(int column, int& lowest, int& highest) const;
  static constexpr int kHandReach = 4;
  static constexpr int kRecentColumns = 8;

  // ---- Transposition (KTabLineTranspose.cpp) --------------------------------------
  // A copy of the line (owned by the caller) whose fretted notes in the columns
  // first..last (last 31000 or more: to the end) sound shifted from the source
  // key to the target key (key numbers 0..15; in a line group the source key
  // is the line's own), each column fingered again near the hand position
  // (a fret, negative for none; lowered by 2 unless keepHand). direction 1
  // goes down, 2 the nearer way, others up; equal keys shift an octave. A
  // keySwitch below 31000 gives the copy the target key's signature. Notes
  // that no string can reach are dropped. Null for a key number outside 0..15.
  std::unique_ptr<KLineObj> Transpose(int first, int last, int keySwitch, int targetKey, int sourceKey,
                                      int direction, int keepHand, int arg8, int handPosition) override;

  // ---- Plain-text tablature (KTabLineText.cpp) -----------------------------------
  // The columns from..to as plain-text tablature, one text row per string and
  // each row ended by "\r\n". mode: 0 basic symbols, 1 familiar symbols, 2
  // every keyboard character; plus 10 for the ABC comment form (each row
  // begins with "N: ").
  std::optional<CString> WriteText(int from, int to, int mode) override;
  // The whole line in the ABC comment form with the program-wide detail mode.
  std::optional<CString> WriteAbc() override;

  // ---- Translation (KTabLineTranslate.cpp) ---------------------------------------
  // kind 0: a treble staff (a bass staff for a bass tuning), 1: a bass staff,
  // 3: a rhythm line, 5: a text line holding the plain-text tablature in the
  // text mode; null for any other kind. The line itself is not changed.
  std::unique_ptr<KLineObj> TranslateTo(int arg1, int kind, int textMode, int sizeIndex, int fontNumber,
                                        CString text, int arg7) override;
  // A staff of the kind (0 treble, 1 bass) showing the pitches of the line.
  std::unique_ptr<KLineObj> ConvertToStaff(int kind, int arg2) const;
  // A rhythm line showing the rhythm of the columns at the size index.
  std::unique_ptr<KLineObj> ConvertToRhythm(int sizeIndex) const;
  // The treble-staff row of the cell (code on the string row of the column
  // object `cell` at `column`) under the key signature, and through accidental
  // the sign it needs (0 none, 1 sharp, 2 flat, 3 natural); 1000 for the
  // string row 1000, -1 when the cell has no staff row.
  int TabCellToStaffRow(int& accidental, int code, int column, int row, const KChord& cell, int key) const;

  // ---- Line slots ---------------------------------------------------------------
  // top: the line's top y; redrawX: the left edge of the area to redraw;
  // originX: the line's x origin; view6: the view's drawing mode (an even
  // value leaves attachments of kind 2 out); view7..view10 go to the cache.
  void Draw(CDC* dc, int top, int redrawX, int sizeIndex, int originX, int view6, int view7, int view8,
            int view9, int view10) override;
  void Serialize(CArchive& ar) override;
  // The empty tablature of a split: this flag word and tuning, the key at the column.
  std::unique_ptr<KListLine> CloneEmpty(int column) override {
    return std::make_unique<KTabLine>(GetKeySignatureAt(column), m_tuning, m_flags);
  }

  // ---- Key and symbol entry (KTabLineKeys.cpp, KTabLineKeysSymbol.cpp) ----------
  // Every refusal answers (0, -1), changes nothing and sounds the asterisk beep.
  // Arrow keys of MoveNoteToNextString.
  static constexpr int kKeyUp = 38;
  static constexpr int kKeyDown = 40;
  // Modes of HandleKey from this value up replace a fret by the code.
  static constexpr int kReplaceFretMode = 10000;
  // A code at the caret cell (column, string row). Accidentals and the codes
  // 68, 69, 82 and 83 are refused; a duration (below 13) needs a column with
  // notes at the caret and never replaces. A mode below kReplaceFretMode hands
  // the call to the note-entry editor (beamFlag, replace and the mode as its
  // remove mode); from kReplaceFretMode up the first fret on the row of the
  // column at the caret takes the code, answering (1, column).
  KLinePair HandleKey(int code, int subCode, int sizeIndex, int column, int row, int beamFlag, int replace,
                      int mode) override;
  // The delete code at the caret cell (extra is the editor's replace flag).
  KLinePair DeleteAtCaret(int column, int row, int sizeIndex, int extra) override;
  // A symbol from the toolbox, the fretboard (a tablature source or none: x is
  // the column, y the string row) or a staff note of a grouped line (x is the
  // pixel x on the staff, y its staff row; the note goes onto the string that
  // KStaffLine::ChooseTabString chooses). packed % 1000000 is HandleKey's mode.
  KLinePair EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y, int beamFlag,
                        int replace, int packed) override;
  // Puts a note column at the column (other objects are refused and stay
  // with the caller).
  KLinePair InsertObj(CObject* object, int sizeIndex, int column, const int* beamFlags, int replace) override;
  // Puts a copy of a note column (computed stems dropped) at the column.
  KLinePair InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                       int replace) override;
  // Moves the fret note on the row of the column exactly at `column` to the
  // next higher (kKeyUp) or lower (kKeyDown) string at the fret that keeps its
  // pitch, with the other entries of its row. The target string must hold
  // nothing. Returns the first column to redraw, or -1 with nothing changed.
  int MoveNoteToNextString(int column, int row, int key);

  // Files before version 3600 kept beamed stem ends in another form: lays out
  // the stems of each beam group again.
  void ConvertOldStemEnds();

  // The drawing cache; null when it could not be made.
  KSpeedLine* GetDrawingCache() const;

  // The tuning as loaded from an older file, repaired: a lone character or the
  // bare standard names give the standard tuning, other bare names get their
  // pitch numbers (bass from the flag word), and a fret list closed by a second
  // marker loses everything from that marker on.
  static CString RepairLoadedTuning(const CString& tuning, DWORD flags);
  // The string names as the line shows them, two characters per string, lowest
  // first: the tuning's names, with the seventh and eighth string in front
  // (sharp names for an even key, flat names for an odd one), and the short
  // fifth string of a banjo-like tuning named by the pitch it starts at.
  CString GetStringNameText() const;

 private:
  // The steps both constructors share: the drawing cache, the derived fields
  // and the space of 7 and 8 strings.
  void Construct();
  // Recomputes the string count, fret labels, fret map and fret count.
  void DeriveTuningFields();
  // A 7- or 8-string line with little space below gets two string spacings more.
  void WidenSpaceForExtraStrings();
  // The string index (row - 2) range of the tuning.
  int FirstStringIndex() const { return GetStringRowLimit(kFirstRow) - 2; }
  int LastStringIndex() const { return GetStringRowLimit(kLastRow) - 2; }
  // True when the fret map differs from the identity (a fret list).
  bool HasFretList() const;
  // The fret that plays the semitone on a string of this tuning: through the
  // fret list when there is one; -1 when none within the fret count.
  int FretForSemitone(int semitone) const;
  // The same, for a walk that asked HasFretList once for many notes.
  int FretForSemitone(int semitone, bool hasFretList) const;
  // Removes the notes (and the entries of their rows) that stand on rows this
  // tuning has no string for.
  void DropNotesOffStrings();
  // Lays out again the beam groups of both voices that reach into the columns
  // first <= pos < limit (the whole line by default).
  void RelayoutBeams(int first = 0, int limit = INT32_MAX);
  // The column re-fingered at the hand (MoveToFretPosition).
  void RefingerColumn(KChord& column, int handPosition, bool keepOpen);
  // The column of this line carried to the strings of the new line.
  KChord* CarryColumn(const KChord& column, const KTabLine& target) const;
  // Draws the string names in the clef area (KTabLineDraw.cpp).
  // A string name of the tuning takes two characters (a sharp or a flat).
  bool HasWideStringName() const;
  void DrawStringNames(CDC* dc, int x, int y, int sizeIndex) const;
  // HandleKey from kReplaceFretMode up (KTabLineKeys.cpp).
  KLinePair ReplaceFret(int code, int column, int row);
  // A staff note entered on a string that holds another fret: the lower of the
  // two frets goes to the next lower string at the same pitch. False (nothing
  // changed) when that cannot be done (KTabLineKeysSymbol.cpp).
  bool MoveCollidingNote(KChord& column, int row, int newFret, int duration);

  CString m_tuning;
  FretMap m_fretMap{};
  int m_fretCount = 24;
  int m_stringCount = 6;
  int m_hasFretLabels = 0;
  FretLabels m_fretLabels;
};
