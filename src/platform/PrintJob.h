#pragma once
// Printing as the framework's print loop runs it: the job (what prints) is
// asked to prepare, to begin, to set up each page and to print it, and to end;
// the printer and the loop belong to the port that prints.
//
//   OnPreparePrinting   before any dialog: the job names its pages (Set
//                       Min/MaxPage); false prints nothing
//   (the print dialog: the pages to print, or Cancel)
//   OnBeginPrinting     the printer is chosen and can be read and set up
//                       (orientation) through info.m_device; nothing is
//                       painted yet; clearing m_bContinuePrinting stops here
//   for each page from the first to print:
//     OnPrepareDC       clearing m_bContinuePrinting ends the job before the page
//     OnPrint           paints the page
//   OnEndPrinting       always, once OnPreparePrinting said yes (also after
//                       Cancel in the dialog), so the job can put back what
//                       it changed for printing
//
// Qt-free: the Qt port prints through QPrinter, tests run the loop on a
// recording device context.

#include "platform/CDC.h"
#include "platform/CString.h"
#include "platform/Geometry.h"
#include "platform/WinTypes.h"

// The device mode's page orientations.
constexpr int DMORIENT_PORTRAIT = 1;
constexpr int DMORIENT_LANDSCAPE = 2;

// The printer as the job sees it between OnBeginPrinting and the first page.
class KPrintDevice {
 public:
  virtual ~KPrintDevice() = default;
  // What GetDeviceCaps reports of the page as it is set up now: the drawable
  // size in printer pixels (horzRes, vertRes) and the resolution.
  virtual DeviceCaps Caps() const = 0;
  virtual int GetOrientation() const = 0;
  // Changes the orientation of the pages to print (a changed device mode and
  // ResetDC); Caps() then reports the new page. Only before the first page.
  virtual void SetOrientation(int orientation) = 0;
};

// The framework's print information record.
struct CPrintInfo {
  static constexpr UINT kOpenPage = 0xFFFF;  // no limit

  BOOL m_bPreview = FALSE;
  BOOL m_bContinuePrinting = TRUE;
  UINT m_nCurPage = 1;
  UINT m_nNumPreviewPages = 2;
  CRect m_rectDraw;
  // The printer, from OnBeginPrinting to OnEndPrinting; null otherwise.
  KPrintDevice* m_device = nullptr;

  void SetMinPage(UINT page) { m_minPage = page; }
  void SetMaxPage(UINT page) { m_maxPage = page; }
  UINT GetMinPage() const { return m_minPage; }
  UINT GetMaxPage() const { return m_maxPage; }
  // The pages the user asked for; kOpenPage as the last means all of them.
  UINT GetFromPage() const { return m_fromPage; }
  UINT GetToPage() const { return m_toPage; }
  void SetPageRange(UINT from, UINT to) {
    m_fromPage = from;
    m_toPage = to;
  }

 private:
  UINT m_minPage = 1;
  UINT m_maxPage = kOpenPage;
  UINT m_fromPage = 1;
  UINT m_toPage = kOpenPage;
};

class KPrintJob {
 public:
  virtual ~KPrintJob() = default;
  // The document's name, for the print queue and the preview's title.
  virtual CString Title() const = 0;
  virtual bool OnPreparePrinting(CPrintInfo& info) = 0;
  virtual void OnBeginPrinting(CPrintInfo& info) = 0;
  virtual void OnPrepareDC(CDC& dc, CPrintInfo& info) = 0;
  virtual void OnPrint(CDC& dc, CPrintInfo& info) = 0;
  virtual void OnEndPrinting(CPrintInfo& info) = 0;
  // The print loop could not print: the printer or file the pages went to
  // (empty when it has no name) and why. Called once, after OnEndPrinting.
  virtual void OnPrintFailed(const CString& output, const CString& reason) {}
};

// Where the pages go: a printer, a PDF file, the preview, or a test's
// recording. The device context is made when the first page is painted, so
// that a job that prints no page makes no output.
class KPrintTarget : public KPrintDevice {
 public:
  // The device context of the first page; null when printing cannot start.
  virtual CDC* BeginPainting() = 0;
  // Ends the page and starts the next on the same device context.
  virtual bool NewPage() = 0;
  // Ends the last page; false when the output failed.
  virtual bool EndPainting() = 0;
  // The printer or file the pages go to, for a failure's message.
  virtual CString OutputName() const { return {}; }
  // Why the last step failed, when the target knows more than the loop.
  virtual CString FailureReason() const { return {}; }
};

// The loop after the print dialog: OnBeginPrinting, the pages, OnEndPrinting.
// The job's OnPreparePrinting has run and info holds the pages asked for.
// Returns the number of pages painted; -1 when the output failed, which the
// job hears of through OnPrintFailed.
int RunPrintPages(KPrintJob& job, CPrintInfo& info, KPrintTarget& target);
