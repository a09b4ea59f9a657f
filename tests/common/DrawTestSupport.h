#pragma once
// Shared set-up of the drawing tests: a fake symbol loader and UI port
// installed, the program-wide values and the symbol cache at their start, and
// readers of what a recording device context was asked to draw.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"
#include "platform/GdiFaults.h"
#include "platform/RecordingDC.h"

// The blits of symbol pictures onto the target (not those between memory
// device contexts) as "<resource id> <x>,<y> <width>x<height>".
inline std::vector<std::string> Blits(const RecordingDC& dc) {
  static const std::regex blit(R"(^(?:BitBlt|StretchBlt) (-?\d+,-?\d+) (\d+x\d+) mem\d+=bitmap\((\S+) )");
  std::vector<std::string> found;
  for (const std::string& line : dc.Lines()) {
    std::smatch m;
    if (std::regex_search(line, m, blit)) found.push_back(m[3].str() + " " + m[1].str() + " " + m[2].str());
  }
  return found;
}

// The resource ids of the blits, in order.
inline std::vector<std::string> BlitIds(const RecordingDC& dc) {
  std::vector<std::string> ids;
  for (const std::string& blit : Blits(dc)) ids.push_back(blit.substr(0, blit.find(' ')));
  return ids;
}

// The target's own lines (not those of its memory device contexts) that start with one of the prefixes.
inline std::vector<std::string> TargetLines(const RecordingDC& dc, std::vector<std::string_view> prefixes) {
  std::vector<std::string> found;
  for (const std::string& line : dc.Lines())
    for (std::string_view prefix : prefixes)
      if (line.compare(0, prefix.size(), prefix) == 0) {
        found.push_back(line);
        break;
      }
  return found;
}

inline DeviceCaps PrinterCaps(int dpi = 300, int colours = 2) {
  DeviceCaps caps;
  caps.technology = DT_RASPRINTER;
  caps.logPixelsX = caps.logPixelsY = dpi;
  caps.numColors = colours;
  caps.bitsPixel = colours == 2 ? 1 : 32;
  return caps;
}

class SymbolDrawTest : public ::testing::Test {
 protected:
  SymbolDrawTest() { ResetAll(); }
  ~SymbolDrawTest() override { ResetAll(); }

  static void ResetAll() {
    ResetSymbolCache();
    ResetCommonGlobals();
    ResetViewServices();
    ResetAppServices();
    ResetGdiFaults();
  }

  // The texts of the message boxes shown so far.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const FakeUiPort::Message& m : ui.Messages()) texts.push_back(m.text);
    return texts;
  }

  FakeSymbolLoader loader;
  ScopedSymbolLoader loaderScope{loader};
  FakeUiPort ui;
  ScopedUiPort uiScope{ui};
  RecordingDC screen;
  RecordingDC printer{PrinterCaps(), true};
};

// The end of a message text, from its last opening parenthesis.
inline std::string Ending(const std::string& text) {
  const size_t open = text.rfind('(');
  return open == std::string::npos ? text : text.substr(open);
}
