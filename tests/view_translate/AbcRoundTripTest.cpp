// ABC round trips: a tune is read into a score (Actions | Translate | From ABC
// Notation), the score written as ABC (File | Export | Full Score as ABC
// File), that text read into a fresh score and written again. The second
// export must be the first one, byte for byte: nothing drifts, moves or is
// lost on the way round.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TranslateFixture.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"

namespace {

struct RoundTrip {
  const char* name;
  const char* abc;
  // Text the first export must hold: the feature survives the first pass.
  const char* written;
};

class AbcRoundTripFixture : public viewtest::TranslateFixture {
 protected:
  // Reads the ABC text into an empty score and returns the score's export;
  // the score's staves, as text, in `score`.
  std::string Pass(std::string abc, std::string* score = nullptr) {
    std::erase(abc, '\r');
    doc.DeleteContents();
    lines.clear();
    frame.textDocuments.clear();
    AddTextBlock(abc);
    Layout();
    SelectLines(0, view->GetDisplayLineCount() - 1);
    EXPECT_TRUE(Run(cmd::kTranslateFromAbc));
    view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
    if (score != nullptr) *score = Staves();
    EXPECT_TRUE(Run(cmd::kExportAbc));
    if (frame.textDocuments.size() != 1) return {};
    return std::string(frame.textDocuments[0].second.View());
  }

  // Every staff of the score, one a line: its staff length, then each column
  // as its column number and its entries (row:code).
  std::string Staves() {
    std::string text;
    for (int d = 0; d < view->GetDisplayLineCount(); ++d) {
      const auto* staff = dynamic_cast<const KStaffLine*>(view->GetDisplayLineObj(d));
      if (staff == nullptr) continue;
      text += "staff " + std::to_string(staff->GetStaffLength()) + ":";
      const CObList& objects = *staff->GetObjList();
      for (POSITION at = objects.GetHeadPosition(); at != nullptr;) {
        const auto* column = dynamic_cast<const KChord*>(objects.GetNext(at));
        if (column == nullptr) continue;
        text += " " + std::to_string(column->GetPos()) + "[";
        for (int i = 0; i < column->GetNoteCount(); ++i)
          text += (i > 0 ? "," : "") + std::to_string(column->GetNote(i).position) + ":" +
                  std::to_string(column->GetNote(i).code);
        text += "]";
      }
      text += "\n";
    }
    return text;
  }
};

class AbcRoundTrip : public AbcRoundTripFixture, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(AbcRoundTrip, TheSecondExportIsTheFirst) {
  const RoundTrip& tune = GetParam();
  const std::string first = Pass(tune.abc);
  EXPECT_NE(first.find(tune.written), std::string::npos) << first;
  const std::string second = Pass(first);
  EXPECT_EQ(second, first) << "from the tune:\n" << tune.abc;
}

INSTANTIATE_TEST_SUITE_P(
    Tunes, AbcRoundTrip,
    ::testing::Values(
        RoundTrip{
            "ASubtitle",
            "X:1\nT:The Kesh\nT:a jig in the old style\nM:6/8\nL:1/8\nK:G\nGAG GAB|ABA ABd|edd gdd|edB dBA|]",
            "T:a jig in the old style\r\n"},
        RoundTrip{"TiesAcrossBars", "X:1\nT:Ties\nM:4/4\nL:1/8\nK:C\nC4- C2 E2-|E2 G2 c4-|c8|]", "E2-|E2"},
        RoundTrip{"GraceNotes", "X:1\nT:Graces\nM:4/4\nL:1/8\nK:D\n{ag}f4 {e}d4|{fed}e4 d4|]", "{fed}e4"},
        RoundTrip{"Triplets", "X:1\nT:Triplets\nM:4/4\nL:1/8\nK:C\n(3CDE F2 (3GAB c2|(3cBA G2 E2 C2|]",
                  "(3cBA"},
        RoundTrip{"DottedAndBrokenRhythms",
                  "X:1\nT:Rhythms\nM:4/4\nL:1/8\nK:G\nG3 A B>c d<e|B3/2c/ d3/2e/ d4|]", "B3/2c/2"},
        RoundTrip{"ADorianMode",
                  "X:1\nT:Dorian\nM:4/4\nL:1/8\nK:Ador\nA2 Bc d2 cB|A2 GE G2 AB|c2 BA G2 E2|A8|]",
                  "K:Ador\r\n"},
        RoundTrip{"AMinorMode", "X:1\nT:Minor\nM:3/4\nL:1/8\nK:Am\nA2 c2 e2|^g4 a2|e2 c2 B2|A6|]",
                  "K:Am\r\n"},
        RoundTrip{"ABassClef", "X:1\nT:Bass\nM:4/4\nL:1/8\nK:C bass\nC,2 E,2 G,2 C2|G,,4 C,4|]", "clef=bass"},
        RoundTrip{"AnOctaveMark", "X:1\nT:Guitar\nM:3/4\nL:1/8\nK:Em clef=treble-8\nE2 G2 B2|e4 B2|E6|]",
                  "clef=treble-8"},
        RoundTrip{"RepeatsWithEndings", "X:1\nT:Endings\nM:4/4\nL:1/8\nK:D\n|:d2 e2 f2 g2|1 a4 f4:|2 a4 d4|]",
                  "[2"},
        RoundTrip{"ChordNames",
                  "X:1\nT:Chords\nM:3/4\nL:1/8\nK:G\n\"G\"G2 B2 d2|\"C\"e2 \"D7\"d2 c2|\"Em\"B2 \"Am\"A2 "
                  "\"D\"F2|\"G\"G6|]",
                  "\"C\"e2\"D7\"d2c2|\"Em\"B2\"Am\"A2\"D\"F2"},
        RoundTrip{"AChordNamePushedPastItsNote",
                  "X:1\nT:Chords\nM:3/4\nL:1/8\nK:G\n\"Em\"B2 \"Am\"A2 \"D\"F2|\"G\"GABc d2|]",
                  "|\"G\"GABc d2"},
        RoundTrip{"ChordNamesOnEveryNote",
                  "X:1\nT:Busy chords\nM:4/4\nL:1/8\nK:D\n\"D\"d\"A7\"c\"Bm\"B\"F#m\"A \"G\"G\"Em\"E\"A7\"A2|"
                  "\"D\"d8|]",
                  "\"D\"d\"A7\"c\"Bm\"B\"F#m\"A \"G\"G\"Em\"E\"A7\"A2|\"D\"d8"}),
    [](const auto& info) { return std::string(info.param.name); });

// A tune of 32 bars, more than one staff holds, written four bars a line:
// the score read back from its export has the same systems as the first
// score, bar for bar and column for column (line breaks and spacing
// included), and the second export is the first.
TEST_F(AbcRoundTripFixture, ALongTuneSettlesOnTheSecondPass) {
  const std::string tune =
      "X:1\nT:The Long Reel\nM:4/4\nL:1/8\nK:D\n"
      "|:A2FA DAFA|B2GB dBGB|A2FA DAFA|BAGF E2FE|\n"
      "A2FA DAFA|B2GB dBGB|A3B AFdF|EFGE D4:|\n"
      "|:d2fd adfd|e2ge bege|d2fd adfd|efed B2AB|\n"
      "d2fd adfd|e2ge bege|f3g fedB|AFEF D4:|\n"
      "FAdA FAdA|GBdB GBdB|FAdA FAdA|E2FG A4|\n"
      "FAdA FAdA|GBdB GBdB|A3B AFdF|EFGE D4|\n"
      "D2FA d2fa|g2fe d2cB|A2FA d2fa|gfed c2BA|\n"
      "D2FA d2fa|g2fe d2cB|AFdF EFGE|D8|]\n";
  std::string firstScore;
  const std::string first = Pass(tune, &firstScore);
  ASSERT_NE(first.find("K:D"), std::string::npos) << first;
  std::string secondScore;
  const std::string second = Pass(first, &secondScore);
  EXPECT_GE(std::count(firstScore.begin(), firstScore.end(), '\n'), 4) << firstScore;
  EXPECT_EQ(secondScore, firstScore);
  EXPECT_EQ(second, first);
}

}  // namespace
