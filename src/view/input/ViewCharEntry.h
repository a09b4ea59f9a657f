#pragma once
// One typed keystroke as the typed-entry files (ViewChar*.cpp) pass it
// between them: the guards and refresh of OnChar (ViewChar.cpp), the line
// keys that join, remove and split lines (ViewCharLines.cpp), text entry
// (ViewCharText.cpp) and symbol entry (ViewCharSymbols.cpp).

#include <vector>

#include "model/KLineObj.h"
#include "platform/Position.h"
#include "platform/WinTypes.h"
#include "view/core/ViewLayoutCache.h"

class CStavlinView;

namespace view_char {

// Undo kinds recorded by typed entry.
inline constexpr int kUndoLine = 0;
inline constexpr int kUndoGroup = 1;
inline constexpr int kUndoRegion = 4;
inline constexpr int kUndoGroupRegion = 5;
inline constexpr int kUndoLineList = 6;
inline constexpr int kUndoTyping = 7;

// Edit codes of line entry.
inline constexpr int kSpaceCode = 32761;
inline constexpr int kBackspaceCode = 32762;
inline constexpr int kTabCode = 32763;
// A caret column that tells the refresh to leave the caret where it is.
inline constexpr int kKeepColumn = 9990;

struct Keystroke {
  int ch = 0;                   // the typed character; the symbol code once translated
  UINT flags = 0;               // OnChar's nFlags
  KLineObj* line = nullptr;     // the current line
  POSITION position = nullptr;  // its place in the document's line list
  KLinePair pair{0, -1};        // the caret step and the first column to redraw
  int hint = 0;                 // the refresh hint; 0 takes the line from the caret
  int code = -1;                // the symbol code entered; -1 for text
  int caretColumn = kKeepColumn;
  // The lines of the current line's group (or the line alone) as drawn
  // before the entry: each with the first column its rows were taken from
  // and those rows (CStavlinView::DrawnRows).
  std::vector<KLineDamage> before;
};

// Backspace at column 0: removes an empty line or joins the line to the one
// above. Refreshes by itself.
void JoinOrRemoveLine(CStavlinView& view, Keystroke& key);
// Enter: splits the line (or its line group) at the caret. Refreshes by itself.
void SplitLine(CStavlinView& view, Keystroke& key);
// Shift+Tab on a text line: the blanks that line the next entry up under
// the next note of the notation line above. false when it beeped.
bool AlignTextUnderNotes(CStavlinView& view, Keystroke& key);
// Text entry on a text line.
void EnterText(CStavlinView& view, Keystroke& key);
// Symbol entry on staff, tablature, rhythm and chord lines; false when the
// keystroke ends without an entry (a refusal, a caret move by letter).
bool EnterSymbols(CStavlinView& view, Keystroke& key);
// The steps after every entry: caret, widths, scroll size, refresh,
// autosave count and automatic wrap.
void FinishEntry(CStavlinView& view, Keystroke& key);
// The note preview after an entry: the character typed and where it went.
void PreviewTypedNote(CStavlinView& view, UINT typed, int displayLine, int column);

}  // namespace view_char
