#pragma once
// A fixture for tests that write a song in the real window: a score of a
// staff bracketed with a six-string guitar tablature line (bracket set 1,
// so what is typed on one reaches the other), opened in the main frame with
// the keyboard focus on its view; keys are sent as the keyboard sends them.

#include <QApplication>
#include <QTest>
#include <string>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "platform/Registry.h"
#include "support/MusicNames.h"
#include "view/CStavlinView.h"

// The columns of a line as text, for failure messages and for comparing two
// lines: "pos:code@row,code@row pos:..." (tablature rows are string units).
inline musicnames::LineDump ColumnsText(const KListLine& line) {
  return musicnames::DumpColumns(&line, true);
}

class GroupedSongWindow : public ShellTest {
 public:
  static constexpr const char* kGuitar = "E A D G B E  323742475156";
  static constexpr int kGroupId = 10000;
  static constexpr int kStaffLine = 1;  // display lines: the title, the staff, the tablature
  static constexpr int kTabLine = 2;

 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path_ = (Dir() / "song.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      const POSITION staff = doc.AddTailLine(new KStaffLine(0, 0, 0));
      const POSITION tab = doc.AddTailLine(new KTabLine(0, kGuitar, 0));
      auto* group = new KLineGroup(kGroupId, staff, doc.GetLineAt(staff)->GetType(), 0, tab,
                                   doc.GetLineAt(tab)->GetType(), 0, 1);
      doc.AddLineGroup(group);
      doc.GetLineAt(staff)->SetGroup(kGroupId, group);
      doc.GetLineAt(tab)->SetGroup(kGroupId, group);
      group->BindLines(doc);
      ASSERT_TRUE(doc.OnSaveDocument(path_.c_str()));
    }
    // The arrow cursor: a click in the score moves the caret and enters
    // nothing; the caret advances after each note.
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\EntryOptions", REG_SZ, "0,0,0,1,9,9,9", 0);
    BeforeStart();
    ASSERT_TRUE(Start());
    child_ = OpenFocused(path_, pane_);
    ASSERT_NE(pane_, nullptr);
    ASSERT_EQ(View().GetDisplayLineCount(), 3);
    staff_ = dynamic_cast<KStaffLine*>(View().GetDisplayLineObj(kStaffLine));
    tab_ = dynamic_cast<KTabLine*>(View().GetDisplayLineObj(kTabLine));
    ASSERT_NE(staff_, nullptr);
    ASSERT_NE(tab_, nullptr);
  }

  // Settings a test stores before the program starts.
  virtual void BeforeStart() {}

  CStavlinView& View() const { return pane_->View(); }

  void Key(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, text, held);
    QApplication::processEvents();
  }
  // A capital comes with Shift held (Caps Lock stays off).
  void Type(const char* keys) {
    for (const char* c = keys; *c != '\0'; ++c) {
      const QString text(QChar::fromLatin1(*c));
      if (*c >= 'A' && *c <= 'Z') {
        Key(static_cast<Qt::Key>(Qt::Key_A + (*c - 'A')), Qt::ShiftModifier, text);
      } else {
        QTest::keyClicks(pane_, text);
        QApplication::processEvents();
      }
    }
  }
  Qt::KeyboardModifiers LineStep() const {
    return View().Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  }
  void ToLine(int line) {
    while (View().GetCurrentLine() < line) Key(Qt::Key_Down, LineStep());
    while (View().GetCurrentLine() > line) Key(Qt::Key_Up, LineStep());
    ASSERT_EQ(View().GetCurrentLine(), line);
  }

  std::string path_;
  CChildFrame* child_ = nullptr;
  KViewWidget* pane_ = nullptr;
  KStaffLine* staff_ = nullptr;
  KTabLine* tab_ = nullptr;
};
