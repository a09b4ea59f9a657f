#include "platform/PrintJob.h"

int RunPrintPages(KPrintJob& job, CPrintInfo& info, KPrintTarget& target) {
  info.m_device = &target;
  info.m_bContinuePrinting = TRUE;
  info.m_nCurPage = info.GetFromPage();
  job.OnBeginPrinting(info);
  int painted = 0;
  const char* failed = nullptr;  // why, in the loop's words
  CDC* dc = nullptr;
  // The job says when its pages end (m_bContinuePrinting); the range only
  // bounds it.
  while (info.m_bContinuePrinting && info.m_nCurPage <= info.GetToPage()) {
    if (dc != nullptr) {
      job.OnPrepareDC(*dc, info);
      if (!info.m_bContinuePrinting) break;
      if (!target.NewPage()) {
        failed = "A new page could not be started";
        break;
      }
    } else {
      dc = target.BeginPainting();
      if (dc == nullptr) {
        failed = "Printing could not begin";
        break;
      }
      job.OnPrepareDC(*dc, info);
      if (!info.m_bContinuePrinting) break;
    }
    job.OnPrint(*dc, info);
    ++painted;
    ++info.m_nCurPage;
  }
  if (dc != nullptr && !target.EndPainting() && failed == nullptr) failed = "The pages could not be finished";
  job.OnEndPrinting(info);
  info.m_device = nullptr;
  if (failed == nullptr) return painted;
  const CString detail = target.FailureReason();
  job.OnPrintFailed(target.OutputName(),
                    detail.IsEmpty() ? CString(failed) : CString(failed) + ": " + detail);
  return -1;
}
