#pragma once
// The typing keys of the music symbols: which character typed on a staff or
// tablature line enters which symbol code. The toolbox prompts name the same
// keys ("q (_q_uarter)  Quarter note with tail up" for code 8), so a key
// changes here and in the prompt's text together. Qt-free.

namespace symbol_keys {

// Symbol codes 0..kKeyRows - 1 have a row in the key table.
inline constexpr int kKeyRows = 96;
// ":" (the empty column marker) enters a code past the table.
inline constexpr int kColonCode = 107;

// The character whose key enters the code, or 0 for a code without a key of
// its own (the second symbol of a doubled key such as "##" or "uu", whose
// prompt names the key of the code before it twice) and for a code outside
// the table.
char KeyOfCode(int code);

// The symbol code a typed character enters: the first row whose key it is,
// kColonCode for ":", -1 for a character that enters no symbol.
int CodeOfKey(char key);

}  // namespace symbol_keys
