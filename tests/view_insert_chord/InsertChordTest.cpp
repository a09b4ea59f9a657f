// Insert/Chord: the chosen chord goes in at the caret as a diagram on a chord
// line or as a note column on a treble staff or tablature line, with one undo
// step; other lines beep and say why; a cancelled choice changes nothing.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "chords/ChordDictionary.h"
#include "dialogs/ChordSelect.h"
#include "lines/KChordPicLine.h"
#include "model/KChordPic.h"
#include "support/ViewTestSupport.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

extern CString g_pendingChordKeys;

namespace {

using viewtest::CaseName;
using viewtest::UndoStep;
using viewtest::UndoSteps;

constexpr const char* kOpenG = "320003          0000";

class InsertChordFixture : public viewtest::ViewScoreFixture {
 protected:
  void SetUp() override {
    ViewScoreFixture::SetUp();
    ResetChordDictionary();
    g_pendingChordKeys = "";
  }
  void TearDown() override {
    SetChordSelectSeam(nullptr);
    ResetChordDictionary();
    g_pendingChordKeys = "";
    ViewScoreFixture::TearDown();
  }

  // Answers every request with the choice (or a cancel) and keeps the requests.
  void Choose(std::optional<KChordChoice> choice) {
    SetChordSelectSeam([this, choice](const KChordSelectRequest& request) {
      requests.push_back(request);
      return choice;
    });
  }

  static KChordChoice Chord(const char* key, const char* type, const char* shape = kOpenG) {
    KChordChoice choice;
    choice.keyName = key;
    choice.typeName = type;
    choice.shape = shape;
    return choice;
  }

  // The chord line's diagrams as "column:name" words.
  std::string Diagrams(int displayLine) const {
    std::string out;
    KListLine* list = List(displayLine);
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      if (const auto* pic = dynamic_cast<const KChordPic*>(list->GetObjList()->GetNext(node))) {
        if (!out.empty()) out += ' ';
        out += std::to_string(pic->GetPos()) + ':' + static_cast<LPCTSTR>(pic->GetName());
      }
    }
    return out;
  }

  std::vector<KChordSelectRequest> requests;
};

// ---- Names the chosen chord takes ------------------------------------------------

struct NameCase {
  std::string name;
  const char* key;
  const char* type;
  int variation;
  int flag;
  const char* shown;
  const char* dictionaryKey;  // before the tuning text
};

void PrintTo(const NameCase& c, std::ostream* out) { *out << c.name; }

class ChordNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(ChordNames, ShownNameAndDictionaryKeyFollowTheChoice) {
  const NameCase& c = GetParam();
  KChordChoice choice;
  choice.keyName = c.key;
  choice.typeName = c.type;
  choice.variation = c.variation;
  choice.tuningFlag = c.flag;
  EXPECT_STREQ(static_cast<LPCTSTR>(DisplayedChordName(choice)), c.shown);
  const std::string expected = std::string(c.dictionaryKey) + "TUNE" + (c.flag != 0 ? "*" : "");
  EXPECT_EQ(std::string(static_cast<LPCTSTR>(ChordDictionaryKey(choice, "TUNE"))), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ChordNames,
    ::testing::Values(
        NameCase{"a natural major chord shows its letter alone", "G ", "(major)", 1, 0, "G", "G 1"},
        NameCase{"a sharp root keeps its accidental", "C#", "m7", 12, 0, "C#m7", "C#m712"},
        NameCase{"text before major stays in the name", "A ", "add9(major)", 3, 0, "Aadd9", "Aadd9 3"},
        NameCase{"variations past ninety nine take three characters", "Bb", "7", 105, 0, "Bb7", "Bb7105"},
        NameCase{"the tuning flag adds a star", "E ", "m", 2, 1, "Em", "Em 2"}),
    [](const auto& info) { return CaseName(info.param.name); });

TEST(PendingChordKeys, PlacedChordIsCutOutOfThePendingText) {
  CString pending = "G 1TUNE|Am 2TUNE|";
  RemovePendingChordKey(pending, "Am 2TUNE");
  EXPECT_STREQ(static_cast<LPCTSTR>(pending), "G 1TUNE||");
}

// ---- Lines that refuse a chord ----------------------------------------------------

struct RefusalCase {
  std::string name;
  int lineType;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class InsertChordRefused : public InsertChordFixture, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(InsertChordRefused, BeepsAndExplainsWithoutAskingOrChanging) {
  if (GetParam().lineType == 1) {
    Add(new KStaffLine(1, 0, 0));
  } else if (GetParam().lineType == 3) {
    Add(new KRhythmLine());
  } else {
    AddText("words");
  }
  Layout();
  Choose(Chord("G ", "(major)"));
  view->OnInsertChord();
  EXPECT_TRUE(requests.empty());
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{7078});
  EXPECT_EQ(ui.Beeps().size(), 1U);
  EXPECT_TRUE(UndoSteps().empty());
  EXPECT_EQ(Dump(0), "");
}

INSTANTIATE_TEST_SUITE_P(Lines, InsertChordRefused,
                         ::testing::Values(RefusalCase{"a bass staff", 1}, RefusalCase{"a rhythm line", 3},
                                           RefusalCase{"a text line", 5}),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---- Chord lines ------------------------------------------------------------------

class InsertChordOnChordLine : public InsertChordFixture {};

TEST_F(InsertChordOnChordLine, ChosenChordBecomesADiagramAtTheCaretWithOneUndoStep) {
  AddChordLine();
  Layout(0, 4);
  Choose(Chord("C#", "m7"));
  view->OnInsertChord();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].displayMode, 0);
  EXPECT_EQ(requests[0].stringCount, 6);
  EXPECT_EQ(Diagrams(0), "4:C#m7");
  EXPECT_EQ(UndoSteps(), (std::vector<UndoStep>{{0, 0, 0}, {8, 0, 0}}));
  EXPECT_GT(view->m_caretColumn, 4);
  EXPECT_TRUE(doc.IsModified());
}

// The columns a diagram covers on the line: its name or its picture.
int Covered(const KChordPicLine& line, int column) {
  const KChordPic* diagram = AsChordPic(line.GetObjAt(column, 0));
  return diagram == nullptr ? 0 : (line.GetDiagramExtent(*diagram) + 7) / 8;
}

TEST_F(InsertChordOnChordLine, DiagramsInsertedInARowOrInFrontOfAnotherDoNotCoverEachOther) {
  AddChordLine();
  Layout(0, 2);
  auto* line = dynamic_cast<KChordPicLine*>(List(0));
  ASSERT_NE(line, nullptr);
  // Three one-letter chords in a row: each starts past the picture before it.
  for (const char* root : {"G ", "C ", "D "}) {
    Choose(Chord(root, "(major)"));
    view->OnInsertChord();
  }
  std::vector<int> columns;
  for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;)
    columns.push_back(static_cast<const KPosObj*>(line->GetObjList()->GetNext(node))->GetPos());
  ASSERT_EQ(columns.size(), 3U);
  EXPECT_EQ(Diagrams(0).substr(0, 3), "2:G");
  for (std::size_t i = 1; i < columns.size(); ++i)
    EXPECT_GE(columns[i], columns[i - 1] + Covered(*line, columns[i - 1])) << Diagrams(0);
  EXPECT_GE(view->m_caretColumn, columns.back() + Covered(*line, columns.back()));

  // A chord put at the column of the first moves it, and the rest, clear of itself.
  view->m_caretColumn = columns[0];
  Choose(Chord("A ", "m"));
  view->OnInsertChord();
  std::vector<int> after;
  for (POSITION node = line->GetObjList()->GetHeadPosition(); node != nullptr;)
    after.push_back(static_cast<const KPosObj*>(line->GetObjList()->GetNext(node))->GetPos());
  ASSERT_EQ(after.size(), 4U);
  EXPECT_EQ(Diagrams(0).substr(0, 4), "2:Am");
  for (std::size_t i = 1; i < after.size(); ++i)
    EXPECT_GE(after[i], after[i - 1] + Covered(*line, after[i - 1])) << Diagrams(0);
  EXPECT_EQ(view->m_caretColumn, after[1]);
}

TEST_F(InsertChordOnChordLine, CancelledChoiceChangesNothing) {
  AddChordLine();
  Layout(0, 2);
  Choose(std::nullopt);
  view->OnInsertChord();
  EXPECT_EQ(requests.size(), 1U);
  EXPECT_EQ(Diagrams(0), "");
  EXPECT_TRUE(UndoSteps().empty());
  EXPECT_EQ(view->m_caretColumn, 2);
}

TEST_F(InsertChordOnChordLine, PendingChordLetterStartsTheChoiceOnThatRoot) {
  AddChordLine();
  Layout();
  view->m_pendingChordLetter = 'G';
  Choose(std::nullopt);
  view->OnInsertChord();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_STREQ(static_cast<LPCTSTR>(requests[0].initialKey), "G ");
}

TEST_F(InsertChordOnChordLine, ColouredModeOnAnEmptyLineMarksTheLineAndTheScore) {
  AddChordLine();
  Layout();
  KChordChoice choice = Chord("G ", "(major)");
  choice.displayMode = 2;
  Choose(choice);
  view->OnInsertChord();
  EXPECT_EQ(Line(0)->TestFlags(0x80000), 1);
  EXPECT_EQ(doc.UsesColor(), 1);
  // The next chord line without diagrams starts in the mode used last.
  AddChordLine();
  Layout(1);
  Choose(std::nullopt);
  view->OnInsertChord();
  EXPECT_EQ(requests.back().displayMode, 2);
}

TEST_F(InsertChordOnChordLine, TuningChosenInTheDialogBecomesTheScoresTabTuning) {
  AddChordLine();
  Layout();
  view->m_trebleTabTuning = viewtest::kGuitar;
  KChordChoice choice = Chord("D ", "(major)");
  choice.tuning = "D A D G B E  313742475156";
  Choose(choice);
  view->OnInsertChord();
  EXPECT_STREQ(static_cast<LPCTSTR>(view->m_trebleTabTuning), "D A D G B E  313742475156");
  ScoreSettings settings;
  doc.GetSettings(settings);
  EXPECT_STREQ(static_cast<LPCTSTR>(settings.tabTuning), "D A D G B E  313742475156");
  EXPECT_STREQ(static_cast<LPCTSTR>(dynamic_cast<KChordPicLine*>(Line(0))->GetTuning()),
               "D A D G B E  313742475156");
}

TEST_F(InsertChordOnChordLine, ChordLineInAGroupRecordsTheGroup) {
  const POSITION staff = Add(viewtest::MakeStaff({}));
  const POSITION chords = AddChordLine();
  Group(7, {staff, chords}, false);
  Layout(1);
  Choose(Chord("D ", "(major)"));
  view->OnInsertChord();
  EXPECT_EQ(UndoSteps(), (std::vector<UndoStep>{{1, 7, 0}, {8, 0, 0}}));
  EXPECT_EQ(Diagrams(1), "0:D");
}

TEST_F(InsertChordOnChordLine, WithoutDictionaryChordsTheDefaultChoiceCancels) {
  AddChordLine();
  Layout();
  view->OnInsertChord();
  EXPECT_EQ(Diagrams(0), "");
  EXPECT_TRUE(UndoSteps().empty());
}

// ---- Treble staff and tablature ---------------------------------------------------

class InsertChordOnNotes : public InsertChordFixture {};

TEST_F(InsertChordOnNotes, NoteColumnOfTheChordGoesInAtTheCaret) {
  Add(viewtest::MakeStaff({{0, 10}}));
  Layout(0, 3);
  KChordChoice choice = Chord("C ", "(major)");
  choice.column = std::make_shared<KChord>(0, 12, viewtest::kQuarter, 0);
  Choose(choice);
  view->OnInsertChord();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].displayMode, 1);
  EXPECT_EQ(Dump(0), "0:8@10 3:8@12");
  EXPECT_EQ(UndoSteps(), (std::vector<UndoStep>{{0, 0, 0}, {8, 0, 0}}));
  EXPECT_GT(view->m_caretColumn, 3);
}

TEST_F(InsertChordOnNotes, TablatureAsksWithItsOwnTuningInTabMode) {
  Add(viewtest::MakeTab({}));
  Layout();
  Choose(std::nullopt);
  view->OnInsertChord();
  ASSERT_EQ(requests.size(), 1U);
  EXPECT_EQ(requests[0].displayMode, 3);
  EXPECT_STREQ(static_cast<LPCTSTR>(requests[0].tuning), viewtest::kGuitar);
}

TEST_F(InsertChordOnNotes, ChordWithoutNotesBeepsAndLeavesTheStaff) {
  Add(viewtest::MakeStaff({{0, 10}}));
  Layout(0, 3);
  Choose(Chord("C ", "(major)"));
  view->OnInsertChord();
  EXPECT_EQ(ui.Beeps().size(), 1U);
  EXPECT_EQ(Dump(0), "0:8@10");
  EXPECT_TRUE(UndoSteps().empty());
}

}  // namespace

// ---- Through the command table ------------------------------------------------------

namespace {

class CommandRouting : public InsertChordFixture {};

TEST_F(CommandRouting, CtrlShiftCRunsInsertChordOnTheCurrentLine) {
  AddChordLine();
  Layout(0, 2);
  Choose(Chord("A ", "m"));
  EXPECT_TRUE(ExecuteViewCommand(*view, cmd::kInsertChord));
  EXPECT_EQ(Diagrams(0), "2:Am");
}

TEST_F(CommandRouting, PreviousObjectIdsReachTheCopy) {
  Add(viewtest::MakeStaff({{0, 10}, {1, 11}, {2, 12}}));
  Layout(0, 4);
  EXPECT_TRUE(ExecuteViewCommand(*view, cmd::kInsertPreviousFirst + 2));
  EXPECT_EQ(Dump(0), "0:8@10 1:8@11 2:8@12 4:8@10");
}

}  // namespace
