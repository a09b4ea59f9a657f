// The view's text-font slots: an equal font is shared (the default font of
// slot 0 too, and a full table still finds it), a new font takes the first
// free slot, and a text line given a font counts its use and may be centred.

#include <gtest/gtest.h>

#include <string>

#include "LayoutFixture.h"
#include "common/FontCodec.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"

namespace {

constexpr const char* kDefaultFont = "20,0,0,0,400,0,0,0,0,0,0,0,0,Arial";
constexpr const char* kOtherFont = "24,0,0,0,700,0,0,0,0,0,0,0,0,Times New Roman";

class TextFontSlots : public LayoutFixture {
 protected:
  // Slots 1 and 2 are in use (see the fixture); slot 0 is the default font.
  // Fills every score slot with a font of its own height, all in use.
  void FillAllSlots() {
    for (int slot = 1; slot <= 40; ++slot) {
      view_->m_textFonts[static_cast<size_t>(slot)].lfHeight = 100 + slot;
      view_->m_fontUseCounts[static_cast<size_t>(slot)] = 1;
    }
  }
  int UseCount(int slot) const { return view_->m_fontUseCounts[static_cast<size_t>(slot)]; }
};

TEST_F(TextFontSlots, FontEqualToTheDefaultTakesNoSlot) {
  EXPECT_EQ(view_->FindOrAddLineFont(kDefaultFont, 0, 0), 0);
  EXPECT_EQ(UseCount(3), 0);
  EXPECT_EQ(view_->m_textFonts[3].lfHeight, 0);
}

TEST_F(TextFontSlots, SameFontTwiceGivesTheSameSlot) {
  const int first = view_->FindOrAddLineFont(kOtherFont, 0, 0);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(view_->FindOrAddLineFont(kOtherFont, 0, 0), 3);
  EXPECT_EQ(view_->m_baseFontHeight[3], 24);
  EXPECT_EQ(doc_.textFonts[2].lfHeight, 24);  // the document holds font number 3 too
}

TEST_F(TextFontSlots, UnderlineOrColourMakesAFontOfItsOwn) {
  EXPECT_EQ(view_->FindOrAddLineFont(kDefaultFont, 1, 0), 3);
  view_->m_fontUseCounts[3] = 1;
  EXPECT_EQ(view_->FindOrAddLineFont(kDefaultFont, 0, 0x0000FF), 4);
  EXPECT_EQ(view_->m_textFonts[4].lfEscapement, 0x0000FF);
  EXPECT_EQ(view_->m_textFonts[3].lfUnderline, 1);
}

TEST_F(TextFontSlots, FullTableGivesTheDefaultForANewFont) {
  FillAllSlots();
  EXPECT_EQ(view_->FindOrAddLineFont(kOtherFont, 0, 0), 0);
}

TEST_F(TextFontSlots, FullTableStillFindsAnEqualFont) {
  FillAllSlots();
  const LOGFONT wanted = view_->m_textFonts[17];
  EXPECT_EQ(view_->FindOrAddLineFont(wanted), 17);
}

TEST_F(TextFontSlots, FreedSlotStillHoldingAnEqualFontIsTakenUpAgain) {
  LOGFONT font;
  StringToLogFont(kOtherFont, font);
  view_->m_textFonts[9] = font;  // its lines are gone: count 0
  EXPECT_EQ(view_->FindOrAddLineFont(font), 9);
}

TEST_F(TextFontSlots, TextLinesGivenTheSameFontCountTheirUse) {
  AddText("one", 1);
  AddText("two", 1);
  Layout();
  view_->SetTextLineFont(0, kOtherFont, 0, 0, 0, 0);
  view_->SetTextLineFont(1, kOtherFont, 0, 0, 0, 0);
  EXPECT_EQ(UseCount(3), 2);
  EXPECT_EQ(doc_.fontUseCounts[2], 2);
  EXPECT_EQ(static_cast<KStrLine*>(view_->GetDisplayLineObj(1))->GetFontIndex(), 3);
  // The relayout measured the line in its new font: 4 + 24 - 3.
  EXPECT_EQ(Entry(0).bottom, 25);
}

TEST_F(TextFontSlots, DisplayLineOfAStaffIsLeftAlone) {
  AddStaff(1);
  Layout();
  view_->SetTextLineFont(0, kOtherFont, 0, 0, 0, 0);
  view_->SetTextLineFont(5, kOtherFont, 0, 0, 0, 0);
  EXPECT_EQ(UseCount(3), 0);
  EXPECT_EQ(view_->m_textFonts[3].lfHeight, 0);
}

TEST_F(TextFontSlots, CentredTitleIsPrecededByBlanks) {
  // 30 characters of 10 pixels make 300; ten blanks are 100 pixels wide:
  // (700 - 300) / 2 = 200 pixels, 20 blanks.
  const std::string title(30, 'T');
  AddText(title.c_str(), 1);
  Layout();
  view_->SetTextLineFont(0, kDefaultFont, 0, 1, 0, 0);
  auto* line = static_cast<KStrLine*>(view_->GetDisplayLineObj(0));
  EXPECT_EQ(line->GetText(), CString(std::string(20, ' ') + title));
}

TEST_F(TextFontSlots, TitleWiderThanTheLineIsNotCentred) {
  const std::string title(90, 'T');
  AddText(title.c_str(), 1);
  Layout();
  view_->SetTextLineFont(0, kDefaultFont, 0, 1, 0, 0);
  EXPECT_EQ(static_cast<KStrLine*>(view_->GetDisplayLineObj(0))->GetText(), CString(title));
}

}  // namespace
