#pragma once
// The main window: an MDI frame that holds the score windows.

#include <QMainWindow>

class QMdiArea;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(QWidget* parent = nullptr);

  QMdiArea* MdiArea() const { return m_mdiArea; }

 private:
  QMdiArea* m_mdiArea;
};
