#pragma once
// A fixture for tests that draw lines onto a real image with the program's
// symbol pictures: the application object made, every program-wide value that
// drawing reads at its start value before and after each test, the smallest
// symbol size selected.

#include <gtest/gtest.h>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "model/DocServices.h"
#include "model/LineServices.h"
#include "model/ModelGlobals.h"
#include "platform/SymbolLoader.h"
#include "platform/qt/KQtSymbolLoader.h"
#include "platform_qt/WidgetTestApp.h"

class SymbolImageTest : public ::testing::Test {
 protected:
  SymbolImageTest() {
    WidgetTestApp();
    ResetDrawing();
    SelectSymbolSize(0, 0);
  }
  ~SymbolImageTest() override { ResetDrawing(); }
  static void ResetDrawing() {
    ResetSymbolCache();
    ResetCommonGlobals();
    ResetViewServices();
    ResetAppServices();
    ResetDocServices();
    ResetModelGlobals();
    ResetLineServices();
  }

  KQtSymbolLoader loader{QStringLiteral(STAVLIN_RESOURCE_DIR)};
  ScopedSymbolLoader scope{loader};
};
