#pragma once
// Writes the catalogue into the resource folder: <id>.png per symbol, the
// index, and the font's licence.

#include <QString>

#include "Catalog.h"

// Replaces every <id>.png of the folder by the catalogue's, writes index.txt
// (one line per id: id, width, height, origin x, origin y, name) and copies the
// font licence to OFL.txt. False with a message when something cannot be written.
bool WriteResources(const Catalog& catalog, const QString& folder, const QString& licencePath);
