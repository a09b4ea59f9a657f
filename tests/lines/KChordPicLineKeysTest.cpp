// Keys at the caret of a chord-diagram line (delete, blank, tab, key 225) and
// the insertion of a diagram from an insertion record.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "ChordLineTestSupport.h"
#include "lines/KStrLineServices.h"
#include "model/KExtendedObj.h"

namespace {

using namespace chordline;

class ChordLineKeys : public ChordLineTest {};

constexpr int kDelete = KListLine::kDeleteCode;
constexpr int kBlank = KChordPicLine::kBlankKey;
constexpr int kTab = KChordPicLine::kTabKey;
constexpr int kWide = KChordPicLine::kWideBlankKey;

TEST_F(ChordLineKeys, KeysMoveAndRemoveDiagrams) {
  struct Case {
    const char* name;
    int code;
    int column;
    int blankCount;
    int overwrite;
    KLinePair result;
    const char* after;
  };
  // "Am" covers columns 0 and 1.
  const Case cases[] = {
      {"delete inside a two-column diagram", kDelete, 1, 0, 0, {-1, 0}, "G@3 C@7"},
      {"delete at an empty column", kDelete, 2, 0, 0, {-1, 2}, "Am@0 G@3 C@7"},
      {"delete keeping the others in place", kDelete, 4, 1000, 1, {-1, 3}, "Am@0 C@8"},
      {"delete without overwrite closes up", kDelete, 4, 1000, 0, {-1, 3}, "Am@0 C@7"},
      {"delete beyond the line's length", kDelete, 20, 0, 0, {-1, 19}, "Am@0 G@4 C@8"},
      {"blank inserts a column", kBlank, 4, 0, 0, {1, 4}, "Am@0 G@5 C@9"},
      {"blank in overwrite removes the diagram", kBlank, 4, 0, 1, {1, 4}, "Am@0 C@8"},
      {"blank in overwrite at an empty column", kBlank, 5, 0, 1, {1, 5}, "Am@0 G@4 C@8"},
      {"tab inserts five columns", kTab, 4, 0, 0, {5, 4}, "Am@0 G@9 C@13"},
      {"tab in overwrite clears five columns", kTab, 4, 0, 1, {5, 4}, "Am@0"},
      {"key 225 inserts four columns", kWide, 0, 0, 0, {4, 0}, "Am@4 G@8 C@12"},
      {"key 225 in overwrite clears four columns", kWide, 3, 0, 1, {4, 3}, "Am@0 C@8"},
      {"another key changes nothing", 'x', 4, 0, 0, {1, 4}, "Am@0 G@4 C@8"},
      {"tab in overwrite at the last column", kTab, INT_MAX, 0, 1, {5, INT_MAX}, "Am@0 G@4 C@8"},
      {"blank at a negative column", kBlank, -3, 0, 0, {1, 0}, "Am@1 G@5 C@9"},
  };
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    Fill(chords, {new KChordPic(0, "Am", kShape, 1), new KChordPic(4, "G", kShape, 1),
                  new KChordPic(8, "C", kShape, 1)});
    EXPECT_EQ(chords.HandleKey(c.code, 0, 0, c.column, c.blankCount, 0, c.overwrite, 0), c.result) << c.name;
    EXPECT_EQ(Dump(chords), c.after) << c.name;
  }
  EXPECT_TRUE(m_ui.Beeps().empty());
}

TEST_F(ChordLineKeys, DeleteTakesAnAttachmentBeforeAnyDiagram) {
  Add(8, "G");
  line.AddAttachment(new KExtendedObj(4, 2, 7, 0, 0, 40, 0));
  EXPECT_EQ(line.HandleKey(kDelete, 0, 0, 4, 2, 0, 0, 0), (KLinePair{-1, 4}));
  EXPECT_EQ(Dump(line), "G@8") << "only the attachment goes";
  EXPECT_EQ(line.GetAttachmentCount(), 0);

  line.AddAttachment(new KExtendedObj(2, 2, 7, 0, 0, 40, 0));
  EXPECT_EQ(line.HandleKey(kDelete, 0, 0, 4, 2, 0, 0, 0), (KLinePair{-1, 4})) << "none at the column";
  EXPECT_EQ(Dump(line), "G@7");
  EXPECT_EQ(line.GetAttachmentCount(), 1);
}

TEST_F(ChordLineKeys, RemovingATallDiagramRecountsTheRowsUnlessAskedNotTo) {
  struct Case {
    int code;
    int noRecount;
    int column;
    int overwrite;
    int rowsAfter;
  };
  const Case cases[] = {
      {kDelete, 0, 2, 0, 0},
      {kBlank, 0, 2, 1, 0},
      {kTab, 0, 0, 1, 0},
      {kTab, 1, 0, 1, 2},  // shapes not examined: the rows stay
  };
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    Fill(chords, {new KChordPic(2, "D", kTallShape, 1)});
    chords.UpdateDiagramRows();
    ASSERT_EQ(chords.GetExtraDiagramRows(), 2);
    g_relayout = 0;
    chords.HandleKey(c.code, 0, c.noRecount, c.column, 0, 0, c.overwrite, 0);
    EXPECT_EQ(Dump(chords), "") << c.code;
    EXPECT_EQ(chords.GetExtraDiagramRows(), c.rowsAfter) << c.code << " " << c.noRecount;
    EXPECT_EQ(g_relayout, c.rowsAfter == 0 ? 1 : 0) << c.code;
  }
}

KInsertionRecord Record(const char* name, const char* shape = kShape, int setting = 3, int value = 5) {
  KInsertionRecord record(name);
  record.shape = shape;
  record.value0 = setting;
  record.value2 = value;
  return record;
}

TEST_F(ChordLineKeys, InsertedDiagramTakesTheColumnsOfItsName) {
  struct Case {
    const char* name;
    int column;
    int overwrite;
    const char* after;
  };
  const Case cases[] = {
      {"before the next diagram", 10, 0, "C@0 Dm7@10 G@14"}, {"over the next diagram", 10, 1, "C@0 Dm7@10"},
      {"at a diagram's column", 0, 0, "Dm7@0 C@3 G@14"},     {"over a diagram's column", 11, 1, "C@0 Dm7@11"},
      {"after the last", 20, 0, "C@0 G@11 Dm7@20"},          {"a negative column", -4, 0, "Dm7@0 C@3 G@14"},
  };
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    Fill(chords, {new KChordPic(0, "C", kShape, 1), new KChordPic(11, "G", kShape, 1)});
    const KInsertionRecord record = Record("Dm7");
    const int column = std::max(0, c.column);
    EXPECT_EQ(chords.InsertCopy(&record, 0, c.column, nullptr, c.overwrite), (KLinePair{3, column}))
        << c.name;
    EXPECT_EQ(Dump(chords), c.after) << c.name;
  }
}

TEST_F(ChordLineKeys, InsertedDiagramCarriesTheRecordAndRaisesTheRows) {
  const KInsertionRecord into = Record("Am");
  EXPECT_EQ(line.InsertCopy(&into, 0, 6, nullptr, 0), (KLinePair{2, 6}));
  const KChordPic* diagram = AsChordPic(line.GetObjList()->GetHead());
  ASSERT_NE(diagram, nullptr);
  EXPECT_EQ(diagram->GetShape(), kShape);
  EXPECT_EQ(diagram->GetSetting(), 3);
  EXPECT_EQ(diagram->GetValue(), 5);
  EXPECT_EQ(line.GetExtraDiagramRows(), 0);

  const KInsertionRecord tall = Record("D", kTallShape);
  line.InsertCopy(&tall, 0, 0, nullptr, 0);
  EXPECT_EQ(line.GetExtraDiagramRows(), 2);
  g_fingerRowOption = 1;
  const KInsertionRecord finger = Record("E", kFingerShape);
  line.InsertCopy(&finger, 0, 0, nullptr, 0);
  EXPECT_EQ(line.GetExtraDiagramRows(), 2) << "the finger row fits in the rows the line has";
  EXPECT_EQ(Dump(line), "E@0 D@1 Am@8");
  KChordPicLine low(0, kStandard, kFont, 100, 100);
  low.InsertCopy(&finger, 0, 0, nullptr, 0);
  EXPECT_EQ(low.GetExtraDiagramRows(), 1) << "a row for the finger labels";

  line.InsertDiagramAt(1, "F", kShape, 4, 2);
  EXPECT_EQ(Dump(line), "E@0 F@1 D@2 Am@9");
}

TEST_F(ChordLineKeys, RefusedInsertionsAndSymbolsChangeNothing) {
  Add(0, "C");
  Add(11, "G");
  const Bytes before = StoreObject(line);
  const KInsertionRecord empty = Record("");
  EXPECT_EQ(line.InsertCopy(&empty, 0, 5, nullptr, 0), (KLinePair{1, 5}));
  const KChordPic notARecord(0, "C", kShape, 1);
  EXPECT_EQ(line.InsertCopy(&notARecord, 0, 5, nullptr, 0), (KLinePair{0, -1}));
  EXPECT_EQ(line.InsertCopy(nullptr, 0, 5, nullptr, 0), (KLinePair{0, -1}));
  EXPECT_EQ(line.EnterSymbol(nullptr, 226, 8, 0, 5, 0, 0, 0, 0), (KLinePair{0, -1}));
  EXPECT_EQ(StoreObject(line), before);
}

}  // namespace
