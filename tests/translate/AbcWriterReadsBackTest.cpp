// The ABC writer's text is always ABC the program's own reader takes back: a
// staff line written as ABC (under the key and clef fields the export writes
// before it) reads back as one staff line that plays the same notes at the
// same times, and that writes the same text again. The staves come from ABC
// tunes and from scores made at random.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "AbcReaderTestSupport.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineTime.h"
#include "support/AbcStaffReadBack.h"
#include "translate/AbcReader.h"
#include "translate/AbcReaderState.h"

namespace {

using stavlin_test::AbcMusicOnly;
using stavlin_test::PlayedOnStaff;
using stavlin_test::ReadAbcStaves;

std::string Written(KStaffLine& line) {
  const std::optional<CString> text = line.WriteAbc();
  return text ? std::string(text->View()) : std::string();
}

class AbcWriterReadsBack : public AbcReaderTest {
 protected:
  void SetUp() override { g_abcUnitLength = 240; }
  void TearDown() override { g_abcUnitLength = 240; }

  // Writes the staff as the export does (a unit length and a key field with
  // the staff's clef, then its music), reads that back and checks it.
  void ExpectReadsBack(KStaffLine& staff) {
    g_abcUnitLength = 240;
    const std::string music = Written(staff);
    const std::string text = "L:1/8\r\nK:" + AbcKeyName(staff.GetKeySignatureAt(0)) +
                             AbcClefClause(staff.GetType()) + "\r\n" + music;
    ResetAbcReaderState();
    std::vector<std::unique_ptr<KStaffLine>> back = ReadAbcStaves(text);
    ASSERT_EQ(back.size(), 1u) << text;
    EXPECT_EQ(back[0]->GetType(), staff.GetType()) << text;
    EXPECT_EQ(PlayedOnStaff(*back[0]), PlayedOnStaff(staff)) << text;
    g_abcUnitLength = 240;
    EXPECT_EQ(AbcMusicOnly(Written(*back[0])), AbcMusicOnly(music));
  }
};

struct Tune {
  const char* name;
  const char* abc;
};

class AbcTunesReadBack : public AbcWriterReadsBack, public ::testing::WithParamInterface<Tune> {};

TEST_P(AbcTunesReadBack, EveryStaffOfTheTuneReadsBackAsItPlays) {
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves = ReadAbcStaves(GetParam().abc);
  ASSERT_FALSE(staves.empty());
  for (std::size_t i = 0; i < staves.size(); ++i) {
    SCOPED_TRACE("staff " + std::to_string(i + 1));
    ASSERT_FALSE(PlayedOnStaff(*staves[i]).empty());
    ExpectReadsBack(*staves[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tunes, AbcTunesReadBack,
    ::testing::Values(
        Tune{"Rhythms", "X:1\nM:4/4\nL:1/8\nK:G\nG3 A B>c d<e|B3/2c/ d3/2e/ d4|(3def g2 d4|z2 z/ G/ A B4|]"},
        Tune{"TiesAndSlurs", "X:1\nM:4/4\nL:1/8\nK:F\nF2 A2 c4-|c2 (A2 F4)|(3FGA- A2 z4|]"},
        Tune{"ChordsAndAccidentals", "X:1\nM:3/4\nL:1/8\nK:Bb\n[B,DF]2 ^F2 =B2|[_E_G]4 __B2|[^c^^f]6|]"},
        Tune{"GraceNotesAndDecorations", "X:1\nM:6/8\nL:1/8\nK:D\n{ag}f3 ~e2d|{e}d .d .e uf vg a|]"},
        Tune{"RepeatsAndEndings", "X:1\nM:2/4\nL:1/16\nK:C\n|:C4 E4|1 G8:|2 c8||[|c2d2 e4|]"},
        Tune{"MeterAndKeyChanges", "X:1\nM:3/4\nL:1/8\nK:A\nA2 c2 e2|[M:2/4][L:1/8]a4|[K:Eb]e2 B2|]"},
        Tune{"NotesBeyondTheBassStaff", "X:1\nM:2/4\nL:1/8\nK:C bass\nC a|c' C,,,,|]"},
        Tune{"BassClefLowNotes", "X:1\nM:4/4\nL:1/8\nK:C bass\nC,,2 E,,2 G,,2 C,2|E,G, B,C E2 G2|]"},
        Tune{"AltoAndTenorClefs",
             "X:1\nM:4/4\nL:1/4\nK:C clef=alto\nC D E F|G A B c|]\nK:C clef=tenor\nA, B, C D|]"},
        Tune{"OctaveClefAndLongNotes", "X:1\nM:4/4\nL:1/8\nK:Em clef=treble-8\nE8|B,4 E4|e16|]"},
        Tune{"ChordNamesOverOneNote", "X:1\nM:3/4\nL:1/8\nK:G\n\"G\"\"Em\"\"C\"G2 B2 \"D7\"d2|]"},
        Tune{"TempoAndContinuedLine", "X:1\nM:4/4\nL:1/8\nQ:1/4=96\nK:C\nCDEF GABc|\\\ncBAG FEDC|]"},
        Tune{"TwoVoicesInABar",
             "X:1\nM:4/4\nL:1/8\nK:D\neeee eeee & E4 E4|d>c B2 A4 & z2 F2 ^G4|{g}f4 e4 & [DF]8|]"},
        Tune{"TwoVoicesOfWhichOneEndsEarly", "X:1\nM:3/4\nL:1/8\nK:C\ncdef & C2 D/E/F z2|c2 d2- d2 & E6|]"},
        Tune{"TwoNotesOnOneRowOfAChord", "X:1\nM:4/4\nL:1/8\nK:C\n[^f=f]2 f2 [D7_Az2c^f=f_gb] z|]"}),
    [](const auto& info) { return std::string(info.param.name); });

// A tempo mark set in a column of notes (as the palette puts it over the
// first note of a piece) is written with the notes under it, which then read
// back and play as they did: none of the column's notes is lost to the mark.
struct TempoOverNotesCase {
  const char* name;
  const char* music;  // read as a staff; the mark goes over its first column
};

void PrintTo(const TempoOverNotesCase& c, std::ostream* out) { *out << c.name; }

class TempoMarkOverNotes : public AbcWriterReadsBack, public ::testing::WithParamInterface<TempoOverNotesCase> {};

TEST_P(TempoMarkOverNotes, KeepsTheNotesUnderTheMark) {
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves =
      ReadAbcStaves(std::string("X:1\nM:4/4\nL:1/8\nK:C\n") + GetParam().music);
  ASSERT_EQ(staves.size(), 1u);
  KStaffLine& staff = *staves[0];
  // The first column of notes or a rest gets the mark: its code on the text
  // row and its number in a text box there.
  KChord* first = nullptr;
  for (POSITION node = staff.GetObjList()->GetHeadPosition(); node != nullptr && first == nullptr;) {
    KChord* column = AsChord(staff.GetObjList()->GetNext(node));
    if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const int code = column->GetNote(i).code;
      if ((code >= 0 && code <= 20) || (code >= 108 && code <= 111)) first = column;
    }
  }
  ASSERT_NE(first, nullptr);
  const std::string before = PlayedOnStaff(staff);
  first->AddNote(9, 10034, 0x1500);
  staff.AddAttachment(new KExtendedObj(first->GetPos(), 9, CString("100"), CString()));
  ASSERT_EQ(PlayedOnStaff(staff), before);
  g_abcUnitLength = 240;
  const std::string written = Written(staff);
  EXPECT_NE(written.find("Q:1/4=100"), std::string::npos) << written;
  ExpectReadsBack(staff);
}

INSTANTIATE_TEST_SUITE_P(Columns, TempoMarkOverNotes,
                         ::testing::Values(TempoOverNotesCase{"ANote", "C2 DE F4|"},
                                           TempoOverNotesCase{"AChord", "[C,G,E]4 G4|"},
                                           TempoOverNotesCase{"ARest", "z2 DE F4|"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A staff of random columns: notes of every length with dots, rests, chords,
// accidentals and bars, on any row of the staff, in any clef and key.
std::unique_ptr<KStaffLine> RandomStaff(unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const int kinds[] = {0, 0, 0, 1, 9, 10, 12};
  auto staff = std::make_unique<KStaffLine>();
  staff->SetType(kinds[pick(0, 6)]);
  staff->SetKeySignature(pick(0, 15), 0, 0);
  const int columns = pick(1, 24);
  int pos = 0;
  for (int c = 0; c < columns; ++c, ++pos) {
    auto* column = new KChord(pos);
    // A line starts with music (a line of a lone bar line is no music).
    const int what = c == 0 ? pick(2, 9) : pick(0, 9);
    if (what == 0) {
      column->AddNote(18, 21 + pick(0, 2));
    } else if (what == 1) {
      column->AddNote(18, 14 + pick(0, 6));
    } else {
      const int code = (pick(0, 6) * 2) % 14;  // stem-down codes of whole to 32nd notes
      const int notes = pick(1, 3);
      int row = pick(KStaffLine::kFirstRow + 4, KStaffLine::kLastRow - 12);
      for (int n = 0; n < notes; ++n, row += pick(1, 4)) {
        column->AddNote(row, code);
        if (pick(0, 4) == 0) column->AddNote(row, 27 + pick(0, 4));
      }
      if (code >= 2 && code <= 8 && pick(0, 3) == 0)
        column->AddNote(column->GetNote(0).position, KChord::kDot);
    }
    staff->GetObjList()->AddTail(column);
  }
  return staff;
}

class RandomStavesReadBack : public AbcWriterReadsBack, public ::testing::WithParamInterface<unsigned> {};

TEST_P(RandomStavesReadBack, AStaffOfRandomColumnsReadsBackAsItPlays) {
  std::unique_ptr<KStaffLine> staff = RandomStaff(GetParam());
  ExpectReadsBack(*staff);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomStavesReadBack, ::testing::Range(1u, 201u));

}  // namespace
