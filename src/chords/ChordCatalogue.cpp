#include "chords/ChordCatalogue.h"

#include <algorithm>

#include "chords/ChordAliases.h"
#include "chords/ChordLibrary.h"
#include "chords/ChordNames.h"
#include "common/ChordShape.h"
#include "common/TuningCodec.h"

namespace {

constexpr int kMaxTypeStrings = 500;
constexpr int kTypeNameStart = 3;
constexpr int kTypeNameLength = 17;
constexpr int kVariationStart = 20;
constexpr int kVariationStride = 8;
constexpr int kShapeLength = 7;
constexpr int kSixStrings = 6;
constexpr int kRows = 4;

// A 7-character shape of six frets (lowest string first, -1 muted).
CString EncodeSixStrings(const std::array<int, kSixStrings>& frets) {
  int lowest = 99, highest = 0;
  for (int f : frets) {
    if (f <= 0) continue;
    lowest = std::min(lowest, f);
    highest = std::max(highest, f);
  }
  const int base = highest <= kRows ? 0 : lowest;
  CString shape(static_cast<char>('0' + base));
  for (int f : frets) {
    if (f < 0)
      shape += '9';
    else if (f == 0)
      shape += '0';
    else
      shape += static_cast<char>('0' + (base == 0 ? f : f - base + 1));
  }
  return shape;
}

}  // namespace

int LibraryBlockId(int rootIndex) {
  return kChordBlockFirstId + kChordBlockStride * ChordRootPitch(rootIndex);
}

CString LibraryTypeName(const CString& typeString) {
  CString name = typeString.Mid(kTypeNameStart, kTypeNameLength);
  const int blank = name.Find(' ');
  return blank >= 0 ? name.Left(blank) : name;
}

int LibraryVariationCount(const CString& typeString) {
  return std::max(0, (typeString.GetLength() - 19) / kVariationStride);
}

CString LibraryVariation(const CString& typeString, int n) {
  return typeString.Mid(12 + kVariationStride * n, kShapeLength);
}

std::vector<CString> LibraryVariations(const CString& typeString) {
  std::vector<CString> shapes;
  const int count = LibraryVariationCount(typeString);
  for (int n = 1; n <= count; ++n) shapes.push_back(LibraryVariation(typeString, n));
  return shapes;
}

LibraryLookup FindLibraryType(KChordNameSources& sources, int rootIndex, const CString& quality,
                              LibraryType& out, bool needSpelling) {
  if (ChordRootPitch(rootIndex) < 0) return LibraryLookup::kAbsent;
  const CString wanted = CatalogueQuality(quality);
  int id = LibraryBlockId(rootIndex);
  for (int row = 0; row < kMaxTypeStrings; ++row) {
    CString text;
    if (sources.LoadChordDllString(id, text) <= 0) return LibraryLookup::kMissingType;
    CString spelling;
    if (needSpelling &&
        (text.GetLength() < 2 ||
         sources.LoadChordDllString(kChordSpellingBase + static_cast<unsigned char>(text[1]), spelling) <= 0))
      return LibraryLookup::kMissingSpelling;
    if (LibraryTypeName(text) == wanted) {
      out.id = id;
      out.text = text;
      out.name = wanted;
      out.spelling = spelling;
      return LibraryLookup::kFound;
    }
    const char step = text.GetAt(0);
    if (step < '1' || step > '9') return LibraryLookup::kAbsent;
    id += 10 * (step - '0');
  }
  return LibraryLookup::kAbsent;
}

CString SlashChordShape(const std::vector<CString>& shapes, int bassPitch, const CString& tuning) {
  if (shapes.empty()) return CString();
  TuningPitches open{};
  ParseTuningString(tuning, 0, open);
  if (GetTuningStringCount(tuning) != kSixStrings) return shapes.front();
  for (const CString& shape : shapes) {
    ShapeValues pitches{}, frets{}, marks{};
    GetShapePitches(shape, tuning, pitches, frets, marks);
    // Entry 5 is the lowest string, entry 0 the highest.
    for (int s = kSixStrings - 1; s >= kSixStrings - 3; --s) {
      for (int f = 0; f <= 24; ++f) {
        if (((open[s] + f) % 12 + 12) % 12 != bassPitch) continue;
        const int bass = open[s] + f;
        int lowest = f > 0 ? f : 99, highest = f, sounding = 1;
        bool fits = true;
        for (int other = s - 1; other >= 0 && fits; --other) {
          if (pitches[other] <= -9) continue;
          ++sounding;
          if (pitches[other] < bass) fits = false;
          if (frets[other] > 0) {
            lowest = std::min(lowest, frets[other]);
            highest = std::max(highest, frets[other]);
          }
        }
        if (!fits || sounding < 3 || (lowest != 99 && highest - lowest >= kRows)) continue;
        std::array<int, kSixStrings> played{};
        for (int i = 0; i < kSixStrings; ++i) {
          const int entry = kSixStrings - 1 - i;  // lowest string first
          played[i] = entry > s ? -1 : entry == s ? f : (pitches[entry] <= -9 ? -1 : frets[entry]);
        }
        return EncodeSixStrings(played);
      }
    }
  }
  return shapes.front();
}
