#pragma once
// One picture of the whole symbol set, for a person to look at: a few staves
// set from the symbols at each set, then every bitmap by group, magnified, with
// its id under it and its origin marked in red.

#include <QString>

#include "Catalog.h"

bool WriteContactSheet(const Catalog& catalog, const QString& path, int zoom);
