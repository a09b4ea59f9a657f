// A waltz written in the real window as a guitarist writes one, on a staff
// bracketed with its tablature line: a 3/4 time signature from its dialog,
// Auto Bar Insertion from its key, notes and rests typed on the staff, a
// dot typed before its note (the program's order), a triplet bracketed from
// a selection, notes from the piano keyboard and the fretboard, a dotted
// note from the fretboard, a rest typed on the tablature line, and a click
// beyond the end of the music to go on writing. After each bar the score's
// bar lines are checked, and then Full Score As MIDI File is read back
// with midicsv and compared note by note, tick by tick, with what the
// written music means: one sounding note for each written one (the staff
// and its tablature partner are one part), at 480 ticks to the quarter.

#include <QAction>
#include <QApplication>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "GroupedSongWindow.h"
#include "app/KToolBoxWindow.h"
#include "dialogs/KDlgTimeSig.h"
#include "dialogs/toolbox/InstrumentGeometry.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/Registry.h"
#include "support/MidiCsvTable.h"
#include "support/WaitFor.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

namespace fs = std::filesystem;

// Every toolbox closed at start: the test opens the two it uses.
constexpr const char* kAllClosed =
    "10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,"
    "10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0,10000,0";

// One sounding note: where it starts, its key and how long it lasts, in ticks.
struct Sound {
  int onset;
  int key;
  int length;
  bool operator==(const Sound&) const = default;
};

std::string Show(const std::vector<Sound>& sounds) {
  std::ostringstream out;
  for (const Sound& s : sounds) out << "  " << s.onset << " key " << s.key << " for " << s.length << "\n";
  return out.str();
}

// The notes of a midicsv table (every channel), in order of onset and key.
std::vector<Sound> SoundsOf(const std::string& table) {
  std::vector<Sound> sounds;
  std::map<std::pair<std::string, int>, std::vector<size_t>> open;  // (channel, key) -> notes sounding
  std::istringstream lines(table);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream in(line);
    std::string channel;
    int tick = 0;
    std::string kind;
    int key = 0;
    if (!(in >> channel >> tick >> kind >> key) || channel.rfind("ch", 0) != 0) continue;
    if (kind == "on") {
      open[{channel, key}].push_back(sounds.size());
      sounds.push_back({tick, key, -1});
    } else if (kind == "off" && !open[{channel, key}].empty()) {
      const size_t first = open[{channel, key}].front();
      open[{channel, key}].erase(open[{channel, key}].begin());
      sounds[first].length = tick - sounds[first].onset;
    }
  }
  std::sort(sounds.begin(), sounds.end(), [](const Sound& a, const Sound& b) {
    return a.onset != b.onset ? a.onset < b.onset : a.key < b.key;
  });
  return sounds;
}

class WaltzInTheWindow : public GroupedSongWindow {
 protected:
  void BeforeStart() override {
    RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\ToolBoxPos", REG_SZ, kAllClosed, 0);
  }

  // Opens a toolbox as its menu item does.
  KToolBoxWindow* Open(int slot) {
    QAction* action = Frame().ActionFor(toolbox::CommandOfKind(slot));
    if (action == nullptr || !action->isEnabled()) return nullptr;
    action->trigger();
    QApplication::processEvents();
    pane_->setFocus();
    return Frame().ToolBox(slot);
  }
  // A click on a toolbox's instrument: left a quarter, right an eighth,
  // double a half; a single click counts once the double-click time passed.
  void Play(KToolBoxWindow* window, QPoint at, Qt::MouseButton button, bool twice = false) {
    if (twice) {
      QTest::mouseDClick(window, button, Qt::NoModifier, at);
    } else {
      QTest::mouseClick(window, button, Qt::NoModifier, at);
    }
    QApplication::processEvents();
    ASSERT_TRUE(stavlin_test::WaitFor([&] { return !window->ClickPending(); }))
        << "the click was never taken";
    QApplication::processEvents();
  }
  // Where the fretboard plays a fret on a string (0 the high E).
  static QPoint Fret(int string, int fret) {
    const int x = fret == 0 ? 8 : (instrument::kFretX[fret - 1] + instrument::kFretX[fret]) / 2;
    return QPoint(x, instrument::kStringRow * string + 6);
  }
  // Where the piano keyboard plays a white key (C4 = 60), low on the key.
  static QPoint WhiteKey(int octave, int stepFromC) {
    return QPoint(28 + (octave - 1) * instrument::kOctaveWidth + stepFromC * instrument::kWhiteKeyWidth + 7,
                  60);
  }

  // The columns of the line that hold bar lines (the time signature's column
  // is not one).
  static std::vector<int> Bars(KListLine& line) {
    std::vector<int> bars;
    const CObList* objects = line.GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column != nullptr && column->IsBarColumn()) bars.push_back(column->GetPos());
    }
    return bars;
  }
  // The sounding columns (notes and rests) between two columns.
  static int SoundingColumns(KListLine& line, int from, int to) {
    int count = 0;
    const CObList* objects = line.GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column == nullptr || column->GetPos() <= from || column->GetPos() >= to) continue;
      if (!column->IsBarColumn() && !column->IsSignatureColumn() && column->GetNoteCount() > 0) ++count;
    }
    return count;
  }
  // After a bar is complete: both lines hold the same bars, the last one
  // just before the caret, and the bar holds the columns written in it.
  void ExpectBarClosed(int bar, int columnsInBar) {
    const std::vector<int> staffBars = Bars(*staff_);
    const std::vector<int> tabBars = Bars(*tab_);
    ASSERT_EQ(staffBars.size(), static_cast<size_t>(bar))
        << "bar " << bar << " is closed, once\nstaff: " << ColumnsText(*staff_) << "\ntab: " << ColumnsText(*tab_);
    EXPECT_EQ(tabBars, staffBars) << "the tablature keeps in step";
    EXPECT_EQ(staffBars.back() + 1, View().GetCaretColumn()) << "the caret stands after the bar";
    const int from = bar > 1 ? staffBars[static_cast<size_t>(bar) - 2] : 0;
    EXPECT_EQ(SoundingColumns(*staff_, from, staffBars.back()), columnsInBar) << "bar " << bar;
  }
};

TEST_F(WaltzInTheWindow, WrittenFromTheKeysTheFretboardAndThePianoItIsExportedAsWritten) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  ASSERT_NO_FATAL_FAILURE(ToLine(kStaffLine));
  ASSERT_NE(View().m_mutualTranslation, 0);

  // 3/4 from the time signature dialog, then Auto Bar Insertion on.
  ui_.AnswerDialog(KDlgTimeSig::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgTimeSig::kIdBeats, "3");
    return IDOK;
  });
  Key(Qt::Key_I, Qt::ControlModifier | Qt::AltModifier);
  ASSERT_EQ(View().GetCaretColumn(), 1) << "the signature stands in column 0";
  const int autoBarsBefore = View().m_autoBars;
  Key(Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier, QStringLiteral("B"));
  ASSERT_NE(View().m_autoBars, autoBarsBefore) << "Shift+Alt+B switches Auto Bar Insertion";
  if (View().m_autoBars == 0) Key(Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier, QStringLiteral("B"));
  ASSERT_NE(View().m_autoBars, 0);

  // Bar 1 from the keys: E4 dotted quarter (the dot first), G4 eighth, a
  // quarter rest.
  Type("e.q");
  Type("Gt");
  Type("!");
  ASSERT_NO_FATAL_FAILURE(ExpectBarClosed(1, 3));

  // Bar 2: a triplet of eighths A4 B4 C5 typed and bracketed from their
  // selection, then D5 as a half note from the piano keyboard.
  Type("At");
  Type("Bt");
  Type("Ct");
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Left, Qt::ShiftModifier);
  ASSERT_TRUE(View().SelectionRectShown());
  Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(0x10)));
  int brackets = 0;
  for (POSITION at = staff_->GetAttachments()->GetHeadPosition(); at != nullptr;) {
    const auto* object = static_cast<const KExtendedObj*>(staff_->GetAttachments()->GetNext(at));
    if (object->GetKind() == 2) ++brackets;
  }
  ASSERT_EQ(brackets, 1) << "the triplet bracket";
  while (View().GetCaretColumn() < staff_->GetLength()) Key(Qt::Key_Right);
  KToolBoxWindow* piano = Open(toolbox::kKeyboard);
  ASSERT_NE(piano, nullptr);
  Play(piano, WhiteKey(5, 1), Qt::LeftButton, true);  // D5, a half note
  ASSERT_NO_FATAL_FAILURE(ExpectBarClosed(2, 4));

  // Bar 3 on the tablature line: a dot, then A4 from the fretboard (the G
  // string's second fret) as a quarter: a dotted quarter; B4 (the open B
  // string) as an eighth; a quarter rest typed on the tablature line.
  ASSERT_NO_FATAL_FAILURE(ToLine(kTabLine));
  KToolBoxWindow* board = Open(toolbox::kFretboard);
  ASSERT_NE(board, nullptr);
  Type(".");
  Play(board, Fret(2, 2), Qt::LeftButton);
  Play(board, Fret(1, 0), Qt::RightButton);
  Type("!");
  ASSERT_NO_FATAL_FAILURE(ExpectBarClosed(3, 3));

  // Bar 4: back on the staff, a click far right of the music puts the caret
  // after it; a dot, then G4 from the piano as a half note: a dotted half.
  ASSERT_NO_FATAL_FAILURE(ToLine(kStaffLine));
  const int end = staff_->GetLength();
  const POINT scroll = pane_->GetScrollPosition();
  const int x = View().m_contentOrigin + 40 * 18 - scroll.x;
  const int y =
      View().GetDisplayEntry(kStaffLine).top + staff_->GetSpaceAbove(View().GetSizeIndex()) + 12 - scroll.y;
  QTest::mouseClick(pane_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  QApplication::processEvents();
  ASSERT_EQ(View().GetCurrentLine(), kStaffLine);
  EXPECT_EQ(View().GetCaretColumn(), end) << "the caret goes just after the music";
  pane_->setFocus();
  Type(".");
  Play(piano, WhiteKey(4, 4), Qt::LeftButton, true);  // G4, a half note
  ASSERT_NO_FATAL_FAILURE(ExpectBarClosed(4, 1));
  EXPECT_EQ(staff_->GetLength(), Bars(*staff_).back() + 1) << "nothing after the last bar";
  EXPECT_TRUE(ui_.Messages().empty());

  // Full Score As MIDI File.
  const fs::path midi = Dir() / "waltz.mid";
  ui_.AnswerSaveFile([midi](KSaveFileRequest& request) {
    request.fileName = CString::FromUtf8(midi.string());
    return true;
  });
  Key(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  std::string error;
  const std::string table = midicsv::Table(midi, &error);
  ASSERT_FALSE(table.empty()) << error;
  EXPECT_NE(table.find("conductor 0 time 3/2"), std::string::npos) << "3/4 in the file\n" << table;

  // What the music means, a quarter being 480 ticks.
  const std::vector<Sound> written = {
      {0, 64, 720},      // E4 dotted quarter
      {720, 67, 240},    // G4 eighth, then a quarter rest
      {1440, 69, 160},   // the triplet: A4
      {1600, 71, 160},   // B4
      {1760, 72, 160},   // C5
      {1920, 74, 960},   // D5 half
      {2880, 69, 720},   // A4 dotted quarter from the fretboard
      {3600, 71, 240},   // B4 eighth, then the tablature's quarter rest
      {4320, 67, 1440},  // G4 dotted half
  };
  const std::vector<Sound> heard = SoundsOf(table);
  ASSERT_EQ(heard.size(), written.size()) << "heard:\n" << Show(heard) << "written:\n" << Show(written);
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(heard[i].onset, written[i].onset) << "note " << i << "\n" << Show(heard);
    EXPECT_EQ(heard[i].key, written[i].key) << "note " << i << "\n" << Show(heard);
    // A note may be let go a little before its full value, never after it
    // and never by more than a 1/48 of a quarter.
    EXPECT_LE(heard[i].length, written[i].length) << "note " << i << "\n" << Show(heard);
    EXPECT_GE(heard[i].length, written[i].length - 10) << "note " << i << "\n" << Show(heard);
  }
}

}  // namespace
