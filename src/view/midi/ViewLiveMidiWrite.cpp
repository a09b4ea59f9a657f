#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "common/NoteConversions.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewTailJoin.h"
#include "view/midi/LiveMidiWrite.h"

namespace {

constexpr int kTrebleType = 0;
constexpr int kBassType = 1;
constexpr int kTabType = 2;
constexpr int kMiddleRow = 18;
constexpr int kBarCode = 21;
constexpr int kDotCode = 36;
constexpr int kTieCode = 34;
constexpr int kAboveStaffRow = 27;  // rows for notes the staff cannot show
constexpr int kBelowStaffRow = 5;
constexpr int kTabRestString = 4;
constexpr int kBeatTicks = kQuarterTicks;  // notes are beamed a quarter note at a time
constexpr int kStepLength = 480;           // single step: every chord a quarter note
constexpr std::array<int, 4> kGrid = {240, 120, 60, 30};
constexpr std::array<int, 4> kAccidentalCode = {0, 28, 30, 27};

void AddEntry(KChord& column, int row, int code) {
  if (column.GetNoteCount() < KChord::kMaxNotes) column.AddNote(row, code);
}

// One note of a group as it is written: pitch, its length on the grid, and
// where it goes.
struct LiveNote {
  int pitch = 60;
  int length = 0;
  bool bass = false;
};

// One note's entry in the column being made.
struct Placed {
  int row = kMiddleRow;
  int value = 0;
  int dotted = 0;
  int accidental = 0;
  bool inRange = true;
  bool tie = false;
};

class LiveWriter {
 public:
  LiveWriter(CStavlinView& view, const KLiveInputSettings& settings)
      : m_view(view), m_settings(settings), m_take(ProgramLiveTake()) {
    const int shortest = std::clamp(settings.shortest, 0, 3);
    m_grid = kGrid[static_cast<size_t>(shortest)];
    m_half = m_grid / 2;
  }

  // nextStart: when the chord after this one began (-1 when it has not yet).
  void Write(const KLiveRecorder::Group& group, int nextStart) {
    if (!Locate()) return;
    if (m_take.beatStartColumn < 0) m_take.beatStartColumn = m_view.m_caretColumn;
    const bool timed = m_settings.tempoMode != 0;
    const int start = OnGrid(group.start);
    if (timed) {
      // The silence from the end of the music written to the chord's start,
      // both on the grid, so that the chord sounds on the beat it was played on.
      const int gap = start - m_take.musicTime;
      if (gap >= m_grid) {
        const WrittenLines written = Snapshot();
        Rests(gap);
        MergeWrittenRests(written);
      }
    }
    const int room = nextStart >= 0 ? OnGrid(nextStart) - start : -1;
    std::vector<LiveNote> notes;
    int longest = 0;
    for (int i = 0; i < group.count && i < KLiveRecorder::kNotesPerGroup; ++i) {
      LiveNote note;
      note.pitch = group.notes[static_cast<size_t>(i)];
      const int held = std::max(group.durations[static_cast<size_t>(i)], 0);
      note.length = timed ? WrittenLength(held, room) : kStepLength;
      longest = std::max(longest, note.length);
      notes.push_back(note);
    }
    if (notes.empty()) return;
    Sound(notes, longest);
  }

  // A time rounded to the nearest grid step.
  int OnGrid(int ticks) const { return std::max((ticks + m_half) / m_grid * m_grid, 0); }

  // The length a held note is written with: the held time rounded to the
  // grid, or the next note value (plain or dotted) when the note was held
  // for nearly all of it (a half held for 90 % of its time was played as a
  // half, not as a quarter tied to a dotted eighth). A value that would
  // reach past the start of the next chord (room, -1 unknown) is not taken.
  int WrittenLength(int held, int room) const {
    const int rounded = std::max(m_grid, OnGrid(held));
    static constexpr int kValues[] = {30, 60, 90, 120, 180, 240, 360, 480, 720, 960, 1440, 1920};
    for (const int value : kValues) {
      if (value <= rounded || value % m_grid != 0) continue;
      // Held to within an eighth of the value (at least half a grid step).
      const int shortBy = std::max(m_half, value / 8);
      if (held >= value - shortBy && (room < 0 || value <= room)) return value;
      break;
    }
    return rounded;
  }

 private:
  // The note lines of the current line's group (or the current line alone)
  // with their column counts, before a run of rests is written.
  struct WrittenLines {
    KListLine* main = nullptr;
    int caret = 0;
    std::vector<std::pair<KListLine*, int>> counts;
  };

  WrittenLines Snapshot() const {
    WrittenLines lines;
    lines.main = m_main;
    lines.caret = m_view.m_caretColumn;
    const int groupId = m_main != nullptr ? m_main->GetGroupId() : KLineObj::kNoGroup;
    for (int i = 0; i < m_view.m_lineCount; ++i) {
      KLineObj* line = m_view.GetDisplayLineObj(i);
      KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
      if (list == nullptr || !KLineObj::IsNoteFamily(list->GetFamily())) continue;
      if (list == m_main || (groupId != KLineObj::kNoGroup && list->GetGroupId() == groupId))
        lines.counts.emplace_back(list, list->GetObjCount());
    }
    return lines;
  }

  // The rests just written, and those right before them in the bar, become
  // the fewest rests of larger values; the columns they leave are closed up
  // on every line that took the rests, and the caret comes back as far.
  // Rests written in the middle of music (columns after the caret) stay.
  void MergeWrittenRests(const WrittenLines& before) {
    if (!Locate() || m_main != before.main) return;
    std::vector<KListLine*> written;
    for (const auto& [line, count] : before.counts) {
      if (line->GetObjCount() > count) written.push_back(line);
    }
    const int caret = m_view.m_caretColumn;
    for (KListLine* line : written) {
      if (LastColumn(*line) >= caret || RestBefore(*line, before.caret)) return;
    }
    int removed = -1;
    for (KListLine* line : written) {
      const int gone = MergeAndCloseUp(*line, caret, before.caret);
      if (removed >= 0 && gone != removed) return;
      removed = gone;
    }
    if (removed <= 0) return;
    m_view.m_caretColumn = std::max(before.caret, caret - removed);
    m_take.beatStartColumn = std::min(m_take.beatStartColumn, m_view.m_caretColumn);
  }

  // Whether a rest stands right before the column: the run of rests would
  // reach into music written before, where the lines need not agree.
  static bool RestBefore(KListLine& line, int column) {
    const CObList& list = *line.GetObjList();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
      const auto* chord = dynamic_cast<const KChord*>(list.GetNext(pos));
      if (chord != nullptr && chord->GetPos() == column - 1)
        return !chord->IsBarColumn() && chord->GetRestTicks() > 0;
    }
    return false;
  }

  static int LastColumn(KListLine& line) {
    const CObList& list = *line.GetObjList();
    return list.IsEmpty() ? -1 : static_cast<const KPosObj*>(list.GetTail())->GetPos();
  }

  // Merges the rests before the caret bar by bar, back to the bar in which
  // the run began, and moves every later column and attachment back over the
  // columns that went; returns how many went.
  static int MergeAndCloseUp(KListLine& line, int caret, int runStart) {
    int goneCount = 0;
    int column = caret - 1;
    while (column >= 0) {
      const std::vector<int> before = Columns(line);
      const int barColumn = line.MergeRests(column, 0);
      std::vector<int> gone;
      const std::vector<int> kept = Columns(line);
      std::set_difference(before.begin(), before.end(), kept.begin(), kept.end(), std::back_inserter(gone));
      for (auto it = gone.rbegin(); it != gone.rend(); ++it) {
        CloseUp(*line.GetObjList(), *it);
        if (CObList* attachments = line.GetAttachments()) CloseUp(*attachments, *it);
      }
      if (!gone.empty()) {
        line.UpdateTimeSigCache();
        line.MarkChanged();
      }
      goneCount += static_cast<int>(gone.size());
      // The bar before holds rests of this run too when the run began in it.
      if (barColumn <= 0 || barColumn <= runStart) break;
      column = barColumn;
    }
    return goneCount;
  }

  static std::vector<int> Columns(KListLine& line) {
    std::vector<int> columns;
    CObList& list = *line.GetObjList();
    for (POSITION pos = list.GetHeadPosition(); pos != nullptr;)
      columns.push_back(static_cast<KPosObj*>(list.GetNext(pos))->GetPos());
    return columns;
  }

  static void CloseUp(CObList& objects, int column) {
    for (POSITION pos = objects.GetHeadPosition(); pos != nullptr;) {
      auto* object = static_cast<KPosObj*>(objects.GetNext(pos));
      if (object->GetPos() > column) object->SetPos(object->GetPos() - 1);
    }
  }

  // The lines at the caret: the current line (staff or tablature) and the
  // bass staff of its keyboard pair.
  bool Locate() {
    m_main = nullptr;
    m_staff = nullptr;
    m_tab = nullptr;
    m_bass = nullptr;
    const int line = m_view.m_currentLine;
    if (line < 0 || line >= m_view.m_lineCount) return false;
    m_main =
        m_view.GetDisplayLineObj(line) != nullptr ? m_view.GetDisplayLineObj(line)->AsListLine() : nullptr;
    if (m_main == nullptr) return false;
    m_staff = dynamic_cast<KStaffLine*>(m_main);
    m_tab = dynamic_cast<KTabLine*>(m_main);
    if (m_staff == nullptr && m_tab == nullptr) return false;
    if (m_staff != nullptr) m_bass = KeyboardBassOf(m_view, line);
    int beats = 0;
    int beatTicks = 0;
    m_main->GetTimeSignatureAt(m_view.m_caretColumn, beats, beatTicks, 0);
    m_barLength = static_cast<int>(BarTicks(beats, beatTicks));
    return true;
  }

  // Pieces of a length that fit the bar and a note value each; the handler
  // gets (offset, piece length, value, dotted).
  template <typename Piece>
  void Split(int length, Piece&& piece) {
    int offset = 0;
    while (offset < length) {
      const int left = m_view.m_autoBars != 0 ? m_barLength - m_take.barPosition : length - offset;
      const int wanted = std::min(length - offset, std::max(left, m_grid));
      int remainder = 0;
      int dotted = 0;
      const int value = TicksToNoteValue(wanted, remainder, m_take.barPosition, dotted,
                                         std::clamp(m_settings.shortest, 0, 3), 1);
      const int ticks = NoteValueTicks(value, dotted);
      if (value < 0 || ticks <= 0) return;
      piece(offset, ticks, value, dotted);
      offset += ticks;
      if (!Locate()) return;
    }
  }

  void Rests(int length) {
    Split(length, [this](int, int ticks, int value, int dotted) {
      KChord rest(0);
      AddRest(rest, value, dotted);
      if (m_bass != nullptr) {
        KChord bassRest(0);
        AddRest(bassRest, value, dotted);
        Put(rest, &bassRest);
      } else {
        Put(rest, nullptr);
      }
      Advance(ticks, false);
    });
  }

  static void AddRest(KChord& column, int value, int dotted) {
    AddEntry(column, kMiddleRow, kRestCodeOfValue[static_cast<size_t>(value)]);
    if (dotted != 0) AddEntry(column, kMiddleRow, kDotCode);
  }

  void Sound(std::vector<LiveNote>& notes, int longest) {
    const int split = g_prefMidiImport.splitTone;
    for (LiveNote& note : notes) note.bass = m_bass != nullptr && note.pitch < split;
    Split(longest, [&](int offset, int ticks, int value, int dotted) {
      // Stems are chosen afresh on every beat.
      if (m_take.barPosition % 480 == 0) m_take.stemState = 3;
      std::vector<std::pair<const LiveNote*, Placed>> upper;
      std::vector<std::pair<const LiveNote*, Placed>> lower;
      for (const LiveNote& note : notes) {
        const int sounding = std::min(note.length - offset, ticks);
        if (sounding <= 0) continue;
        Placed placed;
        if (sounding == ticks) {
          placed.value = value;
          placed.dotted = dotted;
        } else {
          int remainder = 0;
          placed.value = TicksToNoteValue(sounding, remainder, m_take.barPosition, placed.dotted,
                                          std::clamp(m_settings.shortest, 0, 3), 1);
          if (placed.value < 0) continue;
        }
        placed.tie = note.length > offset + ticks;
        PlaceRow(note, placed);
        (note.bass ? lower : upper).emplace_back(&note, placed);
      }
      KChord own(0);
      KChord bass(0);
      const bool ownFilled = Fill(own, upper);
      const bool bassFilled = Fill(bass, lower);
      if (m_bass == nullptr) {
        if (ownFilled) Put(own, nullptr);
      } else if (ownFilled || bassFilled) {
        // A staff of the pair without notes here gets a rest of the same length.
        if (!ownFilled) AddRest(own, value, dotted);
        if (!bassFilled) AddRest(bass, value, dotted);
        Put(own, &bass);
      }
      Advance(ticks, true);
    });
  }

  void PlaceRow(const LiveNote& note, Placed& placed) const {
    const KStaffLine* staff = note.bass ? m_bass : m_staff;
    KStaffLine treble(kTrebleType, m_main->GetKeySignatureAt(m_view.m_caretColumn), 0);
    if (staff == nullptr) staff = &treble;  // a tablature target spells with a treble staff
    int accidental = 0;
    int row = staff->PitchToRow(note.pitch, m_view.m_caretColumn, accidental, -1);
    if (staff == &treble) row = treble.PitchToRow(note.pitch, 0, accidental, treble.GetKey());
    if (row > KStaffLine::kLastRow || row < 1) {
      placed.row = row > KStaffLine::kLastRow ? kAboveStaffRow : kBelowStaffRow;
      placed.inRange = false;
      accidental = 0;
    } else {
      placed.row = row;
    }
    placed.accidental = std::clamp(accidental, 0, 3);
  }

  // The stem rules of one column: codes come in pairs, the even code and its
  // odd partner (the other stem direction).
  bool Fill(KChord& column, std::vector<std::pair<const LiveNote*, Placed>>& notes) {
    if (notes.empty()) return false;
    int maxRow = -1;
    bool shortValues[7] = {};
    bool longValues[7] = {};
    for (const auto& [note, placed] : notes) {
      if (placed.inRange) maxRow = std::max(maxRow, placed.row);
      if (placed.value >= kNoteValueEighth) shortValues[placed.value] = true;
      if (placed.value == kNoteValueQuarter || placed.value == kNoteValueHalf)
        longValues[placed.value] = true;
    }
    if (maxRow < 0) maxRow = kMiddleRow;
    const int shortCount = static_cast<int>(std::count(std::begin(shortValues), std::end(shortValues), true));
    const int longCount = static_cast<int>(std::count(std::begin(longValues), std::end(longValues), true));
    int& stem = m_take.stemState;
    if (stem == 3 || shortCount == 0) stem = maxRow > 17 ? 1 : 0;
    int secondVoice = -1;
    if (shortCount >= 2 || (shortCount == 1 && longCount == 1)) {
      for (int v = kNoteValueEighth; v <= kNoteValue32nd && secondVoice < 0; ++v)
        if (shortValues[v]) secondVoice = v;
    }
    for (const auto& [note, placed] : notes) {
      int code = kNoteCodeOfValue[static_cast<size_t>(placed.value)];
      if (code < 12) {
        if (secondVoice >= 0) {
          if (placed.value == secondVoice) ++code;
        } else if (shortCount == 1 && longCount == 0 && stem == 0) {
          ++code;
        } else if (shortCount == 0 && longCount == 1 && maxRow < 18) {
          ++code;
        }
      }
      AddEntry(column, placed.row, code);
      if (placed.accidental > 0)
        AddEntry(column, placed.row, kAccidentalCode[static_cast<size_t>(placed.accidental)]);
      if (placed.dotted != 0) AddEntry(column, placed.row, kDotCode);
      if (placed.tie && placed.inRange) AddEntry(column, placed.row, kTieCode);
    }
    return column.GetNoteCount() > 0;
  }

  // The column (and the bass staff's) at the caret, which moves on.
  void Put(const KChord& own, const KChord* bass) {
    const int saved = m_view.m_entryMode;
    m_view.m_entryMode = 0;
    PutInto(m_view.m_currentLine, own, m_tab != nullptr);
    if (bass != nullptr && m_bass != nullptr) PutInto(m_view.m_currentLine + 1, *bass, false);
    m_view.m_entryMode = saved;
    ++m_view.m_caretColumn;
  }

  void PutInto(int displayLine, const KChord& column, bool tablature) {
    if (displayLine < 0 || displayLine >= m_view.m_lineCount) return;
    const POSITION position = m_view.GetDisplayEntry(displayLine).line;
    KLineObj* line = m_view.GetDisplayLineObj(displayLine);
    if (line == nullptr) return;
    if (!tablature) {
      m_view.InsertObjWithPartner(line->GetGroupId(), position, line, column);
      return;
    }
    // A tablature target gets the staff column fingered for its strings.
    auto* tab = dynamic_cast<KTabLine*>(line);
    if (tab == nullptr) return;
    const int first = column.GetNoteCount() > 0 ? column.GetNote(0).code : 0;
    if (first >= kRestCodeOfValue.front() && first <= kBarCode) {
      // Rests and bars stand on the middle string.
      KChord own(0, kTabRestString, first, KChord::kTabRhythm);
      if (column.GetNoteCount() > 1 && column.GetNote(1).code == kDotCode)
        own.AddNote(kTabRestString, kDotCode);
      m_view.InsertObjWithPartner(line->GetGroupId(), position, line, own);
      return;
    }
    KStaffLine treble(kTrebleType, tab->GetKeySignatureAt(m_view.m_caretColumn), 0);
    LineColumnConversion lines(treble, *tab);
    const std::unique_ptr<KChord> fingered(
        KChord::MakeTabFingering(column, lines, kTrebleType, tab->GetType(), m_view.m_caretColumn, 0, 0));
    if (fingered != nullptr) m_view.InsertObjWithPartner(line->GetGroupId(), position, line, *fingered);
  }

  // Time moves on by a written column; with Auto Bar Insertion a completed
  // bar gets its bar line, and a full line a new line.
  void Advance(int ticks, bool sounding) {
    const int before = m_take.barPosition;
    m_take.musicTime += ticks;
    m_take.barPosition += ticks;
    const bool beatDone = before / kBeatTicks != m_take.barPosition / kBeatTicks;
    bool barDone = false;
    if (m_take.barPosition >= m_barLength) {
      m_take.barPosition -= m_barLength;
      if (m_view.m_autoBars != 0) {
        KChord bar(0);
        AddEntry(bar, kMiddleRow, kBarCode);
        KChord bassBar(0);
        AddEntry(bassBar, kMiddleRow, kBarCode);
        Put(bar, m_bass != nullptr ? &bassBar : nullptr);
        barDone = true;
      }
    }
    (void)sounding;
    if (beatDone || barDone) BeamBeat(barDone);
    if (m_view.m_autoBars != 0 && !barDone) return;
    const int n = (m_settings.lineLength - 54) / 18;
    const int limit = std::max(m_view.m_autoBars != 0 ? n - 5 : n, 10);
    if (m_main != nullptr && m_main->GetLength() >= limit) {
      InsertLiveLine(m_view, m_view.m_liveLineKind);
      Locate();
      m_take.beatStartColumn = m_view.m_caretColumn;
    }
  }

  // The flagged notes of the beat just completed share one beam.
  void BeamBeat(bool endsWithBar) {
    const int end = m_view.m_caretColumn - (endsWithBar ? 1 : 0);
    const int first = std::max(m_take.beatStartColumn, 0);
    if (end - first >= 2) {
      viewnotes::JoinTailsInRange(*m_main, first, end, m_view.m_sizeIndex, viewnotes::kJoin);
      if (m_bass != nullptr)
        viewnotes::JoinTailsInRange(*m_bass, first, end, m_view.m_sizeIndex, viewnotes::kJoin);
    }
    m_take.beatStartColumn = m_view.m_caretColumn;
  }

  CStavlinView& m_view;
  const KLiveInputSettings& m_settings;
  KLiveTake& m_take;
  int m_grid = 120;
  int m_half = 60;
  int m_barLength = static_cast<int>(BarTicks(kDefaultBeats, kDefaultBeatTicks));
  KListLine* m_main = nullptr;
  KStaffLine* m_staff = nullptr;
  KTabLine* m_tab = nullptr;
  KStaffLine* m_bass = nullptr;
};

}  // namespace

KStaffLine* KeyboardBassOf(const CStavlinView& view, int displayLine) {
  if (displayLine < 0 || displayLine + 1 >= view.m_lineCount) return nullptr;
  KLineObj* upper = view.GetDisplayLineObj(displayLine);
  KLineObj* lower = view.GetDisplayLineObj(displayLine + 1);
  if (upper == nullptr || lower == nullptr || upper->GetType() != kTrebleType ||
      lower->GetType() != kBassType)
    return nullptr;
  if (upper->GetGroupId() == KLineObj::kNoGroup || upper->GetGroupId() != lower->GetGroupId()) return nullptr;
  return dynamic_cast<KStaffLine*>(lower);
}

void InsertLiveLine(CStavlinView& view, int kind) {
  // Below the keyboard pair the caret is on.
  if (KeyboardBassOf(view, view.m_currentLine) != nullptr) ++view.m_currentLine;
  const int before = view.m_currentLine;
  switch (kind) {
    case 0:
      view.InsertLineOfType(kTabType, 0);
      break;
    case 1:
      view.InsertLineOfType(kTrebleType, 0);
      break;
    case 2:
      view.InsertLineOfType(kBassType, 0);
      break;
    default: {
      view.OnInsertKeyboardStaff();
      view.RebuildDisplayLines(0);
      // The new pair's upper staff: the first empty keyboard treble below.
      for (int i = std::max(before, 0); i < view.m_lineCount; ++i) {
        KLineObj* line = view.GetDisplayLineObj(i);
        KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
        if (list != nullptr && KeyboardBassOf(view, i) != nullptr && list->GetObjCount() == 0 &&
            (i > before || before == 0)) {
          view.m_currentLine = i;
          break;
        }
      }
      view.m_currentType = kTrebleType;
      view.m_currentFamily = KLineObj::kFamilyStaff;
      view.m_caretColumn = 0;
      view.m_caretRow = kMiddleRow;
      break;
    }
  }
}

void WriteLiveGroups(CStavlinView& view, const std::vector<KLiveRecorder::Group>& groups,
                     const KLiveInputSettings& settings) {
  LiveWriter writer(view, settings);
  // Each chord knows when the next began: the next one handed back, or the
  // oldest chord the recorder still holds.
  const int pending = ProgramLiveRecorder().OldestPendingStart();
  for (std::size_t i = 0; i < groups.size(); ++i)
    writer.Write(groups[i], i + 1 < groups.size() ? groups[i + 1].start : pending);
}
