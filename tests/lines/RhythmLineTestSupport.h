#pragma once
// Shared pieces of the rhythm-line editing tests: a fixture with a line in the
// default font (under the fixed-width measurer a blank and every character are
// 9 pixels wide, so the column width is 9), a text dump of the items, and
// typing helpers.

#include <string>

#include "LineRecordTestSupport.h"
#include "common/ViewServices.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineSymbols.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"

class RhythmLineTest : public LineRecordTest {
 protected:
  RhythmLineTest() { g_blankRunCount = 8; }

  KRhythmLine line;
};

namespace rhythm {

// The items as text: "abc"@pos for a text run, code/link@pos for a symbol,
// separated by blanks.
inline std::string Dump(const KRhythmLine& line) {
  std::string out;
  const CObList& items = *line.GetObjList();
  for (POSITION node = items.GetHeadPosition(); node != nullptr;) {
    const KRhythmObj& item = *static_cast<const KRhythmObj*>(items.GetNext(node));
    if (!out.empty()) out += ' ';
    if (item.GetCode() < KRhythmObj::kFirstSymbolCode || !item.GetText().IsEmpty())
      out += '"' + item.GetText().Str() + '"';
    else
      out += std::to_string(item.GetCode()) + '/' + std::to_string(item.GetLinkCode());
    out += '@' + std::to_string(item.GetPos());
  }
  return out;
}

// The line as every letter and character in its column (blanks between).
inline std::string Letters(KRhythmLine& line) {
  return line.WriteText(0, 32000, 2).value_or(CString()).Str();
}

// Types the keys from the column on: characters as they are, and the letters
// of `symbols` (a marker before a letter: '^' the letter enters its symbol,
// '~' the symbol links to the one before). Returns the caret column after.
inline int Type(KRhythmLine& line, const std::string& keys, int column = 0) {
  bool symbol = false;
  bool link = false;
  for (const char ch : keys) {
    if (ch == '^' || ch == '~') {
      symbol = true;
      link = ch == '~';
      continue;
    }
    int code = static_cast<unsigned char>(ch);
    if (symbol) code = RhythmCodeOfOffset(RhythmLetterOffset(RhythmLetterIndex(ch)), 0);
    column += line.HandleKey(code, 0, 0, column, 1000, link ? 1 : 0, 0, 0).first;
    symbol = link = false;
  }
  return column;
}

}  // namespace rhythm
