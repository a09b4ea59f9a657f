#pragma once
// A score view over a document built in the test, in a fake window, with
// every program-wide value it reads put back before and after each test.
// Line makers give lines whose heights are easy to work out by hand:
//   staff   spaces 10 above and 12 below: 10 + 12 + 25 = 47 high
//   tab     spaces 14 above and 12 below: 14 + 12 + 5 x 12 + 1 = 87 high
//   text    font slot 1 is 16 high (13), slot 2 is 40 high (37, a title)
// and every display line adds the line gap of 4 pixels.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "platform/FakeUiPort.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"

class KListLine;

class LayoutFixture : public ::testing::Test {
 protected:
  static constexpr int kGap = 4;
  static constexpr int kStaffHeight = 47;
  static constexpr int kTabHeight = 87;
  static constexpr DWORD kHidden = 2;
  static constexpr DWORD kPageBreak = 4096;
  static constexpr DWORD kTitle = 32768;

  void SetUp() override;
  void TearDown() override;
  static void ResetGlobals();

  // A treble staff with `bars` bars of one note each.
  POSITION AddStaff(int bars = 1, DWORD flags = 0);
  POSITION AddTab(int bars = 1);
  POSITION AddText(const char* text, int fontSlot, DWORD flags = 0);
  POSITION AddRhythm(int fontHeight);
  POSITION AddChordLine(int nameFontHeight);
  // Puts the lines at the positions (top to bottom) into a new group.
  void Group(int id, const std::vector<POSITION>& positions);

  KLineObj* LineAt(POSITION position) const { return doc_.GetLineAt(position); }
  KListLine* ListLineAt(POSITION position) const;

  int Layout() { return view_->RebuildDisplayLines(0); }
  const DisplayLine& Entry(int i) const { return view_->GetDisplayEntry(i); }
  std::vector<int> PageCodes() const;
  std::vector<int> FirstBars() const;

  // A page of 200 x 800 layout pixels: printer and screen at 96 dpi, no
  // margins, 260 printer pixels high less the 60 of the page-number bands.
  void UseSmallPage();

  FakeUiPort ui_;
  std::unique_ptr<ScopedUiPort> uiScope_;
  CStavlinDoc doc_;
  FakeViewHost host_;
  std::unique_ptr<CStavlinView> view_;
};

// A test name from free text: letters and digits kept, anything else starts
// a new word.
std::string CaseName(const std::string& text);
