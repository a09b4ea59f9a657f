#pragma once
// What the key handlers of the score view share (ViewKeys*.cpp): the state
// of one key press on its way from the key's own step to the common caret
// movement and refresh, and small helpers over the view's fields.

#include "platform/WinTypes.h"
#include "view/CStavlinView.h"

class KLineObj;

namespace viewkeys {

// "No target" values of a key's caret target.
constexpr int kNoColumn = 9990;
constexpr int kNoLine = 9999;
constexpr int kNoType = 9991;

// Undo kinds recorded by the keys.
constexpr int kUndoLine = 0;
constexpr int kUndoGroup = 1;
constexpr int kUndoRegion = 4;
constexpr int kUndoGroupRegion = 5;
constexpr int kUndoLineList = 6;

// The keys' message and codes.
constexpr UINT kReadOnlyQuestion = 7094;
constexpr int kBackspaceCode = 32762;

// One key press.
struct KeyPress {
  UINT key = 0;
  bool shift = false;
  bool ctrl = false;
  bool toolbox = false;  // sent by the symbol toolbox: no Shift rules, no nudges
  int hint = 0;
  int targetColumn = kNoColumn;
  int targetLine = kNoLine;
  int targetType = kNoType;
  // The target column is a column of the target line (Ctrl+Home, Ctrl+End,
  // Ctrl+Page keys), not a column whose x the caret keeps.
  bool columnOnTarget = false;
  int firstVisible = 0;  // as they were once the caret's line was scrolled into view
  int lastVisible = 0;
};

// A key is held when GetKeyState reports it down.
bool Held(int virtualKey);

// The selection's highlight is not empty.
bool HasSelectionRect(const CStavlinView& view);

// The line at the display line (null outside the table).
KLineObj* LineAt(const CStavlinView& view, int displayLine);

// The column width of a line type at the view's symbol size.
int ColumnWidthOf(const CStavlinView& view, int type);

// max(0, r - lead-in) with the lead-in (indent + content left) / 18: the
// column from which a line's refresh starts after an edit that answered r.
int RedrawColumn(const CStavlinView& view, const KLineObj* line, int r);

// Scrolls the window so that it starts at the display line found for y.
void ScrollTo(CStavlinView& view, int y);

// Read-only and auto-scroll guards of an edit: false (after a beep in
// auto-scroll mode, or when the user keeps read-only mode) when the key must
// not change the score.
bool MayEdit(CStavlinView& view);

// The common end of a key: the refresh with the key's hint, without marking
// the document modified unless the key is Delete, and a repaint when the key
// scrolled the window.
void Refresh(CStavlinView& view, const KeyPress& press);

// The common caret movement: the target column, then the move to another
// display line keeping the caret's x.
void MoveCaret(CStavlinView& view, KeyPress& press);

// The key steps. Each returns true when the caret movement and the refresh
// follow, false when the key has ended.
bool HandleHorizontal(CStavlinView& view, KeyPress& press);
bool HandleHomeEnd(CStavlinView& view, KeyPress& press);
bool HandlePageKeys(CStavlinView& view, KeyPress& press);
bool HandleVertical(CStavlinView& view, KeyPress& press);

// Delete, with or without a selection (ViewKeysDelete.cpp).
void HandleDelete(CStavlinView& view, KeyPress& press);
// Shift+Ctrl+Up/Down on a staff or tablature line (ViewKeysEdit.cpp).
void MoveNoteAtCaret(CStavlinView& view, KeyPress& press);
// Ctrl+arrow with a selection: one edge of the highlight moves one pixel.
void NudgeSelection(CStavlinView& view, const KeyPress& press);
// Insert: overwrite mode on or off.
void ToggleOverwrite(CStavlinView& view, KeyPress& press);
// F1..F4 and F6 on a tablature line: the note styles.
void ApplyNoteStyleKey(CStavlinView& view, KeyPress& press);

// Set while an Alt key has recorded the undo step that covers its group
// edits, so that HandleAltKeyEdit records no second one.
extern int g_altUndoRecorded;

}  // namespace viewkeys
