#pragma once
// Shared pieces of the ABC reader tests: a fixture that starts every test from
// the reader's start state, and readable dumps of what a line came out as.

#include <memory>
#include <string>
#include <vector>

#include "../model/ModelTestSupport.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

class AbcReaderTest : public ModelTest {
 protected:
  AbcReaderTest() { ResetAbcReaderState(); }
  ~AbcReaderTest() override { ResetAbcReaderState(); }

  // The meter column and tempo mark are already written: lines read after this
  // hold only their own notes.
  static void ClearPending() {
    AbcReaderState& s = GetAbcReaderState();
    s.titlePending = s.meterPending = s.tempoPending = false;
  }
};

// "pos:row/code,row/code" per column, separated by blanks; a bar column as
// "pos:|code", a meter column as "pos:meter/numerator/denominator" (codes).
inline std::string DumpColumns(KListLine& line) {
  std::string out;
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(line.GetObjList()->GetNext(node));
    if (column == nullptr) continue;
    if (!out.empty()) out += ' ';
    out += std::to_string(column->GetPos()) + ':';
    if (column->IsBarColumn()) {
      out += '|' + std::to_string(column->GetNote(0).code);
      continue;
    }
    if (column->GetNoteCount() == 3 && column->GetNote(0).code == KChord::kTimeSignature) {
      out +=
          "meter/" + std::to_string(column->GetNote(1).code) + '/' + std::to_string(column->GetNote(2).code);
      continue;
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (i > 0) out += ',';
      out += std::to_string(note.position) + '/' + std::to_string(note.code);
    }
  }
  return out;
}

// "pos:text" of every attachment, separated by "|".
inline std::string DumpAttachmentTexts(KLineObj& line) {
  std::string out;
  CObList* list = line.GetAttachments();
  for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
    const auto* attachment = static_cast<const KExtendedObj*>(list->GetNext(node));
    if (!out.empty()) out += '|';
    out += std::to_string(attachment->GetPos()) + ':' + std::string(attachment->GetText().View());
  }
  return out;
}

inline std::unique_ptr<KLineObj> Read(const char* text, int continuation = 0) {
  return ReadAbcLine(CString(text), continuation);
}

// Reads a whole ABC text line by line as the From ABC Notation command does:
// continuation allowed on every line but the last, and a line still left
// open at the end taken from the reader.
inline std::vector<std::unique_ptr<KLineObj>> ReadAbcText(const std::string& text) {
  std::vector<std::string> rows;
  std::string row;
  for (char c : text) {
    if (c == '\n') {
      rows.push_back(row);
      row.clear();
    } else {
      row += c;
    }
  }
  rows.push_back(row);
  std::vector<std::unique_ptr<KLineObj>> lines;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::unique_ptr<KLineObj> line = ReadAbcLine(CString(rows[i].c_str()), i + 1 < rows.size() ? 1 : 0);
    if (line != nullptr) lines.push_back(std::move(line));
  }
  if (std::unique_ptr<KStaffLine> open = TakeContinuedAbcLine()) lines.push_back(std::move(open));
  return lines;
}

// The sounding notes of the staff lines, in order, as "name:ticks" separated
// by blanks ("F#4:240"); a column of several notes as "[C4 E4]:480". Rests
// are "z:ticks"; grace notes (small notes) are left out. Ticks are the note
// value with its dots (480 a quarter).
inline std::string SoundingNotes(const std::vector<std::unique_ptr<KLineObj>>& lines) {
  static const char* const kNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
  auto ticksOf = [](int code) -> int {
    switch (code) {
      case 12:
        return 1920;
      case 10:
      case 11:
        return 960;
      case 8:
      case 9:
        return 480;
      case 0:
      case 1:
        return 240;
      case 2:
      case 3:
        return 120;
      case 4:
      case 5:
        return 60;
      case 6:
      case 7:
        return 30;
      default:
        return code >= 14 && code <= 20 ? 1920 >> (code - 14) : 0;
    }
  };
  std::string out;
  for (const auto& line : lines) {
    const auto* staff = dynamic_cast<const KStaffLine*>(line.get());
    if (staff == nullptr) continue;
    for (POSITION node = staff->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(staff->GetObjList()->GetNext(node));
      if (column == nullptr || column->GetNoteStyle() == 4 || column->IsSignatureColumn()) continue;
      std::vector<std::string> names;
      int ticks = 0;
      int dotEighths = 8;
      bool rest = false;
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        if (note.code == 36) dotEighths = 12;
        if (note.code == 37) dotEighths = 14;
        if (note.code == 10036) dotEighths = 15;
        const int t = ticksOf(note.code);
        if (t == 0) continue;
        ticks = t;
        if (note.code >= 14 && note.code <= 20) {
          rest = true;
          continue;
        }
        const int midi = staff->GetPitchAtRow(note.position, column->GetPos()) + 20;
        names.push_back(std::string(kNames[midi % 12]) + std::to_string(midi / 12 - 1));
      }
      if (ticks == 0) continue;
      if (!out.empty()) out += ' ';
      if (rest && names.empty()) {
        out += "z";
      } else if (names.size() == 1) {
        out += names[0];
      } else {
        out += '[';
        for (size_t i = 0; i < names.size(); ++i) out += (i > 0 ? " " : "") + names[i];
        out += ']';
      }
      out += ':' + std::to_string(ticks * dotEighths / 8);
    }
  }
  return out;
}
