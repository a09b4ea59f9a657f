#include "translate/ChordNameRecognizer.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "chords/ChordNameSources.h"
#include "chords/ChordNames.h"
#include "common/RecentChords.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineDefaults.h"
#include "platform/UiPort.h"

namespace {

// Library layout: the chord block of a pitch class (Ab = 0), its type strings
// (a step digit, the type name at 3..19, shapes from 20 on, 8 characters
// each) and the spelling strings named by a type string's second character.
constexpr int kBlockBase = 12020;
constexpr int kBlockStride = 1000;
constexpr int kSpellingBase = 11835;
constexpr int kMaxTypeStrings = 500;
constexpr int kTypeNameStart = 3;
constexpr int kTypeNameLength = 17;
constexpr int kShapeStart = 20;
constexpr int kShapeLength = 7;
constexpr int kVariationStride = 8;

constexpr int kPixelsPerColumn = 8;
constexpr UINT kMsgNoChord = 7052;
constexpr std::string_view kRootLetters = "ABCDEFG";

enum class Lookup { kFound, kUnknown, kMissingType, kMissingSpelling };

struct LibraryChord {
  int typeId = 0;
  CString shape;
  int variations = 0;
};

// Searches the chord block of the pitch class for the quality.
Lookup FindInLibrary(KChordNameSources& sources, int pitchClass, const CString& quality, LibraryChord& out) {
  int id = kBlockBase + kBlockStride * pitchClass;
  for (int n = 0; n < kMaxTypeStrings; ++n) {
    CString type;
    if (sources.LoadChordDllString(id, type) <= 0) return Lookup::kMissingType;
    CString spelling;
    if (type.GetLength() < 2 ||
        sources.LoadChordDllString(kSpellingBase + static_cast<unsigned char>(type[1]), spelling) <= 0)
      return Lookup::kMissingSpelling;
    CString name = type.Mid(kTypeNameStart, kTypeNameLength);
    const int blank = name.Find(' ');
    if (blank >= 0) name = name.Left(blank);
    if (name == quality && type.GetLength() >= kShapeStart + kShapeLength) {
      out.typeId = id;
      out.shape = type.Mid(kShapeStart, kShapeLength);
      out.variations = (type.GetLength() - kShapeStart + 1) / kVariationStride;
      return Lookup::kFound;
    }
    const char step = type[0];
    if (step < '1' || step > '9') return Lookup::kUnknown;
    id += 10 * (step - '0');
  }
  return Lookup::kUnknown;
}

bool EndsName(char c) { return c == ' ' || kRootLetters.find(c) != std::string_view::npos; }

void ReportNoChord(const CString& name, const char* code) {
  CString text;
  AfxFormatString2(text, kMsgNoChord, name, code);
  AfxMessageBox(text, MB_OK);
}

}  // namespace

std::unique_ptr<KChordPicLine> RecognizeChordNamesInText(const CString& text, bool keepAfterPrevious,
                                                         const ChordNameLayout& layout) {
  KChordNameSources& sources = GetChordNameSources();
  if (sources.LoadChordStringDll() == 0 || text.IsEmpty()) return nullptr;

  auto line = std::make_unique<KChordPicLine>();
  line->SetNameFont(g_defaultChordNameFontText);
  // Recent chords are remembered only once the whole text was read, so that a
  // damaged library leaves them as they were.
  std::vector<ChordRecord> recognised;
  int previousColumn = -1;

  const std::string_view s = text.View();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (kRootLetters.find(s[i]) == std::string_view::npos || (i > 0 && s[i - 1] != ' ')) continue;
    std::size_t qualityStart = i + 1;
    char accidental = ' ';
    if (qualityStart < s.size() && (s[qualityStart] == '#' || s[qualityStart] == 'b'))
      accidental = s[qualityStart++];
    std::size_t end = qualityStart;
    while (end < s.size() && !EndsName(s[end])) ++end;
    const std::size_t start = i;
    i = end - 1;  // the scan goes on at the character that ended the name

    const CString root = CString(s[start]) + CString(accidental);
    const CString written(s.substr(start, end - start));
    const CString quality =
        end > qualityStart ? CString(s.substr(qualityStart, end - qualityStart)) : CString(kMajorQuality);
    const int rootIndex = ChordRootIndex(root);
    if (rootIndex < 0) continue;  // "Cb", "E#" ...: not a root of the library
    LibraryChord chord;
    switch (FindInLibrary(sources, ChordRootPitch(rootIndex), quality, chord)) {
      case Lookup::kUnknown:
        continue;
      case Lookup::kMissingType:
        ReportNoChord(written, "CCR-1");
        return nullptr;
      case Lookup::kMissingSpelling:
        ReportNoChord(written, "CCR-2");
        return nullptr;
      case Lookup::kFound:
        break;
    }
    const CString name = JoinChordName(rootIndex, quality);
    if (!layout.isAlias || !layout.isAlias(name)) {
      ChordRecord record;
      record.text0 = KChordPicLine::kStandardTuning;
      record.text1 = root;
      record.text2 = quality;
      record.text3 = chord.shape;
      record.value0 = chord.typeId;
      record.value1 = chord.variations;
      record.value3 = 1;
      recognised.push_back(record);
    }

    const int position = static_cast<int>(start);
    int column;
    if (keepAfterPrevious && previousColumn >= 0 && position < previousColumn) {
      column = previousColumn + 1;
    } else {
      const int x = layout.xOfPosition ? layout.xOfPosition(position) : position * kPixelsPerColumn;
      column = std::max(0, x / kPixelsPerColumn + layout.columnOffset);
    }
    // Two names never share a column: the later one would replace the first.
    column = std::max(column, previousColumn + 1);
    line->InsertDiagramAt(column, name, chord.shape, 1, 0);
    previousColumn = column;
  }
  if (previousColumn < 0) return nullptr;
  for (ChordRecord& record : recognised) RememberRecentChord(record, false);
  return line;
}
