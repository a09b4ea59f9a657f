#pragma once
// What the preferences pages share: their Help button, labelled number and
// decimal fields, and radio groups whose further buttons have no id of their
// own in the page.

#include <climits>
#include <initializer_list>
#include <string>
#include <utility>

#include "common/HelpTopics.h"
#include "platform/DialogControls.h"
#include "platform/DialogLayout.h"

namespace pref_page {

// The id a field's label gets: the field's id moved out of the pages' ranges.
inline constexpr UINT LabelOf(UINT fieldId) { return fieldId + 100000; }

// No range but an integer's own.
inline constexpr int kAnyLow = INT_MIN + 1;
inline constexpr int kAnyHigh = INT_MAX;

// A label and its integer field.
inline DialogControl& LabelledNumber(DialogControls& c, UINT id, std::string label, int& member, int low,
                                     int high) {
  c.Static(LabelOf(id), std::move(label));
  return c.Number(id, member, low, high);
}
inline DialogControl& LabelledReal(DialogControls& c, UINT id, std::string label, double& member) {
  c.Static(LabelOf(id), std::move(label));
  return c.Real(id, member);
}
inline DialogControl& LabelledEdit(DialogControls& c, UINT id, std::string label, CString& member,
                                   int maxChars = -1) {
  c.Static(LabelOf(id), std::move(label));
  return c.Edit(id, member, maxChars);
}

// A radio group: the first button's id, then (id, caption) of every button.
inline void Radios(DialogControls& c, int& member,
                   std::initializer_list<std::pair<UINT, const char*>> buttons) {
  bool first = true;
  for (const auto& [id, caption] : buttons) {
    if (first) {
      c.RadioGroup(id, caption, member);
      first = false;
    } else {
      c.Radio(id, caption);
    }
  }
}

// The layout item of a labelled field.
inline DialogLayoutItem FieldOf(UINT id) { return dialog_layout::Field(LabelOf(id), id); }

// The page's Help button: opens the page's help topic.
inline void HelpButton(DialogControls& c, UINT id, HelpTopic topic) {
  c.Button(id, "&Help", DialogButtonRole::kHelp, [topic] { ShowHelpTopic(topic); });
}

}  // namespace pref_page
