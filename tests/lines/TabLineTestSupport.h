#pragma once
// Shared pieces of the tablature line tests: a fixture that restores the
// tablature preferences and registers the line class, builders of tab columns
// and of line records as the file holds them, and readers of a column's notes.

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "../model/LineTestSupport.h"
#include "lines/KTabLine.h"
#include "lines/TabLineOptions.h"

class TabLineTest : public LineTest {
 protected:
  TabLineTest() {
    ResetTabLineOptions();
    CRuntimeClass::Register({RUNTIME_CLASS(KTabLine)});
  }
  ~TabLineTest() override { ResetTabLineOptions(); }
};

inline const CString kStandardTuning = "E A D G B E  323742475156";
inline const CString kBassTuning4 = "  E A D G   *002025303500";
inline const CString kBassTuning8 = "B E A D G C *1520253035402-";

// A bar column of a tablature line.
inline KChord* TabBar(int pos) { return new KChord(pos, 1, 21, KChord::kTabRhythm); }

// A note of a tab column: string row and fret.
struct RowFret {
  int row;
  int fret;
  friend bool operator==(const RowFret&, const RowFret&) = default;
  friend bool operator<(const RowFret& a, const RowFret& b) {
    return a.row != b.row ? a.row < b.row : a.fret < b.fret;
  }
};
using Frets = std::vector<RowFret>;

// A tab column of notes of the duration (quarter notes by default); further
// entries (value, code) follow the frets.
inline KChord* TabNotes(int pos, const std::vector<RowFret>& frets, std::initializer_list<Entry> more = {},
                        int stem0 = 0, int stem1 = 0, int duration = 8) {
  auto* column = new KChord(pos);
  Bytes record = {BYTE(pos & 0xFF), BYTE(pos >> 8)};
  for (int stem : {stem0, stem1}) {
    for (int k = 0; k < 4; ++k) record.push_back(BYTE(unsigned(stem) >> (8 * k)));
  }
  record.push_back(BYTE(frets.size() + more.size()));
  for (const RowFret& f : frets) {
    record.push_back(BYTE(duration * 10 + f.row));
    record.push_back(BYTE(KChord::kFirstFret + f.fret));
  }
  for (const Entry& e : more) {
    record.push_back(BYTE(e.value));
    if (e.flag) record.insert(record.end(), {106, BYTE(e.flag)});
    record.push_back(BYTE(e.code));
  }
  record.push_back(BYTE(KChord::kTabRhythm + duration * 10));
  LoadFields(*column, record);
  return column;
}

// The frets of a column, by row.
inline Frets FretsOf(const KChord& column) {
  Frets out;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret) {
      out.push_back({note.position, note.code - KChord::kFirstFret});
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The rows of the entries with the code in a column.
inline std::vector<int> RowsOfCode(const KChord& column, int code) {
  std::vector<int> rows;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    if (column.GetNote(i).code == code) rows.push_back(column.GetNote(i).position);
  }
  return rows;
}

inline const KChord& TabColumnAt(const KListLine& line, int pos) {
  const KChord* column = AsChord(line.GetObjAt(pos, 0));
  if (column == nullptr) throw std::runtime_error("no column at " + std::to_string(pos));
  return *column;
}

// The record of a tablature line without columns as a file holds it (no class
// tag): line base (legacy kind 2 or the exact kind, no group, the flags, one
// extension word: the indent), no objects, key 0, the time word, the spacing
// and layout words, no attachments, then the tuning.
inline Bytes TabLineRecord(std::string_view tuning, DWORD flags, int kind = 2) {
  RecordBytes r;
  r.Byte(2).Int(0).Int(-1).Int(int(flags)).Int(100 + kind).String("").Int(0);
  r.Word(0);
  r.Byte(0).Int(2400).Int((32767 << 16) + (14 << 8) + 12).Int(0);
  r.Word(0);
  r.String(tuning);
  return r.Get();
}

// A tablature line read from a record made by TabLineRecord or StoreFields.
inline std::unique_ptr<KTabLine> LoadTabLine(const Bytes& record) {
  auto line = std::make_unique<KTabLine>();
  LoadFields(*line, record);
  return line;
}
