// The settings a score file stores are outside input: a value the view, the
// printer or playback would use outside its range loads as the value a new
// score has (a count of lines to scroll as the nearest count allowed), and a
// value inside its range loads as it was stored.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DocTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "doc/ScoreSettings.h"
#include "doc/pref_values/Preferences.h"

namespace {

using StoredSettings = DocTest;

struct RangeCase {
  const char* field;
  std::function<void(ScoreSettings&, int)> set;
  std::function<int(const ScoreSettings&)> get;
  int stored;
  int loaded;  // kNew: the value of a new score
};

constexpr int kNew = -99999;

#define FIELD(name)                                                                  \
#name,                                                                             \
      [](ScoreSettings & s,                                                          \
         int v) { s.name = static_cast<decltype(s.name)>(v); },                      \
                                                             [](const ScoreSettings& \
                                                                    s) { return static_cast<int>(s.name); }

TEST_F(StoredSettings, AValueOutsideItsRangeLoadsAsANewScoresValue) {
  g_prefPgOptions.printSize = 90;
  g_prefNewDocWnd = {640, 480, 12, 34};
  const ScoreSettings fresh;
  const RangeCase cases[] = {
      {FIELD(printScale), -32768, kNew},    {FIELD(printScale), 32767, kNew},
      {FIELD(printScale), 19, kNew},        {FIELD(printScale), 401, kNew},
      {FIELD(printScale), 20, 20},          {FIELD(printScale), 400, 400},
      {FIELD(windowWidth), 32767, kNew},    {FIELD(windowWidth), -1, kNew},
      {FIELD(windowWidth), 2500, 2500},     {FIELD(windowHeight), 39, kNew},
      {FIELD(windowHeight), 40, 40},        {FIELD(windowX), -32768, 0},
      {FIELD(windowY), 32767, 0},           {FIELD(windowY), -12, -12},
      {FIELD(fixedLineLength), -5, 0},      {FIELD(firstPageNumber), 10000, 0},
      {FIELD(firstPageNumber), 9999, 9999}, {FIELD(lineSpacing), 255, kNew},
      {FIELD(scrollLines), 0, 1},           {FIELD(scrollLines), 255, 199},
      {FIELD(scrollLines), 100, 101},       {FIELD(scrollLines), 105, 105},       {FIELD(autosaveKind), 7, kNew},
      {FIELD(marginUnit), 9, kNew},         {FIELD(pageNumberText), 3, 0},
      {FIELD(pageNumberHorizontal), 4, 0},  {FIELD(pageNumberHorizontal), 3, 3},
      {FIELD(midiTempo), -32768, 0},        {FIELD(midiTempo), 32767, 0},
      {FIELD(midiTempo), 120, 120},
  };
  for (const RangeCase& c : cases) {
    CStavlinDoc written;
    ScoreSettings s;
    written.GetSettings(s);
    c.set(s, c.stored);
    written.SetSettings(s, FALSE);
    CStavlinDoc read;
    ASSERT_TRUE(LoadDocument(read, StoreDocument(written))) << c.field;
    ScoreSettings got;
    read.GetSettings(got);
    const int expected = c.loaded == kNew ? c.get(fresh) : c.loaded;
    EXPECT_EQ(c.get(got), expected) << c.field << " stored as " << c.stored;
  }
}

struct ScrollCase {
  int lines;
  int grouped;
  int stored;  // the score's byte: lines, plus 100 when groups count as one
};

TEST_F(StoredSettings, ANewScoreTakesTheLinesToScrollWithinWhatItsByteHolds) {
  const ScrollCase cases[] = {
      {3, 1, 103}, {20, 0, 20}, {99, 1, 199}, {120, 0, 99}, {150, 1, 199}, {0, 0, 1},
  };
  for (const ScrollCase& c : cases) {
    g_prefScrolling.lines = c.lines;
    g_prefScrolling.countGroupAsOne = c.grouped;
    const ScoreSettings fresh;
    EXPECT_EQ(fresh.scrollLines, c.stored) << c.lines << " lines, grouped " << c.grouped;
  }
}

}  // namespace
