// A symbol entered on a tablature line, mirrored onto the staff that belongs
// to it: the tablature cell is mapped to the staff row that sounds its pitch,
// a fret becomes a note of the entered note value with the accidental it needs
// written first, and every other symbol lands on the same row. The editing
// itself is the note-entry editor's (HandleKey).

#include <algorithm>
#include <vector>

#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"

namespace {

constexpr int kTreble = 0;
constexpr KLinePair kUnchanged{1, -1};
constexpr KLinePair kRefused{0, -1};
constexpr int kBlankCode = 32761;
constexpr int kBlankRunCode = 32763;
constexpr int kFlaggedRows = 10000;  // rows from here on carry a code, not a string
constexpr int kWholeColumnRow = 1000;
constexpr int kMiddleRow = 18;
constexpr int kFirstFretLike = 224;  // 224..249: frets (and the no-duration mark)
constexpr int kLastFretLike = 249;
constexpr int kLastSymbol = 9999;
constexpr int kTabRhythmBase = 70;
constexpr long long kMaxColumn = 0xFFFF;               // columns are stored in a word
constexpr int kAccidentalOfKind[4] = {0, 28, 30, 27};  // none, sharp, flat, natural

}  // namespace

KLinePair KStaffLine::EnterSymbol(KLineObj* source, int code, int rhythmCode, int sizeIndex, int x, int y,
                                  int arg7, int arg8, int packed) {
  const auto* tab = dynamic_cast<const KTabLine*>(source);
  if (tab == nullptr) return kUnchanged;
  const bool treblePair = tab->GetType() == KTabLine::kKindTab && m_type == kTreble;
  const bool bassPair = tab->GetType() == KTabLine::kKindBassTab && m_type == kKindBassStaff;
  if (!treblePair && !bassPair) return kUnchanged;

  const int noteCode = static_cast<int>((static_cast<long long>(rhythmCode) - kTabRhythmBase) / 10);
  const int subCode = rhythmCode % 10;
  const int width = ColumnWidth(sizeIndex);
  const long long lead = static_cast<long long>(GetLeadInWidth(sizeIndex)) + GetIndent();
  const int column = width > 0 ? static_cast<int>(std::clamp((x - lead) / width, 0LL, kMaxColumn)) : 0;

  if (code == kBlankCode || code == kBlankRunCode || y >= kFlaggedRows || y == kWholeColumnRow)
    return HandleKey(code, subCode, sizeIndex, column, y, arg7, arg8, packed);

  // A rest from the tablature stands where engraving puts it on the staff.
  if (code >= kFirstRest && code <= kLastRest)
    return HandleKey(code, subCode, sizeIndex, column, RestRow(code), arg7, arg8, packed);

  const KChord* here = AsChord(tab->GetObjAt(column, 0));
  const KChord empty(column);
  int accidental = kNoAccidental;
  const int trebleRow = LineColumnConversion::StaffRowOfTabCell(
      *this, *tab, accidental, code, column, y, here != nullptr ? *here : empty, KeyAt(column));
  if (trebleRow < kFirstRow || trebleRow > kLastRow) {
    // A cell without a place on the staff: a fret is dropped, any other
    // symbol stands on the middle line.
    if (code >= kFirstFretLike && code <= kLastFretLike) return kUnchanged;
    return HandleKey(code, subCode, sizeIndex, column, kMiddleRow, arg7, arg8, packed);
  }
  const int row = trebleRow - RowOffset(m_type);
  if (row < kFirstRow || row > kLastRow) return kUnchanged;

  if (code == kDeleteCode) return HandleKey(kDeleteCode, subCode, sizeIndex, column, row, arg7, arg8, packed);

  // The accidental and the note go in together or not at all: the columns
  // are kept so that a refused note takes its accidental back with it.
  std::vector<KChord*> kept;
  const bool withSign = accidental >= kSharp && accidental <= kNatural;
  if (withSign) {
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const KChord* chord = AsChord(m_objects.GetNext(node));
      if (chord != nullptr) kept.push_back(new KChord(*chord, chord->GetPos(), true));
    }
    HandleKey(kAccidentalOfKind[accidental], subCode, sizeIndex, column, row, arg7, arg8, 0);
  }
  const int entered = code >= kFirstFretLike && code <= kLastSymbol ? noteCode : code;
  const KLinePair result = HandleKey(entered, subCode, sizeIndex, column, row, arg7, 0, packed);
  if (withSign && result == kRefused) {
    while (!m_objects.IsEmpty()) delete m_objects.RemoveTail();
    for (KChord* chord : kept) m_objects.AddTail(chord);
    UpdateTimeSigCache();
    MarkChanged();
  } else {
    for (KChord* chord : kept) delete chord;
  }
  return result;
}
