#include "platform/PrintJob.h"

int RunPrintPages(KPrintJob& job, CPrintInfo& info, KPrintTarget& target) {
  info.m_device = &target;
  info.m_bContinuePrinting = TRUE;
  info.m_nCurPage = info.GetFromPage();
  job.OnBeginPrinting(info);
  int painted = 0;
  bool failed = false;
  CDC* dc = nullptr;
  // The job says when its pages end (m_bContinuePrinting); the range only
  // bounds it.
  while (info.m_bContinuePrinting && info.m_nCurPage <= info.GetToPage()) {
    if (dc != nullptr) {
      job.OnPrepareDC(*dc, info);
      if (!info.m_bContinuePrinting) break;
      if (!target.NewPage()) {
        failed = true;
        break;
      }
    } else {
      dc = target.BeginPainting();
      if (dc == nullptr) {
        failed = true;
        break;
      }
      job.OnPrepareDC(*dc, info);
      if (!info.m_bContinuePrinting) break;
    }
    job.OnPrint(*dc, info);
    ++painted;
    ++info.m_nCurPage;
  }
  if (dc != nullptr && !target.EndPainting()) failed = true;
  job.OnEndPrinting(info);
  info.m_device = nullptr;
  return failed ? -1 : painted;
}
