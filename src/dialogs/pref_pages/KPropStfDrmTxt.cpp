#include "dialogs/pref_pages/KPropStfDrmTxt.h"

#include "dialogs/DialogTextFont.h"
#include "dialogs/pref_pages/PrefPageSupport.h"

using namespace pref_page;

void KPropStfDrmTxt::DeclareControls(DialogControls& c) {
  c.SetTitle("All Staff Lines");
  c.Group(kIdLengthBox, "Staff length");
  c.Check(kIdFixedLength, "Make all lines \"&fixed length\"", fixedLength);
  LabelledNumber(c, kIdStaffLength, "Initial staff length (pixels):", staffLength, kAnyLow, kAnyHigh);
  c.Check(kIdExtentMarker, "Show \"&Vertical Extent\" marker (1)", extentMarker);
  c.Check(kIdBarWord, "Show \"Bar\" in bar nu&mbering (2)", barWord);
  c.Group(kIdBarsBox, "Bars");
  c.Check(kIdAutoBars, "Automatic bar entr&y, and...", autoBars);
  c.Check(kIdWarnTiming, "...&warn if bar has wrong timing", warnTiming);
  c.Check(kIdAutoWrap, "Auto-w&rap music in edited line...", autoWrap);
  c.Check(kIdRewrap, "...and re-wrap below e&dited line", rewrapBelow);
  c.Check(kIdKeepAligned, "Keep bars ali&gned in grouped lines", keepBarsAligned);
  LabelledNumber(c, kIdEvenSpacing, "Degree of even symbol spacing (1-15):", evenSpacing, 1, 15);
  c.Group(kIdStemBox, "Automatic stem direction");
  Radios(c, autoStem, {{kIdStemNone, "&None"}, {kIdStemInward, "&Inward"}, {kIdStemOutward, "&Outward"}});
  c.Group(kIdJoinBox, "Auto-join note clusters");
  Radios(c, autoJoin,
         {{kIdJoinNone, "Non&e"},
          {kIdJoinTimeSignature, "Based on time si&gnature"},
          {kIdJoin16x2, "(16th + 16th)"},
          {kIdJoin16x3, "(16th + 16th + 16th)"},
          {kIdJoin8x2, "(8th + 8th)"},
          {kIdJoin8x3, "(8th + 8th + 8th)"}});
  c.Group(kIdEndsBox, "Vertical lines and connected bars");
  c.Static(kIdLeftEndLabel, "At the left end of:");
  c.Check(kIdLeftMusic, "musi&cal", leftBarMusic);
  c.Check(kIdLeftTab, "&Tab", leftBarTab);
  c.Static(kIdRightEndLabel, "At the right end of:");
  c.Check(kIdRightMusic, "m&usical", rightBarMusic);
  c.Check(kIdRightTab, "T&ab", rightBarTab);
  c.Check(kIdKeyboardBars, "treble to bass on &keyboard staff  /", keyboardBars);
  c.Check(kIdTrebleTabBars, "treb&le to Tab on translating pairs", trebleTabBars);
  c.Group(kIdDrumBox, "Drums staff clef");
  Radios(c, drumClefStyle, {{kIdDrumDoubleBars, "double bars"}, {kIdDrumTallBox, "Tall bo&x: []"}});
  c.Group(kIdFontsBox, "Fonts");
  c.Button(kIdStaffTextFont, "C&hoose the default \"Staff Text\" font...", DialogButtonRole::kAction,
           [this] { ChooseTextFont(staffTextFont); });
  c.Button(kIdTripletFont, "Choose font to use in Tri&plets...", DialogButtonRole::kAction,
           [this] { ChooseTextFont(tripletFont); });
  HelpButton(c, kIdHelp, HelpTopic::kPropsTxtTabStf);
  c.Keep(staffTextFont);
  c.Keep(tripletFont);
}

void KPropStfDrmTxt::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {Row({
      Column(
          {Box(kIdLengthBox,
               {Ctl(kIdFixedLength), Form({FieldOf(kIdStaffLength)}), Ctl(kIdExtentMarker), Ctl(kIdBarWord)}),
           Box(kIdBarsBox, {Ctl(kIdAutoBars), Ctl(kIdWarnTiming), Ctl(kIdAutoWrap), Ctl(kIdRewrap),
                            Ctl(kIdKeepAligned), Form({FieldOf(kIdEvenSpacing)})}),
           Box(kIdStemBox, {Row({Ctl(kIdStemNone), Ctl(kIdStemInward), Ctl(kIdStemOutward)})}), Stretch()}),
      Column({Box(kIdJoinBox, {Ctl(kIdJoinNone), Ctl(kIdJoinTimeSignature), Ctl(kIdJoin16x2),
                               Ctl(kIdJoin16x3), Ctl(kIdJoin8x2), Ctl(kIdJoin8x3)}),
              Box(kIdEndsBox, {Row({Ctl(kIdLeftEndLabel), Ctl(kIdLeftMusic), Ctl(kIdLeftTab), Stretch()}),
                               Row({Ctl(kIdRightEndLabel), Ctl(kIdRightMusic), Ctl(kIdRightTab), Stretch()}),
                               Ctl(kIdKeyboardBars), Ctl(kIdTrebleTabBars)}),
              Box(kIdDrumBox, {Row({Ctl(kIdDrumDoubleBars), Ctl(kIdDrumTallBox)})}),
              Box(kIdFontsBox, {Ctl(kIdStaffTextFont), Ctl(kIdTripletFont)}), Stretch()}),
  })};
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}
