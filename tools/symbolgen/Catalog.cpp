#include "Catalog.h"

#include <cstdio>
#include <set>

void AddSymbol(Catalog& catalog, int id, const QString& name, const QString& group, const SetMetrics& metrics,
               const Recipe& recipe) {
  Canvas canvas(metrics);
  canvas.SetLabel(QString("%1 (%2)").arg(id).arg(name));
  Symbol symbol;
  symbol.id = id;
  symbol.name = name;
  symbol.group = group;
  symbol.set = metrics.set;
  symbol.bitmap = recipe(canvas);
  catalog.push_back(std::move(symbol));
}

Catalog BuildCatalog() {
  Catalog catalog;
  AddNotationSymbols(catalog);
  AddExtendedSymbols(catalog);
  AddStaffPieces(catalog);
  AddRhythmSymbols(catalog);
  AddFretDigits(catalog);
  AddDiagramPieces(catalog);
  AddInstruments(catalog);
  AddBracketStyles(catalog);
  AddPalettes(catalog);
  return catalog;
}

bool CheckCatalog(const Catalog& catalog) {
  std::set<int> seen;
  bool ok = true;
  for (const Symbol& symbol : catalog) {
    if (!seen.insert(symbol.id).second) {
      std::fprintf(stderr, "symbolgen: id %d is drawn twice\n", symbol.id);
      ok = false;
    }
    if (symbol.name.isEmpty() || symbol.name.contains(' ')) {
      std::fprintf(stderr, "symbolgen: id %d has the unusable name \"%s\"\n", symbol.id,
                   qPrintable(symbol.name));
      ok = false;
    }
  }
  return ok;
}
