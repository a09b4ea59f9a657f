#include "doc/ResetProgramGlobals.h"

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "doc/CStavlinDocGlobals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLineDefaults.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "model/ModelGlobals.h"

void ResetProgramGlobals() {
  ResetPreferences();
  ResetAppServices();
  ResetCommonGlobals();
  ResetViewServices();
  ResetDocServices();
  ResetModelGlobals();
  ResetDocGlobals();
  ResetLineServices();
  ResetChordPicLineDefaults();
  ResetLineGroupServices();
}
