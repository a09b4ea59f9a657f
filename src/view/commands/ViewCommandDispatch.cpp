// Runs the score view's menu commands. Each runs inside a KCommandScope, so
// that the autosave tick never saves in the middle of a command. A command
// that its enabling rule disables is consumed without running, as when the
// framework meets a disabled command through an accelerator.

#include "platform/Clipboard.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace {

using namespace cmd;

// The line type that each Insert line command inserts; -1 for the commands
// of the range that do more than insert one line (the keyboard staff).
int InsertedLineType(UINT id) {
  static constexpr int kTypes[] = {
      5,   // 41040 text line
      0,   // 41041 treble
      1,   // 41042 bass
      9,   // 41043 alto
      10,  // 41044 tenor
      11,  // 41045 8va treble
      12,  // 41046 8vb treble
      13,  // 41047 drums
      16,  // 41048 percussion line
      14,  // 41049 no clef
      -1,  // 41050 keyboard (treble + bass) staff: a line group
      2,   // 41051 tablature
      15,  // 41052 bass tablature
      3,   // 41053 rhythm
      4,   // 41054 chord names and diagrams
  };
  if (id < kInsertTextLine || id > kInsertChordLine) return -1;
  return kTypes[id - kInsertTextLine];
}

// Options/Note Style, Auto-Join and the other entry switches, and the note
// tail commands.
bool IsNoteOrEntryCommand(UINT id) {
  if (id >= kNoteStyleFirst && id <= kNoteStyleLast) return true;
  if (id >= kOptionsAutoJoinToggle && id <= kOptionsAutoJoinLast) return true;
  switch (id) {
    case kInsertAlternateSymbol:
    case kActionsJoinTails:
    case kActionsUnjoinTails:
    case kOptionsArrowsWithinStaff:
    case kOptionsArrowCursor:
    case kOptionsKeyboardSetsCursor:
    case kOptionsAdvanceCaret:
    case kOptionsAutoWrap:
    case kOptionsAutoBars:
    case kOptionsStemNone:
    case kOptionsStemInward:
    case kOptionsStemOutward:
      return true;
    default:
      return false;
  }
}

void RunNoteOrEntryCommand(CStavlinView& view, UINT id) {
  if ((id >= kNoteStyleFirst && id <= kNoteStyleLast) || id == kInsertAlternateSymbol) {
    view.OnOptionsNoteStyle(id);
    return;
  }
  if (id >= kOptionsAutoJoinToggle && id <= kOptionsAutoJoinLast) {
    view.OnOptionsAutoJoinClusters(id);
    return;
  }
  switch (id) {
    case kActionsJoinTails:
      view.OnActionsJoinTails();
      break;
    case kActionsUnjoinTails:
      view.OnActionsUnjoinTails();
      break;
    case kOptionsArrowsWithinStaff:
      view.OnOptionsArrowsMoveWithinStaff();
      break;
    case kOptionsArrowCursor:
      view.OnOptionsUseArrowCursor();
      break;
    case kOptionsKeyboardSetsCursor:
      view.OnOptionsKeyboardSetsCursorSymbol();
      break;
    case kOptionsAdvanceCaret:
      view.OnOptionsAdvanceCaret();
      break;
    case kOptionsAutoWrap:
      view.OnOptionsAutoWrapMusic();
      break;
    case kOptionsAutoBars:
      view.OnOptionsAutoBarInsertion();
      break;
    case kOptionsStemNone:
      view.OnOptionsAutoStemNone();
      break;
    case kOptionsStemInward:
      view.OnOptionsAutoStemInward();
      break;
    case kOptionsStemOutward:
      view.OnOptionsAutoStemOutward();
      break;
    default:
      break;
  }
}

// Edit/Undo, Redo, the undo switch and the clipboard commands.
bool RunEditCommand(CStavlinView& view, UINT id) {
  switch (id) {
    case kEditUndo:
      view.OnEditUndo();
      return true;
    case kEditRedo:
      view.OnEditRedo();
      return true;
    case kEditUndoSwitch:
      view.OnEditEnableDisableUndo();
      return true;
    case kEditCopy:
      view.OnEditCopy();
      return true;
    case kEditCut:
      view.OnEditCut();
      return true;
    case kEditRemove:
      view.OnEditRemove();
      return true;
    case kEditPaste:
      view.OnEditPaste();
      return true;
    case kEditPasteOver:
      view.OnEditPasteOver();
      return true;
    default:
      return false;
  }
}

bool IsEditCommand(UINT id) {
  return id == kEditUndo || id == kEditRedo || id == kEditUndoSwitch || id == kEditCopy || id == kEditCut ||
         id == kEditRemove || id == kEditPaste || id == kEditPasteOver;
}

bool IsViewCommand(UINT id) {
  if (IsEditCommand(id)) return true;
  if (id >= kViewShowAll && id <= kViewShowRhythm) return true;
  if (id >= kInsertExtendedFirst && id <= kInsertTextString) return true;
  if (IsNoteOrEntryCommand(id)) return true;
  if (InsertedLineType(id) >= 0) return true;
  if (id >= kInsertPreviousFirst && id <= kInsertPreviousLast) return true;
  switch (id) {
    case kInsertChord:
    case kEditReadOnly:
    case kViewRefresh:
    case kFileAutoSave:
    case kScrollToggle:
    case kViewTextBigger:
    case kViewTextSmaller:
    case kViewTextOriginal:
    case kViewSymbolSize:
    case kViewTabStems:
      return true;
    default:
      return false;
  }
}

void Run(CStavlinView& view, UINT id) {
  if (RunEditCommand(view, id)) return;
  if (id >= kViewShowAll && id <= kViewShowRhythm) {
    view.RunLineTypeCommand(id);
    return;
  }
  if (IsNoteOrEntryCommand(id)) {
    RunNoteOrEntryCommand(view, id);
    return;
  }
  if (id >= kInsertExtendedFirst && id <= kInsertTextString) {
    view.OnInsertExtendedObject(id);
    return;
  }
  if (id >= kInsertPreviousFirst && id <= kInsertPreviousLast) {
    view.OnInsertPreviousObject(id);
    return;
  }
  const int lineType = InsertedLineType(id);
  if (lineType >= 0) {
    view.InsertLineOfType(lineType, 0);
    return;
  }
  switch (id) {
    case kInsertChord:
      view.OnInsertChord();
      break;
    case kEditReadOnly:
      view.OnEditReadOnly();
      break;
    case kViewRefresh:
      view.OnViewRefresh();
      break;
    case kFileAutoSave:
      view.OnFileAutoSave();
      break;
    case kScrollToggle:
      view.OnActionsToggleScroll();
      break;
    case kViewTextBigger:
      view.OnViewTextBigger();
      break;
    case kViewTextSmaller:
      view.OnViewTextSmaller();
      break;
    case kViewTextOriginal:
      view.OnViewTextRestore();
      break;
    case kViewSymbolSize:
      view.OnViewToggleSymbolSize();
      break;
    case kViewTabStems:
      view.OnViewShowStemsOnTab();
      break;
    default:
      break;
  }
}

}  // namespace

bool ExecuteViewCommand(CStavlinView& view, UINT id) {
  if (!IsViewCommand(id)) return false;
  // Of the application's state only the clipboard's formats matter here
  // (Paste and Paste Over); no rule of these reads the frame's bars.
  KAppCommandState app;
  if (id == kEditPaste || id == kEditPasteOver) {
    app.clipboardHasScore = IsClipboardFormatAvailable(StavlinClipFormat()) != FALSE;
    app.clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
  }
  if (!QueryCommand(id, &view, app).enabled) return true;
  KCommandScope scope(&view);
  Run(view, id);
  return true;
}
