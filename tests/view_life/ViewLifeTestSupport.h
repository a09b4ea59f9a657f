#pragma once
// A score view in a fake window over a real document: every program-wide
// value at its start value around each test, the program's line classes and
// document hooks installed, a scripted UI port, a symbol loader that always
// loads, and a fake main frame.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"

class ViewLifeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  static void ResetAll();

  // A view on the fixture's document and window (made once).
  CStavlinView& View();
  // The document's settings before the view takes them.
  ScoreSettings& Settings() { return doc_->settings; }
  // Text lines with the texts, appended to the document.
  void AddTextLines(const std::vector<const char*>& texts);
  // A staff line of the type, appended to the document.
  void AddStaffLine(int type);
  // The view after its first update.
  CStavlinView& UpdatedView();

  FakeUiPort ui_;
  FakeSymbolLoader symbols_;
  FakeFrameServices frame_;
  FakeViewHost host_;
  std::unique_ptr<CStavlinDoc> doc_;
  std::unique_ptr<CStavlinView> view_;

 private:
  std::unique_ptr<ScopedUiPort> uiScope_;
  std::unique_ptr<ScopedSymbolLoader> loaderScope_;
  KDocLineHooks previousHooks_;
};
