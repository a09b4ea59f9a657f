// The score's settings record turned into the view's working state, as the
// first update does it.

#include <algorithm>
#include <utility>

#include "common/AppServices.h"
#include "common/SymbolCache.h"
#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"
#include "view/core/ViewInitialSteps.h"

namespace {

// Line types that exist (7 and 8 have no lines of their own).
constexpr int kRealTypes[] = {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14, 15, 16};
// The settings record keeps the diagram scale in a byte each; the byte pairs
// below 25 come from files written before the scale existed.
constexpr int kSmallestDiagramScale = 25;
// Files before this version have no tab spacing of their own: 8 pixels.
constexpr int kTabSpacingVersion = 28;
constexpr int kOldTabSpacing = 8;

void ApplyScrollingAndModes(CStavlinView& v, const ScoreSettings& s) {
  // Tenths of a second, the thousands keep other flags.
  v.m_scrollSeconds = static_cast<float>(std::max(0, s.scrollDelay % 1000)) * 0.1f;
  v.m_scrollStep = s.scrollLines;
  v.m_scrollLoop = s.repeatScrolling;
  v.m_scrollBeep = s.scrollSound;
  v.m_autosaveInterval = s.autosaveAmount;
  v.m_autosaveKind = s.autosaveKind;
  v.m_labelsShown = s.lineLabelMode;
  v.m_readOnly = s.readOnly != 0 ? 1 : 0;
  v.m_options.keyChangesCursor = static_cast<BYTE>(s.keyChangesCursor & 1);
}

void ApplyAdTabAndDigits(CStavlinView& v, const ScoreSettings& s) {
  v.m_tabStems = s.adTabMode & 1;
  const bool outline = (s.adTabMode & 2) != 0;
  const bool colour = (s.adTabMode & 4) != 0;
  v.m_adTabMode = outline ? 1 + (colour ? 1 : 0) : (colour ? 3 : 0);
  v.m_barNumbersShown = s.tabDigitPlacement & 1;
  const int position = s.tabDigitPlacement / 10 - 10;
  v.m_tabDigitPosition = position < -9 ? g_tabDigitOffset : position;
}

void ApplyShowFlags(CStavlinView& v, const ScoreSettings& s) {
  for (int t = 0; t < ScoreSettings::kLineTypeCount; ++t)
    v.m_show[static_cast<size_t>(t)] = s.showLineType[t] != 0;
  v.m_show[ScoreSettings::kLineTypeCount] = s.byte39 != 0;
  bool every = true;
  for (const int t : kRealTypes) every = every && v.m_show[static_cast<size_t>(t)] != 0;
  v.m_allShown = (v.m_show[ScoreSettings::kShowAll] != 0 || every) ? 1 : 0;
}

void ApplyEditFlags(CStavlinView& v, const ScoreSettings& s) {
  v.m_autoWrap = (s.editFlags >> 4) & 1;
  v.m_mutualTranslation = g_mutualTranslationForNewViews != 0 ? 1 : 0;
  // Group lines are linked only while the preference keeps bars aligned;
  // without it they are edited independently and neither switch is on.
  v.m_translationRestore = v.m_mutualTranslation;
  v.m_autoWrapRestore = v.m_autoWrap;
  if (g_prefStaffLines3.keepBarsAligned == 0) {
    v.m_mutualTranslation = 0;
    v.m_autoWrap = 0;
    v.m_independentEditing = 1;
  } else {
    v.m_independentEditing = 0;
  }
  v.m_independenceMode = 1;
  g_autoWrap = v.m_autoWrap;
  v.m_undoEnabled = (s.editFlags >> 6) & 1;
}

void ApplyDiagrams(CStavlinView& v, const ScoreSettings& s) {
  v.m_chordDiagramsShown = s.flags48 & 1;
  // The high bits first, so that a scale above 255 is not taken for a small one.
  int width = (s.diagramScale >> 8) | (((s.flags48 >> 1) & 7) << 8);
  int height = (s.diagramScale & 0xFF) | (((s.flags48 >> 4) & 7) << 8);
  if (width < kSmallestDiagramScale || height < kSmallestDiagramScale) width = height = 100;
  v.m_diagramWidth = width;
  v.m_diagramHeight = height;
}

void ApplyPageLayout(CStavlinView& v, const ScoreSettings& s) {
  v.m_fixedStaffLength = s.fixedLineLength;
  v.m_printScale = s.printScale;
  v.m_orientation = s.printOrientation != 0 ? 1 : 0;
  // The printer page follows the orientation: narrow in portrait, wide in landscape.
  KPrefPrinterParams& printer = g_prefPrinterParams;
  const bool wide = printer.pageWidth > printer.pageHeight;
  if (wide != (v.m_orientation == 1) && printer.pageWidth != printer.pageHeight) {
    std::swap(printer.pageWidth, printer.pageHeight);
  }
  v.m_marginUnit = s.marginUnit;
  v.m_margins[0] = s.marginTop;
  v.m_margins[1] = s.marginBottom;
  v.m_margins[2] = s.marginLeft;
  v.m_margins[3] = s.marginRight;
  v.m_pageMarks = s.showPageBreaks;
  v.m_keepGroupsTogether = s.keepGroupsTogether;
}

void ApplyTabSpacing(CStavlinView& v, const ScoreSettings& s) {
  int spacing = s.tabSpacing / 10;
  if (spacing == 0)
    spacing = v.m_fileVersion > kTabSpacingVersion ? g_prefStaffLines2.tabLineSpacing : kOldTabSpacing;
  v.m_fretFromPrevious = s.tabSpacing % 10 == 1 ? 1 : 0;
  if (v.m_fretFromPrevious != 0) g_prefTabOptions.fretFromPrevious = 1;
  v.m_tabSpacing[0] = spacing;
  v.m_tabSpacing[1] = spacing * 11 / 8;
}

}  // namespace

void ApplySettingsToView(CStavlinView& v) {
  // Whatever gave the record (a file, an import), nothing out of range
  // reaches the layout, the printer or playback.
  v.m_options.KeepInRange();
  const ScoreSettings& s = v.m_options;
  // Only two symbol sizes exist; any other stored value reads as large.
  v.m_sizeIndex = std::min(s.largeSymbols % 100, 1);
  if (v.m_symbolSetHeld >= 0) RefSymbolBitmapSet(0, v.m_symbolSetHeld);
  RefSymbolBitmapSet(1, v.m_sizeIndex);
  v.m_symbolSetHeld = v.m_sizeIndex;

  ApplyScrollingAndModes(v, s);
  ApplyAdTabAndDigits(v, s);
  ApplyShowFlags(v, s);
  ApplyEditFlags(v, s);
  ApplyDiagrams(v, s);
  ApplyPageLayout(v, s);
  ApplyTabSpacing(v, s);
  v.m_labelCount = s.instrumentCount;
}
