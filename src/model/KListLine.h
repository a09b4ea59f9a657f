#pragma once
// KListLine: a line that holds an ordered list of positioned objects: note
// columns (KChord) on staff and tablature lines, chord diagrams on chord lines,
// rhythm symbols (KRhythmObj) on rhythm lines. It adds to KLineObj the object
// list and its operations, the key and time signature of the line start, the
// spacing around the staff, a few layout values kept for the view, the list of
// generated play events, and an owned drawing-cache line that mirrors every
// setting (the setters forward to it).
//
// Invariants of the object list: the objects stand in ascending pos and are
// looked up from the tail; in normal editing at most one object stands at a
// column (a loaded file may hold two). Every change to the list, an object, a
// setting or an attachment sets the changed flag, which makes the drawing
// cache rebuild. Staff and tablature lines hold KChord objects only and rhythm
// lines KRhythmObj objects only; loading refuses any other class.
//
// Units: column widths in pixels by family and size index (0 normal, 1 large):
// staff and tablature 18 / 22, chord 8 / 10. The clef area of a note line is 34
// pixels and one key-signature accidental 5 / 7 pixels. The spaces above and
// below the staff are kept for size index 0 and scale by 33/25 at size 1.
//
// The class's jobs are split over several files: KListLine.cpp (construction,
// settings, length and width), KListLineObjects.cpp (object-list operations),
// KListLineShift.cpp (column shifts), KListLineSerialize.cpp (the line record),
// KListLineSignatures.cpp (key and time signature at a column) and
// KListLineNavigation.cpp (word ranges, word steps, redraw start and the
// column under a pixel).

#include <functional>

#include "model/KLineObj.h"
#include "model/NoteValues.h"
#include "platform/Position.h"

struct CRuntimeClass;
class KChord;
class KMIDIObj;
class KPosObj;
class KRhythmObj;

class KListLine : public KLineObj {
  DECLARE_SERIAL(KListLine);

 public:
  static constexpr int kClefWidth = 34;
  static constexpr int kAccidentalWidth[2] = {5, 7};
  static constexpr int kChordColumnWidth[2] = {8, 10};
  static constexpr int kMaxKey = 15;
  // The widest a line is measured, in pixels: a stored line may hold a
  // column at any position, and the layout adds margins to a width.
  static constexpr int kMaxWidth = 1 << 28;
  static constexpr int kDefaultBeatTicks = ::kDefaultBeatTicks;
  // Columns with a meaning of their own to the signature lookups.
  static constexpr int kWholeLineColumn = 32000;
  static constexpr int kDeriveColumn = 31999;
  // GetNextNoteX when no note lies at or after the pixel.
  static constexpr int kNoNoteX = 11100;
  // The internal delete code of the edit slots.
  static constexpr int kDeleteCode = 32762;

  // Archive creation: empty lists, time signatures (0, 480), play value -1,
  // no cached bar column, no drawing cache, marked changed.
  KListLine();
  // The spaces come from the defaults of new staff or tablature lines by the
  // kind's family (0 and 0 for other lines).
  KListLine(int key, int type, int staffLength, int groupId, DWORD flags);
  // Clears the play events, deletes the drawing cache, the objects and the
  // attachments.
  ~KListLine() override;

  KListLine* AsListLine() override { return this; }

  // ---- Drawing cache ------------------------------------------------------------
  KListLine* GetLinkedLine() const { return m_linked; }
  // Takes ownership of the line's drawing cache (deleting the previous one).
  void SetLinkedLine(KListLine* linked);
  int IsChanged() const { return m_changed; }
  void MarkChanged() { m_changed = 1; }
  void ClearChanged() { m_changed = 0; }

  // ---- Settings that forward to the drawing cache ---------------------------
  void SetStaffLength(int staffLength) override;
  void SetFlagWord(DWORD flags) override;
  // Returns the mask, or the drawing cache's answer.
  DWORD ModifyFlags(DWORD mask, int set) override;
  void SetIndent(int pixels) override;
  // Leaving a group (-1) unpairs a paired staff; a line that is not a treble
  // or bass staff never keeps the pairing bits.
  void SetGroup(int groupId, KLineGroup* group) override;
  // scaled nonzero: the value is in large-size pixels (stored x 25 / 33).
  void SetSpaceAbove(int pixels, int scaled);
  void SetSpaceBelow(int pixels, int scaled);
  // Unless keep is set, the key becomes `key`. The layout key is `key`, or in
  // a group the larger of the line's key and the group's key; above 15 it is 0.
  void SetKeySignature(int key, int groupKey, int keep);

  // ---- Getters ------------------------------------------------------------------
  int GetObjCount() const { return m_objects.GetCount(); }
  CObList* GetObjList() { return &m_objects; }
  const CObList* GetObjList() const { return &m_objects; }
  int GetKey() const { return m_key; }
  int GetLayoutKey() const { return m_layoutKey; }
  int GetSpaceAbove(int sizeIndex) const;
  int GetSpaceBelow(int sizeIndex) const;
  // The room a tablature line keeps under its bottom string, beyond its space
  // below, for what hangs there: the stems and beams of its rhythm, and under
  // them the hairpins that its staff hands it. 0 on other lines. stringStep
  // is the string spacing of the size; the line's height counts five steps of
  // it while its strings lie stringStep + 1 apart.
  int GetMarksRoom(int sizeIndex, int stringStep) const;
  int GetLayoutRow() const { return m_layoutRow; }
  void SetLayoutRow(int row) { m_layoutRow = row; }
  // The four layout values 0..255 kept for the view.
  int GetLayoutByte(int i) const { return i >= 0 && i < 4 ? m_layoutBytes[i] : 0; }
  void SetLayoutByte(int i, int value);
  int GetTimeWord() const { return m_timeWord; }
  int GetWorkValue() const { return m_workValue; }

  // ---- Play events --------------------------------------------------------------
  CObList* GetPlayEvents() { return &m_playEvents; }
  // The playback value that interpreting the line's play texts caches; -1.0
  // until then.
  float GetCachedPlayValue() const { return m_playScale; }
  void SetCachedPlayValue(float value) { m_playScale = value; }
  // Deletes every play event.
  void ClearPlayEvents();
  // Rebuilds the play events of columns first..last from the line's notes and play texts. The
  // playback library installs the interpreter (it reads the concrete line kinds); without one the
  // range is only cleared. lineNumber < 0 keeps its message quiet.
  void InterpretTextForPlayback(int lineNumber, float* swingRatio, int firstColumn, int lastColumn);
  using PlayTextInterpreter = void (*)(KListLine& line, int lineNumber, float* swingRatio, int first,
                                       int last);
  static void SetPlayTextInterpreter(PlayTextInterpreter interpreter);
  // Walks the play events of one column; cursor starts null (KListLinePlay.cpp).
  KMIDIObj* GetNextPlayEventAt(int column, POSITION& cursor);
  // The first and last play events of a column span (ties, hairpins, tuplets, octave ranges); a key
  // of 10000 means none, secondKey (10000: none) is a further key accepted at the end. 1 when found.
  int FindPlayEventSpan(int startColumn, POSITION startCursor, int endColumn, POSITION& endCursor,
                        KMIDIObj* pair[2], int endKey, int reserved, int startKey, int secondKey = 10000);

  // ---- Object list (KListLineObjects.cpp) ---------------------------------------
  // Scanning from the tail, the first object at or before the column: returned
  // when it stands at the column or orPrevious is set, else null.
  KPosObj* GetObjAt(int column, int orPrevious) const;
  POSITION FindNodeAt(int column, int orPrevious) const;
  // The node of the last object before the column; null when none is.
  POSITION FindNodeBefore(int column) const;
  // Deletes every object and attachment at or after the column.
  void DeleteObjsFrom(int column);
  // Takes ownership of the object and puts it at the column: with replace set
  // the column is first cleared through HandleKey (the delete code); otherwise
  // the columns from the column on move one to the right first. Returns
  // (1, first column to redraw); (0, -1) refuses a null object.
  KLinePair InsertObjAt(KPosObj* object, int sizeIndex, int column, const int* beamFlags, int replace);
  // Staff and tablature lines absorb a positive shift in the empty columns
  // before the next bar column and close up before it for a negative one; other
  // lines move every object from the column on. Unless mode is negative
  // (insertion and paste, which look after each line), the note lines of the
  // line's group that share its bracket number shift with it while every
  // g_alignOptions value is 0 (KListLineShift.cpp). Returns the first column
  // to redraw, or -1 for an empty line, a delta of 0 or a refused shift (one
  // that would put an object of any of the lines on or before its neighbour
  // or below column 0; then no line changes).
  int ShiftColumns(int first, int delta, int mode) override;
  // Caches the last bar column (from the tail) of staff and tablature lines.
  void UpdateTimeSigCache();
  POSITION GetTimeSigNode() const { return m_timeSigNode; }
  int GetTimeSigColumn() const { return m_timeSigColumn; }
  void SetTimeSigColumn(int column) { m_timeSigColumn = column; }

  // ---- Length and layout (KListLine.cpp) ---------------------------------------
  int GetLength() override;
  int GetWidth(int sizeIndex, int mode, CDC* dc, int option) override;
  // How far the staff lines or strings run, in pixels, at a column width:
  // the fixed staff length or the columns, whichever is longer; a line with
  // no fixed length runs `spare` pixels past its columns. Held to kMaxWidth
  // whatever length or column position a stored line holds.
  int RunWidth(int columnWidth, int spare);
  // The clef area and the key signature of note lines; 0 on other lines.
  int GetLeadInWidth(int sizeIndex) const;
  // Takes the other line's staff length, indent, spaces and its key at column
  // 0; the time signature starts unset.
  void CopyLayoutFrom(KListLine& other);
  // Transposition is made by the staff, tablature and chord lines.
  virtual std::unique_ptr<KLineObj> Transpose(int first, int last, int keySwitch, int targetKey,
                                              int sourceKey, int direction, int keepHand, int arg8,
                                              int handPosition);

  // ---- Line frame (KListLineDrawNotes.cpp) ----------------------------------------
  // Flag of DrawNotes: the word "TAB" is not drawn at the start of a tablature line.
  static constexpr DWORD kFrameNoTabWord = 0x200;
  // Flag of DrawNotes: the word "TAB" stands at the right of the clef area,
  // leaving its left part to the string names of a retuned line.
  static constexpr DWORD kFrameTabWordRight = 0x400;
  // Draws the frame of a staff or tablature line of the kind whose top staff
  // line lies at y (on a tablature line: string row 2, the top string of six
  // strings; fewer strings start one row lower) and whose clef area starts at
  // x (the line's left end, indent included): the five staff lines (6 / 8
  // pixels apart by size index) with the clef of the kind and the key
  // signature, or one line per string (stringCount strings at the tablature
  // string spacing + 1 of the size) with the word "TAB" unless flags hold
  // kFrameNoTabWord; then the opening bar barCode (a bar code of a column, 21
  // single; 0 none) with its first stroke at x. The lines run over width
  // pixels, or when width is not positive over the clef area and the key.
  void DrawNotes(CDC* dc, int kind, int sizeIndex, int x, int y, int key, int width, int barCode, DWORD flags,
                 int stringCount = 6) const;

  // ---- Signatures (KListLineSignatures.cpp) -------------------------------------
  // The key in force at the column: the line's key, or with key changes on the
  // line (flag 0x800) the key of the last key-signature column before it.
  int GetKeySignatureAt(int column) const;
  // The beats and beat length in force at the column; also derives the
  // override from the line's time-signature columns. raw keeps the sign of a
  // derived override.
  void GetTimeSignatureAt(int column, int& beats, int& beatTicks, int raw);
  // initial 0 sets the user override; otherwise the start of the line, after
  // which the override is derived again from the columns.
  void SetTimeSignature(int beats, int beatTicks, int initial);
  int GetStartBeats() const { return m_startBeats; }
  int GetStartBeatTicks() const { return m_startBeatTicks; }
  int GetOverrideBeats() const { return m_overrideBeats; }
  int GetOverrideBeatTicks() const { return m_overrideBeatTicks; }

  // ---- Caret navigation (KListLineNavigation.cpp) -------------------------------
  KLinePair GetWordRange(int column) override;
  int GetWordStep(int view1, int view2, int column, int direction) override;
  // The first column to redraw after a change at the column.
  int FindRedrawStart(int column) const;
  // The column under pixel x: mode 0 takes x as it is, 1 subtracts the lead
  // (indent, and the lead-in on note lines), 2 also `extra`. On rhythm and
  // chord lines a column inside an object goes to its start (rounding 2), to
  // the nearer edge (3) or past it (others).
  int XToColumn(int mode, int x, int sizeIndex, int extra, int rounding) const;
  // The pixel x of the first note column at or after x; kNoNoteX when none.
  int GetNextNoteX(int x, int sizeIndex) const;

  // ---- Note entry and beam groups (KNoteEntry.cpp, KListLineBeams.cpp) ---------
  // The note-entry editor of staff and tablature lines: places, replaces and
  // deletes entries at the caret cell (column, staff step or string row), adds
  // blank columns (32761 one, 32763 a run) or changes the note value of the
  // caret column (a row of 10000 and up), then repairs the beam groups around
  // the column. Returns (caret step, first column to redraw); (0, -1) refuses a
  // call that no note line can take and changes nothing.
  KLinePair EditNoteAt(int code, int subCode, int sizeIndex, int column, int row, int beamFlag, int replace,
                       int removeMode);
  // The nearest columns before and after the column with flags in the voice,
  // not across a bar column or a voice drawn without beam; null when none.
  void FindNeighbours(int column, int voice, POSITION& start, POSITION& end) const;
  // From the node on (20 backwards, 21 forwards): the column that opens or
  // closes its group, or an unbeamed flagged column; null at a bar, a voice
  // drawn without beam, or the end of the list.
  POSITION FindBeamGroupEdge(POSITION node, int voice, int direction) const;
  // Resets the group values of the voice from `first` towards `last` (which
  // is not visited); without `last` ahead, to the end of first's group.
  void ClearBeamRange(POSITION first, POSITION last, int voice, int direction);
  // One node leaves every group; two or more are beamed (BeamRange).
  void ApplyToNodeRange(POSITION first, POSITION last, int voice, int sizeIndex);
  // Beams the flagged columns of the range as one group (32 at most each,
  // message 7060 when broken up; a bar column ends a group).
  void BeamRange(POSITION first, POSITION last, int voice, int sizeIndex);

  // ---- What rhythm and chord lines answer -----------------------------------
  // Pixel width of one blank of a rhythm line's font; -1 while not measured.
  virtual int GetColumnWidth() const { return -1; }
  // Measures a rhythm line's items (their widths and the column width).
  virtual void MeasureSymbols(CDC* dc, int fontIndex) {}
  // The caret column under pixel x on a rhythm line.
  virtual int GetColumnAtX(CDC* dc, int mode, int x, int fontIndex, int extra, int rounding);
  // The list that receives the items of a rhythm line from a file older than
  // version 3900; null when the line keeps none (they then go to the objects).
  virtual CObList* GetOldSymbolList() { return nullptr; }
  // The pixel width of a chord-line object (a diagram); 0 by default.
  virtual int GetDiagramWidth(const KPosObj& object) const { return 0; }
  // The class every object of the list must be (or derive from) when loaded:
  // KChord on staff and tablature lines, KRhythmObj on rhythm lines, KPosObj on
  // the others.
  virtual const CRuntimeClass* GetObjClass() const;

  // ---- What staff and tablature lines answer to their line group ---------------
  // Links a staff to the other staff of its grand-staff pair (null unlinks);
  // one side only, the caller links both. Staff lines keep the link.
  virtual void SetPartnerStaff(KListLine* partner) {}
  // The number of strings of a tablature line's tuning; 6 on other lines.
  virtual int GetStringCount() const { return 6; }
  // Unpairs a paired staff from its partner on both sides (the document's
  // line removal); returns the former partner, null when there is none.
  KListLine* ReleasePartner() { return UnhookPartner(); }

  // ---- Commands over a selected range (KListLineRange.cpp) --------------------
  // Pixel ranges [x1, x2) become columns as the view draws them (rhythm lines:
  // SetNoteValueInRange takes columns). Sets the note value 0..12 of every
  // note of the range; when both voices are present it asks askVoiceMode how
  // (one of the kVoiceMode values, 0 to cancel; without a question both
  // voices change). Returns (last edit result, first column to redraw),
  // (0, -1) when nothing changed.
  static constexpr int kVoiceModeBoth = 1000;  // both voices take the value's orientation
  static constexpr int kVoiceModeSame = 2000;  // only the notes of the value's orientation change
  static constexpr int kVoiceModeKeep = 3000;  // both change, each keeping its orientation
  using VoiceModeQuestion = std::function<int()>;
  KLinePair SetNoteValueInRange(int x1, int x2, int value, int sizeIndex, int extra,
                                const VoiceModeQuestion& askVoiceMode = {});
  // Note lines: every column of the range with a duration takes the style.
  void SetNoteStyleInRange(int x1, int x2, int style, int sizeIndex, int extra);
  // Note lines: ties the notes that consecutive note columns of [first, end)
  // share ('n' puts single-note ties above); beeps when it made none.
  void TieNotesInRange(int letter, int first, int end);

  // ---- The line among its group's lines (KListLineGroupParts.cpp) -------------
  // The note line of the group bracketed with this one: its partner of the
  // other notation family first, else another note line of its bracket.
  // With `other` given: `other` when it shares this line's bracket, else
  // null. Null when the line is no staff or tablature line, is in no group or
  // has no bracket. flag is kept for the callers and not read.
  KListLine* AlignWithGroup(KListLine* other, int flag) const;
  // Before the columns are spaced again: the tie codes 32..35 of staff and
  // tablature columns, whose reach is counted in columns, become tie
  // attachments anchored at their columns, which move with them.
  void EvenOutColumnOffsets();
  // Closes up the empty columns in front of the first object of a staff,
  // tablature or chord line (this line only, not its group); returns how
  // many columns went.
  int RemoveLeadingSpace();

  // ---- Even spacing (KListLineSpacing.cpp) -------------------------------------
  // Note lines: the tie codes 32..35 of the columns become tie attachments.
  void ConvertTieCodes();
  // Note lines: deletes the empty columns before and between the objects.
  void CloseUpEmptyColumns();

  // ---- Automatic beaming and measure timing (KListLineAutoBeam.cpp) ----------
  // 1 when a note of the code entered at the column joins the beam before it:
  // when it starts inside a beat of the automatic beaming mode, by the line's
  // time (tuplets included).
  int ShouldBeamWithPrevious(int mode, int code, int column, int tabDuration);
  // Groups the flagged columns of the bars holding [firstColumn, lastColumn]
  // again by the beats of the mode, by the line's time: after a tuplet
  // bracket changes when its notes start. Mode 0 changes nothing. Returns
  // the first column whose beams changed, or -1.
  int RegroupBeamsByBeat(int firstColumn, int lastColumn, int mode, int sizeIndex);
  // 1 to go on with entering the symbol, 0 when the user refused it after a
  // timing warning. outCode and outColumn receive the code and column to enter.
  int CheckMeasureTiming(int code, int column, int position, int tabDuration, int& outCode, int& outColumn,
                         int ticksOverride);

  // ---- Typed entry helpers (KListLinePrevious.cpp) ------------------------------
  // Automatic bar insertion: the codes to enter for a note typed at the
  // column (row, code; on tablature lines tabDuration is the fret's duration)
  // in a time of beats x beatTicks: the note itself, then bar code 21 one
  // column on when the note completes its measure at the end of the line.
  // Returns how many codes were written to codes/columns (1 or 2); 0 when the
  // user refused a note that breaks the measure's timing.
  int EnterPreviousNote(int sizeIndex, int row, int code, int column, int tabDuration, int beats,
                        int beatTicks, int codes[2], int columns[2]);
  // Auto-join note clusters: the cluster state for a note of the code typed
  // at the column under beam grouping mode (1..6): 1 when it joins the beam of
  // the notes before it, else 0.
  int EnterPreviousChord(int sizeIndex, int code, int column, int tabDuration, int beats, int beatTicks,
                         int mode);

  // ---- Wrap points (KListLineWrap.cpp) -----------------------------------------
  // The column at which to break a line longer than its staff length: the
  // one after the last closing bar line that fits, or a start repeat's own
  // (flags 1 too wide, 2 ends with a bar).
  int GetWrapFlags(int& flags);
  // How many leading columns fit the width, up to and including the last
  // closing bar line that fits (before a start repeat), or -1 (flags 0x80
  // the line opens with a bar, 0x200 content follows).
  int FindWrapColumn(int width, int& flags);

  // ---- Rests after recording (KListLineRests.cpp) ------------------------------
  // Merges the runs of rest columns at or before the column into the fewest
  // rests; returns the bar column where it stopped (0 when none).
  int MergeRests(int column, int acrossBars);

  // ---- Splitting, arrow-key moves, bar numbers -----------------------------------
  // (KListLineSplit.cpp) A new line of the same kind and settings holding the
  // objects and attachments from the column on, renumbered from column 0 (see
  // the file for the bar flag, beams and ties at the cut); null, with nothing
  // changed, when the line kind cannot make its empty copy.
  std::unique_ptr<KLineObj> SplitAt(int column, int arg2, int barFlag) override;
  // The empty line of the same class and settings that a split at the column
  // fills, owned by the caller; null from a line class that cannot make one.
  virtual std::unique_ptr<KListLine> CloneEmpty(int /*column*/) { return nullptr; }
  // Chord lines recompute the rows their diagrams take; nothing elsewhere.
  virtual void UpdateDiagramRows() {}
  // (KListLineArrows.cpp) Slot 26: the attachment at the caret cell, else the
  // column's notes on the row (up, down) or the columns (left, right).
  int MoveByArrowKey(int column, int row, int key, int sizeIndex) override;
  // Note lines: every note of the columns first <= pos < end and the
  // attachments there one row up (key 38) or down (other keys). Returns the
  // first column to redraw, -1 when nothing moved, 0 on other lines.
  int MoveNotesByArrowKey(int first, int end, int key, int sizeIndex);
  // The display nudge of the note at the position of the column exactly at
  // `column`: 1 when it moved, 0 when there is no column or it is at its limit.
  int NudgeNoteAt(int column, int position, int key);
  // (KListLineBarNumbers.cpp) Mode 2000: (number of the bar holding the
  // column target, last marked bar column); 2001: (column at which bar
  // `target` starts, ...); other modes: (pos of the last column, ...).
  KLinePair CountBars(int mode, int target);

  void Serialize(CArchive& ar) override;

 protected:
  // Stores this line's record with storedLabel written in place of the label,
  // for the line kinds that carry their own data in the label; the label
  // itself is kept whether the store succeeds or throws.
  void StoreWithLabel(CArchive& ar, const CString& storedLabel);
  // Unhooks a paired staff from its partner on both sides and returns the
  // former partner (a staff line's job); null when there is none.
  virtual KListLine* UnhookPartner() { return nullptr; }
  // The column unit of a rhythm line: its measured column width, or 4.
  int RhythmColumnUnit() const;
  // The column width of the line's family and size index (staff and
  // tablature 18 / 22, chord 8 / 10); 0 on other lines.
  int ColumnWidth(int sizeIndex) const;
  // The columns an object spans: rhythm 1, or 2 for codes 223..249; chord
  // lines (diagram width + 7) / 8; 1 on the others.
  int ObjectSpan(const KPosObj& object) const;

  CObList m_objects{10};
  int m_key = 0;
  int m_layoutRow = -1;
  int m_timeWord = 0;
  int m_spaceAbove = 0;
  int m_spaceBelow = 0;
  int m_layoutBytes[4] = {0, 0, 0, 0};
  int m_layoutKey = 0;
  int m_startBeats = 0;
  int m_startBeatTicks = kDefaultBeatTicks;
  int m_overrideBeats = 0;
  int m_overrideBeatTicks = kDefaultBeatTicks;
  float m_playScale = -1.0f;
  POSITION m_timeSigNode = nullptr;
  CObList m_playEvents{10};
  int m_workValue = 0;
  int m_timeSigColumn = -1;
  KListLine* m_linked = nullptr;
  int m_changed = 1;

 private:
  friend class KNoteEntry;
  // Re-evaluates the beam groups of both voices around a column that was just
  // inserted; returns the first column that changed (INT_MAX when none).
  int RebeamAfterInsert(POSITION node, int sizeIndex, const int* beamFlags);
  // Reads a list of objects of the expected class into `into` (appending);
  // on failure the objects read so far are deleted and the list is unchanged.
  static void LoadObjects(CArchive& ar, CObList& into, const CRuntimeClass* expected);
  // Drops objects out of order as a load of an older file may leave them.
  void RepairOrder();
  // The family's default spaces of a loaded line without spacing.
  void SetDefaultSpaces();
  // The decoded (beats, ticks) of a time-signature column.
  static void DecodeTimeSignature(const KChord& column, int& beats, int& beatTicks);
};

// The object as a note column or a rhythm item, or null when it is another
// kind of object.
const KChord* AsChord(const CObject* object);
KChord* AsChord(CObject* object);
const KRhythmObj* AsRhythmObj(const CObject* object);

// Preference: drum staves draw the second drum clef (a tall box, 1, the
// start value) instead of the first (0).
extern int g_drumClefOption;
