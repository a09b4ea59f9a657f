#include "chords/ChordCatalogueSources.h"

#include "chords/ChordDictionary.h"
#include "chords/ChordLibrary.h"
#include "chords/ChordRecordKeys.h"
#include "chords/ChordRecordTuningInfo.h"

KTuningInfo* UserChordsOfRoot(const CString& tuning, const CString& root) {
  CObject* found = nullptr;
  if (!g_ChordDictionary.Lookup(MakeTuningKey(tuning), found)) return nullptr;
  auto* info = static_cast<KTuningInfo*>(found);
  if (ChordRootIndex(root) < 0 || info->HasKey(root) == 0) return nullptr;
  if (info->IsKeyLoaded(root) == 0) info->LoadChords(info->GetTuningKey(), root);
  return info;
}

int KChordCatalogueSources::LoadChordStringDll() { return ::LoadChordStringDll(); }

int KChordCatalogueSources::LoadChordDllString(int id, CString& out) { return ::LoadChordDllString(id, out); }

int KChordCatalogueSources::CountUserVariations(const CString& tuning, const CString& root,
                                                const CString& quality) {
  const KTuningInfo* info = UserChordsOfRoot(tuning, root);
  return info != nullptr ? info->CountVariations(root, quality) : 0;
}

CString KChordCatalogueSources::GetUserShape(const CString& tuning, const CString& root,
                                             const CString& quality, int n) {
  const KTuningInfo* info = UserChordsOfRoot(tuning, root);
  if (info == nullptr || n < 1 || n > info->CountVariations(root, quality)) return CString();
  return info->GetChordField(root, quality, n, kChordFieldShape);
}

void InstallChordNameSources() {
  static KChordCatalogueSources sources;
  SetChordNameSources(&sources);
}
