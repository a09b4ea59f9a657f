#include "lines/KStrLineServices.h"

#include "lines/KStrLine.h"
#include "model/KLineObj.h"

int g_abcTranslating = 0;

namespace {
KTextLineTranslator* g_translator = nullptr;
}  // namespace

void SetTextLineTranslator(KTextLineTranslator* translator) { g_translator = translator; }

KTextLineTranslator* GetTextLineTranslator() { return g_translator; }

void ResetTextLineServices() {
  g_translator = nullptr;
  g_abcTranslating = 0;
}

std::unique_ptr<KLineObj> KStrLine::ReadAbc(const KStrLine& line, int option) {
  return g_translator != nullptr ? g_translator->ReadAbc(line, option) : nullptr;
}

std::unique_ptr<KLineObj> KStrLine::RecognizeChordNames(const KStrLine& line, int source, int option) {
  return g_translator != nullptr ? g_translator->RecognizeChordNames(line, source, option) : nullptr;
}
