#include "platform/qt/QtText.h"

#include <gtest/gtest.h>

TEST(QtText, ConvertsWindows1252BytesToQtAndBack) {
  const std::string bytes = "Fl\xFCgel \x80 \x96 Bb";
  const QString text = ToQString(bytes);
  EXPECT_EQ(text, QString::fromUtf8("Fl\xC3\xBCgel \xE2\x82\xAC \xE2\x80\x93 Bb"));
  EXPECT_EQ(FromQString(text), bytes);
}
