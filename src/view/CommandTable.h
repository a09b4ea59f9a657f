#pragma once
// The one table of the program's commands: every command id with its menu
// text, accelerator, status-bar prompt and place in the menus. Menus,
// accelerators, toolbars and the status prompts are all built from it by the
// Qt shell; enabling, check marks and changing texts are pure functions of
// the view state (CommandState.cpp), and the view's commands run through
// ExecuteViewCommand. Qt-free.

#include <optional>
#include <vector>

#include "platform/CString.h"
#include "platform/WinTypes.h"

class CStavlinView;

// One command.
struct KCommandInfo {
  UINT id = 0;
  const char* text = "";         // menu text with its & mnemonic (Windows-1252)
  const char* accelerator = "";  // "Ctrl+S", "Ctrl+Alt+G" ... ; empty for none
  const char* prompt = "";       // status-bar prompt
  // The toolbar that shows it (0 none, 1 main, 2 extra tools) and its order there.
  int toolbar = 0;
  const char* icon = "";         // icon name for the toolbar (theme name)
};

// One entry of a menu: a command, a separator (id 0, no children) or a
// submenu (a text and children).
struct KMenuNode {
  UINT id = 0;
  CString text;  // submenus only; commands take their text from the table
  std::vector<KMenuNode> children;
  bool IsSeparator() const { return id == 0 && children.empty() && text.IsEmpty(); }
  bool IsSubmenu() const { return id == 0 && !text.IsEmpty(); }
};

// Every command, in menu order.
const std::vector<KCommandInfo>& CommandTable();
// The command with the id; null when there is none.
const KCommandInfo* FindCommand(UINT id);
// The menu bar: its top-level popups (File, Edit, View, Insert, Actions,
// Options, Window, Help ...).
const std::vector<KMenuNode>& MainMenu();

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
};

// The rule of the command for the active view (null: no score is open).
KCommandUi QueryCommand(UINT id, const CStavlinView* view, const KAppCommandState& app);

// Runs a view command on the view; false when the id is not a view command
// (the frame or the application handles it) or is not built yet.
bool ExecuteViewCommand(CStavlinView& view, UINT id);
