// KStaffLine::WriteAbc: the staff line as ABC music text, the inverse of the
// ABC reader. Columns are walked in order; a meter column becomes an "M:" line,
// a tempo symbol with its text a "Q:" line, and everything else one music line
// of notes, rests, chords and bars. Slurs, tuplet marks and ending numbers of
// the attachment list become the signs the reader turns back into them.
//
// Lengths are written as the exact fraction of the unit length (reduced), so
// that every note value, dotted ones included, reads back to the same length.

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "common/Globals.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "model/KListLineBeams.h"

int g_abcUnitLength = 240;

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

// The nominal ticks of a note code (a quarter or half head beside shorter
// notes as its note); 0 for codes that are not notes.
int NoteTicks(int code) {
  if (code >= 108 && code <= 111) code -= 100;
  return (code >= 0 && code <= KChord::kWholeNote) || code == KChord::kBreve ? NoteCodeTicks(code) : 0;
}

// The ticks of a rest code (14..20); 0 for other codes.
int RestTicks(int code) { return code >= 14 && code <= 20 ? NoteCodeTicks(code) : 0; }

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

// What the entries of one row of a note column say.
struct RowGroup {
  int row = 0;
  int ticks = 0;  // 0: no note or rest on the row
  bool rest = false;
  int dotEighths = 0;
  std::string accidental;
  std::string decorations;
};

RowGroup& GroupOfRow(std::vector<RowGroup>& groups, int row) {
  for (RowGroup& group : groups) {
    if (group.row == row) return group;
  }
  groups.push_back(RowGroup{});
  groups.back().row = row;
  return groups.back();
}

// The text of one note column: its groups (a chord between "[" and "]" when
// there are several), then its bar signs.
// barRest: the ticks of a whole rest that fills its bar alone (0: none).
std::string NoteColumnText(const KChord& column, int unit, int rowOffset, bool grace, int barRest) {
  std::vector<RowGroup> groups;
  std::string bars;
  std::vector<int> looseDots;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    const int code = note.code;
    if (const char* bar = BarText(code)) {
      bars += bar;
    } else if (NoteTicks(code) > 0 || RestTicks(code) > 0 || (grace && code == kGraceNote)) {
      RowGroup& group = GroupOfRow(groups, note.position);
      group.rest = RestTicks(code) > 0;
      group.ticks = group.rest ? RestTicks(code) : code == kGraceNote ? unit : NoteTicks(code);
    } else if (const char* accidental = AccidentalText(code)) {
      GroupOfRow(groups, note.position).accidental = accidental;
    } else if (const char* decoration = DecorationText(code)) {
      GroupOfRow(groups, note.position).decorations += decoration;
    } else if (DotEighths(code) > 0) {
      GroupOfRow(groups, note.position).dotEighths = DotEighths(code);
    }
  }
  // A dot standing on a row of its own (beside a note on a line) belongs to
  // the notes of the column that have no dot of their own.
  for (const RowGroup& loose : groups) {
    if (loose.ticks != 0 || loose.dotEighths == 0) continue;
    for (RowGroup& group : groups) {
      if (group.ticks != 0 && group.dotEighths == 0) group.dotEighths = loose.dotEighths;
    }
  }
  std::vector<std::string> written;
  std::sort(groups.begin(), groups.end(), [](const RowGroup& a, const RowGroup& b) { return a.row > b.row; });
  for (const RowGroup& group : groups) {
    if (group.ticks == 0) continue;
    if (group.row < KStaffLine::kFirstRow || group.row > KStaffLine::kLastRow) continue;
    const std::string name = group.rest ? std::string("z") : RowName(group.row + rowOffset);
    if (name.empty()) continue;
    int ticks = group.dotEighths > 0 ? group.ticks * group.dotEighths / 8 : group.ticks;
    if (group.rest && barRest > 0) ticks = barRest;
    // Grace notes take their time from the note they lead to: no length.
    written.push_back(group.decorations + (group.rest ? std::string() : group.accidental) + name +
                      (grace ? std::string() : LengthText(ticks, unit)));
  }
  std::string out;
  if (written.size() > 1) out += "[";
  for (const std::string& text : written) out += text;
  if (written.size() > 1) out += "]";
  return out + bars;
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
// at, and (slur ends) after the column they end at.
struct Pieces {
  std::multimap<int, std::string> before;
  std::multimap<int, std::string> ties;  // "-" right after the tied note
  std::multimap<int, std::string> after;
};

Pieces CollectPieces(const CObList& attachments) {
  Pieces pieces;
  std::multimap<int, std::string> endings;
  std::multimap<int, std::string> tuplets;
  std::multimap<int, std::string> slurs;
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
    } else if (a->GetKind() == KExtendedObj::kTie) {
      pieces.ties.emplace(pos, "-");
    } else if (a->GetKind() == KExtendedObj::kSlur) {
      const int span = std::max(0, (a->GetSize().cx + kColumnWidth / 2) / kColumnWidth);
      slurs.emplace(pos, "(");
      pieces.after.emplace(pos + span, ")");
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
  for (auto* group : {&endings, &tuplets, &chords, &slurs})
    pieces.before.insert(group->begin(), group->end());
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

}  // namespace

std::string AbcKeyName(int key) {
  if (key < 0 || key > 15) key = 0;
  std::string name(g_AbcKeyTable.View().substr(static_cast<std::size_t>(key) * 2, 2));
  if (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::optional<CString> KStaffLine::WriteAbc() {
  if (m_objects.IsEmpty()) return std::nullopt;
  Pieces pieces = CollectPieces(m_attachments);
  const int rowOffset = AbcNamingRowOffset(m_type);
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
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(m_objects.GetNext(node));
    if (column == nullptr || column->GetNoteCount() == 0) continue;
    const int pos = column->GetPos();
    Flush(pieces.after, pos - 1, out);
    const int first = column->GetNote(0).code;
    if (first == KChord::kKeySignature || first == KChord::kTimeSignature) previous = nullptr;
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
      continue;
    }
    // Grace notes stand between braces before the note they lead to.
    const bool grace = IsGraceColumn(*column);
    if (!grace) closeGrace();
    const KColumnTime* timed = time.At(pos);
    std::string text =
        NoteColumnText(*column, g_abcUnitLength, rowOffset, grace, timed != nullptr ? timed->barRest : 0);
    const bool bar = !text.empty() && (text[0] == '|' || text[0] == ':' || text.compare(0, 2, "[|") == 0);
    if (bar) {
      previous = nullptr;
    } else if (!grace) {
      if (previous != nullptr && WrittenApart(*previous, *column) && !out.empty() && out.back() != ' ')
        out += ' ';
      previous = column;
    }
    FlushBefore(pieces.before, pos, out);
    if (grace && !inGrace) {
      out += "{";
      inGrace = true;
    }
    // Two bars in a row stay two ("| |"): written together they would read
    // as one double bar ("||") or a repeat sign ("|:").
    if (bar && !out.empty() && (out.back() == '|' || out.back() == ':')) out += ' ';
    out += text;
    if (!grace) Flush(pieces.ties, pos, out);
    Flush(pieces.after, pos, out);
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
