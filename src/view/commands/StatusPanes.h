#pragma once
// The texts of the status bar's information panes, worked out from the
// program-wide mirrors of the active score view (view/core/ViewMirrors.h) so that
// the shell only shows them. Qt-free.

#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"
#include "view/core/ViewMirrors.h"

// The pane ids in their order on the bar, after the stretching prompt pane:
// note style, entry options, caret position, mode, autosave, overwrite, clock.
const std::vector<UINT>& StatusPaneIds();

// The time of day shown by the clock pane.
struct KClockTime {
  int hour = 0;  // 0..23
  int minute = 0;
};
// The current local time.
KClockTime LocalClockTime();

// What the panes read besides the mirrors.
struct KStatusInputs {
  bool childActive = false;     // an MDI child window is active
  bool clockOn = false;         // the clock option
  bool twentyFourHour = false;  // the program's words are localised: 24-hour clock
  KClockTime time;
};

struct KStatusPane {
  bool enabled = false;  // a disabled pane shows empty
  CString text;
};

// The pane with the id (5600..5606); disabled and empty for another id.
KStatusPane StatusPaneText(UINT id, const KViewMirrors& mirrors, const KStatusInputs& inputs);

// "%2d:%02d %s": 12-hour time with "AM"/"PM", or 24-hour time and no suffix.
CString FormatClock(const KClockTime& time, bool twentyFourHour);
