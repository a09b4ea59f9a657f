#pragma once
// The main window: an MDI frame holding the score windows side by side, with
// the menus, accelerators and both toolbars built from the command table, the
// status bar with its seven panes, and the recent-file list. It keeps the
// active score view for the program (KFrameServices) and routes each command
// to the active view, then to itself, then to the application.
//
// Its jobs are split over several files:
//   CMainFrame.cpp        windows, the active view, command routing
//   MainFrameMenus.cpp    menus, toolbars, accelerators, enabling and checks
//   MainFrameStatus.cpp   the status bar panes and the clock
//   MainFramePreferences.cpp  File/Set Preferences
//   MainFrameToolboxes.cpp the symbol toolboxes, the fretboard and the keyboard
//   MainFrameMidi.cpp     the MIDI output, input and sync, their device menus,
//                         and the play window

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "app/KHelpWindow.h"
#include "app/RecentFileList.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "midi/CMaxMidiIn.h"
#include "midi/CMaxMidiOut.h"
#include "midi/CMaxMidiSync.h"
#include "midi/MidiDeviceMenu.h"
#include "view/ViewHost.h"
#include "view/commands/CommandTable.h"
#include "view/midi/KSVMidi.h"

class CChildFrame;
class CStavlinDoc;
class KTextDoc;
class KInputMidiWindow;
class KPlayMidiWindow;
class KTextFrame;
class KToolBoxWindow;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow, public KFrameServices {
  Q_OBJECT
 public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  QMdiArea* MdiArea() const { return m_mdiArea; }

  // A command the frame or the application runs: the ids first..last and
  // its handler. The frame adds its own (windows, bars); the application adds
  // its own (files, help) at start.
  struct KFrameCommand {
    UINT first = 0;
    UINT last = 0;
    std::function<void(UINT)> run;
  };
  void AddCommands(std::vector<KFrameCommand> commands);
  // Whether a handler runs the command: a view command (CommandHandlers.h) or
  // one of the frame's. Only such a command is ever enabled.
  bool IsAvailable(UINT id) const;
  // Runs a command as a menu item does: the active score view's handler, else
  // the frame's; false when no handler ran it (nothing changed).
  bool RunCommand(UINT id);
  // RunCommand, with a beep when nothing ran it; the menus and the status bar
  // then show the new state.
  void OnCommand(UINT id);
  // The menu item or toolbar button of a command; null when it has none.
  QAction* ActionFor(UINT id) const;

  // A window for the document (taken), shown and active, its view through
  // its first update.
  CChildFrame* AddScoreWindow(std::unique_ptr<CStavlinDoc> document);
  // The active score window; null when none.
  CChildFrame* ActiveChild() const;
  std::vector<CChildFrame*> ScoreWindows() const;

  // A window for the plain-text document (taken), shown and active.
  KTextFrame* AddTextWindow(std::unique_ptr<KTextDoc> document);
  // The active plain-text window; null when none (or a score's is active).
  KTextFrame* ActiveTextWindow() const;
  std::vector<KTextFrame*> TextWindows() const;
  // How the application saves text documents that have no file yet, and runs
  // the commands a text window carries out itself (false: not one of them).
  void SetTextSavePrompt(std::function<CString(const CString&)> prompt) {
    m_textSavePrompt = std::move(prompt);
  }
  void SetTextWindowCommands(std::function<bool(UINT)> handles, std::function<void(KTextFrame&, UINT)> run) {
    m_textCommandHandles = std::move(handles);
    m_textCommandRun = std::move(run);
  }

  // With refresh the active score window is looked up again (the next one is
  // activated when the active window holds no score view; none while a text
  // window is active).
  CStavlinView* GetActiveScoreView(bool refresh);

  // Enabling, checks and texts of every command, by the command rules.
  void UpdateCommandUi();
  // The panes of the status bar from the active view's mirrors.
  void UpdateStatusBar();
  // The texts of the status panes 5600..5606, in bar order (tests read them).
  std::vector<QString> StatusPaneTexts() const;

  RecentFileList& RecentFiles() { return m_recent; }
  // Shows the recent-file entries of the File menu.
  void UpdateRecentFileMenu();

  // View/Ad-Tab/Ad-Tab Fingering Guide: shows the one guide (a second
  // command leaves the open one as it is); CloseTabLegend closes it.
  void ShowTabLegend();
  // Window/Cascade: the score windows overlap, each one title bar lower and
  // to the right of the one before, all as large as the free area allows.
  void CascadeScoreWindows();
  void CloseTabLegend();
  QWidget* TabLegend() const { return m_tabLegend; }

  // Help/Drum Line Percussion Symbols and Help/Staff Note Names: pages that
  // stay open beside the score, one of each at most (a second command brings
  // the open one forward). Their OK closes them through the Close calls.
  void ShowMidiPercHelp();
  void CloseMidiPercHelp();
  void ShowStaffNoteNamesHelp();
  void CloseStaffNoteNamesHelp();
  // The open page windows; null when closed.
  QWidget* MidiPercHelp() const;
  QWidget* StaffNoteNamesHelp() const;

  // The screen's size in pixels.
  SIZE GetScreenSize() const;

  // ---- Symbol toolboxes (MainFrameToolboxes.cpp) ------------------------------------
  // The window of the toolbox slot (the kind it was opened as); null when
  // that toolbox is closed.
  KToolBoxWindow* ToolBox(int slot) const;
  // What the toolboxes show beside their pictures, from the active view.
  KToolBoxState ToolBoxState() const;
  // A toolbox's pick goes to the active score view, which then has the
  // keyboard focus again; nothing without a score view.
  void PickFromToolBox(int code, int boxKind, int noteValue, int string, int fret);
  // The user closed the toolbox's window, or moved it.
  void ToolBoxClosedByUser(int slot);
  void ToolBoxMoved(int slot, QPoint topLeft);
  // Reopens the toolbox of the slot as its command does (start-up).
  void ReopenToolBox(int slot);
  // Start-up: every toolbox whose saved position is open, pulled onto the screen.
  void ReopenSavedToolBoxes();
  // The corner the toolboxes' saved offsets count from: the main window's
  // top-left corner as it stands unmaximized, which is where it opens at the
  // next start. While it is maximized, minimized or full screen, the corner
  // it had before counts, so that a toolbox left on a maximized main window
  // comes back where it was left.
  QPoint ToolBoxOrigin();
  // Playback marks a sounding note on the fretboard and the keyboard (on 0:
  // the note stopped; a negative note clears the marks).
  void ShowPlayedNote(int on, int note, int string, int fret) override;

  // ---- MIDI (MainFrameMidi.cpp) ------------------------------------------------------
  // The program's MIDI output, input and their device submenus of Actions/MIDI
  // (built at the first activation of a score window).
  CMaxMidiOut& MidiOut() { return m_midiOut; }
  const CMidiOutDeviceMenu& MidiOutMenu() const { return m_midiOutMenu; }
  const CMidiInDeviceMenu& MidiInMenu() const { return m_midiInMenu; }
  QMenu* MidiOutputPopup() const { return m_midiOutPopup; }
  QMenu* MidiInputPopup() const { return m_midiInPopup; }
  // Actions/MIDI/Play Current Score: the play window, one at a time, bound to
  // the active score.
  void OnPlayCurrentScore();
  KPlayMidiWindow* PlayWindow() const { return m_playWindow.get(); }
  // The play window's Exit: its settings go to the active score, every note
  // is silenced, and the window closes (deleted once its handler returns).
  void ClosePlayMidiDialog();
  MidiOutPort* PlayOutput() override { return &m_midiOut; }
  std::string PlayOutputProblem() override;
  CMaxMidiIn* LiveInput() override { return &m_midiIn; }
  CMaxMidiSync* LiveSync() override { return &m_midiSync; }
  // Actions/MIDI/Live MIDI Input: the recording window, one at a time,
  // recording into the active score (a new score is opened when none is).
  void OnLiveMidiInput();
  KInputMidiWindow* InputMidiWindow() const { return m_inputWindow.get(); }
  // The recording window's Exit: the window closes (deleted once its
  // handler returns).
  void CloseInputMidiDialog();

  // ---- KFrameServices ------------------------------------------------------------
  void SetActiveScoreView(CStavlinView* view) override;
  CStavlinView* GetActiveScoreView() const override { return m_activeView; }
  void ShowMainToolbar(int show) override;
  void ShowExtraToolsToolbar(int show) override;
  void ShowStatusBar(int show) override;
  void RefreshToolboxes() override;
  void SetMenuItemText(UINT commandId, const CString& text) override;
  RECT GetFrameRect() const override;
  bool IsToolBoxShown(int kind) const override;
  // After a key the view took itself: what OnCommand does after a command.
  void AfterViewInput() override;
  bool OpenTextDocument(const CString& title, const CString& text) override;
  // The program's MIDI output (MainFrameMidi.cpp): notes picked on a
  // toolbox, auditioned chords and instruments sound through it.
  MidiOutPort* PreviewOutput() override;
  // The prompt pane and the wait cursor while a long command runs
  // (MainFrameStatus.cpp).
  void SetStatusMessage(const CString& text) override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;

  // File/Set Preferences: the preferences sheet, and what its changes do
  // to the frame (MainFramePreferences.cpp).
  void OnFileSetPreferences();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  // MainFrameMenus.cpp
  void BuildMenus();
  void BuildMenu(QMenu* menu, const std::vector<KMenuNode>& nodes);
  QAction* MakeAction(UINT id);
  void BuildToolbars();
  void UpdateMenu(QMenu* menu);
  void ApplyCommandUi(QAction* action, UINT id, const KAppCommandState& app);
  KAppCommandState AppState() const;
  void UpdateWindowMenu();
  // MainFrameStatus.cpp
  void BuildStatusBar();
  // MainFrameToolboxes.cpp
  void AddToolBoxCommands();
  void OnToolBox(int slot);
  void OnToolBoxCycle();
  void OpenToolBox(int slot);
  void CloseToolBox(int slot, bool markClosed);
  void SyncToolBoxes();
  // MainFrameMidi.cpp
  void SetUpMidiOutput();
  void TearDownMidiOutput();
  void AddMidiCommands();
  void BuildMidiDeviceMenus();
  // Lists the devices of the machine again (a submenu about to open): the
  // items follow the ports as they are now, the device in use stays checked.
  void RefreshMidiDeviceMenus();
  void FillMidiDevicePopups();
  void ShowMidiDeviceChecks();
  void SelectOutputDevice(UINT id);
  void SelectInputDevice(UINT id);
  // The play window follows the active score.
  void ReattachPlayWindow();
  // CMainFrame.cpp
  void AddFrameCommands();
  const KFrameCommand* FindFrameCommand(UINT id) const;
  void OnSubWindowActivated(QMdiSubWindow* window);

  QMdiArea* m_mdiArea;
  CStavlinView* m_activeView = nullptr;
  std::vector<KFrameCommand> m_commands;
  std::map<UINT, QAction*> m_actions;
  std::vector<QMenu*> m_menus;
  QMenu* m_windowMenu = nullptr;
  std::vector<QAction*> m_windowListActions;
  QToolBar* m_mainToolBar = nullptr;
  QToolBar* m_extraToolBar = nullptr;
  std::vector<QLabel*> m_panes;
  QTimer m_clock;
  QWidget* m_tabLegend = nullptr;  // the open Ad-Tab guide, deleted on closing
  std::unique_ptr<KHelpWindow> m_midiPercHelp;
  std::unique_ptr<KHelpWindow> m_staffNoteNamesHelp;
  RecentFileList m_recent;
  std::function<CString(const CString&)> m_textSavePrompt;
  std::function<bool(UINT)> m_textCommandHandles;
  std::function<void(KTextFrame&, UINT)> m_textCommandRun;
  // The toolbox windows by slot (the kind each was opened as).
  std::array<QPointer<KToolBoxWindow>, 20> m_toolBoxes{};
  bool m_closingDown = false;  // the frame goes: its toolboxes are not closed by the user
  QPoint m_normalTopLeft;      // the main window's corner when last seen unmaximized
  bool m_normalTopLeftKnown = false;
  // MIDI: the output, the sync timer, the input and the two device menus.
  CMaxMidiOut m_midiOut;
  KSVMidiSync m_midiSync;
  KSVMidiIn m_midiIn;
  CMidiInDeviceMenu m_midiInMenu;
  CMidiOutDeviceMenu m_midiOutMenu;
  bool m_midiMenusBuilt = false;
  QMenu* m_midiOutPopup = nullptr;
  QMenu* m_midiInPopup = nullptr;
  std::unique_ptr<KPlayMidiWindow> m_playWindow;
  std::unique_ptr<KPlayMidiWindow> m_closingPlayWindow;  // closed, deleted after its handler
  std::unique_ptr<KInputMidiWindow> m_inputWindow;
  std::unique_ptr<KInputMidiWindow> m_closingInputWindow;
};
