// The MIDI import settings in their real window: the track list takes
// several rows at a time (Ctrl adds a row, Shift takes a run), the row
// buttons change every chosen row, a double click imports one row alone, and
// the new score holds what was chosen.

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "midi_import/SmfBytes.h"
#include "model/KChord.h"
#include "platform/qt/KQtDialogBinder.h"
#include "view/commands/CommandIds.h"
#include "view/commands/MidiFileImport.h"

namespace {

using namespace smftest;
using Dialog = KDlgMidiImpSettings;

// The user's hands on the open settings window.
class SettingsHands {
 public:
  explicit SettingsHands(QWidget& window) : m_window(window) {}

  QAbstractItemView& List() { return *Find<QAbstractItemView>(Dialog::kIdList); }
  QPoint RowCentre(int row) { return List().visualRect(List().model()->index(row, 1)).center(); }
  void ClickRow(int row, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mouseClick(List().viewport(), Qt::LeftButton, keys, RowCentre(row));
  }
  void DoubleClickRow(int row) {
    const QPoint at = RowCentre(row);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(List().viewport(), Qt::LeftButton, Qt::NoModifier, at);
  }
  void Click(UINT id) { QTest::mouseClick(Find<QAbstractButton>(id), Qt::LeftButton); }
  void Type(UINT id, const QString& text) {
    auto* edit = Find<QLineEdit>(id);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  std::vector<int> ChosenRows() {
    std::vector<int> rows;
    for (const QModelIndex& index : List().selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  // The row's fields as the table shows them, one to a column.
  QStringList RowFields(int row) {
    QStringList fields;
    const QAbstractItemModel& model = *List().model();
    for (int column = 0; column < model.columnCount(); ++column)
      fields << model.index(row, column).data().toString();
    return fields;
  }
  QStringList Headings() {
    QStringList headings;
    const QAbstractItemModel& model = *List().model();
    for (int column = 0; column < model.columnCount(); ++column)
      headings << model.headerData(column, Qt::Horizontal).toString();
    return headings;
  }
  void PressOk() {
    for (QPushButton* button : m_window.findChildren<QPushButton*>()) {
      if (button->text().startsWith(QStringLiteral("&OK"))) QTest::mouseClick(button, Qt::LeftButton);
    }
  }

 private:
  template <typename W>
  W* Find(UINT id) {
    W* widget = m_window.findChild<W*>(QStringLiteral("control%1").arg(id));
    if (widget == nullptr) ADD_FAILURE() << "no widget for control " << id;
    return widget;
  }
  QWidget& m_window;
};

class ImportSettingsWindow : public ShellTest {
 protected:
  // Four parts on their own tracks and channels, each one key four times.
  std::string WriteFourParts() {
    const char* names[] = {"Alto", "Bells", "Cello", "Drone"};
    const int keys[] = {72, 74, 76, 77};
    std::vector<Track> tracks;
    for (int part = 0; part < 4; ++part) {
      Track track = {Name(0, names[part])};
      for (int i = 0; i < 4; ++i) {
        track.push_back(On(0, part, keys[part]));
        track.push_back(Off(480, part, keys[part]));
      }
      tracks.push_back(track);
    }
    const std::vector<std::uint8_t> bytes = Smf(1, 480, tracks);
    const std::string path = (Dir() / "four parts.mid").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // Runs File/Import/MIDI File on the path; the settings window opens for
  // real and the hands act in it, then OK is pressed in it.
  void ImportWith(const std::string& path, std::function<void(SettingsHands&)> act) {
    ui_.AnswerDialog(Dialog::kTemplateId, [this, act](KModalDialog& dialog) {
      QTimer::singleShot(0, [act] {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr) {
          ADD_FAILURE() << "the settings window is not open";
          return;
        }
        SettingsHands hands(*window);
        act(hands);
        hands.PressOk();
        // Whatever happened, the window must not stay open.
        if (window->isVisible()) static_cast<QDialog*>(window)->done(IDCANCEL);
      });
      return KQtDialogBinder::Run(dialog, &Frame());
    });
    App().SetOpenPrompt([path](const CString&, const QStringList&) { return CString(path.c_str()); });
    Trigger(cmd::kImportMidi);
  }

  // Each staff's label and the keys its notes sound, in order.
  static std::map<std::string, std::vector<int>> KeysByLabel(CStavlinDoc& doc) {
    std::map<std::string, std::vector<int>> parts;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      auto* staff = dynamic_cast<KStaffLine*>(doc.GetNextLine(pos));
      if (staff == nullptr) continue;
      std::vector<int>& keys = parts[staff->GetLabelName().Str()];
      const std::vector<int> more = StaffNoteKeys(*staff);
      keys.insert(keys.end(), more.begin(), more.end());
    }
    return parts;
  }
};

TEST_F(ImportSettingsWindow, CtrlAndShiftClicksChooseRowsThatTheButtonsChangeTogether) {
  const std::string path = WriteFourParts();
  ASSERT_TRUE(Start());
  std::vector<int> afterCtrl;
  std::vector<int> afterShift;
  QStringList cello;
  QStringList headings;
  ImportWith(path, [&](SettingsHands& hands) {
    hands.Type(Dialog::kIdTitle, QStringLiteral("Quartet"));
    hands.ClickRow(0);
    hands.ClickRow(2, Qt::ControlModifier);
    afterCtrl = hands.ChosenRows();
    hands.Click(Dialog::kIdNo);  // Alto and Cello are left out
    hands.ClickRow(1);
    hands.ClickRow(3, Qt::ShiftModifier);
    afterShift = hands.ChosenRows();
    hands.Click(Dialog::kIdOctaveDown);  // Bells, Cello and Drone an octave down
    hands.Click(Dialog::kIdBass);
    cello = hands.RowFields(2);
    headings = hands.Headings();
  });
  EXPECT_EQ(afterCtrl, (std::vector<int>{0, 2}));
  EXPECT_EQ(afterShift, (std::vector<int>{1, 2, 3}));
  // The changed rows stay chosen and show their new settings.
  EXPECT_EQ(headings, (QStringList{"#", "(Trk:Ch)", "Import", "Label", "Notes", "Prog", "Instrument", "Staff",
                                   "Octave", "Resolution"}));
  EXPECT_EQ(cello, (QStringList{"3", "(2:2)", "", "Cello", "4", "1", "Ac. Piano", "Bass", "-1", "1/32"}))
      << cello.join(u'|').toStdString();

  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  CChildFrame* child = Frame().ScoreWindows().front();
  // The title typed before the rows were chosen is the score's.
  EXPECT_TRUE(child->windowTitle().contains(QStringLiteral("Quartet"))) << child->windowTitle().toStdString();
  const auto parts = KeysByLabel(child->Document());
  EXPECT_EQ(parts.count("Alto"), 0u);
  EXPECT_EQ(parts.count("Cello"), 0u);
  ASSERT_EQ(parts.count("Bells"), 1u);
  ASSERT_EQ(parts.count("Drone"), 1u);
  EXPECT_EQ(parts.at("Bells"), (std::vector<int>{62, 62, 62, 62}));
  EXPECT_EQ(parts.at("Drone"), (std::vector<int>{65, 65, 65, 65}));
  for (POSITION pos = child->Document().GetFirstLinePosition(); pos != nullptr;) {
    const KLineObj* line = child->Document().GetNextLine(pos);
    if (dynamic_cast<const KStaffLine*>(line) != nullptr) {
      EXPECT_EQ(line->GetType(), 1);
    }
  }
}

TEST_F(ImportSettingsWindow, DoubleClickImportsThatRowAlone) {
  const std::string path = WriteFourParts();
  ASSERT_TRUE(Start());
  std::vector<int> chosen;
  ImportWith(path, [&](SettingsHands& hands) {
    hands.ClickRow(0);
    hands.ClickRow(1, Qt::ShiftModifier);
    hands.DoubleClickRow(2);
    chosen = hands.ChosenRows();
  });
  EXPECT_EQ(chosen, (std::vector<int>{2}));
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  const auto parts = KeysByLabel(Frame().ScoreWindows().front()->Document());
  ASSERT_EQ(parts.size(), 1u);
  ASSERT_EQ(parts.count("Cello"), 1u);
  EXPECT_EQ(parts.at("Cello"), (std::vector<int>{76, 76, 76, 76}));
}

}  // namespace
