#include "platform/Keys.h"

#include <gtest/gtest.h>

namespace {

class KeysTest : public ::testing::Test {
 protected:
  void SetUp() override { previous = SetKeyStatePort(&keys); }
  void TearDown() override { SetKeyStatePort(previous); }

  FakeKeyState keys;
  KeyStatePort* previous = nullptr;
};

TEST_F(KeysTest, HeldKeysReadNegativeAndLockTogglesSetTheLowBit) {
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  keys.Press(VK_SHIFT);
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);

  keys.SetToggled(VK_CAPITAL, true);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
  EXPECT_GE(GetKeyState(VK_CAPITAL), 0);  // on, but not held
  keys.Press(VK_CAPITAL);
  EXPECT_LT(GetKeyState(VK_CAPITAL), 0);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1);
}

TEST_F(KeysTest, EitherSideHoldsThePlainModifier) {
  keys.Press(VK_LCONTROL);
  keys.Press(VK_RCONTROL);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  keys.Release(VK_LCONTROL);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);  // the right one is still down
  EXPECT_GE(GetKeyState(VK_LCONTROL), 0);
  keys.Release(VK_RCONTROL);
  EXPECT_GE(GetKeyState(VK_CONTROL), 0);
}

TEST(Keys, WithoutAPortNoKeyIsDown) {
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetKeyState(VK_CAPITAL), 0);
}

}  // namespace
