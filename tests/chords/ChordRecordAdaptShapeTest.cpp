// Fitting a stored chord shape to another tuning.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "chords/ChordRecordKeys.h"
#include "common/ChordShape.h"
#include "common/Globals.h"

namespace {

const char* const kGuitar = "E A D G B E  323742475156";
const char* const kDropD = "D A D G B E  303742475156";
const char* const kOpenG = "D G D G B D  303542475154";

std::vector<int> SortedPitches(const CString& shape, const CString& tuning) {
  ShapeValues pitches{}, frets{}, marks{};
  GetShapePitches(shape, tuning, pitches, frets, marks);
  std::vector<int> sounding;
  for (int pitch : pitches)
    if (pitch > -9) sounding.push_back(pitch);
  std::sort(sounding.begin(), sounding.end());
  return sounding;
}

TEST(ChordRecordAdaptShape, FrettedShapeIsReplayedOnTheNewTuning) {
  const struct {
    const char* shape;
    const char* to;
    bool everyPitch;  // whether the new tuning can play all of them in one hand position
  } cases[] = {{"0032010", kDropD, true},
               {"0032010", kGuitar, true},
               {"0032010", kOpenG, false},
               {"3133211", kDropD, false}};
  for (const auto& c : cases) {
    CString result;
    AdaptChordShape(kGuitar, c.shape, c.to, &result);
    const std::vector<int> before = SortedPitches(c.shape, kGuitar);
    const std::vector<int> after = SortedPitches(result, c.to);
    if (c.everyPitch) {
      EXPECT_EQ(after, before) << c.shape << " to " << c.to;
    } else {
      EXPECT_GE(after.size(), 4u) << c.shape << " to " << c.to;
      for (int pitch : after)
        EXPECT_NE(std::find(before.begin(), before.end(), pitch), before.end()) << c.shape << " to " << c.to;
    }
  }
}

TEST(ChordRecordAdaptShape, UnfrettedOrNarrowerShapeIsCompletedForTheTargetStrings) {
  const struct {
    const char* shape;
    CString to;
    const char* result;
  } cases[] = {
      {"0000000", kGuitar, "0000000"},
      {"0000000   ", kGuitar, "0000000"},  // trailing blanks go
      {"0000000", g_TuningGuitar7, "0000000         0000000640      790 "},
      {"0000000", g_TuningGuitar8, "0000000         0000000640      790 890 "},
      {"0000000", g_TuningBass4, "0000000         0000000440"},
      // a six-string fretted shape on a seven-string tuning is completed, not replayed
      {"0032010", g_TuningGuitar7, "0032010         0000000640      790 "},
      // a seven-string shape longer than the target's template keeps its 36 characters
      {"0999999         0000000640      790    ", kGuitar, "0999999         0000000640      790 "},
  };
  for (const auto& c : cases) {
    CString result = "untouched";
    AdaptChordShape(kGuitar, c.shape, c.to, &result);
    EXPECT_EQ(result, c.result) << '"' << c.shape << "\" to " << c.to.Str();
  }
}

TEST(ChordRecordAdaptShape, OverlongAndGarbageShapesAreCutSafely) {
  const CString eight = CString("0999999         0000000640      790 890 ") + "extra beyond forty";
  CString result;
  AdaptChordShape(g_TuningGuitar8, eight, g_TuningGuitar8, &result);
  EXPECT_EQ(result, "0999999         0000000640      790 890 ");
  for (const char* garbage : {"", "\xff\xfe", "zzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzzz"}) {
    result.Empty();
    AdaptChordShape(kGuitar, garbage, g_TuningGuitar7, &result);
    EXPECT_LE(result.GetLength(), 40);
  }
  AdaptChordShape(kGuitar, "0032010", kGuitar, nullptr);  // no result place: nothing happens
}

}  // namespace
