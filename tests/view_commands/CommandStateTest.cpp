// The enabling rules of the score view's commands: a table of view states
// with the command and how it must appear.

#include <gtest/gtest.h>

#include <string>

#include "ViewStateFixture.h"
#include "platform/StringTable.h"
#include "view/commands/CommandTable.h"

namespace {

using Setup = void (*)(ViewStateFixture&);

struct RuleCase {
  const char* name;
  Setup setup;
  UINT id;
  bool enabled;
  int check;  // -1 left alone
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

class CommandRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(CommandRule, AppearsAsTheRuleSays) {
  const RuleCase& c = GetParam();
  ViewStateFixture f;
  f.OnLineOfType(0);
  c.setup(f);
  const KCommandUi ui = QueryCommand(c.id, &f.view, KAppCommandState());
  EXPECT_EQ(ui.enabled, c.enabled) << "command " << c.id;
  EXPECT_EQ(ui.check, c.check) << "command " << c.id;
}

void Nothing(ViewStateFixture&) {}
void ReadOnly(ViewStateFixture& f) { f.view.m_readOnly = 1; }

const RuleCase kRuleCases[] = {
    // Check marks that follow one view value.
    {"NoteStyleChecksTheCurrentStyle", [](ViewStateFixture& f) { f.view.m_noteStyle = 3; }, 41331, true, 1},
    {"NoteStyleClearsTheOtherStyles", [](ViewStateFixture& f) { f.view.m_noteStyle = 3; }, 41328, true, 0},
    {"AlternateSymbolCheckedInAlternateMode", [](ViewStateFixture& f) { f.view.m_alternateSymbols = 1; },
     41336, true, 1},
    {"SymbolSizeCheckedWhenLarge", [](ViewStateFixture& f) { f.view.m_sizeIndex = 1; }, 41161, true, 1},
    {"AutoJoinChecksTheChosenMode", [](ViewStateFixture& f) { f.view.m_autoJoin = 4; }, 41312, true, 1},
    {"AutoJoinToggleCheckedOnlyWhenOff", [](ViewStateFixture& f) { f.view.m_autoJoin = 4; }, 41308, true, 0},
    {"OutwardStemsCheckedInStemMode2", [](ViewStateFixture& f) { f.view.m_stemDirection = 2; }, 41306, true,
     1},
    {"NoAutoStemsUncheckedInStemMode2", [](ViewStateFixture& f) { f.view.m_stemDirection = 2; }, 41307, true,
     0},
    {"AdTabColorNumbersCheckedInMode3", [](ViewStateFixture& f) { f.view.m_adTabMode = 3; }, 41171, true, 1},
    {"AdTabNoneUncheckedInMode3", [](ViewStateFixture& f) { f.view.m_adTabMode = 3; }, 41168, true, 0},
    {"ArrowCursorCheckedWhileSymbolCursorIsOff", [](ViewStateFixture&) { g_prefEntryOptions.cursorMode = 0; },
     41296, true, 1},
    {"AdvanceCaretFollowsTheProgramWideFlag",
     [](ViewStateFixture&) { g_prefEntryOptions.advanceAfterNote = 0; }, 41300, true, 0},
    {"ArrowsWithinStaffFollowsTheScoreSettings",
     [](ViewStateFixture& f) { f.view.m_options.arrowKeysWithinStaff = 1; }, 41301, true, 1},
    {"KeyboardSetsCursorUncheckedWhenOff", Nothing, 41297, true, 0},
    {"ReadOnlyCheckedInReadOnlyMode", ReadOnly, 41009, true, 1},
    {"MutualTranslationCheckedWhenOn", [](ViewStateFixture& f) { f.view.m_mutualTranslation = 1; }, 41303,
     true, 1},
    {"GroupIndependenceCheckedWhenOn", [](ViewStateFixture& f) { f.view.m_independentEditing = 1; }, 31463,
     true, 1},
    {"JoinTailsCheckedWhileJoining", [](ViewStateFixture& f) { f.view.m_joinTails = 1; }, 41248, true, 1},
    {"ChordDiagramsUncheckedWhenHidden", [](ViewStateFixture& f) { f.view.m_chordDiagramsShown = 0; }, 41133,
     true, 0},
    {"PageBreaksCheckedWhenShown", [](ViewStateFixture& f) { f.view.m_pageMarks = 1; }, 41166, true, 1},
    {"TextBiggerCheckedAboveTheOriginalSize",
     [](ViewStateFixture& f) {
       f.view.m_baseFontHeight[0] = 16;
       f.view.m_textFonts[0].lfHeight = 18;
     },
     41154, true, 1},
    {"TextOriginalUncheckedAboveTheOriginalSize",
     [](ViewStateFixture& f) {
       f.view.m_baseFontHeight[0] = 16;
       f.view.m_textFonts[0].lfHeight = 18;
     },
     41156, true, 0},

    // Commands enabled whatever the mode.
    {"TransposeEnabledEvenWhenReadOnly", ReadOnly, 41251, true, -1},
    {"TuningEnabledEvenWhenReadOnly", ReadOnly, 41217, true, -1},

    // Enabling by line family, selection and read-only mode.
    {"FretPositionDisabledOnAStaffWithoutSelection", Nothing, 41218, false, -1},
    {"FretPositionEnabledOnATabLine", [](ViewStateFixture& f) { f.OnLineOfType(15); }, 41218, true, -1},
    {"FretPositionEnabledWithASelection", [](ViewStateFixture& f) { f.Select(); }, 41218, true, -1},
    {"AutoSaveDisabledWhenReadOnly",
     [](ViewStateFixture& f) {
       f.view.m_readOnly = 1;
       f.view.m_autosaveInterval = 20;
     },
     40962, false, -1},
    {"AutoSaveCheckedWhileAutosaving", [](ViewStateFixture& f) { f.view.m_autosaveInterval = 20; }, 40962,
     true, 1},
    {"AutoSaveUncheckedWhenOff", Nothing, 40962, true, 0},
    {"UnjoinEnabledWithASelectionOnAStaff", [](ViewStateFixture& f) { f.Select(); }, 41249, true, -1},
    {"UnjoinDisabledOnAChordLine",
     [](ViewStateFixture& f) {
       f.OnLineOfType(4);
       f.Select();
     },
     41249, false, -1},
    {"UnjoinDisabledWhenReadOnly",
     [](ViewStateFixture& f) {
       f.Select();
       f.view.m_readOnly = 1;
     },
     41249, false, -1},
    {"HideLineDisabledWithOneLine", Nothing, 41178, false, -1},
    {"HideLineEnabledWithTwoLines",
     [](ViewStateFixture& f) {
       f.SetLines({0, 5});
     },
     41178, true, -1},
    {"InsertLineDisabledWhilePlacingAnAttachment",
     [](ViewStateFixture& f) { f.view.m_pendingExtendedObject = 41088; }, 41041, false, -1},
    {"InsertLineDisabledWhenReadOnly", ReadOnly, 41054, false, -1},
    {"InsertLineEnabledOtherwise", Nothing, 41040, true, -1},
    {"BracketEnabledOnATextLine", [](ViewStateFixture& f) { f.OnLineOfType(5); }, 41093, true, -1},
    {"TextStringEnabledOnATextLineWhilePlacing",
     [](ViewStateFixture& f) {
       f.OnLineOfType(5);
       f.view.m_pendingExtendedObject = 41088;
     },
     41095, true, -1},
    {"TieDisabledOnATextLine", [](ViewStateFixture& f) { f.OnLineOfType(5); }, 41088, false, -1},
    {"TextStringDisabledOnAReadOnlyTextLine",
     [](ViewStateFixture& f) {
       f.OnLineOfType(5);
       f.view.m_readOnly = 1;
     },
     41095, false, -1},
    {"TieDisabledWhilePlacingAnother", [](ViewStateFixture& f) { f.view.m_pendingExtendedObject = 41090; },
     41088, false, -1},
    {"PreviousObjectEnabledOnAChordLine", [](ViewStateFixture& f) { f.OnLineOfType(4); }, 41465, true, -1},
    {"PreviousObjectDisabledOnARhythmLine", [](ViewStateFixture& f) { f.OnLineOfType(3); }, 41441, false, -1},
    {"KeySignatureEnabledOnATabLine", [](ViewStateFixture& f) { f.OnLineOfType(2); }, 41073, true, -1},
    {"TimeSignatureDisabledOnARhythmLine", [](ViewStateFixture& f) { f.OnLineOfType(3); }, 41074, false, -1},
    {"BarNumberingDisabledWhenReadOnly", ReadOnly, 31468, false, -1},
    {"LineFontEnabledOnATextLine", [](ViewStateFixture& f) { f.OnLineOfType(5); }, 41157, true, -1},
    {"LineFontDisabledOnAStaff", Nothing, 41157, false, -1},
    {"ScrollFasterDisabledWhenNotScrolling", Nothing, 41292, false, -1},
    {"ScrollSlowerEnabledWhileScrolling", [](ViewStateFixture& f) { f.view.m_autoScroll = 1; }, 41291, true,
     -1},
    {"ScrollToggleCheckedWhileScrolling", [](ViewStateFixture& f) { f.view.m_autoScroll = 1; }, 41290, true,
     1},
    {"WrapMusicNeedsASelection", Nothing, 41250, false, -1},
    {"EvenSpacingEnabledOnATabLine", [](ViewStateFixture& f) { f.OnLineOfType(2); }, 31469, true, -1},
    {"EvenSpacingDisabledOnATextLineWithoutSelection", [](ViewStateFixture& f) { f.OnLineOfType(5); }, 31469,
     false, -1},
    {"ContinuousSpacingDisabledWhileOn", [](ViewStateFixture& f) { f.view.m_evenSpacingContinuous = 1; },
     31472, false, -1},
    {"ChordDisabledOnATextLine", [](ViewStateFixture& f) { f.OnLineOfType(5); }, 41072, false, -1},
    {"ChordEnabledOnAChordLine", [](ViewStateFixture& f) { f.OnLineOfType(4); }, 41072, true, -1},
    {"LineGroupDisabledWhenReadOnly", ReadOnly, 41075, false, -1},

    // Undo and the clipboard.
    {"UndoEnabledWithARecordToRestore", [](ViewStateFixture& f) { f.view.m_undoCurrent = 3; }, 57643, true,
     -1},
    {"UndoDisabledAtTheOldestRecord", Nothing, 57643, false, -1},
    {"UndoDisabledWhenUndoIsOff",
     [](ViewStateFixture& f) {
       f.view.m_undoCurrent = 3;
       f.view.m_undoEnabled = 0;
     },
     57643, false, -1},
    {"RedoEnabledWhenAStepIsAvailable", [](ViewStateFixture& f) { f.view.m_redoAvailable = 1; }, 41008, true,
     -1},
    {"CopyDisabledWithoutSelection", Nothing, 57634, false, -1},
    {"CutEnabledWithASelection", [](ViewStateFixture& f) { f.Select(); }, 57635, true, -1},
    {"RemoveEnabledForWholeSelectedLines",
     [](ViewStateFixture& f) {
       f.SetLines({0, 5});
       f.view.m_selFirstLine = 0;
       f.view.m_selLastLine = 1;
     },
     41010, true, -1},
    {"DeleteDisabledWithoutEmbeddedObjects", [](ViewStateFixture& f) { f.Select(); }, 57632, false, -1},
    {"InsertNewObjectAlwaysDisabled", Nothing, 57856, false, -1},
};

INSTANTIATE_TEST_SUITE_P(Rules, CommandRule, ::testing::ValuesIn(kRuleCases),
                         [](const ::testing::TestParamInfo<RuleCase>& info) {
                           return std::string(info.param.name);
                         });

// ---- Line Types To Show ----------------------------------------------------------------

TEST(LineTypesToShow, OnlyTrebleStavesDisableTheTrebleEntryAndLeaveItsCheck) {
  ViewStateFixture f;
  f.SetLines({0, 0, 0});
  const KCommandUi treble = QueryCommand(41124, &f.view, KAppCommandState());
  EXPECT_FALSE(treble.enabled);
  EXPECT_EQ(treble.check, -1);
  for (UINT id : {41120u, 41125u, 41126u, 41127u, 41128u, 41129u, 41130u, 41131u, 41132u, 41122u, 41123u,
                  41135u, 41134u, 41121u}) {
    EXPECT_TRUE(QueryCommand(id, &f.view, KAppCommandState()).enabled) << "command " << id;
  }
}

TEST(LineTypesToShow, ShownTypeWithOtherLinesIsCheckedAndHiddenTypeUnchecked) {
  ViewStateFixture f;
  f.SetLines({0, 5});
  f.view.m_show[1] = 0;
  EXPECT_EQ(QueryCommand(41124, &f.view, KAppCommandState()).check, 1);
  const KCommandUi bass = QueryCommand(41125, &f.view, KAppCommandState());
  EXPECT_TRUE(bass.enabled);
  EXPECT_EQ(bass.check, 0);
}

TEST(LineTypesToShow, WithShowAllEachEntryFollowsItsOwnFlag) {
  ViewStateFixture f;
  f.SetLines({0, 5});
  f.view.m_show[8] = 1;
  f.view.m_show[5] = 0;
  EXPECT_EQ(QueryCommand(41119, &f.view, KAppCommandState()).check, 1);
  EXPECT_EQ(QueryCommand(41120, &f.view, KAppCommandState()).check, 0);
}

TEST(LineTypesToShow, AllTablatureDisabledWhenOnlyTablatureShows) {
  ViewStateFixture f;
  f.SetLines({2, 15, 2});
  EXPECT_FALSE(QueryCommand(41121, &f.view, KAppCommandState()).enabled);
  f.SetLines({2, 0});
  EXPECT_EQ(QueryCommand(41121, &f.view, KAppCommandState()).check, 1);
  f.view.m_show[15] = 0;
  const KCommandUi partly = QueryCommand(41121, &f.view, KAppCommandState());
  EXPECT_TRUE(partly.enabled);
  EXPECT_EQ(partly.check, 0);
}

// ---- Changing texts ------------------------------------------------------------------------

TEST(CommandTexts, LabelIndentTextFollowsTheCurrentLine) {
  ViewStateFixture f;
  f.SetLines({0, 5});
  EXPECT_EQ(QueryCommand(41182, &f.view, KAppCommandState()).text, LoadString(8243));
  EXPECT_EQ(QueryCommand(41180, &f.view, KAppCommandState()).check, 0);
  f.view.GetDisplayLineObj(0)->SetFlagValue(16, 1);
  EXPECT_EQ(QueryCommand(41182, &f.view, KAppCommandState()).text, LoadString(8244));
  EXPECT_EQ(QueryCommand(41180, &f.view, KAppCommandState()).check, 1);
}

TEST(CommandTexts, UndoSwitchSaysWhetherUndoIsOn) {
  ViewStateFixture f;
  EXPECT_EQ(QueryCommand(41014, &f.view, KAppCommandState()).text,
            CString("Dis&able Undo (Undo IS enabled now)"));
  f.view.m_undoEnabled = 0;
  EXPECT_EQ(QueryCommand(41014, &f.view, KAppCommandState()).text,
            CString("En&able Undo (Undo IS NOT enabled now)"));
}

// ---- Clipboard --------------------------------------------------------------------------

TEST(ClipboardCommands, PasteTakesScoreDataOrPlainText) {
  ViewStateFixture f;
  KAppCommandState app;
  EXPECT_FALSE(QueryCommand(57637, &f.view, app).enabled);
  EXPECT_FALSE(QueryCommand(41012, &f.view, app).enabled);
  app.clipboardHasText = true;
  EXPECT_TRUE(QueryCommand(57637, &f.view, app).enabled);
  EXPECT_TRUE(QueryCommand(41012, &f.view, app).enabled);
  app = KAppCommandState();
  app.clipboardHasScore = true;
  EXPECT_TRUE(QueryCommand(41012, &f.view, app).enabled);
}

// ---- Without a score ---------------------------------------------------------------------

TEST(NoScoreOpen, OnlyCommandsThatNeedNoScoreAreEnabled) {
  KAppCommandState app;
  app.clipboardHasText = true;
  for (UINT id : {40960u, 57601u, 40961u, 40977u, 40964u, 57665u, 57616u, 41508u, 57664u, 59392u, 41185u}) {
    EXPECT_TRUE(QueryCommand(id, nullptr, app).enabled) << "command " << id;
  }
  for (UINT id : {57603u, 57604u, 57607u, 57637u, 41258u, 41259u, 41041u, 41009u, 41119u, 57643u}) {
    EXPECT_FALSE(QueryCommand(id, nullptr, app).enabled) << "command " << id;
  }
}

TEST(NoScoreOpen, FrameCommandsCheckWhatTheFrameShows) {
  ViewStateFixture restore;  // restores the preferences it changes
  KAppCommandState app;
  app.extraToolbarShown = false;
  app.toolBoxShown[17] = true;
  app.midiImportMethod = 0;
  g_prefToolViewOptions.clock = 1;
  EXPECT_EQ(QueryCommand(41205, nullptr, app).check, 0);
  EXPECT_EQ(QueryCommand(41202, nullptr, app).check, 1);
  EXPECT_EQ(QueryCommand(41203, nullptr, app).check, 0);
  EXPECT_EQ(QueryCommand(41184, nullptr, app).check, 0);
  EXPECT_EQ(QueryCommand(40968, nullptr, app).check, 0);
  EXPECT_EQ(QueryCommand(40969, nullptr, app).check, 1);
  EXPECT_EQ(QueryCommand(41206, nullptr, app).check, 1);
  app.toolBoxShown[1] = true;
  EXPECT_EQ(QueryCommand(41184, &restore.view, app).check, 1);
}

}  // namespace
