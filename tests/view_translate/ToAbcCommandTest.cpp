// Actions/Translate/To ABC Notation and File/Export/Full Score as ABC File:
// selected staves get their ABC below them (with their key, so that they read
// back the same); with no selection the whole score goes to a new ABC text
// document, each tune with its header, and key changes within a line written
// as inline key fields.

#include <gtest/gtest.h>

#include "TranslateFixture.h"

namespace {

KChord* Note(int pos, int row, int code = viewtest::kQuarter) { return new KChord(pos, row, code, 0); }

KChord* Meter(int pos, int upper, int lower) {
  auto* column = new KChord(pos);
  column->AddNote(0, KChord::kTimeSignature);
  column->AddNote(1, upper);
  column->AddNote(2, lower);
  return column;
}

KChord* KeyChange(int pos, int key) {
  auto* column = new KChord(pos);
  column->AddNote(1, KChord::kKeySignature);
  column->AddNote(1, key);
  return column;
}

KStaffLine* Staff(int key, std::initializer_list<KChord*> columns) {
  auto* staff = new KStaffLine(0, key, 0);
  for (KChord* column : columns) staff->GetObjList()->AddTail(column);
  staff->UpdateTimeSigCache();
  return staff;
}

class ToAbcCommand : public viewtest::TranslateFixture {};

TEST_F(ToAbcCommand, SelectedStaffGetsItsAbcBelowAndReadsBackInItsKey) {
  Add(Staff(2, {Note(0, 21), Note(1, 20), Note(2, 17), new KChord(3, 1, viewtest::kBar, 0)}));
  Layout();
  SelectLines(0, 0);
  ASSERT_TRUE(Run(cmd::kTranslateToAbc));
  ASSERT_EQ(Types(), "0 5 5");
  EXPECT_EQ(Text(1), "K:G");
  EXPECT_EQ(Text(2), "F2G2c2|");
  EXPECT_TRUE(frame.textDocuments.empty());

  SelectLines(1, 2);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_EQ(Types(), "0 0");
  EXPECT_EQ(Pitches(Line(0)), "F#4 G4 C5");
  EXPECT_EQ(Pitches(Line(1)), Pitches(Line(0)));
}

TEST_F(ToAbcCommand, WithNoSelectionTheScoreBecomesAnAbcDocument) {
  auto* title = new KStrLine("My Tune", 0);
  title->ModifyFlags(KStrLine::kFlagTitle, 1);
  Add(title);
  KStaffLine* first = Staff(2, {Meter(0, 105, 107), Note(1, 21), Note(2, 20), KeyChange(3, 4), Note(6, 21),
                                new KChord(7, 1, viewtest::kBar, 0)});
  first->ModifyFlags(KLineObj::kFlagKeyChanges, 1);
  Add(first);
  AddText("words");
  AddText("   ");
  Add(Staff(4, {Note(0, 17)}));
  Layout();
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  const BOOL modifiedBefore = doc.IsModified();
  ASSERT_TRUE(Run(cmd::kTranslateToAbc));
  ASSERT_EQ(frame.textDocuments.size(), 1u);
  EXPECT_EQ(std::string(frame.textDocuments[0].first.View()), "Untitled.abc");
  EXPECT_EQ(std::string(frame.textDocuments[0].second.View()),
            "X:1\r\nT:My Tune\r\nM:6/8\r\nL:1/8\r\nK:G\r\nF2G2[K:D]F2|\r\nW:words\r\nK:D\r\nc2\r\n");
  // The score itself is not changed.
  EXPECT_EQ(Types(), "5 0 5 5 0");
  EXPECT_EQ(doc.IsModified(), modifiedBefore);
}

TEST_F(ToAbcCommand, FullScoreAsAbcFileIgnoresASelectionAndNamesTheFileAfterTheScore) {
  Add(Staff(0, {Note(0, 17)}));
  AddText("below");
  Layout();
  doc.SetPathName("/music/Reels.svd");
  doc.fileName = "Reels.svd";
  SelectLines(0, 1);
  ASSERT_TRUE(Run(cmd::kExportAbc));
  ASSERT_EQ(frame.textDocuments.size(), 1u);
  EXPECT_EQ(std::string(frame.textDocuments[0].first.View()), "Reels.abc");
  EXPECT_EQ(std::string(frame.textDocuments[0].second.View()),
            "X:1\r\nM:4/4\r\nL:1/8\r\nK:C\r\nc2\r\nW:below\r\n");
  EXPECT_EQ(Types(), "0 5");
}

struct KeyCase {
  int key;
  int firstRow;  // the rows of the tune's first and last notes
  int finalRow;
  const char* field;
};

class ExportKeyTest : public viewtest::TranslateFixture, public ::testing::WithParamInterface<KeyCase> {};

// Every tune gets its key field, C flat and C sharp included, so that a
// reader never takes the tune for C major. A tune that begins and ends on one
// note is in that note's mode (A with one sharp: A dorian); one that stops
// on another note is named by its major key.
TEST_P(ExportKeyTest, EveryTuneWritesItsKeyAndItsMode) {
  Add(Staff(GetParam().key, {Note(0, GetParam().firstRow), Note(2, 17), Note(4, GetParam().finalRow)}));
  Layout();
  view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
  ASSERT_TRUE(Run(cmd::kExportAbc));
  ASSERT_EQ(frame.textDocuments.size(), 1u);
  const std::string text(frame.textDocuments[0].second.View());
  EXPECT_NE(text.find(std::string("\r\n") + GetParam().field + "\r\n"), std::string::npos) << text;
}

// Rows: 12 a', 14 f, 15 e, 16 d, 17 c, 18 B, 19 A, 20 G.
INSTANTIATE_TEST_SUITE_P(Keys, ExportKeyTest,
                         ::testing::Values(KeyCase{0, 17, 17, "K:C"}, KeyCase{15, 17, 17, "K:Cb"},
                                           KeyCase{14, 17, 17, "K:C#"}, KeyCase{5, 18, 18, "K:Bb"},
                                           KeyCase{12, 14, 14, "K:F#"}, KeyCase{0, 19, 19, "K:Am"},
                                           KeyCase{2, 19, 12, "K:Ador"}, KeyCase{2, 15, 15, "K:Em"},
                                           KeyCase{2, 16, 16, "K:Dmix"}, KeyCase{5, 20, 20, "K:Gm"},
                                           KeyCase{4, 15, 15, "K:Edor"}, KeyCase{2, 20, 16, "K:G"},
                                           KeyCase{0, 17, 19, "K:C"}),
                         [](const auto& info) {
                           return "KeyIndex" + std::to_string(info.param.key) + "FromRow" +
                                  std::to_string(info.param.firstRow) + "ToRow" +
                                  std::to_string(info.param.finalRow);
                         });

}  // namespace
