#pragma once
// Shared pieces of the drawing-cache tests: a fixture with the fake symbol
// loader and every program-wide value at its start, builders of staff and
// tablature columns, and readers of a cache entry as text.

#include <initializer_list>
#include <string>
#include <vector>

#include "common/DrawTestSupport.h"
#include "lines/KSpeedLine.h"
#include "model/DocServices.h"
#include "model/KBigChord.h"
#include "model/KListLine.h"
#include "model/LineServices.h"
#include "model/ModelGlobals.h"
#include "model/ModelTestSupport.h"

// Kept in a namespace of their own: other tests of this program have helpers
// of the same names.
namespace speedline {

using Texts = std::vector<std::string>;

class SpeedLineTest : public SymbolDrawTest {
 protected:
  SpeedLineTest() { ResetLines(); }
  ~SpeedLineTest() override { ResetLines(); }
  static void ResetLines() {
    ResetDocServices();
    ResetModelGlobals();
    ResetLineServices();
    g_fretBoxMargin = 2;
    g_drumClefOption = 1;
  }
};

inline constexpr int kStaffKind = 0;
inline constexpr int kTabKind = 2;
inline constexpr const char* kGuitar = "E A D G B E  323742475156";

using Entries = std::vector<Entry>;

// A column loaded from its file record: rhythm 0 for a staff column, 70 for a
// tablature one; entries (value, code[, flag, nudge]).
inline KChord* Column(int pos, int rhythm, const Entries& entries, int stem0 = 0, int stem1 = 0) {
  auto* column = new KChord(pos);
  LoadFields(*column, ColumnRecord(pos, stem0, stem1, rhythm, entries));
  return column;
}

// A staff column of entries (step, code[, flag, nudge]).
inline KChord* StaffColumn(int pos, const Entries& entries, int stem0 = 0, int stem1 = 0) {
  return Column(pos, 0, entries, stem0, stem1);
}

// A tablature fret entry: string row, fret and its own duration.
inline Entry Fret(int row, int fret, int duration) { return {duration * 10 + row, 226 + fret}; }

inline KChord* TabColumn(int pos, const Entries& entries, int stem0 = 0, int stem1 = 0) {
  return Column(pos, 70, entries, stem0, stem1);
}

// A note line of the kind holding the columns (owned by it).
inline void FillLine(KListLine& line, std::initializer_list<KChord*> columns) {
  for (KChord* column : columns) line.GetObjList()->AddTail(column);
}

// The column's node in its line's list.
inline KChord* ColumnAt(KListLine& line, int pos) { return AsChord(line.GetObjAt(pos, 0)); }

// Readers of an entry.
inline Texts Items(const KBigChord& e) {
  Texts out;
  for (int i = 0; i < e.itemCount; ++i) {
    out.push_back(std::to_string(e.itemSymbol[i]) + " " + std::to_string(e.itemX[i]) + "," +
                  std::to_string(e.itemY[i]));
  }
  return out;
}
inline Texts Stems(const KBigChord& e) {
  Texts out;
  for (int i = 0; i < e.stemCount; ++i) {
    out.push_back(std::to_string(e.stemX[i]) + "," + std::to_string(e.stemY1[i]) + " k" +
                  std::to_string(e.stemKind[i]) + " " + std::to_string(e.stemY2[i]));
  }
  return out;
}
inline std::vector<int> Ledgers(const KBigChord& e) { return {e.ledgerY, e.ledgerY + e.ledgerCount}; }
inline Texts Beams(const KBigChord& e) {
  Texts out;
  for (int i = 0; i < e.beamCount; ++i) {
    out.push_back(std::to_string(e.beamX1[i]) + "," + std::to_string(e.beamY1[i]) + "-" +
                  std::to_string(e.beamX2[i]) + "," + std::to_string(e.beamY2[i]));
  }
  return out;
}

}  // namespace speedline
