// Typing into the real window: a score holding a treble staff bracketed with
// a guitar tablature line is opened, keys go to the focused view widget as
// the keyboard sends them, and every step is checked on the document: notes
// typed on the staff appear as frets of the same pitch, bars go into both
// lines and Backspace takes them out of both, arrows move across lines and
// columns, Shift+arrows select and Delete removes the selection; Ctrl+S
// saves through the menu's action and the file reopens with exactly that
// music.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "common/Globals.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "support/CaseName.h"
#include "support/MusicNames.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kGroupId = 10000;
constexpr int kStaffLine = 1;  // display lines: the title, the staff, the tablature
constexpr int kTabLine = 2;
constexpr int kStaffEntryRow = 18;  // where the caret lands on a staff
constexpr int kRowE4 = 22;          // the staff's bottom line
constexpr int kRowG4 = 20;
constexpr int kRowB4 = 18;
constexpr int kFirstRest = 14;  // symbol codes from here on are rests, bars and marks

// The columns of a notation line as text: "pos:code@row,code@row pos:..."
// (tablature rows are the string rows), shown in a failure with the notes named.
musicnames::LineDump Dump(const KListLine& line) { return musicnames::DumpColumns(&line, true); }

std::vector<int> BarColumns(KListLine& line) {
  std::vector<int> bars;
  CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
    if (column != nullptr && column->IsBarColumn()) bars.push_back(column->GetPos());
  }
  return bars;
}

// Every notation line of a document, dumped, in line order.
std::vector<std::string> DumpNotation(CStavlinDoc& doc) {
  std::vector<std::string> lines;
  for (POSITION node = doc.GetFirstLinePosition(); node != nullptr;) {
    KLineObj* line = doc.GetNextLine(node);
    if (KListLine* list = line->AsListLine(); list != nullptr && KLineObj::IsNoteFamily(line->GetFamily()))
      lines.push_back(std::to_string(line->GetType()) + " " + Dump(*list).codes);
  }
  return lines;
}

class TypingInTheWindow : public ShellTest {
 protected:
  // The score: a title line, then the staff and the tablature bracketed in
  // one line group.
  std::string WritePairScore(const std::string& name) {
    const std::string path = (Dir() / name).string();
    CStavlinDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    const POSITION staff = doc.AddTailLine(new KStaffLine(0, 0, 0));
    const POSITION tab = doc.AddTailLine(new KTabLine(0, kGuitar, 0));
    auto* group = new KLineGroup(kGroupId, staff, doc.GetLineAt(staff)->GetType(), 0, tab,
                                 doc.GetLineAt(tab)->GetType(), 0, 1);
    doc.AddLineGroup(group);
    doc.GetLineAt(staff)->SetGroup(kGroupId, group);
    doc.GetLineAt(tab)->SetGroup(kGroupId, group);
    group->BindLines(doc);
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }

  void OpenPair() {
    path_ = WritePairScore("duet.svd");
    ASSERT_TRUE(Start());
    child_ = OpenFocused(path_, pane_);
    ASSERT_NE(child_, nullptr);
    ASSERT_NE(pane_, nullptr);
    ASSERT_EQ(View().GetDisplayLineCount(), 3);
    staff_ = dynamic_cast<KStaffLine*>(View().GetDisplayLineObj(kStaffLine));
    tab_ = dynamic_cast<KTabLine*>(View().GetDisplayLineObj(kTabLine));
    ASSERT_NE(staff_, nullptr);
    ASSERT_NE(tab_, nullptr);
    ASSERT_NE(View().m_mutualTranslation, 0) << "bracketed lines translate into each other";
  }

  CStavlinView& View() const { return pane_->View(); }
  CStavlinDoc& Doc() const { return child_->Document(); }

  // One key as the keyboard sends it, text included.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, text, modifiers);
  }
  void Type(const char* keys) { QTest::keyClicks(pane_, QString::fromLatin1(keys)); }
  // Up and Down move between lines with Ctrl when they move within the staff.
  Qt::KeyboardModifiers LineStep() const {
    return View().Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  }

  // The sounding pitch of the fret in the tablature column, -1 when none.
  int TabPitchAt(int column) const {
    const KChord* cell = AsChord(tab_->GetObjAt(column, 0));
    if (cell == nullptr) return -1;
    for (int i = 0; i < cell->GetNoteCount(); ++i) {
      const NotePair note = cell->GetNote(i);
      if (note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret)
        return tab_->GetPitchAt(note.position % 10, note.code);
    }
    return -1;
  }
  int StaffPitchAt(int column) const {
    const KChord* cell = AsChord(staff_->GetObjAt(column, 0));
    if (cell == nullptr || cell->GetNoteCount() == 0) return -1;
    return staff_->GetPitchAtRow(cell->GetNote(0).position, column);
  }

  // Down until the caret is on the staff.
  void GoToStaff() {
    while (View().GetCurrentLine() < kStaffLine) {
      const int before = View().GetCurrentLine();
      Key(Qt::Key_Down, LineStep());
      ASSERT_GT(View().GetCurrentLine(), before) << "Down moves to the next line";
    }
    ASSERT_EQ(View().GetCurrentLine(), kStaffLine);
  }

  std::string path_;
  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
  KStaffLine* staff_ = nullptr;
  KTabLine* tab_ = nullptr;
};

TEST_F(TypingInTheWindow, MelodyTypedOnTheStaffIsWrittenToBothLinesAndSavedAsTyped) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  EXPECT_FALSE(Doc().IsModified());

  // Onto the staff.
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  EXPECT_EQ(View().m_caretRow, kStaffEntryRow);

  // E (downward), a quarter note: a fret of the same pitch on the tablature.
  Type("e");
  EXPECT_EQ(View().m_caretRow, kRowE4);
  EXPECT_EQ(Dump(*staff_), "") << "a letter only picks the pitch";
  Type("q");
  EXPECT_EQ(Dump(*staff_), "0:8@22");
  ASSERT_NE(TabPitchAt(0), -1);
  EXPECT_EQ(TabPitchAt(0), StaffPitchAt(0));
  EXPECT_EQ(View().GetCaretColumn(), 1);
  EXPECT_TRUE(Doc().IsModified());

  // Shift+G goes up to G.
  Key(Qt::Key_G, Qt::ShiftModifier, QStringLiteral("G"));
  EXPECT_EQ(View().m_caretRow, kRowG4);
  Type("q");
  EXPECT_EQ(Dump(*staff_), "0:8@22 1:8@20");
  EXPECT_EQ(TabPitchAt(1), StaffPitchAt(1));

  // A bar goes into both lines; Backspace on it takes it out of both.
  Key(Qt::Key_Bar, Qt::ShiftModifier, QStringLiteral("|"));
  EXPECT_EQ(BarColumns(*staff_), std::vector<int>{2});
  EXPECT_EQ(BarColumns(*tab_), std::vector<int>{2});
  EXPECT_EQ(View().GetCaretColumn(), 3);
  Key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
  EXPECT_TRUE(BarColumns(*staff_).empty());
  EXPECT_TRUE(BarColumns(*tab_).empty());
  EXPECT_EQ(View().GetCaretColumn(), 2);
  EXPECT_EQ(Dump(*staff_), "0:8@22 1:8@20");

  Key(Qt::Key_Bar, Qt::ShiftModifier, QStringLiteral("|"));
  Key(Qt::Key_B, Qt::ShiftModifier, QStringLiteral("B"));
  EXPECT_EQ(View().m_caretRow, kRowB4);
  Type("q");
  const std::string melody = Dump(*staff_);
  EXPECT_EQ(melody.rfind("0:8@22 1:8@20 2:", 0), 0u) << melody;
  EXPECT_EQ(melody.substr(melody.rfind(' ') + 1), "3:8@18") << melody;
  EXPECT_EQ(BarColumns(*tab_), std::vector<int>{2});
  EXPECT_EQ(StaffPitchAt(3), staff_->GetPitchAtRow(kRowB4, 3));
  EXPECT_EQ(TabPitchAt(3), StaffPitchAt(3));
  EXPECT_EQ(View().GetCaretColumn(), 4);

  // Arrows: a column left, down to the tablature, back up to the staff.
  Key(Qt::Key_Left);
  EXPECT_EQ(View().GetCaretColumn(), 3);
  Key(Qt::Key_Down, LineStep());
  EXPECT_EQ(View().GetCurrentLine(), kTabLine);
  Key(Qt::Key_Up, LineStep());
  EXPECT_EQ(View().GetCurrentLine(), kStaffLine);
  EXPECT_EQ(View().m_caretRow, kStaffEntryRow);

  // Shift+Left twice selects the two columns before the caret's.
  const int caret = View().GetCaretColumn();
  ASSERT_GE(caret, 2);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  ASSERT_TRUE(View().HasSelection());
  EXPECT_TRUE(View().SelectionRectShown());
  EXPECT_EQ(View().m_selFirstLine, kStaffLine);
  EXPECT_EQ(View().m_selFirstColumn, caret - 2);
  EXPECT_EQ(View().m_selLastColumn, caret);
  const std::string tabBefore = Dump(*tab_);

  // Delete takes the selected columns out; the lines stay in step.
  Key(Qt::Key_Delete);
  EXPECT_FALSE(View().SelectionRectShown());
  EXPECT_EQ(staff_->GetLength(), 4 - 2);
  EXPECT_EQ(tab_->GetLength(), staff_->GetLength()) << Dump(*staff_) << " / " << Dump(*tab_);
  EXPECT_NE(Dump(*tab_), tabBefore);
  for (int column = 0; column < staff_->GetLength(); ++column)
    EXPECT_EQ(TabPitchAt(column), StaffPitchAt(column)) << "column " << column;
  EXPECT_TRUE(Doc().IsModified());

  // Ctrl+S through the File/Save action; the file reopens with that music.
  const std::vector<std::string> typed = DumpNotation(Doc());
  Key(Qt::Key_S, Qt::ControlModifier);
  QApplication::processEvents();
  EXPECT_FALSE(Doc().IsModified()) << "Ctrl+S saved the score";
  EXPECT_TRUE(ui_.Messages().empty());
  CStavlinDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(path_.c_str()));
  EXPECT_EQ(DumpNotation(reopened), typed);
  ASSERT_EQ(typed.size(), 2u);
  EXPECT_NE(reopened.FindLineGroup(kGroupId), nullptr);
}

// After a bar line the caret's row is still the last note's, so that a
// capital letter goes up from that note to the nearest pitch of its name:
// after G4 and a bar, A B C are A4 B4 C5 (not A5 B5 C6), whether the bar
// was typed, completed by the fourth quarter or typed and taken back.
struct AfterBarCase {
  const char* name;
  const char* keys;       // capitals and | with Shift, \b Backspace, \x02 Left, \x03 Right
  std::vector<int> rows;  // of the staff's last notes, in order
  bool autoBars = true;   // Options | Auto Bar Insertion
};

void PrintTo(const AfterBarCase& c, std::ostream* os) { *os << c.name; }

class CaretRowAfterABar : public TypingInTheWindow, public ::testing::WithParamInterface<AfterBarCase> {};

TEST_P(CaretRowAfterABar, CapitalsGoUpFromTheLastNote) {
  const AfterBarCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  if ((View().m_autoBars != 0) != c.autoBars) Trigger(cmd::kOptionsAutoBars);
  ASSERT_EQ(View().m_autoBars != 0, c.autoBars);
  for (const char* k = c.keys; *k != '\0'; ++k) {
    const QChar ch = QChar::fromLatin1(*k);
    if (*k == '\x02' || *k == '\x03') {
      Key(*k == '\x02' ? Qt::Key_Left : Qt::Key_Right);
    } else if (*k == '\b') {
      Key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    } else if (*k == '|') {
      Key(Qt::Key_Bar, Qt::ShiftModifier, QString(ch));
    } else if (ch.isUpper()) {
      Key(static_cast<Qt::Key>(ch.unicode()), Qt::ShiftModifier, QString(ch));
    } else {
      Type(std::string(1, *k).c_str());
    }
  }
  EXPECT_FALSE(BarColumns(*staff_).empty() && std::string(c.keys).find('\b') == std::string::npos)
      << "a bar stands before the last notes";
  std::vector<int> rows;
  std::vector<int> columns;
  for (int column = 0; column < staff_->GetLength(); ++column) {
    const KChord* cell = AsChord(staff_->GetObjAt(column, 0));
    // Rests stand on a row of their own; the notes are what the letters chose.
    if (cell != nullptr && !cell->IsBarColumn() && cell->GetNoteCount() > 0 &&
        cell->GetNote(0).code < kFirstRest) {
      rows.push_back(cell->GetNote(0).position);
      columns.push_back(column);
    }
  }
  ASSERT_GE(rows.size(), c.rows.size());
  EXPECT_EQ(std::vector<int>(rows.end() - static_cast<std::ptrdiff_t>(c.rows.size()), rows.end()), c.rows)
      << Dump(*staff_);
  for (int column : columns) EXPECT_EQ(TabPitchAt(column), StaffPitchAt(column)) << "column " << column;
}

const AfterBarCase kAfterBarCases[] = {
    {"a typed bar", "gq|AqBqCq", {kRowG4, kRowG4 - 1, kRowB4, kRowB4 - 1}},
    {"the bar the fourth quarter completes", "gqqqqAqBqCq", {kRowG4, kRowG4 - 1, kRowB4, kRowB4 - 1}},
    {"a bar typed and taken back", "gq|\bAq", {kRowG4, kRowG4 - 1}},
    {"two bars", "gq||Aq", {kRowG4, kRowG4 - 1}},
    {"a bar typed by hand with automatic bars off", "gqqqq|AqBq", {kRowG4, kRowG4 - 1, kRowB4}, false},
    {"a rest before the bar", "gq,|Aq", {kRowG4, kRowG4 - 1}},
    {"a tie before the bar", "gqu|Aq", {kRowG4, kRowG4 - 1}},
    {"a sharp before the bar", "g#q|Aq", {kRowG4, kRowG4 - 1}},
    {"a half note and a bar", "gh|Aq", {kRowG4, kRowG4 - 1}},
    {"a chord before the bar, then a letter down from its top note",
     "gq\x02"
     "Bq|aq",
     {kRowB4, kRowG4 - 1}},
    {"the caret moved back over the bar and on again",
     "gq|\x02\x03"
     "Aq",
     {kRowG4, kRowG4 - 1}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CaretRowAfterABar, ::testing::ValuesIn(kAfterBarCases),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(TypingInTheWindow, AltUpMovesTheNoteAtTheCaretAndItsFretFollows) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  Type("eq");
  ASSERT_EQ(Dump(*staff_), "0:8@22");
  Key(Qt::Key_Left);
  ASSERT_EQ(View().GetCaretColumn(), 0);
  Key(Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(Dump(*staff_), "0:8@21") << "one step up: F";
  EXPECT_EQ(TabPitchAt(0), StaffPitchAt(0));
  EXPECT_EQ(View().m_caretRow, kRowE4 - 1);
}

TEST_F(TypingInTheWindow, ViewKeysReachTheViewEvenWhenAnActionClaimsThem) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  Type("eqq");
  ASSERT_EQ(View().GetCaretColumn(), 2);
  int triggered = 0;
  auto* claim = new QAction(&Frame());
  claim->setShortcuts({QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Q)});
  QObject::connect(claim, &QAction::triggered, [&triggered] { ++triggered; });
  Frame().addAction(claim);
  Key(Qt::Key_Left);
  EXPECT_EQ(View().GetCaretColumn(), 1);
  Key(Qt::Key_Right);
  Type("q");
  EXPECT_EQ(staff_->GetLength(), 3);
  EXPECT_EQ(triggered, 0);
  delete claim;
}

TEST_F(TypingInTheWindow, TabIsTypedIntoTheScoreAndKeepsTheFocus) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_EQ(View().GetCurrentLine(), 0) << "the caret starts on the title";
  pane_->setFocus();
  QWidget* focused = QApplication::focusWidget();
  const int before = Doc().GetLineAt(Doc().GetFirstLinePosition())->GetLength();
  Key(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t"));
  EXPECT_GT(Doc().GetLineAt(Doc().GetFirstLinePosition())->GetLength(), before);
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_EQ(QApplication::focusWidget(), focused);
}

TEST_F(TypingInTheWindow, StatusBarFollowsTheCaretAfterEachKey) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  const std::vector<QString> onStaff = Frame().StatusPaneTexts();
  Type("eq");
  const std::vector<QString> afterNote = Frame().StatusPaneTexts();
  EXPECT_NE(afterNote, onStaff) << "the caret pane shows the new column";
  Key(Qt::Key_Left);
  EXPECT_NE(Frame().StatusPaneTexts(), afterNote);
}

// The ledger lines shown at a caret below the staff are painted over the
// score, at the caret's column.
TEST_F(TypingInTheWindow, CaretBelowTheStaffShowsItsLedgerLine) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  const int size = View().GetSizeIndex() != 0 ? 1 : 0;
  const int rowHeight = size != 0 ? 4 : 3;
  const int ledgerRow = 24;  // middle C, the first ledger line below
  const QPoint scroll(pane_->GetScrollPosition().x, pane_->GetScrollPosition().y);
  const int y = View().GetDisplayEntry(kStaffLine).top + staff_->GetSpaceAbove(size) +
                (ledgerRow - 14) * rowHeight - scroll.y();
  const int x = View().m_contentOrigin + g_NoteColumnWidth[size] * 3 / 4 - scroll.x();
  auto darkAt = [&] {
    const QImage picture = pane_->viewport()->grab().toImage();
    return qGray(picture.pixel(x, y)) < 128;
  };
  EXPECT_FALSE(darkAt()) << "no ledger line while the caret is inside the staff";
  Type("c");
  ASSERT_EQ(View().m_caretRow, ledgerRow);
  ASSERT_NE(View().m_ledger.shown, 0);
  EXPECT_TRUE(darkAt());
  Key(Qt::Key_B, Qt::ShiftModifier, QStringLiteral("B"));
  ASSERT_EQ(View().m_caretRow, kRowB4);
  EXPECT_FALSE(darkAt()) << "back inside the staff, the ledger line goes";
}

// The caret on a staff is easy to find: besides the blinking caret, a mark in
// the caret's colour runs across its column at its height, where the next
// note goes, and follows the caret from pitch to pitch and onto the
// tablature line.
TEST_F(TypingInTheWindow, CaretCarriesAColouredMarkAcrossItsColumn) {
  ASSERT_NO_FATAL_FAILURE(OpenPair());
  ASSERT_NO_FATAL_FAILURE(GoToStaff());
  auto markAt = [&](int displayLine) {
    const QImage picture = pane_->viewport()->grab().toImage();
    const int size = View().GetSizeIndex() != 0 ? 1 : 0;
    const QPoint scroll(pane_->GetScrollPosition().x, pane_->GetScrollPosition().y);
    const int top = View().GetDisplayEntry(displayLine).top - scroll.y();
    const int bottom = View().GetDisplayEntry(displayLine).bottom - scroll.y();
    const int left = View().m_contentOrigin + g_NoteColumnWidth[size] * View().GetCaretColumn() - scroll.x();
    // The rows of the line on which the whole column is in the mark's colour.
    std::vector<int> rows;
    for (int y = std::max(top, 0); y < std::min(bottom, picture.height()); ++y) {
      bool across = true;
      for (int x = left + 2; x < left + g_NoteColumnWidth[size] - 2 && across; ++x) {
        const QColor c = picture.pixelColor(x, y);
        across = c.blue() > 150 && c.red() < 80;
      }
      if (across) rows.push_back(y + scroll.y());
    }
    return rows;
  };
  const std::vector<int> atB4 = markAt(kStaffLine);
  ASSERT_FALSE(atB4.empty()) << "a mark across the caret's column";
  const int caretMiddle = View().PlaceCaret().y + pane_->GetScrollPosition().y + 3;
  EXPECT_LE(std::abs(atB4.front() - caretMiddle), 2) << "at the caret's height";
  Type("e");  // down to E4
  const std::vector<int> atE4 = markAt(kStaffLine);
  ASSERT_FALSE(atE4.empty());
  EXPECT_EQ(atE4.front() - atB4.front(), 4 * 3) << "four staff steps lower";
  Key(Qt::Key_Down, LineStep());
  ASSERT_EQ(View().GetCurrentLine(), kTabLine);
  EXPECT_FALSE(markAt(kTabLine).empty()) << "on the tablature line too";
  EXPECT_TRUE(markAt(kStaffLine).empty()) << "and gone from the staff";
}

}  // namespace
