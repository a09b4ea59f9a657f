// Wrap points: where a note line of fixed staff length breaks at a bar.

#include <string>

#include "NoteLineTestSupport.h"

namespace {

// Bars at 8 and 16 (22: a plain bar code), notes around them, last column 20.
constexpr const char* kTwoBars = "0=9@18 4=9@18 8=22@1/44 12=9@18 16=22@1/44 20=9@18";

struct WrapFlagsCase {
  const char* name;
  const char* notes;
  int staffLength;
  int key;
  int flags;
  int column;  // checked when flags is not 0 or the line has bars that fit
};

void PrintTo(const WrapFlagsCase& c, std::ostream* out) { *out << c.name; }

class WrapFlagsTest : public LineTest, public ::testing::WithParamInterface<WrapFlagsCase> {};

TEST_P(WrapFlagsTest, FindsLastBarWithinStaffLength) {
  const WrapFlagsCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
  line->SetStaffLength(c.staffLength);
  line->SetKeySignature(c.key, 0, 0);
  const Bytes stored = StoreObject(*line);
  int flags = -1;
  const int column = line->GetWrapFlags(flags);
  EXPECT_EQ(flags, c.flags);
  if (c.column >= 0) {
    EXPECT_EQ(column, c.column);
  }
  EXPECT_EQ(StoreObject(*line), stored);
}

// A closing bar fits when its whole column does: 34 (+ 5 per accidental pair)
// + 18 x (column + 1) is at most the staff length: 196 at 8, 340 at 16. A
// start repeat fits when its middle does: 34 + 18 x column + 9 below it.
INSTANTIATE_TEST_SUITE_P(
    Cases, WrapFlagsTest,
    ::testing::Values(
        WrapFlagsCase{"LastFittingBar", kTwoBars, 250, 0, 0, 9},
        WrapFlagsCase{"BothFit", kTwoBars, 400, 0, 0, 17},
        WrapFlagsCase{"KeyWidensLead", kTwoBars, 200, 4, 1, 9},
        WrapFlagsCase{"KeyStillFits", kTwoBars, 211, 4, 0, 9},
        WrapFlagsCase{"BarWhoseMiddleFitsButNotItsColumn", kTwoBars, 195, 0, 1, 9},
        WrapFlagsCase{"NoBarFitsTakesFirstBar", kTwoBars, 100, 0, 1, 9},
        WrapFlagsCase{"EndsWithBar", "0=9@18 8=22@1/44 16=9@18 20=22@1/44", 250, 0, 2, 9},
        WrapFlagsCase{"PlainBarStaysAtTheEndOfItsLine", "0=9@18 8=21@1/44 16=22@1/44 20=9@18", 250, 0, 0, 9},
        WrapFlagsCase{"StartRepeatGoesDownWithItsBar", "0=9@18 8=24@1/44 20=9@18", 250, 0, 0, 8},
        WrapFlagsCase{"BarKindFromSecondEntry", "0=9@18 8=9@18+24@1/44 20=9@18", 250, 0, 0, 8},
        WrapFlagsCase{"NoBarsTooLong", "0=9@18 30=9@18", 300, 0, 1, 30},
        WrapFlagsCase{"NoBarsShort", "0=9@18 5=9@18", 300, 0, 0, -1},
        WrapFlagsCase{"StaffLengthOne", kTwoBars, 1, 0, 0, -1},
        WrapFlagsCase{"EmptyLine", "", 400, 0, 0, -1}));

struct WrapColumnCase {
  const char* name;
  const char* notes;
  int width;
  int column;
  int flags;
};

void PrintTo(const WrapColumnCase& c, std::ostream* out) { *out << c.name; }

class WrapColumnTest : public LineTest, public ::testing::WithParamInterface<WrapColumnCase> {};

TEST_P(WrapColumnTest, FindsLastBarThatFitsWidth) {
  const WrapColumnCase& c = GetParam();
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, c.notes);
  line->SetStaffLength(500);
  int flags = 0x1;  // bits already set stay set
  EXPECT_EQ(line->FindWrapColumn(c.width, flags), c.column);
  EXPECT_EQ(flags, c.flags | 0x1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrapColumnTest,
    ::testing::Values(
        WrapColumnCase{"SecondBarDoesNotFit", kTwoBars, 200, 9, 0x200},
        WrapColumnCase{"WholeLineFits", kTwoBars, 400, 21, 0},
        WrapColumnCase{"LastBarFitsButContentFollows", kTwoBars, 320, 17, 0x200},
        WrapColumnCase{"NarrowerThanAColumn", kTwoBars, 17, -1, 0},
        WrapColumnCase{"NothingFits", kTwoBars, 100, -1, 0},
        WrapColumnCase{"OpeningBarNeverChosen", "0=22@1/44 3=9@18 8=22@1/44 12=9@18", 200, 9, 0x280},
        WrapColumnCase{"OpeningBarAlone", "0=22@1/44", 200, -1, 0x80},
        WrapColumnCase{"PlainBarGoesUpWithItsBar", "0=9@18 8=21@1/44 16=9@18", 200, 9, 0x200},
        WrapColumnCase{"StartRepeatStaysForTheNextLine", "0=9@18 8=24@1/44 16=9@18", 200, 8, 0x200},
        WrapColumnCase{"LineEndingInBar", "0=9@18 8=22@1/44", 200, 9, 0}));

TEST_F(WrapColumnTest, LineWithoutStaffLength) {
  std::unique_ptr<EditLine> line = MakeNoteLine(kTreble, kTwoBars);
  line->SetStaffLength(1);
  int flags = 0;
  EXPECT_EQ(line->FindWrapColumn(500, flags), -1);
  EXPECT_EQ(flags, 0);
}

}  // namespace
