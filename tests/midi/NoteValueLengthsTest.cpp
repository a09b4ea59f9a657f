// Every note value, rest and dot lasts the same wherever it is counted: in
// the column (KChord::GetTicks, GetRestTicks), in the line's time
// (KLineTime), in the note's playback length (KChord::GetNoteLength), in the
// ABC writer's length text and in an exported Standard MIDI File.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "PlayTestSupport.h"
#include "lines/KStaffLine.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/MidiEventTrack.h"
#include "midi/MidiExport.h"
#include "midi/PlaySequencer.h"
#include "model/KLineTime.h"
#include "platform/FakeUiPort.h"
#include "platform/FileBytes.h"
#include "platform/MidiFileReader.h"
#include "support/TempFolder.h"

namespace {

constexpr int kC5 = 17;  // the row of c (ABC), C5 (MIDI key 72)
constexpr int kAbcUnit = 240;

struct Value {
  const char* name;
  int code;
  bool rest;
  int plain;  // ticks of the plain value, 480 to the quarter
};

// Written out here, apart from the program's own table.
const Value kValues[] = {
    {"eighth note (stem up)", 0, false, 240},
    {"eighth note (stem down)", 1, false, 240},
    {"sixteenth note (stem up)", 2, false, 120},
    {"sixteenth note (stem down)", 3, false, 120},
    {"32nd note (stem up)", 4, false, 60},
    {"32nd note (stem down)", 5, false, 60},
    {"64th note (stem up)", 6, false, 30},
    {"64th note (stem down)", 7, false, 30},
    {"quarter note (stem up)", 8, false, 480},
    {"quarter note (stem down)", 9, false, 480},
    {"half note (stem up)", 10, false, 960},
    {"half note (stem down)", 11, false, 960},
    {"whole note", 12, false, 1920},
    {"breve", 10012, false, 3840},
    {"whole rest", 14, true, 1920},
    {"half rest", 15, true, 960},
    {"quarter rest", 16, true, 480},
    {"eighth rest", 17, true, 240},
    {"sixteenth rest", 18, true, 120},
    {"32nd rest", 19, true, 60},
    {"64th rest", 20, true, 30},
};

struct Dot {
  const char* name;
  int code;  // 0: none
  int numerator;
  int denominator;
};

const Dot kDots[] = {
    {"", 0, 1, 1},
    {", dotted", 36, 3, 2},
    {", double-dotted", 37, 7, 4},
    {", triple-dotted (the flagged dot)", 10036, 15, 8},
};

// The ABC length text of ticks against the unit: nothing for one unit, "n"
// for n units, "/d" for one d-th, "n/d" otherwise (reduced).
std::string AbcLength(int ticks) {
  const int divisor = std::gcd(ticks, kAbcUnit);
  const int n = ticks / divisor;
  const int d = kAbcUnit / divisor;
  if (d == 1) return n == 1 ? std::string() : std::to_string(n);
  return (n == 1 ? std::string() : std::to_string(n)) + "/" + std::to_string(d);
}

// The column's entries as note text: the value and its dot on one row.
std::string ColumnText(const Value& value, const Dot& dot) {
  std::string text = std::to_string(value.code) + "@" + std::to_string(kC5);
  if (dot.code != 0) text += "+" + std::to_string(dot.code) + "@" + std::to_string(kC5);
  return text;
}

// Note-on and note-off ticks of a key, read back from an exported file.
struct Sounding {
  std::vector<std::uint32_t> on;
  std::vector<std::uint32_t> off;
};

class NoteValueLengths : public ::testing::Test {
 protected:
  NoteValueLengths() : m_scope(m_ui) { g_abcUnitLength = kAbcUnit; }
  ~NoteValueLengths() override { g_abcUnitLength = kAbcUnit; }

  // The score is exported to a file and read back: the times of each key.
  static std::map<int, Sounding> Exported(const playtest::TestScore& score) {
    const KPlayScore played = score.Score();
    KPlaySequencer sequencer(played, nullptr, KPlaySettings{});
    const KPerformance performance = sequencer.Run(KPlayRange{});
    sequencer.ClearPlayEvents();

    stavlin_test::TempFolder folder("values");
    const std::filesystem::path path = folder.Path() / "values.mid";
    CMaxMidiSMF file;
    std::vector<std::unique_ptr<MidiEventTrack>> tracks;
    const MidiExportOutcome outcome = ExportPerformance(performance, path.c_str(), file, [&](const char*) {
      tracks.push_back(std::make_unique<MidiEventTrack>());
      return tracks.back().get();
    });
    EXPECT_EQ(outcome.result, MidiExportOutcome::Result::kWritten) << outcome.reason;
    const fileio::ReadResult bytes = fileio::ReadWholeFile(path);
    MidiFileContent content;
    std::string error;
    EXPECT_TRUE(ParseMidiFile(bytes.bytes, content, error)) << error;
    std::map<int, Sounding> out;
    for (const auto& track : content.tracks) {
      std::uint32_t tick = 0;
      for (const MidiShortEvent& e : track.events) {
        tick += e.time;
        const bool on = (e.status & 0xF0) == 0x90 && e.data2 > 0;
        const bool off = (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0);
        if (on) out[e.data1].on.push_back(tick);
        if (off) out[e.data1].off.push_back(tick);
      }
    }
    return out;
  }

 private:
  FakeUiPort m_ui;
  ScopedUiPort m_scope;
};

TEST_F(NoteValueLengths, EveryNoteRestAndDotLastsAlikeInTheColumnTheLineTheAbcWriterAndTheMidiFile) {
  constexpr int kC5Key = 72;
  constexpr int kNextKey = 74;  // D5, the quarter note after the value
  for (const Value& value : kValues) {
    for (const Dot& dot : kDots) {
      const std::string name = std::string(value.name) + dot.name;
      SCOPED_TRACE(name);
      const int expected = value.plain * dot.numerator / dot.denominator;

      // The column and the line's time: the value, then a quarter D5.
      playtest::TestScore score;
      KListLine& line = score.Line("0=" + ColumnText(value, dot) + " 1=8@16");
      const KChord* column = AsChord(line.GetObjAt(0, 0));
      ASSERT_NE(column, nullptr);
      EXPECT_EQ(value.rest ? column->GetRestTicks() : column->GetTicks(3, false), expected) << "in the column";
      const KLineTime time(line);
      ASSERT_EQ(time.Columns().size(), 2u);
      EXPECT_EQ(time.Columns()[0].Step(), expected) << "in the line's time";
      EXPECT_EQ(time.Columns()[1].start, expected) << "where the next note starts";
      if (!value.rest) {
        EXPECT_EQ(column->GetNoteLength(0), expected) << "as the note sounds";
      }

      // The ABC writer, the value alone on its line.
      KStaffLine alone;
      FillNotes(alone, "0=" + ColumnText(value, dot));
      const std::optional<CString> abc = alone.WriteAbc();
      ASSERT_TRUE(abc.has_value());
      EXPECT_EQ(std::string(abc->View()), (value.rest ? "z" : "c") + AbcLength(expected) + "\r\n")
          << "in the ABC writer";

      // The exported MIDI file: the note sounds so long, and the next note
      // starts when the value (note or rest) has ended.
      const std::map<int, Sounding> keys = Exported(score);
      const Sounding next = keys.count(kNextKey) != 0 ? keys.at(kNextKey) : Sounding{};
      ASSERT_EQ(next.on.size(), 1u);
      EXPECT_EQ(next.on[0], static_cast<std::uint32_t>(expected)) << "where the next note starts in the file";
      if (!value.rest) {
        const Sounding note = keys.count(kC5Key) != 0 ? keys.at(kC5Key) : Sounding{};
        ASSERT_EQ(note.on.size(), 1u);
        ASSERT_EQ(note.off.size(), 1u);
        EXPECT_EQ(note.off[0] - note.on[0], static_cast<std::uint32_t>(expected)) << "as the file sounds it";
      }
    }
  }
}

}  // namespace
