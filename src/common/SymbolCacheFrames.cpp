#include <array>

#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"
#include "common/SymbolCacheSlots.h"

namespace {

// Resource ids of the frame pieces, in DiagramFramePiece order; the print
// pieces are three times the screen ones.
constexpr std::array<int, kDiagramFramePieceCount> kScreenFrameIds = {5203, 3850, 3852, 3854, 3856, 3858};
constexpr std::array<int, kDiagramFramePieceCount> kPrintFrameIds = {5204, 3851, 3853, 3855, 3857, 3859};

}  // namespace

int LoadDiagramFrameBitmaps(CDC* dc) {
  const bool print = UsesDevicePath(dc);
  const SymbolTable table = print ? SymbolTable::PrintDiagramFrames : SymbolTable::ScreenDiagramFrames;
  const auto& ids = print ? kPrintFrameIds : kScreenFrameIds;
  bool complete = true;
  for (int piece = 0; piece < kDiagramFramePieceCount; ++piece)
    if (!EnsureSymbolLoaded(table, piece, ids[piece])) complete = false;
  if (complete) return 1;
  ReportInternalErrorOnce(kOnceSymbolLoadFailed, kMsgImageLoadProblem, "Glb-1");
  return 0;
}

CBitmap* DiagramFrameBitmap(DiagramFramePiece piece, bool printSet) {
  const int index = static_cast<int>(piece);
  if (index < 0 || index >= kDiagramFramePieceCount) return nullptr;
  CBitmap& bitmap =
      SymbolTableBitmap(printSet ? SymbolTable::PrintDiagramFrames : SymbolTable::ScreenDiagramFrames, index);
  return bitmap.GetSafeHandle() != nullptr ? &bitmap : nullptr;
}
