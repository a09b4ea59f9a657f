// The print loop of the score view, on a recording printer: which sheets
// print, in which order, numbered how; the size alert when the widest line is
// a little wider than the sheet; and what printing leaves behind.
//
// The sheet is 768 x 948 layout pixels (8 x 10.5 inches, no margins, the
// page-number bands taken off); a staff of this score is 78 pixels high, so
// a sheet holds 12 of them.

#include <gtest/gtest.h>

#include <array>

#include "PrintFixture.h"
#include "RecordingPrintTarget.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "platform/GdiFaults.h"
#include "support/CaseName.h"

namespace {

constexpr DWORD kPageBreakFlag = 0x1000;
constexpr int kSheetWidth = 768;

class PrintLoop : public printtest::PrintFixture {
 protected:
  // Prints through File/Print on the recording printer, the pages from..to
  // (to 0: all); the pages painted.
  int Print(UINT from = 1, UINT to = 0) {
    int painted = -1;
    ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
      CPrintInfo info;
      if (!job.OnPreparePrinting(info)) return false;
      info.SetPageRange(from, to == 0 ? CPrintInfo::kOpenPage : to);
      painted = RunPrintPages(job, info, printer);
      return painted > 0;
    });
    view->OnFilePrint();
    return painted;
  }
  void NumberPages() {
    view->m_options.pageNumberText = 2;
    view->m_pageNumberingText = "Page";
    view->m_pageNumberFontText = "14,0,0,0,500,0,0,0,0,0,0,0,25,Arial";
  }
  // A staff whose music is `length` pixels wide from the content's left
  // edge: quarter notes, with the indent making up what a column does not.
  void MakeWide(int staff, int length) {
    KListLine* line = doc.GetLineAt(lines[static_cast<size_t>(staff)])->AsListLine();
    const int size = view->GetSizeIndex() != 0 ? 1 : 0;
    const int room = length - line->GetLeadInWidth(size);
    const int columns = room / g_NoteColumnWidth[size];
    for (int column = 0; column < columns; ++column)
      line->GetObjList()->AddTail(new KChord(column, 18, 8, 0));
    line->UpdateTimeSigCache();
    line->SetIndent(room - columns * g_NoteColumnWidth[size]);
  }
  // A staff drawn as long as the fixed length, its music short.
  void MakeLongStaff(int staff, int length) {
    doc.GetLineAt(lines[static_cast<size_t>(staff)])->AsListLine()->SetStaffLength(length);
  }

  RecordingPrintTarget printer;
};

// ---- Which sheets print, and their numbers ---------------------------------------------

struct SheetCase {
  const char* name;
  int staffs;
  int wideLength;  // width of the first staff's music (0: empty); a staff takes on the
                   // sheet as much as its music, whatever its staff lines run on to
  int breakAfter;  // a page-break line after this many staffs (-1: none)
  int tallStaff;   // this staff (from 0) is taller than a sheet (-1: none)
  int firstPage;   // the score's first page number (0 reads as 1)
  int xOfY;
  UINT from;
  UINT to;  // 0: to the end
  std::vector<std::string> numbers;
};

void PrintTo(const SheetCase& c, std::ostream* os) { *os << c.name; }

class Sheets : public PrintLoop, public ::testing::WithParamInterface<SheetCase> {};

TEST_P(Sheets, PrintInOrderWithTheirNumbers) {
  const SheetCase& c = GetParam();
  for (int i = 0; i < c.staffs; ++i) {
    AddStaffs(1);
    if (i + 1 == c.breakAfter) {
      auto* line = new KStrLine("", 0);
      line->ModifyFlags(kPageBreakFlag, 1);
      Add(line);
    }
  }
  if (c.wideLength > 0) MakeWide(0, c.wideLength);
  if (c.tallStaff >= 0)
    doc.GetLineAt(lines[static_cast<size_t>(c.tallStaff)])->AsListLine()->SetSpaceAbove(1200, 0);
  Layout();
  NumberPages();
  view->m_options.alertLargerThanPage = 0;
  view->m_options.firstPageNumber = static_cast<short>(c.firstPage);
  view->m_options.pageXofY = static_cast<BYTE>(c.xOfY);
  EXPECT_EQ(Print(c.from, c.to), static_cast<int>(c.numbers.size()));
  EXPECT_EQ(printer.PageNumbers("Page"), c.numbers);
}

const SheetCase kSheetCases[] = {
    {"rows that fit print one sheet each", 30, 0, -1, -1, 0, 0, 1, 0, {"Page 1", "Page 2", "Page 3"}},
    {"a row two and a half sheets wide prints in three numbered parts",
     13,
     1900,
     -1,
     -1,
     0,
     0,
     1,
     0,
     {"Page 1 - 1", "Page 1 - 2", "Page 1 - 3", "Page 2"}},
    {"a page range prints only its sheets", 30, 0, -1, -1, 0, 0, 2, 2, {"Page 2"}},
    {"a page range from the middle to the end", 30, 0, -1, -1, 0, 0, 2, 0, {"Page 2", "Page 3"}},
    {"numbering starts at the score's first page number",
     30,
     0,
     -1,
     -1,
     5,
     0,
     1,
     0,
     {"Page 5", "Page 6", "Page 7"}},
    {"page X of Y counts every sheet",
     30,
     0,
     -1,
     -1,
     0,
     1,
     1,
     0,
     {"Page 1 of 3", "Page 2 of 3", "Page 3 of 3"}},
    {"a page-break line ends its page", 4, 0, 2, -1, 0, 0, 1, 0, {"Page 1", "Page 2"}},
    {"a staff taller than a sheet prints on a sheet of its own",
     3,
     0,
     -1,
     1,
     0,
     0,
     1,
     0,
     {"Page 1", "Page 2", "Page 3"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Sheets, ::testing::ValuesIn(kSheetCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

// Staff lines that run on past the sheet with no music there make no sheet
// of their own (it would print blank), and no size alert: a fixed staff
// length longer than the sheet, or a short staff beside the widest one.
TEST_F(PrintLoop, StaffLinesPastTheSheetWithoutMusicPrintNoBlankSheet) {
  AddStaffs(3);
  MakeLongStaff(0, kSheetWidth + 300);
  MakeWide(1, kSheetWidth - 100);
  Layout();
  NumberPages();
  view->m_options.alertLargerThanPage = 1;
  EXPECT_EQ(Print(), 1);
  EXPECT_EQ(printer.PageNumbers("Page"), (std::vector<std::string>{"Page 1"}));
  EXPECT_TRUE(ui.Dialogs().empty()) << "no size alert";
}

TEST_F(PrintLoop, TheScoresOrientationIsOnThePrinterBeforeTheFirstPage) {
  AddStaffs(3);
  Layout();
  view->m_orientation = 1;
  EXPECT_EQ(Print(), 1);
  EXPECT_EQ(printer.orientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(printer.orientationChanges, 1);
  // The landscape page became the program's printer page.
  EXPECT_EQ(g_prefPrinterParams.pageWidth, 3780);
}

TEST_F(PrintLoop, APageWhoseNumberCannotBeDrawnIsLeftOutAndPrintingGoesOn) {
  AddStaffs(30);
  Layout();
  NumberPages();
  FailNextGdiCreations(GdiResource::Font, 1);
  EXPECT_EQ(Print(), 3);
  EXPECT_EQ(printer.PageNumbers("Page"), (std::vector<std::string>{"", "Page 2", "Page 3"}));
  ResetGdiFaults();
}

TEST_F(PrintLoop, ALargeSymbolScoreThatWasNotModifiedStaysUnmodified) {
  AddStaffs(3);
  Layout();
  view->SetSymbolSize(1, 1);
  const int fontHeight = view->m_textFonts[1].lfHeight;
  doc.SetModifiedFlag(FALSE);
  EXPECT_EQ(Print(), 1);
  EXPECT_EQ(view->GetSizeIndex(), 1);
  EXPECT_EQ(view->m_textFonts[1].lfHeight, fontHeight);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(g_printInfo, nullptr);
}

TEST_F(PrintLoop, CancelInThePrintDialogPutsBackWhatPrintingChanged) {
  AddStaffs(3);
  Layout();
  view->SetSymbolSize(1, 1);
  doc.SetModifiedFlag(FALSE);
  ui.AnswerPrint([](KPrintJob& job, KPrintKind) {
    CPrintInfo info;
    job.OnPreparePrinting(info);
    job.OnEndPrinting(info);  // what the print dialog's Cancel does
    return false;
  });
  view->OnFilePrint();
  EXPECT_EQ(view->GetSizeIndex(), 1);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(g_printInfo, nullptr);
}

// ---- The size alert ----------------------------------------------------------------------

struct AlertCase {
  const char* name;
  int sheetWidth;  // of the widest line, in layout pixels
  bool alert;
};

void PrintTo(const AlertCase& c, std::ostream* os) { *os << c.name; }

class WideScore : public PrintLoop {
 protected:
  // A score whose widest line takes `width` layout pixels on the sheet.
  void WidestLine(int width) {
    AddStaffs(1);
    Layout();
    const int contentLeft = view->GetContentLeft();
    MakeWide(0, width - contentLeft);
    Layout();
    ASSERT_EQ(view->LineSheetWidth(0, host.GetMeasureDC()), width);
  }
};

class SizeAlert : public WideScore, public ::testing::WithParamInterface<AlertCase> {};

TEST_P(SizeAlert, ShowsOnlyForALineBetweenOneAndThreeSheetsWide) {
  const AlertCase& c = GetParam();
  view->m_options.alertLargerThanPage = 1;
  WidestLine(c.sheetWidth);
  ui.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, static_cast<int>(KDlgPrintSizeAlert::kIdContinue));
  Print();
  EXPECT_EQ(ui.Dialogs().size(), c.alert ? 1u : 0u);
}

const AlertCase kAlertCases[] = {
    {"a line as wide as the sheet", kSheetWidth, false},
    {"a line one pixel wider", kSheetWidth + 1, true},
    {"a line one and a half sheets wide", kSheetWidth * 3 / 2, true},
    {"a line one pixel short of three sheets", kSheetWidth * 3 - 1, true},
    {"a line three sheets wide", kSheetWidth * 3, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, SizeAlert, ::testing::ValuesIn(kAlertCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

// At any print size and margins, the alert comes exactly when the widest
// line is wider than the sheets the score is cut into, and the size it
// offers puts that line on one sheet. The sheet here is 2880 printer pixels
// wide at 360 dots per inch; half-inch margins take 180 of them on each side.
struct ScaledAlertCase {
  const char* name;
  int printScale;
  std::array<int, 4> margins;  // top, bottom, left, right, in hundredths of an inch
  int sheetWidth;              // of the widest line, in layout pixels
  int answer;
  bool alert;
  int sheets;
  int finalScale;
};

void PrintTo(const ScaledAlertCase& c, std::ostream* os) { *os << c.name; }

class ScaledAlert : public WideScore, public ::testing::WithParamInterface<ScaledAlertCase> {};

TEST_P(ScaledAlert, AgreesWithTheSheets) {
  const ScaledAlertCase& c = GetParam();
  view->m_options.alertLargerThanPage = 1;
  WidestLine(c.sheetWidth);
  view->m_printScale = c.printScale;
  for (size_t k = 0; k < 4; ++k) view->m_margins[k] = c.margins[k];
  ui.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, c.answer);
  EXPECT_EQ(Print(), c.sheets);
  EXPECT_EQ(ui.Dialogs().size(), c.alert ? 1u : 0u);
  EXPECT_EQ(view->m_printScale, c.finalScale);
}

constexpr int kContinue = static_cast<int>(KDlgPrintSizeAlert::kIdContinue);
constexpr int kPortrait = static_cast<int>(KDlgPrintSizeAlert::kIdUsePortrait);
constexpr int kLandscape = static_cast<int>(KDlgPrintSizeAlert::kIdUseLandscape);

const ScaledAlertCase kScaledAlertCases[] = {
    // (2880 - 360) x 96 / 288 = 840 layout pixels across a sheet at 80 %.
    {"at 80 % a line as wide as the sheet prints on one without a word",
     80,
     {50, 50, 50, 50},
     840,
     kContinue,
     false,
     1,
     80},
    {"at 80 % a line a pixel wider than the sheet brings the alert",
     80,
     {50, 50, 50, 50},
     841,
     kContinue,
     true,
     2,
     80},
    {"at 80 % the portrait size offered prints the line on one sheet",
     80,
     {50, 50, 50, 50},
     850,
     kPortrait,
     true,
     1,
     79},
    // Turned, the inch-wide side margins run along the sheet's width: 3060
    // of the 3780 printer pixels are left, 906 layout pixels at 90 %.
    {"the landscape size offered leaves room for wide side margins",
     100,
     {0, 0, 100, 100},
     900,
     kLandscape,
     true,
     1,
     90},
};

INSTANTIATE_TEST_SUITE_P(Cases, ScaledAlert, ::testing::ValuesIn(kScaledAlertCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(SizeAlert, SaysWhatTheWidestLineNeedsAndWhatWouldFit) {
  view->m_options.alertLargerThanPage = 1;
  WidestLine(kSheetWidth * 3 / 2);
  KDlgPrintSizeAlert shown;
  ui.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, [&](KModalDialog& dialog) {
    auto& alert = dynamic_cast<KDlgPrintSizeAlert&>(dialog);
    shown.currentSize = alert.currentSize;
    shown.widestLine = alert.widestLine;
    shown.sheets = alert.sheets;
    shown.portraitSize = alert.portraitSize;
    shown.landscapeSize = alert.landscapeSize;
    return static_cast<int>(KDlgPrintSizeAlert::kIdContinue);
  });
  Print();
  EXPECT_EQ(shown.currentSize, "( 100 % )");
  EXPECT_EQ(shown.widestLine, "( line 1 )");
  EXPECT_EQ(shown.sheets, "2 sheets");
  // 768 of 1152 pixels fit across a portrait sheet; landscape sheets are 948 wide.
  EXPECT_EQ(shown.portraitSize, "66 % size");
  EXPECT_EQ(shown.landscapeSize, "82 % size");
}

TEST_F(SizeAlert, CancelPrintsNothing) {
  view->m_options.alertLargerThanPage = 1;
  WidestLine(kSheetWidth * 3 / 2);
  ui.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, IDCANCEL);
  EXPECT_EQ(Print(), 0);
  EXPECT_TRUE(printer.pages.empty());
  // The next print is not stopped by the cancelled one.
  ui.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, static_cast<int>(KDlgPrintSizeAlert::kIdContinue));
  EXPECT_EQ(Print(), 2);
}

TEST_F(SizeAlert, TheLandscapeSizeTurnsThePrinterAndIsKeptWithTheScore) {
  view->m_options.alertLargerThanPage = 1;
  WidestLine(kSheetWidth * 3 / 2);
  doc.SetModifiedFlag(FALSE);
  ui.AnswerDialog(KDlgPrintSizeAlert::kTemplateId, static_cast<int>(KDlgPrintSizeAlert::kIdUseLandscape));
  EXPECT_EQ(Print(), 1);
  EXPECT_EQ(printer.orientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(view->m_printScale, 82);
  EXPECT_EQ(doc.settings.printScale, 82);
  EXPECT_EQ(doc.settings.printOrientation, 1);
  EXPECT_TRUE(doc.IsModified());
}

}  // namespace
