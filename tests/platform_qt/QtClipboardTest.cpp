#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <functional>

#include "WidgetTestApp.h"
#include "platform/qt/KQtClipboard.h"

namespace {

class QtClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WidgetTestApp();
    QGuiApplication::clipboard()->clear();
  }

  KQtClipboard clip;
};

TEST_F(QtClipboardTest, PrivateFormatBytesRoundTripThroughTheDesktopClipboard) {
  const UINT format = clip.RegisterFormat("Stavlin");
  const std::vector<BYTE> words = {0xC1, 0x7F, 0x00, 0x00, 0x80, 0xFF, 0x0D, 0x0A};
  ASSERT_TRUE(clip.Open());
  ASSERT_TRUE(clip.Empty());
  ASSERT_TRUE(clip.SetData(format, words));
  ASSERT_TRUE(clip.SetData(CF_TEXT, {'T', 'A', 'B'}));
  ASSERT_TRUE(clip.Close());

  // On the desktop clipboard under its own MIME type, beside the text.
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  const QString type = QStringLiteral("application/x-qt-windows-mime;value=\"Stavlin\"");
  EXPECT_EQ(KQtClipboard::MimeTypeOf(format), type);
  EXPECT_EQ(data->data(type), QByteArray("\xC1\x7F\x00\x00\x80\xFF\x0D\x0A", 8));
  EXPECT_EQ(data->text(), QStringLiteral("TAB"));

  // Read back by a fresh port, as another window of the program would.
  KQtClipboard other;
  EXPECT_TRUE(other.IsFormatAvailable(format));
  ASSERT_TRUE(other.Open());
  EXPECT_EQ(other.GetData(format), words);
  other.Close();
}

TEST_F(QtClipboardTest, TextIsWindows1252WithCrLfInTheCoreAndUnicodeWithLfOnTheDesktop) {
  ASSERT_TRUE(clip.Open());
  clip.Empty();
  const std::string core = "Fl\xFCgel\r\n\x80 5\r\n";
  ASSERT_TRUE(clip.SetData(CF_TEXT, std::vector<BYTE>(core.begin(), core.end())));
  clip.Close();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("Fl\xC3\xBCgel\n\xE2\x82\xAC 5\n"));

  QGuiApplication::clipboard()->setText(QString::fromUtf8("e|--0--\nB|--1--"));
  ASSERT_TRUE(clip.Open());
  const auto text = clip.GetData(CF_TEXT);
  clip.Close();
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(std::string(text->begin(), text->end()), "e|--0--\r\nB|--1--");
}

TEST_F(QtClipboardTest, TextFromAnotherProgramHoldsNoPrivateFormat) {
  const UINT format = clip.RegisterFormat("Stavlin");
  QGuiApplication::clipboard()->setText(QStringLiteral("hello"));
  EXPECT_FALSE(clip.IsFormatAvailable(format));
  EXPECT_TRUE(clip.IsFormatAvailable(CF_TEXT));
  ASSERT_TRUE(clip.Open());
  EXPECT_FALSE(clip.GetData(format).has_value());
  clip.Empty();
  clip.Close();
  EXPECT_FALSE(clip.IsFormatAvailable(CF_TEXT));
}

TEST_F(QtClipboardTest, WhatItHoldsIsAskedAgainOnlyAfterTheClipboardChanged) {
  const UINT format = clip.RegisterFormat("Stavlin");
  KQtClipboard scoreWindow;  // a second port, as a second score window has
  QClipboard& desktop = *QGuiApplication::clipboard();
  struct Step {
    const char* what;
    std::function<void()> change;
    bool text, score;
  };
  const Step steps[] = {
      {"empty at start", [] {}, false, false},
      {"another program puts text", [&] { desktop.setText(QStringLiteral("hello")); }, true, false},
      {"asked again, nothing changed", [] {}, true, false},
      {"this program puts a score",
       [&] {
         clip.Open();
         clip.Empty();
         clip.SetData(format, {1, 0});
         clip.Close();
       },
       false, true},
      {"another program takes it with its own data",
       [&] {
         auto* data = new QMimeData;
         data->setData(QStringLiteral("image/png"), QByteArray("png"));
         desktop.setMimeData(data);
       },
       false, false},
      {"another program clears it", [&] { desktop.clear(); }, false, false},
  };
  for (const Step& step : steps) {
    step.change();
    for (KQtClipboard* port : {&clip, &scoreWindow}) {
      EXPECT_EQ(port->IsFormatAvailable(CF_TEXT), step.text) << step.what;
      EXPECT_EQ(port->IsFormatAvailable(format), step.score) << step.what;
    }
  }
}

}  // namespace
