#include "common/SymbolCacheHeads.h"

#include "common/SymbolCache.h"
#include "common/SymbolCacheSlots.h"
#include "common/ViewServices.h"

CBitmap* g_headSlots[9] = {};
int g_currentSymbolSize = 0;

namespace {

constexpr int kSizes = 8;
constexpr int kSlotCount = 9;
constexpr int kFirstPrintSlot = 6;

// The table entry of the first bitmap of the triple each slot group shows
// (slots 0..2, 3..5, 6..8), or -1 before it was set.
int g_slotTriple[3] = {-1, -1, -1};

SymbolTable SlotTable(int slot) {
  return slot >= kFirstPrintSlot ? SymbolTable::PrintHeads : SymbolTable::ScreenHeads;
}

int ResourceId(SymbolTable table, int triple, int k) {
  return table == SymbolTable::PrintHeads ? PrintHeadResourceId(triple, k) : ScreenHeadResourceId(triple, k);
}

// Loads the empty bitmaps of a triple; true when all three hold pictures.
bool LoadTriple(SymbolTable table, int triple) {
  bool complete = true;
  for (int k = 0; k < 3; ++k)
    if (!EnsureSymbolLoaded(table, 3 * triple + k, ResourceId(table, triple, k))) complete = false;
  return complete;
}

void ShowTriple(int firstSlot, SymbolTable table, int triple) {
  for (int k = 0; k < 3; ++k) g_headSlots[firstSlot + k] = &SymbolTableBitmap(table, 3 * triple + k);
  g_slotTriple[firstSlot / 3] = triple;
}

void ReportTripleFailure(int triple) {
  ReportSymbolLoadFailure(g_printInfo != nullptr ? "ANS-P-" : "ANS-S-", TwoCharacterNumber(3 * triple));
}

}  // namespace

void SelectSymbolSize(int size, int large) {
  if (size >= kSizes && size <= 12) return;
  if (size < 0 || size >= kSizes) size = 0;
  const int firstSlot = large != 0 ? 3 : 0;
  const int triple = large != 0 ? size + kSizes : size;
  const bool screenLoaded = LoadTriple(SymbolTable::ScreenHeads, triple);
  if (screenLoaded) ShowTriple(firstSlot, SymbolTable::ScreenHeads, triple);
  if (g_printInfo == nullptr && g_deviceRender == 0) {
    if (screenLoaded)
      g_currentSymbolSize = size;
    else
      ReportTripleFailure(triple);
    return;
  }
  // Printing or rendering at device resolution: the print triple of the size
  // too (the print set has one size).
  const bool printLoaded = LoadTriple(SymbolTable::PrintHeads, size);
  if (printLoaded) ShowTriple(kFirstPrintSlot, SymbolTable::PrintHeads, size);
  if (screenLoaded && printLoaded)
    g_currentSymbolSize = size;
  else
    ReportTripleFailure(screenLoaded ? size : triple);
}

CBitmap* LoadedHeadSlot(int slot) {
  if (slot < 0 || slot >= kSlotCount || g_headSlots[slot] == nullptr) return nullptr;
  const int triple = g_slotTriple[slot / 3];
  if (triple < 0) return nullptr;
  const SymbolTable table = SlotTable(slot);
  const int k = slot % 3;
  if (!EnsureSymbolLoaded(table, 3 * triple + k, ResourceId(table, triple, k))) return nullptr;
  return g_headSlots[slot];
}

void ResetHeadSlots() {
  for (CBitmap*& slot : g_headSlots) slot = nullptr;
  for (int& triple : g_slotTriple) triple = -1;
  g_currentSymbolSize = 0;
}
