#include "common/HelpTopics.h"

#include <array>

#include "platform/HelpPort.h"

namespace {

// In the order of HelpTopic.
constexpr std::array<std::string_view, kHelpTopicCount> kTopicNames = {
    "HIDD_ADTAB_LEGEND",
    "HIDD_AUTO_SAVE",
    "HIDD_CHORD_DESIGNER",
    "HIDD_CHORD_LINE_PROPS",
    "HIDD_CHORD_SELECT",
    "HIDD_EXT_TEXT",
    "HIDD_FRETPOS",
    "HIDD_GOTO",
    "HIDD_INTERNET_LINK",
    "HIDD_KEY_SIG",
    "HIDD_LABEL_TEXT",
    "HIDD_LINE_GROUPING",
    "HIDD_MIDI_IMP_SETTINGS",
    "HIDD_MIDI_INPUT",
    "HIDD_MIDI_INSTRUMENTS",
    "HIDD_NOTESWITCH",
    "HIDD_PHRASE_LINE",
    "HIDD_PRINT_OPTIONS",
    "HIDD_PRINT_SIZEALERT",
    "HIDD_PROPS_CHORD",
    "HIDD_PROPS_DOC_LAY_PRT",
    "HIDD_PROPS_MIDI",
    "HIDD_PROPS_MIDI_INPUT",
    "HIDD_PROPS_OPT_ASV_VEW",
    "HIDD_PROPS_SCL_TXF_TRNS",
    "HIDD_PROPS_TAB",
    "HIDD_PROPS_TXT_TAB_STF",
    "HIDD_REMOVE",
    "HIDD_SET_BAR_NUM",
    "HIDD_SET_LINE_LENGTH",
    "HIDD_SET_SCROLL_DATA",
    "HIDD_SET_TRANSLATION",
    "HIDD_STAFF_LINE_PROPS",
    "HIDD_TAB_TUNING",
    "HIDD_TIME_SIG",
    "HIDD_TRANSPOSE",
    "HIDD_TRIPLET",
    "HIDD_VIEW_LABELED_LINES",
    "HID_STARTING",
    "main_index",
};

constexpr std::string_view kPageExtension = ".html";

}  // namespace

std::string_view HelpTopicName(HelpTopic topic) {
  const int index = static_cast<int>(topic);
  return index >= 0 && index < kHelpTopicCount ? kTopicNames[static_cast<std::size_t>(index)]
                                               : std::string_view();
}

std::optional<HelpTopic> FindHelpTopic(std::string_view name) {
  for (int i = 0; i < kHelpTopicCount; ++i) {
    if (kTopicNames[static_cast<std::size_t>(i)] == name) return static_cast<HelpTopic>(i);
  }
  return std::nullopt;
}

CString HelpPagePath(const CString& helpDir, HelpTopic topic) {
  const std::string_view name = HelpTopicName(topic);
  if (name.empty()) return CString();
  std::string path(helpDir.View());
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  path += kPageExtension;
  return CString(std::string_view(path));
}

void ShowHelpTopic(HelpTopic topic) {
  const std::string_view name = HelpTopicName(topic);
  if (!name.empty()) CurrentHelpPort().ShowTopic(name);
}
