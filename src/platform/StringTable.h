#pragma once
// The program's string table: every message, caption, prompt and label that
// the program shows by number. Texts are Windows-1252 bytes; "\n" in a message
// is a line break of its message box, and %1, %2... are the places that
// AfxFormatString1/AfxFormatString2 fill in.

#include "platform/CString.h"
#include "platform/WinTypes.h"

#include <span>
#include <string_view>

struct StringTableEntry {
  UINT id;
  const char* text;
};

// The text of a string id; empty when the table has no such string.
std::string_view StringTableText(UINT id);
bool HasString(UINT id);

// The framework's CString::LoadString as free functions: the text of the id,
// or an empty string (and FALSE) when the table has no such string.
CString LoadString(UINT id);
BOOL LoadString(CString& target, UINT id);

// The id of the string that a shown text was made from: the text equals the
// string with each %1..%9 standing for any run of characters. 0 when none
// matches. Lets message records and test scripts name a formatted message by
// its id.
UINT FindStringId(std::string_view text);

// The parts of the table, each sorted by id (defined in StringTableData.cpp,
// StringTableTunings.cpp and StringTableToolbox.cpp).
std::span<const StringTableEntry> MessageStringEntries();
std::span<const StringTableEntry> TuningStringEntries();
std::span<const StringTableEntry> ToolboxStringEntries();
