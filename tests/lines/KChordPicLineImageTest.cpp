// A chord-diagram line with names, accidentals and fretboard pictures drawn
// onto a real image with the program's symbol pictures and fonts. The picture
// is written to the temporary folder (stavlin-chordline.png, and a three times
// magnified copy) for a look; the test checks where ink must and must not be.

#include <gtest/gtest.h>

#include <QImage>

#include "ChordLineTestSupport.h"
#include "common/SymbolCache.h"
#include "platform/qt/KQtImageDC.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"
#include "support/ImageTestSupport.h"

namespace {

using namespace chordline;
using namespace stavlin_test;

class ChordLineImage : public ChordLineTest {
 protected:
  ChordLineImage() {
    WidgetTestApp();
    ResetSymbolCache();
    SelectSymbolSize(0, 0);
  }
  ~ChordLineImage() override { ResetSymbolCache(); }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};

TEST_F(ChordLineImage, NamesAndDiagramsOfAChordLine) {
  QImage image = WhiteImage(360, 110);
  KQtImageDC qtdc(image);
  KChordPicLine chords(0, kStandard, "-16,0,0,0,700,0,0,0,0,3,2,1,34,Arial", 100, 100);
  chords.ModifyFlags(KChordPicLine::kFlagShowDiagrams, 1);
  Fill(chords, {new KChordPic(0, "Am", "0023100          000", 1), new KChordPic(8, "Bb7#9", kShape, 1),
                new KChordPic(18, "G", "0320003          000", 1), new KChordPic(26, "blank", kShape, 1),
                new KChordPic(34, "Dm", "0990231          000", 1)});
  chords.Draw(&qtdc, 10, 0, 0, 10, 0, 0, 0, 0, 0);
  SaveForLook(image, "stavlin-chordline");

  const int rowHeight = qtdc.GetTextExtent(std::string_view("ABCDEFG")).cy;
  ASSERT_GT(rowHeight, 10);
  const int pictureTop = 10 + rowHeight;
  // Am at x 10, Bb7#9 at 74, G at 154, the blank at 218, Dm at 282.
  for (const int x : {10, 74, 154, 282}) {
    EXPECT_TRUE(Inked(image, x, 10, x + 16, pictureTop)) << "a name at " << x;
    EXPECT_TRUE(Inked(image, x, pictureTop, x + 42, pictureTop + 31)) << "a picture at " << x;
  }
  EXPECT_FALSE(Inked(image, 218, 0, 270, 110)) << "a blank chord shows nothing";
  EXPECT_FALSE(Inked(image, 0, pictureTop + 40, 360, 110)) << "nothing below the pictures";
  EXPECT_TRUE(m_ui.Messages().empty());
}

}  // namespace
