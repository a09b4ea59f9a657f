// The prompt of a palette cell names the key that types its symbol: the key
// table that typing reads and the prompt texts that hovering shows are two
// tables, and a key changed in one and not the other would teach the user a
// key that enters something else.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "common/SymbolKeys.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "dialogs/toolbox/ToolBoxPrompts.h"
#include "platform/StringTable.h"
#include "support/CaseName.h"

namespace {

using namespace toolbox;

struct PaletteCase {
  const char* name;
  int kind;
  int lineClass;
  int page;           // added to a symbol code to make the cell's code
  const char* front;  // what the prompt says before the key
};

void PrintTo(const PaletteCase& c, std::ostream* out) { *out << c.name; }

const PaletteCase kPalettes[] = {
    {"symbols on a staff", kSymbols, kClassOther, 0, ""},
    {"alternate symbols on a staff", kAlternate, kClassOther, kAlternatePage, "(AltSym) "},
    {"alternate symbols on a tablature line", kAlternateTab, kClassTab, kAlternatePage, "(AltSym) "},
};

// The key a prompt names: the text after the prompt's front, up to the first
// space; empty when the cell has no prompt.
std::string PromptKey(const PaletteCase& palette, int code) {
  const unsigned id = PromptId(palette.kind, palette.lineClass, palette.page + code);
  CString text;
  if (id == 0 || !LoadString(text, id) || text.IsEmpty()) return "";
  const std::string prompt = text.Str();
  const std::string front = palette.front;
  if (prompt.compare(0, front.size(), front) != 0) return "(no \"" + front + "\" in \"" + prompt + "\")";
  const std::string rest = prompt.substr(front.size());
  return rest.substr(0, rest.find(' '));
}

class PromptKeys : public ::testing::TestWithParam<PaletteCase> {};

// A code with a key of its own is named by that key, and typing the key
// enters that code (no earlier row takes the key first). A code without one
// is the second symbol of a doubled key: its prompt, if it has one, names the
// key of the code before it twice ("##", "uu").
TEST_P(PromptKeys, EachPromptNamesTheKeyTheKeyTableTypes) {
  const PaletteCase& palette = GetParam();
  int named = 0;
  for (int code = 0; code < symbol_keys::kKeyRows; ++code) {
    const std::string shown = PromptKey(palette, code);
    const char key = symbol_keys::KeyOfCode(code);
    if (key != '\0') {
      if (palette.page == 0) {
        EXPECT_FALSE(shown.empty()) << "symbol code " << code << " (key " << key << ") has no prompt";
      }
      if (shown.empty()) continue;
      EXPECT_EQ(shown, std::string(1, key)) << "symbol code " << code;
      EXPECT_EQ(symbol_keys::CodeOfKey(key), code) << "the key " << key << " types another code";
    } else if (!shown.empty()) {
      const char first = symbol_keys::KeyOfCode(code - 1);
      EXPECT_NE(first, '\0') << "symbol code " << code << " follows a code without a key";
      EXPECT_EQ(shown, std::string(2, first))
          << "symbol code " << code << ", the doubled key of code " << code - 1;
    }
    if (!shown.empty()) ++named;
  }
  EXPECT_GT(named, 40) << "the prompts were not found";
}

INSTANTIATE_TEST_SUITE_P(Palettes, PromptKeys, ::testing::ValuesIn(kPalettes),
                         [](const auto& info) { return viewtest::CaseName(info.param.name); });

TEST(PromptKeysOutsideTheTable, TheColonTypesTheEmptyColumnMarkerItsPromptNames) {
  EXPECT_EQ(symbol_keys::CodeOfKey(':'), symbol_keys::kColonCode);
  EXPECT_EQ(PromptKey(kPalettes[0], symbol_keys::kColonCode), ":");
  EXPECT_EQ(symbol_keys::CodeOfKey('a'), -1) << "a staff letter moves the caret, it enters no symbol";
}

}  // namespace
