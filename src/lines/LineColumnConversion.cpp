#include "lines/LineColumnConversion.h"

#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"

namespace {

constexpr int kWholeColumnRow = 1000;
constexpr int kDeleteCode = 32762;
constexpr int kInternalCodes = 32760;  // codes above are the editor's own
constexpr int kFirstRest = 14;
constexpr int kLastRest = 20;
constexpr int kMiddleStaffRow = 18;
constexpr int kLastStringRow = 9;
// Rows above the strings spread over the rows above the staff, rows below
// them over the rows below it.
constexpr int kRowSpread = 13;
constexpr int kBelowStaffRow = 23;

bool IsRest(int code) { return code >= kFirstRest && code <= kLastRest; }

// True when the cell holds a rest on the string row.
bool HasRestOn(const KChord& cell, int stringRow) {
  for (int i = 0; i < cell.GetNoteCount(); ++i) {
    const NotePair note = cell.GetNote(i);
    if (note.position == stringRow && IsRest(note.code)) return true;
  }
  return false;
}

}  // namespace

CString LineColumnConversion::GetTabTuning() const { return m_tab.GetTuning(); }

int LineColumnConversion::ChooseTabString(int& code, int column, int staffRow, int positionCode,
                                          int wantedString, const KChord& target, int& fretCode) {
  return m_staff.FindTabString(&m_tab, code, column, staffRow, positionCode, wantedString, &target, fretCode);
}

int LineColumnConversion::TabCellToStaffRow(int& accidental, int code, int column, int stringRow,
                                            const KChord& cell, int key) {
  return StaffRowOfTabCell(m_staff, m_tab, accidental, code, column, stringRow, cell, key);
}

int LineColumnConversion::GetKeySignatureAt(int column) const { return m_tab.GetKeySignatureAt(column); }

int LineColumnConversion::StaffRowOfTabCell(const KStaffLine& staff, const KTabLine& tab, int& accidental,
                                            int code, int column, int stringRow, const KChord& cell,
                                            int key) {
  accidental = KStaffLine::kNoAccidental;
  if (stringRow == kWholeColumnRow) return kWholeColumnRow;
  if (stringRow < 0 || stringRow > kLastStringRow) return -1;
  const int firstRow = tab.GetStringRowLimit(KTabLine::kFirstRow);
  const int lastRow = tab.GetStringRowLimit(KTabLine::kLastRow);
  if (stringRow < firstRow)
    return (stringRow * kRowSpread + kRowSpread) / (tab.GetStringCount() < 6 ? 4 : 3) + 1;
  if (stringRow > lastRow) return ((stringRow - lastRow + 1) * kRowSpread) / (11 - lastRow) + kBelowStaffRow;

  int fret = 0;
  if (code == kDeleteCode) {
    if (HasRestOn(cell, stringRow)) return kMiddleStaffRow;
    const int standing = cell.GetFretOnString(stringRow);
    fret = standing == KChord::kNone ? 0 : standing;
  } else if (code > kInternalCodes || code == KChord::kTimeSignature || code == KChord::kKeySignature) {
    return -1;
  } else if (IsRest(code) &&
             (stringRow == (firstRow + lastRow) / 2 || stringRow == (firstRow + lastRow) / 2 + 1)) {
    return kMiddleStaffRow;
  } else if (code >= KChord::kFirstFret && code <= KChord::kLastFret) {
    fret = code - KChord::kFirstFret;
  } else {
    const int standing = cell.GetFretOnString(stringRow);
    fret = standing == KChord::kNone ? 0 : standing;
  }
  if (fret > tab.GetFretCount()) fret = 0;
  const int pitch = tab.GetPitchAt(stringRow, KChord::kFirstFret + fret);
  if (pitch < 0) return -1;
  const int row = staff.PitchToRow(pitch + KStaffLine::kPitchToMidi, column, accidental, key);
  return row + KStaffLine::RowOffset(staff.GetType());
}
