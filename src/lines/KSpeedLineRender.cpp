// Drawing the entries of the drawing cache: symbols through the symbol cache,
// bars and key signatures through their drawers, tablature frets as text, and
// the ledger lines, stems and beams as lines. Everything goes through the
// scaled primitives, so one walk serves the screen, printers and
// device-resolution export.

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "common/AppServices.h"
#include "common/BarLines.h"
#include "common/ErrorReporter.h"
#include "common/KeySignature.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "lines/KSpeedLine.h"
#include "model/KBigChord.h"
#include "platform/GdiConstants.h"

namespace {

constexpr int kLargeBase = 112;
constexpr int kLargeFigures = 18;
constexpr int kFlaggedMarker = 255;
constexpr int kFretId = 224;
constexpr int kNoFretBox = 99;  // the fret box margin that draws no box
constexpr int kFretRing = 249;  // the ring drawn round a hollow tablature note
constexpr int kFretRingHalfWidth = 6;
constexpr int kFretRingRise = 5;
constexpr int kTimeSignatureKind = 151 - 256;
constexpr int kKeySignatureKind = 152 - 256;
constexpr int kHollowMarkKind = 186 - 256;
constexpr int kStemlessMarkKind = 136 - 256;
constexpr int kFirstFlagX = 100;
constexpr int kTextHalf[2] = {7, 8};
constexpr int kLedgerWidth[2] = {16, 20};
constexpr int kFigureX[2] = {4, 5};  // one-digit time-signature figures stand this far in
// Where the key-signature drawer puts its first accidental from its x.
constexpr int kKeyLeadIn[2] = {29, 34};
constexpr int kKeyInset = 4;

// Fret colours of the colour drawing mode, by fret number modulo 16.
constexpr COLORREF kFretColours[16] = {RGB(0, 0, 0),    RGB(192, 0, 0),   RGB(0, 128, 0),   RGB(0, 0, 192),
                                       RGB(160, 96, 0), RGB(128, 0, 128), RGB(0, 128, 128), RGB(96, 96, 96),
                                       RGB(224, 64, 0), RGB(64, 160, 0),  RGB(0, 96, 224),  RGB(192, 0, 96),
                                       RGB(96, 64, 0),  RGB(0, 160, 96),  RGB(96, 0, 192),  RGB(128, 128, 0)};

bool IsBarSymbol(int symbol, int sizeIndex) {
  const int code = symbol - (sizeIndex != 0 ? kLargeBase : 0);
  return (code >= 21 && code <= 26) || code == 96 || code == 97;
}

// Lines of one entry with the pen given (null: the pen selected in dc).
class PenScope {
 public:
  PenScope(CDC* dc, CPen* pen) : m_dc(dc), m_previous(pen != nullptr ? dc->SelectObject(pen) : nullptr) {}
  ~PenScope() {
    if (m_previous != nullptr) m_dc->SelectObject(m_previous);
  }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;

 private:
  CDC* m_dc;
  CPen* m_previous;
};

// A line with both ends painted (LineTo leaves out its end point): the end
// moves one pixel on along the line's longer axis.
void Stroke(CDC* dc, int x1, int y1, int x2, int y2) {
  const int dx = x2 - x1;
  const int dy = y2 - y1;
  if (std::abs(dx) >= std::abs(dy)) {
    x2 += (dx > 0) - (dx < 0);
  } else {
    y2 += (dy > 0) - (dy < 0);
  }
  ScaledMoveTo(dc, x1, y1);
  ScaledLineTo(dc, x2, y2);
}

}  // namespace

std::pair<int, int> KSpeedLine::DrawnRows(int firstColumn) const {
  int low = INT_MAX;
  int high = INT_MIN;
  const auto take = [&low, &high](int y, int reach) {
    low = std::min(low, y - reach);
    high = std::max(high, y + reach);
  };
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const auto* entry = static_cast<const KBigChord*>(m_objects.GetNext(node));
    if (entry->GetPos() < firstColumn) continue;
    for (int i = 0; i < entry->itemCount; ++i) take(entry->itemY[i], kSymbolReach);
    for (int i = 0; i < entry->ledgerCount; ++i) take(entry->ledgerY[i], 1);
    for (int i = 0; i < entry->stemCount; ++i) {
      take(entry->stemY1[i], 1);
      take(entry->stemY2[i], 1);
    }
    for (int i = 0; i < entry->beamCount; ++i) {
      take(entry->beamY1[i], 3);
      take(entry->beamY2[i], 3);
    }
  }
  if (low > high) return {0, -1};
  // Entry rows are 100 above the top staff line (or string row 2).
  const int offset = GetSpaceAbove(m_sizeIndex) - 100;
  return {low + offset, high + offset};
}

int KSpeedLine::GetClosingBarRight() const {
  if (m_objects.IsEmpty()) return -1;
  const auto* entry = static_cast<const KBigChord*>(m_objects.GetTail());
  const int s = m_sizeIndex;
  for (int i = 0; i < entry->itemCount; ++i) {
    int symbol = entry->itemSymbol[i];
    int code = symbol;
    if (symbol == kFlaggedMarker) {
      if (i + 1 >= entry->itemCount) break;
      symbol = entry->itemSymbol[++i];
      code = 10000 + symbol;
    } else if (!IsBarSymbol(symbol, s)) {
      continue;
    }
    const int edge = ClosingBarRightEdge(code, s);
    if (edge >= 0) return ColumnX(entry->GetPos()) + entry->itemX[i] + edge;
  }
  return -1;
}

void KSpeedLine::Render(CDC* dc, int x, int firstColumn, int lastColumn, int y, int view6, int view7,
                        int view8, int view9, int view10) {
  if (dc == nullptr) return;
  const int s = m_sizeIndex;
  const bool device = UsesDevicePath(dc);

  // On the device path the lines get pens sized for the print.
  CPen thin;
  CPen thick;
  if (device) {
    const int extra = std::max(0, std::min(g_deviceDpiX / 130, 5) - 2);
    if (!thin.CreatePen(PS_SOLID, ((g_lineWidthSetting - 1) * g_printSizePct) / 100 + 1, RGB(0, 0, 0))) {
      ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "KSp-1");
      return;
    }
    if (!thick.CreatePen(PS_SOLID, (4 * g_printSizePct) / 100 + extra, RGB(0, 0, 0))) {
      ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "KSp-2");
      return;
    }
  }

  const int top = y + GetSpaceAbove(s);  // the top staff line, or string row 2
  const int originX = GetLeadInWidth(s) + GetIndent() + x;
  const int originY = top - 100;  // entry y values are + 100
  const int columnWidth = g_NoteColumnWidth[s];

  if (!IsTab()) {
    // The staff's frame; the opening bar takes the code of a bar in column 0.
    int bar = 21;
    if (const KBigChord* first = GetEntryAt(0)) {
      for (int i = 0; i < first->itemCount; ++i) {
        if (IsBarSymbol(first->itemSymbol[i], s)) bar = first->itemSymbol[i] - (s != 0 ? kLargeBase : 0);
      }
    }
    // A fixed staff length that the notes have run past (Auto-Wrap off):
    // the staff runs on under them until the music is wrapped.
    int width = GetLeadInWidth(s) + RunWidth(columnWidth, 20);
    // A line that ends with a bar ends there: no staff runs on past it.
    const int closing = GetClosingBarRight();
    if (closing >= 0) width = std::min(width, GetLeadInWidth(s) + closing);
    DrawNotes(dc, GetType(), s, x + GetIndent(), top, m_key, width, bar, 0);
  }

  CRect clip;
  dc->GetClipBox(&clip);
  const int staffSpacing = g_StaffLineSpacing[s];
  const int tabTop = originY + RowY(FirstStringRow(), -1);
  const int tabHeight = RowY(LastStringRow(), -1) - RowY(FirstStringRow(), -1);
  const int savedSymbolSize = g_currentSymbolSize;
  bool selected = false;

  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const auto* entry = static_cast<const KBigChord*>(m_objects.GetNext(node));
    const int column = entry->GetPos();
    if (column < firstColumn) continue;
    if (column > lastColumn) break;
    const int columnX = originX + ColumnX(column);
    if ((device ? MapToDeviceX(columnX) : columnX) > clip.right) break;

    SelectSymbolSize(entry->columnStyle, s);
    selected = true;
    for (int i = 0; i < entry->itemCount; ++i) {
      const int symbol = entry->itemSymbol[i];
      const int kind = entry->itemX[i];
      const int itemY = originY + entry->itemY[i];
      const int style = entry->itemStyle[i];
      if (style != 100) SelectSymbolSize(style, s);

      if (symbol == kFlaggedMarker) {
        if (i + 1 < entry->itemCount) {
          ++i;
          const int flagged = entry->itemSymbol[i];
          const int flaggedX = columnX + entry->itemX[i];
          if (flagged - (s != 0 ? kLargeBase : 0) == 23) {  // the flagged final bar
            if (IsTab()) {
              DrawTabBarLine(dc, 10000 + flagged, tabTop, flaggedX, s, tabHeight);
            } else {
              DrawStaffBarLine(dc, 10000 + flagged, top - staffSpacing, flaggedX, 5, s, staffSpacing,
                               4 * staffSpacing);
            }
          } else {
            LoadSymbolBitmap(dc, 0, 10000 + flagged, flaggedX, originY + entry->itemY[i], 100, 100, SRCAND);
          }
        }
      } else if (kind == kTimeSignatureKind) {
        const int figure = symbol - (s != 0 ? kLargeFigures : 0);
        const int inset = figure >= 109 ? 0 : kFigureX[s];  // numbers of two digits fill the column
        LoadSymbolBitmap(dc, 9, symbol, columnX + inset, itemY, 100, 100, SRCAND);
      } else if (kind == kKeySignatureKind) {
        DrawKeySignature(dc, top, symbol, GetType(), 0, columnX + kKeyInset - kKeyLeadIn[s], s, 0, 0);
      } else if (kind >= kFirstFlagX) {
        LoadSymbolBitmap(dc, 1, symbol, columnX + kind - kFirstFlagX, itemY, 100, 100, SRCAND);
      } else if (symbol >= kFretId && symbol < kFretId + kFretLabelCount) {
        const CString& label = m_fretLabels[symbol - kFretId];
        const bool marked =
            kind == kHollowMarkKind || (kind >= kStemlessMarkKind && kind < kStemlessMarkKind + 4);
        const int textX = columnX + (marked ? 0 : kind) + (label.GetLength() == 1 ? columnWidth / 3 : 0);
        const int textY = itemY - kTextHalf[s];
        const CSize extent = dc->GetTextExtent(label.View());
        // The margin is a clipping code of two digits; a value beyond them
        // (set by code outside the preference reader) draws no box rather
        // than a box of any size.
        if (g_fretBoxMargin > 0 && g_fretBoxMargin < kNoFretBox) {
          const int m = g_fretBoxMargin;
          CRect box(textX - m, textY - m, textX + extent.cx + m, textY + extent.cy + m);
          if (device)
            box = CRect(MapToDeviceX(box.left), MapToDeviceY(box.top), MapToDeviceX(box.right),
                        MapToDeviceY(box.bottom));
          dc->FillSolidRect(&box, dc->GetBkColor());
        }
        const COLORREF previousColour = dc->GetTextColor();
        if (g_colourMode == 3) dc->SetTextColor(kFretColours[(symbol - kFretId) % 16]);
        ScaledTextOut(dc, textX, textY, label, 0);
        if (g_colourMode == 3) dc->SetTextColor(previousColour);
        // Halves and wholes are ringed.
        if (kind == kHollowMarkKind || kind == kStemlessMarkKind + 2 || kind == kStemlessMarkKind + 3) {
          LoadSymbolBitmap(dc, 0, kFretRing, textX + extent.cx / 2 - kFretRingHalfWidth,
                           itemY - kFretRingRise, 100, 100, SRCAND);
        }
      } else if (IsBarSymbol(symbol, s)) {
        if (IsTab()) {
          DrawTabBarLine(dc, symbol, tabTop, columnX + kind, s, tabHeight);
        } else {
          DrawStaffBarLine(dc, symbol, top - staffSpacing, columnX + kind, 5, s, staffSpacing,
                           4 * staffSpacing);
        }
      } else {
        LoadSymbolBitmap(dc, 0, symbol, columnX + kind, itemY, 100, 100, SRCAND);
      }
      if (style != 100) SelectSymbolSize(entry->columnStyle, s);
    }

    {
      PenScope pen(dc, device ? &thin : nullptr);
      for (int i = 0; i < entry->ledgerCount; ++i) {
        const int ledgerY = entry->ledgerY[i];
        // Ledger lines above the bottom of the staff span the notes above it.
        const bool above = ledgerY < (g_StaffStep[s] + 10) * 10;
        int low = entry->extent[above ? 0 : 2];
        int high = entry->extent[above ? 1 : 3];
        if (low > high) low = high = 0;
        ScaledMoveTo(dc, columnX + 2 + low, originY + ledgerY);
        ScaledLineTo(dc, columnX + kLedgerWidth[s] + high, originY + ledgerY);
      }
      for (int i = 0; i < entry->stemCount; ++i) {
        if (entry->stemY1[i] == entry->stemY2[i]) continue;
        Stroke(dc, columnX + entry->stemX[i], originY + entry->stemY1[i], columnX + entry->stemX[i],
               originY + entry->stemY2[i]);
      }
    }
    {
      PenScope pen(dc, device ? &thick : nullptr);
      for (int i = 0; i < entry->beamCount; ++i) {
        for (int row = 0; row < 3; ++row) {
          Stroke(dc, columnX + entry->beamX1[i], originY + entry->beamY1[i] + row, columnX + entry->beamX2[i],
                 originY + entry->beamY2[i] + row);
        }
      }
    }
  }
  if (selected) SelectSymbolSize(savedSymbolSize, s);
  if (device) {
    thin.DeleteObject();
    thick.DeleteObject();
  }
}
