// Building a line's play events from its note columns and play texts.

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
#include "platform/FakeUiPort.h"

namespace {

constexpr int kTreble = 0;
constexpr int kB4 = 71;  // the middle line of the treble staff
const char* const kPlain = "0,0,0,0,400";
const char* const kBold = "0,0,0,0,700";

struct Ev {
  int pos;
  int key;
  int velocity;
  int length;
  bool positive;
  int time;
  int flags;
  int sound;  // how long it sounds (its length unless shortened)
};

class LinePlayEventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallLinePlayInterpreter();
    PlayEffects() = PlayEffectOptions{};
  }
  void TearDown() override {
    KListLine::SetPlayTextInterpreter(nullptr);
    PlayEffects() = PlayEffectOptions{};
  }

  static std::unique_ptr<EditLine> Line(const std::string& notes, int kind = kTreble) {
    return MakeNoteLine(kind, notes);
  }
  static void AddText(KListLine& line, int pos, int row, const char* text, const char* font = kPlain) {
    line.AddAttachment(new KExtendedObj(pos, row, CString(text), CString(font)));
  }
  static void AddShape(KListLine& line, int pos, int row, int kind, int width, int height, const char* text) {
    auto* shape = new KExtendedObj(pos, row, kind, 0, 0, width, height);
    shape->SetText(CString(text));
    shape->SetOffset(0, 0);
    line.AddAttachment(shape);
  }
  static std::vector<Ev> Play(KListLine& line, int number = 1) {
    float swing = -1.0f;
    line.InterpretTextForPlayback(number, &swing, 0, 32000);
    std::vector<Ev> events;
    CObList* list = line.GetPlayEvents();
    for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
      const auto* e = static_cast<const KMIDIObj*>(list->GetNext(node));
      const int magnitude = e->GetMagnitude();
      events.push_back({e->GetPos(), e->GetData1(), e->GetData2(), magnitude, e->IsPositive() != 0,
                        e->GetEvent().time, static_cast<int>(e->GetFlags()), SoundLength(*e)});
    }
    return events;
  }
  // The events of a column in the order they sound.
  static std::vector<Ev> ByTime(std::vector<Ev> events) {
    std::stable_sort(events.begin(), events.end(), [](const Ev& a, const Ev& b) { return a.time < b.time; });
    return events;
  }
  static std::vector<Ev> Controls(const std::vector<Ev>& events, int code) {
    std::vector<Ev> found;
    for (const Ev& e : events) {
      if (e.length == code) found.push_back(e);
    }
    return found;
  }
};

TEST_F(LinePlayEventsTest, LineWithoutObjectsEndsWithNoEventsWhateverTheRange) {
  struct Case {
    int first;
    int last;
  } cases[] = {{0, 32000}, {5, 6}, {100, 0}};
  for (const Case& c : cases) {
    KListLine line(0, kTreble, 0, -1, 0);
    for (int pos : {0, 7, 40}) line.GetPlayEvents()->AddTail(new KMIDIObj(KMidiEventRecord{0, pos}));
    float swing = 0.5f;
    line.InterpretTextForPlayback(3, &swing, c.first, c.last);
    EXPECT_TRUE(line.GetPlayEvents()->IsEmpty()) << c.first;
    EXPECT_FLOAT_EQ(line.GetCachedPlayValue(), 0.5f);
  }
}

TEST_F(LinePlayEventsTest, RebuildKeepsEventsOutsideTheRangeAndReplacesThoseInside) {
  auto line = Line("0=8@18 1=8@18 2=8@18");
  line->GetPlayEvents()->AddTail(new KMIDIObj(KMidiEventRecord{0, 50}));
  float swing = -1.0f;
  line->InterpretTextForPlayback(1, &swing, 1, 1);
  line->InterpretTextForPlayback(1, &swing, 1, 1);
  CObList* list = line->GetPlayEvents();
  ASSERT_EQ(list->GetCount(), 2);
  EXPECT_EQ(static_cast<KPosObj*>(list->GetHead())->GetPos(), 1);
  EXPECT_EQ(static_cast<KPosObj*>(list->GetTail())->GetPos(), 50);
}

TEST_F(LinePlayEventsTest, NoteColumnsAreShapedByTheirSymbolsWhileTheirOptionIsOn) {
  struct Case {
    const char* column;
    bool optionOn;
    int velocity;
    int length;
    int sound;
  } cases[] = {
      {"0=8@18", true, 64, 480, 480},
      {"0=8@18+64@18", true, 104, 480, 480},
      {"0=8@18+64@18", false, 64, 480, 480},
      {"0=8@18+10064@18", true, 124, 480, 480},
      {"0=8@18+87@18", true, 64, 960, 960},
      {"0=8@18+87@18", false, 64, 480, 480},
      // Staccato sounds half the note and keeps its place in the bar.
      {"0=8@18+52@18", true, 64, 480, 240},
      {"0=8@18+52@18", false, 64, 480, 480},
  };
  for (const Case& c : cases) {
    PlayEffects().accents = PlayEffects().fermata = PlayEffects().staccato = c.optionOn;
    auto line = Line(c.column);
    const std::vector<Ev> events = Play(*line);
    ASSERT_EQ(events.size(), 1u) << c.column;
    EXPECT_EQ(events[0].key, kB4) << c.column;
    EXPECT_EQ(events[0].velocity, c.velocity) << c.column;
    EXPECT_EQ(events[0].length, c.length) << c.column;
    EXPECT_EQ(events[0].sound, c.sound) << c.column;
  }
}

TEST_F(LinePlayEventsTest, StrokeSpreadsTheNotesAndTrillAddsAlternatingNotes) {
  auto stroke = Line("0=8@18+8@16+54@18");
  std::vector<Ev> events = ByTime(Play(*stroke));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_LT(events[0].key, events[1].key);
  EXPECT_EQ(events[1].time - events[0].time, 16);

  auto trill = Line("0=0@18+38@18");  // an eighth: r = 30, 240 / 30 + 1 = 9 added notes
  events = ByTime(Play(*trill));
  ASSERT_EQ(events.size(), 10u);
  EXPECT_EQ(events[1].key, kB4 + 2);
  EXPECT_EQ(events[2].key, kB4 - 2);
  EXPECT_EQ(events[9].time, 9 * 30);
}

TEST_F(LinePlayEventsTest, DynamicsWordsGiveTheirLevels) {
  struct Case {
    const char* text;
    const char* font;
    std::optional<int> level;
  } cases[] = {
      {"pp", kPlain, 30},   {"PPP", kPlain, 20}, {"pppp", kPlain, 10},       {"p", kBold, 38},
      {"p", kPlain, {}},    {"mf", kPlain, 53},  {"f", kBold, 60},           {"Forte", kPlain, 60},
      {"FFF", kPlain, 100}, {"MP", kPlain, 45},  {"mezzoforte", kPlain, 53}, {"dolce", kPlain, {}},
  };
  for (const Case& c : cases) {
    auto line = Line("0=8@18 1=8@18");
    AddText(*line, 1, 10, c.text, c.font);
    const std::vector<Ev> levels = Controls(Play(*line), kLevelControl);
    if (!c.level) {
      EXPECT_TRUE(levels.empty()) << c.text;
      continue;
    }
    ASSERT_EQ(levels.size(), 1u) << c.text;
    EXPECT_EQ(levels[0].pos, 1);
    EXPECT_EQ(levels[0].key, 60);
    EXPECT_EQ(levels[0].velocity, *c.level) << c.text;
  }
}

TEST_F(LinePlayEventsTest, LevelEventComesBeforeTheNotesOfItsColumn) {
  auto line = Line("0=8@18 1=8@18");
  AddText(*line, 1, 10, "mf");
  const std::vector<Ev> events = Play(*line);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[1].length, kLevelControl);
  EXPECT_EQ(events[2].pos, 1);
}

TEST_F(LinePlayEventsTest, TempoWordsAreMatchedInTableOrder) {
  struct Case {
    const char* text;
    std::optional<int> quarter;  // first data byte
  } cases[] = {{"Allegro ma non troppo", 30}, {"Andantino", 26}, {"Largo, presto", 12},
               {"Prestissimo", 50},           {"Adagio", 20},    {"cantabile", {}}};
  for (const Case& c : cases) {
    auto line = Line("0=8@18");
    AddText(*line, 0, 10, c.text);
    const std::vector<Ev> tempi = Controls(Play(*line), kTempoControl);
    if (!c.quarter) {
      EXPECT_TRUE(tempi.empty()) << c.text;
      continue;
    }
    ASSERT_EQ(tempi.size(), 1u) << c.text;
    EXPECT_EQ(tempi[0].key, *c.quarter) << c.text;
    EXPECT_EQ(tempi[0].velocity, 0);
  }
}

TEST_F(LinePlayEventsTest, TempoTextIsNotReadForDynamicsAndOptionOffMakesNoTempo) {
  auto line = Line("0=8@18");
  AddText(*line, 0, 10, "Allegro forte");
  std::vector<Ev> events = Play(*line);
  EXPECT_EQ(Controls(events, kTempoControl).size(), 1u);
  EXPECT_TRUE(Controls(events, kLevelControl).empty());
  PlayEffects().tempo = false;
  events = Play(*line);
  EXPECT_TRUE(Controls(events, kTempoControl).empty());
  EXPECT_EQ(Controls(events, kLevelControl).size(), 1u);
}

TEST_F(LinePlayEventsTest, SforzandoRaisesOnlyASoundingNoteAtTheColumnOrTheNext) {
  struct Case {
    const char* notes;
    int textColumn;
    int velocity;  // of the first event at or after the text's column
  } cases[] = {{"0=8@18", 0, 127}, {"1=8@18", 0, 127}, {"2=8@18", 0, 64}, {"0=16@18", 0, 0}};
  for (const Case& c : cases) {
    auto line = Line(c.notes);
    AddText(*line, c.textColumn, 10, "sfz");
    const std::vector<Ev> events = Play(*line);
    ASSERT_EQ(events.size(), 1u) << c.notes;
    EXPECT_EQ(events[0].velocity, c.velocity) << c.notes;
  }
}

TEST_F(LinePlayEventsTest, TupletBracketScalesTheLengthsOfItsSpan) {
  struct Case {
    const char* caption;
    int noteCode;
    int length;
  } cases[] = {{"5:4", 2, 96}, {"3", 0, 160}, {"2", 0, 360}, {"x", 0, 240}};
  for (const Case& c : cases) {
    const std::string code = std::to_string(c.noteCode);
    auto line = Line("0=" + code + "@18 1=" + code + "@18 2=" + code + "@18 3=8@18");
    AddShape(*line, 0, 10, 2, 2 * 18 + 9, 5, c.caption);
    const std::vector<Ev> events = Play(*line);
    ASSERT_EQ(events.size(), 4u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(events[static_cast<std::size_t>(k)].length, c.length) << c.caption;
    EXPECT_EQ(events[3].length, 480) << c.caption;
  }
}

TEST_F(LinePlayEventsTest, OctaveBracketShiftsItsSpanExceptOnDrumLines) {
  struct Case {
    int kind;
    const char* caption;
    int shift;
  } cases[] = {{kTreble, "8va", 12}, {kTreble, "8vb", -12}, {kTreble, "loco", 0}, {kDrums, "8va", 0}};
  for (const Case& c : cases) {
    auto line = Line("0=8@18 1=8@18 2=8@18", c.kind);
    const std::vector<Ev> before = Play(*line);
    AddShape(*line, 0, 10, 7, 18 + 9, 5, c.caption);
    const std::vector<Ev> after = Play(*line);
    ASSERT_EQ(after.size(), before.size());
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after[0].key, before[0].key + c.shift) << c.caption;
    EXPECT_EQ(after[1].key, before[1].key + c.shift) << c.caption;
    EXPECT_EQ(after[2].key, before[2].key) << c.caption;
  }
}

TEST_F(LinePlayEventsTest, ArcTiesTheNotesOfItsTwoColumns) {
  auto line = Line("0=8@18 1=8@18 2=8@18");
  AddShape(*line, 0, 17, 0, 18, 5, "");
  const std::vector<Ev> events = Play(*line);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].flags, 1);
  EXPECT_EQ(events[1].flags, 2);
  EXPECT_EQ(events[2].flags, 0);
}

// Which notes a tie or a slur joins: a tie holds every note of its chord
// that the next note column sounds again, past a bar line between them,
// whichever side it curves on; a tie written in a column (recorded music) holds its
// note on into the next of its key.
struct JoinCase {
  const char* name;
  const char* notes;
  struct Arc {
    int pos;
    int row;
    int kind;
    int width;
  };
  std::vector<Arc> arcs;
  std::vector<int> flags;  // of the events in list order
};

void PrintTo(const JoinCase& c, std::ostream* out) { *out << c.name; }

class NoteJoins : public LinePlayEventsTest, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(NoteJoins, FlagTheNotesThatSoundAsOne) {
  const JoinCase& c = GetParam();
  auto line = Line(c.notes);
  for (const JoinCase::Arc& arc : c.arcs) AddShape(*line, arc.pos, arc.row, arc.kind, arc.width, 5, "");
  std::vector<int> flags;
  for (const Ev& e : Play(*line)) flags.push_back(e.flags);
  EXPECT_EQ(flags, c.flags);
}

INSTANTIATE_TEST_SUITE_P(
    Ties, NoteJoins,
    ::testing::Values(
        // Half notes C5 E5 G5 at a bar's end, tied over the bar line (the
        // tie one column wide, as typed, ends at the bar) to the same chord.
        JoinCase{"ATieOverABarHoldsEveryNoteOfTheChord",
                 "0=10@17+10@15+10@13 1=21@1/44 2=10@17+10@15+10@13",
                 {{0, 16, 0, 18}},
                 {1, 1, 1, 2, 2, 2}},
        // Of a chord only the notes that sound again are held.
        JoinCase{"ATieHoldsOnlyTheNotesTheNextChordRepeats",
                 "0=10@17+10@15 1=10@17+10@16",
                 {{0, 14, 0, 18}},
                 {0, 1, 0, 2}},  // the events of a column stand from the top note down
        JoinCase{
            "ATieBelowTheChordHoldsItToo", "0=10@17+10@15 1=10@17+10@15", {{0, 18, 0, 18}}, {1, 1, 2, 2}},
        // An arc curved below (kind 1, a tie or slur drawn under the notes)
        // between two notes of one pitch ties them, as typed ties below are.
        JoinCase{"AnArcCurvedBelowTiesTwoNotesOfOnePitch", "0=8@15 1=8@15", {{0, 14, 1, 18}}, {1, 2}},
        // A slur around a tie changes nothing of what the tie holds.
        JoinCase{"ASlurAroundATieLeavesTheTieAlone",
                 "0=10@17+10@15 1=21@1/44 2=10@17+10@15 3=8@13",
                 {{0, 16, 1, 54}, {0, 16, 0, 18}},
                 {1, 1, 2, 2, 0}},
        // Ties written in the columns (recorded music) hold each its note.
        JoinCase{"TieMarksInTheColumnHoldTheirNotes",
                 "0=10@17+10@15+34@17+34@15 1=21@1/44 2=10@17+10@15",
                 {},
                 {1, 1, 0, 0}},
        // At the line's end the chord is held on into the next line.
        JoinCase{"ATieAtTheLineEndHoldsTheWholeChordOnwards",
                 "0=10@17+10@15 1=21@1/44",
                 {{0, 16, 0, 36}},
                 {1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

// The rest lasts that many bars of the time signature; a line whose
// signature is not known yet counts bars of 4/4.
TEST_F(LinePlayEventsTest, MultiBarRestCountMakesOneRestOfThatManyBars) {
  struct Case {
    const char* signature;
    int beats;  // 0: none set
    int beatTicks;
    int length;
  } cases[] = {{"none", 0, 0, 12 * 1920}, {"3/4", 3, 480, 12 * 1440}, {"6/8", 6, 240, 12 * 1440}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.signature);
    auto line = Line("0=8@18 4=8@18");
    if (c.beats > 0) line->SetTimeSignature(c.beats, c.beatTicks, 1);
    AddShape(*line, 1, 10, 21, 3 * 18, 5, "");
    AddText(*line, 2, 8, "12");
    const std::vector<Ev> events = Play(*line);
    ASSERT_EQ(events.size(), 3u);
    const Ev& rest = events[0];  // before the note of its column
    EXPECT_EQ(rest.pos, 0);
    EXPECT_EQ(rest.flags, 4);
    EXPECT_EQ(rest.velocity, 0);
    EXPECT_EQ(rest.length, c.length);
  }
}

TEST_F(LinePlayEventsTest, ChordRepeatPlaysTheEarlierChordOrReportsItsAbsence) {
  FakeUiPort ui;
  ScopedUiPort scoped(ui);
  auto repeated = Line("0=8@18+8@16 1=94@18");
  std::vector<Ev> events = Play(*repeated);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[2].pos, 1);
  EXPECT_EQ(events[2].key, events[0].key);
  EXPECT_TRUE(ui.Messages().empty());

  auto lone = Line("0=94@18 1=8@18");
  events = Play(*lone, 7);
  ASSERT_EQ(events.size(), 1u);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text,
            "In line 7 a playable chord (with notes) cannot be found in the staff \n"
            "before the first Chord Repeat marker.");
  Play(*lone, -1);
  EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST(SwingText, TwoNumbersGiveTheShareOfTheFirstNote) {
  struct Case {
    const char* text;
    float ratio;
  } cases[] = {{"2:1", 2.0f / 3.0f}, {" 1 : 1", 0.5f}, {"3:0", 0.0f},   {"swing", 0.666f},
               {"", 0.666f},         {"4", 0.666f},    {"x 1/3", 0.25f}};
  for (const Case& c : cases) EXPECT_NEAR(ParseSwingText(c.text), c.ratio, 1e-4) << c.text;
}

TEST_F(LinePlayEventsTest, SwingMarksSetTheLineRatio) {
  auto line = Line("0=8@18+70@10 1=8@18+71@10 2=8@18");
  AddText(*line, 1, 11, "1:1");
  float swing = -1.0f;
  line->InterpretTextForPlayback(-1, &swing, 0, 32000);
  EXPECT_FLOAT_EQ(swing, 0.5f);
  EXPECT_FLOAT_EQ(line->GetCachedPlayValue(), 0.5f);

  auto straight = Line("0=8@18+70@10 2=8@18+70@10");
  swing = 0.666f;
  straight->InterpretTextForPlayback(-1, &swing, 0, 32000);
  EXPECT_FLOAT_EQ(swing, 0.0f);
}

TEST_F(LinePlayEventsTest, GarbageTextsAndWildAttachmentsMakeNoFault) {
  const char* texts[] = {"\xff\xfe\x80", "3", "8va8vb", "1", "99:0", ":::", "sfzpppp", "\t\n", "0:0"};
  for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 21, 24, 30}) {
    auto line = Line("0=8@18 1=0@18+38@18 2=94@18 3=85@18+8@18");
    for (const char* text : texts) {
      AddShape(*line, 1, 10, kind, -500, 4000, text);
      AddText(*line, 2, -40, text);
    }
    AddShape(*line, 3, 10, kind, 1 << 24, -1 << 24, "8va");
    const std::vector<Ev> events = Play(*line, -1);
    for (const Ev& e : events) {
      EXPECT_GE(e.key, 0);
      EXPECT_LE(e.key, 127);
      EXPECT_LE(e.velocity, 127);
    }
  }
}

}  // namespace
