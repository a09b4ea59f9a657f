// A tune book imported as ABC: the tunes are wrapped and filled one after the
// other within one layout of the score, and every tune must come out as it
// does imported alone, whatever tunes stand before and after it.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "TranslateFixture.h"

namespace {

constexpr const char* kJig =
    "T:The Hunters' Jig\n"
    "M:6/8\n"
    "L:1/8\n"
    "K:D\n"
    "A|dfe dcB|A>BA F2G|dfe dcB|A>BA F2G|dfe dcB|A>BA F2G|\n"
    "d2e f2g|a3 a2|]\n";

constexpr const char* kReel =
    "T:A Reel in Three Lines\n"
    "M:4/4\n"
    "L:1/8\n"
    "K:G\n"
    "GABc dBGB|cBAG FGAF|GABc dBGB|cBAG FGAF|GABc dBGB|\n"
    "W:words between the lines\n"
    "gfed cBAG|FGAB cdef|\n"
    "g2 g2 g4|]\n";

constexpr const char* kWaltz =
    "T:Short Waltz\n"
    "M:3/4\n"
    "L:1/4\n"
    "K:F\n"
    "F A c|f3|]\n";

struct BookCase {
  const char* name;
  bool wrap;
  std::vector<const char*> tunes;  // the book's tunes, in order
};

void PrintTo(const BookCase& book, std::ostream* out) { *out << book.name; }

// The tune's title: its T: field.
std::string TitleOf(const char* tune) {
  const std::string text(tune);
  const size_t start = text.find("T:") + 2;
  return text.substr(start, text.find('\n', start) - start);
}

class TuneBookImport : public viewtest::TranslateFixture, public ::testing::WithParamInterface<BookCase> {
 protected:
  // The tunes handed to a new score as one ABC text, numbered from 1; the
  // staves of each tune, as StavesOfEachTune gives them.
  std::vector<std::vector<std::string>> Import(const std::vector<const char*>& book) {
    doc.DeleteContents();
    lines.clear();
    MakeView();
    // A new score: its title line and the text line with the caret.
    AddText("");
    AddText("");
    Layout(1);
    std::string text;
    for (size_t i = 0; i < book.size(); ++i) text += "X:" + std::to_string(i + 1) + "\n" + book[i] + "\n";
    view->ReceiveHandedOverText(CString(text.c_str()), true, false);
    return StavesOfEachTune(book);
  }

  // The staves of each tune (from its title to the next tune's) as the
  // fixture dumps them, with their staff lengths and whether they end with a
  // bar line.
  std::vector<std::vector<std::string>> StavesOfEachTune(const std::vector<const char*>& book) const {
    std::vector<std::vector<std::string>> tunes;
    for (int d = 0; d < view->GetDisplayLineCount(); ++d) {
      const KLineObj* line = Line(d);
      if (line == nullptr) continue;
      const std::string text = Text(d);
      if (tunes.size() < book.size() && !text.empty() && text.find(TitleOf(book[tunes.size()])) != std::string::npos)
        tunes.emplace_back();
      if (line->GetType() != 0 || tunes.empty()) continue;
      const KChord* end = AsChord(List(d)->GetObjList()->IsEmpty() ? nullptr : List(d)->GetObjList()->GetTail());
      const bool endsWithBar = end != nullptr && end->IsBarColumn();
      tunes.back().push_back(std::string(endsWithBar ? "bar" : "open") + " | " + std::to_string(line->GetStaffLength()) +
                             " | " + Dump(d));
    }
    return tunes;
  }
};

TEST_P(TuneBookImport, EveryTuneComesInAsItWouldAlone) {
  const BookCase& book = GetParam();
  g_prefTransAltTun.wrapAbc = book.wrap ? 1 : 0;
  g_prefStaffLines.initialStaffLength = 260;
  const std::vector<std::vector<std::string>> tunes = Import(book.tunes);
  ASSERT_EQ(tunes.size(), book.tunes.size()) << Types();
  for (size_t i = 0; i < book.tunes.size(); ++i) {
    const std::vector<std::vector<std::string>> alone = Import({book.tunes[i]});
    ASSERT_EQ(alone.size(), 1u) << Types();
    EXPECT_EQ(tunes[i], alone.front()) << "tune " << i + 1;
    // Every system but the last of a tune was filled: it ends with a bar line.
    for (size_t system = 0; system + 1 < tunes[i].size(); ++system)
      EXPECT_EQ(tunes[i][system].substr(0, 3), "bar") << "tune " << i + 1 << ", system " << system + 1;
    // The jig's long line does not fit 260 pixels: the wrap gave its bars to
    // new staves.
    if (book.wrap && book.tunes[i] == kJig) {
      EXPECT_GT(tunes[i].size(), 2u) << "tune " << i + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Books, TuneBookImport,
    ::testing::Values(BookCase{"WrappedJigReelJig", true, {kJig, kReel, kJig}},
                      BookCase{"WrappedReelsAroundAWaltz", true, {kReel, kWaltz, kReel, kJig, kReel}},
                      BookCase{"UnwrappedJigReelJig", false, {kJig, kReel, kJig, kWaltz, kJig}}),
    [](const ::testing::TestParamInfo<BookCase>& info) { return std::string(info.param.name); });

}  // namespace
