#include "common/SymbolCache.h"
#include "common/SymbolCacheHeads.h"
#include "common/SymbolCacheSlots.h"

int g_symbolSetUsers[2] = {0, 0};
int g_symbolSetLoaded[2] = {0, 0};

namespace {

constexpr int kBarGroups = 5;
constexpr int kBarGroupEntries = 16;
constexpr int kBarKinds = 8;

// The bar pieces of one size: the small kinds (first 0) or the large ones (8) of every group.
void FreeBarPieces(int first) {
  for (int group = 0; group < kBarGroups; ++group) {
    const int base = kBarGroupEntries * group + first;
    FreeSymbolTableEntries(SymbolTable::ScreenBarPieces, base, base + kBarKinds - 1);
  }
}

}  // namespace

int FreeSmallSymbolBitmaps() {
  FreeSymbolTableEntries(SymbolTable::ScreenSymbols, 0, 111);
  FreeSymbolTableEntries(SymbolTable::ScreenFlagged, 0, 111);
  FreeSymbolTableEntries(SymbolTable::ScreenClefs, 0, 9);
  FreeBarPieces(0);
  FreeSymbolTableEntries(SymbolTable::ScreenHeadForms, 0, 5);
  FreeSymbolTableEntries(SymbolTable::ScreenWide, 0, 19);
  FreeSymbolTableEntries(SymbolTable::ScreenTimeFigures, 0, 17);
  return 1;
}

int FreeLargeSymbolBitmaps() {
  FreeSymbolTableEntries(SymbolTable::ScreenSymbols, 112, 223);
  FreeSymbolTableEntries(SymbolTable::ScreenFlagged, 112, 223);
  FreeSymbolTableEntries(SymbolTable::ScreenFlags, 12, 23);
  FreeSymbolTableEntries(SymbolTable::ScreenClefs, 10, 19);
  FreeBarPieces(kBarKinds);
  FreeSymbolTableEntries(SymbolTable::ScreenHeadForms, 6, 11);
  return 1;
}

int FreePrintBitmaps() {
  for (int t = 0; t < kSymbolTableCount; ++t) {
    const auto table = static_cast<SymbolTable>(t);
    if (IsPrintTable(table)) FreeSymbolTable(table);
  }
  return 1;
}

void FreeRemainingScreenSymbolBitmaps() {
  FreeSymbolTableEntries(SymbolTable::ScreenFlags, 0, 11);
  for (SymbolTable table :
       {SymbolTable::ScreenBracketHooks, SymbolTable::ScreenBraces, SymbolTable::ScreenRhythm,
        SymbolTable::ScreenKeyAccidentals, SymbolTable::ScreenChordFlats, SymbolTable::ScreenStrokes,
        SymbolTable::ScreenChordSharps})
    FreeSymbolTable(table);
}

int RefSymbolBitmapSet(int acquire, int set) {
  if (set != 0 && set != 1) return 1;
  if (acquire != 0) {
    if (g_symbolSetUsers[set] == 0 && g_symbolSetLoaded[set] == 0) g_symbolSetLoaded[set] = 1;
    ++g_symbolSetUsers[set];
    return 1;
  }
  if (g_symbolSetUsers[set] <= 0) return 1;  // a release without an acquire changes nothing
  if (--g_symbolSetUsers[set] == 0 && g_symbolSetLoaded[set] != 0) {
    const int freed = set == 0 ? FreeSmallSymbolBitmaps() : FreeLargeSymbolBitmaps();
    if (freed != 0) g_symbolSetLoaded[set] = 0;
  }
  return 1;
}

void ResetSymbolCache() {
  for (int t = 0; t < kSymbolTableCount; ++t) FreeSymbolTable(static_cast<SymbolTable>(t));
  ResetHeadSlots();
  for (int set = 0; set < 2; ++set) {
    g_symbolSetUsers[set] = 0;
    g_symbolSetLoaded[set] = 0;
  }
}
