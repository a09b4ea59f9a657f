// Printing and print preview: the framework's print loop (platform/PrintJob.h)
// over the pagination of ViewPagination.cpp. Preparing names the sheets;
// beginning reads the printer, puts the score's orientation on it before
// anything is painted, offers a print size that fits when the widest line is
// a little wider than the sheet, and walks to the first sheet asked for; each
// sheet is then worked out just before it is painted (OnPrepareDC) and
// painted with its page number (OnPrint, ViewPrintPage.cpp). Ending puts back
// the symbols, the fonts and the resolutions printing used.

#include <algorithm>
#include <array>
#include <cstdlib>

#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "platform/PrintJob.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr UINT kWordSize = 8076;
constexpr UINT kWordLine = 8077;
constexpr UINT kWordSheets = 8078;
constexpr int kLastSheetOpen = 32000;
constexpr int kSmallestPrintScale = 20;
constexpr int kLargestPrintScale = 400;
constexpr COLORREF kPaper = RGB(255, 255, 255);

// What printing changes program-wide, kept to be put back at its end.
struct KSavedPrintValues {
  int deviceResX = 0;
  int deviceResY = 0;
  int deviceDpiX = 0;
  int printSizePct = 0;
  bool saved = false;
};
KSavedPrintValues g_savedPrintValues;
// The text fonts as they were before printing switched to small symbols.
std::array<LOGFONT, 41> g_fontsBeforePrinting{};

int ScaledResolution(int dpi, int scale) { return std::max(1, scale * dpi / 100); }

// The resolutions the drawing maps layout pixels with while printing.
void UsePrintResolution(int printScale) {
  const int scale = printScale > 0 ? printScale : 100;
  g_deviceDpiX = std::max(1, g_prefPrinterParams.resolutionX);
  g_deviceResX = ScaledResolution(g_prefPrinterParams.resolutionX, scale);
  g_deviceResY = ScaledResolution(g_prefPrinterParams.resolutionY, scale);
  g_printSizePct = scale;
}

// The printer's page and resolution become the program-wide printer values.
void TakePrinterValues(const DeviceCaps& caps) {
  if (caps.horzRes > 0) g_prefPrinterParams.pageWidth = caps.horzRes;
  if (caps.vertRes > 0) g_prefPrinterParams.pageHeight = caps.vertRes;
  if (caps.logPixelsX > 0) g_prefPrinterParams.resolutionX = caps.logPixelsX;
  if (caps.logPixelsY > 0) g_prefPrinterParams.resolutionY = caps.logPixelsY;
}

bool SamePrinter(const KPrefPrinterParams& a, const KPrefPrinterParams& b) {
  return a.pageWidth == b.pageWidth && a.pageHeight == b.pageHeight && a.resolutionX == b.resolutionX &&
         a.resolutionY == b.resolutionY;
}

int DeviceOrientation(int orientation) { return orientation != 0 ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT; }

// The width on the sheet of the widest display line, and its index: what it
// draws that is worth reading (a staff as far as its music, its words, the
// label column). Staff lines running on past the music are cut at the
// sheet's edge, so they neither raise the size alert nor make sheets.
int WidestSheetLine(CStavlinView& view, int* index = nullptr) {
  int widest = 0;
  CDC* measure = view.MeasureDC();
  for (int i = 0; i < view.m_lineCount; ++i) {
    const int width = view.LineSheetWidth(i, measure);
    if (width > widest) {
      widest = width;
      if (index != nullptr) *index = i;
    }
  }
  return widest;
}

}  // namespace

bool CStavlinView::OnPreparePrinting(CPrintInfo& info) {
  // From here on the view prints: the switch to small symbols below is for
  // the printout only and does not become the score's choice.
  g_printInfo = &info;
  g_savedPrintValues = {g_deviceResX, g_deviceResY, g_deviceDpiX, g_printSizePct, true};
  m_symbolsSwitched = 0;
  m_printAbort = 0;
  if (m_sizeIndex != 0) {
    m_symbolsSwitched = m_document != nullptr && m_document->IsModified() ? 2 : 1;
    g_fontsBeforePrinting = m_textFonts;
    SetSymbolSize(0, 1);
  }
  CountPages();
  info.SetMinPage(1);
  info.SetMaxPage(static_cast<UINT>(std::max(1, m_pageCount)));
  if (m_pageCount < 2) info.m_nNumPreviewPages = 1;
  return true;
}

void CStavlinView::OnBeginPrinting(CPrintInfo& info) {
  g_printInfo = &info;
  SelectSymbolSize(0, 0);

  // The printer, turned to the score's orientation before any page exists.
  const KPrefPrinterParams paginated = g_prefPrinterParams;
  if (KPrintDevice* device = info.m_device) {
    TakePrinterValues(device->Caps());
    const int wanted = DeviceOrientation(m_orientation);
    if (device->GetOrientation() != wanted) {
      device->SetOrientation(wanted);
      TakePrinterValues(device->Caps());
    }
  }
  if (!SamePrinter(paginated, g_prefPrinterParams)) {
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kPrinterParams);
  }
  UsePrintResolution(m_printScale);
  ComputePageMargins();
  // Another page than the one the sheets were counted on: count them again,
  // so that no sheet is left out of "all pages".
  if (!SamePrinter(paginated, g_prefPrinterParams)) {
    CountPages();
    info.SetMaxPage(static_cast<UINT>(std::max(1, m_pageCount)));
  }

  // The widest line a little wider than the sheet: offer a size that fits.
  if (m_options.alertLargerThanPage != 0) {
    int widestLine = 0;
    const int widest = WidestSheetLine(*this, &widestLine);
    const int printable = m_printableWidth[1];
    if (printable > 0 && widest > printable && widest < 3 * printable) {
      const int shorter = std::min(m_printableWidth[1], m_printableHeight[1]);
      const int longer = std::max(m_printableWidth[1], m_printableHeight[1]);
      const int portraitFit = m_printScale * shorter * 100 / widest / 100;
      const int landscapeFit = m_printScale * std::min(100, longer * 100 / widest) / 100;
      KDlgPrintSizeAlert alert;
      alert.currentSize.Format("( %d %% )", m_printScale);
      alert.widestLine.Format("( %s %d )", LoadString(kWordLine).Str().c_str(), widestLine + 1);
      alert.sheets.Format("%d %s", widest / printable + 1, LoadString(kWordSheets).Str().c_str());
      alert.portraitSize.Format("%d %% %s", portraitFit, LoadString(kWordSize).Str().c_str());
      alert.landscapeSize.Format("%d %% %s", landscapeFit, LoadString(kWordSize).Str().c_str());
      const int answer = alert.DoModal();
      if (answer == IDCANCEL) {
        m_printAbort = 1;
        info.m_bContinuePrinting = FALSE;
        return;
      }
      if (answer == static_cast<int>(KDlgPrintSizeAlert::kIdUsePortrait) ||
          answer == static_cast<int>(KDlgPrintSizeAlert::kIdUseLandscape)) {
        const bool landscape = answer == static_cast<int>(KDlgPrintSizeAlert::kIdUseLandscape);
        if (KPrintDevice* device = info.m_device) {
          device->SetOrientation(landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
          TakePrinterValues(device->Caps());
        }
        m_printScale =
            std::clamp(landscape ? landscapeFit : portraitFit, kSmallestPrintScale, kLargestPrintScale);
        UsePrintResolution(m_printScale);
        ComputePageMargins();
        // The size is a whole percent and the sheet whole pixels: a size
        // worked out to the percent can leave the widest line a pixel wider
        // than the sheet, which would print a nearly empty second sheet
        // beside every row. Smaller by a percent until it fits.
        while (m_printScale > kSmallestPrintScale &&
               WidestSheetLine(*this) > m_printableWidth[1] - m_pageOffsetX) {
          --m_printScale;
          UsePrintResolution(m_printScale);
          ComputePageMargins();
        }
        m_orientation = landscape ? 1 : 0;
        m_options.printScale = static_cast<short>(m_printScale);
        m_options.printOrientation = static_cast<BYTE>(m_orientation);
        if (m_document != nullptr) m_document->SetSettings(m_options, 1);
        CountPages();
        info.SetMaxPage(static_cast<UINT>(std::max(1, m_pageCount)));
      }
    }
  }

  // Walk to the first sheet asked for.
  ComputePageMargins();
  m_firstSheet = static_cast<int>(std::max(1u, info.GetFromPage()));
  const UINT to = info.GetToPage();
  m_lastSheet = to == CPrintInfo::kOpenPage || to > static_cast<UINT>(kLastSheetOpen)
                    ? kLastSheetOpen
                    : std::min(static_cast<int>(to), std::max(1, m_pageCount));
  m_sheetsComputed = 0;
  m_verticalPage = 0;
  m_horizontalPart = 0;
  m_pageLastLine = -1;
  m_pageWidest = 0;
  m_pagesDone = 0;
  m_pageDrawn = 1;
  POINT topLeft{};
  POINT bottomRight{};
  CDC* measure = MeasureDC();
  do {
    if (m_horizontalPart < 0) m_horizontalPart = 0;
    ComputePageBreaks(measure, topLeft, bottomRight);
  } while (m_sheetsComputed < m_firstSheet);
  info.m_bContinuePrinting = TRUE;
  info.m_nCurPage = static_cast<UINT>(m_firstSheet);
}

void CStavlinView::OnPrepareDC(CDC& dc, CPrintInfo& info) {
  if (m_printAbort != 0) {
    info.m_bContinuePrinting = FALSE;
    m_printAbort = 0;
    return;
  }
  dc.SetBkColor(kPaper);
  if (m_pageDrawn == 0) return;
  if (m_pagesDone != 0 && m_horizontalPart <= 0) {
    info.m_bContinuePrinting = FALSE;
    return;
  }
  info.m_bContinuePrinting = TRUE;
  POINT topLeft{};
  POINT bottomRight{};
  ComputePageBreaks(MeasureDC(), topLeft, bottomRight);
}

void CStavlinView::OnPrint(CDC& dc, CPrintInfo& info) {
  // A preview that shows another sheet than the one worked out: walk to it
  // from the start.
  if (info.m_bPreview && static_cast<int>(info.m_nCurPage) != m_sheetsComputed) {
    CDC* measure = MeasureDC();
    m_sheetsComputed = 0;
    m_verticalPage = 0;
    m_horizontalPart = 0;
    m_pageLastLine = -1;
    m_pageWidest = 0;
    m_pagesDone = 0;
    POINT topLeft{};
    POINT bottomRight{};
    do {
      if (m_horizontalPart < 0) m_horizontalPart = 0;
      ComputePageBreaks(measure, topLeft, bottomRight);
    } while (m_sheetsComputed < static_cast<int>(info.m_nCurPage));
  }
  const bool numbered = m_options.pageNumberText != 0;
  const bool numberDrawn = !numbered || DrawPageNumber(dc);
  // The last part of a wide row: the next sheet starts a new row.
  if (m_horizontalPart < 0) m_horizontalPart = 0;
  if (numberDrawn) OnDraw(&dc);
  // Even a sheet that could not be drawn is done with, so that printing
  // moves on to the next one.
  m_pageDrawn = 1;
}

void CStavlinView::OnEndPrinting(CPrintInfo& info) {
  FreePrintBitmaps();
  g_printInfo = nullptr;
  if (g_savedPrintValues.saved) {
    g_deviceResX = g_savedPrintValues.deviceResX;
    g_deviceResY = g_savedPrintValues.deviceResY;
    g_deviceDpiX = g_savedPrintValues.deviceDpiX;
    g_printSizePct = g_savedPrintValues.printSizePct;
    g_savedPrintValues.saved = false;
  }
  m_printAbort = 0;
  // The drawing caches of the note lines were made at the print scale.
  for (int i = 0; i < m_lineCount; ++i) {
    if (KLineObj* line = GetDisplayLineObj(i)) {
      if (KListLine* list = line->AsListLine()) list->MarkChanged();
    }
  }
  if (m_symbolsSwitched != 0) {
    m_textFonts = g_fontsBeforePrinting;
    m_fontsNeedMeasuring = 1;
    SetSymbolSize(1, 0);
    const bool wasModified = m_symbolsSwitched == 2;
    m_symbolsSwitched = 0;
    UpdateAfterEdit(kHintAll, 0);
    if (!wasModified && m_document != nullptr) m_document->SetModifiedFlag(FALSE);
  } else {
    // The size alert may have changed the print size: the page marks follow.
    CountPages();
    if (m_host != nullptr) m_host->InvalidateRect(nullptr, TRUE);
  }
}
