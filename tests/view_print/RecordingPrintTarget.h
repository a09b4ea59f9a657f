#pragma once
// A printer for tests: pages of recorded drawing calls (RecordingDC), on a
// page of 8 x 10.5 inches at 360 dots per inch (11 x 7.5 in landscape).

#include <string>
#include <vector>

#include "platform/PrintJob.h"
#include "platform/RecordingDC.h"

class RecordingPrintTarget : public KPrintTarget {
 public:
  RecordingPrintTarget() : m_dc(PageCaps(DMORIENT_PORTRAIT), true) {}

  static DeviceCaps PageCaps(int orientation) {
    DeviceCaps caps;
    caps.technology = DT_RASPRINTER;
    caps.logPixelsX = caps.logPixelsY = 360;
    const bool landscape = orientation == DMORIENT_LANDSCAPE;
    caps.horzRes = landscape ? 3780 : 2880;
    caps.vertRes = landscape ? 2880 : 3780;
    return caps;
  }

  DeviceCaps Caps() const override { return PageCaps(orientation); }
  int GetOrientation() const override { return orientation; }
  void SetOrientation(int value) override {
    orientation = value;
    ++orientationChanges;
  }
  CDC* BeginPainting() override {
    painting = true;
    m_dc.Clear();
    return &m_dc;
  }
  bool NewPage() override {
    pages.push_back(m_dc.Lines());
    m_dc.Clear();
    return true;
  }
  bool EndPainting() override {
    pages.push_back(m_dc.Lines());
    painting = false;
    return true;
  }

  // The page number text drawn on each page ("Page 1 - 2"), without the
  // blanks after it; empty for a page without one.
  std::vector<std::string> PageNumbers(const std::string& prefix) const {
    std::vector<std::string> numbers;
    for (const std::vector<std::string>& page : pages) {
      std::string found;
      for (const std::string& line : page) {
        const size_t at = line.find("\"" + prefix);
        if (at == std::string::npos) continue;
        const size_t end = line.find('"', at + 1);
        found = line.substr(at + 1, end - at - 1);
        while (!found.empty() && found.back() == ' ') found.pop_back();
        break;
      }
      numbers.push_back(found);
    }
    return numbers;
  }

  int orientation = DMORIENT_PORTRAIT;
  int orientationChanges = 0;
  bool painting = false;
  std::vector<std::vector<std::string>> pages;

 private:
  RecordingDC m_dc;
};
