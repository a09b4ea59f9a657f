// Drawing a chord-diagram line through the recording device context: names in
// pieces with accidentals, pictures under them when the line shows diagrams,
// display values and finger labels, and the attachments.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChordLineTestSupport.h"
#include "common/SymbolCache.h"
#include "model/KExtendedObj.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/RecordingDC.h"

namespace {

using namespace chordline;

class ChordLineDraw : public ChordLineTest {
 protected:
  ChordLineDraw() { ResetSymbolCache(); }
  ~ChordLineDraw() override { ResetSymbolCache(); }

  // The calls made on the line's own device context (not on the memory ones
  // the pictures are composed in).
  std::vector<std::string> Drawn(int sizeIndex = 0, int mode = 0, int originX = 20) {
    RecordingDC dc;
    line.Draw(&dc, 100, 0, sizeIndex, originX, mode, 0, 0, 0, 0);
    std::vector<std::string> out;
    for (const std::string& call : dc.Lines())
      if (call.rfind("mem", 0) != 0 && call.rfind("CreateCompatibleDC", 0) != 0) out.push_back(call);
    return out;
  }
  // Of the calls, those that begin with the word.
  static std::vector<std::string> Only(const std::vector<std::string>& calls, const std::string& word) {
    std::vector<std::string> out;
    for (const std::string& call : calls)
      if (call.rfind(word + " ", 0) == 0) out.push_back(call);
    return out;
  }

  FakeSymbolLoader loader;
  ScopedSymbolLoader loaderScope{loader};
};

constexpr DWORD kShow = KChordPicLine::kFlagShowDiagrams;

TEST_F(ChordLineDraw, NamesAreDrawnInPiecesAtTheirColumns) {
  struct Case {
    const char* name;
    int sizeIndex;
    std::vector<std::string> texts;
    int accidentals;
  };
  // Column 3 at x origin 20: x = 3 x 8 + 20 (size 0) or 3 x 10 + 20 (size 1).
  const Case cases[] = {
      {"C", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \"C\""}, 0},
      {"C", 1, {"ExtTextOut 50,100 ETO_OPAQUE|ETO_CLIPPED 50,102,58,116 \"C\""}, 0},
      {"Bb7#9",
       0,
       {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \"B\"",
        "ExtTextOut 60,100 ETO_OPAQUE|ETO_CLIPPED 60,102,68,116 \"7\"",
        "ExtTextOut 76,100 ETO_OPAQUE|ETO_CLIPPED 76,102,84,116 \"9\""},
       2},
      {"F#", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \"F\""}, 1},
      {"blank", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \" \""}, 0},
      {"Blank 2", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \" \""}, 0},
      {"", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \" \""}, 0},
      {"A/", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \"/\""}, 0},
      {"Am/", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,52,116 \"/\""}, 0},
      {"A/E", 0, {"ExtTextOut 44,100 ETO_OPAQUE|ETO_CLIPPED 44,102,68,116 \"A/E\""}, 0},
  };
  for (const Case& c : cases) {
    line.DeleteObjsFrom(0);
    KChordPic* diagram = Add(3, c.name);
    const std::vector<std::string> calls = Drawn(c.sizeIndex);
    EXPECT_EQ(Only(calls, "ExtTextOut"), c.texts) << c.name;
    EXPECT_EQ(Only(calls, "BitBlt").size(), std::size_t(c.accidentals)) << c.name << ": names only";
    EXPECT_EQ(diagram->GetWidth(1), CString(c.name).GetLength() * 8 + 10) << c.name;
  }
}

TEST_F(ChordLineDraw, PicturesFollowTheFlagTheModeAndTheName) {
  struct Case {
    DWORD flags;
    int mode;
    const char* name;
    std::size_t pictures;
  };
  const Case cases[] = {
      {0, 0, "C", 0},         {kShow, 0, "C", 1}, {0, KChordPicLine::kModeAllDiagrams, "C", 1},
      {kShow, 0, "blank", 0}, {kShow, 0, "", 0},  {kShow, 0, "A/", 1},
  };
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    chords.ModifyFlags(c.flags, 1);
    Fill(chords, {new KChordPic(3, c.name, kShape, 1)});
    RecordingDC dc;
    chords.Draw(&dc, 100, 0, 0, 20, c.mode, 0, 0, 0, 0);
    std::size_t pictures = 0;
    for (const std::string& call : dc.Lines())
      if (call.rfind("BitBlt 44,116 42x31", 0) == 0) ++pictures;
    EXPECT_EQ(pictures, c.pictures) << c.flags << " " << c.mode << " " << c.name;
  }
}

TEST_F(ChordLineDraw, ADiagramShownWithItsPictureCoversThePictureWhenTheNameIsNarrower) {
  struct Case {
    DWORD flags;
    const char* name;
    int width;  // pixels the diagram covers from its column
  };
  const Case cases[] = {
      {kShow, "C", 42},                 // the picture, wider than the name
      {0, "C", 1 * 8 + 10},             // names only: the name
      {kShow, "Cmaj7#11", 8 * 8 + 10},  // a name wider than the picture
      {kShow, "blank", 5 * 8 + 10},     // no picture under a blank name
  };
  for (const Case& c : cases) {
    KChordPicLine chords(0, kStandard, kFont, 100, 100);
    chords.ModifyFlags(c.flags, 1);
    auto* diagram = new KChordPic(3, c.name, kShape, 1);
    Fill(chords, {diagram});
    RecordingDC dc;
    chords.Draw(&dc, 100, 0, 0, 20, 0, 0, 0, 0, 0);
    EXPECT_EQ(diagram->GetWidth(1), c.width) << c.name;
    // The caret's steps over the line see the same width.
    EXPECT_EQ(chords.GetLength(), 3 + (c.width + 7) / 8) << c.name;
  }
}

TEST_F(ChordLineDraw, PictureSizeFollowsThePercentages) {
  line.ModifyFlags(kShow, 1);
  Add(0, "C");
  struct Case {
    int width;
    int height;
    const char* blit;
  };
  // The 42 x 31 picture; above 100 percent drawn three times larger first and
  // stretched by a third of the percentages (126 x 66 / 100, 93 x 50 / 100).
  const Case cases[] = {
      {100, 100, "BitBlt 20,116 42x31 "},
      {50, 100, "StretchBlt 20,116 21x31 "},
      {200, 150, "StretchBlt 20,116 83x46 mem6=bitmap(126x93x32) "},
  };
  for (const Case& c : cases) {
    line.SetDiagramWidthPct(c.width);
    line.SetDiagramHeightPct(c.height);
    std::vector<std::string> calls = Drawn();
    bool found = false;
    for (const std::string& call : calls) found = found || call.rfind(c.blit, 0) == 0;
    EXPECT_TRUE(found) << c.width << "x" << c.height;
  }
}

TEST_F(ChordLineDraw, DisplayValueAndFingerLabelBesideThePicture) {
  line.ModifyFlags(kShow, 1);
  // Flag 4 (character 18) shows the finger label "1 3"; flag 3 (17) hides the value.
  KChordPic* withLabel = Add(0, "C", "0231000 1 3     00100");
  KChordPic* hidden = Add(10, "D", "0231000         01000");
  withLabel->SetValue(5);
  hidden->SetValue(7);
  struct Case {
    int option;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {0, {"TextOut 20,147 \" 1 3\""}},
      {1, {"TextOut 63,116 \"  5\"", "TextOut 20,147 \" 1 3\""}},
  };
  for (const Case& c : cases) {
    g_diagramFretNumbers = c.option;
    EXPECT_EQ(Only(Drawn(), "TextOut"), c.texts) << c.option;
  }
}

TEST_F(ChordLineDraw, AttachmentsFontAndColourAndLeftEdge) {
  line.SetNameFont("16,0,255,0,700,0,0,0,0,3,2,1,34,Arial");
  Add(0, "C");
  Add(6, "G");
  line.AddAttachment(new KExtendedObj(4, 0, "x", "12,0,0,0,400,0,0,0,0,3,2,1,34,Arial"));
  const std::vector<std::string> calls = Drawn(0, 0, -20);
  // Column 0 lies left of the page (x -20): only G is drawn, at 6 x 8 - 20.
  EXPECT_EQ(Only(calls, "ExtTextOut"),
            (std::vector<std::string>{"ExtTextOut 28,100 ETO_OPAQUE|ETO_CLIPPED 28,102,36,116 \"G\""}));
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0].rfind("SelectObject font(16,", 0), 0u);
  EXPECT_EQ(calls[1], "SetTextColor RGB(255,0,0)");
  bool attachment = false;
  for (const std::string& call : calls) attachment = attachment || call.find("\"x\"") != std::string::npos;
  EXPECT_TRUE(attachment);
  EXPECT_TRUE(m_ui.Messages().empty());
}

}  // namespace

namespace {

TEST_F(ChordLineDraw, PrintedPicturesAreDrawnAtDeviceSize) {
  g_screenResX = g_screenResY = 100;
  g_deviceResX = g_deviceResY = 300;
  line.ModifyFlags(kShow, 1);
  Add(0, "C");
  RecordingDC printer(DeviceCaps(), true);
  line.Draw(&printer, 100, 0, 0, 20, 0, 0, 0, 0, 0);
  // The picture is placed at the mapped point at three times its size.
  bool found = false;
  for (const std::string& call : printer.Lines())
    found = found || call.rfind("StretchBlt 60,348 126x93 ", 0) == 0 ||
            call.rfind("BitBlt 60,348 126x93 ", 0) == 0;
  EXPECT_TRUE(found) << printer.Text();
}

}  // namespace
