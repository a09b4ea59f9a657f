#include "platform/qt/KQtPropertySheetBinder.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/UiPort.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/QtText.h"

// Escape and the close box cancel through the sheet.
class KQtPropertySheetBinder::SheetWindow : public QDialog {
 public:
  SheetWindow(KQtPropertySheetBinder& binder, QWidget* parent) : QDialog(parent), m_binder(binder) {}
  void reject() override { m_binder.PressCancel(); }

 private:
  KQtPropertySheetBinder& m_binder;
};

KQtPropertySheetBinder::KQtPropertySheetBinder(KPropertySheet& sheet, QWidget* parent)
    : m_sheet(sheet), m_window(std::make_unique<SheetWindow>(*this, parent)) {}

KQtPropertySheetBinder::~KQtPropertySheetBinder() {
  // The pages' widgets belong to the tabs; their binders go first.
  m_pages.clear();
}

QDialog& KQtPropertySheetBinder::Window() { return *m_window; }
QTabWidget& KQtPropertySheetBinder::Tabs() { return *m_tabs; }
KQtDialogBinder& KQtPropertySheetBinder::PageBinder(int index) {
  return *m_pages[static_cast<size_t>(index)];
}

void KQtPropertySheetBinder::Build() {
  if (m_built) return;
  m_built = true;
  m_window->setWindowTitle(ToQString(m_sheet.Caption()));
  auto* layout = new QVBoxLayout(m_window.get());
  m_tabs = new QTabWidget(m_window.get());
  m_tabs->setUsesScrollButtons(true);
  layout->addWidget(m_tabs);
  for (KModalDialog* page : m_sheet.Pages()) {
    m_pages.push_back(KQtDialogBinder::Embedded(*page, m_tabs));
    QDialog& widget = m_pages.back()->Window();
    m_tabs->addTab(&widget, ToQString(page->Controls().Title()));
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, m_window.get());
  QObject::connect(buttons, &QDialogButtonBox::accepted, m_window.get(), [this] { PressOk(); });
  QObject::connect(buttons, &QDialogButtonBox::rejected, m_window.get(), [this] { PressCancel(); });
  layout->addWidget(buttons);
}

void KQtPropertySheetBinder::Open() {
  Build();
  m_closed = false;
  // Every page opens as the sheet does; the sheet's own OnInit is this.
  for (auto& page : m_pages) page->Open();
  m_tabs->setCurrentIndex(m_sheet.GetActiveIndex());
}

bool KQtPropertySheetBinder::PressOk() {
  if (m_closed) return true;
  for (int i = 0; i < static_cast<int>(m_pages.size()); ++i) {
    if (!m_pages[static_cast<size_t>(i)]->TakeValues()) {
      m_sheet.SetActivePage(i);
      m_tabs->setCurrentIndex(i);
      return false;
    }
  }
  m_closed = true;
  m_window->done(IDOK);
  return true;
}

void KQtPropertySheetBinder::PressCancel() {
  if (m_closed) return;
  for (auto& page : m_pages) page->CancelValues();
  m_closed = true;
  m_window->done(IDCANCEL);
}

int KQtPropertySheetBinder::Exec() {
  Open();
  const int code = m_window->exec();
  if (!m_closed) {
    for (auto& page : m_pages) page->CancelValues();
    return IDCANCEL;
  }
  return code;
}

int KQtPropertySheetBinder::Run(KPropertySheet& sheet, QWidget* parent) {
  KQtPropertySheetBinder binder(sheet, parent);
  return binder.Exec();
}
