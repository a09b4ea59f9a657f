#include "ReliabilityTestSupport.h"

#include <fstream>
#include <iterator>

#include "SampleScores.h"
#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/DocLineHooks.h"
#include "doc/ResetProgramGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "model/ModelGlobals.h"
#include "platform/qt/GsfCompoundFile.h"

void ReliabilityTest::ResetProgram() { ResetProgramGlobals(); }

void ReliabilityTest::SetUp() {
  folder_.emplace("reliability");
  dir_ = folder_->Path();
  ResetProgram();
  PrepareRealScoreClasses();
  uiScope_ = std::make_unique<ScopedUiPort>(ui_);
  previousContainer_ = SetCurrentCompoundFile(std::make_unique<KGsfCompoundFile>());
}

void ReliabilityTest::TearDown() {
  SetCurrentCompoundFile(std::move(previousContainer_));
  uiScope_.reset();
  SetDocLineHooks(KDocLineHooks{});
  ResetProgram();
  folder_.reset();
}

std::vector<std::uint8_t> ReliabilityTest::Contents(const std::string& path) {
  KContainerRead read = CurrentCompoundFile().Read(path);
  return read.ok() ? read.contents : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> ReliabilityTest::FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
