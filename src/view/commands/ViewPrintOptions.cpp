// File/Print Options: the score's page layout and page numbering, kept in
// its settings (and so in its file), and, when asked, the defaults of new
// scores from now on.

#include <algorithm>

#include "dialogs/KDlgPrintOptions.h"
#include "dialogs/MarginUnits.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr const char* kBadScaleMessage =
    "Print scale must be between 20 and 400%.\nRe-do Print Options with a valid scale setting.";
constexpr int kSmallestScale = 20;
constexpr int kLargestScale = 400;
constexpr int kSmallestDefaultScale = 25;
constexpr int kLastFirstPage = 9999;
// The largest default margin: 3 inches, or 75 millimetres.
constexpr int kDefaultMarginLimit[2] = {300, 75};
constexpr int kLargestStoredMargin = 32767;

BYTE Flag(int value) { return value != 0 ? 1 : 0; }

}  // namespace

void CStavlinView::OnFilePrintOptions() {
  KDlgPrintOptions dialog;
  dialog.alert = m_options.alertLargerThanPage != 0 ? 1 : 0;
  dialog.keepTogether = m_keepGroupsTogether != 0 ? 1 : 0;
  dialog.pageXofY = m_options.pageXofY != 0 ? 1 : 0;
  dialog.showBreaks = m_pageMarks != 0 ? 1 : 0;
  dialog.units = m_marginUnit != 0 ? kMarginMillimetres : kMarginInches;
  dialog.top = ShownMargin(m_margins[0], dialog.units);
  dialog.bottom = ShownMargin(m_margins[1], dialog.units);
  dialog.left = ShownMargin(m_margins[2], dialog.units);
  dialog.right = ShownMargin(m_margins[3], dialog.units);
  dialog.size = m_printScale;
  dialog.horizontal = std::clamp<int>(m_options.pageNumberHorizontal, 0, 3);
  dialog.type = std::clamp<int>(m_options.pageNumberText, 0, 2);
  dialog.vertical = m_options.pageNumberVertical != 0 ? 1 : 0;
  dialog.orientation = m_orientation != 0 ? 1 : 0;
  dialog.numberText = m_pageNumberingText;
  dialog.firstPage = (m_options.firstPageNumber == 0 ? 1 : m_options.firstPageNumber) % 10000;
  if (dialog.firstPage == 0) dialog.firstPage = 1;
  dialog.fontText = m_pageNumberFontText;
  dialog.makeDefault = 0;
  if (dialog.DoModal() != IDOK) return;

  if (dialog.size < kSmallestScale || dialog.size > kLargestScale) {
    AfxMessageBox(kBadScaleMessage);
    return;
  }

  m_keepGroupsTogether = dialog.keepTogether;
  m_options.alertLargerThanPage = Flag(dialog.alert);
  m_printScale = dialog.size;
  m_options.pageNumberVertical = Flag(dialog.vertical);
  m_options.pageNumberText = static_cast<BYTE>(dialog.type);
  m_options.pageNumberHorizontal = static_cast<BYTE>(dialog.horizontal);
  m_marginUnit = dialog.units;
  m_pageMarks = dialog.showBreaks;
  m_pageNumberingText = dialog.numberText;
  m_options.pageXofY = Flag(dialog.pageXofY);
  if (dialog.orientation != m_orientation) {
    m_orientation = dialog.orientation;
    std::swap(g_prefPrinterParams.pageWidth, g_prefPrinterParams.pageHeight);
  }
  // Rounded, not cut: OK without a change keeps every margin as it was.
  const double shown[4] = {dialog.top, dialog.bottom, dialog.left, dialog.right};
  for (int k = 0; k < 4; ++k)
    m_margins[k] = std::min(StoredMargin(shown[k], dialog.units), kLargestStoredMargin);
  ComputePageMargins();
  OnViewRefresh();

  if (dialog.makeDefault == 0) {
    if (dialog.fontText != m_pageNumberFontText) m_pageNumberFontText = dialog.fontText;
  } else {
    g_prefPgOptions.printSize = std::clamp(dialog.size, kSmallestDefaultScale, kLargestScale);
    g_prefPgNum.vertical = dialog.vertical;
    g_prefPgNum.type = dialog.type;
    g_prefPgNum.horizontal = dialog.horizontal;
    g_prefPgOptions.builtInFlag = dialog.keepTogether;
    g_prefPgOptions.alertOversize = dialog.alert;
    g_prefPgOptions.showPageBreaks = dialog.showBreaks;
    g_prefPgNum.pageXofY = dialog.pageXofY;
    // Limited by the unit the defaults had before.
    const int limit = kDefaultMarginLimit[g_prefPgMargins.units != 0 ? 1 : 0];
    g_prefPgMargins.top = std::min(m_margins[0], limit);
    g_prefPgMargins.bottom = std::min(m_margins[1], limit);
    g_prefPgMargins.left = std::min(m_margins[2], limit);
    g_prefPgMargins.right = std::min(m_margins[3], limit);
    g_prefPgMargins.units = dialog.units;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kPgMargins);
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kPgOptions);
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kPgNum);
    if (dialog.fontText != g_prefPgNumFont || dialog.fontText != m_pageNumberFontText) {
      m_pageNumberFontText = dialog.fontText;
      if (dialog.fontText != g_prefPgNumFont) {
        g_prefPgNumFont = dialog.fontText;
        WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kPgNumFont);
      }
    }
  }

  m_options.keepGroupsTogether = Flag(m_keepGroupsTogether);
  m_options.printScale = static_cast<short>(m_printScale);
  m_options.marginUnit = static_cast<BYTE>(m_marginUnit);
  m_options.showPageBreaks = Flag(m_pageMarks);
  m_options.printOrientation = static_cast<BYTE>(m_orientation);
  m_options.marginTop = static_cast<short>(m_margins[0]);
  m_options.marginBottom = static_cast<short>(m_margins[1]);
  m_options.marginLeft = static_cast<short>(m_margins[2]);
  m_options.marginRight = static_cast<short>(m_margins[3]);
  m_options.firstPageNumber = static_cast<short>(std::min(dialog.firstPage, kLastFirstPage));
  m_options.pageNumberingText = m_pageNumberingText;
  m_options.pageNumberFont = m_pageNumberFontText;
  if (m_document != nullptr) m_document->SetSettings(m_options, 1);
}
