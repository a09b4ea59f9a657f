// The dialog framework: showing members in controls, the framework's checks
// with their messages and focus, taking values only when all pass, Cancel
// putting members back, and scripts through the test UI port.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/FakeUiPort.h"
#include "platform/ModalDialog.h"

namespace {

// A dialog with one control of each exchanging kind and a button whose
// handler changes a member that is not shown.
class SampleDialog : public KModalDialog {
 public:
  static constexpr UINT kTemplate = 9001;
  static constexpr UINT kName = 10, kCount = 11, kLoud = 12, kLeft = 13, kMiddle = 14, kRight = 15,
                        kPick = 16, kBump = 17, kDone = 18, kStep = 19;
  SampleDialog() : KModalDialog(kTemplate) {}

  CString name = "abc";
  int count = 4;
  int loud = 1;
  int side = 2;
  int pick = 0;
  int bumps = 0;
  int steps = 0;

 protected:
  void DeclareControls(DialogControls& c) override {
    c.SetTitle("Sample");
    c.Edit(kName, name, 5);
    c.Number(kCount, count, 1, 10);
    c.Check(kLoud, "&Loud", loud);
    c.RadioGroup(kLeft, "&Left", side);
    c.Radio(kMiddle, "&Middle");
    c.Radio(kRight, "&Right");
    c.Combo(kPick, pick, {"one", "two", "three"});
    c.Button(kBump, "&Bump", DialogButtonRole::kAction, [this] { ++bumps; });
    c.Spin(kStep, [this](int delta) { steps += delta; });
    c.Button(kDone, "&Done", DialogButtonRole::kCloses);
    c.Button(IDOK, "OK", DialogButtonRole::kOk);
    c.Button(IDCANCEL, "Cancel", DialogButtonRole::kCancel);
    c.Keep(bumps);
  }
};

class DialogFrameworkTest : public ::testing::Test {
 protected:
  DialogFrameworkTest() { dialog.OnInitDialog(); }
  DialogControls& controls() { return dialog.Controls(); }

  FakeUiPort ui;
  ScopedUiPort installed{ui};
  SampleDialog dialog;
};

TEST_F(DialogFrameworkTest, OpeningShowsEveryMemberInItsControl) {
  EXPECT_EQ(controls().Text(SampleDialog::kName), "abc");
  EXPECT_EQ(controls().Text(SampleDialog::kCount), "4");
  EXPECT_EQ(controls().Checked(SampleDialog::kLoud), 1);
  EXPECT_EQ(controls().Checked(SampleDialog::kLeft), 0);
  EXPECT_EQ(controls().Checked(SampleDialog::kRight), 1);
  EXPECT_EQ(controls().RadioValue(SampleDialog::kLeft), 2);
  EXPECT_EQ(controls().Selected(SampleDialog::kPick), 0);
}

TEST_F(DialogFrameworkTest, OkTakesWhatTheUserEntered) {
  controls().SetText(SampleDialog::kName, "wxyz");
  controls().SetText(SampleDialog::kCount, " 10 ");
  controls().SetChecked(SampleDialog::kLoud, 0);
  controls().SetChecked(SampleDialog::kMiddle, 1);
  controls().Select(SampleDialog::kPick, 2);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_STREQ(dialog.name, "wxyz");
  EXPECT_EQ(dialog.count, 10);
  EXPECT_EQ(dialog.loud, 0);
  EXPECT_EQ(dialog.side, 1);
  EXPECT_EQ(dialog.pick, 2);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(DialogFrameworkTest, CheckingARadioClearsTheOthersOfItsGroup) {
  controls().SetChecked(SampleDialog::kLeft, 1);
  EXPECT_EQ(controls().Checked(SampleDialog::kRight), 0);
  EXPECT_EQ(controls().RadioValue(SampleDialog::kLeft), 0);
}

struct RefusalCase {
  const char* name;
  UINT control;
  const char* text;
  UINT messageId;
  const char* message;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class DialogRefusalTest : public DialogFrameworkTest, public ::testing::WithParamInterface<RefusalCase> {};

// A refused entry shows the standard message, puts the focus on the control
// and changes no member, not even those whose entries were good.
TEST_P(DialogRefusalTest, RefusedEntryKeepsTheDialogOpenAndChangesNothing) {
  const RefusalCase& c = GetParam();
  controls().SetChecked(SampleDialog::kLoud, 0);
  if (c.control != SampleDialog::kName) controls().SetText(SampleDialog::kName, "new");
  controls().SetText(c.control, c.text);
  EXPECT_FALSE(dialog.OnOK());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, c.messageId);
  EXPECT_EQ(ui.Messages()[0].text, c.message);
  EXPECT_EQ(ui.Messages()[0].type, MB_ICONEXCLAMATION);
  EXPECT_EQ(dialog.FocusRequest(), c.control);
  EXPECT_STREQ(dialog.name, "abc");
  EXPECT_EQ(dialog.count, 4);
  EXPECT_EQ(dialog.loud, 1);
  // Corrected, the same dialog takes the values.
  controls().SetText(c.control, c.control == SampleDialog::kName ? "fixed" : "7");
  EXPECT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.loud, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DialogRefusalTest,
    ::testing::Values(RefusalCase{"TextLongerThanItsLimit", SampleDialog::kName, "sixsix",
                                  kIdpParseStringSize, "Please enter no more than 5 characters."},
                      RefusalCase{"NumberBelowItsRange", SampleDialog::kCount, "0", kIdpParseIntRange,
                                  "Please enter an integer between 1 and 10."},
                      RefusalCase{"NumberAboveItsRange", SampleDialog::kCount, "11", kIdpParseIntRange,
                                  "Please enter an integer between 1 and 10."},
                      RefusalCase{"NumberThatIsNotAnInteger", SampleDialog::kCount, "4x", kIdpParseInt,
                                  "Please enter an integer."},
                      RefusalCase{"EmptyNumber", SampleDialog::kCount, "", kIdpParseInt,
                                  "Please enter an integer."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogFrameworkTest, CancelPutsBackExchangedAndKeptMembers) {
  controls().SetText(SampleDialog::kName, "xy");
  ASSERT_TRUE(dialog.OnOK());  // an Apply-like exchange while open
  EXPECT_EQ(dialog.PressButton(SampleDialog::kBump), 0);
  EXPECT_EQ(dialog.bumps, 1);
  dialog.OnCancel();
  EXPECT_STREQ(dialog.name, "abc");
  EXPECT_EQ(dialog.bumps, 0);
}

TEST_F(DialogFrameworkTest, ClosingButtonEndsWithItsOwnId) {
  EXPECT_EQ(dialog.PressButton(SampleDialog::kDone), static_cast<int>(SampleDialog::kDone));
  EXPECT_EQ(dialog.PressButton(SampleDialog::kName), 0);  // not a button
}

TEST_F(DialogFrameworkTest, UserActionsOnTheWrongControlAreTheCallersFault) {
  EXPECT_THROW(controls().SetText(SampleDialog::kLoud, "1"), std::logic_error);
  EXPECT_THROW(controls().SetChecked(SampleDialog::kName, 1), std::logic_error);
  EXPECT_THROW(controls().Select(SampleDialog::kPick, 3), std::logic_error);
  EXPECT_THROW(controls().SetText(999, "x"), std::logic_error);
}

TEST_F(DialogFrameworkTest, HiddenOrDisabledControlsAreOutOfTheUsersReach) {
  controls().Show(SampleDialog::kName, false);
  controls().Enable(SampleDialog::kLoud, false);
  EXPECT_THROW(controls().SetText(SampleDialog::kName, "x"), std::logic_error);
  EXPECT_THROW(controls().SetChecked(SampleDialog::kLoud, 0), std::logic_error);
  controls().Show(SampleDialog::kName, true);
  controls().SetText(SampleDialog::kName, "x");
  EXPECT_EQ(controls().Text(SampleDialog::kName), "x");
}

TEST_F(DialogFrameworkTest, SpinArrowsStepOneAtATime) {
  controls().Step(SampleDialog::kStep, 5);
  controls().Step(SampleDialog::kStep, -3);
  controls().Step(SampleDialog::kStep, -1);
  EXPECT_EQ(dialog.steps, -1);
}

TEST_F(DialogFrameworkTest, NewEntriesKeepAChoiceTheyStillHold) {
  controls().Select(SampleDialog::kPick, 2);
  controls().SetItems(SampleDialog::kPick, {"a", "b", "c", "d"});
  EXPECT_EQ(controls().Selected(SampleDialog::kPick), 2);
  controls().SetItems(SampleDialog::kPick, {"a"});
  EXPECT_EQ(controls().Selected(SampleDialog::kPick), -1);
}

TEST(DialogControlsDeclaration, AControlIdDeclaredTwiceIsRefused) {
  DialogControls controls;
  controls.Static(1, "a");
  EXPECT_THROW(controls.Static(1, "b"), std::logic_error);
  EXPECT_THROW(controls.Radio(2, "lonely"), std::logic_error);
}

TEST(DialogLayoutDefault, WithoutALayoutTheBodyIsEveryControlButTheButtonRow) {
  SampleDialog dialog;
  std::vector<UINT> ids;
  CollectLayoutIds(dialog.Layout(), ids);
  EXPECT_EQ(ids, (std::vector<UINT>{SampleDialog::kName, SampleDialog::kCount, SampleDialog::kLoud,
                                    SampleDialog::kLeft, SampleDialog::kMiddle, SampleDialog::kRight,
                                    SampleDialog::kPick, SampleDialog::kBump, SampleDialog::kStep,
                                    SampleDialog::kDone}));
}

// Scripts through the test port: typed controls win; members a script set
// directly are taken when it typed nothing there; both pass the checks.
class DialogScriptTest : public ::testing::Test {
 protected:
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  SampleDialog dialog;
};

TEST_F(DialogScriptTest, TypedValuesAreTakenOnOk) {
  ui.AnswerDialog(SampleDialog::kTemplate, [](KModalDialog& d) {
    d.Controls().SetText(SampleDialog::kCount, "9");
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.count, 9);
}

TEST_F(DialogScriptTest, MembersSetByTheScriptAreCheckedLikeTypedOnes) {
  ui.AnswerDialog(SampleDialog::kTemplate, [](KModalDialog& d) {
    static_cast<SampleDialog&>(d).count = 99;
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(ui.Dialogs()[0].okRefused);
  EXPECT_EQ(ui.MessageIds(), (std::vector<UINT>{kIdpParseIntRange}));
  EXPECT_EQ(dialog.count, 4);
}

struct IntegerCase {
  const char* name;
  const char* text;
  std::optional<int> value;
};

void PrintTo(const IntegerCase& c, std::ostream* out) { *out << c.name; }

class DialogIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(DialogIntegerTest, ParsesAsTheFrameworkDoes) {
  EXPECT_EQ(ParseDialogInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, DialogIntegerTest,
                         ::testing::Values(IntegerCase{"Plain", "12", 12}, IntegerCase{"Blanks", " \t7 ", 7},
                                           IntegerCase{"Negative", "-3", -3}, IntegerCase{"Plus", "+5", 5},
                                           IntegerCase{"Empty", "", std::nullopt},
                                           IntegerCase{"SignAlone", "-", std::nullopt},
                                           IntegerCase{"TrailingLetters", "12a", std::nullopt},
                                           IntegerCase{"InnerBlank", "1 2", std::nullopt},
                                           IntegerCase{"TooLarge", "2147483648", std::nullopt},
                                           IntegerCase{"Smallest", "-2147483648", INT_MIN},
                                           IntegerCase{"ManyDigits", "99999999999999999999", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
