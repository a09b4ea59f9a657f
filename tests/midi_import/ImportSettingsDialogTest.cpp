// The import settings dialog: the 20-line limit while editing and on OK, the
// staff-type rules of drum rows, double clicks and the shown labels.

#include <gtest/gtest.h>

#include "dialogs/KDlgMidiImpSettings.h"
#include "platform/FakeUiPort.h"
#include "platform/UiPort.h"

namespace {

using Row = KDlgMidiImpSettings::Row;

std::vector<Row> Rows(int count, int kind = KDlgMidiImpSettings::kTreble) {
  std::vector<Row> rows(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    rows[static_cast<size_t>(i)].kind = kind;
    rows[static_cast<size_t>(i)].track = i;
    rows[static_cast<size_t>(i)].label = CString("Part");
  }
  return rows;
}

std::string Marks(const KDlgMidiImpSettings& dialog) {
  std::string marks;
  for (const Row& row : dialog.Rows()) marks += "Y *"[row.mark];
  return marks;
}

class ImportSettingsDialog : public ::testing::Test {
 protected:
  FakeUiPort ui;
  ScopedUiPort scope{ui};
  KDlgMidiImpSettings dialog;
};

TEST_F(ImportSettingsDialog, RowsBeyondTwentyLinesAreStarredUntilOthersAreLeftOut) {
  dialog.SetRows(Rows(25));
  dialog.OnInitDialog();
  EXPECT_EQ(Marks(dialog), std::string(20, 'Y') + "*****");
  EXPECT_TRUE(dialog.WarningShown());
  EXPECT_TRUE(dialog.Controls().IsShown(KDlgMidiImpSettings::kIdWarning));
  dialog.SelectRows({0, 1, 2, 3, 4});
  dialog.OnImport(false);
  EXPECT_EQ(Marks(dialog), "     " + std::string(20, 'Y'));
  EXPECT_FALSE(dialog.WarningShown());
  EXPECT_EQ(dialog.LineCount(), 20);
}

TEST_F(ImportSettingsDialog, KeyboardRowAsTheTwentiethLineIsStarred) {
  std::vector<Row> rows = Rows(20);
  rows[19].kind = KDlgMidiImpSettings::kKeyboard;
  dialog.SetRows(rows);
  EXPECT_EQ(Marks(dialog), std::string(19, 'Y') + "*");
  EXPECT_EQ(dialog.LineCount(), 19);
}

TEST_F(ImportSettingsDialog, DrumRowKeepsItsStaffType) {
  std::vector<Row> rows = Rows(2);
  rows[1].kind = KDlgMidiImpSettings::kDrum;
  dialog.SetRows(rows);
  dialog.OnInitDialog();
  dialog.SelectRows({0, 1});
  for (int kind : {KDlgMidiImpSettings::kBass, KDlgMidiImpSettings::kKeyboard, KDlgMidiImpSettings::kTab}) {
    dialog.OnStaffType(kind);
    EXPECT_EQ(dialog.Rows()[1].kind, KDlgMidiImpSettings::kDrum);
  }
  EXPECT_EQ(dialog.Rows()[0].kind, KDlgMidiImpSettings::kTab);
  // The drum row as the caret row: only Drum can be pressed.
  dialog.SelectRows({1});
  EXPECT_FALSE(dialog.Controls().IsEnabled(KDlgMidiImpSettings::kIdTreble));
  EXPECT_TRUE(dialog.Controls().IsEnabled(KDlgMidiImpSettings::kIdDrum));
}

TEST_F(ImportSettingsDialog, TabOnABassRowMakesBassTablature) {
  std::vector<Row> rows = Rows(1, KDlgMidiImpSettings::kBass);
  dialog.SetRows(rows);
  dialog.SelectRows({0});
  dialog.OnStaffType(KDlgMidiImpSettings::kTab);
  EXPECT_EQ(dialog.Rows()[0].kind, KDlgMidiImpSettings::kBassTab);
}

TEST_F(ImportSettingsDialog, DoubleClickOnAKeyboardRowImportsItAlone) {
  std::vector<Row> rows = Rows(3);
  rows[1].kind = KDlgMidiImpSettings::kKeyboard;
  dialog.SetRows(rows);
  dialog.OnInitDialog();
  dialog.OnDoubleClickRow(1);
  EXPECT_EQ(Marks(dialog), " Y ");
  EXPECT_EQ(dialog.LineCount(), 2);
  EXPECT_FALSE(dialog.SpaceOutShown());
  EXPECT_EQ(dialog.Controls().Find(KDlgMidiImpSettings::kIdLineCount)->caption, "2");
}

TEST_F(ImportSettingsDialog, LongLabelIsShownCut) {
  EXPECT_EQ(KDlgMidiImpSettings::ShownLabel(CString("Acoustic Grand P.")), "Acoustic Grand P.");
  EXPECT_EQ(KDlgMidiImpSettings::ShownLabel(CString("Acoustic Grand Pno")), "Acoustic Grand ...");
  std::vector<Row> rows = Rows(1);
  rows[0].label = CString("Acoustic Grand Pno");
  rows[0].noteCount = 12;
  rows[0].program = 1;
  dialog.SetRows(rows);
  EXPECT_EQ(dialog.RowText(0), "\t 1\t(0:0)\tY\tAcoustic Grand ...\t   12\t  1\tAc. Piano\tTreble\t\t1/32");
}

TEST_F(ImportSettingsDialog, OkWithNothingSelectedAsksFirst) {
  dialog.SetRows(Rows(2));
  dialog.OnInitDialog();
  dialog.SelectRows({0, 1});
  dialog.OnImport(false);
  ui.AnswerNext(8212, {IDNO, IDYES});
  EXPECT_FALSE(dialog.OnOK());
  EXPECT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.ImportCount(), 0);
}

TEST_F(ImportSettingsDialog, ChoicesApplyToEverySelectedRow) {
  dialog.SetRows(Rows(3));
  dialog.OnInitDialog();
  dialog.SelectRows({0, 2});
  dialog.OnResolution(0);
  dialog.OnOctave(2);
  dialog.Controls().SetText(KDlgMidiImpSettings::kIdLabel, "Violins");
  EXPECT_EQ(dialog.Rows()[0].resolution, 0);
  EXPECT_EQ(dialog.Rows()[2].resolution, 0);
  EXPECT_EQ(dialog.Rows()[1].resolution, 2);
  EXPECT_EQ(dialog.Rows()[2].octave, 2);
  EXPECT_EQ(dialog.Rows()[2].label, "Violins");
  EXPECT_EQ(dialog.Rows()[1].label, "Part");
}

}  // namespace

namespace {

// The list's own choice (several rows and a caret row) reaches the rows; the
// caret row's settings are shown, and what was typed into the title is kept.
TEST_F(ImportSettingsDialog, RowsChosenInTheListAreTheOnesChangedAndTheTitleTypedStays) {
  std::vector<Row> rows = Rows(4);
  rows[3].label = CString("Tuba");
  rows[3].kind = KDlgMidiImpSettings::kBass;
  dialog.SetRows(rows);
  dialog.title = CString("Old");
  dialog.OnInitDialog();
  DialogControls& c = dialog.Controls();
  c.SetText(KDlgMidiImpSettings::kIdTitle, "New title");
  c.SelectRows(KDlgMidiImpSettings::kIdList, {1, 3}, 3);
  EXPECT_EQ(c.Text(KDlgMidiImpSettings::kIdLabel), "Tuba");
  EXPECT_EQ(c.RadioValue(KDlgMidiImpSettings::kIdTreble), KDlgMidiImpSettings::kBass);
  EXPECT_EQ(c.Text(KDlgMidiImpSettings::kIdTitle), "New title");
  c.SetChecked(KDlgMidiImpSettings::kIdRes64, 1);
  EXPECT_EQ(Marks(dialog), "YYYY");
  std::string resolutions;
  for (const Row& row : dialog.Rows()) resolutions += std::to_string(row.resolution);
  EXPECT_EQ(resolutions, "2323");
  EXPECT_EQ(c.SelectedRows(KDlgMidiImpSettings::kIdList), (std::vector<int>{1, 3}));
  // A double click in the list imports that row alone.
  c.DoubleClick(KDlgMidiImpSettings::kIdList, 2);
  EXPECT_EQ(Marks(dialog), "  Y ");
  EXPECT_EQ(c.SelectedRows(KDlgMidiImpSettings::kIdList), (std::vector<int>{2}));
  ASSERT_TRUE(dialog.OnOK());
  EXPECT_EQ(dialog.title, "New title");
}

}  // namespace
