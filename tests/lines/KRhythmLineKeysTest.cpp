// Key entry and editing on a rhythm line: typing text and symbols, the dot
// after a note, the circled c, deleting with linked runs, blanks, splitting,
// word steps, arrow keys and the mirroring of note-line entries.

#include <gtest/gtest.h>

#include "RhythmLineTestSupport.h"
#include "lines/KStaffLine.h"
#include "platform/RecordingDC.h"

namespace {

using namespace rhythm;

TEST_F(RhythmLineTest, TypingBuildsTextRunsAndSymbols) {
  struct Case {
    const char* keys;
    const char* letters;
    const char* items;
  } cases[] = {
      {"ab", "ab", "\"ab\"@0"},
      {"^w.", "w.", "205/0@0 222/0@9"},
      {"a.", "a.", "\"a.\"@0"},
      {"(c)", "\xa9", "\"\xa9\"@0"},
      {"ab^qc", "abqc", "\"ab\"@0 207/0@18 \"c\"@27"},
      {"^t~t~t", "ttt", "223/1@0 223/-11@18 223/-1@36"},
  };
  for (const Case& c : cases) {
    KRhythmLine fresh;
    Type(fresh, c.keys);
    EXPECT_EQ(Dump(fresh), c.items) << c.keys;
    EXPECT_EQ(Letters(fresh), c.letters) << c.keys;
  }
}

TEST_F(RhythmLineTest, LinkingFollowsTheSymbolBefore) {
  // t (1 beam), s (2), y (3): opener, middle, closer with their beam counts.
  Type(line, "^t~s~y");
  EXPECT_EQ(Dump(line), "223/1@0 224/-12@18 225/-3@36");
  // After an opener nothing is linked.
  KRhythmLine other;
  Type(other, "^t~s");
  other.HandleKey(224, 0, 0, 1, 1000, 1, 0, 0);
  EXPECT_EQ(Dump(other), "223/1@0 224/0@18 224/-2@36");
}

TEST_F(RhythmLineTest, DeletingFromALinkedRunMendsItsNeighbours) {
  struct Case {
    int column;
    const char* items;
  } cases[] = {
      {0, "224/2@0 225/-3@18"},  // the middle symbol opens the run
      {2, "223/1@0 224/-2@18"},  // the middle symbol closes it
      {1, "223/1@0 225/-3@18"},  // removing the middle changes no neighbour
  };
  for (const Case& c : cases) {
    KRhythmLine run;
    Type(run, "^t~s~y");
    EXPECT_EQ(run.HandleKey(KListLine::kDeleteCode, 0, 0, c.column, 1000, 0, 0, 0), (KLinePair{0, c.column}));
    EXPECT_EQ(Dump(run), c.items) << c.column;
  }
}

TEST_F(RhythmLineTest, RemoveObjAtTakesTheItemAtExactlyThatPosition) {
  Type(line, "^t~t~t");
  EXPECT_EQ(line.RemoveObjAt(5), 0);
  EXPECT_EQ(Dump(line), "223/1@0 223/-11@18 223/-1@36");
  EXPECT_EQ(line.RemoveObjAt(36), 1);
  EXPECT_EQ(Dump(line), "223/1@0 223/-1@18");
}

TEST_F(RhythmLineTest, EntryOnAnEmptyLineStartsAtPositionZero) {
  struct Case {
    int code;
    int column;
    KLinePair result;
    const char* items;
  } cases[] = {
      {'x', 3, {1, 3}, "\"   x\"@0"},          {32761, 2, {1, 2}, "\"   \"@0"},
      {32763, 2, {8, 2}, "\"          \"@0"},  {207, 0, {1, 0}, "207/0@0"},
      {207, 2, {1, 2}, "\"  \"@0 207/0@18"},   {KListLine::kDeleteCode, 2, {-1, 0}, ""},
      {KListLine::kDeleteCode, 0, {0, 0}, ""},
  };
  for (const Case& c : cases) {
    KRhythmLine empty;
    EXPECT_EQ(empty.HandleKey(c.code, 0, 0, c.column, 1000, 0, 0, 0), c.result) << c.code;
    EXPECT_EQ(Dump(empty), c.items) << c.code;
  }
}

TEST_F(RhythmLineTest, CharactersAndBlanksLandInTheirColumns) {
  // "ab", a symbol, then typing beyond the end leaves blank columns before the text.
  Type(line, "ab^q");
  Type(line, "z", 6);
  EXPECT_EQ(Letters(line), "abq   z");
  // A blank inserted inside the run moves what follows one column right.
  EXPECT_EQ(line.HandleKey(32761, 0, 0, 1, 1000, 0, 0, 0), (KLinePair{1, 1}));
  EXPECT_EQ(Letters(line), "a bq   z");
  // A run of blanks on the symbol forms a new run before it.
  EXPECT_EQ(line.HandleKey(32763, 0, 0, 3, 1000, 0, 0, 0), (KLinePair{8, 3}));
  EXPECT_EQ(Letters(line), "a b        q   z");
  // Deleting a blank before the z moves it one column left.
  line.HandleKey(KListLine::kDeleteCode, 0, 0, 13, 1000, 0, 0, 0);
  EXPECT_EQ(Letters(line), "a b        q  z");
}

TEST_F(RhythmLineTest, SymbolInsideATextRunSplitsIt) {
  Type(line, "hello");
  Type(line, "^w", 2);
  EXPECT_EQ(Dump(line), "\"he\"@0 205/0@18 \"llo\"@27");
  // A run whose part before the symbol holds only blanks is removed.
  KRhythmLine blanks;
  Type(blanks, "  ab");
  Type(blanks, "^q", 2);
  EXPECT_EQ(Dump(blanks), "207/0@18 \"ab\"@27");
  EXPECT_EQ(Letters(blanks), "  qab");
}

TEST_F(RhythmLineTest, UnlinkedSymbolInsideARunLeavesTwoValidRuns) {
  Type(line, "^t~t~t~t");
  Type(line, "^q", 2);
  EXPECT_EQ(Dump(line), "223/1@0 223/-1@18 207/0@36 223/1@45 223/-1@63");
}

TEST_F(RhythmLineTest, ReplaceAndChangeInPlace) {
  Type(line, "^t~t~t");
  // A selector of 10000 changes the symbol in place; it leaves its run first.
  EXPECT_EQ(line.HandleKey(205, 0, 0, 2, 10000, 0, 0, 0), (KLinePair{1, 2}));
  EXPECT_EQ(Dump(line), "223/1@0 223/-1@18 205/0@36");
  // Replace: the column is cleared first.
  line.HandleKey(207, 0, 0, 0, 1000, 0, 1, 0);
  EXPECT_EQ(Dump(line), "207/0@0 223/0@9 205/0@27");
  // A selector on text changes nothing.
  KRhythmLine text;
  Type(text, "ab");
  EXPECT_EQ(text.HandleKey(205, 0, 0, 0, 10000, 0, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(Dump(text), "\"ab\"@0");
}

TEST_F(RhythmLineTest, RefusedCodesChangeNothing) {
  Type(line, "ab^q");
  const std::string before = Dump(line);
  for (const int code : {-5, 256, 5000, 32760}) {
    EXPECT_EQ(line.HandleKey(code, 0, 0, 1, 1000, 0, 0, 0), (KLinePair{0, -1})) << code;
    EXPECT_EQ(line.HandleKey(code, 0, 0, -1, 1000, 0, 0, 0), (KLinePair{0, -1})) << code;
  }
  EXPECT_EQ(line.HandleKey('a', 0, 0, -3, 1000, 0, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(Dump(line), before);
  EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(RhythmLineTest, AttachmentsFollowTheColumns) {
  Type(line, "abcd");
  line.AddAttachment(new KExtendedObj(2, 3, "Fine", ""));
  line.HandleKey('x', 0, 0, 0, 1000, 0, 0, 0);
  EXPECT_EQ(line.FindAttachmentAt(3, 3, -1) != nullptr, true);
  // Sub-code 1000 keeps them.
  line.HandleKey('x', 1000, 0, 0, 1000, 0, 0, 0);
  EXPECT_NE(line.FindAttachmentAt(3, 3, -1), nullptr);
  // Delete with the attachment's row removes the attachment, not the text.
  EXPECT_EQ(line.HandleKey(KListLine::kDeleteCode, 0, 0, 3, 3, 0, 0, 0), (KLinePair{-1, 3}));
  EXPECT_EQ(line.GetAttachmentCount(), 0);
  EXPECT_EQ(Letters(line), "xxabcd");
}

TEST_F(RhythmLineTest, SplitInsideATextRun) {
  Type(line, "ab^qcdef");
  line.AddAttachment(new KExtendedObj(5, 3, "x", ""));
  line.AddAttachment(new KExtendedObj(1, 3, "y", ""));
  line.SetLabel("Strum");
  auto rest = line.SplitAt(5, 0, 0);
  auto* right = dynamic_cast<KRhythmLine*>(rest.get());
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(Dump(line), "\"ab\"@0 207/0@18 \"cd\"@27");
  EXPECT_EQ(Dump(*right), "\"ef\"@0");
  EXPECT_EQ(right->GetLabel(), "Strum");
  EXPECT_EQ(right->GetFontText(), line.GetFontText());
  ASSERT_EQ(right->GetAttachmentCount(), 1);
  EXPECT_NE(right->FindAttachmentAt(0, 3, -1), nullptr);
  EXPECT_EQ(line.GetAttachmentCount(), 1);
}

TEST_F(RhythmLineTest, SplitInsideALinkedRunMendsBothParts) {
  Type(line, "^t~t~t~t");
  auto rest = line.SplitAt(2, 0, 0);
  auto* right = dynamic_cast<KRhythmLine*>(rest.get());
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(Dump(line), "223/1@0 223/-1@18");
  EXPECT_EQ(Dump(*right), "223/1@0 223/-1@18");
}

TEST_F(RhythmLineTest, WordSteps) {
  Type(line, "ab cd^q^q  ef");
  struct Case {
    int column;
    int direction;
    int step;
  } cases[] = {{0, 1, 3},  {3, 1, 2},  {5, 1, 1},  {6, 1, 3}, {9, 1, 0},
               {9, 0, -3}, {6, 0, -1}, {3, 0, -3}, {0, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(line.GetWordStep(0, 0, c.column, c.direction), c.step) << c.column << "/" << c.direction;
}

TEST_F(RhythmLineTest, ArrowKeysMoveAttachmentsOnly) {
  Type(line, "abcdef");
  line.AddAttachment(new KExtendedObj(2, 3, "x", ""));
  const std::string before = Dump(line);
  EXPECT_EQ(line.MoveByArrowKey(2, 0, 38, 0), -1);
  EXPECT_EQ(line.MoveByArrowKey(2, 0, 40, 0), -1);
  EXPECT_NE(line.FindAttachmentAt(2, 3, -1), nullptr);
  EXPECT_EQ(line.MoveByArrowKey(2, 0, 39, 0), 0);
  EXPECT_NE(line.FindAttachmentAt(3, 3, -1), nullptr);
  EXPECT_EQ(line.MoveByArrowKey(3, 0, 37, 0), 0);
  EXPECT_NE(line.FindAttachmentAt(2, 3, -1), nullptr);
  EXPECT_EQ(Dump(line), before);
  // On an empty line without attachments at the column nothing moves.
  KRhythmLine empty;
  EXPECT_EQ(empty.MoveByArrowKey(0, 0, 39, 0), -1);
}

TEST_F(RhythmLineTest, NoteColumnsBecomeSymbols) {
  struct Case {
    int noteCode;
    int style;
    const char* items;
  } cases[] = {
      {8, 0, "207/0@0"}, {9, 1, "210/0@0"},  {12, 3, "214/0@0"}, {0, 2, "231/0@0"},
      {6, 0, "226/0@0"}, {21, 0, "\" \"@0"}, {36, 0, "222/0@0"}, {99, 0, "\" \"@0"},
  };
  for (const Case& c : cases) {
    KRhythmLine mirror;
    KChord column(0, 18, c.noteCode, c.style);
    EXPECT_EQ(mirror.InsertCopy(&column, 0, 0, nullptr, 0).first, 1) << c.noteCode;
    EXPECT_EQ(Dump(mirror), c.items) << c.noteCode;
  }
}

TEST_F(RhythmLineTest, EnterSymbolServesNoteLinesOnly) {
  KStaffLine staff(0, 0, 0);
  // x = lead-in 34 + 3 columns of 9: the column under 27 px plus ceil(34 / 9).
  EXPECT_EQ(line.EnterSymbol(&staff, 8, 1, 0, 34 + 27, 0, 1000, 0, 0), (KLinePair{1, 7}));
  EXPECT_EQ(Letters(line), "       q");
  KRhythmLine other;
  const std::string before = Dump(line);
  EXPECT_EQ(line.EnterSymbol(&other, 8, 0, 0, 100, 0, 1000, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(line.EnterSymbol(&staff, 10008, 0, 0, 100, 0, 1000, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(line.EnterSymbol(nullptr, 8, 0, 0, 100, 0, 1000, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(Dump(line), before);
}

}  // namespace

namespace {

using namespace rhythm;

// Items as a damaged or foreign file may leave them: an empty text run,
// overlapping and far positions, codes no letter enters and link codes out of
// range. Every operation stays in bounds.
TEST_F(RhythmLineTest, DamagedItemsAreHandledSafely) {
  CObList& items = *line.GetObjList();
  auto* empty = new KRhythmObj(0, CString());
  items.AddTail(empty);
  auto* odd = new KRhythmObj(5, 255);
  odd->SetLinkCode(-50);
  items.AddTail(odd);
  auto* opener = new KRhythmObj(3, 230);
  opener->SetLinkCode(100);
  items.AddTail(opener);
  items.AddTail(new KRhythmObj(65535, CString("far")));
  RecordingDC dc;
  line.Draw(&dc, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(line.GetColumnAtX(&dc, 0, 100000, 0, 0, 0), line.GetColumnAtX(&dc, 0, 100000, 0, 0, 0));
  const std::string text = Letters(line);
  // The empty run takes no column; 255 has no letter (a blank), 230 is x.
  EXPECT_EQ(text.substr(0, 2), " x");
  EXPECT_EQ(text.substr(text.size() - 3), "far");
  EXPECT_EQ(line.GetTempoBpm(), -1);
  EXPECT_FLOAT_EQ(line.GetSwingRatio(), -1.0f);
  for (int direction : {0, 1}) line.GetWordStep(0, 0, 3, direction);
  EXPECT_EQ(line.HandleKey('a', 0, 0, 40000, 1000, 0, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(line.HandleKey('a', 0, 0, 1, 1000, 0, 0, 0).first, 1);
  EXPECT_EQ(line.HandleKey(KListLine::kDeleteCode, 0, 0, 1, 1000, 0, 0, 0).first, 0);
  EXPECT_EQ(line.HandleKey(KListLine::kDeleteCode, 0, 0, 0, 1000, 0, 0, 0).first, 0);
  auto rest = line.SplitAt(2, 0, 0);
  ASSERT_NE(rest, nullptr);
  EXPECT_NE(Letters(static_cast<KRhythmLine&>(*rest)).find("far"), std::string::npos);
}

TEST_F(RhythmLineTest, SwingRatioIgnoresUnusableNumbers) {
  struct Case {
    const char* keys;
    float ratio;
  } cases[] = {{"^M^L1:-1", 0.666f}, {"^M^L1:nan", 0.666f}, {"^M^L1:1e999", 0.666f}};
  for (const Case& c : cases) {
    KRhythmLine swing;
    Type(swing, c.keys);
    EXPECT_FLOAT_EQ(swing.GetSwingRatio(), c.ratio) << c.keys;
  }
}

}  // namespace
