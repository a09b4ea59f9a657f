#pragma once
// Shared set-up of the chord-diagram picture tests: the symbol-drawing fixture
// with the frame and keyboard pieces at their real sizes, a target bitmap in a
// memory device context, and a reader of the pieces copied onto it.

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "DrawTestSupport.h"
#include "common/ChordDiagramServices.h"

class ChordPictureTest : public SymbolDrawTest {
 protected:
  ChordPictureTest() {
    ResetChordDiagramServices();
    const int sizes[][3] = {{5203, 43, 43}, {3850, 203, 4}, {3852, 203, 5}, {3854, 20, 5}, {3856, 150, 6},
                            {3858, 162, 6}, {5107, 91, 36}, {5109, 27, 10}, {5108, 5, 5},  {5113, 5, 5}};
    for (const auto& s : sizes) {
      loader.SetSize(s[0], s[1], s[2]);
      loader.SetSize(s[0] + 1, s[1] * 3, s[2] * 3);  // the print pieces
    }
    loader.SetSize(5114, 273, 108);
    loader.SetSize(5116, 81, 30);
    for (int id : {5115, 5117, 5620, 5621}) loader.SetSize(id, 15, 15);
    loader.SetColour(5620);
    loader.SetColour(5621);
  }
  ~ChordPictureTest() override { ResetChordDiagramServices(); }

  // A memory device context of dc holding a fresh bitmap of the size; it is
  // the first memory device context of dc, "mem1" in the recording.
  std::unique_ptr<CDC> Target(RecordingDC& dc, int width, int height) {
    std::unique_ptr<CDC> target = dc.CreateCompatibleDC();
    bitmap = std::make_unique<CBitmap>();
    bitmap->CreateCompatibleBitmap(&dc, width, height);
    target->SelectObject(bitmap.get());
    return target;
  }

  std::unique_ptr<CBitmap> bitmap;
};

// The name of the first memory device context made since the recording was
// cleared: the target that Target() made.
inline std::string TargetName(const RecordingDC& dc) {
  for (const std::string& line : dc.Lines())
    if (line.rfind("CreateCompatibleDC ", 0) == 0) return line.substr(19);
  return "mem1";
}

// The pieces copied onto the target as "<resource id> <x>,<y> <width>x<height> from <sx>,<sy>".
inline std::vector<std::string> Copies(const RecordingDC& dc) {
  const std::regex blit(
      "^" + TargetName(dc) +
      R"(: BitBlt (-?\d+,-?\d+) (\d+x\d+) mem\d+=bitmap\((\d+) [^)]*\) (-?\d+,-?\d+) SRCCOPY)");
  std::vector<std::string> found;
  for (const std::string& line : dc.Lines()) {
    std::smatch m;
    if (std::regex_search(line, m, blit))
      found.push_back(m[3].str() + " " + m[1].str() + " " + m[2].str() + " from " + m[4].str());
  }
  return found;
}

// The lines of the target that draw with the pen.
inline std::vector<std::string> PenLines(const RecordingDC& dc) {
  const std::string prefix = TargetName(dc) + ": ";
  std::vector<std::string> found;
  for (const std::string& line : dc.Lines())
    if (line.rfind(prefix + "MoveTo", 0) == 0 || line.rfind(prefix + "LineTo", 0) == 0)
      found.push_back(line.substr(prefix.size()));
  return found;
}
