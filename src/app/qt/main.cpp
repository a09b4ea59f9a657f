#include <QApplication>
#include <memory>

#include "app/qt/CMainFrame.h"
#include "platform/Clipboard.h"
#include "platform/CompoundFile.h"
#include "platform/qt/GsfCompoundFile.h"
#include "platform/qt/KQtPorts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Stavlin"));

  // The platform ports the core talks through: message boxes, clipboard,
  // keys, links and help on Qt; score files through the compound-file reader.
  KQtPorts ports;
  SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  RegisterClipboardFormat("Stavlin");

  CMainFrame frame;
  frame.show();
  return QApplication::exec();
}
