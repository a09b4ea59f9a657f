// The music commands in the real window, by their shortcuts: a two-page
// score of guitar staffs with their tablature and chord names is transposed
// from G to B flat, given a new key and time signature, wrapped to a shorter
// staff length and back, and spaced evenly. Each command is one step that
// Undo takes back and Redo puts again, and the saved score reads back the same.

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "common/FontCodec.h"
#include "dialogs/KDlgKeySig.h"
#include "dialogs/KDlgSetLineLength.h"
#include "dialogs/KDlgTimeSig.h"
#include "dialogs/KDlgTranspose.h"
#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kGroups = 12;
constexpr int kBars = 8;
constexpr int kLength = 700;
constexpr int kBar = 21;
constexpr int kQuarter = 8;
constexpr int kKeyG = 2;
constexpr int kKeyBb = 5;
constexpr int kKeyD = 4;
constexpr int kIndexBb = 2;
constexpr int kFirstStaff = 2;  // display line

std::vector<BYTE> Stored(CStavlinDoc& doc) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  doc.Serialize(ar);
  ar.Close();
  return file.Data();
}

// Every note column of the score's lines by kind: staff notes as rows, tab
// notes as frets.
struct Census {
  int staffKey = -1;
  int notes = 0;
  std::vector<int> tabFrets;
  // The key each key change of the staffs sets, in the score's order.
  std::vector<int> keyChanges;
};

Census Take(CStavlinDoc& doc) {
  Census census;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    KListLine* list = line->AsListLine();
    if (list == nullptr) continue;
    if (line->GetType() == 0 && census.staffKey < 0) census.staffKey = list->GetKeySignatureAt(0);
    for (POSITION n = list->GetObjList()->GetHeadPosition(); n != nullptr;) {
      const KChord* chord = AsChord(list->GetObjList()->GetNext(n));
      if (chord == nullptr || chord->IsBarColumn()) continue;
      ++census.notes;
      if (line->GetType() == 2) census.tabFrets.push_back(chord->GetLowestFret());
      if (line->GetType() == 0 && chord->GetNoteCount() > 1 && chord->GetRawNote(0).code == KChord::kKeySignature)
        census.keyChanges.push_back(chord->GetRawNote(1).code);
    }
  }
  return census;
}

// The first line or group that differs, for the failure message.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string x = i < a.size() ? a[i] : "(none)";
    const std::string y = i < b.size() ? b[i] : "(none)";
    if (x != y) return "entry " + std::to_string(i) + ":\n  " + x + "\n  " + y;
  }
  return "none";
}

std::vector<std::string> Describe(CStavlinDoc& doc) {
  std::vector<std::string> out;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    std::string d = "t" + std::to_string(line->GetType()) + " g" + std::to_string(line->GetGroupId()) + " f" +
                    std::to_string(line->GetFlagWord()) + " L" + std::to_string(line->GetStaffLength()) +
                    " i" + std::to_string(line->GetStoredIndent()) + " a" +
                    std::to_string(line->GetAttachmentCount());
    if (KListLine* list = line->AsListLine()) {
      d += " k" + std::to_string(list->GetKey()) + "/" + std::to_string(list->GetLayoutKey()) + " :";
      for (POSITION n = list->GetObjList()->GetHeadPosition(); n != nullptr;) {
        const auto* o = static_cast<const KPosObj*>(list->GetObjList()->GetNext(n));
        d += " " + std::to_string(o->GetPos());
      }
    }
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    line->Serialize(ar);
    ar.Close();
    size_t h = 0;
    for (BYTE b : file.Data()) h = h * 131 + b;
    d += " #" + std::to_string(h);
    out.push_back(d);
  }
  for (int id = 0; id < 100; ++id) {
    KLineGroup* g = doc.FindLineGroup(id);
    if (g == nullptr) continue;
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    g->Serialize(ar);
    ar.Close();
    size_t h = 0;
    for (BYTE b : file.Data()) h = h * 131 + b;
    out.push_back("group " + std::to_string(id) + " #" + std::to_string(h));
  }
  return out;
}

class MusicCommandsInTheWindow : public ShellTest {
 protected:
  // Twelve groups of a chord line, a treble staff in G and its tablature,
  // eight bars each of G, A and B quarter notes.
  std::string WriteGuitarScore() {
    const std::string path = (Dir() / "guitar.svd").string();
    CStavlinDoc doc;
    EXPECT_TRUE(doc.OnNewDocument());
    LOGFONT font{};
    font.lfHeight = 16;
    CString fontText;
    LogFontToString(font, fontText);
    for (int g = 0; g < kGroups; ++g) {
      auto* chords = new KChordPicLine(kKeyG, kGuitar, fontText, 100, 100);
      chords->InsertDiagramAt(0, "G", "320003 ", 0, 1);
      auto* staff = new KStaffLine(0, kKeyG, 0);
      auto* tab = new KTabLine(kKeyG, kGuitar, 0);
      for (int b = 0; b < kBars; ++b) {
        for (int i = 0; i < 3; ++i) {
          staff->GetObjList()->AddTail(new KChord(4 * b + i, 14 - i, kQuarter, 0));
          tab->GetObjList()->AddTail(
              new KChord(4 * b + i, 4, KChord::kFirstFret + 2 * i, KChord::kTabRhythm));
        }
        staff->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, 0));
        tab->GetObjList()->AddTail(new KChord(4 * b + 3, 1, kBar, KChord::kTabRhythm));
      }
      for (KListLine* line : {static_cast<KListLine*>(staff), static_cast<KListLine*>(tab)}) {
        line->UpdateTimeSigCache();
        line->SetStaffLength(kLength);
        line->SetLabel("Guitar");
      }
      const std::vector<POSITION> positions = {doc.AddTailLine(chords), doc.AddTailLine(staff),
                                               doc.AddTailLine(tab)};
      const std::vector<int> types = {4, 0, 2};
      auto* group = new KLineGroup(doc.GetNewLineGroupId(), positions, types, kKeyG);
      group->SetSlotBracket(1, 1);
      group->SetSlotBracket(2, 1);
      doc.AddLineGroup(group);
      for (POSITION pos : positions) doc.GetLineAt(pos)->SetGroup(group->GetId(), group);
      group->BindLines(doc);
      group->EqualizeLeadInSteps(doc);
      group->IndentOtherLines();
    }
    EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
    return path;
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, QString(), modifiers);
    QApplication::processEvents();
  }

  // Runs the command by its keys; it is one step: Undo gives back every
  // line and group as it was and Redo as the command left it. (Undo may put
  // a restored group at the end of the document's list of groups, so the
  // lines and groups are compared one by one, not the list's order.)
  void OneStep(Qt::Key key, Qt::KeyboardModifiers modifiers, const char* what) {
    SCOPED_TRACE(what);
    const std::vector<std::string> before = Describe(*doc_);
    Key(key, modifiers);
    const std::vector<std::string> after = Describe(*doc_);
    ASSERT_NE(after, before) << "the command changed nothing";
    Key(Qt::Key_Z, Qt::ControlModifier);
    const std::vector<std::string> undone = Describe(*doc_);
    EXPECT_TRUE(undone == before) << "undo: " << FirstDifference(before, undone);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    const std::vector<std::string> redone = Describe(*doc_);
    EXPECT_TRUE(redone == after) << "redo: " << FirstDifference(after, redone);
  }

  CStavlinView& View() { return pane_->View(); }

  KViewWidget* pane_ = nullptr;
  CStavlinDoc* doc_ = nullptr;
};

TEST_F(MusicCommandsInTheWindow, TransposeSignaturesWrapAndSpaceEachOneStepAndTheScoreSavesAsItIs) {
  ASSERT_TRUE(Start());
  const std::string path = WriteGuitarScore();
  CChildFrame* child = OpenFocused(path, pane_);
  ASSERT_NE(pane_, nullptr);
  doc_ = &child->Document();
  ASSERT_GT(View().GetPageCount(), 1);
  const Census start = Take(*doc_);
  ASSERT_EQ(start.staffKey, kKeyG);

  // Transpose all from G to B flat, replacing the lines.
  ui_.AnswerDialog(KDlgTranspose::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgTranspose::kIdTargetKey, kIndexBb);
    d.Controls().Select(KDlgTranspose::kIdAssumedKey, 14);  // G
    d.Controls().SetChecked(KDlgTranspose::kIdAll, 1);
    d.Controls().SetChecked(KDlgTranspose::kIdReplace, 1);
    d.Controls().SetChecked(KDlgTranspose::kIdRaise, 1);
    return IDOK;
  });
  OneStep(Qt::Key_O, Qt::ControlModifier | Qt::AltModifier, "transpose");
  const Census transposed = Take(*doc_);
  EXPECT_EQ(transposed.staffKey, kKeyBb);
  EXPECT_EQ(transposed.notes, start.notes);
  ASSERT_EQ(transposed.tabFrets.size(), start.tabFrets.size());
  // Up a minor third: each fingering sounds three semitones higher, so no
  // fret stays where it was on the same string.
  EXPECT_NE(transposed.tabFrets, start.tabFrets);
  for (POSITION pos = doc_->GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc_->GetNextLine(pos);
    if (line->GetType() == 4) {
      EXPECT_EQ(line->AsListLine()->GetKey(), kKeyBb);
    }
  }

  // A key change (D) at the caret of the first staff (below the score's title
  // and the first chord line), and a 3/4 time signature.
  View().m_currentLine = kFirstStaff;
  View().m_currentType = 0;
  View().m_currentFamily = 0;
  View().m_caretColumn = 4;
  ui_.AnswerDialog(KDlgKeySig::kTemplateId, [](KModalDialog& d) {
    d.Controls().Select(KDlgKeySig::kIdKeyName, 2);
    d.Controls().SetChecked(KDlgKeySig::kIdInsertKey, 1);
    return IDOK;
  });
  OneStep(Qt::Key_K, Qt::ControlModifier | Qt::AltModifier, "key signature");
  ui_.AnswerDialog(KDlgTimeSig::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgTimeSig::kIdBeats, "3");
    return IDOK;
  });
  OneStep(Qt::Key_I, Qt::ControlModifier | Qt::AltModifier, "time signature");

  // Wrap to a shorter staff length, then back to the longer one: no column
  // is lost either way. The bars after the change to D move down onto the
  // next system, whose music is in B flat: a change back to B flat stands
  // where they meet it, so that music keeps sounding in its own key.
  const int groupsBefore = doc_->GetLineGroupCount();
  const Census signed_ = Take(*doc_);
  const int columns = signed_.notes;
  EXPECT_GT(columns, start.notes + 1);  // the key and the time signature
  ASSERT_EQ(signed_.keyChanges, std::vector<int>{kKeyD});
  auto length = [](int pixels) {
    return [pixels](KModalDialog& d) {
      d.Controls().SetChecked(KDlgSetLineLength::kIdAllLines, 1);
      d.Controls().SetText(KDlgSetLineLength::kIdUserLength, std::to_string(pixels));
      d.Controls().SetChecked(KDlgSetLineLength::kIdAutoWrap, 1);
      d.Controls().SetChecked(KDlgSetLineLength::kIdEvenSpace, 0);
      return IDOK;
    };
  };
  ui_.AnswerDialog(KDlgSetLineLength::kTemplateId, length(400));
  OneStep(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier, "wrap to a shorter staff");
  EXPECT_GT(doc_->GetLineGroupCount(), groupsBefore);
  const Census wrapped = Take(*doc_);
  EXPECT_EQ(wrapped.notes, columns + 1);
  EXPECT_EQ(wrapped.keyChanges, (std::vector<int>{kKeyD, kKeyBb}));
  ui_.AnswerDialog(KDlgSetLineLength::kTemplateId, length(kLength));
  OneStep(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier, "wrap back");
  EXPECT_EQ(Take(*doc_).notes, columns + 1);
  EXPECT_EQ(Take(*doc_).keyChanges, (std::vector<int>{kKeyD, kKeyBb}));

  // Evenly space the current group's lines.
  View().m_currentLine = kFirstStaff;
  View().m_currentType = 0;
  View().m_currentFamily = 0;
  OneStep(Qt::Key_E, Qt::ShiftModifier | Qt::AltModifier, "even spacing");

  // Saved, the score reads back the same: opened in a window of its own (a
  // copy, since an open score is not read twice), it stores byte for byte
  // what the edited score stores.
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(doc_->IsModified());
  const std::string copy = (Dir() / "guitar-copy.svd").string();
  std::filesystem::copy_file(path, copy);
  KViewWidget* secondPane = nullptr;
  CChildFrame* second = OpenFocused(copy, secondPane);
  ASSERT_NE(second, nullptr);
  const std::vector<BYTE> saved = Stored(*doc_);
  const std::vector<BYTE> read = Stored(second->Document());
  EXPECT_TRUE(read == saved) << FirstDifference(Describe(*doc_), Describe(second->Document()));
}

// Drum Line Percussion Symbols and Staff Note Names stay open beside the
// score while the user works on; a second command brings the open page
// forward, and OK closes it.
TEST_F(ShellTest, PercussionAndNoteNamePagesStayOpenBesideTheScore) {
  ASSERT_TRUE(Start());
  struct Page {
    UINT command;
    QWidget* (CMainFrame::*window)() const;
  };
  for (const Page page : {Page{cmd::kHelpPercussion, &CMainFrame::MidiPercHelp},
                          Page{cmd::kHelpNoteNames, &CMainFrame::StaffNoteNamesHelp}}) {
    Frame().OnCommand(page.command);
    QApplication::processEvents();
    QWidget* window = (Frame().*page.window)();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the score stays usable";
    Frame().OnCommand(page.command);
    EXPECT_EQ((Frame().*page.window)(), window) << "one page of each at most";
  }
  ASSERT_NE(Frame().MidiPercHelp(), nullptr);
  EXPECT_NE(Frame().MidiPercHelp(), Frame().StaffNoteNamesHelp());
  auto* ok = Frame().MidiPercHelp()->findChild<QPushButton*>();
  ASSERT_NE(ok, nullptr);
  ok->click();
  QApplication::processEvents();
  EXPECT_EQ(Frame().MidiPercHelp(), nullptr);
  EXPECT_NE(Frame().StaffNoteNamesHelp(), nullptr) << "the other page stays";
}

}  // namespace
