#pragma once
// The preference groups of the store, in the order LoadRegistrySettings reads
// them (a later group's rules may use an earlier one's values), with the names
// under which the store keeps them. "AltTunings" is kept by the tuning dialog
// and is not one of them.

#include <array>
#include <string_view>

enum class KPrefGroup {
  kStavlinXYSizeXYPos,
  kNewDocXYSizeXYPos,
  kDocOptions,
  kStartFolder,
  kLastOpenFile,
  kPgMargins,
  kPgOptions,
  kPgNum,
  kPgNumFont,
  kPrintCorr,
  kPrintCorr2,
  kEntryOptions,
  kToolViewOptions,
  kToolBoxPos,
  kDocViewOptions,
  kAutoSave,
  kTabOptions,
  kTabTuning,
  kBassTabTuning,
  kTabFont,
  kStaffLines,
  kStaffLines2,
  kStaffLines3,
  kExtTextFont,
  k2ndExtTextFont,
  k2ndBracketTextFont,
  kTripletFont,
  kTextFont,
  kChords,
  kChords2,
  kChordNameFont,
  kRhythmFont,
  kScrolling,
  kTextFiles,
  kExporting,
  kTranslation,
  kTransAltTun,
  kTranspose,
  kLineGroups,
  kMidi,
  kMidiEffects,
  kAutoFormat,
  kMidiImport,
  kMidiInput,
  kMidiInstruments,
  kPrinterParams,
};

inline constexpr int kPrefGroupCount = static_cast<int>(KPrefGroup::kPrinterParams) + 1;

// The group's name in the store ("StavlinXYSizeXYPos", "2ndExtTextFont"...).
std::string_view PreferenceGroupName(KPrefGroup group);

// Every group, in reading order.
std::array<KPrefGroup, kPrefGroupCount> AllPreferenceGroups();

// The text stored for a missing group, byte for byte; null for the groups whose
// default is computed as they are read ("StartFolder", "LastOpenFile",
// "ChordNameFont").
const char* FixedPreferenceDefault(KPrefGroup group);

// The default "ChordNameFont" of a chord-name style ("Chords" (6)).
const char* DefaultChordNameFont(int style);
