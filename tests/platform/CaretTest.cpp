#include "platform/Caret.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Runs a script of caret calls: C create, D destroy, S show, H hide.
void RunScript(KCaret& caret, const std::string& script) {
  for (const char op : script) {
    switch (op) {
      case 'C':
        caret.Create(2, 20);
        break;
      case 'D':
        caret.Destroy();
        break;
      case 'S':
        caret.Show();
        break;
      case 'H':
        caret.Hide();
        break;
    }
  }
}

TEST(Caret, ShowsOnlyWhenShowsOutnumberHidesAsWin32) {
  struct Case {
    const char* script;
    bool visible;
  };
  // C create, S show, H hide, D destroy. A new caret starts hidden, so
  // creation plus one hide need two shows; a show on a visible caret banks
  // nothing; a show before the caret exists does nothing; a new or replaced
  // caret is hidden again.
  const Case cases[] = {
      {"C", false},    {"CS", true},  {"CHS", false}, {"CHSS", true},  {"CHHSSS", true}, {"CSSH", false},
      {"CSSHS", true}, {"SC", false}, {"CSD", false}, {"CSDC", false}, {"CSDCS", true},  {"CSC", false},
  };
  for (const Case& c : cases) {
    KCaret caret;
    RunScript(caret, c.script);
    EXPECT_EQ(caret.IsVisible(), c.visible) << c.script;
  }
}

TEST(Caret, ShowAndHideReportWhetherTheyCounted) {
  KCaret caret;
  EXPECT_FALSE(caret.Hide());
  EXPECT_FALSE(caret.Show());
  caret.Create(0, 0);
  EXPECT_EQ(caret.GetSize().cx, 1);
  EXPECT_EQ(caret.GetSize().cy, 1);
  EXPECT_TRUE(caret.Show());
  EXPECT_FALSE(caret.Show());
  EXPECT_TRUE(caret.Hide());
  EXPECT_EQ(caret.HideCount(), 1);
}

TEST(Caret, TellsTheWindowOnlyAboutChangesOnScreen) {
  KCaret caret;
  int changes = 0;
  caret.SetChangeHandler([&] { ++changes; });
  caret.Create(2, 20);
  caret.SetPos(10, 30);  // hidden: nothing to repaint
  EXPECT_EQ(changes, 0);
  caret.Show();
  EXPECT_EQ(changes, 1);
  caret.SetPos(28, 30);
  caret.SetPos(28, 30);  // same place
  EXPECT_EQ(changes, 2);
  caret.Hide();
  caret.Hide();
  EXPECT_EQ(changes, 3);
  const RECT r = caret.GetRect();
  EXPECT_EQ(r.left, 28);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right, 30);
  EXPECT_EQ(r.bottom, 50);
}

}  // namespace
