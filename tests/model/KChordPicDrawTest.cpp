// A chord diagram object's drawn diagram: the bitmap it rebuilds and its size.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/ChordDiagramTestSupport.h"
#include "model/KChordPic.h"

namespace {

class KChordPicDrawTest : public ChordPictureTest {
 protected:
  // Redraws the object's diagram into the recording screen, afresh.
  void Draw(KChordPic& diagram, const CString& picture = CString(), const CString& argument = CString()) {
    screen.Clear();
    diagram.DrawDiagram(&screen, picture, argument);
  }
};

constexpr const char* kDefault = "0000000          000";

TEST_F(KChordPicDrawTest, DiagramSizeFollowsTheShapeOrThePicture) {
  struct Case {
    const char* what;
    std::string shape;
    const char* picture;  // drawn with this picture name first (null: not drawn)
    int size;
  };
  const std::vector<Case> cases = {
      {"empty shape", "", nullptr, 54},
      {"six strings", kDefault, nullptr, 42},
      {"four strings", "0000000         0000000440", nullptr, 30},
      {"seven strings", std::string(kDefault) + std::string(18, ' '), nullptr, 48},
      {"eight strings", std::string(kDefault) + std::string(20, ' '), nullptr, 54},
      {"after a picture", kDefault, "Keyboard", 91},
      {"after a diagram", "", "", 54},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KChordPic diagram(0, "C", CString(c.shape), 1);
    if (c.picture != nullptr) Draw(diagram, CString(c.picture));
    EXPECT_EQ(diagram.GetDiagramSize(), c.size);
  }
}

TEST_F(KChordPicDrawTest, DrawDiagramBuildsABitmapOfTheDiagramSize) {
  struct Case {
    const char* what;
    const char* shape;
    const char* picture;
    int deviceRender;
    int width;
    int height;
    const char* firstPiece;
    int isPicture;
  };
  const std::vector<Case> cases = {
      {"diagram", kDefault, "", 0, 42, 31, "5203", 0},
      {"five fret rows", "0000000         0000000650", "", 0, 42, 37, "5203", 0},
      {"keyboard picture", kDefault, "Keyboard", 0, 91, 36, "5107", 1},
      {"diagram at device resolution", kDefault, "", 1, 126, 93, "5204", 0},
      {"picture at device resolution", kDefault, "Keyboard", 1, 273, 108, "5114", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_deviceRender = c.deviceRender;
    KChordPic diagram(0, "C", CString(c.shape), 1);
    Draw(diagram, CString(c.picture));
    ASSERT_NE(diagram.GetDiagramObj(), nullptr);
    EXPECT_EQ(diagram.GetDiagramObj()->GetSize(), CSize(c.width, c.height));
    EXPECT_EQ(diagram.IsPicture(), c.isPicture);
    const std::vector<std::string> copies = Copies(screen);
    ASSERT_FALSE(copies.empty());
    EXPECT_EQ(copies[0].substr(0, 4), c.firstPiece);
    g_deviceRender = 0;
  }
}

TEST_F(KChordPicDrawTest, RedrawingReplacesTheBitmap) {
  KChordPic diagram(0, "G", CString("0320003"), 1);
  Draw(diagram);
  const CBitmap* first = diagram.GetDiagramObj();
  ASSERT_NE(first, nullptr);
  Draw(diagram, CString("Keyboard"));
  ASSERT_NE(diagram.GetDiagramObj(), nullptr);
  EXPECT_EQ(diagram.GetDiagramObj()->GetSize(), CSize(91, 36));
  Draw(diagram);
  EXPECT_EQ(diagram.GetDiagramObj()->GetSize(), CSize(42, 31));
  EXPECT_EQ(diagram.IsPicture(), 0);
}

TEST_F(KChordPicDrawTest, BlankNamesDrawAnEmptyGrid) {
  struct Case {
    const char* name;
    bool blank;
  };
  const std::vector<Case> cases = {{"Blank", true},   {"C BLANK", true}, {"blanket", true},
                                   {"Blan k", false}, {"BLank", false},  {"G", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KChordPic diagram(0, c.name, CString("0320003"), 1);
    Draw(diagram);
    const std::vector<std::string> copies = Copies(screen);
    ASSERT_FALSE(copies.empty());
    EXPECT_EQ(copies.size() == 1, c.blank) << copies.size();
  }
}

TEST_F(KChordPicDrawTest, PictureTakesTheTuningOfItsArgumentOrTheCurrentOne) {
  KChordPic diagram(0, "E5", CString("0022999"), 1);
  Draw(diagram, CString("Keyboard"), g_TuningBass6);
  const std::vector<std::string> onBass = Copies(screen);
  Draw(diagram, CString("Keyboard"), g_TuningGuitar);
  const std::vector<std::string> onGuitar = Copies(screen);
  EXPECT_NE(onBass, onGuitar);
  g_CurrentTuning = g_TuningBass6;
  Draw(diagram, CString("Keyboard"));
  EXPECT_EQ(Copies(screen), onBass);
}

TEST_F(KChordPicDrawTest, MemoryContextFailureLeavesAnEmptyBitmapAndReportsOnce) {
  KChordPic diagram(0, "G", CString("0320003"), 1);
  Draw(diagram);
  for (int round = 0; round < 2; ++round) {
    FailNextGdiCreations(GdiResource::MemoryDC);
    Draw(diagram);
    ASSERT_NE(diagram.GetDiagramObj(), nullptr);
    EXPECT_EQ(diagram.GetDiagramObj()->GetSafeHandle(), nullptr);
  }
  EXPECT_TRUE(Copies(screen).empty());
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(Ending(MessageTexts()[0]), "(Error OC2-7)");
}

}  // namespace
