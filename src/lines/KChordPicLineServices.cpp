#include "lines/KChordPicLineServices.h"

#include "common/ChordShape.h"

namespace {

class BuiltInChordLineServices : public KChordLineServices {
 public:
  void AdaptChordShape(const CString& oldTuning, const CString& shape, const CString& newTuning,
                       CString& out) override {
    ::AdaptChordShape(oldTuning, shape, newTuning, out);
  }
  // Chord names are transposed by the chord code; without it they stay.
  void ShiftChordNames(KChordPicLine&, int, int, int, int, int, int) override {}
};

BuiltInChordLineServices g_builtIn;
KChordLineServices* g_installed = nullptr;

}  // namespace

int g_diagramFretNumbers = 0;

void SetChordLineServices(KChordLineServices* services) { g_installed = services; }

KChordLineServices& GetChordLineServices() { return g_installed != nullptr ? *g_installed : g_builtIn; }

void AdaptChordShape(const CString& oldTuning, const CString& shape, const CString& newTuning, CString& out) {
  ShapeValues pitches{};
  ShapeValues frets{};
  ShapeValues marks{};
  GetShapePitches(shape, oldTuning, pitches, frets, marks);
  int sum = 0;
  int count = 0;
  for (const int fret : frets) {
    if (fret <= 0) continue;
    sum += fret;
    ++count;
  }
  ComputeChordShape(newTuning, out, pitches, count > 0 ? sum / count : 0);
}

void ResetChordLineServices() {
  g_installed = nullptr;
  g_diagramFretNumbers = 0;
}
