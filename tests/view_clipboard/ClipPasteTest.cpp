// Pasting plain text from other programs, and a copied range pasted as new
// lines or merged into an existing line.

#include "ClipTestSupport.h"
#include "support/CaseName.h"

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

constexpr int kPairStaff = 1;  // display lines of the bracketed pair
constexpr int kPairTab = 2;

// A staff bracketed with its tablature line below a staff to copy from:
// with mutual translation on, a bar pasted into either line of the pair goes
// into both, the frets playing the pasted notes, and what stood from the
// caret on moves along in both lines.
class PairMergeTest : public MergeTest {
 protected:
  void SetUp() override {
    MergeTest::SetUp();
    Add(MakeStaff({{0, 14}, {1, 16}, {2, 18}}));  // D5 and B4 in columns 1 and 2
    const POSITION staff = Add(MakeStaff({{0, 22}, {1, 22}}));
    const POSITION tab = Add(MakeTab({0, 1}));
    Group(1, {staff, tab}, true);
    view->m_mutualTranslation = 1;
    Layout(0, 0);
    CopyColumnsOneAndTwo();
  }
};

struct PairPasteCase {
  const char* name;
  int translation;
  int mode;
  const char* staff;
  const char* tab;
};

void PrintTo(const PairPasteCase& c, std::ostream* os) { *os << c.name; }

class PairPaste : public PairMergeTest, public ::testing::WithParamInterface<PairPasteCase> {};

TEST_P(PairPaste, KeepsBothLinesInStep) {
  const PairPasteCase& c = GetParam();
  view->m_mutualTranslation = c.translation;
  view->m_currentLine = kPairStaff;
  view->m_caretColumn = 1;
  view->PasteSerializedLines(c.mode, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 3) << "merged, not new lines";
  EXPECT_EQ(Dump(kPairStaff), c.staff);
  EXPECT_EQ(Dump(kPairTab), c.tab);
}

// Staff rows: D5 16, B4 18, E4 22. Frets: code 226 + fret on a string row:
// D5 is the B string's (row 3) fret 3, B4 its open string; the pair's own
// tablature holds fret 2 on row 4.
INSTANTIATE_TEST_SUITE_P(
    Modes, PairPaste,
    ::testing::Values(PairPasteCase{"insert fills the staff and its tablature", 1, viewclip::kPasteInsert,
                                    "0:8@22 1:8@16 2:8@18 3:8@22", "0:228@4 1:229@3 2:226@3 3:228@4"},
                      PairPasteCase{"paste over fills both without moving what follows", 1,
                                    viewclip::kPasteOver, "0:8@22 1:8@16 2:8@18", "0:228@4 1:229@3 2:226@3"},
                      PairPasteCase{"without mutual translation only the staff changes", 0,
                                    viewclip::kPasteInsert, "0:8@22 1:8@16 2:8@18 3:8@22",
                                    "0:228@4 1:228@4"}),
    [](const ::testing::TestParamInfo<PairPasteCase>& info) { return CaseName(info.param.name); });

// D F# A copied from a staff in D major and pasted into a bracketed pair in
// another key keep their pitches: the staff gets the signs the new key needs,
// and the tablature line frets the same three pitches.
struct KeyPasteCase {
  const char* name;
  int fromKey, toKey;
};

void PrintTo(const KeyPasteCase& c, std::ostream* os) { *os << c.name; }

class KeyPaste : public ClipFixture, public ::testing::WithParamInterface<KeyPasteCase> {};

TEST_P(KeyPaste, PastedNotesKeepTheirPitches) {
  const KeyPasteCase& c = GetParam();
  auto* from = new KStaffLine(0, c.fromKey, 0);
  for (const auto& [column, row] : {std::pair{0, 16}, {1, 14}, {2, 12}})
    from->GetObjList()->AddTail(new KChord(column, row, kQuarter, 0));
  from->UpdateTimeSigCache();
  Add(from);
  const POSITION staff = Add(new KStaffLine(0, c.toKey, 0));
  const POSITION tab = Add(MakeTab({}));
  Group(1, {staff, tab}, true);
  view->m_mutualTranslation = 1;
  Layout(0, 0);
  // The copied staff's columns start after its key signature.
  const int keyWidth = c.fromKey == 0 ? 0 : 5 * (c.fromKey / 2 + 1);
  SelectPixels(0, 0, kStaffColumnX + keyWidth, kStaffColumnX + keyWidth + 3 * kColumnWidth);
  view->m_selFirstColumn = 0;
  view->m_selLastColumn = 3;
  view->SerializeSelection(viewclip::kCopy);
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  view->m_currentLine = 1;
  view->m_caretColumn = 0;
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  const auto* target = static_cast<const KStaffLine*>(Line(1));
  const auto* tabLine = static_cast<const KTabLine*>(Line(2));
  ASSERT_EQ(target->GetObjList()->GetCount(), 3) << Dump(1);
  for (int column = 0; column < 3; ++column) {
    const int row = 16 - 2 * column;
    const int pitch = from->GetPitchAtRow(row, column);
    EXPECT_EQ(target->GetPitchAtRow(row, column), pitch) << "column " << column << ": " << Dump(1);
    const POSITION node = tabLine->FindNodeAt(column, 0);
    const KChord* fretted = node != nullptr ? AsChord(tabLine->GetObjList()->GetAt(node)) : nullptr;
    ASSERT_NE(fretted, nullptr) << Dump(2);
    const NotePair fret = fretted->GetNote(0);
    EXPECT_EQ(tabLine->GetPitchAt(fret.position, fret.code), pitch) << "column " << column << ": " << Dump(2);
  }
}

// D F# A gets its sharp in C and in B flat major; D F A copied from C major
// gets a natural sign before the F in D major.
INSTANTIATE_TEST_SUITE_P(Keys, KeyPaste,
                         ::testing::Values(KeyPasteCase{"D major into C major", 4, 0},
                                           KeyPasteCase{"C major into D major", 0, 4},
                                           KeyPasteCase{"D major into B flat major", 4, 5}),
                         [](const ::testing::TestParamInfo<KeyPasteCase>& info) {
                           return CaseName(info.param.name);
                         });

// A bar copied from both lines of the pair goes back into both.
TEST_F(PairMergeTest, BothLinesCopiedTogetherArePastedTogether) {
  SelectPixels(kPairStaff, kPairTab, kStaffColumnX, kStaffColumnX + kColumnWidth);
  view->m_selFirstColumn = 0;
  view->m_selLastColumn = 1;
  view->SerializeSelection(viewclip::kCopy);
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  view->m_currentLine = kPairStaff;
  view->m_caretColumn = 2;
  view->PasteSerializedLines(viewclip::kPasteInsert, nullptr, 0, -1);
  ASSERT_EQ(view->GetDisplayLineCount(), 3);
  EXPECT_EQ(Dump(kPairStaff), "0:8@22 1:8@22 2:8@22");
  EXPECT_EQ(Dump(kPairTab), "0:228@4 1:228@4 2:228@4");
}

// Cutting a bar from the staff of a bracketed pair under mutual translation
// takes it from the tablature line too, as Delete does: the group keeps its
// bars linked, its translation and with it its bracket, and one undo brings
// both lines back.
class PairCut : public ClipFixture {
 protected:
  void SetUp() override {
    ClipFixture::SetUp();
    const POSITION staff = Add(MakeStaff({{0, 22}, {2, 20}, {3, 18}}, {1}));
    auto* tabLine = MakeTab({0, 2, 3});
    tabLine->GetObjList()->InsertAfter(tabLine->GetObjList()->GetHeadPosition(),
                                       new KChord(1, 1, 21, kTabRhythm));
    const POSITION tab = Add(tabLine);
    Group(1, {staff, tab}, true);
    view->m_mutualTranslation = 1;
    Layout(0, 0);
    // Columns 0 and 1 (the note and the bar) of the staff alone.
    SelectPixels(0, 0, kStaffColumnX, kStaffColumnX + 2 * kColumnWidth);
    view->m_selFirstColumn = 0;
    view->m_selLastColumn = 2;
  }
};

TEST_F(PairCut, TakesTheBarFromBothLinesAndKeepsTheGroupLinked) {
  const std::string staffBefore = Dump(0);
  const std::string tabBefore = Dump(1);
  view->OnEditCut();
  EXPECT_EQ(Dump(0), "0:8@20 1:8@18");
  EXPECT_EQ(Dump(1), "0:228@4 1:228@4");
  EXPECT_EQ(view->m_independentEditing, 0) << "the group's bars stay linked";
  EXPECT_NE(view->m_mutualTranslation, 0) << "translation, and the bracket drawn with it, stay";
  EXPECT_TRUE(ui.Messages().empty()) << "no notice of independent editing";
  view->OnEditUndo();
  EXPECT_EQ(Dump(0), staffBefore);
  EXPECT_EQ(Dump(1), tabBefore);
}

TEST_F(PairCut, WithoutMutualTranslationOnlyTheSelectedLineLosesTheBar) {
  view->m_mutualTranslation = 0;
  const std::string tabBefore = Dump(1);
  view->OnEditCut();
  EXPECT_EQ(Dump(0).find("@22"), std::string::npos) << "the staff lost its first note";
  EXPECT_EQ(Dump(0).find("21@"), std::string::npos) << "and its bar";
  EXPECT_EQ(Dump(1), tabBefore);
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
