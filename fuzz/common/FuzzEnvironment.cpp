#include "FuzzEnvironment.h"

#include <memory>

#include "chords/KChordLineServicesImpl.h"
#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/DocLineHooks.h"
#include "doc/ResetProgramGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "lines/KStrLineServices.h"
#include "lines/LineClasses.h"
#include "midi/LinePlayEvents.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "model/ModelGlobals.h"
#include "platform/FakeUiPort.h"
#include "platform/SettingsStore.h"
#include "platform/UiPort.h"
#include "translate/AbcReaderState.h"
#include "translate/KTextLineTranslatorImpl.h"
#include "translate/ParseTextTabOptions.h"

namespace {

struct Environment {
  FakeUiPort ui;
  ScopedUiPort scope{ui};
  KTextLineTranslatorImpl translator;

  Environment() {
    SetCurrentSettingsStore(std::make_unique<KMemorySettingsStore>());
    ResetAll();
    RegisterLineClasses();
    SetDocLineHooks(StavlinLineHooks());
    InstallChordLineServices();
    InstallLinePlayInterpreter();
    SetTextLineTranslator(&translator);
  }

  static void ResetAll() {
    ResetProgramGlobals();
    ResetAbcReaderState();
    ResetTextTabOptions();
  }
};

}  // namespace

FakeUiPort& StavlinFuzzStart() {
  // Never destroyed: the fuzzer ends the process without running exit code in
  // some paths, and the ports must outlive every target call.
  static Environment* environment = new Environment();
  Environment::ResetAll();
  environment->ui.ClearRecords();
  return environment->ui;
}
