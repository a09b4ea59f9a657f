#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/HelpTopics.h"
#include "platform/HelpPort.h"

namespace {

HelpTopic TopicAt(int index) { return static_cast<HelpTopic>(index); }

TEST(HelpTopics, EveryTopicHasItsOwnNameAndIsFoundByIt) {
  // The names the help pages are filed under, byte for byte.
  const std::set<std::string> names = {
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
  ASSERT_EQ(names.size(), static_cast<std::size_t>(kHelpTopicCount));
  std::set<std::string> seen;
  for (int i = 0; i < kHelpTopicCount; ++i) {
    const std::string name(HelpTopicName(TopicAt(i)));
    EXPECT_TRUE(names.count(name)) << name;
    seen.insert(name);
    EXPECT_EQ(FindHelpTopic(name), TopicAt(i)) << name;
  }
  EXPECT_EQ(seen, names);
  EXPECT_EQ(HelpTopicName(HelpTopic::kGoto), "HIDD_GOTO");
  EXPECT_EQ(HelpTopicName(HelpTopic::kMainIndex), "main_index");
}

TEST(HelpTopics, OtherTextNamesNoTopic) {
  const std::vector<std::string> names = {
      "",
      "hidd_goto",
      "HIDD_GOTO ",
      " HIDD_GOTO",
      "HIDD_GOTO.html",
      "MAIN_INDEX",
      "../HIDD_GOTO",
      "HIDD_GOT",
      std::string("HIDD_GOTO\0", 10),
      "HIDD_",
  };
  for (const auto& name : names) EXPECT_EQ(FindHelpTopic(name), std::nullopt) << name;
  EXPECT_EQ(HelpTopicName(TopicAt(kHelpTopicCount)), "");
  EXPECT_EQ(HelpTopicName(TopicAt(-1)), "");
}

TEST(HelpTopics, PagePathIsTheTopicsPageInTheHelpFolder) {
  struct PathCase {
    const char* folder;
    HelpTopic topic;
    const char* expected;
  };
  const std::vector<PathCase> cases = {
      {"/usr/share/stavlin/help", HelpTopic::kGoto, "/usr/share/stavlin/help/HIDD_GOTO.html"},
      {"/usr/share/stavlin/help/", HelpTopic::kGoto, "/usr/share/stavlin/help/HIDD_GOTO.html"},
      {"help", HelpTopic::kMainIndex, "help/main_index.html"},
      {"", HelpTopic::kStarting, "HID_STARTING.html"},
      {"/h", TopicAt(kHelpTopicCount), ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HelpPagePath(CString(c.folder), c.topic), CString(c.expected)) << c.folder;
}

TEST(HelpTopics, ShowOpensTheTopicThroughTheHelpPort) {
  FakeHelpPort help;
  HelpPort* previous = SetHelpPort(&help);
  ShowHelpTopic(HelpTopic::kGoto);
  ShowHelpTopic(HelpTopic::kMainIndex);
  ShowHelpTopic(TopicAt(-3));     // no such topic: nothing opens
  ShowHelpTopic("HIDD_KEY_SIG");  // the port's own opener by name stays usable beside it
  SetHelpPort(previous);
  EXPECT_EQ(help.Topics(), (std::vector<std::string>{"HIDD_GOTO", "main_index", "HIDD_KEY_SIG"}));
}

}  // namespace
