// View menu commands that change how the whole score is drawn: the size of
// all text, the symbol size, note stems on tablature, and a plain redraw.

#include "view/CStavlinView.h"

namespace {

constexpr int kUndoWholeScore = 2;

// Lays out again and scrolls back to the first visible line.
void RelayoutAtFirstVisible(CStavlinView& v) {
  v.RebuildDisplayLines(0);
  const int first = v.m_firstVisible;
  const int top = first >= 0 && first < v.m_lineCount ? v.GetDisplayEntry(first).top : 0;
  const int y = v.FindTopLine(top);
  v.SetVirtualScrollPosition(v.GetVirtualScrollPosition().x, y);
}

// One step of the text size, on the height's size (a negative height is a
// character height): one pixel below 15, two from there on. A height of 0 is
// not a small text but the face's default size: Bigger leaves it alone (a step
// to 1 would shrink it to a pixel), and a step down stops at 1 (a step to 0
// would make a small text jump back to the default size).
LONG SteppedHeight(LONG height, int direction) {
  const LONG magnitude = height < 0 ? -height : height;
  if (magnitude == 0) return height;
  LONG next = magnitude;
  if (direction > 0) {
    next = magnitude < 15 ? magnitude + 1 : magnitude + 2;
  } else {
    next = magnitude < 15 ? magnitude - 1 : magnitude - 2;
    if (next < 1) next = 1;
  }
  return height < 0 ? -next : next;
}

void StepTextSize(CStavlinView& v, int direction) {
  if (!v.LeaveReadOnlyForEdit()) return;
  v.RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);
  for (LOGFONT& font : v.m_textFonts) {
    font.lfHeight = SteppedHeight(font.lfHeight, direction);
    font.lfWidth = 0;
  }
  v.m_fontsNeedMeasuring = 1;
  v.m_textAtOriginalSize = 0;
  RelayoutAtFirstVisible(v);
  v.UpdateAfterEdit(CStavlinView::kHintAll, 1);
}

}  // namespace

void CStavlinView::OnViewTextBigger() { StepTextSize(*this, 1); }

void CStavlinView::OnViewTextSmaller() { StepTextSize(*this, -1); }

void CStavlinView::OnViewTextRestore() {
  RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);
  for (size_t i = 0; i < m_textFonts.size(); ++i) {
    m_textFonts[i].lfHeight = m_baseFontHeight[i];
    m_textFonts[i].lfWidth = m_baseFontWidth[i];
  }
  m_fontsNeedMeasuring = 1;
  m_textAtOriginalSize = 1;
  RelayoutAtFirstVisible(*this);
  UpdateAfterEdit(kHintAll, 1);
}

void CStavlinView::OnViewToggleSymbolSize() {
  if (!LeaveReadOnlyForEdit()) return;
  RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);
  SetSymbolSize(m_sizeIndex == 0 ? 1 : 0, 1);
  m_fontsNeedMeasuring = 1;
}

void CStavlinView::OnViewShowStemsOnTab() {
  m_tabStems = m_tabStems != 0 ? 0 : 1;
  RelayoutAtFirstVisible(*this);
  static constexpr int kAdTabBits[4] = {0, 2, 6, 4};
  const int mode = m_adTabMode >= 0 && m_adTabMode < 4 ? m_adTabMode : 0;
  m_options.adTabMode = static_cast<BYTE>(m_tabStems | kAdTabBits[mode]);
  if (m_document != nullptr) m_document->SetSettings(m_options, TRUE);
  if (m_host != nullptr) m_host->InvalidateRect(nullptr, TRUE);
  OnKillFocus();
  OnSetFocus();
}

void CStavlinView::OnViewRefresh() {
  RebuildDisplayLines(0);
  NumberChordDiagrams(m_host != nullptr ? m_host->GetMeasureDC() : nullptr);
  if (m_document != nullptr) m_document->UpdateAllViews(nullptr, kHintAll);
}
