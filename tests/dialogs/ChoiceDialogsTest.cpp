// The triplet, bracket style, autosave and the two choice dialogs: their
// exchange, checks and buttons, and every Help button's page.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "dialogs/AutoSaveDialog.h"
#include "dialogs/KDlgExtText.h"
#include "dialogs/KDlgInetLink.h"
#include "dialogs/KDlgPhraseLine.h"
#include "dialogs/KDlgRemoveWhat.h"
#include "dialogs/KDlgSwitchNote.h"
#include "dialogs/KDlgTriplet.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"
#include "platform/HelpPort.h"

namespace {

class ChoiceDialogTest : public ::testing::Test {
 protected:
  FakeUiPort ui;
  ScopedUiPort installed{ui};
};

TEST_F(ChoiceDialogTest, TripletOpenedDownShowsDownAndChoosingUpGivesOne) {
  KDlgTriplet dialog;
  dialog.text = "3";
  dialog.direction = KDlgTriplet::kDown;
  ui.AnswerDialog(KDlgTriplet::kTemplateId, [](KModalDialog& d) {
    EXPECT_EQ(d.Controls().Checked(KDlgTriplet::kIdDown), 1);
    EXPECT_EQ(d.Controls().Checked(KDlgTriplet::kIdUp), 0);
    d.Controls().SetChecked(KDlgTriplet::kIdUp, 1);
    d.Controls().SetText(KDlgTriplet::kIdText, "5");
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.direction, KDlgTriplet::kUp);
  EXPECT_STREQ(dialog.text, "5");
}

// The length limits of the three dialogs with a text: the limit is taken, one
// more is refused with the standard message and the dialog stays open.
struct LimitCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
  UINT edit;
  int limit;
};

void PrintTo(const LimitCase& c, std::ostream* out) { *out << c.name; }

class TextLimitTest : public ChoiceDialogTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(TextLimitTest, OneCharacterPastTheLimitIsRefused) {
  const LimitCase& c = GetParam();
  std::unique_ptr<KModalDialog> dialog = c.make();
  dialog->OnInitDialog();
  dialog->Controls().SetText(c.edit, std::string(static_cast<size_t>(c.limit + 1), '8'));
  EXPECT_FALSE(dialog->OnOK());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, kIdpParseStringSize);
  EXPECT_EQ(ui.Messages()[0].text, "Please enter no more than " + std::to_string(c.limit) + " characters.");
  EXPECT_EQ(dialog->FocusRequest(), c.edit);
  dialog->Controls().SetText(c.edit, std::string(static_cast<size_t>(c.limit), '8'));
  EXPECT_TRUE(dialog->OnOK());
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, TextLimitTest,
    ::testing::Values(
        LimitCase{"StaffLineText", [] { return std::make_unique<KDlgExtText>(); }, KDlgExtText::kIdText, 60},
        LimitCase{"TripletText", [] { return std::make_unique<KDlgTriplet>(); }, KDlgTriplet::kIdText, 15},
        LimitCase{"BracketCustomText", [] { return std::make_unique<KDlgPhraseLine>(); },
                  KDlgPhraseLine::kIdCustomText, 50}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChoiceDialogTest, TypingACustomTextWhileNoneIsChosenChoosesCustom) {
  KDlgPhraseLine dialog;
  dialog.style = 3;
  dialog.textChoice = KDlgPhraseLine::kTextNone;
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Controls().Checked(KDlgPhraseLine::kIdNone), 1);
  dialog.Controls().SetText(KDlgPhraseLine::kIdCustomText, "D.C.");
  EXPECT_EQ(dialog.Controls().Checked(KDlgPhraseLine::kIdCustom), 1);
  EXPECT_EQ(dialog.Controls().Checked(KDlgPhraseLine::kIdNone), 0);
  dialog.Controls().SetChecked(KDlgPhraseLine::kIdFirstStyle + 15, 1);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.textChoice, KDlgPhraseLine::kTextCustom);
  EXPECT_EQ(dialog.style, 15);
  EXPECT_STREQ(dialog.customText, "D.C.");
}

TEST_F(ChoiceDialogTest, BracketStylesAreTheEighteenRadiosInOrder) {
  KDlgPhraseLine dialog;
  const auto radios = dialog.Controls().RadiosOf(KDlgPhraseLine::kIdFirstStyle);
  ASSERT_EQ(radios.size(), 18u);
  EXPECT_EQ(radios.back()->id, 1812u);
  EXPECT_EQ(radios.back()->caption, "Rig&ht Vertical Bracket");
  EXPECT_STREQ(KDlgPhraseLine::StyleCaption(18), "");
}

// Each style's picture beside its choice: the first sixteen in a row of
// resources, the two vertical brackets apart.
struct BracketPictureCase {
  const char* name;
  int style;
  int pictureId;
};
void PrintTo(const BracketPictureCase& c, std::ostream* out) { *out << c.name; }

class BracketPicture : public ChoiceDialogTest, public ::testing::WithParamInterface<BracketPictureCase> {};

TEST_P(BracketPicture, StandsBesideItsStyleAndAClickOnItChoosesTheStyle) {
  const BracketPictureCase& c = GetParam();
  FakeSymbolLoader loader;
  loader.SetSize(c.pictureId, KDlgPhraseLine::kPictureWidth, KDlgPhraseLine::kPictureHeight);
  ScopedSymbolLoader scoped(loader);
  KDlgPhraseLine dialog;
  dialog.style = 0;
  dialog.textChoice = KDlgPhraseLine::kTextNone;
  dialog.OnInitDialog();
  EXPECT_EQ(KDlgPhraseLine::StylePictureId(c.style), c.pictureId);
  EXPECT_EQ(loader.LoadCount(c.pictureId), 1);
  const UINT pictureId = KDlgPhraseLine::kIdFirstStylePicture + static_cast<UINT>(c.style);
  const DialogControl* picture = dialog.Controls().Find(pictureId);
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(picture->picture, nullptr);
  EXPECT_EQ(picture->picture->GetSize().cx, KDlgPhraseLine::kPictureWidth);
  EXPECT_EQ(picture->picture->GetSize().cy, KDlgPhraseLine::kPictureHeight);

  dialog.Controls().Click(pictureId, DialogMouse{5, 5, 2});  // the right button chooses nothing
  EXPECT_EQ(dialog.Controls().Checked(KDlgPhraseLine::kIdFirstStyle), 1);
  dialog.Controls().Click(pictureId, DialogMouse{5, 5, 1});
  EXPECT_EQ(dialog.Controls().Checked(KDlgPhraseLine::kIdFirstStyle + static_cast<UINT>(c.style)), 1);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.style, c.style);
}

INSTANTIATE_TEST_SUITE_P(BracketStyles, BracketPicture,
                         ::testing::Values(BracketPictureCase{"FullBracket", 0, 5334},
                                           BracketPictureCase{"DashedRightEnd", 9, 5343},
                                           BracketPictureCase{"Box", 15, 5349},
                                           BracketPictureCase{"LeftVerticalBracket", 16, 5130},
                                           BracketPictureCase{"RightVerticalBracket", 17, 5131}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChoiceDialogTest, ABracketPictureThatCannotBeLoadedLeavesItsStyleChoosable) {
  FakeSymbolLoader loader;
  loader.Fail(5130);
  ScopedSymbolLoader scoped(loader);
  KDlgPhraseLine dialog;
  dialog.style = 0;
  dialog.textChoice = KDlgPhraseLine::kTextNone;
  dialog.OnInitDialog();
  EXPECT_TRUE(ui.Messages().empty()) << "a missing picture is no reason to trouble the user";
  dialog.Controls().SetChecked(KDlgPhraseLine::kIdFirstStyle + 16, 1);
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.style, 16);
}

TEST_F(ChoiceDialogTest, BracketFontButtonLeavesTheFocusAlone) {
  ui.AnswerFontDialog([](LOGFONT& font, COLORREF&) {
    font.lfUnderline = 1;
    return true;
  });
  KDlgPhraseLine dialog;
  dialog.fontText = "14,0,0,0,400,0,0,0,0,3,2,1,34,Arial";
  dialog.OnInitDialog();
  dialog.PressButton(KDlgPhraseLine::kIdFont);
  EXPECT_EQ(dialog.fontPicked, 1);
  EXPECT_STREQ(dialog.fontText, "14,0,0,0,400,0,1,0,0,3,2,1,34,Arial");
  EXPECT_EQ(dialog.FocusRequest(), 0u);
}

struct IntervalCase {
  const char* name;
  const char* typed;
  bool taken;
  UINT message;
};

void PrintTo(const IntervalCase& c, std::ostream* out) { *out << c.name; }

class AutosaveIntervalTest : public ChoiceDialogTest, public ::testing::WithParamInterface<IntervalCase> {};

TEST_P(AutosaveIntervalTest, CharacterIntervalMustBeAnIntegerFromOneTo255) {
  const IntervalCase& c = GetParam();
  KAutoSaveDialog dialog;
  dialog.interval = 10;
  dialog.unit = 0;
  dialog.choice = 0;
  ui.AnswerDialog(KAutoSaveDialog::kTemplateId, [&c](KModalDialog& d) {
    d.Controls().SetText(KAutoSaveDialog::kIdInterval, c.typed);
    d.Controls().SetChecked(KAutoSaveDialog::kIdCharacters, 1);
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), c.taken ? IDOK : IDCANCEL);
  EXPECT_EQ(dialog.unit, c.taken ? 1 : 0);
  if (c.taken) {
    EXPECT_EQ(dialog.interval, std::stoi(c.typed));
    EXPECT_TRUE(ui.Messages().empty());
  } else {
    EXPECT_EQ(dialog.interval, 10);
    EXPECT_EQ(ui.MessageIds(), (std::vector<UINT>{c.message}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, AutosaveIntervalTest,
    ::testing::Values(IntervalCase{"Zero", "0", false, kIdpParseIntRange}, IntervalCase{"One", "1", true, 0},
                      IntervalCase{"TwoHundredFiftyFive", "255", true, 0},
                      IntervalCase{"TwoHundredFiftySix", "256", false, kIdpParseIntRange},
                      IntervalCase{"Words", "ten", false, kIdpParseInt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChoiceDialogTest, AutosaveRangeMessageNamesTheRange) {
  KAutoSaveDialog dialog;
  dialog.OnInitDialog();
  dialog.Controls().SetText(KAutoSaveDialog::kIdInterval, "0");
  EXPECT_FALSE(dialog.OnOK());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "Please enter an integer between 1 and 255.");
  EXPECT_EQ(dialog.FocusRequest(), KAutoSaveDialog::kIdInterval);
}

struct CloseCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
  UINT button;
};

void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

class ClosingChoiceTest : public ::testing::TestWithParam<CloseCase> {};

TEST_P(ClosingChoiceTest, ChoiceButtonClosesWithItsId) {
  std::unique_ptr<KModalDialog> dialog = GetParam().make();
  dialog->OnInitDialog();
  EXPECT_EQ(dialog->PressButton(GetParam().button), static_cast<int>(GetParam().button));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ClosingChoiceTest,
    ::testing::Values(CloseCase{"RemoveLine", [] { return std::make_unique<KDlgRemoveWhat>(); },
                                KDlgRemoveWhat::kRemoveLine},
                      CloseCase{"RemoveGroup", [] { return std::make_unique<KDlgRemoveWhat>(); },
                                KDlgRemoveWhat::kRemoveGroup},
                      CloseCase{"SameOrientation", [] { return std::make_unique<KDlgSwitchNote>(); },
                                KDlgSwitchNote::kSameOrientation},
                      CloseCase{"ChangeBoth", [] { return std::make_unique<KDlgSwitchNote>(); },
                                KDlgSwitchNote::kChangeBoth},
                      CloseCase{"KeepOrientation", [] { return std::make_unique<KDlgSwitchNote>(); },
                                KDlgSwitchNote::kKeepOrientation}),
    [](const auto& info) { return std::string(info.param.name); });

// Every Help button opens its page and leaves the dialog open.
struct HelpCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
  UINT button;
  const char* topic;
};

void PrintTo(const HelpCase& c, std::ostream* out) { *out << c.name; }

class HelpButtonTest : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpButtonTest, HelpOpensTheTopicAndTheDialogStaysOpen) {
  FakeHelpPort help;
  HelpPort* previous = SetHelpPort(&help);
  std::unique_ptr<KModalDialog> dialog = GetParam().make();
  dialog->OnInitDialog();
  const DialogControl* button = dialog->Controls().Find(GetParam().button);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->role, DialogButtonRole::kHelp);
  EXPECT_EQ(dialog->PressButton(GetParam().button), 0);
  SetHelpPort(previous);
  EXPECT_EQ(help.Topics(), (std::vector<std::string>{GetParam().topic}));
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, HelpButtonTest,
    ::testing::Values(
        HelpCase{"StaffLineText", [] { return std::make_unique<KDlgExtText>(); }, 1481, "HIDD_EXT_TEXT"},
        HelpCase{"InternetLink", [] { return std::make_unique<KDlgInetLink>(); }, 32084,
                 "HIDD_INTERNET_LINK"},
        HelpCase{"Triplet", [] { return std::make_unique<KDlgTriplet>(); }, 1491, "HIDD_TRIPLET"},
        HelpCase{"BracketStyle", [] { return std::make_unique<KDlgPhraseLine>(); }, 1838, "HIDD_PHRASE_LINE"},
        HelpCase{"Autosave", [] { return std::make_unique<KAutoSaveDialog>(); }, 1517, "HIDD_AUTO_SAVE"},
        HelpCase{"RemoveWhat", [] { return std::make_unique<KDlgRemoveWhat>(); }, 1476, "HIDD_REMOVE"},
        HelpCase{"ChangingNoteType", [] { return std::make_unique<KDlgSwitchNote>(); }, 1769,
                 "HIDD_NOTESWITCH"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
