#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"

namespace {

bool Drawable(const CDC* dc, const CBitmap* bitmap) {
  return dc != nullptr && bitmap != nullptr && bitmap->GetSafeHandle() != nullptr && bitmap->Pixels();
}

// Copies the whole bitmap to a width x height area of dc, through a memory
// device context that holds it for the time of the copy. A size other than the
// bitmap's stretches it, shrinking with BLACKONWHITE.
BOOL CopyBitmap(CDC* dc, CBitmap* bitmap, int x, int y, int width, int height, bool stretch, DWORD rop,
                const char* failureCode) {
  const CSize size = bitmap->GetSize();
  std::unique_ptr<CDC> memory = dc->CreateCompatibleDC();
  if (!memory) {
    ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, failureCode);
    return FALSE;
  }
  CBitmap* previous = memory->SelectObject(bitmap);
  if (previous == nullptr) return FALSE;  // the bitmap is held by another device context
  BOOL drawn;
  if (stretch) {
    dc->SetStretchBltMode(BLACKONWHITE);
    drawn = dc->StretchBlt(x, y, width, height, memory.get(), 0, 0, size.cx, size.cy, rop);
  } else {
    drawn = dc->BitBlt(x, y, width, height, memory.get(), 0, 0, rop);
  }
  memory->SelectObject(previous);
  return drawn;
}

}  // namespace

BOOL BlitBitmap(CDC* dc, CBitmap* bitmap, int x, int y, DWORD rop) {
  if (!Drawable(dc, bitmap)) return FALSE;
  const CSize size = bitmap->GetSize();
  return CopyBitmap(dc, bitmap, x, y, size.cx, size.cy, false, rop, "Glb-2");
}

BOOL StretchBlitBitmap(CDC* dc, CBitmap* bitmap, int x, int y, int percentX, int percentY, DWORD rop) {
  if (!Drawable(dc, bitmap)) return FALSE;
  const CSize size = bitmap->GetSize();
  const auto width = static_cast<int>(static_cast<long long>(size.cx) * percentX / 100);
  const auto height = static_cast<int>(static_cast<long long>(size.cy) * percentY / 100);
  if (width <= 0 || height <= 0) return FALSE;
  return CopyBitmap(dc, bitmap, x, y, width, height, true, rop, "Glb-13");
}
