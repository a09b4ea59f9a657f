#pragma once
// Shared pieces of the tests of staff entry, transposition and translation: a
// fixture with the staff, tablature and rhythm line classes registered, and
// a compact text of a line's columns as (row, code) cells.

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "StaffLineTestSupport.h"
#include "TabLineTestSupport.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineDefaults.h"
#include "model/NoteLineTestSupport.h"

class StaffConversionTest : public TabLineTest {
 protected:
  StaffConversionTest() {
    ResetStaffLineServices();
    ResetRhythmLineDefaults();
    CRuntimeClass::Register({RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KRhythmLine)});
  }
  ~StaffConversionTest() override {
    ResetStaffLineServices();
    ResetRhythmLineDefaults();
  }
};

// One column as "pos:code@row,code@row", the entries ordered by row and code
// (the editor's order within a column is its own business; flagged codes
// with their 10000); a note line's columns separated by blanks.
inline std::string CellText(const KChord& column) {
  std::vector<std::pair<int, int>> cells;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    cells.emplace_back(note.position, note.code);
  }
  std::sort(cells.begin(), cells.end());
  std::ostringstream out;
  out << column.GetPos() << ':';
  for (std::size_t i = 0; i < cells.size(); ++i)
    out << (i > 0 ? "," : "") << cells[i].second << '@' << cells[i].first;
  return out.str();
}

inline std::string CellsText(const KListLine& line) {
  std::string text;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(list.GetNext(node));
    if (!text.empty()) text += ' ';
    text += column != nullptr ? CellText(*column) : "?";
  }
  return text;
}

// The pixel x of a column's middle on a note line at the size index.
inline int ColumnX(const KListLine& line, int column, int sizeIndex = 0) {
  const int width = sizeIndex == 1 ? 22 : 18;
  return line.GetLeadInWidth(sizeIndex) + line.GetIndent() + column * width + width / 2;
}
