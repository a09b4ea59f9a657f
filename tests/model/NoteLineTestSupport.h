#pragma once
// Note lines written as text, for the tests of the note-entry editor and the
// beam groups. A line is a list of columns separated by blanks:
//
//   pos[~rhythm]=entry+entry.../ab
//
// entry: code@value[fF][xX]: the symbol code (10000 and up: flagged), the
// value byte (staff step; tablature: tens = the entry's duration, units = the
// string), the flag byte without the flagged bit and the nudge byte when they
// are not 0. rhythm: the column's rhythm code when not 0 (70 and up on
// tablature). ab: the stored stem values of voices 0 and 1, one character
// each: 0..6 as they are, 'i' a negative value (inside a beam group), 'o' an
// odd value above 6 (opens a group), 'c' an even one (closes it). A column
// without entries is written "pos=/ab".
//
// Building takes the entries byte for byte (through the column's file record)
// and then beams every run from an 'o' to the next 'c' of a voice; an 'i'
// elsewhere stores -1.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "LineTestSupport.h"
#include "model/KChord.h"
#include "model/KListLine.h"

// A note line whose key slot hands every code to the note-entry editor, as
// the staff and tablature lines do.
class EditLine : public KListLine {
 public:
  explicit EditLine(int kind) : KListLine(0, kind, 0, -1, 0) {}
  KLinePair HandleKey(int code, int subCode, int sizeIndex, int column, int row, int beamFlag, int replace,
                      int removeMode) override {
    return EditNoteAt(code, subCode, sizeIndex, column, row, beamFlag, replace, removeMode);
  }
};

inline constexpr int kDrums = 13;

namespace note_text {

inline std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

inline int StemValue(char role) {
  if (role >= '0' && role <= '6') return role - '0';
  return role == 'i' ? -1 : 0;
}

inline char StemRole(int stem) {
  if (stem < 0) return 'i';
  if (stem <= 6) return static_cast<char>('0' + stem);
  return stem % 2 != 0 ? 'o' : 'c';
}

// One column from its text; the roles of its stems come back in `roles`.
inline KChord* MakeColumn(const std::string& text, std::string& roles) {
  const std::size_t equals = text.find('=');
  const std::size_t slash = text.find('/');
  EXPECT_NE(equals, std::string::npos) << text;
  const std::string head = text.substr(0, equals);
  const std::size_t tilde = head.find('~');
  const int pos = std::atoi(head.c_str());
  const int rhythm = tilde == std::string::npos ? 0 : std::atoi(head.c_str() + tilde + 1);
  const std::string body =
      text.substr(equals + 1, slash == std::string::npos ? std::string::npos : slash - equals - 1);
  roles = slash == std::string::npos ? "00" : text.substr(slash + 1);
  EXPECT_EQ(roles.size(), 2u) << text;

  RecordBytes record;
  record.Word(pos).Int(StemValue(roles[0])).Int(StemValue(roles[1]));
  const std::vector<std::string> entries = Split(body, '+');
  record.Byte(static_cast<int>(entries.size()));
  for (const std::string& entry : entries) {
    const char* p = entry.c_str();
    char* end = nullptr;
    const long code = std::strtol(p, &end, 10);
    EXPECT_EQ(*end, '@') << entry;
    const long value = std::strtol(end + 1, &end, 10);
    long flag = code >= KChord::kFlaggedBase ? KChord::kFlagFlagged : 0;
    long extra = 0;
    while (*end == 'f' || *end == 'x') {
      const char which = *end;
      const long number = std::strtol(end + 1, &end, 10);
      (which == 'f' ? flag : extra) |= number;
    }
    record.Byte(static_cast<int>(value));
    if (flag != 0) record.Byte(106).Byte(static_cast<int>(flag));
    if (extra != 0) record.Byte(105).Byte(static_cast<int>(extra));
    record.Byte(static_cast<int>(code % KChord::kFlaggedBase));
  }
  record.Byte(rhythm);
  auto* column = new KChord(pos);
  LoadFields(*column, record.Get());
  return column;
}

}  // namespace note_text

// Builds the line's columns from text (see above).
inline void FillNotes(KListLine& line, const std::string& text) {
  std::vector<std::string> roles;
  for (const std::string& token : note_text::Split(text, ' ')) {
    roles.emplace_back();
    line.GetObjList()->AddTail(note_text::MakeColumn(token, roles.back()));
  }
  for (int voice = 0; voice < 2; ++voice) {
    POSITION open = nullptr;
    std::size_t i = 0;
    for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr; ++i) {
      const POSITION here = node;
      line.GetObjList()->GetNext(node);
      if (roles[i][voice] == 'o') open = here;
      if (roles[i][voice] == 'c' && open != nullptr) {
        line.ApplyToNodeRange(open, here, voice, 0);
        open = nullptr;
      }
    }
  }
  line.UpdateTimeSigCache();
}

inline std::unique_ptr<EditLine> MakeNoteLine(int kind, const std::string& text) {
  auto line = std::make_unique<EditLine>(kind);
  FillNotes(*line, text);
  return line;
}

// One column written as text.
inline std::string ColumnText(const KChord& column) {
  std::ostringstream out;
  out << column.GetPos();
  if (column.GetRhythmCode() != 0) out << '~' << column.GetRhythmCode();
  out << '=';
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NoteEntry& e = column.RawEntry(i);
    if (i > 0) out << '+';
    out << (e.code + ((e.flag & KChord::kFlagFlagged) != 0 ? KChord::kFlaggedBase : 0)) << '@'
        << int(e.value);
    if ((e.flag & ~KChord::kFlagFlagged) != 0) out << 'f' << (e.flag & ~KChord::kFlagFlagged);
    if (e.extra != 0) out << 'x' << int(e.extra);
  }
  out << '/' << note_text::StemRole(column.GetVoiceStem(0)) << note_text::StemRole(column.GetVoiceStem(1));
  return out.str();
}

// The line's columns written as text.
inline std::string NotesText(const KListLine& line) {
  std::string text;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(list.GetNext(node));
    if (!text.empty()) text += ' ';
    text += column != nullptr ? ColumnText(*column) : "?";
  }
  return text;
}

// The entries of every column as "pos=code@position+..." (GetNote's code and
// position), stems and the other bytes left out.
inline std::string CodesText(const KListLine& line) {
  std::ostringstream out;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(list.GetNext(node));
    if (out.tellp() > 0) out << ' ';
    out << column->GetPos() << '=';
    for (int i = 0; i < column->GetNoteCount(); ++i)
      out << (i > 0 ? "+" : "") << column->GetNote(i).code << '@' << column->GetNote(i).position;
  }
  return out.str();
}

// The node of the i-th object of the line; null past the end or for -1.
inline POSITION NodeAt(const KListLine& line, int i) {
  return i < 0 ? nullptr : line.GetObjList()->FindIndex(i);
}

// The index of a node in the line's list; -1 for null.
inline int IndexOf(const KListLine& line, POSITION node) {
  int i = 0;
  for (POSITION p = line.GetObjList()->GetHeadPosition(); p != nullptr; ++i) {
    if (p == node) return i;
    line.GetObjList()->GetNext(p);
  }
  return -1;
}
