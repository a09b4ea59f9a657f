// Extended objects drawn with the mouse in the real window: a tie, a slur, a
// crescendo hairpin and a text box are made through the Insert/Extended
// Object actions and clicks on the view's viewport, moved by a drag of their
// frame or an end handle, edited by a double click and deleted with the
// Delete key. Each step changes the staff's attachments as one undo step,
// and Ctrl+Z gives back the attachments as they were before it.

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgExtText.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/extobj/ViewExtObjSupport.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr int kStaff = 1;  // display line of the staff, under the title line
constexpr int kQuarter = 8;

std::vector<int>& EditKinds() {
  static std::vector<int> kinds;
  return kinds;
}

// Undo steps of edits; the after-state markers (kind 8) close each step.
void WatchUndo(CStavlinView&, int kind, int, int, const CString*, int) {
  if (kind != 8) EditKinds().push_back(kind);
}

struct KindCase {
  const char* name;
  UINT command;
  std::vector<POINT> clicks;  // placement points from the start point
  int kind;
  enum { kHandles, kBeep, kDialog } doubleClick;
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << c.name; }

class ExtObjInTheWindow : public ShellTest, public ::testing::WithParamInterface<KindCase> {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    const std::string path = (Dir() / "objects.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      auto* staff = new KStaffLine(0, 0, 0);
      const int rows[] = {18, 18, 16, 18, 20, 18, 16, 18};
      for (int column = 0; column < 8; ++column) {
        staff->GetObjList()->AddTail(new KChord(column, rows[column], kQuarter, 0));
      }
      staff->UpdateTimeSigCache();
      doc.AddTailLine(staff);
      ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    }
    ASSERT_TRUE(Start());
    child_ = OpenFocused(path, pane_);
    ASSERT_NE(child_, nullptr);
    ASSERT_NE(pane_, nullptr);
    ASSERT_EQ(View().GetDisplayEntry(kStaff).type, 0);
    EditKinds().clear();
    SetUndoRecorder(&WatchUndo);
  }
  void TearDown() override {
    SetUndoRecorder(nullptr);
    ShellTest::TearDown();
  }

  CStavlinView& View() const { return pane_->View(); }
  KLineObj* Staff() const { return View().GetDisplayLineObj(kStaff); }
  KListLine* StaffList() const { return Staff()->AsListLine(); }

  QPoint At(POINT page) const {
    const POINT scroll = View().GetVirtualScrollPosition();
    return QPoint(page.x - scroll.x, page.y - scroll.y);
  }
  int ColumnX(int column) const {
    return View().GetContentLeft() + StaffList()->GetLeadInWidth(0) + 18 * column + 2;
  }
  int RowY(int row) const {
    return View().GetDisplayEntry(kStaff).top + StaffList()->GetSpaceAbove(0) + (row - 15) * 3 + 3;
  }
  void Click(POINT page, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(pane_->viewport(), button, Qt::NoModifier, At(page));
    QApplication::processEvents();
  }
  void DoubleClick(POINT page) {
    QTest::mouseDClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier, At(page));
    QApplication::processEvents();
  }
  void Drag(POINT from, POINT to) {
    QTest::mousePress(pane_->viewport(), Qt::LeftButton, Qt::NoModifier, At(from));
    QTest::mouseMove(pane_->viewport(), At(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2}));
    QTest::mouseMove(pane_->viewport(), At(to));
    QTest::mouseRelease(pane_->viewport(), Qt::LeftButton, Qt::NoModifier, At(to));
    QApplication::processEvents();
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, QString(), modifiers);
    QApplication::processEvents();
  }

  // The staff's attachments, one "kind@column/row +offset anchor size text" each.
  std::string Attachments() const {
    std::string out;
    CObList* list = Staff()->GetAttachments();
    for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
      const auto* object = static_cast<const KExtendedObj*>(list->GetNext(node));
      const CPoint anchor = object->GetAnchor();
      const CSize size = object->GetSize();
      const CPoint offset = object->GetOffset();
      out += std::to_string(object->GetKind()) + '@' + std::to_string(object->GetPos()) + '/' +
             std::to_string(object->GetRow()) + " +" + std::to_string(offset.x) + ',' +
             std::to_string(offset.y) + ' ' + std::to_string(anchor.x) + ',' + std::to_string(anchor.y) +
             ' ' + std::to_string(size.cx) + 'x' + std::to_string(size.cy) + " '" + object->GetText().Str() +
             "';";
    }
    return out;
  }
  KExtendedObj* Only() const {
    CObList* list = Staff()->GetAttachments();
    return list->GetCount() == 1 ? static_cast<KExtendedObj*>(list->GetHead()) : nullptr;
  }
  POINT Centre(KExtendedObj& object) const {
    const CRect rect = extobj::ScreenRect(View(), kStaff, object);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  // Runs the command's placement: the arrow keys take the caret to the
  // staff column (a click would leave a one-column selection, over which
  // the command tries to auto-insert), then the action and the clicks the
  // object takes (the text box answers its dialog).
  void Draw(const KindCase& c, int caretColumn = 1) {
    for (int i = 0; i < 4 && View().GetCurrentLine() < kStaff; ++i) Key(Qt::Key_Down);
    for (int i = 0; i < 20 && View().GetCaretColumn() < caretColumn; ++i) Key(Qt::Key_Right);
    for (int i = 0; i < 20 && View().GetCaretColumn() > caretColumn; ++i) Key(Qt::Key_Left);
    ASSERT_EQ(View().GetCurrentLine(), kStaff);
    ASSERT_EQ(View().GetCaretColumn(), caretColumn);
    ASSERT_FALSE(View().HasSelection());
    ui_.AnswerDialog(KDlgExtText::kTemplateId, [](KModalDialog& dialog) {
      dynamic_cast<KDlgExtText&>(dialog).text = "Dolce";
      return IDOK;
    });
    Frame().ActionFor(c.command)->trigger();
    QApplication::processEvents();
    const POINT start = View().m_extPoints[0];
    for (const POINT& step : c.clicks) Click(POINT{start.x + step.x, start.y + step.y});
  }

  // One undo step since the last check, and Ctrl+Z returns `before`; Redo
  // then brings the edit back.
  void ExpectOneUndoStepBackTo(const std::string& before) {
    EXPECT_EQ(EditKinds().size(), 1U) << "one undo step per edit";
    const std::string after = Attachments();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Attachments(), before) << "Ctrl+Z";
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Attachments(), after) << "Ctrl+Shift+Z";
    EditKinds().clear();
  }

  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
};

TEST_P(ExtObjInTheWindow, IsDrawnMovedEditedAndDeletedWithTheMouse) {
  const KindCase& c = GetParam();
  Draw(c);
  ASSERT_NE(Only(), nullptr) << Attachments();
  EXPECT_EQ(Only()->GetKind(), c.kind);
  EXPECT_EQ(Only()->GetPos(), 1);
  EXPECT_EQ(View().m_extClicksWanted, 0);
  ExpectOneUndoStepBackTo("");

  // Select with a click, then drag the frame one column to the right.
  ASSERT_NE(Only(), nullptr);
  Click(Centre(*Only()));
  ASSERT_EQ(View().m_selectedExtObj, Only());
  EditKinds().clear();
  const std::string placed = Attachments();
  const CRect frame(View().m_extTracker);
  const POINT grip = Centre(*Only());
  Drag(grip, POINT{grip.x + 18, grip.y});
  ASSERT_NE(Only(), nullptr);
  EXPECT_EQ(extobj::ScreenRect(View(), kStaff, *Only()).left, frame.left + 18);
  EXPECT_NE(Attachments(), placed);
  ExpectOneUndoStepBackTo(placed);

  // A double click edits: ties and slurs show their end handles, and the
  // first handle drags the first end; the text box opens its dialog; a
  // hairpin has nothing to edit.
  ASSERT_NE(Only(), nullptr);
  Click(Centre(*Only()));
  ASSERT_EQ(View().m_selectedExtObj, Only());
  EditKinds().clear();
  ui_.ClearRecords();
  const std::string moved = Attachments();
  ui_.AnswerDialog(KDlgExtText::kTemplateId, [](KModalDialog& dialog) {
    dynamic_cast<KDlgExtText&>(dialog).text = "Dolcissimo";
    return IDOK;
  });
  DoubleClick(Centre(*Only()));
  if (c.doubleClick == KindCase::kHandles) {
    ASSERT_EQ(View().m_extTwoHandles, 1);
    EXPECT_TRUE(EditKinds().empty());
    const RECT handle = View().m_extHandles[0];
    const POINT from{(handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2};
    const CPoint end = Only()->GetPoint(0);
    Drag(from, POINT{from.x + 6, from.y + 3});
    ASSERT_NE(Only(), nullptr);
    EXPECT_EQ(Only()->GetPoint(0), end + CPoint(6, 3));
    ExpectOneUndoStepBackTo(moved);
  } else if (c.doubleClick == KindCase::kDialog) {
    EXPECT_EQ(Only()->GetText(), "Dolcissimo");
    ExpectOneUndoStepBackTo(moved);
  } else {
    EXPECT_EQ(ui_.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
    EXPECT_TRUE(EditKinds().empty());
    EXPECT_EQ(Attachments(), moved);
  }

  // Select again and delete with the Delete key.
  ASSERT_NE(Only(), nullptr);
  Click(Centre(*Only()));
  ASSERT_EQ(View().m_selectedExtObj, Only());
  EditKinds().clear();
  const std::string edited = Attachments();
  Key(Qt::Key_Delete);
  EXPECT_EQ(Attachments(), "");
  EXPECT_EQ(View().m_selectedExtObj, nullptr);
  ExpectOneUndoStepBackTo(edited);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ExtObjInTheWindow,
    ::testing::Values(
        KindCase{
            "tie", cmd::kInsertExtendedFirst, {{20, -6}, {40, 0}}, KExtendedObj::kTie, KindCase::kHandles},
        KindCase{"slur",
                 cmd::kInsertExtendedFirst + 1,
                 {{30, 9}, {60, 3}},
                 KExtendedObj::kSlur,
                 KindCase::kHandles},
        KindCase{"crescendo hairpin",
                 cmd::kInsertExtendedFirst + 3,
                 {{50, 4}},
                 KExtendedObj::kCrescendo,
                 KindCase::kBeep},
        KindCase{"text box", cmd::kInsertTextString, {}, KExtendedObj::kTextBox, KindCase::kDialog}),
    [](const ::testing::TestParamInfo<KindCase>& info) {
      std::string name;
      bool upper = true;
      for (const char* p = info.param.name; *p != 0; ++p) {
        if (*p == ' ') {
          upper = true;
        } else {
          name += upper ? static_cast<char>(*p - 'a' + 'A') : *p;
          upper = false;
        }
      }
      return name;
    });

// The four objects side by side, as the window paints them.
class ExtObjPicture : public ExtObjInTheWindow {};

TEST_F(ExtObjPicture, AllFourAreDrawnInTheWindow) {
  Draw(KindCase{"tie", cmd::kInsertExtendedFirst, {{10, -8}, {20, 0}}, 0, KindCase::kHandles}, 0);
  Draw(KindCase{"slur", cmd::kInsertExtendedFirst + 1, {{20, 10}, {40, 0}}, 0, KindCase::kHandles}, 2);
  Draw(KindCase{"hairpin", cmd::kInsertExtendedFirst + 3, {{54, 12}}, 0, KindCase::kBeep}, 4);
  Draw(KindCase{"text", cmd::kInsertTextString, {}, 0, KindCase::kDialog}, 7);
  EXPECT_EQ(Staff()->GetAttachmentCount(), 4) << Attachments();
  const QPixmap picture = pane_->viewport()->grab();
  EXPECT_FALSE(picture.isNull());
  const QString file = QString::fromStdString((Dir() / "four-objects.png").string());
  EXPECT_TRUE(picture.save(file));
  if (const char* keep = std::getenv("STAVLIN_KEEP_GRAB")) picture.save(QString::fromUtf8(keep));
}

}  // namespace
