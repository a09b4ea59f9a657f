#include "platform/qt/KQtProgressPort.h"

#include "WidgetTestApp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QProgressDialog>
#include <QtTest/QTest>

#include "support/WaitFor.h"

namespace {

// A main window that counts the keys and clicks that reach it.
class CountingWindow : public QMainWindow {
 public:
  int keys = 0;
  int clicks = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { ++keys; }
  void mousePressEvent(QMouseEvent*) override { ++clicks; }
};

class QtProgressPortTest : public ::testing::Test {
 protected:
  // The window below needs the application before the fixture is made.
  static void SetUpTestSuite() { WidgetTestApp(); }

  void SetUp() override {
    window_.resize(400, 300);
    window_.show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  static QProgressDialog* Box() {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QProgressDialog*>(widget); box != nullptr && box->isVisible()) return box;
    return nullptr;
  }

  CountingWindow window_;
  KQtProgressPort port_;
};

// An import runs its passes one after another, each with its own box; the box
// is modeless, so the window system's hand-over between them cannot leave the
// program with no active window, and the main window has the keyboard after.
TEST_F(QtProgressPortTest, PassesOneAfterAnotherLeaveTheMainWindowActive) {
  for (const char* text : {"Translating MIDI tones to notes...", "Creating lines..."}) {
    port_.Open(CString(text));
    QProgressDialog* box = Box();
    ASSERT_NE(box, nullptr) << text;
    EXPECT_EQ(box->windowTitle(), QStringLiteral("In Progress..."));
    EXPECT_EQ(box->labelText(), QString::fromUtf8(text));
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    port_.SetPercent(150);
    EXPECT_EQ(box->value(), 100) << "the bar is held to its range";
    EXPECT_FALSE(port_.PollStop());
    port_.Close();
    EXPECT_EQ(Box(), nullptr);
  }
  EXPECT_TRUE(stavlin_test::WaitFor([&] { return QApplication::activeWindow() == &window_; }));
}

// While a pass runs, nothing typed or clicked reaches the other windows, so no
// command of the program runs in its middle; s, S and space ask it to stop.
TEST_F(QtProgressPortTest, KeysAndClicksOnOtherWindowsAreKeptFromThemDuringAPass) {
  struct Case {
    const char* what;
    Qt::Key key;
    bool stops;
  };
  const Case cases[] = {
      {"a letter", Qt::Key_X, false},
      {"s", Qt::Key_S, true},
      {"space", Qt::Key_Space, true},
  };
  for (const Case& c : cases) {
    port_.Open(CString("Working..."));
    QTest::keyClick(&window_, c.key);
    EXPECT_EQ(port_.PollStop(), c.stops) << c.what;
    port_.Close();
    EXPECT_EQ(window_.keys, 0) << c.what;
  }
  port_.Open(CString("Working..."));
  QTest::mouseClick(&window_, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(port_.PollStop()) << "a click on another window does not stop the pass";
  port_.Close();
  EXPECT_EQ(window_.clicks, 0);
  // Once the pass is over the window answers again.
  QTest::keyClick(&window_, Qt::Key_X);
  EXPECT_EQ(window_.keys, 1);
}

}  // namespace
