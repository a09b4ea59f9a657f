#include "dialogs/UserTuningStore.h"

#include <string>
#include <string_view>

#include "common/Globals.h"
#include "platform/Registry.h"

namespace user_tunings {

namespace {

// The pitch digits of a tuning end here; the name's "-" comes at or after it.
constexpr size_t kTuningBase = 25;
constexpr size_t kListPrefix = 13;
constexpr int kBanjoDigit = 12;
constexpr const char* kNoName = "-Custom Tuning";

// The position of the "-" between tuning and name; npos when there is none.
size_t Separator(std::string_view entry) {
  size_t p = entry.find('-', kTuningBase);
  if (p == std::string_view::npos) return p;
  // A seventh or eighth string written as "-" stands at 25 or 26, right
  // before the separator.
  while (p + 1 < entry.size() && entry[p + 1] == '-' && p <= kTuningBase + 1) ++p;
  return p;
}

}  // namespace

CString ReadStore() {
  std::string text;
  if (RegQueryValueString(HKEY_CURRENT_USER, kStoreKey, text) != ERROR_SUCCESS) return CString();
  return CString(std::string_view(text));
}

bool WriteStore(const CString& value) {
  return RegSetValue(HKEY_CURRENT_USER, kStoreKey, REG_SZ, value, 0) == ERROR_SUCCESS;
}

std::vector<CString> Entries(const CString& value) {
  std::vector<CString> entries;
  const std::string_view text = value.View();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(kEntryMark, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view piece = text.substr(start, end - start);
    if (static_cast<int>(piece.size()) > kShortestEntry) entries.emplace_back(piece);
    start = end + 1;
  }
  return entries;
}

CString TuningOf(const CString& entry) {
  const std::string_view text = entry.View();
  const size_t p = Separator(text);
  return CString(p == std::string_view::npos ? text : text.substr(0, p));
}

CString NameOf(const CString& entry) {
  const std::string_view text = entry.View();
  const size_t p = Separator(text);
  return p == std::string_view::npos ? CString() : CString(text.substr(p + 1));
}

CString ListTextOf(const CString& entry) {
  const std::string_view text = entry.View();
  std::string list(text.substr(0, std::min(kListPrefix, text.size())));
  // A banjo's short string is named by the pitch it starts at.
  if (text.size() > kListPrefix + 1 && text[kBanjoDigit] >= '1' && text[kBanjoDigit] <= '9') {
    const int pitch = (text[13] - '0') * 10 + (text[14] - '0') + (text[kBanjoDigit] - '0');
    const CString& name = PitchNameOf(pitch);
    list[0] = name.GetAt(0);
    list[1] = name.GetAt(1);
  }
  const size_t p = Separator(text);
  list += p == std::string_view::npos ? std::string(kNoName) : std::string(text.substr(p));
  return CString(std::string_view(list));
}

CString SanitizeTuningName(const CString& name) {
  std::string clean;
  for (char c : name.View()) {
    if (c != kEntryMark) clean += c;
  }
  const size_t first = clean.find_first_not_of("- ");
  return CString(std::string_view(first == std::string::npos ? std::string() : clean.substr(first)));
}

CString WithEntry(const CString& value, const CString& entry) { return value + CString(kEntryMark) + entry; }

std::optional<CString> WithoutEntry(const CString& value, const CString& entry) {
  const std::string marked = std::string(1, kEntryMark) + std::string(entry.View());
  const std::string_view text = value.View();
  // A value written by hand may start with an entry, without a mark before it:
  // Entries lists it, so it can be removed too.
  const std::string_view plain = entry.View();
  if (text.substr(0, plain.size()) == plain &&
      (text.size() == plain.size() || text[plain.size()] == kEntryMark))
    return CString(text.substr(plain.size()));
  // Only a whole entry counts: the match must end at the next mark or the end.
  for (size_t p = text.find(marked); p != std::string_view::npos; p = text.find(marked, p + 1)) {
    const size_t end = p + marked.size();
    if (end == text.size() || text[end] == kEntryMark) {
      std::string rest(text.substr(0, p));
      rest += text.substr(end);
      return CString(std::string_view(rest));
    }
  }
  return std::nullopt;
}

}  // namespace user_tunings
