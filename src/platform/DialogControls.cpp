#include "platform/DialogControls.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

const char* KindName(DialogControlKind kind) {
  switch (kind) {
    case DialogControlKind::kEdit:
      return "edit";
    case DialogControlKind::kNumber:
      return "number";
    case DialogControlKind::kReal:
      return "real number";
    case DialogControlKind::kCheck:
      return "check box";
    case DialogControlKind::kRadio:
      return "radio button";
    case DialogControlKind::kCombo:
      return "combo box";
    case DialogControlKind::kList:
      return "list box";
    case DialogControlKind::kStatic:
      return "static text";
    case DialogControlKind::kIcon:
      return "icon";
    case DialogControlKind::kGroup:
      return "group box";
    case DialogControlKind::kButton:
      return "button";
    case DialogControlKind::kPicture:
      return "picture";
    case DialogControlKind::kSpin:
      return "spin";
    case DialogControlKind::kProgress:
      return "progress bar";
  }
  return "control";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<int> ParseDialogInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const size_t digitsStart = i;
  long long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
    ++i;
  }
  if (i == digitsStart) return std::nullopt;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> ParseDialogReal(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  std::string_view number = text.substr(first, last - first);
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  if (number.empty()) return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string FormatDialogReal(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

DialogControl& DialogControls::Add(UINT id, DialogControlKind kind, std::string caption) {
  if (Find(id) != nullptr) throw std::logic_error("dialog control " + std::to_string(id) + " declared twice");
  DialogControl& control = m_controls.emplace_back();
  control.id = id;
  control.kind = kind;
  control.caption = std::move(caption);
  return control;
}

DialogControl& DialogControls::Static(UINT id, std::string caption) {
  return Add(id, DialogControlKind::kStatic, std::move(caption));
}

DialogControl& DialogControls::Picture(UINT id, CBitmap& bitmap, int width, int height) {
  DialogControl& control = Add(id, DialogControlKind::kPicture, "");
  control.picture = &bitmap;
  control.width = width;
  control.height = height;
  return control;
}

void DialogControls::Click(UINT id, const DialogMouse& mouse) {
  DialogControl& control = UserControl(id, {DialogControlKind::kPicture});
  if (control.onMouse) control.onMouse(mouse);
}

bool DialogControls::PressKey(UINT id, int virtualKey, int character) {
  DialogControl& control = UserControl(id, {DialogControlKind::kPicture});
  return control.onKey ? control.onKey(virtualKey, character) : false;
}

void DialogControls::Focus(UINT id) {
  DialogControl& control = AnyControl(id);
  if (control.onFocus) control.onFocus();
}

bool DialogControls::TypeChar(UINT id, int character) {
  DialogControl& control = UserControl(id, {DialogControlKind::kCombo, DialogControlKind::kList});
  return control.onType ? control.onType(character) : false;
}

DialogControl& DialogControls::Icon(UINT id) { return Add(id, DialogControlKind::kIcon, ""); }

DialogControl& DialogControls::Group(UINT id, std::string caption) {
  return Add(id, DialogControlKind::kGroup, std::move(caption));
}

DialogControl& DialogControls::Edit(UINT id, CString& member, int maxChars) {
  DialogControl& control = Add(id, DialogControlKind::kEdit, "");
  control.textMember = &member;
  control.maxChars = maxChars;
  return control;
}

DialogControl& DialogControls::Number(UINT id, int& member, int minimum, int maximum) {
  DialogControl& control = Add(id, DialogControlKind::kNumber, "");
  control.numberMember = &member;
  control.minimum = minimum;
  control.maximum = maximum;
  return control;
}

DialogControl& DialogControls::Real(UINT id, double& member) {
  DialogControl& control = Add(id, DialogControlKind::kReal, "");
  control.realMember = &member;
  return control;
}

DialogControl& DialogControls::Check(UINT id, std::string caption, int& member) {
  DialogControl& control = Add(id, DialogControlKind::kCheck, std::move(caption));
  control.numberMember = &member;
  return control;
}

DialogControl& DialogControls::RadioGroup(UINT id, std::string caption, int& member) {
  DialogControl& control = Add(id, DialogControlKind::kRadio, std::move(caption));
  control.numberMember = &member;
  control.groupFirst = id;
  m_lastGroup = id;
  return control;
}

DialogControl& DialogControls::Radio(UINT id, std::string caption) {
  if (m_lastGroup == 0) throw std::logic_error("radio " + std::to_string(id) + " declared before its group");
  DialogControl& control = Add(id, DialogControlKind::kRadio, std::move(caption));
  control.groupFirst = m_lastGroup;
  return control;
}

DialogControl& DialogControls::Combo(UINT id, int& member, std::vector<std::string> items) {
  DialogControl& control = Add(id, DialogControlKind::kCombo, "");
  control.numberMember = &member;
  control.items = std::move(items);
  return control;
}

DialogControl& DialogControls::List(UINT id, int& member, std::vector<std::string> items) {
  DialogControl& control = Add(id, DialogControlKind::kList, "");
  control.numberMember = &member;
  control.items = std::move(items);
  return control;
}

DialogControl& DialogControls::MultiList(UINT id, int& member, std::vector<std::string> items) {
  DialogControl& control = List(id, member, std::move(items));
  control.multiple = true;
  return control;
}

DialogControl& DialogControls::Button(UINT id, std::string caption, DialogButtonRole role,
                                      std::function<void()> handler) {
  DialogControl& control = Add(id, DialogControlKind::kButton, std::move(caption));
  control.role = role;
  control.handler = std::move(handler);
  return control;
}

DialogControl& DialogControls::Spin(UINT id, std::function<void(int)> onStep) {
  DialogControl& control = Add(id, DialogControlKind::kSpin, "");
  control.onStep = std::move(onStep);
  return control;
}

DialogControl& DialogControls::Progress(UINT id, int minimum, int maximum) {
  DialogControl& control = Add(id, DialogControlKind::kProgress, "");
  control.minimum = minimum;
  control.maximum = maximum;
  control.value = minimum;
  return control;
}

const DialogControl* DialogControls::Find(UINT id) const {
  const auto it =
      std::find_if(m_controls.begin(), m_controls.end(), [id](const auto& c) { return c.id == id; });
  return it == m_controls.end() ? nullptr : &*it;
}

DialogControl* DialogControls::Find(UINT id) {
  return const_cast<DialogControl*>(static_cast<const DialogControls&>(*this).Find(id));
}

std::vector<const DialogControl*> DialogControls::RadiosOf(UINT firstId) const {
  std::vector<const DialogControl*> radios;
  for (const DialogControl& c : m_controls) {
    if (c.kind == DialogControlKind::kRadio && c.groupFirst == firstId) radios.push_back(&c);
  }
  return radios;
}

DialogControl& DialogControls::UserControl(UINT id, std::initializer_list<DialogControlKind> kinds) {
  DialogControl* control = Find(id);
  if (control == nullptr) throw std::logic_error("no dialog control " + std::to_string(id));
  if (std::find(kinds.begin(), kinds.end(), control->kind) == kinds.end()) {
    throw std::logic_error("dialog control " + std::to_string(id) + " is a " + KindName(control->kind));
  }
  if (!control->visible || !control->enabled) {
    throw std::logic_error("dialog control " + std::to_string(id) + " is hidden or disabled");
  }
  return *control;
}

void DialogControls::Changed(DialogControl& control) {
  control.entered = true;
  if (control.onChange) control.onChange();
}

void DialogControls::SetText(UINT id, std::string_view text) {
  DialogControl& control =
      UserControl(id, {DialogControlKind::kEdit, DialogControlKind::kNumber, DialogControlKind::kReal});
  control.text = std::string(text);
  Changed(control);
}

void DialogControls::SetChecked(UINT id, int checked) {
  DialogControl& control = UserControl(id, {DialogControlKind::kCheck, DialogControlKind::kRadio});
  if (control.kind == DialogControlKind::kRadio && checked != 0) {
    for (DialogControl& other : m_controls) {
      if (other.kind == DialogControlKind::kRadio && other.groupFirst == control.groupFirst) {
        other.value = 0;
        other.entered = true;
      }
    }
  }
  control.value = checked;
  Changed(control);
}

void DialogControls::Select(UINT id, int index) {
  DialogControl& control = UserControl(id, {DialogControlKind::kCombo, DialogControlKind::kList});
  if (index < -1 || index >= static_cast<int>(control.items.size())) {
    throw std::logic_error("dialog control " + std::to_string(id) + " has no item " + std::to_string(index));
  }
  control.value = index;
  if (control.multiple) control.selection = index >= 0 ? std::vector<int>{index} : std::vector<int>{};
  Changed(control);
}

namespace {

// Rows of a list in rising order, each once, only those it has.
std::vector<int> ListRows(std::vector<int> rows, size_t count) {
  std::erase_if(rows, [count](int r) { return r < 0 || static_cast<size_t>(r) >= count; });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

}  // namespace

void DialogControls::SelectRows(UINT id, std::vector<int> rows, int caret) {
  DialogControl& control = UserControl(id, {DialogControlKind::kList});
  if (!control.multiple) throw std::logic_error("dialog control " + std::to_string(id) + " takes one row");
  const int count = static_cast<int>(control.items.size());
  if (caret < -1 || caret >= count) {
    throw std::logic_error("dialog control " + std::to_string(id) + " has no item " + std::to_string(caret));
  }
  control.selection = ListRows(std::move(rows), control.items.size());
  control.value = caret;
  Changed(control);
}

void DialogControls::DoubleClick(UINT id, int row) {
  DialogControl& control = UserControl(id, {DialogControlKind::kList});
  if (row < 0 || row >= static_cast<int>(control.items.size())) {
    throw std::logic_error("dialog control " + std::to_string(id) + " has no item " + std::to_string(row));
  }
  control.entered = true;
  if (control.onDoubleClick) control.onDoubleClick(row);
}

void DialogControls::Step(UINT id, int delta) {
  DialogControl& control = UserControl(id, {DialogControlKind::kSpin});
  control.entered = true;
  if (control.onStep) control.onStep(delta > 0 ? 1 : -1);
}

DialogControl& DialogControls::AnyControl(UINT id) {
  DialogControl* control = Find(id);
  if (control == nullptr) throw std::logic_error("no dialog control " + std::to_string(id));
  return *control;
}

void DialogControls::Show(UINT id, bool visible) { AnyControl(id).visible = visible; }

void DialogControls::Enable(UINT id, bool enabled) { AnyControl(id).enabled = enabled; }

void DialogControls::SetCaption(UINT id, std::string caption) { AnyControl(id).caption = std::move(caption); }

void DialogControls::SetItems(UINT id, std::vector<std::string> items) {
  DialogControl& control = UserControl(id, {DialogControlKind::kCombo, DialogControlKind::kList});
  control.items = std::move(items);
  if (control.value >= static_cast<int>(control.items.size())) control.value = -1;
  control.selection = ListRows(std::move(control.selection), control.items.size());
}

void DialogControls::SetShown(UINT id, int value) { AnyControl(id).value = value; }

void DialogControls::SetShownRows(UINT id, std::vector<int> rows) {
  DialogControl& control = AnyControl(id);
  control.selection = ListRows(std::move(rows), control.items.size());
}

bool DialogControls::IsShown(UINT id) const {
  const DialogControl* control = Find(id);
  return control != nullptr && control->visible;
}

bool DialogControls::IsEnabled(UINT id) const {
  const DialogControl* control = Find(id);
  return control != nullptr && control->enabled;
}

std::string DialogControls::Text(UINT id) const {
  const DialogControl* control = Find(id);
  return control ? control->text : std::string();
}

int DialogControls::Checked(UINT id) const {
  const DialogControl* control = Find(id);
  return control ? control->value : 0;
}

int DialogControls::Selected(UINT id) const {
  const DialogControl* control = Find(id);
  return control ? control->value : -1;
}

std::vector<int> DialogControls::SelectedRows(UINT id) const {
  const DialogControl* control = Find(id);
  if (control == nullptr) return {};
  if (control->multiple) return control->selection;
  return control->value >= 0 ? std::vector<int>{control->value} : std::vector<int>{};
}

int DialogControls::RadioValue(UINT firstId) const {
  const std::vector<const DialogControl*> radios = RadiosOf(firstId);
  for (size_t i = 0; i < radios.size(); ++i) {
    if (radios[i]->value != 0) return static_cast<int>(i);
  }
  return -1;
}

void DialogControls::LoadOne(DialogControl& control) {
  switch (control.kind) {
    case DialogControlKind::kEdit:
      control.text = control.textMember->Str();
      break;
    case DialogControlKind::kNumber:
      control.text = std::to_string(*control.numberMember);
      break;
    case DialogControlKind::kReal:
      control.text = FormatDialogReal(*control.realMember);
      break;
    case DialogControlKind::kCheck:
      control.value = *control.numberMember;
      break;
    case DialogControlKind::kRadio: {
      const int member = *control.numberMember;
      int index = 0;
      for (DialogControl& radio : m_controls) {
        if (radio.kind != DialogControlKind::kRadio || radio.groupFirst != control.id) continue;
        radio.value = index++ == member ? 1 : 0;
        radio.entered = false;
      }
      break;
    }
    case DialogControlKind::kCombo:
    case DialogControlKind::kList: {
      const int member = *control.numberMember;
      control.value = member >= 0 && member < static_cast<int>(control.items.size()) ? member : -1;
      break;
    }
    default:
      break;
  }
  control.entered = false;
}

void DialogControls::Load() {
  for (DialogControl& control : m_controls) {
    if (control.Exchanges()) LoadOne(control);
  }
}

void DialogControls::Load(UINT id) {
  DialogControl& control = AnyControl(id);
  if (control.Exchanges()) LoadOne(control);
}

void DialogControls::LoadUnentered() {
  for (DialogControl& control : m_controls) {
    if (!control.Exchanges()) continue;
    bool entered = control.entered;
    if (control.kind == DialogControlKind::kRadio) {
      for (const DialogControl* radio : RadiosOf(control.id)) entered = entered || radio->entered;
    }
    if (!entered) LoadOne(control);
  }
}

std::optional<DialogFailure> DialogControls::Check() const {
  for (const DialogControl& control : m_controls) {
    if (control.kind == DialogControlKind::kEdit && control.maxChars >= 0 &&
        static_cast<int>(control.text.size()) > control.maxChars) {
      return DialogFailure{control.id, kIdpParseStringSize,
                           "Please enter no more than " + std::to_string(control.maxChars) + " characters."};
    }
    if (control.kind == DialogControlKind::kReal && !ParseDialogReal(control.text)) {
      return DialogFailure{control.id, kIdpParseReal, "Please enter a number."};
    }
    if (control.kind == DialogControlKind::kNumber) {
      const std::optional<int> number = ParseDialogInteger(control.text);
      if (!number) return DialogFailure{control.id, kIdpParseInt, "Please enter an integer."};
      if (*number < control.minimum || *number > control.maximum) {
        return DialogFailure{control.id, kIdpParseIntRange,
                             "Please enter an integer between " + std::to_string(control.minimum) + " and " +
                                 std::to_string(control.maximum) + "."};
      }
    }
  }
  return std::nullopt;
}

void DialogControls::Store() {
  for (DialogControl& control : m_controls) {
    switch (control.kind) {
      case DialogControlKind::kEdit:
        *control.textMember = CString(std::string_view(control.text));
        break;
      case DialogControlKind::kNumber:
        if (const std::optional<int> number = ParseDialogInteger(control.text))
          *control.numberMember = *number;
        break;
      case DialogControlKind::kReal:
        if (const std::optional<double> number = ParseDialogReal(control.text)) *control.realMember = *number;
        break;
      case DialogControlKind::kRadio:
        if (control.numberMember != nullptr) *control.numberMember = RadioValue(control.id);
        break;
      case DialogControlKind::kCheck:
      case DialogControlKind::kCombo:
      case DialogControlKind::kList:
        *control.numberMember = control.value;
        break;
      default:
        break;
    }
  }
}

void DialogControls::RememberMembers() {
  m_savedTexts.clear();
  m_savedNumbers.clear();
  m_savedReals.clear();
  for (const DialogControl& control : m_controls) {
    if (control.realMember != nullptr) m_savedReals.push_back({control.realMember, *control.realMember});
    if (control.textMember != nullptr) m_savedTexts.push_back({control.textMember, *control.textMember});
    if (control.numberMember != nullptr)
      m_savedNumbers.push_back({control.numberMember, *control.numberMember});
  }
  for (CString* member : m_keptTexts) m_savedTexts.push_back({member, *member});
  for (int* member : m_keptNumbers) m_savedNumbers.push_back({member, *member});
}

void DialogControls::RestoreMembers() const {
  for (const auto& [member, value] : m_savedTexts) *member = value;
  for (const auto& [member, value] : m_savedNumbers) *member = value;
  for (const auto& [member, value] : m_savedReals) *member = value;
}
