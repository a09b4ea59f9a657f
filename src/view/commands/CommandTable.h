#pragma once
// The one table of the program's commands: every command id with its menu
// text, accelerator, status-bar prompt and place in the menus. Menus,
// accelerators, toolbars and the status prompts are all built from it by the
// Qt shell; enabling, check marks and changing texts are pure functions of
// the view state (CommandState.cpp), and the view's commands run through
// their handlers (CommandHandlers.h). Qt-free.

#include <optional>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"
#include "view/commands/CommandHandlers.h"

class CStavlinView;

// One command.
struct KCommandInfo {
  UINT id = 0;
  const char* text = "";         // menu text with its & mnemonic (Windows-1252)
  const char* accelerator = "";  // "Ctrl+S", "Ctrl+Alt+G" ... ; empty for none
  const char* prompt = "";       // status-bar prompt
  // The toolbar that shows it (0 none, 1 main, 2 extra tools) and its order there.
  int toolbar = 0;
  const char* icon = "";  // icon name for the toolbar (theme name)
  // A second key for the same command ("Ctrl+D" beside "Ctrl+J"); not shown
  // in the menu. Empty for none.
  const char* alternateAccelerator = "";
};

// One entry of a menu: a command, a separator (id 0, no children) or a
// submenu (a text and children).
struct KMenuNode {
  UINT id = 0;
  // A submenu's text. A command normally takes its text from the table; a
  // nonempty text here replaces it in this one place (a command shown in two
  // menus under two names).
  CString text;
  std::vector<KMenuNode> children;
  bool IsSeparator() const { return id == 0 && children.empty() && text.IsEmpty(); }
  bool IsSubmenu() const { return id == 0 && !text.IsEmpty(); }
};

// Every command, in menu order.
const std::vector<KCommandInfo>& CommandTable();
// The command with the id; null when there is none.
const KCommandInfo* FindCommand(UINT id);
// The menu bar: its top-level popups (File, Edit, View, Insert, Actions,
// Options, Toolboxes, Window, Help). Actions is the fifth and its last item is
// the MIDI submenu, which ends with the two device submenus (empty here; the
// shell fills them with the devices it finds, ids from the first ids below).
const std::vector<KMenuNode>& MainMenu();
// The text of a menu node: its own text, else its command's table text.
CString MenuNodeText(const KMenuNode& node);

// The MIDI device submenus: their texts and the ids of their items (one per
// device, in device order).
inline constexpr const char* kMidiOutputMenuText = "MIDI Output Device...";
inline constexpr const char* kMidiInputMenuText = "MIDI Input Device...";
inline constexpr UINT kFirstMidiOutputId = 41264;  // ten output devices
inline constexpr int kMidiOutputIdCount = 10;
inline constexpr UINT kFirstMidiInputId = 41274;  // six input devices
inline constexpr int kMidiInputIdCount = 6;
// The recent-file entries of the File menu (the shell sets their texts).
inline constexpr UINT kFirstRecentFileId = 57616;
inline constexpr int kRecentFileCount = 8;

// The buttons of a toolbar (1 main, 2 extra tools) in order; 0 is a separator.
const std::vector<UINT>& ToolbarLayout(int toolbar);

// Every key of the accelerator table with its command: each command's
// accelerator, then its alternate one.
struct KAccelerator {
  const char* key;
  UINT id;
};
const std::vector<KAccelerator>& Accelerators();

// How a command is to appear now.
struct KCommandUi {
  bool enabled = true;
  int check = -1;               // -1 leave as it is, 0 clear, 1 checked
  std::optional<CString> text;  // a changed menu text
};

// Application-level state the rules read besides the view.
struct KAppCommandState {
  bool clipboardHasScore = false;
  bool clipboardHasText = false;
  // What the main frame shows; the rules check the items that toggle them.
  bool mainToolbarShown = true;
  bool extraToolbarShown = true;
  bool statusBarShown = true;
  // Toolbox kinds 0..19 that are open.
  bool toolBoxShown[20] = {};
  // MIDI file import method: 1 method 1, 0 method 2.
  int midiImportMethod = 1;
};

// The rule of the command for the active view (null: no score is open).
KCommandUi QueryCommand(UINT id, const CStavlinView* view, const KAppCommandState& app);
