// Pitch and row mapping of a staff: the pitch of a row under every clef, key
// and bar accidental, the row and accidental of a MIDI note, and moving a
// note one row while keeping its pitch.

#include <climits>
#include <string>

#include "StaffLineTestSupport.h"

namespace {

class StaffPitchTest : public StaffLineTest {};

constexpr int kMidi = 20;  // pitch numbers are MIDI notes less 20

std::string Trace(int type, int key, int value) {
  return "type " + std::to_string(type) + " key " + std::to_string(key) + " value " + std::to_string(value);
}

struct RowPitch {
  int type;
  int row;
  int pitch;
};

TEST_F(StaffPitchTest, EachClefReadsItsRowsAsTheNotesOfThatClef) {
  const RowPitch cases[] = {
      {0, 14, 57},           // treble top line F5
      {0, 22, 44},           // treble bottom line E4
      {0, 2, 78},            // D7
      {0, 1, 80},            // E7, the highest pitch
      {0, 36, 20},           // E2
      {kTreble8va, 8, 80},   // E7
      {kTreble8va, 7, -1},   // above the highest pitch
      {kTreble8va, 1, -1},   // far above it
      {kTreble8va, 14, 69},  // F6
      {kTreble8vb, 14, 45},  // F4
      {kTreble8vb, 36, 8},   // E1
      {kBass, 14, 37},       // A3
      {kBass, 22, 23},       // G2
      {kBass, 36, -1},       // below the lowest pitch
      {kAlto, 14, 47},       // G4
      {kAlto, 22, 33},       // F3
      {kTenor, 14, 44},      // E4
      {kTenor, 22, 30},      // D3
      {13, 14, 57},          // drums read as treble
      {14, 22, 44},          // no clef too
      {16, 14, 57},          // and percussion
      {kTab, 14, -1},        // not a staff
      {kText, 14, -1},       // nor this
  };
  for (const RowPitch& c : cases) {
    SCOPED_TRACE(Trace(c.type, 0, c.row));
    KStaffLine staff(c.type, 0, 0);
    EXPECT_EQ(staff.GetPitchAtRow(c.row, -1), c.pitch);
    EXPECT_EQ(staff.GetPitchAtRow(c.row, 5), c.pitch) << "an empty line has no bar accidentals";
  }
}

struct KeyRowPitch {
  int key;
  int row;
  int pitch;
};

TEST_F(StaffPitchTest, TheKeySignatureAltersItsNotes) {
  const KeyRowPitch cases[] = {
      {2, 14, 58},   // one sharp: F5 sounds F#5
      {2, 15, 56},   // E5 stays
      {2, 21, 46},   // F4 too
      {3, 18, 50},   // one flat: B4 sounds Bb4
      {3, 14, 57},   // F5 stays
      {1, 14, 57},   // 1: no accidentals
      {4, 17, 53},   // two sharps: C5 sounds C#5
      {15, 14, 56},  // seven flats: F5 sounds Fb5
      {14, 18, 52},  // seven sharps: B4 sounds B#4
  };
  for (const KeyRowPitch& c : cases) {
    SCOPED_TRACE(Trace(0, c.key, c.row));
    KStaffLine staff(0, c.key, 0);
    EXPECT_EQ(staff.GetPitchAtRow(c.row, -1), c.pitch);
  }
}

// Over any seven neighbouring rows (one of each letter) a key alters exactly
// as many rows as it has accidentals, all one way, for every clef.
TEST_F(StaffPitchTest, EveryKeyAltersItsCountOfLettersUnderEveryClef) {
  for (int type : kStaffKinds) {
    for (int key = 0; key <= 15; ++key) {
      SCOPED_TRACE(Trace(type, key, 0));
      KStaffLine plain(type, 0, 0);
      KStaffLine keyed(type, key, 0);
      const int sign = key % 2 == 0 ? 1 : -1;
      for (int first = 1; first + 6 <= 36; ++first) {
        int altered = 0;
        int valid = 0;
        for (int row = first; row < first + 7; ++row) {
          const int natural = plain.GetPitchAtRow(row, -1);
          if (natural < 0) continue;
          ++valid;
          const int pitch = keyed.GetPitchAtRow(row, -1);
          if (pitch == natural) continue;
          EXPECT_EQ(pitch, natural + sign) << "row " << row;
          ++altered;
        }
        if (valid == 7) {
          EXPECT_EQ(altered, key / 2) << "rows from " << first;
        }
      }
    }
  }
}

struct BarCase {
  const char* what;
  int key;
  int accidentalCode;  // on row 17 in column 1; 0 none
  bool barBetween;     // a bar line in column 2
  int askRow;
  int askColumn;
  int pitch;
};

TEST_F(StaffPitchTest, AccidentalsEarlierInTheBarHoldUntilTheBarLine) {
  // Row 17 on the treble staff is C5, pitch 52.
  const BarCase cases[] = {
      {"a sharp raises the row", 0, kSharpSign, false, 17, 3, 53},
      {"a bar line cancels it", 0, kSharpSign, true, 17, 3, 52},
      {"a double sharp", 0, kDoubleSharpSign, false, 17, 3, 54},
      {"a flat", 0, kFlatSign, false, 17, 3, 51},
      {"a double flat", 0, kDoubleFlatSign, false, 17, 3, 50},
      {"a natural overrides the key", 4, kNaturalSign, false, 17, 3, 52},
      {"the key without it", 4, 0, false, 17, 3, 53},
      {"a sharp over a sharp key's note", 4, kSharpSign, false, 17, 3, 53},
      {"another row is not affected", 0, kSharpSign, false, 16, 3, 54},
      {"a column before the accidental", 0, kSharpSign, false, 17, 0, 52},
      {"its own column", 0, kSharpSign, false, 17, 1, 53},
      {"no column: no bar accidentals", 0, kSharpSign, false, 17, -1, 52},
  };
  for (const BarCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(0, c.key, 0);
    Fill(staff, {Column(1, {{17, c.accidentalCode != 0 ? c.accidentalCode : 36}, {17, kQuarter}})});
    if (c.barBetween) Fill(staff, {Bar(2)});
    Fill(staff, {Column(3, {{17, kQuarter}})});
    EXPECT_EQ(staff.GetPitchAtRow(c.askRow, c.askColumn), c.pitch);
  }
}

TEST_F(StaffPitchTest, AKeySignatureColumnChangesTheKeyAfterIt) {
  KStaffLine staff(0, 0, 0x800);
  Fill(staff, {Column(1, {{14, kQuarter}}), KeySig(4, 2), Column(6, {{14, kQuarter}})});
  EXPECT_EQ(staff.GetPitchAtRow(14, 2), 57);
  EXPECT_EQ(staff.GetPitchAtRow(14, 4), 57) << "the key column's own column has the key before it";
  EXPECT_EQ(staff.GetPitchAtRow(14, 6), 58);
  EXPECT_EQ(staff.GetPitchAtRow(14, -1), 57);
}

struct NoteRow {
  int type;
  int key;
  int midi;
  int row;
  int accidental;
};

TEST_F(StaffPitchTest, AMidiNoteGoesToTheRowAndAccidentalOfItsClefAndKey) {
  const NoteRow cases[] = {
      {0, 0, 78, 14, KStaffLine::kSharp},                  // F#5 on the F row
      {0, 0, 77, 14, KStaffLine::kNoAccidental},           // F5
      {0, 0, 98, 2, KStaffLine::kNoAccidental},            // D7
      {0, 0, 64, 22, KStaffLine::kNoAccidental},           // E4
      {0, 3, 63, 23, KStaffLine::kSharp},                  // one flat: D#4 on the D row
      {0, 3, 70, 18, KStaffLine::kNoAccidental},           // one flat: Bb4 on the B row
      {0, 3, 71, 18, KStaffLine::kNatural},                // one flat: B4 needs a natural
      {0, 2, 78, 14, KStaffLine::kNoAccidental},           // one sharp: F#5 from the key
      {0, 2, 77, 14, KStaffLine::kNatural},                // one sharp: F5 needs a natural
      {0, 1, 78, 14, KStaffLine::kSharp},                  // key 1 has no accidentals
      {kBass, 0, 57, 14, KStaffLine::kNoAccidental},       // A3
      {kBass, 0, 43, 22, KStaffLine::kNoAccidental},       // G2
      {kAlto, 0, 67, 14, KStaffLine::kNoAccidental},       // G4
      {kTenor, 0, 64, 14, KStaffLine::kNoAccidental},      // E4
      {kTreble8va, 0, 89, 14, KStaffLine::kNoAccidental},  // F6
      {kTreble8vb, 0, 65, 14, KStaffLine::kNoAccidental},  // F4
      {13, 0, 77, 14, KStaffLine::kNoAccidental},
  };
  for (const NoteRow& c : cases) {
    SCOPED_TRACE(Trace(c.type, c.key, c.midi));
    KStaffLine staff(c.type, c.key, 0);
    int accidental = -7;
    EXPECT_EQ(staff.PitchToRow(c.midi, -1, accidental, -1), c.row);
    EXPECT_EQ(accidental, c.accidental);
    accidental = -7;
    KStaffLine keyless(c.type, 0, 0);
    EXPECT_EQ(keyless.PitchToRow(c.midi, 3, accidental, c.key), c.row) << "the key given wins";
    EXPECT_EQ(accidental, c.accidental);
  }
}

int SignCode(int accidental) {
  switch (accidental) {
    case KStaffLine::kSharp:
      return kSharpSign;
    case KStaffLine::kFlat:
      return kFlatSign;
    case KStaffLine::kNatural:
      return kNaturalSign;
    default:
      return 0;
  }
}

// The row and accidental that PitchToRow gives, written on the staff, read
// back as the note, under every clef and key and after any accidental earlier
// in the bar on that row (with or without a bar line between); and without
// one an accidental is written only where the key does not give the note.
TEST_F(StaffPitchTest, TheRowAndAccidentalGivenReadBackAsTheNote) {
  constexpr int kEarlier[] = {0, kNaturalSign, kSharpSign, kDoubleSharpSign, kFlatSign, kDoubleFlatSign};
  int checked = 0;
  for (int type : kStaffKinds) {
    for (int key = 0; key <= 15; ++key) {
      KStaffLine staff(type, key, 0);
      for (int midi = 20; midi <= 110; ++midi) {
        int accidental = 0;
        const int row = staff.PitchToRow(midi, 5, accidental, -1);
        if (row < 1 || row > 36 || staff.GetPitchAtRow(row, -1) < 0) continue;
        for (int earlier : kEarlier) {
          for (bool bar : {false, true}) {
            SCOPED_TRACE(Trace(type, key, midi) + " earlier " + std::to_string(earlier) +
                         (bar ? " bar" : ""));
            staff.DeleteObjsFrom(0);
            if (earlier != 0) Fill(staff, {Column(1, {{row, earlier}, {row, kQuarter}})});
            if (bar) Fill(staff, {Bar(3)});
            int written = -7;
            ASSERT_EQ(staff.PitchToRow(midi, 5, written, -1), row);
            if (earlier == 0 || bar) {
              EXPECT_EQ(written == 0, staff.GetPitchAtRow(row, 5) + kMidi == midi);
            }
            if (written != 0) {
              Fill(staff, {Column(5, {{row, SignCode(written)}, {row, kQuarter}})});
            } else {
              Fill(staff, {Column(5, {{row, kQuarter}})});
            }
            ASSERT_EQ(staff.GetPitchAtRow(row, 5) + kMidi, midi);
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_GT(checked, 50000);
}

// Above MIDI 102 the rows go on rising with the notes, past the top of the
// staff, so that a caller can see that the note does not fit.
TEST_F(StaffPitchTest, NotesAboveTheStaffGetRowsAboveItConsistently) {
  struct HighNote {
    int midi;
    int row;
    int accidental;
  };
  const HighNote cases[] = {
      {102, 0, KStaffLine::kSharp},           // F#7
      {103, -1, KStaffLine::kNoAccidental},   // G7
      {104, -1, KStaffLine::kSharp},          // G#7
      {110, -5, KStaffLine::kNoAccidental},   // D8
      {127, -15, KStaffLine::kNoAccidental},  // G9
  };
  KStaffLine treble(0, 0, 0);
  for (const HighNote& c : cases) {
    SCOPED_TRACE(c.midi);
    int accidental = -7;
    EXPECT_EQ(treble.PitchToRow(c.midi, -1, accidental, -1), c.row);
    EXPECT_EQ(accidental, c.accidental);
  }
  for (int type : kStaffKinds) {
    KStaffLine staff(type, 0, 0);
    int previous = INT_MAX;
    for (int midi = 60; midi <= 127; ++midi) {
      SCOPED_TRACE(Trace(type, 0, midi));
      int accidental = 0;
      const int row = staff.PitchToRow(midi, -1, accidental, -1);
      EXPECT_LE(row, previous);
      previous = row;
      const int natural = KStaffLine::NaturalPitchAtRow(type, row);
      EXPECT_EQ(natural + (accidental == KStaffLine::kSharp ? 1 : 0) + kMidi, midi);
    }
  }
}

TEST_F(StaffPitchTest, InputsFarOutOfRangeGiveNoPitchAndNoFault) {
  KStaffLine staff(kBass, 6, 0x800);
  Fill(staff, {Column(0, {{14, kSharpSign}, {14, kQuarter}}), KeySig(2, 200)});
  for (int row : {INT_MIN, -1000000, -1, 0, 37, 255, 1000000, INT_MAX}) {
    SCOPED_TRACE(row);
    const int pitch = staff.GetPitchAtRow(row, INT_MAX);
    EXPECT_TRUE(pitch == -1 || (pitch >= 4 && pitch <= 82)) << pitch;
  }
  int accidental = 0;
  for (int midi : {INT_MIN, -500, -1, 0, 127, 128, 500, INT_MAX}) {
    for (int key : {INT_MIN, -2, -1, 0, 16, 99, INT_MAX}) {
      staff.PitchToRow(midi, INT_MAX, accidental, key);
      EXPECT_TRUE(accidental >= 0 && accidental <= 3);
    }
  }
  int expected = 0;
  const int row = staff.PitchToRow(78, -1, expected, 0);
  EXPECT_EQ(staff.PitchToRow(78, -1, accidental, 99), row) << "a key outside 0..15 counts as none";
  EXPECT_EQ(accidental, expected);
}

struct MoveCase {
  const char* what;
  int key;
  int row;
  int sign;  // accidental on the note's row before the move; 0 none
  int arrow;
  int newSign;  // accidental on the new row after it; 0 none
};

TEST_F(StaffPitchTest, MovingANoteOneRowKeepsItsPitch) {
  const MoveCase cases[] = {
      {"C up is D double flat", 0, 17, 0, KStaffLine::kKeyUp, kDoubleFlatSign},
      {"C down is B sharp", 0, 17, 0, KStaffLine::kKeyDown, kSharpSign},
      {"C sharp up is D flat", 0, 17, kSharpSign, KStaffLine::kKeyUp, kFlatSign},
      {"E up is F flat", 0, 15, 0, KStaffLine::kKeyUp, kFlatSign},
      {"E sharp up is plain F", 0, 15, kSharpSign, KStaffLine::kKeyUp, 0},
      {"G down in G major is F double sharp", 2, 13, 0, KStaffLine::kKeyDown, kDoubleSharpSign},
      {"C down in F major is B sharp", 3, 17, 0, KStaffLine::kKeyDown, kSharpSign},
      {"F natural in G major down is E sharp", 2, 14, kNaturalSign, KStaffLine::kKeyDown, kSharpSign},
      {"D flat down is C sharp", 0, 16, kFlatSign, KStaffLine::kKeyDown, kSharpSign},
      {"B up in F major is C flat", 3, 18, kNaturalSign, KStaffLine::kKeyUp, kFlatSign},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(0, c.key, 0);
    KChord* column = c.sign != 0 ? Column(4, {{c.row, c.sign}, {c.row, kQuarter}, {c.row, 36}})
                                 : Column(4, {{c.row, kQuarter}, {c.row, 36}});
    Fill(staff, {Column(1, {{20, kQuarter}}), column});
    const int pitch = staff.GetPitchAtRow(c.row, 4);
    staff.ClearChanged();

    ASSERT_GE(staff.MoveNoteOneStep(4, c.row, c.arrow, 0), 0);
    EXPECT_EQ(staff.IsChanged(), 1);
    const int newRow = c.arrow == KStaffLine::kKeyUp ? c.row - 1 : c.row + 1;
    EXPECT_EQ(staff.GetPitchAtRow(newRow, 4), pitch);
    int note = -1;
    int sign = 0;
    int dot = -1;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair entry = column->GetNote(i);
      EXPECT_EQ(entry.position, newRow) << "every entry of the old row moves";
      if (entry.code == kQuarter) note = i;
      if (entry.code >= kNaturalSign && entry.code <= kDoubleFlatSign) sign = entry.code;
      if (entry.code == 36) dot = i;
    }
    EXPECT_GE(note, 0);
    EXPECT_GE(dot, 0);
    EXPECT_EQ(sign, c.newSign);
    EXPECT_EQ(column->GetNoteCount(), c.newSign != 0 ? 3 : 2);
  }
}

// Stem values of a column's two voices.
std::pair<int, int> Stems(const CObject* object) {
  const KChord* column = AsChord(object);
  return {column->GetVoiceStem(0), column->GetVoiceStem(1)};
}

// A moved note changes the stem ends of its beam group, which is beamed again
// as a group beamed afresh with the moved note would be.
TEST_F(StaffPitchTest, MovingABeamedNoteBeamsItsGroupAgain) {
  constexpr int kEighth = 0;
  KStaffLine staff(0, 0, 0);
  Fill(staff, {Column(2, {{20, kEighth}}), Column(3, {{19, kEighth}}), Column(4, {{18, kEighth}})});
  CObList& columns = *staff.GetObjList();
  staff.BeamRange(columns.GetHeadPosition(), columns.GetTailPosition(), 1, 0);
  const std::pair<int, int> before = Stems(columns.GetHead());

  ASSERT_GE(staff.MoveNoteOneStep(2, 20, KStaffLine::kKeyUp, 0), 0);

  KStaffLine fresh(0, 0, 0);
  for (POSITION node = columns.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(columns.GetNext(node));
    Fill(fresh, {new KChord(*column, column->GetPos(), false)});
  }
  CObList& freshColumns = *fresh.GetObjList();
  fresh.BeamRange(freshColumns.GetHeadPosition(), freshColumns.GetTailPosition(), 1, 0);
  EXPECT_NE(Stems(columns.GetHead()), before);
  for (POSITION a = columns.GetHeadPosition(), b = freshColumns.GetHeadPosition(); a != nullptr;) {
    EXPECT_EQ(Stems(columns.GetNext(a)), Stems(freshColumns.GetNext(b)));
  }
}

struct RefusedMove {
  const char* what;
  int column;
  int row;
  int arrow;
};

TEST_F(StaffPitchTest, AMoveThatCannotKeepThePitchChangesNothing) {
  const RefusedMove cases[] = {
      {"not an arrow up or down", 4, 17, 37},
      {"no column there", 3, 17, KStaffLine::kKeyUp},
      {"above the first row", 4, 1, KStaffLine::kKeyUp},
      {"below the last row", 4, 36, KStaffLine::kKeyDown},
      {"the new row is taken", 4, 17, KStaffLine::kKeyDown},
      {"no note on the row", 4, 10, KStaffLine::kKeyUp},
      {"G sharp down would need a triple sharp", 4, 20, KStaffLine::kKeyDown},
  };
  for (const RefusedMove& c : cases) {
    SCOPED_TRACE(c.what);
    KStaffLine staff(0, 0, 0);
    KChord* column = Column(4, {{1, kQuarter},
                                {17, kQuarter},
                                {18, kQuarter},
                                {10, kSharpSign},
                                {20, kSharpSign},
                                {20, kQuarter},
                                {36, kQuarter}});
    Fill(staff, {column});
    const Bytes before = StoreFields(*column);
    EXPECT_EQ(staff.MoveNoteOneStep(c.column, c.row, c.arrow, 0), -1);
    EXPECT_EQ(StoreFields(*column), before);
  }
}

}  // namespace
