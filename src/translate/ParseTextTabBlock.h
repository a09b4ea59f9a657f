#pragma once
// Reading one block of plain-text tablature rows (4 to 6 rows, one per
// string, highest string first) into a new tablature line. The text is
// untrusted: every character position is bounds-checked, rows are read only as
// far as the shortest one, and characters that mean nothing are skipped.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CString.h"

class KTabLine;

// Whether a text line is a row of text tablature: it holds "---", or, as
// dense rows do ("e|--0--3--|"), it is made only of the characters of text
// tablature after a string name of at most two characters, with at least two
// hyphens in a row.
bool IsTextTabRow(std::string_view text);

// The tuning string of a block with rowCount rows (4..6) and whether it is
// bass tablature, from the bass bits and the banjo-fingering choice.
struct KTextTabTuning {
  CString tuning;
  bool bass = false;
};
KTextTabTuning ChooseTextTabTuning(int rowCount, int bassKinds, int banjoFingering);

// Builds the line from the rows. columnOf[i] is the tab column under character
// position i of the first row (positions past its end count as the last one).
// Null when the row count is not 4..6.
std::unique_ptr<KTabLine> ReadTextTabBlock(const std::vector<std::string>& rows,
                                           std::span<const int> columnOf, int bassKinds, int banjoFingering);
