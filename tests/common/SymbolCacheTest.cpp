#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DrawTestSupport.h"
#include "common/ErrorReporter.h"
#include "common/SymbolCacheSlots.h"

namespace {

class SymbolCache : public SymbolDrawTest {
 protected:
  SymbolCache() {
    // Print pictures at 300 dots per inch on a 300 dots-per-inch layout: the
    // print set draws at the pictures' own size at the layout point.
    g_deviceResX = g_deviceResY = 300;
    g_screenResX = g_screenResY = 300;
  }

  // The resource ids blitted when the symbol is drawn alone.
  std::vector<std::string> DrawnIds(RecordingDC& dc, int family, int index) {
    dc.Clear();
    LoadSymbolBitmap(&dc, family, index, 0, 0, 100, 100, SRCAND);
    return BlitIds(dc);
  }
};

using Ids = std::vector<std::string>;

TEST_F(SymbolCache, EachFamilyAndIndexDrawsItsPicture) {
  struct Case {
    int family;
    int index;
    Ids screen;
    Ids print;
  };
  const std::vector<Case> cases = {
      {0, 13, {"2123"}, {"2723"}},
      {0, 111, {"2221"}, {"2821"}},
      {0, 125, {"2423"}, {}},  // large forms have no print pictures
      {0, 223, {"2521"}, {}},
      {0, 224, {"3300"}, {"3400"}},
      {0, 249, {"3325"}, {"3425"}},
      {0, 250, {}, {}},
      {0, 999, {}, {}},
      {0, 1021, {"2300"}, {"2900"}},
      {0, 2021, {"2308"}, {"2908"}},
      {0, 1024, {"2303"}, {"2903"}},
      {0, 1136, {"2603"}, {"2903"}},
      {0, 5097, {"2339"}, {"2939"}},
      {0, 1027, {}, {}},  // not a bar kind
      {0, 6021, {}, {}},  // no group 5
      {0, 10000, {"4110"}, {"4710"}},
      {0, 10111, {"4221"}, {"4821"}},
      {0, 10112, {"4410"}, {}},
      {0, 10224, {}, {}},
      {0, -1, {}, {}},
      {1, 0, {"2230"}, {"2830"}},
      {1, 12, {"2530"}, {}},
      {1, 24, {}, {}},
      {2, 1, {"3801"}, {"3805"}},
      {3, 0, {"3820"}, {"3822"}},
      {3, 5, {"3821"}, {"3822"}},
      {4, 0, {"2100"}, {"2700"}},
      {4, 19, {"2409"}, {}},
      {5, 53, {"3558"}, {"3658"}},
      {5, 54, {}, {}},
      {6, 6, {"2650"}, {}},
      {6, 5, {"2355"}, {"2955"}},
      {7, 2, {"5363"}, {}},  // screen only
      {8, 0, {"2140"}, {"2740"}},
      {8, 3, {"5205"}, {"5208"}},
      {9, 98, {"2250"}, {"2850"}},
      {9, 116, {"2550"}, {}},
      {9, 134, {}, {}},
      {9, 97, {}, {}},
      {10, 3, {"2359"}, {"2959"}},
      {10, 4, {"2656"}, {}},
      {11, 0, {"2138"}, {"2738"}},
      {11, 1, {"5206"}, {"5207"}},
      {12, 5, {"2375"}, {"2975"}},
      {12, 15, {"2675"}, {}},
      {12, 1005, {"2385"}, {"2985"}},
      {12, 20, {}, {}},
      {13, 0, {}, {}},
      {-1, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("family " + std::to_string(c.family) + " index " + std::to_string(c.index));
    EXPECT_EQ(DrawnIds(screen, c.family, c.index), c.screen);
    EXPECT_EQ(DrawnIds(printer, c.family, c.index), c.print);
  }
  EXPECT_TRUE(ui.Messages().empty());
}

// A packed array per family would put fret symbol 249 and flagged symbol 10000
// in one entry: whichever is drawn first would then be drawn for both.
TEST_F(SymbolCache, NoTwoSymbolsShareAnEntry) {
  for (SymbolSet set : {SymbolSet::Screen, SymbolSet::Print}) {
    for (bool printerDC : {false, true}) {
      std::map<std::pair<SymbolTable, int>, std::pair<int, int>> owner;  // entry -> (resource id, family)
      for (int family = 0; family <= 12; ++family) {
        for (int index = -1; index <= 10300; ++index) {
          const std::optional<SymbolPlace> place = FindSymbolPlace(family, index, set, printerDC);
          if (!place || place->headSlot >= 0) continue;
          ASSERT_GE(place->entry, 0);
          ASSERT_LT(place->entry, SymbolTableSize(place->table));
          const auto key = std::make_pair(place->table, place->entry);
          const auto [it, added] = owner.emplace(key, std::make_pair(place->resourceId, family));
          if (!added) {
            EXPECT_EQ(it->second.first, place->resourceId)
                << "family " << family << " index " << index << " shares entry " << place->entry;
          }
        }
      }
    }
  }
  EXPECT_EQ(DrawnIds(screen, 0, 249), Ids{"3325"});
  EXPECT_EQ(DrawnIds(screen, 0, 10000), Ids{"4110"});
  EXPECT_EQ(DrawnIds(printer, 0, 10000), Ids{"4710"});
  EXPECT_EQ(DrawnIds(printer, 0, 249), Ids{"3425"});
}

TEST_F(SymbolCache, LoadsAPictureOnceAndSharesIt) {
  LoadSymbolBitmap(&screen, 0, 13, 10, 20, 100, 100, SRCAND);
  RecordingDC other;
  LoadSymbolBitmap(&other, 0, 13, 30, 40, 100, 100, SRCAND);
  EXPECT_EQ(loader.LoadCount(2123), 1);
  EXPECT_EQ(Blits(screen), Ids{"2123 10,20 8x12"});
  EXPECT_EQ(Blits(other), Ids{"2123 30,40 8x12"});
}

TEST_F(SymbolCache, ScreenDrawsAtNaturalSizeOrStretches) {
  LoadSymbolBitmap(&screen, 0, 13, 10, 20, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 0, 13, 10, 20, 50, 200, SRCAND);
  EXPECT_EQ(TargetLines(screen, {"BitBlt", "StretchBlt", "SetStretchBltMode"}),
            (Ids{"BitBlt 10,20 8x12 mem1=bitmap(2123 8x12x1) 0,0 SRCAND", "SetStretchBltMode BLACKONWHITE",
                 "StretchBlt 10,20 4x24 mem2=bitmap(2123 8x12x1) 0,0 8x12 SRCAND"}));
}

TEST_F(SymbolCache, BarPiecesOfGroupOneStandOnTheirGroupZeroPiece) {
  g_printCorrX = 150;  // the underlay is corrected, the group-1 piece is not
  g_printCorrY = 120;
  struct Case {
    int code;
    Ids screen;
    Ids print;
  };
  const std::vector<Case> cases = {
      {2024, {"2303 5,6 8x12", "2311 5,6 8x12"}, {"2903 5,6 12x14", "2911 5,6 8x12"}},
      {2025, {"2304 5,6 8x12", "2312 5,6 8x12"}, {"2904 5,6 12x14", "2912 5,6 8x12"}},
      {2096, {"2306 5,6 8x12", "2314 5,6 8x12"}, {"2906 5,6 12x14", "2914 5,6 8x12"}},
      {2209, {"2607 5,6 8x12", "2615 5,6 8x12"}, {"2907 5,6 12x14", "2915 5,6 8x12"}},
      {2021, {"2308 5,6 8x12"}, {"2908 5,6 8x12"}},
      {3024, {"2319 5,6 8x12"}, {"2919 5,6 12x14"}},
  };
  loader.SetDefaultSize(8, 12);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    screen.Clear();
    printer.Clear();
    LoadSymbolBitmap(&screen, 0, c.code, 5, 6, 100, 100, SRCAND);
    LoadSymbolBitmap(&printer, 0, c.code, 5, 6, 100, 100, SRCAND);
    EXPECT_EQ(Blits(screen), c.screen);
    EXPECT_EQ(Blits(printer), c.print);
  }
}

TEST_F(SymbolCache, PrintSetIsStretchedFromItsDesignResolution) {
  struct Case {
    const char* what;
    int deviceRes;
    int screenRes;
    int correction;
    int deviceRender;
    int family;
    int index;
    int percent;
    std::string blit;
  };
  loader.SetSize(2723, 30, 40);  // family 0 code 13
  loader.SetSize(3605, 30, 40);  // family 5 index 0
  loader.SetSize(3822, 30, 40);  // brace on printers
  loader.SetSize(2970, 30, 40);  // wide symbol 0
  const std::vector<Case> cases = {
      {"own size at 300 dpi", 300, 300, 100, 0, 0, 13, 100, "2723 10,20 30x40"},
      {"half width", 300, 300, 100, 0, 0, 13, 50, "2723 10,20 15x20"},
      {"doubled at 600 dpi, point mapped", 600, 96, 100, 0, 0, 13, 100, "2723 62,125 60x80"},
      {"corrected", 300, 300, 110, 0, 0, 13, 100, "2723 10,20 33x44"},
      {"braces are not corrected", 300, 300, 110, 0, 3, 0, 100, "3822 10,20 30x40"},
      {"wide symbols three times", 300, 300, 100, 0, 12, 0, 100, "2970 10,20 90x120"},
      {"rhythm symbols", 300, 300, 100, 0, 5, 0, 100, "3605 10,20 30x40"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_deviceResX = g_deviceResY = c.deviceRes;
    g_screenResX = g_screenResY = c.screenRes;
    g_printCorrX = g_printCorrY = c.correction;
    g_deviceRender = c.deviceRender;
    printer.Clear();
    LoadSymbolBitmap(&printer, c.family, c.index, 10, 20, c.percent, c.percent, SRCAND);
    EXPECT_EQ(Blits(printer), Ids{c.blit});
  }
}

TEST_F(SymbolCache, DeviceRenderingUsesThePrintSetWithoutCorrections) {
  loader.SetSize(2723, 30, 40);
  loader.SetSize(3823, 20, 20);
  g_printCorrX = g_printCorrY = 150;
  g_deviceRender = 1;
  LoadSymbolBitmap(&screen, 0, 13, 10, 20, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 3, 0, 10, 20, 100, 100, SRCAND);
  EXPECT_EQ(Blits(screen), (Ids{"2723 10,20 30x40", "3823 10,20 20x20"}));
}

TEST_F(SymbolCache, ChordNameAccidentalsAreNudged) {
  struct Case {
    int family;
    int index;
    bool print;
    std::string blit;
  };
  const std::vector<Case> cases = {
      {8, 0, false, "2140 10,20 8x12"}, {8, 1, false, "5205 12,23 8x12"}, {11, 1, false, "5206 12,23 8x12"},
      {8, 0, true, "2740 11,20 8x12"},  {11, 0, true, "2738 11,20 8x12"}, {8, 2, true, "5208 14,25 8x12"},
  };
  for (const Case& c : cases) {
    RecordingDC& dc = c.print ? printer : screen;
    dc.Clear();
    LoadSymbolBitmap(&dc, c.family, c.index, 10, 20, 100, 100, SRCAND);
    EXPECT_EQ(Blits(dc), Ids{c.blit}) << c.family << "/" << c.index;
  }
}

TEST_F(SymbolCache, HooksAndDialogAccidentalsLoadAsAGroup) {
  LoadSymbolBitmap(&screen, 2, 1, 0, 0, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 7, 0, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(loader.LoadOrder(), (std::vector<int>{3800, 3801, 5361, 5362, 5363}));
  LoadSymbolBitmap(&screen, 2, 0, 0, 0, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 7, 2, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(loader.TotalLoads(), 5);
  EXPECT_EQ(BlitIds(screen), (Ids{"3801", "5361", "3800", "5363"}));
}

TEST_F(SymbolCache, AFailedLoadDrawsNothingAndIsReportedOncePerRun) {
  loader.Fail(2123);
  loader.Fail(2103);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 4, 3, 0, 0, 100, 100, SRCAND);
  EXPECT_TRUE(Blits(screen).empty());
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, 7070u);
  EXPECT_EQ(
      ui.Messages()[0].text,
      "Sorry, but there is a problem loading an image.  \nYou should save your work and quit Stavlin, \n"
      "and it would be best to restart your system. ( 0S--13)");
  // Every draw tries again, and draws once the picture can be had.
  EXPECT_EQ(loader.LoadCount(2123), 2);
  loader.Restore(2123);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(BlitIds(screen), Ids{"2123"});
  EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(SymbolCache, TheFailureMessageNamesFamilySetAndIndex) {
  struct Case {
    int family;
    int index;
    bool print;
    int id;
    const char* ending;
  };
  const std::vector<Case> cases = {
      {4, 3, true, 2703, "( 4P-- 3)"},
      {12, 1005, false, 2385, "(12S--)"},
      {9, 99, false, 2251, "( 9S--99)"},
      {0, 2024, false, 2303, "( 0S--)"},  // the underlay
  };
  for (const Case& c : cases) {
    g_ReportedOnce = 0;
    ui.ClearRecords();
    loader.Fail(c.id);
    LoadSymbolBitmap(c.print ? &printer : &screen, c.family, c.index, 0, 0, 100, 100, SRCAND);
    ASSERT_EQ(ui.Messages().size(), 1u) << c.id;
    EXPECT_EQ(Ending(ui.Messages()[0].text), c.ending);
  }
}

TEST_F(SymbolCache, HeadSlotsFollowTheSelectedSize) {
  LoadSymbolBitmap(&screen, 0, 5, 0, 0, 100, 100, SRCAND);  // no size selected yet
  EXPECT_TRUE(Blits(screen).empty());
  EXPECT_EQ(ui.Messages().size(), 1u);

  SelectSymbolSize(2, 0);
  SelectSymbolSize(3, 1);
  EXPECT_EQ(g_currentSymbolSize, 3);
  screen.Clear();
  for (int code : {0, 9, 10, 11, 12, 112, 122, 124})
    LoadSymbolBitmap(&screen, 0, code, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(BlitIds(screen), (Ids{"2274", "2274", "2275", "2275", "2276", "2577", "2578", "2579"}));
  // Without printing the print slots stay unset.
  EXPECT_EQ(g_headSlots[6], nullptr);
}

TEST_F(SymbolCache, SelectSymbolSizeTakesOutOfRangeSizes) {
  SelectSymbolSize(4, 0);
  SelectSymbolSize(9, 0);  // 8..12 change nothing
  EXPECT_EQ(g_currentSymbolSize, 4);
  const int loadsBefore = loader.TotalLoads();
  SelectSymbolSize(12, 0);
  EXPECT_EQ(loader.TotalLoads(), loadsBefore);
  SelectSymbolSize(20, 0);  // 13 and more are taken as 0
  EXPECT_EQ(g_currentSymbolSize, 0);
  LoadSymbolBitmap(&screen, 0, 0, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(BlitIds(screen), Ids{"2268"});
}

TEST_F(SymbolCache, SelectSymbolSizeFailureKeepsTheSlots) {
  SelectSymbolSize(1, 0);
  loader.Fail(2268 + 3 * 4 + 1);
  SelectSymbolSize(4, 0);
  EXPECT_EQ(g_currentSymbolSize, 1);
  LoadSymbolBitmap(&screen, 0, 10, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(BlitIds(screen), Ids{"2272"});
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(Ending(ui.Messages()[0].text), "(ANS-S--12)");
}

TEST_F(SymbolCache, PrintHeadsAreSelectedWhileRenderingAndReloadedAfterFreeing) {
  g_deviceRender = 1;
  SelectSymbolSize(3, 1);  // the print set has one size: print triple 3
  g_deviceRender = 0;
  LoadSymbolBitmap(&printer, 0, 11, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(BlitIds(printer), Ids{"2878"});
  FreePrintBitmaps();
  EXPECT_EQ(loader.LoadCount(2878), 1);
  LoadSymbolBitmap(&printer, 0, 11, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(loader.LoadCount(2878), 2);
  EXPECT_EQ(BlitIds(printer), (Ids{"2878", "2878"}));
}

// Which free routine empties the entry of a symbol: the symbol is drawn, the
// routine runs, the symbol is drawn again and its picture counted.
TEST_F(SymbolCache, FreeingFollowsTheSets) {
  enum Freer { Small, Large, Print, Remaining, Never };
  struct Case {
    int family;
    int index;
    bool print;
    int id;
    Freer freedBy;
  };
  const std::vector<Case> cases = {
      {0, 13, false, 2123, Small},    {0, 10000, false, 4110, Small},  {0, 1021, false, 2300, Small},
      {4, 9, false, 2109, Small},     {6, 5, false, 2355, Small},      {12, 19, false, 2679, Small},
      {9, 115, false, 2267, Small},   {0, 125, false, 2423, Large},    {0, 10112, false, 4410, Large},
      {0, 1133, false, 2600, Large},  {1, 12, false, 2530, Large},     {4, 10, false, 2400, Large},
      {6, 6, false, 2650, Large},     {1, 11, false, 2241, Remaining}, {2, 0, false, 3800, Remaining},
      {3, 1, false, 3821, Remaining}, {5, 0, false, 3505, Remaining},  {7, 0, false, 5361, Remaining},
      {8, 1, false, 5205, Remaining}, {10, 7, false, 2659, Remaining}, {11, 0, false, 2138, Remaining},
      {0, 224, false, 3300, Never},   {9, 116, false, 2550, Never},    {12, 1000, false, 2380, Never},
      {0, 13, true, 2723, Print},     {0, 249, true, 3425, Print},     {0, 10000, true, 4710, Print},
      {0, 2021, true, 2908, Print},   {1, 0, true, 2830, Print},       {2, 1, true, 3805, Print},
      {3, 0, true, 3822, Print},      {4, 0, true, 2700, Print},       {5, 0, true, 3605, Print},
      {6, 0, true, 2950, Print},      {8, 0, true, 2740, Print},       {9, 98, true, 2850, Print},
      {10, 0, true, 2956, Print},     {11, 1, true, 5207, Print},      {12, 0, true, 2970, Print},
  };
  const std::map<Freer, std::function<void()>> freers = {
      {Small, [] { FreeSmallSymbolBitmaps(); }},
      {Large, [] { FreeLargeSymbolBitmaps(); }},
      {Print, [] { FreePrintBitmaps(); }},
      {Remaining, [] { FreeRemainingScreenSymbolBitmaps(); }},
  };
  for (const Case& c : cases) {
    for (const auto& [freer, run] : freers) {
      ResetSymbolCache();
      loader.ClearCounts();
      RecordingDC& dc = c.print ? printer : screen;
      LoadSymbolBitmap(&dc, c.family, c.index, 0, 0, 100, 100, SRCAND);
      run();
      LoadSymbolBitmap(&dc, c.family, c.index, 0, 0, 100, 100, SRCAND);
      EXPECT_EQ(loader.LoadCount(c.id), freer == c.freedBy ? 2 : 1)
          << "family " << c.family << " index " << c.index << " freer " << freer;
    }
  }
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SymbolCache, AScreenSetIsFreedWhenItsLastViewReleasesIt) {
  EXPECT_EQ(RefSymbolBitmapSet(1, 0), 1);
  RefSymbolBitmapSet(1, 0);
  RefSymbolBitmapSet(1, 1);
  EXPECT_EQ(g_symbolSetUsers[0], 2);
  EXPECT_EQ(g_symbolSetLoaded[0], 1);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 0, 125, 0, 0, 100, 100, SRCAND);

  RefSymbolBitmapSet(0, 0);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(loader.LoadCount(2123), 1);  // one view still uses the small set

  RefSymbolBitmapSet(0, 0);
  EXPECT_EQ(g_symbolSetUsers[0], 0);
  EXPECT_EQ(g_symbolSetLoaded[0], 0);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);
  LoadSymbolBitmap(&screen, 0, 125, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(loader.LoadCount(2123), 2);
  EXPECT_EQ(loader.LoadCount(2423), 1);  // the large set keeps its user

  // A release without a user changes nothing.
  RefSymbolBitmapSet(0, 0);
  EXPECT_EQ(g_symbolSetUsers[0], 0);
  RefSymbolBitmapSet(1, 0);
  EXPECT_EQ(g_symbolSetUsers[0], 1);
  EXPECT_EQ(g_symbolSetLoaded[0], 1);
}

TEST_F(SymbolCache, WidePrintPictureIsWhitenedWholeBeforeTheCopy) {
  loader.SetSize(2970, 108, 39);
  loader.SetSize(2370, 36, 13);
  LoadSymbolBitmap(&printer, 12, 0, 10, 20, 100, 100, SRCAND);
  const Ids expected = {
      "mem1: SelectObject bitmap(2970 108x39x1)",
      "mem1: PatBlt 0,0 108x39 WHITENESS",
      "mem2: SelectObject bitmap(2370 36x13x1)",
      "mem1: BitBlt 0,0 36x13 mem2=bitmap(2370 36x13x1) 0,0 SRCCOPY",
  };
  EXPECT_EQ(TargetLines(printer, {"mem1: SelectObject bitmap", "mem1: PatBlt", "mem2: SelectObject bitmap",
                                  "mem1: BitBlt"}),
            expected);
  EXPECT_EQ(Blits(printer), Ids{"2970 10,20 324x117"});
  // The print resource is read for its size only; the picture is kept.
  LoadSymbolBitmap(&printer, 12, 0, 10, 20, 100, 100, SRCAND);
  EXPECT_EQ(loader.LoadCount(2970), 1);
  EXPECT_EQ(loader.LoadCount(2370), 1);
}

TEST_F(SymbolCache, WidePrintVariantIsInColourUnlessTheDeviceIsBlackAndWhite) {
  struct Case {
    int colours;
    int deviceRender;
    std::string source;
  };
  const std::vector<Case> cases = {{2, 0, "2373"}, {-1, 0, "2383"}, {256, 0, "2383"}, {2, 1, "2383"}};
  for (const Case& c : cases) {
    FreePrintBitmaps();
    g_deviceRender = c.deviceRender;
    RecordingDC dc(PrinterCaps(300, c.colours), true);
    LoadSymbolBitmap(&dc, 12, 1003, 0, 0, 100, 100, SRCAND);
    const std::vector<std::string> copies = TargetLines(dc, {"mem1: BitBlt"});
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_NE(copies[0].find("bitmap(" + c.source + " "), std::string::npos) << copies[0];
  }
}

TEST_F(SymbolCache, WidePrintPictureWithoutAMemoryContextIsReportedEachTime) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    FailNextGdiCreations(GdiResource::MemoryDC, 1);
    LoadSymbolBitmap(&printer, 12, 0, 0, 0, 100, 100, SRCAND);
  }
  EXPECT_TRUE(Blits(printer).empty());
  ASSERT_EQ(ui.Messages().size(), 2u);
  for (const FakeUiPort::Message& m : ui.Messages()) EXPECT_EQ(Ending(m.text), "(Error MOC2-26)");
  LoadSymbolBitmap(&printer, 12, 0, 0, 0, 100, 100, SRCAND);
  EXPECT_EQ(BlitIds(printer), Ids{"2970"});
}

TEST_F(SymbolCache, NoteFlagsLoadOnRequest) {
  EXPECT_EQ(NoteFlagBitmap(3), nullptr);
  EXPECT_EQ(LoadNoteFlagBitmap(3), 1);
  EXPECT_EQ(LoadNoteFlagBitmap(3), 1);
  EXPECT_EQ(loader.LoadCount(2233), 1);
  ASSERT_NE(NoteFlagBitmap(3), nullptr);
  EXPECT_EQ(NoteFlagBitmap(3)->GetLabel(), "2233");
  EXPECT_EQ(LoadNoteFlagBitmap(15), 1);
  EXPECT_EQ(loader.LoadCount(2533), 1);
  loader.Fail(2234);
  EXPECT_EQ(LoadNoteFlagBitmap(4), 0);
  EXPECT_EQ(LoadNoteFlagBitmap(24), 0);
  EXPECT_EQ(LoadNoteFlagBitmap(-1), 0);
}

TEST_F(SymbolCache, DiagramFramesLoadPerSet) {
  EXPECT_EQ(LoadDiagramFrameBitmaps(&screen), 1);
  EXPECT_EQ(LoadDiagramFrameBitmaps(&printer), 1);
  EXPECT_EQ(loader.LoadOrder(),
            (std::vector<int>{5203, 3850, 3852, 3854, 3856, 3858, 5204, 3851, 3853, 3855, 3857, 3859}));
  ASSERT_NE(DiagramFrameBitmap(DiagramFramePiece::FingerGlyphs, true), nullptr);
  EXPECT_EQ(DiagramFrameBitmap(DiagramFramePiece::FingerGlyphs, true)->GetLabel(), "3859");
  FreePrintBitmaps();
  EXPECT_EQ(DiagramFrameBitmap(DiagramFramePiece::Grid, true), nullptr);
  EXPECT_NE(DiagramFrameBitmap(DiagramFramePiece::Grid, false), nullptr);
}

TEST_F(SymbolCache, DiagramFrameFailureIsReportedOnceAndAnswersZero) {
  loader.Fail(3854);
  EXPECT_EQ(LoadDiagramFrameBitmaps(&screen), 0);
  EXPECT_EQ(LoadDiagramFrameBitmaps(&screen), 0);
  loader.Fail(2123);
  LoadSymbolBitmap(&screen, 0, 13, 0, 0, 100, 100, SRCAND);  // the same once-per-run kind
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].id, kMsgImageLoadProblem);
  EXPECT_EQ(Ending(ui.Messages()[0].text), "(Error Glb-1)");
}

}  // namespace
