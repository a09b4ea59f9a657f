#include "platform/SettingsTable.h"

#include <algorithm>
#include <string>
#include <unordered_set>

#include "platform/Cp1252.h"

namespace {

constexpr std::string_view kHeader = "# Stavlin preferences: one line per group, Group=text";

char ToLowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Escape(std::string_view bytes, bool isName) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b == '\\') {
      out += "\\\\";
    } else if (b == '\n') {
      out += "\\n";
    } else if (b == '\r') {
      out += "\\r";
    } else if (b == '\t') {
      out += "\\t";
    } else if (b < 0x20 || b == 0x7F || (isName && (b == '=' || (b == '#' && i == 0)))) {
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 0x0F];
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        if (text.size() - i < 3) return std::nullopt;
        const int high = HexDigit(text[i + 1]);
        const int low = HexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high * 16 + low);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  return out;
}

// The group a line of the file holds, or nothing when the line is not a sound
// group line.
std::optional<KSettingsTable::Group> ParseGroupLine(std::string_view utf8) {
  if (utf8.empty() || utf8.front() == '#') return std::nullopt;
  // Control bytes are always written escaped; a line holding them raw was not
  // written by this program.
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) return std::nullopt;
  }
  // Windows-1252 holds every character of a sound line; anything else (bad
  // UTF-8, characters from other scripts) would not survive a rewrite.
  const std::string bytes = cp1252::FromUtf8(utf8);
  if (cp1252::ToUtf8(bytes) != utf8) return std::nullopt;
  const size_t equals = bytes.find('=');
  std::optional<std::string> name = Unescape(std::string_view(bytes).substr(0, equals));
  if (!name || name->empty()) return std::nullopt;
  KSettingsTable::Group group{std::move(*name), std::nullopt};
  if (equals != std::string::npos) {
    group.value = Unescape(std::string_view(bytes).substr(equals + 1));
    if (!group.value) return std::nullopt;
  }
  return group;
}

}  // namespace

bool KSettingsTable::SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return ToLowerAscii(x) == ToLowerAscii(y);
         });
}

KSettingsTable KSettingsTable::Parse(std::string_view fileText) {
  KSettingsTable table;
  // The names met so far, in lower case: of groups with the same name the
  // first counts, and a file of many groups is read in one pass.
  std::unordered_set<std::string> names;
  while (!fileText.empty()) {
    const size_t end = fileText.find('\n');
    std::string_view line = fileText.substr(0, end);
    fileText = end == std::string_view::npos ? std::string_view() : fileText.substr(end + 1);
    // A kept line keeps the carriage return of a CRLF ending too: written back
    // with its line feed, it reads the same again.
    const std::string_view raw = line;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    Line entry;
    if (std::optional<Group> group = ParseGroupLine(line)) {
      std::string lower = group->name;
      for (char& c : lower) c = ToLowerAscii(c);
      if (!names.insert(std::move(lower)).second) continue;
      entry.isGroup = true;
      entry.group = std::move(*group);
    } else {
      entry.kept = std::string(raw);
    }
    table.lines_.push_back(std::move(entry));
  }
  return table;
}

std::string KSettingsTable::Format() const {
  std::string out;
  if (lines_.empty() || lines_.front().isGroup || lines_.front().kept.rfind('#', 0) != 0) {
    out += kHeader;
    out += '\n';
  }
  for (const Line& line : lines_) {
    if (line.isGroup) {
      std::string text = Escape(line.group.name, true);
      if (line.group.value) text += "=" + Escape(*line.group.value, false);
      out += cp1252::ToUtf8(text);
    } else {
      out += line.kept;
    }
    out += '\n';
  }
  return out;
}

const KSettingsTable::Group* KSettingsTable::Find(std::string_view name) const {
  for (const Line& line : lines_) {
    if (line.isGroup && SameName(line.group.name, name)) return &line.group;
  }
  return nullptr;
}

KSettingsTable::Group* KSettingsTable::Find(std::string_view name) {
  return const_cast<Group*>(static_cast<const KSettingsTable*>(this)->Find(name));
}

KSettingsTable::Group& KSettingsTable::FindOrAdd(std::string_view name) {
  if (Group* group = Find(name)) return *group;
  Line line;
  line.isGroup = true;
  line.group.name = std::string(name);
  lines_.push_back(std::move(line));
  return lines_.back().group;
}

bool KSettingsTable::Remove(std::string_view name) {
  const auto it = std::find_if(lines_.begin(), lines_.end(), [&](const Line& line) {
    return line.isGroup && SameName(line.group.name, name);
  });
  if (it == lines_.end()) return false;
  lines_.erase(it);
  return true;
}

std::vector<std::string> KSettingsTable::GroupNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.isGroup) names.push_back(line.group.name);
  }
  return names;
}
