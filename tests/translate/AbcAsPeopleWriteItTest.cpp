// ABC as people write it: the constructs of real tunes (key modes and
// explicit accidentals, inline fields, decorations, chord lengths, endings,
// continued fields, several tunes in one file, voices, lyrics) come in as the
// notes of the tune.
#include <gtest/gtest.h>

#include <string>

#include "AbcReaderTestSupport.h"
#include "support/CaseName.h"

namespace {

struct NotesCase {
  const char* name;
  const char* abc;    // a whole text, one line per "\n"
  const char* notes;  // SoundingNotes of what it reads as
};

class AbcNotesTest : public AbcReaderTest, public ::testing::WithParamInterface<NotesCase> {};

TEST_P(AbcNotesTest, SoundsAsWritten) {
  EXPECT_EQ(SoundingNotes(ReadAbcText(GetParam().abc)), GetParam().notes) << GetParam().abc;
}

INSTANTIATE_TEST_SUITE_P(
    Constructs, AbcNotesTest,
    ::testing::Values(
        // Octave marks count each; a second one is not lost.
        NotesCase{"octave marks", "K:C\nc c' c'' C C, C,,", "C5:240 C6:240 C7:240 C4:240 C3:240 C3:240"},
        // Each further slash halves again.
        NotesCase{"slashes", "L:1/4\nK:C\nA A/ A// A/4 A3/2", "A4:480 A4:240 A4:120 A4:120 A4:720"},
        // A length after a chord applies to each of its notes.
        NotesCase{"chord length", "K:C\n[CEG]2 [ce]/ [DF]3", "[G4 E4 C4]:480 [E5 C5]:120 [F4 D4]:720"},
        NotesCase{"broken rhythm on chords", "K:C\n[CE]>[DF]", "[E4 C4]:360 [F4 D4]:120"},
        // A mode is read by its name: D mixolydian has F# and C natural.
        NotesCase{"mixolydian", "K:D mixolydian\nFcd", "F#4:240 C5:240 D5:240"},
        NotesCase{"phrygian", "K:D Phrygian\nEFB", "D#4:240 F4:240 A#4:240"},
        NotesCase{"middle clause is no mode", "K:C middle=d\nEBF", "E4:240 B4:240 F4:240"},
        // Accidentals after the key act on every note of their letter, and a
        // written accidental holds to the end of its bar.
        NotesCase{"explicit key accidentals", "K:D exp _b _e ^f\nBEFc|B=BB|B",
                  "A#4:240 D#4:240 F#4:240 C5:240 A#4:240 B4:240 B4:240 A#4:240"},
        NotesCase{"key accidentals joined to the tonic", "K:C^f^c^a\nAcF|a=aa|A",
                  "A#4:240 C#5:240 F#4:240 A#5:240 A5:240 A5:240 A#4:240"},
        // Inline fields are fields: the key changes and no note G comes in.
        NotesCase{"inline key", "K:C\nCDEF|[K:G]FGAB|",
                  "C4:240 D4:240 E4:240 F4:240 F#4:240 G4:240 A4:240 B4:240"},
        NotesCase{"inline unit length", "K:C\nA[L:1/4]A[L:1/16]A", "A4:240 A4:480 A4:120"},
        NotesCase{"inline voice and instruction", "K:C\n[V:1]A[I:MIDI program 1]B", "A4:240 B4:240"},
        // Decorations are not notes.
        NotesCase{"decorations", "K:C\n!fff!B !trill!c +upbow+d !>!e", "B4:240 C5:240 D5:240 E5:240"},
        NotesCase{"lone exclamation mark", "K:C\nAB!c", "A4:240 B4:240 C5:240"},
        // An invisible rest keeps its time.
        NotesCase{"invisible rest", "K:C\nA x B", "A4:240 z:240 B4:240"},
        // A title continued with "\" gives no music.
        NotesCase{"continued title", "T:The Long \\\nand Winding Title\nK:G\nGA", "G4:240 A4:240"},
        NotesCase{"field continuation line", "T:Part one\n+:part two\nK:C\nC", "C4:240"},
        // Every tune starts afresh: the second tune's notes are in C, in eighths.
        NotesCase{"second tune starts afresh", "X:1\nL:1/16\nK:G\nF\nX:2\nK:C\nF", "F#4:120 F4:240"},
        // A line left open by "\" at the end of a tune is not lost.
        NotesCase{"open line before the next tune", "X:1\nK:C\nAB \\\nX:2\nK:C\nc", "A4:240 B4:240 C5:240"},
        // A broken rhythm written with blanks, and one whose sign ends a line.
        NotesCase{"broken rhythm with blanks", "K:C\nG > F G < F G >> F",
                  "G4:360 F4:120 G4:120 F4:360 G4:420 F4:60"},
        NotesCase{"broken rhythm over a line break", "K:C\nC G>\nF E", "C4:240 G4:360 F4:120 E4:240"},
        // An accidental holds to the bar line, over a line break too.
        NotesCase{"accidental held over a line break", "K:C\n_B2 z2\nB4|B4", "A#4:480 z:480 A#4:960 B4:960"},
        NotesCase{"natural held over a line break", "K:F\n=B2 z2\nB2 b2|B4",
                  "B4:480 z:480 B4:480 A#5:480 A#4:960"},
        NotesCase{"accidental held over two line breaks", "K:C\n^F2\nz2\nF2|F2",
                  "F#4:480 z:480 F#4:480 F4:480"},
        // Blocks for a typesetter (PostScript, text) hold no music.
        NotesCase{"PostScript block in the tune", "K:C\nC\n%%beginps\n/A { gsave B C } def\n%%endps\nD",
                  "C4:240 D4:240"},
        // Rests take a broken rhythm as notes do.
        NotesCase{"broken rhythm on rests", "K:C\nz>z C2>z2 z<C", "z:360 z:120 C4:720 z:240 z:120 C4:360"},
        // A multi-measure rest rests for its bars.
        NotesCase{"multi-measure rest", "M:4/4\nL:1/8\nK:C\nZ2|C8|", "z:1920 z:1920 C4:1920"},
        NotesCase{"text block before the tune", "%%begintext\nA fine tune\nBy me\n%%endtext\nX:1\nK:C\nC",
                  "C4:240"}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

// Tunes written in the traditional way, each read whole: the notes that come in
// are those of the tune.
TEST_F(AbcReaderTest, AReelWithChordsGraceNotesEndingsAndComments) {
  const char* tune =
      "X:1\n"
      "T:The Heather on the Hill\n"
      "R:reel\n"
      "C:Trad.\n"
      "M:C|\n"
      "L:1/8\n"
      "Q:1/2=100\n"
      "K:Ador\n"
      "% the A part\n"
      "|:\"Am\"EA{c}AB cBAG|\"G\"EG~G2 DGBG|\"Am\"EAAB c2de|1\"G\"gedB A2AG:|2\"G\"gedB A4||\n"
      "w:la la la\n";
  ResetAbcReaderState();
  const std::string notes = SoundingNotes(ReadAbcText(tune));
  EXPECT_EQ(notes,
            "E4:240 A4:240 A4:240 B4:240 C5:240 B4:240 A4:240 G4:240 "
            "E4:240 G4:240 G4:480 D4:240 G4:240 B4:240 G4:240 "
            "E4:240 A4:240 A4:240 B4:240 C5:480 D5:240 E5:240 "
            "G5:240 E5:240 D5:240 B4:240 A4:480 A4:240 G4:240 "
            "G5:240 E5:240 D5:240 B4:240 A4:960");
}

TEST_F(AbcReaderTest, AJigWithTripletsBrokenRhythmTiesAndContinuation) {
  const char* tune =
      "X:2\n"
      "T:Cuckoo's Jig\n"
      "M:6/8\n"
      "K:D\n"
      "A|dfe dcB|A>BA F2G|(3ABc d \\\n"
      "d2-d|]\n";
  const std::string notes = SoundingNotes(ReadAbcText(tune));
  EXPECT_EQ(notes,
            "A4:240 D5:240 F#5:240 E5:240 D5:240 C#5:240 B4:240 "
            "A4:360 B4:120 A4:240 F#4:480 G4:240 "
            "A4:240 B4:240 C#5:240 D5:240 D5:480 D5:240");
}

TEST_F(AbcReaderTest, TwoVoicesComeInAsTheirOwnStaffLines) {
  const char* tune =
      "X:3\n"
      "T:Duet\n"
      "M:3/4\n"
      "L:1/4\n"
      "K:F\n"
      "V:1\n"
      "B c d|\n"
      "V:2 clef=bass\n"
      "B,, F, B,|\n";
  const std::vector<std::unique_ptr<KLineObj>> lines = ReadAbcText(tune);
  int staves = 0;
  for (const auto& line : lines) staves += dynamic_cast<KStaffLine*>(line.get()) != nullptr ? 1 : 0;
  EXPECT_EQ(staves, 2);
  // The bass voice's notes keep their pitches on the treble staff's low rows.
  EXPECT_EQ(SoundingNotes(lines), "A#4:480 C5:480 D5:480 A#2:480 F3:480 A#3:480");
}

TEST_F(AbcReaderTest, InlineMeterAndKeyBecomeColumnsOfTheLine) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("AB[M:3/4]c[K:G]d");
  auto* staff = dynamic_cast<KStaffLine*>(line.get());
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(DumpColumns(*staff), "0:19/0 1:18/0 2:meter/102/103 3:17/0 4:1/254,1/2 7:16/0");
  EXPECT_NE(staff->GetFlagWord() & KLineObj::kFlagKeyChanges, 0u);
}

// A meter field between lines of a tune shows on the line after it.
TEST_F(AbcReaderTest, AMeterChangeWithinATuneGivesTheNextLineItsMeter) {
  const std::vector<std::unique_ptr<KLineObj>> lines = ReadAbcText("M:6/8\nK:C\nABc\nM:3/4\nB2c2d2");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(DumpColumns(*lines[0]->AsListLine()).substr(0, 16), "0:meter/105/107 ");
  EXPECT_EQ(DumpColumns(*lines[1]->AsListLine()).substr(0, 16), "0:meter/102/103 ");
}

TEST_F(AbcReaderTest, EndingNumbersAfterBarsOpenEndings) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("|1 AB :|2 cd |]");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(DumpAttachmentTexts(*line), "1:1.|4:2.");
}

TEST_F(AbcReaderTest, AnnotationsLoseTheirPlacementSign) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("\"^Fine\"A");
  EXPECT_EQ(DumpAttachmentTexts(*line), "0:Fine");
}

TEST_F(AbcReaderTest, UpBowAndDownBowAreTheirOwnSymbols) {
  ClearPending();
  std::unique_ptr<KLineObj> line = Read("vB uB");
  auto* staff = dynamic_cast<KStaffLine*>(line.get());
  ASSERT_NE(staff, nullptr);
  // 76 is the down-bow sign ("v"), 77 the up-bow sign ("u").
  const std::string columns = DumpColumns(*staff);
  EXPECT_NE(columns.find("/76"), std::string::npos) << columns;
  EXPECT_NE(columns.find("/77"), std::string::npos) << columns;
  EXPECT_LT(columns.find("/76"), columns.find("/77")) << columns;
}

}  // namespace
