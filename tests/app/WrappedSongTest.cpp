// A 16-bar waltz typed in the real window with Auto Bar Insertion, on a
// staff bracketed with its tablature, runs past the end of its staff; Wrap
// Music then lays it out in systems as engraved music is: every system ends
// with the bar line that closes its last bar, the next one starts with the
// next bar's first note. The music is the same before and after (the same
// notes in the same order, the same MIDI file), and the score saves and
// reads back as the window shows it.

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <string>
#include <vector>

#include "GroupedSongWindow.h"
#include "dialogs/KDlgTimeSig.h"
#include "doc/CStavlinDoc.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "support/MidiCsvTable.h"
#include "view/CStavlinView.h"

namespace {

namespace fs = std::filesystem;

// Room for 31 columns after the clef: seven bars of a waltz and their bar lines.
constexpr int kStaffLength = 600;
constexpr int kBars = 16;

bool IsBar(const KChord* column) { return column != nullptr && column->IsBarColumn(); }

// Every staff (type 0) or tablature (type 2) line of the score, in order.
std::vector<KListLine*> LinesOfType(const CStavlinDoc& doc, int type) {
  std::vector<KListLine*> lines;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = doc.GetNextLine(pos);
    if (KListLine* list = line->AsListLine(); list != nullptr && line->GetType() == type)
      lines.push_back(list);
  }
  return lines;
}

// The sounding columns of the lines, one after another, without their places.
std::vector<std::string> Music(const std::vector<KListLine*>& lines) {
  std::vector<std::string> music;
  for (const KListLine* line : lines) {
    const CObList* objects = line->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(objects->GetNext(node));
      if (column == nullptr || IsBar(column) || column->IsSignatureColumn()) continue;
      std::string notes;
      for (int i = 0; i < column->GetNoteCount(); ++i)
        notes +=
            std::to_string(column->GetNote(i).code) + '@' + std::to_string(column->GetNote(i).position) + ' ';
      music.push_back(notes);
    }
  }
  return music;
}

int BarCount(const std::vector<KListLine*>& lines) {
  int bars = 0;
  for (const KListLine* line : lines) {
    const CObList* objects = line->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;)
      bars += IsBar(dynamic_cast<const KChord*>(objects->GetNext(node))) ? 1 : 0;
  }
  return bars;
}

class WrappedSongInTheWindow : public GroupedSongWindow {
 protected:
  CStavlinDoc& Doc() const { return child_->Document(); }
  // Full Score As MIDI File, read back with midicsv.
  std::string ExportMidi(const std::string& name) {
    const fs::path midi = Dir() / name;
    ui_.AnswerSaveFile([midi](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(midi.string());
      return true;
    });
    Key(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    std::string error;
    std::string table = midicsv::Table(midi, &error);
    EXPECT_FALSE(table.empty()) << error;
    return table;
  }
};

TEST_F(WrappedSongInTheWindow, EverySystemEndsWithItsBarLineAndTheMusicSoundsAndSavesTheSame) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  staff_->SetStaffLength(kStaffLength);
  tab_->SetStaffLength(kStaffLength);
  ASSERT_NO_FATAL_FAILURE(ToLine(kStaffLine));

  // 3/4 from its dialog, Auto Bar Insertion on (Shift+Alt+B switches it).
  ui_.AnswerDialog(KDlgTimeSig::kTemplateId, [](KModalDialog& d) {
    d.Controls().SetText(KDlgTimeSig::kIdBeats, "3");
    return IDOK;
  });
  Key(Qt::Key_I, Qt::ControlModifier | Qt::AltModifier);
  Key(Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier, QStringLiteral("B"));
  if (View().m_autoBars == 0) Key(Qt::Key_B, Qt::ShiftModifier | Qt::AltModifier, QStringLiteral("B"));
  ASSERT_NE(View().m_autoBars, 0);

  // Sixteen bars of three quarters (E G E, then G B G), typed on past the
  // end of the staff: each third note closes its bar.
  for (int bar = 0; bar < kBars; ++bar) Type(bar % 2 == 0 ? "eqGqeq" : "GqBqgq");
  ASSERT_EQ(LinesOfType(Doc(), 0).size(), 1u);
  ASSERT_EQ(BarCount(LinesOfType(Doc(), 0)), kBars) << ColumnsText(*staff_);
  ASSERT_GT(staff_->GetLength() * 18 + staff_->GetLeadInWidth(0), kStaffLength)
      << "the song runs past the end";
  const std::vector<std::string> staffMusic = Music(LinesOfType(Doc(), 0));
  const std::vector<std::string> tabMusic = Music(LinesOfType(Doc(), 2));
  ASSERT_EQ(staffMusic.size(), static_cast<size_t>(3 * kBars));
  const std::string heardBefore = ExportMidi("before.mid");

  // Edit | Select Everything, Actions | Wrap Music In Selected Lines.
  Key(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_W, Qt::ShiftModifier | Qt::AltModifier);
  EXPECT_TRUE(ui_.Messages().empty());

  for (const int type : {0, 2}) {
    const std::vector<KListLine*> systems = LinesOfType(Doc(), type);
    ASSERT_EQ(systems.size(), 3u) << "seven bars a system";
    EXPECT_EQ(BarCount(systems), kBars) << "no bar line lost or added";
    for (size_t s = 0; s < systems.size(); ++s) {
      KListLine& line = *systems[s];
      const CObList* objects = line.GetObjList();
      ASSERT_FALSE(objects->IsEmpty());
      EXPECT_TRUE(IsBar(AsChord(static_cast<const KPosObj*>(objects->GetTail()))))
          << "system " << s + 1 << " ends with a bar line: " << ColumnsText(line);
      EXPECT_FALSE(IsBar(AsChord(static_cast<const KPosObj*>(objects->GetHead()))))
          << "system " << s + 1 << " starts with music: " << ColumnsText(line);
      EXPECT_LE(line.GetLength() * 18 + line.GetLeadInWidth(0) + line.GetIndent(), kStaffLength)
          << "system " << s + 1 << " fits its staff";
    }
  }
  EXPECT_EQ(Music(LinesOfType(Doc(), 0)), staffMusic);
  EXPECT_EQ(Music(LinesOfType(Doc(), 2)), tabMusic);
  EXPECT_EQ(ExportMidi("after.mid"), heardBefore) << "the wrapped song sounds as it did";

  // A second Wrap Music finds nothing to move.
  std::vector<std::string> wrapped;
  for (const KListLine* line : LinesOfType(Doc(), 0)) wrapped.push_back(ColumnsText(*line));
  Key(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
  Key(Qt::Key_W, Qt::ShiftModifier | Qt::AltModifier);
  std::vector<std::string> again;
  for (const KListLine* line : LinesOfType(Doc(), 0)) again.push_back(ColumnsText(*line));
  EXPECT_EQ(again, wrapped);

  // File | Save, then the file read back holds the same systems.
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(Doc().IsModified());
  CStavlinDoc reread;
  ASSERT_TRUE(reread.OnOpenDocument(path_.c_str()));
  for (const int type : {0, 2}) {
    const std::vector<KListLine*> shown = LinesOfType(Doc(), type);
    const std::vector<KListLine*> read = LinesOfType(reread, type);
    ASSERT_EQ(read.size(), shown.size());
    for (size_t s = 0; s < shown.size(); ++s)
      EXPECT_EQ(ColumnsText(*read[s]), ColumnsText(*shown[s])) << "system " << s + 1;
  }
}

}  // namespace
