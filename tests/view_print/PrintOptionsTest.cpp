// File/Print Options: the score's page layout and page numbering from the
// dialog, kept with the score; margins that survive OK unchanged and a switch
// of units; and the defaults of new scores when asked.

#include <gtest/gtest.h>

#include "PrintFixture.h"
#include "dialogs/KDlgPrintOptions.h"
#include "doc/PreferenceTestSupport.h"
#include "support/CaseName.h"

namespace {

class PrintOptions : public printtest::PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    AddStaffs(2);
    Layout();
  }
  // Opens Print Options; the script plays the user and says OK.
  void Run(std::function<void(KDlgPrintOptions&)> user) {
    ui.AnswerDialog(KDlgPrintOptions::kTemplateId, [user](KModalDialog& dialog) {
      user(dynamic_cast<KDlgPrintOptions&>(dialog));
      return IDOK;
    });
    view->OnFilePrintOptions();
  }
  void SetMargins(int value, int units) {
    view->m_marginUnit = units;
    for (int& margin : view->m_margins) margin = value;
  }
};

TEST_F(PrintOptions, OkWithoutChangesKeepsEveryMargin) {
  for (const int units : {0, 1}) {
    for (int margin = 0; margin <= (units == 0 ? 300 : 75); ++margin) {
      SetMargins(margin, units);
      Run([](KDlgPrintOptions&) {});
      EXPECT_EQ(view->m_margins[0], margin) << margin << (units == 0 ? " hundredths" : " mm");
      EXPECT_EQ(view->m_margins[3], margin);
      EXPECT_EQ(view->m_marginUnit, units);
    }
  }
}

struct UnitCase {
  const char* name;
  int units;   // before
  int margin;  // stored, in the units before
  int newUnits;
  int stored;  // afterwards
};

void PrintTo(const UnitCase& c, std::ostream* os) { *os << c.name; }

class UnitSwitch : public PrintOptions, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(UnitSwitch, KeepsTheMarginsLength) {
  const UnitCase& c = GetParam();
  SetMargins(c.margin, c.units);
  Run([&](KDlgPrintOptions& dialog) {
    dialog.Controls().SetChecked(
        c.newUnits == 0 ? KDlgPrintOptions::kIdInches : KDlgPrintOptions::kIdMillimetres, 1);
  });
  EXPECT_EQ(view->m_marginUnit, c.newUnits);
  EXPECT_EQ(view->m_margins[0], c.stored);
  EXPECT_EQ(doc.settings.marginTop, c.stored);
  EXPECT_EQ(doc.settings.marginUnit, c.newUnits);
}

const UnitCase kUnitCases[] = {
    {"a quarter inch is six millimetres", 0, 25, 1, 6},
    {"an inch is 25 millimetres", 0, 100, 1, 25},
    {"no margin stays none", 0, 0, 1, 0},
    {"ten millimetres are 39 hundredths of an inch", 1, 10, 0, 39},
    {"choosing the unit already chosen changes nothing", 0, 33, 0, 33},
};

INSTANTIATE_TEST_SUITE_P(Cases, UnitSwitch, ::testing::ValuesIn(kUnitCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(PrintOptions, ASizeOutsideTwentyToFourHundredChangesNothing) {
  view->m_printScale = 100;
  doc.SetModifiedFlag(FALSE);
  Run([](KDlgPrintOptions& dialog) {
    dialog.Controls().SetText(KDlgPrintOptions::kIdSize, "10");
    dialog.Controls().SetChecked(KDlgPrintOptions::kIdLandscape, 1);
  });
  EXPECT_EQ(ui.Messages().back().text,
            "Print scale must be between 20 and 400%.\nRe-do Print Options with a valid scale setting.");
  EXPECT_EQ(view->m_printScale, 100);
  EXPECT_EQ(view->m_orientation, 0);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(PrintOptions, TheChoicesAreKeptWithTheScore) {
  doc.SetModifiedFlag(FALSE);
  const KPrefPrinterParams printer = g_prefPrinterParams;
  Run([](KDlgPrintOptions& dialog) {
    DialogControls& c = dialog.Controls();
    c.SetText(KDlgPrintOptions::kIdSize, "80");
    c.SetChecked(KDlgPrintOptions::kIdLandscape, 1);
    c.SetText(KDlgPrintOptions::kIdNumberText, "Study");
    c.SetChecked(KDlgPrintOptions::kIdNumberAtBottom, 1);
    c.SetChecked(KDlgPrintOptions::kIdAlternate, 1);
    c.SetText(KDlgPrintOptions::kIdFirstPage, "3");
    c.SetChecked(KDlgPrintOptions::kIdXofY, 1);
  });
  EXPECT_TRUE(doc.IsModified());
  const ScoreSettings& s = doc.settings;
  EXPECT_EQ(s.printScale, 80);
  EXPECT_EQ(s.printOrientation, 1);
  EXPECT_EQ(s.pageNumberText, 2);  // typing the text chose it
  EXPECT_EQ(s.pageNumberingText, "Study");
  EXPECT_EQ(s.pageNumberVertical, 1);
  EXPECT_EQ(s.pageNumberHorizontal, 3);
  EXPECT_EQ(s.firstPageNumber, 3);
  EXPECT_EQ(s.pageXofY, 1);
  // The printer page turned with the orientation.
  EXPECT_EQ(g_prefPrinterParams.pageWidth, printer.pageHeight);
  // New scores keep their defaults.
  EXPECT_EQ(g_prefPgOptions.printSize, 100);
}

TEST_F(PrintOptions, AStartingPageOfZeroShowsAsOne) {
  view->m_options.firstPageNumber = 0;
  int shown = -1;
  Run([&](KDlgPrintOptions& dialog) { shown = dialog.firstPage; });
  EXPECT_EQ(shown, 1);
}

class PrintOptionsDefaults : public PrintOptions {
 protected:
  void SetUp() override {
    PrintOptions::SetUp();
    store_ = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
  }
  void TearDown() override {
    store_.reset();
    PrintOptions::TearDown();
  }
  std::unique_ptr<KSettingsStoreScope> store_;
};

TEST_F(PrintOptionsDefaults, MadeTheDefaultTheyAreWrittenForNewScores) {
  SetMargins(40, 0);
  Run([](KDlgPrintOptions& dialog) {
    DialogControls& c = dialog.Controls();
    c.SetText(KDlgPrintOptions::kIdSize, "20");
    c.SetChecked(KDlgPrintOptions::kIdKeepTogether, 1);
    c.SetChecked(KDlgPrintOptions::kIdMakeDefault, 1);
  });
  // The score takes 20 %, new scores 25 %.
  EXPECT_EQ(view->m_printScale, 20);
  EXPECT_EQ(g_prefPgOptions.printSize, 25);
  EXPECT_EQ(g_prefPgMargins.top, 40);
  std::string text;
  ASSERT_EQ(RegQueryValueString(HKEY_CURRENT_USER, "Software\\Stavlin\\PgMargins", text), ERROR_SUCCESS);
  EXPECT_EQ(text, "40,40,40,40,0,9,9,9,9");
  ASSERT_EQ(RegQueryValueString(HKEY_CURRENT_USER, "Software\\Stavlin\\PgOptions", text), ERROR_SUCCESS);
  EXPECT_EQ(text, "25,0,1,1,5,9,9");
}

}  // namespace
