#pragma once
// The program-wide mirrors of the focused score view's state. The view that
// has the focus publishes them (and layout and caret moves keep them
// current); the status bar, the dialogs and the commands read them instead
// of reaching into a view.

#include "platform/CString.h"

struct KViewMirrors {
  int currentLine = 0;      // display line of the caret
  int caretColumn = 0;
  int currentType = 0;      // line type code of the caret's line
  int currentPage = 0;      // page code / 10 of the caret's line
  int lineCount = 0;        // display lines
  int pageCount = 0;        // page code of the last display line / 10
  int autoScroll = 0;       // auto-scroll mode is on
  int scrollLines = 0;      // lines per auto-scroll step (mod 100)
  int scrollSeconds = 0;    // auto-scroll interval, whole seconds
  int autosaveState = 1;    // 0 read-only, 2 autosave on, 1 off
  int mutualTranslation = 0;
  int independentEditing = 0;
  int overwrite = 0;        // entry-mode word: overwrite on
  int noteStyle = 0;        // 0..7
  int alternateSymbols = 0;
  int autoWrap = 0;
  int autoBars = 0;
  int autoJoin = 0;
  int stemDirection = 0;    // 0 free, 1 in, 2 out
  int documentModified = 0;
  int fileVersion = 0;
  CString fileName;
  CString fileFolder;
};

extern KViewMirrors g_viewMirrors;
// Restores the start values (tests call it).
void ResetViewMirrors();
