#include "app/CChildFrame.h"

#include <QCloseEvent>
#include <QMoveEvent>
#include <QSplitter>
#include <algorithm>

#include "doc/CStavlinDoc.h"
#include "platform/qt/QtText.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

KNewDocRect g_rcNewDoc;

namespace {
// The name a score never saved goes by.
}  // namespace

CChildFrame::CChildFrame(std::unique_ptr<CStavlinDoc> document, KFrameServices* frame, QWidget* parent)
    : QMdiSubWindow(parent),
      m_document(std::move(document)),
      m_frame(frame),
      m_splitter(new QSplitter(Qt::Vertical)) {
  setAttribute(Qt::WA_DeleteOnClose);
  m_splitter->setChildrenCollapsible(false);
  setWidget(m_splitter);
  AddPane();
  resize(kDefaultWidth, kDefaultHeight);
  UpdateTitle();
}

CChildFrame::~CChildFrame() {
  m_closing = true;
  // The views leave the document before it goes.
  delete m_splitter;
  m_splitter = nullptr;
  m_document.reset();
}

KViewWidget* CChildFrame::AddPane() {
  auto* pane = new KViewWidget(m_document.get(), m_frame);
  pane->setMinimumSize(kMinPaneWidth, kMinPaneHeight);
  pane->SetCloseDocumentHandler([this] { close(); });
  m_splitter->addWidget(pane);
  return pane;
}

void CChildFrame::InitialUpdate() {
  for (int i = 0; i < PaneCount(); ++i) {
    CStavlinView& view = Pane(i)->View();
    if (!view.InitialUpdateDone()) view.OnInitialUpdate();
  }
}

int CChildFrame::PaneCount() const { return m_splitter != nullptr ? m_splitter->count() : 0; }

KViewWidget* CChildFrame::Pane(int index) const {
  if (index < 0 || index >= PaneCount()) return nullptr;
  return static_cast<KViewWidget*>(m_splitter->widget(index));
}

KViewWidget* CChildFrame::ActivePane() const {
  for (int i = 0; i < PaneCount(); ++i) {
    if (Pane(i)->hasFocus()) return Pane(i);
  }
  return Pane(0);
}

bool CChildFrame::Split() {
  if (m_splitter == nullptr || PaneCount() >= 2) return false;
  KViewWidget* pane = AddPane();
  const int height = std::max(2 * kMinPaneHeight, m_splitter->height());
  m_splitter->setSizes({height / 2, height - height / 2});
  pane->show();
  pane->View().OnInitialUpdate();
  return true;
}

bool CChildFrame::Unsplit() {
  if (PaneCount() < 2) return false;
  KViewWidget* keep = ActivePane();
  KViewWidget* drop = keep == Pane(0) ? Pane(1) : Pane(0);
  delete drop;
  keep->setFocus();
  return true;
}

bool CChildFrame::QueryClose() {
  if (m_asked) return true;
  if (!m_document->SaveModified()) return false;
  m_asked = true;
  return true;
}

void CChildFrame::CloseWithoutAsking() {
  m_asked = true;
  close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (!QueryClose()) {
    event->ignore();
    return;
  }
  m_closing = true;
  // The views go first: nothing may draw the score while it is emptied.
  delete m_splitter;
  m_splitter = nullptr;
  m_document->OnCloseDocument();
  event->accept();
  QMdiSubWindow::closeEvent(event);
}

void CChildFrame::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  // Geometry is in the MDI client's coordinates already.
  const QRect r = geometry();
  g_rcNewDoc.height = std::max(0, r.height());
  g_rcNewDoc.width = std::max(0, r.width());
  g_rcNewDoc.left = std::max(0, r.left());
  g_rcNewDoc.top = std::max(0, r.top());
}

void CChildFrame::UpdateTitle() { setWindowTitle(ToQString(m_document->ScoreName().Str())); }

void CChildFrame::SetUntitledName(const CString& name) {
  m_document->SetUntitledName(name);
  UpdateTitle();
}
