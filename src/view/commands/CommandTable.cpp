// Lookups over the command table: the table with its toolbar places, the
// menu bar, the toolbars and the accelerator table.

#include "view/commands/CommandTable.h"

#include <algorithm>
#include <unordered_map>

#include "view/commands/CommandTableData.h"

namespace {

std::vector<KCommandInfo> BuildTable() {
  auto commands = command_data::Commands();
  std::vector<KCommandInfo> table(commands.begin(), commands.end());
  auto place = [&table](std::span<const command_data::ToolbarButton> buttons, int toolbar) {
    for (const auto& button : buttons) {
      if (button.id == 0) continue;
      auto it =
          std::find_if(table.begin(), table.end(), [&](const KCommandInfo& c) { return c.id == button.id; });
      if (it == table.end()) continue;
      it->toolbar = toolbar;
      it->icon = button.icon;
    }
  };
  place(command_data::MainToolbar(), 1);
  place(command_data::ExtraToolsToolbar(), 2);
  for (const auto& alternate : command_data::AlternateKeys()) {
    auto it =
        std::find_if(table.begin(), table.end(), [&](const KCommandInfo& c) { return c.id == alternate.id; });
    if (it != table.end()) it->alternateAccelerator = alternate.key;
  }
  return table;
}

const std::unordered_map<UINT, size_t>& IndexById() {
  static const std::unordered_map<UINT, size_t> index = [] {
    std::unordered_map<UINT, size_t> map;
    const auto& table = CommandTable();
    for (size_t i = 0; i < table.size(); ++i) map.emplace(table[i].id, i);
    return map;
  }();
  return index;
}

std::vector<UINT> Layout(std::span<const command_data::ToolbarButton> buttons) {
  std::vector<UINT> ids;
  ids.reserve(buttons.size());
  for (const auto& button : buttons) ids.push_back(button.id);
  return ids;
}

}  // namespace

const std::vector<KCommandInfo>& CommandTable() {
  static const std::vector<KCommandInfo> table = BuildTable();
  return table;
}

const KCommandInfo* FindCommand(UINT id) {
  const auto& index = IndexById();
  auto it = index.find(id);
  return it == index.end() ? nullptr : &CommandTable()[it->second];
}

const std::vector<KMenuNode>& MainMenu() {
  static const std::vector<KMenuNode> menu = command_data::BuildMainMenu();
  return menu;
}

CString MenuNodeText(const KMenuNode& node) {
  if (!node.text.IsEmpty() || node.id == 0) return node.text;
  const KCommandInfo* info = FindCommand(node.id);
  return info != nullptr ? CString(info->text) : CString();
}

const std::vector<UINT>& ToolbarLayout(int toolbar) {
  static const std::vector<UINT> main = Layout(command_data::MainToolbar());
  static const std::vector<UINT> extra = Layout(command_data::ExtraToolsToolbar());
  static const std::vector<UINT> none;
  if (toolbar == 1) return main;
  if (toolbar == 2) return extra;
  return none;
}

const std::vector<KAccelerator>& Accelerators() {
  static const std::vector<KAccelerator> keys = [] {
    std::vector<KAccelerator> list;
    for (const auto& info : CommandTable()) {
      if (*info.accelerator != '\0') list.push_back({info.accelerator, info.id});
      if (*info.alternateAccelerator != '\0') list.push_back({info.alternateAccelerator, info.id});
    }
    return list;
  }();
  return keys;
}
