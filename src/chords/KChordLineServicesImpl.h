#pragma once
// The chord code's services to the chord-diagram line: shapes fitted to
// another tuning as the line's built-in fitting does, and chord names
// transposed by the chord-name stepping. Start-up installs one with
// SetChordLineServices.

#include "lines/KChordPicLineServices.h"

class KChordLineServicesImpl : public KChordLineServices {
 public:
  void AdaptChordShape(const CString& oldTuning, const CString& shape, const CString& newTuning,
                       CString& out) override;
  // Transposes the names (and shapes) of the diagrams in columns first..last:
  // directionKey and mode as ShiftChordNames takes them, shift the number of
  // steps, spelling non-zero for the chart spelling.
  void ShiftChordNames(KChordPicLine& line, int first, int last, int directionKey, int mode, int shift,
                       int spelling) override;
};

// The program's instance, installed by InstallChordLineServices.
void InstallChordLineServices();
