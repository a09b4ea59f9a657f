#include "platform/StringTable.h"
#include "platform/qt/KQtUiPort.h"
#include "platform/qt/QtText.h"

#include "WidgetTestApp.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace {

// Runs show(), which opens a message box, and hands the box to inspect(),
// which answers it. A box left open is closed, so a fault cannot hang the test.
int AnswerBox(const std::function<int()>& show, const std::function<void(QMessageBox&)>& inspect) {
  WidgetTestApp();
  QObject scope;  // ends the timers below with this call
  bool seen = false;
  QTimer::singleShot(0, &scope, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = true;
    inspect(*box);
    if (box->isVisible()) {
      ADD_FAILURE() << "the message box was not answered";
      box->done(0);
    }
  });
  QTimer::singleShot(5000, &scope, [] {
    if (auto* stuck = qobject_cast<QDialog*>(QApplication::activeModalWidget())) stuck->done(0);
  });
  const int answer = show();
  EXPECT_TRUE(seen) << "no message box opened";
  return answer;
}

int ShowAndAnswer(KQtUiPort& port, UINT id, UINT type, const std::function<void(QMessageBox&)>& inspect) {
  MessageBoxRequest request;
  request.id = id;
  request.text = std::string(StringTableText(id));
  request.type = type;
  return AnswerBox([&] { return port.ShowMessageBox(request); }, inspect);
}

TEST(QtUiPort, AfxMessageBoxShowsTheStringTableTextInARealMessageBox) {
  KQtUiPort port;
  ScopedUiPort installed(port);
  QString shownText;
  QString title;
  qsizetype buttons = 0;
  const int answer = AnswerBox([] { return AfxMessageBox(7089); },
                               [&](QMessageBox& box) {
                                 shownText = box.text();
                                 title = box.windowTitle();
                                 buttons = box.buttons().size();
                                 box.button(QMessageBox::Ok)->click();
                               });
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(shownText, ToQString(StringTableText(7089)));
  EXPECT_TRUE(
      shownText.startsWith(QStringLiteral("Warning!  This file was created with a more recent version\n")));
  EXPECT_EQ(title, QStringLiteral("Stavlin"));
  EXPECT_EQ(buttons, 1);
}

TEST(QtUiPort, EachButtonOfEachSetAnswersItsWindowsCode) {
  struct Case {
    UINT type;
    QMessageBox::StandardButton click;
    int expected;
  };
  const Case cases[] = {
      {MB_OKCANCEL, QMessageBox::Ok, IDOK},
      {MB_OKCANCEL, QMessageBox::Cancel, IDCANCEL},
      {MB_YESNO, QMessageBox::Yes, IDYES},
      {MB_YESNO, QMessageBox::No, IDNO},
      {MB_YESNOCANCEL, QMessageBox::Yes, IDYES},
      {MB_YESNOCANCEL, QMessageBox::No, IDNO},
      {MB_YESNOCANCEL, QMessageBox::Cancel, IDCANCEL},
      {MB_RETRYCANCEL, QMessageBox::Retry, IDRETRY},
      {MB_RETRYCANCEL, QMessageBox::Cancel, IDCANCEL},
      {MB_ABORTRETRYIGNORE, QMessageBox::Abort, IDABORT},
      {MB_ABORTRETRYIGNORE, QMessageBox::Retry, IDRETRY},
      {MB_ABORTRETRYIGNORE, QMessageBox::Ignore, IDIGNORE},
  };
  KQtUiPort port;
  for (const Case& c : cases) {
    int buttons = 0;
    const int answer = ShowAndAnswer(port, 7007, c.type, [&](QMessageBox& box) {
      buttons = static_cast<int>(box.buttons().size());
      if (QAbstractButton* b = box.button(c.click)) b->click();  // a missing button fails above
    });
    EXPECT_EQ(answer, c.expected) << "type " << c.type << " button " << c.click;
    EXPECT_EQ(buttons, static_cast<int>(MessageBoxButtons(c.type).size())) << c.type;
  }
}

TEST(QtUiPort, DefaultButtonIconAndEscapeFollowTheType) {
  KQtUiPort port;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  const int answer =
      ShowAndAnswer(port, 7094, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2, [&](QMessageBox& box) {
        defaultButton = box.standardButton(box.defaultButton());
        icon = box.icon();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&box, &escape);
      });
  EXPECT_EQ(defaultButton, QMessageBox::No);
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(answer, IDCANCEL);

  EXPECT_EQ(KQtUiPort::IconOf(MB_ICONHAND), QMessageBox::Critical);
  EXPECT_EQ(KQtUiPort::IconOf(MB_ICONEXCLAMATION | MB_RETRYCANCEL), QMessageBox::Warning);
  EXPECT_EQ(KQtUiPort::IconOf(MB_ICONASTERISK), QMessageBox::Information);
  EXPECT_EQ(KQtUiPort::IconOf(MB_OK), QMessageBox::NoIcon);
}

}  // namespace
