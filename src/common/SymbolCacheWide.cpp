#include "common/SymbolCacheWide.h"

#include <memory>
#include <string>

#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/ViewServices.h"
#include "platform/SymbolLoader.h"

bool PrepareWideSymbolPrintBitmap(CDC* dc, CBitmap& target, CBitmap& source) {
  std::unique_ptr<CDC> canvas = dc->CreateCompatibleDC();
  if (!canvas) {
    ReportInternalError(kMsgInternalProblem, "MOC2-26");
    return false;
  }
  CBitmap* canvasPrevious = canvas->SelectObject(&target);
  if (canvasPrevious == nullptr) return false;
  // The whole bitmap is painted white: a new bitmap's pixels are undefined, and
  // whatever is left outside the copied picture would print through SRCAND.
  const CSize size = target.GetSize();
  canvas->PatBlt(0, 0, size.cx, size.cy, WHITENESS);
  std::unique_ptr<CDC> picture = dc->CreateCompatibleDC();
  if (!picture) {
    canvas->SelectObject(canvasPrevious);
    ReportInternalError(kMsgInternalProblem, "MOC2-28");
    return false;
  }
  CBitmap* picturePrevious = picture->SelectObject(&source);
  if (picturePrevious != nullptr) {
    const CSize pictureSize = source.GetSize();
    canvas->BitBlt(0, 0, pictureSize.cx, pictureSize.cy, picture.get(), 0, 0, SRCCOPY);
    picture->SelectObject(picturePrevious);
  }
  canvas->SelectObject(canvasPrevious);
  return picturePrevious != nullptr;
}

WideSymbolLoad EnsureWidePrintSymbol(CDC* dc, const SymbolPlace& place, int index) {
  CBitmap& entry = SymbolTableBitmap(place.table, place.entry);
  if (entry.GetSafeHandle() != nullptr) return WideSymbolLoad::Loaded;

  // The print resource is read only for its size.
  CSize size;
  {
    CBitmap measure;
    if (!LoadSymbolResource(place.resourceId, measure)) return WideSymbolLoad::LoadFailed;
    size = measure.GetSize();
    measure.DeleteObject();
  }
  const bool second = index >= 1000;
  const int i = second ? index - 1000 : index;
  const bool colour = second && (dc->GetDeviceCaps(NUMCOLORS) != 2 || g_deviceRender != 0);
  const int sourceId = (colour ? 2380 : 2370) + i;
  CBitmap source;
  if (!LoadSymbolResource(sourceId, source)) return WideSymbolLoad::LoadFailed;
  source.SetLabel(std::to_string(sourceId));

  if (!entry.CreateCompatibleBitmap(dc, size.cx, size.cy)) return WideSymbolLoad::LoadFailed;
  entry.SetLabel(std::to_string(place.resourceId));
  if (!PrepareWideSymbolPrintBitmap(dc, entry, source)) {
    entry.DeleteObject();
    return WideSymbolLoad::PrepareFailed;
  }
  return WideSymbolLoad::Loaded;
}
