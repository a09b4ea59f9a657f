// The windows of the music commands' dialogs: every control has its widget,
// F1 opens the dialog's help page, and a text a handler changes is shown.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/KDlgAboutCurrentScore.h"
#include "dialogs/KDlgGoTo.h"
#include "dialogs/KDlgHelpWindows.h"
#include "dialogs/KDlgKeySig.h"
#include "dialogs/KDlgScrollData.h"
#include "dialogs/KDlgSetLineLength.h"
#include "dialogs/KDlgTimeSig.h"
#include "dialogs/KDlgTranspose.h"
#include "platform/FakeUiPort.h"
#include "platform/HelpPort.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

struct MusicWindowCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
  const char* helpTopic;  // null: the dialog has no help page
};

void PrintTo(const MusicWindowCase& c, std::ostream* out) { *out << c.name; }

class MusicDialogWindowTest : public ::testing::TestWithParam<MusicWindowCase> {
 protected:
  MusicDialogWindowTest() { WidgetTestApp(); }
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  FakeHelpPort help;
};

TEST_P(MusicDialogWindowTest, EveryControlHasItsWidgetAndF1OpensTheHelpPage) {
  std::unique_ptr<KModalDialog> dialog = GetParam().make();
  KQtDialogBinder binder(*dialog, nullptr);
  binder.Open();
  binder.Window().show();
  binder.Window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&binder.Window()));
  EXPECT_FALSE(binder.Window().windowTitle().isEmpty());
  for (const DialogControl& control : dialog->Controls().All())
    EXPECT_NE(binder.WidgetOf(control.id), nullptr) << control.id;
  HelpPort* previous = SetHelpPort(&help);
  QTest::keyClick(&binder.Window(), Qt::Key_F1);
  SetHelpPort(previous);
  if (GetParam().helpTopic == nullptr) {
    EXPECT_TRUE(help.Topics().empty());
  } else {
    ASSERT_EQ(help.Topics().size(), 1u);
    EXPECT_EQ(help.Topics()[0], GetParam().helpTopic);
  }
  binder.Window().hide();
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, MusicDialogWindowTest,
    ::testing::Values(
        MusicWindowCase{"KeySignature", [] { return std::make_unique<KDlgKeySig>(); }, "HIDD_KEY_SIG"},
        MusicWindowCase{"TimeSignature", [] { return std::make_unique<KDlgTimeSig>(); }, "HIDD_TIME_SIG"},
        MusicWindowCase{"Transpose", [] { return std::make_unique<KDlgTranspose>(); }, "HIDD_TRANSPOSE"},
        MusicWindowCase{"GoTo", [] { return std::make_unique<KDlgGoTo>(); }, "HIDD_GOTO"},
        MusicWindowCase{"StaffLength", [] { return std::make_unique<KDlgSetLineLength>(); },
                        "HIDD_SET_LINE_LENGTH"},
        MusicWindowCase{"Scrolling", [] { return std::make_unique<KDlgScrollData>(); },
                        "HIDD_SET_SCROLL_DATA"},
        MusicWindowCase{"AboutCurrentScore", [] { return std::make_unique<KDlgAboutCurrentScore>(); },
                        nullptr},
        MusicWindowCase{"HelpMoving", [] { return std::make_unique<KDlgHelpMoving>(); }, nullptr},
        MusicWindowCase{"StaffNoteNames", [] { return std::make_unique<KDlgHelpStaffNoteNames>(); },
                        nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MusicDialogWindow, TheKeyLabelFollowsTheNaturalsChoice) {
  WidgetTestApp();
  FakeUiPort ui;
  ScopedUiPort installed{ui};
  KDlgKeySig dialog;
  dialog.keyCode = 4;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* label = qobject_cast<QLabel*>(binder.WidgetOf(KDlgKeySig::kIdKeyLabel));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Key:");
  QTest::mouseClick(binder.WidgetOf(KDlgKeySig::kIdNaturals), Qt::LeftButton);
  EXPECT_EQ(label->text(), "Key to Cancel:");
  qobject_cast<QPushButton*>(binder.WidgetOf(KDlgKeySig::kIdFifthDown))->click();
  EXPECT_EQ(dialog.keyCode, 4 - 2);
}

}  // namespace
