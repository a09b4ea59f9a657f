// The print loop after the print dialog: the job is asked for each page until
// it says its pages end or the range does, the output starts only with a
// page to paint, and the job always hears the end.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PrintJob.h"
#include "platform/RecordingDC.h"

namespace {

// A job of a fixed number of pages that writes down what it was asked.
class CountingJob : public KPrintJob {
 public:
  explicit CountingJob(int pages, bool stopAtBegin = false) : m_pages(pages), m_stopAtBegin(stopAtBegin) {}
  CString Title() const override { return "job"; }
  bool OnPreparePrinting(CPrintInfo& info) override {
    info.SetMaxPage(static_cast<UINT>(m_pages));
    return true;
  }
  void OnBeginPrinting(CPrintInfo& info) override {
    calls.push_back("begin");
    if (m_stopAtBegin) info.m_bContinuePrinting = FALSE;
  }
  void OnPrepareDC(CDC&, CPrintInfo& info) override {
    calls.push_back("prepare " + std::to_string(info.m_nCurPage));
    info.m_bContinuePrinting = static_cast<int>(info.m_nCurPage) <= m_pages ? TRUE : FALSE;
  }
  void OnPrint(CDC&, CPrintInfo& info) override {
    calls.push_back("print " + std::to_string(info.m_nCurPage));
  }
  void OnEndPrinting(CPrintInfo& info) override {
    calls.push_back(info.m_device != nullptr ? "end" : "end without a printer");
  }

  std::vector<std::string> calls;

 private:
  int m_pages;
  bool m_stopAtBegin;
};

class CountingTarget : public KPrintTarget {
 public:
  DeviceCaps Caps() const override { return {}; }
  int GetOrientation() const override { return DMORIENT_PORTRAIT; }
  void SetOrientation(int) override {}
  CDC* BeginPainting() override {
    ++begun;
    return &dc;
  }
  bool NewPage() override {
    ++newPages;
    return !failNewPage;
  }
  bool EndPainting() override {
    ++ended;
    return true;
  }
  RecordingDC dc{DeviceCaps(), true};
  int begun = 0;
  int newPages = 0;
  int ended = 0;
  bool failNewPage = false;
};

using Calls = std::vector<std::string>;

TEST(PrintJob, EveryPageUntilTheJobSaysItsPagesEnd) {
  CountingJob job(2);
  CountingTarget target;
  CPrintInfo info;
  job.OnPreparePrinting(info);
  EXPECT_EQ(RunPrintPages(job, info, target), 2);
  EXPECT_EQ(job.calls, (Calls{"begin", "prepare 1", "print 1", "prepare 2", "print 2", "prepare 3", "end"}));
  EXPECT_EQ(target.begun, 1);
  EXPECT_EQ(target.newPages, 1);
  EXPECT_EQ(target.ended, 1);
}

TEST(PrintJob, TheRangeEndsThePagesToo) {
  CountingJob job(5);
  CountingTarget target;
  CPrintInfo info;
  info.SetPageRange(2, 3);
  EXPECT_EQ(RunPrintPages(job, info, target), 2);
  EXPECT_EQ(job.calls, (Calls{"begin", "prepare 2", "print 2", "prepare 3", "print 3", "end"}));
}

TEST(PrintJob, AJobThatStopsBeforeItsFirstPageMakesNoOutput) {
  CountingJob job(3, true);
  CountingTarget target;
  CPrintInfo info;
  EXPECT_EQ(RunPrintPages(job, info, target), 0);
  EXPECT_EQ(job.calls, (Calls{"begin", "end"}));
  EXPECT_EQ(target.begun, 0);
  EXPECT_EQ(target.ended, 0);
}

TEST(PrintJob, AnOutputThatFailsEndsTheJobAndSaysSo) {
  CountingJob job(3);
  CountingTarget target;
  target.failNewPage = true;
  CPrintInfo info;
  EXPECT_EQ(RunPrintPages(job, info, target), -1);
  EXPECT_EQ(job.calls.back(), "end");
  EXPECT_EQ(target.ended, 1);
  EXPECT_EQ(info.m_device, nullptr);
}

}  // namespace
