#include "translate/AbcReaderMusic.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "lines/KStaffLine.h"
#include "model/AttachmentServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "model/NoteValues.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

constexpr int kColumnWidth = 18;  // pixels of one column
constexpr int kMiddleRow = 18;
constexpr int kTextRow = 9;
constexpr int kMaxOpenArcs = 4;
constexpr int kDotCodes[4] = {0, 36, 37, 10036};

bool IsNoteLetter(char c) { return (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
// The rows a treble staff line holds.
bool IsStaffRow(int row) { return row >= KStaffLine::kFirstRow && row <= KStaffLine::kLastRow; }

// The accidental symbol of a number of semitones (-2..2).
int AccidentalCode(int semitones) {
  switch (semitones) {
    case 2:
      return 29;
    case 1:
      return 28;
    case -1:
      return 30;
    case -2:
      return 31;
    default:
      return 27;
  }
}

// The decoration symbol of a "!name!" decoration, or 0 for the decorations
// the staff does not show.
int DecorationCode(std::string_view name) {
  if (name == "staccato") return 52;
  if (name == "roll" || name == "turn") return 64;
  if (name == "downbow") return 76;
  if (name == "upbow") return 77;
  return 0;
}

int PitchOfLetter(char c) {
  static constexpr int kUpper[7] = {49, 51, 40, 42, 44, 45, 47};  // A..G
  static constexpr int kLower[7] = {61, 63, 52, 54, 56, 57, 59};  // a..g
  return c >= 'a' ? kLower[c - 'a'] : kUpper[c - 'A'];
}

// One step shorter in the note table, keeping the stem variant; the 64th stays.
int HalveCode(int code) {
  switch (code) {
    case 12:
      return 10;
    case 10:
      return 8;
    case 11:
      return 9;
    case 8:
      return 0;
    case 9:
      return 1;
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      return code + 2;
    default:
      // A rest one step shorter; the 64th rest stays.
      return IsRestCode(code) && code < kLastRestCode ? code + 1 : code;
  }
}

// Whether a column holds a rest.
bool HoldsRest(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    if (IsRestCode(column.GetNote(i).code)) return true;
  }
  return false;
}

struct OpenArc {
  int start;
  int end;  // -1 while open
  bool tie;
  bool fromLastLine = false;  // a slur the last text line opened
};

// A note or rest as read from the text, before it goes into its column.
struct ReadNoteValue {
  int row = 0;
  int length = 0;
  bool rest = false;
  int accidental = 0;  // the accidental written before it (symbol code), 0 none
  int letter = -1;     // 0..6 for A..G; -1 for a rest
};

class MusicLineReader {
 public:
  MusicLineReader(std::string_view text, int continuation) : m_text(text), m_continuation(continuation) {}

  std::unique_ptr<KLineObj> Read();

 private:
  void StartLine();
  void AddMeterColumn();
  void AddTempoMark();
  void ReadSymbols();
  ReadNoteValue ReadNote(bool rest);
  void AddNote(const ReadNoteValue& note);
  int ReadLength();
  // A length multiplier (digits and slashes) after a chord's "]": the
  // numerator and denominator; the position ends on its last character.
  std::pair<int, int> ReadChordLength();
  void CloseChord();
  // Adds the notes of the chord, each length times numerator / denominator;
  // a staff row holds one note head of a column, so a second note on the
  // row (a unison written twice, [FF], or [^F=F]) is left out.
  void AddChordNotes(long numerator, long denominator);
  // An inline field "[K:...]" and the like; m_pos is on the "[".
  void ReadInlineField();
  // A decoration "!name!" or "+name+"; m_pos is on the opening sign.
  void ReadDecoration(char sign);
  void ReadMultiMeasureRest();
  // A key-change column at the current column when the key differs from the
  // last one (a column of the line that is not its start).
  void InsertKeyChange();
  void InsertMeterColumn();
  void AddTempoSymbol();
  void ReadBrokenRhythm(char sign);
  void CompleteColumn();
  void InsertColumn(std::unique_ptr<KChord> column, int column_pos, bool beamJoin);
  void AddPendingSymbols(KChord& column);
  // noteColumn: the note a chord name stands over (-1: none); atEnd: the
  // line ended after it, so it stands after the music.
  void FlushAnnotation(int noteColumn = -1, bool atEnd = false);
  // Adds the arcs and ending brackets whose last column is known.
  void FlushSpans();
  void OpenColumn() { m_column = std::make_unique<KChord>(m_col); }
  // Voice overlay: "&" within a bar starts a second voice at the bar's start.
  // Its notes are read into a line of their own, then set into the bar's
  // columns by when they sound (MergeOverlay).
  void StartOverlay();
  void MergeOverlay();
  void ClearBarAccidentals() {
    m_barAccidentals.clear();
    m_carriedAccidentals.clear();
  }
  // The accidentals the bar still open at the line's end holds, for the next line.
  void HandOverBarAccidentals();
  // The ties and slurs a text line left open, taken up by the next one; and
  // those this line leaves open, handed over at its end.
  void TakeOverOpenArcs();
  void HandOverOpenArcs();
  char At(int i) const { return i >= 0 && i < static_cast<int>(m_text.size()) ? m_text[i] : '\0'; }
  bool HasNext() const { return m_pos + 1 < static_cast<int>(m_text.size()); }
  // A "<" or ">" comes next, after any blanks.
  bool BrokenRhythmFollows() const {
    int i = m_pos + 1;
    while (At(i) == ' ' || At(i) == '\t') ++i;
    return At(i) == '<' || At(i) == '>';
  }

  std::string_view m_text;
  int m_continuation;
  AbcReaderState& m_state = GetAbcReaderState();
  std::unique_ptr<KStaffLine> m_line;
  int m_pos = 0;
  int m_col = 0;
  std::unique_ptr<KChord> m_column;
  bool m_columnExtra = false;                            // a blank column follows the column
  int m_columnRow = kMiddleRow;                          // row of the last note read into the column
  bool m_columnHasNote = false;                          // a note (not a rest) went into the column
  bool m_columnStartsGroup = false;                      // its first note started a beam group
  std::vector<int> m_pendingSymbols;                     // decorations of the next note
  int m_pendingAccidental = 0;                           // the accidental of the next note
  std::vector<std::pair<int, int>> m_columnAccidentals;  // (row, code) of the column's notes
  // (row, code) of the accidental in force on a row, written on this staff
  // line earlier in the bar.
  std::vector<std::pair<int, int>> m_barAccidentals;
  // (row, code) of the accidentals a bar the last line left open still
  // holds: this staff line does not show them, so a note on such a row gets
  // its accidental written again.
  std::vector<std::pair<int, int>> m_carriedAccidentals;
  std::vector<ReadNoteValue> m_chordNotes;  // the notes of an open chord
  int m_endingToOpen = 0;                   // an ending number after a bar, opened after it
  bool m_inChord = false;
  bool m_groupStart = true;
  int m_groupDirection = 0;
  bool m_previousJoinable = false;  // the last inserted column can take a beam
  int m_brokenNext = 0;             // >0: next note dotted k; <0: halved k
  int m_brokenApply = 0;
  int m_lastCode = 6;  // code of the previous note (64th before any)
  int m_tupletSize = 0;
  int m_tupletCount = 0;
  int m_tupletFirst = 0;
  std::vector<OpenArc> m_arcs;
  // The open ending (1., 2., ...): it runs over plain bar lines to the
  // repeat or double bar that ends it, or to the bar before the next ending.
  int m_ending = 0;
  int m_endingFirst = 0;
  int m_endingLast = -1;
  int m_endingBar = -1;  // the last plain bar line inside it
  bool m_singleGrace = false;
  bool m_graceGroup = false;
  bool m_hasAnnotation = false;
  CString m_annotation;
  // Chord names written before the pending one, over the same note.
  std::vector<CString> m_heldChordNames;
  int m_annotationFloor = 0;
  int m_lastAnnotationColumn = -1;
  bool m_annotationAdded = false;
  int m_lastNoteColumn = 0;
  int m_lastSymbolRow = kMiddleRow;
  bool m_noteRead = false;
  bool m_tempoColumnAdded = false;
  int m_rowOffset = 0;         // AbcNamingRowOffset of the line's clef
  bool m_continuing = false;   // the line goes on filling the staff line a "\" left open
  int m_barStartCol = 0;       // the first column of the bar being read
  bool m_barOverlaid = false;  // an overlay joined the bar's columns already
  // While an overlay voice is read: the staff line of the bar's first voice
  // (m_line then holds the overlay's own columns), and where that voice ended.
  std::unique_ptr<KStaffLine> m_overlayMain;
  int m_overlayMainEnd = 0;
};

void MusicLineReader::StartLine() {
  m_continuing = m_state.continued != nullptr;
  if (m_continuing) {
    m_line = std::move(m_state.continued);
    m_col = m_state.continuedColumn;
    m_state.continueFlag = false;
  } else {
    // A line takes the clef in force when it starts; a clef change within
    // it shows from the next line on.
    m_line = std::make_unique<KStaffLine>(m_state.clef, m_state.key, 0);
    m_col = 0;
  }
  m_rowOffset = AbcNamingRowOffset(m_line->GetType());
  m_brokenNext = m_state.brokenRhythmCarried;
  m_state.brokenRhythmCarried = 0;
  // The accidentals of a bar the last music line left open: a line it
  // continues shows them already; a new staff line writes them again.
  if (m_state.heldAccidentalsLineType == m_line->GetType() && m_state.heldAccidentals.size() <= 64) {
    if (m_col != 0) {
      m_barAccidentals = m_state.heldAccidentals;
    } else {
      m_carriedAccidentals = m_state.heldAccidentals;
    }
  }
  m_state.heldAccidentals.clear();
  if (m_state.lastKey < 0) m_state.lastKey = m_state.key;
  if (m_col != 0) InsertKeyChange();
  m_state.lastKey = m_state.key;
}

void MusicLineReader::HandOverBarAccidentals() {
  m_state.heldAccidentals = m_barAccidentals;
  for (const auto& carried : m_carriedAccidentals) {
    const bool overridden =
        std::any_of(m_barAccidentals.begin(), m_barAccidentals.end(),
                    [&](const std::pair<int, int>& entry) { return entry.first == carried.first; });
    if (!overridden) m_state.heldAccidentals.push_back(carried);
  }
  m_state.heldAccidentalsLineType = m_line->GetType();
}

void MusicLineReader::TakeOverOpenArcs() {
  if (m_continuing) {
    // The same staff line goes on: its open ties and slurs go on too.
    for (const auto& [start, tie] : m_state.openArcs) {
      if (static_cast<int>(m_arcs.size()) < kMaxOpenArcs) m_arcs.push_back({start, -1, tie});
    }
  } else {
    // Slurs the last line left open start again at this line's first note.
    for (int i = 0; i < m_state.slursFromLastLine && static_cast<int>(m_arcs.size()) < kMaxOpenArcs; ++i)
      m_arcs.push_back({m_col, -1, false, true});
  }
  m_state.openArcs.clear();
  m_state.slursFromLastLine = 0;
}

void MusicLineReader::HandOverOpenArcs() {
  if (m_state.continueFlag) {
    for (const OpenArc& arc : m_arcs) {
      if (arc.end < 0) m_state.openArcs.emplace_back(arc.start, arc.tie);
    }
    std::erase_if(m_arcs, [](const OpenArc& arc) { return arc.end < 0; });
    return;
  }
  if (!m_noteRead) return;
  // A tie still open at the end of the line (C4-| before a line break) ties
  // its note to the first of the next line: the arc reaches past the line's
  // last column, so that it ends on that note when a wrap brings the two
  // together; a system that keeps it draws it to its closing bar. A slur
  // still open reaches past the line's end as well, and goes on from the
  // next line's first note to the note that closes it; one that holds no
  // note of this line yet shows on the next line only.
  for (auto it = m_arcs.begin(); it != m_arcs.end();) {
    if (it->end >= 0) {
      ++it;
      continue;
    }
    if (!it->tie) ++m_state.slursFromLastLine;
    if (it->tie ? m_col > it->start : m_lastNoteColumn > it->start) {
      it->end = m_col;
      ++it;
    } else {
      it = m_arcs.erase(it);
    }
  }
}

void MusicLineReader::InsertKeyChange() {
  if (m_state.lastKey < 0) m_state.lastKey = m_state.key;
  if (m_state.key == m_state.lastKey) return;
  auto change = std::make_unique<KChord>(m_col);
  change->AddNote(1, KChord::kKeySignature);
  change->AddNote(1, m_state.key != 0 ? m_state.key : m_state.lastKey + 16);
  m_line->InsertObjAt(change.release(), 0, m_col, nullptr, 0);
  m_line->ModifyFlags(0x800, 1);
  m_col += 3;
  m_state.lastKey = m_state.key;
}

void MusicLineReader::AddMeterColumn() {
  if (!m_state.titlePending && !m_state.meterPending) return;
  InsertMeterColumn();
}

void MusicLineReader::InsertMeterColumn() {
  int numerator = 0;
  int denominator = 0;
  if (m_state.meterCode == -404) {
    numerator = 98, denominator = 103;
  } else if (m_state.meterCode == -202) {
    numerator = 99, denominator = 103;
  } else {
    numerator = 99 + m_state.meterCode / 100, denominator = 99 + m_state.meterCode % 100;
  }
  auto meter = std::make_unique<KChord>(m_col);
  meter->AddNote(0, KChord::kTimeSignature);
  meter->AddNote(1, numerator);
  meter->AddNote(2, denominator);
  m_line->InsertObjAt(meter.release(), 0, m_col, nullptr, 0);
  ++m_col;
}

void MusicLineReader::AddTempoMark() {
  AddTempoSymbol();
  m_state.titlePending = false;
  m_state.meterPending = false;
}

void MusicLineReader::AddTempoSymbol() {
  if (!m_state.tempoPending) return;
  int unit = m_state.tempoUnit;
  int tempo = m_state.tempo;
  int symbol = 0;
  switch (unit) {
    case 960:
      symbol = 10035;
      break;
    case 480:
      symbol = 10034;
      break;
    case 240:
      symbol = 10032;
      break;
    case 120:
      symbol = 10033;
      break;
    default:
      // A beat no metronome note shows (a dotted quarter, three eighths)
      // is counted in quarters: 100 dotted quarters are 150 quarters.
      symbol = 10034;
      tempo = static_cast<int>((static_cast<long>(tempo) * unit + 240) / 480);
      break;
  }
  CString number;
  number.Format("%d", tempo);
  auto column = std::make_unique<KChord>(m_col);
  column->AddNote(kTextRow, symbol, 0x1500);
  m_line->InsertObjAt(column.release(), 0, m_col, nullptr, 0);
  m_tempoColumnAdded = true;
  auto mark = std::make_unique<KExtendedObj>(m_col, kTextRow, number, g_defaultTextFontText);
  mark->SetOffset(-1, 0);
  m_line->AddAttachment(mark.release());
  ++m_col;
  m_state.tempoPending = false;
}

int MusicLineReader::ReadLength() {
  long length = m_state.unitLength;
  int i = m_pos + 1;
  if (IsDigit(At(i)) && At(i) != '0') {
    int factor = At(i) - '0';
    ++i;
    if (IsDigit(At(i))) factor = factor * 10 + (At(i++) - '0');
    length *= factor;
  }
  if (At(i) == '/') {
    ++i;
    if (IsDigit(At(i)) && At(i) != '0') {
      int divisor = At(i) - '0';
      ++i;
      if (IsDigit(At(i))) divisor = divisor * 10 + (At(i++) - '0');
      length /= divisor;
    } else {
      // "/" halves, and each further "/" halves again ("A//" is a quarter).
      length /= 2;
      while (At(i) == '/') {
        length /= 2;
        ++i;
      }
    }
  }
  m_pos = i - 1;
  return static_cast<int>(length);
}

std::pair<int, int> MusicLineReader::ReadChordLength() {
  int numerator = 1;
  int denominator = 1;
  int i = m_pos + 1;
  if (IsDigit(At(i)) && At(i) != '0') {
    numerator = At(i++) - '0';
    if (IsDigit(At(i))) numerator = numerator * 10 + (At(i++) - '0');
  }
  if (At(i) == '/') {
    ++i;
    if (IsDigit(At(i)) && At(i) != '0') {
      denominator = At(i++) - '0';
      if (IsDigit(At(i))) denominator = denominator * 10 + (At(i++) - '0');
    } else {
      denominator = 2;
      while (At(i) == '/' && denominator < 64) {
        denominator *= 2;
        ++i;
      }
    }
  }
  m_pos = i - 1;
  return {numerator, denominator};
}

ReadNoteValue MusicLineReader::ReadNote(bool rest) {
  ReadNoteValue note;
  note.rest = rest;
  int pitch = rest ? 0 : PitchOfLetter(m_text[m_pos]) + 12 * m_state.octave;
  note.letter = rest ? -1 : (m_text[m_pos] >= 'a' ? m_text[m_pos] - 'a' : m_text[m_pos] - 'A');
  // Each "'" raises an octave and each "," lowers one, as far as the staff
  // has rows.
  while (!rest && (At(m_pos + 1) == '\'' || At(m_pos + 1) == ',')) {
    const int moved = pitch + (At(m_pos + 1) == '\'' ? 12 : -12);
    if (IsStaffRow(AbcRowOfPitch(moved) - m_rowOffset)) pitch = moved;
    ++m_pos;
  }
  while (At(m_pos + 1) == '\'' || At(m_pos + 1) == ',') ++m_pos;
  // A letter that the clef puts beyond the staff's rows (a lower-case a in
  // the bass clef) is moved by octaves onto them: a row the staff does not
  // have sounds no pitch and writes no note.
  if (!rest) {
    while (AbcRowOfPitch(pitch) - m_rowOffset < KStaffLine::kFirstRow) pitch -= 12;
    while (AbcRowOfPitch(pitch) - m_rowOffset > KStaffLine::kLastRow) pitch += 12;
  }
  note.length = ReadLength();
  note.row = rest ? kMiddleRow : AbcRowOfPitch(pitch) - m_rowOffset;
  note.accidental = rest ? 0 : m_pendingAccidental;
  m_pendingAccidental = 0;
  return note;
}

void MusicLineReader::AddNote(const ReadNoteValue& note) {
  const bool rest = note.rest;
  const int length = note.length;
  // An overlay voice's rest stands low, clear of the upper voice's.
  const int row = rest && m_overlayMain != nullptr ? kMiddleRow + 4 : note.row;
  const bool grace = m_singleGrace || m_graceGroup;

  int code = 0;
  int nominal = 0;
  if (rest) {
    code = AbcRestCodeForLength(length);
    nominal = AbcNoteCodeForLength(length).nominal;
    if (code < 0) code = 20, nominal = 30;
    m_groupDirection = 0;
  } else {
    const AbcLengthCode entry = AbcNoteCodeForLength(length);
    code = entry.code;
    nominal = entry.nominal;
    if (code < 0) {
      code = m_lastCode;
      nominal = 0;
    }
    if (grace) {
      // Grace notes take their own codes and leave the beam group alone.
    } else if (code != KChord::kWholeNote && code != KChord::kBreve) {
      const int base = code & ~1;
      bool up = false;
      if (m_overlayMain != nullptr) {
        up = false;  // an overlay voice is the lower one
      } else if (!m_groupStart && m_groupDirection != 0) {
        up = m_groupDirection > 0;
      } else if (m_inChord && m_groupDirection > 0) {
        up = true;
      } else {
        up = row >= kMiddleRow;
      }
      code = up ? base : base + 1;
      m_groupDirection = up ? 1 : -1;
    } else {
      m_groupDirection = 0;
    }
    m_lastCode = code;
  }
  if (m_singleGrace) code = 13;
  if (m_graceGroup) code = 4;
  const bool firstInColumn = m_column->GetNoteCount() == 0;
  if (m_column->AddNote(row, code) < 0) return;
  if (firstInColumn) m_columnStartsGroup = m_groupStart || rest;
  m_columnRow = row;
  m_noteRead = true;
  if (!rest) {
    m_columnHasNote = true;
    // The accidental written before the note, or the one the key asks for
    // beyond its signature (when no accidental stands on the row earlier in
    // the bar: that one still holds).
    const auto onRow = [row](const std::pair<int, int>& entry) { return entry.first == row; };
    const auto altered = std::find_if(m_barAccidentals.begin(), m_barAccidentals.end(), onRow);
    const bool rowAltered = altered != m_barAccidentals.end();
    int accidental = note.accidental;
    if (accidental == 0 && !rowAltered) {
      // An accidental written on the last line holds to the bar line.
      if (const auto carried = std::find_if(m_carriedAccidentals.begin(), m_carriedAccidentals.end(), onRow);
          carried != m_carriedAccidentals.end()) {
        accidental = carried->second;
      } else if (note.letter >= 0 && note.letter < 7) {
        const auto letter = static_cast<std::size_t>(note.letter);
        const int wanted = m_state.keyAccidentals[letter];
        if (wanted != AbcKeySignatureAccidentals(m_state.key)[letter]) accidental = AccidentalCode(wanted);
      }
    }
    if (accidental != 0) {
      m_columnAccidentals.emplace_back(row, accidental);
      if (rowAltered) {
        altered->second = accidental;
      } else {
        m_barAccidentals.emplace_back(row, accidental);
      }
    }
  }
  m_groupStart = false;
  // The change a broken-rhythm sign asks of the next note goes to the whole
  // column (every note of a chord).
  if (m_brokenNext != 0) {
    m_brokenApply = m_brokenNext;
    m_brokenNext = 0;
  }
  if (!grace && nominal > 0) {
    int dots = 0;
    if (length * 8 >= nominal * 15) {
      dots = 3;
    } else if (length * 4 >= nominal * 7) {
      dots = 2;
    } else if (length * 2 >= nominal * 3) {
      dots = 1;
    }
    if (dots > 0) m_column->AddNote(row, kDotCodes[dots]);
    if (dots > 0 || length > 240) m_columnExtra = true;
  }
}

void MusicLineReader::CloseChord() {
  m_inChord = false;
  const auto [numerator, denominator] = ReadChordLength();
  m_inChord = true;  // the notes go into the one column, stems as in a chord
  AddChordNotes(numerator, denominator);
  m_inChord = false;
}

void MusicLineReader::AddChordNotes(long numerator, long denominator) {
  for (std::size_t i = 0; i < m_chordNotes.size(); ++i) {
    ReadNoteValue note = m_chordNotes[i];
    const bool repeated = std::any_of(
        m_chordNotes.begin(), m_chordNotes.begin() + static_cast<std::ptrdiff_t>(i),
        [&](const ReadNoteValue& earlier) { return !earlier.rest && !note.rest && earlier.row == note.row; });
    if (repeated) continue;
    note.length = static_cast<int>(static_cast<long>(note.length) * numerator / denominator);
    AddNote(note);
  }
  m_chordNotes.clear();
}

void MusicLineReader::ReadInlineField() {
  const char letter = At(m_pos + 1);
  const std::size_t valueStart = static_cast<std::size_t>(m_pos) + 3;
  const std::size_t close = m_text.find(']', valueStart);
  const std::size_t end = close == std::string_view::npos ? m_text.size() : close;
  const CString value(m_text.substr(valueStart, end - valueStart));
  m_pos = static_cast<int>(end);
  switch (letter) {
    case 'K':
      ReadAbcKeyField(value);
      InsertKeyChange();
      break;
    case 'M':
      ReadAbcMeterField(value);
      InsertMeterColumn();
      m_state.meterPending = false;
      break;
    case 'L':
      ReadAbcUnitLengthField(value);
      break;
    case 'Q':
      ReadAbcTempoField(value);
      AddTempoSymbol();
      break;
    default:
      // Voices, parts, instructions and the like change nothing here.
      break;
  }
}

void MusicLineReader::ReadMultiMeasureRest() {
  // "Z4" rests for four bars: each bar holds a whole rest alone, which rests
  // for the whole bar whatever the meter. A count past what a tune could
  // mean is held, so that a hostile text cannot make millions of columns.
  constexpr int kMostBars = 999;
  int bars = 0;
  while (At(m_pos + 1) >= '0' && At(m_pos + 1) <= '9') {
    bars = std::min(kMostBars, bars * 10 + (At(++m_pos) - '0'));
  }
  bars = std::max(bars, 1);
  for (int bar = 0; bar < bars; ++bar) {
    if (bar > 0) {
      m_column->AddNote(kMiddleRow, 21);
      ClearBarAccidentals();
      CompleteColumn();
    }
    m_column->AddNote(kMiddleRow, kFirstRestCode);  // the whole rest
    m_columnStartsGroup = true;
    m_groupStart = true;
    m_groupDirection = 0;
    m_noteRead = true;
    if (bar + 1 < bars) CompleteColumn();
  }
}

void MusicLineReader::ReadDecoration(char sign) {
  const std::size_t close = m_text.find(sign, static_cast<std::size_t>(m_pos) + 1);
  // A lone sign is not a decoration.
  if (close == std::string_view::npos) return;
  const std::string_view name =
      m_text.substr(static_cast<std::size_t>(m_pos) + 1, close - static_cast<std::size_t>(m_pos) - 1);
  if (const int code = DecorationCode(name); code != 0) m_pendingSymbols.push_back(code);
  m_pos = static_cast<int>(close);
}

void MusicLineReader::ReadBrokenRhythm(char sign) {
  int k = 1;
  while (k < 3 && At(m_pos + 1) == sign) {
    ++k;
    ++m_pos;
  }
  // The column holding the note before the sign changes now; the next note
  // takes the opposite change when its column completes.
  const int count = m_column->GetNoteCount();
  if (sign == '<') {
    for (int i = 0; i < count; ++i) {
      int code = m_column->GetNote(i).code;
      if (code < 0 || code > kLastRestCode) continue;
      for (int step = 0; step < k; ++step) code = HalveCode(code);
      m_column->SetNoteCode(i, code);
    }
    m_brokenNext = k;
  } else {
    if (count > 0) m_column->AddNote(m_columnRow, kDotCodes[k]);
    if (m_state.unitLength <= 240) m_columnExtra = true;
    m_brokenNext = -k;
  }
}

void MusicLineReader::AddPendingSymbols(KChord& column) {
  for (const auto& [row, code] : m_columnAccidentals) {
    if (column.AddNote(row, code) >= 0) m_lastSymbolRow = row;
  }
  m_columnAccidentals.clear();
  for (const int symbol : m_pendingSymbols) {
    int row = m_columnRow;
    int packed = 0;
    const bool decoration = symbol == 64 || symbol == 76 || symbol == 77;
    if (decoration && m_groupDirection > 0) {
      packed = 0x1100;
      if (m_lastSymbolRow > 7) {
        row = m_columnRow - 6;
      } else if (m_lastSymbolRow <= 0) {
        row = m_columnRow + 2;
      }
    }
    if (row < 0) row = 0;
    if (column.AddNote(row, symbol, packed) >= 0) m_lastSymbolRow = row;
  }
  m_pendingSymbols.clear();
}

void MusicLineReader::InsertColumn(std::unique_ptr<KChord> column, int columnPos, bool beamJoin) {
  // The join holds for the voice of either stem direction (voice 0 the stems
  // down, voice 1 the stems up); a voice without flagged notes ignores it.
  const int beamFlags[2] = {beamJoin ? 1 : 0, beamJoin ? 1 : 0};
  m_line->InsertObjAt(column.release(), 0, columnPos, beamFlags, 0);
}

void MusicLineReader::FlushAnnotation(int noteColumn, bool atEnd) {
  if (!m_hasAnnotation) return;
  int column = 0;
  if (noteColumn >= 0 && m_annotation.View().substr(0, 2) == "@@") {
    // A chord name stands over its own note: the chord-diagram line made of
    // the names keeps the chords where they are played.
    column = noteColumn;
  } else {
    if (m_col == 0) m_col = 1;
    // Before the next note, or after the music when no note follows.
    column = std::max(m_annotationFloor, atEnd ? m_col : m_col - 1);
    if (m_lastAnnotationColumn >= 0 && column <= m_lastAnnotationColumn + 5) {
      column = m_lastAnnotationColumn + 6;
    }
  }
  // An attachment goes before those at its column: the last name first, so
  // that the names stand in the order they were written.
  m_line->AddAttachment(new KExtendedObj(column, kTextRow, m_annotation, g_defaultTextFontText));
  for (auto held = m_heldChordNames.rbegin(); held != m_heldChordNames.rend(); ++held)
    m_line->AddAttachment(new KExtendedObj(column, kTextRow, *held, g_defaultTextFontText));
  m_heldChordNames.clear();
  m_lastAnnotationColumn = column;
  m_annotationFloor = column;
  m_annotationAdded = true;
  m_hasAnnotation = false;
  m_annotation.Empty();
}

void MusicLineReader::FlushSpans() {
  for (auto it = m_arcs.begin(); it != m_arcs.end();) {
    if (it->end < 0) {
      ++it;
      continue;
    }
    if (it->fromLastLine && it->end <= it->start) {
      // A slur from the last line that closes on this line's first note
      // shows on the last line only.
      it = m_arcs.erase(it);
      continue;
    }
    const int width = std::max(1, (it->end - it->start) * kColumnWidth);
    const int anchorY = m_groupDirection > 0 ? 12 : -12;  // below for stems up
    m_line->AddAttachment(new KExtendedObj(it->start, m_columnRow,
                                           it->tie ? KExtendedObj::kTie : KExtendedObj::kSlur, width / 2,
                                           anchorY, width, 0));
    it = m_arcs.erase(it);
  }
  if (m_ending > 0 && m_endingLast >= 0) {
    CString text;
    text.Format("%d.", m_ending);
    const int width = std::max(1, (m_endingLast - m_endingFirst) * kColumnWidth);
    m_line->AddAttachment(new KExtendedObj(m_endingFirst, 2, KExtendedObj::kFirstBracketLine, 0, 0, width, 0,
                                           0, 0, text, g_defaultTextFontText, CString()));
    m_ending = 0;
    m_endingLast = -1;
  }
}

void MusicLineReader::CompleteColumn() {
  if (m_column->GetNoteCount() == 0) {
    OpenColumn();
    return;
  }
  std::unique_ptr<KChord> column = std::move(m_column);
  const int columnPos = column->GetPos();
  // The thick-thin bar is a flagged symbol the column rules do not count as a bar.
  const bool bar = column->IsBarColumn() || column->GetNote(0).code == 10023;
  // A broken rhythm lengthens or shortens a rest as it does a note.
  if (m_brokenApply != 0 && (m_columnHasNote || HoldsRest(*column))) {
    const int k = std::abs(m_brokenApply);
    if (m_brokenApply > 0) {
      column->AddNote(m_columnRow, kDotCodes[k]);
    } else {
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        int code = column->GetNote(i).code;
        if (code < 0 || code > kLastRestCode) continue;
        for (int step = 0; step < k; ++step) code = HalveCode(code);
        column->SetNoteCode(i, code);
      }
    }
  }
  m_brokenApply = 0;
  AddPendingSymbols(*column);
  if (m_graceGroup) column->SetNoteStyle(4, -1);
  const bool joinable = m_columnHasNote && !bar;
  InsertColumn(std::move(column), columnPos, joinable && m_previousJoinable && !m_columnStartsGroup);
  m_previousJoinable = joinable;
  if (!bar) m_lastNoteColumn = columnPos;
  m_col = columnPos + 1 + (m_columnExtra ? 1 : 0);
  if (bar) {
    m_barStartCol = m_col;
    m_barOverlaid = false;
  }

  // Ties end at the next note column.
  for (OpenArc& arc : m_arcs) {
    if (arc.tie && arc.end < 0 && !bar && columnPos > arc.start) arc.end = columnPos;
  }
  if (m_tupletSize > 0 && !bar) {
    if (++m_tupletCount >= m_tupletSize) {
      // The bracket reaches into the last note's column, as the program's
      // own tuplet brackets do, so that the note is counted in the span.
      const int width = (columnPos - m_tupletFirst + 1) * kColumnWidth - 4;
      CString mark;
      mark.Format("-%d", m_tupletSize);
      const int anchorY = m_groupDirection > 0 ? -12 : 12;
      m_line->AddAttachment(new KExtendedObj(m_tupletFirst, kTextRow, KExtendedObj::kNumberedBracket, 0,
                                             anchorY, std::max(width, 1), 0, 0, 0, mark,
                                             g_defaultNumberFontText, CString()));
      m_tupletSize = 0;
    }
  }
  FlushSpans();
  FlushAnnotation(bar ? -1 : columnPos);
  m_columnExtra = false;
  m_columnHasNote = false;
  m_singleGrace = false;
  m_columnStartsGroup = false;
  OpenColumn();
}

void MusicLineReader::StartOverlay() {
  CompleteColumn();
  // A third voice joins the second: the program's staff holds two.
  if (m_overlayMain != nullptr) MergeOverlay();
  m_overlayMainEnd = m_col;
  m_overlayMain = std::move(m_line);
  m_line = std::make_unique<KStaffLine>(m_overlayMain->GetType(), m_state.key, 0);
  // The overlay starts where the bar started, in the same columns.
  m_col = m_barStartCol;
  m_groupStart = true;
  m_groupDirection = 0;
  m_previousJoinable = false;
  OpenColumn();
}

namespace {

// A column of one voice of a bar and when it sounds after the bar's start.
struct VoiceColumn {
  KPosObj* object = nullptr;
  int pos = 0;
  int onset = 0;
  int step = 0;  // 0: takes no time (a grace or signature column)
  int gap = 1;   // columns to the next one of the voice
};

// Takes the objects of the line from the column on out of it, each with
// when it sounds after the first; end is the column after the voice's last.
std::vector<VoiceColumn> TakeVoice(KStaffLine& line, int first, int end) {
  std::vector<VoiceColumn> voice;
  CObList* objects = line.GetObjList();
  int onset = 0;
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    auto* object = static_cast<KPosObj*>(objects->GetNext(node));
    if (object->GetPos() < first) continue;
    objects->RemoveAt(here);
    const KChord* chord = AsChord(object);
    const int step = chord != nullptr ? KLineTime::StepOf(*chord) : 0;
    voice.push_back({object, object->GetPos(), onset, step, 1});
    onset += step;
  }
  for (std::size_t i = 0; i < voice.size(); ++i) {
    const int next = i + 1 < voice.size() ? voice[i + 1].pos : std::max(end, voice[i].pos + 1);
    voice[i].gap = std::max(1, next - voice[i].pos);
  }
  line.UpdateTimeSigCache();
  return voice;
}

// Sets the stems of the column's notes one way: voice 0 up, voice 1 down.
void SetStems(KChord& chord, int voice) {
  for (int i = 0; i < chord.GetNoteCount(); ++i) {
    const int code = chord.GetNote(i).code;
    if (code >= 0 && code < KChord::kWholeNote) chord.SetNoteCode(i, (code & ~1) + voice);
  }
}

// The new column of an old one, by the last old column at or before it.
int MapColumn(const std::vector<std::pair<int, int>>& map, int old) {
  int mapped = old;
  for (const auto& [from, to] : map) {
    if (from > old) break;
    mapped = to + (old - from);
  }
  return mapped;
}

}  // namespace

void MusicLineReader::MergeOverlay() {
  if (m_overlayMain == nullptr) return;
  CompleteColumn();
  std::unique_ptr<KStaffLine> overlay = std::move(m_line);
  m_line = std::move(m_overlayMain);
  const std::vector<VoiceColumn> first = TakeVoice(*m_line, m_barStartCol, m_overlayMainEnd);
  const std::vector<VoiceColumn> second = TakeVoice(*overlay, m_barStartCol, m_col);
  std::vector<std::pair<int, int>> firstMap;
  std::vector<std::pair<int, int>> secondMap;
  // A column at each onset of either voice; the notes of both voices that
  // start together share one, each voice with its own stems.
  int pos = m_barStartCol;
  std::size_t i = 0;
  std::size_t j = 0;
  CObList* objects = m_line->GetObjList();
  while (i < first.size() || j < second.size()) {
    bool takeFirst = j == second.size();
    bool takeSecond = i == first.size();
    if (!takeFirst && !takeSecond) {
      const VoiceColumn& a = first[i];
      const VoiceColumn& b = second[j];
      if (a.onset != b.onset) {
        takeFirst = a.onset < b.onset;
        takeSecond = !takeFirst;
      } else if (a.step == 0) {
        takeFirst = true;
      } else if (b.step == 0) {
        takeSecond = true;
      } else {
        takeFirst = takeSecond = true;
      }
    }
    int gap = 1;
    KPosObj* column = nullptr;
    if (takeFirst) {
      column = first[i].object;
      // The first voice's stems go up; a third voice leaves the two as they are.
      if (KChord* chord = AsChord(column); chord != nullptr && !m_barOverlaid) SetStems(*chord, 0);
      firstMap.emplace_back(first[i].pos, pos);
      gap = first[i].gap;
    }
    if (takeSecond) {
      KPosObj* own = second[j].object;
      KChord* chord = AsChord(own);
      if (chord != nullptr) SetStems(*chord, 1);
      secondMap.emplace_back(second[j].pos, pos);
      gap = std::max(gap, second[j].gap);
      if (column == nullptr) {
        column = own;
      } else {
        KChord* shared = AsChord(column);
        if (shared != nullptr && chord != nullptr) {
          for (int k = 0; k < chord->GetNoteCount(); ++k) {
            const NotePair note = chord->GetNote(k);
            shared->AddNote(note.position, note.code);
          }
        }
        delete own;
      }
    }
    column->SetPos(pos);
    objects->AddTail(column);
    pos += gap;
    i += takeFirst ? 1 : 0;
    j += takeSecond ? 1 : 0;
  }
  m_line->UpdateTimeSigCache();
  // The marks of both voices move with their notes.
  std::vector<std::pair<KExtendedObj*, int>> marks;
  CObList* own = m_line->GetAttachments();
  for (POSITION node = own->GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    auto* mark = static_cast<KExtendedObj*>(own->GetNext(node));
    if (mark->GetPos() < m_barStartCol) continue;
    own->RemoveAt(here);
    marks.emplace_back(mark, MapColumn(firstMap, mark->GetPos()));
  }
  CObList* overlayMarks = overlay->GetAttachments();
  while (!overlayMarks->IsEmpty()) {
    auto* mark = static_cast<KExtendedObj*>(overlayMarks->RemoveHead());
    marks.emplace_back(mark, MapColumn(secondMap, mark->GetPos()));
  }
  for (const auto& [mark, at] : marks) {
    mark->SetPos(at);
    m_line->AddAttachment(mark);
  }
  // Ties and slurs the overlay leaves open go on from their new columns.
  for (OpenArc& arc : m_arcs) {
    if (arc.start >= m_barStartCol) arc.start = MapColumn(secondMap, arc.start);
  }
  m_barOverlaid = true;
  if (m_lastNoteColumn >= m_barStartCol) m_lastNoteColumn = std::max(m_barStartCol, pos - 1);
  m_col = pos;
  m_groupStart = true;
  m_groupDirection = 0;
  m_previousJoinable = false;
  OpenColumn();
}

void MusicLineReader::ReadSymbols() {
  OpenColumn();
  m_barStartCol = m_col;
  const int size = static_cast<int>(m_text.size());
  for (m_pos = 0; m_pos < size; ++m_pos) {
    const char c = m_text[m_pos];
    const char next = At(m_pos + 1);
    bool completes = true;
    // A bar line ends the overlay: its notes join the bar's columns first.
    if (m_overlayMain != nullptr && !m_inChord &&
        (c == '|' || (c == ':' && (next == '|' || next == ':')) || (c == '[' && next == '|'))) {
      MergeOverlay();
    }
    if (IsNoteLetter(c) || c == 'z' || c == 'x') {
      // An invisible rest "x" keeps its time as a rest.
      const ReadNoteValue note = ReadNote(c == 'z' || c == 'x');
      if (m_inChord) {
        m_chordNotes.push_back(note);
      } else {
        AddNote(note);
      }
      if (m_inChord || BrokenRhythmFollows()) completes = false;
    } else if (c == 'Z') {
      ReadMultiMeasureRest();
    } else if (c == ' ' || c == '\t') {
      m_groupStart = true;
      // "G > F": the note before the blanks still takes the sign.
      if (BrokenRhythmFollows()) completes = false;
    } else if (c == '(') {
      if (!HasNext()) break;
      if (next >= '1' && next <= '9') {
        m_tupletSize = next - '0';
        m_tupletCount = 0;
        m_tupletFirst = m_col;
        ++m_pos;
      } else if (static_cast<int>(m_arcs.size()) < kMaxOpenArcs) {
        m_arcs.push_back({m_col, -1, false});
      }
      m_groupStart = true;
    } else if (c == ')') {
      for (auto it = m_arcs.rbegin(); it != m_arcs.rend(); ++it) {
        if (!it->tie && it->end < 0) {
          it->end = std::max(it->start, m_lastNoteColumn);
          break;
        }
      }
    } else if (c == '-') {
      if (static_cast<int>(m_arcs.size()) < kMaxOpenArcs) m_arcs.push_back({m_lastNoteColumn, -1, true});
      m_groupStart = true;
    } else if (c == '<' || c == '>') {
      // At the line's end the sign still acts: the next line's first note
      // takes the other half.
      ReadBrokenRhythm(c);
    } else if (c == '|') {
      // A bar that ends the line is a bar too (after music).
      if (!HasNext() && !m_noteRead) break;
      int code = 21;
      if (next == '|') code = 22;
      if (next == ':') code = 24;
      if (next == ']') code = 23;
      if (code != 21) ++m_pos;
      m_column->AddNote(kMiddleRow, code);
      // "|1" opens the first ending after the bar.
      const bool opensEnding = At(m_pos + 1) >= '1' && At(m_pos + 1) <= '9';
      // A plain bar line inside an ending leaves it open; a double bar, a
      // repeat sign or the start of the next ending closes it.
      if (m_ending > 0) {
        if (code != 21 || opensEnding) {
          m_endingLast = m_col;
        } else {
          m_endingBar = m_col;
        }
      }
      ClearBarAccidentals();
      // A bar ends the beam group: the next note's stem goes its own way.
      m_groupStart = true;
      if (opensEnding) m_endingToOpen = At(++m_pos) - '0';
    } else if (c == ':') {
      if (!HasNext()) break;
      // ":|:" and ":||:" repeat both ways, as "::" does; ":|]" ends a repeat.
      int code = next == ':' ? 96 : 25;
      int signLength = 2;
      if (next == '|') {
        if (At(m_pos + 2) == ':') {
          code = 96;
          signLength = 3;
        } else if (At(m_pos + 2) == '|' && At(m_pos + 3) == ':') {
          code = 96;
          signLength = 4;
        } else if (At(m_pos + 2) == ']') {
          signLength = 3;
        }
      }
      if ((next == '|' || next == ':') && m_tupletSize == 0) {
        m_column->AddNote(kMiddleRow, code);
        if (m_ending > 0) m_endingLast = m_col;
        ClearBarAccidentals();
        m_groupStart = true;
      }
      if (next == '|' || next == ':') m_pos += signLength - 1;
      if (code == 25 && At(m_pos + 1) >= '1' && At(m_pos + 1) <= '9') m_endingToOpen = At(++m_pos) - '0';
    } else if (c == '[') {
      if (!HasNext()) break;
      if (IsLetter(next) && At(m_pos + 2) == ':' && !m_inChord) {
        ReadInlineField();
      } else if (next == '|') {
        ClearBarAccidentals();
        // "[|:" starts a repeat after the thick bar.
        const bool repeatStart = At(m_pos + 2) == ':' && At(m_pos + 3) != ':';
        m_column->AddNote(kMiddleRow, repeatStart ? 24 : 10023);
        if (m_ending > 0) m_endingLast = m_col;
        m_pos += repeatStart ? 2 : 1;
        m_groupStart = true;
      } else if (next >= '1' && next <= '9') {
        // The ending still open closes at its last bar line; one that holds
        // nothing yet ([1[2) gives way to the new one.
        if (m_ending > 0 && m_endingLast < 0 && m_col > m_endingFirst) {
          m_endingLast = m_endingBar > m_endingFirst ? m_endingBar : m_col;
          FlushSpans();
        }
        m_ending = next - '0';
        m_endingFirst = m_col;
        m_endingLast = -1;
        m_endingBar = -1;
        ++m_pos;
      } else {
        m_inChord = true;
      }
    } else if (c == ']') {
      if (m_inChord) {
        CloseChord();
        // A broken-rhythm sign after the chord still acts on its column.
        if (BrokenRhythmFollows()) completes = false;
      } else if (m_ending > 0) {
        m_endingLast = m_col;
      }
    } else if (c == '^' || c == '_') {
      const bool doubled = next == c;
      if (doubled) ++m_pos;
      m_pendingAccidental = c == '^' ? (doubled ? 29 : 28) : (doubled ? 31 : 30);
    } else if (c == '=') {
      m_pendingAccidental = 27;
    } else if (c == '!' || c == '+') {
      ReadDecoration(c);
    } else if (c == '.' && (next == '-' || next == '(')) {
      // A dotted tie or slur (".-", ".("), as typesetters draw it: the dot is
      // the arc's line style, not a staccato on the next note.
    } else if (c == '~' || c == '.' || c == 'v' || c == 'u') {
      m_pendingSymbols.push_back(c == '~' ? 64 : c == '.' ? 52 : c == 'v' ? 76 : 77);
    } else if (c == '{') {
      if (At(m_pos + 2) == '}') {
        m_singleGrace = true;
      } else {
        m_graceGroup = true;
      }
    } else if (c == '}') {
      if (m_graceGroup) {
        m_graceGroup = false;
      } else if (At(m_pos - 3) == ' ') {
        m_groupStart = true;
      }
    } else if (c == '"') {
      if (!HasNext()) break;
      const std::size_t close = m_text.find('"', m_pos + 1);
      const std::size_t end = close == std::string_view::npos ? m_text.size() : close;
      // Control characters (a NUL, a line feed) are no part of a text over the music.
      std::string quoted(m_text.substr(m_pos + 1, end - m_pos - 1));
      std::erase_if(quoted, [](char ch) { return static_cast<unsigned char>(ch) < 0x20; });
      CString text(quoted);
      if (!text.IsEmpty() && std::string_view("ABCDEFG").find(text[0]) != std::string_view::npos) {
        text = CString("@@") + text;
      } else if (!text.IsEmpty() && std::string_view("^_<>@").find(text[0]) != std::string_view::npos) {
        // An annotation's placement sign is not part of its text.
        text = text.Mid(1);
      }
      if (text.GetLength() > 2) m_state.chordNamesSeen = true;
      if (m_hasAnnotation) {
        // Chord names written one after the other ("Am""D"F) all stand over
        // the next note; any other annotation is placed before the next.
        const bool bothNames = m_annotation.View().substr(0, 2) == "@@" && text.View().substr(0, 2) == "@@";
        if (bothNames && m_heldChordNames.size() < 16) {
          m_heldChordNames.push_back(m_annotation);
        } else {
          FlushAnnotation();
        }
      }
      m_annotation = text;
      m_hasAnnotation = true;
      m_pos = static_cast<int>(end);
    } else if (c == '&' && !m_inChord) {
      StartOverlay();
    } else if (c == '%') {
      break;
    } else if (c == '\\') {
      m_state.continueFlag = m_continuation != 0;
    }
    if (completes && !m_inChord) CompleteColumn();
    if (m_endingToOpen > 0 && !m_inChord) {
      m_ending = m_endingToOpen;
      m_endingFirst = m_col;
      m_endingLast = -1;
      m_endingBar = -1;
      m_endingToOpen = 0;
    }
  }
  if (m_inChord) {
    // A chord left open at the end of the line still sounds.
    AddChordNotes(1, 1);
    m_inChord = false;
    CompleteColumn();
  }
  MergeOverlay();
}

std::unique_ptr<KLineObj> MusicLineReader::Read() {
  StartLine();
  AddMeterColumn();
  AddTempoMark();
  TakeOverOpenArcs();
  ReadSymbols();
  // An ending still open at the end of the line reaches to it.
  if (m_ending > 0 && m_endingLast < 0 && m_col > m_endingFirst) m_endingLast = m_col;
  HandOverOpenArcs();
  FlushSpans();
  FlushAnnotation(-1, m_noteRead);
  m_column.reset();
  m_state.brokenRhythmCarried = m_brokenNext;
  HandOverBarAccidentals();
  if (!m_noteRead && !m_state.continueFlag) {
    // Bar lines with no music on the line (a "|" among stray characters)
    // are dropped, as a bar alone at a line's end is.
    CObList* objects = m_line->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const POSITION here = node;
      auto* column = AsChord(static_cast<KPosObj*>(objects->GetNext(node)));
      if (column != nullptr && column->IsBarColumn()) {
        objects->RemoveAt(here);
        delete column;
      }
    }
    m_line->UpdateTimeSigCache();
  }

  if (m_line->GetObjCount() == 0 && !m_annotationAdded && !m_state.continueFlag) return nullptr;
  if (!m_noteRead && m_tempoColumnAdded && m_annotationAdded && m_line->GetAttachmentCount() == 2) {
    // A line of text only took the tempo mark: the mark and the meter are due again.
    CObList* attachments = m_line->GetAttachments();
    while (!attachments->IsEmpty()) {
      auto* attachment = static_cast<KExtendedObj*>(attachments->GetHead());
      m_line->RemoveAttachment(attachment);
      delete attachment;
    }
    m_state.tempoPending = true;
    m_state.meterPending = true;
  }
  if (m_state.continueFlag) {
    m_state.continued = std::move(m_line);
    m_state.continuedColumn = m_col;
    return nullptr;
  }
  return std::move(m_line);
}

}  // namespace

std::unique_ptr<KLineObj> ReadAbcMusicLine(const CString& text, int continuation) {
  MusicLineReader reader(text.View(), continuation);
  return reader.Read();
}
