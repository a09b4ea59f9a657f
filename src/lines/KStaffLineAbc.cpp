// KStaffLine::WriteAbc: the staff line as ABC music text, the inverse of the
// ABC reader. Columns are walked in order; a meter column becomes an "M:" line,
// a tempo symbol with its text a "Q:" line, and everything else one music line
// of notes, rests, chords and bars. Slurs, tuplet marks and ending numbers of
// the attachment list become the signs the reader turns back into them.
//
// Lengths are written as the exact fraction of the unit length (reduced), so
// that every note value, dotted ones included, reads back to the same length.

#include <algorithm>
#include <climits>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "common/Globals.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "model/KListLineBeams.h"

int g_abcUnitLength = 240;
int g_abcSlursOpen = 0;
bool g_abcLineFollows = false;

namespace {

// Pixels per column of the attachments the reader makes (an arc or bracket
// over n columns is n x 18 pixels wide).
constexpr int kColumnWidth = 18;

// The ABC name of a row of the common treble scale: row 14 is the top line
// of the treble staff (f'), each row one diatonic step lower than the one
// above. Every row has a name, so that no note is left out.
constexpr int kTopLineRow = 14;
constexpr int kTopLineStep = 5 * 7 + 3;  // F5, in diatonic steps from C0

std::string RowName(int trebleRow) {
  const int step = kTopLineStep - (trebleRow - kTopLineRow);
  if (step < 0 || step >= 10 * 7) return {};
  const int octave = step / 7;
  static constexpr char kLetters[] = "CDEFGAB";
  std::string name(1, kLetters[step % 7]);
  if (octave >= 5) {
    name[0] = static_cast<char>(name[0] - 'A' + 'a');
    name.append(static_cast<std::size_t>(octave - 5), '\'');
  } else {
    name.append(static_cast<std::size_t>(4 - octave), ',');
  }
  return name;
}

// A single grace note, and the small-note style a group of grace notes has.
constexpr int kGraceNote = 13;
constexpr int kSmallNoteStyle = 4;

// A column of grace notes: a single grace note standing alone, or notes in
// small print. (A grace sign beside a full-size note is not written.)
bool IsGraceColumn(const KChord& column) {
  bool notes = false;
  bool graceSign = false;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    graceSign = graceSign || code == kGraceNote;
    notes = notes || (code >= 0 && code <= 12);
  }
  return notes ? column.GetNoteStyle() == kSmallNoteStyle : graceSign;
}

// The ticks of a rest code (14..20); 0 for other codes.
int RestTicks(int code) { return IsRestCode(code) ? NoteCodeTicks(code) : 0; }

const char* BarText(int code) {
  switch (code) {
    case 21:
      return "|";
    case 22:
      return "||";
    case 23:
      return "|]";
    case 24:
      return "|:";
    case 25:
      return ":|";
    case 96:
      return "::";
    case 10023:
      return "[|";
    default:
      return nullptr;
  }
}

const char* AccidentalText(int code) {
  switch (code) {
    case 27:
      return "=";
    case 28:
      return "^";
    case 29:
      return "^^";
    case 30:
      return "_";
    case 31:
      return "__";
    default:
      return nullptr;
  }
}

// The reader reads "v" as 76 and "u" as 77; they are written back the same way.
const char* DecorationText(int code) {
  switch (code) {
    case 52:
    case 53:
      return ".";
    case 64:
    case 65:
      return "~";
    case 76:
      return "v";
    case 77:
      return "u";
    default:
      return nullptr;
  }
}

// The note value of a tempo symbol as the denominator of "Q:1/n="; 0 for others.
int TempoDenominator(int code) {
  switch (code) {
    case 10034:
      return 4;
    case 10035:
      return 2;
    case 10032:
      return 8;
    case 10033:
      return 16;
    default:
      return 0;
  }
}

// The length of ticks in units of unit ticks: nothing for one unit, else the
// reduced fraction p/q written as p (when above 1) and "/q" (when q is above 1).
std::string LengthText(int ticks, int unit) {
  if (ticks <= 0 || unit <= 0) return {};
  const int divisor = std::gcd(ticks, unit);
  const int p = ticks / divisor;
  const int q = unit / divisor;
  std::string out;
  if (p > 1) out += std::to_string(p);
  if (q > 1) out += "/" + std::to_string(q);
  return out;
}

// What the entries of one row of a note column say: its notes (a length in
// ticks each, in the order they stand) with the row's accidental.
struct RowGroup {
  int row = 0;
  std::vector<int> ticks;  // empty: no note or rest on the row
  bool rest = false;
  int dot = 0;  // the row's dot symbol (0: none)
  std::string accidental;
};

RowGroup& GroupOfRow(std::vector<RowGroup>& groups, int row) {
  for (RowGroup& group : groups) {
    if (group.row == row) return group;
  }
  groups.push_back(RowGroup{});
  groups.back().row = row;
  return groups.back();
}

// The text of one note column: its decorations, its notes (a chord between
// "[" and "]" when there are several), and apart from them its bar signs.
// barRest: the ticks of a whole rest that fills its bar alone (0: none).
struct ColumnText {
  std::string notes;
  std::string bars;
};

ColumnText NoteColumnText(const KChord& column, int unit, int rowOffset, bool grace, int barRest = 0) {
  std::vector<RowGroup> groups;
  ColumnText out;
  // A decoration belongs to the whole column: ABC writes it before a note or
  // a chord, and the reader gives it to the column it stands before. Each
  // is written once.
  std::string decorations;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    const int code = note.code;
    if (const char* bar = BarText(code)) {
      out.bars += bar;
    } else if (WrittenNoteTicks(code) > 0 || RestTicks(code) > 0 || (grace && code == kGraceNote)) {
      RowGroup& group = GroupOfRow(groups, note.position);
      group.rest = RestTicks(code) > 0;
      group.ticks.push_back(group.rest           ? RestTicks(code)
                            : code == kGraceNote ? unit
                                                 : WrittenNoteTicks(code));
    } else if (const char* accidental = AccidentalText(code)) {
      GroupOfRow(groups, note.position).accidental = accidental;
    } else if (const char* decoration = DecorationText(code)) {
      if (decorations.find(decoration) == std::string::npos) decorations += decoration;
    } else if (DotEighths(code) > 0) {
      GroupOfRow(groups, note.position).dot = code;
    }
  }
  // A dot standing on a row of its own (beside a note on a line) belongs to
  // the notes of the column that have no dot of their own.
  for (const RowGroup& loose : groups) {
    if (!loose.ticks.empty() || loose.dot == 0) continue;
    for (RowGroup& group : groups) {
      if (!group.ticks.empty() && group.dot == 0) group.dot = loose.dot;
    }
  }
  std::vector<std::string> written;
  std::sort(groups.begin(), groups.end(), [](const RowGroup& a, const RowGroup& b) { return a.row > b.row; });
  for (const RowGroup& group : groups) {
    if (group.row < KStaffLine::kFirstRow || group.row > KStaffLine::kLastRow) continue;
    const std::string name = group.rest ? std::string("z") : RowName(group.row + rowOffset);
    if (name.empty()) continue;
    // Every note on the row is written, so that none of them goes unplayed.
    for (int plain : group.ticks) {
      int ticks = static_cast<int>(DottedTicks(plain, group.dot));
      if (group.rest && barRest > 0) ticks = barRest;
      // Grace notes take their time from the note they lead to: no length.
      written.push_back((group.rest ? std::string() : group.accidental) + name +
                        (grace ? std::string() : LengthText(ticks, unit)));
    }
  }
  if (written.empty()) return out;
  out.notes = decorations;
  if (written.size() > 1) out.notes += "[";
  for (const std::string& text : written) out.notes += text;
  if (written.size() > 1) out.notes += "]";
  return out;
}

// The first digit of a text, or 0.
char FirstDigit(const CString& text) {
  for (char c : text.View()) {
    if (c >= '1' && c <= '9') return c;
  }
  return 0;
}

std::string Digits(const CString& text) {
  std::string out;
  for (char c : text.View()) {
    if (c >= '0' && c <= '9') out += c;
  }
  return out;
}

bool IsBracketLine(int kind) { return kind >= KExtendedObj::kFirstBracketLine && kind <= 24 && kind != 21; }

// The signs the attachments put around columns: before the column they start
// at, and (ties and slur ends) after the notes of the column they end at.
struct Pieces {
  std::multimap<int, std::string> before;
  std::multimap<int, std::string> ties;  // "-" right after the tied note
  std::multimap<int, std::string> after;
};

Pieces CollectPieces(const CObList& attachments) {
  Pieces pieces;
  std::multimap<int, std::string> endings;
  std::multimap<int, std::string> tuplets;
  std::multimap<int, std::string> chords;
  for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
    const auto* a = dynamic_cast<const KExtendedObj*>(attachments.GetNext(node));
    if (a == nullptr) continue;
    const int pos = a->GetPos();
    const CString& text = a->GetText();
    if (a->GetKind() == KExtendedObj::kTextBox && text.View().substr(0, 2) == "@@" && text.GetLength() > 2) {
      // A chord name the reader left over the notes.
      chords.emplace(pos, "\"" + std::string(text.View().substr(2)) + "\"");
    } else if (a->GetKind() == KExtendedObj::kNumberedBracket) {
      if (const char digit = FirstDigit(text)) tuplets.emplace(pos, std::string("(") + digit);
    } else if (IsBracketLine(a->GetKind()) ||
               (a->GetKind() == KExtendedObj::kTextBox && text.GetLength() == 2 && text[1] == '.')) {
      // An ending: its bracket, or the "n." text the reader puts beside it.
      const char digit = FirstDigit(text);
      if (digit == 0) continue;
      const std::string sign = std::string("[") + digit;
      bool known = false;
      for (auto [it, end] = endings.equal_range(pos); it != end; ++it) known = known || it->second == sign;
      if (!known) endings.emplace(pos, sign);
    }
  }
  for (auto* group : {&endings, &tuplets, &chords}) pieces.before.insert(group->begin(), group->end());
  return pieces;
}

// Moves the pieces of `from` with keys up to `last` (inclusive) onto out.
void Flush(std::multimap<int, std::string>& from, int last, std::string& out) {
  auto end = from.upper_bound(last);
  for (auto it = from.begin(); it != end; ++it) out += it->second;
  from.erase(from.begin(), end);
}

// The signs written before a note: those of the blank columns before it
// with its own, in one order whatever column each stood on (endings,
// tuplets, chord names, slurs), so that the text reads back to the same.
void FlushBefore(std::multimap<int, std::string>& from, int last, std::string& out) {
  const auto rank = [](const std::string& sign) {
    if (sign[0] == '[') return 0;
    if (sign[0] == '(' && sign.size() > 1) return 1;
    if (sign[0] == '"') return 2;
    return 3;
  };
  std::vector<std::string> signs;
  const auto end = from.upper_bound(last);
  for (auto it = from.begin(); it != end; ++it) signs.push_back(it->second);
  from.erase(from.begin(), end);
  std::stable_sort(signs.begin(), signs.end(),
                   [&](const std::string& a, const std::string& b) { return rank(a) < rank(b); });
  for (const std::string& sign : signs) out += sign;
}

bool EndsLine(const std::string& out) {
  return out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0;
}

// True when music text is open on the current line.
bool InMusic(const std::string& out) { return !out.empty() && !EndsLine(out); }

// The meter of a time-signature column and the unit length that goes with
// it, written as a header line at the start of a line of music and as inline
// fields within one. The unit length is always written out: a reader takes a
// meter's default unit only in the header of a tune.
void WriteMeter(const KChord& column, std::string& out) {
  if (column.GetNoteCount() < 3) return;
  const int upper = column.GetNote(1).code;
  const int lower = column.GetNote(2).code;
  std::string meter;
  int unit = 240;
  if (upper == 98) {
    meter = "4/4";
  } else if (upper == 99) {
    meter = "C|";  // cut time, as the reader reads it back
  } else {
    const int numerator = upper - 99;
    const int denominator = lower - 99;
    if (numerator < 1 || numerator > 99 || denominator < 1 || denominator > 99) return;
    meter = std::to_string(numerator) + "/" + std::to_string(denominator);
    unit = 4 * numerator < 3 * denominator ? 120 : 240;
  }
  const std::string length = unit == 120 ? "1/16" : "1/8";
  if (InMusic(out)) {
    out += "[M:" + meter + "][L:" + length + "]";
  } else {
    out += "M:" + meter + "\r\nL:" + length + "\r\n";
  }
  g_abcUnitLength = unit;
}

// The tempo of a column holding a tempo symbol whose text lies at it.
void WriteTempo(int denominator, int pos, const CObList& attachments, std::string& out) {
  for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
    const auto* a = dynamic_cast<const KExtendedObj*>(attachments.GetNext(node));
    if (a == nullptr || a->GetPos() != pos || a->GetKind() != KExtendedObj::kTextBox) continue;
    const std::string digits = Digits(a->GetText());
    if (digits.empty()) continue;
    const std::string tempo = "Q:1/" + std::to_string(denominator) + "=" + digits;
    out += InMusic(out) ? "[" + tempo + "]" : tempo + "\r\n";
    return;
  }
}

// A key change within the line: an inline key field. The column's second
// entry is the new key, or 16 + the old one where the change goes back to C.
void WriteKeyChange(const KChord& column, std::string& out) {
  if (column.GetNoteCount() < 2) return;
  const int code = column.GetNote(1).code;
  const int key = code >= 0 && code < 16 ? code : 0;
  out += "[K:" + AbcKeyName(key) + "]";
}

int TempoDenominatorOf(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    if (const int denominator = TempoDenominator(column.GetNote(i).code)) return denominator;
  }
  return 0;
}

// The note columns of a line as they are written (grace notes aside), and
// where the line ends.
struct LineShape {
  std::map<int, const KChord*> notes;
  int lastPos = -1;         // the line's last column
  bool closingBar = false;  // that column is a bar
};

bool IsSignature(int code) { return code == KChord::kKeySignature || code == KChord::kTimeSignature; }

LineShape ShapeOf(const CObList& objects, int rowOffset) {
  LineShape shape;
  for (POSITION node = objects.GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(objects.GetNext(node));
    if (column == nullptr || column->GetNoteCount() == 0) continue;
    const int pos = column->GetPos();
    if (pos >= shape.lastPos) {
      shape.lastPos = pos;
      shape.closingBar = column->IsBarColumn();
    }
    if (IsSignature(column->GetNote(0).code) || TempoDenominatorOf(*column) != 0 || IsGraceColumn(*column))
      continue;
    if (!NoteColumnText(*column, g_abcUnitLength, rowOffset, false).notes.empty()) shape.notes[pos] = column;
  }
  return shape;
}

// The sounding pitches of a column's notes.
std::vector<int> PitchesOf(const KStaffLine& line, const KChord& column) {
  std::vector<int> pitches;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (WrittenNoteTicks(note.code) > 0)
      pitches.push_back(line.GetPitchAtRow(note.position, column.GetPos()));
  }
  return pitches;
}

bool SharePitch(const KStaffLine& line, const KChord& a, const KChord& b) {
  const std::vector<int> first = PitchesOf(line, a);
  for (int pitch : PitchesOf(line, b)) {
    if (pitch >= 0 && std::find(first.begin(), first.end(), pitch) != first.end()) return true;
  }
  return false;
}

// A hammer-on, pull-off or slide from a note to the next one (the signs and
// their arcs, as a tablature line gives them to its staff).
bool LeadsToNextNote(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    const int plain = code >= KChord::kFlaggedBase ? code - KChord::kFlaggedBase : code;
    if (plain >= 42 && plain <= 47) return true;
    if (code == 48 || code == 50) return true;  // a slide out, to the next note
  }
  return false;
}

// The ties and slurs of the line as ABC signs on its note columns. A tie
// ("-") joins a note to the next of the same pitch; an arc between other
// pitches, or over more notes, is a slur: "(" before its first note and
// ")" after its last, before any bar. A slur that runs past the line's end
// goes on into the next line of the tune, which closes it; the slurs the
// line before left open close after this line's first note, or where the
// arcs that continue them at its start end.
void CollectArcs(const KStaffLine& line, const CObList& attachments, const LineShape& shape, Pieces& pieces) {
  int carried = g_abcSlursOpen;
  g_abcSlursOpen = 0;
  const auto& notes = shape.notes;
  if (notes.empty()) {
    if (g_abcLineFollows) g_abcSlursOpen = carried;
    return;
  }
  const int firstNote = notes.begin()->first;
  const int lastNote = notes.rbegin()->first;
  auto firstAtOrAfter = [&](long long column) {
    const auto it = notes.lower_bound(static_cast<int>(std::clamp<long long>(column, INT_MIN, INT_MAX)));
    return it == notes.end() ? -1 : it->first;
  };
  auto lastAtOrBefore = [&](long long column) {
    const auto it = notes.upper_bound(static_cast<int>(std::clamp<long long>(column, INT_MIN, INT_MAX)));
    return it == notes.begin() ? -1 : std::prev(it)->first;
  };
  std::set<std::pair<int, int>> slurs;
  auto slur = [&](int from, int to) {
    if (slurs.insert({from, to}).second) {
      pieces.before.emplace(from, "(");
      pieces.after.emplace(to, ")");
    }
  };
  int runOn = 0;
  std::vector<long long> continuations;
  for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
    const auto* a = dynamic_cast<const KExtendedObj*>(attachments.GetNext(node));
    if (a == nullptr || (a->GetKind() != KExtendedObj::kTie && a->GetKind() != KExtendedObj::kSlur)) continue;
    const int pos = a->GetPos();
    // The column the arc's right end stands on, as playback reads it.
    const long long right = 1LL * pos * kColumnWidth + a->GetOffset().x + a->GetSize().cx;
    const long long endColumn = right >= 0 ? right / kColumnWidth : -1;
    const bool pastEnd = endColumn > shape.lastPos || (shape.closingBar && endColumn >= shape.lastPos);
    if (pos < firstNote) {
      // An arc from before the first note: the end of one from the line before.
      continuations.push_back(endColumn);
      continue;
    }
    const int start = firstAtOrAfter(pos);
    if (start < 0) continue;  // after the music: it holds no note here
    const int next = firstAtOrAfter(1LL * start + 1);
    const bool toNext = next >= 0 && endColumn <= next;
    // A tie holds the note at its column (or the next, as playback finds it).
    if (a->GetKind() == KExtendedObj::kTie && start <= pos + 1) {
      if (pastEnd && next < 0) {
        pieces.ties.emplace(start, "-");  // held on into the next line's first note
        continue;
      }
      if (toNext && SharePitch(line, *notes.at(start), *notes.at(next))) {
        pieces.ties.emplace(start, "-");
        continue;
      }
      // Between different pitches (a hammer-on, a pull-off): a slur.
      if (toNext) {
        slur(start, next);
        continue;
      }
    }
    if (pastEnd) {
      if (slurs.insert({start, INT_MAX - runOn}).second) pieces.before.emplace(start, "(");
      ++runOn;
      continue;
    }
    slur(start, std::max(start, lastAtOrBefore(endColumn)));
  }
  for (const auto& [pos, column] : notes) {
    if (!LeadsToNextNote(*column)) continue;
    if (const int next = firstAtOrAfter(1LL * pos + 1); next >= 0) {
      slur(pos, next);
    } else if (slurs.insert({pos, INT_MAX - runOn}).second) {
      pieces.before.emplace(pos, "(");
      ++runOn;
    }
  }
  std::sort(continuations.begin(), continuations.end());
  for (const long long endColumn : continuations) {
    if (carried == 0) break;
    pieces.after.emplace(std::max(firstNote, lastAtOrBefore(endColumn)), ")");
    --carried;
  }
  for (; carried > 0; --carried) pieces.after.emplace(firstNote, ")");
  if (g_abcLineFollows) {
    g_abcSlursOpen = runOn;
  } else {
    for (; runOn > 0; --runOn) pieces.after.emplace(lastNote, ")");
  }
}

// Whether a note column is written apart from the note column before it.
// ABC beams the notes it finds written together and gives a run of notes
// with no blank between them the stem direction of its first note; a blank
// parts the beam groups as the score has them, and starts a run where the
// stems change direction, so that the tune reads back with the same beams
// and stems.
bool Flagged(const KChord& column) { return column.GetFlagCount(0) > 0 || column.GetFlagCount(1) > 0; }

bool BeamedToPrevious(const KChord& column) {
  for (int voice = 0; voice < 2; ++voice) {
    if (column.GetFlagCount(voice) > 0 && beam::ContinuesBefore(column.GetVoiceStem(voice))) return true;
  }
  return false;
}

// 1 stems up, -1 down, 0 none (rests, whole notes, bars).
int StemDirection(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    if (code >= 0 && code < KChord::kWholeNote) return code % 2 == 0 ? 1 : -1;
  }
  return 0;
}

bool WrittenApart(const KChord& previous, const KChord& column) {
  // Only notes with flags beam: a longer note written next to an eighth
  // stays one run with it (its stem goes the run's way) and beams with
  // nothing.
  if (Flagged(previous) && Flagged(column)) return !BeamedToPrevious(column);
  const int before = StemDirection(previous);
  const int now = StemDirection(column);
  return before != 0 && now != 0 && before != now;
}

// Voices of a bar written in two: the upper voice has its stems up (even
// codes), the lower one down (odd codes).
constexpr int kUpper = 1;
constexpr int kLower = 0;

// The voice of a note or rest entry of a column of a two-voice bar, or -1
// for entries that are neither; kBoth for a rest both voices take.
constexpr int kBoth = 2;
int VoiceOfEntry(const KChord& column, int i, const KColumnTime& timed) {
  bool upperNotes = false;
  bool lowerNotes = false;
  for (int k = 0; k < column.GetNoteCount(); ++k) {
    const int code = column.GetNote(k).code;
    if (code >= 0 && code < KChord::kWholeNote) (code % 2 == 0 ? upperNotes : lowerNotes) = true;
  }
  const int code = column.GetNote(i).code;
  if (code >= 0 && code < KChord::kWholeNote) return code % 2 == 0 ? kUpper : kLower;
  // A whole note stands beside the other voice's notes.
  if (code == KChord::kWholeNote) return upperNotes ? kLower : kUpper;
  if (RestTicks(code) == 0) return -1;
  // A rest beside notes of one voice is the other voice's; a rest alone is
  // the voice's that it moved on (both when they were level).
  if (upperNotes != lowerNotes) return upperNotes ? kLower : kUpper;
  if (upperNotes) return kLower;
  const int restEnd = timed.start + timed.rest;
  const bool upper = timed.voiceEnd[kUpper] == restEnd;
  const bool lower = timed.voiceEnd[kLower] == restEnd;
  if (upper && lower) return kBoth;
  return lower ? kLower : kUpper;
}

// The entries of the column that belong to the voice: its notes and rests,
// and the accidentals and dots on their rows (the upper voice takes those on
// rows of no note, and the decorations).
std::unique_ptr<KChord> VoicePart(const KChord& column, const KColumnTime& timed, int voice) {
  auto part = std::make_unique<KChord>(column.GetPos());
  std::set<int> rows;
  std::set<int> otherRows;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int owner = VoiceOfEntry(column, i, timed);
    if (owner < 0) continue;
    (owner == voice || owner == kBoth ? rows : otherRows).insert(column.GetNote(i).position);
  }
  if (rows.empty()) return nullptr;
  // Rests that both voices take (a column of rests alone) are one rest of
  // each voice.
  bool sharedRestTaken = false;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    const int owner = VoiceOfEntry(column, i, timed);
    if (owner == kBoth) {
      if (sharedRestTaken) continue;
      sharedRestTaken = true;
    }
    bool mine = owner == voice || owner == kBoth;
    if (owner < 0) {
      mine = rows.count(note.position) != 0 || (voice == kUpper && otherRows.count(note.position) == 0);
    }
    if (mine) part->AddNote(note.position, note.code);
  }
  return part;
}

// A bar written in two voices, as ABC's voice overlay: the upper voice, "&",
// the lower one, each with rests where it is silent, so that a player keeps
// each in its own time. The signs of a column go with the upper voice when
// it has a note there, else with the lower.
std::string TwoVoiceBar(const std::vector<const KChord*>& columns, const KLineTime& time, int rowOffset,
                        Pieces& pieces) {
  const int unit = g_abcUnitLength;
  const int barStart = time.At(columns.front()->GetPos())->start;
  const int barEnd = time.At(columns.back()->GetPos())->end;
  std::string voices[2];
  int clock[2] = {barStart, barStart};
  // Grace notes go before the next note of either voice, after its rest.
  std::string graces;
  for (const KChord* column : columns) {
    const KColumnTime& timed = *time.At(column->GetPos());
    const int pos = column->GetPos();
    if (timed.kind == KColumnTime::Kind::kGrace) {
      graces += NoteColumnText(*column, unit, rowOffset, true).notes;
      continue;
    }
    std::unique_ptr<KChord> parts[2] = {VoicePart(*column, timed, kLower), VoicePart(*column, timed, kUpper)};
    const int signsVoice = parts[kUpper] != nullptr ? kUpper : kLower;
    for (const int voice : {kUpper, kLower}) {
      if (parts[voice] == nullptr) continue;
      std::string& text = voices[voice];
      if (timed.start > clock[voice]) text += "z" + LengthText(timed.start - clock[voice], unit);
      if (voice == signsVoice) FlushBefore(pieces.before, pos, text);
      if (voice == signsVoice && !graces.empty()) {
        text += "{" + graces + "}";
        graces.clear();
      }
      text += NoteColumnText(*parts[voice], unit, rowOffset, false).notes;
      if (voice == signsVoice) {
        Flush(pieces.ties, pos, text);
        Flush(pieces.after, pos, text);
      }
      clock[voice] = std::max(clock[voice], timed.start + KLineTime::StepOf(*parts[voice]));
    }
  }
  for (const int voice : {kUpper, kLower}) {
    if (clock[voice] < barEnd) voices[voice] += "z" + LengthText(barEnd - clock[voice], unit);
  }
  return voices[kUpper] + " & " + voices[kLower];
}

}  // namespace

std::string AbcKeyName(int key) {
  if (key < 0 || key > 15) key = 0;
  std::string name(g_AbcKeyTable.View().substr(static_cast<std::size_t>(key) * 2, 2));
  if (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::optional<CString> KStaffLine::WriteAbc() {
  if (m_objects.IsEmpty()) return std::nullopt;
  const int rowOffset = AbcNamingRowOffset(m_type);
  Pieces pieces = CollectPieces(m_attachments);
  CollectArcs(*this, m_attachments, ShapeOf(m_objects, rowOffset), pieces);
  // The line's time: how long a whole rest alone in its bar lasts.
  const KLineTime time(*this);
  std::string out;
  bool inGrace = false;
  auto closeGrace = [&] {
    if (inGrace) out += "}";
    inGrace = false;
  };
  // The note column written last in the current run of notes (none after
  // a bar, a signature or a blank).
  const KChord* previous = nullptr;
  // The rest of a two-voice bar that is written as chords.
  bool chordsToBar = false;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(m_objects.GetNext(node));
    if (column == nullptr || column->GetNoteCount() == 0) continue;
    const int pos = column->GetPos();
    Flush(pieces.after, pos - 1, out);
    const int first = column->GetNote(0).code;
    if (IsSignature(first)) previous = nullptr;
    if (first == KChord::kKeySignature) {
      // Only a line that says it has key changes reads them.
      if (TestFlags(kFlagKeyChanges)) {
        closeGrace();
        WriteKeyChange(*column, out);
      }
      continue;
    }
    if (first == KChord::kTimeSignature) {
      closeGrace();
      WriteMeter(*column, out);
      continue;
    }
    if (const int denominator = TempoDenominatorOf(*column)) {
      closeGrace();
      WriteTempo(denominator, pos, m_attachments, out);
      // A mark set over notes or a rest: they are written after it.
      const ColumnText under = NoteColumnText(*column, g_abcUnitLength, rowOffset, false);
      if (under.notes.empty() && under.bars.empty()) continue;
    }
    // A bar written in two voices goes out whole, up to its bar line.
    if (const KColumnTime* timed = time.At(pos);
        timed != nullptr && timed->twoVoices && !chordsToBar &&
        (timed->kind == KColumnTime::Kind::kNotes || timed->kind == KColumnTime::Kind::kRest)) {
      // Its columns up to the bar line: notes, rests and grace notes. A bar
      // that holds anything else (a key or meter change) is written as
      // chords, as a bar of one voice is.
      std::vector<const KChord*> bar{column};
      POSITION ahead = node;
      bool whole = true;
      for (; ahead != nullptr; m_objects.GetNext(ahead)) {
        const auto* next = dynamic_cast<const KChord*>(m_objects.GetAt(ahead));
        if (next == nullptr || next->GetNoteCount() == 0) continue;
        const KColumnTime* nextTime = time.At(next->GetPos());
        if (nextTime == nullptr) break;
        const KColumnTime::Kind kind = nextTime->kind;
        if (kind == KColumnTime::Kind::kBar) break;
        whole = whole && (kind == KColumnTime::Kind::kNotes || kind == KColumnTime::Kind::kRest ||
                          kind == KColumnTime::Kind::kGrace);
        bar.push_back(next);
      }
      if (whole) {
        node = ahead;
        closeGrace();
        if (!out.empty() && !EndsLine(out) && out.back() != '|' && out.back() != ' ') out += ' ';
        out += TwoVoiceBar(bar, time, rowOffset, pieces);
        previous = nullptr;
        continue;
      }
      chordsToBar = true;
    }
    // Grace notes stand between braces before the note they lead to.
    const bool grace = IsGraceColumn(*column);
    if (!grace) closeGrace();
    const KColumnTime* timed = time.At(pos);
    const ColumnText text =
        NoteColumnText(*column, g_abcUnitLength, rowOffset, grace, timed != nullptr ? timed->barRest : 0);
    const bool bar = text.notes.empty() && !text.bars.empty();
    std::string signs;
    FlushBefore(pieces.before, pos, signs);
    if (bar) {
      previous = nullptr;
      chordsToBar = false;
    } else if (!grace) {
      // A tie before the note, or a slur or tuplet opened at it, parts it
      // from the note before for the reader already.
      const bool parted = (!out.empty() && out.back() == '-') || signs.find('(') != std::string::npos;
      if (previous != nullptr && WrittenApart(*previous, *column) && !out.empty() && out.back() != ' ' &&
          !parted)
        out += ' ';
      previous = column;
    }
    out += signs;
    if (grace && !inGrace) {
      out += "{";
      inGrace = true;
    }
    // Two bars in a row stay two ("| |"): written together they would read
    // as one double bar ("||") or a repeat sign ("|:").
    if (bar && !out.empty() && (out.back() == '|' || out.back() == ':')) out += ' ';
    out += text.notes;
    if (!grace) {
      // A tie and a slur's end follow their note, before its column's bar.
      Flush(pieces.ties, pos, out);
      Flush(pieces.after, pos, out);
    }
    out += text.bars;
  }
  closeGrace();
  // An ending or tuplet sign with no music after it opens nothing: left out.
  std::erase_if(pieces.before, [](const auto& piece) {
    const std::string& sign = piece.second;
    return sign.size() == 2 && (sign[0] == '[' || sign[0] == '(') && sign[1] >= '1' && sign[1] <= '9';
  });
  Flush(pieces.before, std::numeric_limits<int>::max(), out);
  Flush(pieces.after, std::numeric_limits<int>::max(), out);
  if (out.empty() || !EndsLine(out)) out += "\r\n";
  return CString(std::string_view(out));
}

int AbcNamingRowOffset(int kind) {
  switch (kind) {
    case 1:
    case 9:
    case 10:
      return KStaffLine::RowOffset(kind);
    default:
      return 0;
  }
}

std::string AbcClefClause(int kind) {
  switch (kind) {
    case 1:
      return " clef=bass";
    case 9:
      return " clef=alto";
    case 10:
      return " clef=tenor";
    case 11:
      return " clef=treble+8";
    case 12:
      return " clef=treble-8";
    case 13:
    case 16:
      return " clef=perc";
    default:
      return {};
  }
}
