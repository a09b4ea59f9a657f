#pragma once
// Program-wide values that the score document owns: copies of the current
// score's name and size for the status bar and dialogs, the score-changed
// flag, the chord-diagram scale in use, requests and notices of the file
// road, and the Ad-Tab mode last chosen in this run. ResetDocGlobals()
// restores their start values (tests call it).
//
// The document also sets values that other modules own: the file version
// being read and its display text (common), the tablature string spacing
// (model), the fonts in use (doc/pref_values/Preferences.h) and the staff spacing of new
// lines (model/LineServices.h, through SetNewLineSpacing below).

#include "platform/CString.h"

// The file-name and folder parts of the current score's path ("- Not yet
// saved -" for a score never saved).
extern CString g_docFileName;
extern CString g_docFileFolder;
// Size in bytes of the score file last opened.
extern long long g_docFileSize;
// Set while the current score has changes that are not saved.
extern int g_scoreChanged;
// Chord-diagram width and height in percent, from the score last read.
extern int g_diagramWidth;
extern int g_diagramHeight;
// Set when the path of a score being opened asks for its line groups to be
// undone (the name contains "UndoLineGroups"); the line-group check reads it.
extern int g_undoLineGroupsRequested;
// Set once the notice about embedded objects that are not kept was shown.
extern int g_embeddedItemsNoticeShown;
// The Ad-Tab display mode last chosen (0 none, 1 outline, 2 colour symbols,
// 3 colour numbers only); new scores start with it.
extern int g_adTabMode;

// Sets the indent and the spaces above and below staffs and tablature that
// new lines take (the score's staff values).
void SetNewLineSpacing(int indent, int staffAbove, int staffBelow, int tabAbove, int tabBelow);

// Restores the start values of the values declared above.
void ResetDocGlobals();
