#include <memory>

#include "common/ChordDiagram.h"
#include "common/ScaledDraw.h"

ChordImageResult DrawChordDiagramBitmap(CDC* dc, CBitmap& target, const CString& shape, const CString& tuning,
                                        ChordImageKind kind, bool blank) {
  target.DeleteObject();
  std::unique_ptr<CDC> memory = dc != nullptr ? dc->CreateCompatibleDC() : nullptr;
  if (!memory) return ChordImageResult::kNoMemoryDC;
  const bool keyboard = kind == ChordImageKind::kKeyboard;
  // The pieces are drawn three times larger on the device path.
  const int scale = UsesDevicePath(memory.get()) ? 3 : 1;
  const int width = keyboard ? kChordKeyboardWidth : GetDiagramStringCount(shape);
  const int height = keyboard ? kChordKeyboardHeight : GetDiagramFretRows(shape);
  if (!target.CreateCompatibleBitmap(dc, width * scale, height * scale)) return ChordImageResult::kNoBitmap;
  CBitmap* old = memory->SelectObject(&target);
  if (old == nullptr) return ChordImageResult::kNoBitmap;
  if (keyboard) {
    DrawChordKeyboard(memory.get(), shape, tuning);
  } else {
    DrawChordDiagram(memory.get(), shape, blank);
  }
  memory->SelectObject(old);
  return ChordImageResult::kDrawn;
}
