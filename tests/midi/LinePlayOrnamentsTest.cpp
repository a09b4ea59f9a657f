// The play events of ornaments, grace notes, swing, pitch effects and the
// numbers written beside metronome marks.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../model/NoteLineTestSupport.h"
#include "midi/LinePlayEvents.h"
#include "model/KExtendedObj.h"
#include "model/KMIDIObj.h"
#include "support/CaseName.h"

namespace {

constexpr int kB4 = 71;

// One event as "key@time+sound/length", ornaments marked with a star.
std::string Describe(const KMIDIObj& e) {
  return std::to_string(e.GetData1()) + "@" + std::to_string(e.GetEvent().time) + "+" +
         std::to_string(SoundLength(e)) + "/" + std::to_string(e.GetMagnitude()) + (IsOrnament(e) ? "*" : "");
}

class Ornaments : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallLinePlayInterpreter();
    PlayEffects() = PlayEffectOptions{};
  }
  void TearDown() override {
    KListLine::SetPlayTextInterpreter(nullptr);
    PlayEffects() = PlayEffectOptions{};
  }
  // The events of the line in list order, sorted by time within a column.
  static std::vector<std::string> Play(KListLine& line, float swing = -1.0f) {
    line.InterpretTextForPlayback(1, &swing, 0, 32000);
    std::vector<const KMIDIObj*> events;
    for (POSITION node = line.GetPlayEvents()->GetHeadPosition(); node != nullptr;) {
      events.push_back(static_cast<const KMIDIObj*>(line.GetPlayEvents()->GetNext(node)));
    }
    std::stable_sort(events.begin(), events.end(), [](const KMIDIObj* a, const KMIDIObj* b) {
      return a->GetPos() != b->GetPos() ? a->GetPos() < b->GetPos() : a->GetEvent().time < b->GetEvent().time;
    });
    std::vector<std::string> out;
    for (const KMIDIObj* e : events) out.push_back(Describe(*e));
    return out;
  }
};

struct OrnamentCase {
  const char* name;
  const char* notes;
  std::vector<std::string> events;
};

class Ornament : public Ornaments, public ::testing::WithParamInterface<OrnamentCase> {};

TEST_P(Ornament, PlaysItsNotes) {
  auto line = MakeNoteLine(0, GetParam().notes);
  EXPECT_EQ(Play(*line), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, Ornament,
    ::testing::Values(
        // A lower mordent on a quarter B4: B4, A4 of 60 ticks each, then B4 for the rest.
        OrnamentCase{"a lower mordent", "0=8@18+10041@18", {"71@0+60/60*", "69@60+60/60*", "71@120+360/480"}},
        OrnamentCase{
            "an upper mordent", "0=8@18+10040@18", {"71@0+60/60*", "73@60+60/60*", "71@120+360/480"}},
        // A turn: the written pitch +2, itself, -2, itself, +2, then the note.
        OrnamentCase{"a turn",
                     "0=8@18+93@18",
                     {"73@0+60/60*", "71@60+60/60*", "69@120+60/60*", "71@180+60/60*", "73@240+60/60*",
                      "71@300+180/480"}},
        // The inverted turn goes the other way.
        OrnamentCase{"an inverted turn",
                     "0=8@18+10093@18",
                     {"69@0+60/60*", "71@60+60/60*", "73@120+60/60*", "71@180+60/60*", "69@240+60/60*",
                      "71@300+180/480"}},
        // On an eighth the turn's notes last 30 ticks.
        OrnamentCase{"a turn on an eighth",
                     "0=0@18+10016@18",
                     {"73@0+30/30*", "71@30+30/30*", "69@60+30/30*", "71@90+30/30*", "73@120+30/30*",
                      "71@150+90/240"}},
        // A grace note takes no time and delays the note after it by its length.
        OrnamentCase{"a grace note", "0=13@17 1=8@18", {"72@0+60/60*", "71@60+420/480"}},
        // Each grace column sounds from its own start, which the line's time
        // gives it (the sequencer's tests check the sounding times).
        OrnamentCase{
            "two grace notes", "0=13@16 1=13@17 2=8@18", {"74@0+60/60*", "72@0+60/60*", "71@120+360/480"}},
        // A slide into the note from below.
        OrnamentCase{"a slide into the note", "0=8@18+49@18", {"69@0+30/30*", "71@30+450/480"}},
        // A tremolo of 8 on a quarter: eight repeats of 60 ticks.
        OrnamentCase{"a tremolo",
                     "0=8@18+85@18",
                     {"71@0+60/480", "71@60+60/60*", "71@120+60/60*", "71@180+60/60*", "71@240+60/60*",
                      "71@300+60/60*", "71@360+60/60*", "71@420+60/60*"}}),
    [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST_F(Ornaments, OrnamentsAreLeftOutWhileTheirOptionIsOff) {
  PlayEffects().trills = false;
  PlayEffects().graceNotes = false;
  auto mordent = MakeNoteLine(0, "0=8@18+10041@18");
  EXPECT_EQ(Play(*mordent), std::vector<std::string>{"71@0+480/480"});
  auto grace = MakeNoteLine(0, "0=13@17 1=8@18");
  // Grace notes switched off are silent and take no time from their note.
  EXPECT_EQ(Play(*grace), (std::vector<std::string>{"71@0+480/480"}));
}

TEST_F(Ornaments, SwungPairsOfEighthsShareTheirTimeByTheRatio) {
  // With 2:1 swing the first of two eighths takes 320 ticks and the second
  // the 160 left (it sounds 80 ticks after its written place, 240); an
  // eighth before a quarter, or alone, stays straight.
  auto line = MakeNoteLine(0, "0=0@18 1=0@18 2=0@18 3=8@18 4=0@18");
  EXPECT_EQ(Play(*line, 2.0f / 3.0f),
            (std::vector<std::string>{"71@0+320/320", "71@80+160/160", "71@0+240/240", "71@0+480/480",
                                      "71@0+240/240"}));
  auto straight = MakeNoteLine(0, "0=0@18 1=0@18");
  EXPECT_EQ(Play(*straight, 0.0f), (std::vector<std::string>{"71@0+240/240", "71@0+240/240"}));
}

TEST_F(Ornaments, BendsVibratoAndSlideMarksCarryTheirPitchEffect) {
  struct Case {
    const char* notes;
    int kind;
    int depth;
  } cases[] = {{"0=8@18+75@18", kPitchBend, 16},       {"0=8@18+84@18", kPitchBend, 64},
               {"0=8@18+74@18", kPitchBend, 32},       {"0=8@18+40@18", kPitchVibrato, 8},
               {"0=8@18+10074@18", kPitchVibrato, 32}, {"0=8@18+48@18", kPitchSlideUp, 32},
               {"0=8@18+50@18", kPitchSlideDown, 32}};
  for (const Case& c : cases) {
    auto line = MakeNoteLine(0, c.notes);
    float swing = -1.0f;
    line->InterpretTextForPlayback(1, &swing, 0, 32000);
    ASSERT_EQ(line->GetPlayEvents()->GetCount(), 1) << c.notes;
    const auto* e = static_cast<const KMIDIObj*>(line->GetPlayEvents()->GetHead());
    EXPECT_EQ(e->GetData1(), kB4) << c.notes;
    EXPECT_EQ(PitchEffectKind(*e), c.kind) << c.notes;
    EXPECT_EQ(PitchEffectDepth(*e), c.depth) << c.notes;
  }
}

struct MarkCase {
  const char* name;
  int markCode;
  int textColumn;
  const char* text;
  std::optional<int> tempo;  // 4 x first data byte + second
};

class MetronomeMark : public Ornaments, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(MetronomeMark, NumberBesideItSetsTheTempo) {
  const MarkCase& c = GetParam();
  auto line = MakeNoteLine(0, "0=8@18 1=" + std::to_string(c.markCode) + "@5 2=8@18 3=8@18 4=8@18 5=8@18");
  line->AddAttachment(new KExtendedObj(c.textColumn, 5, CString(c.text), CString("8,0,0,0,400")));
  float swing = -1.0f;
  line->InterpretTextForPlayback(1, &swing, 0, 32000);
  std::optional<int> tempo;
  for (POSITION node = line->GetPlayEvents()->GetHeadPosition(); node != nullptr;) {
    const auto* e = static_cast<const KMIDIObj*>(line->GetPlayEvents()->GetNext(node));
    if (e->GetMagnitude() == kTempoControl) tempo = e->GetData1() * 4 + e->GetData2();
  }
  EXPECT_EQ(tempo, c.tempo);
}

INSTANTIATE_TEST_SUITE_P(Numbers, MetronomeMark,
                         ::testing::Values(MarkCase{"120 beside a quarter", 10034, 1, "= 120", 120},
                                           MarkCase{"60 beside a half", 10035, 2, "60", 120},
                                           MarkCase{"61 beside a half", 10035, 3, "61", 121},
                                           MarkCase{"120 beside an eighth", 10032, 1, "120", 60},
                                           MarkCase{"10 is too slow", 10034, 1, "10", std::nullopt},
                                           MarkCase{"500 is too fast", 10034, 1, "500", std::nullopt},
                                           MarkCase{"a number far from the mark", 10034, 5, "120",
                                                    std::nullopt}),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

}  // namespace
