#pragma once
// The program's chord-name sources: the built-in chord catalogue
// (ChordLibrary.h) and the user chord dictionary (ChordDictionary.h) behind
// the interface that the stepping and recognition of chord names read
// (ChordNameSources.h). Start-up installs them.

#include "chords/ChordNameSources.h"

class KTuningInfo;

class KChordCatalogueSources : public KChordNameSources {
 public:
  int LoadChordStringDll() override;
  int LoadChordDllString(int id, CString& out) override;
  int CountUserVariations(const CString& tuning, const CString& root, const CString& quality) override;
  CString GetUserShape(const CString& tuning, const CString& root, const CString& quality, int n) override;
};

// The dictionary entry of a line's tuning with the root's chords read in, or
// null when the user has no chords of that root for the tuning.
KTuningInfo* UserChordsOfRoot(const CString& tuning, const CString& root);

// Installs the program's instance.
void InstallChordNameSources();
