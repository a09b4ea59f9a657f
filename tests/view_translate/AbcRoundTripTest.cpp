// ABC round trips: a tune is read into a score (Actions | Translate | From ABC
// Notation), the score written as ABC (File | Export | Full Score as ABC
// File), that text read into a fresh score and written again. The second
// export must be the first one, byte for byte: nothing drifts, moves or is
// lost on the way round.

#include <gtest/gtest.h>

#include <string>

#include "TranslateFixture.h"

namespace {

struct RoundTrip {
  const char* name;
  const char* abc;
  // Text the first export must hold: the feature survives the first pass.
  const char* written;
};

class AbcRoundTrip : public viewtest::TranslateFixture, public ::testing::WithParamInterface<RoundTrip> {
 protected:
  // Reads the ABC text into an empty score and returns the score's export.
  std::string Pass(std::string abc) {
    std::erase(abc, '\r');
    doc.DeleteContents();
    lines.clear();
    frame.textDocuments.clear();
    AddTextBlock(abc);
    Layout();
    SelectLines(0, view->GetDisplayLineCount() - 1);
    EXPECT_TRUE(Run(cmd::kTranslateFromAbc));
    view->UpdateSelection(0, 0, 0, 0, CStavlinView::kSelClear);
    EXPECT_TRUE(Run(cmd::kExportAbc));
    if (frame.textDocuments.size() != 1) return {};
    return std::string(frame.textDocuments[0].second.View());
  }
};

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
                  "|\"G\"GABcd2"},
        RoundTrip{"ChordNamesOnEveryNote",
                  "X:1\nT:Busy chords\nM:4/4\nL:1/8\nK:D\n\"D\"d\"A7\"c\"Bm\"B\"F#m\"A \"G\"G\"Em\"E\"A7\"A2|"
                  "\"D\"d8|]",
                  "\"D\"d\"A7\"c\"Bm\"B\"F#m\"A\"G\"G\"Em\"E\"A7\"A2|\"D\"d8"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
