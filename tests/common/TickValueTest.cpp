#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "common/NoteConversions.h"

namespace {

struct TickCase {
  std::int32_t ticks;
  std::int32_t position;
  int resolution;
  int acceptShort;
  int value;
  std::int32_t remainder;
  std::int32_t dotted;
};

void ExpectCases(const std::vector<TickCase>& cases) {
  for (const auto& c : cases) {
    std::int32_t remainder = -777;
    std::int32_t dotted = -777;
    const int value = TicksToNoteValue(c.ticks, remainder, c.position, dotted, c.resolution, c.acceptShort);
    EXPECT_EQ(value, c.value) << c.ticks << " ticks at " << c.position << ", r" << c.resolution;
    EXPECT_EQ(remainder, c.remainder) << c.ticks << " ticks at " << c.position << ", r" << c.resolution;
    EXPECT_EQ(dotted, c.dotted) << c.ticks << " ticks at " << c.position << ", r" << c.resolution;
  }
}

TEST(TickValue, PlainAndDottedValues) {
  ExpectCases({
      {1920, 0, 3, 0, kNoteValueWhole, 0, 0},
      {960, 0, 3, 0, kNoteValueHalf, 0, 0},
      {1440, 0, 3, 0, kNoteValueHalf, 0, 1},
      {480, 0, 3, 0, kNoteValueQuarter, 0, 0},
      {720, 0, 3, 0, kNoteValueQuarter, 0, 1},
      {240, 0, 3, 0, kNoteValueEighth, 0, 0},
      {360, 0, 3, 0, kNoteValueEighth, 0, 1},
      {120, 0, 3, 0, kNoteValue16th, 0, 0},
      {180, 0, 3, 0, kNoteValue16th, 0, 1},
      {60, 0, 3, 0, kNoteValue32nd, 0, 0},
      {90, 0, 3, 0, kNoteValue32nd, 0, 1},
      {30, 0, 3, 0, kNoteValue64th, 0, 0},
      // Ticks beyond a multiple of 30 are dropped.
      {499, 0, 3, 0, kNoteValueQuarter, 0, 0},
      {29 + 480 * 3, 0, 3, 0, kNoteValueHalf, 0, 1},
  });
}

TEST(TickValue, DottedValueSplitsWhereItWouldHideABeat) {
  ExpectCases({
      // A dotted quarter starting on the off-beat eighth: an eighth, then a tied quarter.
      {720, 240, 3, 0, kNoteValueEighth, 480, 0},
      {720, 240 + 480 * 5, 3, 0, kNoteValueEighth, 480, 0},
      {720, 120, 3, 0, kNoteValueQuarter, 0, 1},
      {360, 120, 3, 0, kNoteValue16th, 240, 0},
      {360, 240, 3, 0, kNoteValueEighth, 0, 1},
      {180, 60, 3, 0, kNoteValue32nd, 120, 0},
      {90, 30, 3, 0, kNoteValue64th, 60, 0},
      // A position before the counting point still lies within a beat.
      {720, -240, 3, 0, kNoteValueEighth, 480, 0},
  });
}

TEST(TickValue, LongerThanAWholeNoteLeavesTheExcess) {
  ExpectCases({
      {2880, 0, 3, 0, kNoteValueWhole, 960, 1},
      {1921, 0, 3, 0, kNoteValueWhole, 1, 0},
      {3840, 0, 0, 0, kNoteValueWhole, 1920, 0},
      {INT32_MAX, 0, 0, 0, kNoteValueWhole, INT32_MAX - 1920, 0},
  });
}

TEST(TickValue, OtherLengthsTakeTheLargestPowerOfTwoFirst) {
  ExpectCases({
      // 20 units: a quarter and a tied 16th.
      {600, 0, 3, 0, kNoteValueQuarter, 120, 0},
      // The same length ending on a beat: the 16th first, then the quarter on the beat.
      {600, 360, 3, 0, kNoteValue16th, 480, 0},
      {600, 360 - 480, 3, 0, kNoteValue16th, 480, 0},
      // A rest of 4 units that is no 64th-to-eighth value: written second regardless.
      {1800, 0, 3, 0, kNoteValueHalf, 840, 0},
      {1800, 120, 3, 0, kNoteValueHalf, 840, 0},
      // Rest ending on the beat with rests of 240, 60 and 30 ticks.
      {720 + 480, 240, 3, 0, kNoteValueEighth, 960, 0},
      {540, 420, 3, 0, kNoteValue32nd, 480, 0},
      {510, 450, 3, 0, kNoteValue64th, 480, 0},
      {510, 0, 3, 0, kNoteValueQuarter, 30, 0},
      // 7 units at resolution 3: 4 + 3.
      {210, 0, 3, 0, kNoteValue16th, 90, 0},
  });
}

TEST(TickValue, ResolutionLimitsShortLengths) {
  ExpectCases({
      // Too short for the resolution unless short lengths are accepted.
      {60, 0, 0, 0, kNoNoteValue, 0, 0},
      {60, 0, 0, 1, kNoteValue32nd, 0, 0},
      {210, 0, 0, 0, kNoNoteValue, 0, 0},
      {240, 0, 0, 0, kNoteValueEighth, 0, 0},
      {90, 0, 1, 0, kNoNoteValue, 0, 0},
      {120, 0, 1, 0, kNoteValue16th, 0, 0},
      {30, 0, 2, 0, kNoNoteValue, 0, 0},
      {60, 0, 2, 0, kNoteValue32nd, 0, 0},
      {29, 0, 3, 0, kNoNoteValue, 0, 0},
      // Split lengths whose largest part is not above the resolution's split limit.
      {210, 0, 0, 1, kNoNoteValue, 0, 0},
      {150, 0, 0, 1, kNoNoteValue, 0, 0},
      {150, 0, 1, 1, kNoteValue16th, 30, 0},
      {150, 0, 2, 1, kNoteValue16th, 30, 0},
      {270, 0, 0, 0, kNoteValueEighth, 30, 0},
      // Nothing at all to write.
      {0, 0, 3, 1, kNoNoteValue, 0, 0},
      {-60, 0, 3, 1, kNoNoteValue, 0, 0},
      {INT32_MIN, INT32_MAX, 3, 1, kNoNoteValue, 0, 0},
  });
}

TEST(TickValue, ResolutionOutsideTheTablesIsClamped) {
  ExpectCases({
      {60, 0, -5, 0, kNoNoteValue, 0, 0},
      {30, 0, 99, 0, kNoteValue64th, 0, 0},
      {600, INT32_MAX, 99, 0, kNoteValueQuarter, 120, 0},
  });
}

}  // namespace
