// Building a score in the real window: Ctrl+N makes a new score; Ctrl+E,
// Ctrl+A, Ctrl+Y and Ctrl+H add a treble staff, a tablature line, a rhythm
// line and a chord-diagram line, then Ctrl+E and Ctrl+B a keyboard's treble
// and bass staves; notes typed on the staff go into the score; the grouping
// dialog binds the lines, the staff and tablature bracketed for translation
// and the keyboard staves joined by a brace; the tablature is retuned to
// DADGAD carrying its notes; labels are given, shown and hidden; Ctrl+S
// saves and the file reopens with all of it.

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgLineGroup.h"
#include "dialogs/KDlgSetLineLabel.h"
#include "dialogs/KDlgTabTuning.h"
#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr const char* kDadgad = "D A D G A D  303742474954";
constexpr int kDadgadEntry = 13;

// The kinds of a document's lines in order, with "g" and the group id of
// grouped ones: "5 0g0 2g0".
std::string Kinds(const CStavlinDoc& doc) {
  std::string out;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const KLineObj* line = doc.GetNextLine(pos);
    if (!out.empty()) out += ' ';
    out += std::to_string(line->GetType());
    if (line->GetGroupId() != KLineObj::kNoGroup) out += 'g' + std::to_string(line->GetGroupId());
  }
  return out;
}

// The pitches a note line sounds, column by column (frets through the
// tuning, staff notes by their rows).
std::vector<int> Pitches(KListLine& line) {
  std::vector<int> pitches;
  auto* tab = dynamic_cast<KTabLine*>(&line);
  auto* staff = dynamic_cast<KStaffLine*>(&line);
  for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* column = dynamic_cast<const KChord*>(line.GetObjList()->GetNext(node));
    if (column == nullptr) continue;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (tab != nullptr && note.code >= KChord::kFirstFret && note.code <= KChord::kLastFret)
        pitches.push_back(tab->GetPitchAt(note.position % 10, note.code));
      if (staff != nullptr && note.code <= 12)
        pitches.push_back(staff->GetPitchAtRow(note.position, column->GetPos()));
    }
  }
  return pitches;
}

template <typename T>
T* LineOfType(CStavlinDoc& doc, int type) {
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    if (line->GetType() == type) return dynamic_cast<T*>(line);
  }
  return nullptr;
}

class BuildingAScore : public ShellTest {
 protected:
  // A key with modifiers as the keyboard sends it: a control key carries no
  // printable text.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, QString(), modifiers);
    QApplication::processEvents();
  }
  void Type(const char* keys) {
    QTest::keyClicks(pane_, QString::fromLatin1(keys));
    QApplication::processEvents();
  }
  CStavlinView& View() const { return pane_->View(); }
  CStavlinDoc& Doc() const { return child_->Document(); }
  // Moves the caret to the display line by the arrow keys.
  void GoTo(int line) {
    for (int guard = 0; guard < 20 && View().GetCurrentLine() != line; ++guard) {
      const bool down = View().GetCurrentLine() < line;
      const Qt::KeyboardModifiers step =
          View().Options().arrowKeysWithinStaff == 1 && KLineObj::IsNoteFamily(View().GetCurrentFamily())
              ? Qt::ControlModifier
              : Qt::NoModifier;
      Key(down ? Qt::Key_Down : Qt::Key_Up, step);
    }
    ASSERT_EQ(View().GetCurrentLine(), line);
  }
  int DisplayLineOfType(int type) const {
    for (int i = 0; i < View().GetDisplayLineCount(); ++i)
      if (View().GetDisplayEntry(i).type == type) return i;
    return -1;
  }

  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
};

TEST_F(BuildingAScore, LinesGroupingTuningAndLabelsFromTheKeyboardSurviveSaving) {
  const std::string path = (Dir() / "built.svd").string();
  App().SetSaveAsPrompt([path](const CString&) { return CString(path.c_str()); });
  ASSERT_TRUE(Start());
  Frame().show();
  Frame().activateWindow();
  QApplication::processEvents();

  // Ctrl+N: a new score in a window of its own.
  QTest::keyClick(&Frame(), Qt::Key_N, Qt::ControlModifier);
  QApplication::processEvents();
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  child_ = Frame().ScoreWindows().front();
  pane_ = child_->ActivePane();
  ASSERT_NE(pane_, nullptr);
  pane_->setFocus();
  QApplication::processEvents();
  const int textLines = Doc().GetLineCount();
  GoTo(View().GetDisplayLineCount() - 1);

  // Ctrl+E, Ctrl+A, Ctrl+Y, Ctrl+H: each line below the one before.
  Key(Qt::Key_E, Qt::ControlModifier);
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_Y, Qt::ControlModifier);
  Key(Qt::Key_H, Qt::ControlModifier);
  ASSERT_EQ(Doc().GetLineCount(), textLines + 4);
  std::string kinds = Kinds(Doc());
  EXPECT_EQ(kinds.substr(kinds.size() - 7), "0 2 3 4") << kinds;
  const int staffLine = DisplayLineOfType(0);
  const int tabLine = DisplayLineOfType(2);
  ASSERT_GE(staffLine, 0);
  ASSERT_EQ(tabLine, staffLine + 1);

  // Ctrl+E, Ctrl+B below the chord line: the staves of a keyboard part.
  Key(Qt::Key_E, Qt::ControlModifier);
  Key(Qt::Key_B, Qt::ControlModifier);
  ASSERT_EQ(Doc().GetLineCount(), textLines + 6);
  kinds = Kinds(Doc());
  EXPECT_EQ(kinds.substr(kinds.size() - 11), "0 2 3 4 0 1") << kinds;

  // Notes typed on the staff go into the score.
  ASSERT_NO_FATAL_FAILURE(GoTo(staffLine));
  Type("cqeqgq");
  auto* staff = LineOfType<KStaffLine>(Doc(), 0);
  ASSERT_NE(staff, nullptr);
  EXPECT_EQ(Pitches(*staff).size(), 3u);

  // Ctrl+Shift+G over the six selected lines: one group, staff and tab
  // bracketed in set 1, the keyboard's staves braced.
  bool braceOffered = false;
  ui_.AnswerDialog(KDlgLineGroup::kTemplateId, [&braceOffered](KModalDialog& d) {
    d.Controls().SetChecked(KDlgLineGroup::kIdSet1 + 0, 1);
    d.Controls().SetChecked(KDlgLineGroup::kIdSet1 + 1, 1);
    braceOffered = d.Controls().IsEnabled(KDlgLineGroup::kIdBrace + 4) &&
                   !d.Controls().IsEnabled(KDlgLineGroup::kIdBrace + 0);
    d.Controls().SetChecked(KDlgLineGroup::kIdBrace + 4, 1);
    return IDOK;
  });
  // Shift+Page Down selects whole lines from the staff to the last line.
  Key(Qt::Key_PageDown, Qt::ShiftModifier);
  ASSERT_TRUE(View().HasSelection());
  Key(Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(ui_.Dialogs().size(), 1u) << "the grouping dialog opened";
  kinds = Kinds(Doc());
  EXPECT_NE(kinds.find("0g0 2g0 3g0 4g0 0g0 1g0"), std::string::npos) << kinds;
  EXPECT_TRUE(braceOffered) << "a brace is offered on the keyboard's treble, not on the guitar's";
  const KLineGroup* group = Doc().FindLineGroup(0);
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->GetSlotBracket(0, 1), 1);
  EXPECT_EQ(group->GetSlotBracket(1, 1), 1);
  EXPECT_EQ(group->GetSlotBracket(2, 1), 0);
  const int bracePartner = group->GetSlotPartner(4);
  EXPECT_EQ(bracePartner % 100, 1) << "the treble is braced to the bass below it";
  EXPECT_EQ(group->GetSlotPartner(5), -1);
  // Drawn: the window's layout gives the group one brace, from the
  // keyboard's treble down to its bass, and the bracket of set 1.
  pane_->repaint();
  QApplication::processEvents();
  ASSERT_EQ(group->GetBraceCount(), 1);
  const auto [braceTop, braceBottom] = group->GetBrace(0);
  const int trebleLine = DisplayLineOfType(1) - 1;
  ASSERT_EQ(View().GetDisplayEntry(trebleLine).type, 0);
  EXPECT_GE(braceTop, View().GetDisplayEntry(trebleLine).top);
  EXPECT_LE(braceBottom, View().GetDisplayEntry(trebleLine + 1).bottom);
  EXPECT_GT(braceBottom, View().GetDisplayEntry(trebleLine + 1).top);
  EXPECT_GE(group->GetBracketTop(1), View().GetDisplayEntry(staffLine).top);
  EXPECT_LE(group->GetBracketBottom(1), View().GetDisplayEntry(tabLine).bottom);

  // Now the staff's notes go into the tablature too.
  ASSERT_NO_FATAL_FAILURE(GoTo(staffLine));
  Key(Qt::Key_End);
  Type("aq");
  auto* tab = LineOfType<KTabLine>(Doc(), 2);
  ASSERT_NE(tab, nullptr);
  const std::vector<int> tabPitches = Pitches(*tab);
  ASSERT_FALSE(tabPitches.empty()) << "the bracketed tablature took the note";

  // Ctrl+Alt+U on the tablature: DADGAD, the notes carried to it.
  ui_.AnswerDialog(KDlgTabTuning::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgTabTuning::kIdList, kDadgadEntry);
    d.Controls().SetChecked(KDlgTabTuning::kIdTranslate, 1);
    d.Controls().SetChecked(KDlgTabTuning::kIdPlacementFirst, 1);
    return IDOK;
  });
  ASSERT_NO_FATAL_FAILURE(GoTo(tabLine));
  Key(Qt::Key_U, Qt::ControlModifier | Qt::AltModifier);
  tab = LineOfType<KTabLine>(Doc(), 2);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(std::string(tab->GetTuning().View()), kDadgad);
  EXPECT_EQ(Pitches(*tab), tabPitches) << "the notes sound as before";
  EXPECT_EQ(tab->GetGroupId(), 0) << "the retuned line keeps its place in the group";

  // Ctrl+L labels the staff; Ctrl+Shift+W shows the labels and hides them.
  ui_.AnswerDialog(KDlgSetLineLabel::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgSetLineLabel::kIdNewLabel, "Guitar");
    return IDOK;
  });
  ASSERT_NO_FATAL_FAILURE(GoTo(staffLine));
  Key(Qt::Key_L, Qt::ControlModifier);
  EXPECT_EQ(std::string(staff->GetLabelName().View()), "Guitar");
  EXPECT_EQ(View().m_labelsShown, 1);
  const int labelled = View().GetContentLeft();
  Key(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(View().m_labelsShown, 0);
  EXPECT_LT(View().GetContentLeft(), labelled);
  Key(Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(View().m_labelsShown, 1);

  // Ctrl+S, and the file opens with the same score.
  const std::string before = Kinds(Doc());
  const std::vector<int> staffPitches = Pitches(*staff);
  const std::vector<int> carried = Pitches(*tab);
  Key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(Doc().IsModified());
  CStavlinDoc reopened;
  ASSERT_TRUE(reopened.OnOpenDocument(path.c_str()));
  EXPECT_EQ(Kinds(reopened), before);
  auto* savedStaff = LineOfType<KStaffLine>(reopened, 0);
  auto* savedTab = LineOfType<KTabLine>(reopened, 2);
  ASSERT_NE(savedStaff, nullptr);
  ASSERT_NE(savedTab, nullptr);
  EXPECT_EQ(Pitches(*savedStaff), staffPitches);
  EXPECT_EQ(Pitches(*savedTab), carried);
  EXPECT_EQ(std::string(savedTab->GetTuning().View()), kDadgad);
  EXPECT_EQ(std::string(savedStaff->GetLabelName().View()), "Guitar");
  const KLineGroup* savedGroup = reopened.FindLineGroup(0);
  ASSERT_NE(savedGroup, nullptr);
  EXPECT_EQ(savedGroup->GetSlotCount(), 6);
  EXPECT_EQ(savedGroup->GetSlotBracket(1, 1), 1);
  EXPECT_EQ(savedGroup->GetSlotPartner(4), bracePartner);
  EXPECT_EQ(savedGroup->GetSlotPartner(5), -1);
  EXPECT_EQ(reopened.settings.lineLabelMode, 1);
  EXPECT_NE(LineOfType<KRhythmLine>(reopened, 3), nullptr);
  EXPECT_NE(LineOfType<KChordPicLine>(reopened, 4), nullptr);

  // Closed and opened again in the window: the labels show, the staff and
  // tablature stand in their bracket and the keyboard's staves in their brace.
  child_->close();
  QApplication::processEvents();
  ASSERT_TRUE(Frame().ScoreWindows().empty()) << "a saved score closes without a question";
  child_ = OpenFocused(path, pane_);
  ASSERT_NE(child_, nullptr);
  ASSERT_NE(pane_, nullptr);
  pane_->repaint();
  QApplication::processEvents();
  EXPECT_EQ(Kinds(Doc()), before);
  EXPECT_EQ(View().m_labelsShown, 1);
  EXPECT_EQ(View().GetContentLeft(), labelled);
  const KLineGroup* shownGroup = Doc().FindLineGroup(0);
  ASSERT_NE(shownGroup, nullptr);
  ASSERT_EQ(shownGroup->GetBraceCount(), 1);
  const int shownTreble = DisplayLineOfType(1) - 1;
  ASSERT_EQ(View().GetDisplayEntry(shownTreble).type, 0);
  EXPECT_GE(shownGroup->GetBrace(0).first, View().GetDisplayEntry(shownTreble).top);
  EXPECT_LE(shownGroup->GetBrace(0).second, View().GetDisplayEntry(shownTreble + 1).bottom);
  EXPECT_GE(shownGroup->GetBracketTop(1), View().GetDisplayEntry(DisplayLineOfType(0)).top);
  EXPECT_LE(shownGroup->GetBracketBottom(1), View().GetDisplayEntry(DisplayLineOfType(2)).bottom);
  auto* shownTab = LineOfType<KTabLine>(Doc(), 2);
  ASSERT_NE(shownTab, nullptr);
  EXPECT_EQ(std::string(shownTab->GetTuning().View()), kDadgad);
  EXPECT_EQ(Pitches(*shownTab), carried);
}

}  // namespace

namespace {

TEST_F(ShellTest, TheAdTabGuideOpensOnceAndItsOkClosesIt) {
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Frame().RunCommand(31462));
  QWidget* guide = Frame().TabLegend();
  ASSERT_NE(guide, nullptr);
  EXPECT_EQ(guide->windowTitle(), "Ad-Tab Fingering");
  ASSERT_TRUE(Frame().RunCommand(31462));
  EXPECT_EQ(Frame().TabLegend(), guide) << "a second command opens no second guide";
  auto* ok = guide->findChild<QAbstractButton*>(QStringLiteral("control1"));
  ASSERT_NE(ok, nullptr);
  ok->click();
  EXPECT_EQ(Frame().TabLegend(), nullptr);
}

}  // namespace
