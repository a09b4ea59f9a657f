// Pagination of the laid-out score: the page margins in printer and layout
// pixels, the walk that cuts the display lines into sheets, and the page
// codes it leaves in the display-line table (page x 10 on the lines of a
// page, page x 10 + 1 on its last line, 2 kept on a line that forces a break).
//
// Units: layout pixels are screen pixels; the printer's resolution scaled by
// the print size gives how many printer pixels one layout pixel takes.

#include <algorithm>

#include "common/BarLines.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"

namespace {

constexpr UINT kMsgMarginsOutOfRange = 7088;
constexpr UINT kMsgGroupTooBig = 7102;
constexpr double kHundredthInchToMm = 0.254;
constexpr double kInchesPerMm = 0.03937007874015748;
// Keeps a whole number that floating point lands just below (one inch in
// hundredths at 96 dpi gives 95.999...) from losing a pixel when truncated.
constexpr double kRoundingSlack = 1e-9;
constexpr int kHeaderBands = 60;  // page-number bands above and below the page
constexpr int kLastSheetOpen = 32000;

// The page codes: 2 marks a line that forces a page break.
bool IsBreakCode(int code) { return code % 10 == 2; }

// The printer values, never zero (a damaged preference store may hold 0).
int PrinterDpiX() { return std::max(1, g_prefPrinterParams.resolutionX); }
int PrinterDpiY() { return std::max(1, g_prefPrinterParams.resolutionY); }
// The printer page in printer pixels; the built-in page when the stored one
// is not a page at all.
int PrinterPageWidth() {
  return g_prefPrinterParams.pageWidth > 0 ? g_prefPrinterParams.pageWidth : KPrefPrinterParams{}.pageWidth;
}
int PrinterPageHeight() {
  return g_prefPrinterParams.pageHeight > 0 ? g_prefPrinterParams.pageHeight
                                            : KPrefPrinterParams{}.pageHeight;
}
int ScreenDpiX() { return std::max(1, g_screenResX); }
int ScreenDpiY() { return std::max(1, g_screenResY); }

// The printer's resolution at the view's print size.
int ScaledResolution(const CStavlinView& view, int dpi) {
  const int scale = view.m_printScale > 0 ? view.m_printScale : 100;
  return std::max(1, scale * dpi / 100);
}

// The width a line takes on a sheet, as it is drawn.
// Where the strokes of a bar column that closes a staff end, from the
// column's start, at the normal symbol size; -1 for any other column (and
// at the large size, where the whole column counts).
int ClosingBarEdge(const KChord& column, int size) {
  if (!column.IsBarColumn() || size != 0) return -1;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetRawNote(i).code;
    if ((code >= 21 && code <= 26) || code == 96 || code == 97) return ClosingBarRightEdge(code, 0);
  }
  return -1;
}

int SheetWidth(CStavlinView& view, KLineObj& line, CDC* dc) {
  int width = 0;
  if (KListLine* list = line.AsListLine(); list != nullptr && KLineObj::IsNoteFamily(line.GetFamily())) {
    // A staff or tablature line reaches as far as its music: the staff
    // lines drawn on past the last column (a fixed staff length, or the
    // automatic length's run to the widest line) hold nothing to read, and
    // a sheet of them alone would print as a blank page. They end at the
    // sheet's edge instead.
    // A line that ends with a bar line reaches to that bar's last stroke,
    // not to the end of the bar's column.
    // Worked out in 64 bits: a stored line may hold a column far along it.
    const int size = view.m_sizeIndex != 0 ? 1 : 0;
    long long music = static_cast<long long>(list->GetLength()) * g_NoteColumnWidth[size];
    const CObList& objects = *list->GetObjList();
    if (const KChord* last =
            objects.IsEmpty() ? nullptr : AsChord(static_cast<const KPosObj*>(objects.GetTail()))) {
      const int edge = ClosingBarEdge(*last, size);
      if (edge >= 0)
        music = std::min(music, static_cast<long long>(last->GetPos()) * g_NoteColumnWidth[size] + edge);
    }
    const long long reach = static_cast<long long>(line.GetIndent()) + list->GetLeadInWidth(size) + music;
    return view.m_contentLeft + static_cast<int>(std::clamp<long long>(reach, 0, KListLine::kMaxWidth));
  }
  if (auto* text = dynamic_cast<KStrLine*>(&line)) {
    width = text->GetWidth(dc, view.m_textFonts);
  } else {
    width = line.GetWidth(view.m_sizeIndex, 0, dc, 0);
  }
  return std::clamp(width, 0, KListLine::kMaxWidth) + view.m_contentLeft;
}

// Height of the run of display lines from `first` that belong to the group.
int GroupRunHeight(const CStavlinView& view, int first, int groupId, int& last) {
  last = first;
  while (last + 1 < view.m_lineCount) {
    const KLineObj* next = view.GetDisplayLineObj(last + 1);
    if (next == nullptr || next->GetGroupId() != groupId) break;
    ++last;
  }
  return view.m_display[static_cast<size_t>(last)].bottom - view.m_display[static_cast<size_t>(first)].top +
         1;
}

}  // namespace

void CStavlinView::ComputePageMargins() {
  const int dpiX = PrinterDpiX();
  const int dpiY = PrinterDpiY();
  const int pageWidth = PrinterPageWidth();
  const int pageHeight = PrinterPageHeight();
  for (int attempt = 0; attempt < 2; ++attempt) {
    const double factor = m_marginUnit == 0 ? kHundredthInchToMm : 1.0;
    const int dpi[4] = {dpiY, dpiY, dpiX, dpiX};  // top, bottom, left, right
    for (int k = 0; k < 4; ++k)
      m_marginsPrinter[k] = static_cast<int>(m_margins[k] * factor * dpi[k] * kInchesPerMm + kRoundingSlack);
    m_printableWidth[0] = pageWidth - m_marginsPrinter[3] - m_marginsPrinter[2];
    m_printableHeight[0] = pageHeight - m_marginsPrinter[1] - m_marginsPrinter[0];
    // A margin below 0 (a damaged score) would print beyond the paper.
    const bool negative =
        std::any_of(std::begin(m_margins), std::end(m_margins), [](int m) { return m < 0; });
    const bool tooSmall =
        negative || m_printableWidth[0] < 2 * ScreenDpiX() || m_printableHeight[0] < 2 * ScreenDpiY();
    if (!tooSmall || attempt > 0) break;
    AfxMessageBox(kMsgMarginsOutOfRange);
    m_margins[0] = g_prefPgMargins.top;
    m_margins[1] = g_prefPgMargins.bottom;
    m_margins[2] = g_prefPgMargins.left;
    m_margins[3] = g_prefPgMargins.right;
    m_options.marginTop = static_cast<short>(m_margins[0]);
    m_options.marginBottom = static_cast<short>(m_margins[1]);
    m_options.marginLeft = static_cast<short>(m_margins[2]);
    m_options.marginRight = static_cast<short>(m_margins[3]);
    if (m_document != nullptr) m_document->SetSettings(m_options, 1);
  }
  const int screen[4] = {ScreenDpiY(), ScreenDpiY(), ScreenDpiX(), ScreenDpiX()};
  const int dpi[4] = {dpiY, dpiY, dpiX, dpiX};
  for (int k = 0; k < 4; ++k) m_marginsScreen[k] = m_marginsPrinter[k] * screen[k] / dpi[k];
  // The part of the score a sheet holds, in layout pixels: the printable
  // part of the page at the print size, the margins scaled with it (they are
  // lengths on the paper), less the page-number bands. This is what the walk
  // below cuts the sheets to, so that the page-width marks and the size alert
  // agree with the sheets at every print size.
  m_printableWidth[1] = m_printableWidth[0] * ScreenDpiX() / ScaledResolution(*this, dpiX);
  m_printableHeight[1] = m_printableHeight[0] * ScreenDpiY() / ScaledResolution(*this, dpiY) - kHeaderBands;
}

void CStavlinView::ComputePageBreaks(CDC* dc, POINT& topLeft, POINT& bottomRight) {
  const int pageHeight =
      m_printableHeight[0] * ScreenDpiY() / ScaledResolution(*this, PrinterDpiY()) - kHeaderBands;
  // A sheet is at least one pixel wide, so that a wide row always ends.
  const int pageWidth = std::max(
      1, m_printableWidth[0] * ScreenDpiX() / ScaledResolution(*this, PrinterDpiX()) - m_pageOffsetX);
  m_pageDrawn = 0;
  ++m_sheetsComputed;

  if (m_horizontalPart > 0) {
    // The next part of a row wider than the sheet.
    m_pageTopLeft.x += pageWidth;
    m_pageBottomRight.x += pageWidth;
    ++m_horizontalPart;
    if (m_pageWidest <= m_pageBottomRight.x) m_horizontalPart = -m_horizontalPart;
    topLeft = m_pageTopLeft;
    bottomRight = m_pageBottomRight;
    return;
  }

  const int first = m_pageLastLine + 1;
  ++m_verticalPage;
  m_pageWidest = 0;
  m_horizontalPart = 0;
  if (first >= m_lineCount || m_lineCount <= 0) {
    m_pagesDone = 1;
    m_pageLastLine = std::min(m_pageLastLine, m_lineCount - 1);
    const int bottom = m_pageLastLine >= 0 ? m_display[static_cast<size_t>(m_pageLastLine)].bottom : 0;
    m_pageTopLeft = POINT{0, bottom};
    m_pageBottomRight = POINT{m_pageOffsetX + pageWidth, bottom};
    topLeft = m_pageTopLeft;
    bottomRight = m_pageBottomRight;
    return;
  }

  int used = 0;
  int stop = first;
  int groupTakenUntil = -1;  // last display line of a group taken whole
  for (; stop < m_lineCount; ++stop) {
    const DisplayLine& entry = m_display[static_cast<size_t>(stop)];
    if (IsBreakCode(entry.extra[kPageCode])) break;
    const int height = entry.bottom - entry.top + 1;
    if (used + height >= pageHeight) break;
    KLineObj* line = GetDisplayLineObj(stop);
    const int groupId = line != nullptr ? line->GetGroupId() : KLineObj::kNoGroup;
    if (m_keepGroupsTogether != 0 && groupId != KLineObj::kNoGroup && stop > groupTakenUntil) {
      int last = stop;
      const int groupHeight = GroupRunHeight(*this, stop, groupId, last);
      if (groupHeight * 105 / 100 > pageHeight) {
        AfxMessageBox(kMsgGroupTooBig);
        m_keepGroupsTogether = 0;
      } else if (used + groupHeight < pageHeight) {
        groupTakenUntil = last;
      } else {
        break;
      }
    }
    used += height;
    if (line != nullptr) m_pageWidest = std::max(m_pageWidest, SheetWidth(*this, *line, dc));
  }

  // The break line goes with the page it ends. A line taller than the page
  // still takes a page of its own, so that every sheet holds a line.
  if (stop < m_lineCount && IsBreakCode(m_display[static_cast<size_t>(stop)].extra[kPageCode])) {
    m_pageLastLine = stop;
  } else {
    m_pageLastLine = std::min(stop - 1, m_lineCount - 1);
  }
  if (m_pageLastLine < first) {
    m_pageLastLine = first;
    if (KLineObj* line = GetDisplayLineObj(first))
      m_pageWidest = std::max(m_pageWidest, SheetWidth(*this, *line, dc));
  }

  m_pageTopLeft = POINT{0, m_display[static_cast<size_t>(first)].top};
  m_pageBottomRight = POINT{m_pageOffsetX + pageWidth, m_display[static_cast<size_t>(m_pageLastLine)].bottom};
  m_horizontalPart = m_pageWidest > m_pageOffsetX + pageWidth ? 1 : 0;
  if (m_pageLastLine >= m_lineCount - 1 || m_sheetsComputed >= m_lastSheet) m_pagesDone = 1;
  topLeft = m_pageTopLeft;
  bottomRight = m_pageBottomRight;
}

int CStavlinView::LineSheetWidth(int displayLine, CDC* dc) {
  if (displayLine < 0 || displayLine >= m_lineCount) return 0;
  KLineObj* line = GetDisplayLineObj(displayLine);
  return line != nullptr ? SheetWidth(*this, *line, dc) : 0;
}

void CStavlinView::CountPages() {
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  // The margins are computed by the first update; a view laid out before it
  // computes them here once.
  if (m_printableWidth[0] == 0 && m_printableHeight[0] == 0) ComputePageMargins();
  m_verticalPage = 0;
  m_pageLastLine = -1;
  m_pageDrawn = 1;
  m_sheetsComputed = 0;
  m_horizontalPart = 0;
  m_pageWidest = 0;
  m_pagesDone = 0;
  m_lastSheet = kLastSheetOpen;
  m_pageCount = 0;
  for (int i = 0; i < m_lineCount; ++i) {
    int& code = m_display[static_cast<size_t>(i)].extra[kPageCode];
    code %= 10;
  }
  if (m_lineCount <= 0) return;

  int page = 1;
  bool lastRow = false;
  for (;;) {
    const int before = m_pageLastLine;
    POINT topLeft{};
    POINT bottomRight{};
    ComputePageBreaks(dc, topLeft, bottomRight);
    ++m_pageCount;
    if (m_pageLastLine > before) {
      for (int i = before + 1; i < m_pageLastLine; ++i) {
        int& code = m_display[static_cast<size_t>(i)].extra[kPageCode];
        if (!IsBreakCode(code)) code = page * 10;
      }
      int& lastCode = m_display[static_cast<size_t>(m_pageLastLine)].extra[kPageCode];
      if (!IsBreakCode(lastCode)) lastCode = page * 10 + 1;
    }
    if (m_pagesDone != 0) lastRow = true;
    const bool rowFinished = m_horizontalPart <= 0;
    if (m_horizontalPart < 0) m_horizontalPart = 0;
    if (rowFinished) {
      if (lastRow) break;
      ++page;
    }
    m_pagesDone = 0;  // parts of the last row remain
  }
  m_pagesDone = 1;
  m_pageDrawn = 1;
}
