#pragma once
// The help topics of the program: every dialog's and preferences page's Help
// button and the main frame's help commands open one of these by name. A
// topic's page is <help folder>/<topic name>.html; the help port shows it in
// a help window of its own, which stays open when the dialog that opened it
// closes. A missing page is the help window's to report; callers go on.

#include <optional>
#include <string_view>

#include "platform/CString.h"

enum class HelpTopic {
  kAdtabLegend,
  kAutoSave,
  kChordDesigner,
  kChordLineProps,
  kChordSelect,
  kExtText,
  kFretPos,
  kGoto,
  kInternetLink,
  kKeySig,
  kLabelText,
  kLineGrouping,
  kMidiImpSettings,
  kMidiInput,
  kMidiInstruments,
  kNoteSwitch,
  kPhraseLine,
  kPrintOptions,
  kPrintSizeAlert,
  kPropsChord,
  kPropsDocLayPrt,
  kPropsMidi,
  kPropsMidiInput,
  kPropsOptAsvVew,
  kPropsSclTxfTrns,
  kPropsTab,
  kPropsTxtTabStf,
  kRemove,
  kSetBarNum,
  kSetLineLength,
  kSetScrollData,
  kSetTranslation,
  kStaffLineProps,
  kTabTuning,
  kTimeSig,
  kTranspose,
  kTriplet,
  kViewLabeledLines,
  kStarting,
  kMainIndex,
};
inline constexpr int kHelpTopicCount = static_cast<int>(HelpTopic::kMainIndex) + 1;

// The topic's name, such as "HIDD_GOTO" or "main_index"; empty for a value
// outside the enumeration.
std::string_view HelpTopicName(HelpTopic topic);

// The topic of a name, matched exactly (case and all); none for any other text.
std::optional<HelpTopic> FindHelpTopic(std::string_view name);

// The page of a topic in the help folder: helpDir + "/" + name + ".html"
// (no second separator when helpDir ends with one; the bare file name when
// helpDir is empty). Empty for a value outside the enumeration.
CString HelpPagePath(const CString& helpDir, HelpTopic topic);

// Opens the topic through the current help port. The result of the help
// window is not awaited: a missing page shows what the window shows.
void ShowHelpTopic(HelpTopic topic);
