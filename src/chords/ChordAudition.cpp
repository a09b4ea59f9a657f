#include "chords/ChordAudition.h"

namespace {
ChordAuditionFn& Player() {
  static ChordAuditionFn player;
  return player;
}
}  // namespace

void SetChordAudition(ChordAuditionFn player) { Player() = std::move(player); }

void PlayChordShape(const CString& shape, const CString& tuning, int strumDelay, int program) {
  if (Player()) Player()(shape, tuning, strumDelay, program);
}
