#include <vector>

#include "LineTestSupport.h"

namespace {

class SignatureTest : public LineTest {};

struct TimeSignature {
  int beats;
  int ticks;
  friend bool operator==(const TimeSignature&, const TimeSignature&) = default;
};

TimeSignature At(KListLine& line, int column, int raw = 0) {
  TimeSignature t{0, 0};
  line.GetTimeSignatureAt(column, t.beats, t.ticks, raw);
  return t;
}

TEST_F(SignatureTest, TimeSignatureColumnsDecode) {
  struct Case {
    int beatsCode;
    int noteCode;
    TimeSignature decoded;
  };
  const Case cases[] = {
      {98, 107, {4, 480}},  {99, 107, {2, 960}},  {102, 107, {3, 240}},  {105, 101, {6, 960}},
      {103, 115, {4, 120}}, {100, 103, {1, 480}}, {111, 107, {12, 240}},
  };
  for (const Case& c : cases) {
    KListLine line(0, kTreble, 0, -1, 0);
    Fill(line, {TimeSig(0, c.beatsCode, c.noteCode), Note(1)});
    EXPECT_EQ(At(line, 5), c.decoded) << c.beatsCode << "/" << c.noteCode;
    // The first column of the line is also its start.
    EXPECT_EQ(TimeSignature({line.GetStartBeats(), line.GetStartBeatTicks()}), c.decoded);
  }
}

TEST_F(SignatureTest, TimeSignatureInForceAtAColumn) {
  // 3/8 at column 0 and 6/2 at column 8.
  KListLine line(0, kTreble, 0, -1, 0);
  Fill(line, {TimeSig(0, 102, 107), Note(2), Bar(6), TimeSig(8, 105, 101), Note(9)});
  EXPECT_EQ(At(line, 32000), (TimeSignature{0, 480}));  // nothing derived yet: no scan
  EXPECT_EQ(At(line, 5), (TimeSignature{3, 240}));
  EXPECT_EQ(line.GetOverrideBeats(), -3);  // derived from the found column
  EXPECT_EQ(At(line, 9), (TimeSignature{6, 960}));
  EXPECT_EQ(line.GetOverrideBeats(), -3);               // derived once
  EXPECT_EQ(At(line, 32000), (TimeSignature{3, 240}));  // the magnitude of the override
  EXPECT_EQ(At(line, 32000, 1), (TimeSignature{-3, 240}));
  EXPECT_EQ(At(line, 31999), (TimeSignature{6, 960}));  // derives again
  EXPECT_EQ(line.GetOverrideBeats(), -6);

  line.SetTimeSignature(5, 480, 0);  // a user override wins everywhere
  EXPECT_EQ(At(line, 1), (TimeSignature{5, 480}));

  KListLine plain(0, kTreble, 0, -1, 0);
  Fill(plain, {Note(0)});
  plain.SetTimeSignature(3, 960, 1);
  plain.SetTimeSignature(-2, 960, 0);  // not a user override: the columns decide
  EXPECT_EQ(At(plain, 0), (TimeSignature{3, 960}));

  KListLine rhythm(0, kRhythm, 0, -1, 0);
  rhythm.SetTimeSignature(-7, 240, 0);
  EXPECT_EQ(At(rhythm, 3), (TimeSignature{7, 240}));
}

TEST_F(SignatureTest, StartTimeSignatureDerivesTheOverride) {
  struct Case {
    const char* what;
    std::vector<KPosObj*> objects;
    int start;
    int override;
    int overrideTicks;
  };
  const Case cases[] = {
      {"no time-signature column: the start", {Note(0)}, 4, 4, 480},
      {"the last column", {TimeSig(2, 102, 107), Note(3), TimeSig(5, 103, 101)}, 4, -4, 960},
      {"a first column is also the start", {TimeSig(0, 102, 107), Note(3)}, 3, -3, 240},
  };
  for (const Case& c : cases) {
    KListLine line(0, kTreble, 0, -1, 0);
    for (KPosObj* object : c.objects) line.GetObjList()->AddTail(object);
    line.ClearChanged();
    line.SetTimeSignature(4, 480, 1);
    EXPECT_EQ(line.GetStartBeats(), c.start) << c.what;
    EXPECT_EQ(line.GetOverrideBeats(), c.override) << c.what;
    EXPECT_EQ(line.GetOverrideBeatTicks(), c.overrideTicks) << c.what;
    EXPECT_EQ(line.IsChanged(), 1);
  }
}

TEST_F(SignatureTest, KeySignatureInForceAtAColumn) {
  // Key 2 at the start, key changes to 5 at column 4 and to 18 (none) at 10.
  KListLine line(2, kTreble, 0, -1, KLineObj::kFlagKeyChanges);
  Fill(line, {Note(1), KeySig(4, 5), Note(6), KeySig(10, 18), Note(20)});
  struct Case {
    int column;
    int key;
  };
  // Columns below half the length (21) walk from the head, the others from
  // the tail; both give the same key.
  const Case cases[] = {{0, 2}, {3, 2}, {4, 2}, {5, 5}, {10, 5}, {11, 0}, {30, 0}};
  for (const Case& c : cases) EXPECT_EQ(line.GetKeySignatureAt(c.column), c.key) << c.column;

  line.ModifyFlags(KLineObj::kFlagKeyChanges, 0);
  EXPECT_EQ(line.GetKeySignatureAt(30), 2);
}

TEST_F(SignatureTest, WordRangesOfNoteLines) {
  // A plain note at 1, a beam group of voice 0 from 3 to 5, a plain note at 8.
  KListLine line(0, kTreble, 0, -1, 0);
  Fill(line, {Note(1), Stemmed(3, 9, 0), Stemmed(5, 12, 0), Note(8)});
  struct Case {
    int column;
    KLinePair range;
  };
  const Case cases[] = {
      {0, {0, -1}},  // before the first object
      {1, {1, 1}},  {2, {0, -1}}, {3, {3, 5}},  {4, {3, 5}},
      {5, {3, 5}},  {8, {8, 8}},  {9, {0, -1}}, {10, {0, -1}},  // past the length
  };
  for (const Case& c : cases) EXPECT_EQ(line.GetWordRange(c.column), c.range) << c.column;

  // A group opened in voice 1 closes in voice 1; one that never closes ends at -1.
  KListLine voices(0, kTreble, 0, -1, 0);
  Fill(voices, {Stemmed(2, 0, 9), Stemmed(3, 12, 0), Stemmed(4, 0, 12)});
  EXPECT_EQ(voices.GetWordRange(3), (KLinePair{2, 4}));
  KListLine open(0, kTreble, 0, -1, 0);
  Fill(open, {Stemmed(2, 9, 0), Stemmed(3, 9, 0)});
  EXPECT_EQ(open.GetWordRange(3), (KLinePair{3, -1}));
}

TEST_F(SignatureTest, WordRangesOfRhythmAndChordLines) {
  KListLine rhythm(0, kRhythm, 0, -1, 0);
  Fill(rhythm, {Item(0, 230), Item(2, 210, 2), Item(3, 210, -12), Item(4, 225, -2)});
  for (POSITION node = rhythm.GetObjList()->GetHeadPosition(); node != nullptr;) {
    static_cast<KRhythmObj*>(rhythm.GetObjList()->GetNext(node))->SetWidth(1);
  }
  struct Case {
    int column;
    KLinePair range;
  };
  const Case rhythmCases[] = {{0, {0, 1}}, {1, {0, 1}}, {2, {2, 5}}, {3, {2, 5}}, {4, {2, 5}}, {5, {0, -1}}};
  for (const Case& c : rhythmCases) EXPECT_EQ(rhythm.GetWordRange(c.column), c.range) << c.column;

  class DiagramLine : public KListLine {
   public:
    DiagramLine() : KListLine(0, kChordLine, 0, -1, 0) {}
    int GetDiagramWidth(const KPosObj&) const override { return 20; }
  };
  DiagramLine chords;
  Fill(chords, {new KPosObj(0), new KPosObj(5)});
  const Case chordCases[] = {{0, {0, 2}}, {3, {0, 2}}, {4, {0, -1}}, {7, {5, 7}}, {8, {5, 7}}, {9, {0, -1}}};
  for (const Case& c : chordCases) EXPECT_EQ(chords.GetWordRange(c.column), c.range) << c.column;
}

TEST_F(SignatureTest, WordSteps) {
  struct Case {
    const char* what;
    int column;
    int direction;
    int step;
  };
  // Staff: a bar at 2, notes at 3 and 5, a bar at 8, a note at 10.
  KListLine staff(0, kTreble, 0, -1, 0);
  Fill(staff, {Bar(2), Note(3), Note(5), Bar(8), Note(10)});
  const Case staffCases[] = {
      {"forward to the column after the next bar", 3, 1, 7},
      {"forward from before the first object", 0, 1, 2},  // the first object is a bar
      {"forward past the last object", 10, 1, 2},
      {"backward to the column after the bar before", 12, 0, -9},
      {"backward from the first measure", 3, 0, -3},
  };
  for (const Case& c : staffCases)
    EXPECT_EQ(staff.GetWordStep(0, 0, c.column, c.direction), c.step) << c.what;

  KListLine noBar(0, kTreble, 0, -1, 0);
  Fill(noBar, {Note(3), Note(5), Bar(8), Note(10)});
  EXPECT_EQ(noBar.GetWordStep(0, 0, 3, 1), 7);
  EXPECT_EQ(noBar.GetWordStep(0, 0, 0, 1), 10);  // the walk starts at the first object

  KListLine empty(0, kTreble, 0, -1, 0);
  EXPECT_EQ(empty.GetWordStep(0, 0, 6, 1), -6);

  KListLine chords(0, kChordLine, 0, -1, 0);
  Fill(chords, {new KPosObj(0), new KPosObj(5), new KPosObj(9)});
  const Case chordCases[] = {
      {"next diagram", 2, 1, 3},
      {"this diagram's start", 7, 0, -2},
      {"previous diagram", 5, 0, -5},
      {"past the last", 9, 1, 2},
  };
  for (const Case& c : chordCases)
    EXPECT_EQ(chords.GetWordStep(0, 0, c.column, c.direction), c.step) << c.what;

  // Rhythm: items at 0 and 1, a bar character at 2, items at 3 and 6.
  KListLine rhythm(0, kRhythm, 0, -1, 0);
  KRhythmObj* bar = Item(2, '|');
  bar->SetCode('|');
  Fill(rhythm, {Item(0, 210), Item(1, 210), bar, Item(3, 210), Item(6, 210)});
  const Case rhythmCases[] = {
      {"after the bar", 0, 1, 3},
      {"to the gap", 3, 1, 3},
      {"back over the gap", 6, 0, -3},
      {"this item's start", 7, 0, -1},
  };
  for (const Case& c : rhythmCases)
    EXPECT_EQ(rhythm.GetWordStep(0, 0, c.column, c.direction), c.step) << c.what;
}

TEST_F(SignatureTest, RedrawStartsAtTheBeamGroupAndLongAttachments) {
  KListLine line(0, kTreble, 0, -1, 0);
  Fill(line, {Note(1), Stemmed(3, 9, 0), Stemmed(5, 12, 0), Note(8)});
  struct Case {
    int column;
    int start;
  };
  for (const Case& c : {Case{0, 0}, Case{4, 3}, Case{5, 3}, Case{6, 3}, Case{9, 8}}) {
    EXPECT_EQ(line.FindRedrawStart(c.column), c.start) << c.column;
  }

  // An attachment from column 2 that is 60 pixels wide ends before 8; one of
  // 140 pixels reaches it, so the redraw starts where that one starts.
  line.AddAttachment(new KExtendedObj(2, 14, 6, 0, 0, 60, 0));
  EXPECT_EQ(line.FindRedrawStart(9), 8);
  line.AddAttachment(new KExtendedObj(2, 14, 6, 0, 0, 140, 0));
  EXPECT_EQ(line.FindRedrawStart(9), 1);

  KListLine late(0, kTreble, 0, -1, 0);
  Fill(late, {Note(4)});
  EXPECT_EQ(late.FindRedrawStart(2), 2);  // nothing before the column
  KListLine rhythm(0, kRhythm, 0, -1, 0);
  Fill(rhythm, {Item(4, 210)});
  EXPECT_EQ(rhythm.FindRedrawStart(9), 0);
}

TEST_F(SignatureTest, ColumnUnderAPixel) {
  struct Case {
    const char* what;
    int mode;
    int x;
    int size;
    int extra;
    int rounding;
    int column;
  };
  // A staff with key 3 (two accidentals of 5 pixels) and indent 10: the lead
  // is 10 + 34 + 10.
  KListLine staff(3, kTreble, 0, -1, 0);
  staff.SetIndent(10);
  const Case staffCases[] = {
      {"as it is", 0, 40, 0, 0, 0, 2},
      {"after the lead", 1, 54 + 40, 0, 0, 0, 2},
      {"after the lead and more", 2, 54 + 40, 0, 18, 0, 1},
      {"inside the lead", 1, 50, 0, 0, 0, 0},
      {"large", 1, 10 + 34 + 14 + 66, 1, 0, 0, 3},
  };
  for (const Case& c : staffCases) {
    EXPECT_EQ(staff.XToColumn(c.mode, c.x, c.size, c.extra, c.rounding), c.column) << c.what;
  }

  class DiagramLine : public KListLine {
   public:
    DiagramLine() : KListLine(0, kChordLine, 0, -1, 0) {}
    int GetDiagramWidth(const KPosObj&) const override { return 20; }
  };
  DiagramLine chords;  // a three-column diagram at 5
  Fill(chords, {new KPosObj(5)});
  const Case chordCases[] = {
      {"diagram start, nearer edge", 0, 40, 0, 0, 3, 5},
      {"inside, start", 0, 48, 0, 0, 2, 5},
      {"inside, nearer edge", 0, 48, 0, 0, 3, 8},
      {"inside, past", 0, 48, 0, 0, 0, 8},
      {"after it", 0, 72, 0, 0, 2, 9},
      {"before it", 0, 16, 0, 0, 2, 5},
  };
  for (const Case& c : chordCases) {
    EXPECT_EQ(chords.XToColumn(c.mode, c.x, c.size, c.extra, c.rounding), c.column) << c.what;
  }

  KListLine rhythm(0, kRhythm, 0, -1, 0);
  Fill(rhythm, {Item(4, 230), Item(8, 210)});  // a two-column and a one-column symbol
  const Case rhythmCases[] = {
      {"first half of a wide symbol", 0, 4, 0, 0, 3, 4},
      {"second half", 0, 5, 0, 0, 3, 6},
      {"symbol start", 0, 5, 0, 0, 2, 4},
      {"after it", 0, 6, 0, 0, 3, 6},
      {"a narrow symbol", 0, 8, 0, 0, 3, 9},
  };
  for (const Case& c : rhythmCases) {
    EXPECT_EQ(rhythm.XToColumn(c.mode, c.x, c.size, c.extra, c.rounding), c.column) << c.what;
  }

  KListLine text(0, kText, 0, -1, 0);
  EXPECT_EQ(text.XToColumn(0, 500, 0, 0, 0), 0);
}

TEST_F(SignatureTest, NextNoteAfterAPixel) {
  KListLine staff(0, kTreble, 0, -1, 0);
  Fill(staff, {TimeSig(0, 102, 107), Note(2), Bar(3), Note(4)});
  struct Case {
    int x;
    int noteX;
  };
  for (const Case& c : {Case{10, 34 + 36}, Case{34 + 36, 34 + 72}, Case{34 + 72, 11100}}) {
    EXPECT_EQ(staff.GetNextNoteX(c.x, 0), c.noteX) << c.x;
  }

  KListLine tab(0, kTab, 0, -1, 0);
  Fill(tab, {Bar(0), new KChord(1, 2, 230, 80)});  // fret 4 on string 2
  EXPECT_EQ(tab.GetNextNoteX(0, 1), 34 + 22);
}

}  // namespace
