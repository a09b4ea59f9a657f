// A text document's text handed to a new score: pasted as text lines straight
// into the paste engine (the user's clipboard keeps what it holds), then
// read as ABC or as text tablature.

#include <gtest/gtest.h>

#include "TranslateFixture.h"
#include "platform/Clipboard.h"

namespace {

class TextHandOver : public viewtest::TranslateFixture {
 protected:
  void SetUp() override {
    TranslateFixture::SetUp();
    previous_ = SetClipboardPort(&clipboard_);
    // A new score: its title line and the text line with the caret.
    AddText("");
    AddText("");
    Layout(1);
    ASSERT_TRUE(OpenClipboard());
    EmptyClipboard();
    const std::string kept = "the user's clipboard";
    SetClipboardData(CF_TEXT, std::vector<BYTE>(kept.begin(), kept.end()));
    CloseClipboard();
  }
  void TearDown() override {
    SetClipboardPort(previous_);
    TranslateFixture::TearDown();
  }

  std::string ClipboardText() {
    if (!OpenClipboard()) return {};
    const std::optional<std::vector<BYTE>> bytes = GetClipboardData(CF_TEXT);
    CloseClipboard();
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
  }

 private:
  MemoryClipboard clipboard_;
  ClipboardPort* previous_ = nullptr;
};

TEST_F(TextHandOver, AbcTextBecomesTheScoreAndTheClipboardKeepsItsText) {
  view->ReceiveHandedOverText("X:1\nT:Planxty\nM:3/4\nL:1/8\nK:G\nG2 B2 d2|g6|\n", true, false);
  EXPECT_EQ(ClipboardText(), "the user's clipboard");
  // The title, the empty line after it, and the staff.
  ASSERT_EQ(Types(), "5 5 0");
  EXPECT_NE(Text(0).find("Planxty"), std::string::npos);
  EXPECT_EQ(Pitches(Line(2)), "G4 B4 D5 G5");
  EXPECT_FALSE(view->SelectionRectShown());
}

TEST_F(TextHandOver, TextTablatureRowsBecomeATablatureLine) {
  view->ReceiveHandedOverText("e|---0---|\nB|---1---|\nG|---0---|\nD|---2---|\nA|---3---|\nE|-------|\n",
                              false, true);
  EXPECT_EQ(ClipboardText(), "the user's clipboard");
  EXPECT_NE(Types().find('2'), std::string::npos) << Types();
}

TEST_F(TextHandOver, PlainTextStaysTextLines) {
  view->ReceiveHandedOverText("first\nsecond", false, false);
  ASSERT_EQ(Types(), "5 5 5");
  EXPECT_EQ(Text(1), "first");
  EXPECT_EQ(Text(2), "second");
}

}  // namespace
