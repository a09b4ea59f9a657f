// The chord dialogs' windows: the lists and pictures of the selection dialog
// follow the model, the designer's grid takes clicks, the variations picker
// ends on a click in a cell, and the scanned chords dialog ticks a chord.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdlib>

#include "chords/ChordAudition.h"
#include "chords/ChordCatalogueSources.h"
#include "chords/ChordDictionary.h"
#include "chords/ChordSettings.h"
#include "common/RecentChords.h"
#include "dialogs/KDlg8StringChordDes.h"
#include "dialogs/KDlgChordSelect.h"
#include "dialogs/KDlgChordVars.h"
#include "dialogs/KDlgScannedChords.h"
#include "dialogs_qt/PictureTestSupport.h"
#include "platform/CDC.h"
#include "platform/FakeUiPort.h"
#include "platform/qt/KQtDialogBinder.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform/qt/KQtUiPort.h"
#include "platform_qt/WidgetTestApp.h"

namespace {

// The box round the dark pixels of a widget's picture that are not the blue
// frame: left, top, right, bottom (right and bottom inclusive).
QRect InkBox(QWidget* widget) {
  const QImage image = widget->grab().toImage();
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c(image.pixel(x, y));
      if (qGray(c.rgb()) < 100 && c.blue() < 100) box |= QRect(x, y, 1, 1);
    }
  return box;
}

// The diagram stands whole in its picture, clear of the edges and the frame,
// and about in the middle.
void ExpectWholeAndCentred(QWidget* picture) {
  ASSERT_NE(picture, nullptr);
  const QRect box = InkBox(picture);
  ASSERT_FALSE(box.isEmpty());
  EXPECT_GE(box.left(), 2);
  EXPECT_GE(box.top(), 2);
  EXPECT_LE(box.right(), picture->width() - 3);
  EXPECT_LE(box.bottom(), picture->height() - 3);
  EXPECT_LE(std::abs(box.center().x() - picture->width() / 2), 6) << box.left() << ".." << box.right();
}

class ChordDialogWindow : public ::testing::Test {
 protected:
  ChordDialogWindow() {
    WidgetTestApp();
    ResetChordDictionary();
    ResetChordSettings();
    ClearRecentChords();
    InstallChordNameSources();
  }
  ~ChordDialogWindow() override {
    ResetChordNameSources();
    ResetChordSettings();
    ClearRecentChords();
  }
  PicturePort ui;
  ScopedUiPort installed{ui};
  KQtSymbolLoader symbols{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader symbolScope{symbols};
};

TEST_F(ChordDialogWindow, SelectionListsAndPicturesFollowTheChosenChord) {
  KDlgChordSelect dialog;
  dialog.key = "A ";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* root = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdRoot));
  auto* type = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdType));
  auto* variation = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdVariation));
  ASSERT_TRUE(root && type && variation);
  EXPECT_EQ(root->count(), 17);
  EXPECT_EQ(type->itemText(0), "(major)");
  EXPECT_GT(InkIn(binder.WidgetOf(KDlgChordSelect::kIdDiagramPicture)), 20);
  EXPECT_GT(InkIn(binder.WidgetOf(KDlgChordSelect::kIdStaffPicture)), 20);
  // The user picks G, as the window reports a choice.
  root->setCurrentIndex(15);
  emit root->activated(15);
  EXPECT_EQ(dialog.key, "G ");
  EXPECT_EQ(variation->count(), dialog.VariationCount());
  EXPECT_EQ(qobject_cast<QLabel*>(binder.WidgetOf(KDlgChordSelect::kIdChordName))->text(), "G(major)");
  binder.Press(IDOK);
  EXPECT_EQ(binder.Window().result(), IDOK);
  EXPECT_EQ(dialog.shape, "0320003");
}

TEST_F(ChordDialogWindow, TheOpenGStandsWholeInTheDiagramPicturesOfBothDialogs) {
  // The open G has dots on both outer strings and open markers over the nut.
  KDlgChordSelect dialog;
  dialog.key = "G ";
  dialog.pictureFrame = 0;  // framed
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  ASSERT_EQ(dialog.shape, "0320003");
  ExpectWholeAndCentred(binder.WidgetOf(KDlgChordSelect::kIdDiagramPicture));
  binder.Press(IDCANCEL);

  KDlg8StringChordDes designer;
  designer.key = "G ";
  designer.chordType = "(major)";
  designer.shape = "0320003";
  KQtDialogBinder designerBinder(designer, nullptr);
  designerBinder.Open();
  ExpectWholeAndCentred(designerBinder.WidgetOf(KDlg8StringChordDes::kIdDiagram));
  designerBinder.Press(IDCANCEL);
}

TEST_F(ChordDialogWindow, SelectionListsTakeTypedCharactersAndTheFrameMarksThePicture) {
  KDlgChordSelect dialog;
  dialog.pictureFrame = 2;
  dialog.lineFlag = 1;
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* root = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdRoot));
  auto* type = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdType));
  auto* variation = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdVariation));
  ASSERT_TRUE(root && type && variation);
  QTest::keyClick(root, Qt::Key_D, Qt::NoModifier);
  QTest::keyClick(root, Qt::Key_NumberSign, Qt::NoModifier);
  QTest::keyClick(root, Qt::Key_M, Qt::NoModifier);  // after the root: the type
  QTest::keyClick(type, Qt::Key_7, Qt::NoModifier);
  QTest::keyClick(variation, Qt::Key_3, Qt::NoModifier);
  EXPECT_EQ(root->currentText(), "D#");
  EXPECT_EQ(type->currentText().toStdString(), "m7");
  EXPECT_EQ(variation->currentIndex(), 2);
  EXPECT_EQ(dialog.key, "D#");
  EXPECT_EQ(dialog.variation, 3);
  // The keyboard picture wears the frame; the diagram does not.
  const QImage keyboard = binder.WidgetOf(KDlgChordSelect::kIdKeyboardPicture)->grab().toImage();
  const QImage diagram = binder.WidgetOf(KDlgChordSelect::kIdDiagramPicture)->grab().toImage();
  EXPECT_EQ(QColor(keyboard.pixel(0, 10)), QColor(0, 0, 160));
  EXPECT_NE(QColor(diagram.pixel(0, 10)), QColor(0, 0, 160));
  // A left click on the diagram moves the frame there.
  QTest::mouseClick(binder.WidgetOf(KDlgChordSelect::kIdDiagramPicture), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(dialog.pictureFrame, 0);
  const QImage moved = binder.WidgetOf(KDlgChordSelect::kIdDiagramPicture)->grab().toImage();
  EXPECT_EQ(QColor(moved.pixel(0, 10)), QColor(0, 0, 160));
  binder.Press(IDCANCEL);
}

// A right click on the window outside the pictures (on the chord's name, a
// label that leaves the mouse to the window) plays the chord; a left click
// there plays nothing.
TEST_F(ChordDialogWindow, ARightClickOutsideThePicturesPlaysTheChord) {
  KDlgChordSelect dialog;
  dialog.key = "G ";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  std::vector<std::string> heard;
  SetChordAudition([&](const CString& shape, const CString&, int strum, int) {
    heard.push_back(std::string(shape.View()) + " " + std::to_string(strum));
  });
  QWidget* name = binder.WidgetOf(KDlgChordSelect::kIdChordName);
  ASSERT_NE(name, nullptr);
  QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_TRUE(heard.empty());
  QTest::mouseClick(binder.WidgetOf(KDlgChordSelect::kIdKeyboardPicture), Qt::RightButton, {},
                    QPoint(20, 20));
  QTest::mouseClick(name, Qt::RightButton, {}, QPoint(2, 2));
  const std::vector<std::string> expected = {"0320003 0", "0320003 0"};
  EXPECT_EQ(heard, expected);
  SetChordAudition(nullptr);
  binder.Press(IDCANCEL);
}

// With the key list dropped down, a letter picks the natural root (G, not
// the Gb above it in the list), and a b or # after it the accidental.
TEST_F(ChordDialogWindow, LettersTypedIntoTheOpenKeyListPickTheRootTheyName) {
  KDlgChordSelect dialog;
  dialog.key = "A ";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* root = qobject_cast<QComboBox*>(binder.WidgetOf(KDlgChordSelect::kIdRoot));
  ASSERT_NE(root, nullptr);
  root->showPopup();
  QApplication::processEvents();
  ASSERT_TRUE(root->view()->isVisible());
  QTest::keyClick(root->view(), Qt::Key_G);
  EXPECT_EQ(dialog.key, "G ");
  EXPECT_EQ(root->currentText().trimmed(), "G");
  EXPECT_EQ(root->view()->currentIndex().row(), root->currentIndex());
  QTest::keyClick(root->view(), Qt::Key_B);
  EXPECT_EQ(dialog.key, "Gb");
  root->hidePopup();
  binder.Press(IDCANCEL);
}

TEST_F(ChordDialogWindow, DesignerSpinsRetuneAndLabelAndThePreviewsShowTheChord) {
  KDlg8StringChordDes dialog;
  dialog.key = "D ";
  dialog.chordType = "(major)";
  dialog.shape = "0990232";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  EXPECT_GT(InkIn(binder.WidgetOf(KDlg8StringChordDes::kIdTabPreview)), 10);
  EXPECT_GT(InkIn(binder.WidgetOf(KDlg8StringChordDes::kIdStaffPreview)), 10);
  auto* spin = qobject_cast<QAbstractSpinBox*>(binder.WidgetOf(KDlg8StringChordDes::kIdFirstTuningSpin + 5));
  ASSERT_NE(spin, nullptr);
  for (int i = 0; i < 3; ++i) spin->stepDown();
  EXPECT_EQ(dialog.tuning, "D A D G B E  303742475156");
  EXPECT_EQ(qobject_cast<QLabel*>(binder.WidgetOf(KDlg8StringChordDes::kIdFirstTuningName + 5))->text(),
            "D ");
  auto* finger = qobject_cast<QAbstractSpinBox*>(binder.WidgetOf(KDlg8StringChordDes::kIdFirstFingerSpin));
  ASSERT_NE(finger, nullptr);
  finger->stepUp();
  EXPECT_EQ(qobject_cast<QLabel*>(binder.WidgetOf(KDlg8StringChordDes::kIdFirstFinger))->text(), "0");
  // String 7 has no controls on a guitar.
  EXPECT_FALSE(binder.WidgetOf(KDlg8StringChordDes::kIdFirstTuningSpin + 6)->isVisibleTo(&binder.Window()));
  binder.Press(IDCANCEL);
}

TEST_F(ChordDialogWindow, DesignerFretPositionArrowsWrapRoundTheNeck) {
  KDlg8StringChordDes dialog;
  dialog.chordType = "Blank";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  auto* arrows = qobject_cast<QAbstractSpinBox*>(binder.WidgetOf(KDlg8StringChordDes::kIdFretPositionSpin));
  ASSERT_NE(arrows, nullptr);
  auto* box = qobject_cast<QLineEdit*>(binder.WidgetOf(KDlg8StringChordDes::kIdFretPosition));
  ASSERT_NE(box, nullptr);
  arrows->stepDown();
  EXPECT_EQ(box->text(), "24");
  arrows->stepUp();
  EXPECT_EQ(box->text(), "0");
  binder.Press(IDCANCEL);
}

TEST_F(ChordDialogWindow, DesignerGridTakesClicks) {
  KDlg8StringChordDes dialog;
  dialog.chordType = "Blank";
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  QWidget* grid = binder.WidgetOf(KDlg8StringChordDes::kIdGrid);
  ASSERT_NE(grid, nullptr);
  const int left = dialog.Grid().GridLeft();
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(left + 36 * 2 + 10, 44 + 40));  // row 2 of string 3
  EXPECT_EQ(dialog.shape.Left(7), "0992999");
  EXPECT_EQ(dialog.chordType, "NoName");
  binder.Press(IDCANCEL);
}

TEST_F(ChordDialogWindow, VariationsPickerEndsOnTheClickedCell) {
  KDlgChordVars picker;
  picker.shapes = {"0320003", "0320033", "3m33211", "39932E1", "5991343"};
  picker.chordName = "G";
  KQtDialogBinder binder(picker, nullptr);
  binder.Open();
  EXPECT_EQ(picker.Columns(), 3);
  EXPECT_EQ(picker.Rows(), 2);
  QWidget* picture = binder.WidgetOf(KDlgChordVars::kIdPicture);
  QTest::mouseClick(
      picture, Qt::LeftButton, {},
      QPoint(KDlgChordVars::kCellWidth + 5, KDlgChordVars::kStripHeight + picker.CellHeight() + 5));
  EXPECT_EQ(picker.variation, 5);
  EXPECT_EQ(binder.Window().result(), IDOK);
}

TEST_F(ChordDialogWindow, VariationsPickerShowsNotesAndKeyboardsFromItsStrip) {
  KDlgChordVars picker;
  picker.shapes = {"0320003", "0320033", "3m33211", "39932E1", "5991343"};
  picker.chordName = "G";
  picker.tuning = "E A D G B E  323742475156";
  KQtDialogBinder binder(picker, nullptr);
  binder.Open();
  QWidget* picture = binder.WidgetOf(KDlgChordVars::kIdPicture);
  const int gridsWidth = picture->width();
  QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(100, 5));  // "Notes"
  EXPECT_EQ(picker.Mode(), 1);
  EXPECT_EQ(picture->height(), KDlgChordVars::kStripHeight + 139 + 15);
  EXPECT_GT(InkIn(picture), 200);
  QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(130, 5));  // "Keyboard"
  EXPECT_EQ(picker.Mode(), 2);
  EXPECT_GT(picture->width(), gridsWidth);
  // A click on the second keyboard picks its variation.
  QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(97 + 20, KDlgChordVars::kStripHeight + 20));
  EXPECT_EQ(picker.variation, 2);
  EXPECT_EQ(binder.Window().result(), IDOK);
}

TEST_F(ChordDialogWindow, ScannedChordsAreTickedByAClick) {
  KDlgScannedChords dialog;
  dialog.tuningKey = "E A D G B E  323742475156";
  ScannedChord chord;
  ASSERT_TRUE(ScannedChordOfDiagram("Cx", "0913210        0110000640", chord));
  dialog.chords = {chord, chord};
  KQtDialogBinder binder(dialog, nullptr);
  binder.Open();
  QWidget* picture = binder.WidgetOf(KDlgScannedChords::kIdPicture);
  QTest::mouseClick(picture, Qt::LeftButton, {},
                    QPoint(KDlgScannedChords::kCellWidth + 5, KDlgScannedChords::kTop + 5));
  EXPECT_EQ(dialog.ticked[0], 0);
  EXPECT_EQ(dialog.ticked[1], 1);
  binder.Press(IDCANCEL);
}

}  // namespace
