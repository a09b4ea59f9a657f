// Page codes left in the display-line table by the layout's pagination, on a
// page 200 layout pixels high and 800 wide where a staff takes 52: page x 10
// on the lines of a page, page x 10 + 1 on its last line, 2 kept on a line
// that forces a break. Also the margins in printer and layout pixels.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "LayoutFixture.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr UINT kMsgMargins = 7088;
constexpr UINT kMsgGroupTooBig = 7102;

struct PageCase {
  const char* name;
  const char* lines;  // S staff, X staff taller than the page, B page-break text line
  std::vector<int> codes;
  int sheets;
};

class PageFixture : public LayoutFixture {
 protected:
  void AddLines(const std::string& kinds) {
    for (char kind : kinds) {
      if (kind == 'B') {
        AddText("", 1, kPageBreak);
      } else {
        const POSITION pos = AddStaff(1);
        if (kind == 'X') ListLineAt(pos)->SetSpaceAbove(200, 0);
      }
    }
  }
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class PageCodesAfterLayout : public PageFixture, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PageCodesAfterLayout, MatchTheWalk) {
  const PageCase& c = GetParam();
  UseSmallPage();
  AddLines(c.lines);
  Layout();
  EXPECT_EQ(PageCodes(), c.codes);
  EXPECT_EQ(view_->m_pageCount, c.sheets);
}

const PageCase kPageCases[] = {
    {"three staves to a page", "SSSSSSS", {10, 10, 11, 20, 20, 21, 31}, 3},
    {"line taller than the page takes a page of its own", "SSXS", {10, 11, 21, 31}, 3},
    {"only line taller than the page", "X", {11}, 1},
    {"first line taller than the page", "XS", {11, 21}, 2},
    {"break line ends its page and keeps its code", "SBSS", {10, 2, 20, 21}, 2},
    {"break line after a full page goes with that page", "SSSB", {10, 10, 10, 2}, 1},
    {"break line opening a page ends it at once", "SBBS", {10, 2, 2, 31}, 3},
};

INSTANTIATE_TEST_SUITE_P(Cases, PageCodesAfterLayout, ::testing::ValuesIn(kPageCases),
                         [](const auto& info) { return CaseName(info.param.name); });

using Pagination = PageFixture;

TEST_F(Pagination, PageCountMirrorIgnoresATrailingBreakLine) {
  UseSmallPage();
  AddLines("SSSSB");
  Layout();
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 10, 11, 20, 2}));
  EXPECT_EQ(g_viewMirrors.pageCount, 2);
}

TEST_F(Pagination, GroupKeptTogetherMovesToTheNextPage) {
  UseSmallPage();
  view_->m_keepGroupsTogether = 1;
  AddLines("SS");
  const POSITION a = AddStaff(1);
  const POSITION b = AddStaff(1);
  Group(1, {a, b});
  Layout();
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 11, 20, 21}));
}

TEST_F(Pagination, GroupIsSplitWhenNotKeptTogether) {
  UseSmallPage();
  AddLines("SS");
  const POSITION a = AddStaff(1);
  const POSITION b = AddStaff(1);
  Group(1, {a, b});
  Layout();
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 10, 11, 21}));
}

TEST_F(Pagination, GroupTallerThanThePageWarnsOnceAndIsBrokenUp) {
  UseSmallPage();
  view_->m_keepGroupsTogether = 1;
  std::vector<POSITION> members;
  for (int i = 0; i < 4; ++i) members.push_back(AddStaff(1));
  Group(1, members);
  Layout();
  Layout();
  EXPECT_EQ(ui_.CountOf(kMsgGroupTooBig), 1);
  EXPECT_EQ(view_->m_keepGroupsTogether, 0);
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 10, 11, 21}));
}

TEST_F(Pagination, RowWiderThanTheSheetPrintsInParts) {
  UseSmallPage();
  const POSITION wide = AddStaff(1);
  // About 2000 pixels of music: parts end at 800, 1600 and 2400.
  KListLine* line = ListLineAt(wide);
  for (int column = 0; column < 2000 / g_NoteColumnWidth[0]; ++column)
    line->GetObjList()->AddTail(new KChord(column, 18, 8, 0));
  line->UpdateTimeSigCache();
  AddStaff(1);
  Layout();
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 11}));
  EXPECT_EQ(view_->m_pageCount, 3);
  EXPECT_EQ(g_viewMirrors.pageCount, 1);
}

// Staff lines that run on past the sheet with nothing written there (a fixed
// staff length) make no parts: the sheet would print blank.
TEST_F(Pagination, StaffLinesPastTheSheetWithoutMusicMakeNoParts) {
  UseSmallPage();
  const POSITION wide = AddStaff(1);
  ListLineAt(wide)->SetStaffLength(2000);
  AddStaff(1);
  Layout();
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 11}));
  EXPECT_EQ(view_->m_pageCount, 1);
}

// ---- Margins ---------------------------------------------------------------------

struct MarginCase {
  const char* name;
  int unit;  // 0 hundredths of an inch, 1 millimetres
  int margin;
  int dpi;
  int printerPixels;
};

void PrintTo(const MarginCase& c, std::ostream* os) { *os << c.name; }

class Margins : public LayoutFixture, public ::testing::WithParamInterface<MarginCase> {};

TEST_P(Margins, InPrinterPixels) {
  const MarginCase& c = GetParam();
  g_prefPrinterParams = KPrefPrinterParams{c.dpi * 30, c.dpi * 30, c.dpi, c.dpi};
  view_->m_marginUnit = c.unit;
  for (int& margin : view_->m_margins) margin = c.margin;
  view_->ComputePageMargins();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(view_->m_marginsPrinter[k], c.printerPixels) << k;
  EXPECT_EQ(view_->m_printableWidth[0], c.dpi * 30 - 2 * c.printerPixels);
  EXPECT_EQ(view_->m_printableHeight[0], c.dpi * 30 - 2 * c.printerPixels);
  EXPECT_EQ(ui_.CountOf(kMsgMargins), 0);
}

const MarginCase kMarginCases[] = {
    {"one inch in hundredths at 96 dpi", 0, 100, 96, 96},
    {"one inch in hundredths at 600 dpi", 0, 100, 600, 600},
    {"a quarter inch at 360 dpi", 0, 25, 360, 90},
    {"254 millimetres are ten inches", 1, 254, 96, 960},
    {"no margins", 1, 0, 300, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, Margins, ::testing::ValuesIn(kMarginCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST_F(Pagination, PrintableSizeInLayoutPixelsIsWhatASheetHoldsAtThePrintScale) {
  g_prefPrinterParams = KPrefPrinterParams{2400, 3000, 300, 300};
  view_->m_marginUnit = 0;
  for (int& margin : view_->m_margins) margin = 50;  // 150 printer pixels, 48 layout pixels
  view_->m_printScale = 200;
  view_->ComputePageMargins();
  EXPECT_EQ(view_->m_marginsScreen[0], 48);
  // At 200 % a layout pixel takes 6.25 printer pixels, margins included:
  // (2400 - 300) x 96 / 600 = 336; (3000 - 300) x 96 / 600 = 432, less the
  // two page-number bands of 30.
  EXPECT_EQ(view_->m_printableWidth[1], 336);
  EXPECT_EQ(view_->m_printableHeight[1], 432 - 60);
}

TEST_F(Pagination, MarginsLeavingUnderTwoInchesAreReplacedByTheDefaults) {
  g_prefPrinterParams = KPrefPrinterParams{800, 1000, 100, 100};
  view_->m_marginUnit = 0;
  for (int& margin : view_->m_margins) margin = 350;  // 8 inches less 7 leaves 1
  view_->ComputePageMargins();
  EXPECT_EQ(ui_.CountOf(kMsgMargins), 1);
  EXPECT_EQ(view_->m_margins[0], g_prefPgMargins.top);
  EXPECT_EQ(view_->m_margins[3], g_prefPgMargins.right);
  EXPECT_EQ(doc_.settings.marginLeft, g_prefPgMargins.left);
  EXPECT_TRUE(doc_.IsModified());
  EXPECT_EQ(view_->m_printableWidth[0], 800 - 2 * 25);
}

TEST_F(Pagination, PrinterValuesThatAreNoPageFallBackToTheBuiltInPage) {
  g_prefPrinterParams = KPrefPrinterParams{0, -5, 0, 0};
  view_->ComputePageMargins();
  EXPECT_EQ(view_->m_printableWidth[0], KPrefPrinterParams{}.pageWidth);
  EXPECT_EQ(view_->m_printableHeight[0], KPrefPrinterParams{}.pageHeight);
  EXPECT_EQ(ui_.CountOf(kMsgMargins), 0);
  AddLines("SS");
  Layout();
  EXPECT_EQ(PageCodes(), (std::vector<int>{10, 11}));
}

}  // namespace
