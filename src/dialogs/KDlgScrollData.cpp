#include "dialogs/KDlgScrollData.h"

#include <cstdlib>
#include <string>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

namespace {

constexpr const char* kDelayRange = "Delay time must be between 1 and 30.";
constexpr const char* kLinesRange = "Lines per scroll must be between 1 and 15.";

// A decimal number of seconds as tenths (truncated); none for other text.
std::optional<int> ParseTenths(const std::string& text) {
  if (text.empty() || text.size() > 4) return std::nullopt;
  int whole = 0;
  int tenth = 0;
  size_t i = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    whole = whole * 10 + (text[i] - '0');
    digits = true;
  }
  if (i < text.size()) {
    if (text[i] != '.') return std::nullopt;
    ++i;
    if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      tenth = text[i] - '0';
      digits = true;
    }
    for (; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9') return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return whole * 10 + tenth;
}

}  // namespace

BOOL KDlgScrollData::OnInitDialog() {
  tenths = std::clamp(tenths, 1, kMaxTenths);
  lines = std::clamp(lines, 1, kMaxLines);
  delayText = CString(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
  linesText = CString(std::to_string(lines));
  return KModalDialog::OnInitDialog();
}

void KDlgScrollData::ShowValues() {
  delayText = CString(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
  linesText = CString(std::to_string(lines));
  m_inUpdate = true;
  Controls().Load();
  m_inUpdate = false;
}

void KDlgScrollData::OnDelayChanged() {
  if (m_inUpdate) return;
  const std::string text = Controls().Text(kIdDelay);
  if (text.empty()) return;
  const std::optional<int> value = ParseTenths(text);
  if (value && *value >= 1 && *value <= kMaxTenths) {
    tenths = *value;
    delayText = CString(text);
    return;
  }
  AfxMessageBox(kDelayRange);
  delayText.Empty();
  m_inUpdate = true;
  Controls().SetText(kIdDelay, "");
  m_inUpdate = false;
}

void KDlgScrollData::OnLinesChanged() {
  if (m_inUpdate) return;
  const std::string text = Controls().Text(kIdLines);
  if (text.empty()) return;
  const std::optional<int> value = ParseDialogInteger(text);
  if (value && *value >= 1 && *value <= kMaxLines) {
    lines = *value;
    linesText = CString(text);
    return;
  }
  AfxMessageBox(kLinesRange);
  linesText.Empty();
  m_inUpdate = true;
  Controls().SetText(kIdLines, "");
  m_inUpdate = false;
}

void KDlgScrollData::OnDelayStep(int step) {
  tenths += step;
  if (tenths > kMaxTenths) tenths = 1;
  if (tenths < 1) tenths = kMaxTenths;
  ShowValues();
}

void KDlgScrollData::OnLinesStep(int step) {
  lines += step;
  if (lines > kMaxLines) lines = 1;
  if (lines < 1) lines = 1;
  ShowValues();
}

void KDlgScrollData::OnHelp() { ShowHelpTopic(HelpTopic::kSetScrollData); }

void KDlgScrollData::DeclareControls(DialogControls& c) {
  c.SetTitle("Set Scrolling Parameters");
  c.Static(kIdDelayLabel, "Seconds between scrolls:");
  c.Edit(kIdDelay, delayText, 4).WhenChanged([this] { OnDelayChanged(); });
  c.Button(kIdDelayUp, "+", DialogButtonRole::kAction, [this] { OnDelayStep(1); });
  c.Button(kIdDelayDown, "-", DialogButtonRole::kAction, [this] { OnDelayStep(-1); });
  c.Static(kIdLinesLabel, "Lines per scroll:");
  c.Edit(kIdLines, linesText, 2).WhenChanged([this] { OnLinesChanged(); });
  c.Button(kIdLinesUp, "+", DialogButtonRole::kAction, [this] { OnLinesStep(1); });
  c.Button(kIdLinesDown, "-", DialogButtonRole::kAction, [this] { OnLinesStep(-1); });
  c.Check(kIdCountAsScore, "Count a line group as one line", countAsScore);
  c.RadioGroup(kIdSoundOn, "Sound O&n", sound);
  c.Radio(kIdSoundOff, "Sound O&ff");
  c.RadioGroup(kIdRepeat, "&Repeat Continuously", repeat);
  c.Radio(kIdOnce, "Scro&ll Once");
  c.Check(kIdPermanent, "Ma&ke these settings a permanent preference", permanent);
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(tenths);
  c.Keep(lines);
}

void KDlgScrollData::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Row({Ctl(kIdDelayLabel), Ctl(kIdDelay), Ctl(kIdDelayUp), Ctl(kIdDelayDown), Stretch()}),
      Row({Ctl(kIdLinesLabel), Ctl(kIdLines), Ctl(kIdLinesUp), Ctl(kIdLinesDown), Stretch()}),
      Ctl(kIdCountAsScore),
      Row({Ctl(kIdSoundOn), Ctl(kIdSoundOff), Stretch()}),
      Row({Ctl(kIdRepeat), Ctl(kIdOnce), Stretch()}),
      Ctl(kIdPermanent),
  };
}
