#include "translate/AbcReaderState.h"

#include <array>
#include <string_view>

#include "common/Globals.h"
#include "lines/KStaffLine.h"

AbcReaderState::AbcReaderState() = default;
AbcReaderState::~AbcReaderState() = default;

namespace {

AbcReaderState& State() {
  static AbcReaderState state;
  return state;
}

bool IsNonZeroDigit(std::string_view text, int i) {
  return i >= 0 && i < static_cast<int>(text.size()) && text[i] >= '1' && text[i] <= '9';
}

// The value with its leading blanks removed: "K: G" names the tonic G.
std::string_view TrimmedLeft(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

// A decimal number of at most six digits after optional blanks; -1 when none.
int ParseDecimal(std::string_view text) {
  text = TrimmedLeft(text);
  int value = 0;
  int digits = 0;
  while (digits < static_cast<int>(text.size()) && text[digits] >= '0' && text[digits] <= '9') {
    if (digits == 6) return -1;
    value = value * 10 + (text[digits] - '0');
    ++digits;
  }
  return digits > 0 ? value : -1;
}

// Ticks of the first unit fraction ("1/4" ...) found in the text, or 0.
int FindUnitFraction(std::string_view text) {
  static constexpr std::array<std::pair<std::string_view, int>, 6> kFractions{
      {{"1/4", 480}, {"1/8", 240}, {"1/16", 120}, {"1/32", 60}, {"1/2", 960}, {"1/64", 30}}};
  for (const auto& [fraction, ticks] : kFractions) {
    if (text.find(fraction) != std::string_view::npos) return ticks;
  }
  return 0;
}

// Key index by tonic (rows) and mode MIN ION DOR PHY LYD MIX AEO LOC (columns).
constexpr int kModeKeys[16][8] = {
    {7, 0, 5, 9, 2, 3, 7, 11},    {7, 0, 5, 9, 2, 3, 7, 11},    {5, 2, 3, 7, 4, 0, 5, 9},
    {9, 3, 7, 11, 0, 5, 9, 13},   {3, 4, 0, 5, 6, 2, 3, 7},     {11, 5, 9, 13, 3, 7, 11, 10},
    {0, 6, 2, 3, 8, 4, 0, 5},     {13, 7, 11, 15, 5, 9, 13, 2}, {2, 8, 4, 0, 10, 6, 2, 3},
    {15, 9, 13, 8, 7, 11, 15, 6}, {4, 10, 6, 2, 12, 8, 4, 0},   {8, 11, 15, 6, 9, 13, 8, 4},
    {6, 12, 8, 4, 14, 10, 6, 2},  {6, 13, 8, 4, 14, 10, 6, 2},  {8, 14, 10, 6, 9, 12, 8, 4},
    {4, 10, 6, 2, 12, 8, 4, 0}};

}  // namespace

AbcReaderState& GetAbcReaderState() { return State(); }

void ResetAbcReaderState() {
  AbcReaderState& s = State();
  s.unitLength = 240;
  s.meterCode = 404;
  s.tempo = 120;
  s.tempoUnit = 480;
  s.key = 0;
  s.lastKey = -1;
  s.titlePending = s.meterPending = s.tempoPending = true;
  s.continued.reset();
  s.continuedColumn = 0;
  s.continueFlag = false;
  s.chordNamesSeen = false;
}

void ReadAbcKeyField(const CString& value) {
  const std::string_view text = TrimmedLeft(value.View());
  if (text.empty()) return;
  std::string tonic(1, text[0]);
  std::size_t modeStart = 1;
  if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
    tonic += text[1];
    modeStart = 2;
  } else {
    tonic += ' ';
  }
  const std::size_t found = g_AbcKeyTable.View().find(tonic);
  int key = found == std::string_view::npos ? 0 : static_cast<int>(found / 2);

  CString mode(text.substr(modeStart));
  mode.MakeUpper();
  const std::string_view modeText = mode.View();
  static constexpr std::array<std::string_view, 8> kModes{"MIN", "ION", "DOR", "PHY",
                                                          "LYD", "MIX", "AEO", "LOC"};
  int modeIndex = 0;  // 0: major
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    if (modeText.find(kModes[i]) != std::string_view::npos) {
      modeIndex = static_cast<int>(i) + 1;
      break;
    }
  }
  if (modeIndex == 0 &&
      ((!modeText.empty() && modeText[0] == 'M') || (modeText.size() > 1 && modeText[1] == 'M')) &&
      modeText.find("MAJ") == std::string_view::npos) {
    modeIndex = 1;
  }
  if (modeIndex != 0) key = kModeKeys[key][modeIndex - 1];
  State().key = key;
}

void ReadAbcUnitLengthField(const CString& value) {
  const int ticks = FindUnitFraction(value.View());
  if (ticks != 0) State().unitLength = ticks;
}

void ReadAbcMeterField(const CString& value) {
  AbcReaderState& s = State();
  s.unitLength = 240;
  const std::string_view text = value.View();
  if (text.find("C|") != std::string_view::npos) {
    s.meterCode = -202;
    return;
  }
  if (text.find('C') != std::string_view::npos) {
    s.meterCode = -404;
    return;
  }
  const std::size_t slashAt = text.find('/');
  if (slashAt == std::string_view::npos || slashAt == 0) return;
  const int slash = static_cast<int>(slashAt);
  int numerator = 0;
  if (IsNonZeroDigit(text, slash - 1)) {
    numerator = text[slash - 1] - '0';
    if (IsNonZeroDigit(text, slash - 2)) numerator += 10 * (text[slash - 2] - '0');
  }
  int denominator = 0;
  if (IsNonZeroDigit(text, slash + 1)) {
    denominator = text[slash + 1] - '0';
    if (IsNonZeroDigit(text, slash + 2)) denominator = denominator * 10 + (text[slash + 2] - '0');
  }
  if (numerator <= 0 || denominator <= 0) return;
  s.meterCode = numerator * 100 + denominator;
  if (static_cast<double>(numerator) / denominator < 0.75) s.unitLength = 120;
}

void ReadAbcTempoField(const CString& value) {
  AbcReaderState& s = State();
  const std::string_view text = value.View();
  const std::size_t equalsAt = text.find('=');
  std::string_view number = text;
  int unit = s.unitLength;
  if (equalsAt != std::string_view::npos && equalsAt > 0) {
    const std::string_view before = text.substr(0, equalsAt);
    number = text.substr(equalsAt + 1);
    unit = s.tempoUnit;
    if (const int ticks = FindUnitFraction(before); ticks != 0) {
      unit = ticks;
    } else if (const std::size_t digit = before.find_first_of("0123456789");
               digit != std::string_view::npos && digit > 0) {
      unit = static_cast<int>(digit) * s.unitLength;
    }
  }
  s.tempoUnit = unit;
  if (const int bpm = ParseDecimal(number); bpm >= 1 && bpm <= 499) s.tempo = bpm;
  s.tempoPending = true;
}
