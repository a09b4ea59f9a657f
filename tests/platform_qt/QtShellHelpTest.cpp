#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QFile>
#include <QMainWindow>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "WidgetTestApp.h"
#include "platform/qt/KQtHelp.h"
#include "platform/qt/KQtShell.h"
#include "platform/qt/QtText.h"

namespace {

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
  Q_OBJECT

 public slots:
  void open(const QUrl& url) { urls.append(url); }

 public:
  QList<QUrl> urls;
};

TEST(QtShell, LinksOpenThroughTheDesktopAsTypedAddresses) {
  WidgetTestApp();
  UrlCatcher catcher;
  for (const char* scheme : {"http", "https", "file"}) {
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
  }
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile document(folder.filePath(QStringLiteral("notes.txt")));
  ASSERT_TRUE(document.open(QIODevice::WriteOnly));
  document.close();

  KQtShell shell;
  EXPECT_TRUE(shell.OpenLink("www.example.com/tabs"));
  EXPECT_TRUE(shell.OpenLink("  https://example.com/a b  "));
  EXPECT_TRUE(shell.OpenLink(FromQString(document.fileName())));
  EXPECT_FALSE(shell.OpenLink("   "));
  for (const char* scheme : {"http", "https", "file"})
    QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

  ASSERT_EQ(catcher.urls.size(), 3);
  EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("http://www.example.com/tabs")));
  EXPECT_EQ(catcher.urls[1].host(), QStringLiteral("example.com"));
  EXPECT_EQ(catcher.urls[2], QUrl::fromLocalFile(document.fileName()));
}

TEST(QtShell, LinksThatWouldRunSomethingAreRefused) {
  WidgetTestApp();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile program(folder.filePath(QStringLiteral("tool.sh")));
  ASSERT_TRUE(program.open(QIODevice::WriteOnly));
  program.write("#!/bin/sh\n");
  program.close();
  program.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  QFile launcher(folder.filePath(QStringLiteral("app.desktop")));
  ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
  launcher.close();

  for (const QString& target :
       {program.fileName(), launcher.fileName(), folder.filePath(QStringLiteral("gone.txt")),
        QStringLiteral("javascript:alert(1)"), QStringLiteral("steam://run/1")}) {
    EXPECT_FALSE(KQtShell::IsSafeLink(QUrl::fromUserInput(target))) << target.toStdString();
  }
  EXPECT_TRUE(KQtShell::IsSafeLink(QUrl(QStringLiteral("mailto:someone@example.com"))));
  EXPECT_TRUE(KQtShell::IsSafeLink(QUrl::fromLocalFile(folder.path())));
}

TEST(QtHelp, ShowsTheTopicPageInAWindowOfItsOwn) {
  WidgetTestApp();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  QFile page(folder.filePath(QStringLiteral("HIDD_GOTO.html")));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<html><head><title>Go To</title></head><body><p>Moving the caret to a bar.</p></body></html>");
  page.close();

  KQtHelp help(folder.path());
  help.ShowTopic("HIDD_GOTO");
  ASSERT_NE(help.Window(), nullptr);
  EXPECT_TRUE(help.Window()->isVisible());
  EXPECT_TRUE(help.Window()->isWindow());
  EXPECT_EQ(help.Window()->parentWidget(), nullptr) << "no main window to belong to";
  EXPECT_TRUE(help.Window()->toPlainText().contains(QStringLiteral("Moving the caret to a bar.")));
  EXPECT_EQ(help.Window()->windowTitle(), QStringLiteral("Go To"));

  // A missing page, or a name that is not a topic, says so in the same window.
  for (const char* topic : {"HIDD_KEY_SIG", "../HIDD_GOTO"}) {
    help.ShowTopic(topic);
    EXPECT_TRUE(help.Window()->toPlainText().contains(QStringLiteral("no help page"))) << topic;
  }
}

TEST(QtHelp, TheWindowBelongsToTheMainWindowOpensOverItAndClosesWithEscape) {
  WidgetTestApp();
  auto* main = new QMainWindow;
  main->setGeometry(100, 80, 900, 700);
  main->show();
  KQtHelp help;
  help.ShowTopic("main_index");
  QTextBrowser* window = help.Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->parentWidget(), main) << "the visible main window is its owner";
  EXPECT_TRUE(window->isWindow());
  EXPECT_LE((window->frameGeometry().center() - main->frameGeometry().center()).manhattanLength(), 2)
      << "centred on the main window";

  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(help.Window(), nullptr) << "Escape closes it";

  // Opened again, it goes with the main window.
  help.ShowTopic("main_index");
  ASSERT_NE(help.Window(), nullptr);
  delete main;
  EXPECT_EQ(help.Window(), nullptr);
}

}  // namespace

#include "QtShellHelpTest.moc"
