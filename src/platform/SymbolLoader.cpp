#include "platform/SymbolLoader.h"

namespace {

class NoSymbolLoader : public SymbolLoader {
 public:
  bool Load(int, CBitmap&) override { return false; }
};

NoSymbolLoader g_noSymbols;
SymbolLoader* g_symbolLoader = &g_noSymbols;

}  // namespace

SymbolLoader& CurrentSymbolLoader() { return *g_symbolLoader; }

SymbolLoader* SetSymbolLoader(SymbolLoader* loader) {
  SymbolLoader* previous = g_symbolLoader;
  g_symbolLoader = loader != nullptr ? loader : &g_noSymbols;
  return previous == &g_noSymbols ? nullptr : previous;
}

void ResetSymbolLoader() { g_symbolLoader = &g_noSymbols; }

bool LoadSymbolResource(int id, CBitmap& bitmap) { return CurrentSymbolLoader().Load(id, bitmap); }
