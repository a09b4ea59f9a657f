// View toggles kept with the score or the run: mutual translation between
// the lines of a group, the four Ad-Tab modes (how fingering marks show on
// tablature digits), and the toolbars and status bar, whose states the
// score's settings keep.

#include "doc/CStavlinDocGlobals.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewMirrors.h"

namespace {

// The Ad-Tab bits of the stems byte by mode: none, outline, colour symbols,
// colour numbers only.
constexpr int kAdTabBits[4] = {0, 2, 6, 4};
constexpr int kColourSymbols = 2;
constexpr int kColourNumbers = 3;
constexpr BYTE kMainToolbarBit = 0x01;
constexpr BYTE kExtraToolbarBit = 0x02;
constexpr BYTE kStatusBarBit = 0x04;

}  // namespace

int g_mutualTranslationForNewViews = 1;

void CStavlinView::OnOptionsMutualTranslation() {
  m_mutualTranslation = m_mutualTranslation != 0 ? 0 : 1;
  g_mutualTranslationForNewViews = m_mutualTranslation;
  g_viewMirrors.mutualTranslation = m_mutualTranslation;
  if (m_host != nullptr) {
    if (KFrameServices* frame = m_host->Frame()) frame->RefreshToolboxes();
    m_host->InvalidateRect(nullptr, TRUE);
  }
}

void CStavlinView::SetAdTabMode(int mode) {
  if (mode < 0 || mode > 3) return;
  m_adTabMode = mode;
  g_adTabMode = mode;
  m_options.adTabMode = static_cast<BYTE>((m_tabStems & 1) | kAdTabBits[mode]);
  if (m_document != nullptr) {
    if (mode == kColourSymbols || mode == kColourNumbers) m_document->SetUsesColor(1);
    m_document->SetSettings(m_options, TRUE);
  }
  OnViewRefresh();
}

void CStavlinView::OnViewToggleBar(UINT id) {
  const BYTE bit = id == cmd::kViewMainToolbar    ? kMainToolbarBit
                   : id == cmd::kViewExtraToolbar ? kExtraToolbarBit
                                                  : kStatusBarBit;
  m_options.barFlags = static_cast<BYTE>(m_options.barFlags ^ bit);
  const int shown = (m_options.barFlags & bit) != 0 ? 1 : 0;
  if (KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr) {
    if (bit == kMainToolbarBit) frame->ShowMainToolbar(shown);
    if (bit == kExtraToolbarBit) frame->ShowExtraToolsToolbar(shown);
    if (bit == kStatusBarBit) frame->ShowStatusBar(shown);
  }
  if (m_document != nullptr) m_document->SetSettings(m_options, TRUE);
}

std::span<const KViewCommandHandler> DisplayToggleCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kViewAdTabNone, kViewAdTabColorNumbers,
       [](CStavlinView& v, UINT id) { v.SetAdTabMode(static_cast<int>(id - kViewAdTabNone)); }},
      {kViewExtraToolbar, kViewExtraToolbar, [](CStavlinView& v, UINT id) { v.OnViewToggleBar(id); }},
      {kOptionsMutualTranslation, kOptionsMutualTranslation,
       [](CStavlinView& v, UINT) { v.OnOptionsMutualTranslation(); }},
      {kViewMainToolbar, kViewStatusBar, [](CStavlinView& v, UINT id) { v.OnViewToggleBar(id); }},
  };
  return kHandlers;
}
