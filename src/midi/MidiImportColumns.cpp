#include "midi/MidiImportColumns.h"

#include <algorithm>
#include <array>

#include "common/NoteConversions.h"
#include "lines/KStaffLine.h"
#include "model/DrumKeys.h"
#include "model/KChord.h"

namespace midiimport {

namespace {

constexpr int kMiddleRow = 18;
constexpr int kBarCode = 21;
constexpr int kDotCode = 36;
constexpr int kTieAbove = 32;
constexpr int kTieBelow = 34;
constexpr int kTiedStyle = 7;
constexpr int kGraceCode = 13;
constexpr int kMaxEntries = KChord::kMaxNotes;
// Note codes (first form) and rest codes by note value index whole .. 64th.
// Accidental codes of PitchToRow's kinds (none, sharp, flat, natural).
constexpr std::array<int, 4> kAccidentalCode = {0, 28, 30, 27};

struct DrumEntry {
  int row;
  int head;
};
// General MIDI percussion keys 35..81.
constexpr std::array<DrumEntry, 47> kDrums = {{
    {21, 0}, {23, 0}, {17, 3}, {17, 0}, {16, 8}, {16, 3}, {20, 0}, {14, 3}, {19, 0}, {23, 8},
    {18, 0}, {14, 8}, {16, 0}, {14, 0}, {12, 3}, {15, 0}, {13, 3}, {15, 3}, {11, 8}, {13, 8},
    {19, 3}, {15, 4}, {11, 3}, {17, 4}, {10, 3}, {10, 4}, {12, 4}, {10, 8}, {10, 0}, {12, 0},
    {17, 8}, {19, 8}, {21, 7}, {22, 7}, {16, 7}, {24, 7}, {19, 4}, {20, 4}, {18, 7}, {19, 7},
    {15, 7}, {12, 7}, {13, 7}, {24, 8}, {24, 4}, {21, 4}, {21, 8},
}};

// The per-note style (+1) that draws and plays a note-head kind of the drum map.
int DrumStylePacked(int head) {
  switch (head) {
    case 3:
      return 3;
    case 4:
      return 4;
    case 7:
      return 6;
    case 8:
      return 8;
    default:
      return 0;
  }
}

int AddEntry(KChord& column, int row, int code, int packed = 0) {
  if (column.GetNoteCount() >= kMaxEntries) return -1;
  return column.AddNote(row, code, packed);
}

// The row of a second voice's rest: the new note's row, moved above the
// sounding notes (rows lowest..highest, the lowest number the highest note)
// when it falls in their upper half or just above them, below them when it
// falls in their lower half or just below; then kept on the staff's rows
// (at their edge, still clear of the notes).
int VoiceRestRow(int row, int lowest, int highest) {
  const int middle = (lowest + highest) / 2;
  if (row > lowest - 3 && row <= middle) {
    row = lowest - 5;
  } else if (row >= middle && row < highest + 3) {
    row = highest + 5;
  }
  return std::clamp(row, KStaffLine::kFirstRow, KStaffLine::kLastRow);
}

// Which way a column's stems point: by where its notes stand, or as asked.
enum class StemSide { kAuto, kUp, kDown };

// One note of a column to write: its row, accidental and drum style.
struct PlacedNote {
  int row = kMiddleRow;
  int accidental = 0;
  int packed = 0;
};

// A drum key's note on the drum staff: the row and note head of the drum map
// when the staff plays the key there, else the row and style that play it,
// else the map's place. The style is written on the note itself, so that the
// column's own style (a tie, a triplet) does not change the drum it plays.
// A row that another note of the column holds is passed over while another
// place plays the key.
PlacedNote DrumNote(int key, const std::vector<PlacedNote>& taken = {}) {
  const DrumPlace map = DrumMap(key);
  const int mapStyle = std::max(0, DrumStylePacked(map.head) - 1);
  auto note = [](int row, int style) {
    PlacedNote p;
    p.row = row;
    p.packed = style + 1;
    return p;
  };
  auto plays = [key, &taken](int row, int style) {
    return DrumKeyOf(row, style) == key &&
           std::none_of(taken.begin(), taken.end(), [row](const PlacedNote& q) { return q.row == row; });
  };
  if (plays(map.row, mapStyle)) return note(map.row, mapStyle);
  for (int style = 0; style <= 7; ++style) {
    if (plays(map.row, style)) return note(map.row, style);
  }
  for (int row = 10; row <= 24; ++row) {
    for (int style = 0; style <= 7; ++style) {
      if (plays(row, style)) return note(row, style);
    }
  }
  return note(map.row, mapStyle);
}

class ColumnBuilder {
 public:
  ColumnBuilder(const ColumnBuildSettings& settings, KStaffLine& line)
      : m_s(settings), m_line(line), m_position(settings.firstPosition) {
    m_grid = kGrid[static_cast<size_t>(std::clamp(settings.resolution, 0, 3))];
    m_half = m_grid / 2;
    m_barLength =
        BarTicksOfSignature(settings.timeSignatures.empty() ? 4004 : settings.timeSignatures.front().value);
    m_key = settings.keySignatures.empty() ? 0 : settings.keySignatures.front().value;
    m_nextTime = 1;
    m_nextKey = 1;
  }

  BuildResult Run(const std::vector<ImportNote>& notes, const BuildProgress& progress) {
    const int total = static_cast<int>(notes.size());
    const int every = std::max(1, total / 20);
    size_t i = 0;
    while (i < notes.size()) {
      if (progress && (static_cast<int>(i) % every == 0) && !progress(static_cast<int>(i), total)) {
        m_result.cancelled = true;
        break;
      }
      if (IsGrace(notes[i].mark)) {
        PlaceGrace(notes[i]);
        ++i;
        continue;
      }
      size_t end = i + 1;
      while (end < notes.size() && Start(notes[end]) == Start(notes[i]) && !IsGrace(notes[end].mark)) ++end;
      PlaceGroup(notes, i, end);
      if (m_result.cancelled) break;
      i = end;
    }
    // The last bar is completed with rests.
    if (!m_result.cancelled && m_time > m_barStart) FillRests(m_barStart + m_barLength);
    return std::move(m_result);
  }

 private:
  int Start(const ImportNote& n) const { return m_s.quantised ? n.qStart : RoundIfRaw(n.start); }
  int End(const ImportNote& n) const {
    if (m_s.quantised) return n.qEnd;
    return n.end < 0 ? -1 : RoundIfRaw(n.end);
  }
  int RoundIfRaw(int ticks) const { return RoundToGrid(ticks, m_s.resolution); }

  // A grace note: a column of its own before the note it leads to, taking
  // no time.
  void PlaceGrace(const ImportNote& note) {
    FillRests(Start(note));
    const PlacedNote p = Place(note);
    auto* column = new KChord(m_position);
    AddEntry(*column, p.row, kGraceCode, p.packed);
    if (p.accidental > 0 && p.accidental < 4)
      AddEntry(*column, p.row, kAccidentalCode[static_cast<size_t>(p.accidental)]);
    Append(column, ColumnKind::kGrace, 0);
  }

  // Notes that find no time of their own (the music has already moved past
  // them, or they are shorter than the shortest value): written as grace
  // notes, which sound without taking time, rather than left out.
  void PlaceUntimed(const std::vector<ImportNote>& notes, size_t first, size_t end) {
    for (size_t k = first; k < end; ++k) PlaceGrace(notes[k]);
  }

  void PlaceGroup(const std::vector<ImportNote>& notes, size_t first, size_t end) {
    m_countLosses = true;
    const ImportNote& lead = notes[first];
    int start = Start(lead);
    // Triplets are marked by both methods: their steps are the quantised ones.
    const int place = TripletPlace(lead.mark);
    // Notes of half a grid step or less, as played, would be written better
    // with a finer resolution (counted at 1/8 and 1/16 only).
    for (size_t k = first; k < end && place == 0; ++k) {
      const int played = notes[k].end - notes[k].start;
      if (notes[k].end >= 0 && played > 0 && played <= m_half && !m_s.drums) CountShort();
    }
    if (place != 0) {
      // A triplet note: written with the value of 3/2 of its step, it moves
      // the bar on by the step.
      const int step = std::max(0, lead.qEnd - lead.qStart);
      // The group's later notes follow on at once: their quantised starts
      // lie off the triplet's own grid.
      if (place == 1 && start > m_time) FillRests(start);
      int value = 0;
      int dotted = 0;
      if (step <= 0 || FitValue(step * 3 / 2, step * 3 / 2, value, dotted) <= 0) {
        PlaceUntimed(notes, first, end);
        return;
      }
      KChord* column = PlaceNotes(notes, first, end, value, dotted, false);
      if (column != nullptr) column->SetNoteStyle(place, -1);
      Advance(step);
      return;
    }
    const int nextStart = end < notes.size() ? Start(notes[end]) : -1;
    // The column lasts as long as its longest note (up to the next start):
    // a short note beside a long one does not cut the long one short. A note
    // of no length (or one never released) takes one grid step.
    int own = 0;
    for (size_t k = first; k < end; ++k) {
      const int e = End(notes[k]);
      own = std::max(own, e < 0 || e <= start ? m_grid : e - start);
    }
    int length = nextStart > start ? std::min(nextStart - start, own) : own;
    if (m_s.drums && length < m_grid) length = m_grid;
    if (start < m_time) {
      length -= m_time - start;
      start = m_time;
    } else if (start - m_time <= m_half) {
      // Too little room for a rest: the note starts that much early.
      length += start - m_time;
      start = m_time;
    }
    if (length < 1) {
      CountShort();
      PlaceUntimed(notes, first, end);
      return;
    }
    FillRests(start);
    if (m_s.method == 2 && nextStart > start && PlaceBesideNewVoice(notes, first, end, nextStart)) return;
    bool placed = false;
    while (length > 0) {
      const int left = m_barLength - (m_time - m_barStart);
      int piece = std::min(length, left);
      if (m_s.method == 2 && length > left && length - left <= m_half) {
        // Too little past the bar line for a tied note, too much to end on
        // it: the grid does not fit the bar, and the column would overrun it.
        m_result.overrun = true;
        m_result.cancelled = true;
        return;
      }
      int value = 0;
      int dotted = 0;
      const int written = FitValue(piece, left, value, dotted);
      if (written <= 0) {
        CountShort();
        if (!placed) PlaceUntimed(notes, first, end);
        return;
      }
      // What the value does not cover sounds on as a tied note (past the
      // bar line too): a note is never cut short with a rest after it.
      const bool more = length - written > m_half;
      PlaceNotes(notes, first, end, value, dotted, more);
      placed = true;
      Advance(written);
      length -= written;
      if (!more) break;
    }
  }

  // Method 2: the notes of first..end sound on after the next note starts
  // (more than half a grid step before the earliest of their ends). They keep
  // their length, up to the bar line, and the column takes a rest for the
  // new voice that lasts until it enters, so that the time moves on by the
  // rest. False when that cannot be written (the new voice enters in a later
  // bar, or the notes' value would be no longer than the rest).
  bool PlaceBesideNewVoice(const std::vector<ImportNote>& notes, size_t first, size_t end, int nextStart) {
    const int untilNext = nextStart - m_time;
    int earliest = -1;
    for (size_t k = first; k < end; ++k) {
      if (End(notes[k]) < 0) return false;
      const int sounds = End(notes[k]) - m_time;
      if (earliest < 0 || sounds < earliest) earliest = sounds;
    }
    if (untilNext <= m_half || earliest - untilNext <= m_half || end >= notes.size()) return false;
    const int left = m_barLength - (m_time - m_barStart);
    if (untilNext >= left) return false;
    const int own = End(notes[first]) - m_time;
    int value = 0;
    int dotted = 0;
    const int written = FitValue(std::min(own, left), left, value, dotted);
    int restValue = 0;
    int restDotted = 0;
    const int rest = FitValue(untilNext, left, restValue, restDotted);
    if (written <= rest || rest <= 0) return false;

    // The rest stands in the new note's row, out of the way of the notes.
    int lowest = KStaffLine::kLastRow;
    int highest = KStaffLine::kFirstRow;
    for (size_t k = first; k < end; ++k) {
      const int row = Place(notes[k]).row;
      lowest = std::min(lowest, row);
      highest = std::max(highest, row);
    }
    const int row = VoiceRestRow(m_s.drums ? kMiddleRow : Place(notes[end]).row, lowest, highest);
    // The held notes' stems point away from the other voice's rest.
    const StemSide stems = row < lowest ? StemSide::kDown : StemSide::kUp;
    KChord* column = PlaceNotes(notes, first, end, value, dotted, false, stems);
    if (column == nullptr) return false;
    AddEntry(*column, row, kRestCodeOfValue[static_cast<size_t>(restValue)]);
    if (restDotted != 0) AddEntry(*column, row, kDotCode);
    m_result.columns.back().length = rest;
    Advance(rest);
    return true;
  }

  // The longest plain or dotted note value no longer than the piece of ticks
  // and what is left of the bar, wherever in the bar it starts (a dotted
  // eighth after a sixteenth stays a dotted eighth); its written ticks, 0
  // when not even a 64th fits.
  static int FitValue(int piece, int left, int& value, int& dotted) {
    const int room = std::min(piece, left);
    for (int v = 0; v <= 6; ++v) {
      const int plain = NoteValueTicks(v, 0);
      if (v < 6 && NoteValueTicks(v, 1) <= room) {
        value = v;
        dotted = 1;
        return NoteValueTicks(v, 1);
      }
      if (plain <= room) {
        value = v;
        dotted = 0;
        return plain;
      }
    }
    value = -1;
    dotted = 0;
    return 0;
  }

  void CountShort() {
    if (m_s.resolution <= 1) ++m_result.shortNotes;
  }

  // Rests from the current time up to the tick; gaps of half a grid step or
  // less are left.
  void FillRests(int until) {
    while (until - m_time > m_half) {
      const int left = m_barLength - (m_time - m_barStart);
      int piece = std::min(until - m_time, left);
      const int rounded = RoundIfRaw(piece);
      if (rounded > 0 && rounded <= left) piece = rounded;
      int value = 0;
      int dotted = 0;
      const int written = FitValue(piece, left, value, dotted);
      if (written <= 0) break;
      auto* column = new KChord(m_position);
      AddEntry(*column, kMiddleRow, kRestCodeOfValue[static_cast<size_t>(value)]);
      if (dotted != 0) AddEntry(*column, kMiddleRow, kDotCode);
      Append(column, ColumnKind::kMusic, written);
      Advance(written);
    }
    // What is left of the last bar is too short for a rest: it closes.
    if (until == m_barStart + m_barLength && m_time < until) Advance(until - m_time);
  }

  PlacedNote Place(const ImportNote& note) const {
    PlacedNote placed;
    if (m_s.drums) return DrumNote(note.pitch);
    int accidental = 0;
    const int key = m_key >= 16 ? 0 : m_key;
    int row = m_line.PitchToRow(note.pitch, m_position, accidental, key);
    if (row < KStaffLine::kFirstRow) {
      row = 5;
      accidental = 0;
    } else if (row > KStaffLine::kLastRow) {
      row = 27;
      accidental = 0;
    }
    placed.row = row;
    placed.accidental = accidental;
    return placed;
  }

  void Lose(LostReason reason) {
    if (m_countLosses) ++m_result.lost[static_cast<size_t>(reason)];
  }

  // Another note of the column to be stands on the row.
  static bool Taken(const std::vector<PlacedNote>& placed, int row) {
    return std::any_of(placed.begin(), placed.end(), [row](const PlacedNote& q) { return q.row == row; });
  }

  // A note whose row another note of the column holds (a semitone beside it:
  // F and F sharp) is spelled on the row above or below with the sign that
  // gives its pitch there (G flat, E sharp). False when neither row is free
  // or one sign cannot reach the pitch from that row.
  bool Respell(int midiNote, PlacedNote& p, const std::vector<PlacedNote>& placed) const {
    const int target = midiNote - KStaffLine::kPitchToMidi;
    for (const int shift : {-1, 1}) {
      const int row = p.row + shift;
      if (row < KStaffLine::kFirstRow || row > KStaffLine::kLastRow || Taken(placed, row)) continue;
      const int wanted = target - KStaffLine::NaturalPitchAtRow(m_line.GetType(), row);
      if (wanted < -1 || wanted > 1) continue;
      p.row = row;
      if (m_line.GetPitchAtRow(row, m_position) == target) {
        p.accidental = KStaffLine::kNoAccidental;
      } else {
        p.accidental =
            wanted > 0 ? KStaffLine::kSharp : (wanted < 0 ? KStaffLine::kFlat : KStaffLine::kNatural);
      }
      return true;
    }
    return false;
  }

  // The entries a note takes in a column: its head, a sign, a dot, a tie.
  static int EntriesOf(const PlacedNote& p, int dotted, bool tieOn) {
    return 1 + (p.accidental > 0 && p.accidental < 4 ? 1 : 0) + (dotted != 0 ? 1 : 0) + (tieOn ? 1 : 0);
  }

  // Writes the notes of first..end into one column of the value. Every note
  // keeps its own staff position; a note that finds none, or no room left in
  // the column, is counted as lost.
  KChord* PlaceNotes(const std::vector<ImportNote>& notes, size_t first, size_t end, int value, int dotted,
                     bool tieOn, StemSide stems = StemSide::kAuto) {
    std::vector<PlacedNote> placed;
    std::vector<int> keys;
    int entries = 0;
    for (size_t k = first; k < end; ++k) {
      const int key = notes[k].pitch;
      if (std::find(keys.begin(), keys.end(), key) != keys.end()) {
        Lose(LostReason::kSameTimeAndKey);
        continue;
      }
      PlacedNote p = m_s.drums ? DrumNote(key, placed) : Place(notes[k]);
      if (Taken(placed, p.row) && (m_s.drums || !Respell(key, p, placed))) {
        Lose(LostReason::kNoPosition);
        continue;
      }
      const int needs = EntriesOf(p, dotted, tieOn);
      if (entries + needs > kMaxEntries) {
        Lose(LostReason::kColumnFull);
        continue;
      }
      entries += needs;
      placed.push_back(p);
      keys.push_back(key);
    }
    m_countLosses = false;
    if (placed.empty()) return nullptr;
    int lowest = placed.front().row;  // smallest row number: the highest note
    int highest = placed.front().row;
    for (const PlacedNote& p : placed) {
      lowest = std::min(lowest, p.row);
      highest = std::max(highest, p.row);
    }
    // Notes over the middle of the staff take their stems down.
    int code = kNoteCodeOfValue[static_cast<size_t>(value)];
    if (code < 12 && (stems == StemSide::kDown || (stems == StemSide::kAuto && highest < kMiddleRow)))
      code += 1;
    int middle = (lowest + highest) / 2;
    if (placed.size() == 1) middle = middle < 19 ? 100 : 0;

    auto* column = new KChord(m_position);
    for (const PlacedNote& p : placed) {
      AddEntry(*column, p.row, code, p.packed);
      if (p.accidental > 0 && p.accidental < 4)
        AddEntry(*column, p.row, kAccidentalCode[static_cast<size_t>(p.accidental)]);
      if (dotted != 0) AddEntry(*column, p.row, kDotCode);
      if (tieOn) AddEntry(*column, p.row, p.row < middle ? kTieAbove : kTieBelow);
    }
    if (tieOn) column->SetNoteStyle(kTiedStyle, -1);
    Append(column, ColumnKind::kMusic, NoteValueTicks(value, dotted));
    return column;
  }

  void Append(KChord* column, ColumnKind kind, int length) {
    column->SetPos(m_position);
    m_line.InsertObjAt(column, 0, m_position, nullptr, 0);
    m_result.columns.push_back({m_time, kind, length, column});
    ++m_position;
  }

  // Moves the time on and closes every bar it completes.
  void Advance(int ticks) {
    m_time += ticks;
    while (m_time - m_barStart >= m_barLength) {
      m_barStart += m_barLength;
      const int now = m_time;
      m_time = m_barStart;
      auto* bar = new KChord(m_position);
      AddEntry(*bar, kMiddleRow, kBarCode);
      Append(bar, ColumnKind::kBar, 0);
      ApplyChanges();
      m_time = now;
    }
  }

  void ApplyChanges() {
    const auto& times = m_s.timeSignatures;
    int due = -1;
    while (m_nextTime < times.size() && times[m_nextTime].tick <= m_barStart)
      due = static_cast<int>(m_nextTime++);
    if (due >= 0) {
      const int value = times[static_cast<size_t>(due)].value;
      auto* column = new KChord(m_position);
      AddEntry(*column, 0, KChord::kTimeSignature);
      AddEntry(*column, 1, value / 1000 + 99);
      AddEntry(*column, 2, value % 1000 + 99);
      Append(column, ColumnKind::kTimeSignature, 0);
      m_barLength = BarTicksOfSignature(value);
    }
    const auto& keys = m_s.keySignatures;
    int key = -1;
    while (m_nextKey < keys.size() && keys[m_nextKey].tick <= m_barStart) key = keys[m_nextKey++].value;
    if (key >= 0 && key != m_key) {
      auto* column = new KChord(m_position);
      AddEntry(*column, 1, KChord::kKeySignature);
      AddEntry(*column, 1, key != 0 ? key : m_key + 16);
      Append(column, ColumnKind::kKey, 0);
      m_line.ModifyFlags(KLineObj::kFlagKeyChanges, 1);
      m_key = key;
    }
  }

  const ColumnBuildSettings& m_s;
  KStaffLine& m_line;
  BuildResult m_result;
  int m_position;
  int m_grid = 120;
  int m_half = 60;
  int m_time = 0;
  int m_barStart = 0;
  int m_barLength = kWholeNoteTicks;
  int m_key = 0;
  // The group being written has not yet had its notes counted for losses.
  bool m_countLosses = false;
  size_t m_nextTime = 1;
  size_t m_nextKey = 1;
};

}  // namespace

DrumPlace DrumMap(int key) {
  if (key < 35 || key > 81) key = 37;
  const DrumEntry& e = kDrums[static_cast<size_t>(key - 35)];
  return {e.row, e.head};
}

int BarTicksOfSignature(int value) {
  const int numerator = std::clamp(value / 1000, 1, 32);
  const int denominator = std::clamp(value % 1000, 1, 64);
  return std::max(30, numerator * kWholeNoteTicks / denominator);
}

BuildResult BuildColumns(const std::vector<ImportNote>& notes, const ColumnBuildSettings& settings,
                         KStaffLine& line, const BuildProgress& progress) {
  ColumnBuilder builder(settings, line);
  return builder.Run(notes, progress);
}

}  // namespace midiimport
