// The help page of a dialog (its Help button and F1) explains every control
// the dialog shows: each caption the user reads in the dialog stands on the
// dialog's page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/HelpTopics.h"
#include "dialogs/KDlgChordSelect.h"
#include "dialogs/KDlgLineGroup.h"
#include "dialogs/KDlgPrintOptions.h"
#include "dialogs/KDlgPrintSizeAlert.h"
#include "dialogs/KDlgSetLineLength.h"
#include "dialogs/KDlgTimeSig.h"
#include "dialogs/KDlgTriplet.h"
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
  HelpTopic topic;
};

TEST(HelpPages, EachDialogsPageNamesEveryControlTheDialogShows) {
  const PageCase cases[] = {
      {"line grouping", [] { return std::make_unique<KDlgLineGroup>(); }, HelpTopic::kLineGrouping},
      {"chord selection", [] { return std::make_unique<KDlgChordSelect>(); }, HelpTopic::kChordSelect},
      {"print options", [] { return std::make_unique<KDlgPrintOptions>(); }, HelpTopic::kPrintOptions},
      {"print size alert", [] { return std::make_unique<KDlgPrintSizeAlert>(); }, HelpTopic::kPrintSizeAlert},
      {"time signature", [] { return std::make_unique<KDlgTimeSig>(); }, HelpTopic::kTimeSig},
      {"triplet", [] { return std::make_unique<KDlgTriplet>(); }, HelpTopic::kTriplet},
      {"staff length", [] { return std::make_unique<KDlgSetLineLength>(); }, HelpTopic::kSetLineLength},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string page = Folded(PageWords(c.topic));
    ASSERT_GT(page.size(), 200u) << "the page is there and says something";
    const std::unique_ptr<KModalDialog> dialog = c.make();
    for (const DialogControl& control : dialog->Controls().All()) {
      if (!control.visible) continue;
      // A row of column headings is read heading by heading.
      for (const std::string& part : Headings(control.caption)) {
        const std::string shown = Shown(part);
        if (NeedsNoWord(shown)) continue;
        EXPECT_NE(page.find(shown), std::string::npos) << "the page does not explain \"" << part << "\"";
      }
    }
  }
}

}  // namespace
