// A key whose command is disabled does nothing at all: every key of the
// accelerator table is pressed in the real main window, with the caret on a
// text line, on a staff and on a tablature line, and for each one whose
// command is disabled there the score stays exactly as it was, unmodified,
// and no message is shown. The keys carry the text a keyboard gives them
// (Shift+Alt+W types "W", Ctrl+Shift+P the control character), so a key
// that no command takes cannot slip into the score as typing.

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"
#include "view/qt/KViewWidget.h"

namespace {

constexpr const char* kGuitar = "E A D G B E  323742475156";
constexpr int kGroupId = 10000;
constexpr int kTextLine = 0;  // display lines: the title, the staff, the tablature
constexpr int kStaffLine = 1;
constexpr int kTabLine = 2;

// The character a US keyboard gives a key with Shift held or not.
QString TypedText(Qt::Key key, Qt::KeyboardModifiers held) {
  const bool shift = held.testFlag(Qt::ShiftModifier);
  const bool ctrl = held.testFlag(Qt::ControlModifier);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    const char letter = static_cast<char>((shift ? 'A' : 'a') + (key - Qt::Key_A));
    // Ctrl with a letter gives its control character.
    if (ctrl) return QString(QChar(static_cast<char16_t>(letter & 0x1f)));
    return QString(QChar(letter));
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    static const char kShifted[] = ")!@#$%^&*(";
    const int digit = key - Qt::Key_0;
    return QString(QChar(shift ? kShifted[digit] : static_cast<char>('0' + digit)));
  }
  if (key == Qt::Key_Slash) return QString(QChar(shift ? '?' : '/'));
  if (key == Qt::Key_Space) return QStringLiteral(" ");
  if (key == Qt::Key_Return) return QStringLiteral("\r");
  return QString();
}

// Everything a key could change, as text: every line's contents (notation
// columns with their entries, text, attachments) and the line count.
std::string DumpScore(CStavlinDoc& doc) {
  std::string out;
  for (POSITION node = doc.GetFirstLinePosition(); node != nullptr;) {
    KLineObj* line = doc.GetNextLine(node);
    out += std::to_string(line->GetType()) + ":";
    if (auto* text = dynamic_cast<KStrLine*>(line)) {
      out += std::string(text->GetText().View());
    } else if (KListLine* list = line->AsListLine()) {
      const CObList* objects = list->GetObjList();
      for (POSITION at = objects->GetHeadPosition(); at != nullptr;) {
        const auto* column = dynamic_cast<const KChord*>(objects->GetNext(at));
        if (column == nullptr) continue;
        out += " " + std::to_string(column->GetPos()) + "=";
        for (int i = 0; i < column->GetNoteCount(); ++i) {
          const NotePair note = column->GetNote(i);
          out += std::to_string(note.code) + "@" + std::to_string(note.position) + ",";
        }
      }
    }
    out += " attachments " + std::to_string(line->GetAttachmentCount()) + "\n";
  }
  return out;
}

// Where the keys are pressed: the caret's display line, and whether the
// score is in read-only mode (which disables every editing command).
struct KeyPlace {
  int caretLine;
  bool readOnly;
};

class DisabledShortcut : public ShellTest, public ::testing::WithParamInterface<KeyPlace> {
 protected:
  // A title line, then a staff and a tablature line bracketed together,
  // with two bars of music.
  std::string WriteScoreWithMusic() {
    const std::string path = (Dir() / "keys.svd").string();
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

  void Key(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, text, held);
    QApplication::processEvents();
  }

  KViewWidget* pane_ = nullptr;
};

TEST_P(DisabledShortcut, LeavesTheScoreAsItWas) {
  const int caretLine = GetParam().caretLine;
  const std::string path = WriteScoreWithMusic();
  ASSERT_TRUE(Start());
  CChildFrame* child = OpenFocused(path, pane_);
  ASSERT_NE(child, nullptr);
  ASSERT_NE(pane_, nullptr);
  CStavlinView& view = pane_->View();
  ASSERT_EQ(view.GetDisplayLineCount(), 3);

  // Some music on the staff (and so on the tablature), then the caret goes
  // to the line under test; the score is saved so that any change shows.
  const Qt::KeyboardModifiers lineStep =
      view.Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  Key(Qt::Key_Down, lineStep);
  ASSERT_EQ(view.GetCurrentLine(), kStaffLine);
  QTest::keyClicks(pane_, QStringLiteral("eqq"));
  QApplication::processEvents();
  Key(Qt::Key_Bar, Qt::ShiftModifier, QStringLiteral("|"));
  QTest::keyClicks(pane_, QStringLiteral("q"));
  QApplication::processEvents();
  while (view.GetCurrentLine() > caretLine) Key(Qt::Key_Up, lineStep);
  while (view.GetCurrentLine() < caretLine) Key(Qt::Key_Down, lineStep);
  ASSERT_EQ(view.GetCurrentLine(), caretLine);
  if (GetParam().readOnly) {
    Trigger(cmd::kEditReadOnly);
    ASSERT_NE(view.IsReadOnly(), 0);
  }
  Key(Qt::Key_S, Qt::ControlModifier, QString(QChar(0x13)));
  ASSERT_FALSE(child->Document().IsModified());
  ASSERT_FALSE(view.HasSelection());
  const std::string before = DumpScore(child->Document());
  ASSERT_NE(before.find(" 2=21@"), std::string::npos) << "the bar is in the score\n" << before;
  const size_t messages = ui_.Messages().size();

  int disabled = 0;
  for (const KAccelerator& accelerator : Accelerators()) {
    Frame().UpdateCommandUi();
    QAction* action = Frame().ActionFor(accelerator.id);
    ASSERT_NE(action, nullptr) << accelerator.key;
    if (action->isEnabled()) continue;
    ++disabled;
    const QKeySequence sequence = QKeySequence::fromString(accelerator.key, QKeySequence::PortableText);
    ASSERT_EQ(sequence.count(), 1) << accelerator.key;
    const Qt::Key key = sequence[0].key();
    const Qt::KeyboardModifiers held = sequence[0].keyboardModifiers();
    Key(key, held, TypedText(key, held));
    EXPECT_EQ(DumpScore(child->Document()), before)
        << accelerator.key << " (command " << accelerator.id << ", disabled) changed the score";
    EXPECT_FALSE(child->Document().IsModified()) << accelerator.key << " (command " << accelerator.id << ")";
    EXPECT_EQ(ui_.Messages().size(), messages) << accelerator.key << " (command " << accelerator.id << ")";
    EXPECT_EQ(view.GetCurrentLine(), caretLine) << accelerator.key;
  }
  // With no selection and nothing to undo, at least Wrap Music, Copy, Undo
  // and the auto-scroll speed keys are disabled.
  EXPECT_GE(disabled, 4);
}

std::string PlaceName(const ::testing::TestParamInfo<KeyPlace>& info) {
  std::string name = info.param.caretLine == kTextLine    ? "OnATextLine"
                     : info.param.caretLine == kStaffLine ? "OnAStaff"
                                                          : "OnATablatureLine";
  return name + (info.param.readOnly ? "InReadOnlyMode" : "");
}

INSTANTIATE_TEST_SUITE_P(WithTheCaret, DisabledShortcut,
                         ::testing::Values(KeyPlace{kTextLine, false}, KeyPlace{kStaffLine, false},
                                           KeyPlace{kTabLine, false}, KeyPlace{kTextLine, true},
                                           KeyPlace{kStaffLine, true}, KeyPlace{kTabLine, true}),
                         PlaceName);

}  // namespace
