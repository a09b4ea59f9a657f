// KRhythmLine: translation into other line kinds. Staff and tablature lines
// receive the symbols as notes on one middle line or string (the rhythm of
// the line), a text line receives the line as letters.

#include <memory>

#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineSymbols.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/RhythmLineServices.h"
#include "model/KRhythmObj.h"

namespace {
constexpr int kNoteColumnWidth[2] = {18, 22};
constexpr int kLastCarriedCode = 244;
constexpr int kDotNote = 36;
constexpr int kTieNote = 34;
constexpr int kStaffRow = 18;
constexpr int kStaffHighRow = 8;
constexpr int kTabRow = 4;
constexpr int kTabHighRow = 1;
constexpr int kOpenFret = 226;
constexpr int kTabSymbolMode = 190;
// Note codes up to this one are note values (t s y x q h w); on tablature they
// become open-string notes carrying the value, because the tablature line takes
// a bare note value only as a change of an existing column's duration.
constexpr int kLastNoteValue = 12;

bool IsHighSymbol(int noteCode) { return noteCode == 89 || noteCode == 90; }
}  // namespace

std::unique_ptr<KLineObj> KRhythmLine::TranslateTo(int, int kind, int textMode, int sizeIndex, int fontNumber,
                                                   CString text, int) {
  switch (kind) {
    case 0:
    case 1:
      return ConvertToStaff(kind, sizeIndex);
    case 2:
      return ConvertToTab(sizeIndex, text);
    case 5:
      return std::make_unique<KStrLine>(WriteText(0, 10000, textMode).value_or(CString()), fontNumber);
    default:
      return nullptr;
  }
}

namespace {
// Calls enter(note code, column, run flag) for each carried symbol in order,
// with the column rules of the conversions.
template <typename Enter>
void ForEachNote(const CObList& items, int sizeIndex, Enter enter) {
  const int width = kNoteColumnWidth[sizeIndex != 0 ? 1 : 0];
  int previous = -1;
  for (POSITION node = items.GetHeadPosition(); node != nullptr;) {
    const KRhythmObj& item = *static_cast<const KRhythmObj*>(items.GetNext(node));
    if (!item.GetText().IsEmpty() || item.GetCode() < KRhythmObj::kFirstSymbolCode ||
        item.GetCode() > kLastCarriedCode)
      continue;
    const int note = NoteCodeOfRhythmCode(item.GetCode());
    if (note < 0) continue;
    int column = item.GetPos() / width;
    if (column <= previous) column = previous + 1;
    if ((note == kDotNote || note == kTieNote) && column > 0) --column;
    previous = column;
    enter(note, column, item.GetLinkCode() < 0 ? 1 : 0);
  }
}
}  // namespace

std::unique_ptr<KLineObj> KRhythmLine::ConvertToStaff(int bass, int sizeIndex) {
  MeasureSymbols(RhythmMeasureDC(), 0);
  auto staff = std::make_unique<KStaffLine>(bass != 0 ? 1 : 0, 0, 0);
  ForEachNote(m_objects, sizeIndex, [&](int note, int column, int run) {
    staff->HandleKey(note, note < 8 ? 1 : 0, sizeIndex, column,
                     IsHighSymbol(note) ? kStaffHighRow : kStaffRow, run, 0, 0);
  });
  return staff;
}

std::unique_ptr<KLineObj> KRhythmLine::ConvertToTab(int sizeIndex, const CString& tuning) {
  MeasureSymbols(RhythmMeasureDC(), 0);
  auto tab = std::make_unique<KTabLine>(m_key, tuning, 0);
  ForEachNote(m_objects, sizeIndex, [&](int note, int column, int run) {
    const int row = IsHighSymbol(note) ? kTabHighRow : kTabRow;
    if (note > kLastNoteValue)
      tab->HandleKey(note, kTabSymbolMode, sizeIndex, column, row, run, 0, 0);
    else
      tab->HandleKey(kOpenFret, note * 10 + 71, sizeIndex, column, row, run, 0, 0);
  });
  return tab;
}
