// One printed sheet: where the sheet's part of the layout lands on the paper,
// and its page-number header or footer.
//
// The printer's drawable area starts at (0, 0). The sheet's layout rectangle
// (ComputePageBreaks) is drawn inside the margins, below a band of 30 layout
// pixels kept for a page number at the top (another band is kept at the
// bottom). Layout pixels map to printer pixels by the scaled printer
// resolution (ScaledDraw.h); the page number is drawn at the printer's own
// resolution, so that the print size does not change it.

#include <algorithm>
#include <cstdlib>

#include "common/ErrorReporter.h"
#include "common/FontCodec.h"
#include "common/ScaledDraw.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kHeaderBand = 30;   // layout pixels above and below the sheet
constexpr int kNumberInset = 40;  // from the paper's left or right edge

int PrinterDpi(int dpi) { return std::max(1, dpi); }

}  // namespace

bool CStavlinView::BeginPrintedSheet(CDC& dc, RECT& band) {
  band = RECT{m_pageTopLeft.x, m_pageTopLeft.y, m_pageBottomRight.x, m_pageBottomRight.y};
  const int left = MapToDeviceX(band.left);
  const int top = MapToDeviceY(band.top);
  dc.SetViewportOrg(0, 0);
  dc.SetWindowOrg(left - m_marginsPrinter[2], top - m_marginsPrinter[0] - MapToDeviceY(kHeaderBand));
  dc.IntersectClipRect(left, top, MapToDeviceX(band.right) + 1, MapToDeviceY(band.bottom) + 1);
  return true;
}

bool CStavlinView::DrawPageNumber(CDC& dc) {
  const int first = m_options.firstPageNumber == 0 ? 1 : m_options.firstPageNumber;
  const int page = m_verticalPage - 1 + first;

  CString suffix;
  if (m_options.pageXofY != 0) suffix.Format("of %d", m_pageCount);
  CString prefix;
  if (m_options.pageNumberText == 1) {
    const CString title = m_document != nullptr ? m_document->ScoreName() : CString("Untitled");
    const int dot = title.Find('.');
    prefix = dot >= 0 ? title.Left(dot) : title;
  } else {
    prefix = m_pageNumberingText;
  }
  CString text;
  if (m_horizontalPart == 0) {
    text.Format("%s %d %s    ", prefix.Str().c_str(), page, suffix.Str().c_str());
  } else {
    text.Format("%s %d - %d %s    ", prefix.Str().c_str(), page, std::abs(m_horizontalPart),
                suffix.Str().c_str());
  }

  LOGFONT logFont;
  const bool parsed = StringToLogFont(m_pageNumberFontText, logFont);
  const COLORREF colour = static_cast<COLORREF>(logFont.lfEscapement);
  logFont.lfEscapement = 0;
  CFont font;
  if (!parsed || !font.CreateFontIndirect(&logFont)) {
    ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, "QV4-3");
    return false;
  }

  // The text's width in layout pixels, measured as on the screen.
  CDC* measure = MeasureDC();
  int width = 0;
  if (measure != nullptr) {
    CFont* previous = measure->SelectObject(&font);
    width = measure->GetTextExtent(text.Str()).cx;
    measure->SelectObject(previous);
  }
  const KPrefPrinterParams& printer = g_prefPrinterParams;
  const int pageWidth = g_screenResX * printer.pageWidth / PrinterDpi(printer.resolutionX);
  const int alignment = m_options.pageNumberHorizontal;
  const bool even = page % 2 == 0;
  int x = kNumberInset;
  if (alignment == 1) {
    x = (pageWidth - width) / 2;
  } else if (alignment == 2 || (alignment == 3 && !even)) {
    x = pageWidth - width - kNumberInset;
  }
  const int y = m_options.pageNumberVertical == 0
                    ? 0
                    : g_screenResY * printer.pageHeight / PrinterDpi(printer.resolutionY) - kHeaderBand;

  // At the printer's own resolution, from the paper's drawable corner.
  const int savedResX = g_deviceResX;
  const int savedResY = g_deviceResY;
  g_deviceResX = PrinterDpi(printer.resolutionX);
  g_deviceResY = PrinterDpi(printer.resolutionY);
  const int saved = dc.SaveDC();
  dc.SetViewportOrg(0, 0);
  dc.SetWindowOrg(0, 0);
  CFont* previous = dc.SelectObject(&font);
  const COLORREF previousColour = dc.SetTextColor(colour);
  ScaledTextOutBk(&dc, x, y, text.Str().c_str(), text.GetLength(), 0);
  dc.SetTextColor(previousColour);
  dc.SelectObject(previous);
  dc.RestoreDC(saved);
  g_deviceResX = savedResX;
  g_deviceResY = savedResY;
  return true;
}
