// Pasting plain text from other programs, and a copied range pasted as new
// lines or merged into an existing line.

#include "ClipTestSupport.h"

namespace {

using cliptest::ClipFixture;
using namespace viewtest;

struct TextCase {
  const char* name;
  const char* clipboard;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class PlainTextPasteTest : public ClipFixture, public ::testing::WithParamInterface<TextCase> {};

// "one" and "two" pasted at column 2 of "abXY": the line keeps "ab" and the
// first line of the text; a new line holds the second followed by "XY".
TEST_P(PlainTextPasteTest, SplitsTheCaretLineAtEveryLineEnd) {
  AddText("abXY");
  Add(MakeStaff({{0, 14}}));
  Layout(0, 2);
  PutText(GetParam().clipboard);
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  EXPECT_EQ(Text(0), "abone");
  EXPECT_EQ(Text(1), "twoXY");
  EXPECT_EQ(view->GetCurrentLine(), 1);
}

const TextCase kTexts[] = {
    {"LineFeed", "one\ntwo"},
    {"CarriageReturnLineFeed", "one\r\ntwo"},
    {"CarriageReturnAlone", "one\rtwo"},
};

INSTANTIATE_TEST_SUITE_P(LineEnds, PlainTextPasteTest, ::testing::ValuesIn(kTexts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClipFixture, TextEndingWithALineEndOnAStaffGivesNewLinesAndAnEmptyLast) {
  Add(MakeStaff({{0, 14}}));
  Layout(0, 0);
  PutText("caf\xe9\r\nbar\r\n");
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 4);
  EXPECT_EQ(Text(1), "caf\xe9");
  EXPECT_EQ(Text(2), "bar");
  EXPECT_EQ(Text(3), "");
  EXPECT_EQ(view->GetCurrentLine(), 3);
  EXPECT_EQ(view->GetCaretColumn(), 0);
}

TEST_F(ClipFixture, PasteOverTypesOverTheCharactersAtTheCaret) {
  AddText("abcdef");
  Layout(0, 1);
  PutText("XY");
  view->PasteSerializedLines(viewclip::kPasteOver, nullptr, 0, -1);
  EXPECT_EQ(Text(0), "aXYdef");
}

TEST_F(ClipFixture, ClipboardWithoutTextOrScoreDataIsRefused) {
  AddText("abc");
  Layout(0, 0);
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, viewclip::kMsgNoPasteableData);
  EXPECT_EQ(Text(0), "abc");
}

TEST_F(ClipFixture, CopyPutsEveryLineOnTheClipboardAsText) {
  for (int i = 0; i < 40; ++i) AddText(("Line number " + std::to_string(i)).c_str());
  Layout(0, 0);
  SelectWhole(0, 39);
  g_clipboardCommand = 1;
  view->SerializeSelection(viewclip::kCopy);
  g_clipboardCommand = 0;
  ASSERT_TRUE(OpenClipboard());
  const std::optional<std::vector<BYTE>> text = GetClipboardData(CF_TEXT);
  CloseClipboard();
  ASSERT_TRUE(text.has_value());
  const std::vector<CString> lines =
      viewclip::SplitPlainText(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
  ASSERT_EQ(lines.size(), 41u);  // the last CR LF leaves an empty tail
  EXPECT_EQ(std::string(lines[39]), "Line number 39");
}

// A range of columns copied from one staff line.
class MergeTest : public ClipFixture {
 protected:
  void CopyColumnsOneAndTwo() {
    // Columns 1 and 2 of the first staff: pixel x 45 + 18 .. 45 + 54.
    SelectPixels(0, 0, kStaffColumnX + kColumnWidth, kStaffColumnX + 3 * kColumnWidth);
    view->m_selFirstColumn = 1;
    view->m_selLastColumn = 3;
    view->SerializeSelection(viewclip::kCopy);
    view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  }
};

TEST_F(MergeTest, ColumnsGoIntoTheCaretLineOfTheSameFamily) {
  Add(MakeStaff({{0, 14}, {1, 16}, {2, 18}}));
  Add(MakeStaff({{0, 10}, {1, 12}}));
  Layout(0, 0);
  CopyColumnsOneAndTwo();
  view->m_currentLine = 1;
  view->m_caretColumn = 1;
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 2);
  EXPECT_EQ(Dump(1), "0:8@10 1:8@16 2:8@18 3:8@12");
}

TEST_F(MergeTest, PasteOverClearsTheSpanAndMovesNothingAfterIt) {
  Add(MakeStaff({{0, 14}, {1, 16}, {2, 18}}));
  Add(MakeStaff({{0, 10}, {1, 12}, {2, 12}, {3, 14}}));
  Layout(0, 0);
  CopyColumnsOneAndTwo();
  view->m_currentLine = 1;
  view->m_caretColumn = 1;
  view->PasteSerializedLines(viewclip::kPasteOver, nullptr, 0, -1);
  EXPECT_EQ(Dump(1), "0:8@10 1:8@16 2:8@18 3:8@14");
}

TEST_F(MergeTest, OnALineOfAnotherFamilyTheColumnsBecomeANewLine) {
  Add(MakeStaff({{0, 14}, {1, 16}, {2, 18}}));
  Add(MakeTab({0, 1}));
  Layout(0, 0);
  CopyColumnsOneAndTwo();
  view->m_currentLine = 1;
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  EXPECT_EQ(Line(2)->GetFamily(), KLineObj::kFamilyStaff);
  EXPECT_EQ(Dump(2), "0:8@16 1:8@18");
}

TEST_F(ClipFixture, WholeLinesAlwaysBecomeNewLines) {
  Add(MakeStaff({{0, 14}}));
  Add(MakeStaff({{0, 10}}));
  Layout(0, 0);
  SelectWhole(0, 0);
  view->SerializeSelection(viewclip::kCopy);
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  view->m_currentLine = 1;
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  EXPECT_EQ(Dump(1), "0:8@10");
  EXPECT_EQ(Dump(2), "0:8@14");
}

TEST_F(ClipFixture, AnAttachmentPastedOnATextLineOnlyBeeps) {
  AddText("words");
  Layout(0, 0);
  KClipData data;
  data.isAttachment = true;
  data.attachment.kind = 3;
  PutStream(WriteClipStream(data));
  const std::vector<BYTE> before = cliptest::StoreDocument(doc);
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  EXPECT_EQ(ui.Beeps().size(), 1u);
  EXPECT_TRUE(cliptest::StoreDocument(doc) == before);
}

}  // namespace
