// Scores written before version 3608 indented the text lines of a line group
// with leading blanks; the first update gives them the group's indent in
// pixels and takes off the blanks it stands for.

#include <string>
#include <vector>

#include "ViewLifeTestSupport.h"
#include "common/AppServices.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"

namespace {

// The group indent of a group without lead-in steps: the first column's
// offset less 5.
constexpr int kGroupIndent = 29;
constexpr int kManyBlanks = 40;

class OldIndentation : public ViewLifeTest {
 protected:
  // A staff, a text line with two blanks, one with many and one without, in
  // one group; then an ungrouped text line with blanks.
  void MakeScore() {
    auto* staff = new KStaffLine(0, 0, 0);
    const POSITION staffAt = doc_->AddTailLine(staff);
    std::vector<POSITION> at{staffAt};
    std::vector<int> types{0};
    for (const std::string& text :
         {std::string("  two"), std::string(kManyBlanks, ' ') + "many", std::string("none")}) {
      auto* line = new KStrLine(text.c_str(), 0);
      texts_.push_back(line);
      at.push_back(doc_->AddTailLine(line));
      types.push_back(5);
    }
    auto* group = new KLineGroup(0, at, types, 0);
    doc_->AddLineGroup(group);
    staff->SetGroup(0, group);
    for (KStrLine* line : texts_) line->SetGroup(0, group);
    loose_ = new KStrLine("  loose", 0);
    doc_->AddTailLine(loose_);
    doc_->CheckLineGroups();
  }

  std::vector<KStrLine*> texts_;
  KStrLine* loose_ = nullptr;
};

TEST_F(OldIndentation, GroupedTextLinesTradeTheirBlanksForThePixelIndent) {
  MakeScore();
  ASSERT_EQ(doc_->GetRegroupedTextLineCount(), 3);
  g_fileVersion = 3500;
  CStavlinView& view = UpdatedView();

  // Fifty blanks of the text font measure the rate at which blanks go.
  CFont font;
  LOGFONT logFont = view.m_textFonts[0];
  logFont.lfEscapement = 0;
  ASSERT_TRUE(font.CreateFontIndirect(&logFont));
  CFont* previous = host_.measureDC.SelectObject(&font);
  const int fifty = static_cast<int>(host_.measureDC.GetTextExtent(std::string(50, ' ')).cx);
  host_.measureDC.SelectObject(previous);
  ASSERT_GT(fifty, 0);
  const int taken = std::min(kManyBlanks, kGroupIndent * 50 / fifty);
  ASSERT_LT(taken, kManyBlanks) << "the test wants blanks left over";

  struct Expected {
    std::string text;
    int indent;
  };
  const Expected expected[] = {
      {"two", kGroupIndent},
      {std::string(kManyBlanks - taken, ' ') + "many", kGroupIndent},
      {"none", kGroupIndent},
  };
  for (size_t i = 0; i < texts_.size(); ++i) {
    EXPECT_EQ(texts_[i]->GetText().Str(), expected[i].text) << i;
    EXPECT_EQ(texts_[i]->GetIndent(), expected[i].indent) << i;
  }
  EXPECT_EQ(loose_->GetText().Str(), "  loose") << "a line outside a group keeps its blanks";
  EXPECT_EQ(loose_->GetIndent(), 0);
  EXPECT_TRUE(ui_.Messages().empty());
}

TEST_F(OldIndentation, NewerScoresAreLeftAsTheyAre) {
  MakeScore();
  g_fileVersion = 3608;
  UpdatedView();
  EXPECT_EQ(texts_[0]->GetText().Str(), "  two");
  EXPECT_EQ(texts_[0]->GetIndent(), 0);
}

}  // namespace
