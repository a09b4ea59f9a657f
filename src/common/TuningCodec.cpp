#include "common/TuningCodec.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "common/Globals.h"
#include "common/NumberText.h"
#include "platform/UiPort.h"

namespace {

constexpr std::string_view kFretListMarker = "!@@!";
constexpr int kDefaultFretCount = 24;
// Fret values beyond this are nonsense; keeping them small keeps the octave
// repetition of the map free of overflow.
constexpr int kFretValueLimit = 1000;

char CharAt(std::string_view text, std::size_t pos) { return pos < text.size() ? text[pos] : '\0'; }
// A position that is absent counts as blank.
bool IsBlankAt(std::string_view text, std::size_t pos) { return pos >= text.size() || text[pos] == ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The tuning without its fret list (cut when the marker is past the start).
std::string_view WithoutFretList(std::string_view tuning) {
  std::size_t marker = tuning.find(kFretListMarker);
  return marker != std::string_view::npos && marker > 0 ? tuning.substr(0, marker) : tuning;
}

// The value of a two-digit pitch cell: its leading decimal digits.
int TwoDigitValue(std::string_view cell) {
  int value = 0;
  for (char c : cell.substr(0, 2)) {
    if (!IsDigit(c)) break;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Reads the six pitch numbers at positions 13-24 into entries 5..0. Returns
// false, changing nothing, when the field is missing or does not begin with a digit.
bool ReadPitchField(std::string_view tuning, TuningPitches& pitches) {
  if (tuning.size() < 25 || !IsDigit(tuning[13])) return false;
  std::string_view field = tuning.substr(13, 12);
  for (int cell = 0; cell < 6; ++cell) {
    int entry = 5 - cell;
    int value = TwoDigitValue(field.substr(2 * cell, 2));
    // An absent string reads "00"; strings 2 and 3 (entries 1 and 2) are never absent.
    if (value == 0 && entry != 1 && entry != 2) value = kNoString;
    pitches[entry] = value;
  }
  return true;
}

// Pitch of a seventh or eighth string coded as one character.
int ExtraStringPitch(char code, bool bass) { return static_cast<unsigned char>(code) - (bass ? 40 : 20); }

// The cell index (0..11) of a two-character name in a table of cells, or -1.
int FindNameCell(const CString& table, std::string_view name) {
  std::string_view cells = table.View();
  for (std::size_t cell = 0; cell + 2 <= cells.size(); cell += 2) {
    if (cells.substr(cell, 2) == name) return static_cast<int>(cell / 2);
  }
  return -1;
}

// The two characters of the name at pos, blank-padded where the text ends.
std::string NameAt(std::string_view text, std::size_t pos) {
  std::string name(2, ' ');
  for (std::size_t i = 0; i < 2; ++i) {
    if (pos + i < text.size()) name[i] = text[pos + i];
  }
  return name;
}

// Semitones from the reference name to the given name, the shorter way round;
// 0 when either is not a note name.
int NameDifference(std::string_view given, std::string_view reference) {
  const CString* table = &g_NoteNamesSharp;
  int givenCell = FindNameCell(*table, given);
  if (givenCell < 0) {
    table = &g_NoteNamesFlat;
    givenCell = FindNameCell(*table, given);
  }
  int referenceCell = FindNameCell(*table, reference);
  if (givenCell < 0 || referenceCell < 0) return 0;
  int d = givenCell - referenceCell;
  if (d > 6) d -= 12;
  if (d < -6) d += 12;
  return d;
}

// Layout of a tuning without pitch numbers: its reference tuning and the
// entries of its strings.
struct TuningLayout {
  const CString* reference;
  int firstEntry;
  int lastEntry;
};

TuningLayout LayoutOf(std::string_view tuning, bool bass) {
  if (!IsBlankAt(tuning, 0)) {
    if (!IsBlankAt(tuning, 10)) return {bass ? &g_TuningBass6 : &g_TuningGuitar, 0, 5};
    return {bass ? &g_TuningBass5 : &g_TuningFiveString, 1, 5};
  }
  if (!IsBlankAt(tuning, 2)) return {bass ? &g_TuningBass4 : &g_TuningFourString, 1, 4};
  // Three and two strings take the pitches of the reference whose names they
  // are corrected against, so that pitches and names agree.
  if (!IsBlankAt(tuning, 4)) return {bass ? &g_TuningBass3 : &g_TuningDiatonic, 1, 3};
  return {bass ? &g_TuningBass2 : &g_TuningTwoString, 1, 2};
}

void FillIdentity(FretMap& map) {
  for (int k = 0; k < kFretMapSize; ++k) map[k] = k;
}

// From fret `octave` on, every fret repeats the pattern an octave higher.
void RepeatOctave(FretMap& map, int octave) {
  for (int k = octave + 1; k < kFretMapSize; ++k) map[k] = map[k - octave] + 12;
}

void ClampFretValues(FretMap& map) {
  for (int& value : map) value = std::clamp(value, -kFretValueLimit, kFretValueLimit);
}

}  // namespace

void ParseTuningString(const CString& tuningText, int flags, TuningPitches& pitches) {
  std::string_view tuning = WithoutFretList(tuningText.View());
  bool bassMark = CharAt(tuning, 12) == '*';
  pitches[6] = tuning.size() > 25 && tuning[25] != ' ' ? ExtraStringPitch(tuning[25], bassMark) : kNoString;
  pitches[7] = tuning.size() > 26 && tuning[26] != ' ' ? ExtraStringPitch(tuning[26], bassMark) : kNoString;
  if (ReadPitchField(tuning, pitches)) return;

  // No pitch numbers: the pitches of the reference tuning of the same layout,
  // each string moved by the difference between its name and the reference's.
  TuningLayout layout = LayoutOf(tuning, (flags & kTuningFlagBass) != 0);
  std::string_view reference = layout.reference->View();
  ReadPitchField(reference, pitches);
  if (tuning.size() == 1) return;
  for (int entry = layout.firstEntry; entry <= layout.lastEntry; ++entry) {
    std::size_t pos = static_cast<std::size_t>(5 - entry) * 2;
    int d = NameDifference(NameAt(tuning, pos), NameAt(reference, pos));
    if (pitches[entry] != kNoString) pitches[entry] += d;
  }
}

int GetTuningStringCount(const CString& tuningText) {
  std::string_view tuning = WithoutFretList(tuningText.View());
  if (IsBlankAt(tuning, 4)) return 2;
  if (IsBlankAt(tuning, 2)) return 3;
  if (IsBlankAt(tuning, 0)) return 4;
  if (IsBlankAt(tuning, 10)) return 5;
  // A blank seventh or eighth string character stands for no string.
  if (tuning.size() == 26) return IsBlankAt(tuning, 25) ? 6 : 7;
  if (tuning.size() == 27) {
    if (IsBlankAt(tuning, 25)) return 6;
    return IsBlankAt(tuning, 26) ? 7 : 8;
  }
  return 6;
}

int GetTuningNoteNames(const CString& tuningText, CString& names) {
  std::string_view tuning = WithoutFretList(tuningText.View());
  bool bassMark = CharAt(tuning, 12) == '*';
  CString result;
  if (tuning.size() > 26 && tuning[26] != ' ' && tuning[25] != ' ') {
    result += PitchNameOf(ExtraStringPitch(tuning[26], bassMark));
  }
  if (tuning.size() > 25 && tuning[25] != ' ') result += PitchNameOf(ExtraStringPitch(tuning[25], bassMark));
  auto append = [&](std::size_t pos) {
    if (pos < tuning.size()) result += CString(tuning.substr(pos, 2));
  };
  for (std::size_t pos : {0, 2, 4}) {
    if (!IsBlankAt(tuning, pos)) append(pos);
  }
  append(6);
  append(8);
  if (!IsBlankAt(tuning, 10)) append(10);
  names = result;
  return names.GetLength() / 2;
}

CString NormalizeTuningName(const CString& tuningText) {
  std::string_view tuning = tuningText.View();
  if (tuning.size() <= 14) return tuningText;
  char startFret = tuning[12];
  if (startFret < '1' || startFret > '9') return tuningText;
  int pitch = TwoDigitValue(tuning.substr(13, 2)) + (startFret - '0');
  CString result = tuningText;
  const CString& name = PitchNameOf(pitch);
  result.SetAt(0, name.GetAt(0));
  result.SetAt(1, name.GetAt(1));
  return result;
}

int ParseFretList(const CString& tuningText, FretMap* map) {
  std::string_view tuning = tuningText.View();
  std::size_t marker = tuning.find(kFretListMarker);
  std::string_view list = marker == std::string_view::npos ? std::string_view{} : tuning.substr(marker + 4);

  // Frets not given in the list stay chromatic.
  if (map != nullptr) FillIdentity(*map);
  int fretCount = kDefaultFretCount;
  if (list.size() >= 27) {
    // The number of frets, then the semitones of frets 1..12.
    int values[13] = {fretCount, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    int read = ScanCommaIntegers(list, values);
    fretCount = values[0];
    if (map != nullptr) {
      // Only a fret the list gives can close the octave.
      int given = std::max(read - 1, 0);
      std::copy(values + 1, values + 1 + given, map->begin() + 1);
      ClampFretValues(*map);
      auto octave = std::find(map->begin() + 1, map->begin() + 1 + given, 12);
      if (octave != map->begin() + 1 + given) {
        RepeatOctave(*map, static_cast<int>(octave - map->begin()));
      } else {
        FillIdentity(*map);
      }
    }
  } else if (list.size() >= 5) {
    // The semitones of frets 1..12; the number of frets stays 24.
    if (map != nullptr) {
      int read = ScanCommaIntegers(list, std::span<int>(map->data() + 1, 12));
      ClampFretValues(*map);
      if (read >= 1 && (*map)[read] == 12) RepeatOctave(*map, read);
    }
  } else if (!list.empty()) {
    // The number of frets only; an unreadable one leaves 24.
    ScanCommaIntegers(list, std::span<int>(&fretCount, 1));
  }
  // The map covers frets 0..24; no list can give more.
  return std::clamp(fretCount, 0, kDefaultFretCount);
}

int GetFretLabels(const CString& tuning, FretLabels& labels) {
  // The plain numbers, made once (every tablature line asks as it loads).
  static const FretLabels kNumbers = [] {
    FretLabels numbers;
    for (int k = 0; k < kFretMapSize; ++k) numbers[k] = CString(std::to_string(k).c_str());
    return numbers;
  }();
  labels = kNumbers;
  if (g_HalfFretLabels == 0) return 0;
  FretMap map{};
  ParseFretList(tuning, &map);
  if (map[0] != 0 || map[1] != 2) return 0;

  auto startsWith = [&](std::initializer_list<int> frets) {
    return std::equal(frets.begin(), frets.end(), map.begin() + 2);
  };
  static constexpr const char* kDulcimerLabels[kFretMapSize] = {
      "0",  "1",  "1+", "2",  "3",   "4",  "5",  "6",   "6+", "7",  "8",  "8+", "9",
      "10", "11", "12", "13", "13+", "14", "15", "15+", "16", "17", "18", "19"};
  static constexpr const char* kMixolydianLabels[kFretMapSize] = {
      "0",  "1",  "2",   "3",  "4",  "5",  "6",  "6+", "7",  "8",  "9",   "10", "11",
      "12", "13", "13+", "14", "15", "16", "17", "18", "19", "20", "20+", "21"};
  const char* const* chosen = nullptr;
  if (startsWith({3, 4, 5, 7, 9, 10, 11, 12})) {
    chosen = kDulcimerLabels;
  } else if (startsWith({4, 5, 7, 9, 10, 12})) {
    return 1;  // a half-fret layout whose frets keep their plain numbers
  } else if (startsWith({4, 5, 7, 9, 10, 11, 12})) {
    chosen = kMixolydianLabels;
  } else {
    return 0;
  }
  for (int k = 0; k < kFretMapSize; ++k) labels[k] = chosen[k];
  return 1;
}

int FindFretIndex(const FretMap& map, int semitone, bool beep) {
  for (int k = 0; k < kFretMapSize; ++k) {
    if (map[k] >= semitone) {
      if (map[k] == semitone) return k;
      break;
    }
  }
  if (beep) MessageBeep(MB_ICONASTERISK);
  return -1;
}

namespace {

// The part of a chord shape string that its counts are read from, and the
// largest fret-row count held by its extension bytes.
struct ShapeHead {
  std::string text;
  int extensionRows = 0;
};

ShapeHead ReadShapeHead(const CString& shape) {
  ShapeHead head{std::string(shape.View()), 0};
  if (head.text.size() > 40) {
    for (std::size_t i = 40; i < head.text.size(); ++i) {
      head.extensionRows = std::max(head.extensionRows, (static_cast<unsigned char>(head.text[i]) >> 1) & 7);
    }
    head.text.resize(40);
  }
  if (CharAt(head.text, 36) != '8') {
    if (CharAt(head.text, 32) == '7') {
      head.text.resize(std::min<std::size_t>(head.text.size(), 36));
    } else {
      head.text.erase(head.text.find_last_not_of(' ') + 1);
    }
  }
  return head;
}

}  // namespace

int GetShapeStringCount(const CString& shape) {
  ShapeHead head = ReadShapeHead(shape);
  std::size_t length = head.text.size();
  if (length > 35) return length < 40 ? 7 : 8;
  if (length > 24 && head.text[23] != ' ') {
    int strings = head.text[23] - '0';
    return strings < 2 || strings > 8 ? 6 : strings;
  }
  return 6;
}

int GetShapeFretRows(const CString& shape) {
  ShapeHead head = ReadShapeHead(shape);
  int rows = 4;
  if (head.text.size() > 24 && head.text[24] != ' ') rows = head.text[24] - '0';
  rows = std::max(rows, head.extensionRows);
  return rows >= 4 && rows <= 7 ? rows : 4;
}
