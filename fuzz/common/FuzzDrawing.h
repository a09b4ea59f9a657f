#pragma once
// Drawing and printing a score view without a window system, as the targets
// that read outside values into a score or the preferences do: the whole
// score drawn on a recording device context (the headless one the tests
// draw on), then paginated and printed page by page to a recording printer.
// Whatever values reached the view, drawing and printing must not overflow,
// read out of bounds or hang.

#include "FuzzEnvironment.h"
#include "platform/FakeUiPort.h"
#include "platform/PrintJob.h"
#include "platform/RecordingDC.h"
#include "view/CStavlinView.h"

// A device context that keeps the drawing state as the recording one does but
// writes nothing down: a target draws far more than anyone reads, and
// describing every call as text would spend its time there.
class SilentDC : public RecordingDC {
 public:
  using RecordingDC::RecordingDC;

 protected:
  bool IsRecording() const override { return false; }
};

// A printer of 8 x 10.5 inches at 360 dots per inch whose pages are recorded
// and let go page by page.
class FuzzPrintTarget : public KPrintTarget {
 public:
  FuzzPrintTarget() : m_dc(Caps(), true) {}
  DeviceCaps Caps() const override {
    DeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.logPixelsX = caps.logPixelsY = 360;
    caps.horzRes = m_orientation == DMORIENT_LANDSCAPE ? 3780 : 2880;
    caps.vertRes = m_orientation == DMORIENT_LANDSCAPE ? 2880 : 3780;
    return caps;
  }
  int GetOrientation() const override { return m_orientation; }
  void SetOrientation(int value) override { m_orientation = value; }
  CDC* BeginPainting() override {
    m_dc.Clear();
    return &m_dc;
  }
  bool NewPage() override {
    ++pages;
    m_dc.Clear();
    return true;
  }
  bool EndPainting() override {
    ++pages;
    m_dc.Clear();
    return true;
  }
  int pages = 0;

 private:
  int m_orientation = DMORIENT_PORTRAIT;
  SilentDC m_dc;
};

// Draws the whole score as the window paints it, then paginates and prints
// it through the print command.
inline void DrawAndPrint(CStavlinView& view, FakeUiPort& ui) {
  {
    SilentDC screen;
    screen.IntersectClipRect(0, 0, 1 << 20, 1 << 20);
    view.OnDraw(&screen);
  }
  view.ComputePageMargins();
  view.CountPages();
  ui.AnswerPrint([](KPrintJob& job, KPrintKind) {
    CPrintInfo info;
    if (!job.OnPreparePrinting(info)) return false;
    FuzzPrintTarget printer;
    return RunPrintPages(job, info, printer) > 0;
  });
  view.OnFilePrint();
}
