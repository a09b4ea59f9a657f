// Converting a note column for a line of another type: between staff clefs,
// from staff to tablature and from tablature to staff.

#include <memory>

#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "model/KChord.h"
#include "model/KColumnConversion.h"
#include "platform/UiPort.h"

namespace {

constexpr int kTrebleTab = 2;
constexpr int kBassTab = 15;
constexpr int kStringMark = 88;
constexpr int kFirstStringNumber = 227;  // the number symbols 1..6 that name a string
constexpr int kLastStringNumber = 232;
constexpr int kFirstStep = 1;
constexpr int kLastStep = 36;

bool IsTabType(int type) { return type == kTrebleTab || type == kBassTab; }
bool IsStaffType(int type) { return (type >= 0 && type <= 1) || (type >= 9 && type <= 14) || type == 16; }

}  // namespace

KChord* KChord::ConvertColumn(int fromType, int toType, KColumnConversion* lines, int column,
                              int positionCode) const {
  if (IsBarColumn() || IsSignatureColumn()) {
    auto* copy = new KChord(*this, GetPos(), true);
    copy->m_rhythm = IsTabType(toType) ? kTabRhythm : 0;
    return copy;
  }

  if (IsStaffType(fromType) && IsStaffType(toType)) {
    // The note keeps its pitch: the clef offsets read every staff step as a
    // treble step.
    auto converted = std::make_unique<KChord>(GetPos(), GetNoteStyle());
    for (int i = 0; i < m_count; ++i) {
      const NoteEntry& e = m_notes[i];
      const int step = e.value + ClefStepOffset(fromType) - ClefStepOffset(toType);
      if (step < kFirstStep || step > kLastStep) continue;
      const int code = FullCode(i);
      const int duration = code <= kWholeNote ? code : (code >= 108 && code <= 111 ? code - 100 : 127);
      converted->AddNote(step, code, (e.flag & kFlagStyleMask) | e.extra << 8, duration);
    }
    return converted.release();
  }

  if (IsStaffType(fromType) && IsTabType(toType)) {
    if (!lines) return nullptr;
    CString tuning = lines->GetTabTuning();
    if (tuning.IsEmpty()) tuning = g_CurrentTuning;
    const int highestFret = ParseFretList(tuning, nullptr);
    auto converted = std::make_unique<KChord>(GetPos(), m_rhythm + 190);
    for (int i = 0; i < m_count; ++i) {
      int code = FullCode(i);
      if (code > kWholeNote) continue;
      const int step = m_notes[i].value;
      // A string number written at the note names the string it asks for.
      int wanted = 0;
      bool stringMark = false;
      for (int j = 0; j < m_count; ++j) {
        if (m_notes[j].value != step) continue;
        const int c = FullCode(j);
        if (c == kStringMark) stringMark = true;
        if (c >= kFirstStringNumber && c <= kLastStringNumber) wanted = c - kFirstStringNumber + 1;
      }
      if (!stringMark) wanted = 0;
      int fretCode = 0;
      const int row = lines->ChooseTabString(code, column, step, positionCode, wanted, *converted, fretCode);
      if (row < 0 || row > 9 || fretCode < kFirstFret || fretCode > kFirstFret + highestFret ||
          fretCode > kLastFret) {
        MessageBeep(MB_ICONASTERISK);
        continue;
      }
      const int style = m_notes[i].flag & kFlagStyleMask;
      if (converted->AddNote(row, fretCode, style, code) < 0) continue;
      for (int j = 0; j < m_count; ++j) {
        if (m_notes[j].value == step && FullCode(j) == kDot) converted->AddNote(row, kDot);
      }
    }
    return converted.release();
  }

  if (IsTabType(fromType) && IsStaffType(toType)) {
    if (!lines) return nullptr;
    const CString tuning = lines->GetTabTuning().IsEmpty() ? g_CurrentTuning : lines->GetTabTuning();
    const int strings = GetTuningStringCount(tuning);
    const int firstRow = strings < 6 ? 3 : 2;
    const int lastRow = strings < 6 ? strings + 2 : strings + 1;
    const int key = lines->GetKeySignatureAt(column);
    auto converted = std::make_unique<KChord>(GetPos(), GetNoteStyle());
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i)) continue;
      const int row = EntryString(i);
      if (row < firstRow || row > lastRow) continue;
      int accidental = 0;
      const int staffRow = lines->TabCellToStaffRow(accidental, FullCode(i), column, row, *this, key);
      if (staffRow < 0) continue;
      const int step = staffRow - ClefStepOffset(toType);
      if (step < kFirstStep || step > kLastStep) continue;
      static constexpr int kAccidentalCodes[4] = {0, 28, 30, 27};
      if (accidental >= 1 && accidental <= 3) converted->AddNote(step, kAccidentalCodes[accidental]);
      const int duration = EntryDuration(i);
      const int code = duration > 13 ? duration + 94 : duration;
      converted->AddNote(step, code, m_notes[i].flag & kFlagStyleMask);
    }
    return converted.release();
  }
  return nullptr;
}
