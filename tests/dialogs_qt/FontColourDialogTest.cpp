// The font dialog with a colour: a font text goes through it unchanged when
// nothing is changed, and a change alters only its own fields.

#include <gtest/gtest.h>

#include <QFontDialog>
#include <string>

#include "common/FontCodec.h"
#include "platform/qt/KQtFontColourDialog.h"
#include "platform/qt/QtFontMapper.h"
#include "dialogs_qt/DialogShot.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

LOGFONT FontOf(const char* text) {
  LOGFONT font;
  EXPECT_TRUE(StringToLogFont(text, font)) << text;
  return font;
}

std::string TextOf(const LOGFONT& font) {
  CString text;
  LogFontToString(font, text);
  return text.Str();
}

struct RoundTripCase {
  const char* name;
  const char* font;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) { *out << c.name; }

class FontRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {
 protected:
  FontRoundTripTest() { WidgetTestApp(); }
};

TEST_P(FontRoundTripTest, UnchangedChoiceGivesBackTheSameFontText) {
  const LOGFONT font = FontOf(GetParam().font);
  KQtFontColourDialog dialog(font, RGB(12, 34, 56));
  EXPECT_EQ(TextOf(dialog.ChosenFont()), GetParam().font);
  EXPECT_EQ(dialog.ChosenColour(), RGB(12, 34, 56));
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, FontRoundTripTest,
    ::testing::Values(RoundTripCase{"BoldArialCellHeight", "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial"},
                      RoundTripCase{"CharacterHeightTimes", "-13,0,0,0,400,1,0,0,0,3,2,1,18,Times New Roman"},
                      RoundTripCase{"ZeroWeightAndHeight", "0,0,0,0,0,0,0,0,0,0,0,0,0,Courier New"},
                      RoundTripCase{"ColourInEscapementAndOddFields",
                                    "20,7,255,900,400,0,1,1,2,1,2,4,49,Arial"},
                      RoundTripCase{"UnknownFace", "18,0,0,0,400,0,0,0,0,3,2,1,34,No Such Face"},
                      RoundTripCase{"EmptyFace", "12,0,0,0,400,0,0,0,0,3,2,1,18,"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChangeCase {
  const char* name;
  const char* font;
  void (*change)(QFont&);
  const char* expected;
};

void PrintTo(const ChangeCase& c, std::ostream* out) { *out << c.name; }

class FontChangeTest : public ::testing::TestWithParam<ChangeCase> {
 protected:
  FontChangeTest() { WidgetTestApp(); }
};

TEST_P(FontChangeTest, ChangeAltersOnlyItsOwnFields) {
  const ChangeCase& c = GetParam();
  const LOGFONT base = FontOf(c.font);
  KQtFontColourDialog dialog(base, 0);
  QFont chosen = dialog.FontPanel().currentFont();
  chosen.setStyleName(QString());  // a style name would override the weight and slant set below
  c.change(chosen);
  dialog.FontPanel().setCurrentFont(chosen);
  EXPECT_EQ(TextOf(dialog.ChosenFont()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FontChangeTest,
    ::testing::Values(
        ChangeCase{"BoldKeepsTheRest", "16,0,255,0,400,0,0,0,2,1,2,4,34,Arial",
                   [](QFont& f) { f.setBold(true); }, "16,0,255,0,700,0,0,0,2,1,2,4,34,Arial"},
        ChangeCase{"ItalicKeepsTheRest", "-13,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman",
                   [](QFont& f) { f.setItalic(true); }, "-13,0,0,0,700,1,0,0,0,3,2,1,18,Times New Roman"},
        ChangeCase{"SizeKeepsTheCharacterHeightConvention", "-13,5,0,0,400,0,0,0,0,3,2,1,34,Arial",
                   [](QFont& f) { f.setPointSizeF(18); }, "-24,0,0,0,400,0,0,0,0,3,2,1,34,Arial"},
        ChangeCase{"OtherLiberationFaceIsStoredByItsWindowsName", "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial",
                   [](QFont& f) { f.setFamily(QStringLiteral("Liberation Mono")); },
                   "16,0,0,0,400,0,0,0,0,3,2,1,34,Courier New"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FontColourDialog, ChosenColourIsTheColourSet) {
  WidgetTestApp();
  KQtFontColourDialog dialog(FontOf("16,0,0,0,400,0,0,0,0,3,2,1,34,Arial"), RGB(1, 2, 3));
  dialog.SetColour(RGB(200, 100, 50));
  EXPECT_EQ(dialog.ChosenColour(), RGB(200, 100, 50));
  SaveDialogShot(dialog, QStringLiteral("FontColour"));
  EXPECT_EQ(FromQColor(ToQColor(RGB(200, 100, 50))), RGB(200, 100, 50));
}

}  // namespace
