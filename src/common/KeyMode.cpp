#include "common/KeyMode.h"

#include <array>

namespace {

// Letters from C, and their pitch classes without accidentals.
constexpr std::array<char, 7> kLetters = {'C', 'D', 'E', 'F', 'G', 'A', 'B'};
constexpr std::array<int, 7> kLetterPitch = {0, 2, 4, 5, 7, 9, 11};
// The order in which sharps and flats enter a signature (letter indexes).
constexpr std::array<int, 7> kSharpOrder = {3, 0, 4, 1, 5, 2, 6};  // F C G D A E B
constexpr std::array<int, 7> kFlatOrder = {6, 2, 5, 1, 4, 0, 3};   // B E A D G C F

// The seven modes by the step of the major scale their final stands on.
struct ModeStep {
  int semitones;
  const char* suffix;
};
constexpr std::array<ModeStep, 7> kModes = {
    {{0, ""}, {2, "dor"}, {4, "phr"}, {5, "lyd"}, {7, "mix"}, {9, "m"}, {11, "loc"}}};

// The alteration (-1, 0, +1) the signature gives a letter.
int Alteration(int letter, int count, bool flats) {
  const auto& order = flats ? kFlatOrder : kSharpOrder;
  for (int i = 0; i < count && i < 7; ++i) {
    if (order[static_cast<std::size_t>(i)] == letter) return flats ? -1 : 1;
  }
  return 0;
}

}  // namespace

KeyMode KeyModeOfFinal(int keyCode, int finalPitch) {
  if (keyCode < 0 || keyCode > 15) keyCode = 0;
  const int count = keyCode / 2;
  const bool flats = keyCode % 2 == 1;
  // The major tonic's letter: a fifth up per sharp, a fourth up per flat.
  const int tonicLetter = flats ? (count * 3) % 7 : (count * 4) % 7;
  const int tonicPitch =
      (kLetterPitch[static_cast<std::size_t>(tonicLetter)] + Alteration(tonicLetter, count, flats) + 12) % 12;
  std::size_t step = 0;
  if (finalPitch >= 0) {
    const int interval = ((finalPitch - tonicPitch) % 12 + 12) % 12;
    for (std::size_t s = 0; s < kModes.size(); ++s) {
      if (kModes[s].semitones == interval) step = s;
    }
  }
  const int letter = (tonicLetter + static_cast<int>(step)) % 7;
  const int alteration = Alteration(letter, count, flats);
  KeyMode mode;
  mode.tonic = std::string(1, kLetters[static_cast<std::size_t>(letter)]);
  if (alteration > 0) mode.tonic += '#';
  if (alteration < 0) mode.tonic += 'b';
  mode.suffix = kModes[step].suffix;
  mode.minor = step == 5;
  return mode;
}

KeyMode KeyModeOfTune(int keyCode, int firstPitch, int finalPitch) {
  const bool modal = firstPitch >= 0 && finalPitch >= 0 && firstPitch % 12 == finalPitch % 12;
  return KeyModeOfFinal(keyCode, modal ? finalPitch : -1);
}
