// The repair of the score's instrument table at the first update, and its
// parsing into the view's instrument entries.
//
// Entries 0 to 6 belong to the unlabelled line kinds (treble, bass, tab,
// percussion, alto, tenor, bass tab). Older scores could hold a user label in
// one of those places; such a label moves to the end of the table and the
// kind's default entry takes its place again.

#include <algorithm>
#include <span>
#include <string_view>

#include "common/NumberText.h"
#include "common/RecentChords.h"
#include "doc/pref_values/Preferences.h"
#include "platform/StringTable.h"
#include "view/CStavlinView.h"
#include "view/core/ViewInitialSteps.h"

namespace {

constexpr int kSlots = ScoreSettings::kInstrumentSlots;
constexpr int kFixed = ScoreSettings::kFixedInstruments;
constexpr UINT kUnlabeledString = 8156;
constexpr UINT kFirstDefaultName = 8030;
constexpr int kPercussionProgram = 130;
// Program and volume take three characters each before the name.
constexpr int kNameStart = 6;

CString NameOf(const CString& entry) {
  return entry.GetLength() > kNameStart ? entry.Mid(kNameStart) : CString();
}

int NumberAt(const CString& entry, int start) {
  const std::string_view text = entry.View();
  if (static_cast<int>(text.size()) <= start) return 0;
  int value = 0;
  ScanCommaIntegers(text.substr(static_cast<size_t>(start), 3), std::span<int>(&value, 1));
  return value;
}

CString DefaultEntry(int kind) {
  const KPrefMidiInstruments& p = g_prefMidiInstruments;
  const int programs[kFixed] = {p.treble, p.bass, p.tab, kPercussionProgram, p.alto, p.tenor, p.bassTab};
  return FormatNumberLabel(programs[kind]) + FormatNumberLabel(g_prefMidi.loudness) +
         LoadString(kFirstDefaultName + static_cast<UINT>(kind));
}

// An entry of a fixed place that is still the kind's own: its default name,
// or a name that says it is unlabelled.
bool IsKindEntry(const CString& entry, int kind, const CString& marker) {
  const CString name = NameOf(entry);
  return name == LoadString(kFirstDefaultName + static_cast<UINT>(kind)) || name.Find(marker) >= 0;
}

void RestoreFixedEntries(CString (&table)[kSlots], int& count) {
  const CString marker = LoadString(kUnlabeledString).Mid(1);
  bool anyKindEntry = false;
  for (int i = 0; i < kFixed; ++i) anyKindEntry = anyKindEntry || IsKindEntry(table[i], i, marker);
  if (!anyKindEntry) return;
  for (int i = 0; i < kFixed && count < kSlots; ++i) {
    if (IsKindEntry(table[i], i, marker)) continue;
    // An empty place holds no label worth keeping.
    if (!NameOf(table[i]).IsEmpty()) table[count++] = table[i];
    table[i] = DefaultEntry(i);
  }
}

void DropRepeatedLabels(CString (&table)[kSlots], int& count) {
  for (int i = kFixed; i < count; ++i) {
    const CString name = NameOf(table[i]);
    for (int j = i + 1; j < count;) {
      if (NameOf(table[j]) == name) {
        table[j] = table[count - 1];
        table[--count].Empty();
      } else {
        ++j;
      }
    }
  }
}

}  // namespace

void RepairInstrumentTable(CStavlinView& view) {
  ScoreSettings& s = view.m_options;
  // A count from a file is not trusted: the fixed places always exist.
  int count = std::clamp(static_cast<int>(s.instrumentCount), kFixed, kSlots);
  RestoreFixedEntries(s.instrumentTable, count);
  DropRepeatedLabels(s.instrumentTable, count);
  for (int i = 0; i < kSlots; ++i) {
    LabelEntry& label = view.m_labels[static_cast<size_t>(i)];
    if (i < count) {
      label.name = NameOf(s.instrumentTable[i]);
      label.program = NumberAt(s.instrumentTable[i], 0);
      label.volume = NumberAt(s.instrumentTable[i], 3);
    } else {
      label = LabelEntry();
    }
  }
  s.instrumentCount = static_cast<BYTE>(count);
  view.m_labelCount = count;
}
