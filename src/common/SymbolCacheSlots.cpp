#include "common/SymbolCacheSlots.h"

#include <array>
#include <memory>
#include <string>

#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "platform/SymbolLoader.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kMsgSymbolLoadProblem = 7070;

constexpr std::array<int, kSymbolTableCount> kTableSizes = {
    250, 224, 80,  24, 2,  2, 20, 54, 12, 3, 2, 36, 8, 2, 40, 48, 6,  // screen
    112, 26,  112, 40, 12, 2, 2,  10, 54, 6, 2, 18, 4, 2, 20, 24, 6,  // print
};

// The tables, created on first use so that they exist before any static
// object of another file draws, and destroyed with the program's statics.
class SymbolTables {
 public:
  SymbolTables() {
    for (int t = 0; t < kSymbolTableCount; ++t) m_tables[t] = std::make_unique<CBitmap[]>(kTableSizes[t]);
  }
  CBitmap& At(SymbolTable table, int entry) { return m_tables[static_cast<int>(table)][entry]; }

 private:
  std::array<std::unique_ptr<CBitmap[]>, kSymbolTableCount> m_tables;
};

SymbolTables& Tables() {
  static SymbolTables tables;
  return tables;
}

SymbolPlace Place(SymbolTable table, int entry, int resourceId) { return {table, entry, resourceId, -1}; }

SymbolPlace HeadSlot(int slot) { return {SymbolTable::Count, 0, 0, slot}; }

// Bar-line pieces, codes 1000..5999: group g = code / 1000 - 1, kind from the
// rest (21..26 kinds 0..5, 96 and 97 kinds 6 and 7), large from 112 on.
std::optional<SymbolPlace> BarPiecePlace(int code, SymbolSet set) {
  const int group = code / 1000 - 1;
  if (group < 0 || group > 4) return std::nullopt;
  int rest = code % 1000;
  const bool large = rest >= 112;
  if (large) rest -= 112;
  int kind;
  if (rest >= 21 && rest <= 26)
    kind = rest - 21;
  else if (rest == 96 || rest == 97)
    kind = rest - 90;
  else
    return std::nullopt;
  if (set == SymbolSet::Print)
    return Place(SymbolTable::PrintBarPieces, 8 * group + kind, 2900 + 8 * group + kind);
  return Place(SymbolTable::ScreenBarPieces, 16 * group + (large ? 8 : 0) + kind,
               (large ? 2600 : 2300) + 8 * group + kind);
}

std::optional<SymbolPlace> ScreenCodePlace(int c) {
  if (c < 0) return std::nullopt;
  if (c <= 9) return HeadSlot(0);
  if (c <= 11) return HeadSlot(1);
  if (c == 12) return HeadSlot(2);
  if (c <= 111) return Place(SymbolTable::ScreenSymbols, c, 2110 + c);
  if (c <= 121) return HeadSlot(3);
  if (c <= 123) return HeadSlot(4);
  if (c == 124) return HeadSlot(5);
  if (c <= 223) return Place(SymbolTable::ScreenSymbols, c, 2298 + c);
  if (c <= 249) return Place(SymbolTable::ScreenSymbols, c, 3076 + c);
  if (c < 1000) return std::nullopt;
  if (c <= 9999) return BarPiecePlace(c, SymbolSet::Screen);
  if (c <= 10111) return Place(SymbolTable::ScreenFlagged, c - 10000, c - 5890);
  if (c <= 10223) return Place(SymbolTable::ScreenFlagged, c - 10000, c - 5702);
  return std::nullopt;
}

std::optional<SymbolPlace> PrintCodePlace(int c) {
  if (c < 0) return std::nullopt;
  if (c <= 9) return HeadSlot(6);
  if (c <= 11) return HeadSlot(7);
  if (c == 12) return HeadSlot(8);
  if (c <= 111) return Place(SymbolTable::PrintSymbols, c, 2710 + c);
  if (c < 224) return std::nullopt;  // the large forms have no print pictures
  if (c <= 249) return Place(SymbolTable::PrintFretSymbols, c - 224, 3288 + (c - 112));
  if (c < 1000) return std::nullopt;
  if (c <= 9999) return BarPiecePlace(c, SymbolSet::Print);
  if (c <= 10111) return Place(SymbolTable::PrintFlagged, c - 10000, c - 5290);
  return std::nullopt;
}

// A family whose screen table holds a small and a large half: entry i, resource
// id small + i below `half`, large + i from there.
std::optional<SymbolPlace> Halves(SymbolTable table, int i, int half, int small, int large) {
  if (i < 0 || i >= 2 * half) return std::nullopt;
  return Place(table, i, (i < half ? small : large) + i);
}

std::optional<SymbolPlace> Range(SymbolTable table, int i, int count, int first) {
  if (i < 0 || i >= count) return std::nullopt;
  return Place(table, i, first + i);
}

std::optional<SymbolPlace> ScreenPlace(int family, int index) {
  switch (family) {
    case 0:
      return ScreenCodePlace(index);
    case 1:
      return Halves(SymbolTable::ScreenFlags, index, 12, 2230, 2518);
    case 2:
      return Range(SymbolTable::ScreenBracketHooks, index, 2, 3800);
    case 3: {
      const int entry = index != 0 ? 1 : 0;
      return Place(SymbolTable::ScreenBraces, entry, 3820 + entry);
    }
    case 4:
      return Halves(SymbolTable::ScreenClefs, index, 10, 2100, 2390);
    case 5:
      return Range(SymbolTable::ScreenRhythm, index, 54, 3505);
    case 6:
      return Halves(SymbolTable::ScreenHeadForms, index, 6, 2350, 2644);
    case 7:
      return Range(SymbolTable::ScreenKeyAccidentals, index, 3, 5361);
    case 8:
      return index == 0 ? Place(SymbolTable::ScreenChordFlats, 0, 2140)
                        : Place(SymbolTable::ScreenChordFlats, 1, 5205);
    case 9:
      return Halves(SymbolTable::ScreenTimeFigures, index - 98, 18, 2250, 2532);
    case 10:
      return Halves(SymbolTable::ScreenStrokes, index, 4, 2356, 2652);
    case 11:
      return index == 0 ? Place(SymbolTable::ScreenChordSharps, 0, 2138)
                        : Place(SymbolTable::ScreenChordSharps, 1, 5206);
    case 12: {
      const bool second = index >= 1000;
      const int i = second ? index - 1000 : index;
      if (i < 0 || i > 19) return std::nullopt;
      return Place(SymbolTable::ScreenWide, i + (second ? 20 : 0),
                   2370 + (second ? 10 : 0) + i % 10 + (i >= 10 ? 300 : 0));
    }
    default:
      return std::nullopt;
  }
}

std::optional<SymbolPlace> PrintPlace(int family, int index, bool printerDC) {
  switch (family) {
    case 0:
      return PrintCodePlace(index);
    case 1:
      return Range(SymbolTable::PrintFlags, index, 12, 2830);
    case 2:
      return Range(SymbolTable::PrintBracketHooks, index, 2, 3804);
    case 3:
      // One print picture whatever the index; printers and device-resolution
      // rendering have their own, kept apart.
      return printerDC ? Place(SymbolTable::PrintBraces, 0, 3822) : Place(SymbolTable::PrintBraces, 1, 3823);
    case 4:
      return Range(SymbolTable::PrintClefs, index, 10, 2700);
    case 5:
      return Range(SymbolTable::PrintRhythm, index, 54, 3605);
    case 6:
      return Range(SymbolTable::PrintHeadForms, index, 6, 2950);
    case 8:
      return index == 0 ? Place(SymbolTable::PrintChordFlats, 0, 2740)
                        : Place(SymbolTable::PrintChordFlats, 1, 5208);
    case 9:
      return Range(SymbolTable::PrintTimeFigures, index - 98, 18, 2850);
    case 10:
      return Range(SymbolTable::PrintStrokes, index, 4, 2956);
    case 11:
      return index == 0 ? Place(SymbolTable::PrintChordSharps, 0, 2738)
                        : Place(SymbolTable::PrintChordSharps, 1, 5207);
    case 12: {
      const bool second = index >= 1000;
      const int i = second ? index - 1000 : index;
      if (i < 0 || i > 9) return std::nullopt;  // the large forms have no print pictures
      const int entry = i + (second ? 10 : 0);
      return Place(SymbolTable::PrintWide, entry, 2970 + entry);
    }
    default:  // family 7 is drawn on the screen only
      return std::nullopt;
  }
}

}  // namespace

std::optional<SymbolPlace> FindSymbolPlace(int family, int index, SymbolSet set, bool printerDC) {
  return set == SymbolSet::Print ? PrintPlace(family, index, printerDC) : ScreenPlace(family, index);
}

int SymbolTableSize(SymbolTable table) { return kTableSizes[static_cast<int>(table)]; }

bool IsPrintTable(SymbolTable table) {
  return table >= SymbolTable::PrintSymbols && table < SymbolTable::Count;
}

CBitmap& SymbolTableBitmap(SymbolTable table, int entry) { return Tables().At(table, entry); }

void FreeSymbolTableEntries(SymbolTable table, int first, int last) {
  for (int entry = first; entry <= last; ++entry) SymbolTableBitmap(table, entry).DeleteObject();
}

void FreeSymbolTable(SymbolTable table) { FreeSymbolTableEntries(table, 0, SymbolTableSize(table) - 1); }

bool EnsureSymbolLoaded(SymbolTable table, int entry, int resourceId) {
  CBitmap& bitmap = SymbolTableBitmap(table, entry);
  if (bitmap.GetSafeHandle() != nullptr) return true;
  if (!LoadSymbolResource(resourceId, bitmap)) {
    bitmap.DeleteObject();
    return false;
  }
  bitmap.SetLabel(std::to_string(resourceId));
  return true;
}

int ScreenHeadResourceId(int triple, int k) {
  return triple < 8 ? 2268 + 3 * triple + k : 2568 + 3 * (triple - 8) + k;
}

int PrintHeadResourceId(int triple, int k) { return 2868 + 3 * triple + k; }

std::string TwoCharacterNumber(int n) {
  if (n < 0 || n > 99) return {};
  return std::string(g_TwoDigitBlank.View().substr(static_cast<size_t>(2 * n), 2));
}

void ReportSymbolLoadFailure(const std::string& where, const std::string& what) {
  if (!FirstReportOf(kOnceSymbolLoadFailed)) return;
  AfxFormatString2(g_MessageText, kMsgSymbolLoadProblem, where.c_str(), what.c_str());
  AfxMessageBox(g_MessageText, MB_OK, 0);
}

void ReportSymbolLoadFailure(int family, int index, SymbolSet set) {
  ReportSymbolLoadFailure(TwoCharacterNumber(family) + (set == SymbolSet::Print ? "P-" : "S-"),
                          TwoCharacterNumber(index));
}
