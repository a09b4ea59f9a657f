// The settings file: any text parses; the formatted table parses back into a
// table that formats the same text, and a group set to a value reads back.

#include <string>
#include <string_view>

#include "FuzzEnvironment.h"
#include "platform/SettingsTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  KSettingsTable table = KSettingsTable::Parse(text);
  const std::string first = table.Format();
  if (KSettingsTable::Parse(first).Format() != first)
    StavlinFuzzFail("formatting a parsed file is not stable");

  // Every group that parsed keeps its value through a write and a read.
  const KSettingsTable written = KSettingsTable::Parse(first);
  for (const std::string& name : table.GroupNames()) {
    const KSettingsTable::Group* group = table.Find(name);
    if (group == nullptr) StavlinFuzzFail("a listed group is not found");
    const KSettingsTable::Group* back = written.Find(name);
    if (back == nullptr || back->value != group->value) StavlinFuzzFail("a group changes through the file");
  }
  KSettingsTable::Group& added = table.FindOrAdd("Fuzz\x01=Group");
  added.value = std::string(text.substr(0, 64));
  const KSettingsTable reread = KSettingsTable::Parse(table.Format());
  const KSettingsTable::Group* found = reread.Find("fuzz\x01=group");
  if (found == nullptr || found->value != added.value) StavlinFuzzFail("a set group does not read back");
  return 0;
}
