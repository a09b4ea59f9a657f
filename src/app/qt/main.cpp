#include <QApplication>

#include "app/qt/CMainFrame.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Stavlin"));
  CMainFrame frame;
  frame.show();
  return QApplication::exec();
}
