#pragma once
// The window of a property sheet (platform/PropertySheet.h): each page's
// controls, built by the dialog binder, in a tab of its own, and one row of
// OK and Cancel for the sheet. OK runs every page's checks in tab order; the
// first page that refuses is brought to the front with the focus on the
// control to correct, and the window stays open.

#include <QDialog>
#include <memory>
#include <vector>

#include "platform/PropertySheet.h"

class KQtDialogBinder;
class QTabWidget;

class KQtPropertySheetBinder {
 public:
  KQtPropertySheetBinder(KPropertySheet& sheet, QWidget* parent);
  ~KQtPropertySheetBinder();
  KQtPropertySheetBinder(const KQtPropertySheetBinder&) = delete;
  KQtPropertySheetBinder& operator=(const KQtPropertySheetBinder&) = delete;

  // Builds the window and opens the sheet, without running the window.
  void Open();
  // Opens the window modally and returns IDOK or IDCANCEL.
  int Exec();
  // The OK and Cancel buttons; true when the window has closed.
  bool PressOk();
  void PressCancel();

  QDialog& Window();
  QTabWidget& Tabs();
  KQtDialogBinder& PageBinder(int index);

  static int Run(KPropertySheet& sheet, QWidget* parent);

 private:
  class SheetWindow;
  void Build();

  KPropertySheet& m_sheet;
  std::unique_ptr<SheetWindow> m_window;
  QTabWidget* m_tabs = nullptr;
  std::vector<std::unique_ptr<KQtDialogBinder>> m_pages;
  bool m_built = false;
  bool m_closed = false;
};
