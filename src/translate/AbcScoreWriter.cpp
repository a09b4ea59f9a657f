// The ABC writer of a whole score, and of the staff lines of a selection.
//
// The whole score is written as ABC tunes: every title line starts a tune (X:
// and T:), the first staff line of a tune ends its header with the meter, unit
// length and key, a key change between lines writes K:, chord names go over
// the music they belong to, and other text becomes notes (N:) in the header
// and words (W:) in the body, fields every ABC reader accepts. A second title
// before the music is the tune's subtitle. The key field names the staff's
// clef, and the mode of a tune that begins and ends on one note. Lines that
// are not music in ABC's sense (tablature, rhythm) are kept as comments, which
// the ABC players pass over.

#include "translate/AbcScoreWriter.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Globals.h"
#include "common/KeyMode.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"

namespace {

constexpr int kDefaultUnit = 240;
// A text this much taller than the score's text is a title.
constexpr int kTitleLarger = 2;
constexpr int kNameRow = 9;

KStaffLine* AsStaff(KLineObj* line) {
  return line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff ? dynamic_cast<KStaffLine*>(line)
                                                                        : nullptr;
}

// How far right of the score's left edge the line's columns begin: its indent,
// and on a line of notes the room of its clef, key and meter.
long long ColumnsStart(KLineObj& line, int size) {
  long long x = line.GetIndent();
  const KListLine* list = line.AsListLine();
  if (list != nullptr && KLineObj::IsNoteFamily(line.GetFamily())) x += list->GetLeadInWidth(size);
  return x;
}

// The positions of the staff's columns that hold notes or rests, in order.
std::vector<int> NoteColumns(KStaffLine& staff) {
  std::vector<int> columns;
  CObList* objects = staff.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const int code = column->GetNote(i).code;
      if ((code >= 0 && code <= 20) || (code >= 108 && code <= 111)) {
        columns.push_back(column->GetPos());
        break;
      }
    }
  }
  return columns;
}

// The note column under each named diagram of a chord line, in the line's
// order. A diagram stands over its note, to the nearest. Where names stand
// closer than their pictures are wide, each picture was set right after the
// one before it, past its own note: a diagram that is not at a note's column
// and starts no later than the one before it ends (a picture drawn since may
// have grown wider) names the first note after that one's note (one that
// starts before the diagram does).
std::vector<std::pair<const KChordPic*, int>> NotesUnderDiagrams(KChordPicLine& chords,
                                                                 const std::vector<int>& notes,
                                                                 long long staffFromChords, int size) {
  std::vector<std::pair<const KChordPic*, int>> placed;
  const int chordWidth = KListLine::kChordColumnWidth[size];
  const int noteWidth = g_NoteColumnWidth[size];
  // The chord column a note's x falls in.
  auto chordColumnOf = [&](int note) {
    const long long x = staffFromChords + static_cast<long long>(note) * noteWidth;
    return x < 0 ? -1LL : x / chordWidth;
  };
  long long previousEnd = -1;
  int previousNote = -1;
  CObList* diagrams = chords.GetObjList();
  for (POSITION node = diagrams->GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(diagrams->GetNext(node));
    if (diagram == nullptr || diagram->GetName().IsEmpty()) continue;
    const long long column = diagram->GetPos();
    const long long x = column * chordWidth - staffFromChords;
    int note = static_cast<int>(std::max(0LL, (x + noteWidth / 2) / noteWidth));
    if (!notes.empty()) {
      // The note nearest the diagram.
      auto nearest = std::min_element(notes.begin(), notes.end(), [&](int a, int b) {
        return std::llabs(static_cast<long long>(a) * noteWidth - x) <
               std::llabs(static_cast<long long>(b) * noteWidth - x);
      });
      note = *nearest;
      const bool atItsNote = chordColumnOf(note) == column;
      // (The import sets such a picture one column further where it would
      // stand at another note's column.)
      if (!atItsNote && column <= previousEnd + 1) {
        const auto next = std::upper_bound(notes.begin(), notes.end(), previousNote);
        if (next != notes.end() && chordColumnOf(*next) <= column) note = *next;
      }
    }
    placed.emplace_back(diagram, note);
    previousNote = note;
    const int extent = chords.GetDiagramExtent(*diagram);
    previousEnd = std::max(column + 1, column + (extent + chordWidth - 1) / chordWidth);
  }
  return placed;
}

// The text split at its line ends, without empty pieces.
std::vector<std::string> Pieces(std::string_view text) {
  std::vector<std::string> pieces;
  std::string current;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!current.empty()) pieces.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) pieces.push_back(current);
  return pieces;
}

bool IsHeaderPiece(const std::string& piece) {
  return piece.size() >= 2 && piece[1] == ':' && (piece[0] == 'M' || piece[0] == 'L' || piece[0] == 'Q');
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

// The first column of the line holds a time signature.
bool StartsWithMeter(KStaffLine& staff) {
  CObList* objects = staff.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(objects->GetNext(node));
    if (column == nullptr || column->GetNoteCount() == 0) continue;
    return column->GetNote(0).code == KChord::kTimeSignature;
  }
  return false;
}

// A key field with the staff's clef; a treble staff after another clef says
// so, since a clef holds until the next one. Every key is written, C flat
// (key 15) too: a tune's header ends with its K: field, and a tune without
// one is read back in C, its flats lost.
std::string KeyField(int key, int kind, int previousKind) {
  std::string clef = AbcClefClause(kind);
  if (clef.empty() && !AbcClefClause(previousKind).empty()) clef = " clef=treble";
  return "K:" + AbcKeyName(key) + clef + "\r\n";
}

// The sounding pitches of the lowest notes of the staff's first and last note
// columns; -1 where it has none.
std::pair<int, int> FirstAndLastPitch(const KStaffLine& staff) {
  std::pair<int, int> pitches{-1, -1};
  const CObList* objects = const_cast<KStaffLine&>(staff).GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(objects->GetNext(node));
    if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
    int lowest = -1;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (note.code < 0 || note.code > 12) continue;
      const int pitch = staff.GetPitchAtRow(note.position, column->GetPos()) + KStaffLine::kPitchToMidi;
      if (lowest < 0 || pitch < lowest) lowest = pitch;
    }
    if (lowest < 0) continue;
    if (pitches.first < 0) pitches.first = lowest;
    pitches.second = lowest;
  }
  return pitches;
}

// The whole score as ABC tunes.
class ScoreWriter {
 public:
  explicit ScoreWriter(const ScoreExport& score) : m_score(score) {}

  std::string Write() {
    g_abcUnitLength = kDefaultUnit;
    g_abcSlursOpen = 0;
    bool titleSeen = false;
    for (std::size_t d = 0; d < m_score.lines.size(); ++d) {
      KLineObj* line = m_score.lines[d];
      if (line == nullptr) continue;
      if (KStaffLine* staff = AsStaff(line)) {
        WriteStaff(*staff, d);
        continue;
      }
      switch (line->GetFamily()) {
        case KLineObj::kFamilyText: {
          auto* text = dynamic_cast<KStrLine*>(line);
          if (text == nullptr || IsBlank(text->GetText().View())) break;
          // A title starts a tune; before any music the first text is the
          // title when no line says it is one.
          const bool title = IsTitle(*text) || (!titleSeen && !m_tuneOpen);
          if (title) {
            titleSeen = true;
            StartTune(Trimmed(text->GetText().View()));
          } else {
            AddInfo(Trimmed(text->GetText().View()));
          }
          break;
        }
        case KLineObj::kFamilyChord:
          // The names go over the music of the next staff line.
          if (m_pendingChords != nullptr) WriteChordNamesAlone();
          m_pendingChords = dynamic_cast<KChordPicLine*>(line);
          m_pendingChordsLine = d;
          break;
        default: {
          // Tablature and rhythm lines have no ABC of their own that the
          // players read: they stay in the file as comments.
          const std::optional<CString> text = line->WriteAbc();
          if (!text) break;
          for (const std::string& piece : Pieces(text->View())) {
            if (!IsBlank(piece)) m_out += "%" + piece + "\r\n";
          }
          break;
        }
      }
    }
    if (m_pendingChords != nullptr) WriteChordNamesAlone();
    FinishTune();
    g_abcSlursOpen = 0;
    g_abcLineFollows = false;
    return m_out;
  }

 private:
  void StartTune(const std::string& title) {
    // A second title before the music is the tune's subtitle.
    if (m_tuneOpen && !m_bodyStarted && !title.empty()) {
      m_out += "T:" + title + "\r\n";
      return;
    }
    FinishTune();
    // Tunes are parted by an empty line.
    if (!m_out.empty()) m_out += "\r\n";
    m_out += "X:" + std::to_string(++m_tuneNumber) + "\r\n";
    if (!title.empty()) m_out += "T:" + title + "\r\n";
    m_tuneOpen = true;
    m_bodyStarted = false;
    m_lastKey = -1;
    m_lastKind = 0;
    g_abcUnitLength = kDefaultUnit;
    g_abcSlursOpen = 0;
  }

  // The tune's opening key field names its mode, now that the final note is
  // known.
  void FinishTune() {
    if (m_keyFieldAt == std::string::npos) return;
    // A tune that ends in another key than it began in is named by its
    // opening major key.
    const KeyMode mode = m_lastKey == m_keyFieldKey ? KeyModeOfTune(m_keyFieldKey, m_firstPitch, m_finalPitch)
                                                    : KeyModeOfFinal(m_keyFieldKey, -1);
    const std::size_t nameAt = m_keyFieldAt + 2;
    m_out.replace(nameAt, AbcKeyName(m_keyFieldKey).size(), mode.tonic + mode.suffix);
    m_keyFieldAt = std::string::npos;
    m_firstPitch = -1;
    m_finalPitch = -1;
  }

  // Another staff line follows the display line in the same tune (before
  // the next title).
  bool StaffLineFollows(std::size_t index) const {
    for (std::size_t d = index + 1; d < m_score.lines.size(); ++d) {
      KLineObj* line = m_score.lines[d];
      if (line == nullptr) continue;
      if (AsStaff(line) != nullptr) return true;
      const auto* text = line->GetFamily() == KLineObj::kFamilyText ? dynamic_cast<KStrLine*>(line) : nullptr;
      if (text != nullptr && !IsBlank(text->GetText().View()) && IsTitle(*text)) return false;
    }
    return false;
  }

  // A title: a text line that says it is one, or one in a font larger than
  // the score's text (as From ABC Notation sets its titles).
  bool IsTitle(const KStrLine& text) const {
    if (text.TestFlags(KStrLine::kFlagTitle) != 0) return true;
    const int slot = text.GetFontIndex();
    const std::vector<int>& heights = m_score.textFontHeights;
    if (slot <= 0 || slot >= static_cast<int>(heights.size())) return false;
    return std::abs(heights[static_cast<size_t>(slot)]) >= std::abs(heights[0]) + kTitleLarger;
  }

  // Chord names with no staff line below them: a line of names of their own
  // in the body, notes in the header.
  void WriteChordNamesAlone() {
    const std::optional<CString> names = m_pendingChords->WriteAbc();
    m_pendingChords = nullptr;
    if (!names || IsBlank(names->View())) return;
    if (m_bodyStarted) {
      m_out += Trimmed(names->View()) + "\r\n";
    } else {
      AddInfo(Trimmed(names->View()));
    }
  }

  void AddInfo(const std::string& text) {
    if (text.empty()) return;
    // A field whose text starts with a bar sign reads as a repeat to some
    // players: a blank keeps it text.
    const bool barLike = text[0] == '|' || text[0] == ':' || text[0] == '[';
    m_out += (m_bodyStarted ? "W:" : "N:") + std::string(barLike ? " " : "") + text + "\r\n";
  }

  void WriteStaff(KStaffLine& staff, std::size_t index) {
    if (!m_tuneOpen) StartTune(std::string());
    const int key = std::clamp(staff.GetKeySignatureAt(0), 0, 15);
    std::string header;
    if (!m_bodyStarted && !StartsWithMeter(staff)) {
      header = "M:4/4\r\nL:1/8\r\n";
      g_abcUnitLength = kDefaultUnit;
    }
    // The chord names of the line above stand over the notes of their columns.
    std::vector<KExtendedObj*> names;
    if (m_pendingChords != nullptr) {
      const int size = m_score.sizeIndex != 0 ? 1 : 0;
      // Both lines' columns are measured from where each line's columns begin.
      const long long staffFromChords =
          ColumnsStart(staff, size) - ColumnsStart(*m_score.lines[m_pendingChordsLine], size);
      for (const auto& [diagram, column] :
           NotesUnderDiagrams(*m_pendingChords, NoteColumns(staff), staffFromChords, size)) {
        names.push_back(new KExtendedObj(column, kNameRow, CString("@@") + diagram->GetName(), CString()));
        staff.AddAttachment(names.back());
      }
      m_pendingChords = nullptr;
    }
    // A slur over the line's end goes on into the next staff line of the tune.
    g_abcLineFollows = StaffLineFollows(index);
    const std::optional<CString> text = staff.WriteAbc();
    g_abcLineFollows = false;
    for (KExtendedObj* name : names) {
      staff.RemoveAttachment(name);
      delete name;
    }
    std::vector<std::string> pieces = text ? Pieces(text->View()) : std::vector<std::string>{};
    if (!m_bodyStarted) {
      // The staff's meter, unit length and tempo belong to the tune's header,
      // which the key ends.
      while (!pieces.empty() && IsHeaderPiece(pieces.front())) {
        header += pieces.front() + "\r\n";
        pieces.erase(pieces.begin());
      }
      m_out += header;
      m_keyFieldAt = m_out.size();
      m_keyFieldKey = key;
      m_out += KeyField(key, staff.GetType(), 0);
      m_bodyStarted = true;
      m_lastKey = key;
      m_lastKind = staff.GetType();
    } else if (key != m_lastKey || staff.GetType() != m_lastKind) {
      m_out += KeyField(key, staff.GetType(), m_lastKind);
      m_lastKey = key;
      m_lastKind = staff.GetType();
    }
    for (const std::string& piece : pieces) m_out += piece + "\r\n";
    if (const auto [first, last] = FirstAndLastPitch(staff); last >= 0) {
      if (m_firstPitch < 0) m_firstPitch = first;
      m_finalPitch = last;
    }
  }

  const ScoreExport& m_score;
  std::string m_out;
  KChordPicLine* m_pendingChords = nullptr;
  std::size_t m_pendingChordsLine = 0;  // its index in the score's lines
  int m_tuneNumber = 0;
  bool m_tuneOpen = false;
  bool m_bodyStarted = false;
  int m_lastKey = -1;
  int m_lastKind = 0;
  std::size_t m_keyFieldAt = std::string::npos;  // the tune's opening key field
  int m_keyFieldKey = 0;
  int m_firstPitch = -1;
  int m_finalPitch = -1;
};

}  // namespace

std::string WriteAbcScore(const ScoreExport& score) {
  ScoreWriter writer(score);
  return writer.Write();
}

std::vector<std::vector<std::string>> WriteAbcOfStaves(std::span<KLineObj* const> lines) {
  std::vector<std::vector<std::string>> written(lines.size());
  g_abcUnitLength = kDefaultUnit;
  g_abcSlursOpen = 0;
  int lastKey = -1;
  int lastKind = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    KStaffLine* staff = AsStaff(lines[i]);
    if (staff == nullptr) continue;
    // A slur over the line's end goes on into the next staff line written.
    g_abcLineFollows = std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, lines.end(),
                                   [](KLineObj* later) { return AsStaff(later) != nullptr; });
    const std::optional<CString> text = staff->WriteAbc();
    g_abcLineFollows = false;
    if (!text) continue;
    std::vector<std::string> pieces = Pieces(text->View());
    // Each staff's key goes with its notes, so that the text reads back in
    // the same key (without it the notes would come back in C).
    const int key = std::clamp(staff->GetKeySignatureAt(0), 0, 15);
    if (key != lastKey || staff->GetType() != lastKind) {
      std::string field = KeyField(key, staff->GetType(), lastKind);
      field.resize(field.size() - 2);  // its line end: each piece is a line
      pieces.insert(pieces.begin(), field);
      lastKey = key;
      lastKind = staff->GetType();
    }
    written[i] = std::move(pieces);
  }
  g_abcSlursOpen = 0;
  return written;
}
