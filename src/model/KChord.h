#pragma once
// KChord: one column of a staff or tablature line. It holds everything that
// stands at one column position: the notes of a chord, a rest, a bar line, a
// time or key signature, dots, accidentals and marks. Up to 20 entries of four
// bytes each; the same class serves staff and tablature columns, told apart by
// the rhythm code (70 and above: tablature).
//
// Entry bytes:
//   value  staff: the step (half a staff space, 0 highest; the five staff lines
//          on steps 14..22). Tablature: units = string 0..9, tens = the entry's
//          own duration code.
//   code   symbol code modulo 10000 (see the k... constants below)
//   flag   bit 4: the symbol code is 10000 + code; bit 5: placement mark;
//          bits 0..3: per-note style + 1 (0: the column's style applies)
//   extra  display nudge: bits 0..4 horizontal (1..15 right, 17..31 left, two
//          pixels a step), bits 5..7 vertical (1..3 down, 4..7 up 1..4 pixels)
//
// The column's jobs are split over several files: KChord.cpp (construction and
// accessors), KChordSerialize.cpp (the score-file record), KChordEdit.cpp (the
// editing rules), KChordTiming.cpp (durations, flags and stems),
// KChordArrange.cpp (note-head placement), KChordConvert.cpp (conversion
// between line types) and KChordPlay.cpp (playback events).

#include "model/KPosObj.h"
#include "model/NoteValues.h"
#include "platform/WinTypes.h"

class CArchive;
class KColumnConversion;
struct KColumnPlayContext;
struct KNoteEvent;

struct NoteEntry {
  BYTE value = 0;
  BYTE code = 0;
  BYTE flag = 0;
  BYTE extra = 0;
};

// A (position, symbol code) pair as the column reports it.
struct NotePair {
  int position = 0;
  int code = 0;
};

// An entry as two 16-bit words: value + 256 x code, flag + 256 x extra.
struct EntryWords {
  WORD valueAndCode = 0;
  WORD flagAndExtra = 0;
};

class KChord : public KPosObj {
  DECLARE_SERIAL(KChord);

 public:
  static constexpr int kMaxNotes = 20;
  // Results of queries that find nothing.
  static constexpr int kNone = 32761;      // no entry at a position or string
  static constexpr int kNoDuration = 224;  // a voice without a duration
  static constexpr int kEmptyCode = 107;   // code of an empty entry
  // Symbol codes with a role in the column's rules.
  static constexpr int kWholeNote = 12;
  // The breve (double whole note): the whole note's symbol, flagged.
  static constexpr int kBreve = 10012;
  static constexpr int kDot = 36;
  static constexpr int kDoubleDot = 37;
  static constexpr int kTimeSignature = 225;
  static constexpr int kKeySignature = 254;
  static constexpr int kFirstFret = 226;  // fret 0
  static constexpr int kLastFret = 250;   // fret 24
  static constexpr int kFlaggedBase = 10000;
  // Entry flag bits.
  static constexpr BYTE kFlagFlagged = 16;
  static constexpr BYTE kFlagMark = 32;
  static constexpr BYTE kFlagStyleMask = 15;
  // Rhythm codes from this value up mark a tablature column.
  static constexpr int kTabRhythm = 70;
  static constexpr int kMaxTabRhythm = 240;
  // Stem field values with a meaning of their own.
  static constexpr int kStemBar = 4;
  static constexpr int kStemPlain = 6;  // drawn without flag or beam

  KChord();
  explicit KChord(int pos);
  KChord(int pos, int rhythm);
  KChord(int pos, int value, int code, int rhythm);
  KChord(const KChord& source, int pos, bool keepStems);
  KChord(const KChord&) = delete;
  KChord& operator=(const KChord&) = delete;
  ~KChord() override = default;

  // As the copy constructor without keepStems, onto this column, taking the
  // source's position too.
  void CopyFrom(const KChord& source);

  void Serialize(CArchive& ar) override;

  // ---- Entries ----
  int GetNoteCount() const { return m_count; }
  void SetNoteCount(int count);
  // (position, code): the position is the step on a staff column and the
  // string on a tablature column; the code has 10000 added when flagged.
  // (0, 107) past the last entry.
  NotePair GetNote(int i) const;
  // (value, code byte) undecoded; (0, 107) past the last entry.
  NotePair GetRawNote(int i) const;
  EntryWords GetEntry(int i) const;
  const NoteEntry& RawEntry(int i) const;
  void SetNoteCode(int i, int code);
  void SetNoteValue(int i, int value);
  void SetNoteFlags(int i, int flags);
  // Puts the entry's four bytes back as GetEntry gave them (the clipboard
  // stream's copy of a column); an index outside 0..19 is ignored.
  void SetEntry(int i, EntryWords words);
  bool IsNoteMarked(int i) const;
  void SetNoteMark(int i, bool on);
  // The nudge of entry i in pixels, horizontal (right positive) or vertical
  // (down positive).
  int GetNoteOffset(int i, bool vertical) const;
  int GetNoteStyle() const { return m_rhythm % 10; }
  int GetNoteStyleAt(int i) const;
  int GetRhythmCode() const { return m_rhythm; }
  void SetRhythmCode(int rhythm) { m_rhythm = rhythm; }
  int GetVoiceStem(int voice) const { return voice == 0 ? m_stem0 : m_stem1; }
  void SetVoiceStem(int voice, int value);
  bool IsBarColumn() const { return m_stem0 == kStemBar || m_stem1 == kStemBar; }
  bool IsTabColumn() const { return m_rhythm >= kTabRhythm; }
  // A column whose entry 0 is a time or key signature holds numbers, not notes.
  bool IsSignatureColumn() const;
  int CountNotes() const;
  int GetFretOnString(int string) const;
  int GetLowestFret() const;
  int GetNoteRhythm(int i);
  int GetCodeAt(int position) const;
  void Clear();

  // ---- Editing rules ----
  // packed: per-note style + 1 in the low byte, the nudge byte in the second;
  // duration: a tablature duration code for a fret (-1 or 224: the column's).
  // Returns an index or count, or -1 when refused (nothing changed).
  int AddNote(int position, int code, int packed = 0, int duration = -1);
  int NeedsOwnColumn(int position, int code, bool anyVoice) const;
  // A dot is written before its note: a dot of the column that stands beside
  // no note or rest of its own goes to the note or rest at the position
  // (a staff row or a string), unless that one has a dot already. true when
  // a dot moved.
  bool TakeLooseDot(int position);
  // The column holds dots and nothing else: dots that belong to no note.
  bool HoldsOnlyDots() const;
  int RemoveNote(int position, int mode);
  int RemoveSymbolAt(int i);
  void RemoveEntry(int i);
  void RemoveCode(int code);
  int RemoveFretOnString(int string);
  int NudgeNote(int position, int key);
  void SetNoteStyle(int style, int position);
  int SetNoteDuration(int& code, int modeAndString);

  // ---- Timing and stems ----
  int GetTicks(int voice, bool byStyle) const;
  int GetRestTicks() const;
  int GetVoiceDuration(int voice) const;
  int GetNoteDurationAt(int position, int voice) const;
  int FindNoteAt(int position) const;
  int GetFlagCount(int voice) const;
  int GetExtremeNote(int mode) const;
  // spacing: the tablature string spacing; negative takes the setting of the
  // size index.
  int GetStemEnd(int voice, int sizeIndex = 0, int spacing = -1) const;
  void SetStemEnd(int voice, int y, int sizeIndex = 0, int spacing = -1);

  // ---- Note heads, conversion, playback ----
  void ArrangeNoteHeads();
  // A new column (owned by the caller) for a line of type toType, or nullptr
  // when the types have no conversion. Between staff types the notes keep their
  // pitch. Between staff and tablature the lines map notes to strings and back
  // (lines may be null otherwise); column is this column's place on its line
  // and positionCode the hand position for the string choice.
  KChord* ConvertColumn(int fromType, int toType, KColumnConversion* lines, int column,
                        int positionCode) const;
  // The tablature form of a staff column (mode 0, its notes fingered near
  // the hand position) or the staff form of a tablature column (mode 2), at
  // the column, for the pair of lines; owned by the caller, null for another
  // mode or a column that has no such form. The new column takes the source's
  // note style and its longest voice duration (KChordTabFingering.cpp).
  static KChord* MakeTabFingering(const KChord& source, KColumnConversion& lines, int staffType, int tabType,
                                  int column, int handPosition, int mode);
  // How long entry i lasts as it sounds: its note or rest value (a fret's own
  // duration on tablature; 108..111 as the quarter or half they head) with
  // its dot; 0 for an entry that is neither note nor rest.
  int GetNoteLength(int i) const;
  // Fills the event of entry index (and the entries that belong to it) and
  // advances index to the next entry to play. 1 when an event was filled.
  // key is the key signature in force; a key-signature column passes its own
  // key back through it.
  int MakeMidiEvent(int& index, KNoteEvent& event, const KColumnPlayContext& line, int velocity, int& key,
                    int transpose = 0, int channel = 0) const;

 private:
  int FullCode(int i) const;
  int EntryPosition(int i) const;
  int EntryString(int i) const { return m_notes[i].value % 10; }
  int EntryDuration(int i) const { return m_notes[i].value / 10; }
  bool IsFretEntry(int i) const;
  int FirstCode() const { return m_count > 0 ? m_notes[0].code : kEmptyCode; }
  int TabDuration() const;
  void ResetTabRhythm();
  void MakeSingleEntry(int value, int code, int flag, int extra);
  void InsertEntry(int at, const NoteEntry& entry);
  void EraseEntry(int at);
  void MarkEmptyEntry();
  int& StemField(int voice) { return voice == 0 ? m_stem0 : m_stem1; }
  void ResetPlainStems();
  void SortTabEntriesByString();
  int AddToTabColumn(int position, int code, int flag, int extra, int duration);
  int TabFretDuration(int duration);
  // The code of a staff note (0..12) or the duration of a tablature fret; -1
  // for the other entries.
  int VoiceCode(int i) const;
  void FillDots();
  int StemBase(int voice, int sizeIndex, int spacing) const;

  NoteEntry m_notes[kMaxNotes];
  int m_count = 0;
  int m_stem0 = 0;
  int m_stem1 = 0;
  int m_rhythm = 0;
};

// Staff steps that a line type's clef adds to a step to read it as a treble
// staff step: bass 12, alto 6, tenor 8, treble 8va -7, treble 8vb 7, others 0.
int ClefStepOffset(int lineType);
