#pragma once
// Scores for the playback tests: real staff, drum and tablature lines whose
// columns are written as note text (see ../model/NoteLineTestSupport.h), with
// labels, line groups, text boxes and ending brackets above them, gathered in
// display order into a KPlayScore.
//
// Note text reminders: a quarter note is code 8, its row the staff step (18
// is B4 on a treble staff, 17 C5, 16 D5, 15 E5, 14 F5, 13 G5, 12 A5, 11 B5, 10
// C6); a bar is "pos=21@1/44", a repeat start 24, a repeat end 25, the final
// bar 23; "+90@1" adds a segno and "+89@1" a coda sign to a column.

#include <memory>
#include <string>
#include <vector>

#include "../model/NoteLineTestSupport.h"
#include "lines/KStaffLine.h"
#include "midi/LinePlayEvents.h"
#include "midi/PlayScore.h"
#include "model/KExtendedObj.h"

namespace playtest {

inline constexpr const char* kSmallFont = "8,0,0,0,400";  // 3 pixels a character when measured
inline constexpr const char* kBoldFont = "8,0,0,0,700";
inline constexpr int kAbove = 4;  // a row above the staff

class TestScore {
 public:
  TestScore() { InstallLinePlayInterpreter(); }
  ~TestScore() { KListLine::SetPlayTextInterpreter(nullptr); }
  TestScore(const TestScore&) = delete;
  TestScore& operator=(const TestScore&) = delete;

  // A line of the type (0 treble, 1 bass, 13 drums...) with the columns;
  // group: the line group id (-1 none); label: the line's label.
  KListLine& Line(const std::string& notes, int type = 0, int group = -1, const char* label = "") {
    auto line = std::make_unique<KStaffLine>(type, 0, 0);
    FillNotes(*line, notes);
    if (group >= 0) line->SetGroup(group, nullptr);
    if (*label != '\0') line->SetLabel(CString(label));
    m_lines.push_back(std::move(line));
    return static_cast<KListLine&>(*m_lines.back());
  }

  // A text box above the line at the column (offset in pixels to the right).
  static KExtendedObj& Text(KListLine& line, int column, const char* text, int offset = 0,
                            const char* font = kSmallFont, int row = kAbove) {
    auto* box = new KExtendedObj(column, row, CString(text), CString(font));
    box->SetOffset(offset, 0);
    line.AddAttachment(box);
    return *box;
  }

  // A bracket of the kind (7 both hooks, 9 an open end, 8 a bracket that goes
  // on past the line...) over `columns` columns from the column, with a caption.
  static KExtendedObj& Bracket(KListLine& line, int column, int kind, int columns, const char* caption,
                               int row = kAbove) {
    auto* bracket = new KExtendedObj(column, row, kind, 0, 0, columns * 18, 8);
    bracket->SetText(CString(caption));
    bracket->SetOffset(0, 0);
    line.AddAttachment(bracket);
    return *bracket;
  }

  KPlayScore Score() const {
    std::vector<KLineObj*> lines;
    for (const auto& line : m_lines) lines.push_back(line.get());
    return KPlayScore(lines);
  }

 private:
  std::vector<std::unique_ptr<KLineObj>> m_lines;
};

}  // namespace playtest

namespace playtest {

// The song of the export and playback checks, two systems of three lines (a
// melody labelled "Flute", an unlabelled bass staff and an unlabelled drum
// staff) bound in line groups 1 and 2. The melody carries the directions:
// a segno at the bar of column 2, a repeat from column 5 with a first ending
// (columns 8-10, closed by the repeat end) and a second (10 to the end); on
// the second system "To Coda", "D.S. al Coda" (at the bar of column 3) and the
// coda at column 5; "Allegro" at the start, "mf" at column 3, "pp" and
// "Andante" on the second system. Every note is a quarter.
inline void MakeSong(TestScore& score) {
  KListLine& melody1 = score.Line(
      "0=8@17 1=8@16 2=21@1+90@1/44 3=8@15 4=8@14 5=24@1/44 6=8@13 7=8@12 8=21@1/44 9=8@11 10=25@1/44 "
      "11=8@10 12=21@1/44",
      0, 1, "Flute");
  TestScore::Text(melody1, 0, "Allegro");
  TestScore::Text(melody1, 3, "mf");
  TestScore::Bracket(melody1, 8, 7, 2, "1.");
  TestScore::Bracket(melody1, 10, 9, 2, "2.");
  const char* beats1 =
      "0=8@18 1=8@18 2=21@1/44 3=8@18 4=8@18 5=24@1/44 6=8@18 7=8@18 8=21@1/44 9=8@18 10=25@1/44 11=8@18 "
      "12=21@1/44";
  score.Line(beats1, 1, 1);
  const std::string drums1 = [&] {
    std::string s(beats1);
    for (std::size_t at = s.find("8@18"); at != std::string::npos; at = s.find("8@18", at))
      s.replace(at, 4, "8@17");
    return s;
  }();
  score.Line(drums1, 13, 1);

  KListLine& melody2 = score.Line(
      "0=8@16 1=21@1/44 2=8@15 3=21@1/44 4=21@1/44 5=21@1+89@1/44 6=8@14 7=23@1/44", 0, 2, "Flute");
  TestScore::Text(melody2, 0, "pp");
  TestScore::Text(melody2, 0, "To Coda");
  TestScore::Text(melody2, 1, "D.S. al Coda");
  TestScore::Text(melody2, 2, "Andante");
  score.Line("0=8@18 1=21@1/44 2=8@18 3=21@1/44 4=21@1/44 5=21@1/44 6=8@18 7=23@1/44", 1, 2);
  score.Line("0=8@17 1=21@1/44 2=8@17 3=21@1/44 4=21@1/44 5=21@1/44 6=8@17 7=23@1/44", 13, 2);
}

}  // namespace playtest
