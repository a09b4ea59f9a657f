// Insert | Line Group over a staff and a tablature line that are in no group:
// the table offers them In Group with no set ticked, and OK groups them
// without linking them, so the window says in the dialog and on its help
// page that the Set boxes are what links lines. Ticking Set 1 on both rows
// then links them: a note typed on the staff is written on the tablature.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

#include "ShellTestSupport.h"
#include "dialogs/KDlgLineGroup.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "platform/qt/KQtUiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kStaffLine = 1;  // display lines: the title, the staff, the tablature
constexpr int kTabLine = 2;

int NoteColumns(KListLine& line) {
  int count = 0;
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (column != nullptr && column->GetNoteCount() > 0 && !column->IsBarColumn()) ++count;
  }
  return count;
}

class LineGroupLinks : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path_ = (Dir() / "lines.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      doc.AddTailLine(new KStaffLine(0, 0, 0));
      doc.AddTailLine(new KTabLine(0, kGuitar, 0));
      ASSERT_TRUE(doc.OnSaveDocument(path_.c_str()));
    }
    ASSERT_TRUE(Start());
    child_ = OpenFocused(path_, pane_);
    ASSERT_NE(pane_, nullptr);
    ASSERT_EQ(View().GetDisplayLineCount(), 3);
  }
  CStavlinView& View() const { return pane_->View(); }
  CStavlinDoc& Doc() const { return child_->Document(); }
  KListLine& Line(int display) const { return *View().GetDisplayLineObj(display)->AsListLine(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, QString(), held);
    QApplication::processEvents();
  }
  // Both lines selected, as Shift+Page Down from the staff selects them.
  void SelectBothLines() {
    while (View().GetCurrentLine() > kStaffLine) Key(Qt::Key_Up, Qt::ControlModifier);
    while (View().GetCurrentLine() < kStaffLine) Key(Qt::Key_Down, Qt::ControlModifier);
    ASSERT_EQ(View().GetCurrentLine(), kStaffLine);
    Key(Qt::Key_PageDown, Qt::ShiftModifier);
    ASSERT_TRUE(View().HasSelection());
  }
  // A quarter typed on the staff at the end of the music.
  void TypeOnStaff() {
    while (View().GetCurrentLine() > kStaffLine) Key(Qt::Key_Up, Qt::ControlModifier);
    while (View().GetCurrentLine() < kStaffLine) Key(Qt::Key_Down, Qt::ControlModifier);
    while (View().GetCaretColumn() < Line(kStaffLine).GetLength()) Key(Qt::Key_Right);
    QTest::keyClicks(pane_, QStringLiteral("gq"));
    QApplication::processEvents();
  }

  std::string path_;
  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
};

// Runs check on the modal window that opens next.
void WhenAWindowOpens(std::function<void(QWidget&)> check) {
  QTimer::singleShot(0, [check] {
    QWidget* window = QApplication::activeModalWidget();
    if (window == nullptr) {
      ADD_FAILURE() << "no window opened";
      return;
    }
    check(*window);
  });
}

TEST_F(LineGroupLinks, TheDialogAndItsHelpPageSayThatASetLinksTheLines) {
  KQtUiPort qtUi;
  ScopedUiPort real(qtUi);
  ASSERT_NO_FATAL_FAILURE(SelectBothLines());
  QString labels;
  QString help;
  int ticked = -1;  // the unlabelled boxes of the rows: In Group, Curly Brace, the sets
  WhenAWindowOpens([&](QWidget& dialog) {
    for (QLabel* label : dialog.findChildren<QLabel*>()) labels += label->text() + "\n";
    ticked = 0;
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
      if (box->isChecked() && box->text().isEmpty()) ++ticked;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == QStringLiteral("&Help")) QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    if (auto* page = dialog.findChild<QTextBrowser*>()) {
      help = page->toPlainText();
      page->close();
    }
    static_cast<QDialog&>(dialog).reject();
  });
  Frame().ActionFor(cmd::kInsertLineGroup)->trigger();
  QApplication::processEvents();
  EXPECT_EQ(ticked, 2) << "the two gathered rows come In Group, with no set ticked";
  EXPECT_TRUE(labels.contains(QString::fromLatin1(KDlgLineGroup::kSetsLegend))) << labels.toStdString();
  EXPECT_TRUE(help.contains("are not linked")) << help.toStdString();
  EXPECT_TRUE(help.contains("tick Set 1 on both rows")) << help.toStdString();
}

TEST_F(LineGroupLinks, GroupedWithoutASetTheyStayApartAndSetOneLinksThem) {
  ASSERT_NO_FATAL_FAILURE(SelectBothLines());
  ui_.AnswerDialog(KDlgLineGroup::kTemplateId, [](KModalDialog&) { return IDOK; });
  Key(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(ui_.Dialogs().size(), 1u);
  ASSERT_NE(Line(kStaffLine).GetGroupId(), KLineObj::kNoGroup) << "the lines are grouped";
  TypeOnStaff();
  EXPECT_EQ(NoteColumns(Line(kStaffLine)), 1);
  EXPECT_EQ(NoteColumns(Line(kTabLine)), 0) << "in no set, the tablature is not linked";

  // Insert | Line Group again on the group: Set 1 ticked on both rows.
  ui_.AnswerDialog(KDlgLineGroup::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetChecked(KDlgLineGroup::kIdSet1 + 0, 1);
    d.Controls().SetChecked(KDlgLineGroup::kIdSet1 + 1, 1);
    return IDOK;
  });
  ASSERT_NO_FATAL_FAILURE(SelectBothLines());
  Key(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(ui_.Dialogs().size(), 2u);
  const KLineGroup* group = Doc().FindLineGroup(Line(kStaffLine).GetGroupId());
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotBracket(0, 1), 1);
  EXPECT_EQ(group->GetSlotBracket(1, 1), 1);
  TypeOnStaff();
  EXPECT_EQ(NoteColumns(Line(kStaffLine)), 2);
  EXPECT_EQ(NoteColumns(Line(kTabLine)), 1) << "in Set 1 the note typed on the staff reaches the tablature";
}

}  // namespace
