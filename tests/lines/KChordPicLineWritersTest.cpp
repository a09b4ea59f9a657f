// The chord names of a chord-diagram line as plain text and ABC, and its
// translation into staff, tablature and text lines.

#include <gtest/gtest.h>

#include "ChordLineTestSupport.h"
#include "common/ChordShape.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/NoteLineTestSupport.h"

namespace {

using namespace chordline;

class ChordLineWriters : public ChordLineTest {
 protected:
  ChordLineWriters() { CRuntimeClass::Register({RUNTIME_CLASS(KStrLine)}); }
};

constexpr const char* kDropD = "D A D G B E  303742475156";

TEST_F(ChordLineWriters, PlainTextPutsEachNameAtItsColumn) {
  struct Case {
    std::vector<std::pair<int, const char*>> diagrams;
    int from;
    int to;
    const char* text;
  };
  const Case cases[] = {
      {{{0, "Am"}, {4, "G"}}, 0, 10000, "Am  G"},
      {{{0, "Am"}, {4, "G"}}, 1, 10000, "   G"},  // Am outside: no blanks for it
      {{{0, "Am"}, {4, "G"}}, 0, 3, "Am"},
      {{{2, "Cmaj7"}, {4, "G"}}, 0, 10000, "  Cmaj7G"},  // a long name pushes the next
      {{{3, "C"}}, 3, 3, "C"},
      {{{3, "C"}}, 5, 2, ""},
      {{}, 0, 10000, ""},
  };
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    for (const auto& [pos, name] : c.diagrams) Fill(chords, {new KChordPic(pos, name, kShape, 1)});
    EXPECT_EQ(chords.WriteText(c.from, c.to, 0).value_or("none"), c.text) << c.from << ".." << c.to;
  }
}

TEST_F(ChordLineWriters, AbcQuotesEachName) {
  EXPECT_EQ(line.WriteAbc().value_or("none"), "\r\n");
  Add(0, "A");
  Add(5, "Bm");
  EXPECT_EQ(line.WriteAbc().value_or("none"), " \"A\" \"Bm\"\r\n");
}

TEST_F(ChordLineWriters, TranslationsByTargetKind) {
  Add(0, "Am");
  Add(4, "G");
  struct Case {
    int kind;
    const CRuntimeClass* made;
  };
  const Case cases[] = {{0, RUNTIME_CLASS(KStaffLine)},
                        {2, RUNTIME_CLASS(KTabLine)},
                        {15, RUNTIME_CLASS(KTabLine)},
                        {5, RUNTIME_CLASS(KStrLine)},
                        {1, nullptr},
                        {3, nullptr},
                        {4, nullptr},
                        {9, nullptr},
                        {-1, nullptr}};
  for (const Case& c : cases) {
    std::unique_ptr<KLineObj> made = line.TranslateTo(0, c.kind, 0, 0, 7, kDropD, 0);
    EXPECT_EQ(made != nullptr ? made->GetRuntimeClass() : nullptr, c.made) << c.kind;
  }
  std::unique_ptr<KLineObj> text = line.TranslateTo(0, 5, 0, 0, 7, "", 0);
  auto* textLine = dynamic_cast<KStrLine*>(text.get());
  ASSERT_NE(textLine, nullptr);
  EXPECT_EQ(textLine->GetText(), "Am  G");
  EXPECT_EQ(textLine->GetFontIndex(), 7);
  std::unique_ptr<KLineObj> tab = line.TranslateTo(0, 2, 0, 0, 0, kDropD, 0);
  EXPECT_EQ(static_cast<KTabLine*>(tab.get())->GetTuning(), kDropD);
}

// The column that the shape fills on its own, for comparison.
std::string Filled(const char* shape, const char* root, const CString& tuning, int key, bool tab) {
  KChord column(0, tab ? 150 : 0);
  ShapeToChord<KChord>(shape, root, tab ? &column : nullptr, tab ? nullptr : &column, tuning, key);
  const std::string text = ColumnText(column);
  return text.substr(text.find_first_of("~="));
}

TEST_F(ChordLineWriters, StaffColumnsScaleTheChordColumns) {
  KChordPicLine chords(2, kDropD, kFont, 100, 100);
  Fill(chords, {new KChordPic(0, "Am", "0023100          000", 1), new KChordPic(9, "F#m", kShape, 1),
                new KChordPic(10, "Bb", kShape, 1), new KChordPic(11, "E", kShape, 1)});
  struct Case {
    int sizeIndex;
    std::vector<int> columns;
  };
  // (column x 8) / 18 at size 0, (column x 10) / 22 at size 1.
  const Case cases[] = {{0, {0, 4, 4, 4}}, {1, {0, 4, 4, 5}}, {5, {0, 4, 4, 4}}};
  for (const Case& c : cases) {
    std::unique_ptr<KStaffLine> staff = chords.ConvertToStaff(c.sizeIndex);
    EXPECT_EQ(Positions(*staff->GetObjList()), c.columns) << c.sizeIndex;
    EXPECT_EQ(staff->GetType(), 0);
    EXPECT_EQ(staff->GetKey(), 2) << "the key the notes are spelled in";
    // Read on the standard tuning whatever the line's own is.
    const auto* first = static_cast<const KChord*>(staff->GetObjList()->GetHead());
    const std::string text = ColumnText(*first);
    EXPECT_EQ(text.substr(text.find_first_of("~=")),
              Filled("0023100          000", "A ", kStandard, 2, false));
  }
}

TEST_F(ChordLineWriters, TabColumnsNeverShareAColumn) {
  KChordPicLine chords(0, kStandard, kFont, 100, 100);
  Fill(chords,
       {new KChordPic(0, "Am", kShape, 1), new KChordPic(1, "C", kShape, 1), new KChordPic(9, "D", kShape, 1),
        new KChordPic(10, "E", kShape, 1), new KChordPic(30, "F", kShape, 1)});
  std::unique_ptr<KTabLine> tab = chords.ConvertToTab(0, kDropD);
  ASSERT_EQ(tab->GetLeadInWidth(0), 34);
  ASSERT_EQ(tab->GetIndent(), 0);
  // x = column * 8 - 34 (0 when negative), over 18; one past the previous at least.
  EXPECT_EQ(Positions(*tab->GetObjList()), (std::vector<int>{1, 2, 3, 4, 11}));
  const auto* first = static_cast<const KChord*>(tab->GetObjList()->GetHead());
  EXPECT_EQ(first->GetRhythmCode(), 150);
  const std::string text = ColumnText(*first);
  EXPECT_EQ(text.substr(text.find_first_of("~=")), Filled(kShape, "A ", kDropD, 0, true));
}

}  // namespace
