// The fretboard and the piano keyboard: the note under a point, the name the
// caption gives it, where the marks of clicked and played notes stand, and
// which pictures a tuning needs.

#include <gtest/gtest.h>

#include <ostream>

#include "common/Globals.h"
#include "dialogs/toolbox/KInstrumentPictures.h"
#include "platform/FakeUiPort.h"
#include "support/CaseName.h"

namespace {

// ---- The keyboard ---------------------------------------------------------------------

struct KeyCase {
  const char* name;
  int x;
  int y;
  int note;
};

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

// The picture starts at A0; C1 starts at x 28; an octave is 98 pixels.
const KeyCase kKeys[] = {
    {"the first white key is A0", 3, 60, 21},
    {"the lowest black zone pixels are A0 too", 2, 10, 21},
    {"A sharp 0 in the black zone", 12, 10, 22},
    {"B0 below it in the white zone", 16, 60, 23},
    {"C1 starts at x 28", 28, 60, 24},
    {"middle C", 28 + 3 * 98 + 1, 60, 60},
    {"C sharp 4 in the black zone", 28 + 3 * 98 + 9, 30, 61},
    {"D4 between the black keys", 28 + 3 * 98 + 21, 30, 62},
    {"E4 in the white zone under its black neighbour", 28 + 3 * 98 + 30, 50, 64},
    {"the black key's lowest row is still black", 28 + 3 * 98 + 30, 36, 63},
    {"F sharp 4", 28 + 3 * 98 + 55, 5, 66},
    {"B4 at the octave's right end", 28 + 3 * 98 + 97, 20, 71},
    {"the last white key is C8", 725, 60, 108},
    {"the highest black zone pixels are C8", 724, 5, 108},
};

class KeyboardNote : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyboardNote, IsTheKeyUnderThePoint) {
  EXPECT_EQ(KPianoKeyboard::NoteAt(GetParam().x, GetParam().y), GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyboardNote, ::testing::ValuesIn(kKeys),
                         [](const ::testing::TestParamInfo<KeyCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

struct MarkCase {
  const char* name;
  int note;
  int x;
  int y;
};

void PrintTo(const MarkCase& c, std::ostream* out) { *out << c.name; }

// A played note's mark stands on its own key, whose left edge is
// 14 x (white keys from A0) for white keys.
const MarkCase kPlayedMarks[] = {
    {"A0", 21, 3, 53},
    {"A sharp 0", 22, 10, 22},
    {"B0", 23, 17, 53},
    {"C1", 24, 31, 53},
    {"middle C", 60, 28 + 3 * 98 + 3, 53},
    {"C sharp 4", 61, 28 + 3 * 98 + 10, 22},
    {"C8", 108, 717, 53},
};

class PlayedKeyMark : public ::testing::TestWithParam<MarkCase> {};

TEST_P(PlayedKeyMark, StandsOnItsKey) {
  KPianoKeyboard keyboard;
  keyboard.ShowPlayedNote(1, GetParam().note);
  ASSERT_EQ(keyboard.Marks().size(), 1u);
  EXPECT_EQ(keyboard.Marks()[0].x, GetParam().x);
  EXPECT_EQ(keyboard.Marks()[0].y, GetParam().y);
  // The mark lies on the key it names.
  const int centreX = GetParam().x + KPianoKeyboard::kMarkSize / 2;
  const int centreY = GetParam().y + KPianoKeyboard::kMarkSize / 2;
  EXPECT_EQ(KPianoKeyboard::NoteAt(centreX, centreY), GetParam().note);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, PlayedKeyMark, ::testing::ValuesIn(kPlayedMarks),
                         [](const ::testing::TestParamInfo<MarkCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST(KeyboardMarks, AClickMarksTheClickedKeyAndClearsTheOthers) {
  KPianoKeyboard keyboard;
  keyboard.ShowPlayedNote(1, 40);
  keyboard.MarkClick(28 + 3 * 98 + 12, 10);  // C#4
  ASSERT_EQ(keyboard.Marks().size(), 1u);
  EXPECT_EQ(keyboard.Marks()[0].note, 61);
  EXPECT_EQ(keyboard.Marks()[0].x, 28 + 3 * 98 + 10);
  keyboard.MarkClick(13, 10);  // A#0, left of C1
  EXPECT_EQ(keyboard.Marks()[0].x, 10);
  keyboard.MarkClick(30, 60);  // C1
  EXPECT_EQ(keyboard.Marks()[0].x, 31);
  EXPECT_EQ(keyboard.Marks()[0].y, 53);
}

TEST(KeyboardMarks, ShowNineNotesAtMostAndUnmarkOnlyWhatIsMarked) {
  KPianoKeyboard keyboard;
  for (int note = 60; note < 70; ++note) keyboard.ShowPlayedNote(1, note);
  ASSERT_EQ(keyboard.Marks().size(), 9u);
  keyboard.ShowPlayedNote(0, 69);  // the tenth was never shown
  keyboard.ShowPlayedNote(0, 90);
  EXPECT_EQ(keyboard.Marks().size(), 9u);
  keyboard.ShowPlayedNote(0, 61);
  ASSERT_EQ(keyboard.Marks().size(), 8u);
  EXPECT_EQ(keyboard.Marks()[1].note, 68);  // the last mark took its place
  keyboard.ShowPlayedNote(1, -1);
  EXPECT_TRUE(keyboard.Marks().empty());
}

TEST(KeyboardHover, NamesTheKeyBeforeThePrompt) {
  EXPECT_EQ(KPianoKeyboard::HoverText(28 + 3 * 98 + 12, 10, " (prompt)"), "C# / Db (prompt)");
  EXPECT_EQ(KPianoKeyboard::HoverText(3, 60, ""), "A");
}

// ---- The fretboard ----------------------------------------------------------------------

struct FretCase {
  const char* name;
  int x;
  int fret;
};

void PrintTo(const FretCase& c, std::ostream* out) { *out << c.name; }

const FretCase kFrets[] = {
    {"left of the nut is the open string", 2, 0},
    {"just right of the nut still is", 19, 0},
    {"the first fret starts 5 pixels right of the nut", 21, 1},
    {"the first fret reaches 5 pixels past its line", 65, 1},
    {"then the second fret", 66, 2},
    {"the twelfth fret", 370, 12},
    {"the last fret", 596, 24},
};

class FretUnderPoint : public ::testing::TestWithParam<FretCase> {};

TEST_P(FretUnderPoint, FollowsTheFretLines) {
  KFretboard board;
  board.Build(g_TuningGuitar, g_TuningGuitar);
  EXPECT_EQ(board.FretAt(GetParam().x), GetParam().fret);
}

INSTANTIATE_TEST_SUITE_P(Fretboard, FretUnderPoint, ::testing::ValuesIn(kFrets),
                         [](const ::testing::TestParamInfo<FretCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

struct SpotCase {
  const char* name;
  const CString* tuning;
  int x;
  int y;
  bool found;
  int slot;
  int fret;
  int note;
};

void PrintTo(const SpotCase& c, std::ostream* out) { *out << c.name; }

const SpotCase kSpots[] = {
    {"the guitar's top row is the high E", &g_TuningGuitar, 5, 6, true, 0, 0, 76},
    {"its bottom row the low E at the fifth fret", &g_TuningGuitar, 200, 13 * 5 + 2, true, 5, 5, 57},
    {"a four-string bass starts at its second slot", &g_TuningBass4, 5, 6, true, 1, 0, 55},
    {"and its bottom row is the low E", &g_TuningBass4, 5, 13 * 3 + 6, true, 4, 0, 40},
    {"below the strings is nothing", &g_TuningBass4, 5, 13 * 4 + 6, false, 0, 0, 0},
    {"the seven-string guitar's low B", &g_TuningGuitar7, 5, 13 * 6 + 6, true, 6, 0, 47},
    {"a dulcimer's third fret sounds five semitones up", &g_TuningDiatonic, 120, 6, true, 1, 3, 79},
};

class FretboardSpot : public ::testing::TestWithParam<SpotCase> {};

TEST_P(FretboardSpot, GivesSlotFretAndNote) {
  const SpotCase& c = GetParam();
  KFretboard board;
  board.Build(*c.tuning, g_TuningGuitar);
  KFretboard::Spot spot;
  ASSERT_EQ(board.NoteAt(c.x, c.y, spot), c.found);
  if (!c.found) return;
  EXPECT_EQ(spot.slot, c.slot);
  EXPECT_EQ(spot.fret, c.fret);
  EXPECT_EQ(spot.note, c.note);
}

INSTANTIATE_TEST_SUITE_P(Fretboard, FretboardSpot, ::testing::ValuesIn(kSpots),
                         [](const ::testing::TestParamInfo<SpotCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST(FretboardHover, NamesTheNoteAndTheTuning) {
  KFretboard board;
  board.Build(g_TuningGuitar, g_TuningGuitar);
  CString text;
  ASSERT_TRUE(board.HoverText(200, 13 * 5 + 2, "!", text));
  EXPECT_EQ(text, "A    ( Standard Tuning )!");
  EXPECT_FALSE(board.HoverText(200, 13 * 6 + 2, "!", text));
  board.Build(g_TuningBass4, g_TuningGuitar);
  ASSERT_TRUE(board.HoverText(5, 6, "", text));
  EXPECT_EQ(text, "G    (   E A D G    Tuning )");
  board.Build("      G D    000000475400", g_TuningGuitar);
  ASSERT_TRUE(board.HoverText(5, 6, "", text));
  EXPECT_EQ(text, "D    (       G D    Tuning )");
}

struct BuildCase {
  const char* name;
  const CString* from;
  const CString* to;
  bool reload;
};

void PrintTo(const BuildCase& c, std::ostream* out) { *out << c.name; }

const CString kDropD = "D A D G B E  303742475156";

const BuildCase kBuilds[] = {
    {"another six-string tuning keeps the pictures", &g_TuningGuitar, &kDropD, false},
    {"a bass of four strings needs another picture", &g_TuningGuitar, &g_TuningBass4, true},
    {"fewer frets need a narrower picture", &g_TuningGuitar, &g_TuningFourString, true},
};

class FretboardBuild : public ::testing::TestWithParam<BuildCase> {};

TEST_P(FretboardBuild, ReloadsThePicturesOnlyWhenTheirShapeChanges) {
  KFretboard board;
  EXPECT_TRUE(board.Build(*GetParam().from, g_TuningGuitar));
  EXPECT_EQ(board.Build(*GetParam().to, g_TuningGuitar), GetParam().reload);
}

INSTANTIATE_TEST_SUITE_P(Fretboard, FretboardBuild, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<BuildCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST(FretboardPictures, FollowStringCountFretCountAndFretLabels) {
  KFretboard board;
  board.Build(g_TuningGuitar, g_TuningGuitar);
  EXPECT_EQ(board.PictureId(), 5494);
  EXPECT_EQ(board.LabelStripId(), KFretboard::kPlainLabels);
  board.Build(g_TuningBass4, g_TuningGuitar);
  EXPECT_EQ(board.PictureId(), 5492);
  EXPECT_EQ(board.PictureHeight(), 13 * 4 + 2);
  board.Build(g_TuningFourString, g_TuningGuitar);  // 20 frets
  EXPECT_EQ(board.ClientSize().cx, KFretboard::FretX(20) + 3);
  board.Build(g_TuningDiatonic, g_TuningGuitar);
  EXPECT_TRUE(board.CustomFrets());
  EXPECT_EQ(board.LabelStripId(), KFretboard::kOtherLabels);  // half-fret labels are off by default
  g_HalfFretLabels = 1;
  EXPECT_TRUE(board.Build(g_TuningDiatonic, g_TuningGuitar));  // the labels changed
  EXPECT_EQ(board.LabelStripId(), KFretboard::kMixolydianLabels);
  ResetCommonGlobals();
}

TEST(FretboardMarks, PlayedNotesGoToTheFreeStringThatPlaysThemLowest) {
  KFretboard board;
  board.Build(g_TuningGuitar, g_TuningGuitar);
  board.ShowPlayedNote(1, 57, -1, 0);  // A: the open A string
  board.ShowPlayedNote(1, 57, -1, 0);  // again: the low E at the fifth fret
  board.ShowPlayedNote(1, 64, 0, 0);   // given: the open high E
  ASSERT_EQ(board.Marks().size(), 3u);
  EXPECT_EQ(board.Marks()[0].x, KFretboard::FretX(0) - 12);
  EXPECT_EQ(board.Marks()[0].y, 13 * 4 + 1);
  EXPECT_EQ(board.Marks()[1].x, KFretboard::FretX(5) - 12);
  EXPECT_EQ(board.Marks()[1].y, 13 * 5 + 1);
  EXPECT_EQ(board.Marks()[2].y, 1);
  // A note below every string and one beyond the last fret are not shown.
  board.ShowPlayedNote(1, 40, -1, 0);
  board.ShowPlayedNote(1, 100, -1, 0);
  EXPECT_EQ(board.Marks().size(), 3u);
  board.ShowPlayedNote(0, 57, -1, 0);
  ASSERT_EQ(board.Marks().size(), 2u);
  // The freed string takes the next A again.
  board.ShowPlayedNote(1, 57, -1, 0);
  EXPECT_EQ(board.Marks().back().y, 13 * 4 + 1);
}

TEST(FretboardMarks, ADulcimerShowsOnlyNotesItsFretsPlay) {
  KFretboard board;
  board.Build(g_TuningDiatonic, g_TuningGuitar);
  const int open = board.OpenPitch(board.FirstString()) + 20;
  board.ShowPlayedNote(1, open + 3, -1, 0);  // no fret of the list plays it
  EXPECT_TRUE(board.Marks().empty());
  board.ShowPlayedNote(1, open + 5, -1, 0);  // fret 3 of the list
  ASSERT_EQ(board.Marks().size(), 1u);
  EXPECT_EQ(board.Marks()[0].x, KFretboard::FretX(3) - 12);
  board.ShowPlayedNote(0, -1, -1, 0);
  EXPECT_TRUE(board.Marks().empty());
}

}  // namespace
