// welcomegen [output.svd]: builds the welcome score that a first start shows
// and saves it with the document's own save. The score shows each kind of
// line: a title; one line group holding a chord-diagram line, a treble staff
// with a short melody (read from ABC), the same melody as guitar tablature
// bracketed with the staff, a rhythm line of strums and a lyrics line, all
// placed over the melody's beats; then a few lines on how to start.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "WelcomeScore.h"
#include "chords/KChordLineServicesImpl.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "lines/LineClasses.h"
#include "platform/CompoundFile.h"
#include "platform/qt/GsfCompoundFile.h"

int main(int argc, char** argv) {
  // Text is measured with the program's fonts, which needs the GUI side of
  // Qt but no screen.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  const char* out = argc > 1 ? argv[1] : WELCOMEGEN_DEFAULT_OUT;
  SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  RegisterLineClasses();
  SetDocLineHooks(StavlinLineHooks());
  InstallChordLineServices();

  CStavlinDoc doc;
  if (!doc.OnNewDocument()) return 1;
  doc.DeleteContents();
  doc.settings.makeBackups = 0;  // the old file is replaced, not kept beside it
  if (!BuildWelcomeScore(doc)) {
    std::fprintf(stderr, "welcomegen: the melody could not be read\n");
    return 1;
  }
  if (!doc.OnSaveDocument(out)) {
    std::fprintf(stderr, "welcomegen: could not save %s\n", out);
    return 1;
  }
  std::printf("welcomegen: %d lines in %d line groups written to %s\n", doc.GetLineCount(),
              doc.GetLineGroupCount(), out);
  return 0;
}
