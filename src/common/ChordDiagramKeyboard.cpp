// The keyboard picture of a chord: a two-octave keyboard with a dot on every
// key the chord sounds, for the 25-semitone window that holds most of its
// notes, and a label naming the window's octave.

#include <array>
#include <memory>
#include <string>

#include "common/ChordDiagram.h"
#include "common/ChordShape.h"
#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "platform/SymbolLoader.h"

namespace {

// Window starts, in the order in which a tie is decided.
constexpr std::array<int, 5> kWindowStarts = {72, 60, 48, 36, 24};
constexpr int kWindowSemitones = 25;
// Left edge of the dot of each semitone of the window.
constexpr std::array<int, kWindowSemitones> kKeyX = {1,  4,  7,  10, 13, 19, 22, 25, 28, 31, 34, 37, 43,
                                                     46, 49, 52, 55, 61, 64, 67, 70, 73, 76, 79, 85};
// The label of each window: x on the keyboard and source x in the label strip.
constexpr std::array<int, 5> kLabelX = {0, 0, 43, 82, 82};
constexpr std::array<int, 5> kLabelSourceX = {0, 9, 9, 9, 18};

struct KeyboardIds {
  int keyboard;
  int labels;
  int whiteKeyDot;
  int blackKeyDot;
};
constexpr KeyboardIds kScreenIds = {5107, 5109, 5108, 5113};
constexpr KeyboardIds kDeviceIds = {5114, 5116, 5115, 5117};
constexpr KeyboardIds kDeviceColourIds = {5114, 5116, 5620, 5621};

// Loads a piece, named by its id for recorded drawing.
bool LoadPiece(int id, CBitmap& bitmap) {
  if (!LoadSymbolResource(id, bitmap)) return false;
  bitmap.SetLabel(std::to_string(id));
  return true;
}

bool IsBlackKey(int semitone) {
  const int c = semitone % 12;
  return c == 1 || c == 3 || c == 6 || c == 8 || c == 10;
}

// Selects a bitmap into a memory device context for the life of the object.
class Selected {
 public:
  Selected(CDC* dc, CBitmap* bitmap) : m_dc(dc), m_old(dc->SelectObject(bitmap)) {}
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;
  ~Selected() {
    if (m_old != nullptr) m_dc->SelectObject(m_old);
  }
  bool Ok() const { return m_old != nullptr; }

 private:
  CDC* m_dc;
  CBitmap* m_old;
};

}  // namespace

void DrawChordKeyboard(CDC* target, const CString& shape, const CString& tuning) {
  if (target == nullptr) return;
  const bool device = UsesDevicePath(target);
  const int s = device ? 3 : 1;
  const KeyboardIds& ids = !device                         ? kScreenIds
                           : target->Caps().numColors == 2 ? kDeviceIds
                                                           : kDeviceColourIds;

  CBitmap keyboard, labels, whiteDot, blackDot;
  if (!LoadPiece(ids.keyboard, keyboard) || !LoadPiece(ids.labels, labels) ||
      !LoadPiece(ids.whiteKeyDot, whiteDot) || !LoadPiece(ids.blackKeyDot, blackDot)) {
    ReportInternalErrorOnce(kOnceSymbolLoadFailed, kMsgImageLoadProblem, "Glb-1");
    return;
  }
  std::unique_ptr<CDC> first = target->CreateCompatibleDC();
  if (!first) {
    ReportInternalError(kMsgInternalProblem, "MOC2-26");
    return;
  }
  std::unique_ptr<CDC> second = target->CreateCompatibleDC();
  if (!second) {
    ReportInternalError(kMsgInternalProblem, "MOC2-28");
    return;
  }
  {
    Selected board(first.get(), &keyboard);
    if (!board.Ok()) return;
    target->BitBlt(0, 0, kChordKeyboardWidth * s, kChordKeyboardHeight * s, first.get(), 0, 0, SRCCOPY);
  }

  ShapeValues pitches{}, frets{}, marks{};
  GetShapePitches(shape, tuning, pitches, frets, marks);
  std::array<int, 5> inWindow{};
  for (int pitch : pitches) {
    if (pitch <= -9) continue;
    for (std::size_t w = 0; w < kWindowStarts.size(); ++w) {
      const int d = pitch + 20 - kWindowStarts[w];
      if (d >= 0 && d < kWindowSemitones) ++inWindow[w];
    }
  }
  std::size_t window = 0;
  for (std::size_t w = 1; w < inWindow.size(); ++w)
    if (inWindow[w] > inWindow[window]) window = w;
  // A chord with no note in any window keeps the bare keyboard.
  if (inWindow[window] == 0) return;

  for (int pitch : pitches) {
    if (pitch <= -9) continue;
    const int d = pitch + 20 - kWindowStarts[window];
    if (d < 0 || d >= kWindowSemitones) continue;
    const bool black = IsBlackKey(d);
    Selected dot(second.get(), black ? &blackDot : &whiteDot);
    if (!dot.Ok()) return;
    target->BitBlt(kKeyX[static_cast<std::size_t>(d)] * s, (black ? 7 : 17) * s, 5 * s, 5 * s, second.get(),
                   0, 0, SRCCOPY);
  }
  Selected label(second.get(), &labels);
  if (!label.Ok()) return;
  target->BitBlt(kLabelX[window] * s, 27 * s, 9 * s, 10 * s, second.get(), kLabelSourceX[window] * s, 0,
                 SRCCOPY);
}
