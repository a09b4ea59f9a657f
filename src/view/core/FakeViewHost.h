#pragma once
// A window for the score view without any window system: a client size that
// tests set, scroll bars that clamp as the framework's do, a list of
// invalidated rectangles, a caret model, timers fired by hand, a recording
// device context for measuring, and an optional fake main frame.

#include <memory>
#include <string>
#include <vector>

#include "platform/RecordingDC.h"
#include "view/ViewHost.h"

class FakeFrameServices : public KFrameServices {
 public:
  void SetActiveScoreView(CStavlinView* view) override { active = view; }
  CStavlinView* GetActiveScoreView() const override { return active; }
  void ShowMainToolbar(int show) override { mainToolbar = show; }
  void ShowExtraToolsToolbar(int show) override { extraToolbar = show; }
  void ShowStatusBar(int show) override { statusBar = show; }
  void RefreshToolboxes() override { ++toolboxRefreshes; }
  void SetMenuItemText(UINT commandId, const CString& text) override {
    menuTexts.emplace_back(commandId, text);
  }
  RECT GetFrameRect() const override { return frameRect; }
  bool IsToolBoxShown(int kind) const override { return kind == shownToolBox; }
  MidiOutPort* PreviewOutput() override { return preview; }
  MidiOutPort* PlayOutput() override { return play; }
  CMaxMidiIn* LiveInput() override { return liveInput; }
  CMaxMidiSync* LiveSync() override { return liveSync; }
  void ShowPlayedNote(int on, int note, int string, int fret) override { playedNotes.emplace_back(on, note); }
  bool OpenTextDocument(const CString& title, const CString& text) override {
    textDocuments.emplace_back(title, text);
    return true;
  }
  void SetStatusMessage(const CString& text) override { statusMessages.emplace_back(text.Str()); }
  void BeginWaitCursor() override {
    ++waitCursorDepth;
    ++waitCursorBegins;
  }
  void EndWaitCursor() override { --waitCursorDepth; }

  CStavlinView* active = nullptr;
  std::vector<std::pair<CString, CString>> textDocuments;  // (title, text) of each text document opened
  int mainToolbar = -1;
  int extraToolbar = -1;
  int statusBar = -1;
  int toolboxRefreshes = 0;
  std::vector<std::pair<UINT, CString>> menuTexts;
  RECT frameRect{0, 0, 1000, 800};
  int shownToolBox = -1;
  CMaxMidiIn* liveInput = nullptr;  // what live recording opens; none by default
  CMaxMidiSync* liveSync = nullptr;
  MidiOutPort* preview = nullptr;                // what sounds picked notes; none by default
  MidiOutPort* play = nullptr;                   // what plays the score; none by default
  std::vector<std::pair<int, int>> playedNotes;  // (on, note) of each toolbox mark
  std::vector<std::string> statusMessages;       // each text put in the prompt pane
  int waitCursorDepth = 0;                       // Begins not yet Ended
  int waitCursorBegins = 0;
};

class FakeViewHost : public KViewHost {
 public:
  FakeViewHost();

  RECT GetClientRect() const override { return client; }
  void SetScrollSizes(SIZE total, SIZE page, SIZE line) override;
  SIZE GetTotalSize() const override { return total; }
  POINT GetScrollPosition() const override { return scroll; }
  void ScrollToPosition(POINT position) override;
  void InvalidateRect(const RECT* rect, BOOL erase) override;
  KCaret& Caret() override { return caret; }
  TimerHost& Timers() override { return timers; }
  void SetCursorId(int id) override { cursor = id; }
  CDC* GetMeasureDC() override { return measureDCOverride != nullptr ? measureDCOverride : &measureDC; }
  void PostCloseDocument() override { ++closeRequests; }
  void PlaceChildFrame(int x, int y, int width, int height) override;
  RECT GetChildFrameRect() const override { return childRect; }
  KFrameServices* Frame() override { return frame; }
  void TakeFocus() override { ++focusRequests; }

  // What the last InvalidateRect calls asked for; a whole-window request is
  // recorded as the client rectangle.
  std::vector<RECT> invalidated;
  RECT client{0, 0, 800, 600};
  SIZE total{0, 0};
  SIZE page{0, 0};
  SIZE line{0, 0};
  POINT scroll{0, 0};
  KCaret caret;
  FakeTimerHost timers;
  int cursor = 0;
  int closeRequests = 0;
  int focusRequests = 0;
  RECT childRect{0, 0, 500, 350};
  RecordingDC measureDC;
  // A device context that measures (and paints) as a real screen's, used
  // instead of measureDC when set (not owned).
  CDC* measureDCOverride = nullptr;
  FakeFrameServices* frame = nullptr;
};
