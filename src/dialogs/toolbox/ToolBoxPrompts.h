#pragma once
// The caption texts of the symbol toolboxes: the prompt of a palette cell
// (its key and meaning, from the string table), with "Key: " before the
// prompts of symbols, and the texts shown when the pointer is elsewhere.
// Qt-free.

#include "platform/CString.h"

namespace toolbox {

// Where a prompt is asked for: its replacement text when the string is
// missing says which (a click, the pointer over a cell, the highlight).
enum class PromptUse { kClick, kHover, kHighlight };

// The string id of a cell code's prompt on the kind (kind 3 on a tablature
// line has its own prompts); 0 for a code without one.
unsigned PromptId(int kind, int lineClass, int code);
// The caption of a cell code: "Key: " and the prompt for a symbol, the
// prompt alone for a control cell, or the replacement text of the use when
// the prompt is missing.
CString PromptText(int kind, int lineClass, int code, PromptUse use);
// The caption while the pointer is outside the cells or over the frame:
// 8130 on the fretboard and keyboard, 8008 on the palettes.
CString IdleText(int kind);

}  // namespace toolbox
