#pragma once
// A score view in a fake window over a real document: the program's line
// classes, a scripted UI port, the real score-file container, every
// program-wide value at its start, and a display table filled by hand (one
// entry per line added, stacked from the top).

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/Globals.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "doc/pref_values/Preferences.h"
#include "lines/LineClasses.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "platform/CompoundFile.h"
#include "platform/FakeUiPort.h"
#include "platform/qt/GsfCompoundFile.h"
#include "view/CStavlinView.h"
#include "view/core/FakeViewHost.h"
#include "view/core/ViewMirrors.h"

class ViewTest : public ::testing::Test {
 protected:
  ViewTest() {
    ResetAll();
    RegisterLineClasses();
    previousHooks_ = SetDocLineHooks(StavlinLineHooks());
    previousContainer_ = SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
    host.timers.SetHandler([this](UINT_PTR id) { view.OnTimer(id); });
    host.total = SIZE{100000, 100000};
    view.m_textFonts[0] = Font(20);
  }
  ~ViewTest() override {
    SetDocLineHooks(previousHooks_);
    SetCurrentCompoundFile(std::move(previousContainer_));
    ResetAll();
  }

  static void ResetAll() {
    ResetCommonGlobals();
    ResetViewServices();
    ResetViewMirrors();
    ResetDocServices();
    ResetPreferences();
    ResetSymbolCache();
    g_noModify = 0;
    g_relayoutOnPaint = 0;
    g_commandDepth = 0;
    g_repaintOnLargeScroll = 1;
  }

  // A text-line font of the cell height.
  static LOGFONT Font(int height) {
    LOGFONT font{};
    font.lfHeight = height;
    font.lfWeight = 400;
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", "Arial");
    return font;
  }

  // Adds the line to the score (which owns it) and a display entry of the
  // height below the last one. Returns the display line.
  int AddLine(KLineObj* line, int height) {
    const POSITION at = document.AddTailLine(line);
    const int index = view.m_lineCount;
    const int top = index == 0 ? 0 : view.m_display[static_cast<size_t>(index - 1)].bottom + 1;
    DisplayLine& entry = view.m_display[static_cast<size_t>(index)];
    entry = DisplayLine{at, 0, line->GetType(), top, top + height};
    ++view.m_lineCount;
    return index;
  }
  const DisplayLine& Entry(int i) const { return view.GetDisplayEntry(i); }

  FakeUiPort ui;
  ScopedUiPort uiScope{ui};
  CStavlinDoc document;
  FakeViewHost host;
  CStavlinView view{&document, &host};

 private:
  KDocLineHooks previousHooks_;
  std::unique_ptr<KCompoundFile> previousContainer_;
};
