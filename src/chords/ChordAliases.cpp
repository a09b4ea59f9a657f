#include "chords/ChordAliases.h"

#include <string_view>

namespace {

struct Alias {
  std::string_view written;
  std::string_view type;
};

// Written forms and the catalogue types they stand for. The texts are the
// program's single-byte text: "\xB0" is the degree sign, "\xF8" the o with
// a stroke of the half-diminished chord.
constexpr Alias kAliases[] = {
    {"M", "(major)"},
    {"maj", "(major)"},
    {"Maj", "(major)"},
    {"major", "(major)"},
    {"min", "m"},
    {"mi", "m"},
    {"-", "m"},
    {"M7", "maj7"},
    {"Maj7", "maj7"},
    {"ma7", "maj7"},
    {"j7", "maj7"},
    {"min7", "m7"},
    {"mi7", "m7"},
    {"-7", "m7"},
    {"m7-5", "m7b5"},
    {"m7(b5)", "m7b5"},
    {"-7b5", "m7b5"},
    {"\xF8", "m7b5"},
    {"\xF8"
     "7",
     "m7b5"},
    {"o", "dim"},
    {"\xB0", "dim"},
    {"o7", "dim7"},
    {"\xB0"
     "7",
     "dim7"},
    {"+", "aug"},
    {"+5", "aug"},
    {"#5", "aug"},
    {"sus", "sus4"},
    {"7sus", "7sus4"},
    {"2", "sus2"},
    {"add2", "add9"},
    {"min6", "m6"},
    {"mi6", "m6"},
    {"-6", "m6"},
    {"min9", "m9"},
    {"mi9", "m9"},
    {"-9", "m9"},
    {"M9", "maj9"},
    {"Maj9", "maj9"},
    {"ma9", "maj9"},
    {"7+9", "7#9"},
    {"7-9", "7b9"},
    {"dom7", "7"},
};

const Alias* FindAlias(const CString& quality) {
  for (const Alias& alias : kAliases)
    if (alias.written == quality.View()) return &alias;
  return nullptr;
}

}  // namespace

CString CatalogueQuality(const CString& quality) {
  const Alias* alias = FindAlias(quality);
  return alias != nullptr ? CString(alias->type) : quality;
}

bool IsChordAlias(const CString& quality) { return FindAlias(quality) != nullptr; }
