#pragma once
// What the score view needs of the window it lives in: the client size, the
// scroll bars, invalidation, the caret, timers, the mouse cursor, a device
// context to measure with, and the main frame. The Qt widget implements it;
// tests use FakeViewHost. The view never reaches a window any other way.

#include <string>

#include "platform/CString.h"
#include "platform/Caret.h"
#include "platform/Geometry.h"
#include "platform/Timers.h"
#include "platform/WinTypes.h"

class CDC;
class CStavlinView;
class MidiOutPort;
class CMaxMidiIn;
class CMaxMidiSync;

// The main frame as a score view sees it: the bars it shows and hides, the
// cached active score view, menu texts set by command, and the toolboxes.
class KFrameServices {
 public:
  virtual ~KFrameServices() = default;
  virtual void SetActiveScoreView(CStavlinView* view) = 0;
  virtual CStavlinView* GetActiveScoreView() const = 0;
  virtual void ShowMainToolbar(int show) = 0;
  virtual void ShowExtraToolsToolbar(int show) = 0;
  virtual void ShowStatusBar(int show) = 0;
  virtual void RefreshToolboxes() = 0;
  // Replaces the text of the menu item with the command id.
  virtual void SetMenuItemText(UINT commandId, const CString& text) = 0;
  // The frame window's rectangle (for placing a child window inside it).
  virtual RECT GetFrameRect() const = 0;
  // Whether the fretboard or another toolbox kind is shown.
  virtual bool IsToolBoxShown(int kind) const = 0;
  // A key or click the view handled directly (not through a command) is
  // done: menus, toolbars and status panes follow the view's new state.
  virtual void AfterViewInput() {}
  // Opens a new plain-text document window holding the text (Windows-1252,
  // lines ended by CR LF) under the title (a file name such as "song.abc"),
  // marked as changed; false when the frame has no such windows.
  virtual bool OpenTextDocument(const CString& title, const CString& text) { return false; }
  // The MIDI output that sounds a note picked on the fretboard or keyboard;
  // null when there is none (the note is then only entered).
  virtual MidiOutPort* PreviewOutput() { return nullptr; }
  // The MIDI output that plays the score; null when there is none (the
  // music then plays silently, the caret still following it).
  virtual MidiOutPort* PlayOutput() { return nullptr; }
  // Why the chosen output cannot sound (it is not there, would not open or
  // went away while open): a message for the user; empty when it can, or
  // when no output was ever chosen.
  virtual std::string PlayOutputProblem() { return {}; }
  // Marks a note that sounds (on 1) or stops (on 0) on the fretboard and the
  // piano keyboard toolboxes; a negative note clears every mark.
  virtual void ShowPlayedNote(int on, int note, int string, int fret) {}
  // The MIDI input and the sync timer that live recording opens and starts;
  // null when the frame has none.
  virtual CMaxMidiIn* LiveInput() { return nullptr; }
  virtual CMaxMidiSync* LiveSync() { return nullptr; }
  // The prompt pane of the status bar shows the text at once (an empty text
  // clears it); used while a long command runs.
  virtual void SetStatusMessage(const CString& text) {}
  // The wait cursor over the program's windows while a long command runs;
  // each Begin is matched by an End.
  virtual void BeginWaitCursor() {}
  virtual void EndWaitCursor() {}
};

class KViewHost {
 public:
  virtual ~KViewHost() = default;

  // The client area, (0, 0) at its top-left.
  virtual RECT GetClientRect() const = 0;

  // Scroll bars: the logical size, and the page and line steps.
  virtual void SetScrollSizes(SIZE total, SIZE page, SIZE line) = 0;
  virtual SIZE GetTotalSize() const = 0;
  virtual POINT GetScrollPosition() const = 0;
  // Moves the scroll bars (clamped to their range) and the contents with them.
  virtual void ScrollToPosition(POINT position) = 0;

  // A part (client coordinates) to repaint; null for everything.
  virtual void InvalidateRect(const RECT* rect, BOOL erase) = 0;

  virtual KCaret& Caret() = 0;
  virtual TimerHost& Timers() = 0;

  // Mouse cursor by resource id (0: the arrow).
  virtual void SetCursorId(int id) = 0;

  // A device context like the screen's, for measuring text during layout
  // (owned by the host; valid until the next call).
  virtual CDC* GetMeasureDC() = 0;

  // Asks the window to close its document once the current command is done
  // (the framework's posted ID_FILE_CLOSE).
  virtual void PostCloseDocument() = 0;

  // Places and sizes the child frame that holds the view (MDI client units).
  virtual void PlaceChildFrame(int x, int y, int width, int height) = 0;
  // The child frame's rectangle in the MDI client.
  virtual RECT GetChildFrameRect() const = 0;
  // The title the score's window shows (its file name, or the name an
  // unsaved score was given); empty when there is no such window.
  virtual CString GetWindowTitle() const { return {}; }

  // The main frame; null when the view has none (tests, start-up).
  virtual KFrameServices* Frame() = 0;

  // The window takes the keyboard focus.
  virtual void TakeFocus() {}
};
