#pragma once
// The preference groups of the settings file and the file's text form.
//
// The file is UTF-8 text with one line per group: the group's name, "=", and
// the group's text; a name alone is a group that holds no text yet. In memory
// names and texts are Windows-1252 bytes. Every byte survives the file: a
// backslash is written "\\", line feed, carriage return and tab "\n", "\r" and
// "\t", other control bytes "\xHH", and in a name also "=" (and a leading "#",
// which marks a comment line) as "\xHH".
//
// Names compare without regard to ASCII case, and a group keeps the spelling it
// was first written with. Lines that are not sound group lines (comments, text
// that is not valid UTF-8 or has no Windows-1252 form, bad escapes) are kept as
// they are and written back unchanged, so a damaged or hand-edited file loses
// nothing when a preference changes. When a name occurs twice the first line
// counts and the later one is dropped.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class KSettingsTable {
 public:
  struct Group {
    std::string name;
    std::optional<std::string> value;
  };

  static KSettingsTable Parse(std::string_view fileText);
  std::string Format() const;

  const Group* Find(std::string_view name) const;
  Group* Find(std::string_view name);
  // The group of that name, added at the end (spelled as given) when missing.
  Group& FindOrAdd(std::string_view name);
  // False when there was no such group.
  bool Remove(std::string_view name);

  std::vector<std::string> GroupNames() const;

  static bool SameName(std::string_view a, std::string_view b);

 private:
  // One line of the file: a group, or a line kept as it was read.
  struct Line {
    bool isGroup = false;
    Group group;
    std::string kept;
  };

  std::vector<Line> lines_;
};
