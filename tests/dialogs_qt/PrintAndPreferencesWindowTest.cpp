// The windows of the print options, the print size alert and the preferences
// sheet, built from their models: what the user does in them reaches the
// models. With STAVLIN_DIALOG_SHOTS naming a folder, pictures of the windows
// (each preferences page on its own) are saved there.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "dialogs/KDlgPrintOptions.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "dialogs_qt/DialogShot.h"
#include "platform/FakeUiPort.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtPropertySheetBinder.h"
#include "platform_qt/WidgetTestApp.h"
#include "pref_sheet/PreferencesSheet.h"

namespace {

QLineEdit* Edit(KQtDialogBinder& binder, UINT id) { return qobject_cast<QLineEdit*>(binder.WidgetOf(id)); }

class PrintDialogsWindow : public ::testing::Test {
 protected:
  PrintDialogsWindow() { WidgetTestApp(); }
  FakeUiPort ui;
  ScopedUiPort installed{ui};
};

TEST_F(PrintDialogsWindow, MillimetresConvertTheMarginsAsTypedAndOkTakesThem) {
  KDlgPrintOptions dialog;
  dialog.units = 0;
  dialog.top = dialog.bottom = dialog.left = dialog.right = 0.5;
  dialog.size = 100;
  dialog.firstPage = 1;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  SaveDialogShot(binder.Window(), QStringLiteral("PrintOptions"));
  QLineEdit* top = Edit(binder, KDlgPrintOptions::kIdTop);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->text(), QStringLiteral("0.5"));
  // A margin typed, then the other unit chosen: the typed margin converts too.
  top->selectAll();
  QTest::keyClicks(top, QStringLiteral("1.25"));
  QTest::mouseClick(qobject_cast<QRadioButton*>(binder.WidgetOf(KDlgPrintOptions::kIdMillimetres)),
                    Qt::LeftButton);
  EXPECT_EQ(top->text(), QStringLiteral("31.4"));  // 1 inch from the printable area, 25.4 + 6
  EXPECT_EQ(Edit(binder, KDlgPrintOptions::kIdLeft)->text(), QStringLiteral("12.35"));
  EXPECT_TRUE(binder.Press(IDOK));
  EXPECT_EQ(dialog.units, 1);
  EXPECT_DOUBLE_EQ(dialog.top, 31.4);
}

TEST_F(PrintDialogsWindow, TypingAPageNumberingTextChoosesThatKindOfNumber) {
  KDlgPrintOptions dialog;
  dialog.size = 100;
  dialog.firstPage = 1;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  QTest::keyClicks(Edit(binder, KDlgPrintOptions::kIdNumberText), QStringLiteral("Etude"));
  EXPECT_TRUE(qobject_cast<QRadioButton*>(binder.WidgetOf(KDlgPrintOptions::kIdTextNumber))->isChecked());
  EXPECT_TRUE(binder.Press(IDOK));
  EXPECT_EQ(dialog.type, 2);
  EXPECT_EQ(dialog.numberText, "Etude");
}

TEST_F(PrintDialogsWindow, TheSizeAlertsChoicesCloseItWithTheirIds) {
  KDlgPrintSizeAlert alert;
  alert.currentSize = "( 100 % )";
  alert.widestLine = "( line 3 )";
  alert.sheets = "2 sheets";
  alert.portraitSize = "66 % size";
  alert.landscapeSize = "82 % size";
  KQtDialogBinder binder(alert, nullptr);
  binder.Open();
  SaveDialogShot(binder.Window(), QStringLiteral("PrintSizeAlert"));
  EXPECT_NE(binder.WidgetOf(IDCANCEL), nullptr);
  EXPECT_TRUE(binder.Press(KDlgPrintSizeAlert::kIdUseLandscape));
  EXPECT_EQ(binder.Window().result(), static_cast<int>(KDlgPrintSizeAlert::kIdUseLandscape));

  KDlgPrintSizeAlert noCancel;
  noCancel.noCancel = true;
  KQtDialogBinder second(noCancel, nullptr);
  second.Open();
  EXPECT_EQ(second.WidgetOf(IDCANCEL), nullptr);
}

// ---- The preferences sheet -------------------------------------------------------------------

class PreferencesWindow : public PrintDialogsWindow {
 protected:
  void SetUp() override {
    ResetPreferences();
    context.mainWindow = KWindowPlacement{900, 700, 10, 20};
    FillPreferencePages(pages, context);
  }
  void TearDown() override { ResetPreferences(); }
  KPrefSheetContext context;
  KPreferencesSheet pages;
};

TEST_F(PreferencesWindow, EightPagesInTabsWithTheirCaptions) {
  KQtPropertySheetBinder binder(pages.Sheet(), nullptr);
  binder.Open();
  EXPECT_EQ(binder.Window().windowTitle(), QStringLiteral("Stavlin Preferences (mostly for NEW scores)"));
  ASSERT_EQ(binder.Tabs().count(), 8);
  const char* captions[8] = {"Document, Layout and Printing",
                             "Entry Options, View Options, AutoSave",
                             "All Staff Lines",
                             "Tab, Rhythm, and Text Lines, Chord Line Tuning",
                             "Chord Lines",
                             "Translating, Scrolling, Text Files, Graphic Image Export",
                             "MIDI Playback",
                             "MIDI Import and Live Input"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(binder.Tabs().tabText(i), QString::fromLatin1(captions[i]));
    binder.Tabs().setCurrentIndex(i);
    SaveDialogShot(binder.Window(), QStringLiteral("Preferences%1").arg(i + 1));
  }
  // The tuning button names the tuning it makes the default.
  auto* tuning = qobject_cast<QPushButton*>(binder.PageBinder(3).WidgetOf(KPropTab::kIdMakeTuningDefault));
  ASSERT_NE(tuning, nullptr);
  EXPECT_TRUE(tuning->text().startsWith(QStringLiteral("Make current tuning (E A D G B E")));
  binder.PressCancel();
}

TEST_F(PreferencesWindow, ARefusedEntryBringsItsPageForward) {
  KQtPropertySheetBinder binder(pages.Sheet(), nullptr);
  binder.Open();
  QLineEdit* undo = Edit(binder.PageBinder(1), KPropOptAsvVw::kIdUndoLevels);
  ASSERT_NE(undo, nullptr);
  undo->selectAll();
  QTest::keyClicks(undo, QStringLiteral("500"));
  binder.Tabs().setCurrentIndex(6);
  EXPECT_FALSE(binder.PressOk());
  EXPECT_EQ(binder.Tabs().currentIndex(), 1);
  EXPECT_EQ(ui.Messages().back().text, "Please enter an integer between 1 and 99.");
  undo->selectAll();
  QTest::keyClicks(undo, QStringLiteral("50"));
  EXPECT_TRUE(binder.PressOk());
  EXPECT_EQ(pages.optAsvVw.undoLevels, 50);
}

TEST_F(PreferencesWindow, EscapeCancelsEveryPage) {
  KQtPropertySheetBinder binder(pages.Sheet(), nullptr);
  binder.Open();
  QLineEdit* tempo = Edit(binder.PageBinder(6), KPropMIDI::kIdTempo);
  tempo->selectAll();
  QTest::keyClicks(tempo, QStringLiteral("90"));
  binder.Window().reject();
  EXPECT_EQ(pages.midi.tempo, 120);
  EXPECT_EQ(binder.Window().result(), IDCANCEL);
}

}  // namespace
