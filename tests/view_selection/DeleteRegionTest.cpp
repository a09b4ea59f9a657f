// DeleteSelectedRegion: the selected columns of each line go and the lines
// close up; a Cut of full-width lines takes the lines themselves.

#include <gtest/gtest.h>

#include "support/ViewTestSupport.h"

namespace {

using namespace viewtest;

constexpr int kCut = 1;
constexpr int kRemove = 2;
constexpr int kFromEdit = 1;

// Selects the pixel range [left, right) over the display lines.
void SelectPixels(CStavlinView& view, int firstLine, int lastLine, int left, int right) {
  view.m_selPixelLeft = left;
  view.m_selPixelRight = right;
  view.UpdateSelection(0, 0, firstLine, lastLine, 14);
}

class DeleteRegionTest : public ViewScoreFixture {};

TEST_F(DeleteRegionTest, EmptySelectionDeletesNothing) {
  Add(MakeStaff({{0, 12}, {1, 14}}));
  Layout(0);
  EXPECT_EQ(view->DeleteSelectedRegion(kRemove, kFromEdit, 1), 0);
  EXPECT_EQ(Dump(0), "0:8@12 1:8@14");
}

TEST_F(DeleteRegionTest, RemovingColumnsOfOneStaffClosesTheGap) {
  Add(MakeStaff({{0, 12}, {1, 14}, {2, 16}, {3, 18}, {5, 20}}));
  AddText("words");
  Layout(0);
  Select(0, 0, 1, 3);
  EXPECT_EQ(view->DeleteSelectedRegion(kRemove, kFromEdit, 1), 1);
  EXPECT_EQ(Dump(0), "0:8@12 1:8@18 3:8@20");
  EXPECT_FALSE(view->HasSelection());
  EXPECT_EQ(view->GetCaretColumn(), 1);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DeleteRegionTest, AnEmptyColumnInTheRangeClosesUpToo) {
  Add(MakeStaff({{0, 12}, {2, 16}, {3, 18}}));
  Layout(0);
  Select(0, 0, 0, 2);
  view->DeleteSelectedRegion(kRemove, kFromEdit, 1);
  EXPECT_EQ(Dump(0), "0:8@16 1:8@18");
}

TEST_F(DeleteRegionTest, DeletingAcrossAWholeGroupMovesEachLineOnce) {
  const POSITION staff = Add(MakeStaff({{0, 12}, {1, 14}, {2, 16}, {3, 18}}));
  const POSITION tab = Add(MakeTab({0, 1, 2, 3}));
  Group(4, {staff, tab}, true);
  Layout(0);
  Select(0, 1, 1, 2);
  view->DeleteSelectedRegion(kRemove, kFromEdit, 1);
  EXPECT_EQ(DumpAt(staff), "0:8@12 1:8@16 2:8@18");
  EXPECT_EQ(DumpAt(tab), "0:228@4 1:228@4 2:228@4");
  EXPECT_EQ(g_alignOptions[0], 0);
}

TEST_F(DeleteRegionTest, CuttingBarsFromPartOfAGroupMakesGroupLinesIndependent) {
  const POSITION staff = Add(MakeStaff({{0, 12}, {2, 16}}, {1, 3}));
  const POSITION tab = Add(MakeTab({0, 2}));
  Group(4, {staff, tab}, true);
  Layout(0);
  view->m_independentEditing = 0;
  view->m_mutualTranslation = 1;
  Select(0, 0, 0, 2);
  view->DeleteSelectedRegion(kCut, kFromEdit, 1);
  EXPECT_EQ(view->m_independentEditing, 1);
  EXPECT_EQ(view->m_mutualTranslation, 0);
  EXPECT_EQ(view->m_translationRestore, 1);
  EXPECT_EQ(ui.CountOf(8231), 1);
}

TEST_F(DeleteRegionTest, UndoDeletionAcrossBarsOfPartOfAGroupLeavesIndependenceAlone) {
  const POSITION staff = Add(MakeStaff({{0, 12}, {2, 16}}, {1, 3}));
  const POSITION tab = Add(MakeTab({0, 2}));
  Group(4, {staff, tab}, true);
  Layout(0);
  view->m_independentEditing = 0;
  Select(0, 0, 0, 2);
  view->DeleteSelectedRegion(kCut, 2, 1);
  EXPECT_EQ(view->m_independentEditing, 0);
  EXPECT_EQ(ui.CountOf(8231), 0);
}

TEST_F(DeleteRegionTest, CutOfFullWidthLinesRemovesThem) {
  AddText("one");
  Add(MakeStaff({{0, 12}}));
  AddText("two");
  AddText("three");
  Layout(0);
  SelectPixels(*view, 1, 2, 0, 500);
  view->DeleteSelectedRegion(kCut, kFromEdit, 1);
  ASSERT_EQ(doc.GetLineCount(), 2);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(Text(0), "one");
  EXPECT_EQ(Text(1), "three");
  EXPECT_EQ(view->GetCurrentLine(), 1);
  EXPECT_EQ(view->GetCaretColumn(), 0);
}

TEST_F(DeleteRegionTest, RemoveOfFullWidthLinesEmptiesButKeepsThem) {
  Add(MakeStaff({{0, 12}, {1, 14}}));
  AddText("words");
  Layout(0);
  SelectPixels(*view, 0, 1, 0, 2000);
  view->DeleteSelectedRegion(kRemove, kFromEdit, 1);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(Dump(0), "");
  EXPECT_EQ(Text(1), "");
}

TEST_F(DeleteRegionTest, CutOfEveryLineLeavesOneTextLineAndShowsAllTypes) {
  Add(MakeStaff({{0, 12}}));
  AddText("words");
  Layout(0);
  view->m_currentTextFont = 3;
  view->m_fontUseCounts[3] = 0;
  view->m_show[8] = 0;
  SelectPixels(*view, 0, 1, 0, 2000);
  view->DeleteSelectedRegion(kCut, kFromEdit, 1);
  ASSERT_EQ(doc.GetLineCount(), 1);
  auto* text = dynamic_cast<KStrLine*>(doc.GetLineAt(doc.GetFirstLinePosition()));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(text->GetText())), "");
  EXPECT_EQ(text->GetFontIndex(), 3);
  EXPECT_EQ(view->m_fontUseCounts[3], 1);
  EXPECT_EQ(doc.fontUseCounts[2], 1);
  EXPECT_EQ(view->m_show[8], 1);
  ScoreSettings settings;
  doc.GetSettings(settings);
  EXPECT_EQ(settings.showLineType[ScoreSettings::kShowAll], 1);
  EXPECT_EQ(view->GetCurrentLine(), 0);
}

TEST_F(DeleteRegionTest, CuttingOneLineOfATwoLineGroupDissolvesTheGroup) {
  const POSITION staff = Add(MakeStaff({{0, 12}}));
  const POSITION tab = Add(MakeTab({0}));
  AddText("after");
  Group(4, {staff, tab}, true);
  Layout(0);
  SelectPixels(*view, 1, 1, 0, 2000);
  view->DeleteSelectedRegion(kCut, kFromEdit, 1);
  EXPECT_EQ(doc.GetLineGroupCount(), 0);
  ASSERT_EQ(doc.GetLineCount(), 2);
  EXPECT_EQ(doc.GetLineAt(staff)->GetGroupId(), KLineObj::kNoGroup);
  EXPECT_EQ(doc.GetLineAt(staff)->GetGroup(), nullptr);
}

TEST_F(DeleteRegionTest, TextCharactersInsideTheSelectionAreCut) {
  AddText("abcdef");
  Layout(0);
  CDC* dc = host.GetMeasureDC();
  auto* text = dynamic_cast<KStrLine*>(Line(0));
  const int left = 11 + text->GetXOfColumn(dc, view->m_textFonts, 2);
  const int right = 11 + text->GetXOfColumn(dc, view->m_textFonts, 4);
  SelectPixels(*view, 0, 0, left, right);
  view->DeleteSelectedRegion(kRemove, kFromEdit, 1);
  EXPECT_EQ(Text(0), "abef");
}

}  // namespace
