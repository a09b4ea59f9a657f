// The fonts of the score view at its first update: the font texts taken from
// the settings, the tablature font pair and the text-line font table.

#include <algorithm>
#include <limits>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"
#include "view/core/ViewInitialSteps.h"

namespace {

// What the tablature font falls back to when the score's cannot be made.
constexpr const char* kFallbackTabFont = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
// The taller tablature font is this many units higher.
constexpr int kTallerBy = 3;
// The chord-name column the chord-line heights add to.
constexpr int kChordBaseWidth = 15;

// The colour a font text carries in its escapement number; the font itself
// is made upright.
COLORREF TakeColour(LOGFONT& font) {
  const COLORREF colour = static_cast<COLORREF>(font.lfEscapement);
  font.lfEscapement = 0;
  return colour;
}

// height + extra, held within an int: a stored font may ask for any height.
LONG Taller(LONG height, int extra) {
  const long long sum = static_cast<long long>(height) + extra;
  return static_cast<LONG>(std::clamp<long long>(sum, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

// Creates the font (taller by extraHeight); on failure reports the code and
// creates the fallback instead. Returns the font that was used.
LOGFONT CreateOrFallBack(CFont& target, const LOGFONT& font, int extraHeight, const char* code) {
  LOGFONT wanted = font;
  wanted.lfHeight = Taller(wanted.lfHeight, extraHeight);
  target.DeleteObject();
  if (target.CreateFontIndirect(&wanted)) return font;
  ReportInternalError(kMsgInternalProblem, code);
  LOGFONT fallback;
  StringToLogFont(CString(kFallbackTabFont), fallback);
  wanted = fallback;
  wanted.lfHeight = Taller(wanted.lfHeight, extraHeight);
  target.CreateFontIndirect(&wanted);
  return fallback;
}

}  // namespace

void CreateViewFonts(CStavlinView& v) {
  const ScoreSettings& s = v.m_options;
  v.m_pageNumberingText = s.pageNumberingText;
  v.m_pageNumberFontText = s.pageNumberFont;
  v.m_tabFontText = s.tabFont;
  // Empty font texts (older scores) take the program's, which then apply
  // program-wide as the fonts in use.
  if (!s.chordNameFont.IsEmpty()) g_chordNameFont = s.chordNameFont;
  v.m_rhythmFontText = s.rhythmFont.IsEmpty() ? g_rhythmFont : s.rhythmFont;
  g_rhythmFont = v.m_rhythmFontText;

  LOGFONT tab;
  if (!StringToLogFont(v.m_tabFontText, tab)) StringToLogFont(CString(kFallbackTabFont), tab);
  v.m_tabColour = TakeColour(tab);
  v.m_colourTab = v.m_tabColour != 0 ? 1 : 0;
  // The taller twin follows whatever font the first one became.
  const LOGFONT used = CreateOrFallBack(v.m_tabFont[0], tab, 0, "QV4-1");
  CreateOrFallBack(v.m_tabFont[1], used, kTallerBy, "QV4-2");
  v.m_chordBaseWidth = kChordBaseWidth;

  LOGFONT rhythm;
  StringToLogFont(v.m_rhythmFontText, rhythm);
  v.m_rhythmColour = TakeColour(rhythm);
  v.m_colourRhythm = v.m_rhythmColour != 0 ? 1 : 0;
}

void FillTextFontTable(CStavlinView& v) {
  LOGFONT base;
  StringToLogFont(v.m_options.textFont, base);
  v.m_textFonts[0] = base;
  v.m_baseFontHeight[0] = base.lfHeight;
  v.m_baseFontWidth[0] = base.lfWidth;
  v.m_fontUseCounts.fill(0);
  if (v.m_document != nullptr) {
    int used = 0;
    v.m_document->CountFontUse(v.m_fontUseCounts, &used);
    v.m_document->GetFontTable(v.m_textFonts, v.m_fontUseCounts);
  }
  // Slot 0 is the default font: never free.
  v.m_fontUseCounts[0] = CStavlinDoc::kFontCountHeader;
  for (size_t i = 1; i < v.m_textFonts.size(); ++i) {
    v.m_baseFontHeight[i] = v.m_textFonts[i].lfHeight;
    v.m_baseFontWidth[i] = v.m_textFonts[i].lfWidth;
  }
  v.m_fontsNeedMeasuring = 1;
  v.m_textAtOriginalSize = 1;
}
