// A release puts the caret on the clicked display line, at the column and
// row under the pointer, by the rules of each line family.

#include <functional>

#include "MouseFixture.h"
#include "model/DocServices.h"

namespace mousetest {
namespace {

using viewtest::CaseName;

// Where to click, page coordinates, computed from the laid-out score.
using PointOf = std::function<POINT(const MouseFixture&)>;

struct RowCase {
  std::string name;
  PointOf at;
  int line;
  int column;
  int row;  // -1: the row the caret had before the click
};

void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }

// The page y at which a click on the staff line gives the row: each row is
// half a staff space (3 pixels) down from row 15, the top staff line.
int StaffRowY(const MouseFixture& f, int line, int row) {
  return f.Top(line) + f.SpaceAbove(line) + (row - 15) * 3 + 3;
}
// ... and on a tablature line, whose strings are rows 2.5 and on, 10 pixels apart.
int TabRowY(const MouseFixture& f, int line, int row) {
  return f.Top(line) + f.SpaceAbove(line) + (row - 2) * TabStringSpacing(0) - 2;
}

const RowCase kRowCases[] = {
    {"staff top line at column 0",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(0), StaffRowY(f, kStaff, 15)};
     },
     kStaff, 0, 15},
    {"staff bottom line at column 3",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(3), StaffRowY(f, kStaff, 23)};
     },
     kStaff, 3, 23},
    {"staff above its top line",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(1), StaffRowY(f, kStaff, 9)};
     },
     kStaff, 1, 9},
    {"staff below its bottom line",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(2), StaffRowY(f, kStaff, 30)};
     },
     kStaff, 2, 30},
    {"staff half a column rounds to the next",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(4) + 9, StaffRowY(f, kStaff, 18)};
     },
     kStaff, 5, 18},
    {"staff just short of half a column stays",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(4) + 8, StaffRowY(f, kStaff, 18)};
     },
     kStaff, 4, 18},
    {"staff left of its clef takes column 0",
     [](const MouseFixture& f) {
       return POINT{20, StaffRowY(f, kStaff, 18)};
     },
     kStaff, 0, 18},
    {"staff top of its band takes the highest row it reaches",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(0), f.Top(kStaff)};
     },
     kStaff, 0, 6},
    {"tablature first string",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(2), TabRowY(f, kTab, 2)};
     },
     kTab, 2, 2},
    {"tablature sixth string",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(0), TabRowY(f, kTab, 7)};
     },
     kTab, 0, 7},
    {"tablature bottom of its band stops at row 9",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(1), f.Bottom(kTab)};
     },
     kTab, 1, 9},
    {"tablature top of its band",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(1), f.Top(kTab)};
     },
     kTab, 1, 1},
    {"percussion staff always row 18 high",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(2), f.Top(kDrums) + 2};
     },
     kDrums, 2, 18},
    {"percussion staff always row 18 low",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(2), f.Bottom(kDrums) - 2};
     },
     kDrums, 2, 18},
    {"chord line keeps the row",
     [](const MouseFixture& f) {
       return POINT{11 + 8 * 3, f.Top(kChords) + 5};
     },
     kChords, 3, -1},
    {"far right of the staff's music lands just after it",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(kLastBar + 20), StaffRowY(f, kStaff, 18)};
     },
     kStaff, kLastBar + 1, 18},
    {"far right of the tablature's music lands just after it",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(9), TabRowY(f, kTab, 4)};
     },
     kTab, 3, 4},
    {"below the score lands on the last line above its lower space",
     [](const MouseFixture& f) {
       return POINT{MouseFixture::NoteColumnX(1), f.Bottom(kDrums) + 200};
     },
     kDrums, 1, 18},
};

class ClickRow : public MouseFixture, public ::testing::WithParamInterface<RowCase> {};

TEST_P(ClickRow, PutsTheCaretOnTheLineColumnAndRow) {
  const RowCase& c = GetParam();
  view->m_caretRow = 11;
  const POINT at = c.at(*this);
  Click(at.x, at.y);
  EXPECT_EQ(view->GetCurrentLine(), c.line);
  EXPECT_EQ(view->GetCurrentType(), Entry(c.line).type);
  EXPECT_EQ(view->GetCaretColumn(), c.column);
  EXPECT_EQ(view->GetCaretRow(), c.row < 0 ? 11 : c.row);
  EXPECT_TRUE(ui.Beeps().empty());
  EXPECT_EQ(EditSteps(), 0) << "a click without a toolbox symbol edits nothing";
}

INSTANTIATE_TEST_SUITE_P(Families, ClickRow, ::testing::ValuesIn(kRowCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// Measured lines: a click at a column's own x gives that column back.
class ClickMeasured : public MouseFixture {};

TEST_F(ClickMeasured, TextLineColumnIsTheCharacterUnderThePointer) {
  auto* text = dynamic_cast<KStrLine*>(Line(kText));
  ASSERT_NE(text, nullptr);
  const int x = text->GetXOfColumn(host.GetMeasureDC(), view->m_textFonts, 6) + view->m_contentLeft + 1;
  view->m_currentLine = kStaff;
  view->m_caretRow = 20;
  Click(x, Top(kText) + 4);
  EXPECT_EQ(view->GetCurrentLine(), kText);
  EXPECT_EQ(view->GetCaretColumn(), 6);
  EXPECT_EQ(view->GetCaretRow(), 20);
}

TEST_F(ClickMeasured, RhythmLineColumnIsTheColumnUnderThePointer) {
  auto* rhythm = dynamic_cast<KRhythmLine*>(Line(kRhythm));
  ASSERT_NE(rhythm, nullptr);
  const int x = rhythm->GetColumnX(host.GetMeasureDC(), 5, 0) + view->m_contentLeft;
  Click(x, Top(kRhythm) + 4);
  EXPECT_EQ(view->GetCurrentLine(), kRhythm);
  EXPECT_EQ(view->GetCaretColumn(), 5);
}

// The window shows only part of the score.
// A window whose bottom edge cuts through the rhythm line.
constexpr int kShortWindow = 227;

class ClickScrolled : public MouseFixture {
 protected:
  void SetUp() override {
    MouseFixture::SetUp();
    host.client = RECT{0, 0, 800, kShortWindow};
    view->FindTopLine(0);
  }
};

TEST_F(ClickScrolled, ReleaseOnAPartlyShownLineMovesThereAndScrollsItIn) {
  ASSERT_LT(view->GetLastVisible(), kRhythm)
      << "the rhythm line must start inside the window and end below it";
  ASSERT_LT(Top(kRhythm), kShortWindow);
  Click(40, Top(kRhythm) + 2);
  EXPECT_EQ(view->GetCurrentLine(), kRhythm);
  EXPECT_GT(host.scroll.y, 0);
  EXPECT_LE(Bottom(kRhythm), host.scroll.y + kShortWindow) << "the line's bottom is in the window";
  EXPECT_EQ(host.scroll.y, Top(view->GetFirstVisible())) << "the window starts on a line's top";
}

TEST_F(ClickScrolled, PressOutsideEveryLineAnchorsOnTheLastLine) {
  view->OnLButtonDown(MK_LBUTTON, POINT{MouseFixture::NoteColumnX(1), Bottom(kDrums) + 50});
  EXPECT_EQ(view->m_selFirstLine, kLineCount - 1);
  EXPECT_EQ(view->m_selLastLine, kLineCount - 1);
}

TEST_F(ClickScrolled, ClickAfterTheBarMovedTheWindowHitsTheLineUnderThePointer) {
  // The scroll bar moved the window without the view laying out its
  // visible lines again.
  host.scroll.y = Top(kRhythm);
  Click(MouseFixture::NoteColumnX(1), Top(kDrums) + 30);
  EXPECT_EQ(view->GetCurrentLine(), kDrums);
}

class ClickStates : public MouseFixture {};

TEST_F(ClickStates, FirstReleaseAfterOpeningOnlyArmsTheView) {
  view->m_mouseArmed = 0;
  Click(MouseFixture::NoteColumnX(2), Top(kStaff) + 40);
  EXPECT_EQ(view->GetCurrentLine(), kText);
  EXPECT_EQ(view->m_mouseArmed, 1);
  EXPECT_EQ(view->m_leftButtonHeld, 0);
  Click(MouseFixture::NoteColumnX(2), Top(kStaff) + 40);
  EXPECT_EQ(view->GetCurrentLine(), kStaff);
}

TEST_F(ClickStates, PressAnchorsTheSelectionOnTheClickedColumn) {
  view->OnLButtonDown(MK_LBUTTON, Client(MouseFixture::NoteColumnX(3) + 2, Top(kTab) + 30));
  EXPECT_EQ(view->m_selFirstLine, kTab);
  EXPECT_EQ(view->m_selAnchorColumn, 3);
  EXPECT_EQ(view->m_selFirstColumn, 3);
  EXPECT_EQ(view->m_selLastColumn, 3);
  EXPECT_EQ(view->m_selPixelLeft, MouseFixture::NoteColumnX(3));
  EXPECT_EQ(view->m_leftButtonHeld, 1);
  EXPECT_FALSE(view->SelectionRectShown()) << "a press alone shows no highlight";
}

TEST_F(ClickStates, LabelClickSelectsTheWholeLine) {
  view->OnLButtonDown(MK_LBUTTON, Client(3, Top(kStaff) + 20));
  EXPECT_EQ(view->m_selFirstLine, kStaff);
  EXPECT_EQ(view->m_selLastLine, kStaff);
  EXPECT_EQ(view->m_selPixelLeft, 0);
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(ClickStates, LabelClickAfterASelectionOnlyClearsIt) {
  Select(kStaff, kTab, 0, 2);
  ASSERT_TRUE(view->SelectionRectShown());
  view->OnLButtonDown(MK_LBUTTON, Client(3, Top(kStaff) + 20));
  EXPECT_FALSE(view->SelectionRectShown());
  EXPECT_EQ(view->m_leftButtonHeld, 0);
  view->OnLButtonUp(0, Client(3, Top(kStaff) + 20));
  view->OnLButtonDown(MK_LBUTTON, Client(3, Top(kStaff) + 20));
  EXPECT_TRUE(view->SelectionRectShown()) << "the next label click selects the line";
}

TEST_F(ClickStates, RightClickOnALabelSelectsFromTheClefOn) {
  RightClick(3, Top(kStaff) + 20);
  EXPECT_EQ(view->m_selFirstLine, kStaff);
  EXPECT_EQ(view->m_selPixelLeft, 34 + view->m_contentLeft);
  EXPECT_EQ(view->m_rightButton, 0);
}

TEST_F(ClickStates, RightClickWithALineSelectedStillSelectsTheLine) {
  Select(kStaff, kStaff, 0, 2);
  RightClick(3, Top(kTab) + 20);
  EXPECT_EQ(view->m_selFirstLine, kTab);
  EXPECT_TRUE(view->SelectionRectShown());
}

TEST_F(ClickStates, ScoreWithoutShownLinesBeepsAndSaysSo) {
  view->m_lineCount = 0;
  Click(40, 40);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_EQ(ui.CountOf(7041), 1);
}

TEST_F(ClickStates, PlayRangeClicksMarkStartAndEndWithoutMovingTheCaret) {
  view->m_playAwaitStart = 1;
  Click(MouseFixture::NoteColumnX(1), Top(kStaff) + 40);
  EXPECT_EQ(view->m_playFirstLine, kStaff);
  EXPECT_EQ(view->m_playFirstColumn, 1);
  EXPECT_EQ(view->m_playAwaitEnd, 1);
  EXPECT_EQ(view->GetCurrentLine(), kText) << "the caret stays";
  Click(MouseFixture::NoteColumnX(2), Top(kTab) + 40);
  EXPECT_EQ(view->m_playLastLine, kTab);
  EXPECT_EQ(view->m_playLastColumn, 2);
  EXPECT_EQ(view->m_playAwaitEnd, 0);
  EXPECT_EQ(view->GetCurrentLine(), kText);
  EXPECT_EQ(doc.settings.word70, kStaff);
  EXPECT_EQ(doc.settings.word72, kTab);
  EXPECT_EQ(doc.settings.word75 - doc.settings.word74, view->m_playEndX - view->m_playStartX);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(ClickStates, LeavingANoteLineMarksItForItsFinalLayout) {
  view->m_currentLine = kStaff;
  view->m_currentType = Entry(kStaff).type;
  List(kStaff)->ClearChanged();
  Click(40, Top(kText) + 4);
  EXPECT_NE(List(kStaff)->IsChanged(), 0);
}

}  // namespace
}  // namespace mousetest
