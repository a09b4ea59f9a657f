// Insert/Previous Object: the nth previous note column, bar or chord diagram
// copied to the caret; on a chord line only the note/chord form copies, and
// a search that finds nothing beeps without touching the score.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lines/KChordPicLine.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandIds.h"

namespace {

using viewtest::CaseName;
using viewtest::MakeStaff;
using viewtest::UndoStep;
using viewtest::UndoSteps;

constexpr UINT kNote = cmd::kInsertPreviousFirst;  // + n - 1
constexpr UINT kCluster = kNote + 10;
constexpr UINT kBar = kNote + 20;
constexpr const char* kOpenG = "320003          0000";
constexpr const char* kOpenC = "x32010          0000";

struct StaffCase {
  std::string name;
  UINT id;
  int caret;
  const char* after;  // the staff after the command
  int caretAfter;     // -1: not checked
};

void PrintTo(const StaffCase& c, std::ostream* out) { *out << c.name; }

class PreviousOnStaff : public viewtest::ViewScoreFixture, public ::testing::WithParamInterface<StaffCase> {};

// Notes on rows 10, 11, 12 and 13 in two bars: 0 1 | 3 4 | caret room after.
TEST_P(PreviousOnStaff, CopiesTheNthPreviousObjectToTheCaret) {
  Add(MakeStaff({{0, 10}, {1, 11}, {3, 12}, {4, 13}}, {2, 5}));
  Layout(0, GetParam().caret);
  view->OnInsertPreviousObject(GetParam().id);
  EXPECT_EQ(Dump(0), GetParam().after);
  EXPECT_TRUE(ui.Beeps().empty());
  ASSERT_FALSE(UndoSteps().empty());
  EXPECT_EQ(UndoSteps().front(), (UndoStep{0, 0, 0}));
  if (GetParam().caretAfter >= 0) {
    EXPECT_EQ(view->m_caretColumn, GetParam().caretAfter);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PreviousOnStaff,
    ::testing::Values(StaffCase{"ctrl 1 copies the note just before the caret", kNote, 7,
                                "0:8@10 1:8@11 2:21@1 3:8@12 4:8@13 5:21@1 7:8@13", -1},
                      StaffCase{"ctrl 3 skips bar lines and copies the third note back", kNote + 2, 7,
                                "0:8@10 1:8@11 2:21@1 3:8@12 4:8@13 5:21@1 7:8@11", -1},
                      StaffCase{"alt 1 copies the bar that ends at the nearest bar line", kBar, 6,
                                "0:8@10 1:8@11 2:21@1 3:8@12 4:8@13 5:21@1 6:8@12 7:8@13 8:21@1", 9},
                      StaffCase{"alt 1 mid line moves the later columns right to make room", kBar, 3,
                                "0:8@10 1:8@11 2:21@1 3:8@10 4:8@11 5:21@1 6:8@12 7:8@13 8:21@1", 6},
                      StaffCase{"alt 2 copies the first bar from the start of the line", kBar + 1, 6,
                                "0:8@10 1:8@11 2:21@1 3:8@12 4:8@13 5:21@1 6:8@10 7:8@11 8:21@1", 9}),
    [](const auto& info) { return CaseName(info.param.name); });

class PreviousBar : public viewtest::ViewScoreFixture {};

TEST_F(PreviousBar, CopyTakesTheAttachmentsOfTheBarAlong) {
  Add(MakeStaff({{0, 10}, {1, 11}, {3, 12}}, {2}));
  KLineObj* staff = doc.GetLineAt(lines.back());
  staff->AddAttachment(new KExtendedObj(0, 12, KExtendedObj::kTie, 20, -8, 18, 0));      // inside bar 1
  staff->AddAttachment(new KExtendedObj(3, 12, KExtendedObj::kCrescendo, 0, 0, 30, 7));  // after it
  Layout(0, 5);
  view->OnInsertPreviousObject(kBar);
  EXPECT_EQ(Dump(0), "0:8@10 1:8@11 2:21@1 3:8@12 5:8@10 6:8@11 7:21@1");
  ASSERT_EQ(staff->GetAttachmentCount(), 3);
  const auto* copy = static_cast<KExtendedObj*>(staff->GetAttachments()->GetTail());
  EXPECT_EQ(copy->GetKind(), KExtendedObj::kTie);
  EXPECT_EQ(copy->GetPos(), 5);
  EXPECT_EQ(copy->GetSize(), CSize(18, 0));
}

// A beam group of three eighths (stored stem values: 7 opens, -1 inside, 8
// closes) and a lone quarter after it.
class PreviousCluster : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    Add(MakeStaff({{0, 10}, {1, 11}, {2, 12}, {3, 13}}, {}, viewtest::kEighth));
    KListLine* list = doc.GetLineAt(lines.back())->AsListLine();
    const int stems[] = {7, -1, 8, 0};
    int i = 0;
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr; ++i) {
      static_cast<KChord*>(list->GetObjList()->GetNext(node))->SetVoiceStem(0, stems[i]);
    }
  }
};

TEST_F(PreviousCluster, CtrlShift1CopiesTheWholeGroupKeepingItsJoins) {
  Layout(0, 5);
  view->OnInsertPreviousObject(kCluster);
  EXPECT_EQ(Dump(0), "0:0@10 1:0@11 2:0@12 3:0@13 5:0@10 6:0@11 7:0@12");
  EXPECT_EQ(view->m_caretColumn, 8);
  EXPECT_EQ(UndoSteps().front(), (UndoStep{0, 0, 0}));
  std::vector<int> stems;
  for (POSITION node = List(0)->GetObjList()->GetHeadPosition(); node != nullptr;) {
    stems.push_back(static_cast<KChord*>(List(0)->GetObjList()->GetNext(node))->GetVoiceStem(0));
  }
  EXPECT_EQ(stems, (std::vector<int>{7, -1, 8, 0, 7, -1, 8}));
}

TEST_F(PreviousCluster, CtrlShift2FindsNoSecondGroupAndBeeps) {
  Layout(0, 5);
  view->OnInsertPreviousObject(kCluster + 1);
  EXPECT_EQ(Dump(0), "0:0@10 1:0@11 2:0@12 3:0@13");
  EXPECT_EQ(ui.Beeps(), std::vector<UINT>{0x40});
}

class PreviousSearch : public viewtest::ViewScoreFixture {};

TEST_F(PreviousSearch, FourthNoteOfThreeBeepsAndLeavesTheStaffAsItWas) {
  Add(MakeStaff({{0, 10}, {1, 11}, {2, 12}}));
  Layout(0, 4);
  view->OnInsertPreviousObject(kNote + 3);
  EXPECT_EQ(Dump(0), "0:8@10 1:8@11 2:8@12");
  EXPECT_EQ(ui.Beeps(), std::vector<UINT>{0x40});
  EXPECT_TRUE(UndoSteps().empty());
  EXPECT_EQ(view->m_caretColumn, 4);
}

TEST_F(PreviousSearch, CaretAtTheVeryStartDoesNothing) {
  Add(MakeStaff({{0, 10}}));
  Layout(0, 0);
  view->OnInsertPreviousObject(kNote);
  EXPECT_TRUE(ui.Beeps().empty());
  EXPECT_TRUE(UndoSteps().empty());
  EXPECT_EQ(Dump(0), "0:8@10");
}

TEST_F(PreviousSearch, CaretAtColumnZeroSearchesTheSameKindOfLineAbove) {
  Add(MakeStaff({{0, 10}, {1, 11}}));
  Add(MakeStaff({}));
  Layout(1, 0);
  view->OnInsertPreviousObject(kNote + 1);
  EXPECT_EQ(Dump(1), "0:8@10");
}

// ---- Chord lines ------------------------------------------------------------------

struct ChordLineCase {
  std::string name;
  UINT id;
  const char* after;
  std::vector<UINT> beeps;
};

void PrintTo(const ChordLineCase& c, std::ostream* out) { *out << c.name; }

class PreviousOnChordLine : public viewtest::ViewScoreFixture,
                            public ::testing::WithParamInterface<ChordLineCase> {};

TEST_P(PreviousOnChordLine, OnlyTheNoteFormCopiesADiagram) {
  AddChordLine();
  auto* line = dynamic_cast<KChordPicLine*>(doc.GetLineAt(lines.back()));
  line->InsertDiagramAt(0, "G", kOpenG, 0, 1);
  line->InsertDiagramAt(4, "C", kOpenC, 0, 1);
  Layout(0, 10);
  view->OnInsertPreviousObject(GetParam().id);
  std::string names;
  for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;) {
    if (const auto* pic = dynamic_cast<const KChordPic*>(line->GetObjList()->GetNext(node))) {
      names += std::to_string(pic->GetPos()) + ':' + static_cast<LPCTSTR>(pic->GetName()) + ' ';
    }
  }
  EXPECT_EQ(names, GetParam().after);
  EXPECT_EQ(ui.Beeps(), GetParam().beeps);
  EXPECT_EQ(UndoSteps().empty(), !GetParam().beeps.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PreviousOnChordLine,
    ::testing::Values(ChordLineCase{"ctrl 1 copies the last diagram", kNote, "0:G 4:C 10:C ", {}},
                      ChordLineCase{"ctrl 2 copies the one before it", kNote + 1, "0:G 4:C 10:G ", {}},
                      ChordLineCase{"ctrl 3 finds none and beeps", kNote + 2, "0:G 4:C ", {0x40}},
                      ChordLineCase{"ctrl shift 1 only beeps", kCluster, "0:G 4:C ", {0}},
                      ChordLineCase{"alt 1 only beeps", kBar, "0:G 4:C ", {0}}),
    [](const auto& info) { return CaseName(info.param.name); });

}  // namespace
