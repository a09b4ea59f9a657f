// Dialog windows built by the binder from the models' control tables: every
// control has its widget, and what the user does in the window reaches the
// model (values, checks with their messages, change handlers, Cancel).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "dialogs/AutoSaveDialog.h"
#include "dialogs/KDlgExtText.h"
#include "dialogs/KDlgInetLink.h"
#include "dialogs/KDlgPhraseLine.h"
#include "dialogs/KDlgRemoveWhat.h"
#include "dialogs/KDlgSwitchNote.h"
#include "dialogs/KDlgTranslation.h"
#include "dialogs/KDlgTriplet.h"
#include "platform/FakeUiPort.h"
#include "platform/ShellPort.h"
#include "platform/SymbolLoader.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform/qt/KQtUiPort.h"
#include "dialogs_qt/DialogShot.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
};

void PrintTo(const WindowCase& c, std::ostream* out) { *out << c.name; }

class DialogWindowSmokeTest : public ::testing::TestWithParam<WindowCase> {
 protected:
  DialogWindowSmokeTest() { WidgetTestApp(); }
  FakeUiPort ui;
  ScopedUiPort installed{ui};
};

// Builds the window, checks that each control of the model has a widget
// showing its caption, and, when STAVLIN_DIALOG_SHOTS names a folder, saves
// a picture of the window there.
TEST_P(DialogWindowSmokeTest, EveryControlOfTheModelHasItsWidget) {
  std::unique_ptr<KModalDialog> dialog = GetParam().make();
  KQtDialogBinder binder(*dialog, nullptr);
  binder.Open();
  EXPECT_FALSE(binder.Window().windowTitle().isEmpty());
  for (const DialogControl& control : dialog->Controls().All()) {
    QWidget* widget = binder.WidgetOf(control.id);
    ASSERT_NE(widget, nullptr) << "control " << control.id;
    EXPECT_TRUE(binder.Window().isAncestorOf(widget)) << "control " << control.id;
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !control.caption.empty()) {
      EXPECT_FALSE(button->text().isEmpty()) << "control " << control.id;
    }
  }
  binder.Window().adjustSize();
  SaveDialogShot(binder.Window(), QString::fromLatin1(GetParam().name));
  binder.Press(IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogWindowSmokeTest,
    ::testing::Values(WindowCase{"StaffLineText", [] { return std::make_unique<KDlgExtText>(); }},
                      WindowCase{"Translation", [] { return std::make_unique<KDlgTranslation>(); }},
                      WindowCase{"InternetLink", [] { return std::make_unique<KDlgInetLink>(); }},
                      WindowCase{"Triplet", [] { return std::make_unique<KDlgTriplet>(); }},
                      WindowCase{"BracketStyle", [] { return std::make_unique<KDlgPhraseLine>(); }},
                      WindowCase{"Autosave", [] { return std::make_unique<KAutoSaveDialog>(); }},
                      WindowCase{"RemoveWhat", [] { return std::make_unique<KDlgRemoveWhat>(); }},
                      WindowCase{"ChangingNoteType", [] { return std::make_unique<KDlgSwitchNote>(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The next widget that Tab reaches from a widget.
QWidget* NextTabStop(QWidget* widget) {
  for (QWidget* next = widget->nextInFocusChain(); next != widget; next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) != 0) return next;
  }
  return nullptr;
}

class DialogWindowTest : public ::testing::Test {
 protected:
  DialogWindowTest() { WidgetTestApp(); }
  template <typename T>
  T* Widget(KQtDialogBinder& binder, UINT id) {
    auto* widget = qobject_cast<T*>(binder.WidgetOf(id));
    EXPECT_NE(widget, nullptr) << "control " << id;
    return widget;
  }
  FakeUiPort ui;
  ScopedUiPort installed{ui};
};

TEST_F(DialogWindowTest, TypedTextAndClickedRadioReachTheModelOnOk) {
  KDlgTriplet dialog;
  dialog.text = "3";
  dialog.direction = KDlgTriplet::kDown;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* edit = Widget<QLineEdit>(binder, KDlgTriplet::kIdText);
  auto* down = Widget<QRadioButton>(binder, KDlgTriplet::kIdDown);
  auto* up = Widget<QRadioButton>(binder, KDlgTriplet::kIdUp);
  EXPECT_EQ(edit->text(), "3");
  EXPECT_TRUE(down->isChecked());
  EXPECT_EQ(edit->maxLength(), KDlgTriplet::kMaxTextChars);
  edit->selectAll();
  QTest::keyClicks(edit, "7");
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_STREQ(dialog.text, "3");  // nothing is taken before OK
  Widget<QPushButton>(binder, IDOK)->click();
  EXPECT_EQ(binder.Window().result(), IDOK);
  EXPECT_STREQ(dialog.text, "7");
  EXPECT_EQ(dialog.direction, KDlgTriplet::kUp);
}

TEST_F(DialogWindowTest, RefusedEntryShowsTheMessageAndTheWindowStaysOpenOnTheField) {
  KAutoSaveDialog dialog;
  dialog.interval = 10;
  dialog.unit = 0;
  dialog.choice = 0;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  binder.Window().show();
  auto* interval = Widget<QLineEdit>(binder, KAutoSaveDialog::kIdInterval);
  interval->selectAll();
  QTest::keyClicks(interval, "5000");
  EXPECT_FALSE(binder.Press(IDOK));
  EXPECT_TRUE(binder.Window().isVisible());
  EXPECT_EQ(ui.MessageIds(), (std::vector<UINT>{kIdpParseIntRange}));
  EXPECT_EQ(binder.Window().focusWidget(), interval);
  EXPECT_EQ(interval->selectedText(), "5000");
  EXPECT_EQ(dialog.interval, 10);
  QTest::keyClicks(interval, "30");
  EXPECT_TRUE(binder.Press(IDOK));
  EXPECT_EQ(dialog.interval, 30);
}

TEST_F(DialogWindowTest, TypingTheCustomTextChecksItsRadioInTheWindow) {
  KDlgPhraseLine dialog;
  dialog.style = 0;
  dialog.textChoice = KDlgPhraseLine::kTextNone;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  EXPECT_TRUE(Widget<QRadioButton>(binder, KDlgPhraseLine::kIdNone)->isChecked());
  QTest::keyClicks(Widget<QLineEdit>(binder, KDlgPhraseLine::kIdCustomText), "Fine");
  EXPECT_TRUE(Widget<QRadioButton>(binder, KDlgPhraseLine::kIdCustom)->isChecked());
  EXPECT_FALSE(Widget<QRadioButton>(binder, KDlgPhraseLine::kIdNone)->isChecked());
}

TEST_F(DialogWindowTest, EachBracketStyleShowsItsPictureBesideItsChoiceAndAClickOnItChoosesIt) {
  KQtSymbolLoader loader{QString(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scoped(loader);
  KDlgPhraseLine dialog;
  dialog.style = 0;
  dialog.textChoice = KDlgPhraseLine::kTextNone;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  binder.Window().show();
  for (int s = 0; s < KDlgPhraseLine::kStyleCount; ++s) {
    SCOPED_TRACE(KDlgPhraseLine::StyleCaption(s));
    auto* radio = Widget<QRadioButton>(binder, KDlgPhraseLine::kIdFirstStyle + static_cast<UINT>(s));
    QWidget* picture = binder.WidgetOf(KDlgPhraseLine::kIdFirstStylePicture + static_cast<UINT>(s));
    ASSERT_NE(radio, nullptr);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->size(), QSize(KDlgPhraseLine::kPictureWidth, KDlgPhraseLine::kPictureHeight));
    // Beside its choice: on the radio's row, to its right.
    const QRect r(radio->mapTo(&binder.Window(), QPoint(0, 0)), radio->size());
    const QRect p(picture->mapTo(&binder.Window(), QPoint(0, 0)), picture->size());
    EXPECT_GE(p.left(), r.right());
    EXPECT_LT(std::abs(p.center().y() - r.center().y()), p.height() / 2);
    // The picture shows strokes.
    const QImage shown = picture->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) dark += qGray(shown.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 10);

    QTest::mouseClick(picture, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    EXPECT_TRUE(radio->isChecked());
  }
  ASSERT_TRUE(binder.Press(IDOK));
  EXPECT_EQ(dialog.style, KDlgPhraseLine::kStyleCount - 1);
}

TEST_F(DialogWindowTest, EscapeCancelsAndPutsBackWhatTestLinkCompleted) {
  FakeShellPort shell;
  ShellPort* previous = SetShellPort(&shell);
  KDlgInetLink dialog;
  dialog.link = "www.before.org";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* edit = Widget<QLineEdit>(binder, KDlgInetLink::kIdLink);
  edit->clear();
  QTest::keyClicks(edit, "tabs.org");
  EXPECT_FALSE(binder.Press(KDlgInetLink::kIdTestLink));
  EXPECT_EQ(edit->text(), "www.tabs.org");
  QTest::keyClick(&binder.Window(), Qt::Key_Escape);
  SetShellPort(previous);
  EXPECT_EQ(binder.Window().result(), IDCANCEL);
  EXPECT_STREQ(dialog.link, "www.before.org");
  EXPECT_EQ(shell.Links(), (std::vector<std::string>{"www.tabs.org"}));
}

TEST_F(DialogWindowTest, ChoiceButtonClosesTheWindowWithItsId) {
  KDlgRemoveWhat dialog;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  Widget<QAbstractButton>(binder, KDlgRemoveWhat::kRemoveGroup)->click();
  EXPECT_EQ(binder.Window().result(), KDlgRemoveWhat::kRemoveGroup);
}

TEST_F(DialogWindowTest, ButtonRowHoldsOkCancelAndHelpAndTabOrderFollowsReading) {
  KDlgExtText dialog;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* row = binder.Window().findChild<QDialogButtonBox*>();
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->buttonRole(Widget<QPushButton>(binder, IDOK)), QDialogButtonBox::AcceptRole);
  EXPECT_EQ(row->buttonRole(Widget<QPushButton>(binder, IDCANCEL)), QDialogButtonBox::RejectRole);
  EXPECT_EQ(row->buttonRole(Widget<QPushButton>(binder, KDlgExtText::kIdHelp)), QDialogButtonBox::HelpRole);
  EXPECT_TRUE(Widget<QPushButton>(binder, IDOK)->isDefault());
  // Text, the background radios, then the two buttons beside them.
  QWidget* text = binder.WidgetOf(KDlgExtText::kIdText);
  EXPECT_EQ(NextTabStop(text), binder.WidgetOf(KDlgExtText::kIdTransparent));
  EXPECT_EQ(NextTabStop(binder.WidgetOf(KDlgExtText::kIdOpaque)), binder.WidgetOf(KDlgExtText::kIdTextFont));
  EXPECT_EQ(NextTabStop(binder.WidgetOf(KDlgExtText::kIdInternetLink)), row->buttons().front());
  EXPECT_EQ(Widget<QPushButton>(binder, KDlgExtText::kIdTextFont)->text(), "Text &Font...");
}

TEST_F(DialogWindowTest, QtUiPortShowsTheDialogModally) {
  KQtUiPort port;
  KDlgTriplet dialog;
  dialog.text = "3";
  dialog.direction = KDlgTriplet::kUp;
  QObject scope;
  bool seen = false;
  QTimer::singleShot(0, &scope, [&] {
    auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (window == nullptr) return;
    seen = true;
    EXPECT_EQ(window->windowTitle(), "Triplet / \"Tuplet\" Properties...");
    auto* down = window->findChild<QRadioButton*>(QStringLiteral("control%1").arg(KDlgTriplet::kIdDown));
    auto* ok = window->findChild<QPushButton*>(QStringLiteral("control%1").arg(IDOK));
    if (down) down->click();
    if (ok) ok->click();
  });
  QTimer::singleShot(5000, &scope, [] {
    if (auto* stuck = qobject_cast<QDialog*>(QApplication::activeModalWidget())) stuck->reject();
  });
  EXPECT_EQ(port.RunModal(dialog), IDOK);
  EXPECT_TRUE(seen);
  EXPECT_EQ(dialog.direction, KDlgTriplet::kDown);
}

}  // namespace
