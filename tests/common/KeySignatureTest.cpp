#include <string>
#include <vector>

#include "DrawTestSupport.h"
#include "common/KeySignature.h"

namespace {

using Lines = std::vector<std::string>;

class KeySignature : public SymbolDrawTest {
 protected:
  KeySignature() {
    g_screenResX = g_screenResY = 300;
    g_deviceResX = g_deviceResY = 300;
    loader.SetDefaultSize(5, 16);
  }
};

// Staff top line at y 200, x 0, no shift, columns or previous key unless given.
TEST_F(KeySignature, AccidentalsStandAtTheirTablePlaces) {
  struct Case {
    const char* what;
    int key;
    int lineKind;
    int size;
    int columns;
    int xShift;
    int previousKey;
    Lines blits;
  };
  const std::vector<Case> cases = {
      {"two sharps on a treble staff", 4, 0, 0, 0, 0, 0, {"2138 27,192 5x16", "2138 32,201 5x16"}},
      {"one flat", 3, 0, 0, 0, 0, 0, {"2140 27,203 5x16"}},
      {"naturals cancel two flats at the flat places",
       21,
       0,
       0,
       0,
       0,
       0,
       {"2137 27,205 5x16", "2137 32,196 5x16"}},
      {"octave-transposed trebles as the treble",
       4,
       12,
       0,
       0,
       0,
       0,
       {"2138 27,192 5x16", "2138 32,201 5x16"}},
      {"bass staff lower by its shift", 2, 1, 0, 0, 0, 0, {"2138 27,198 5x16"}},
      {"alto a step lower", 3, 9, 0, 0, 0, 0, {"2140 27,206 5x16"}},
      // Tenor sharps a step higher: the first and third would stand above the
      // top line, so they go down an octave.
      {"tenor", 6, 10, 0, 0, 0, 0, {"2138 27,210 5x16", "2138 32,198 5x16", "2138 37,207 5x16"}},
      {"after columns and a previous key", 2, 0, 0, 2, 3, 4, {"2138 86,192 5x16"}},  // 41 + 15 + 27 + 3
      {"large size", 4, 0, 1, 0, 0, 0, {"2438 32,189 5x16", "2438 39,201 5x16"}},
      {"the dialog picture", 2, 4321, 0, 0, 7, 0, {"5361 38,192 5x16"}},
      {"the dialog's naturals", 19, 4321, 0, 0, 0, 0, {"5363 38,205 5x16"}},
      {"the other picture", 2, 4322, 0, 0, 7, 0, {"2138 18,192 5x16"}},
      {"no accidentals", 1, 0, 0, 0, 0, 0, {}},
      {"a cancellation of nothing", 17, 0, 0, 0, 0, 0, {}},
      {"drums", 4, 13, 0, 0, 0, 0, {}},
      {"no clef", 4, 14, 0, 0, 0, 0, {}},
      {"percussion", 4, 16, 0, 0, 0, 0, {}},
      {"codes beyond 31", 40, 0, 0, 0, 0, 0, {}},
      {"negative codes", -4, 0, 0, 0, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    screen.Clear();
    DrawKeySignature(&screen, 200, c.key, c.lineKind, c.columns, 0, c.size, c.xShift, c.previousKey);
    EXPECT_EQ(Blits(screen), c.blits);
  }
}

TEST_F(KeySignature, SevenSharpsAndFlatsUseTheWholeTable) {
  DrawKeySignature(&screen, 200, 14, 0, 0, 0, 0, 0, 0);
  DrawKeySignature(&screen, 200, 15, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(Blits(screen), (Lines{
                               "2138 27,192 5x16",
                               "2138 32,201 5x16",
                               "2138 37,189 5x16",
                               "2138 42,198 5x16",
                               "2138 47,207 5x16",
                               "2138 52,195 5x16",
                               "2138 57,204 5x16",
                               "2140 27,203 5x16",
                               "2140 32,194 5x16",
                               "2140 37,206 5x16",
                               "2140 42,197 5x16",
                               "2140 47,209 5x16",
                               "2140 52,200 5x16",
                               "2140 57,212 5x16",
                           }));
}

TEST_F(KeySignature, DeviceSharpsStandAPixelHigher) {
  DrawKeySignature(&printer, 200, 4, 0, 0, 0, 0, 0, 0);
  DrawKeySignature(&printer, 200, 3, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(Blits(printer), (Lines{"2738 27,191 5x16", "2738 32,200 5x16", "2740 27,203 5x16"}));
}

}  // namespace
