#include "view/core/ResetViewGlobals.h"

#include "common/Globals.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "doc/ResetProgramGlobals.h"
#include "view/CStavlinView.h"
#include "view/commands/MidiFileImport.h"
#include "view/core/ViewMirrors.h"

void ResetViewGlobals() {
  ResetProgramGlobals();
  ResetViewMirrors();
  ResetToolBoxGlobals();
  g_ReportedOnce = 0;
  g_widestNotation = -1;
  g_holdWidest = 0;
  g_noModify = 0;
  g_commandDepth = 0;
  g_relayoutOnPaint = 0;
  g_mutualTranslationForNewViews = 1;
  g_midiImportMethod = 1;
}
