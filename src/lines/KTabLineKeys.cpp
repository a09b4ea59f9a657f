// Key entry on a tablature line: which codes a tab cell takes before the
// note-entry editor sees them, the replacement of a fret by a symbol, the
// insertion of whole columns, and moving a note to the neighbouring string.

#include <algorithm>

#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "platform/UiPort.h"

namespace {

constexpr int kRowOffset = 2;
constexpr int kRowCount = 10;  // string rows 0..9 of a tablature column
constexpr int kBlankCode = 32761;
constexpr int kBlankRunCode = 32763;
constexpr int kWholeColumnRow = 1000;
constexpr int kValueChangeRow = 10000;
constexpr int kLastDuration = 13;  // codes below this one are durations
constexpr int kBothVoices = 3;
constexpr int kStoredInTabAs100 = 88;

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// Accidentals and the symbols that only a staff can show.
bool IsRefusedOnTab(int code) {
  return (code >= 27 && code <= 31) || code == 68 || code == 69 || code == 82 || code == 83;
}

// A row the editor can store for the code: a string row 0..9, the whole
// column for the delete code, a note-value change for a duration; blank
// columns take any row.
bool RowFits(int code, int row) {
  if (code == kBlankCode || code == kBlankRunCode) return true;
  if (row >= 0 && row < kRowCount) return true;
  if (code == KListLine::kDeleteCode) return row == kWholeColumnRow;
  return row >= kValueChangeRow && code >= 0 && code <= kLastDuration;
}

// A code that an entry can hold in place of a fret: one byte, flagged or not,
// but neither the escape bytes of the file format nor the codes that make a
// signature column.
bool CanReplaceFret(int code) {
  if (code < 0 || code >= 2 * KChord::kFlaggedBase) return false;
  const int low = code % KChord::kFlaggedBase;
  if (low > 255) return false;
  return !(low >= 104 && low <= 106) && low != KChord::kTimeSignature && low != KChord::kKeySignature;
}

KLinePair Refused() {
  MessageBeep(MB_ICONASTERISK);
  return {0, -1};
}

}  // namespace

KLinePair KTabLine::HandleKey(int code, int subCode, int sizeIndex, int column, int row, int beamFlag,
                              int replace, int mode) {
  if (IsRefusedOnTab(code)) return Refused();
  if (code < kLastDuration) {
    // A duration changes the notes of the column at the caret; it never
    // replaces the column.
    const KChord* chord = AsChord(GetObjAt(column, 0));
    if (chord == nullptr || chord->GetVoiceDuration(kBothVoices) == KChord::kNoDuration) return Refused();
    replace = 0;
  }
  if (column < 0 || !RowFits(code, row)) return Refused();
  if (mode >= kReplaceFretMode) return ReplaceFret(code, column, row);

  MarkChanged();
  const KLinePair result = EditNoteAt(code, subCode, sizeIndex, column, row, beamFlag, replace, mode);
  if (result == KLinePair{0, -1}) MessageBeep(MB_ICONASTERISK);
  return result;
}

KLinePair KTabLine::ReplaceFret(int code, int column, int row) {
  KChord* chord = AsChord(GetObjAt(column, 0));
  if (chord == nullptr || !CanReplaceFret(code)) return Refused();
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    const NotePair note = chord->GetNote(i);
    if (note.position != row || !IsFretCode(note.code)) continue;
    int low = code % KChord::kFlaggedBase;
    if (low == kStoredInTabAs100) low = 100;
    const int flag = (chord->RawEntry(i).flag & ~KChord::kFlagFlagged) |
                     (code >= KChord::kFlaggedBase ? KChord::kFlagFlagged : 0);
    chord->SetNoteCode(i, low);
    chord->SetNoteFlags(i, flag);
    MarkChanged();
    return {1, column};
  }
  return Refused();
}

KLinePair KTabLine::DeleteAtCaret(int column, int row, int sizeIndex, int extra) {
  return HandleKey(kDeleteCode, 0, sizeIndex, column, row, 0, extra, 0);
}

KLinePair KTabLine::InsertObj(CObject* object, int sizeIndex, int column, const int* beamFlags, int replace) {
  KChord* chord = AsChord(object);
  if (chord == nullptr || column < 0) return Refused();
  return InsertObjAt(chord, sizeIndex, column, beamFlags, replace);
}

KLinePair KTabLine::InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                               int replace) {
  const KChord* chord = AsChord(source);
  if (chord == nullptr || column < 0) return Refused();
  return InsertObjAt(new KChord(*chord, column, false), sizeIndex, column, beamFlags, replace);
}

int KTabLine::MoveNoteToNextString(int column, int row, int key) {
  if (key != kKeyUp && key != kKeyDown) return -1;
  KChord* chord = AsChord(GetObjAt(column, 0));
  const int target = key == kKeyUp ? row - 1 : row + 1;
  const int first = GetStringRowLimit(kFirstRow);
  const int last = GetStringRowLimit(kLastRow);
  if (chord == nullptr || row < first || row > last || target < first || target > last) return -1;

  TuningPitches open{};
  GetStringPitches(open);
  if (open[row - kRowOffset] == kNoString || open[target - kRowOffset] == kNoString) return -1;

  // Every fret of the row keeps its pitch on the target string, which must
  // hold nothing.
  int newFret[KChord::kMaxNotes];
  bool hasFret = false;
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    const NotePair note = chord->GetNote(i);
    if (note.position == target) return -1;
    newFret[i] = -1;
    if (note.position != row || !IsFretCode(note.code)) continue;
    const int pitch = open[row - kRowOffset] + m_fretMap[note.code - KChord::kFirstFret];
    newFret[i] = FretForSemitone(pitch - open[target - kRowOffset]);
    if (newFret[i] < 0) return -1;
    hasFret = true;
  }
  if (!hasFret) return -1;

  // The row's entries stand together and the target string is empty and next
  // to it, so the column stays ordered by string.
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    if (chord->GetNote(i).position != row) continue;
    if (newFret[i] >= 0) {
      chord->SetNoteCode(i, KChord::kFirstFret + newFret[i]);
      chord->SetNoteValue(i, target);
    } else {
      chord->SetNoteValue(i, chord->GetRawNote(i).position / 10 * 10 + target);
    }
  }
  MarkChanged();
  RelayoutBeams(column, column + 1);
  return FindRedrawStart(column);
}
