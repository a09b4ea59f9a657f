// The symbol toolboxes in the real window: each palette opens from its
// command, shows the current symbol highlighted, enters its symbol at the
// caret when clicked (one undo step) and gives the keyboard back to the
// score; the alternate, staff and grace-note palettes swap to their
// tablature twins when the caret goes to a tablature line; the fretboard and
// the keyboard enter notes on tablature and staves, name the note under the
// pointer and wait the double-click interval before a single click counts;
// where the toolboxes stand is kept for the next start.

#include <QAction>
#include <QApplication>
#include <QTest>
#include <ostream>
#include <string>

#include "ShellTestSupport.h"
#include "app/KToolBoxWindow.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"
#include "platform/Registry.h"
#include "support/CaseName.h"
#include "support/WaitFor.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

// Points read as (x, y) in failures.
static void PrintTo(const QPoint& p, std::ostream* out) { *out << '(' << p.x() << ", " << p.y() << ')'; }

namespace {

using namespace toolbox;

constexpr const char* kGuitar = "E A D G B E  323742475156";
enum ScoreLine { kTitle = 0, kStaffLine = 1, kTabLine = 2, kRhythmLine = 3 };
// Every toolbox closed: the start opens none of them.
constexpr const char* kAllClosed =
    "10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,"
    "10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0";

class ToolboxWindows : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path_ = (Dir() / "toolboxes.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      doc.AddTailLine(new KStaffLine(0, 0, 0));
      doc.AddTailLine(new KTabLine(0, kGuitar, 0));
      doc.AddTailLine(new KRhythmLine(0, "16,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
      ASSERT_TRUE(doc.OnSaveDocument(path_.c_str()));
    }
    StorePositions(kAllClosed);
    // Clicks on a palette enter at the caret (the symbol cursor is tried apart).
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\EntryOptions", REG_SZ, "0,0,0,1,9,9,9", 0);
    ASSERT_TRUE(Start());
    OpenScore();
  }

  void StorePositions(const char* text) {
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\ToolBoxPos", REG_SZ, text, 0);
  }
  void OpenScore() {
    child_ = OpenFocused(path_, pane_);
    ASSERT_NE(pane_, nullptr);
  }

  CStavlinView& View() const { return pane_->View(); }
  KListLine* List(int line) const { return View().GetDisplayLineObj(line)->AsListLine(); }

  void CaretOn(int line, int column, int row) {
    CStavlinView& view = View();
    view.m_currentLine = line;
    view.m_currentType = view.GetDisplayEntry(line).type;
    view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
    view.m_caretColumn = column;
    view.m_caretRow = row;
    view.PlaceCaret();
    Frame().AfterViewInput();
  }

  std::string Dump(int line) const {
    std::string out;
    const CObList* objects = List(line)->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const CObject* object = objects->GetNext(node);
      if (!out.empty()) out += ' ';
      if (const auto* rhythm = dynamic_cast<const KRhythmObj*>(object)) {
        out += std::to_string(rhythm->GetPos()) + ':' + std::to_string(rhythm->GetCode());
        continue;
      }
      const auto* column = dynamic_cast<const KChord*>(object);
      if (column == nullptr) continue;
      out += std::to_string(column->GetPos()) + ':';
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        if (i > 0) out += ',';
        out += std::to_string(note.code) + '@' +
               std::to_string(column->IsTabColumn() ? note.position % 10 : note.position);
      }
    }
    return out;
  }

  // Opens a toolbox as its menu item does.
  KToolBoxWindow* Open(int slot) {
    QAction* action = Frame().ActionFor(CommandOfKind(slot));
    if (action == nullptr || !action->isEnabled()) return nullptr;
    action->trigger();
    QApplication::processEvents();
    return Frame().ToolBox(slot);
  }
  // Clicks a toolbox window's cell (by index) at its centre.
  void ClickCell(KToolBoxWindow* window, int index, Qt::MouseButton button = Qt::LeftButton) {
    const RECT r = CellRect(window->Box().Kind(), index);
    QTest::mouseClick(window, button, Qt::NoModifier,
                      QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2 - 2));
    QApplication::processEvents();
  }
  void Undo() { Frame().OnCommand(cmd::kEditUndo); }
  // The pointer moves over a window without a button held.
  static void Hover(QWidget* window, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, window->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window, &move);
  }
  // A click in the score on a display line's first column (a string or staff row).
  void ClickLine(int line) {
    const int x = View().GetContentLeft() + List(line)->GetLeadInWidth(0) + 2;
    const int y = View().GetDisplayEntry(line).top + List(line)->GetSpaceAbove(0) + 7;
    const POINT scroll = View().GetVirtualScrollPosition();
    QTest::mouseClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x - scroll.x, y - scroll.y));
    QApplication::processEvents();
  }

  std::string path_;
  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
};

struct PaletteCase {
  const char* name;
  int slot;     // the command's kind
  int kind;     // the palette it shows there
  int line;     // where the caret stands
  int cell;     // the cell clicked
  int entered;  // the symbol code that goes into the line
};
void PrintTo(const PaletteCase& c, std::ostream* out) { *out << c.name; }

const PaletteCase kPalettes[] = {
    {"the symbols toolbox enters a quarter note", kSymbols, kSymbols, kStaffLine, 3, 8},
    {"the mini symbols toolbox enters a half note", kMiniSymbols, kMiniSymbols, kStaffLine, 2, 10},
    {"the alternate symbols enter a stemless quarter", kAlternate, kAlternate, kStaffLine, 3, 10008},
    {"on tablature alternate symbols are the tab twin: a hammer-on arc", kAlternate, kAlternateTab, kTabLine,
     75, 10042},
    {"common staff symbols enter a sharp", kCommonStaff, kCommonStaff, kStaffLine, 19 + 7, 28},
    {"on tablature common symbols are the tab twin: a hammer-on", kCommonStaff, kCommonTab, kTabLine, 19 + 7,
     42},
    {"staff grace notes enter a grace note", kStaffGrace, kStaffGrace, kStaffLine, 1, 13},
    {"on tablature grace notes are the tab twin: a slashed grace note", kStaffGrace, kTabGrace, kTabLine, 0,
     10013},
    {"accidentals enter a double sharp as one step", 9, 9, kStaffLine, 1, 29},
    {"bars and repeats enter repeats both ways as one step", 10, 10, kStaffLine, 6, 96},
    {"dots and accents enter a staccato", 11, 11, kStaffLine, 6, 52},
    {"trills and turns enter a trill", 12, 12, kStaffLine, 0, 38},
    {"stemless notes enter a stemless half", 13, 13, kStaffLine, 0, 10010},
    {"other symbols enter a pedal mark", 14, 14, kStaffLine, 0, 82},
    {"guitar symbols enter a dead note", 15, 15, kStaffLine, 21 + 14, 101},
    {"drum symbols enter an accent", kDrums, kDrums, kStaffLine, 6, 64},
    {"rhythm line symbols enter a quarter on the rhythm line", kRhythm, kRhythm, kRhythmLine, 2, 207},
};

class EachPalette : public ToolboxWindows, public ::testing::WithParamInterface<PaletteCase> {};

TEST_P(EachPalette, OpensFromItsCommandAndEntersItsSymbolInOneUndoStep) {
  const PaletteCase& c = GetParam();
  CaretOn(c.line, 0, c.line == kTabLine ? 4 : 16);
  KToolBoxWindow* window = Open(c.slot);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Box().Kind(), c.kind);
  EXPECT_TRUE(Frame().ActionFor(CommandOfKind(c.slot))->isChecked());
  const std::string before = Dump(c.line);

  ClickCell(window, c.cell);
  const std::string after = Dump(c.line);
  EXPECT_NE(after.find("0:" + std::to_string(c.entered) + (c.line == kRhythmLine ? "" : "@")),
            std::string::npos)
      << after;
  EXPECT_TRUE(stavlin_test::WaitFor([&] { return pane_->hasFocus(); })) << "the score keeps the keyboard";
  // The clicked cell is the highlighted one (the toolbox follows the current symbol).
  EXPECT_EQ(window->Box().CurrentCode(), CellsOf(window->Box().Kind())[static_cast<size_t>(c.cell)]);
  Undo();
  EXPECT_EQ(Dump(c.line), before) << "one undo takes the symbol away";
}

INSTANTIATE_TEST_SUITE_P(Toolboxes, EachPalette, ::testing::ValuesIn(kPalettes),
                         [](const ::testing::TestParamInfo<PaletteCase>& info) {
                           return viewtest::CaseName(info.param.name);
                         });

// The bar and repeat cells of the common symbols toolbox enter after a note
// what their keys enter there.
TEST_F(ToolboxWindows, TheBarAndRepeatCellsOfTheSymbolsToolboxEnterWhatTheirKeysEnter) {
  KToolBoxWindow* window = Open(kSymbols);
  ASSERT_NE(window, nullptr);
  const struct {
    int cell;
    char key;
    int code;
  } cases[] = {{43, '|', 21}, {44, '"', 22}, {45, 'I', 23}, {46, '[', 24}, {47, ']', 25}, {48, '%', 26}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    ASSERT_EQ(CellsOf(kSymbols)[static_cast<size_t>(c.cell)], c.code);
    CaretOn(kStaffLine, 0, 16);
    QTest::keyClick(pane_, 'q');
    const std::string withNote = Dump(kStaffLine);
    ClickCell(window, c.cell);
    const std::string clicked = Dump(kStaffLine);
    EXPECT_NE(clicked.find(":" + std::to_string(c.code) + "@"), std::string::npos) << clicked;
    Undo();
    EXPECT_EQ(Dump(kStaffLine), withNote);
    pane_->setFocus();
    QTest::keyClick(pane_, c.key);
    EXPECT_EQ(Dump(kStaffLine), clicked) << "typed";
    Undo();
    Undo();
  }
}

TEST_F(ToolboxWindows, TheNoteStylePaletteChoosesTheStyleOfNewNotes) {
  CaretOn(kStaffLine, 0, 16);
  KToolBoxWindow* window = Open(kNoteStyles);
  ASSERT_NE(window, nullptr);
  ClickCell(window, 2);
  EXPECT_EQ(View().m_noteStyle, 2);
  EXPECT_EQ(window->Box().HighlightRect().left, CellRect(kNoteStyles, 2).left);
  pane_->setFocus();
  QTest::keyClick(pane_, Qt::Key_Q);
  EXPECT_NE(Dump(kStaffLine).find("0:8@16"), std::string::npos) << Dump(kStaffLine);
}

TEST_F(ToolboxWindows, ATypedSymbolIsHighlightedOnTheOpenPalette) {
  KToolBoxWindow* window = Open(kCommonStaff);
  ASSERT_NE(window, nullptr);
  CaretOn(kStaffLine, 0, 16);
  pane_->setFocus();
  QTest::keyClick(pane_, Qt::Key_H);  // a half note
  QApplication::processEvents();
  EXPECT_EQ(window->Box().CurrentCode(), 10);
  EXPECT_EQ(window->Box().HighlightRect().left, CellRect(kCommonStaff, 1).left);
}

TEST_F(ToolboxWindows, TheSymbolCursorTakesThePickToTheNextClickInTheScore) {
  g_prefEntryOptions.cursorMode = 1;
  KToolBoxWindow* window = Open(kCommonStaff);
  ASSERT_NE(window, nullptr);
  CaretOn(kStaffLine, 0, 16);
  ClickCell(window, 2);  // the quarter note
  EXPECT_EQ(Dump(kStaffLine), "") << "the palette only chose the cursor";
  EXPECT_EQ(pane_->CursorId(), CStavlinView::kCursorSymbolBase + 8);
  const int x = View().GetContentLeft() + List(kStaffLine)->GetLeadInWidth(0) + 18 * 3 + 2;
  const int y = View().GetDisplayEntry(kStaffLine).top + List(kStaffLine)->GetSpaceAbove(0) + 3 + 3;
  const POINT scroll = View().GetVirtualScrollPosition();
  QTest::mouseClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x - scroll.x, y - scroll.y));
  QApplication::processEvents();
  EXPECT_NE(Dump(kStaffLine).find("3:8@16"), std::string::npos) << Dump(kStaffLine);
}

TEST_F(ToolboxWindows, PalettesSwapToTheirTablatureTwinsWithTheCaretsLine) {
  CaretOn(kStaffLine, 0, 16);
  KToolBoxWindow* alternate = Open(kAlternate);
  KToolBoxWindow* common = Open(kCommonStaff);
  KToolBoxWindow* grace = Open(kStaffGrace);
  ASSERT_NE(alternate, nullptr);
  ASSERT_NE(common, nullptr);
  ASSERT_NE(grace, nullptr);
  EXPECT_EQ(grace->width(), 171);
  ClickLine(kTabLine);
  ASSERT_EQ(View().GetCurrentLine(), kTabLine);
  EXPECT_EQ(alternate->Box().Kind(), kAlternateTab);
  EXPECT_EQ(common->Box().Kind(), kCommonTab);
  EXPECT_EQ(grace->Box().Kind(), kTabGrace);
  EXPECT_EQ(grace->width(), 76) << "the tab grace notes are fewer";
  ClickLine(kRhythmLine);  // a rhythm line changes nothing
  ASSERT_EQ(View().GetCurrentLine(), kRhythmLine);
  EXPECT_EQ(common->Box().Kind(), kCommonTab);
  ClickLine(kStaffLine);
  ASSERT_EQ(View().GetCurrentLine(), kStaffLine);
  EXPECT_EQ(alternate->Box().Kind(), kAlternate);
  EXPECT_EQ(common->Box().Kind(), kCommonStaff);
  EXPECT_EQ(grace->Box().Kind(), kStaffGrace);
  EXPECT_EQ(grace->width(), 171);
}

TEST_F(ToolboxWindows, APaletteOpenedOnATablatureLineBearsItsTwinsTitle) {
  const struct {
    const char* where;
    int line;
    int row;
    const char* title;
  } cases[] = {
      {"staff line", kStaffLine, 16, "Alternate Symbols"},
      {"tablature line", kTabLine, 4, "Alternate Tab Symbols"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    CaretOn(c.line, 0, c.row);
    KToolBoxWindow* alternate = Open(kAlternate);
    ASSERT_NE(alternate, nullptr);
    EXPECT_EQ(alternate->windowTitle().toStdString(), c.title);
    Frame().OnCommand(CommandOfKind(kAlternate));
    QApplication::processEvents();
    ASSERT_EQ(Frame().ToolBox(kAlternate), nullptr);
  }
}

TEST_F(ToolboxWindows, TheFullAndMiniSymbolsToolboxesExcludeEachOtherAndCycle) {
  ASSERT_NE(Open(kSymbols), nullptr);
  ASSERT_NE(Open(kMiniSymbols), nullptr);
  QApplication::processEvents();
  EXPECT_EQ(Frame().ToolBox(kSymbols), nullptr);
  Frame().OnCommand(cmd::kToolBoxCycle);  // mini -> none
  QApplication::processEvents();
  EXPECT_EQ(Frame().ToolBox(kMiniSymbols), nullptr);
  Frame().OnCommand(cmd::kToolBoxCycle);  // none -> full
  EXPECT_NE(Frame().ToolBox(kSymbols), nullptr);
  Frame().OnCommand(cmd::kToolBoxCycle);  // full -> mini
  EXPECT_EQ(Frame().ToolBox(kSymbols), nullptr);
  EXPECT_NE(Frame().ToolBox(kMiniSymbols), nullptr);
}

TEST_F(ToolboxWindows, AFretboardClickWaitsForADoubleClickThenEntersTheFret) {
  CaretOn(kTabLine, 0, 4);
  KToolBoxWindow* board = Open(kFretboard);
  ASSERT_NE(board, nullptr);
  QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, QPoint(120, 13 * 5 + 6));  // G, third fret
  EXPECT_TRUE(board->ClickPending()) << "a single click waits on a timer";
  EXPECT_EQ(Dump(kTabLine), "");
  stavlin_test::WaitFor([&] { return Dump(kTabLine) == "0:229@7"; });
  EXPECT_EQ(Dump(kTabLine), "0:229@7");
  EXPECT_EQ(View().m_currentDuration, 8) << "a left click is a quarter";
  // Giving the keyboard back to the score activates the main window, which the
  // window system confirms through the event loop.
  EXPECT_TRUE(stavlin_test::WaitFor([&] { return pane_->hasFocus(); })) << "the score has the keyboard back";
  ASSERT_EQ(board->Box().Marks().size(), 1u);

  // A double click is one half note, not two quarters.
  QTest::mouseDClick(board, Qt::LeftButton, Qt::NoModifier, QPoint(10, 6));  // the open high E
  QApplication::processEvents();
  EXPECT_FALSE(board->ClickPending());
  EXPECT_EQ(View().m_currentDuration, 10);
  EXPECT_NE(Dump(kTabLine).find("226@2"), std::string::npos) << Dump(kTabLine);
}

TEST_F(ToolboxWindows, TheFretboardAndKeyboardEnterNotesOnAStaffToo) {
  CaretOn(kStaffLine, 0, 18);
  KToolBoxWindow* board = Open(kFretboard);
  ASSERT_NE(board, nullptr);
  QTest::mouseClick(board, Qt::LeftButton, Qt::NoModifier, QPoint(10, 13 * 5 + 6));  // low E: E3
  ASSERT_TRUE(stavlin_test::WaitFor([&] { return !board->ClickPending(); })) << "the click was never taken";
  EXPECT_NE(Dump(kStaffLine).find("0:8@"), std::string::npos) << Dump(kStaffLine);

  KToolBoxWindow* keys = Open(kKeyboard);
  ASSERT_NE(keys, nullptr);
  QTest::mouseClick(keys, Qt::LeftButton, Qt::NoModifier, QPoint(28 + 3 * 98 + 12, 10));  // C#4
  ASSERT_TRUE(stavlin_test::WaitFor([&] { return !keys->ClickPending(); })) << "the click was never taken";
  EXPECT_NE(Dump(kStaffLine).find("8@24,28@24"), std::string::npos) << Dump(kStaffLine);

  // On the tablature line the keyboard's note goes onto a string.
  CaretOn(kTabLine, 0, 4);
  QTest::mouseClick(keys, Qt::RightButton, Qt::NoModifier, QPoint(28 + 3 * 98 + 2, 60));  // C4 as an eighth
  ASSERT_TRUE(stavlin_test::WaitFor([&] { return !keys->ClickPending(); })) << "the click was never taken";
  EXPECT_EQ(Dump(kTabLine), "0:229@6") << "C4 is the A string's third fret";
  EXPECT_EQ(View().m_currentDuration, 0);
}

TEST_F(ToolboxWindows, TheInstrumentsNameTheNoteUnderThePointer) {
  KToolBoxWindow* keys = Open(kKeyboard);
  KToolBoxWindow* board = Open(kFretboard);
  ASSERT_NE(keys, nullptr);
  ASSERT_NE(board, nullptr);
  Hover(keys, QPoint(28 + 3 * 98 + 12, 10));
  EXPECT_TRUE(keys->windowTitle().startsWith(QStringLiteral("C# / Db"))) << keys->windowTitle().toStdString();
  Hover(board, QPoint(200, 13 * 5 + 6));
  EXPECT_TRUE(board->windowTitle().startsWith(QStringLiteral("A    ( Standard Tuning )")))
      << board->windowTitle().toStdString();
}

// Where a toolbox was left is where it comes back, restart after restart,
// also when it was left over a maximized main window: the main window opens
// unmaximized at the next start, and the box must not move with it. (The
// window manager answers through the event loop; each wait is checked.)
TEST_F(ToolboxWindows, PositionsAndOpenToolboxesSurviveARestart) {
  g_bRememberToolBoxes = 1;
  KToolBoxWindow* accidentals = Open(9);
  KToolBoxWindow* keys = Open(kKeyboard);
  KToolBoxWindow* bars = Open(10);
  ASSERT_NE(accidentals, nullptr);
  ASSERT_NE(keys, nullptr);
  ASSERT_NE(bars, nullptr);
  auto offset = [this](const QWidget* box) { return box->pos() - Frame().frameGeometry().topLeft(); };
  const QPoint main = Frame().frameGeometry().topLeft();
  accidentals->move(main + QPoint(37, 120));
  static_cast<void>(stavlin_test::WaitFor([&] { return offset(accidentals) == QPoint(37, 120); }));
  ASSERT_EQ(offset(accidentals), QPoint(37, 120));

  // The keyboard is put in its place over the maximized main window.
  Frame().showMaximized();
  EXPECT_TRUE(stavlin_test::WaitFor([&] { return Frame().isMaximized(); }));
  static_cast<void>(stavlin_test::WaitFor([&] { return Frame().frameGeometry().topLeft() != main; }));
  const QPoint left = Frame().geometry().topLeft() + QPoint(100, 400);
  keys->move(left);
  static_cast<void>(stavlin_test::WaitFor([&] { return keys->pos() == left; }));
  ASSERT_EQ(keys->pos(), left);
  bars->close();  // closed by the user: stays closed
  QApplication::processEvents();

  for (int restart = 1; restart <= 2; ++restart) {
    SCOPED_TRACE("restart " + std::to_string(restart));
    for (CChildFrame* child : Frame().ScoreWindows()) child->CloseWithoutAsking();
    QApplication::processEvents();
    App().ExitInstance();
    app_ = std::make_unique<CStavlinApp>();
    app_->SetSaveAsPrompt([](const CString&) { return CString(); });
    ASSERT_TRUE(Start());

    KToolBoxWindow* again = Frame().ToolBox(9);
    KToolBoxWindow* keysAgain = Frame().ToolBox(kKeyboard);
    ASSERT_NE(again, nullptr);
    ASSERT_NE(keysAgain, nullptr);
    EXPECT_EQ(Frame().ToolBox(10), nullptr);
    EXPECT_FALSE(Frame().isMaximized());
    static_cast<void>(
        stavlin_test::WaitFor([&] { return offset(again) == QPoint(37, 120) && keysAgain->pos() == left; }));
    EXPECT_EQ(offset(again), QPoint(37, 120));
    EXPECT_EQ(keysAgain->pos(), left) << "the keyboard stands where it was left";
  }
}

}  // namespace
