#include "translate/KTextLineTranslatorImpl.h"

#include "lines/KChordPicLine.h"
#include "lines/KStrLine.h"
#include "model/KLineObj.h"
#include "translate/AbcReader.h"
#include "translate/ChordNameRecognizer.h"

std::unique_ptr<KLineObj> KTextLineTranslatorImpl::ReadAbc(const KStrLine& line, int option) {
  return ReadAbcLine(line.GetText(), option);
}

std::unique_ptr<KLineObj> KTextLineTranslatorImpl::RecognizeChordNames(const KStrLine& line, int /*source*/,
                                                                        int option) {
  return RecognizeChordNamesInText(line.GetText(), option != 0);
}
