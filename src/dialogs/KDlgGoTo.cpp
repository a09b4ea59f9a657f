#include "dialogs/KDlgGoTo.h"

#include <array>

#include "common/HelpTopics.h"
#include "platform/UiPort.h"

namespace {

constexpr std::array<int, KDlgGoTo::kTypeCount> kRadioTypes = {8, 0,  1,  2,  15, 5,  4, 3,
                                                               9, 10, 11, 12, 13, 14, 16};
constexpr std::array<const char*, KDlgGoTo::kTypeCount> kRadioCaptions = {"&All visible lines, or...",
                                                                          "Tr&eble",
                                                                          "&Bass",
                                                                          "&Tab",
                                                                          "Ba&ss Tab",
                                                                          "Te&xt",
                                                                          "Chor&d",
                                                                          "Rh&ythm",
                                                                          "A&lto",
                                                                          "Te&nor",
                                                                          "&8va Treble",
                                                                          "8&vb Treble",
                                                                          "Dru&m",
                                                                          "No cle&f",
                                                                          "&Perc."};

}  // namespace

int KDlgGoTo::TypeOfRadio(int radio) {
  return radio >= 0 && radio < kTypeCount ? kRadioTypes[static_cast<size_t>(radio)] : 8;
}

int KDlgGoTo::RadioOfType(int type) {
  for (int i = 0; i < kTypeCount; ++i) {
    if (kRadioTypes[static_cast<size_t>(i)] == type) return i;
  }
  return 0;
}

void KDlgGoTo::OnHelp() { ShowHelpTopic(HelpTopic::kGoto); }

void KDlgGoTo::DeclareControls(DialogControls& c) {
  c.SetTitle("Go To...");
  c.Group(kIdPositionBox, "Current position");
  c.Static(kIdAbsolute, absolute.Str());
  c.Static(kIdAbsoluteByType, absoluteByType.Str());
  c.Static(kIdScoreByType, scoreByType.Str());
  c.Static(kIdNumberLabel, "Go to number:");
  c.Number(kIdNumber, number, 1, kMaxNumber);
  c.RadioGroup(kIdLine, "L&ine", lineOrBar);
  c.Radio(kIdBar, "Ba&r");
  c.Group(kIdTypeBox, "Line Type to Count");
  c.RadioGroup(kIdTypeFirst, kRadioCaptions[0], typeRadio);
  for (int i = 1; i < kTypeCount; ++i)
    c.Radio(kIdTypeFirst + static_cast<UINT>(i), kRadioCaptions[static_cast<size_t>(i)]);
  c.Check(kIdCountAsScore, "Co&unt as \"Score\" lines", countAsScore);
  c.Static(kIdScoreNote, "(a line group = one line)");
  c.Button(kIdHelp, "&Help", DialogButtonRole::kHelp, [this] { OnHelp(); });
  c.Button(IDCANCEL, "&Cancel", DialogButtonRole::kCancel);
  c.Button(IDOK, "&OK", DialogButtonRole::kOk);
}

void KDlgGoTo::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  std::vector<DialogLayoutItem> left;
  std::vector<DialogLayoutItem> right;
  for (int i = 0; i < kTypeCount; ++i)
    (i < 8 ? left : right).push_back(Ctl(kIdTypeFirst + static_cast<UINT>(i)));
  DialogLayoutItem leftColumn = Column({});
  leftColumn.children = left;
  DialogLayoutItem rightColumn = Column({});
  rightColumn.children = right;
  layout.children = {
      Box(kIdPositionBox, {Ctl(kIdAbsolute), Ctl(kIdAbsoluteByType), Ctl(kIdScoreByType)}),
      Row({Ctl(kIdNumberLabel), Ctl(kIdNumber), Ctl(kIdLine), Ctl(kIdBar), Stretch()}),
      Box(kIdTypeBox,
          {Row({leftColumn, rightColumn, Stretch()}), Row({Ctl(kIdCountAsScore), Ctl(kIdScoreNote)})}),
  };
}
