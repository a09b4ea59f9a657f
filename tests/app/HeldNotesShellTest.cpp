// Notes held over a bar line in the real window, heard in File | Export |
// Full Score As MIDI File read back with midicsv: a tie typed with n on a
// half note at a bar's end, and a chord a MIDI file holds over a bar line,
// each sound once for their whole length; breves written back as ABC read
// back as long as they were.

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "ShellTestSupport.h"
#include "app/KTextFrame.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "platform/Registry.h"
#include "support/MidiCsvTable.h"
#include "support/OutsideTools.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/qt/KViewWidget.h"

namespace {

namespace fs = std::filesystem;

constexpr int kStaffLine = 1;  // display lines: the title, the staff

class HeldNotes : public ShellTest {
 protected:
  // Full Score As MIDI File with the keys, the save dialog answering the
  // path; the notes of the file, in order of onset and pitch.
  std::vector<midicsv::PlayedNote> ExportMidi(KViewWidget* pane, const fs::path& midi) {
    ui_.AnswerSaveFile([midi](KSaveFileRequest& request) {
      request.fileName = CString::FromUtf8(midi.string());
      return true;
    });
    QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_S, QString(), Qt::ControlModifier | Qt::AltModifier);
    QApplication::processEvents();
    std::vector<midicsv::PlayedNote> notes = midicsv::PlayedNotes(midicsv::Run(midi));
    std::sort(notes.begin(), notes.end(), [](const auto& a, const auto& b) {
      return std::tie(a.onset, a.pitch) < std::tie(b.onset, b.pitch);
    });
    return notes;
  }
  // Each note as "onset pitch length", lengths to the nearest 1/48 of a
  // quarter below (a note may be let go that much early).
  static std::vector<std::string> Heard(const std::vector<midicsv::PlayedNote>& notes) {
    std::vector<std::string> out;
    for (const auto& n : notes) {
      out.push_back(std::to_string(n.onset) + " " + std::to_string(n.pitch) + " " +
                    std::to_string((n.length + 9) / 10 * 10));
    }
    return out;
  }
  static std::string Describe(KListLine& line) {
    std::string out;
    for (POSITION node = line.GetObjList()->GetHeadPosition(); node != nullptr;) {
      const auto* column = dynamic_cast<const KChord*>(line.GetObjList()->GetNext(node));
      if (column == nullptr) continue;
      out += std::to_string(column->GetPos()) + ":";
      for (int i = 0; i < column->GetNoteCount(); ++i)
        out +=
            " " + std::to_string(column->GetNote(i).code) + "@" + std::to_string(column->GetNote(i).position);
      out += "\n";
    }
    for (POSITION node = line.GetAttachments()->GetHeadPosition(); node != nullptr;) {
      const auto* a = static_cast<const KExtendedObj*>(line.GetAttachments()->GetNext(node));
      out += "attachment kind " + std::to_string(a->GetKind()) + " at " + std::to_string(a->GetPos()) +
             " width " + std::to_string(a->GetSize().cx) + "\n";
    }
    return out;
  }
};

TEST_F(HeldNotes, ATieTypedWithNOverABarLineSoundsOnce) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  const std::string path = (Dir() / "tie.svd").string();
  {
    CStavlinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.AddTailLine(new KStaffLine(0, 0, 0));
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  // The arrow cursor, and the caret advancing after each note.
  RegSetValue(HKEY_CURRENT_USER, "Software\\Stavlin\\EntryOptions", REG_SZ, "0,0,0,1,9,9,9", 0);
  ASSERT_TRUE(Start());
  KViewWidget* pane = nullptr;
  OpenFocused(path, pane);
  ASSERT_NE(pane, nullptr);
  CStavlinView& view = pane->View();
  const Qt::KeyboardModifiers lineStep =
      view.Options().arrowKeysWithinStaff == 1 ? Qt::ControlModifier : Qt::NoModifier;
  while (view.GetCurrentLine() < kStaffLine) {
    QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_Down, QString(), lineStep);
    QApplication::processEvents();
  }
  if (view.m_autoBars == 0) {
    QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_B, QStringLiteral("B"),
                        Qt::ShiftModifier | Qt::AltModifier);
    QApplication::processEvents();
  }
  ASSERT_NE(view.m_autoBars, 0);
  // E4 in half notes: two fill the bar (its bar line goes in), two more the
  // next; then back on the second and n ties it over the bar line.
  QTest::keyClicks(pane, QStringLiteral("ehhhh"));
  QApplication::processEvents();
  for (int guard = 0; guard < 10 && view.m_caretColumn > 1; ++guard) {
    QTest::sendKeyEvent(QTest::Click, pane, Qt::Key_Left, QString(), Qt::NoModifier);
    QApplication::processEvents();
  }
  ASSERT_EQ(view.m_caretColumn, 1);
  QTest::keyClicks(pane, QStringLiteral("n"));
  QApplication::processEvents();
  auto* staff = dynamic_cast<KStaffLine*>(view.GetDisplayLineObj(kStaffLine));
  ASSERT_NE(staff, nullptr);
  const std::vector<midicsv::PlayedNote> notes = ExportMidi(pane, Dir() / "tie.mid");
  EXPECT_EQ(Heard(notes), (std::vector<std::string>{"0 64 960", "960 64 1920", "2880 64 960"}))
      << midicsv::Show(notes) << Describe(*staff);
}

// A type 0 file at 480 ticks a quarter in 4/4 of the notes (onset, length,
// key).
struct FileNote {
  int onset;
  int length;
  int key;
};

std::vector<char> MidiFileOf(const std::vector<FileNote>& notes) {
  struct Message {
    int tick;
    int off;  // note-offs first at a tick
    unsigned char status;
    unsigned char key;
  };
  std::vector<Message> messages;
  for (const FileNote& n : notes) {
    messages.push_back({n.onset, 1, 0x90, static_cast<unsigned char>(n.key)});
    messages.push_back({n.onset + n.length, 0, 0x80, static_cast<unsigned char>(n.key)});
  }
  std::stable_sort(messages.begin(), messages.end(), [](const Message& a, const Message& b) {
    return std::tie(a.tick, a.off) < std::tie(b.tick, b.off);
  });
  std::vector<unsigned char> track = {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08};
  int now = 0;
  for (const Message& m : messages) {
    unsigned delta = static_cast<unsigned>(m.tick - now);
    now = m.tick;
    unsigned char bytes[4];
    int count = 0;
    do {
      bytes[count++] = static_cast<unsigned char>(delta & 0x7F);
      delta >>= 7;
    } while (delta != 0);
    for (int i = count - 1; i >= 0; --i)
      track.push_back(static_cast<unsigned char>(bytes[i] | (i > 0 ? 0x80 : 0)));
    track.insert(track.end(), {m.status, m.key, 0x40});
  }
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  std::vector<char> file = {'M',
                            'T',
                            'h',
                            'd',
                            0,
                            0,
                            0,
                            6,
                            0,
                            0,
                            0,
                            1,
                            0x01,
                            static_cast<char>(0xE0),
                            'M',
                            'T',
                            'r',
                            'k',
                            0,
                            0,
                            static_cast<char>(track.size() >> 8),
                            static_cast<char>(track.size() & 0xFF)};
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

// Chords a MIDI file holds over a bar line, imported with File | Import |
// MIDI File and exported again: each note sounds once, for its whole length.
struct HeldChordCase {
  const char* name;
  std::vector<FileNote> notes;
};

void PrintTo(const HeldChordCase& c, std::ostream* out) { *out << c.name; }

class HeldChords : public HeldNotes, public ::testing::WithParamInterface<HeldChordCase> {};

TEST_P(HeldChords, ExportAsTheFileHoldsThem) {
  if (!midicsv::Installed()) GTEST_SKIP() << "midicsv is not installed";
  const HeldChordCase& c = GetParam();
  const std::string path = (Dir() / "held.mid").string();
  const std::vector<char> bytes = MidiFileOf(c.notes);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(Start());
  KViewWidget* pane = ImportMidiAsOffered(path);
  ASSERT_NE(pane, nullptr);
  std::string score;
  CStavlinView& view = pane->View();
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    if (line != nullptr && line->GetFamily() == KLineObj::kFamilyStaff)
      score += Describe(*line->AsListLine());
  }
  const std::vector<midicsv::PlayedNote> notes = ExportMidi(pane, Dir() / "again.mid");
  std::vector<FileNote> sorted = c.notes;
  std::sort(sorted.begin(), sorted.end(), [](const FileNote& a, const FileNote& b) {
    return std::tie(a.onset, a.key) < std::tie(b.onset, b.key);
  });
  std::vector<std::string> expected;
  for (const FileNote& n : sorted) {
    expected.push_back(std::to_string(n.onset) + " " + std::to_string(n.key) + " " +
                       std::to_string(n.length));
  }
  EXPECT_EQ(Heard(notes), expected) << midicsv::Show(notes) << score;
}

INSTANTIATE_TEST_SUITE_P(
    Imported, HeldChords,
    ::testing::Values(
        // A half rest, C4 E4 G4 for a whole note over the bar, a half rest.
        HeldChordCase{"ATriadHeldAWholeNote", {{960, 1920, 60}, {960, 1920, 64}, {960, 1920, 67}}},
        // Quarters, then C4 E4 G4 C5 from the last beat held a half note
        // over the bar, and quarters again.
        HeldChordCase{"AChordOfFourOnTheLastBeat",
                      {{0, 480, 72},
                       {480, 480, 74},
                       {960, 480, 76},
                       {1440, 960, 60},
                       {1440, 960, 64},
                       {1440, 960, 67},
                       {1440, 960, 72},
                       {2400, 480, 71},
                       {2880, 960, 72}}},
        // E4 F4 G4 a step apart, from the second half held for a half and a
        // quarter.
        HeldChordCase{"ACluster", {{960, 1440, 64}, {960, 1440, 65}, {960, 1440, 67}, {2400, 480, 72}}}),
    [](const auto& info) { return std::string(info.param.name); });

// File | Export | Full Score as ABC File writes breves, a dotted breve and
// a breve rest as long as they are: abc2midi plays the export as the tune.
TEST_F(HeldNotes, BrevesWrittenAsAbcReadBackAsLongAsTheyWere) {
  if (!midicsv::Installed() || !stavlin_test::HaveTool("abc2midi"))
    GTEST_SKIP() << "midicsv or abc2midi is not installed";
  const std::string source = (Dir() / "breves.abc").string();
  std::ofstream(source, std::ios::binary) << "X:1\nT:Breves\nM:4/2\nL:1/2\nK:C\nF4|z4|G2A2|B3 c|d4|]\n";
  ASSERT_TRUE(Start());
  App().SetOpenPrompt([source](const CString&, const QStringList&) { return CString(source.c_str()); });
  Trigger(cmd::kFileOpen);
  ASSERT_EQ(Frame().ScoreWindows().size(), 1u);
  Trigger(cmd::kExportAbc);
  KTextFrame* text = Frame().ActiveTextWindow();
  ASSERT_NE(text, nullptr);
  const std::string abc = text->Editor()->toPlainText().toStdString();
  const fs::path exported = Dir() / "exported.abc";
  std::ofstream(exported, std::ios::binary) << abc;
  const auto play = [&](const fs::path& tune, const char* name) {
    int status = 0;
    const fs::path midi = Dir() / name;
    stavlin_test::RunTool("abc2midi " + tune.string() + " 1 -o " + midi.string(), status);
    return midicsv::PlayedNotes(midicsv::Run(midi));
  };
  const std::vector<midicsv::PlayedNote> expected = play(source, "theirs.mid");
  const std::vector<midicsv::PlayedNote> ours = play(exported, "ours.mid");
  ASSERT_FALSE(expected.empty());
  EXPECT_TRUE(midicsv::SameNotes(ours, expected, 10)) << "the export:\n"
                                                      << abc << midicsv::Show(ours) << "abc2midi:\n"
                                                      << midicsv::Show(expected);
}

}  // namespace
