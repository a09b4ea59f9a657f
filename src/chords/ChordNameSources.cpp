#include "chords/ChordNameSources.h"

namespace {

// Until the chord dictionary installs its sources: no library, no user chords.
class NoChordNameSources : public KChordNameSources {
 public:
  int LoadChordStringDll() override { return 0; }
  int LoadChordDllString(int, CString&) override { return 0; }
  int CountUserVariations(const CString&, const CString&, const CString&) override { return 0; }
  CString GetUserShape(const CString&, const CString&, const CString&, int) override { return CString(); }
};

NoChordNameSources g_none;
KChordNameSources* g_installed = nullptr;

}  // namespace

int g_adaptLibraryShapes = 1;

void SetChordNameSources(KChordNameSources* sources) { g_installed = sources; }

KChordNameSources& GetChordNameSources() { return g_installed != nullptr ? *g_installed : g_none; }

void ResetChordNameSources() {
  g_installed = nullptr;
  g_adaptLibraryShapes = 1;
}
