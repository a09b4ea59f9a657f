// Symbols arriving on a tablature line from the symbol toolbox, the fretboard
// or a staff of the same line group. A staff note is played on the string that
// the staff's string choice gives; when that string already holds another
// fret, one of the two notes moves to the next lower string so that both
// sound.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/ViewServices.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "platform/UiPort.h"

namespace {

constexpr int kRowOffset = 2;
constexpr int kBlankCode = 32761;
constexpr int kBlankRunCode = 32763;
constexpr int kBlankMode = 4;
constexpr int kModeModulus = 1000000;
// Hand position codes of the string choice: the column's lowest fret for a
// delete, the fret statistics of the line for every other code.
constexpr int kHandFromStatistics = -1;
// A staff's rhythm code (a note style) becomes a tablature sub-code: a quarter
// note of that style.
constexpr int kTabSubCodeBase = 150;
constexpr int kLastDuration = 13;  // codes below this one are durations

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
// Notes and the flagged note heads that the string choice plays as notes.
bool IsNoteHead(int code) {
  if (code >= 0 && code <= kLastDuration) return true;
  const int flagged = code - KChord::kFlaggedBase;
  return flagged == 0 || flagged == 2 || (flagged >= 8 && flagged <= 11);
}

KLinePair Refused() {
  MessageBeep(MB_ICONASTERISK);
  return {0, -1};
}

// Sets the bulk-entry flag for its life and restores the value it found.
class BulkEntryScope {
 public:
  BulkEntryScope() : m_saved(g_bulkEntry) { g_bulkEntry = 1; }
  ~BulkEntryScope() { g_bulkEntry = m_saved; }
  BulkEntryScope(const BulkEntryScope&) = delete;
  BulkEntryScope& operator=(const BulkEntryScope&) = delete;

 private:
  int m_saved;
};

}  // namespace

KLinePair KTabLine::EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y,
                                int beamFlag, int replace, int packed) {
  const int family = source != nullptr ? source->GetFamily() : kFamilyTab;
  if (family != kFamilyStaff && family != kFamilyTab) return Refused();
  const auto* staff = dynamic_cast<const KStaffLine*>(source);
  if (family == kFamilyStaff && staff == nullptr) return Refused();
  MarkChanged();
  const int mode = std::max(packed, 0) % kModeModulus;
  if (family == kFamilyTab) return HandleKey(code, rhythmCode, sizeIndex, x, y, beamFlag, replace, mode);

  // A staff note: the column under x on the staff, a quarter note of the
  // staff's style as the sub-code.
  const int lead = staff->GetLeadInWidth(sizeIndex) + staff->GetIndent();
  const long long under = (static_cast<long long>(x) - lead) / ColumnWidth(sizeIndex);
  const int column = static_cast<int>(std::clamp<long long>(under, 0, INT32_MAX));
  const int subCode =
      rhythmCode < KChord::kTabRhythm ? kTabSubCodeBase + (rhythmCode % 10 + 10) % 10 : rhythmCode;
  if (code == kBlankCode || code == kBlankRunCode) {
    return HandleKey(code, subCode, sizeIndex, column, GetStringRowLimit(kFirstRow), beamFlag, replace,
                     kBlankMode);
  }

  KChord* here = AsChord(GetObjAt(column, 0));
  int noteCode = code;
  int fretCode = 0;
  int hand = kHandFromStatistics;
  if (code == kDeleteCode && here != nullptr && here->GetLowestFret() >= 0) hand = here->GetLowestFret();
  // A note may land on a string that holds a fret (handled below); the
  // delete code and the other symbols go to the note that sounds the pitch.
  const int row =
      staff->ChooseTabString(this, noteCode, column, y, hand, 0, IsNoteHead(code) ? nullptr : here, fretCode);
  if (row < 0) return {0, -1};  // the string choice has beeped
  const bool note = noteCode >= 0 && noteCode <= kLastDuration && IsFretCode(fretCode);
  if (!note) return HandleKey(noteCode, subCode, sizeIndex, column, row, beamFlag, replace, mode);

  // A fret on the chosen string: the same fret is added as a further entry
  // (a note of the other voice) instead of forming a two-digit fret; another
  // fret makes room by moving the lower of the two frets.
  const int fret = fretCode - KChord::kFirstFret;
  const int standing = here != nullptr ? here->GetFretOnString(row) : KChord::kNone;
  std::optional<BulkEntryScope> bulk;
  if (standing == fret) {
    bulk.emplace();
  } else if (standing != KChord::kNone) {
    const int duration = noteCode < kLastDuration ? noteCode : (subCode - KChord::kTabRhythm) / 10;
    if (MoveCollidingNote(*here, row, fret, duration)) return {1, column};
  }

  KLinePair result = HandleKey(fretCode, subCode, sizeIndex, column, row, beamFlag, replace, mode);
  if (noteCode < kLastDuration && result.second >= 0) {
    // The fret takes the note's length.
    const KLinePair length = HandleKey(noteCode, subCode, sizeIndex, column, row, beamFlag, replace, mode);
    if (length.second >= 0) result.second = std::min(result.second, length.second);
  }
  return result;
}

bool KTabLine::MoveCollidingNote(KChord& column, int row, int newFret, int duration) {
  const int last = GetStringRowLimit(kLastRow);
  const int lower = row + 1;
  if (row < GetStringRowLimit(kFirstRow) || row >= last) return false;
  if (column.GetFretOnString(lower) != KChord::kNone) return false;
  if (newFret < 0 || newFret > m_fretCount) return false;
  TuningPitches open{};
  GetStringPitches(open);
  if (open[row - kRowOffset] == kNoString || open[lower - kRowOffset] == kNoString) return false;

  // The lower fret of the two goes to the next lower string at its pitch.
  const int standing = column.GetFretOnString(row);
  const int movingFret = std::min(standing, newFret);
  const int moved =
      FretForSemitone(open[row - kRowOffset] + m_fretMap[movingFret] - open[lower - kRowOffset]);
  if (moved < 0) return false;

  // Made on a copy, taken over when every step succeeded.
  KChord edited(column, column.GetPos(), true);
  if (standing < newFret) {
    // The standing note goes with the entries of its string; the next string
    // holds no fret, so the column stays ordered by string.
    for (int i = 0; i < edited.GetNoteCount(); ++i) {
      const NotePair entry = edited.GetNote(i);
      if (entry.position != row) continue;
      if (IsFretCode(entry.code)) {
        edited.SetNoteCode(i, KChord::kFirstFret + moved);
        edited.SetNoteValue(i, lower);
      } else {
        edited.SetNoteValue(i, edited.GetRawNote(i).position / 10 * 10 + lower);
      }
    }
    if (edited.AddNote(row, KChord::kFirstFret + newFret, 0, duration) < 0) return false;
  } else if (edited.AddNote(lower, KChord::kFirstFret + moved, 0, duration) < 0) {
    return false;
  }
  column.CopyFrom(edited);
  for (int voice = 0; voice < 2; ++voice) column.SetVoiceStem(voice, edited.GetVoiceStem(voice));
  MarkChanged();
  RelayoutBeams(column.GetPos(), column.GetPos() + 1);
  return true;
}
