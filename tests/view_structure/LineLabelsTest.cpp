// Line labels: labelling lines (with the instrument a labelled note line
// takes), the label column, a line's own label indent, and hiding and
// showing lines by label.

#include <string>

#include "StructureTestSupport.h"
#include "dialogs/KDlgSetLineLabel.h"
#include "dialogs/KDlgViewLblLines.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace structtest;

class LineLabels : public StructureFixture {
 protected:
  void Label(const char* text, int scope) {
    ui.AnswerDialog(KDlgSetLineLabel::kTemplateId, [text, scope](KModalDialog& d) {
      d.Controls().SetText(KDlgSetLineLabel::kIdNewLabel, text);
      d.Controls().SetChecked(scope == 0 ? KDlgSetLineLabel::kIdSelected : KDlgSetLineLabel::kIdAll, 1);
      return IDOK;
    });
  }
  std::string LabelOf(int displayLine) const { return std::string(Line(displayLine)->GetLabelName().View()); }
};

TEST_F(LineLabels, LabellingANoteLineShowsTheColumnAndGivesItAnInstrument) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  Open(1, 0);
  view->m_labelsShown = 0;
  const int instruments = view->m_labelCount;
  Label("Flute", 0);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewLabelLines));
  EXPECT_EQ(LabelOf(1), "Flute");
  EXPECT_EQ(view->m_labelsShown, 1) << "a label that goes into the label column shows it";
  EXPECT_GT(view->m_labelWidth, 0);
  EXPECT_EQ(view->m_labelCount, instruments + 1);
  EXPECT_EQ(std::string(view->m_labels[static_cast<size_t>(instruments)].name.View()), "Flute");
}

TEST_F(LineLabels, AllLinesOfTheKindWithTheOldLabelAreRelabelled) {
  AddText("title");
  auto* first = new KStaffLine(0, 0, 0);
  first->SetLabel("Gtr");
  Add(first);
  auto* second = new KStaffLine(0, 0, 0);
  second->SetLabel("Gtr");
  Add(second);
  auto* tab = viewtest::MakeTab({});
  tab->SetLabel("Gtr");
  Add(tab);
  Open(1, 0);
  Label("Guitar", 1);
  view->OnViewLabelSelectedLines();
  EXPECT_EQ(LabelOf(1), "Guitar");
  EXPECT_EQ(LabelOf(2), "Guitar");
  EXPECT_EQ(LabelOf(3), "Gtr") << "another kind of line keeps its label";
}

TEST_F(LineLabels, ShowOnAllLinesTogglesTheColumnAndKeepsItWithTheScore) {
  AddText("title");
  auto* staff = new KStaffLine(0, 0, 0);
  staff->SetLabel("Violin");
  Add(staff);
  Open(1, 0);
  view->m_labelsShown = 0;
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewLabelsAll));
  EXPECT_EQ(view->m_labelsShown, 1);
  EXPECT_EQ(doc.settings.lineLabelMode, 1);
  EXPECT_EQ(view->GetContentLeft(), view->m_labelWidth + 11);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewLabelsAll));
  EXPECT_EQ(view->GetContentLeft(), 11);
}

TEST_F(LineLabels, TheLabelIndentIsAddedAndTakenAwayAgain) {
  AddText("title");
  auto* staff = new KStaffLine(0, 0, 0);
  staff->SetLabel("Oboe");
  Add(staff);
  Add(new KStaffLine(0, 0, 0));
  Open(1, 0);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewLabelIndent));
  EXPECT_EQ(Line(1)->TestFlags(16), 1);
  EXPECT_GT(Line(1)->GetIndent(), 6);
  EXPECT_EQ(Line(2)->TestFlags(16), 0) << "only the current line";
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kLabelIndentNoMenu));
  EXPECT_EQ(Line(1)->TestFlags(16), 0);
  EXPECT_EQ(Line(1)->GetIndent(), 0);
}

class LabeledLines : public LineLabels {
 protected:
  void SetUp() override {
    LineLabels::SetUp();
    AddText("title");
    auto* staff = new KStaffLine(0, 0, 0);
    staff->SetLabel("Piano");
    Add(staff);
    auto* tab = viewtest::MakeTab({});
    tab->SetLabel("Guitar");
    Add(tab);
    doc.settings.showLineType[8] = 0;
  }
};

TEST_F(LabeledLines, TheDialogListsEveryLabelAndHidingOneHidesItsLines) {
  Open(1, 0);
  std::vector<std::string> listed;
  ui.AnswerDialog(KDlgViewLblLines::kTemplateId, [&listed](KModalDialog& d) {
    auto& dlg = static_cast<KDlgViewLblLines&>(d);
    listed = dlg.VisibleTexts();
    dlg.Controls().Select(KDlgViewLblLines::kIdVisible, 2);
    dlg.OnHide();
    return IDOK;
  });
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewLabeledLines));
  EXPECT_EQ(listed, (std::vector<std::string>{"  - unlabeled -", "Piano", "Guitar"}));
  EXPECT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(DocLine(2)->TestFlags(2), 1);
}

TEST_F(LabeledLines, HidingEveryLineIsRefused) {
  Open(1, 0);
  ui.AnswerDialog(KDlgViewLblLines::kTemplateId, [](KModalDialog& d) {
    auto& dlg = static_cast<KDlgViewLblLines&>(d);
    dlg.OnMakeAllVisible();
    dlg.OnInvert();
    EXPECT_TRUE(dlg.VisibleTexts().empty());
    return IDOK;
  });
  view->OnViewLabeledLines();
  EXPECT_EQ(ui.CountOf(7044), 1);
  EXPECT_EQ(view->GetDisplayLineCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(DocLine(i)->TestFlags(2), 0);
}

}  // namespace
