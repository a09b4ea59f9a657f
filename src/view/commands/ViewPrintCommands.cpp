// File/Print, File/Print Preview, View/Show Page Breaks, and the handlers of
// the File menu's print and image-export commands.
//
// Printing hands the view, as a print job (platform/PrintJob.h), to the UI
// port: the Qt shell prints it through the print dialog or shows it in the
// preview; tests print it to PDF or record its pages.

#include "platform/PrintJob.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

// The view as the print loop sees it.
class KViewPrintJob : public KPrintJob {
 public:
  explicit KViewPrintJob(CStavlinView& view) : m_view(view) {}

  CString Title() const override {
    const CStavlinDoc* doc = m_view.GetDocument();
    return doc != nullptr ? doc->ScoreName() : CString("Untitled");
  }
  bool OnPreparePrinting(CPrintInfo& info) override { return m_view.OnPreparePrinting(info); }
  void OnBeginPrinting(CPrintInfo& info) override { m_view.OnBeginPrinting(info); }
  void OnPrepareDC(CDC& dc, CPrintInfo& info) override { m_view.OnPrepareDC(dc, info); }
  void OnPrint(CDC& dc, CPrintInfo& info) override { m_view.OnPrint(dc, info); }
  void OnEndPrinting(CPrintInfo& info) override { m_view.OnEndPrinting(info); }
  // A print that fails after the print dialog is told, never dropped.
  void OnPrintFailed(const CString& output, const CString& reason) override {
    CString text = "Stavlin could not print the score";
    if (!output.IsEmpty()) text += CString(" on ") + output;
    text += CString("\n( ") + reason + " )";
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  }

 private:
  CStavlinView& m_view;
};

}  // namespace

void CStavlinView::OnFilePrint() {
  KViewPrintJob job(*this);
  CurrentUiPort().Print(job, KPrintKind::kPrint);
}

void CStavlinView::OnFilePrintPreview() {
  KViewPrintJob job(*this);
  CurrentUiPort().Print(job, KPrintKind::kPreview);
}

void CStavlinView::OnViewShowPageBreaks() {
  m_pageMarks = m_pageMarks != 0 ? 0 : 1;
  m_options.showPageBreaks = static_cast<BYTE>(m_pageMarks);
  if (m_document != nullptr) m_document->SetSettings(m_options, 1);
  OnViewRefresh();
}

std::span<const KViewCommandHandler> PrintCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kFilePrintOptions, kFilePrintOptions, [](CStavlinView& v, UINT) { v.OnFilePrintOptions(); }},
      {kExportImage, kExportImage, [](CStavlinView& v, UINT) { v.ExportImage(); }},
      {kExportImageHighRes, kExportImageHighRes, [](CStavlinView& v, UINT) { v.OnExportHighResImage(); }},
      {kViewPageBreaks, kViewPageBreaks, [](CStavlinView& v, UINT) { v.OnViewShowPageBreaks(); }},
      {kFilePrint, kFilePrint, [](CStavlinView& v, UINT) { v.OnFilePrint(); }},
      {kFilePrintPreview, kFilePrintPreview, [](CStavlinView& v, UINT) { v.OnFilePrintPreview(); }},
  };
  return kHandlers;
}
