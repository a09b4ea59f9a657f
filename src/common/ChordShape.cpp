#include "common/ChordShape.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "common/Globals.h"

namespace {

constexpr int kNoPitch = kNoString;
constexpr int kHighestFretCode = 24;

char CharAt(std::string_view text, std::size_t pos) { return pos < text.size() ? text[pos] : '\0'; }

// A shape prepared for reading its fields.
struct ShapeReading {
  bool readable = false;  // at least 7 characters
  int strings = 6;
  int first = 0;  // index of the first field read
  int last = 4;   // index of the last field read
  int base = 0;   // base fret
  unsigned bits = 0;
  std::string fields;  // the base fret, then the fields lowest string first
  bool holdsNotes = false;

  // Field i as a digit 0..9. A diagram may carry a barre span in the tens
  // (characters up to "0" + 89); anything else counts as 9 (not played).
  int Field(int i) const {
    const int v = static_cast<unsigned char>(CharAt(fields, static_cast<std::size_t>(i) + 1)) - '0';
    return v < 0 || v > 89 ? 9 : v % 10;
  }
  bool PlusFour(int i) const { return ((bits >> (i - first)) & 1u) != 0; }
  // The fret of a field 1..4 of string i.
  int Fret(int i, int f) const {
    if (f == 0) return 0;
    return f + (PlusFour(i) ? 4 : 0) + (base > 0 ? base - 1 : base);
  }
  // The tuning's pitch entry of field i.
  int Entry(int i) const { return std::max(strings - 1, 5) - i; }
};

ShapeReading ReadShape(const CString& shapeText) {
  ShapeReading r;
  std::string copy(shapeText.View());
  if (copy.size() < 7) return r;
  r.readable = true;
  if (copy.size() > 40) copy.resize(40);
  if (!(copy.size() == 40 && copy[36] == '8')) {
    if (copy.size() >= 36 && copy[32] == '7') {
      copy.resize(36);
    } else {
      copy.erase(copy.find_last_not_of(' ') + 1);
    }
  }
  r.strings = GetShapeStringCount(shapeText);
  const int rows = GetShapeFretRows(shapeText);
  r.first = r.strings <= 4 ? 5 - r.strings : 0;
  r.last = r.strings > 5 ? r.strings - 1 : 4;

  const int base = static_cast<unsigned char>(copy[0]) - '0';
  r.base = base >= 0 && base <= kHighestFretCode ? base : 0;

  r.fields = copy.substr(0, 7);
  if (copy.size() >= 36) r.fields.insert(r.fields.begin() + 1, copy[33]);
  if (copy.size() >= 40) r.fields.insert(r.fields.begin() + 1, copy[37]);

  if (rows >= 5 && copy.size() > 25) {
    const int digit = static_cast<unsigned char>(copy[25]) - '0';
    if (digit >= 0 && digit <= 63) r.bits = static_cast<unsigned>(digit);
  }
  if (copy.size() >= 36) r.bits = r.bits * 2 + (copy[34] == '1' ? 1u : 0u);
  if (copy.size() >= 40) r.bits = r.bits * 2 + (copy[38] == '1' ? 1u : 0u);
  if (r.strings <= 4) r.bits >>= 5 - r.strings;

  r.holdsNotes = r.fields.find_first_not_of('9', 1) != std::string::npos;
  return r;
}

// The fret map entry of a fret, or -1 when the tuning cannot play it.
int MapFret(const FretMap& map, int fretCount, int fret) {
  if (fret < 0 || fret > kHighestFretCode || fret > fretCount) return -1;
  return map[static_cast<std::size_t>(fret)];
}

// Order of sharps and of flats as pitch classes (0 = G sharp, 1 = A ... 11 = G).
constexpr int kSharpOrder[7] = {10, 5, 0, 7, 2, 9, 4};
constexpr int kFlatOrder[7] = {2, 7, 0, 5, 10, 3, 8};
// Staff step of each pitch class within its octave; black keys take the step
// of the natural below.
constexpr int kClassStep[12] = {-8, -9, -9, -10, -11, -11, -12, -12, -13, -14, -14, -8};

struct Spelling {
  int accidental = 0;  // 0 none, else its symbol code
  int stepShift = 0;   // -1: written as the key's flat, one step higher
};

Spelling SpellInKey(int pitchClass, int keySignature, bool flatRoot) {
  const int key = keySignature >= 0 && keySignature <= 15 ? keySignature : 0;
  const int count = key / 2;
  // With no sharps or flats in the key the chord's root chooses.
  const bool flats = count == 0 ? flatRoot : key % 2 == 1;
  if (count == 0 && flats) {
    for (int k = 0; k < 5; ++k)
      if (pitchClass == kFlatOrder[k]) return {kShapeFlatCode, -1};
    return {};
  }
  const int looked = count <= 5 ? 5 : 7;
  for (int k = 0; k < looked; ++k) {
    if (k < count) {
      if (!flats) {
        if (pitchClass == kSharpOrder[k]) return {};
        if (pitchClass == (kSharpOrder[k] + 11) % 12) return {kShapeNaturalCode, 0};
      } else {
        if (pitchClass == kFlatOrder[k]) return {0, -1};
        if (pitchClass == (kFlatOrder[k] + 1) % 12) return {kShapeNaturalCode, 0};
      }
    } else if (pitchClass == (flats ? kFlatOrder[k] : kSharpOrder[k])) {
      return {kShapeSharpCode, 0};
    }
  }
  return {};
}

bool HasNote(const std::vector<ShapeNote>& notes, int position, int code) {
  return std::any_of(notes.begin(), notes.end(),
                     [&](const ShapeNote& n) { return n.position == position && n.code == code; });
}

}  // namespace

bool RootSpellsWithFlats(const CString& root) {
  if (root.GetLength() >= 2 && root[1] == 'b') return true;
  return root.GetLength() >= 1 && (root[0] == 'C' || root[0] == 'F') &&
         (root.GetLength() == 1 || root[1] == ' ');
}

ShapeChordNotes ComputeShapeNotes(const CString& shape, const CString& tuning, int keySignature,
                                  bool flatRoot) {
  ShapeChordNotes result;
  const ShapeReading r = ReadShape(shape);
  if (!r.readable || !r.holdsNotes) return result;
  result.holdsNotes = true;

  TuningPitches pitches{};
  ParseTuningString(tuning, 0, pitches);
  FretMap map{};
  const int fretCount = ParseFretList(tuning, &map);
  const int headCode = static_cast<int>(static_cast<unsigned>(g_CurrentNoteCode) % 256u);
  const int rowBase = r.strings == 7 ? 8 : r.strings == 8 ? 9 : 7;

  for (int i = r.first; i <= r.last; ++i) {
    const int f = r.Field(i);
    if (f >= 5) continue;
    const int stringPitch = pitches[static_cast<std::size_t>(r.Entry(i))];
    if (stringPitch <= kNoPitch) continue;
    const int fret = r.Fret(i, f);
    const int semitones = MapFret(map, fretCount, fret);
    if (semitones < 0) continue;

    result.tab.push_back({rowBase - i, kShapeFirstFretCode + fret});

    const int sounding = stringPitch + semitones;
    const int pitchClass = ((sounding % 12) + 12) % 12;
    const Spelling spelling = SpellInKey(pitchClass, keySignature, flatRoot);
    const int step = 7 * ((82 - sounding) / 12 + 2) + kClassStep[pitchClass] + spelling.stepShift;
    // A column stores steps as bytes; a pitch that far off the staff is not written.
    if (step < 0 || step > 255) continue;
    // A unison of two strings is written once: adding its accidental again
    // would turn it into the partner sign.
    if (HasNote(result.staff, step, headCode)) continue;
    result.staff.push_back({step, headCode});
    if (spelling.accidental != 0) result.staff.push_back({step, spelling.accidental});
  }
  return result;
}

void GetShapePitches(const CString& shape, const CString& tuning, ShapeValues& pitches, ShapeValues& frets,
                     ShapeValues& marks) {
  pitches.fill(kNoPitch);
  marks.fill(0);
  frets.fill(0);
  const ShapeReading r = ReadShape(shape);
  if (!r.readable) return;

  TuningPitches tuningPitches{};
  ParseTuningString(tuning, 0, tuningPitches);
  FretMap map{};
  const int fretCount = ParseFretList(tuning, &map);

  for (int i = r.first; i <= r.last; ++i) {
    const auto entry = static_cast<std::size_t>(r.Entry(i));
    int f = r.Field(i);
    pitches[entry] = kNoPitch;
    frets[entry] = -1;
    if (f == 9) continue;
    if (f >= 5) {
      marks[entry] = 1;
      f -= 4;
    }
    const int stringPitch = tuningPitches[entry];
    if (stringPitch < -8) continue;
    const int fret = r.Fret(i, f);
    const int semitones = MapFret(map, fretCount, fret);
    if (semitones < 0) continue;
    frets[entry] = fret;
    pitches[entry] = stringPitch + semitones;
  }
}

CString EmptyChordShape(int strings) {
  switch (strings) {
    case 2:
      return "0999999         0000000240";
    case 3:
      return "0999999         0000000340";
    case 4:
      return "0999999         0000000440";
    case 5:
      return "0999999         0000000540";
    // The seventh and eighth strings' fields are read only from shapes of 36
    // and 40 characters: the blank after each field belongs to the shape.
    case 7:
      return "0999999         0000000640      790 ";
    case 8:
      return "0999999         0000000640      790 890 ";
    default:
      return "0999999";
  }
}
