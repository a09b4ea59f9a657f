#include "dialogs/KDlgViewLblLines.h"

#include <string>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

void KDlgViewLblLines::DeclareControls(DialogControls& c) {
  c.SetTitle("Set Labeled Lines To Be Visible...");
  c.Static(kIdVisibleLabel, "Lines which will be visible:");
  c.List(kIdVisible, m_visibleChoice, {});
  c.Button(kIdHide, "&Hide >>", DialogButtonRole::kAction, [this] { OnHide(); });
  c.Button(kIdShow, "<< &Show", DialogButtonRole::kAction, [this] { OnShow(); });
  c.Static(kIdHiddenLabel, "Lines which will be hidden:");
  c.List(kIdHidden, m_hiddenChoice, {});
  c.Button(kIdAllVisible, "Make &All Visible", DialogButtonRole::kAction, [this] { OnMakeAllVisible(); });
  c.Button(kIdInvert, "&Invert Selection", DialogButtonRole::kAction, [this] { OnInvert(); });
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgViewLblLines::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({Column({Ctl(kIdVisibleLabel), Ctl(kIdVisible)}),
                          Column({Stretch(), Ctl(kIdHide), Ctl(kIdShow), Stretch()}),
                          Column({Ctl(kIdHiddenLabel), Ctl(kIdHidden)})}),
                     Row({Ctl(kIdAllVisible), Ctl(kIdInvert), Stretch()})};
}

std::vector<std::string> KDlgViewLblLines::Texts(int shown) const {
  std::vector<std::string> texts;
  for (size_t i = 0; i < labels.size() && i < visible.size(); ++i) {
    if ((visible[i] != 0 ? 1 : 0) == shown) texts.emplace_back(labels[i].View());
  }
  return texts;
}

int KDlgViewLblLines::EntryOf(int shown, int item) const {
  int seen = 0;
  for (size_t i = 0; i < labels.size() && i < visible.size(); ++i) {
    if ((visible[i] != 0 ? 1 : 0) != shown) continue;
    if (seen++ == item) return static_cast<int>(i);
  }
  return -1;
}

void KDlgViewLblLines::Refill() {
  m_visibleChoice = -1;
  m_hiddenChoice = -1;
  Controls().SetItems(kIdVisible, Texts(1));
  Controls().SetItems(kIdHidden, Texts(0));
  Controls().Load();
}

BOOL KDlgViewLblLines::OnInitDialog() {
  visible.resize(labels.size(), 1);
  KModalDialog::OnInitDialog();
  Refill();
  return TRUE;
}

void KDlgViewLblLines::OnHide() {
  const int entry = EntryOf(1, Controls().Selected(kIdVisible));
  if (entry < 0) return;
  visible[static_cast<size_t>(entry)] = 0;
  Refill();
}

void KDlgViewLblLines::OnShow() {
  const int entry = EntryOf(0, Controls().Selected(kIdHidden));
  if (entry < 0) return;
  visible[static_cast<size_t>(entry)] = 1;
  Refill();
}

void KDlgViewLblLines::OnMakeAllVisible() {
  for (int& v : visible) v = 1;
  Refill();
}

void KDlgViewLblLines::OnInvert() {
  for (int& v : visible) v = v != 0 ? 0 : 1;
  Refill();
}

void KDlgViewLblLines::OnHelp() { ShowHelpTopic(HelpTopic::kViewLabeledLines); }
