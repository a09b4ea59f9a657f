// Ties, slurs and the signs that join two notes (hammer-ons, pull-offs,
// slides, bowings) as the ABC writer writes them. Each staff is read from a
// line of ABC and then given what a score drawn by hand or made from
// tablature holds; its ABC must say what the score does, and abcm2ps and
// abc2midi must read it without complaint.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "AbcReaderTestSupport.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "support/AbcStaffReadBack.h"
#include "support/OutsideTools.h"
#include "support/TempFolder.h"

namespace {

using stavlin_test::AbcMusicOnly;
using stavlin_test::ReadAbcStaves;

constexpr int kColumn = 18;

// The positions of the staff's columns that hold notes, in order.
std::vector<int> NotePositions(KStaffLine& staff) {
  std::vector<int> positions;
  for (POSITION node = staff.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(staff.GetObjList()->GetNext(node));
    if (column == nullptr || column->IsBarColumn() || column->GetNoteCount() == 0) continue;
    if (column->GetNote(0).code >= 0 && column->GetNote(0).code <= 12) positions.push_back(column->GetPos());
  }
  return positions;
}

// The position of the staff's n-th bar column.
int BarPosition(KStaffLine& staff, int n) {
  for (POSITION node = staff.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(staff.GetObjList()->GetNext(node));
    if (column != nullptr && column->IsBarColumn() && n-- == 0) return column->GetPos();
  }
  return -1;
}

KChord* ColumnAt(KStaffLine& staff, int pos) {
  for (POSITION node = staff.GetObjList()->GetHeadPosition(); node != nullptr;) {
    KChord* column = AsChord(staff.GetObjList()->GetNext(node));
    if (column != nullptr && column->GetPos() == pos) return column;
  }
  return nullptr;
}

KExtendedObj* FirstArc(KStaffLine& staff) {
  for (POSITION node = staff.GetAttachments()->GetHeadPosition(); node != nullptr;) {
    auto* a = static_cast<KExtendedObj*>(staff.GetAttachments()->GetNext(node));
    if (a->GetKind() == KExtendedObj::kTie || a->GetKind() == KExtendedObj::kSlur) return a;
  }
  return nullptr;
}

// An arc from one column to another, of the kind given (drawn below or above).
void AddArc(KStaffLine& staff, int kind, int from, int to) {
  const int width = (to - from) * kColumn;
  staff.AddAttachment(new KExtendedObj(from, 20, kind, width / 2, -6, width, 0));
}

// The staff's first arc made to reach the column.
void StretchFirstArcTo(KStaffLine& staff, int to) {
  KExtendedObj* arc = FirstArc(staff);
  ASSERT_NE(arc, nullptr);
  arc->SetSize((to - arc->GetPos()) * kColumn, arc->GetSize().cy);
}

// A sign beside the first note, on its row.
void MarkFirstNote(KStaffLine& staff, int code) {
  KChord* column = ColumnAt(staff, NotePositions(staff).at(0));
  ASSERT_NE(column, nullptr);
  column->AddNote(column->GetNote(0).position, code);
}

// What abcm2ps and abc2midi say of a tune, less the notes that they write
// their files (and abcm2ps's remarks on how full a line is set).
std::string Complaints(const std::string& music) {
  stavlin_test::TempFolder folder("abcarcs");
  const std::string file = (folder.Path() / "tune.abc").string();
  std::ofstream(file, std::ios::binary) << "X:1\r\nT:Arcs\r\nM:4/4\r\nL:1/8\r\nK:C\r\n" << music;
  std::string complaints;
  int status = 0;
  const std::string ps = stavlin_test::RunTool("(abcm2ps -q -O " + (folder.Path() / "tune.ps").string() +
                                                   " " + file + " 2>&1) | grep -v 'Line underfull'",
                                               status);
  if (ps.find("rror") != std::string::npos || ps.find("arning") != std::string::npos) complaints += ps;
  const std::string said =
      stavlin_test::RunTool("abc2midi " + file + " -o " + (folder.Path() / "tune.mid").string(), status);
  if (status != 0 || said.find("rror") != std::string::npos || said.find("arning") != std::string::npos)
    complaints += said;
  return complaints;
}

struct ArcCase {
  const char* name;
  const char* abc;  // one line of music
  void (*edit)(KStaffLine&);
  const char* written;  // what the music must hold
};

void PrintTo(const ArcCase& arcCase, std::ostream* out) { *out << arcCase.name; }

class AbcWriterArcs : public AbcReaderTest, public ::testing::WithParamInterface<ArcCase> {
 protected:
  void SetUp() override {
    g_abcUnitLength = 240;
    g_abcSlursOpen = 0;
    g_abcLineFollows = false;
  }
  void TearDown() override {
    g_abcUnitLength = 240;
    g_abcSlursOpen = 0;
    g_abcLineFollows = false;
  }

  static std::string Written(KStaffLine& staff) {
    g_abcUnitLength = 240;
    const std::optional<CString> text = staff.WriteAbc();
    return text ? AbcMusicOnly(std::string(text->View())) : std::string();
  }
};

TEST_P(AbcWriterArcs, TheSignsSayWhatTheScoreDoesAndTheToolsTakeThem) {
  const ArcCase& arcCase = GetParam();
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves =
      ReadAbcStaves(std::string("L:1/8\r\nK:C\r\n") + arcCase.abc + "\r\n");
  ASSERT_EQ(staves.size(), 1u);
  if (arcCase.edit != nullptr) arcCase.edit(*staves[0]);
  const std::string music = Written(*staves[0]);
  EXPECT_NE(music.find(arcCase.written), std::string::npos) << music;
  if (!stavlin_test::HaveTool("abcm2ps") || !stavlin_test::HaveTool("abc2midi"))
    GTEST_SKIP() << "abcm2ps or abc2midi is not installed";
  EXPECT_EQ(Complaints(music), "") << music;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AbcWriterArcs,
    ::testing::Values(
        ArcCase{"ASlurDrawnToABarEndsOnTheNoteBeforeIt", "(B2c2) d4|e8|]",
                [](KStaffLine& staff) { StretchFirstArcTo(staff, BarPosition(staff, 0)); }, "(B2c2 d4)|"},
        ArcCase{"ASlurDrawnToTheClosingBarEndsOnTheLastNote", "e4 (b4)|]",
                [](KStaffLine& staff) { StretchFirstArcTo(staff, BarPosition(staff, 0)); }, "(b4)|]"},
        ArcCase{"ATieDrawnBetweenDifferentPitchesIsASlur", "G2 A2 c4|]",
                [](KStaffLine& staff) {
                  const std::vector<int> notes = NotePositions(staff);
                  AddArc(staff, KExtendedObj::kTie, notes.at(0), notes.at(1));
                },
                "(G2A2)"},
        ArcCase{"AnArcOverThreeNotesIsASlurWhicheverWayItIsDrawn", "G2 A2 c4|]",
                [](KStaffLine& staff) {
                  const std::vector<int> notes = NotePositions(staff);
                  AddArc(staff, KExtendedObj::kTie, notes.at(0), notes.at(2));
                },
                "(G2A2 c4)|"},
        ArcCase{"AHammerOnSignJoinsItsNoteToTheNext", "G2 A2 c4|]",
                [](KStaffLine& staff) { MarkFirstNote(staff, 42); }, "(G2A2)"},
        ArcCase{"APullOffArcJoinsItsNoteToTheNext", "A2 G2 c4|]",
                [](KStaffLine& staff) { MarkFirstNote(staff, KChord::kFlaggedBase + 44); }, "(A2G2)"},
        ArcCase{"ASlideJoinsItsNoteToTheNext", "G2 B2 c4|]",
                [](KStaffLine& staff) { MarkFirstNote(staff, 46); }, "(G2B2)"},
        ArcCase{"ASlideWithItsArcJoinsItsNoteToTheNext", "B2 G2 c4|]",
                [](KStaffLine& staff) { MarkFirstNote(staff, KChord::kFlaggedBase + 47); }, "(B2G2)"},
        ArcCase{"ADownBowOnAChordStandsBeforeIt", "v[Ec]2 u[DB]2 [EGc]4|]", nullptr, "v[E2c2]"},
        ArcCase{"AnUpBowOnAChordStandsBeforeIt", "v[Ec]2 u[DB]2 [EGc]4|]", nullptr, "u[D2B2]"}),
    [](const auto& info) { return std::string(info.param.name); });

// A slur over a line's end: "(" on the line, ")" after the next line's first
// note, so that the tune holds both halves.
TEST_F(AbcWriterArcs, ASlurOverTheLineEndClosesOnTheNextLine) {
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves =
      ReadAbcStaves("L:1/8\r\nK:C\r\nA2 B2 (c2 d2)|\r\ne2 f2 g4|]\r\n");
  ASSERT_EQ(staves.size(), 2u);
  // The arc reaches past the first line's last column, into the next line.
  StretchFirstArcTo(*staves[0], BarPosition(*staves[0], 0) + 2);
  g_abcLineFollows = true;
  const std::string first = Written(*staves[0]);
  g_abcLineFollows = false;
  const std::string second = Written(*staves[1]);
  EXPECT_NE(first.find("(c2d2|"), std::string::npos) << first;
  EXPECT_EQ(first.find(')'), std::string::npos) << first;
  EXPECT_EQ(second.rfind("e2)", 0), 0u) << second;
  EXPECT_EQ(g_abcSlursOpen, 0);
  if (!stavlin_test::HaveTool("abcm2ps") || !stavlin_test::HaveTool("abc2midi"))
    GTEST_SKIP() << "abcm2ps or abc2midi is not installed";
  EXPECT_EQ(Complaints(first + second), "") << first << second;
}

// The last line of a tune closes a slur that runs past its end itself.
TEST_F(AbcWriterArcs, ASlurOverTheEndOfTheLastLineClosesOnItsLastNote) {
  ResetAbcReaderState();
  std::vector<std::unique_ptr<KStaffLine>> staves = ReadAbcStaves("L:1/8\r\nK:C\r\nA2 B2 (c2 d2)|\r\n");
  ASSERT_EQ(staves.size(), 1u);
  StretchFirstArcTo(*staves[0], BarPosition(*staves[0], 0) + 2);
  const std::string music = Written(*staves[0]);
  EXPECT_NE(music.find("(c2d2)|"), std::string::npos) << music;
  EXPECT_EQ(g_abcSlursOpen, 0);
}

}  // namespace
