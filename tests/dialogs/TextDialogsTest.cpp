// The staff line text dialog, its Internet link dialog and the Text Font...
// button shared with the bracket dialog.

#include <gtest/gtest.h>

#include <string>

#include "common/FontCodec.h"
#include "dialogs/DialogTextFont.h"
#include "dialogs/KDlgExtText.h"
#include "dialogs/KDlgInetLink.h"
#include "platform/FakeUiPort.h"
#include "platform/ShellPort.h"

namespace {

constexpr const char* kRedArial = "16,0,255,0,400,0,0,0,0,3,2,1,34,Arial";

class TextDialogTest : public ::testing::Test {
 protected:
  TextDialogTest() {
    previousShell = SetShellPort(&shell);
    dialog.fontText = kRedArial;
    dialog.text = "Verse";
    dialog.background = 1;
    dialog.link = "www.example.org";
  }
  ~TextDialogTest() override { SetShellPort(previousShell); }

  FakeUiPort ui;
  ScopedUiPort installed{ui};
  FakeShellPort shell;
  ShellPort* previousShell = nullptr;
  KDlgExtText dialog;
};

TEST_F(TextDialogTest, OkTakesTheWordsAndTheBackground) {
  ui.AnswerDialog(KDlgExtText::kTemplateId, [](KModalDialog& d) {
    EXPECT_EQ(d.Controls().Text(KDlgExtText::kIdText), "Verse");
    EXPECT_EQ(d.Controls().Checked(KDlgExtText::kIdOpaque), 1);
    d.Controls().SetText(KDlgExtText::kIdText, "Chorus");
    d.Controls().SetChecked(KDlgExtText::kIdTransparent, 1);
    return IDOK;
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_STREQ(dialog.text, "Chorus");
  EXPECT_EQ(dialog.background, 0);
}

struct LengthCase {
  const char* name;
  int length;
  bool taken;
};

void PrintTo(const LengthCase& c, std::ostream* out) { *out << c.name; }

class TextLengthTest : public TextDialogTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(TextLengthTest, TextOfUpToSixtyCharactersIsTaken) {
  const std::string typed(static_cast<size_t>(GetParam().length), 'w');
  dialog.OnInitDialog();
  dialog.Controls().SetText(KDlgExtText::kIdText, typed);
  EXPECT_EQ(dialog.OnOK(), GetParam().taken);
  EXPECT_STREQ(dialog.text, GetParam().taken ? typed.c_str() : "Verse");
  if (!GetParam().taken) {
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Please enter no more than 60 characters.");
    EXPECT_EQ(dialog.FocusRequest(), KDlgExtText::kIdText);
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, TextLengthTest,
                         ::testing::Values(LengthCase{"Empty", 0, true}, LengthCase{"Sixty", 60, true},
                                           LengthCase{"SixtyOne", 61, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextDialogTest, CancelChangesNothingThatTheButtonsOrTheUserChanged) {
  ui.AnswerFontDialog([](LOGFONT& font, COLORREF& colour) {
    font.lfWeight = 700;
    colour = RGB(0, 0, 255);
    return true;
  });
  ui.AnswerDialog(KDlgInetLink::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgInetLink::kIdLink, "www.other.org");
    return IDOK;
  });
  ui.AnswerDialog(KDlgExtText::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgExtText::kIdText, "Gone");
    d.PressButton(KDlgExtText::kIdTextFont);
    d.PressButton(KDlgExtText::kIdInternetLink);
    return IDCANCEL;
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_STREQ(dialog.text, "Verse");
  EXPECT_STREQ(dialog.fontText, kRedArial);
  EXPECT_EQ(dialog.fontPicked, 0);
  EXPECT_STREQ(dialog.link, "www.example.org");
}

TEST_F(TextDialogTest, TextFontStoresThePositiveHeightAndTheColourInTheEscapement) {
  ui.AnswerFontDialog([](LOGFONT& font, COLORREF& colour) {
    EXPECT_EQ(font.lfEscapement, 0);  // the colour is not an angle for the dialog
    EXPECT_EQ(colour, RGB(255, 0, 0));
    font.lfHeight = -20;
    font.lfItalic = 1;
    colour = RGB(0, 128, 0);
    return true;
  });
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.PressButton(KDlgExtText::kIdTextFont), 0);
  EXPECT_EQ(dialog.fontPicked, 1);
  EXPECT_STREQ(dialog.fontText, "20,0,32768,0,400,1,0,0,0,3,2,1,34,Arial");
  EXPECT_EQ(dialog.FocusRequest(), static_cast<UINT>(IDOK));
}

TEST_F(TextDialogTest, CancelledFontDialogStillCountsAsPickedAndKeepsTheFont) {
  ui.AnswerFontDialog([](LOGFONT&, COLORREF&) { return false; });
  dialog.OnInitDialog();
  dialog.PressButton(KDlgExtText::kIdTextFont);
  EXPECT_EQ(dialog.fontPicked, 1);
  EXPECT_STREQ(dialog.fontText, kRedArial);
  ASSERT_EQ(ui.FontDialogs().size(), 1u);
  EXPECT_FALSE(ui.FontDialogs()[0].chosen);
}

TEST_F(TextDialogTest, InternetLinkTakesTheLinkOnlyWhenItsDialogSaysOk) {
  for (const int answer : {IDCANCEL, IDOK}) {
    ui.AnswerDialog(KDlgInetLink::kTemplateId, [answer](KModalDialog& d) {
      EXPECT_EQ(d.Controls().Text(KDlgInetLink::kIdLink), "www.example.org");
      d.Controls().SetText(KDlgInetLink::kIdLink, "mailto:me@example.org");
      return answer;
    });
    dialog.OnInitDialog();
    dialog.PressButton(KDlgExtText::kIdInternetLink);
    EXPECT_STREQ(dialog.link, answer == IDOK ? "mailto:me@example.org" : "www.example.org");
    EXPECT_EQ(dialog.FocusRequest(), static_cast<UINT>(IDOK));
    dialog.link = "www.example.org";
  }
}

// Test Link opens the link as completed and shows it; Cancel afterwards
// gives back the link the dialog opened with.
TEST_F(TextDialogTest, TestLinkThenCancelDiscardsTheCompletedLink) {
  ui.AnswerDialog(KDlgInetLink::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgInetLink::kIdLink, "example.com/songs");
    d.PressButton(KDlgInetLink::kIdTestLink);
    EXPECT_EQ(d.Controls().Text(KDlgInetLink::kIdLink), "www.example.com/songs");
    return IDCANCEL;
  });
  KDlgInetLink link;
  link.link = "www.before.org";
  EXPECT_EQ(link.DoModal(), IDCANCEL);
  EXPECT_STREQ(link.link, "www.before.org");
  EXPECT_EQ(shell.Links(), (std::vector<std::string>{"www.example.com/songs"}));
}

TEST_F(TextDialogTest, TestLinkThenOkKeepsTheCompletedLink) {
  ui.AnswerDialog(KDlgInetLink::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgInetLink::kIdLink, "abc");
    d.PressButton(KDlgInetLink::kIdTestLink);
    return IDOK;
  });
  KDlgInetLink link;
  EXPECT_EQ(link.DoModal(), IDOK);
  EXPECT_STREQ(link.link, "www.abc");
}

struct CompletionCase {
  const char* name;
  const char* link;
  const char* completed;
};

void PrintTo(const CompletionCase& c, std::ostream* out) { *out << c.name; }

class LinkCompletionTest : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(LinkCompletionTest, TestLinkCompletesTheLink) {
  EXPECT_STREQ(KDlgInetLink::CompletedLink(GetParam().link), GetParam().completed);
}

INSTANTIATE_TEST_SUITE_P(
    Links, LinkCompletionTest,
    ::testing::Values(CompletionCase{"WebAddressUnchanged", "www.example.org", "www.example.org"},
                      CompletionCase{"FtpAddressUnchanged", "ftp.example.org", "ftp.example.org"},
                      CompletionCase{"BareNameGetsWww", "example.org", "www.example.org"},
                      CompletionCase{"FourCharactersAlwaysGetWww", "www.", "www.www."},
                      CompletionCase{"EmptyGetsWww", "", "www."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFontButton, AFontGivenWithACharacterHeightComesBackUnchangedButPositive) {
  FakeUiPort ui;
  ScopedUiPort installed(ui);
  ui.AnswerFontDialog([](LOGFONT&, COLORREF&) { return true; });
  CString text = "-13,0,65535,0,700,0,0,0,2,1,2,4,18,Times New Roman";
  EXPECT_TRUE(ChooseTextFont(text));
  EXPECT_STREQ(text, "13,0,65535,0,700,0,0,0,2,1,2,4,18,Times New Roman");
}

}  // namespace
