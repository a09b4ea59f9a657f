#include "platform/StringTable.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace {

const StringTableEntry* FindEntry(std::span<const StringTableEntry> part, UINT id) {
  const auto it = std::lower_bound(part.begin(), part.end(), id,
                                   [](const StringTableEntry& e, UINT wanted) { return e.id < wanted; });
  return it != part.end() && it->id == id ? &*it : nullptr;
}

const StringTableEntry* Lookup(UINT id) {
  for (const auto part : {MessageStringEntries(), TuningStringEntries(), ToolboxStringEntries()}) {
    if (const StringTableEntry* e = FindEntry(part, id)) return e;
  }
  return nullptr;
}

bool IsPlaceholder(std::string_view s, size_t i) {
  return s[i] == '%' && i + 1 < s.size() && s[i + 1] >= '1' && s[i + 1] <= '9';
}

// Whether text is the template with each placeholder replaced by some run of
// characters (possibly empty). Wildcard matching that remembers the last
// placeholder and lets it absorb one more character on a mismatch.
bool MatchesTemplate(std::string_view tmpl, std::string_view text) {
  size_t t = 0;
  size_t s = 0;
  size_t starT = std::string_view::npos;
  size_t starS = 0;
  while (s < text.size()) {
    if (t < tmpl.size() && IsPlaceholder(tmpl, t)) {
      t += 2;
      starT = t;
      starS = s;
    } else if (t < tmpl.size() && tmpl[t] == text[s]) {
      ++t;
      ++s;
    } else if (starT != std::string_view::npos) {
      t = starT;
      s = ++starS;
    } else {
      return false;
    }
  }
  while (t < tmpl.size() && IsPlaceholder(tmpl, t)) t += 2;
  return t == tmpl.size();
}

size_t LiteralLength(std::string_view tmpl) {
  size_t n = 0;
  for (size_t i = 0; i < tmpl.size(); ++i) {
    if (IsPlaceholder(tmpl, i)) {
      ++i;
    } else {
      ++n;
    }
  }
  return n;
}

}  // namespace

std::string_view StringTableText(UINT id) {
  const StringTableEntry* e = Lookup(id);
  return e ? std::string_view(e->text) : std::string_view();
}

bool HasString(UINT id) { return Lookup(id) != nullptr; }

CString LoadString(UINT id) { return CString(StringTableText(id)); }

BOOL LoadString(CString& target, UINT id) {
  const StringTableEntry* e = Lookup(id);
  target = e ? e->text : "";
  return e ? TRUE : FALSE;
}

UINT FindStringId(std::string_view text) {
  // The most specific template wins: the one with the most fixed characters,
  // so an exact match beats one that needs placeholders; among equals the
  // first in the table. The templates are ordered that way once, so that
  // naming a message (every message box does) tries them in order and stops
  // at the first match.
  struct Template {
    const StringTableEntry* entry;
    size_t literal;
  };
  static const std::vector<Template> templates = [] {
    std::vector<Template> all;
    for (const auto part : {MessageStringEntries(), TuningStringEntries(), ToolboxStringEntries()}) {
      for (const StringTableEntry& e : part) {
        const size_t literal = LiteralLength(e.text);
        // A template of placeholders only would match anything.
        if (literal > 0) all.push_back({&e, literal});
      }
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Template& a, const Template& b) { return a.literal > b.literal; });
    return all;
  }();
  for (const Template& t : templates) {
    if (MatchesTemplate(t.entry->text, text)) return t.entry->id;
  }
  return 0;
}
