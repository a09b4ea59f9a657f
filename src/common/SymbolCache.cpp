#include "common/SymbolCache.h"

#include "common/AppServices.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCacheHeads.h"
#include "common/SymbolCacheSlots.h"
#include "common/SymbolCacheWide.h"
#include "common/ViewServices.h"

namespace {

constexpr int kFlagFamily = 1;
constexpr int kBraceFamily = 3;
constexpr int kChordFlatFamily = 8;
constexpr int kChordSharpFamily = 11;
constexpr int kWideFamily = 12;
constexpr int kPrintDesignDpi = 300;

enum class Load { Loaded, Failed, Reported };

// Loads the picture of a place if needed. The bracket hooks and the
// key-signature dialog's accidentals are loaded as a group.
Load EnsureLoaded(CDC* dc, int family, int index, const SymbolPlace& place, CBitmap*& bitmap) {
  if (place.headSlot >= 0) {
    bitmap = LoadedHeadSlot(place.headSlot);
    return bitmap != nullptr ? Load::Loaded : Load::Failed;
  }
  if (family == kWideFamily && IsPrintTable(place.table)) {
    const WideSymbolLoad wide = EnsureWidePrintSymbol(dc, place, index);
    if (wide == WideSymbolLoad::PrepareFailed) return Load::Reported;
    if (wide == WideSymbolLoad::LoadFailed) return Load::Failed;
  } else if (place.table == SymbolTable::ScreenBracketHooks ||
             place.table == SymbolTable::PrintBracketHooks ||
             place.table == SymbolTable::ScreenKeyAccidentals) {
    if (SymbolTableBitmap(place.table, place.entry).GetSafeHandle() == nullptr) {
      const int first = place.resourceId - place.entry;
      for (int entry = 0; entry < SymbolTableSize(place.table); ++entry)
        EnsureSymbolLoaded(place.table, entry, first + entry);
    }
  } else {
    EnsureSymbolLoaded(place.table, place.entry, place.resourceId);
  }
  CBitmap& entry = SymbolTableBitmap(place.table, place.entry);
  if (entry.GetSafeHandle() == nullptr) return Load::Failed;
  bitmap = &entry;
  return Load::Loaded;
}

bool IsBarGroupOne(int family, int index) { return family == 0 && index >= 2000 && index <= 2999; }

// Group-1 bar pieces of kinds 3, 4, 6 and 7 stand on the group-0 piece of the
// same kind and size: its code, or 0 when there is none.
int UnderlayCode(int family, int index) {
  if (!IsBarGroupOne(family, index)) return 0;
  int rest = index % 1000;
  if (rest >= 112) rest -= 112;
  if (rest == 24 || rest == 25 || rest == 96 || rest == 97) return index - 1000;
  return 0;
}

// The chord-name flats and sharps sit a little lower and further right than
// their anchor, by set and form.
void Nudge(int family, int index, SymbolSet set, int& x, int& y) {
  if (family != kChordFlatFamily && family != kChordSharpFamily) return;
  if (set == SymbolSet::Screen) {
    if (index != 0) {
      x += 2;
      y += 3;
    }
  } else if (index == 0) {
    x += 1;
  } else {
    x += 4;
    y += 5;
  }
}

// The percentage at which a 300 dots-per-inch print picture covers the device.
int PrintScale(int correction, int deviceRes, int percent) {
  return static_cast<int>((static_cast<long long>(correction) * deviceRes / kPrintDesignDpi * percent) / 100);
}

}  // namespace

void LoadSymbolBitmap(CDC* dc, int family, int index, int x, int y, int percentX, int percentY, DWORD rop) {
  if (dc == nullptr) return;
  const SymbolSet set = UsesDevicePath(dc) ? SymbolSet::Print : SymbolSet::Screen;
  const std::optional<SymbolPlace> place = FindSymbolPlace(family, index, set, dc->IsPrinting() != FALSE);
  if (!place) return;

  CBitmap* bitmap = nullptr;
  const Load loaded = EnsureLoaded(dc, family, index, *place, bitmap);
  if (loaded == Load::Reported) return;
  if (loaded == Load::Failed) {
    ReportSymbolLoadFailure(family, index, set);
    return;
  }
  CBitmap* underlay = nullptr;
  if (const int code = UnderlayCode(family, index); code != 0) {
    const std::optional<SymbolPlace> under = FindSymbolPlace(0, code, set, dc->IsPrinting() != FALSE);
    if (!under || EnsureLoaded(dc, 0, code, *under, underlay) != Load::Loaded) {
      ReportSymbolLoadFailure(0, code, set);
      return;
    }
  }

  Nudge(family, index, set, x, y);
  if (set == SymbolSet::Screen) {
    if (underlay != nullptr) BlitBitmap(dc, underlay, x, y, rop);
    if (percentX == 100 && percentY == 100)
      BlitBitmap(dc, bitmap, x, y, rop);
    else
      StretchBlitBitmap(dc, bitmap, x, y, percentX, percentY, rop);
    return;
  }

  const int deviceX = MapToDeviceX(x);
  const int deviceY = MapToDeviceY(y);
  if (underlay != nullptr) {
    StretchBlitBitmap(dc, underlay, deviceX, deviceY, PrintScale(g_printCorrX, g_deviceResX, 100),
                      PrintScale(g_printCorrY, g_deviceResY, 100), rop);
  }
  const bool uncorrected = g_deviceRender != 0 || family == kBraceFamily || IsBarGroupOne(family, index);
  const int correctionX = uncorrected ? 100 : g_printCorrX;
  const int correctionY = uncorrected ? 100 : g_printCorrY;
  int scaleX = PrintScale(correctionX, g_deviceResX, percentX);
  int scaleY = PrintScale(correctionY, g_deviceResY, percentY);
  if (family == kWideFamily) {
    scaleX *= 3;
    scaleY *= 3;
  }
  StretchBlitBitmap(dc, bitmap, deviceX, deviceY, scaleX, scaleY, rop);
}

int LoadNoteFlagBitmap(int n) {
  const std::optional<SymbolPlace> place = FindSymbolPlace(kFlagFamily, n, SymbolSet::Screen, false);
  if (!place) return 0;
  return EnsureSymbolLoaded(place->table, place->entry, place->resourceId) ? 1 : 0;
}

CBitmap* NoteFlagBitmap(int n) {
  const std::optional<SymbolPlace> place = FindSymbolPlace(kFlagFamily, n, SymbolSet::Screen, false);
  if (!place) return nullptr;
  CBitmap& bitmap = SymbolTableBitmap(place->table, place->entry);
  return bitmap.GetSafeHandle() != nullptr ? &bitmap : nullptr;
}
