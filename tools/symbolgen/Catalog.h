#pragma once
// The complete list of symbol bitmaps: every resource id that the program's
// symbol cache, chord-diagram drawer and keyboard picture can load, with the
// picture drawn for it.

#include <QString>
#include <functional>
#include <vector>

#include "Canvas.h"
#include "SetMetrics.h"

struct Symbol {
  int id = 0;
  QString name;   // short name, no blanks (index.txt)
  QString group;  // heading on the contact sheet
  SymbolSet set = SymbolSet::Small;
  Bitmap bitmap;
};

using Catalog = std::vector<Symbol>;
using Recipe = std::function<Bitmap(Canvas&)>;

// Draws one symbol with the recipe on a fresh canvas of the set and appends it.
void AddSymbol(Catalog& catalog, int id, const QString& name, const QString& group, const SetMetrics& metrics,
               const Recipe& recipe);

Catalog BuildCatalog();

// False (with messages) when an id occurs twice or a name holds a blank.
bool CheckCatalog(const Catalog& catalog);

// The parts of the catalogue, one per source file.
void AddNotationSymbols(Catalog& catalog);  // family 0 by symbol code, head triples, head forms
void AddExtendedSymbols(Catalog& catalog);  // family 0 codes 10000 and up
void AddStaffPieces(Catalog& catalog);      // flags, clefs, time figures, bar pieces, braces, ...
void AddRhythmSymbols(Catalog& catalog);    // the rhythm line's symbols
void AddFretDigits(Catalog& catalog);       // tablature fret numbers
void AddDiagramPieces(Catalog& catalog);    // chord-diagram and keyboard picture pieces
void AddInstruments(Catalog& catalog);      // the fretboard and keyboard toolboxes' pictures
void AddBracketStyles(Catalog& catalog);    // the bracket style dialog's pictures
// The toolbox palettes, composed from the symbols already in the catalogue.
void AddPalettes(Catalog& catalog);
