// The commands that change how lines look or are entered without changing
// their music: fret position, line indent and spacing, chord and tablature
// line appearance, bar numbering, line fonts, group independence and the
// view toggles kept with the score.

#include <string>

#include "StructureTestSupport.h"
#include "common/FontCodec.h"
#include "dialogs/KDlgCPLineProps.h"
#include "dialogs/KDlgSetBarNum.h"
#include "dialogs/KDlgSetFretPos.h"
#include "dialogs/KDlgStaffLineProps.h"
#include "lines/KRhythmLine.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

using namespace structtest;

using LineOptions = StructureFixture;

// ---- Set TAB Fret Position ------------------------------------------------------------

TEST_F(LineOptions, FretPositionWithoutASelectionAsksForOneUnlessTheOptionChanged) {
  AddText("title");
  Add(viewtest::MakeTab({0}));
  Open(1, 0);
  view->m_fretFromPrevious = 0;
  doc.SetModifiedFlag(FALSE);
  ui.AnswerDialog(KDlgSetFretPos::kTemplateId, IDOK);
  view->OnActionsSetTabFretPosition();
  EXPECT_EQ(ui.CountOf(7028), 1);
  EXPECT_FALSE(doc.IsModified());
  ui.AnswerDialog(KDlgSetFretPos::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetChecked(KDlgSetFretPos::kIdFromPrevious, 1);
    return IDOK;
  });
  view->OnActionsSetTabFretPosition();
  EXPECT_EQ(ui.CountOf(7028), 1);
  EXPECT_EQ(view->m_fretFromPrevious, 1);
  EXPECT_EQ(doc.settings.tabSpacing % 10, 1);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(LineOptions, FretPositionRefingersOnlyTheTablatureOfTheSelection) {
  AddText("title");
  const POSITION staff = Add(viewtest::MakeStaff({{0, 18}}));
  auto* tab = new KTabLine(0, kGuitar, 0);
  // A on the G string's second fret, and B on the G string's fourth.
  tab->GetObjList()->AddTail(new KChord(0, 4, KChord::kFirstFret + 2, viewtest::kTabRhythm));
  tab->GetObjList()->AddTail(new KChord(1, 4, KChord::kFirstFret + 4, viewtest::kTabRhythm));
  const POSITION tabPos = Add(tab);
  Group(2, {staff, tabPos}, true);
  Open(1, 0);
  Select(1, 2, 0, 2);
  const std::string staffBefore = Dump(1);
  ui.AnswerDialog(KDlgSetFretPos::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgSetFretPos::kIdFretPosition, "7");
    return IDOK;
  });
  view->OnActionsSetTabFretPosition();
  EXPECT_EQ(Dump(1), staffBefore);
  // At the seventh position both go to the D string: A at its seventh fret,
  // B at its ninth.
  EXPECT_EQ(Dump(2), "0:233@5 1:235@5");
}

// ---- Staff and Tab Line Indent and Spacing ---------------------------------------------

TEST_F(LineOptions, SpacingWithNoStaffKindCheckedChangesNoLine) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  Add(viewtest::MakeTab({}));
  Open(1, 0);
  ui.AnswerDialog(KDlgStaffLineProps::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetChecked(KDlgStaffLineProps::kIdMusical, 0);
    d.Controls().SetText(KDlgStaffLineProps::kIdAbove, "40");
    d.Controls().SetChecked(KDlgStaffLineProps::kIdSpacingAll, 1);
    return IDOK;
  });
  view->OnViewStaffLineProps();
  EXPECT_EQ(List(1)->GetSpaceAbove(0), g_staffSpaceAbove);
  EXPECT_EQ(List(2)->GetSpaceAbove(0), g_tabSpaceAbove);
}

TEST_F(LineOptions, TabSpacingForAllLinesReachesEveryTablatureLineOnly) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  Add(viewtest::MakeTab({}));
  Add(viewtest::MakeTab({}));
  Open(2, 0);
  ui.AnswerDialog(KDlgStaffLineProps::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgStaffLineProps::kIdBelow, "30");
    d.Controls().SetChecked(KDlgStaffLineProps::kIdSpacingAll, 1);
    d.Controls().SetChecked(KDlgStaffLineProps::kIdThisScore, 1);
    return IDOK;
  });
  view->OnViewStaffLineProps();
  EXPECT_EQ(List(1)->GetSpaceBelow(0), g_staffSpaceBelow);
  EXPECT_EQ(List(2)->GetSpaceBelow(0), 30);
  EXPECT_EQ(List(3)->GetSpaceBelow(0), 30);
  EXPECT_EQ(doc.settings.staffValue12, 30) << "the default below a new tablature line of this score";
  EXPECT_EQ(g_tabSpaceBelow, 30);
}

TEST_F(LineOptions, IndentOfAllLinesWithASelectionStillIndentsEveryLine) {
  AddText("title");
  AddText("one");
  AddText("two");
  Open(1, 0);
  Select(1, 1, 0, 2);
  ui.AnswerDialog(KDlgStaffLineProps::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgStaffLineProps::kIdIndent, "25");
    d.Controls().SetChecked(KDlgStaffLineProps::kIdIndentAll, 1);
    return IDOK;
  });
  view->OnViewStaffLineProps();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Line(i)->GetIndent(), 25) << "line " << i;
}

// ---- Chord and Tab Line Appearance ---------------------------------------------------

TEST_F(LineOptions, ChordLineAppearanceReachesTheSelectedChordLines) {
  AddText("title");
  AddChordLine();
  AddChordLine();
  Open(1, 0);
  ui.AnswerDialog(KDlgCPLineProps::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetChecked(KDlgCPLineProps::kIdSetVisibility, 1);
    d.Controls().SetChecked(KDlgCPLineProps::kIdAlwaysVisible, 1);
    d.Controls().SetText(KDlgCPLineProps::kIdWidth, "150");
    d.Controls().SetChecked(KDlgCPLineProps::kIdChangeType, 1);
    d.Controls().SetChecked(KDlgCPLineProps::kIdKeyboards, 1);
    return IDOK;
  });
  view->OnViewChordLineProps();
  auto* chords = dynamic_cast<KChordPicLine*>(Line(1));
  ASSERT_NE(chords, nullptr);
  EXPECT_EQ(chords->TestFlags(0x100), 1);
  EXPECT_EQ(chords->TestFlags(KChordPicLine::kFlagKeyboardPictures), 1);
  EXPECT_EQ(chords->GetDiagramWidthPct(), 150);
  EXPECT_EQ(view->m_diagramWidth, 150);
  EXPECT_EQ(doc.settings.diagramScale >> 8, 150);
  EXPECT_EQ(Line(2)->TestFlags(0x100), 0) << "a line outside the range";
}

struct DigitCase {
  const char* name;
  const char* typed;
  int wanted;
};
void PrintTo(const DigitCase& c, std::ostream* os) { *os << c.name; }

class DigitAdjust : public StructureFixture, public ::testing::WithParamInterface<DigitCase> {};

TEST_P(DigitAdjust, OutsideNineEitherWayIsIgnored) {
  AddText("title");
  Open(0, 0);
  view->m_tabDigitPosition = 2;
  view->m_options.tabDigitPlacement = 12 * 10;
  ui.AnswerDialog(KDlgCPLineProps::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgCPLineProps::kIdDigitAdjust, GetParam().typed);
    return IDOK;
  });
  view->OnViewChordLineProps();
  EXPECT_EQ(view->m_tabDigitPosition, GetParam().wanted);
  EXPECT_EQ(view->m_options.tabDigitPlacement / 10 - 10, GetParam().wanted);
}

INSTANTIATE_TEST_SUITE_P(Values, DigitAdjust,
                         ::testing::Values(DigitCase{"minus nine is taken", "-9", -9},
                                           DigitCase{"twelve leaves the old value", "12", 2}),
                         [](const ::testing::TestParamInfo<DigitCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

TEST_F(LineOptions, ANewTabLineSpacingMakesTablatureLinesTaller) {
  AddText("title");
  Add(viewtest::MakeTab({}));
  Open(1, 0);
  const int before = Entry(1).bottom - Entry(1).top;
  ui.AnswerDialog(KDlgCPLineProps::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgCPLineProps::kIdTabSpacing, "16");
    return IDOK;
  });
  view->OnViewChordLineProps();
  EXPECT_EQ(view->m_tabSpacing[0], 16);
  EXPECT_GT(Entry(1).bottom - Entry(1).top, before);
  EXPECT_EQ(doc.settings.tabSpacing / 10, 16);
}

// ---- Bar numbering ---------------------------------------------------------------------

TEST_F(LineOptions, ABarNumberSetOnAGroupedLineGoesToItsStaffAndTabLines) {
  AddText("title");
  const POSITION staff = Add(new KStaffLine(0, 0, 0));
  const POSITION tab = Add(viewtest::MakeTab({}));
  const POSITION chords = AddChordLine();
  Group(3, {staff, tab, chords}, false);
  Open(1, 0);
  ui.AnswerDialog(KDlgSetBarNum::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgSetBarNum::kIdBarNumber, "12");
    return IDOK;
  });
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewSetBarNumbering));
  EXPECT_EQ(List(1)->GetLayoutRow(), 12);
  EXPECT_EQ(List(2)->GetLayoutRow(), 12);
  EXPECT_EQ(List(3)->GetLayoutRow(), 0) << "chord lines keep theirs";
}

TEST_F(LineOptions, ABarNumberBelowMinusOneChangesNothingButTheUndoStepIsThere) {
  AddText("title");
  Add(new KStaffLine(0, 0, 0));
  Open(1, 0);
  ui.AnswerDialog(KDlgSetBarNum::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgSetBarNum::kIdBarNumber, "-2");
    return IDOK;
  });
  view->OnViewSetBarNumbering();
  EXPECT_EQ(List(1)->GetLayoutRow(), 0);
  ASSERT_FALSE(viewtest::UndoSteps().empty());
  EXPECT_EQ(viewtest::UndoSteps().front().kind, 2);
}

TEST_F(LineOptions, ShowBarNumberingTogglesAndIsKeptWithTheScore) {
  AddText("title");
  Open(0, 0);
  const int before = view->m_barNumbersShown;
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewBarNumbering));
  EXPECT_NE(view->m_barNumbersShown, before);
  EXPECT_EQ(doc.settings.tabDigitPlacement % 10, view->m_barNumbersShown);
}

// ---- Set Line Font ---------------------------------------------------------------------

class LineFont : public StructureFixture {
 protected:
  void ChooseHeight(int height) {
    ui.AnswerFontDialog([height](LOGFONT& font, COLORREF&) {
      font.lfHeight = height;
      return true;
    });
  }
  int FontOf(int displayLine) const { return dynamic_cast<KStrLine*>(Line(displayLine))->GetFontIndex(); }
};

TEST_F(LineFont, ATextLineThatAloneUsesItsFontHasItEditedInPlace) {
  AddText("title");
  Add(new KStrLine("words", 7));
  Open(0, 0);
  LOGFONT seven = view->m_textFonts[0];
  seven.lfHeight = 20;
  view->m_textFonts[7] = seven;
  doc.SetFontTable(1, std::span<const LOGFONT, CStavlinDoc::kFontArraySize>(view->m_textFonts));
  view->m_currentLine = 1;
  view->m_currentType = 5;
  view->m_currentFamily = 5;
  ChooseHeight(31);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewSetLineFont));
  EXPECT_EQ(FontOf(1), 7);
  EXPECT_EQ(view->m_textFonts[7].lfHeight, 31);
}

TEST_F(LineFont, AFontAnotherSlotHoldsIsShared) {
  AddText("title");
  Add(new KStrLine("one", 3));
  Add(new KStrLine("two", 0));
  Open(0, 0);
  LOGFONT three = view->m_textFonts[0];
  three.lfHeight = 27;
  view->m_textFonts[3] = three;
  doc.SetFontTable(1, std::span<const LOGFONT, CStavlinDoc::kFontArraySize>(view->m_textFonts));
  view->m_currentLine = 2;
  view->m_currentType = 5;
  ChooseHeight(27);
  view->OnViewSetLineFont();
  EXPECT_EQ(FontOf(2), 3);
}

TEST_F(LineFont, WhenEveryFontIsUsedTheCommandSaysSo) {
  AddText("title");
  for (int font = 1; font <= 40; ++font) Add(new KStrLine("x", font));
  Open(0, 0);
  ChooseHeight(20);
  view->OnViewSetLineFont();
  EXPECT_EQ(ui.CountOf(11000), 1);
  EXPECT_TRUE(ui.FontDialogs().empty());
}

TEST_F(LineFont, ARhythmLineTakesTheFontAndMakesItTheScores) {
  AddText("title");
  Add(new KRhythmLine(0, CString()));
  Open(1, 0);
  ChooseHeight(22);
  view->OnViewSetLineFont();
  auto* rhythm = dynamic_cast<KRhythmLine*>(Line(1));
  LOGFONT font{};
  StringToLogFont(rhythm->GetFontText(), font);
  EXPECT_EQ(font.lfHeight, 22);
  EXPECT_EQ(doc.settings.rhythmFont, rhythm->GetFontText());
}

// ---- Group independence and the view toggles ------------------------------------------

TEST_F(LineOptions, IndependenceTurnsTranslationOffAndBackOn) {
  AddText("title");
  Open(0, 0);
  view->m_mutualTranslation = 1;
  view->m_independentEditing = 0;
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kEditGroupLinesIndependently));
  EXPECT_EQ(view->m_independentEditing, 1);
  EXPECT_EQ(view->m_mutualTranslation, 0);
  EXPECT_EQ(ui.CountOf(8231), 1);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kEditGroupLinesIndependently));
  EXPECT_EQ(view->m_independentEditing, 0);
  EXPECT_EQ(view->m_mutualTranslation, 1);
  EXPECT_EQ(ui.CountOf(8232), 1);
}

TEST_F(LineOptions, LockedIndependenceDoesNothing) {
  AddText("title");
  Open(0, 0);
  view->m_independenceMode = 2;
  view->OnEditGroupLinesIndependently();
  EXPECT_EQ(view->m_independentEditing, 0);
}

TEST_F(LineOptions, MutualTranslationIsNotAChangeOfTheScore) {
  AddText("title");
  Open(0, 0);
  doc.SetModifiedFlag(FALSE);
  const int before = view->m_mutualTranslation;
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kOptionsMutualTranslation));
  EXPECT_NE(view->m_mutualTranslation, before);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(g_mutualTranslationForNewViews, view->m_mutualTranslation) << "new views start with it";
}

struct AdTabCase {
  const char* name;
  std::vector<UINT> commands;
  int bits;
  bool colour;
};
void PrintTo(const AdTabCase& c, std::ostream* os) { *os << c.name; }

class AdTabModes : public StructureFixture, public ::testing::WithParamInterface<AdTabCase> {};

TEST_P(AdTabModes, AreKeptInTheScoresSettings) {
  AddText("title");
  Open(0, 0);
  doc.SetUsesColor(0);
  for (UINT id : GetParam().commands) ASSERT_TRUE(ExecuteViewCommand(*view, id));
  EXPECT_EQ(doc.settings.adTabMode & 6, GetParam().bits);
  EXPECT_EQ(doc.UsesColor() != 0, GetParam().colour);
  EXPECT_EQ(view->m_adTabMode, static_cast<int>(GetParam().commands.back() - cmd::kViewAdTabNone));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AdTabModes,
    ::testing::Values(AdTabCase{"outline", {41169}, 2, false}, AdTabCase{"colour symbols", {41170}, 6, true},
                      AdTabCase{
                          "outline after colour symbols keeps the colour mark", {41170, 41169}, 2, true},
                      AdTabCase{"colour numbers only", {41171}, 4, true},
                      AdTabCase{"none", {41170, 41168}, 0, true}),
    [](const ::testing::TestParamInfo<AdTabCase>& info) { return viewtest::CaseName(info.param.name); });

TEST_F(LineOptions, BarsShownOrHiddenAreKeptWithTheScore) {
  AddText("title");
  Open(0, 0);
  const BYTE before = doc.settings.barFlags;
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewStatusBar));
  EXPECT_EQ(doc.settings.barFlags, before ^ 0x04);
  ASSERT_TRUE(ExecuteViewCommand(*view, cmd::kViewMainToolbar));
  EXPECT_EQ(doc.settings.barFlags, before ^ 0x05);
}

}  // namespace
