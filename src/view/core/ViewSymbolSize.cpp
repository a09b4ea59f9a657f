// Small or large music symbols: the symbol set the view counts in, the
// per-type heights and column widths of the layout, the text fonts scaled
// with the symbols, and the choice kept in the score's settings.

#include <algorithm>
#include <limits>

#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kRhythmType = 3;
constexpr int kChordType = 4;
constexpr int kChordPictureType = 6;
// The caret row that marks the first update, which stores nothing yet.
constexpr int kCaretRowUnplaced = 1000;
// Blanks that key code 32763 inserts.
constexpr int kBlankRun = 8;

int StaffHeight(int size) { return size == 0 ? 26 + 22 + 25 : 32 + 26 + 33; }
int TabHeight(int size) { return size == 0 ? 5 * 10 + 12 + 1 + 14 : 5 * 13 + 18 + 1 + 18; }

// A text height scaled with the symbols: 22/18 (plus one) larger for large
// symbols, 18/22 for small ones, so that a switch there and back gives the
// height back. Negative heights (character heights) scale by their size.
LONG ScaledFontHeight(LONG height, int size) {
  // Worked in 64 bits and held within an int: a stored font may ask for any
  // height.
  const long long magnitude = height < 0 ? -static_cast<long long>(height) : height;
  if (magnitude == 0) return 0;
  const long long scaled =
      std::min<long long>(size == 0 ? magnitude * 18 / 22 : magnitude * 22 / 18 + 1, std::numeric_limits<LONG>::max());
  return static_cast<LONG>(height < 0 ? -scaled : scaled);
}

}  // namespace

void CStavlinView::SetSymbolSize(int sizeIndex, int flag) {
  const int n = sizeIndex != 0 ? 1 : 0;
  if (n != m_sizeIndex || m_symbolSetHeld != n) {
    if (m_symbolSetHeld >= 0) RefSymbolBitmapSet(0, m_symbolSetHeld);
    RefSymbolBitmapSet(1, n);
    m_symbolSetHeld = n;
    if (n == 1) SelectSymbolSize(0, 1);
  }
  m_sizeIndex = n;
  g_blankRunCount = kBlankRun;

  const int column = n == 0 ? 18 : 22;
  const int chordColumn = n == 0 ? 8 : 10;
  const int textHeight = n == 0 ? 14 : 17;
  const int diagrams = m_diagramHeight * 31 / 100;
  for (int t = 0; t < static_cast<int>(m_typeHeight.size()); ++t) {
    int height = StaffHeight(n);
    int width = column;
    if (t == 2 || t == 15) {
      height = TabHeight(n);
    } else if (t == 16) {
      height = 29;
    } else if (t == kRhythmType) {
      height = 20;
    } else if (t == kChordType || t == kChordPictureType) {
      height = m_chordBaseWidth + (t == kChordPictureType || m_chordDiagramsShown != 0 ? diagrams : 0);
      width = chordColumn;
    } else if (t == 5 || t == 7 || t == 8) {
      height = width = textHeight;
    }
    m_typeHeight[static_cast<size_t>(t)] = height;
    m_typeColumnWidth[static_cast<size_t>(t)] = width;
  }

  // Rhythm lines measure their symbols again for the new size.
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  for (int i = 0; i < m_lineCount && dc != nullptr; ++i) {
    if (m_display[static_cast<size_t>(i)].type != kRhythmType) continue;
    if (KLineObj* line = GetDisplayLineObj(i)) {
      if (KListLine* list = line->AsListLine()) list->MeasureSymbols(dc, n);
    }
  }

  if (flag != 0) {
    for (LOGFONT& font : m_textFonts) {
      font.lfHeight = ScaledFontHeight(font.lfHeight, n);
      font.lfWidth = 0;
    }
    m_fontsNeedMeasuring = 1;
  }

  RebuildDisplayLines(0);
  const int firstTop = m_firstVisible >= 0 && m_firstVisible < m_lineCount
                           ? m_display[static_cast<size_t>(m_firstVisible)].top
                           : 0;
  const int top = FindTopLine(firstTop);
  SetVirtualScrollPosition(GetVirtualScrollPosition().x, top);

  // The first update, printing and image export change the size only for
  // their own time: the score keeps its choice.
  if (m_caretRow == kCaretRowUnplaced || g_printInfo != nullptr || g_deviceRender != 0) return;
  m_options.largeSymbols = static_cast<BYTE>(n);
  if (m_document != nullptr) m_document->SetSettings(m_options, TRUE);
  if (m_host != nullptr) m_host->InvalidateRect(nullptr, TRUE);
  OnKillFocus();
  OnSetFocus();
}
