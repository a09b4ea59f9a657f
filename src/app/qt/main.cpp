#include <QApplication>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/DocLineHooks.h"
#include "app/LoadRegistrySettings.h"
#include "app/qt/CMainFrame.h"
#include "chords/ChordDictionary.h"
#include "chords/KChordLineServicesImpl.h"
#include "common/Globals.h"
#include "lines/LineClasses.h"
#include "midi/LinePlayEvents.h"
#include "lines/KStrLineServices.h"
#include "translate/KTextLineTranslatorImpl.h"
#include "common/SymbolCache.h"
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

  // Every preference from the settings file, with defaults written back where
  // a group is missing; then the score classes the archive creates by name.
  LoadRegistrySettings();
  RegisterLineClasses();
  SetDocLineHooks(StavlinLineHooks());
  InstallChordLineServices();
  InstallLinePlayInterpreter();
  KTextLineTranslatorImpl textTranslator;  // ABC and chord names in text lines
  SetTextLineTranslator(&textTranslator);

  // The user's chord dictionary lives in the per-user data folder.
  const std::filesystem::path chordFile = DefaultChordFilePath();
  std::error_code ignored;
  std::filesystem::create_directories(chordFile.parent_path(), ignored);
  g_ChordFilePath = CString(chordFile.string().c_str());
  LoadChordDictionary();

  // The note heads of the normal size are current before anything draws.
  SelectSymbolSize(0, 0);

  int result = 0;
  {
    CMainFrame frame;
    frame.show();
    result = QApplication::exec();
  }
  ClearChordDictionary();
  FreeSmallSymbolBitmaps();
  FreeLargeSymbolBitmaps();
  FreeRemainingScreenSymbolBitmaps();
  return result;
}
