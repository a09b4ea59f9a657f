// The ABC writer of a whole score and the reader of ABC text lines, called
// without a window: text lines read into score lines, and score lines written
// as ABC tunes, as the To/From ABC Notation commands and the ABC export use
// them.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AbcReaderTestSupport.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "translate/AbcScoreWriter.h"
#include "translate/AbcTextToLines.h"

namespace {

// The text split at "\n" into text lines.
std::vector<CString> Rows(const std::string& text) {
  std::vector<CString> rows;
  std::string row;
  for (char c : text + "\n") {
    if (c == '\n') {
      rows.emplace_back(std::string_view(row));
      row.clear();
    } else {
      row += c;
    }
  }
  return rows;
}

std::vector<std::optional<CString>> Texts(const std::vector<CString>& rows) {
  return std::vector<std::optional<CString>>(rows.begin(), rows.end());
}

// The lines read, the empty entries left out.
std::vector<std::unique_ptr<KLineObj>> Lines(AbcTextRead& read) {
  std::vector<std::unique_ptr<KLineObj>> lines;
  for (AbcLineRead& entry : read.lines) {
    if (entry.line != nullptr) lines.push_back(std::move(entry.line));
  }
  if (read.continued != nullptr) lines.push_back(std::move(read.continued));
  return lines;
}

std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class AbcScoreWriter : public AbcReaderTest {
 protected:
  void TearDown() override { g_abcUnitLength = 240; }
};

struct ScoreCase {
  const char* name;
  const char* abc;      // read line by line into the score
  const char* written;  // the score written as ABC ("\n" for "\r\n")
};

void PrintTo(const ScoreCase& c, std::ostream* out) { *out << c.name; }

class AbcScoreReadAndWritten : public AbcScoreWriter, public ::testing::WithParamInterface<ScoreCase> {};

// A tune read from its text lines and written again comes back as the same
// tune: a title field starts it, the header's meter, unit length and tempo
// come before its key, a key change between its lines is written where it
// comes, and a new title starts the next tune.
TEST_P(AbcScoreReadAndWritten, WritesTheTuneItsLinesWereReadFrom) {
  const std::vector<CString> rows = Rows(GetParam().abc);
  AbcTextRead read = ReadAbcTextLines(Texts(rows));
  std::vector<std::unique_ptr<KLineObj>> lines = Lines(read);
  ScoreExport score;
  for (const auto& line : lines) score.lines.push_back(line.get());
  EXPECT_EQ(WriteAbcScore(score), Crlf(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(
    Tunes, AbcScoreReadAndWritten,
    ::testing::Values(
        ScoreCase{"OneLineTune", "X:1\nT:Reel\nM:4/4\nL:1/8\nK:G\nGABc dedB|",
                  "X:1\nT:Reel\nM:4/4\nL:1/8\nQ:1/4=120\nK:G\nGABc dedB|\n"},
        ScoreCase{"KeyChangeBetweenLines", "X:1\nT:Two keys\nM:3/4\nL:1/8\nK:D\nd2f2a2|\nK:F\nf2a2c'2|",
                  "X:1\nT:Two keys\nM:3/4\nL:1/8\nQ:1/4=120\nK:D\nd2f2a2|\nK:F\nf2a2c'2|\n"},
        ScoreCase{"MusicGoesOnPastALineEnd", "X:1\nT:Joined\nM:4/4\nL:1/8\nK:C\nCDEF \\\nGABc|",
                  "X:1\nT:Joined\nM:4/4\nL:1/8\nQ:1/4=120\nK:C\nCDEF GABc|\n"},
        ScoreCase{"TwoTunes",
                  "X:1\nT:First\nM:2/4\nL:1/16\nK:C\nC2D2E2F2|\nX:2\nT:Second\nM:2/4\nL:1/16\nK:C\nc2B2A2G2|",
                  "X:1\nT:First\nM:2/4\nL:1/16\nQ:1/4=120\nK:C\nC2D2E2F2|\n\nX:2\nT:Second\nM:2/4\nL:1/16\nQ:1/"
                  "4=120\nK:C\nc2B2A2G2|\n"}),
    [](const ::testing::TestParamInfo<ScoreCase>& info) { return std::string(info.param.name); });

// The title fields read are flagged as titles; the other text and the header
// fields are not.
TEST_F(AbcScoreWriter, FlagsTheTitleFieldsItReads) {
  const std::vector<CString> rows = Rows("X:1\nT:Reel\nT:The second name\nC:Trad.\nK:C\nCDEF|");
  AbcTextRead read = ReadAbcTextLines(Texts(rows));
  ASSERT_EQ(read.lines.size(), rows.size());
  std::vector<std::string> titles;
  for (const AbcLineRead& entry : read.lines) {
    const auto* text = dynamic_cast<const KStrLine*>(entry.line.get());
    EXPECT_EQ(entry.title, text != nullptr && text->TestFlags(KStrLine::kFlagTitle) != 0);
    if (entry.title) titles.emplace_back(text->GetText().View());
  }
  EXPECT_EQ(titles.size(), 2u);
}

// A line that is not text reads as nothing and leaves the music around it
// alone: the line before it still goes on past it.
TEST_F(AbcScoreWriter, LeavesALineThatIsNotTextEmpty) {
  const std::vector<CString> rows = Rows("K:C\nCDEF \\\nGABc|");
  std::vector<std::optional<CString>> texts = Texts(rows);
  texts.insert(texts.begin() + 2, std::nullopt);
  AbcTextRead read = ReadAbcTextLines(texts);
  ASSERT_EQ(read.lines.size(), 4u);
  EXPECT_EQ(read.lines[2].line, nullptr);
  std::vector<std::unique_ptr<KLineObj>> lines = Lines(read);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(SoundingNotes(lines), "C4:240 D4:240 E4:240 F4:240 G4:240 A4:240 B4:240 C5:240");
}

struct TitleFontCase {
  const char* name;
  std::vector<int> fontHeights;  // by slot; the text line is in slot 1
  const char* written;
};

void PrintTo(const TitleFontCase& c, std::ostream* out) { *out << c.name; }

class AbcTextInTheScoresFonts : public AbcScoreWriter, public ::testing::WithParamInterface<TitleFontCase> {};

// A text line after the music is a new tune's title when its font is at least
// two pixels taller than the score's text (either sign of height), and words
// of the tune otherwise.
TEST_P(AbcTextInTheScoresFonts, StartsATuneOnlyAtALargerFont) {
  const std::vector<CString> rows = Rows("T:Reel\nM:4/4\nL:1/8\nK:C\nCDEF|");
  AbcTextRead read = ReadAbcTextLines(Texts(rows));
  std::vector<std::unique_ptr<KLineObj>> lines = Lines(read);
  auto text = std::make_unique<KStrLine>(CString("Jig"), 0);
  text->SetFontIndex(1);
  lines.push_back(std::move(text));
  ScoreExport score;
  for (const auto& line : lines) score.lines.push_back(line.get());
  score.textFontHeights = GetParam().fontHeights;
  EXPECT_EQ(WriteAbcScore(score), Crlf(GetParam().written));
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, AbcTextInTheScoresFonts,
    ::testing::Values(
        TitleFontCase{"TwoPixelsTaller", {-16, -18}, "X:1\nT:Reel\nM:4/4\nL:1/8\nQ:1/4=120\nK:C\nCDEF|\n\nX:2\nT:Jig\n"},
        TitleFontCase{"TwoPixelsTallerGivenAsCellHeights", {16, 18},
                      "X:1\nT:Reel\nM:4/4\nL:1/8\nQ:1/4=120\nK:C\nCDEF|\n\nX:2\nT:Jig\n"},
        TitleFontCase{"OnePixelTaller", {-16, -17}, "X:1\nT:Reel\nM:4/4\nL:1/8\nQ:1/4=120\nK:C\nCDEF|\nW:Jig\n"},
        TitleFontCase{"NoFontForItsSlot", {-16}, "X:1\nT:Reel\nM:4/4\nL:1/8\nQ:1/4=120\nK:C\nCDEF|\nW:Jig\n"}),
    [](const ::testing::TestParamInfo<TitleFontCase>& info) { return std::string(info.param.name); });

// Staves written on their own each get their text, led by a key field where
// the key or clef changes (the first with the meter, unit length and tempo it
// starts with); a line that is not a staff gets none.
TEST_F(AbcScoreWriter, WritesEachStaffOfARunUnderItsKey) {
  const std::vector<CString> rows = Rows("L:1/8\nK:G\nGABc|\nK:G\ndcBA|\nK:F\nFGAB|");
  AbcTextRead read = ReadAbcTextLines(Texts(rows));
  std::vector<std::unique_ptr<KLineObj>> lines = Lines(read);
  ASSERT_EQ(lines.size(), 3u);
  auto words = std::make_unique<KStrLine>(CString("words"), 0);
  std::vector<KLineObj*> run = {lines[0].get(), words.get(), lines[1].get(), lines[2].get()};
  const std::vector<std::vector<std::string>> written = WriteAbcOfStaves(run);
  const std::vector<std::vector<std::string>> expected = {
      {"K:G", "M:4/4", "L:1/8", "Q:1/4=120", "GABc|"}, {}, {"dcBA|"}, {"K:F", "FGAB|"}};
  EXPECT_EQ(written, expected);
}

}  // namespace
