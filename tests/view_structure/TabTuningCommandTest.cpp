// Actions/Set TAB and Chord Diagram Tuning: retuning in place and by
// translation, the lines it reaches, two-part instruments, the default of new
// lines and the user's saved tunings.

#include <string>

#include "StructureTestSupport.h"
#include "dialogs/KDlgTabTuning.h"
#include "dialogs/UserTuningStore.h"
#include "platform/SettingsStore.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace structtest;

constexpr const char* kDadgad = "D A D G A D  303742474954";
constexpr int kDadgadEntry = 13;
constexpr int kStickMelody = 51;
constexpr int kStickBass = 52;
constexpr UINT kDialog = KDlgTabTuning::kTemplateId;

class TuningCommand : public StructureFixture {
 protected:
  // The dialog's answer: the list entry, then the script's own changes.
  void Choose(int entry, std::function<void(KDlgTabTuning&)> more = {}) {
    ui.AnswerDialog(kDialog, [entry, more](KModalDialog& d) {
      auto& dlg = static_cast<KDlgTabTuning&>(d);
      dlg.Controls().Select(KDlgTabTuning::kIdList, entry);
      if (more) more(dlg);
      return IDOK;
    });
  }
  std::string TuningOf(int displayLine) const {
    if (auto* tab = dynamic_cast<KTabLine*>(Line(displayLine))) return std::string(tab->GetTuning().View());
    if (auto* chords = dynamic_cast<KChordPicLine*>(Line(displayLine)))
      return std::string(chords->GetTuning().View());
    return {};
  }
  // A tablature line with fret 1 on the B string (row 3) at column 0.
  KTabLine* TabWithNote() {
    auto* tab = new KTabLine(0, kGuitar, 0);
    tab->GetObjList()->AddTail(new KChord(0, 3, KChord::kFirstFret + 1, viewtest::kTabRhythm));
    return tab;
  }

  KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
};

TEST_F(TuningCommand, RetuningInPlaceKeepsTheFretsAndChangesTheStrings) {
  AddText("title");
  Add(TabWithNote());
  AddChordLine();
  Open(1, 0);
  Choose(kDadgadEntry);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kActionsTabTuning));
  EXPECT_EQ(TuningOf(1), kDadgad);
  EXPECT_EQ(Dump(1), "0:227@3");
  EXPECT_EQ(TuningOf(2), kGuitar) << "only the caret's line";
  ASSERT_FALSE(viewtest::UndoSteps().empty());
  EXPECT_EQ(viewtest::UndoSteps().front(), (viewtest::UndoStep{6, 1, 0}));
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(TuningCommand, TranslatingCarriesEveryNoteAtItsPitch) {
  AddText("title");
  Add(TabWithNote());
  Open(1, 0);
  Choose(kDadgadEntry, [](KDlgTabTuning& dlg) {
    dlg.Controls().SetChecked(KDlgTabTuning::kIdTranslate, 1);
    dlg.Controls().SetChecked(KDlgTabTuning::kIdPlacementFirst, 1);
  });
  view->OnActionsSetTabAndChordDiagramTuning();
  ASSERT_EQ(doc.GetLineCount(), 2);
  auto* tab = dynamic_cast<KTabLine*>(DocLine(1));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(std::string(tab->GetTuning().View()), kDadgad);
  // C on the B string's first fret is the third fret of the A string.
  auto* column = dynamic_cast<KChord*>(tab->GetObjAt(0, 0));
  ASSERT_NE(column, nullptr);
  ASSERT_EQ(column->GetNoteCount(), 1);
  EXPECT_EQ(tab->GetPitchAt(column->GetNote(0).position % 10, column->GetNote(0).code), 52);
}

TEST_F(TuningCommand, ATranslatedLineGoesAboveTheOldOneWhenAsked) {
  AddText("title");
  Add(TabWithNote());
  Open(1, 0);
  Choose(kDadgadEntry, [](KDlgTabTuning& dlg) {
    dlg.Controls().SetChecked(KDlgTabTuning::kIdTranslate, 1);
    dlg.Controls().SetChecked(KDlgTabTuning::kIdPlacementFirst + 1, 1);
  });
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(Kinds(), "5 2 2");
  EXPECT_EQ(std::string(dynamic_cast<KTabLine*>(DocLine(1))->GetTuning().View()), kDadgad);
  EXPECT_EQ(std::string(dynamic_cast<KTabLine*>(DocLine(2))->GetTuning().View()), kGuitar);
}

TEST_F(TuningCommand, OnATextLineNoLineChangesAndTheTuningBecomesTheDefault) {
  AddText("title");
  Add(TabWithNote());
  Open(0, 0);
  Choose(kDadgadEntry);
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(TuningOf(1), kGuitar);
  EXPECT_EQ(std::string(view->m_trebleTabTuning.View()), kDadgad);
  EXPECT_EQ(std::string(doc.settings.tabTuning.View()), kDadgad);
  view->m_currentLine = 1;
  view->InsertLineOfType(2, 0);
  EXPECT_EQ(std::string(dynamic_cast<KTabLine*>(DocLine(2))->GetTuning().View()), kDadgad);
}

TEST_F(TuningCommand, ASelectionRetunesItsTablatureAndChordLinesOnly) {
  AddText("title");
  Add(TabWithNote());
  AddChordLine();
  Add(TabWithNote());
  Add(TabWithNote());
  Open(1, 0);
  Select(3, 1, 0, 2);
  Choose(kDadgadEntry);
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(TuningOf(1), kDadgad);
  EXPECT_EQ(TuningOf(2), kDadgad);
  EXPECT_EQ(TuningOf(3), kDadgad);
  EXPECT_EQ(TuningOf(4), kGuitar);
}

TEST_F(TuningCommand, ABassTuningMakesBassTablatureAndTheGroupKnows) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(TabWithNote());
  KLineGroup* group = Group(3, {staff, tab}, true);
  Open(2, 0);
  Choose(19);
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(Line(2)->GetType(), 15);
  EXPECT_EQ(Line(2)->TestFlags(KTabLine::kFlagBass), 1);
  EXPECT_EQ(group->GetSlotType(1), 15);
  EXPECT_EQ(Entry(2).type, 15);
}

TEST_F(TuningCommand, ATablatureLineWithoutATuningOpensOnStandardTuning) {
  AddText("title");
  Add(new KTabLine(0, "x", 0));
  Open(1, 0);
  std::string shown;
  ui.AnswerDialog(kDialog, [&shown](KModalDialog& d) {
    shown = std::string(static_cast<KDlgTabTuning&>(d).tuning.View());
    return IDCANCEL;
  });
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(shown, kGuitar);
  EXPECT_TRUE(viewtest::UndoSteps().empty()) << "cancel changes nothing";
}

struct PartCase {
  const char* name;
  const char* label;
  const char* wanted;
};
void PrintTo(const PartCase& c, std::ostream* os) { *os << c.name; }

class MelodyPart : public TuningCommand, public ::testing::WithParamInterface<PartCase> {};

TEST_P(MelodyPart, IsLabelledAsTheUpperPart) {
  AddText("title");
  KTabLine* tab = TabWithNote();
  tab->SetLabel(GetParam().label);
  Add(tab);
  Open(1, 0);
  Choose(kStickMelody);
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(std::string(Line(1)->GetLabelName().View()), GetParam().wanted);
  EXPECT_EQ(Line(1)->TestFlags(0x200), 1);
}

INSTANTIATE_TEST_SUITE_P(Labels, MelodyPart,
                         ::testing::Values(PartCase{"unlabelled", "", "Tab-T"},
                                           PartCase{"a named line keeps its name", "Guitar", "Guitar,Tab-T"}),
                         [](const ::testing::TestParamInfo<PartCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST_F(TuningCommand, TheBassPartUnderTheMelodyPartJoinsItInAGroupWithThePairedTuning) {
  AddText("title");
  KTabLine* melody = TabWithNote();
  melody->SetLabel("Tab-T");
  Add(melody);
  Add(TabWithNote());
  Open(2, 0);
  Choose(kStickBass);
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(std::string(Line(2)->GetLabelName().View()), "Tab-B");
  EXPECT_NE(Line(1)->GetGroupId(), KLineObj::kNoGroup);
  EXPECT_EQ(Line(1)->GetGroupId(), Line(2)->GetGroupId());
  EXPECT_EQ(std::string(doc.settings.tabTuningFull.View()), std::string(kGuitar) + "!@!" + TuningOf(2));
}

TEST_F(TuningCommand, RemovingASavedTuningChangesNoLine) {
  ASSERT_TRUE(user_tunings::WriteStore("^D A D G B E  303742475156-Drop^D A D G A D  303742474954-Modal"));
  AddText("title");
  Add(TabWithNote());
  Open(1, 0);
  ui.AnswerDialog(kDialog, [](KModalDialog& d) {
    auto& dlg = static_cast<KDlgTabTuning&>(d);
    dlg.Controls().Select(KDlgTabTuning::kIdList, 73);
    dlg.Controls().SetChecked(KDlgTabTuning::kIdSaveTuning, 1);
    return IDOK;
  });
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(std::string(user_tunings::ReadStore().View()), "^D A D G A D  303742474954-Modal");
  EXPECT_EQ(TuningOf(1), kGuitar);
  EXPECT_TRUE(viewtest::UndoSteps().empty());
}

TEST_F(TuningCommand, SavingATuningAddsItToTheStore) {
  AddText("title");
  Add(TabWithNote());
  Open(1, 0);
  Choose(kDadgadEntry, [](KDlgTabTuning& dlg) {
    dlg.Controls().SetChecked(KDlgTabTuning::kIdSaveTuning, 1);
    dlg.Controls().SetText(KDlgTabTuning::kIdSaveName, "Celtic");
  });
  view->OnActionsSetTabAndChordDiagramTuning();
  EXPECT_EQ(std::string(user_tunings::ReadStore().View()), std::string("^") + kDadgad + "-Celtic");
  EXPECT_EQ(TuningOf(1), kDadgad);
}

}  // namespace

namespace {

// Tablature bracketed with a staff: the dialog opens with Translate ticked,
// so its defaults keep the tablature on the staff's notes; unticking it asks
// first, and No keeps the frets as asked.
class BracketedTuning : public TuningCommand {
 protected:
  void SetUp() override {
    TuningCommand::SetUp();
    const POSITION staff = Add(viewtest::MakeStaff({{0, 18}}));
    const POSITION tab = Add(TabWithNote());
    Group(1, {staff, tab}, true);
    Open(1, 0);
  }
  // The pitch of the tablature's note at column 0.
  int TabPitch() const {
    auto* tab = dynamic_cast<KTabLine*>(Line(1));
    auto* column = tab != nullptr ? dynamic_cast<KChord*>(tab->GetObjAt(0, 0)) : nullptr;
    if (column == nullptr || column->GetNoteCount() == 0) return -1;
    return tab->GetPitchAt(column->GetNote(0).position, column->GetNote(0).code);
  }
};

TEST_F(BracketedTuning, TheDialogsDefaultsTranslateTheFingering) {
  const int before = TabPitch();
  int translateShown = -1;
  ui.AnswerDialog(kDialog, [&](KModalDialog& d) {
    auto& dlg = static_cast<KDlgTabTuning&>(d);
    translateShown = dlg.Controls().Checked(KDlgTabTuning::kIdTranslate);
    dlg.Controls().Select(KDlgTabTuning::kIdList, kDadgadEntry);
    return IDOK;
  });
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kActionsTabTuning));
  EXPECT_EQ(translateShown, 1);
  EXPECT_EQ(TuningOf(1), kDadgad);
  EXPECT_EQ(TabPitch(), before);
  EXPECT_EQ(doc.GetLineCount(), 2) << "the translation takes the old line's place";
  EXPECT_TRUE(ui.Messages().empty());
}

class KeepFrets : public BracketedTuning, public ::testing::WithParamInterface<int> {};

TEST_P(KeepFrets, AsksFirstAndYesTranslates) {
  const int answer = GetParam();
  const int before = TabPitch();
  ui.Answer(0, answer);
  Choose(kDadgadEntry, [](KDlgTabTuning& dlg) { dlg.Controls().SetChecked(KDlgTabTuning::kIdTranslate, 0); });
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kActionsTabTuning));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_NE(ui.Messages()[0].text.find("bracketed with a staff"), std::string::npos);
  EXPECT_EQ(TuningOf(1), kDadgad);
  if (answer == IDYES) {
    EXPECT_EQ(TabPitch(), before);
  } else {
    EXPECT_EQ(Dump(1), "0:227@3") << "the frets kept, as the user chose";
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, KeepFrets, ::testing::Values(IDYES, IDNO),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == IDYES ? std::string("Yes") : std::string("No");
                         });

}  // namespace
