#pragma once
// Symbols and staff rows as a musician names them, for failure messages: a
// note column's code 10 on row 22 of a treble staff reads "E4 half", code 36
// "dot", a fret code on a tablature string "fret 12 on string 2". Symbols
// without a short name here take the meaning their toolbox prompt gives
// ("Trill", "Start repeat").

#include <ostream>
#include <string>
#include <utility>

#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "platform/CObList.h"
#include "platform/CString.h"
#include "platform/StringTable.h"

namespace musicnames {

// "C4" for MIDI note 60, with a sharp for the black keys.
inline std::string MidiNoteName(int midiNote) {
  static constexpr const char* kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  const int octave = (midiNote >= 0 ? midiNote / 12 : (midiNote - 11) / 12) - 1;
  const int degree = ((midiNote % 12) + 12) % 12;
  return kNames[degree] + std::to_string(octave);
}

// The natural note a row of a staff of the type stands for ("E4" for row 22
// of a treble staff).
inline std::string StaffRowName(int staffType, int row) {
  return MidiNoteName(KStaffLine::NaturalPitchAtRow(staffType, row) + 20);
}

// The meaning of a symbol as its toolbox prompt gives it: the text after the
// key ("t (eigh_t_h)  8th note with tail up" gives "8th note with tail up").
inline std::string PromptMeaning(unsigned id) {
  CString text;
  if (!LoadString(text, id) || text.IsEmpty()) return "";
  const std::string prompt = text.Str();
  const std::size_t gap = prompt.find("  ");
  return gap == std::string::npos ? prompt : prompt.substr(gap + 2);
}

// A symbol code of a staff or tablature column: "quarter", "quarter, stem
// down", "half rest", "dot", "bar line", "sharp", "fret 3"...
inline std::string SymbolName(int code) {
  static constexpr const char* kValues[] = {"eighth", "sixteenth", "32nd", "64th", "quarter", "half"};
  static constexpr const char* kRests[] = {"whole rest",     "half rest", "quarter rest", "eighth rest",
                                           "sixteenth rest", "32nd rest", "64th rest"};
  if (code >= 0 && code <= 11) return std::string(kValues[code / 2]) + (code % 2 == 0 ? "" : ", stem down");
  if (code == KChord::kWholeNote) return "whole";
  if (code == KChord::kBreve) return "breve";
  if (code == 13) return "grace note";
  if (code >= 14 && code <= 20) return kRests[code - 14];
  if (code == 21) return "bar line";
  if (code == KChord::kDot) return "dot";
  if (code == KChord::kDoubleDot) return "double dot";
  if (code >= KChord::kFirstFret && code <= KChord::kLastFret)
    return "fret " + std::to_string(code - KChord::kFirstFret);
  const std::string meaning = code >= KChord::kFlaggedBase
                                  ? PromptMeaning(30300 + static_cast<unsigned>(code - KChord::kFlaggedBase))
                              : code >= 0 ? PromptMeaning(30100 + static_cast<unsigned>(code))
                                          : "";
  return meaning.empty() ? "symbol " + std::to_string(code) : meaning;
}

// One entry of a column: on a staff the note's pitch and value ("E4 half"),
// or the symbol and the row it stands on ("dot on E4"); on a tablature line
// the symbol and its string ("fret 12 on string 2").
inline std::string EntryName(const KChord& column, int staffType, int i) {
  const NotePair note = column.GetNote(i);
  if (column.IsTabColumn()) return SymbolName(note.code) + " on string " + std::to_string(note.position % 10);
  const std::string row = StaffRowName(staffType, note.position);
  const bool isNote = (note.code >= 0 && note.code <= 13) || note.code == KChord::kBreve;
  return isNote ? row + " " + SymbolName(note.code) : SymbolName(note.code) + " on " + row;
}

// A column's entries, joined by " + ".
inline std::string ColumnName(const KChord& column, int staffType) {
  std::string out;
  for (int i = 0; i < column.GetNoteCount(); ++i)
    out += (i > 0 ? " + " : "") + EntryName(column, staffType, i);
  return out;
}

}  // namespace musicnames

namespace musicnames {

// A line's columns as compared ("pos:code@row,code@row pos:...") and as a
// failure message shows them: the codes, then each column named
// ("0:10@22 1:36@22  [0: E4 half | 1: dot on E4]").
struct LineDump {
  std::string codes;
  std::string names;
  operator std::string() const { return codes; }  // NOLINT: compared and kept as its codes
};

inline bool operator==(const LineDump& dump, const std::string& codes) { return dump.codes == codes; }
inline bool operator==(const LineDump& dump, const char* codes) { return dump.codes == codes; }
inline std::ostream& operator<<(std::ostream& out, const LineDump& dump) {
  return out << dump.codes << "  [" << dump.names << "]";
}

// A note line's columns: "pos:code@row,code@row pos:...", a tablature
// column's rows as its raw positions or (stringUnits) as the string alone.
inline LineDump DumpColumns(const KListLine* line, bool stringUnits) {
  LineDump out;
  if (line == nullptr) return out;
  const CObList* objects = line->GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* chord = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (chord == nullptr) continue;
    if (!out.codes.empty()) {
      out.codes += ' ';
      out.names += " | ";
    }
    out.codes += std::to_string(chord->GetPos()) + ':';
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const NotePair note = chord->GetNote(i);
      if (i > 0) out.codes += ',';
      const int row = chord->IsTabColumn() && stringUnits ? note.position % 10 : note.position;
      out.codes += std::to_string(note.code) + '@' + std::to_string(row);
    }
    out.names += std::to_string(chord->GetPos()) + ": " + ColumnName(*chord, line->GetType());
  }
  return out;
}

// A code text made another way, with the line's columns named beside it.
inline LineDump WithNames(std::string codes, const KListLine* line) {
  LineDump out = DumpColumns(line, false);
  out.codes = std::move(codes);
  return out;
}

}  // namespace musicnames
