// Decimal numbers typed into a dialog's fields: what reads as a number, how a
// number is shown, and that a field that holds none refuses OK with the
// framework's message and changes nothing.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/DialogControls.h"

namespace {

struct RealCase {
  const char* text;
  std::optional<double> value;
};

class ParseReal : public ::testing::TestWithParam<RealCase> {};

TEST_P(ParseReal, ReadsTheNumberOrNothing) {
  const RealCase& c = GetParam();
  const std::optional<double> value = ParseDialogReal(c.text);
  ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
  if (value) {
    EXPECT_DOUBLE_EQ(*value, *c.value);
  }
}

const RealCase kRealCases[] = {
    {"0.5", 0.5}, {" 12.35 ", 12.35}, {"+3", 3.0}, {"-0.25", -0.25}, {"1e1", 10.0}, {".5", 0.5},
    {"", {}},     {"  ", {}},         {"1,5", {}}, {"0.5in", {}},    {"inf", {}},   {"nan", {}},
};

// Named by what the text is.
std::string TextName(const ::testing::TestParamInfo<RealCase>& info) {
  static const char* const kNames[] = {"AFraction",     "BlanksAround",   "APlusSign", "AMinusSign",
                                       "AnExponent",    "NoLeadingDigit", "Empty",     "OnlyBlanks",
                                       "ADecimalComma", "AUnitAfterIt",   "Infinity",  "NotANumber"};
  return kNames[info.index];
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseReal, ::testing::ValuesIn(kRealCases), TextName);

TEST(DialogReal, ShownWithoutTrailingZerosAndReadBackTheSame) {
  EXPECT_EQ(FormatDialogReal(0.5), "0.5");
  EXPECT_EQ(FormatDialogReal(0.01 * 33 + 0.25), "0.58");
  EXPECT_EQ(FormatDialogReal(0.25 * 25.4 + 6), "12.35");
  EXPECT_EQ(FormatDialogReal(3.0), "3");
}

TEST(DialogReal, AFieldWithoutANumberRefusesAndChangesNothing) {
  double margin = 0.5;
  DialogControls controls;
  controls.Real(7, margin);
  controls.Load();
  EXPECT_EQ(controls.Text(7), "0.5");
  controls.SetText(7, "half");
  const std::optional<DialogFailure> failure = controls.Check();
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(failure->controlId, 7u);
  EXPECT_EQ(failure->message, "Please enter a number.");
  controls.SetText(7, "0.75");
  ASSERT_FALSE(controls.Check().has_value());
  controls.Store();
  EXPECT_DOUBLE_EQ(margin, 0.75);
  controls.RememberMembers();
  margin = 2.0;
  controls.RestoreMembers();
  EXPECT_DOUBLE_EQ(margin, 0.75);
}

}  // namespace
