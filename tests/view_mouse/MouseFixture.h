#pragma once
// A laid-out score for the mouse tests: a text line, a treble staff, a
// guitar tablature, a rhythm line, a chord-name line and a percussion staff,
// one under the other, in a window tall enough to show them all. The view is
// armed (its first release has been seen), so every click acts.

#include <string>

#include "support/ViewTestSupport.h"
#include "view/input/ViewMouseCodes.h"

namespace mousetest {

// Display lines of the score, top to bottom.
enum ScoreLine { kText = 0, kStaff = 1, kTab = 2, kRhythm = 3, kChords = 4, kDrums = 5, kLineCount = 6 };
// The column of the bar that ends the music of the staff and the drums.
inline constexpr int kLastBar = 12;

class MouseFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    AddText("hello brave world");
    // The staves' music runs to a bar at column 12: clicks before it land
    // on the column under the pointer.
    Add(viewtest::MakeStaff({{0, 18}, {1, 16}, {2, 20}}, {kLastBar}));
    Add(viewtest::MakeTab({0, 1, 2}));
    Add(new KRhythmLine(0, "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
    AddChordLine();
    auto* drums = new KStaffLine(KLineObj::kKindPercussion, 0, 0);
    drums->GetObjList()->AddTail(new KChord(kLastBar, 1, viewtest::kBar, 0));
    drums->UpdateTimeSigCache();
    Add(drums);
    Layout(kText, 0);
    view->m_mouseArmed = 1;
  }

  // The window point of a page point (the window may be scrolled).
  POINT Client(int pageX, int pageY) const {
    return POINT{pageX - static_cast<int>(host.scroll.x), pageY - static_cast<int>(host.scroll.y)};
  }

  void Click(int pageX, int pageY, UINT flags = 0) {
    const POINT at = Client(pageX, pageY);
    view->OnLButtonDown(flags | MK_LBUTTON, at);
    view->OnLButtonUp(flags, at);
  }
  void RightClick(int pageX, int pageY) {
    const POINT at = Client(pageX, pageY);
    view->OnRButtonDown(MK_RBUTTON, at);
    view->OnRButtonUp(0, at);
  }
  // The window system's order: press, release, double click, release.
  void DoubleClick(int pageX, int pageY) {
    Click(pageX, pageY);
    const POINT at = Client(pageX, pageY);
    view->OnLButtonDblClk(MK_LBUTTON, at);
    view->OnLButtonUp(0, at);
  }

 public:
  int Top(int line) const { return Entry(line).top; }
  // The undo steps recorded before edits (the refresh's after-change
  // snapshots, kind 8, left out).
  static int EditSteps() {
    int count = 0;
    for (const viewtest::UndoStep& step : viewtest::UndoSteps()) count += step.kind != 8 ? 1 : 0;
    return count;
  }
  int Bottom(int line) const { return Entry(line).bottom; }
  int SpaceAbove(int line) const { return List(line)->GetSpaceAbove(0); }
  // Page x of the middle of a column of a staff or tablature line.
  static int NoteColumnX(int column) { return viewtest::kStaffColumnX + viewtest::kColumnWidth * column; }
};

}  // namespace mousetest
