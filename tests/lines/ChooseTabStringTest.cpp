// The string and fret on which a tablature line plays a note or symbol written
// on a staff: hand positions, strings taken by other notes, octave raising of
// bass-staff notes, fret lists with half frets and the rows of symbols
// without a pitch.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "StaffLineTestSupport.h"
#include "TabLineTestSupport.h"
#include "common/Globals.h"

namespace {

class ChooseTabStringTest : public TabLineTest {
 protected:
  ChooseTabStringTest() {
    ResetStaffLineServices();
    CRuntimeClass::Register(RUNTIME_CLASS(KStaffLine));
    g_shiftBassIntoTabRange = 1;
  }
  ~ChooseTabStringTest() override {
    ResetStaffLineServices();
    g_shiftBassIntoTabRange = 1;
  }
};

constexpr int kNoPosition = -1;  // the hand comes from the line's fret statistics
constexpr int kDelete = 32762;
constexpr int kDot = 36;
constexpr int kEighthRest = 17;

const char* const kTwentyFrets = "E A D G B E  323742475156!@@!20";
// A diatonic fret list with half frets: fret 1 is two semitones, fret 2 three.
const char* const kDulcimerFrets = "E A D G B E  323742475156!@@!2,3,4,5,7,9,10,11,12";
const char* const kFiveStrings = "D D G B D   5594247515400";  // a banjo: a short fifth string
const char* const kSevenStrings = "E A D G B E  323742475156/";

// Treble staff rows: E4 (pitch 44, the D string's fret 2), C5 (52), E3 (32,
// the open low E string), D3 (30, below the guitar), D7 (78), F5 (57), B4 (51).
constexpr int kE4 = 22;
constexpr int kC5 = 17;
constexpr int kE3 = 29;
constexpr int kD3 = 30;
constexpr int kD7 = 2;
constexpr int kF5 = 14;
constexpr int kB4 = 18;
// Bass staff rows: G2 (pitch 23) and G1 (11).
constexpr int kG2 = 22;
constexpr int kG1 = 29;

struct ChooseCase {
  const char* what;
  int staffRow;
  int code = 8;
  int positionCode = 0;
  int wanted = 0;
  Frets taken = {};   // frets of the column whose strings are taken
  Frets before = {};  // frets of the tablature line's column 0 (the call is at column 1)
  int staffKind = kTreble;
  int staffKey = 0;
  const char* tuning = "E A D G B E  323742475156";
  DWORD tabFlags = 0;
  bool noTab = false;  // the current tuning instead of a tablature line
  int shiftBass = 1;
  int row = -1;      // expected string row; -1: refused with a beep
  int fret = -1;     // expected fret code - 226 (the place in a fret list); -1: not checked
  int codeOut = -1;  // expected code afterwards; -1: unchanged
};

TEST_F(ChooseTabStringTest, EachNoteOrSymbolGetsItsStringAndFret) {
  const ChooseCase cases[] = {
      // The hand position: the string whose fret lies nearest at or above it.
      {.what = "hand 0", .staffRow = kE4, .row = 5, .fret = 2},
      {.what = "hand at fret 5", .staffRow = kE4, .positionCode = 5, .row = 6, .fret = 7},
      {.what = "position code VII", .staffRow = kE4, .positionCode = 8000, .row = 6, .fret = 7},
      {.what = "position code XII", .staffRow = kE4, .positionCode = 13000, .row = 7, .fret = 12},
      {.what = "hand above the note moves down", .staffRow = kE4, .positionCode = 15, .row = 7, .fret = 12},
      {.what = "open low string below the hand", .staffRow = kE3, .positionCode = 5, .row = 7, .fret = 0},
      {.what = "statistics of the line: frets 7 and 7 give hand 5",
       .staffRow = kC5,
       .positionCode = kNoPosition,
       .before = {{4, 7}, {5, 7}},
       .row = 4,
       .fret = 5},
      {.what = "statistics of an empty line give hand 0",
       .staffRow = kC5,
       .positionCode = kNoPosition,
       .row = 3,
       .fret = 1},
      // Strings taken by other notes of the column, and the string asked for.
      {.what = "taken string", .staffRow = kE4, .taken = {{5, 0}}, .row = 6, .fret = 7},
      {.what = "wanted string 5", .staffRow = kE4, .wanted = 5, .row = 6, .fret = 7},
      {.what = "wanted string that cannot play it", .staffRow = kE4, .wanted = 1, .row = 5, .fret = 2},
      {.what = "wanted string taken", .staffRow = kE4, .wanted = 5, .taken = {{6, 3}}, .row = 5, .fret = 2},
      // The range of the instrument.
      {.what = "high note on 24 frets", .staffRow = kD7, .row = 2, .fret = 22},
      {.what = "high note beyond 20 frets", .staffRow = kD7, .tuning = kTwentyFrets},
      {.what = "below the lowest string", .staffRow = kD3},
      {.what = "the key's sharp", .staffRow = kF5, .staffKey = 2, .row = 2, .fret = 2},
      // A fret list with half frets: the fret's place in the list.
      {.what = "fret list", .staffRow = kE4, .tuning = kDulcimerFrets, .row = 5, .fret = 1},
      {.what = "fret list skips a semitone it lacks",
       .staffRow = kB4,
       .staffKey = 3,
       .tuning = kDulcimerFrets,
       .row = 4,
       .fret = 2},
      // Bass staff notes onto a treble tablature: one or two octaves up.
      {.what = "bass note one octave up", .staffRow = kG2, .staffKind = kBass, .row = 7, .fret = 3},
      {.what = "bass note two octaves up", .staffRow = kG1, .staffKind = kBass, .row = 7, .fret = 3},
      {.what = "bass note without the preference", .staffRow = kG2, .staffKind = kBass, .shiftBass = 0},
      {.what = "bass note on a bass tablature",
       .staffRow = kG2,
       .staffKind = kBass,
       .tuning = "  E A D G   *002025303500",
       .tabFlags = KTabLine::kFlagBass,
       .row = 6,
       .fret = 3},
      // Without a tablature line the current tuning decides.
      {.what = "current tuning",
       .staffRow = kD3,
       .tuning = "D A D G B E  303742475156",
       .noTab = true,
       .row = 7,
       .fret = 0},
      {.what = "current standard tuning", .staffRow = kD3, .noTab = true},
      // Flagged note heads play as notes of their length.
      {.what = "flagged half head", .staffRow = kE4, .code = 10000, .row = 5, .fret = 2, .codeOut = 10},
      {.what = "flagged quarter head", .staffRow = kE4, .code = 10008, .row = 5, .fret = 2, .codeOut = 8},
      // The delete code and a note's symbols go to the string that sounds the pitch.
      {.what = "delete", .staffRow = kE4, .code = kDelete, .taken = {{2, 0}, {6, 7}}, .row = 6, .fret = 7},
      {.what = "delete without the pitch", .staffRow = kE4, .code = kDelete, .taken = {{5, 3}}},
      {.what = "dot", .staffRow = kE4, .code = kDot, .taken = {{6, 7}}, .row = 6, .fret = 7},
      {.what = "dot without its note", .staffRow = kE4, .code = kDot, .row = 5, .fret = 2},
      // Symbols without a pitch.
      {.what = "rest on the middle rows", .staffRow = 18, .code = kEighthRest, .row = 4},
      {.what = "rest, five strings", .staffRow = 17, .code = kEighthRest, .tuning = kFiveStrings, .row = 5},
      {.what = "rest, seven strings", .staffRow = 19, .code = kEighthRest, .tuning = kSevenStrings, .row = 5},
      {.what = "rest high on the staff", .staffRow = 10, .code = kEighthRest, .row = 1},
      {.what = "rest without a line",
       .staffRow = 18,
       .code = kEighthRest,
       .tuning = kFiveStrings,
       .noTab = true,
       .row = 4},
      {.what = "flagged symbol by its row", .staffRow = 21, .code = 10017, .row = 5},
      {.what = "flagged symbol low", .staffRow = 33, .code = 10016, .row = 9},
      {.what = "mark above the strings", .staffRow = 5, .code = 89, .row = 1},
      {.what = "mark above five strings", .staffRow = 5, .code = 90, .tuning = kFiveStrings, .row = 2},
      {.what = "whole column", .staffRow = 1000, .code = kDelete, .row = 1000},
  };
  for (const ChooseCase& c : cases) {
    SCOPED_TRACE(c.what);
    m_ui.ClearRecords();
    g_shiftBassIntoTabRange = c.shiftBass;
    g_CurrentTuning = c.noTab ? CString(c.tuning) : CString(kStandardTuning);
    KStaffLine staff(c.staffKind, c.staffKey, 0);
    KTabLine tab(0, c.tuning, c.tabFlags);
    if (!c.before.empty()) Fill(tab, {TabNotes(0, c.before)});
    std::unique_ptr<KChord> taken(c.taken.empty() ? nullptr : TabNotes(1, c.taken));

    int code = c.code;
    int fretCode = 0;
    const int row = staff.ChooseTabString(c.noTab ? nullptr : &tab, code, 1, c.staffRow, c.positionCode,
                                          c.wanted, taken.get(), fretCode);
    EXPECT_EQ(row, c.row);
    if (c.row < 0) {
      EXPECT_EQ(m_ui.Beeps(), std::vector<UINT>{MB_ICONASTERISK});
    } else {
      EXPECT_TRUE(m_ui.Beeps().empty());
    }
    if (c.fret >= 0) {
      EXPECT_EQ(fretCode, KChord::kFirstFret + c.fret);
    }
    EXPECT_EQ(code, c.codeOut >= 0 ? c.codeOut : c.code);
  }
}

// A melody typed on a staff goes onto the tablature note by note, each note
// choosing its string from where the hand has just been playing. A scale
// begun low on the neck is played in the open position as a guitarist or a
// bassist plays it, and one begun higher up stays in its position instead of
// climbing one string.
struct ScaleCase {
  const char* name;
  int staffKind;
  int key;  // key signature code: 2n sharps, 2n + 1 flats
  const char* tuning;
  DWORD tabFlags;
  std::vector<int> rows;  // the staff rows of the melody, one note per column
  Frets before;           // frets already on the line before the melody (column 0)
  const char* fingering;  // string name and fret of each note
  friend void PrintTo(const ScaleCase& c, std::ostream* out) { *out << c.name; }
};

// The string name of a row: guitar rows 2..7 are e B G D A E, the bass rows
// 3..6 are G D A E.
std::string StringName(int row, bool bass) {
  static const char* const kGuitar[] = {"e", "B", "G", "D", "A", "E"};
  static const char* const kBassNames[] = {"G", "D", "A", "E"};
  if (bass) return row >= 3 && row <= 6 ? kBassNames[row - 3] : "?";
  return row >= 2 && row <= 7 ? kGuitar[row - 2] : "?";
}

class OpenPositionScale : public ChooseTabStringTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(OpenPositionScale, IsFingeredAsAMusicianPlaysIt) {
  const ScaleCase& c = GetParam();
  KStaffLine staff(c.staffKind, c.key, 0);
  KTabLine tab(c.key, c.tuning, c.tabFlags);
  const bool bass = (c.tabFlags & KTabLine::kFlagBass) != 0;
  const int start = c.before.empty() ? 0 : 1;
  if (!c.before.empty()) Fill(tab, {TabNotes(0, c.before)});
  std::string played;
  for (size_t i = 0; i < c.rows.size(); ++i) {
    const int column = start + static_cast<int>(i);
    int code = 8;
    int fretCode = 0;
    const int row = staff.ChooseTabString(&tab, code, column, c.rows[i], kNoPosition, 0, nullptr, fretCode);
    ASSERT_GE(row, 0) << "note " << i;
    const int fret = fretCode - KChord::kFirstFret;
    tab.GetObjList()->AddTail(TabNotes(column, {{row, fret}}));
    played += (played.empty() ? "" : " ") + StringName(row, bass) + std::to_string(fret);
  }
  EXPECT_EQ(played, c.fingering);
  EXPECT_TRUE(m_ui.Beeps().empty());
}

// Treble staff rows: C4 24, D4 23, E4 22, F4 21, G4 20, A4 19, B4 18, C5 17,
// D5 16; G3 27, A3 26, B3 25, F3 28, E3 29. Bass staff rows: E2 24, F2 23,
// G2 22, A2 21, B2 20, C3 19, D3 18, E3 17, F3 16, G3 15.
INSTANTIATE_TEST_SUITE_P(Keys, OpenPositionScale,
                         ::testing::Values(ScaleCase{"CMajorFromC4",
                                                     kTreble,
                                                     0,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {24, 23, 22, 21, 20, 19, 18, 17},
                                                     {},
                                                     "A3 D0 D2 D3 G0 G2 B0 B1"},
                                           ScaleCase{"CMajorTypedInGMajorGivesFSharp",
                                                     kTreble,
                                                     2,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {24, 23, 22, 21, 20, 19, 18, 17},
                                                     {},
                                                     "A3 D0 D2 D4 G0 G2 B0 B1"},
                                           ScaleCase{"GMajorFromG3",
                                                     kTreble,
                                                     2,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {27, 26, 25, 24, 23, 22, 21, 20},
                                                     {},
                                                     "E3 A0 A2 A3 D0 D2 D4 G0"},
                                           ScaleCase{"DMajorFromD4",
                                                     kTreble,
                                                     4,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {23, 22, 21, 20, 19, 18, 17, 16},
                                                     {},
                                                     "D0 D2 D4 G0 G2 B0 B2 B3"},
                                           ScaleCase{"AMajorFromA3",
                                                     kTreble,
                                                     6,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {26, 25, 24, 23, 22, 21, 20, 19},
                                                     {},
                                                     "A0 A2 A4 D0 D2 D4 G1 G2"},
                                           ScaleCase{"EMajorFromE3",
                                                     kTreble,
                                                     8,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {29, 28, 27, 26, 25, 24, 23, 22},
                                                     {},
                                                     "E0 E2 E4 A0 A2 A4 D1 D2"},
                                           ScaleCase{"FMajorFromF3",
                                                     kTreble,
                                                     3,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {28, 27, 26, 25, 24, 23, 22, 21},
                                                     {},
                                                     "E1 E3 A0 A1 A3 D0 D2 D3"},
                                           ScaleCase{"CMajorDescendingFromC5",
                                                     kTreble,
                                                     0,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {17, 18, 19, 20, 21, 22, 23, 24},
                                                     {},
                                                     "B1 B0 G2 G0 D3 D2 D0 A3"},
                                           ScaleCase{"CMajorAfterEighthFretStaysInFifthPosition",
                                                     kTreble,
                                                     0,
                                                     "E A D G B E  323742475156",
                                                     0,
                                                     {23, 22, 21, 20, 19, 18, 17},
                                                     {{7, 8}},
                                                     "A5 A7 A8 D5 D7 G4 G5"},
                                           ScaleCase{"BassLineInEOnFourStrings",
                                                     kBass,
                                                     8,
                                                     "  E A D G   *002025303500",
                                                     KTabLine::kFlagBass,
                                                     {24, 22, 20, 19, 21, 19, 17, 16, 20, 18, 16, 15, 24},
                                                     {},
                                                     "E0 E4 A2 A4 A0 A4 D2 D4 A2 D1 D4 G1 E0"}),
                         [](const ::testing::TestParamInfo<ScaleCase>& info) { return info.param.name; });

// The key and the accidentals written earlier in the bar of the staff change
// the pitch, and with it the fret.
TEST_F(ChooseTabStringTest, AccidentalsOfTheBarChangeTheFret) {
  KStaffLine staff(kTreble, 0, 0);
  Fill(staff, {Column(0, {{kE4, kFlatSign}, {kE4, kQuarter}}), Bar(1), Column(2, {{kE4, kQuarter}})});
  KTabLine tab(0, kStandardTuning, 0);
  int code = 8;
  int fretCode = 0;
  EXPECT_EQ(staff.ChooseTabString(&tab, code, 0, kE4, 0, 0, nullptr, fretCode), 5);
  EXPECT_EQ(fretCode, KChord::kFirstFret + 1);  // E flat 4
  EXPECT_EQ(staff.ChooseTabString(&tab, code, 2, kE4, 0, 0, nullptr, fretCode), 5);
  EXPECT_EQ(fretCode, KChord::kFirstFret + 2);  // the bar line ends the flat
}

}  // namespace
