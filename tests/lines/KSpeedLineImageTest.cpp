// A short tablature line and a short treble staff drawn through the drawing
// cache onto a real image with the program's symbol pictures. The pictures
// are written to the temporary folder (stavlin-speedline-*.png, and a three
// times magnified copy) for a look; the tests check the pixels that must be
// black or white.

#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "SpeedLineTestSupport.h"
#include "SymbolImageTestSupport.h"
#include "platform/qt/KQtImageDC.h"
#include "support/ImageTestSupport.h"

namespace {

using namespace speedline;
using namespace stavlin_test;

class SpeedLineImage : public SymbolImageTest {
 protected:
  SpeedLineImage() {
    g_fretBoxMargin = 2;
    font.CreateFont(-11, 0, 0, 0, 700, 0, 0, 0, 0, 3, 2, 1, 34, "Arial");
  }

  // Writes the picture and a magnified copy for a look.
  static void Save(const QImage& image, const std::string& name) {
    SaveForLook(image, "stavlin-speedline-" + name);
  }
  static bool Black(const QImage& image, int x, int y) { return image.pixel(x, y) == kBlack; }

  // A voice-1 beam group over the columns from first to last (stem ends
  // given for the first; the others follow the same line).
  static void Beam(KListLine& line, int first, int last, int voice, int end) {
    for (int pos = first; pos <= last; ++pos) {
      KChord* column = ColumnAt(line, pos);
      ASSERT_NE(column, nullptr) << pos;
      const int y = pos == first ? end : pos == last ? end + 1 : -end;
      column->SetStemEnd(voice, y);
    }
  }

  CFont font;
};

TEST_F(SpeedLineImage, AShortTablatureLineReadsAsTablature) {
  KListLine line(0, kTabKind, 0, -1, 0);
  FillLine(line,
           {
               TabColumn(0, {{1, 225}, {1, 103}, {1, 103}}),  // 4/4
               TabColumn(1, {Fret(2, 0, 8), Fret(3, 0, 8), Fret(4, 1, 8), Fret(5, 2, 8), Fret(6, 2, 8),
                             Fret(7, 0, 8)}),  // E major
               TabColumn(2, {Fret(3, 3, 0)}), TabColumn(3, {Fret(4, 2, 0)}), TabColumn(4, {Fret(5, 12, 0)}),
               new KChord(5, 1, 21, 70),  // bar
               TabColumn(6, {Fret(2, 5, 2)}), TabColumn(7, {Fret(2, 7, 2)}), TabColumn(8, {Fret(3, 8, 2)}),
               TabColumn(9, {Fret(3, 10, 2)}), TabColumn(10, {Fret(4, 9, 10)}),  // half
               TabColumn(11, {Fret(6, 3, 0)}), TabColumn(12, {Fret(7, 0, 1)}),   // voice 0
               new KChord(13, 1, 23, 70),                                        // final bar
           });
  Beam(line, 2, 4, 1, 81);
  Beam(line, 6, 9, 1, 81);
  KSpeedLine cache(kTabKind, 0, line.GetObjList(), 0, 0, 0, 0, kGuitar);

  QImage image = WhiteImage(320, 110);
  {
    KQtImageDC dc(image);
    CFont* previous = dc.SelectObject(&font);
    const int top = 10 + cache.GetSpaceAbove(0);
    line.DrawNotes(&dc, kTabKind, 0, 10, top, 0, 34 + 14 * 18 + 20, 21, 0, 6);
    cache.Render(&dc, 10, 0, 10000, 10);
    dc.SelectObject(previous);
  }
  Save(image, "tab");

  const int top = 10 + 14;                               // string row 2
  const int x0 = 10 + 34;                                // column 0
  EXPECT_TRUE(Black(image, 12, top));                    // the top string near the start
  EXPECT_TRUE(Black(image, 10, top + 30));               // the opening bar
  EXPECT_TRUE(Black(image, x0 + 5 * 18 + 8, top + 20));  // the bar of column 5
  // The opaque box behind a fret breaks its string: white just left of the
  // digit, black a little further left.
  const int fretX = x0 + 2 * 18 + 6;  // the "3" of column 2 on row 3
  EXPECT_EQ(image.pixel(fretX - 1, top + 11), kWhite);
  EXPECT_TRUE(Black(image, fretX - 8, top + 11));
  // The rhythm hangs under the strings: the main beam of columns 2 to 4 lies
  // level under the bottom string (row 7, 55 below row 2) at the stems' ends,
  // and nothing of it reaches above the top string and its fret numbers.
  const int beamY = top + 55 + 7 + 10 - 1;
  EXPECT_TRUE(Black(image, x0 + 3 * 18 + 9, beamY));
  EXPECT_TRUE(Black(image, x0 + 7 * 18 + 9, beamY));  // the beam of columns 6 to 9, level with it
  for (int x = x0 + 2 * 18; x < x0 + 10 * 18; ++x) EXPECT_EQ(image.pixel(x, top - 10), kWhite) << x;
}

TEST_F(SpeedLineImage, AShortTrebleStaffReadsAsMusic) {
  KListLine line(4, 0, 0, -1, 0);
  FillLine(line, {
                     StaffColumn(0, {{1, 225}, {1, 102}, {1, 103}}),  // 3/4
                     StaffColumn(1, {{24, 8}}),                       // middle C, ledger line below
                     StaffColumn(2, {{12, 9}}),                       // high A, ledger line above, stem down
                     StaffColumn(3, {{20, 0}}),                       // eighth with its flag
                     new KChord(4, 1, 21, 0),                         // bar
                     StaffColumn(5, {{18, 2}}),                       // four sixteenths under one beam
                     StaffColumn(6, {{17, 2}}), StaffColumn(7, {{16, 2}}), StaffColumn(8, {{17, 2}}),
                     StaffColumn(9, {{19, 28}, {19, 8}}),    // sharp and quarter
                     StaffColumn(10, {{16, 16}}),            // quarter rest
                     StaffColumn(11, {{15, 10}, {15, 36}}),  // dotted half
                     StaffColumn(12, {{9, 1}}),              // eighth far above, ledger lines
                     new KChord(13, 1, 23, 0),               // final bar
                 });
  Beam(line, 5, 8, 1, 85);
  KSpeedLine cache(0, 4, line.GetObjList(), 0, 0, 0, 0, "");

  QImage image = WhiteImage(360, 110);
  {
    KQtImageDC dc(image);
    cache.Render(&dc, 10, 0, 10000, 10);
  }
  Save(image, "staff");

  const int top = 10 + 22;             // the top line
  const int x0 = 10 + 34 + 5 * 3;      // after the clef and two sharps
  EXPECT_TRUE(Black(image, 12, top));  // staff lines from the start
  EXPECT_TRUE(Black(image, 12, top + 24));
  EXPECT_TRUE(Black(image, x0 + 18 + 8, top + 30));      // the head of middle C
  EXPECT_TRUE(Black(image, x0 + 18 + 3, top + 30));      // its ledger line, left of the head
  EXPECT_TRUE(Black(image, x0 + 2 * 18 + 3, top - 6));   // the ledger line above the staff
  EXPECT_TRUE(Black(image, x0 + 4 * 18 + 8, top + 12));  // the bar
  // The beam of the sixteenths between their stems, and the second beam under it.
  EXPECT_TRUE(Black(image, x0 + 6 * 18 + 12, top - 100 + 85));
  EXPECT_TRUE(Black(image, x0 + 6 * 18 + 12, top - 100 + 90));

  // The same line with the large symbols: the staff and the columns grow.
  cache.SetSizeIndex(line.GetObjList(), 1);
  QImage large = WhiteImage(440, 130);
  {
    KQtImageDC dc(large);
    cache.Render(&dc, 10, 0, 10000, 10);
  }
  Save(large, "staff-large");
  const int largeTop = 10 + 22 * 33 / 25;
  const int largeX0 = 10 + 34 + 7 * 3;
  EXPECT_TRUE(Black(large, 12, largeTop + 32));                    // the bottom line, 4 x 8 lower
  EXPECT_TRUE(Black(large, largeX0 + 22 + 11, largeTop + 40));     // the head of middle C
  EXPECT_TRUE(Black(large, largeX0 + 4 * 22 + 8, largeTop + 16));  // the bar
}

// Rests where engraving puts them: a whole rest hangs from the fourth line
// (row 16), a half rest sits on the middle line (row 18); the quarter and
// eighth rests stand across the middle of the staff. The two blocks are the
// right way round at both sizes: the whole rest's block lies under its line,
// the half rest's on top of it.
TEST_F(SpeedLineImage, RestsHangAndSitOnTheirLines) {
  KListLine line(0, 0, 0, -1, 0);
  FillLine(line, {StaffColumn(0, {{16, 14}}), StaffColumn(1, {{18, 15}}), StaffColumn(2, {{18, 16}}),
                  StaffColumn(3, {{18, 17}})});
  KSpeedLine cache(0, 0, line.GetObjList(), 0, 0, 0, 0, "");
  for (int size : {0, 1}) {
    SCOPED_TRACE(size == 0 ? "small symbols" : "large symbols");
    cache.SetSizeIndex(line.GetObjList(), size);
    QImage image = WhiteImage(200, 110);
    {
      KQtImageDC dc(image);
      cache.Render(&dc, 10, 0, 10000, 10);
    }
    Save(image, size == 0 ? "rests" : "rests-large");
    const int step = size == 0 ? 3 : 4;
    const int width = size == 0 ? 18 : 22;
    const int top = 10 + (size == 0 ? 22 : 22 * 33 / 25);  // the top line
    const int x0 = 10 + 34;
    const int fourthLine = top + 2 * step;
    const int middleLine = top + 4 * step;
    // Inside each block, a little right of its left edge.
    const int wholeX = x0 + (size == 0 ? 5 : 6);
    const int halfX = x0 + width + (size == 0 ? 5 : 6);
    EXPECT_TRUE(Black(image, wholeX, fourthLine + step)) << "whole rest: its block under the fourth line";
    EXPECT_EQ(image.pixel(wholeX, fourthLine - 2), kWhite) << "whole rest: nothing above its line";
    EXPECT_TRUE(Black(image, halfX, middleLine - step)) << "half rest: its block on the middle line";
    EXPECT_EQ(image.pixel(halfX, middleLine + 2), kWhite) << "half rest: nothing under its line";
    // The quarter and the eighth rest reach above and below the middle line.
    for (int column : {2, 3}) {
      const int left = x0 + column * width;
      int above = 0;
      int below = 0;
      for (int x = left; x < left + width; ++x) {
        for (int y = middleLine - 3 * step; y < middleLine - 1; ++y) above += Black(image, x, y) ? 1 : 0;
        for (int y = middleLine + 2; y < middleLine + 3 * step; ++y) below += Black(image, x, y) ? 1 : 0;
      }
      EXPECT_GT(above, 2) << "column " << column;
      EXPECT_GT(below, 2) << "column " << column;
    }
  }
}

}  // namespace
