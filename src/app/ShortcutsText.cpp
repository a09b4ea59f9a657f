// The text of Help | Keyboard Shortcuts: first the keys that enter music,
// grouped as a musician looks for them (each symbol's key and name come from
// the toolbox prompts, the one table that typing and the toolboxes share),
// then every command key of the menus, with Ctrl, Shift and Alt written out.

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/CStavlinApp.h"
#include "platform/StringTable.h"
#include "view/commands/CommandTable.h"

namespace {

constexpr UINT kSymbolPrompts = 30100;  // + symbol code: "key (hint)  name"
constexpr int kKeyColumn = 22;

void Pad(std::string& line, std::size_t width) {
  if (line.size() < width)
    line.append(width - line.size(), ' ');
  else
    line += ' ';
}

// One symbol's line: its keys, then its name. The prompt's memory hint
// "(eigh_t_h)" loses the underscores that mark its key letter.
std::string SymbolLine(int code) {
  const CString prompt = LoadString(kSymbolPrompts + static_cast<UINT>(code));
  std::string text(prompt.View());
  if (text.empty()) return {};
  std::string keys = text;
  std::string name;
  if (const std::size_t gap = text.find("  "); gap != std::string::npos) {
    keys = text.substr(0, gap);
    name = text.substr(text.find_first_not_of(' ', gap));
  }
  std::string shown = keys;
  if (const std::size_t hint = keys.find(" ("); hint != std::string::npos) {
    shown = keys.substr(0, hint);
    for (const char c : keys.substr(hint))
      if (c != '_') shown += c;
  }
  std::string line = "  " + shown;
  Pad(line, kKeyColumn);
  return line + name + "\n";
}

void Heading(std::string& out, std::string_view title, std::string_view how) {
  if (!out.empty()) out += "\n";
  out += title;
  out += "\n";
  if (!how.empty()) {
    out += "  ";
    out += how;
    out += "\n";
  }
}

void Symbols(std::string& out, std::initializer_list<int> codes) {
  for (const int code : codes) out += SymbolLine(code);
}

void Symbols(std::string& out, int first, int last) {
  for (int code = first; code <= last; ++code) out += SymbolLine(code);
}

void KeyLine(std::string& out, std::string_view keys, std::string_view what) {
  std::string line = "  ";
  line += keys;
  Pad(line, kKeyColumn);
  out += line;
  out += what;
  out += "\n";
}

// The key of a command as the menus show it ("Ctrl+Shift+P"), or "" when
// it has none.
std::string KeyOf(UINT id) {
  for (const KAccelerator& key : Accelerators())
    if (key.id == id) return key.key;
  return {};
}

void CommandLine(std::string& out, UINT id, std::string_view what) { KeyLine(out, KeyOf(id), what); }

}  // namespace

CString ShortcutsText() {
  std::string out;
  Heading(out, "NOTE VALUES (DURATIONS)",
          "On a staff, move the caret to the pitch and type the value; on tablature, type the value, "
          "then the fret.\n  A small letter gives the note a stem up, a capital a stem down.");
  Symbols(out, 0, 13);
  KeyLine(out, "a..g", "Staff: move the caret down to the next note of that name");
  KeyLine(out, "A..G", "Staff: move the caret up to the next note of that name (Caps Lock swaps)");

  Heading(out, "DOTS",
          "On a staff type the dot first, then the note it lengthens;\n"
          "  on a rhythm line the dot follows its note.");
  Symbols(out, 36, 37);

  Heading(out, "RESTS", "");
  Symbols(out, 14, 20);

  Heading(out, "TIES",
          "Type on the first note of the tie, or right after it (the tie holds the note just typed); "
          "the same key again on that note makes it span two columns.");
  Symbols(out, 32, 35);
  CommandLine(out, 41088, "Curved tie or slur below, dragged to its length");
  CommandLine(out, 41089, "Curved tie or slur above, dragged to its length");

  Heading(out, "TRIPLETS", "Enter the three notes, select them, then:");
  CommandLine(out, 41090, "Triplet bracket over the selected notes (Insert | Triplet Bracket)");

  Heading(out, "BARS AND REPEATS", "");
  Symbols(out, 21, 26);
  Symbols(out, {96, 97});
  CommandLine(out, 41093, "Bracket, such as a first or second ending");
  CommandLine(out, 41315, "Auto Bar Insertion on or off: a bar line closes each full bar");

  Heading(out, "ACCIDENTALS", "Type at the note's column and height.");
  Symbols(out, 27, 31);

  Heading(out, "FRETS AND GUITAR SYMBOLS", "Up and Down choose the string; the digits enter the fret there.");
  KeyLine(out, "0..9", "Fret 0 to 9");
  KeyLine(out, "1 then 0..9", "Frets 10 to 19 (2 then 0..4: frets 20 to 24)");
  KeyLine(out, "+", "A fret labelled with a plus, on instruments with their own fret list");
  Symbols(out, {42, 44, 46, 48, 50, 54, 56, 58, 60, 62, 72, 73, 74, 75, 78, 79, 84, 86, 88});

  Heading(out, "CHORDS", "");
  KeyLine(out, "A..G", "On a chord line: a chord of that root from the chord dictionary");
  CommandLine(out, 41072, "Insert | Chord: choose a chord and insert it into the line or group");
  CommandLine(out, 41054, "Insert a chord name and diagram line");

  Heading(out, "LYRICS AND TEXT", "On a text line every key types itself.");
  CommandLine(out, 41040, "Insert a text and lyrics line");
  KeyLine(out, "Shift+Tab", "The next word starts under the next note of the line above");
  KeyLine(out, "Enter", "Split the line at the caret");
  KeyLine(out, "Backspace", "At the start of a line: join it to the line above");

  Heading(out, "RHYTHM LINES",
          "Letters type the chord names and words over the strums. With Rhythm Symbol Entry on,\n"
          "  the keys of a staff enter rhythm symbols: w h q t s y x note values, _ - ! , ' j J rests,\n"
          "  | \" I [ ] % bars and repeats, . a dot (typed after its note) and n a tie.");
  CommandLine(out, 41302, "Rhythm Symbol Entry on or off");
  CommandLine(out, 41053, "Insert a rhythm line");

  Heading(out, "OTHER SYMBOLS", "");
  Symbols(out, {38, 39, 40, 52, 64, 66, 68, 69, 70, 71, 76, 77, 80,
                81, 82, 83, 85, 87, 89, 90, 91, 92, 93, 94, 95, 107});
  CommandLine(out, 41336, "The next symbol in its alternate form");

  Heading(out, "MENU COMMANDS", "");
  for (const KAccelerator& key : Accelerators()) {
    const KCommandInfo* command = FindCommand(key.id);
    if (command == nullptr) continue;
    std::string text;
    for (const char* c = command->text; *c != 0; ++c) {
      if (*c == '\t') break;
      if (*c != '&') text += *c;
    }
    KeyLine(out, key.key, text);
  }
  return CString(out);
}
