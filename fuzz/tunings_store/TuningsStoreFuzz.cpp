// The user's saved tunings: the bytes are the stored "AltTunings" value, read
// back from the settings store as the tuning dialog reads it. Every entry
// splits into its tuning and its name and joins back into itself, lists
// without harm, is listed last once added again, and removing it takes out
// that one entry and nothing else.

#include <string>

#include "FuzzEnvironment.h"
#include "dialogs/UserTuningStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  std::string raw(reinterpret_cast<const char*>(data), size);
  // The store keeps texts: a NUL ends one, and its lines are one value.
  raw = raw.substr(0, raw.find('\0'));
  const CString value{std::string_view(raw)};
  if (!user_tunings::WriteStore(value)) return 0;
  const CString stored = user_tunings::ReadStore();
  const std::vector<CString> entries = user_tunings::Entries(stored);
  for (const CString& entry : entries) {
    if (entry.GetLength() <= user_tunings::kShortestEntry || entry.Find(user_tunings::kEntryMark) >= 0)
      StavlinFuzzFail("a listed entry is too short or holds the entry mark");
    const CString tuning = user_tunings::TuningOf(entry);
    const CString name = user_tunings::NameOf(entry);
    const bool whole = tuning == entry && name.IsEmpty();
    if (!whole && tuning + "-" + name != entry)
      StavlinFuzzFail("an entry does not split into tuning and name");
    const CString listed = user_tunings::ListTextOf(entry);
    if (listed.IsEmpty()) StavlinFuzzFail("an entry lists as nothing");

    const std::vector<CString> added = user_tunings::Entries(user_tunings::WithEntry(stored, entry));
    if (added.size() != entries.size() + 1 || added.back() != entry)
      StavlinFuzzFail("an added entry is not listed last");
    const std::optional<CString> removed = user_tunings::WithoutEntry(stored, entry);
    if (!removed) StavlinFuzzFail("a listed entry cannot be removed");
    if (user_tunings::Entries(*removed).size() + 1 != entries.size())
      StavlinFuzzFail("removing an entry takes out other than that entry");
  }
  const CString clean = user_tunings::SanitizeTuningName(value);
  if (clean.Find(user_tunings::kEntryMark) >= 0 || (!clean.IsEmpty() && (clean[0] == '-' || clean[0] == ' ')))
    StavlinFuzzFail("a sanitised name can still break an entry");
  return 0;
}
