#include "ViewLifeTestSupport.h"

#include "chords/ChordDictionary.h"
#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/LineClasses.h"
#include "model/DocServices.h"
#include "model/LineServices.h"
#include "model/ModelGlobals.h"
#include "platform/GdiFaults.h"
#include "view/core/ResetViewGlobals.h"
#include "view/core/ViewMirrors.h"

void ViewLifeTest::ResetAll() {
  ResetViewGlobals();
  ResetSymbolCache();
  ResetGdiFaults();
  ResetChordDictionary();
}

void ViewLifeTest::SetUp() {
  ResetAll();
  RegisterLineClasses();
  previousHooks_ = SetDocLineHooks(StavlinLineHooks());
  uiScope_ = std::make_unique<ScopedUiPort>(ui_);
  loaderScope_ = std::make_unique<ScopedSymbolLoader>(symbols_);
  host_.frame = &frame_;
  // The chord file was read at start-up without problems.
  g_ChordFileErrors = 0;
  doc_ = std::make_unique<CStavlinDoc>();
}

void ViewLifeTest::TearDown() {
  view_.reset();
  doc_.reset();
  loaderScope_.reset();
  uiScope_.reset();
  SetDocLineHooks(previousHooks_);
  ResetAll();
}

CStavlinView& ViewLifeTest::View() {
  if (!view_) view_ = std::make_unique<CStavlinView>(doc_.get(), &host_);
  return *view_;
}

CStavlinView& ViewLifeTest::UpdatedView() {
  CStavlinView& view = View();
  view.OnInitialUpdate();
  return view;
}

void ViewLifeTest::AddTextLines(const std::vector<const char*>& texts) {
  for (const char* text : texts) doc_->AddTailLine(new KStrLine(text, 0));
}

void ViewLifeTest::AddStaffLine(int type) { doc_->AddTailLine(new KStaffLine(type, 0, 0)); }
