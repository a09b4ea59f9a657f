#include <QApplication>

#include "app/CStavlinApp.h"
#include "app/FirstPaintExit.h"
#include "common/Globals.h"
#include "platform/qt/KQtPorts.h"

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Stavlin"));
  // Message boxes, clipboard, keys, links, help and symbols on Qt.
  KQtPorts ports;
  // Opt-in start-up timing for the benchmarks (STAVLIN_EXIT_AFTER_FIRST_PAINT=1).
  KFirstPaintExit::InstallFromEnvironment();
  int result = 0;
  {
    CStavlinApp app;
    if (!app.InitInstance(QApplication::arguments().mid(1))) return 1;
    // Help pages come from the help folder start-up chose.
    ports.Help().SetFolder(QString::fromStdString(g_HelpDir.ToUtf8()));
    result = QApplication::exec();
    app.ExitInstance();
  }
  return result;
}
