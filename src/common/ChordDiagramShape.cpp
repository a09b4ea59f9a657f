#include "common/ChordDiagramShape.h"

#include <algorithm>
#include <string_view>

#include "common/AppServices.h"
#include "common/ChordDiagramServices.h"
#include "common/TuningCodec.h"

namespace {

constexpr std::string_view kLabelGlyphs = "0123456789:;<=>?@ABCDEFGHIJ";
constexpr int kHighestFirstFret = 24;

char CharAt(std::string_view text, std::size_t pos) { return pos < text.size() ? text[pos] : '\0'; }

// The finger fields: the text from position 40 (at most 40 characters); none
// for a seven-string shape, trailing blanks dropped otherwise.
std::string_view FingerFields(std::string_view text) {
  if (text.size() <= 40) return {};
  if (CharAt(text, 36) != '8' && CharAt(text, 32) == '7') return {};
  std::string_view fields = text.substr(40, 40);
  const std::size_t end = fields.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : fields.substr(0, end + 1);
}

// A flag that option 2 sets always and option 0 leaves to the shape's character.
bool OptionFlag(int option, std::string_view text, std::size_t pos) {
  return option == 2 || (option == 0 && CharAt(text, pos) == '1');
}

}  // namespace

bool ShowsFingerRow(const CString& shape) {
  const std::string_view text = shape.View();
  return g_fingerRowOption != 0 && text.size() >= 32 && text[16] == '1';
}

DiagramShape ReadDiagramShape(const CString& shape) {
  const std::string_view text = shape.View();
  DiagramShape d;
  d.strings = GetShapeStringCount(shape);
  d.rows = GetShapeFretRows(shape);
  if (text.size() > 24 && text[24] >= '4' && text[24] <= '7') d.rowDigit = text[24] - '0';
  d.firstField = d.strings < 5 ? 5 - d.strings : 0;
  d.lastField = std::max(4, d.strings - 1);

  const int first = static_cast<unsigned char>(CharAt(text, 0)) - '0';
  d.firstFret = text.empty() || first < 0 || first > kHighestFirstFret ? 0 : first;
  if (d.strings == 5 && text.size() >= 20 && text[15] != ' ') {
    int v = static_cast<unsigned char>(text[15]) - '0';
    if (v >= 30) v -= 30;
    d.shortFifthFret = std::max(v, 0);
  }
  d.barreOnFret = OptionFlag(g_diagramOptionA, text, 20);
  if (OptionFlag(g_diagramOptionB, text, 21) && d.firstFret > 0) d.leftMargin = 7;

  for (char c : FingerFields(text)) {
    const unsigned bits = static_cast<unsigned char>(c);
    const unsigned string = (bits >> 4) & 7u;
    if (string == 0) continue;
    const unsigned row = (bits >> 1) & 7u;
    d.fingerDots[string - 1][row] = static_cast<int>(bits & 1u) + 1;
    d.highestFingerRow = std::max(d.highestFingerRow, static_cast<int>(row));
    d.hasFingerFields = true;
  }

  d.chars = std::string(text.substr(0, 7));
  if (d.rows > 4 && text.size() > 25) {
    const int number = static_cast<unsigned char>(text[25]) - '0';
    if (number >= 0 && number <= 63) d.marks = static_cast<unsigned>(number);
  }
  if (text.size() > 35) {
    d.marks = d.marks * 2 + (CharAt(text, 34) == '1' ? 1u : 0u);
    d.chars.insert(d.chars.begin() + std::min<std::size_t>(1, d.chars.size()), text[33]);
  }
  if (text.size() > 39) {
    d.marks = d.marks * 2 + (CharAt(text, 38) == '1' ? 1u : 0u);
    d.chars.insert(d.chars.begin() + std::min<std::size_t>(1, d.chars.size()), text[37]);
  }
  if (d.strings < 5) d.marks >>= 5 - d.strings;

  d.showsFingerRow = ShowsFingerRow(shape);
  d.fingerLabels.fill(-1);
  if (d.showsFingerRow) {
    for (int j = 0; j < kDiagramFingerLabels; ++j) {
      const std::size_t found = kLabelGlyphs.find(text[static_cast<std::size_t>(26 + j)]);
      if (found != std::string_view::npos)
        d.fingerLabels[static_cast<std::size_t>(j)] = static_cast<int>(found);
    }
  }
  return d;
}
