// Actions/Translate/From ABC Notation: text lines of ABC become a centred
// title, staves sharing one staff length and chord-diagram lines; a line
// that only changes the reader's state goes; the reader starts afresh for
// every command; music left open at the end is not lost.

#include <gtest/gtest.h>

#include <algorithm>

#include "TranslateFixture.h"
#include "lines/KChordPicLine.h"
#include "model/KChordPic.h"

namespace {

using viewtest::UndoStep;
using viewtest::UndoSteps;

class FromAbcCommand : public viewtest::TranslateFixture {};

constexpr const char* kJig =
    "X:1\n"
    "T:The Hunters' Jig\n"
    "M:6/8\n"
    "L:1/8\n"
    "K:D\n"
    "A|dfe dcB|A>BA F2G|\n"
    "d2e f2g|a3 a2|]";

TEST_F(FromAbcCommand, ASelectedTuneBecomesATitleAndStavesOfOneLength) {
  g_prefTransAltTun.wrapAbc = 0;
  AddTextBlock(
      "X:1\n"
      "T:The Hunters' Jig\n"
      "M:6/8\n"
      "L:1/8\n"
      "K:D\n"
      "A|dfe dcB|A>BA F2G|\n"
      "d2e f2g|a3 a2|]");
  Layout();
  SelectLines(0, 6);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));

  // The title, an empty line after it, then the two staves.
  ASSERT_EQ(Types(), "5 5 0 0");
  auto* title = dynamic_cast<KStrLine*>(Line(0));
  ASSERT_NE(title, nullptr);
  EXPECT_NE(Text(0).find("The Hunters' Jig"), std::string::npos);
  EXPECT_EQ(Text(0).front(), ' ') << "the title is centred";
  // In the title font: Times New Roman, 22 high, bold.
  ASSERT_GT(title->GetFontIndex(), 0);
  const LOGFONT& font = view->m_textFonts[static_cast<size_t>(title->GetFontIndex())];
  EXPECT_STREQ(font.lfFaceName, "Times New Roman");
  EXPECT_EQ(font.lfHeight, 22);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(Text(1), "");
  EXPECT_EQ(Line(2)->GetStaffLength(), Line(3)->GetStaffLength());
  EXPECT_GT(Line(2)->GetStaffLength(), 0);
  EXPECT_EQ(List(2)->GetKeySignatureAt(0), 4);
  EXPECT_EQ(Pitches(Line(2)), "A4 D5 F#5 E5 D5 C#5 B4 A4 B4 A4 F#4 G4");
  EXPECT_EQ(Pitches(Line(3)), "D5 E5 F#5 G5 A5 A5");
  EXPECT_EQ(UndoSteps().front(), (UndoStep{6, 0, 0}));
  EXPECT_EQ(
      std::count_if(UndoSteps().begin(), UndoSteps().end(), [](const UndoStep& s) { return s.kind != 8; }), 1)
      << "one undo step";
  EXPECT_TRUE(doc.IsModified());
}

// With the wrap preference the tune's staves are wrapped to the default staff
// length: the bars move, the notes stay.
TEST_F(FromAbcCommand, AWrappedTuneKeepsEveryNoteWithinTheDefaultStaffLength) {
  g_prefTransAltTun.wrapAbc = 1;
  g_prefStaffLines.initialStaffLength = 260;
  AddTextBlock(kJig);
  Layout();
  SelectLines(0, 6);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  std::string notes;
  int staves = 0;
  for (int i = 0; i < view->GetDisplayLineCount(); ++i) {
    if (Entry(i).type != 0) continue;
    ++staves;
    EXPECT_EQ(Line(i)->GetStaffLength(), 260);
    notes += (notes.empty() ? "" : " ") + Pitches(Line(i));
  }
  EXPECT_GT(staves, 2) << Types();
  EXPECT_EQ(notes, "A4 D5 F#5 E5 D5 C#5 B4 A4 B4 A4 F#4 G4 D5 E5 F#5 G5 A5 A5");
}

TEST_F(FromAbcCommand, AKeyLineAloneGoesAndChangesNoOtherLine) {
  AddTextBlock("first\nK:G\nlast");
  Layout(1);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_EQ(Types(), "5 5");
  EXPECT_EQ(Text(0), "first");
  EXPECT_EQ(Text(1), "last");
}

// A unit length read by one command does not last into the next.
TEST_F(FromAbcCommand, EveryCommandStartsTheReaderAfresh) {
  AddTextBlock("L:1/16\nK:C\nA");
  Layout(0);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_EQ(Types(), "5");
  view->m_currentLine = 0;
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_EQ(Types(), "0");
  // An eighth note (the default unit), after the meter and tempo columns.
  const std::string columns = Dump(0);
  EXPECT_EQ(columns.substr(columns.rfind(':')), ":0@19") << columns;
}

TEST_F(FromAbcCommand, MusicLeftOpenAtTheEndOfTheSelectionComesIn) {
  AddTextBlock("K:C\nAB \\\n");
  Layout();
  SelectLines(0, 2);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_EQ(Types(), "0");
  EXPECT_EQ(Pitches(Line(0)), "A4 B4");
}

TEST_F(FromAbcCommand, ChordNamesBecomeADiagramLineAboveTheirStaff) {
  AddTextBlock("K:G\n\"G\"GBd \"D7\"cAF|\"Em\"E6|");
  Layout();
  SelectLines(0, 1);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  // The diagrams, the staff, and an empty line after it.
  ASSERT_EQ(Types(), "4 0 5");
  auto* chords = dynamic_cast<KChordPicLine*>(Line(0));
  ASSERT_NE(chords, nullptr);
  std::vector<std::string> names;
  for (POSITION node = chords->GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* diagram = static_cast<const KChordPic*>(chords->GetObjList()->GetNext(node));
    names.emplace_back(diagram->GetName().View());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"G", "D7", "Em"}));
  // The names left the staff.
  EXPECT_EQ(Line(1)->GetAttachmentCount(), 1) << "only the tempo mark stays";
}

TEST_F(FromAbcCommand, LinesOfOtherKindsAndLinesBelowStayAsTheyAre) {
  AddText("K:C");
  Add(viewtest::MakeStaff({{0, 18}}));
  AddText("CDE");
  Add(viewtest::MakeStaff({{0, 17}}));
  Layout();
  SelectLines(0, 2);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  ASSERT_EQ(Types(), "0 0 0");
  EXPECT_EQ(Pitches(Line(0)), "B4");
  EXPECT_EQ(Pitches(Line(1)), "C4 D4 E4");
  EXPECT_GT(Line(1)->GetStaffLength(), 0);
  // The score's own staves keep their lengths.
  EXPECT_EQ(Line(0)->GetStaffLength(), 0);
  EXPECT_EQ(Line(2)->GetStaffLength(), 0);
}

// The clef a key field names decides the staff each line of music goes on;
// the notes keep the pitches ABC gives them (the octave trebles sound an
// octave from their written notes), and "octave=" moves the letters.
struct ClefCase {
  const char* name;
  const char* abc;
  const char* types;    // the kinds of the lines made
  const char* pitches;  // of the last staff
};

class FromAbcClefs : public viewtest::TranslateFixture, public ::testing::WithParamInterface<ClefCase> {};

TEST_P(FromAbcClefs, EachLineGoesOnTheStaffItsClefNames) {
  AddTextBlock(GetParam().abc);
  Layout();
  SelectLines(0, view->GetDisplayLineCount() - 1);
  ASSERT_TRUE(Run(cmd::kTranslateFromAbc));
  EXPECT_EQ(Types(), GetParam().types);
  EXPECT_EQ(Pitches(Line(view->GetDisplayLineCount() - 1)), GetParam().pitches);
}

INSTANTIATE_TEST_SUITE_P(
    Clefs, FromAbcClefs,
    ::testing::Values(ClefCase{"BassWord", "K:C bass\nC,2 G,,2 C2 E2|", "1", "C3 G2 C4 E4"},
                      ClefCase{"ClefClause", "K:F clef=bass\nF,4 B,4|", "1", "F3 A#3"},
                      ClefCase{"GuitarTreble", "K:C clef=treble-8\nE2 c2|", "12", "E3 C4"},
                      ClefCase{"ClefChangeKeepsTheKey", "K:G\nGA|\nK:clef=bass\nF,G,|", "0 1", "F#3 G3"},
                      ClefCase{"BackToTreble", "K:C bass\nC,D,|\nK:C treble\ncd|", "1 0", "C5 D5"},
                      ClefCase{"OctaveClause", "K:D octave=-1\nd2 f2|", "0", "D4 F#4"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
