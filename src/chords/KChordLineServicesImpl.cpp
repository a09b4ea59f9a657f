#include "chords/KChordLineServicesImpl.h"

#include <climits>

#include "chords/ChordNamesShift.h"

namespace {
constexpr int kLastColumn = INT_MAX;
}  // namespace

void KChordLineServicesImpl::AdaptChordShape(const CString& oldTuning, const CString& shape,
                                             const CString& newTuning, CString& out) {
  ::AdaptChordShape(oldTuning, shape, newTuning, out);
}

void KChordLineServicesImpl::ShiftChordNames(KChordPicLine& line, int first, int last, int directionKey,
                                             int mode, int shift, int spelling) {
  // The line's range includes its last column; a whole line ends at a large one.
  const int end = last < first ? first : (last < kLastColumn ? last + 1 : last);
  ::ShiftChordNames(line, first, end, directionKey, mode, shift, spelling);
}

void InstallChordLineServices() {
  static KChordLineServicesImpl services;
  SetChordLineServices(&services);
}
