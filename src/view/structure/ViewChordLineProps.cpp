// View/Line Appearance/Chord and Tab Line Appearance: the visibility, size and
// kind of chord diagrams on the current or selected chord lines, the fonts of
// chord names and of tablature fingering, the spacing of tablature staff
// lines and a vertical nudge of tablature digits.

#include <algorithm>

#include "common/ViewServices.h"
#include "dialogs/KDlgCPLineProps.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "model/DocServices.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewInitialSteps.h"
#include "view/core/ViewLineGeometry.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr int kUndoLineToEnd = 6;
constexpr DWORD kAlwaysVisible = 0x100;
constexpr DWORD kKeyboards = KChordPicLine::kFlagKeyboardPictures;
constexpr int kKeyboardMode = 2;
constexpr int kMaxDigitAdjust = 9;
// The rows of a tablature staff beyond its line spacing, by symbol size.
constexpr int kTabExtra[2] = {12 + 1 + 14, 18 + 1 + 18};

// The diagram sizes into the settings record: the low bytes in the size
// word, the high bits in the chord-display byte.
void PackDiagramSize(ScoreSettings& s, int width, int height) {
  s.flags48 = static_cast<BYTE>((s.flags48 & 1) | ((width >> 7) & 14) | ((height >> 4) & 112));
  s.diagramScale = static_cast<WORD>(((width & 255) << 8) | (height & 255));
}

}  // namespace

void CStavlinView::OnViewChordLineProps() {
  if (m_document == nullptr || m_lineCount == 0 || !LeaveReadOnlyForEdit()) return;
  KDlgCPLineProps dlg;
  dlg.diagramWidth = m_diagramWidth;
  dlg.diagramHeight = m_diagramHeight;
  dlg.tabLineSpacing = m_tabSpacing[0];
  dlg.digitAdjust = m_tabDigitPosition;
  dlg.fingeringFont = m_tabFontText;
  dlg.chordNameFont = ViewChordNameFont(*this);
  dlg.diagramType = m_lastChordLineMode == kKeyboardMode ? 1 : 0;
  if (auto* chords = dynamic_cast<KChordPicLine*>(GetDisplayLineObj(m_currentLine))) {
    dlg.visibility = chords->TestFlags(kAlwaysVisible);
    dlg.diagramType = chords->TestFlags(kKeyboards);
    dlg.diagramWidth = chords->GetDiagramWidthPct();
    dlg.diagramHeight = chords->GetDiagramHeightPct();
  }
  const CString oldChordFont = dlg.chordNameFont;
  if (dlg.DoModal() != IDOK) return;
  RecordUndoStep(kUndoLineToEnd, m_currentLine, 0, nullptr, 0);

  const auto [first, last] = SelectionRectShown() ? viewgeom::SelectedLines(*this)
                                                  : std::pair<int, int>{m_currentLine, m_currentLine};
  const bool newChordFont = dlg.chordNameFont != oldChordFont;
  for (int i = first; i <= last; ++i) {
    auto* chords = dynamic_cast<KChordPicLine*>(GetDisplayLineObj(i));
    if (chords == nullptr) continue;
    if (dlg.setVisibility != 0) chords->ModifyFlags(kAlwaysVisible, dlg.visibility);
    if (dlg.changeSize != 0) {
      chords->SetDiagramWidthPct(dlg.diagramWidth);
      chords->SetDiagramHeightPct(dlg.diagramHeight);
    }
    if (dlg.changeType != 0 && chords->TestFlags(kKeyboards) != dlg.diagramType) {
      chords->ModifyFlags(kKeyboards, dlg.diagramType);
      chords->UpdateDiagramRows();
    }
    if (newChordFont) chords->SetNameFont(dlg.chordNameFont);
    chords->MarkChanged();
  }

  if (dlg.tabLineSpacing != m_tabSpacing[0]) {
    m_tabSpacing[0] = dlg.tabLineSpacing;
    m_tabSpacing[1] = dlg.tabLineSpacing * 11 / 8;
    g_tabStringSpacing = dlg.tabLineSpacing;
    m_options.tabSpacing = static_cast<BYTE>(dlg.tabLineSpacing * 10 + m_options.tabSpacing % 10);
    for (int type : {2, 15}) {
      m_typeHeight[static_cast<size_t>(type)] =
          5 * m_tabSpacing[m_sizeIndex != 0 ? 1 : 0] + kTabExtra[m_sizeIndex != 0 ? 1 : 0];
    }
  }
  if (dlg.digitAdjust >= -kMaxDigitAdjust && dlg.digitAdjust <= kMaxDigitAdjust) {
    m_tabDigitPosition = dlg.digitAdjust;
    g_tabDigitOffset = dlg.digitAdjust;
    m_options.tabDigitPlacement =
        static_cast<BYTE>((dlg.digitAdjust + 10) * 10 + (m_barNumbersShown != 0 ? 1 : 0));
  }
  m_options.tabFont = dlg.fingeringFont;
  if (newChordFont) m_options.chordNameFont = dlg.chordNameFont;
  if (dlg.changeSize != 0) {
    m_diagramWidth = dlg.diagramWidth;
    m_diagramHeight = dlg.diagramHeight;
    PackDiagramSize(m_options, m_diagramWidth, m_diagramHeight);
  }
  CreateViewFonts(*this);
  m_document->SetSettings(m_options, TRUE);
  RefreshAfterLineChanges(*this);
}
