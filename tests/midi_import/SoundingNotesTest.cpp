// Every sounding note of a MIDI file reaches the imported score, by either
// method, as a player would hear the file: one key sounds one note at a time
// (notes of a key struck together are one note, so a note of no length
// beside a real one goes unheard; a key struck again while it sounds ends
// the first note there), a note of no length on its own is written with the
// shortest value, a chord held over a bar line is tied on every note, and a
// note the score cannot hold is named in one message with its reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "ImportTestSupport.h"
#include "SmfBytes.h"
#include "midi/LinePlayEvents.h"
#include "midi/Performance.h"
#include "midi/PlaySequencer.h"
#include "support/CaseName.h"

namespace {

using namespace smftest;
using importtest::ImportFixture;

// A note as the imported score plays it: onset, key and length in ticks.
struct Heard {
  long tick;
  int key;
  long length;
  friend bool operator==(const Heard&, const Heard&) = default;
};

std::string ToText(const std::vector<Heard>& notes) {
  std::string text;
  for (const Heard& n : notes)
    text += std::to_string(n.tick) + ":" + std::to_string(n.key) + "/" + std::to_string(n.length) + " ";
  return text;
}

// The score played through the sequencer, as playback and export play it.
std::vector<Heard> PlayDocument(const CStavlinDoc& doc) {
  InstallLinePlayInterpreter();
  const KPlayScore score(importtest::Lines(doc));
  KPlaySettings settings;
  settings.instruments = DefaultInstruments();
  // Each labelled staff plays the instrument of its label.
  for (KListLine* staff : importtest::Staves(doc)) {
    const std::string name(staff->GetLabelName().View());
    if (!name.empty()) settings.instruments.push_back({name, 1, 100});
  }
  KPlaySequencer sequencer(score, nullptr, settings);
  const KPerformance performance = sequencer.Run(KPlayRange{});
  sequencer.ClearPlayEvents();
  KListLine::SetPlayTextInterpreter(nullptr);
  std::vector<Heard> heard;
  std::map<std::pair<int, int>, std::vector<size_t>> open;  // (channel, key) -> sounding notes
  for (const KPerfEvent& e : performance.events) {
    if (!e.IsNoteOn() && !e.IsNoteOff()) continue;
    auto& sounding = open[{e.status & 15, e.data1}];
    if (!sounding.empty()) {
      Heard& note = heard[sounding.front()];
      note.length = static_cast<long>(e.tick) - note.tick;
      sounding.erase(sounding.begin());
    }
    if (e.IsNoteOn()) {
      sounding.push_back(heard.size());
      heard.push_back({static_cast<long>(e.tick), e.data1, 0});
    }
  }
  std::stable_sort(heard.begin(), heard.end(), [](const Heard& a, const Heard& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
  });
  return heard;
}

class SoundingNotes : public ImportFixture {
 public:
  explicit SoundingNotes(int method) : m_method(method) {
    g_midiImportMethod = method == 1 ? 1 : 0;
    settingsScript = [this](KDlgMidiImpSettings& dialog) {
      dialog.methodIndex = m_method == 1 ? 0 : 1;
      dialog.SelectRows({0});
      dialog.OnResolution(2);  // 1/32
      dialog.OnStaffType(KDlgMidiImpSettings::kTreble);
      return IDOK;
    };
  }
  ~SoundingNotes() { g_midiImportMethod = m_saved; }
  SoundingNotes(const SoundingNotes&) = delete;
  SoundingNotes& operator=(const SoundingNotes&) = delete;

  // The messages the import showed, joined.
  std::string Said() const {
    std::string said;
    for (const FakeUiPort::Message& m : ui.Messages()) said += m.text + "\n";
    return said;
  }

 private:
  int m_method;
  int m_saved = g_midiImportMethod;
};

struct RuleCase {
  const char* name;
  Track notes;  // channel 0, 480 ticks a quarter, 4/4
  std::vector<Heard> heard;
  int ties = -1;  // tie arcs the score draws (-1: not looked at)
};

void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.name; }

const RuleCase kRules[] = {
    {"a note of no length beside a real note of the same key is dropped",
     {On(0, 0, 60), Off(0, 0, 60), On(0, 0, 60), Off(480, 0, 60), On(0, 0, 62), Off(480, 0, 62)},
     {{0, 60, 480}, {480, 62, 480}}},
    {"a note of no length struck with a real note of the same key is dropped",
     {On(0, 0, 60), On(0, 0, 60), Off(0, 0, 60), Off(480, 0, 60), On(0, 0, 62), Off(480, 0, 62)},
     {{0, 60, 480}, {480, 62, 480}}},
    {"a note of no length beside a real chord keeps the chord's length",
     {On(0, 0, 64), Off(0, 0, 64), On(0, 0, 60), On(0, 0, 64), Off(960, 0, 60), Off(0, 0, 64)},
     {{0, 60, 960}, {0, 64, 960}}},
    {"a key struck again while it sounds ends the first note there",
     {On(0, 0, 60), On(240, 0, 60), Off(240, 0, 60), Off(0, 0, 60), On(0, 0, 62), Off(480, 0, 62)},
     {{0, 60, 240}, {240, 60, 240}, {480, 62, 480}}},
    {"four overlapping notes of one key are four notes",
     {On(0, 0, 60), On(240, 0, 60), On(240, 0, 60), On(240, 0, 60), Off(240, 0, 60), Off(0, 0, 60),
      Off(0, 0, 60), Off(0, 0, 60)},
     {{0, 60, 240}, {240, 60, 240}, {480, 60, 240}, {720, 60, 240}}},
    {"a note of no length on its own is the shortest value",
     {On(0, 0, 64), Off(0, 0, 64), On(480, 0, 65), Off(480, 0, 65)},
     {{0, 64, 60}, {480, 65, 480}}},
    {"a semitone inside a chord keeps both notes",
     {On(0, 0, 65), On(0, 0, 66), On(0, 0, 72), Off(480, 0, 65), Off(0, 0, 66), Off(0, 0, 72)},
     {{0, 65, 480}, {0, 66, 480}, {0, 72, 480}}},
    {"a chord held over a bar line is tied on every note",
     {On(1440, 0, 61), On(0, 0, 65), On(0, 0, 68), On(0, 0, 72), On(0, 0, 75), On(0, 0, 78), On(0, 0, 80),
      Off(960, 0, 61), Off(0, 0, 65), Off(0, 0, 68), Off(0, 0, 72), Off(0, 0, 75), Off(0, 0, 78),
      Off(0, 0, 80)},
     {},
     7},
};

class SmallFileRules : public ::testing::TestWithParam<std::tuple<RuleCase, int>> {};

TEST_P(SmallFileRules, TheScorePlaysWhatTheFileSounds) {
  const auto& [c, method] = GetParam();
  SoundingNotes import(method);
  const MidiFileImportResult result = import.Import(Smf(0, 480, {c.notes}));
  ASSERT_NE(result.document, nullptr) << import.Said();
  if (!c.heard.empty()) {
    EXPECT_EQ(ToText(PlayDocument(*result.document)), ToText(c.heard)) << importtest::Dump(*result.document);
  }
  if (c.ties >= 0) {
    EXPECT_EQ(importtest::CountAttachments(*result.document, 0) + importtest::CountAttachments(*result.document, 1),
              c.ties)
        << importtest::Dump(*result.document);
  }
  EXPECT_EQ(import.Said().find("left out"), std::string::npos) << import.Said();
}

INSTANTIATE_TEST_SUITE_P(Import, SmallFileRules,
                         ::testing::Combine(::testing::ValuesIn(kRules), ::testing::Values(1, 2)),
                         [](const ::testing::TestParamInfo<std::tuple<RuleCase, int>>& info) {
                           return viewtest::CaseName(std::string(std::get<0>(info.param).name) + " by method " +
                                                     std::to_string(std::get<1>(info.param)));
                         });

// Drum keys come back as the keys they were: each is written on the drum
// staff where, and with the note head with which, the staff plays it, also in
// a column whose own style marks a tie or a triplet.
TEST(ImportDrums, EveryDrumKeyPlaysBackAsItself) {
  const std::vector<int> keys = {35, 36, 38, 42, 44, 46, 49, 51, 56, 70, 75, 81};
  for (const int method : {1, 2}) {
    SCOPED_TRACE("method " + std::to_string(method));
    Track track;
    std::vector<Heard> expected;
    long at = 0;
    for (const int key : keys) {
      track.push_back(On(0, 9, key));
      track.push_back(Off(480, 9, key));
      expected.push_back({at, key, 0});
      at += 480;
    }
    // A crash cymbal and a bass drum held over the bar line.
    track.push_back(On(960, 9, 49));
    track.push_back(On(0, 9, 36));
    track.push_back(Off(960, 9, 49));
    track.push_back(Off(0, 9, 36));
    expected.push_back({at + 960, 36, 0});
    expected.push_back({at + 960, 49, 0});
    SoundingNotes import(method);
    const MidiFileImportResult result = import.Import(Smf(0, 480, {track}));
    ASSERT_NE(result.document, nullptr) << import.Said();
    std::vector<Heard> heard = PlayDocument(*result.document);
    for (Heard& h : heard) h.length = 0;
    EXPECT_EQ(ToText(heard), ToText(expected)) << importtest::Dump(*result.document);
  }
}

// Four notes a semitone apart in one chord need four staff positions, but
// three are all they can be written on: the import places three and says,
// once, that one note was left out and why.
TEST(ImportLostNotes, ANoteTheScoreCannotHoldIsNamedInOneMessage) {
  for (const int method : {1, 2}) {
    SCOPED_TRACE("method " + std::to_string(method));
    SoundingNotes import(method);
    const MidiFileImportResult result = import.Import(Smf(
        0, 480,
        {{On(0, 0, 64), On(0, 0, 65), On(0, 0, 66), On(0, 0, 67), Off(480, 0, 64), Off(0, 0, 65),
          Off(0, 0, 66), Off(0, 0, 67)}}));
    ASSERT_NE(result.document, nullptr);
    EXPECT_EQ(PlayDocument(*result.document).size(), 3u) << importtest::Dump(*result.document);
    const std::string said = import.Said();
    EXPECT_NE(said.find("1 note: every staff position the note could be written on was taken"),
              std::string::npos)
        << said;
    EXPECT_EQ(import.ui.Messages().size(), 1u) << said;
  }
}

// A long file of chords, re-struck keys, notes of no length beside real
// ones and chords held over bar lines (over 6,000 notes) imports with every
// note it sounds, at its time, by both methods.
struct LongFile {
  Track track;
  std::vector<importtest::Played> sounding;
};

LongFile MakeLongFile(int bars) {
  LongFile file;
  unsigned seed = 12345;
  auto next = [&seed](unsigned range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % range;
  };
  struct Event {
    int tick;
    int order;  // releases before strikes at one tick
    bool on;
    int key;
  };
  std::vector<Event> events;
  auto note = [&](int tick, int length, int key, bool heard = true) {
    events.push_back({tick, 1, true, key});
    events.push_back({tick + length, 0, false, key});
    if (heard) file.sounding.push_back({tick, key});
  };
  bool held = false;  // the bar before ended on a chord held into this one
  for (int bar = 0; bar < bars; ++bar) {
    for (int beat = held ? 1 : 0; beat < 4; ++beat) {
      const int at = bar * 1920 + beat * 480;
      const int key = 60 + static_cast<int>(next(17));
      switch (beat == 3 && bar + 1 < bars ? next(7) : next(6)) {
        case 0:  // a quarter note
          note(at, 480, key);
          break;
        case 1:  // two eighths
          note(at, 240, key);
          note(at + 240, 240, key + 2);
          break;
        case 2:  // a chord
          note(at, 480, key);
          note(at, 480, key + 4);
          note(at, 480, key + 7);
          break;
        case 3:  // a note of no length beside a real one of the same key
          events.push_back({at, 1, true, key});
          events.push_back({at, 1, false, key});
          note(at, 480, key);
          break;
        case 4:  // a key struck again while it sounds
          note(at, 480, key);
          note(at + 240, 240, key);
          break;
        case 5:  // a chord with a note of no length of one of its keys
          events.push_back({at, 1, true, key + 4});
          events.push_back({at, 1, false, key + 4});
          note(at, 480, key);
          note(at, 480, key + 4);
          break;
        default:  // a chord held over the bar line
          note(at, 960, key);
          note(at, 960, key + 3);
          note(at, 960, key + 7);
          held = true;
          continue;
      }
      if (beat == 3) held = false;
    }
    if (bar + 1 >= bars) held = false;
  }
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  int last = 0;
  for (const Event& e : events) {
    const auto delta = static_cast<std::uint32_t>(e.tick - last);
    file.track.push_back(e.on ? On(delta, 0, e.key) : Off(delta, 0, e.key));
    last = e.tick;
  }
  std::stable_sort(file.sounding.begin(), file.sounding.end(),
                   [](const importtest::Played& a, const importtest::Played& b) {
                     return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
                   });
  return file;
}

TEST(ImportLongFile, EveryNoteOfALongFileOfChordsAndOverlapsIsKept) {
  const LongFile file = MakeLongFile(900);
  ASSERT_GT(file.sounding.size(), 6000u);
  const std::vector<std::uint8_t> bytes = Smf(0, 480, {file.track});
  for (const int method : {1, 2}) {
    SCOPED_TRACE("method " + std::to_string(method));
    SoundingNotes import(method);
    const MidiFileImportResult result = import.Import(bytes);
    ASSERT_NE(result.document, nullptr) << import.Said();
    const std::vector<importtest::Played> played = importtest::AllNotes(importtest::PlayScore(*result.document));
    // Every note the file sounds is struck in the score at its time.
    std::vector<importtest::Played> missing;
    std::set_difference(file.sounding.begin(), file.sounding.end(), played.begin(), played.end(),
                        std::back_inserter(missing), [](const importtest::Played& a, const importtest::Played& b) {
                          return a.tick != b.tick ? a.tick < b.tick : a.key < b.key;
                        });
    EXPECT_EQ(missing.size(), 0u) << "of " << file.sounding.size() << " notes, the first missing: "
                                  << importtest::ToText(std::vector<importtest::Played>(
                                         missing.begin(), missing.begin() + std::min<size_t>(missing.size(), 10)));
    EXPECT_EQ(import.Said(), "");
  }
}

}  // namespace
