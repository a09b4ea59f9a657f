#pragma once
// The raw data behind CommandTable(): the commands in menu order, the
// toolbar buttons and the alternate keys. Only CommandTable.cpp and
// MainMenuData.cpp read it.

#include <span>

#include "view/commands/CommandTable.h"

namespace command_data {

// Every command with its text, accelerator and prompt (toolbar and icon are
// filled in from the toolbar tables).
std::span<const KCommandInfo> Commands();

struct ToolbarButton {
  UINT id;  // 0 separator
  const char* icon;
};
std::span<const ToolbarButton> MainToolbar();
std::span<const ToolbarButton> ExtraToolsToolbar();

struct AlternateKey {
  UINT id;
  const char* key;
};
std::span<const AlternateKey> AlternateKeys();

// The menu bar, built once.
std::vector<KMenuNode> BuildMainMenu();

}  // namespace command_data
