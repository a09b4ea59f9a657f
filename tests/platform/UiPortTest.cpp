#include "platform/FakeUiPort.h"
#include "platform/ModalDialog.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

class UiPortTest : public ::testing::Test {
 protected:
  FakeUiPort ui;
  ScopedUiPort installed{ui};
};

TEST_F(UiPortTest, ScriptedAnswerIsReturnedAndTheMessageRecordedWithItsText) {
  ui.Answer(7094, IDYES);
  EXPECT_EQ(AfxMessageBox(7094, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2), IDYES);
  EXPECT_EQ(AfxMessageBox(7089), IDOK);

  ASSERT_EQ(ui.Messages().size(), 2u);
  const FakeUiPort::Message& warning = ui.Messages()[1];
  EXPECT_EQ(warning.id, 7089u);
  EXPECT_EQ(warning.type, MB_OK);
  EXPECT_EQ(warning.text,
            "Warning!  This file was created with a more recent version\n"
            "of Stavlin (%1) than you are using now (%2).\n"
            "It might have features this version can't handle properly, so there may be problems.\n"
            "Visit the Stavlin website for upgrade information.");
  EXPECT_EQ(ui.Messages()[0].answer, IDYES);
}

TEST_F(UiPortTest, UnscriptedMessagesTakeTheDefaultButtonAndAreStillRecorded) {
  struct Case {
    UINT type;
    int expected;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2, IDCANCEL},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},  // no third button: the first is the default
  };
  for (const Case& c : cases) EXPECT_EQ(AfxMessageBox(7007, c.type), c.expected) << std::hex << c.type;
  EXPECT_EQ(ui.CountOf(7007), static_cast<int>(std::size(cases)));
}

TEST_F(UiPortTest, QueuedAnswersComeFirstThenTheStandingAnswer) {
  // The autosave timer question: Retry twice, then Cancel for good.
  ui.AnswerNext(7043, {IDRETRY, IDRETRY});
  ui.Answer(7043, IDCANCEL);
  const UINT type = MB_RETRYCANCEL | MB_ICONEXCLAMATION;
  EXPECT_EQ(AfxMessageBox(7043, type), IDRETRY);
  EXPECT_EQ(AfxMessageBox(7043, type), IDRETRY);
  EXPECT_EQ(AfxMessageBox(7043, type), IDCANCEL);
  EXPECT_EQ(AfxMessageBox(7043, type), IDCANCEL);
}

TEST_F(UiPortTest, AnAnswerThatIsNotAButtonOfTheBoxIsATestFault) {
  ui.Answer(7089, IDYES);
  EXPECT_THROW(AfxMessageBox(7089, MB_OK), std::logic_error);
}

TEST_F(UiPortTest, FormattedMessageShownByTextIsKnownByItsId) {
  CString text;
  AfxFormatString1(text, 7008, "Glb-2");
  EXPECT_EQ(text,
            "There is a problem... possibly resources.\n"
            "You should save your work and quit Stavlin,\n"
            "and it would be best to restart your system. (Error Glb-2)");
  ui.Answer(8200, IDNO);
  AfxMessageBox(text, MB_OK, 0);
  CString question;
  AfxFormatString1(question, 8200, "50");
  EXPECT_EQ(AfxMessageBox(question, MB_YESNO), IDNO);

  EXPECT_EQ(ui.MessageIds(), (std::vector<UINT>{7008, 8200}));
  EXPECT_EQ(ui.Messages()[0].text, text.Str());
}

TEST_F(UiPortTest, TextThatMatchesNoStringIsRecordedWithIdZero) {
  AfxMessageBox("A group won't be created since there was only one line in the group.", MB_OK);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, 0u);
}

TEST(AfxFormatStrings, ReplacesNumberedPlaceholders) {
  struct Case {
    const char* format;
    const char* arg1;
    const char* arg2;
    int argCount;
    const char* expected;
  };
  const Case cases[] = {
      {"(Error %1)", "Glb-2", nullptr, 1, "(Error Glb-2)"},
      {"(Error %1)", "OC2-6-", nullptr, 1, "(Error OC2-6-)"},  // a trailing hyphen stays
      {"(%1-%2)", " 3S-", "12", 2, "( 3S--12)"},
      {"%2 before %1", "a", "b", 2, "b before a"},
      {"%1 and %1", "x", nullptr, 1, "x and x"},
      {"no %2 given", "a", nullptr, 1, "no %2 given"},
      {"null %1.", nullptr, nullptr, 1, "null ."},
      {"100% sure, %1%", "50", nullptr, 1, "100% sure, 50%"},
      {"arg %1 keeps %2 as text", "%2", "NOT", 2, "arg %2 keeps NOT as text"},
  };
  for (const Case& c : cases) {
    const LPCTSTR args[] = {c.arg1, c.arg2};
    CString out;
    AfxFormatStrings(out, c.format, args, c.argCount);
    EXPECT_EQ(out, c.expected) << c.format;
  }
}

TEST(AfxFormatStrings, FormatString2FillsBothPlacesOfTheSymbolImageMessage) {
  CString text;
  AfxFormatString2(text, 7070, " 3S-", "12");
  EXPECT_EQ(text,
            "Sorry, but there is a problem loading an image.  \n"
            "You should save your work and quit Stavlin, \n"
            "and it would be best to restart your system. ( 3S--12)");
}

TEST_F(UiPortTest, BeepsAreRecordedInOrder) {
  MessageBeep(MB_ICONASTERISK);
  MessageBeep(MB_OK);
  EXPECT_EQ(ui.Beeps(), (std::vector<UINT>{MB_ICONASTERISK, MB_OK}));
}

TEST(UiPort, WithoutAnInstalledPortBoxesTakeTheirDefaultButton) {
  FakeUiPort ui;
  { ScopedUiPort installed(ui); }
  EXPECT_NE(&CurrentUiPort(), &ui);
  testing::internal::CaptureStderr();
  EXPECT_EQ(AfxMessageBox(7094, MB_YESNOCANCEL | MB_DEFBUTTON2), IDNO);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Read Only"), std::string::npos);
  EXPECT_TRUE(ui.Messages().empty());
}

// A dialog with one value and the check its OK button makes.
class NumberDialog : public KModalDialog {
 public:
  NumberDialog() : KModalDialog(5520) {}
  BOOL OnInitDialog() override {
    initialised = true;
    value = 4;
    return TRUE;
  }
  bool OnOK() override { return value >= 1 && value <= 16; }
  void OnCancel() override { cancelled = true; }

  bool initialised = false;
  bool cancelled = false;
  int value = 0;
};

TEST_F(UiPortTest, DialogScriptFillsTheOpenDialogAndClosesIt) {
  ui.AnswerDialog(5520, [](KModalDialog& d) {
    auto& dialog = static_cast<NumberDialog&>(d);
    EXPECT_TRUE(dialog.initialised);
    dialog.value = 12;
    return IDOK;
  });
  NumberDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.value, 12);
  EXPECT_FALSE(dialog.cancelled);
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_EQ(ui.Dialogs()[0].templateId, 5520u);
  EXPECT_EQ(ui.Dialogs()[0].result, IDOK);
}

TEST_F(UiPortTest, DialogWhoseOkRefusesTheEntryEndsCancelled) {
  ui.AnswerDialog(5520, [](KModalDialog& d) {
    static_cast<NumberDialog&>(d).value = 17;
    return IDOK;
  });
  NumberDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(dialog.cancelled);
  EXPECT_TRUE(ui.Dialogs()[0].okRefused);
}

TEST_F(UiPortTest, UnscriptedDialogIsCancelledAndRecorded) {
  NumberDialog dialog;
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_TRUE(dialog.cancelled);
  ASSERT_EQ(ui.Dialogs().size(), 1u);
  EXPECT_EQ(ui.Dialogs()[0].result, IDCANCEL);
}

}  // namespace
