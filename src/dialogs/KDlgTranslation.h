#pragma once
// KDlgTranslation: "Line and Clipboard Translation...", the options of the
// line translation commands (Actions/Translate Current or Selected Line(s)):
// how much detail text tablature gets, where a translated line goes, whether
// it is grouped with its source (and translates mutually with it), how a
// keyboard staff (treble and bass pair) is merged, what becomes of bass notes
// out of guitar range, and whether the settings become the user's preference.

#include "platform/ModalDialog.h"
#include "platform/UiPort.h"

class KDlgTranslation : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5514;
  // Control ids of the template.
  static constexpr UINT kIdBasic = 1520;
  static constexpr UINT kIdFamiliar = 1521;
  static constexpr UINT kIdEveryCharacter = 1522;
  static constexpr UINT kIdAbove = 1523;
  static constexpr UINT kIdBelow = 1524;
  static constexpr UINT kIdDontGroup = 1526;
  static constexpr UINT kIdMakeGroup = 1527;
  static constexpr UINT kIdGoAbove = 1528;
  static constexpr UINT kIdGoBelow = 1529;
  static constexpr UINT kIdReplace = 1530;
  static constexpr UINT kIdMutual = 1531;
  static constexpr UINT kIdHelp = 1532;
  static constexpr UINT kIdPermanent = 1533;
  static constexpr UINT kIdMerge = 1534;
  static constexpr UINT kIdIgnoreBass = 1535;
  static constexpr UINT kIdShiftBass = 1536;
  // Texts and boxes without an id of their own in the template.
  static constexpr UINT kIdDetailBox = 40001;
  static constexpr UINT kIdNoteValuesText = 40002;
  static constexpr UINT kIdActionBox = 40003;
  static constexpr UINT kIdGroupingBox = 40004;
  static constexpr UINT kIdKeyboardBox = 40005;
  static constexpr UINT kIdMergeText = 40006;

  KDlgTranslation() : KModalDialog(kTemplateId) {}

  void OnHelp();

  int textTabDetail = 1;   // 0 basic symbols, 1 also familiar ones, 2 every keyboard character
  int valuesAbove = 1;     // text tab from tab: note values of up stems above the strings
  int valuesBelow = 1;     // ... of down stems below them
  int action = 1;          // 0 go above, 1 go below, 2 replace
  int grouping = 1;        // 0 don't group, 1 group the translated line with its source
  int mutual = 1;          // the newly grouped lines translate into each other
  int merge = 1;           // a keyboard staff gives one merged line
  int bassOutOfRange = 1;  // 0 ignore bass notes out of guitar range, 1 shift them in
  int permanent = 0;       // store the settings as the preference

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
