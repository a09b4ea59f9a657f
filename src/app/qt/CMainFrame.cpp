#include "app/qt/CMainFrame.h"

#include <QMdiArea>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this)) {
  setWindowTitle(QStringLiteral("Stavlin"));
  setCentralWidget(m_mdiArea);
  resize(900, 650);
}
