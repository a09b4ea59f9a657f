#pragma once
// KDlgTranspose: "Transpose Musical Key..." (template 5515), the parameters
// of Actions/Transpose: target key, the key the lines are assumed to be in,
// the direction, the scope, the accidentals of staff lines, the fingering
// rules of tablature lines and where the transposed lines go. The command
// fills the members before DoModal and reads them after OK.
//
// Both key lists hold the 15 keys in alphabetical order ("Ab / Fm" first,
// "G   / Em" last); the command maps list indexes to key codes.

#include <string_view>

#include "platform/ModalDialog.h"

class KDlgTranspose : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5515;
  static constexpr UINT kIdTargetKey = 1550;
  static constexpr UINT kIdAssumedKey = 1551;
  static constexpr UINT kIdSimple = 1552;
  static constexpr UINT kIdKeyText = 1553;
  static constexpr UINT kIdDouble = 1554;
  static constexpr UINT kIdFret = 1555;
  static constexpr UINT kIdNeverBelow = 1556;
  static constexpr UINT kIdHelp = 1557;
  static constexpr UINT kIdRaise = 1558;
  static constexpr UINT kIdLower = 1559;
  static constexpr UINT kIdClosest = 1560;
  static constexpr UINT kIdKeepClose = 1561;
  static constexpr UINT kIdCurrentLine = 1562;
  static constexpr UINT kIdSelection = 1563;
  static constexpr UINT kIdReplace = 1564;
  static constexpr UINT kIdAbove = 1565;
  static constexpr UINT kIdBelow = 1566;
  static constexpr UINT kIdAll = 1567;
  // Texts and boxes without an id in the template.
  static constexpr UINT kIdTargetLabel = 40001;
  static constexpr UINT kIdAssumedLabel = 40002;
  static constexpr UINT kIdKeyTextLabel = 40003;
  static constexpr UINT kIdScopeLabel = 40004;
  static constexpr UINT kIdPlacementLabel = 40005;
  static constexpr UINT kIdPlacementAfter = 40006;
  static constexpr UINT kIdStaffBox = 40007;
  static constexpr UINT kIdTabBox = 40008;
  static constexpr UINT kIdNote = 40009;
  static constexpr UINT kIdOpenParen = 40010;

  static constexpr int kKeyCount = 15;
  static constexpr int kRaise = 0;
  static constexpr int kLower = 1;
  static constexpr int kClosest = 2;
  static constexpr int kScopeCurrentLine = 0;
  static constexpr int kScopeSelection = 1;
  static constexpr int kScopeAll = 2;
  static constexpr int kReplace = 0;
  static constexpr int kAbove = 1;
  static constexpr int kBelow = 2;
  static constexpr int kMaxFret = 20;

  KDlgTranspose() : KModalDialog(kTemplateId) {}

  // The key list entry (as the lists show it).
  static std::string_view KeyName(int index);

  BOOL OnInitDialog() override;
  // With both keys equal the direction is Lower when Lower was chosen, else Raise.
  bool OnOK() override;

  void OnSelectTargetKey(int index);
  void OnSelectAssumedKey(int index);
  // Type-ahead in a key list: the first character (and a following "b" or
  // "#" typed next) picks the first key that begins so; an unknown letter
  // shows the valid keys and keeps the key.
  void OnTypeTargetKey(std::string_view text);
  void OnTypeAssumedKey(std::string_view text);
  void OnHelp();

  int targetKey = 5;  // list index; 5 is "C   / Am"
  int assumedKey = 5;
  int direction = -1;    // 0 raise, 1 lower, 2 closest
  int scope = -1;        // 0 current line, 1 selection, 2 all
  int accidentals = -1;  // 0 simple, 1 double flats and sharps
  CString keyText;       // the key of the current line(s)
  int keepClose = 0;
  int fret = 0;  // 0..20
  int neverBelow = 0;
  int placement = -1;  // 0 replace, 1 above, 2 below

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  // Different keys: closest; the same key: raise.
  void ApplyDirectionRule();
  void TypeKey(std::string_view text, int& index, char& remembered);
  void Show();
  char m_targetLetter = 0;
  char m_assumedLetter = 0;
  bool m_inUpdate = false;
};
