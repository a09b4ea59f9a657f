// The chord-diagram pictures: the measures of a diagram, the fretboard
// diagram and the keyboard picture as composed from their bitmap pieces.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChordDiagramTestSupport.h"
#include "common/ChordDiagram.h"

namespace {

// A shape text of the given length: the start, blank-padded, with characters
// set at positions.
std::string ShapeText(std::string start, std::size_t length,
                      std::vector<std::pair<std::size_t, char>> at = {}) {
  start.resize(length, ' ');
  for (const auto& [pos, c] : at) start[pos] = c;
  return start;
}

// A finger field: a dot of the kind (0 first, 1 second) on string 1..7 at fret row 0..7.
char FingerField(int string, int row, int kind) { return static_cast<char>(string << 4 | row << 1 | kind); }

TEST(ChordDiagramMeasures, WidthFollowsTheStringCount) {
  struct Case {
    std::string shape;
    int width;
  };
  const std::vector<Case> cases = {
      {"", 42},
      {ShapeText("0000000", 24), 42},
      {ShapeText("0000000", 26, {{23, '4'}}), 30},
      {ShapeText("0000000", 26, {{23, '2'}}), 18},
      {ShapeText("0000000", 30, {{23, ' '}}), 42},
      {ShapeText("0000000", 30, {{23, 'x'}}), 42},
      {ShapeText("0000000", 35, {{23, '5'}}), 36},
      {ShapeText("0000000", 38), 48},
      {ShapeText("0000000", 40), 54},
      {ShapeText("0000000", 60), 54},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shape);
    EXPECT_EQ(GetDiagramStringCount(CString(c.shape)), c.width);
  }
}

TEST(ChordDiagramMeasures, HeightAndRowsFollowTheRowDigitFingerFieldsAndFingerRow) {
  struct Case {
    const char* what;
    std::string shape;
    int fingerOption;
    int height;
    int rowCount;
    int extraRows;
  };
  const std::string fingers =
      ShapeText("0000000", 40, {{36, '8'}}) + FingerField(2, 6, 0) + FingerField(1, 3, 1);
  const std::vector<Case> cases = {
      {"default", ShapeText("0000000", 20), 0, 31, 4, 0},
      {"five rows", ShapeText("0000000", 30, {{24, '5'}}), 0, 37, 5, 1},
      {"finger row shown", ShapeText("0000000", 32, {{24, '5'}, {16, '1'}}), 1, 44, 5, 2},
      {"finger row option off", ShapeText("0000000", 32, {{24, '5'}, {16, '1'}}), 0, 37, 5, 1},
      {"finger row needs 32 characters", ShapeText("0000000", 31, {{24, '5'}, {16, '1'}}), 1, 37, 5, 1},
      {"blank row digit", ShapeText("0000000", 30, {{24, ' '}}), 0, 31, 4, 0},
      {"row digit out of range", ShapeText("0000000", 30, {{24, 'z'}}), 0, 31, 4, 0},
      {"finger fields reach row 6", fingers, 0, 31, 6, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_fingerRowOption = c.fingerOption;
    EXPECT_EQ(GetDiagramFretRows(CString(c.shape)), c.height);
    EXPECT_EQ(GetShapeRowCount(CString(c.shape)), c.rowCount);
    EXPECT_EQ(GetShapeExtraRows(CString(c.shape)), c.extraRows);
  }
  g_fingerRowOption = 0;
}

struct DiagramCase {
  const char* what;
  std::string shape;
  std::vector<std::string> copies;  // after the grid and the base fret or nut
  std::vector<std::string> start;   // grid, base-fret glyph
  std::vector<std::string> pen;
  int optionA = 0;
  int optionB = 0;
  int fingerRow = 0;
};

const char* const kNut[] = {"MoveTo 2,5", "LineTo 33,5"};

TEST_F(ChordPictureTest, DiagramPlacesEveryPiece) {
  const std::string grid6 = "5203 2,6 31x25 from 0,0";
  const std::vector<std::string> nut(std::begin(kNut), std::end(kNut));
  const std::vector<DiagramCase> cases = {
      {"open G: dots on their frets, open strings on top",
       "0320003",
       {"3854 0,19 5x5 from 0,0", "3854 6,13 5x5 from 0,0", "3854 12,0 5x5 from 15,0",
        "3854 18,0 5x5 from 15,0", "3854 24,0 5x5 from 15,0", "3854 30,19 5x5 from 0,0"},
       {grid6},
       nut},
      {"muted strings and second-kind dots",
       "0969999",
       {"3854 0,0 5x5 from 5,0", "3854 6,13 5x5 from 10,0", "3854 12,0 5x5 from 5,0",
        "3854 18,0 5x5 from 5,0", "3854 24,0 5x5 from 5,0", "3854 30,0 5x5 from 5,0"},
       {grid6},
       nut},
      {"base fret 5 right of the grid, no nut",
       "5999991",
       {"3854 0,0 5x5 from 5,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 5,0", "3854 30,7 5x5 from 0,0"},
       {grid6, "3856 35,7 6x6 from 30,0"},
       {}},
      {"base fret in the left margin",
       ShapeText("3999991", 26, {{21, '1'}}),
       {"3854 7,0 5x5 from 5,0", "3854 13,0 5x5 from 5,0", "3854 19,0 5x5 from 5,0", "3854 25,0 5x5 from 5,0",
        "3854 31,0 5x5 from 5,0", "3854 37,7 5x5 from 0,0"},
       {"5203 9,6 31x25 from 0,0", "3856 0,7 6x6 from 18,0"},
       {}},
      {"barre over six strings on its fret",
       ShapeText("1m11111", 26, {{20, '1'}}),
       {"3850 0,7 35x4 from 80,0", "3854 0,7 5x5 from 0,0", "3854 6,7 5x5 from 0,0", "3854 12,7 5x5 from 0,0",
        "3854 18,7 5x5 from 0,0", "3854 24,7 5x5 from 0,0", "3854 30,7 5x5 from 0,0"},
       {grid6, "3856 35,7 6x6 from 6,0"},
       {}},
      {"barre marked above the grid without flag A",
       "1m11111",
       {"3852 0,0 35x4 from 80,0", "3854 0,7 5x5 from 0,0", "3854 6,7 5x5 from 0,0", "3854 12,7 5x5 from 0,0",
        "3854 18,7 5x5 from 0,0", "3854 24,7 5x5 from 0,0", "3854 30,7 5x5 from 0,0"},
       {grid6, "3856 35,7 6x6 from 6,0"},
       {}},
      {"option A 2 puts the barre on its fret; option B 1 keeps the margin off",
       ShapeText("1999QE9", 26, {{21, '1'}}),
       {"3854 0,0 5x5 from 5,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0",
        "3850 18,19 17x4 from 11,0", "3854 18,19 5x5 from 0,0", "3850 24,7 11x4 from 0,0",
        "3854 24,7 5x5 from 0,0", "3854 30,0 5x5 from 5,0"},
       {grid6, "3856 35,7 6x6 from 6,0"},
       {},
       2,
       1},
      {"+4 marks move dots four rows down",
       ShapeText("0199991", 26, {{24, '6'}, {25, '!'}}),  // not a digit: no marks
       {"3854 0,7 5x5 from 0,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 5,0", "3854 30,7 5x5 from 0,0"},
       {"5203 2,6 31x37 from 0,0"},
       nut},
      {"+4 mark on the lowest string",
       ShapeText("0199991", 26, {{24, '6'}, {25, '1'}}),
       {"3854 0,31 5x5 from 0,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 5,0", "3854 30,7 5x5 from 0,0"},
       {"5203 2,6 31x37 from 0,0"},
       nut},
      {"seventh string read first, its mark from position 34",
       ShapeText("0999999", 36, {{32, '7'}, {33, '2'}, {34, '1'}}),
       {"3854 0,37 5x5 from 0,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 5,0", "3854 30,0 5x5 from 5,0", "3854 36,0 5x5 from 5,0"},
       {"5203 2,6 37x25 from 0,0"},
       {"MoveTo 2,5", "LineTo 39,5"}},
      {"short fifth string from fret 5",
       ShapeText("0099909", 26, {{15, '5'}, {23, '5'}, {24, '4'}, {25, '0'}}),
       {"3854 0,0 5x5 from 15,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 15,0"},
       {"5203 8,6 19x25 from 0,0"},
       {"MoveTo 8,5", "LineTo 27,5"}},
      {"short fifth string from fret 3",
       ShapeText("0099909", 26, {{15, '3'}, {23, '5'}, {24, '4'}, {25, '0'}}),
       {"3854 0,0 5x5 from 15,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 15,0"},
       {"5203 8,6 19x19 from 0,0", "5203 2,24 25x7 from 0,18"},
       {"MoveTo 8,5", "LineTo 27,5"}},
      {"four strings use the fields of positions 2 to 5",
       ShapeText("0912349", 26, {{23, '4'}, {24, '4'}, {25, '0'}}),
       {"3854 0,7 5x5 from 0,0", "3854 6,13 5x5 from 0,0", "3854 12,19 5x5 from 0,0",
        "3854 18,25 5x5 from 0,0"},
       {"5203 2,6 19x25 from 0,0"},
       {"MoveTo 2,5", "LineTo 21,5"}},
      {"finger fields add dots and take the nut away",
       ShapeText("0999999", 40, {{32, '7'}, {33, '9'}, {34, '0'}, {36, '8'}, {37, '9'}, {38, '0'}}) +
           FingerField(1, 2, 0) + FingerField(3, 0, 1) + FingerField(0, 3, 0),
       {"3854 0,0 5x5 from 5,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 5,0", "3854 30,0 5x5 from 5,0", "3854 36,0 5x5 from 5,0",
        "3854 42,0 5x5 from 5,0", "3854 0,13 5x5 from 0,0", "3854 12,0 5x5 from 10,0"},
       {"5203 2,6 43x25 from 0,0"},
       {}},
      {"finger-label row",
       ShapeText("0999999", 32, {{16, '1'}, {26, '1'}, {27, 'J'}, {28, 'x'}, {31, ':'}}),
       {"3854 0,0 5x5 from 5,0", "3854 6,0 5x5 from 5,0", "3854 12,0 5x5 from 5,0", "3854 18,0 5x5 from 5,0",
        "3854 24,0 5x5 from 5,0", "3854 30,0 5x5 from 5,0", "3858 0,32 6x6 from 6,0",
        "3858 6,32 6x6 from 156,0", "3858 30,32 6x6 from 60,0"},
       {grid6},
       nut,
       0,
       0,
       1},
  };
  for (const DiagramCase& c : cases) {
    SCOPED_TRACE(c.what);
    ResetAll();
    ResetChordDiagramServices();
    g_diagramOptionA = c.optionA;
    g_diagramOptionB = c.optionB;
    g_fingerRowOption = c.fingerRow;
    screen.Clear();
    auto target = Target(screen, 60, 60);
    DrawChordDiagram(target.get(), CString(c.shape));
    std::vector<std::string> expected = c.start;
    expected.insert(expected.end(), c.copies.begin(), c.copies.end());
    EXPECT_EQ(Copies(screen), expected);
    EXPECT_EQ(PenLines(screen), c.pen);
    EXPECT_TRUE(ui.Messages().empty());
  }
}

TEST_F(ChordPictureTest, DiagramStartsFromAWhiteCanvas) {
  auto target = Target(screen, 42, 31);
  DrawChordDiagram(target.get(), CString("0320003"));
  const auto lines = screen.Lines();
  const auto fill = std::find_if(lines.begin(), lines.end(), [this](const std::string& l) {
    return l.rfind(TargetName(screen) + ": PatBlt", 0) == 0;
  });
  ASSERT_NE(fill, lines.end());
  EXPECT_NE(fill->find("0,0 162x168"), std::string::npos) << *fill;
  EXPECT_NE(fill->find("WHITENESS"), std::string::npos) << *fill;
}

TEST_F(ChordPictureTest, BlankDiagramShowsGridAndNutOnly) {
  auto target = Target(screen, 42, 31);
  DrawChordDiagram(target.get(), CString(ShapeText("5320003", 32, {{16, '1'}, {26, '1'}})), true);
  EXPECT_EQ(Copies(screen), std::vector<std::string>{"5203 2,6 31x25 from 0,0"});
  screen.Clear();
  auto open = Target(screen, 42, 31);
  DrawChordDiagram(open.get(), CString("0320003"), true);
  EXPECT_EQ(Copies(screen), std::vector<std::string>{"5203 2,6 31x25 from 0,0"});
  EXPECT_EQ(PenLines(screen), (std::vector<std::string>{"MoveTo 2,5", "LineTo 33,5"}));
}

TEST_F(ChordPictureTest, DevicePathDrawsThePrintPiecesThreeTimesLarger) {
  g_deviceRender = 1;
  auto target = Target(screen, 126, 93);
  DrawChordDiagram(target.get(), CString("0320003"));
  const std::vector<std::string> copies = Copies(screen);
  ASSERT_EQ(copies.size(), 7u);
  EXPECT_EQ(copies[0], "5204 6,18 93x75 from 0,0");
  EXPECT_EQ(copies[1], "3855 0,57 15x15 from 0,0");
  EXPECT_EQ(copies[3], "3855 36,0 15x15 from 45,0");
  // The nut is a three-pixel pen in device pixels.
  EXPECT_EQ(PenLines(screen), (std::vector<std::string>{"MoveTo 7,17", "LineTo 97,17"}));
  bool widePen = false;
  for (const std::string& line : screen.Lines())
    widePen =
        widePen ||
        std::regex_search(line, std::regex("^" + TargetName(screen) + R"(: SelectObject pen\([A-Z_]+,3,)"));
  EXPECT_TRUE(widePen) << screen.Text();
}

TEST_F(ChordPictureTest, DiagramFailuresDrawNothingAndReportOnce) {
  struct Case {
    const char* what;
    GdiResource failing;
    int failedId;
    const char* ending;
    bool devicePath;
  };
  const std::vector<Case> cases = {
      {"first memory context", GdiResource::MemoryDC, 0, "(Error Glb-5)", false},
      {"frame piece", GdiResource::Pen, 3854, "(Error Glb-1)", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetAll();
    ui.ClearRecords();
    screen.Clear();
    auto target = Target(screen, 42, 31);
    for (int round = 0; round < 2; ++round) {
      if (c.failedId != 0) {
        loader.Fail(c.failedId);
      } else {
        FailNextGdiCreations(c.failing);
      }
      DrawChordDiagram(target.get(), CString("0320003"));
    }
    EXPECT_TRUE(Copies(screen).empty());
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_EQ(Ending(MessageTexts()[0]), c.ending);
    if (c.failedId != 0) loader.Restore(c.failedId);
  }
}

TEST_F(ChordPictureTest, NutPenFailureIsReportedEveryTime) {
  g_deviceRender = 1;
  auto target = Target(screen, 126, 93);
  for (int round = 0; round < 2; ++round) {
    FailNextGdiCreations(GdiResource::Pen);
    DrawChordDiagram(target.get(), CString("0320003"));
  }
  EXPECT_TRUE(PenLines(screen).empty());
  EXPECT_EQ(Copies(screen).size(), 14u);  // everything else is drawn
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(Ending(MessageTexts()[1]), "(Error Glb-10)");
}

TEST_F(ChordPictureTest, MalformedShapesStayInsideThePieces) {
  const std::vector<std::string> shapes = {
      "",
      "\xff",
      std::string(7, '\0'),
      "\xff\xff\xff\xff\xff\xff\xff",
      ShapeText("Z", 80, {{15, '\xff'}, {23, '5'}, {24, '7'}, {25, '\x7f'}}),
      ShapeText("0", 45, {{16, '1'}, {26, '\xff'}, {32, '7'}, {36, '8'}, {40, '\x7f'}, {41, '\xff'}}),
      ShapeText("9", 26, {{15, '~'}, {23, '5'}}),
  };
  g_fingerRowOption = 1;
  g_diagramOptionA = 2;
  g_diagramOptionB = 2;
  const std::regex copy(R"(^\d+ (-?\d+),(-?\d+) (\d+)x(\d+) from (-?\d+),(-?\d+)$)");
  for (const std::string& shape : shapes) {
    SCOPED_TRACE(shape);
    screen.Clear();
    auto target = Target(screen, 60, 60);
    DrawChordDiagram(target.get(), CString(shape));
    for (const std::string& c : Copies(screen)) {
      std::smatch m;
      ASSERT_TRUE(std::regex_match(c, m, copy)) << c;
      EXPECT_GE(std::stoi(m[5]), 0) << c;
      EXPECT_LE(std::stoi(m[5]) + std::stoi(m[3]), 203) << c;
      EXPECT_LE(std::stoi(m[6]) + std::stoi(m[4]), 43) << c;
    }
  }
}

struct KeyboardCase {
  const char* what;
  const char* shape;
  CString tuning;
  std::vector<std::string> copies;  // after the keyboard
};

TEST_F(ChordPictureTest, KeyboardMarksTheWindowWithMostNotes) {
  const std::vector<KeyboardCase> cases = {
      {"open strings: window 48",
       "0000000",
       g_TuningGuitar,
       {"5108 79,17 5x5 from 0,0", "5108 67,17 5x5 from 0,0", "5108 49,17 5x5 from 0,0",
        "5108 31,17 5x5 from 0,0", "5108 13,17 5x5 from 0,0", "5109 43,27 9x10 from 9,0"}},
      {"notes from 60 to 84: window 60",
       "0999000",
       g_TuningGuitar,
       {"5108 55,17 5x5 from 0,0", "5108 37,17 5x5 from 0,0", "5108 25,17 5x5 from 0,0",
        "5109 0,27 9x10 from 9,0"}},
      {"a tie goes to the earlier window",
       "0999990",
       g_TuningGuitar,
       {"5108 13,17 5x5 from 0,0", "5109 0,27 9x10 from 0,0"}},
      {"black keys", "0299999", g_TuningGuitar, {"5113 22,7 5x5 from 0,0", "5109 43,27 9x10 from 9,0"}},
      {"lowest window",
       "0099999         0000000540",
       g_TuningBass5,
       {"5108 37,17 5x5 from 0,0", "5109 82,27 9x10 from 18,0"}},
      {"no note: bare keyboard", "0999999", g_TuningGuitar, {}},
      {"malformed shape", "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff", g_TuningGuitar, {}},
  };
  for (const KeyboardCase& c : cases) {
    SCOPED_TRACE(c.what);
    screen.Clear();
    auto target = Target(screen, 91, 36);
    DrawChordKeyboard(target.get(), CString(c.shape), c.tuning);
    std::vector<std::string> expected = {"5107 0,0 91x36 from 0,0"};
    expected.insert(expected.end(), c.copies.begin(), c.copies.end());
    EXPECT_EQ(Copies(screen), expected);
  }
}

TEST_F(ChordPictureTest, KeyboardOnTheDevicePathUsesItsOwnPieces) {
  struct Case {
    const char* what;
    int colours;
    const char* dot;
  };
  for (const Case& c : {Case{"black and white printer", 2, "5115"}, Case{"colour printer", -1, "5620"}}) {
    SCOPED_TRACE(c.what);
    g_deviceRender = 1;
    RecordingDC printerDc(PrinterCaps(300, c.colours), true);
    auto target = Target(printerDc, 273, 108);
    DrawChordKeyboard(target.get(), CString("0999990"), g_TuningGuitar);
    EXPECT_EQ(Copies(printerDc), (std::vector<std::string>{"5114 0,0 273x108 from 0,0",
                                                           std::string(c.dot) + " 39,51 15x15 from 0,0",
                                                           "5116 0,81 27x30 from 0,0"}));
  }
}

TEST_F(ChordPictureTest, KeyboardContextFailureIsReportedEveryTime) {
  auto target = Target(screen, 91, 36);
  for (int round = 0; round < 2; ++round) {
    FailNextGdiCreations(GdiResource::MemoryDC);
    DrawChordKeyboard(target.get(), CString("0000000"), g_TuningGuitar);
  }
  EXPECT_TRUE(Copies(screen).empty());
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(Ending(MessageTexts()[1]), "(Error MOC2-26)");
}

}  // namespace
