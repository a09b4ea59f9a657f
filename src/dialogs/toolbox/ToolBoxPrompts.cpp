#include "dialogs/toolbox/ToolBoxPrompts.h"

#include "dialogs/toolbox/ToolBoxCells.h"
#include "platform/StringTable.h"

namespace toolbox {

namespace {

constexpr unsigned kSymbolPrompts = 30100;
constexpr unsigned kAlternatePrompts = 20300;  // + code, the code being 10000 or more
constexpr unsigned kTabShift = 900;
constexpr unsigned kNotUsedPrompt = 30407;
constexpr unsigned kModePromptShift = 2986;  // 11001..11003 -> 8015..8017
constexpr unsigned kArrowPrompt = 8014;
constexpr unsigned kStylePrompts = 30500;
constexpr unsigned kTabStylePrompts = 31400;
constexpr unsigned kKeyPrefix = 8053;
constexpr unsigned kPaletteIdle = 8008;
constexpr unsigned kInstrumentIdle = 8130;

bool OnTabPalette(int kind, int lineClass) { return kind == kAlternateTab && lineClass == kClassTab; }

}  // namespace

unsigned PromptId(int kind, int lineClass, int code) {
  const unsigned tab = OnTabPalette(kind, lineClass) ? kTabShift : 0;
  if (code >= 0 && code < kAlternatePage) return kSymbolPrompts + static_cast<unsigned>(code) + tab;
  if (code >= kAlternatePage && code < kNotUsed) return kAlternatePrompts + static_cast<unsigned>(code) + tab;
  if (code == kNotUsed) return kNotUsedPrompt;
  if (code >= kJoinTails && code <= kMutualTranslation) return static_cast<unsigned>(code) - kModePromptShift;
  if (code >= kCaretLeft && code <= kCaretDown) return kArrowPrompt;
  if (code >= kFirstNoteStyle && code <= kLastNoteStyle) {
    return (kind == kAlternateTab ? kTabStylePrompts : kStylePrompts) +
           static_cast<unsigned>(code - kFirstNoteStyle);
  }
  return 0;
}

CString PromptText(int kind, int lineClass, int code, PromptUse use) {
  const unsigned id = PromptId(kind, lineClass, code);
  CString prompt;
  if (id == 0 || !LoadString(prompt, id) || prompt.IsEmpty()) {
    switch (use) {
      case PromptUse::kClick:
        return "Symbols Toolbox (problem loading prompt-Tbx2)";
      case PromptUse::kHover:
        return "Symbols Toolbox (problem loading prompt-TBx3)";
      case PromptUse::kHighlight:
        return "Symbols Toolbox (problem loading prompt-TBx4)";
    }
  }
  if (code >= 0 && code < kNotUsed) return LoadString(kKeyPrefix) + prompt;
  return prompt;
}

CString IdleText(int kind) { return LoadString(IsPalette(kind) ? kPaletteIdle : kInstrumentIdle); }

}  // namespace toolbox
