#include "translate/AbcReaderState.h"

#include <array>
#include <string>
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

// Ticks of a tempo's beat: note lengths "3/8", several of them adding up
// ("1/4 1/8"), or "C" for the unit length and "C3" for three of them; 0 when
// none is written or one is out of range.
int TempoBeatTicks(std::string_view text, int unitLength) {
  long ticks = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == 'C') {
      ++i;
      long count = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9' && count < 1000)
        count = count * 10 + (text[i++] - '0');
      ticks += static_cast<long>(unitLength) * (count > 0 ? count : 1);
      continue;
    }
    if (c < '0' || c > '9') {
      ++i;
      continue;
    }
    long numerator = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && numerator < 1000)
      numerator = numerator * 10 + (text[i++] - '0');
    long denominator = 1;
    if (i < text.size() && text[i] == '/') {
      ++i;
      denominator = 0;
      while (i < text.size() && text[i] >= '0' && text[i] <= '9' && denominator < 1000)
        denominator = denominator * 10 + (text[i++] - '0');
      if (denominator == 0) return 0;
      ticks += 1920 * numerator / denominator;
    } else {
      // A count without a fraction counts unit lengths.
      ticks += static_cast<long>(unitLength) * numerator;
    }
    if (ticks > 1920 * 4) return 0;
  }
  return static_cast<int>(ticks);
}

// Key index by tonic (rows) and mode MIN ION DOR PHR LYD MIX AEO LOC (columns).
constexpr int kModeKeys[16][8] = {
    {7, 0, 5, 9, 2, 3, 7, 11},    {7, 0, 5, 9, 2, 3, 7, 11},    {5, 2, 3, 7, 4, 0, 5, 9},
    {9, 3, 7, 11, 0, 5, 9, 13},   {3, 4, 0, 5, 6, 2, 3, 7},     {11, 5, 9, 13, 3, 7, 11, 10},
    {0, 6, 2, 3, 8, 4, 0, 5},     {13, 7, 11, 15, 5, 9, 13, 2}, {2, 8, 4, 0, 10, 6, 2, 3},
    {15, 9, 13, 8, 7, 11, 15, 6}, {4, 10, 6, 2, 12, 8, 4, 0},   {8, 11, 15, 6, 9, 13, 8, 4},
    {6, 12, 8, 4, 14, 10, 6, 2},  {6, 13, 8, 4, 14, 10, 6, 2},  {8, 14, 10, 6, 9, 12, 8, 4},
    {4, 15, 6, 2, 12, 8, 4, 0}};
constexpr int kMajor = 0;
constexpr int kIonian = 2;
constexpr int kNotAMode = -1;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
int LetterIndex(char c) {
  const char lower = Lower(c);
  return lower >= 'a' && lower <= 'g' ? lower - 'a' : -1;
}

// The column (1..8) of a mode word in kModeKeys, kMajor for major, or
// kNotAMode. Modes are known by their first three letters, as the standard
// abbreviations and whole names both begin ("mix", "Mixolydian"); "m" alone
// is minor.
int ModeOfWord(std::string_view word) {
  std::string lower;
  for (char c : word) lower += Lower(c);
  if (lower == "m") return 1;
  if (lower.size() < 3) return kNotAMode;
  static constexpr std::array<std::pair<std::string_view, int>, 9> kModes{{{"maj", kMajor},
                                                                           {"min", 1},
                                                                           {"ion", kIonian},
                                                                           {"dor", 3},
                                                                           {"phr", 4},
                                                                           {"lyd", 5},
                                                                           {"mix", 6},
                                                                           {"aeo", 7},
                                                                           {"loc", 8}}};
  for (const auto& [name, mode] : kModes) {
    if (lower.compare(0, 3, name) == 0) return mode;
  }
  return kNotAMode;
}

// The staff kind of a clef name ("bass", "treble-8"), or -1. A clef set on
// another staff line ("alto1", "bass3", "treble2") takes the staff of its
// kind; "alto4" is the tenor clef.
int ClefKind(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, int>, 17> kClefs{{{"treble", 0},
                                                                            {"bass", 1},
                                                                            {"alto", 9},
                                                                            {"tenor", 10},
                                                                            {"treble+8", 11},
                                                                            {"treble-8", 12},
                                                                            {"treble8", 11},
                                                                            {"treble1", 0},
                                                                            {"treble2", 0},
                                                                            {"bass3", 1},
                                                                            {"bass4", 1},
                                                                            {"bass5", 1},
                                                                            {"alto1", 9},
                                                                            {"alto2", 9},
                                                                            {"alto3", 9},
                                                                            {"alto4", 10},
                                                                            {"tenor4", 10}}};
  for (const auto& [word, kind] : kClefs) {
    if (name == word) return kind;
  }
  return -1;
}

// Reads the clef of a clause or word: "clef=bass" or "bass", "octave=-1".
// True when the word was one of them.
bool ReadClefWord(const std::string& word, AbcReaderState& s) {
  if (word.compare(0, 5, "clef=") == 0) {
    if (const int kind = ClefKind(word.substr(5)); kind >= 0) s.clef = kind;
    return true;
  }
  if (word.compare(0, 7, "octave=") == 0) {
    const std::string value = word.substr(7);
    if (value == "-2" || value == "-1" || value == "0" || value == "1" || value == "2" || value == "+1" ||
        value == "+2")
      s.octave = std::stoi(value);
    return true;
  }
  if (const int kind = ClefKind(word); kind >= 0) {
    s.clef = kind;
    return true;
  }
  return false;
}

std::string LowerWord(std::string_view text) {
  std::string word;
  for (char w : text) word += Lower(w);
  return word;
}

// Reads the accidentals and words after the tonic and mode: "^f", "__b",
// "=c" set a letter; "exp" (or "explicit") says the listed accidentals are
// the whole signature; a clef ("clef=bass", "bass") and "octave=" change how
// the letters are placed; other clauses such as "middle=d" are passed over.
void ReadKeyModifiers(std::string_view text, std::array<int, 7>& written, std::array<bool, 7>& given,
                      bool& explicitOnly) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsBlank(c)) {
      ++i;
      continue;
    }
    if (c == '^' || c == '_' || c == '=') {
      int semitones = c == '^' ? 1 : c == '_' ? -1 : 0;
      std::size_t j = i + 1;
      if (c != '=' && j < text.size() && text[j] == c) {
        semitones *= 2;
        ++j;
      }
      if (j < text.size() && LetterIndex(text[j]) >= 0) {
        written[static_cast<std::size_t>(LetterIndex(text[j]))] = semitones;
        given[static_cast<std::size_t>(LetterIndex(text[j]))] = true;
        i = j + 1;
        continue;
      }
    }
    // A word or clause up to the next blank.
    std::size_t end = i;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    const std::string word = LowerWord(text.substr(i, end - i));
    if (word == "exp" || word == "explicit") explicitOnly = true;
    ReadClefWord(word, State());
    i = end;
  }
}

int Differences(const std::array<int, 7>& a, const std::array<int, 7>& b) {
  int count = 0;
  for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1 : 0;
  return count;
}

}  // namespace

std::array<int, 7> AbcKeySignatureAccidentals(int key) {
  std::array<int, 7> accidentals{};
  if (key < 0 || key > 15) return accidentals;
  static constexpr std::string_view kSharps = "FCGDAEB";
  static constexpr std::string_view kFlats = "BEADGCF";
  const bool flats = key % 2 == 1;
  const int count = key / 2;
  for (int i = 0; i < count && i < 7; ++i) {
    const char letter = (flats ? kFlats : kSharps)[static_cast<std::size_t>(i)];
    accidentals[static_cast<std::size_t>(letter - 'A')] = flats ? -1 : 1;
  }
  return accidentals;
}

AbcReaderState& GetAbcReaderState() { return State(); }

void StartAbcTune() {
  AbcReaderState& s = State();
  s.unitLength = 240;
  s.unitLengthFixed = false;
  s.meterCode = 404;
  s.tempo = 120;
  s.tempoUnit = 480;
  s.key = 0;
  s.clef = 0;
  s.octave = 0;
  s.keyAccidentals = {};
  s.lastKey = -1;
  s.titlePending = s.meterPending = s.tempoPending = true;
  s.fieldContinued = 0;
  s.lastField = 0;
  s.brokenRhythmCarried = 0;
  s.heldAccidentals.clear();
  s.openArcs.clear();
  s.slursFromLastLine = 0;
}

void ResetAbcReaderState() {
  StartAbcTune();
  AbcReaderState& s = State();
  s.continued.reset();
  s.continuedColumn = 0;
  s.continueFlag = false;
  s.chordNamesSeen = false;
  s.inBlock = false;
}

std::unique_ptr<KStaffLine> TakeContinuedAbcLine() {
  AbcReaderState& s = State();
  s.continueFlag = false;
  s.continuedColumn = 0;
  s.openArcs.clear();
  return std::move(s.continued);
}

void ReadAbcKeyField(const CString& value) {
  AbcReaderState& s = State();
  std::string_view text = TrimmedLeft(value.View());
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return;
  // A field that names only a clef ("K:clef=bass", "K:bass") keeps the key.
  {
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    const std::string first = LowerWord(text.substr(0, end));
    if (first.compare(0, 5, "clef=") == 0 || first.compare(0, 7, "octave=") == 0 || ClefKind(first) >= 0) {
      std::array<int, 7> written{};
      std::array<bool, 7> given{};
      bool explicitOnly = false;
      ReadKeyModifiers(text, written, given, explicitOnly);
      return;
    }
  }
  // The keys of the Highland bagpipe: no signature, or F and C sharp.
  if (text.substr(0, 2) == "HP" || text.substr(0, 2) == "Hp") {
    s.key = text[1] == 'P' ? 0 : 4;
    s.keyAccidentals = AbcKeySignatureAccidentals(s.key);
    s.unitLengthFixed = true;
    return;
  }
  int key = 0;
  std::size_t rest = 0;
  int mode = kMajor;
  if (LetterIndex(text[0]) >= 0) {
    std::string tonic(1, static_cast<char>(text[0] - (text[0] >= 'a' ? 'a' - 'A' : 0)));
    rest = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
      tonic += text[1];
      rest = 2;
    } else {
      tonic += ' ';
    }
    const std::size_t found = g_AbcKeyTable.View().find(tonic);
    key = found == std::string_view::npos ? 0 : static_cast<int>(found / 2);
    // The mode: the word after the tonic, when it names one.
    std::size_t start = rest;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::size_t end = start;
    while (end < text.size() && IsLetter(text[end])) ++end;
    const bool clause = end < text.size() && text[end] == '=';
    if (end > start && !clause) {
      if (const int named = ModeOfWord(text.substr(start, end - start)); named != kNotAMode) {
        mode = named;
        rest = end;
      }
    }
  }
  if (mode != kMajor && mode != kIonian) key = kModeKeys[key][mode - 1];

  std::array<int, 7> written{};
  std::array<bool, 7> given{};
  bool explicitOnly = false;
  ReadKeyModifiers(text.substr(rest), written, given, explicitOnly);
  std::array<int, 7> wanted = explicitOnly ? std::array<int, 7>{} : AbcKeySignatureAccidentals(key);
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    if (given[i]) wanted[i] = written[i];
  }
  // The key whose signature says the most of what is wanted; the rest is
  // written beside the notes.
  int best = key;
  int fewest = Differences(wanted, AbcKeySignatureAccidentals(key));
  for (int candidate = 0; candidate <= 15 && fewest > 0; ++candidate) {
    if (candidate == 1) continue;
    const int differences = Differences(wanted, AbcKeySignatureAccidentals(candidate));
    if (differences < fewest) {
      best = candidate;
      fewest = differences;
    }
  }
  s.key = best;
  s.keyAccidentals = wanted;
  // The header ends with the key: from here on a meter keeps the unit length.
  s.unitLengthFixed = true;
}

void ReadAbcUnitLengthField(const CString& value) {
  const int ticks = FindUnitFraction(value.View());
  if (ticks == 0) return;
  State().unitLength = ticks;
  State().unitLengthFixed = true;
}

void ReadAbcMeterField(const CString& value) {
  AbcReaderState& s = State();
  if (!s.unitLengthFixed) s.unitLength = 240;
  // A meter within a tune is shown where the music goes on.
  s.meterPending = true;
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
  if (!s.unitLengthFixed && static_cast<double>(numerator) / denominator < 0.75) s.unitLength = 120;
}

void ReadAbcTempoField(const CString& value) {
  AbcReaderState& s = State();
  // Quoted words ("Allegro") name the tempo; they are no part of the numbers.
  std::string text;
  bool quoted = false;
  for (const char c : value.View()) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted) {
      text += c;
    }
  }
  s.tempoPending = true;
  const std::size_t equalsAt = text.find('=');
  if (equalsAt == std::string::npos) {
    // A number alone counts quarter notes.
    if (const int bpm = ParseDecimal(text); bpm >= 1 && bpm <= 499) {
      s.tempo = bpm;
      s.tempoUnit = 480;
    }
    return;
  }
  const int bpm = ParseDecimal(std::string_view(text).substr(equalsAt + 1));
  if (bpm < 1 || bpm > 499) return;
  const int unit = TempoBeatTicks(std::string_view(text).substr(0, equalsAt), s.unitLength);
  if (unit <= 0) return;
  s.tempo = bpm;
  s.tempoUnit = unit;
}
