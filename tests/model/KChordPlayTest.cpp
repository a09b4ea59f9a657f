#include <vector>

#include "ModelTestSupport.h"
#include "model/KNoteEvent.h"

namespace {

class KChordPlay : public ModelTest {};

struct Played {
  int count = 0;
  std::vector<KNoteEvent> events;
};

Played PlayAll(const KChord& column, const KColumnPlayContext& line, int velocity = 64, int key = 0,
               int transpose = 0, int channel = 0) {
  Played played;
  int index = 0;
  KNoteEvent event;
  while (column.MakeMidiEvent(index, event, line, velocity, key, transpose, channel) == 1) {
    played.events.push_back(event);
    if (++played.count > 20) break;
  }
  return played;
}

int NoteAt(int lineType, int step, int key = 0) {
  KChord column(0, step, 8, 0);
  KColumnPlayContext line;
  line.lineType = lineType;
  const Played p = PlayAll(column, line, 64, key);
  return p.events.size() == 1 ? p.events[0].note : -1;
}

TEST_F(KChordPlay, StaffStepsSoundByClef) {
  struct Case {
    int lineType;
    int step;
    int midiNote;
  };
  const Case cases[] = {
      {0, 22, 64},   // treble bottom line: E4 (pitch 44)
      {0, 29, 52},   // pitch 32, the low E string
      {0, 14, 77},   // treble top line: F5
      {1, 22, 43},   // bass bottom line: G2
      {1, 14, 57},   // bass top line: A3
      {9, 18, 60},   // alto middle line: C4
      {10, 18, 57},  // tenor middle line: A3
      {11, 22, 76},  // treble 8va: an octave up
      {12, 22, 52},  // treble 8vb: an octave down
  };
  for (const Case& c : cases)
    EXPECT_EQ(NoteAt(c.lineType, c.step), c.midiNote) << c.lineType << "/" << c.step;
}

TEST_F(KChordPlay, SevenStepsUpAreAnOctaveOnEveryStaff) {
  // High on an 8va staff the steps read above the treble staff's top step.
  for (int type : {0, 1, 9, 10, 11, 12}) {
    for (int step = 1; step + 7 <= 36; ++step) {
      const int high = NoteAt(type, step);
      const int low = NoteAt(type, step + 7);
      if (high < 0 || low < 0) continue;  // outside the playable range
      EXPECT_EQ(high - low, 12) << "type " << type << " step " << step;
    }
  }
}

TEST_F(KChordPlay, KeySignatureAndAccidentals) {
  EXPECT_EQ(NoteAt(0, 21), 65);     // F4
  EXPECT_EQ(NoteAt(0, 21, 2), 66);  // one sharp: F sharp
  EXPECT_EQ(NoteAt(0, 18, 3), 70);  // one flat: B flat
  EXPECT_EQ(NoteAt(0, 18, 2), 71);  // one sharp leaves B

  KColumnPlayContext line;
  KChord sharp(0, 21, 8, 0);
  sharp.AddNote(21, 28);
  EXPECT_EQ(PlayAll(sharp, line).events.at(0).note, 66);
  KChord natural(0, 21, 8, 0);
  natural.AddNote(21, 27);
  EXPECT_EQ(PlayAll(natural, line, 64, 2).events.at(0).note, 65);

  // A flat earlier in the bar holds; the bar line before it ends it.
  KChord earlierFlat(0, 21, 30, 0);
  KChord bar(0, 1, 21, 0);
  KChord note(0, 21, 8, 0);
  std::vector<const KChord*> before = {&earlierFlat};
  line.earlierColumn = [&before](int back) -> const KChord* {
    return back <= int(before.size()) ? before[before.size() - back] : nullptr;
  };
  EXPECT_EQ(PlayAll(note, line).events.at(0).note, 64);
  before = {&earlierFlat, &bar};
  EXPECT_EQ(PlayAll(note, line).events.at(0).note, 65);
}

TEST_F(KChordPlay, EventFields) {
  KChord column(7, 22, 9, 0);
  column.AddNote(18, 9);
  column.AddNote(20, 2);
  KColumnPlayContext line;
  const Played played = PlayAll(column, line, 200, 0, -12, 3);
  ASSERT_EQ(played.count, 3);
  EXPECT_EQ(played.events[0].note, 67 - 12);  // G4, transposed an octave down
  for (const KNoteEvent& e : played.events) {
    EXPECT_EQ(e.pos, 7);
    EXPECT_EQ(e.status, 0x93);
    EXPECT_EQ(e.velocity, 127);
  }
  EXPECT_EQ(played.events[0].length, 120);  // the voice-1 sixteenth
  EXPECT_EQ(played.events[0].voice, 1);
  EXPECT_EQ(played.events[1].length, 480);
  EXPECT_EQ(played.events[1].voice, 0);
  EXPECT_EQ(PlayAll(column, line, -5).events.at(0).velocity, 0);
}

TEST_F(KChordPlay, DotsLengthenTheirNotes) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> adds;  // after a quarter at step 18
    int length;                             // of the quarter
  };
  const Case cases[] = {
      {"dot", {{18, 36}}, 720},
      {"double dot", {{18, 37}}, 840},
      {"flagged dot", {{18, 10036}}, 900},  // the triple dot: fifteen eighths of the note
      {"dot a step away", {{20, 64}, {17, 36}}, 720},
      {"dot too far", {{20, 64}, {15, 36}}, 480},
      {"dot of a longer note", {{17, 11}, {17, 36}}, 480},
  };
  KColumnPlayContext line;
  for (const Case& c : cases) {
    KChord column(0, 18, 9, 0);
    for (const auto& [step, code] : c.adds) column.AddNote(step, code);
    int index = column.FindNoteAt(18);
    KNoteEvent event;
    int key = 0;
    ASSERT_EQ(column.MakeMidiEvent(index, event, line, 64, key), 1) << c.what;
    EXPECT_EQ(event.length, c.length) << c.what;
  }
}

TEST_F(KChordPlay, SilentAndSignatureColumns) {
  KColumnPlayContext line;
  KChord rest(0, 18, 16, 0);
  const Played played = PlayAll(rest, line);
  ASSERT_EQ(played.count, 1);
  EXPECT_EQ(played.events[0].velocity, 0);
  EXPECT_EQ(played.events[0].length, 480);

  KChord time(0);
  time.AddNote(1, 225);
  time.AddNote(1, 98);
  int index = 0;
  int key = 0;
  KNoteEvent event;
  EXPECT_EQ(time.MakeMidiEvent(index, event, line, 64, key), 0);
  EXPECT_EQ(index, -1);

  KChord keyColumn(0);
  keyColumn.AddNote(1, 254);
  keyColumn.AddNote(1, 6);
  index = 0;
  EXPECT_EQ(keyColumn.MakeMidiEvent(index, event, line, 64, key), 0);
  EXPECT_EQ(key, 6);

  KChord bar(0, 1, 21, 0);
  index = 0;
  EXPECT_EQ(bar.MakeMidiEvent(index, event, line, 64, key), 0);

  KChord high(0, 0, 8, 0);  // above the playable range
  EXPECT_EQ(PlayAll(high, line).count, 0);
}

TEST_F(KChordPlay, TablatureFretsSoundOverTheirStrings) {
  KColumnPlayContext line;
  line.lineType = 2;
  line.tuning = "E A D G B E  323742475156";
  KChord column(0, 70);
  column.AddNote(2, 229, 0, 8);  // high E string, fret 3, quarter
  column.AddNote(7, 226, 0, 1);  // low E string, open, eighth
  column.AddNote(8, 228, 0, 1);  // no eighth string on a guitar
  column.AddNote(7, 36);
  const Played played = PlayAll(column, line);
  ASSERT_EQ(played.count, 2);
  EXPECT_EQ(played.events[0].note, 56 + 3 + 20);
  EXPECT_EQ(played.events[0].length, 480);
  EXPECT_EQ(played.events[0].voice, 1);
  EXPECT_EQ(played.events[1].note, 32 + 20);
  EXPECT_EQ(played.events[1].length, 360);  // dotted eighth

  // A diatonic fretboard: fret 2 is four semitones up; a 3-string tuning
  // starts at row 3.
  line.tuning = "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19";
  ParseFretList(line.tuning, &line.fretMap);
  KChord diatonic(0, 70);
  diatonic.AddNote(3, 228, 0, 8);
  diatonic.AddNote(2, 228, 0, 8);
  const Played d = PlayAll(diatonic, line);
  ASSERT_EQ(d.count, 1);
  EXPECT_EQ(d.events[0].note, 54 + 4 + 20);
}

TEST_F(KChordPlay, DrumStaffPlaysGeneralMidiDrums) {
  struct Case {
    int step;
    int style;
    int note;  // 0: silent
  };
  const Case cases[] = {{17, 0, 38}, {21, 0, 35}, {17, 2, 37}, {17, 1, 0}, {9, 0, 0}, {11, 0, 0}};
  for (const Case& c : cases) {
    KChord column(0, c.style);
    column.AddNote(c.step, 9);
    KColumnPlayContext line;
    line.lineType = 13;
    const Played played = PlayAll(column, line, 64, 0, -12, 2);
    if (c.note == 0) {
      EXPECT_EQ(played.count, 0) << c.step << "/" << c.style;
      continue;
    }
    ASSERT_EQ(played.count, 1) << c.step << "/" << c.style;
    EXPECT_EQ(played.events[0].status, 0x99);
    EXPECT_EQ(played.events[0].note, c.note) << c.step << "/" << c.style;
  }
}

}  // namespace
