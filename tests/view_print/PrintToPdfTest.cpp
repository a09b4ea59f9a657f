// Printing a score to PDF headlessly, through File/Print with the print
// dialog's part played by the test: the pages the pagination gives, checked
// with pdfinfo, and the page numbers where the print options put them,
// checked with pdftotext's word boxes.

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <sstream>

#include "PrintFixture.h"
#include "platform/PrintJob.h"
#include "platform/qt/KQtPrinting.h"
#include "support/CaseName.h"

namespace {

using printtest::RunTool;

// One word's box on a page, in points from the page's top-left corner.
struct WordBox {
  int page;
  double xMin, yMin, xMax, yMax;
  std::string text;
};

struct PdfWords {
  double pageWidth = 0;
  double pageHeight = 0;
  std::vector<WordBox> words;
};

PdfWords ReadWords(const std::string& pdf) {
  PdfWords result;
  const std::string html = RunTool("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
  const std::regex pageTag(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
  const std::regex wordTag(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  int page = 0;
  std::istringstream lines(html);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, pageTag)) {
      ++page;
      result.pageWidth = std::stod(match[1]);
      result.pageHeight = std::stod(match[2]);
    } else if (std::regex_search(line, match, wordTag)) {
      result.words.push_back({page, std::stod(match[1]), std::stod(match[2]), std::stod(match[3]),
                              std::stod(match[4]), match[5]});
    }
  }
  return result;
}

int PdfPageCount(const std::string& pdf) {
  const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
  std::smatch match;
  const std::regex pages(R"(Pages:\s+([0-9]+))");
  return std::regex_search(info, match, pages) ? std::stoi(match[1]) : -1;
}

class PrintToPdf : public printtest::PrintFixture {
 protected:
  // Prints the view through File/Print to the PDF file; the pages painted.
  int PrintScore(const std::string& pdf) {
    int painted = -1;
    ui.AnswerPrint([&](KPrintJob& job, KPrintKind) {
      painted = qt_printing::PrintToPdf(job, QString::fromStdString(pdf));
      return painted > 0;
    });
    view->OnFilePrint();
    return painted;
  }
  void NumberPages(int vertical, int horizontal) {
    view->m_options.pageNumberText = 2;
    view->m_pageNumberingText = "Page";
    view->m_pageNumberFontText = "14,0,0,0,500,0,0,0,0,0,0,0,25,Arial";
    view->m_options.pageNumberVertical = static_cast<BYTE>(vertical);
    view->m_options.pageNumberHorizontal = static_cast<BYTE>(horizontal);
  }
};

TEST_F(PrintToPdf, AThreePageScorePrintsThreePages) {
  AddStaffs(30);
  Layout();
  ASSERT_EQ(view->m_pageCount, 3);
  const std::string pdf = Path("three.pdf");
  EXPECT_EQ(PrintScore(pdf), 3);
  EXPECT_EQ(PdfPageCount(pdf), 3);
}

// Where the page number of each page stands.
enum class Side { kLeft, kCentre, kRight };
struct NumberCase {
  const char* name;
  int vertical;             // 0 top, 1 bottom
  int horizontal;           // 0 left, 1 centre, 2 right, 3 odd pages right and even pages left
  std::vector<Side> sides;  // of pages 1, 2, 3
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class PageNumbers : public PrintToPdf, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(PageNumbers, StandWhereTheOptionsPutThem) {
  const NumberCase& c = GetParam();
  AddStaffs(30);
  Layout();
  NumberPages(c.vertical, c.horizontal);
  const std::string pdf = Path("numbered.pdf");
  ASSERT_EQ(PrintScore(pdf), 3);
  const PdfWords words = ReadWords(pdf);
  ASSERT_GT(words.pageWidth, 0);
  for (int page = 1; page <= 3; ++page) {
    // "Page" followed by the number, as one line of words.
    const WordBox* label = nullptr;
    const WordBox* number = nullptr;
    for (const WordBox& word : words.words) {
      if (word.page != page) continue;
      if (word.text == "Page") label = &word;
      if (label != nullptr && number == nullptr && word.text == std::to_string(page) &&
          std::abs(word.yMin - label->yMin) < 2) {
        number = &word;
      }
    }
    ASSERT_NE(label, nullptr) << "page " << page;
    ASSERT_NE(number, nullptr) << "page " << page;
    const double middle = (label->xMin + number->xMax) / 2;
    switch (c.sides[static_cast<size_t>(page - 1)]) {
      case Side::kLeft:
        EXPECT_LT(number->xMax, words.pageWidth / 4) << "page " << page;
        break;
      case Side::kCentre:
        EXPECT_NEAR(middle, words.pageWidth / 2, words.pageWidth / 10) << "page " << page;
        break;
      case Side::kRight:
        EXPECT_GT(label->xMin, words.pageWidth / 2) << "page " << page;
        break;
    }
    if (c.vertical == 0) {
      EXPECT_LT(label->yMax, words.pageHeight / 10) << "page " << page;
    } else {
      EXPECT_GT(label->yMin, words.pageHeight * 9 / 10) << "page " << page;
    }
  }
}

const NumberCase kNumberCases[] = {
    {"top left", 0, 0, {Side::kLeft, Side::kLeft, Side::kLeft}},
    {"bottom centre", 1, 1, {Side::kCentre, Side::kCentre, Side::kCentre}},
    {"top right", 0, 2, {Side::kRight, Side::kRight, Side::kRight}},
    {"bottom, odd pages right and even pages left", 1, 3, {Side::kRight, Side::kLeft, Side::kRight}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PageNumbers, ::testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
