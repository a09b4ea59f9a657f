#pragma once
// KDlgSetFretPos: the hand position to move selected tablature fingering to,
// whether open strings stay open, and the score option that makes mutual
// translation from a staff choose frets near the fingering to their left.

#include "platform/ModalDialog.h"

class KDlgSetFretPos : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5545;
  static constexpr UINT kIdFretPosition = 1770;
  static constexpr UINT kIdFromPrevious = 1773;
  static constexpr UINT kIdHelp = 1774;
  static constexpr UINT kIdKeepOpen = 1775;
  static constexpr UINT kIdShiftBox = 40001;
  static constexpr UINT kIdPositionLabel = 40002;
  static constexpr UINT kIdOpenHint = 40003;
  static constexpr UINT kIdKeepOpenHint = 40004;
  static constexpr UINT kIdTranslationLabel = 40005;
  static constexpr UINT kIdCheckedHint = 40006;
  static constexpr UINT kIdUncheckedHint = 40007;
  static constexpr int kMaxFret = 20;

  KDlgSetFretPos() : KModalDialog(kTemplateId) {}

  int fretFromPrevious = 0;
  int fretPosition = 0;  // 0 is the open position
  int keepOpen = 0;      // 1: fingering on open strings is not shifted

  void OnHelp();

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
