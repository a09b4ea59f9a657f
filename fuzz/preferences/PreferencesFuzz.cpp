// Every preference group's decoder (LoadRegistrySettings): the bytes are the
// settings file, its groups read into the store, and the start-up reader
// decodes each group into the preference values. What it decoded, written
// back as each group's text and read again from a fresh start, decodes to the
// same values: the decoders and the writers agree, whatever the file held.
// With what it decoded in force, a score of every line kind and every
// attachment kind opens in a view, is drawn whole, paginated and printed:
// no preference value makes the layout, the drawing or the printing
// overflow, read out of bounds or hang.

#include <array>
#include <memory>
#include <string_view>

#include "FuzzDrawing.h"
#include "FuzzEnvironment.h"
#include "FuzzScoreView.h"
#include "doc/ResetProgramGlobals.h"
#include "doc/pref_values/LoadRegistrySettings.h"
#include "doc/pref_values/PreferenceGroups.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "platform/SettingsStore.h"
#include "platform/SettingsTable.h"
#include "reliability/SampleScores.h"

namespace {

std::array<std::string, kPrefGroupCount> DecodedGroups() {
  std::array<std::string, kPrefGroupCount> texts;
  for (KPrefGroup group : AllPreferenceGroups())
    texts[static_cast<std::size_t>(group)] = FormatPreferenceGroup(group).Str();
  return texts;
}

// A score of every line kind (staffs of every clef, tablature with fret
// numbers, rhythm symbols, chord diagrams, text and lyrics, a line group)
// and every attachment kind.
void EveryKind(CStavlinDoc& doc) {
  for (const SampleScore& sample : SampleScores()) {
    const std::string_view name = sample.name;
    if (name == "EveryLineKind" || name == "EveryAttachmentKind") sample.fill(doc);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeUiPort& ui = StavlinFuzzStart();
  std::array<std::string, kPrefGroupCount> first;
  {
    // The store holds what the file store holds once it has read the file.
    KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>(
        KSettingsTable::Parse(std::string_view(reinterpret_cast<const char*>(data), size)))};
    LoadRegistrySettings();
    first = DecodedGroups();
    FuzzScoreView score(EveryKind, FuzzScoreView::KeepPreferences{});
    DrawAndPrint(*score.view, ui);
  }
  ResetProgramGlobals();
  {
    KSettingsStoreScope store{std::make_unique<KMemorySettingsStore>()};
    for (KPrefGroup group : AllPreferenceGroups())
      CurrentSettingsStore().SetValue(PreferenceGroupName(group), first[static_cast<std::size_t>(group)]);
    LoadRegistrySettings();
    if (DecodedGroups() != first)
      StavlinFuzzFail("a preference group decodes to other values once written back");
  }
  ResetProgramGlobals();
  return 0;
}
