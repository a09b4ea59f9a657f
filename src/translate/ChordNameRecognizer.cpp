#include "translate/ChordNameRecognizer.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "chords/ChordAliases.h"
#include "chords/ChordCatalogue.h"
#include "chords/ChordNameSources.h"
#include "chords/ChordNames.h"
#include "chords/ChordPicShape.h"
#include "common/RecentChords.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineDefaults.h"
#include "model/KChordPic.h"
#include "platform/UiPort.h"

namespace {

constexpr int kPixelsPerColumn = 8;
constexpr UINT kMsgNoChord = 7052;
constexpr std::string_view kRootLetters = "ABCDEFG";

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
  int previousEnd = 0;  // the first column after the previous diagram

  const std::string_view s = text.View();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (kRootLetters.find(s[i]) == std::string_view::npos || (i > 0 && s[i - 1] != ' ')) continue;
    std::size_t qualityStart = i + 1;
    char accidental = ' ';
    if (qualityStart < s.size() && (s[qualityStart] == '#' || s[qualityStart] == 'b'))
      accidental = s[qualityStart++];
    std::size_t end = qualityStart;
    while (end < s.size() && !EndsName(s[end])) ++end;
    // A slash bass: the quality ends with "/" before the bass note's letter,
    // which (with its "#" or "b") belongs to the name.
    std::size_t bassEnd = end;
    if (end > qualityStart && s[end - 1] == '/' && end < s.size() &&
        kRootLetters.find(s[end]) != std::string_view::npos) {
      bassEnd = end + 1;
      if (bassEnd < s.size() && (s[bassEnd] == '#' || s[bassEnd] == 'b')) ++bassEnd;
    }
    const std::size_t start = i;
    i = bassEnd - 1;  // the scan goes on at the character that ended the name

    const CString root = CString(s[start]) + CString(accidental);
    const CString written(s.substr(start, bassEnd - start));
    const CString quality = bassEnd > qualityStart ? CString(s.substr(qualityStart, bassEnd - qualityStart))
                                                   : CString(kMajorQuality);
    const int rootIndex = ChordRootIndex(root);
    if (rootIndex < 0) continue;  // "Cb", "E#" ...: not a root of the library
    CString base = quality;
    int bass = -1;
    SplitSlashBass(quality, base, bass);
    LibraryType type;
    switch (FindLibraryType(sources, rootIndex, base, type, true)) {
      case LibraryLookup::kAbsent:
        continue;
      case LibraryLookup::kMissingType:
        ReportNoChord(written, "CCR-1");
        return nullptr;
      case LibraryLookup::kMissingSpelling:
        ReportNoChord(written, "CCR-2");
        return nullptr;
      case LibraryLookup::kFound:
        break;
    }
    const int variations = LibraryVariationCount(type.text);
    if (variations == 0) continue;
    CString shape = LibraryVariation(type.text, 1);
    if (bass >= 0)
      shape = SlashChordShape(LibraryVariations(type.text), bass, KChordPicLine::kStandardTuning);
    const bool alias = IsChordAlias(base);
    // An alias keeps the name as written; a catalogue name is written as the
    // catalogue spells it.
    const CString name = alias ? written : JoinChordName(rootIndex, quality);
    if (!alias && (!layout.isAlias || !layout.isAlias(name))) {
      ChordRecord record;
      record.text0 = KChordPicLine::kStandardTuning;
      record.text1 = root;
      // A slash chord is remembered as the chord over its own root, a type
      // the chord selection dialog lists.
      record.text2 = base;
      record.text3 = type.spelling;
      record.value0 = type.id;
      record.value1 = variations;
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
    // A diagram never starts under the one before it (names written two
    // blanks apart stand closer than their pictures are wide).
    column = std::max(column, previousEnd);
    line->InsertDiagramAt(column, name, shape, 1, 1);
    previousColumn = column;
    if (const KChordPic* placed = AsChordPic(line->GetObjAt(column, 0)))
      previousEnd = column + (line->GetDiagramExtent(*placed) + kPixelsPerColumn - 1) / kPixelsPerColumn;
    previousEnd = std::max(previousEnd, column + 1);
  }
  if (previousColumn < 0) return nullptr;
  for (ChordRecord& record : recognised) UpdateChordPicShape(record);
  return line;
}
