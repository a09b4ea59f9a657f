// Insert/Text Line through the insert-line worker.

#include <string>

#include "ViewLifeTestSupport.h"
#include "lines/KStrLine.h"

namespace {

std::string TextAt(const CStavlinDoc& doc, int index) {
  POSITION pos = doc.GetFirstLinePosition();
  for (int i = 0; i < index && pos != nullptr; ++i) doc.GetNextLine(pos);
  const auto* line = dynamic_cast<const KStrLine*>(doc.GetLineAt(pos));
  return line != nullptr ? std::string(line->GetText().View()) : std::string("(not text)");
}

TEST_F(ViewLifeTest, TextLineAtTheVeryStartBecomesTheFirstLine) {
  AddTextLines({"old first"});
  CStavlinView& view = UpdatedView();
  view.InsertLineOfType(5, 0);
  ASSERT_EQ(doc_->GetLineCount(), 2);
  EXPECT_EQ(TextAt(*doc_, 0), "");
  EXPECT_EQ(TextAt(*doc_, 1), "old first");
  EXPECT_EQ(view.GetCurrentLine(), 0);
  EXPECT_TRUE(doc_->IsModified());
}

TEST_F(ViewLifeTest, TextHandOverInsertsAfterTheFirstLine) {
  AddTextLines({"old first", "old second"});
  CStavlinView& view = UpdatedView();
  view.InsertLineOfType(5, 1111);
  ASSERT_EQ(doc_->GetLineCount(), 3);
  EXPECT_EQ(TextAt(*doc_, 0), "old first");
  EXPECT_EQ(TextAt(*doc_, 1), "");
  EXPECT_EQ(view.GetCurrentLine(), 1);
  EXPECT_EQ(view.GetCaretColumn(), 0);
  EXPECT_EQ(view.GetDisplayLineCount(), 3);
}

TEST_F(ViewLifeTest, HiddenTextLinesAreShownBeforeOneIsInserted) {
  AddTextLines({"a"});
  AddStaffLine(0);
  Settings().showLineType[8] = 0;
  Settings().showLineType[5] = 0;
  CStavlinView& view = UpdatedView();
  ASSERT_EQ(view.GetDisplayLineCount(), 1);
  view.InsertLineOfType(5, 1111);
  EXPECT_EQ(view.m_show[5], 1);
  EXPECT_EQ(view.GetDisplayLineCount(), 3);
}

}  // namespace
