// The named fonts and pen of start-up: made as asked, and a failure to make
// one is told with its place, once per run for each kind, and stops there.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/ErrorReporter.h"
#include "common/Globals.h"
#include "common/SharedGdiObjects.h"
#include "platform/FakeUiPort.h"
#include "platform/GdiFaults.h"

namespace {

class NamedGdiObjects : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    DeleteNamedGdiObjects();
    ResetGdiFaults();
    ResetCommonGlobals();
  }
  std::string LastCode() const {
    if (ui.Messages().empty()) return {};
    const std::string& text = ui.Messages().back().text;
    const size_t at = text.rfind("(Error ");
    return at == std::string::npos ? text : text.substr(at + 7, text.size() - at - 8);
  }

  FakeUiPort ui;
  ScopedUiPort scope{ui};
};

TEST_F(NamedGdiObjects, AreMadeWithTheFacesSizesAndStylesAsked) {
  ASSERT_TRUE(CreateNamedGdiObjects());
  const struct {
    const char* name;
    const CFont* font;
    int height;
    int weight;
    int italic;
    int pitchAndFamily;
    const char* face;
  } fonts[] = {
      {"small Courier", &g_fontCourier[0], 14, 700, 0, 0x31, "Courier New"},
      {"large Courier", &g_fontCourier[1], 17, 700, 0, 0x31, "Courier New"},
      {"Times bold italic", &g_fontTimesBoldItalic, 13, 700, 1, 0x14, "Times New Roman"},
      {"Times italic", &g_fontTimesItalic, 11, 400, 1, 0x14, "Times New Roman"},
  };
  for (const auto& f : fonts) {
    SCOPED_TRACE(f.name);
    LOGFONT made{};
    ASSERT_NE(f.font->GetLogFont(&made), 0);
    EXPECT_EQ(made.lfHeight, f.height);
    EXPECT_EQ(made.lfWeight, f.weight);
    EXPECT_EQ(made.lfItalic, f.italic);
    EXPECT_EQ(made.lfPitchAndFamily, f.pitchAndFamily);
    EXPECT_STREQ(made.lfFaceName, f.face);
    EXPECT_EQ(made.lfEscapement, 0);
  }
  EXPECT_NE(g_penWindowColour.GetSafeHandle(), nullptr);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(NamedGdiObjects, AFailureIsToldWithItsPlaceAndStopsTheMaking) {
  const struct {
    const char* name;
    GdiResource kind;
    int madeBefore;  // creations of the kind that succeed first
    const char* code;
  } cases[] = {
      {"first Courier", GdiResource::Font, 0, "SVd-3"},
      {"second Courier", GdiResource::Font, 1, "SVd-3"},
      {"Times bold italic", GdiResource::Font, 2, "SVd-4"},
      {"Times italic", GdiResource::Font, 3, "SVd-5"},
      {"pen", GdiResource::Pen, 0, "SVd-11"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    ui.ClearRecords();
    FailGdiCreationAfter(c.kind, c.madeBefore);
    EXPECT_FALSE(CreateNamedGdiObjects());
    EXPECT_EQ(LastCode(), c.code);
    EXPECT_EQ(ui.Messages().size(), 1u);
    // Nothing after the failed one was made.
    EXPECT_EQ(g_penWindowColour.GetSafeHandle(), nullptr);
  }
}

TEST_F(NamedGdiObjects, EachKindOfFailureIsToldOncePerRun) {
  FailGdiCreationAfter(GdiResource::Font, 0);
  EXPECT_FALSE(CreateNamedGdiObjects());
  FailGdiCreationAfter(GdiResource::Font, 3);
  EXPECT_FALSE(CreateNamedGdiObjects());
  FailGdiCreationAfter(GdiResource::Pen, 0);
  EXPECT_FALSE(CreateNamedGdiObjects());
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(LastCode(), "SVd-11");
}

}  // namespace
