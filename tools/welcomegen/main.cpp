// welcomegen [output.svd]: builds the welcome score that a first start shows
// (a title, a treble staff with a short melody in bars read from ABC, a
// rhythm line, a chord-diagram line and a lyrics line) and saves it with the
// document's own save.

#include <QCoreApplication>
#include <cstdio>
#include <memory>

#include "app/CStavlinDoc.h"
#include "app/DocLineHooks.h"
#include "chords/KChordLineServicesImpl.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/LineClasses.h"
#include "model/KLineObj.h"
#include "platform/CompoundFile.h"
#include "platform/qt/GsfCompoundFile.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

// The melody: a title field, the metre, the note length, the key, then the
// music in bars.
constexpr const char* kTune[] = {
    "T:Welcome To Stavlin", "M:4/4", "L:1/8", "K:G", "GABc d2B2|c2A2 B2G2|ABcd e2c2|d4 G4|",
};

void AddText(CStavlinDoc& doc, const char* text) {
  const KDocLineHooks& hooks = DocLineHooks();
  KLineObj* line = hooks.newTextLine();
  hooks.setLineText(*line, text);
  doc.AddTailLine(line);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const char* out = argc > 1 ? argv[1] : WELCOMEGEN_DEFAULT_OUT;
  SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
  RegisterLineClasses();
  SetDocLineHooks(StavlinLineHooks());
  InstallChordLineServices();

  CStavlinDoc doc;
  if (!doc.OnNewDocument()) return 1;
  doc.DeleteContents();
  ResetAbcReaderState();
  for (const char* field : kTune) {
    std::unique_ptr<KLineObj> line = ReadAbcLine(field, 0);
    if (line) doc.AddTailLine(line.release());
  }
  doc.AddTailLine(new KRhythmLine());
  doc.AddTailLine(new KChordPicLine());
  AddText(doc, "Wel - come to Sta - vlin, write your tunes and play them");
  AddText(doc, "Open a score with File | Open, or start a new one with File | New.");
  if (!doc.OnSaveDocument(out)) {
    std::fprintf(stderr, "welcomegen: could not save %s\n", out);
    return 1;
  }
  std::printf("welcomegen: %d lines written to %s\n", doc.GetLineCount(), out);
  return 0;
}
