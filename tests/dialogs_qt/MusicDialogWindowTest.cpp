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
#include "platform/CDC.h"
#include "platform/FakeUiPort.h"
#include "platform/HelpPort.h"
#include "platform/SymbolLoader.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform/qt/KQtUiPort.h"
#include "dialogs_qt/PictureTestSupport.h"
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

// ---- The previews ------------------------------------------------------------------------

class MusicPreviewWindow : public ::testing::Test {
 protected:
  MusicPreviewWindow() { WidgetTestApp(); }
  PicturePort ui;
  ScopedUiPort installed{ui};
  KQtSymbolLoader symbols{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader symbolScope{symbols};
};

// The key signature's preview: a treble staff whose accidentals follow the
// key chosen, round the circle of fifths and back.
TEST_F(MusicPreviewWindow, KeyPreviewShowsMoreInkForEachAccidental) {
  KDlgKeySig dialog;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  QWidget* preview = binder.WidgetOf(KDlgKeySig::kIdPreview);
  ASSERT_NE(preview, nullptr);
  const int c = InkIn(preview);
  EXPECT_GT(c, 0) << "the staff and its clef";
  dialog.OnFifthUp();
  dialog.OnFifthUp();  // D: two sharps
  binder.Refresh();
  const int d = InkIn(preview);
  for (int i = 0; i < 5; ++i) dialog.OnFifthUp();  // C#: seven sharps
  binder.Refresh();
  const int cSharp = InkIn(preview);
  EXPECT_LT(c, d);
  EXPECT_LT(d, cSharp);
  for (int i = 0; i < 5; ++i) dialog.OnFifthDown();
  binder.Refresh();
  EXPECT_EQ(InkIn(preview), d);
  EXPECT_TRUE(ui.Messages().empty()) << "every symbol loads";
}

// The time signature's preview: the figures of the beats over the beat value.
TEST_F(MusicPreviewWindow, TimePreviewDrawsBothFigures) {
  KDlgTimeSig dialog;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  EXPECT_GT(InkIn(binder.WidgetOf(KDlgTimeSig::kIdBeatsPicture)), 0);
  EXPECT_GT(InkIn(binder.WidgetOf(KDlgTimeSig::kIdValuePicture)), 0);
  EXPECT_GT(InkIn(binder.WidgetOf(KDlgTimeSig::kIdCommonPicture)), 0);
  EXPECT_TRUE(ui.Messages().empty()) << "every symbol loads";
}

}  // namespace
