// The command table's integrity: ids, menus, toolbars and accelerators.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "view/commands/CommandTable.h"

namespace {

// A key combination split into its modifiers and its key.
struct ParsedKey {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  std::string key;
  bool valid = true;

  std::string Normal() const {
    return std::string(ctrl ? "Ctrl+" : "") + (alt ? "Alt+" : "") + (shift ? "Shift+" : "") + key;
  }
};

ParsedKey Parse(const std::string& text) {
  ParsedKey parsed;
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, '+')) parts.push_back(part);
  if (parts.empty() || parts.back().empty()) {
    parsed.valid = false;
    return parsed;
  }
  parsed.key = parts.back();
  parts.pop_back();
  for (const auto& modifier : parts) {
    bool* flag = modifier == "Ctrl"    ? &parsed.ctrl
                 : modifier == "Shift" ? &parsed.shift
                 : modifier == "Alt"   ? &parsed.alt
                                       : nullptr;
    if (flag == nullptr || *flag)
      parsed.valid = false;
    else
      *flag = true;
  }
  return parsed;
}

// Keys the score view handles itself, whatever the modifiers.
bool IsViewNavigationKey(const std::string& key) {
  static const std::set<std::string> keys = {"F1",    "F2",  "F3",   "F4",     "F5",     "F6",      "Left",
                                             "Right", "Up",  "Down", "Ins",    "Insert", "Del",     "Delete",
                                             "Home",  "End", "PgUp", "PageUp", "PgDown", "PageDown"};
  return keys.count(key) != 0;
}

// Keys that type into the score unless Ctrl or Alt is held.
bool IsTypingKey(const std::string& key) {
  static const std::set<std::string> keys = {"Space", "Tab", "Backspace", "Return", "Enter", "Esc", "Escape"};
  return key.size() == 1 || keys.count(key) != 0;
}

void CollectMenuIds(const std::vector<KMenuNode>& nodes, std::vector<UINT>& ids) {
  for (const auto& node : nodes) {
    if (node.id != 0) ids.push_back(node.id);
    CollectMenuIds(node.children, ids);
  }
}

std::vector<UINT> MenuIds() {
  std::vector<UINT> ids;
  CollectMenuIds(MainMenu(), ids);
  return ids;
}

TEST(CommandTable, IdsAreUniqueAndFoundByLookup) {
  std::set<UINT> seen;
  for (const auto& info : CommandTable()) {
    EXPECT_TRUE(seen.insert(info.id).second) << "duplicate id " << info.id;
    ASSERT_NE(FindCommand(info.id), nullptr);
    EXPECT_EQ(FindCommand(info.id)->id, info.id);
  }
  EXPECT_EQ(FindCommand(12345), nullptr);
}

TEST(CommandTable, EveryCommandHasATextAndAPromptAndKeepsItsKeyOutOfTheText) {
  for (const auto& info : CommandTable()) {
    EXPECT_STRNE(info.text, "") << info.id;
    EXPECT_STRNE(info.prompt, "") << info.id;
    EXPECT_EQ(std::string(info.text).find('\t'), std::string::npos) << info.id;
  }
}

TEST(CommandTable, EveryMenuCommandIsInTheTable) {
  for (UINT id : MenuIds()) EXPECT_NE(FindCommand(id), nullptr) << "menu command " << id;
}

TEST(CommandTable, EveryCommandIsReachableOrIsAKnownCommandWithoutAMenuItem) {
  const std::vector<UINT> menu = MenuIds();
  std::set<UINT> reachable(menu.begin(), menu.end());
  for (int toolbar : {1, 2})
    for (UINT id : ToolbarLayout(toolbar)) reachable.insert(id);
  // Toolbox twins opened by the toolboxes, commands of the view's keys and
  // clicks, and the help keys.
  const std::set<UINT> withoutMenu = {41178, 41180, 41188, 41191, 41193, 57666, 57669, 57671};
  for (const auto& info : CommandTable()) {
    if (withoutMenu.count(info.id) != 0) continue;
    EXPECT_NE(reachable.count(info.id), 0u) << "command " << info.id << " has no menu item or button";
  }
}

TEST(CommandTable, MenuBarHasNinePopupsWithMidiLastInTheFifth) {
  const auto& menu = MainMenu();
  ASSERT_EQ(menu.size(), 9u);
  for (const auto& popup : menu) EXPECT_TRUE(popup.IsSubmenu());
  const KMenuNode& actions = menu[4];
  EXPECT_EQ(actions.text, CString("&Actions"));
  ASSERT_FALSE(actions.children.empty());
  const KMenuNode& midi = actions.children.back();
  ASSERT_TRUE(midi.IsSubmenu());
  EXPECT_EQ(midi.text, CString("&MIDI"));
  ASSERT_GE(midi.children.size(), 2u);
  EXPECT_EQ(midi.children[midi.children.size() - 2].text, CString(kMidiOutputMenuText));
  EXPECT_EQ(midi.children.back().text, CString(kMidiInputMenuText));
}

TEST(CommandTable, MenuNodeTextOverridesOnlyWhereGiven) {
  std::vector<CString> texts;
  std::function<void(const std::vector<KMenuNode>&)> walk = [&](const std::vector<KMenuNode>& nodes) {
    for (const auto& node : nodes) {
      if (node.id == 41248) texts.push_back(MenuNodeText(node));
      walk(node.children);
    }
  };
  walk(MainMenu());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], CString(FindCommand(41248)->text));
  EXPECT_NE(texts[1], texts[0]);
}

TEST(CommandTable, ToolbarButtonsAreCommandsOfTheirToolbar) {
  for (int toolbar : {1, 2}) {
    ASSERT_FALSE(ToolbarLayout(toolbar).empty());
    for (UINT id : ToolbarLayout(toolbar)) {
      if (id == 0) continue;
      const KCommandInfo* info = FindCommand(id);
      ASSERT_NE(info, nullptr) << id;
      EXPECT_EQ(info->toolbar, toolbar) << id;
      EXPECT_STRNE(info->icon, "") << id;
    }
  }
  EXPECT_TRUE(ToolbarLayout(0).empty());
}

TEST(Accelerators, AreWellFormedAndUnique) {
  std::map<std::string, UINT> owners;
  for (const auto& accelerator : Accelerators()) {
    const ParsedKey key = Parse(accelerator.key);
    EXPECT_TRUE(key.valid) << accelerator.key;
    EXPECT_NE(FindCommand(accelerator.id), nullptr) << accelerator.key;
    const auto [it, inserted] = owners.emplace(key.Normal(), accelerator.id);
    EXPECT_TRUE(inserted) << accelerator.key << " is taken by " << it->second << " and " << accelerator.id;
  }
}

TEST(Accelerators, LeaveTheViewItsKeys) {
  for (const auto& accelerator : Accelerators()) {
    const ParsedKey key = Parse(accelerator.key);
    EXPECT_FALSE(IsViewNavigationKey(key.key)) << accelerator.key << " (command " << accelerator.id << ")";
    if (!key.ctrl && !key.alt) {
      EXPECT_FALSE(IsTypingKey(key.key)) << accelerator.key << " (command " << accelerator.id << ")";
    }
  }
}

TEST(Accelerators, IncludeAlternateKeys) {
  const auto& keys = Accelerators();
  const auto count =
      std::count_if(keys.begin(), keys.end(), [](const KAccelerator& k) { return k.id == 41248; });
  EXPECT_EQ(count, 2);
}

TEST(Accelerators, AltLettersDoNotShadowTheMenuBarMnemonics) {
  std::set<char> mnemonics;
  for (const auto& popup : MainMenu()) {
    const std::string text(static_cast<LPCTSTR>(popup.text));
    const auto amp = text.find('&');
    ASSERT_NE(amp, std::string::npos) << text;
    ASSERT_LT(amp + 1, text.size());
    EXPECT_TRUE(
        mnemonics.insert(static_cast<char>(std::toupper(static_cast<unsigned char>(text[amp + 1])))).second)
        << text;
  }
  for (const auto& accelerator : Accelerators()) {
    const ParsedKey key = Parse(accelerator.key);
    if (key.alt && !key.ctrl && !key.shift && key.key.size() == 1) {
      EXPECT_EQ(mnemonics.count(static_cast<char>(std::toupper(static_cast<unsigned char>(key.key[0])))), 0u)
          << accelerator.key;
    }
  }
}

}  // namespace
