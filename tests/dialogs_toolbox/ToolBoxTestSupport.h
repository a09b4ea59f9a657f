#pragma once
// A window for a toolbox under test: it records the picks, captions and
// sizes the toolbox asks for. Pictures come from a fake loader of the right
// sizes; messages and beeps go to a fake UI port.

#include <gtest/gtest.h>

#include <vector>

#include "common/Globals.h"
#include "dialogs/toolbox/KToolBox.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "platform/FakeSymbolLoader.h"
#include "platform/FakeUiPort.h"

namespace toolboxtest {

struct PickRecord {
  int code;
  int boxKind;
  int noteValue;
  int string;
  int fret;
};

class RecordingHost : public KToolBoxHost {
 public:
  void ResizeClient(SIZE client) override { sizes.push_back(client); }
  void Invalidate() override { ++invalidations; }
  void SetCaption(const CString& text) override { caption = text; }
  void Pick(int code, int boxKind, int noteValue, int string, int fret) override {
    picks.push_back({code, boxKind, noteValue, string, fret});
  }

  std::vector<PickRecord> picks;
  std::vector<SIZE> sizes;
  CString caption;
  int invalidations = 0;
};

class ToolBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetToolBoxGlobals();
    ResetCommonGlobals();
    for (int kind = 0; kind < toolbox::kKindCount; ++kind) {
      const toolbox::KToolBoxKind& k = toolbox::KindInfo(kind);
      loader.SetSize(k.pictureId, k.pictureWidth, std::max(k.pictureHeight, 1));
    }
  }
  void TearDown() override {
    ResetToolBoxGlobals();
    ResetCommonGlobals();
  }

  FakeUiPort ui;
  ScopedUiPort installedUi{ui};
  FakeSymbolLoader loader;
  ScopedSymbolLoader installedLoader{loader};
  RecordingHost host;
  KToolBoxState state;
};

}  // namespace toolboxtest
