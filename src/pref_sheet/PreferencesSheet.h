#pragma once
// File/Set Preferences: the eight preferences pages in one property sheet,
// filled from the program-wide preference variables (doc/pref_values/Preferences.h) and,
// on OK, stored back into them. Storing is a pure function of the pages'
// values and the variables: it says which preference groups changed, and
// what the program around it must then do (move the main window, show or
// hide bars, lay the scores out again...); writing the groups and doing those
// things is the caller's (RunPreferencesSheet, and the main frame).

#include <functional>
#include <vector>

#include "dialogs/pref_pages/KPropChord.h"
#include "dialogs/pref_pages/KPropDocLayPrt.h"
#include "dialogs/pref_pages/KPropMIDI.h"
#include "dialogs/pref_pages/KPropMIDIInput.h"
#include "dialogs/pref_pages/KPropOptAsvVw.h"
#include "dialogs/pref_pages/KPropSclTxfTrns.h"
#include "dialogs/pref_pages/KPropStfDrmTxt.h"
#include "dialogs/pref_pages/KPropTab.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/Preferences.h"
#include "platform/PropertySheet.h"

// What the sheet reads from the program around it.
struct KPrefSheetContext {
  // The main window (width, height, left, top) for its Current Size button
  // and the limits of new score windows, and the last score window's.
  KWindowPlacement mainWindow;
  KWindowPlacement lastScoreWindow;
  int screenWidth = 1024;
  int screenHeight = 768;
  // The tunings in use, which the Tab page's buttons make the defaults.
  CString currentTuning;
  CString currentLabelledTuning;
  CString currentBassTuning;
  // Whether a folder can be made the current folder (the start folder);
  // without one, any existing folder can.
  std::function<bool(const CString& folder)> folderUsable;
};

// The sheet and its pages, in tab order.
class KPreferencesSheet {
 public:
  static constexpr UINT kSheetId = 40964;  // the command that opens it

  KPreferencesSheet();
  KPreferencesSheet(const KPreferencesSheet&) = delete;
  KPreferencesSheet& operator=(const KPreferencesSheet&) = delete;

  KPropertySheet& Sheet() { return m_sheet; }

  KPropDocLayPrt docLayPrt;
  KPropOptAsvVw optAsvVw;
  KPropStfDrmTxt stfDrmTxt;
  KPropTab tab;
  KPropChord chord;
  KPropSclTxfTrns sclTxfTrns;
  KPropMIDI midi;
  KPropMIDIInput midiInput;

 private:
  KPropertySheet m_sheet;
};

// The pages show the preference variables.
void FillPreferencePages(KPreferencesSheet& pages, const KPrefSheetContext& context);

// What storing the pages changed.
struct KPrefStoreResult {
  // The groups whose values changed, in the order they are written.
  std::vector<KPrefGroup> changed;
  // "ToolBoxPos" is written (through its full key path) because the user asked.
  bool saveToolboxPositions = false;
  bool mainWindowMoved = false;  // the main window's place changed
  bool barsChanged = false;      // toolbars, status bar or clock
  bool keepBarsAlignedChanged = false;
  bool relayout = false;  // line or tab-line spacing changed: scores are laid out again
  bool startFolderChanged = false;
  // The store could not be opened (message 7033): nothing was stored, and
  // the main window is not repainted.
  bool storeFailed = false;

  bool Changed(KPrefGroup group) const;
};

// Stores the pages' values into the preference variables, group by group;
// a group whose values did not change is left as it was.
KPrefStoreResult StorePreferencePages(const KPreferencesSheet& pages, const KPrefSheetContext& context);

// The main window's place as the first page shows it: the stored one, or,
// when none is stored, where the window is now.
KWindowPlacement ShownMainWindow(const KPrefSheetContext& context);

// The note name shown for a note number ("C4", "A#3", "Ab4"), as ParseNoteName reads it.
CString ToneNameOf(int number);

// The whole command: the sheet opens filled; on OK the preference store is
// opened (on failure message 7033, and nothing is stored), the pages are
// stored, the changed groups written. The result says what changed; on
// Cancel or failure, nothing did.
KPrefStoreResult RunPreferencesSheet(const KPrefSheetContext& context);
