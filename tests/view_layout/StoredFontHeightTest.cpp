// The heights of text fonts come from the score file, so any int may arrive:
// the layout compares and measures them without overflow and keeps a text
// line's height within bounds.

#include <gtest/gtest.h>

#include <limits>

#include "LayoutFixture.h"

namespace {

using StoredFontHeights = LayoutFixture;

TEST_F(StoredFontHeights, HeightsAtTheEndsOfTheIntegerRangeLayOutWithoutOverflow) {
  constexpr int kMost = std::numeric_limits<int>::max();
  constexpr int kLeast = std::numeric_limits<int>::min();
  struct Case {
    int baseHeight;  // the score's default text font
    int lineHeight;  // the text line's own font
  };
  const Case cases[] = {{kMost, kMost}, {kMost, kLeast}, {kLeast, kMost}, {kLeast, kLeast}, {16, kLeast}};
  // An empty line: its height, not the width of its text, is what is laid
  // out here.
  AddText("", 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.baseHeight << " / " << c.lineHeight);
    view_->m_baseFontHeight[0] = c.baseHeight;
    view_->m_textFonts[1].lfHeight = c.lineHeight;
    Layout();
    const DisplayLine& entry = Entry(0);
    const int height = entry.bottom - entry.top - kGap;
    EXPECT_GE(height, 0);
    EXPECT_LE(height, 4096);
  }
}

}  // namespace
