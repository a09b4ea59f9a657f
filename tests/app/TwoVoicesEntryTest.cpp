// Two voices on one staff, typed in the real window: a melody of eighths
// with stems up over half notes held with stems down, entered as a user
// enters them (the held note, back one column, the melody over it), with
// Auto Bar Insertion on. The bar closes when both voices have filled it,
// and Full Score As MIDI File, read back with midicsv, plays each voice in
// its own time: the half notes sound under the eighths, not after them.

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "ShellTestSupport.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "platform/Registry.h"
#include "support/MidiCsvTable.h"
#include "view/CStavlinView.h"
#include "view/qt/KViewWidget.h"

namespace {

namespace fs = std::filesystem;

constexpr int kStaffLine = 1;  // display lines: the title, the staff

class TwoVoicesInTheWindow : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    path_ = (Dir() / "voices.svd").string();
    {
      CStavlinDoc doc;
      ASSERT_TRUE(doc.OnNewDocument());
      doc.AddTailLine(new KStaffLine(0, 0, 0));
      ASSERT_TRUE(doc.OnSaveDocument(path_.c_str()));
    }
    // The arrow cursor, and the caret advancing after each note.
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\EntryOptions", REG_SZ, "0,0,0,1,9,9,9", 0);
    ASSERT_TRUE(Start());
    OpenFocused(path_, pane_);
    ASSERT_NE(pane_, nullptr);
    while (View().GetCurrentLine() < kStaffLine) Key(Qt::Key_Down, LineStep());
    ASSERT_EQ(View().GetCurrentLine(), kStaffLine);
    staff_ = dynamic_cast<KStaffLine*>(View().GetDisplayLineObj(kStaffLine));
    ASSERT_NE(staff_, nullptr);
  }

  CStavlinView& View() const { return pane_->View(); }
  Qt::KeyboardModifiers LineStep() const {
    return View().Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers held = Qt::NoModifier, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Click, pane_, key, text, held);
    QApplication::processEvents();
  }
  // Keys as the keyboard sends them: a capital with Shift held.
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

  // The sounding columns of the staff as "notes/bar": for each column, how
  // many heads it holds, "|" for a bar line.
  std::string Shape() const {
    std::string out;
    const CObList* objects = staff_->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column == nullptr || column->IsSignatureColumn()) continue;
      out += column->IsBarColumn() ? "|" : std::to_string(column->GetNoteCount());
    }
    return out;
  }

  std::string path_;
  KViewWidget* pane_ = nullptr;
  KStaffLine* staff_ = nullptr;
};

TEST_F(TwoVoicesInTheWindow, AMelodyOverHeldNotesExportsEachVoiceInItsOwnTime) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  if (View().m_autoBars == 0) Key(Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier, QStringLiteral("B"));
  ASSERT_NE(View().m_autoBars, 0) << "Shift+Alt+B switches Auto Bar Insertion on";

  // E4 as a half note with its stem down, back one column, E5 and four
  // eighths with stems up over it.
  Type("eH");
  EXPECT_EQ(Shape(), "1");
  Key(Qt::Key_Left);
  Type("Etttt");
  EXPECT_EQ(Shape(), "2111") << "the first eighth stands in the half note's column";
  // The second half of the bar the same way; the bar closes once both
  // voices have filled it.
  Type("eH");
  Key(Qt::Key_Left);
  Type("Etttt");
  EXPECT_EQ(Shape(), "21112111|");
  EXPECT_TRUE(ui_.Messages().empty());

  // Full Score As MIDI File.
  const fs::path midi = Dir() / "voices.mid";
  ui_.AnswerSaveFile([midi](KSaveFileRequest& request) {
    request.fileName = CString::FromUtf8(midi.string());
    return true;
  });
  Key(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  const std::vector<midicsv::PlayedNote> heard = midicsv::PlayedNotes(midicsv::Run(midi));
  // What the music means at 480 ticks to the quarter: the half notes at 0
  // and 960 under eighths every 240 ticks.
  std::vector<midicsv::PlayedNote> written;
  for (long half = 0; half < 2; ++half) {
    written.push_back({half * 960, 960, 64, 0});
    for (long eighth = 0; eighth < 4; ++eighth) written.push_back({half * 960 + eighth * 240, 240, 76, 0});
  }
  std::sort(written.begin(), written.end(), [](const auto& a, const auto& b) {
    return std::tie(a.onset, a.pitch) < std::tie(b.onset, b.pitch);
  });
  ASSERT_EQ(heard.size(), written.size()) << "heard:\n"
                                          << midicsv::Show(heard) << "written:\n"
                                          << midicsv::Show(written);
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(heard[i].onset, written[i].onset) << "note " << i << "\n" << midicsv::Show(heard);
    EXPECT_EQ(heard[i].pitch, written[i].pitch) << "note " << i << "\n" << midicsv::Show(heard);
    // Let go at most a 1/48 of a quarter before its full value, never after.
    EXPECT_LE(heard[i].length, written[i].length) << "note " << i << "\n" << midicsv::Show(heard);
    EXPECT_GE(heard[i].length, written[i].length - 10) << "note " << i << "\n" << midicsv::Show(heard);
  }
}

}  // namespace
