// The palettes' cells: which code lies under a point of each palette
// picture, with the two-cell caret area cut into four triangles and the
// note-style cells cut into halves; where the highlight and the style mark
// stand; which twin a palette shows on which line.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "dialogs/toolbox/ToolBoxCells.h"
#include "support/CaseName.h"

namespace {

using namespace toolbox;

struct HitCase {
  const char* name;
  int kind;
  int x;
  int y;
  int code;
};

void PrintTo(const HitCase& c, std::ostream* out) { *out << c.name; }

const HitCase kHits[] = {
    {"the first cell of the symbols toolbox is the cursor mode", kSymbols, 3, 3, kArrowCursor},
    {"a whole note lies right of it", kSymbols, 19 + 9, 13, 12},
    {"the last cell of the first row", kSymbols, 28 * 19 + 18, 26, 72},
    {"the bar line in the second row", kSymbols, 14 * 19 + 2, 27 + 2, 21},
    {"the mutual translation cell starts the third row", kSymbols, 0, 54, kMutualTranslation},
    // The caret area: columns 1 and 2 of row 3 (x 19..56, y 54..80).
    {"the top of the caret area moves up", kSymbols, 38, 56, kCaretUp},
    {"its bottom moves down", kSymbols, 38, 79, kCaretDown},
    {"its left end moves left", kSymbols, 21, 67, kCaretLeft},
    {"its right end moves right", kSymbols, 55, 67, kCaretRight},
    {"the right half of the second cell near the top still moves up", kSymbols, 45, 58, kCaretUp},
    {"the left cell near its bottom moves down", kSymbols, 32, 78, kCaretDown},
    {"the alternate palette has the same caret area", kAlternate, 21, 67, kCaretLeft},
    {"so has its tablature twin", kAlternateTab, 38, 79, kCaretDown},
    {"the mini palette's area is cut the same way: up", kMiniSymbols, 16, 25, kCaretUp},
    {"mini: down", kMiniSymbols, 16, 35, kCaretDown},
    {"mini: left", kMiniSymbols, 9, 30, kCaretLeft},
    {"mini: right", kMiniSymbols, 23, 30, kCaretRight},
    // The style cells: the last four of row 3, upper halves styles 0..3.
    {"the upper half of the first style cell is the normal style", kSymbols, 25 * 19 + 4, 57, 11008},
    {"its lower half is the mini style", kSymbols, 25 * 19 + 4, 74, 11012},
    {"the middle row of a style cell belongs to the upper half", kSymbols, 26 * 19 + 4, 54 + 13, 11009},
    {"the row below the middle belongs to the lower half", kSymbols, 26 * 19 + 4, 54 + 14, 11013},
    {"the last style cell's lower half is the crossed circle", kSymbols, 28 * 19 + 18, 80, 11015},
    {"the mini palette's style halves", kMiniSymbols, 27 * 8 + 2, 24 + 10, 11014},
    {"the alternate palette's style halves", kAlternate, 27 * 19 + 2, 54 + 20, 11014},
    {"the note-style palette has whole cells", kNoteStyles, 5 * 19 + 3, 25, 11013},
    {"the note-style palette's first cell", kNoteStyles, 0, 26, 11008},
    {"an empty cell of the alternate palette", kAlternate, 16 * 19 + 3, 3, kNotUsed},
    {"the staff palette's second row starts with the breve", kCommonStaff, 2, 27, 10012},
    {"the staff palette has sharps where the tab palette has hammer-ons", kCommonStaff, 7 * 19 + 2, 30, 28},
    {"the tab palette's hammer-on", kCommonTab, 7 * 19 + 2, 30, 42},
    {"the tab palette's slide", kCommonTab, 9 * 19 + 2, 30, 46},
    {"the last staff grace note", kStaffGrace, 8 * 19 + 2, 3, 10003},
    {"the last tab grace note", kTabGrace, 3 * 19 + 18, 26, 10076},
    {"the repeat-both-ways bar", 10, 6 * 19 + 3, 3, 96},
    {"the last drum cell", kDrums, 18 * 19 + 18, 26, 10090},
    {"the other symbols' second row", 14, 12 * 19 + 3, 27, 10017},
    {"the guitar symbols' dead note", 15, 14 * 19 + 3, 40, 101},
    {"the rhythm palette's last cell", kRhythm, 15 * 19 + 18, 53, 71},
    {"right of a palette is no cell", kCommonStaff, 361, 0, kNoCode},
    {"below a palette is no cell", kCommonStaff, 0, 54, kNoCode},
    {"left of a palette is no cell", 9, -1, 3, kNoCode},
    {"the fretboard has no cells", kFretboard, 30, 5, kNoCode},
    {"the keyboard has no cells", kKeyboard, 30, 5, kNoCode},
};

class CellUnderPoint : public ::testing::TestWithParam<HitCase> {};

TEST_P(CellUnderPoint, GivesTheCodeOfThePalette) {
  const HitCase& c = GetParam();
  EXPECT_EQ(CellCodeAt(c.kind, c.x, c.y), c.code);
}

INSTANTIATE_TEST_SUITE_P(Palettes, CellUnderPoint, ::testing::ValuesIn(kHits),
                         [](const ::testing::TestParamInfo<HitCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST(PaletteGrid, EveryCellOfEveryPaletteIsReachedAtItsCentre) {
  for (int kind = 0; kind < kKindCount; ++kind) {
    if (!IsPalette(kind)) continue;
    const KToolBoxKind& k = KindInfo(kind);
    EXPECT_EQ(k.columns * k.cellWidth, k.pictureWidth) << kind;
    EXPECT_EQ(k.rows * k.cellHeight, k.pictureHeight) << kind;
    const auto cells = CellsOf(kind);
    ASSERT_EQ(static_cast<int>(cells.size()), k.columns * k.rows) << kind;
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
      const RECT r = CellRect(kind, i);
      const int code = cells[static_cast<size_t>(i)];
      // The caret cells give a triangle's code, the style cells a half's.
      const int at = CellCodeAt(kind, r.left + 1, r.top + 2);
      if (code == kCaretLeft || code == kCaretRight) {
        EXPECT_GE(at, kCaretLeft) << kind << " cell " << i;
        EXPECT_LE(at, kCaretDown) << kind << " cell " << i;
      } else {
        EXPECT_EQ(at, code) << kind << " cell " << i;
      }
    }
  }
}

struct StyleRectCase {
  const char* name;
  int kind;
  int style;
  RECT rect;
};

void PrintTo(const StyleRectCase& c, std::ostream* out) { *out << c.name; }

const StyleRectCase kStyleRects[] = {
    {"normal on the symbols toolbox is the upper half of column 25", kSymbols, 0, {475, 54, 494, 67}},
    {"harmonic is the upper half of the last column", kSymbols, 3, {532, 54, 551, 67}},
    {"mini is the lower half of column 25", kSymbols, 4, {475, 67, 494, 81}},
    {"crossed circle is the lower half of the last column", kSymbols, 7, {532, 67, 551, 81}},
    {"the mini palette's muted style", kMiniSymbols, 2, {216, 24, 224, 30}},
    {"the note-style palette's whole cell", kNoteStyles, 6, {114, 0, 133, 27}},
    {"palettes without style cells show none", kCommonStaff, 1, {0, 0, 0, 0}},
};

class NoteStyleMark : public ::testing::TestWithParam<StyleRectCase> {};

TEST_P(NoteStyleMark, StandsOnTheStyleCell) {
  const StyleRectCase& c = GetParam();
  const RECT r = NoteStyleRect(c.kind, c.style);
  EXPECT_EQ(r.left, c.rect.left);
  EXPECT_EQ(r.top, c.rect.top);
  EXPECT_EQ(r.right, c.rect.right);
  EXPECT_EQ(r.bottom, c.rect.bottom);
}

INSTANTIATE_TEST_SUITE_P(Palettes, NoteStyleMark, ::testing::ValuesIn(kStyleRects),
                         [](const ::testing::TestParamInfo<StyleRectCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

struct TwinCase {
  const char* name;
  int kind;
  int lineClass;
  int twin;
};

void PrintTo(const TwinCase& c, std::ostream* out) { *out << c.name; }

const TwinCase kTwins[] = {
    {"alternate symbols on tablature", kAlternate, kClassTab, kAlternateTab},
    {"alternate tab symbols on a staff", kAlternateTab, kClassOther, kAlternate},
    {"common staff symbols on tablature", kCommonStaff, kClassTab, kCommonTab},
    {"common tab symbols on a staff", kCommonTab, kClassOther, kCommonStaff},
    {"staff grace notes on tablature", kStaffGrace, kClassTab, kTabGrace},
    {"tab grace notes on a staff", kTabGrace, kClassOther, kStaffGrace},
    {"a staff palette stays on a staff", kCommonStaff, kClassOther, kCommonStaff},
    {"the accidentals have no twin", 9, kClassTab, 9},
    {"the symbols toolbox has no twin", kSymbols, kClassTab, kSymbols},
};

class TwinOfPalette : public ::testing::TestWithParam<TwinCase> {};

TEST_P(TwinOfPalette, FollowsTheLineClass) {
  EXPECT_EQ(TwinForClass(GetParam().kind, GetParam().lineClass), GetParam().twin);
}

INSTANTIATE_TEST_SUITE_P(Palettes, TwinOfPalette, ::testing::ValuesIn(kTwins),
                         [](const ::testing::TestParamInfo<TwinCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

}  // namespace
