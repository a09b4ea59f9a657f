#include "dialogs/KDlgTimeSig.h"

#include <string>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kBeatsRangeMessage = 7024;
constexpr int kMaxBeats = 16;
constexpr int kBeatValues[4] = {2, 4, 8, 16};

}  // namespace

BOOL KDlgTimeSig::OnInitDialog() {
  beats = 4;
  beatsText = "4";
  beatValue = 4;
  valueIndex = 1;
  choice = kNumeric;
  return KModalDialog::OnInitDialog();
}

bool KDlgTimeSig::OnOK() {
  if (!KModalDialog::OnOK()) return false;
  if (valueIndex >= 0 && valueIndex < 4) beatValue = kBeatValues[valueIndex];
  return true;
}

void KDlgTimeSig::Show() {
  m_inUpdate = true;
  Controls().Load();
  m_inUpdate = false;
}

void KDlgTimeSig::OnBeatValue(int value) {
  for (int i = 0; i < 4; ++i) {
    if (kBeatValues[i] == value) valueIndex = i;
  }
  beatValue = kBeatValues[valueIndex];
  choice = kNumeric;
  Show();
}

void KDlgTimeSig::OnBeatsChanged() {
  if (m_inUpdate) return;
  const std::string text = Controls().Text(kIdBeats);
  if (text.empty()) return;
  const std::optional<int> n = ParseDialogInteger(text);
  if (!n || *n < 1 || *n > kMaxBeats) {
    AfxMessageBox(kBeatsRangeMessage);
    beatsText.Empty();
    Show();
    return;
  }
  beats = *n;
  beatsText = CString(std::to_string(beats));
  Show();
}

void KDlgTimeSig::StepTo(int newBeats) {
  beats = newBeats;
  beatsText = CString(std::to_string(beats));
  choice = kNumeric;
  Show();
}

void KDlgTimeSig::OnBeatsUp() { StepTo(beats >= kMaxBeats ? 1 : beats + 1); }

void KDlgTimeSig::OnBeatsDown() { StepTo(beats <= 1 ? kMaxBeats : beats - 1); }

void KDlgTimeSig::OnHelp() { ShowHelpTopic(HelpTopic::kTimeSig); }

void KDlgTimeSig::DeclareControls(DialogControls& c) {
  c.SetTitle("Select Time Signature");
  c.RadioGroup(kIdCommon, "\"Co&mmon Time\" ( 4/4 )", choice);
  c.Radio(kIdCut, "\"Cut &Time\" ( 2/2 )");
  c.Radio(kIdNumeric, "&Numeric");
  c.Static(kIdBeatsLabel, "Beats per bar:");
  c.Edit(kIdBeats, beatsText, 2).WhenChanged([this] { OnBeatsChanged(); });
  c.Button(kIdBeatsUp, "+", DialogButtonRole::kAction, [this] { OnBeatsUp(); });
  c.Button(kIdBeatsDown, "-", DialogButtonRole::kAction, [this] { OnBeatsDown(); });
  c.Group(kIdValueBox, "Beat value:");
  const auto value = [this](int v, UINT id) {
    return [this, v, id] {
      if (Controls().Checked(id) != 0) OnBeatValue(v);
    };
  };
  c.RadioGroup(kIdValue2, "&2", valueIndex).WhenChanged(value(2, kIdValue2));
  c.Radio(kIdValue4, "&4").WhenChanged(value(4, kIdValue4));
  c.Radio(kIdValue8, "&8").WhenChanged(value(8, kIdValue8));
  c.Radio(kIdValue16, "1&6").WhenChanged(value(16, kIdValue16));
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
  c.Keep(beats);
  c.Keep(beatValue);
}

void KDlgTimeSig::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Ctl(kIdCommon),
      Ctl(kIdCut),
      Ctl(kIdNumeric),
      Row({Ctl(kIdBeatsLabel), Ctl(kIdBeats), Ctl(kIdBeatsUp), Ctl(kIdBeatsDown), Stretch()}),
      Box(kIdValueBox, {Row({Ctl(kIdValue2), Ctl(kIdValue4), Ctl(kIdValue8), Ctl(kIdValue16), Stretch()})}),
  };
}
