// View/Set Line Font: the font of text lines, of rhythm lines or of the chord
// names of chord lines, chosen with the font dialog. Text lines name one of
// the score's 40 text fonts; the command edits the current line's font in
// place when no other line uses it, else takes a free one (or one that
// already holds the chosen font).

#include <algorithm>
#include <span>

#include "common/FontCodec.h"
#include "dialogs/DialogTextFont.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr UINT kTooManyFonts = 11000;
constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 40;
constexpr int kUndoLine = 0;
constexpr int kUndoSelectedLines = 3;

void RecountFonts(CStavlinView& v) {
  int used = 0;
  v.m_document->CountFontUse(std::span<int, CStavlinDoc::kFontArraySize>(v.m_fontUseCounts), &used);
}

bool SameFont(const LOGFONT& a, const LOGFONT& b) {
  CString ta;
  CString tb;
  LogFontToString(a, ta);
  LogFontToString(b, tb);
  return ta == tb;
}

}  // namespace

void CStavlinView::OnViewSetLineFont() {
  if (m_document == nullptr || m_lineCount == 0) return;
  RecountFonts(*this);
  KLineObj* current = GetDisplayLineObj(m_currentLine);
  if (current == nullptr) return;
  const int family = current->GetFamily();

  // What is edited: a chord line's name font, a rhythm line's font, or a
  // text font slot.
  CString fontText;
  int slot = 0;
  if (auto* chords = dynamic_cast<KChordPicLine*>(current)) {
    fontText = chords->GetNameFontText();
  } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(current)) {
    fontText = rhythm->GetFontText();
  } else {
    auto* text = dynamic_cast<KStrLine*>(current);
    const int own = text != nullptr ? text->GetFontIndex() : 0;
    if (own >= kFirstSlot && own <= kLastSlot && m_fontUseCounts[static_cast<size_t>(own)] == 1) {
      slot = own;
    } else {
      for (int s = kFirstSlot; s <= kLastSlot && slot == 0; ++s) {
        if (m_fontUseCounts[static_cast<size_t>(s)] == 0) slot = s;
      }
    }
    if (slot == 0) {
      CString message;
      AfxFormatString1(message, kTooManyFonts, "40");
      AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    LogFontToString(m_textFonts[static_cast<size_t>(std::clamp(own, 0, kLastSlot))], fontText);
  }
  if (!ChooseTextFont(fontText)) return;
  RecordUndoStep(SelectionRectShown() ? kUndoSelectedLines : kUndoLine, m_currentLine, 0, nullptr, 0);

  if (family != KLineObj::kFamilyChord && family != KLineObj::kFamilyRhythm) {
    LOGFONT chosen{};
    StringToLogFont(fontText, chosen);
    int holder = 0;
    for (int s = kFirstSlot; s <= kLastSlot && holder == 0; ++s) {
      if (SameFont(m_textFonts[static_cast<size_t>(s)], chosen)) holder = s;
    }
    if (holder != 0) {
      slot = holder;
    } else {
      const auto at = static_cast<size_t>(slot);
      m_textFonts[at] = chosen;
      m_baseFontHeight[at] = chosen.lfHeight;
      m_baseFontWidth[at] = chosen.lfWidth;
      int used = 0;
      for (int s = kFirstSlot; s <= kLastSlot; ++s)
        used += m_fontUseCounts[static_cast<size_t>(s)] != 0 ? 1 : 0;
      m_document->SetFontTable(used + 1, std::span<const LOGFONT, CStavlinDoc::kFontArraySize>(m_textFonts));
    }
    m_currentTextFont = slot;
    m_fontsNeedMeasuring = 1;
  }

  const auto [first, last] = SelectionRectShown() ? viewgeom::SelectedLines(*this)
                                                  : std::pair<int, int>{m_currentLine, m_currentLine};
  for (int i = first; i <= last; ++i) {
    KLineObj* line = GetDisplayLineObj(i);
    if (family == KLineObj::kFamilyChord) {
      if (auto* chords = dynamic_cast<KChordPicLine*>(line)) chords->SetNameFont(fontText);
    } else if (auto* text = dynamic_cast<KStrLine*>(line)) {
      text->SetFontIndex(slot);
      text->SetColumnXCount(-1);
    } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
      rhythm->SetFont(fontText);
      rhythm->SetColumnWidth(-1);
      m_rhythmFontText = fontText;
      m_options.rhythmFont = fontText;
      m_document->SetSettings(m_options, TRUE);
    }
  }
  RecountFonts(*this);
  m_document->SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(m_fontUseCounts));
  UpdateSelection(kKeep, kKeep, kKeep, kKeep, kSelClear);
  RefreshAfterLineChanges(*this);
}

std::span<const KViewCommandHandler> LineFontCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kViewSetLineFont, cmd::kViewSetLineFont, [](CStavlinView& v, UINT) { v.OnViewSetLineFont(); }},
  };
  return kHandlers;
}
