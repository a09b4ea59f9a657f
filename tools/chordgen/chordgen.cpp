// chordgen: turns the chord catalogue (resources/chords/catalogue.txt) into
// the program's chord library strings, written as a C++ table.
//
//   chordgen CATALOGUE OUTPUT.cpp
//
// The build runs it; the program never does. It refuses a catalogue whose
// shapes do not sound their chord (a tone outside the type's intervals, or no
// root), do not fit a diagram of four fret rows, or give a root more
// variations than a library string can hold.
//
// What it writes (string id -> text):
//   12020 + 1000 p + 10 k   type k of the chord block of pitch class p (Ab = 0):
//                           a step digit ('1', '0' for the last type), the
//                           spelling selector, a blank, the type name padded
//                           to 17 characters, then the variations, 7-character
//                           shapes joined by blanks
//   11835 + selector        the spelling: the type's intervals, 5 characters each
//   11835 + ' ', '#', 'b'   the texts of the three accidentals

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kStrings = 6;
constexpr int kMuted = -1;
constexpr int kMaxVariations = 22;  // a library string holds at most 200 characters
constexpr int kMaxIntervals = 7;
constexpr int kNameWidth = 17;
constexpr int kBlockBase = 12020;
constexpr int kBlockStride = 1000;
constexpr int kTypeStride = 10;
constexpr int kSpellingBase = 11835;
constexpr int kLibraryStringLimit = 200;
constexpr int kDiagramRows = 4;
constexpr int kHighestMovableStart = 12;

// Open strings of the standard tuning, lowest first, as pitch classes from Ab.
constexpr std::array<int, kStrings> kOpenStrings = {8, 1, 6, 11, 3, 8};

struct Interval {
  const char* token;
  const char* field;  // its 5-character spelling field
  int semitones;
};

constexpr Interval kIntervals[] = {
    {"R", " R   ", 0},   {"2", "2nd  ", 2},   {"b3", "b3rd ", 3}, {"3", "3rd  ", 4}, {"4", "4th  ", 5},
    {"b5", "b5th ", 6},  {"5", "5th  ", 7},   {"#5", "#5th ", 8}, {"6", "6th  ", 9}, {"bb7", "bb7th", 9},
    {"b7", "b7th ", 10}, {"7", "7th  ", 11},  {"b9", "b9th ", 1}, {"9", "9th  ", 2}, {"#9", "#9th ", 3},
    {"11", "11th ", 5},  {"#11", "#11th", 6}, {"13", "13th ", 9},
};

std::optional<int> RootPitchClass(const std::string& root) {
  static const std::map<std::string, int> roots = {
      {"Ab", 0}, {"G#", 0}, {"A", 1},  {"A#", 2}, {"Bb", 2}, {"B", 3},   {"C", 4},   {"C#", 5}, {"Db", 5},
      {"D", 6},  {"D#", 7}, {"Eb", 7}, {"E", 8},  {"F", 9},  {"F#", 10}, {"Gb", 10}, {"G", 11}};
  const auto it = roots.find(root);
  if (it == roots.end()) return std::nullopt;
  return it->second;
}

using Frets = std::array<int, kStrings>;

struct Voicing {
  bool movable = false;
  int root = 0;  // pitch class the frets are written for
  Frets frets{};
  int line = 0;
};

struct ChordType {
  std::string name;
  std::vector<const Interval*> intervals;
  std::vector<Voicing> voicings;
  int line = 0;
  char selector = 0;
};

[[noreturn]] void Fail(int line, const std::string& message) {
  std::cerr << "catalogue line " << line << ": " << message << "\n";
  std::exit(1);
}

std::optional<Frets> ParseFrets(const std::string& text) {
  Frets frets{};
  int string = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (string == kStrings) return std::nullopt;
    const char c = text[i];
    if (c == 'x') {
      frets[string++] = kMuted;
    } else if (c >= '0' && c <= '9') {
      frets[string++] = c - '0';
    } else if (c == '(') {
      const std::size_t close = text.find(')', i);
      if (close == std::string::npos || close == i + 1) return std::nullopt;
      int value = 0;
      for (std::size_t k = i + 1; k < close; ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
        value = value * 10 + (text[k] - '0');
      }
      frets[string++] = value;
      i = close;
    } else {
      return std::nullopt;
    }
  }
  if (string != kStrings) return std::nullopt;
  return frets;
}

std::string FretText(const Frets& frets) {
  std::string text;
  for (int f : frets) text += f == kMuted ? "x" : f < 10 ? std::to_string(f) : "(" + std::to_string(f) + ")";
  return text;
}

// The tones of the frets as pitch classes, checked against the type.
void CheckSound(const ChordType& type, const Frets& frets, int root, int line) {
  std::set<int> allowed;
  for (const Interval* interval : type.intervals) allowed.insert((root + interval->semitones) % 12);
  bool rootSounds = false;
  int sounding = 0;
  for (int s = 0; s < kStrings; ++s) {
    if (frets[s] == kMuted) continue;
    ++sounding;
    const int tone = (kOpenStrings[s] + frets[s]) % 12;
    if (allowed.count(tone) == 0)
      Fail(line,
           "string " + std::to_string(6 - s) + " of " + FretText(frets) + " is not a tone of " + type.name);
    if (tone == root) rootSounds = true;
  }
  if (sounding < 2) Fail(line, FretText(frets) + " sounds fewer than two strings");
  if (!rootSounds) Fail(line, FretText(frets) + " does not sound the root of " + type.name);
}

std::vector<ChordType> ReadCatalogue(const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << "cannot read " << path << "\n";
    std::exit(1);
  }
  std::vector<ChordType> types;
  std::string text;
  int line = 0;
  while (std::getline(in, text)) {
    ++line;
    std::istringstream words(text);
    std::string keyword;
    // Blank lines and comments ('#' first on the line; '#' also sharpens
    // intervals and roots) are skipped.
    if (!(words >> keyword) || keyword[0] == '#') continue;
    if (keyword == "type") {
      ChordType type;
      type.line = line;
      if (!(words >> type.name)) Fail(line, "a type needs a name");
      if (static_cast<int>(type.name.size()) > kNameWidth) Fail(line, "the type name is too long");
      std::string token;
      while (words >> token) {
        const auto* found = std::find_if(std::begin(kIntervals), std::end(kIntervals),
                                         [&](const Interval& i) { return token == i.token; });
        if (found == std::end(kIntervals)) Fail(line, "unknown interval " + token);
        type.intervals.push_back(found);
      }
      if (type.intervals.empty() || type.intervals.front()->semitones != 0 ||
          std::string(type.intervals.front()->token) != "R")
        Fail(line, "the intervals start with R");
      if (static_cast<int>(type.intervals.size()) > kMaxIntervals) Fail(line, "more than seven intervals");
      for (const ChordType& other : types)
        if (other.name == type.name) Fail(line, "the type " + type.name + " is there twice");
      types.push_back(type);
      continue;
    }
    if (keyword != "open" && keyword != "move") Fail(line, "unknown keyword " + keyword);
    if (types.empty()) Fail(line, "a shape before the first type");
    std::string root, frets;
    if (!(words >> root >> frets)) Fail(line, "a shape needs a root and six frets");
    Voicing voicing;
    voicing.movable = keyword == "move";
    voicing.line = line;
    const std::optional<int> pitch = RootPitchClass(root);
    if (!pitch) Fail(line, "unknown root " + root);
    voicing.root = *pitch;
    const std::optional<Frets> parsed = ParseFrets(frets);
    if (!parsed) Fail(line, "cannot read the frets " + frets);
    voicing.frets = *parsed;
    if (voicing.movable && std::count(voicing.frets.begin(), voicing.frets.end(), 0) > 0)
      Fail(line, "a movable shape cannot use open strings");
    CheckSound(types.back(), voicing.frets, voicing.root, line);
    types.back().voicings.push_back(voicing);
  }
  if (types.empty() || types.front().name != "(major)") Fail(1, "the first type is (major)");
  return types;
}

// The frets of a movable voicing moved to the pitch class, lowest fret 1..12.
Frets MoveTo(const Voicing& voicing, int pitchClass) {
  const int shift = ((pitchClass - voicing.root) % 12 + 12) % 12;
  Frets frets = voicing.frets;
  int lowest = 99;
  for (int& f : frets) {
    if (f == kMuted) continue;
    f += shift;
    lowest = std::min(lowest, f);
  }
  const int down = lowest > kHighestMovableStart ? 12 : 0;
  for (int& f : frets)
    if (f != kMuted) f -= down;
  return frets;
}

int LowestFret(const Frets& frets) {
  int lowest = 99;
  for (int f : frets)
    if (f > 0) lowest = std::min(lowest, f);
  return lowest == 99 ? 0 : lowest;
}

// The 7-character library shape: the base fret, then one character per string
// from the lowest: '0' open, '9' not played, '1'..'4' the fret row; the first
// string of a barre carries ten times the barre's string count more.
std::string EncodeShape(const Frets& frets, int line) {
  int lowest = 99, highest = 0;
  bool open = false;
  for (int f : frets) {
    if (f == 0) open = true;
    if (f <= 0) continue;
    lowest = std::min(lowest, f);
    highest = std::max(highest, f);
  }
  const int base = highest <= kDiagramRows ? 0 : lowest;
  if (base > 0 && highest - base >= kDiagramRows)
    Fail(line, FretText(frets) + " needs more than four fret rows");
  if (base > 24) Fail(line, FretText(frets) + " lies beyond fret 24");
  std::string shape(1, static_cast<char>('0' + base));
  for (int f : frets) {
    if (f == kMuted)
      shape += '9';
    else if (f == 0)
      shape += '0';
    else
      shape += static_cast<char>('0' + (base == 0 ? f : f - base + 1));
  }
  // A barre: the lowest fret held on two or more strings with every string
  // between them fretted, on a shape that uses no open string.
  if (!open && lowest != 99) {
    int first = -1, last = -1;
    for (int s = 0; s < kStrings; ++s) {
      if (frets[s] != lowest) continue;
      if (first < 0) first = s;
      last = s;
    }
    bool covered = last > first;
    for (int s = first; covered && s <= last; ++s) covered = frets[s] >= lowest;
    if (covered) shape[static_cast<std::size_t>(first) + 1] += static_cast<char>(10 * (last - first + 1));
  }
  return shape;
}

std::string CppText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: chordgen CATALOGUE OUTPUT.cpp\n";
    return 2;
  }
  std::vector<ChordType> types = ReadCatalogue(argv[1]);

  // Spelling selectors: 'A' (string 11900) for the major chord, then one
  // letter per further spelling; ' ', '#' and 'b' name the accidental texts.
  std::map<std::string, char> selectors;
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZacdefghijklmnopqrstuvwxyz";
  std::map<int, std::string> strings;
  for (ChordType& type : types) {
    std::string spelling;
    for (const Interval* interval : type.intervals) spelling += interval->field;
    auto [it, added] = selectors.emplace(spelling, 0);
    if (added) {
      if (selectors.size() > letters.size()) Fail(type.line, "too many spellings");
      it->second = letters[selectors.size() - 1];
      strings[kSpellingBase + static_cast<unsigned char>(it->second)] = spelling;
    }
    type.selector = it->second;
  }
  strings[kSpellingBase + ' '] = "natural";
  strings[kSpellingBase + '#'] = "sharp";
  strings[kSpellingBase + 'b'] = "flat";

  if (static_cast<int>(types.size()) * kTypeStride >= kBlockStride) Fail(1, "too many types for a block");
  for (int pitchClass = 0; pitchClass < 12; ++pitchClass) {
    for (std::size_t k = 0; k < types.size(); ++k) {
      const ChordType& type = types[k];
      std::vector<std::pair<Frets, int>> open, movable;  // frets and catalogue line
      for (const Voicing& voicing : type.voicings) {
        if (!voicing.movable) {
          if (voicing.root == pitchClass) open.emplace_back(voicing.frets, voicing.line);
        } else {
          movable.emplace_back(MoveTo(voicing, pitchClass), voicing.line);
        }
      }
      std::stable_sort(movable.begin(), movable.end(), [](const auto& a, const auto& b) {
        return LowestFret(a.first) < LowestFret(b.first);
      });
      std::vector<std::string> shapes;
      for (const auto* list : {&open, &movable}) {
        for (const auto& [frets, line] : *list) {
          CheckSound(type, frets, pitchClass, line);
          const std::string shape = EncodeShape(frets, line);
          if (std::find(shapes.begin(), shapes.end(), shape) == shapes.end()) shapes.push_back(shape);
        }
      }
      if (shapes.empty()) Fail(type.line, type.name + " has no shape for a root");
      if (static_cast<int>(shapes.size()) > kMaxVariations)
        Fail(type.line, type.name + " has too many variations");
      std::string text;
      text += k + 1 < types.size() ? '1' : '0';
      text += type.selector;
      text += ' ';
      text += type.name;
      text.resize(3 + kNameWidth, ' ');
      for (std::size_t v = 0; v < shapes.size(); ++v) text += (v == 0 ? "" : " ") + shapes[v];
      if (static_cast<int>(text.size()) > kLibraryStringLimit)
        Fail(type.line, "a library string is too long");
      strings[kBlockBase + kBlockStride * pitchClass + kTypeStride * static_cast<int>(k)] = text;
    }
  }

  std::ofstream out(argv[2], std::ios::binary);
  out << "// Written by tools/chordgen from resources/chords/catalogue.txt. Do not edit.\n\n"
         "#include \"chords/ChordLibraryData.h\"\n\n"
         "const ChordLibraryString kChordLibraryStrings[] = {\n";
  for (const auto& [id, text] : strings) out << "    {" << id << ", " << CppText(text) << "},\n";
  out << "};\n\nconst int kChordLibraryStringCount = " << strings.size() << ";\n";
  if (!out) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
