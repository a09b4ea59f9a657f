// The welcome score that a first start opens: a title, a chord-diagram line,
// a treble staff bracketed with the tablature of the same melody in one line
// group, a rhythm line of strums, lyrics and the lines on how to start, all
// shown by the view.

#include <QApplication>
#include <vector>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr int kTextKind = 5;
constexpr int kStaffKind = 0;
constexpr int kTabKind = 2;
constexpr int kRhythmKind = 3;
constexpr int kChordKind = 4;

class WelcomeScore : public ShellTest {
 protected:
  // Starts as a new user does: the start-up action reopens the last score,
  // which is the welcome score copied into the user's samples folder.
  void StartAsNewUser() {
    StoreStartupAction(2);
    ASSERT_TRUE(Start());
    ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
    child_ = Frame().ScoreWindows().front();
    QApplication::processEvents();
  }

  CStavlinDoc& Doc() const { return child_->Document(); }

  std::vector<KListLine*> LinesOfKind(int kind) const {
    std::vector<KListLine*> found;
    for (POSITION node = Doc().GetFirstLinePosition(); node != nullptr;) {
      KLineObj* line = Doc().GetNextLine(node);
      if (line->GetType() == kind) found.push_back(dynamic_cast<KListLine*>(line));
    }
    return found;
  }

  POSITION PositionOf(const KLineObj* wanted) const {
    for (POSITION node = Doc().GetFirstLinePosition(); node != nullptr;) {
      const POSITION here = node;
      if (Doc().GetNextLine(node) == wanted) return here;
    }
    return nullptr;
  }

  CChildFrame* child_ = nullptr;
};

// The note columns of a staff or tablature line: columns that are neither
// bars nor signatures and hold notes.
std::vector<const KChord*> NoteColumns(KListLine& line) {
  std::vector<const KChord*> columns;
  CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (column != nullptr && !column->IsBarColumn() && !column->IsSignatureColumn() &&
        column->CountNotes() > 0)
      columns.push_back(column);
  }
  return columns;
}

struct LineKindCase {
  const char* name;
  int kind;
  size_t lines;  // how many lines of the kind, at least
  int objects;   // objects on the first of them, at least
};

class WelcomeLineKinds : public WelcomeScore, public ::testing::WithParamInterface<LineKindCase> {};

TEST_P(WelcomeLineKinds, ArePresentWithTheirContent) {
  const LineKindCase& c = GetParam();
  StartAsNewUser();
  const std::vector<KListLine*> lines = LinesOfKind(c.kind);
  ASSERT_GE(lines.size(), c.lines);
  if (c.objects > 0) {
    ASSERT_NE(lines.front(), nullptr);
    EXPECT_GE(lines.front()->GetObjCount(), c.objects);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Welcome, WelcomeLineKinds,
    ::testing::Values(LineKindCase{"ChordLineHoldsThreeOrMoreDiagrams", kChordKind, 1, 3},
                      LineKindCase{"TrebleStaffHoldsTheMelody", kStaffKind, 1, 8},
                      LineKindCase{"TablatureLineHoldsTheMelody", kTabKind, 1, 8},
                      LineKindCase{"RhythmLineHoldsStrums", kRhythmKind, 1, 4},
                      LineKindCase{"TextLinesGiveTitleLyricsAndHowToStart", kTextKind, 4, 0}),
    [](const ::testing::TestParamInfo<LineKindCase>& info) { return info.param.name; });

TEST_F(WelcomeScore, StaffAndTablatureAreBracketedInOneGroupWithTheOtherLines) {
  StartAsNewUser();
  KListLine* staff = LinesOfKind(kStaffKind).at(0);
  KListLine* tab = LinesOfKind(kTabKind).at(0);
  KLineGroup* group = staff->GetGroup();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(tab->GetGroup(), group);
  const int staffSlot = group->FindSlot(PositionOf(staff));
  const int tabSlot = group->FindSlot(PositionOf(tab));
  ASSERT_GE(staffSlot, 0);
  EXPECT_EQ(tabSlot, staffSlot + 1);
  EXPECT_NE(group->GetSlotBracket(staffSlot, 1), 0);
  EXPECT_EQ(group->GetSlotBracket(tabSlot, 1), group->GetSlotBracket(staffSlot, 1));
  // The chords, the strums and the lyrics belong to the same system.
  for (int kind : {kChordKind, kRhythmKind}) EXPECT_EQ(LinesOfKind(kind).at(0)->GetGroup(), group) << kind;
  EXPECT_EQ(Doc().GetLineGroupCount(), 1);
}

TEST_F(WelcomeScore, TablatureGivesEveryNoteOfTheStaffAFret) {
  StartAsNewUser();
  const std::vector<const KChord*> staffNotes = NoteColumns(*LinesOfKind(kStaffKind).at(0));
  const std::vector<const KChord*> tabNotes = NoteColumns(*LinesOfKind(kTabKind).at(0));
  ASSERT_FALSE(staffNotes.empty());
  ASSERT_EQ(tabNotes.size(), staffNotes.size());
  for (size_t i = 0; i < tabNotes.size(); ++i) {
    EXPECT_EQ(tabNotes[i]->GetPos(), staffNotes[i]->GetPos()) << "note " << i;
    const int code = tabNotes[i]->GetNote(0).code;
    EXPECT_TRUE(code >= KChord::kFirstFret && code <= KChord::kLastFret) << "note " << i << " code " << code;
  }
}

TEST_F(WelcomeScore, ViewShowsEveryLineWithTheTitleTextFirstAndChordDiagrams) {
  StartAsNewUser();
  CStavlinView& view = child_->ActivePane()->View();
  EXPECT_EQ(view.GetDisplayLineCount(), Doc().GetLineCount());
  KLineObj* first = Doc().GetLineAt(Doc().GetFirstLinePosition());
  EXPECT_EQ(first->GetType(), kTextKind);
  EXPECT_TRUE(LinesOfKind(kChordKind).at(0)->TestFlags(KChordPicLine::kFlagShowDiagrams));
}

}  // namespace
