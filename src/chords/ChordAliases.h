#pragma once
// Chord-name aliases: the other ways charts write the catalogue's chord
// types ("Cmin", "C-7", "Cmaj7" as "CM7", "C°", "C+", "Csus"). A chord
// written with an alias is looked up under the catalogue's type and keeps the
// name as written.

#include "platform/CString.h"

// The catalogue's type for a quality: the type an alias stands for, or the
// quality itself.
CString CatalogueQuality(const CString& quality);
// True when the quality is one of the aliases.
bool IsChordAlias(const CString& quality);
