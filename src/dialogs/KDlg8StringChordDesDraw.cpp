// The chord designer's pictures: the fretboard grid with its markers, dots,
// barres and the fret position; the chord diagram; the chord as a tablature
// column and as notes on a staff.

#include <algorithm>
#include <string>

#include "common/ChordDiagram.h"
#include "common/ChordShape.h"
#include "dialogs/ChordPictures.h"
#include "dialogs/KDlg8StringChordDes.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kGridTop = 40;

}  // namespace

void KDlg8StringChordDes::DrawGrid() {
  KPictureCanvas canvas(m_gridPicture, KChordGrid::kWidth, KChordGrid::kHeight);
  CDC* dc = canvas.Dc();
  if (dc == nullptr) return;
  const int n = m_grid.StringCount();
  const int left = m_grid.GridLeft() + KChordGrid::kColumn / 2;
  const int rowHeight = m_grid.RowHeight();
  const int bottom = kGridTop + rowHeight * m_grid.FretRows();
  for (int s = 0; s < n; ++s)
    dc->FillSolidRect(left + s * KChordGrid::kColumn, kGridTop, 1, bottom - kGridTop, kBlack);
  const int right = left + (n - 1) * KChordGrid::kColumn;
  for (int r = 0; r <= m_grid.FretRows(); ++r)
    dc->FillSolidRect(left, kGridTop + r * rowHeight, right - left + 1,
                      r == 0 && m_grid.FretPosition() <= 1 ? 4 : 1, kBlack);
  if (m_grid.FretPosition() > 0) {
    // The fret position beside the first row, on the side chosen.
    const int x = m_grid.positionLeft != 0 ? left - 30 : right + 12;
    dc->TextOut(x, kGridTop + rowHeight / 2 - 6, std::to_string(m_grid.FretPosition()));
  }
  CBrush black;
  black.CreateSolidBrush(kBlack);
  CBrush* old = dc->SelectObject(&black);
  auto dotAt = [&](int x, int row, bool second) {
    const int y = row == 0 ? 27 : kGridTop + (row - 1) * rowHeight + rowHeight / 2;
    const int radius = row == 0 ? 6 : 8;
    if (second) dc->SelectStockObject(NULL_BRUSH);
    dc->Ellipse(x - radius, y - radius, x + radius + 1, y + radius + 1);
    if (second) dc->SelectObject(&black);
  };
  for (int s = 0; s < n; ++s) {
    const int x = left + s * KChordGrid::kColumn;
    const int value = m_grid.Value(s);
    if (value == 9) {
      dc->TextOut(x - 4, 20, "X");
    } else if (value == 0) {
      dc->SelectStockObject(NULL_BRUSH);
      dc->Ellipse(x - 6, 21, x + 7, 34);
      dc->SelectObject(&black);
    } else {
      dotAt(x, value % 10, value > 10);
    }
    if (m_grid.MultipleDots()) {
      for (int row = 0; row <= m_grid.FretRows(); ++row) {
        const int kind = m_grid.Dot(n - s, row);
        if (kind != 0) dotAt(x, row, kind == 2);
      }
    }
    const int span = m_grid.BarreSpan(s);
    if (span >= 2 && span <= n) {
      const int width = (span - 1) * KChordGrid::kColumn;
      if (m_grid.barsStyle != 0) {
        const int y = kGridTop + (m_grid.BarreRow(s) - 1) * rowHeight + rowHeight / 2;
        dc->FillSolidRect(x, y - 3, width, 7, kBlack);
      } else {
        // An arc over the strings the barre holds, above the markers.
        POINT points[9];
        for (int i = 0; i < 9; ++i) {
          const int t = i - 4;  // -4..4
          points[i] = {x + width * i / 8, 6 + (t * t * 10) / 16};
        }
        dc->Polyline(points, 9);
      }
    }
    if (m_grid.PendingBarre() == s) dc->TextOut(x - 3, 2, "v");
  }
  dc->SelectObject(old);
}

void KDlg8StringChordDes::DrawDiagram() {
  KPictureCanvas canvas(m_diagramPicture, 60, 70);
  if (CDC* dc = canvas.Dc()) DrawCentredChordDiagram(*dc, shape, m_blank, 60, 70, 2);
}

void KDlg8StringChordDes::DrawPreviews() {
  // The chord as the dialog's tuning sounds it: a blank chord as the empty grid.
  const CString drawn = m_blank ? CString(EmptyChordShape(m_grid.StringCount())) : shape;
  ShapeToChord(drawn, key, m_tabChord.get(), m_staffChord.get(), tuning, keySignature);
  {
    KPictureCanvas canvas(m_tabPicture, 50, 103);
    if (CDC* dc = canvas.Dc()) DrawTabColumnPicture(*dc, *m_tabChord, m_grid.StringCount(), 50, 103);
  }
  KPictureCanvas canvas(m_staffPicture, 95, 151);
  if (CDC* dc = canvas.Dc()) DrawStaffColumnPicture(*dc, *m_staffChord, 95, 151, 12);
}
