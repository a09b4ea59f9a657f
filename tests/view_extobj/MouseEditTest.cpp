// A tie, a slur, a hairpin and a text box on a staff: selected by a click,
// dragged by their frame, edited by a double click and deleted, each edit
// one undo step; links open on a plain click; a drop over another line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtObjFixture.h"
#include "platform/Keys.h"

namespace extobjtest {
namespace {

using viewtest::CaseName;

struct ObjectCase {
  const char* name;
  int kind;
  bool handles;  // a double click shows end handles
  bool dialog;   // a double click opens the text dialog
};

void PrintTo(const ObjectCase& c, std::ostream* os) { *os << c.name; }

KExtendedObj* MakeObject(int kind) {
  if (kind == KExtendedObj::kTextBox) return new KExtendedObj(2, 10, CString("Dolce"), CString());
  if (kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur)
    return new KExtendedObj(1, 12, kind, 20, -8, 40, 0);
  return new KExtendedObj(1, 28, kind, 0, 0, 50, 7);
}

class ObjectByMouse : public ExtObjFixture, public ::testing::WithParamInterface<ObjectCase> {
 protected:
  void SetUp() override {
    ExtObjFixture::SetUp();
    StaffScore();
    object = Attach(MakeObject(GetParam().kind));
  }
  // Selects the object with a click on it.
  void SelectIt() {
    ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*object), FALSE), CStavlinView::kExtSelected);
    viewtest::UndoSteps().clear();
  }
  KExtendedObj* object = nullptr;
};

TEST_P(ObjectByMouse, IsSelectedByAClickOnIt) {
  const CRect rect = extobj::ScreenRect(*view, 0, *object);
  EXPECT_EQ(view->SelectExtendedObjectAt(CentreOf(*object), FALSE), CStavlinView::kExtSelected);
  EXPECT_EQ(view->m_selectedExtObj, object);
  EXPECT_EQ(view->m_extDisplayLine, 0);
  EXPECT_EQ(CRect(view->m_extTracker), rect);
  EXPECT_EQ(view->HitTestExtTracker(CentreOf(*object)), CStavlinView::kExtHitFrame);
  // A click elsewhere lets it go.
  EXPECT_EQ(view->SelectExtendedObjectAt(POINT{rect.right + 200, rect.bottom}, FALSE),
            CStavlinView::kExtFoundNothing);
  EXPECT_EQ(view->m_selectedExtObj, nullptr);
  EXPECT_TRUE(EditSteps().empty());
}

TEST_P(ObjectByMouse, MovesWithItsFrameAsOneUndoStep) {
  SelectIt();
  CRect frame(view->m_extTracker);
  frame.OffsetRect(18, 0);
  EXPECT_TRUE(view->FinishExtObjFrameDrag(frame));
  EXPECT_EQ(extobj::ScreenRect(*view, 0, *object), frame);
  EXPECT_EQ(CRect(view->m_extTracker), frame);
  EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLine, 0, 0}}));
  EXPECT_TRUE(doc.IsModified());
}

TEST_P(ObjectByMouse, IsEditedByADoubleClick) {
  const ObjectCase& c = GetParam();
  SelectIt();
  Answer<KDlgExtText>(KDlgExtText::kTemplateId, [](KDlgExtText& choice) {
    EXPECT_EQ(choice.text, "Dolce");
    choice.text = "Dolcissimo";
    choice.background = 1;
  });
  EXPECT_TRUE(view->EditSelectedExtendedObject());
  if (c.dialog) {
    EXPECT_EQ(object->GetText(), "Dolcissimo");
    EXPECT_EQ(object->GetOpaque(), 1);
    EXPECT_EQ(EditSteps().size(), 1u);
  } else if (c.handles) {
    // The end handles show; dragging the first moves the first end point.
    EXPECT_EQ(view->m_extTwoHandles, 1);
    const RECT handle = view->m_extHandles[0];
    EXPECT_EQ(view->HitTestExtTracker(POINT{handle.left + 1, handle.top + 1}), CStavlinView::kExtHitHandle1);
    EXPECT_TRUE(EditSteps().empty());
    const CPoint before = object->GetPoint(0);
    RECT moved = handle;
    moved.left += 6, moved.right += 6, moved.top += 3, moved.bottom += 3;
    view->FinishExtObjHandleDrag(CStavlinView::kExtHitHandle1, handle, moved);
    EXPECT_EQ(object->GetPoint(0), before + CPoint(6, 3));
    EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLine, 0, 0}}));
    EXPECT_EQ(CRect(view->m_extHandles[0]).TopLeft(), CRect(moved).TopLeft());
  } else {
    EXPECT_EQ(ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
    EXPECT_TRUE(EditSteps().empty());
  }
  EXPECT_EQ(ObjectCount(), 1);
}

TEST_P(ObjectByMouse, IsDeletedByTheDeleteKeyAsOneUndoStep) {
  SelectIt();
  view->OnKeyDown(VK_DELETE, 1, 0);
  EXPECT_EQ(ObjectCount(), 0);
  EXPECT_EQ(view->m_selectedExtObj, nullptr);
  EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLine, 0, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ObjectByMouse,
                         ::testing::Values(ObjectCase{"tie", KExtendedObj::kTie, true, false},
                                           ObjectCase{"slur", KExtendedObj::kSlur, true, false},
                                           ObjectCase{"hairpin", KExtendedObj::kCrescendo, false, false},
                                           ObjectCase{"text box", KExtendedObj::kTextBox, false, true}),
                         [](const ::testing::TestParamInfo<ObjectCase>& info) {
                           return CaseName(info.param.name);
                         });

TEST_F(ExtObjFixture, PlainClickOnALinkedTextOpensTheLink) {
  StaffScore();
  KExtendedObj* link = Attach(new KExtendedObj(2, 10, CString("Site"), CString()));
  link->SetLinkTarget("www.example.org");
  EXPECT_EQ(view->SelectExtendedObjectAt(CentreOf(*link), FALSE), CStavlinView::kExtLinkOpened);
  EXPECT_EQ(shell.Links(), std::vector<std::string>{"www.example.org"});
  EXPECT_EQ(link->IsVisited(), 1);
  EXPECT_EQ(view->m_selectedExtObj, nullptr);
}

TEST_F(ExtObjFixture, CtrlClickOnALinkedTextSelectsIt) {
  StaffScore();
  KExtendedObj* link = Attach(new KExtendedObj(2, 10, CString("Site"), CString()));
  link->SetLinkTarget("www.example.org");
  EXPECT_EQ(view->SelectExtendedObjectAt(CentreOf(*link), TRUE), CStavlinView::kExtSelected);
  EXPECT_TRUE(shell.Links().empty());
  EXPECT_EQ(view->m_selectedExtObj, link);
}

TEST_F(ExtObjFixture, ObjectOfTheLineAboveIsFoundFromTheLineBelow) {
  StaffScore(1, true);
  KExtendedObj* slur = Attach(new KExtendedObj(1, 12, KExtendedObj::kSlur, 20, -8, 40, 0));
  view->m_currentLine = 1;
  EXPECT_EQ(view->SelectExtendedObjectAt(CentreOf(*slur), FALSE), CStavlinView::kExtSelected);
  EXPECT_EQ(view->m_extDisplayLine, 0);
}

TEST_F(ExtObjFixture, TupletDoubleClickedTurnsItsDirection) {
  StaffScore();
  KExtendedObj* tuplet = Attach(new KExtendedObj(1, 8, KExtendedObj::kNumberedBracket, 0, 0, 40, 0));
  tuplet->SetText("-3");
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*tuplet), FALSE), CStavlinView::kExtSelected);
  Answer<KDlgTriplet>(KDlgTriplet::kTemplateId, [](KDlgTriplet& choice) {
    EXPECT_EQ(choice.text, "3");
    EXPECT_EQ(choice.direction, 0);
    choice.text = "5";
    choice.direction = 1;
  });
  view->EditSelectedExtendedObject();
  EXPECT_EQ(tuplet->GetText(), "+5");
}

TEST_F(ExtObjFixture, BracketDoubleClickedChangesStyleAndText) {
  StaffScore();
  KExtendedObj* bracket = Attach(new KExtendedObj(1, 6, 7, 0, 0, 60, 13));
  bracket->SetText("2.");
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*bracket), FALSE), CStavlinView::kExtSelected);
  Answer<KDlgPhraseLine>(KDlgPhraseLine::kTemplateId, [](KDlgPhraseLine& choice) {
    EXPECT_EQ(choice.style, 0);
    EXPECT_EQ(choice.textChoice, 2);
    EXPECT_EQ(choice.fontText, g_prefBracket2TextFont);
    choice.style = 7;
    choice.textChoice = 3;
    choice.customText = "3.";
  });
  view->EditSelectedExtendedObject();
  EXPECT_EQ(bracket->GetKind(), 14);
  EXPECT_EQ(bracket->GetText(), "3.");
  EXPECT_EQ(EditSteps().size(), 1u);
}

TEST_F(ExtObjFixture, CancelledEditChangesNothing) {
  StaffScore();
  KExtendedObj* text = Attach(new KExtendedObj(2, 10, CString("Dolce"), CString()));
  ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*text), FALSE), CStavlinView::kExtSelected);
  ui.AnswerDialog(KDlgExtText::kTemplateId, IDCANCEL);
  view->EditSelectedExtendedObject();
  EXPECT_EQ(text->GetText(), "Dolce");
  EXPECT_TRUE(EditSteps().empty());
  EXPECT_FALSE(doc.IsModified());
}

class DropOnAnotherLine : public ExtObjFixture {
 protected:
  void SetUp() override {
    ExtObjFixture::SetUp();
    // A staff, then text lines: the last is beyond the staff's reach.
    Add(viewtest::MakeStaff({{0, 18}, {1, 18}, {2, 18}}));
    for (const char* words : {"one", "two", "three"}) AddText(words);
    Layout(0, 1);
    slur = Attach(new KExtendedObj(1, 12, KExtendedObj::kSlur, 20, -8, 40, 0));
    ASSERT_EQ(view->SelectExtendedObjectAt(CentreOf(*slur), FALSE), CStavlinView::kExtSelected);
    frame = CRect(view->m_extTracker);
    ASSERT_GT(Entry(kTarget).top, Entry(0).bottom + 30);
    // Down to the middle of the last text line.
    const int drop = (Entry(kTarget).top + Entry(kTarget).bottom) / 2 - (frame.top + frame.bottom) / 2;
    frame.OffsetRect(0, drop);
  }
  static constexpr int kTarget = 3;
  KExtendedObj* slur = nullptr;
  CRect frame;
};

TEST_F(DropOnAnotherLine, AsksFirstAndMovesOnYes) {
  ui.Answer(8248, IDYES);
  EXPECT_TRUE(view->FinishExtObjFrameDrag(frame));
  EXPECT_EQ(ui.MessageIds(), std::vector<UINT>{8248});
  EXPECT_EQ(ObjectCount(0), 0);
  EXPECT_EQ(ObjectCount(kTarget), 1);
  EXPECT_EQ(view->m_selectedExtObj, nullptr);
  EXPECT_EQ(EditSteps(), (std::vector<viewtest::UndoStep>{{extobj::kUndoLineToEnd, 0, 0}}));
}

TEST_F(DropOnAnotherLine, StaysWhereItWasOnNo) {
  ui.Answer(8248, IDNO);
  const RECT before = view->m_extTracker;
  EXPECT_FALSE(view->FinishExtObjFrameDrag(frame));
  EXPECT_EQ(ObjectCount(0), 1);
  EXPECT_EQ(ObjectCount(kTarget), 0);
  EXPECT_EQ(CRect(view->m_extTracker), CRect(before));
  EXPECT_TRUE(EditSteps().empty());
}

}  // namespace
}  // namespace extobjtest
