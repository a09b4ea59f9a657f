#include "common/ChordDiagram.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "common/AppServices.h"
#include "common/ChordDiagramServices.h"
#include "common/ChordDiagramShape.h"
#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"

namespace {

// Source x of the barre pieces spanning 2..8 strings.
constexpr int kBarreSourceX[7] = {0, 11, 28, 51, 80, 115, 156};
// Source x of the four dots of the dot strip.
constexpr int kDotFilled = 0;
constexpr int kDotMuted = 5;
constexpr int kDotSecond = 10;
constexpr int kDotOpen = 15;
constexpr int kCanvasWidth = 162;
constexpr int kCanvasHeight = 168;

// A memory device context for one frame piece; the context's former bitmap
// is put back when it goes.
class PieceContext {
 public:
  explicit PieceContext(std::unique_ptr<CDC> dc) : m_dc(std::move(dc)) {}
  PieceContext(const PieceContext&) = delete;
  PieceContext& operator=(const PieceContext&) = delete;
  ~PieceContext() {
    if (m_old != nullptr) m_dc->SelectObject(m_old);
  }
  // Selects the piece; false when it is not loaded or cannot be selected.
  bool Select(DiagramFramePiece piece, bool printSet) {
    CBitmap* bitmap = DiagramFrameBitmap(piece, printSet);
    if (bitmap == nullptr) return false;
    CBitmap* old = m_dc->SelectObject(bitmap);
    if (m_old == nullptr) m_old = old;
    return old != nullptr;
  }
  CDC* Get() const { return m_dc.get(); }

 private:
  std::unique_ptr<CDC> m_dc;
  CBitmap* m_old = nullptr;
};

// A memory device context compatible with target; when it cannot be made the
// location code is reported once per run and the result is null.
std::unique_ptr<PieceContext> OpenContext(CDC* target, const char* code) {
  std::unique_ptr<CDC> dc = target->CreateCompatibleDC();
  if (dc) return std::make_unique<PieceContext>(std::move(dc));
  ReportInternalErrorOnce(kOnceBitmapDrawFailed, kMsgInternalProblem, code);
  return nullptr;
}

class DiagramPainter {
 public:
  DiagramPainter(CDC* target, const DiagramShape& shape) : m_target(target), m_shape(shape) {
    m_scale = UsesDevicePath(target) ? 3 : 1;
  }

  // Copies a piece (screen units, scaled on the device path).
  void Copy(const PieceContext& piece, int sx, int sy, int w, int h, int x, int y) const {
    const int s = m_scale;
    m_target->BitBlt(x * s, y * s, w * s, h * s, piece.Get(), sx * s, sy * s, SRCCOPY);
  }

  void Grid(const PieceContext& grid) const {
    const DiagramShape& d = m_shape;
    const int x0 = d.leftMargin;
    if (!d.ShortFifth()) {
      Copy(grid, 0, 0, 6 * d.strings - 5, 6 * d.rows + 1, x0 + 2, 6);
      return;
    }
    // The short fifth string starts at fret b5: the rows above it have four strings.
    const int start = std::max(d.firstFret, 1);
    const int upper = std::min(d.shortFifthFret - start + 1, d.rows);
    Copy(grid, 0, 0, 19, 6 * upper + 1, x0 + 8, 6);
    if (upper < d.rows) Copy(grid, 0, 6 * upper, 25, 6 * (d.rows - upper) + 1, x0 + 2, 6 * (upper + 1));
  }

  void Nut() const {
    const DiagramShape& d = m_shape;
    const int shift = d.ShortFifth() ? 6 : 0;
    if (m_scale == 1) {
      m_target->MoveTo(d.leftMargin + 2 + shift, 5);
      m_target->LineTo(d.leftMargin + 6 * d.strings - 3, 5);
      return;
    }
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 3, RGB(0, 0, 0))) {
      ReportInternalError(kMsgInternalProblem, "Glb-10");
      return;
    }
    CPen* old = m_target->SelectObject(&pen);
    m_target->MoveTo((d.leftMargin + shift) * 3 + 7, 17);
    m_target->LineTo((d.leftMargin + 6 * d.strings) * 3 - 11, 17);
    m_target->SelectObject(old);
  }

  void Strings(const PieceContext& barres, const PieceContext& barresAbove, const PieceContext& dots) const {
    const DiagramShape& d = m_shape;
    for (int i = d.firstField; i <= d.lastField; ++i) {
      const int v = d.StringValue(i);
      if (v < 0) continue;
      const int x = d.StringX(i);
      const int raised = d.PlusFour(i) ? 4 : 0;
      const int span = v / 10;
      const int u = v % 10;
      if (span >= 2 && span <= 8 && span <= d.strings) {
        const int sx = kBarreSourceX[span - 2];
        if (d.barreOnFret) {
          Copy(barres, sx, 0, 6 * span - 1, 4, x, 6 * ((u % 5) + raised) + 1);
        } else {
          Copy(barresAbove, sx, 0, 6 * span - 1, 4, x, 0);
        }
      }
      if (u == 0) {
        Copy(dots, kDotOpen, 0, 5, 5, x, 0);
      } else if (u <= 4) {
        Copy(dots, kDotFilled, 0, 5, 5, x, 6 * (u + raised) + 1);
      } else if (u <= 8) {
        Copy(dots, kDotSecond, 0, 5, 5, x, 6 * (u - 4 + raised) + 1);
      } else {
        Copy(dots, kDotMuted, 0, 5, 5, x, 0);
      }
    }
    if (!d.hasFingerFields) return;
    for (int string = 1; string <= kDiagramMaxStrings; ++string) {
      for (int row = 0; row < kDiagramMaxRows; ++row) {
        const int kind = d.fingerDots[static_cast<std::size_t>(string - 1)][static_cast<std::size_t>(row)];
        if (kind == 0) continue;
        Copy(dots, kind == 1 ? kDotFilled : kDotSecond, 0, 5, 5, d.leftMargin + 6 * (string - 1),
             row == 0 ? 0 : 6 * row + 1);
      }
    }
  }

  void FingerRow(const PieceContext& glyphs) const {
    const DiagramShape& d = m_shape;
    for (int j = 0; j < kDiagramFingerLabels; ++j) {
      const int index = d.fingerLabels[static_cast<std::size_t>(j)];
      if (index >= 0) Copy(glyphs, 6 * index, 0, 6, 6, d.leftMargin + 6 * j, d.rows * 6 + 8);
    }
  }

 private:
  CDC* m_target;
  const DiagramShape& m_shape;
  int m_scale = 1;
};

}  // namespace

int GetShapeRowCount(const CString& shape) {
  const DiagramShape d = ReadDiagramShape(shape);
  return std::max(d.rowDigit, d.highestFingerRow);
}

int GetShapeExtraRows(const CString& shape) {
  return GetShapeRowCount(shape) - 4 + (ShowsFingerRow(shape) ? 1 : 0);
}

int GetDiagramStringCount(const CString& shape) {
  const std::string_view text = shape.View();
  int n = 6;
  if (text.size() >= 40) {
    n = 8;
  } else if (text.size() >= 36) {
    n = 7;
  } else if (text.size() >= 25 && text[23] >= '2' && text[23] <= '8') {
    n = text[23] - '0';
  }
  return (n * 3 + 3) * 2;
}

int GetDiagramFretRows(const CString& shape) {
  const int rows = ReadDiagramShape(shape).rowDigit;
  return rows * 6 + (ShowsFingerRow(shape) ? 14 : 7);
}

void DrawChordDiagram(CDC* target, const CString& shapeText, bool blank) {
  if (target == nullptr) return;
  const DiagramShape shape = ReadDiagramShape(shapeText);
  const bool printSet = UsesDevicePath(target);
  const int s = printSet ? 3 : 1;

  const auto grid = OpenContext(target, "Glb-5");
  if (!grid) return;
  const auto barres = OpenContext(target, "Glb-6");
  if (!barres) return;
  const auto barresAbove = OpenContext(target, "Glb-7");
  if (!barresAbove) return;
  const auto dots = OpenContext(target, "Glb-8");
  if (!dots) return;
  if (!LoadDiagramFrameBitmaps(target)) return;
  if (!grid->Select(DiagramFramePiece::Grid, printSet) ||
      !barres->Select(DiagramFramePiece::Barres, printSet) ||
      !barresAbove->Select(DiagramFramePiece::BarresAndOpen, printSet) ||
      !dots->Select(DiagramFramePiece::Dots, printSet))
    return;

  target->PatBlt(0, 0, kCanvasWidth * s, kCanvasHeight * s, WHITENESS);
  DiagramPainter painter(target, shape);
  painter.Grid(*grid);

  if (shape.firstFret > 0 && !blank) {
    const auto glyphs = OpenContext(target, "Glb-9");
    if (!glyphs || !glyphs->Select(DiagramFramePiece::BaseFretGlyphs, printSet)) return;
    painter.Copy(*glyphs, 6 * shape.firstFret, 0, 6, 6, shape.leftMargin > 0 ? 0 : 6 * shape.strings - 1, 7);
  } else if (shape.firstFret == 0 && !shape.hasFingerFields) {
    painter.Nut();
  }
  if (blank) return;
  painter.Strings(*barres, *barresAbove, *dots);
  if (shape.showsFingerRow) {
    const auto glyphs = OpenContext(target, "Glb-11");
    if (!glyphs || !glyphs->Select(DiagramFramePiece::FingerGlyphs, printSet)) return;
    painter.FingerRow(*glyphs);
  }
}
