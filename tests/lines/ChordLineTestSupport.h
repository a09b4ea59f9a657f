#pragma once
// Shared pieces of the chord-diagram line tests: a fixture with the chord
// line's classes and services reset, a scripted stand-in for the chord code
// (shape fitting and chord-name shifting), builders of diagrams and a text
// dump of the line's diagrams.

#include <string>
#include <vector>

#include "LineRecordTestSupport.h"
#include "common/ViewServices.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineServices.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChordPic.h"

namespace chordline {

inline constexpr const char* kStandard = "E A D G B E  323742475156";
inline constexpr const char* kFont = "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial";
// A plain 4-row shape, and one whose row digit asks for 6 fret rows.
inline constexpr const char* kShape = "0231000          000";
inline constexpr const char* kTallShape = "0231000          00000066";
// A 4-row shape that asks for a finger-label row (32 characters, "1" at 16).
inline constexpr const char* kFingerShape = "0231000         100000064012    ";

// The chord code as the tests script it: fitted shapes are the old shape with
// the new tuning's first two characters prefixed; name shifts are recorded
// and append "+shift" to the names in the column range.
class ScriptedChordCode : public KChordLineServices {
 public:
  struct Shift {
    int first, last, low, high, shift, option;
  };
  void AdaptChordShape(const CString& oldTuning, const CString& shape, const CString& newTuning,
                       CString& out) override {
    fits.push_back(oldTuning.Str() + "|" + shape.Str() + "|" + newTuning.Str());
    out = fitted.IsEmpty() ? CString(newTuning.Left(2) + shape) : fitted;
  }
  void ShiftChordNames(KChordPicLine& line, int first, int last, int low, int high, int shift,
                       int option) override {
    shifts.push_back({first, last, low, high, shift, option});
    for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
      KChordPic* diagram = AsChordPic(line.GetObjList()->GetNext(node));
      if (diagram->GetPos() < first || diagram->GetPos() > last) continue;
      renamed.push_back(diagram->GetName().Str());
    }
  }
  std::vector<std::string> fits;
  std::vector<Shift> shifts;
  std::vector<std::string> renamed;
  CString fitted;
};

}  // namespace chordline

class ChordLineTest : public LineRecordTest {
 protected:
  ChordLineTest() {
    ResetChordLineServices();
    CRuntimeClass::Register({RUNTIME_CLASS(KStaffLine), RUNTIME_CLASS(KTabLine)});
  }
  ~ChordLineTest() override { ResetChordLineServices(); }

  // A diagram owned by the line from here on, appended without editing rules.
  KChordPic* Add(int pos, const char* name, const char* shape = chordline::kShape, int setting = 1) {
    auto* diagram = new KChordPic(pos, name, shape, setting);
    line.GetObjList()->AddTail(diagram);
    return diagram;
  }

  KChordPicLine line{0, chordline::kStandard, chordline::kFont, 100, 100};
};

namespace chordline {

// The diagrams as "name@pos" separated by blanks.
inline std::string Dump(const KListLine& line) {
  std::string out;
  const CObList& list = *line.GetObjList();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(list.GetNext(node));
    if (!out.empty()) out += ' ';
    out += diagram->GetName().Str() + '@' + std::to_string(diagram->GetPos());
  }
  return out;
}

}  // namespace chordline
