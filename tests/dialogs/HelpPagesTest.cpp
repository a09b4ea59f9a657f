// The help page of a dialog (its Help button and F1) explains every control
// the dialog shows: each caption the user reads in the dialog stands on the
// dialog's page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/HelpTopics.h"
#include "dialogs/AutoSaveDialog.h"
#include "dialogs/KDlg8StringChordDes.h"
#include "dialogs/KDlgCPLineProps.h"
#include "dialogs/KDlgChordSelect.h"
#include "dialogs/KDlgExtText.h"
#include "dialogs/KDlgGoTo.h"
#include "dialogs/KDlgInetLink.h"
#include "dialogs/KDlgInputMidi.h"
#include "dialogs/KDlgKeySig.h"
#include "dialogs/KDlgLineGroup.h"
#include "dialogs/KDlgMidiImpSettings.h"
#include "dialogs/KDlgMidiInstruments.h"
#include "dialogs/KDlgPhraseLine.h"
#include "dialogs/KDlgPrintOptions.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "dialogs/KDlgRemoveWhat.h"
#include "dialogs/KDlgScrollData.h"
#include "dialogs/KDlgSetBarNum.h"
#include "dialogs/KDlgSetFretPos.h"
#include "dialogs/KDlgSetLineLabel.h"
#include "dialogs/KDlgSetLineLength.h"
#include "dialogs/KDlgStaffLineProps.h"
#include "dialogs/KDlgSwitchNote.h"
#include "dialogs/KDlgTabTuning.h"
#include "dialogs/KDlgTimeSig.h"
#include "dialogs/KDlgTranslation.h"
#include "dialogs/KDlgTranspose.h"
#include "dialogs/KDlgTriplet.h"
#include "dialogs/KDlgViewLblLines.h"
#include "dialogs/pref_pages/KPropChord.h"
#include "dialogs/pref_pages/KPropDocLayPrt.h"
#include "dialogs/pref_pages/KPropMIDI.h"
#include "dialogs/pref_pages/KPropMIDIInput.h"
#include "dialogs/pref_pages/KPropOptAsvVw.h"
#include "dialogs/pref_pages/KPropSclTxfTrns.h"
#include "dialogs/pref_pages/KPropStfDrmTxt.h"
#include "dialogs/pref_pages/KPropTab.h"
#include "platform/HelpPort.h"
#include "platform/ModalDialog.h"

namespace {

// The words of a page, tags and entities gone, blanks folded, lower case.
std::string PageWords(HelpTopic topic) {
  const CString path = HelpPagePath(CString(STAVLIN_RESOURCE_DIR "/help"), topic);
  std::ifstream in(std::string(path.View()));
  std::stringstream html;
  html << in.rdbuf();
  std::string text;
  bool inTag = false;
  for (const char c : html.str()) {
    if (c == '<') inTag = true;
    if (!inTag) text += c;
    if (c == '>') {
      inTag = false;
      text += ' ';
    }
  }
  for (const auto& [entity, plain] : {std::pair<std::string, std::string>{"&amp;", "&"},
                                      {"&quot;", "\""},
                                      {"&lt;", "<"},
                                      {"&gt;", ">"},
                                      {"&#39;", "'"}}) {
    for (std::size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at))
      text.replace(at, entity.size(), plain);
  }
  return text;
}

// What the user reads on a control: no access-key marks, no trailing colon
// or dots, blanks folded, lower case.
std::string Shown(const std::string& caption) {
  std::string out;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '&' && i + 1 < caption.size() && caption[i + 1] != '&') continue;
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!out.empty() && out.back() != ' ') out += ' ';
      continue;
    }
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == ':' || out.back() == '.')) out.pop_back();
  return out;
}

std::string Folded(const std::string& text) { return Shown(text + " "); }

bool NeedsNoWord(const std::string& shown) {
  if (shown.empty() || shown == "ok" || shown == "cancel" || shown == "help") return true;
  return std::all_of(shown.begin(), shown.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The parts of a caption set apart by runs of two blanks or more (the
// headings of a table's columns); a caption without such runs is one part.
std::vector<std::string> Headings(const std::string& caption) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = caption.find("  "); at != std::string::npos; at = caption.find("  ", start)) {
    parts.push_back(caption.substr(start, at - start));
    start = caption.find_first_not_of(' ', at);
    if (start == std::string::npos) return parts;
  }
  parts.push_back(caption.substr(start));
  return parts;
}

struct PageCase {
  const char* name;
  std::function<std::unique_ptr<KModalDialog>()> make;
  // Parts of captions that show a value the dialog fills in (such as the
  // current tuning on a button); the page explains the words around them.
  std::vector<std::string> values = {};
};

template <typename Dialog>
PageCase Case(const char* name, std::vector<std::string> values = {}) {
  return {name, [] { return std::unique_ptr<KModalDialog>(std::make_unique<Dialog>()); }, std::move(values)};
}

std::string WithoutValues(std::string caption, const std::vector<std::string>& values) {
  for (const std::string& value : values) {
    for (std::size_t at = caption.find(value); at != std::string::npos; at = caption.find(value, at))
      caption.erase(at, value.size());
  }
  return caption;
}

// Every dialog of the program that has a Help button.
std::vector<PageCase> DialogsWithHelp() {
  return {
      Case<KDlgLineGroup>("line grouping"),
      Case<KDlgChordSelect>("chord selection"),
      Case<KDlgPrintOptions>("print options"),
      Case<KDlgPrintSizeAlert>("print size alert"),
      Case<KDlgTimeSig>("time signature"),
      Case<KDlgTriplet>("triplet"),
      Case<KDlgSetLineLength>("staff length"),
      Case<KAutoSaveDialog>("auto-save"),
      Case<KDlg8StringChordDes>("chord designer"),
      Case<KDlgCPLineProps>("chord line properties"),
      Case<KDlgExtText>("extended text"),
      Case<KDlgSetFretPos>("fret position"),
      Case<KDlgGoTo>("go to"),
      Case<KDlgInetLink>("internet link"),
      Case<KDlgKeySig>("key signature"),
      Case<KDlgSetLineLabel>("line label"),
      Case<KDlgMidiImpSettings>("MIDI import settings"),
      {"MIDI recording",
       [] {
         return std::unique_ptr<KModalDialog>(std::make_unique<KDlgInputMidi>(KLiveInputSettings{}, nullptr));
       }},
      Case<KDlgMidiInstruments>("MIDI instruments"),
      Case<KDlgSwitchNote>("note switch"),
      Case<KDlgPhraseLine>("phrase line"),
      Case<KDlgRemoveWhat>("remove"),
      Case<KDlgSetBarNum>("bar number"),
      Case<KDlgScrollData>("scrolling"),
      Case<KDlgTranslation>("translation"),
      Case<KDlgStaffLineProps>("staff line properties"),
      Case<KDlgTabTuning>("tablature tuning"),
      Case<KDlgTranspose>("transpose"),
      Case<KDlgViewLblLines>("labelled lines"),
      Case<KPropChord>("preferences: chords"),
      Case<KPropDocLayPrt>("preferences: layout and printing"),
      Case<KPropMIDI>("preferences: MIDI"),
      Case<KPropMIDIInput>("preferences: MIDI input"),
      Case<KPropOptAsvVw>("preferences: options"),
      Case<KPropSclTxfTrns>("preferences: scrolling and translation"),
      Case<KPropTab>("preferences: tablature", {" ( Ab Ab Ab Ab Ab Ab )"}),
      Case<KPropStfDrmTxt>("preferences: staff and text"),
  };
}

// The topic the dialog's Help button opens; empty when it has no such button
// or the button opens nothing.
std::string TopicOfHelpButton(KModalDialog& dialog) {
  FakeHelpPort help;
  HelpPort* const previous = SetHelpPort(&help);
  for (const DialogControl& control : dialog.Controls().All()) {
    if (control.IsButton() && control.role == DialogButtonRole::kHelp) dialog.PressButton(control.id);
  }
  SetHelpPort(previous);
  return help.Topics().empty() ? std::string() : help.Topics().front();
}

// What the user reads on a control: its caption, read heading by heading
// when it is a row of column headings, and a table's column headings.
std::vector<std::string> CaptionsOf(const DialogControl& control, const std::vector<std::string>& values) {
  std::vector<std::string> captions = Headings(WithoutValues(control.caption, values));
  captions.insert(captions.end(), control.columns.begin(), control.columns.end());
  return captions;
}

TEST(HelpPages, EachDialogsPageNamesEveryControlTheDialogShows) {
  for (const PageCase& c : DialogsWithHelp()) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<KModalDialog> dialog = c.make();
    const std::optional<HelpTopic> topic = FindHelpTopic(TopicOfHelpButton(*dialog));
    ASSERT_TRUE(topic.has_value()) << "the Help button opens one of the program's topics";
    const std::string page = Folded(PageWords(*topic));
    EXPECT_GT(page.size(), 200u) << "the page is there and says something";
    for (const DialogControl& control : dialog->Controls().All()) {
      if (!control.visible) continue;
      for (const std::string& part : CaptionsOf(control, c.values)) {
        const std::string shown = Shown(part);
        if (NeedsNoWord(shown)) continue;
        EXPECT_NE(page.find(shown), std::string::npos) << "the page does not explain \"" << part << "\"";
      }
    }
  }
}

// A dialog's page that no dialog opens is a page nobody keeps up to date:
// every dialog topic is some listed dialog's (the tablature legend, a window
// of the shell, is looked at by the shell's tests).
TEST(HelpPages, EveryDialogTopicIsOpenedByADialogOfTheTable) {
  std::set<std::string> opened;
  for (const PageCase& c : DialogsWithHelp()) {
    const std::unique_ptr<KModalDialog> dialog = c.make();
    opened.insert(TopicOfHelpButton(*dialog));
  }
  for (int i = 0; i < kHelpTopicCount; ++i) {
    const auto topic = static_cast<HelpTopic>(i);
    const std::string name(HelpTopicName(topic));
    if (name.rfind("HIDD_", 0) != 0 || topic == HelpTopic::kAdtabLegend) continue;
    EXPECT_TRUE(opened.count(name) == 1) << name << " is opened by no dialog in the table";
  }
}

}  // namespace
