// The view state an undo record keeps and brings back, and the whole-line
// selection that snapshots and restores work on.

#include <algorithm>
#include <span>

#include "view/CStavlinView.h"
#include "view/edit/ViewUndoInternal.h"

namespace viewundo {

void CaptureViewState(const CStavlinView& v, KUndoViewState& s) {
  s.options = v.m_options;
  const auto labels = static_cast<size_t>(std::clamp(v.m_labelCount, 0, ScoreSettings::kInstrumentSlots));
  s.labelNames.assign(labels, CString());
  s.labelPrograms.assign(labels, 0);
  s.labelVolumes.assign(labels, 0);
  for (size_t i = 0; i < labels; ++i) {
    s.labelNames[i] = v.m_labels[i].name;
    s.labelPrograms[i] = v.m_labels[i].program;
    s.labelVolumes[i] = v.m_labels[i].volume;
  }
  s.labelCount = v.m_labelCount;
  s.labelWidth = v.m_labelWidth;
  s.labelsShown = v.m_labelsShown;
  s.contentLeft = v.m_contentLeft;
  s.widest = v.m_widest;
  s.currentTextFont = v.m_currentTextFont;
  s.sizeIndex = v.m_sizeIndex;
  s.caretRow = v.m_caretRow;
  s.currentType = v.m_currentType;
  s.currentFamily = v.m_currentFamily;
  s.currentLine = v.m_currentLine;
  s.caretColumn = v.m_caretColumn;
  s.firstVisible = v.m_firstVisible;
  s.keyAtCaret = v.m_keyAtCaret;
  s.show = v.m_show;
  s.allShown = v.m_allShown;
  s.chordDiagramsShown = v.m_chordDiagramsShown;
  s.barNumbersShown = v.m_barNumbersShown;
  s.tabStems = v.m_tabStems;
  s.diagramWidth = v.m_diagramWidth;
  s.diagramHeight = v.m_diagramHeight;
  s.fixedStaffLength = v.m_fixedStaffLength;
  s.onlyChordsAndText = v.m_onlyChordsAndText;
  s.adTabMode = v.m_adTabMode;
  s.tabDigitPosition = v.m_tabDigitPosition;
  s.textAtOriginalSize = v.m_textAtOriginalSize;
  s.trebleTabTuning = v.m_trebleTabTuning;
  s.bassTabTuning = v.m_bassTabTuning;
  s.textFonts = v.m_textFonts;
  s.baseFontHeight = v.m_baseFontHeight;
  s.baseFontWidth = v.m_baseFontWidth;
  s.fontUseCounts = v.m_fontUseCounts;
}

void RestoreViewState(CStavlinView& v, const KUndoViewState& s) {
  v.m_options = s.options;
  for (auto& label : v.m_labels) label = LabelEntry{};
  for (size_t i = 0; i < s.labelNames.size() && i < v.m_labels.size(); ++i) {
    v.m_labels[i].name = s.labelNames[i];
    v.m_labels[i].program = s.labelPrograms[i];
    v.m_labels[i].volume = s.labelVolumes[i];
  }
  v.m_labelCount = s.labelCount;
  v.m_labelWidth = s.labelWidth;
  v.m_labelsShown = s.labelsShown;
  v.m_widest = s.widest;
  v.m_currentTextFont = s.currentTextFont;
  v.m_caretRow = s.caretRow;
  v.m_currentType = s.currentType;
  v.m_currentFamily = s.currentFamily;
  v.m_currentLine = s.currentLine;
  v.m_caretColumn = s.caretColumn;
  v.m_firstVisible = s.firstVisible;
  v.m_keyAtCaret = s.keyAtCaret;
  v.m_show = s.show;
  v.m_allShown = s.allShown;
  v.m_chordDiagramsShown = s.chordDiagramsShown;
  v.m_barNumbersShown = s.barNumbersShown;
  v.m_tabStems = s.tabStems;
  v.m_diagramWidth = s.diagramWidth;
  v.m_diagramHeight = s.diagramHeight;
  v.m_fixedStaffLength = s.fixedStaffLength;
  v.m_onlyChordsAndText = s.onlyChordsAndText;
  v.m_adTabMode = s.adTabMode;
  v.m_tabDigitPosition = s.tabDigitPosition;
  v.m_textAtOriginalSize = s.textAtOriginalSize;
  v.m_trebleTabTuning = s.trebleTabTuning;
  v.m_bassTabTuning = s.bassTabTuning;
  v.m_textFonts = s.textFonts;
  v.m_baseFontHeight = s.baseFontHeight;
  v.m_baseFontWidth = s.baseFontWidth;
  v.m_fontUseCounts = s.fontUseCounts;
  v.m_fontsNeedMeasuring = 1;
  v.m_contentLeft = (v.m_labelsShown != 0 ? v.m_labelWidth : 0) + 11;

  if (v.m_document != nullptr) {
    int used = 0;
    for (size_t slot = 1; slot < v.m_fontUseCounts.size(); ++slot)
      if (v.m_fontUseCounts[slot] != 0) ++used;
    v.m_document->SetFontTable(used + 1,
                               std::span<const LOGFONT, CStavlinDoc::kFontArraySize>(v.m_textFonts));
    v.m_document->SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(v.m_fontUseCounts));
    v.m_document->SetSettings(v.m_options, TRUE);
  }
  // A change of symbol size brings its heights, widths and symbol set with
  // it; the fonts are already those of the record.
  if (s.sizeIndex != v.m_sizeIndex) v.SetSymbolSize(s.sizeIndex, 0);
  v.RebuildDisplayLines(1);
  const int last = std::max(v.m_lineCount - 1, 0);
  v.m_currentLine = std::clamp(v.m_currentLine, 0, last);
  v.m_firstVisible = std::clamp(v.m_firstVisible, 0, last);
  if (v.m_lineCount > 0) {
    v.m_currentType = v.GetDisplayEntry(v.m_currentLine).type;
    v.m_currentFamily = KLineObj::FamilyOf(v.m_currentType);
  }
  v.PublishMirrors();
}

void RestoreLayoutBasis(CStavlinView& v, const KUndoViewState& s) {
  v.m_textFonts = s.textFonts;
  v.m_baseFontHeight = s.baseFontHeight;
  v.m_baseFontWidth = s.baseFontWidth;
  v.m_fontsNeedMeasuring = 1;
  if (s.sizeIndex != v.m_sizeIndex) v.SetSymbolSize(s.sizeIndex, 0);
}

SavedSelection SaveSelection(const CStavlinView& v) {
  return SavedSelection{v.m_selFirstColumn, v.m_selLastColumn,   v.m_selFirstLine,
                        v.m_selLastLine,    v.m_selAnchorColumn, v.m_selPixelLeft,
                        v.m_selPixelRight,  v.m_selHidden,       v.m_selRect};
}

void RestoreSelection(CStavlinView& v, const SavedSelection& s) {
  v.m_selFirstColumn = s.firstColumn;
  v.m_selLastColumn = s.lastColumn;
  v.m_selFirstLine = s.firstLine;
  v.m_selLastLine = s.lastLine;
  v.m_selAnchorColumn = s.anchorColumn;
  v.m_selPixelLeft = s.pixelLeft;
  v.m_selPixelRight = s.pixelRight;
  v.m_selHidden = s.hidden;
  v.m_selRect = s.rect;
}

void SelectWholeLines(CStavlinView& v, int first, int last) {
  v.m_selFirstColumn = 0;
  v.m_selLastColumn = kWholeLine;
  v.m_selFirstLine = first;
  v.m_selLastLine = last;
  v.m_selAnchorColumn = 0;
  v.m_selPixelLeft = 0;
  v.m_selPixelRight = kWholeLine;
  v.m_selHidden = 0;
  v.m_selRect = RECT{0, v.GetDisplayEntry(first).top, kWholeLine, v.GetDisplayEntry(last).bottom};
}

}  // namespace viewundo
