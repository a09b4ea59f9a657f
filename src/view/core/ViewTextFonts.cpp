// The view's table of text-line fonts: slot 0 holds the score's default
// text font, slots 1 to 40 the fonts that text lines name by number (the
// document keeps the same 40 with their use counts). A font is found or
// added here; a text line gets a font and, when asked, is centred.

#include <algorithm>
#include <span>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "platform/CDC.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kFirstScoreSlot = 1;
constexpr int kLastScoreSlot = 40;
constexpr int kTextFamily = 5;
constexpr char kTenBlanks[] = "          ";

// The number of score slots in use, as the counts say.
int FontsInUse(const CStavlinView& view) {
  int used = 0;
  for (int slot = kFirstScoreSlot; slot <= kLastScoreSlot; ++slot)
    if (view.m_fontUseCounts[static_cast<size_t>(slot)] != 0) ++used;
  return used;
}

// Puts blanks before the line's text so that it stands in the middle of the
// default line length, measured in the slot's font. False when the font
// cannot be made (reported once per run).
bool CentreText(CStavlinView& view, KStrLine& line, int slot) {
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (dc == nullptr) return false;
  LOGFONT record = view.m_textFonts[static_cast<size_t>(slot)];
  record.lfEscapement = 0;
  CFont font;
  if (!font.CreateFontIndirect(&record)) {
    ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, "QV5-5");
    return false;
  }
  CFont* previous = dc->SelectObject(&font);
  const CString text = line.GetText();
  const int textWidth = dc->GetTextExtent(text.View()).cx;
  const int tenBlanks = dc->GetTextExtent(kTenBlanks).cx;
  if (previous != nullptr) dc->SelectObject(previous);
  if (tenBlanks <= 0) return true;
  const auto blanks = static_cast<int>((g_defaultLineLength - textWidth) * 0.5 * 10 / tenBlanks);
  if (blanks > 0) line.SetText(CString(' ', blanks) + text);
  return true;
}

}  // namespace

int CStavlinView::FindOrAddLineFont(const LOGFONT& font) {
  // An equal font, the default one included, is shared; also a slot whose
  // lines are gone still holds its font and may be taken up again.
  for (size_t slot = 0; slot < m_textFonts.size(); ++slot) {
    if (SameLogFont(m_textFonts[slot], font)) return static_cast<int>(slot);
  }
  int free = 0;
  for (int slot = kFirstScoreSlot; slot <= kLastScoreSlot && free == 0; ++slot)
    if (m_fontUseCounts[static_cast<size_t>(slot)] == 0) free = slot;
  if (free == 0) return 0;

  const auto at = static_cast<size_t>(free);
  m_textFonts[at] = font;
  m_baseFontHeight[at] = font.lfHeight;
  m_baseFontWidth[at] = font.lfWidth;
  if (m_document != nullptr)
    m_document->SetFontTable(FontsInUse(*this) + 1,
                             std::span<const LOGFONT, CStavlinDoc::kFontArraySize>(m_textFonts));
  return free;
}

int CStavlinView::FindOrAddLineFont(const CString& fontText, BYTE underline, int colour) {
  LOGFONT font;
  StringToLogFont(fontText, font);
  font.lfUnderline = underline;
  if (colour > 0) font.lfEscapement = colour;
  return FindOrAddLineFont(font);
}

void CStavlinView::SetTextLineFont(int displayLine, const CString& fontText, int refreshWithUpdate,
                                   int centre, BYTE underline, int colour) {
  if (displayLine < 0 || displayLine >= m_lineCount) return;
  if (KLineObj::FamilyOf(m_display[static_cast<size_t>(displayLine)].type) != kTextFamily) return;
  auto* line = dynamic_cast<KStrLine*>(GetDisplayLineObj(displayLine));
  if (line == nullptr) return;

  const int slot = FindOrAddLineFont(fontText, underline, colour);
  line->SetFontIndex(slot);
  if (slot != 0) ++m_fontUseCounts[static_cast<size_t>(slot)];  // slot 0 is never free
  if (m_document != nullptr)
    m_document->SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(m_fontUseCounts));
  line->SetColumnXCount(-1);

  if (centre != 0 && !CentreText(*this, *line, slot)) return;
  if (refreshWithUpdate != 0) {
    UpdateAfterEdit(kHintAll, 1);
  } else {
    RebuildDisplayLines(0);
  }
}
