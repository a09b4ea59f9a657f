// Actions/Translate Current or Selected Line(s): lines become lines of the
// target type, placed and grouped by the translation options; a staff
// translated to tablature and back keeps its pitches; a keyboard staff can
// become one merged line; rows of text tablature become a tablature line;
// the Settings dialog changes the options and stores them when asked.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TranslateFixture.h"
#include "dialogs/KDlgTranslation.h"
#include "model/KExtendedObj.h"
#include "platform/ProgressPort.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"

namespace {

using viewtest::UndoStep;
using viewtest::UndoSteps;

constexpr int kSharp = 28;

// E4 G4 F#4 B4 C5 E5 as quarter notes.
KStaffLine* Melody() {
  KStaffLine* staff = viewtest::MakeStaff({{0, 22}, {1, 20}, {2, 21}, {3, 18}, {4, 17}, {5, 15}});
  CObList* columns = staff->GetObjList();
  POSITION node = columns->FindIndex(2);
  static_cast<KChord*>(columns->GetAt(node))->AddNote(21, kSharp);
  return staff;
}

class TranslateLines : public viewtest::TranslateFixture {
 protected:
  void SetUp() override {
    TranslateFixture::SetUp();
    store_ = std::make_unique<KSettingsStoreScope>(std::make_unique<KMemorySettingsStore>());
  }
  void TearDown() override {
    store_.reset();
    TranslateFixture::TearDown();
  }

 private:
  std::unique_ptr<KSettingsStoreScope> store_;
};

TEST_F(TranslateLines, AStaffTranslatedToTablatureAndBackKeepsItsPitches) {
  Add(Melody());
  Layout(0);
  const std::string melody = Pitches(Line(0));
  ASSERT_EQ(melody, "E4 G4 F#4 B4 C5 E5");

  ASSERT_TRUE(Run(viewtest::kToTab));
  // Below the staff, grouped with it, the two translating into each other.
  ASSERT_EQ(Types(), "0 2");
  EXPECT_EQ(Pitches(Line(1)), melody);
  EXPECT_EQ(view->GetCurrentLine(), 1);
  const int groupId = Line(0)->GetGroupId();
  ASSERT_NE(groupId, KLineObj::kNoGroup);
  EXPECT_EQ(Line(1)->GetGroupId(), groupId);
  const KLineGroup* group = doc.FindLineGroup(groupId);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotBracket(0, 1), 1);
  EXPECT_EQ(group->GetSlotBracket(1, 1), 1);
  EXPECT_EQ(UndoSteps().front(), (UndoStep{6, 0, 0}));

  ASSERT_TRUE(Run(viewtest::kToTreble));
  ASSERT_EQ(Types(), "0 2 0");
  EXPECT_EQ(Pitches(Line(2)), melody);
}

TEST_F(TranslateLines, ReplaceLeavesTheTranslatedLinesInTheirPlaces) {
  g_prefTranslation.options[1] = 2;
  Add(Melody());
  Add(viewtest::MakeStaff({{0, 20}}));
  Add(viewtest::MakeStaff({{0, 17}}));
  Layout(0);
  SelectLines(0, 2);
  ASSERT_TRUE(Run(viewtest::kToTab));
  ASSERT_EQ(Types(), "2 2 2");
  EXPECT_EQ(Pitches(Line(0)), "E4 G4 F#4 B4 C5 E5");
  EXPECT_EQ(Pitches(Line(1)), "G4");
  EXPECT_EQ(Pitches(Line(2)), "C5");
  EXPECT_EQ(UndoSteps().front().kind, 4);
}

TEST_F(TranslateLines, LinesOfTheTargetTypeAndDrumsAreLeftAlone) {
  g_prefTranslation.options[2] = 0;
  Add(Melody());
  Add(new KStaffLine(13, 0, 0));
  Layout(0);
  SelectLines(0, 1);
  ASSERT_TRUE(Run(viewtest::kToTreble));
  EXPECT_EQ(Types(), "0 13");
}

// After a MIDI import every staff not yet grouped gets its tablature line.
TEST_F(TranslateLines, ConvertingAScoreToTablatureGivesEachLoneStaffItsTabLine) {
  Add(Melody());
  auto* bass = new KStaffLine(1, 0, 0);
  bass->GetObjList()->AddTail(new KChord(0, 15, viewtest::kQuarter, 0));
  bass->UpdateTimeSigCache();
  Add(bass);
  const POSITION grouped = Add(viewtest::MakeStaff({{0, 18}}));
  const POSITION partner = AddText("words");
  Group(3, {grouped, partner}, false);
  Layout(0);
  view->ConvertToTablature(0);
  ASSERT_EQ(Types(), "0 2 1 15 0 5");
  EXPECT_EQ(Pitches(Line(1)), Pitches(Line(0)));
  EXPECT_EQ(Pitches(Line(3)), Pitches(Line(2)));
  EXPECT_EQ(std::string(static_cast<KTabLine*>(Line(3))->GetTuning().View()), "  E A D G   *002025303500");
  for (int i : {0, 2}) {
    EXPECT_NE(Line(i)->GetGroupId(), KLineObj::kNoGroup);
    EXPECT_EQ(Line(i)->GetGroupId(), Line(i + 1)->GetGroupId());
  }
}

// The conversion shows its progress window and polls it between staves; a
// stop leaves the staves converted so far with their tablature lines and the
// rest as they were.
class TablatureProgress : public ProgressPort {
 public:
  void Open(const CString& text) override {
    texts.push_back(text.Str());
    open = true;
  }
  void Close() override { open = false; }
  bool PollStop() override { return ++polls == stopAt; }
  std::vector<std::string> texts;
  bool open = false;
  int polls = 0;
  int stopAt = 0;
};

struct StopCase {
  const char* name;
  int stopAt;  // the poll that asks to stop (0: none)
  const char* types;
};
void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }

class ConvertToTablatureStop : public TranslateLines, public ::testing::WithParamInterface<StopCase> {};

TEST_P(ConvertToTablatureStop, StopLeavesTheStavesConvertedSoFarWhole) {
  for (int i = 0; i < 3; ++i) {
    KStaffLine* staff = Melody();
    staff->ModifyFlags(0x20000, 1);
    Add(staff);
  }
  Add(Melody());  // not asked for
  Layout(0);
  TablatureProgress progress;
  progress.stopAt = GetParam().stopAt;
  {
    ScopedProgressPort installed(progress);
    view->ConvertToTablature(0x20000);
  }
  EXPECT_EQ(progress.texts, std::vector<std::string>{"Converting to tablature..."});
  EXPECT_FALSE(progress.open);
  ASSERT_EQ(Types(), GetParam().types);
  // Each tablature line holds all of its staff's notes, grouped with it.
  for (int i = 0; i + 1 < view->GetDisplayLineCount(); ++i) {
    if (Line(i + 1)->GetType() != 2) continue;
    EXPECT_EQ(Pitches(Line(i + 1)), Pitches(Line(i)));
    EXPECT_NE(Line(i)->GetGroupId(), KLineObj::kNoGroup);
    EXPECT_EQ(Line(i)->GetGroupId(), Line(i + 1)->GetGroupId());
  }
}

INSTANTIATE_TEST_SUITE_P(Tablature, ConvertToTablatureStop,
                         ::testing::Values(StopCase{"NotStopped", 0, "0 2 0 2 0 2 0"},
                                           StopCase{"StoppedBeforeTheFirstStaff", 1, "0 0 0 0"},
                                           StopCase{"StoppedAfterTheSecondStaff", 3, "0 2 0 2 0 0"}),
                         [](const ::testing::TestParamInfo<StopCase>& info) { return info.param.name; });

struct MergeCase {
  const char* name;
  int merge;
  const char* types;
};

class KeyboardStaffTest : public TranslateLines, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(KeyboardStaffTest, TranslatesToTablatureAsTheMergeOptionSays) {
  g_prefTranslation.mergeStaffs = GetParam().merge;
  g_prefTranslation.options[2] = 0;
  KStaffLine* treble = viewtest::MakeStaff({{0, 17}, {1, 18}});
  auto* bass = new KStaffLine(1, 0, 0);
  bass->GetObjList()->AddTail(new KChord(0, 15, viewtest::kQuarter, 0));  // G3 on a bass staff
  bass->UpdateTimeSigCache();
  treble->ModifyFlags(KLineObj::kFlagPairUpper, 1);
  bass->ModifyFlags(KLineObj::kFlagPairedStaff, 1);
  const POSITION up = Add(treble);
  const POSITION down = Add(bass);
  Group(7, {up, down}, false);
  ASSERT_EQ(treble->GetPartner(), bass);
  Layout(0);
  SelectLines(0, 1);
  ASSERT_TRUE(Run(viewtest::kToTab));
  EXPECT_EQ(Types(), GetParam().types);
  if (GetParam().merge != 0) {
    EXPECT_EQ(std::string(Line(1)->GetLabelName().View()), "T&B");
    EXPECT_EQ(Pitches(Line(1)), "G3+C5 B4");
  }
}

INSTANTIATE_TEST_SUITE_P(Merge, KeyboardStaffTest,
                         ::testing::Values(MergeCase{"merged", 1, "0 2 1"},
                                           MergeCase{"separate", 0, "0 2 1 15"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Six rows of guitar tab as people paste it: bar lines, two-digit frets,
// hammer-ons, pull-offs, bends and slides.
TEST_F(TranslateLines, SixRowsOfTextTabBecomeATablatureLine) {
  AddTextBlock(
      "e|--0--3--|--12h14--|--15p12--|\n"
      "B|--1-----|---------|---------|\n"
      "G|--0-----|--7b-----|--5/7----|\n"
      "D|--2-----|---------|---------|\n"
      "A|--3-----|---------|---------|\n"
      "E|--------|---------|---------|");
  Layout(0);
  ASSERT_TRUE(Run(viewtest::kToTab));
  ASSERT_EQ(Types(), "5 5 5 5 5 5 2");
  auto* tab = dynamic_cast<KTabLine*>(Line(6));
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(std::string(tab->GetTuning().View()), "E A D G B E  323742475156");
  // Written pitches (guitar music is written an octave above its sound).
  EXPECT_EQ(Pitches(tab), "C4+E4+G4+C5+E5 G5 D5+E6 F#6 C5+G6 D5 E6");
  // The hammer-on and the pull-off are arcs; the bend and the slide symbols.
  int arcs = 0;
  for (POSITION node = tab->GetAttachments()->GetHeadPosition(); node != nullptr;)
    arcs += static_cast<KExtendedObj*>(tab->GetAttachments()->GetNext(node))->GetKind() == 0 ? 1 : 0;
  EXPECT_EQ(arcs, 2);
  const std::string columns = Dump(6);
  EXPECT_NE(columns.find("78@"), std::string::npos) << columns;
  EXPECT_NE(columns.find("48@"), std::string::npos) << columns;
  EXPECT_NE(columns.find("21@"), std::string::npos) << "bar lines stay: " << columns;
}

TEST_F(TranslateLines, SettingsDialogChangesTheOptionsAndStoresThemWhenAsked) {
  ui.AnswerDialog(KDlgTranslation::kTemplateId, [](KModalDialog& d) {
    auto& dialog = dynamic_cast<KDlgTranslation&>(d);
    EXPECT_EQ(dialog.action, 1);
    dialog.textTabDetail = 0;
    dialog.action = 2;
    dialog.grouping = 0;
    dialog.mutual = 0;
    dialog.merge = 0;
    dialog.bassOutOfRange = 0;
    dialog.valuesAbove = 1;
    dialog.valuesBelow = 0;
    dialog.permanent = 1;
    return IDOK;
  });
  AddText("x");
  Layout(0);
  ASSERT_TRUE(Run(cmd::kTranslateSettings));
  EXPECT_EQ(g_prefTranslation.options[1], 2);
  EXPECT_EQ(g_textTabMode, 0);
  EXPECT_EQ(g_rhythmBelow, 0);
  std::string stored;
  ASSERT_EQ(RegQueryValueString(HKEY_CURRENT_USER, "Software\\Stavlin\\Translation", stored), ERROR_SUCCESS);
  EXPECT_EQ(stored, "0,2,0,0,0,0,1,0");
}

TEST_F(TranslateLines, CancelledSettingsChangeNothing) {
  ui.AnswerDialog(KDlgTranslation::kTemplateId, [](KModalDialog& d) {
    auto& dialog = dynamic_cast<KDlgTranslation&>(d);
    dialog.action = 0;
    dialog.permanent = 1;
    return IDCANCEL;
  });
  AddText("x");
  Layout(0);
  ASSERT_TRUE(Run(cmd::kTranslateSettings));
  EXPECT_EQ(g_prefTranslation.options[1], 1);
  std::string stored;
  EXPECT_NE(RegQueryValueString(HKEY_CURRENT_USER, "Software\\Stavlin\\Translation", stored), ERROR_SUCCESS);
}

}  // namespace
