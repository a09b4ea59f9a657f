// The welcome score's staff and its bracketed tablature line, worked on in the
// real window as a guitarist would: a C major scale typed on the staff shows
// the open-position fingering on the tablature, a crescendo and a text placed
// on the staff stand under and over it (their copies on the tablature under
// its rhythm and over its strings), rests sit in the middle of both lines,
// and a bar copied from the staff and pasted at its end fills both lines.

#include <QApplication>
#include <QImage>
#include <QTest>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgExtText.h"
#include "doc/CStavlinDoc.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr int kStaffKind = 0;
constexpr int kTabKind = 2;
constexpr UINT kCrescendo = 41091;

class WelcomeNotation : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    StoreStartupAction(2);  // a first start opens the welcome score
    ASSERT_TRUE(Start());
    ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
    child_ = Frame().ScoreWindows().front();
    pane_ = child_->ActivePane();
    ASSERT_NE(pane_, nullptr);
    Frame().show();
    Frame().activateWindow();
    pane_->setFocus();
    QApplication::processEvents();
    for (int i = 0; i < View().GetDisplayLineCount(); ++i) {
      const int type = View().GetDisplayEntry(i).type;
      if (type == kStaffKind && staff_ < 0) staff_ = i;
      if (type == kTabKind && tab_ < 0) tab_ = i;
    }
    ASSERT_GE(staff_, 0);
    ASSERT_EQ(tab_, staff_ + 1) << "the tablature line is bracketed under the staff";
    ASSERT_NE(View().m_mutualTranslation, 0);
    // The music typed here stays on its line: automatic wrapping, when the
    // settings have it on, would move it to a line of its own.
    if (View().m_autoWrap != 0) Frame().ActionFor(cmd::kOptionsAutoWrap)->trigger();
    QApplication::processEvents();
    ASSERT_EQ(View().m_autoWrap, 0);
  }

  CStavlinView& View() const { return pane_->View(); }
  KListLine& Line(int displayLine) const { return *View().GetDisplayLineObj(displayLine)->AsListLine(); }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, text, modifiers);
    QApplication::processEvents();
  }
  // Types the characters as the keyboard sends them: capitals with Shift.
  void Type(const char* keys) {
    for (const char* c = keys; *c != '\0'; ++c) {
      const QChar ch = QChar::fromLatin1(*c);
      if (ch.isUpper()) {
        Key(static_cast<Qt::Key>(ch.unicode()), Qt::ShiftModifier, QString(ch));
      } else {
        QTest::keyClicks(pane_, QString(ch));
        QApplication::processEvents();
      }
    }
  }
  // The caret to the end of the staff, after its final bar.
  void ToEndOfStaff() {
    Key(Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 10 && View().GetCurrentLine() < staff_; ++i) Key(Qt::Key_Down);
    ASSERT_EQ(View().GetCurrentLine(), staff_);
    Key(Qt::Key_End);
  }

  // The note columns of a line from a column on: "row:code" for the staff's
  // notes and rests, "string fret" for the tablature's frets, bars left out.
  std::vector<std::string> Cells(int displayLine, int from, int before = 1 << 30) const {
    std::vector<std::string> cells;
    const CObList* objects = Line(displayLine).GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(objects->GetNext(node));
      if (column == nullptr || column->GetPos() < from || column->GetPos() >= before || column->IsBarColumn())
        continue;
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        if (column->IsTabColumn() && note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret) {
          static const char* const kStrings[] = {"e", "B", "G", "D", "A", "E"};
          const int row = note.position % 10;
          cells.push_back(std::string(row >= 2 && row <= 7 ? kStrings[row - 2] : "?") +
                          std::to_string(note.code - KChord::kFirstFret));
        } else {
          cells.push_back(std::to_string(note.position % (column->IsTabColumn() ? 10 : 100)) + ":" +
                          std::to_string(note.code));
        }
      }
    }
    return cells;
  }
  // The places of the columns that hold notes (staff notes or frets).
  std::vector<int> NoteColumns(int displayLine, int from, int before = 1 << 30) const {
    std::vector<int> places;
    const CObList* objects = Line(displayLine).GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(objects->GetNext(node));
      if (column != nullptr && column->GetPos() >= from && column->GetPos() < before &&
          column->CountNotes() > 0)
        places.push_back(column->GetPos() - from);
    }
    return places;
  }
  // The beams of the note columns from a column on: "(" a beam starts, "-"
  // it goes on, ")" it ends, "." a note on its own.
  std::string Beams(int displayLine, int from, int before = 1 << 30) const {
    std::string beams;
    const CObList* objects = Line(displayLine).GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(objects->GetNext(node));
      if (column == nullptr || column->GetPos() < from || column->GetPos() >= before ||
          column->IsBarColumn() || column->CountNotes() == 0)
        continue;
      char mark = '.';
      for (int voice = 0; voice < 2; ++voice) {
        const int stem = column->GetVoiceStem(voice);
        if (stem < 0) mark = '-';
        if (beam::Opens(stem)) mark = '(';
        if (beam::Closes(stem)) mark = ')';
      }
      beams += mark;
    }
    return beams;
  }
  static std::string Joined(const std::vector<std::string>& cells) {
    std::string out;
    for (const std::string& cell : cells) out += (out.empty() ? "" : " ") + cell;
    return out;
  }

  // The line's attachment of the kind (the last one when there are several).
  const KExtendedObj* AttachmentOfKind(int displayLine, int kind) const {
    const KExtendedObj* found = nullptr;
    CObList* list = View().GetDisplayLineObj(displayLine)->GetAttachments();
    for (POSITION node = list != nullptr ? list->GetHeadPosition() : nullptr; node != nullptr;) {
      const auto* attachment = static_cast<const KExtendedObj*>(list->GetNext(node));
      if (attachment->GetKind() == kind) found = attachment;
    }
    return found;
  }

  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
  int staff_ = -1;
  int tab_ = -1;
};

// View | Ad-Tab | Color Numbers Only colours the fret numbers in the window;
// None draws them in the tablature's own colour again.
TEST_F(WelcomeNotation, TheColourNumbersModeColoursTheFretsInTheWindow) {
  ASSERT_NO_FATAL_FAILURE(ToEndOfStaff());
  Type("cqDqEqFq");
  ASSERT_EQ(Joined(Cells(tab_, 0)).empty(), false);
  const auto coloured = [this] {
    pane_->viewport()->repaint();
    const QImage image = pane_->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb p = image.pixel(x, y);
        if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++count;
      }
    }
    return count;
  };
  // The window's own colours (the caret, marks) are there in every mode.
  Frame().ActionFor(cmd::kViewAdTabNone)->trigger();
  QApplication::processEvents();
  const int plain = coloured();
  Frame().ActionFor(cmd::kViewAdTabColorNumbers)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(Frame().ActionFor(cmd::kViewAdTabColorNumbers)->isChecked());
  EXPECT_GT(coloured(), plain + 20);
  Frame().ActionFor(cmd::kViewAdTabNone)->trigger();
  QApplication::processEvents();
  EXPECT_EQ(coloured(), plain);
}

TEST_F(WelcomeNotation, ACMajorScaleTypedOnTheStaffIsFingeredInTheOpenPosition) {
  ASSERT_NO_FATAL_FAILURE(ToEndOfStaff());
  const int start = View().GetCaretColumn();
  // Down to middle C, then up the scale; the score is in G, so F is F sharp.
  Type("cqDqEqFqGqAqBqCq");
  EXPECT_EQ(Joined(Cells(tab_, start)), "A3 D0 D2 D4 G0 G2 B0 B1");
  EXPECT_EQ(Cells(staff_, start).size(), 8U);
}

// Eighths typed on the staff are joined beat by beat, as the preferences ask
// from the start, and the tablature's rhythm joins its frets the same way; a
// full measure closes with a bar.
TEST_F(WelcomeNotation, EighthsTypedOnTheStaffAreBeamedByTheBeatOnBothLines) {
  ASSERT_NO_FATAL_FAILURE(ToEndOfStaff());
  const int start = View().GetCaretColumn();
  Type("ttttqq");
  EXPECT_EQ(Beams(staff_, start), "()()..");
  EXPECT_EQ(Beams(tab_, start), "()()..");
  int bars = 0;
  for (POSITION node = Line(staff_).GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(Line(staff_).GetObjList()->GetNext(node));
    if (column != nullptr && column->GetPos() > start && column->IsBarColumn()) ++bars;
  }
  EXPECT_EQ(bars, 1) << "the measure is full";
}

TEST_F(WelcomeNotation, ACrescendoGoesUnderTheStaffAndATextOverIt) {
  ASSERT_NO_FATAL_FAILURE(ToEndOfStaff());
  Type("cqDqEq");
  ASSERT_FALSE(View().HasSelection());
  Frame().ActionFor(kCrescendo)->trigger();
  QApplication::processEvents();
  const POINT start = View().m_extPoints[0];
  const POINT scroll = View().GetVirtualScrollPosition();
  QTest::mouseClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier,
                    QPoint(start.x + 54 - scroll.x, start.y - scroll.y));
  QApplication::processEvents();
  const KExtendedObj* hairpin = AttachmentOfKind(staff_, KExtendedObj::kCrescendo);
  ASSERT_NE(hairpin, nullptr);
  EXPECT_EQ(hairpin->GetRow(), 26) << "under the staff";
  ASSERT_NE(AttachmentOfKind(tab_, KExtendedObj::kCrescendo), nullptr);
  EXPECT_EQ(AttachmentOfKind(tab_, KExtendedObj::kCrescendo)->GetRow(), 9)
      << "under the strings and their rhythm";

  // The caret back among the notes, without the click's selection.
  Key(Qt::Key_Left);
  ASSERT_FALSE(View().HasSelection());
  ASSERT_EQ(View().GetCurrentLine(), staff_);
  ui_.AnswerDialog(KDlgExtText::kTemplateId, [](KModalDialog& dialog) {
    dynamic_cast<KDlgExtText&>(dialog).text = "dolce";
    return IDOK;
  });
  ui_.ClearRecords();
  ASSERT_TRUE(Frame().ActionFor(cmd::kInsertTextString)->isEnabled());
  Frame().ActionFor(cmd::kInsertTextString)->trigger();
  QApplication::processEvents();
  const KExtendedObj* text = AttachmentOfKind(staff_, KExtendedObj::kTextBox);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->GetRow(), 10) << "over the staff";
  ASSERT_NE(AttachmentOfKind(tab_, KExtendedObj::kTextBox), nullptr);
  EXPECT_EQ(AttachmentOfKind(tab_, KExtendedObj::kTextBox)->GetRow(), 1) << "over the strings";
}

TEST_F(WelcomeNotation, RestsSitInTheMiddleOfBothLines) {
  ASSERT_NO_FATAL_FAILURE(ToEndOfStaff());
  const int start = View().GetCaretColumn();
  Type("cq-!");  // a note on middle C, then a half and a quarter rest
  EXPECT_EQ(Joined(Cells(staff_, start)), "24:8 18:15 18:16");
  EXPECT_EQ(Joined(Cells(tab_, start)), "A3 4:15 4:16");
}

TEST_F(WelcomeNotation, ABarPastedIntoThePairFillsBothLines) {
  // The first bar of the staff, selected with Shift and the arrows.
  Key(Qt::Key_Home, Qt::ControlModifier);
  for (int i = 0; i < 10 && View().GetCurrentLine() < staff_; ++i) Key(Qt::Key_Down);
  ASSERT_EQ(View().GetCurrentLine(), staff_);
  Key(Qt::Key_Home);
  int firstBar = -1;
  for (POSITION node = Line(staff_).GetObjList()->GetHeadPosition(); node != nullptr && firstBar < 0;) {
    const KChord* column = AsChord(Line(staff_).GetObjList()->GetNext(node));
    if (column != nullptr && column->IsBarColumn() && column->GetPos() > 0) firstBar = column->GetPos();
  }
  ASSERT_GT(firstBar, 0);
  while (View().GetCaretColumn() <= firstBar) Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_C, Qt::ControlModifier);

  ASSERT_NO_FATAL_FAILURE(ToEndOfStaff());
  const int start = View().GetCaretColumn();
  Key(Qt::Key_V, Qt::ControlModifier);
  // Both lines hold the pasted columns at the same places, and the
  // tablature's are the frets of the first bar's notes.
  EXPECT_EQ(NoteColumns(staff_, start), NoteColumns(tab_, start));
  ASSERT_EQ(NoteColumns(staff_, start).size(), NoteColumns(staff_, 0, firstBar).size())
      << "the bar was pasted";
  EXPECT_EQ(Joined(Cells(tab_, start)), Joined(Cells(tab_, 0, firstBar)));
  // The four eighths keep their beam on both lines.
  EXPECT_EQ(Beams(staff_, start), Beams(staff_, 0, firstBar));
  EXPECT_EQ(Beams(tab_, start), Beams(tab_, 0, firstBar));
  EXPECT_EQ(Beams(tab_, start), "(--)..");
}

}  // namespace
