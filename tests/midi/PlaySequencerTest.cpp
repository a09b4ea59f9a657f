// The sequencer: instruments and channels, programs, signatures, tempo and
// the clock of lines that share a track; and the performance played live on
// the fake clock.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "PlayTestSupport.h"
#include "lines/KStrLine.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/LivePlayback.h"
#include "midi/MidiEventTrack.h"
#include "midi/MidiExport.h"
#include "midi/PlaySequencer.h"
#include "midi/TempoMap.h"
#include "platform/FakeUiPort.h"
#include "platform/FileBytes.h"
#include "platform/MidiClock.h"
#include "platform/MidiFileReader.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

namespace {

using namespace playtest;

class SequencerTest : public ::testing::Test {
 protected:
  void SetUp() override { scope_ = std::make_unique<ScopedUiPort>(ui); }
  void TearDown() override { scope_.reset(); }

  static KPerformance Play(const TestScore& score, KPlaySettings settings = {}) {
    const KPlayScore played = score.Score();
    KPlaySequencer sequencer(played, nullptr, std::move(settings));
    KPerformance performance = sequencer.Run(KPlayRange{});
    sequencer.ClearPlayEvents();
    return performance;
  }
  // The short messages of a performance as "tick status data1 data2" (hex bytes).
  static std::vector<std::string> Messages(const KPerformance& p, BYTE kind = 0) {
    std::vector<std::string> out;
    for (const KPerfEvent& e : p.events) {
      if (e.kind != KPerfEvent::Kind::kShort || (kind != 0 && (e.status & 0xF0) != kind)) continue;
      char text[40];
      std::snprintf(text, sizeof text, "%u %02x %02x %02x", e.tick, e.status, e.data1, e.data2);
      out.emplace_back(text);
    }
    return out;
  }

  FakeUiPort ui;

 private:
  std::unique_ptr<ScopedUiPort> scope_;
};

struct ProgramCase {
  const char* name;
  int lineType;
  const char* label;
  int program;  // of the label's entry
  std::vector<std::string> programs;
  int channel;  // of the note; -1 when the line stays silent
};

class InstrumentProgram : public SequencerTest, public ::testing::WithParamInterface<ProgramCase> {};

// Only programs 1..128 send a program change: "Percussion" (130) and the
// silent 129 would put a status byte where a data byte belongs.
TEST_P(InstrumentProgram, SendsAProgramChangeOnlyForAGeneralMidiProgram) {
  const ProgramCase& c = GetParam();
  TestScore score;
  score.Line("0=8@17", c.lineType, -1, c.label);
  KPlaySettings settings;
  settings.instruments = DefaultInstruments();
  if (*c.label != '\0') settings.instruments.push_back({c.label, c.program, 100});
  const KPerformance p = Play(score, settings);
  EXPECT_EQ(Messages(p, 0xC0), c.programs);
  const std::vector<std::string> notes = Messages(p, 0x90);
  if (c.channel < 0) {
    EXPECT_TRUE(notes.empty());
    EXPECT_TRUE(p.tracks.empty());
  } else {
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(std::stoi(notes[0].substr(2, 2), nullptr, 16) & 0x0F, c.channel) << notes[0];
  }
  for (const KPerfEvent& e : p.events) {
    if (e.kind == KPerfEvent::Kind::kShort) {
      EXPECT_LT(e.data1, 0x80) << "a data byte with its top bit set";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, InstrumentProgram,
    ::testing::Values(ProgramCase{"an unlabelled treble staff plays the piano", 0, "", 0, {"0 c0 00 00"}, 0},
                      ProgramCase{"a label of program 128", 0, "Shot", 128, {"0 c0 7f 00"}, 0},
                      ProgramCase{"a label of percussion", 0, "Congas", 130, {}, 9},
                      ProgramCase{"a drum staff", 13, "", 0, {}, 9},
                      ProgramCase{"a label set silent", 0, "Tacet", 129, {}, -1},
                      ProgramCase{"a label without an instrument", 0, "Nobody", 0, {}, -1}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

// The sixteenth melodic instrument ends the performance with the true limit;
// percussion stays on channel 10 and counts for no melodic channel.
TEST_F(SequencerTest, FifteenMelodicChannelsAtMostAndPercussionKeepsChannelTen) {
  TestScore score;
  KPlaySettings settings;
  settings.instruments = DefaultInstruments();
  for (int i = 0; i < 16; ++i) {
    const std::string label = "Voice " + std::to_string(i + 1);
    settings.instruments.push_back({label, i + 1, 100});
    score.Line("0=8@17", 0, -1, settings.instruments.back().name.c_str());
    if (i == 3) {
      score.Line("0=8@17", 13);
      score.Line("0=8@17", 0, -1, "Bongos");
      settings.instruments.push_back({"Bongos", 130, 100});
    }
  }
  const KPerformance p = Play(score, settings);
  EXPECT_TRUE(p.cutShort);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, 7073u);
  EXPECT_NE(ui.Messages()[0].text.find("(maximum 15)"), std::string::npos) << ui.Messages()[0].text;
  std::set<int> melodic;
  for (const KPerfTrack& track : p.tracks) {
    if (track.program == 130) {
      EXPECT_EQ(track.channel, 9) << track.name;
    } else {
      EXPECT_NE(track.channel, 9) << track.name;
      melodic.insert(track.channel);
    }
  }
  EXPECT_EQ(melodic.size(), 15u);
  EXPECT_EQ(p.tracks.size(), 17u);  // 15 melodic, the drums and the bongos
}

struct SignatureCase {
  const char* name;
  int beats;
  int beatTicks;
  int numerator;
  int power;
};

class TimeSignature : public SequencerTest, public ::testing::WithParamInterface<SignatureCase> {};

TEST_P(TimeSignature, KeepsItsRealDenominator) {
  const SignatureCase& c = GetParam();
  TestScore score;
  score.Line("0=8@17").SetTimeSignature(c.beats, c.beatTicks, 0);
  const KPerformance p = Play(score);
  EXPECT_EQ(p.numerator, c.numerator);
  EXPECT_EQ(p.denominatorPower, c.power);

  // Under a title line the staff's signature still opens the file: it is no
  // change at tick 0 (which the file's header would hide).
  KStrLine title("Title", 0);
  KPlayScore titled({&title, score.Score().Line(0)});
  KPlaySequencer sequencer(titled, nullptr, KPlaySettings{});
  const KPerformance q = sequencer.Run(KPlayRange{});
  sequencer.ClearPlayEvents();
  EXPECT_EQ(q.numerator, c.numerator);
  EXPECT_EQ(q.denominatorPower, c.power);
  for (const KPerfEvent& e : q.events) EXPECT_NE(e.kind, KPerfEvent::Kind::kTimeSignature) << e.tick;
}

INSTANTIATE_TEST_SUITE_P(Signatures, TimeSignature,
                         ::testing::Values(SignatureCase{"four quarters", 4, 480, 4, 2},
                                           SignatureCase{"six eighths", 6, 240, 6, 3},
                                           SignatureCase{"three halves", 3, 960, 3, 1},
                                           SignatureCase{"two dotted quarters", 2, 720, 6, 3},
                                           SignatureCase{"five sixteenths", 5, 120, 5, 4},
                                           SignatureCase{"none at all", 0, 0, 4, 2}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(SequencerTest, TempoOutsideItsRangeIsClamped) {
  struct Case {
    int asked;
    int played;
  } cases[] = {{5, 10}, {10, 10}, {600, 600}, {1200, 1200}, {1500, 120}};
  for (const Case& c : cases) {
    TestScore score;
    score.Line("0=8@17");
    KPlaySettings settings;
    settings.tempo = c.asked;
    EXPECT_EQ(Play(score, settings).tempo, c.played) << c.asked;
  }
}

// Two lines with one label share a track: their notes keep their own times in
// it, read back from the file.
TEST_F(SequencerTest, LinesThatShareATrackKeepOneClockInTheFile) {
  TestScore score;
  score.Line("0=8@17 1=8@16 2=21@1/44", 0, 7, "Piano");
  score.Line("0=0@22 1=0@21 2=0@20 3=0@19 4=21@1/44", 0, 7, "Piano");
  score.Line("0=10@17 1=21@1/44", 0, 8, "Piano");
  KPlaySettings settings;
  settings.instruments = DefaultInstruments();
  settings.instruments.push_back({"Piano", 1, 100});
  const KPerformance p = Play(score, settings);
  ASSERT_EQ(p.tracks.size(), 1u);

  stavlin_test::TempFolder folder("share");
  const std::filesystem::path path = folder.Path() / "shared.mid";
  CMaxMidiSMF file;
  std::vector<std::unique_ptr<MidiEventTrack>> tracks;
  ASSERT_EQ(ExportPerformance(p, path.c_str(), file,
                              [&](const char*) {
                                tracks.push_back(std::make_unique<MidiEventTrack>());
                                return tracks.back().get();
                              })
                .result,
            MidiExportOutcome::Result::kWritten);
  const fileio::ReadResult bytes = fileio::ReadWholeFile(path);
  MidiFileContent content;
  std::string error;
  ASSERT_TRUE(ParseMidiFile(bytes.bytes, content, error)) << error;
  ASSERT_EQ(content.tracks.size(), 1u);
  std::vector<std::string> ons;
  std::uint32_t tick = 0;
  for (const MidiShortEvent& e : content.tracks[0].events) {
    tick += e.time;
    if ((e.status & 0xF0) == 0x90 && e.data2 > 0)
      ons.push_back(std::to_string(tick) + ":" + std::to_string(e.data1));
  }
  // Group 7: C5 D5 in quarters over E4 F4 G4 A4 in eighths; group 8 starts
  // when both lines have ended, at 960, with a half note C5.
  EXPECT_EQ(ons,
            (std::vector<std::string>{"0:72", "0:64", "240:65", "480:74", "480:67", "720:69", "960:72"}));
}

TEST_F(SequencerTest, VoicesMeetAgainAtEachBar) {
  TestScore score;
  // Voice 0 (odd codes): a half note; voice 1: two quarters, then a bar.
  score.Line("0=11@22+8@17 1=8@16 2=21@1/44 3=8@17");
  std::vector<std::string> ons = Messages(Play(score), 0x90);
  std::sort(ons.begin(), ons.end());
  EXPECT_EQ(ons, (std::vector<std::string>{"0 90 40 64", "0 90 48 64", "480 90 4a 64", "960 90 48 64"}));
}

// Grace notes sound one after another before the note they lead to, which
// sounds that much later and keeps its place; the notes after it keep theirs.
TEST_F(SequencerTest, GraceNotesSoundOneAfterAnotherAndTheBeatsKeepTheirTime) {
  TestScore score;
  // D5 and C5 as grace notes, a quarter B4, then a quarter C5.
  score.Line("0=13@16 1=13@17 2=8@18 3=8@17");
  // Each note-on as "tick status key", in order of time; grace notes may
  // sound softer, so the velocity is left out.
  std::vector<std::string> ons;
  for (const std::string& on : Messages(Play(score), 0x90)) ons.push_back(on.substr(0, on.rfind(' ')));
  std::sort(ons.begin(), ons.end(),
            [](const std::string& a, const std::string& b) { return std::stoi(a) < std::stoi(b); });
  EXPECT_EQ(ons, (std::vector<std::string>{"0 90 4a", "60 90 48", "120 90 47", "480 90 48"}));
}

// A rest holds back the notes after it whichever code its symbol has: rest
// codes 14..20 alternate in parity, which for notes marks the stem's voice.
struct RestCase {
  const char* name;
  const char* line;
  std::vector<std::string> ons;  // sorted
};

void PrintTo(const RestCase& c, std::ostream* out) { *out << c.name; }

class RestTiming : public SequencerTest, public ::testing::WithParamInterface<RestCase> {};

TEST_P(RestTiming, HoldsBackTheNotesAfterIt) {
  TestScore score;
  score.Line(GetParam().line);
  std::vector<std::string> ons = Messages(Play(score), 0x90);
  std::sort(ons.begin(), ons.end());
  EXPECT_EQ(ons, GetParam().ons);
}

INSTANTIATE_TEST_SUITE_P(
    Rests, RestTiming,
    ::testing::Values(
        // Quarter C5, a rest of each parity between quarters: the next note
        // waits for the rest to end.
        RestCase{"OddRestBetweenStemUpQuarters", "0=8@17 1=17@18 2=8@16", {"0 90 48 64", "720 90 4a 64"}},
        RestCase{"EvenRestBetweenStemUpQuarters", "0=8@17 1=16@18 2=8@16", {"0 90 48 64", "960 90 4a 64"}},
        RestCase{"OddRestBetweenStemDownQuarters", "0=9@17 1=17@18 2=9@16", {"0 90 48 64", "720 90 4a 64"}},
        // Two voices: a half note above, a rest beside it in the lower voice
        // and a quarter after the rest; the rest belongs to the lower voice.
        RestCase{"RestBesideTheOtherVoicesNote",
                 "0=11@22+16@17 1=8@16 2=21@1/44",
                 {"0 90 40 64", "480 90 4a 64"}}),
    [](const auto& info) { return std::string(info.param.name); });

// How long notes sound: ties hold a chord over a bar line as one, a breve and a dotted whole last their full
// value, and a whole rest alone in its bar rests for the whole bar.
struct HeldCase {
  const char* name;
  const char* line;
  struct Arc {
    int pos;
    int row;
    int kind;
    int width;
  };
  std::vector<Arc> arcs;
  std::vector<std::string> notes;  // "onset key length", in order of onset and key
};

void PrintTo(const HeldCase& c, std::ostream* out) { *out << c.name; }

class NoteLengths : public SequencerTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(NoteLengths, SoundAsWritten) {
  const HeldCase& c = GetParam();
  TestScore score;
  KListLine& line = score.Line(c.line);
  for (const HeldCase::Arc& arc : c.arcs) {
    auto* curve =
        new KExtendedObj(arc.pos, arc.row, arc.kind, arc.width / 2, arc.kind == 0 ? -6 : 6, arc.width, 0);
    line.AddAttachment(curve);
  }
  const KPerformance performance = Play(score);
  struct Note {
    std::uint32_t on;
    int key;
    std::uint32_t length;
  };
  std::vector<Note> notes;
  std::vector<std::size_t> open(128, SIZE_MAX);
  for (const KPerfEvent& e : performance.events) {
    if (e.kind != KPerfEvent::Kind::kShort) continue;
    const int kind = e.status & 0xF0;
    if (kind == 0x90 && e.data2 != 0) {
      open[e.data1] = notes.size();
      notes.push_back({e.tick, e.data1, 0});
    } else if ((kind == 0x80 || kind == 0x90) && open[e.data1] != SIZE_MAX) {
      notes[open[e.data1]].length = e.tick - notes[open[e.data1]].on;
      open[e.data1] = SIZE_MAX;
    }
  }
  std::sort(notes.begin(), notes.end(),
            [](const Note& a, const Note& b) { return a.on != b.on ? a.on < b.on : a.key < b.key; });
  std::vector<std::string> heard;
  for (const Note& n : notes) {
    heard.push_back(std::to_string(n.on) + " " + std::to_string(n.key) + " " + std::to_string(n.length));
  }
  EXPECT_EQ(heard, c.notes);
}

INSTANTIATE_TEST_SUITE_P(
    Held, NoteLengths,
    ::testing::Values(
        // Half notes C5 E5 G5 at a bar's end, tied over the bar line to the
        // same chord: three notes of a whole.
        HeldCase{"ATiedChordOverABarSoundsEachNoteOnce",
                 "0=10@17+10@15+10@13 1=21@1/44 2=10@17+10@15+10@13",
                 {{0, 16, 0, 18}},
                 {"0 72 1920", "0 76 1920", "0 79 1920"}},
        // A tie written in the column, as recording leaves it.
        HeldCase{"ARecordedTieHoldsItsNoteOverTheBar", "0=10@17+34@17 1=21@1/44 2=8@17", {}, {"0 72 1440"}},
        HeldCase{"ABreveLastsTwoWholes",
                 "0=225@1+103@1+101@1 1=10012@18 2=21@1/44 3=8@18",
                 {},
                 {"0 71 3840", "3840 71 480"}},
        HeldCase{"ADottedBreveLastsThreeWholes",
                 "0=225@1+105@1+101@1 1=10012@18+36@18 2=21@1/44 3=8@18",
                 {},
                 {"0 71 5760", "5760 71 480"}},
        HeldCase{"ATripleDottedWholeLastsFifteenEighths",
                 "0=12@18+10036@18 1=8@16",
                 {},
                 {"0 71 3600", "3600 74 480"}},
        // A whole rest alone in its bar rests for the bar, whatever its length.
        HeldCase{"AWholeRestFillsABarOfFourHalves",
                 "0=225@1+103@1+101@1 1=14@18 2=21@1/44 3=8@18",
                 {},
                 {"3840 71 480"}},
        HeldCase{"AWholeRestFillsABarOfThreeQuarters",
                 "0=225@1+102@1+103@1 1=14@18 2=21@1/44 3=8@18",
                 {},
                 {"1440 71 480"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SequencerTest, ABendRaisesThePitchWheelStepByStepAndBringsItBack) {
  TestScore score;
  score.Line("0=8@18+75@18");  // a bend of depth 16 on a quarter: a step every 480 / 32 ticks
  const std::vector<std::string> wheel = Messages(Play(score), 0xE0);
  ASSERT_EQ(wheel.size(), 32u);
  EXPECT_EQ(wheel.front(), "15 e0 00 41");
  EXPECT_EQ(wheel[15], "240 e0 00 50");
  EXPECT_EQ(wheel.back(), "480 e0 00 40");
}

// ---- Live ----------------------------------------------------------------------------------------

TEST_F(SequencerTest, LiveNotesKeepTheirTimesWithoutDrift) {
  // 400 eighths at 110 to the minute: a tick lasts 125/110 ms, and note k
  // goes out exactly k x 240 x 125000 / 110 microseconds after the start.
  TestScore score;
  std::string notes;
  for (int k = 0; k < 400; ++k) notes += std::to_string(k) + "=0@17 ";
  score.Line(notes);
  KPlaySettings settings;
  settings.tempo = 110;
  const KPerformance p = Play(score, settings);
  FakeMidiClock clock;
  RecordingMidiOut out;
  out.SetOpen(true);
  out.StampWith(&clock);
  KLivePlayback live(clock);
  live.Start(p, out, nullptr, nullptr);
  ASSERT_TRUE(clock.RunUntilIdle());
  int on = 0;
  for (std::size_t i = 0; i < out.Events().size(); ++i) {
    if ((out.Events()[i].status & 0xF0) != 0x90) continue;
    const std::int64_t expected = static_cast<std::int64_t>(on) * 240 * 125000 / 110;
    ASSERT_EQ(out.Times()[i] - live.StartUs(), expected) << "note " << on;
    ++on;
  }
  EXPECT_EQ(on, 400);
}

TEST_F(SequencerTest, StoppingLiveEndsTheNotesThatSoundAndSendsNothingMore) {
  TestScore score;
  score.Line("0=12@17+12@15 1=12@17");  // two whole notes, then another
  const KPerformance p = Play(score);
  FakeMidiClock clock;
  RecordingMidiOut out;
  out.SetOpen(true);
  KLivePlayback live(clock);
  int cues = 0;
  live.Start(
      p, out, [&](const KPerfCue&) { ++cues; }, nullptr);
  clock.Advance(100000);
  live.Stop();
  EXPECT_FALSE(live.IsPlaying());
  const std::size_t sent = out.Log().size();
  EXPECT_TRUE(clock.RunUntilIdle());
  EXPECT_EQ(out.Log().size(), sent);
  std::vector<std::string> log(out.Log().begin(), out.Log().end());
  ASSERT_EQ(log.size(), 5u);
  std::sort(log.begin() + 1, log.begin() + 3);
  std::sort(log.end() - 2, log.end());
  EXPECT_EQ(log, (std::vector<std::string>{"put ffffffff c0 00 00 00", "put ffffffff 90 48 64 00",
                                           "put ffffffff 90 4c 64 00", "put ffffffff 80 48 00 00",
                                           "put ffffffff 80 4c 00 00"}));
  EXPECT_EQ(cues, 1);
}

TEST_F(SequencerTest, TheTempoMapGivesEachTickItsTimeAndBack) {
  KPerformance p;
  p.tempo = 120;
  KPerfEvent change;
  change.kind = KPerfEvent::Kind::kTempo;
  change.tick = 960;
  change.bpm = 60;
  change.value = TempoMicroseconds(60);
  p.events.push_back(change);
  const KTempoMap map(p);
  struct Case {
    std::uint32_t tick;
    std::int64_t us;
  } cases[] = {{0, 0}, {480, 500000}, {960, 1000000}, {1440, 2000000}, {1441, 2002083}};
  for (const Case& c : cases) {
    EXPECT_EQ(map.Microseconds(c.tick), c.us) << c.tick;
    EXPECT_EQ(map.TickAt(c.us), c.tick) << c.us;
  }
  EXPECT_EQ(map.TempoAt(959), 120);
  EXPECT_EQ(map.TempoAt(960), 60);
}

}  // namespace
