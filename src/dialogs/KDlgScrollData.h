#pragma once
// KDlgScrollData: "Set Scrolling Parameters" (template 5507), opened by
// Actions/Scrolling/Set Speed: the auto-scroll delay (tenths of a second,
// 1..300), lines per step (1..15), whether a line group counts as one line,
// the beep at each step, repeat or scroll once, and whether the settings
// become the permanent preference.

#include "platform/ModalDialog.h"

class KDlgScrollData : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5507;
  static constexpr UINT kIdDelay = 1352;
  static constexpr UINT kIdLines = 1353;
  static constexpr UINT kIdDelayUp = 1354;
  static constexpr UINT kIdLinesUp = 1355;
  static constexpr UINT kIdSoundOn = 1356;
  static constexpr UINT kIdSoundOff = 1357;
  static constexpr UINT kIdRepeat = 1360;
  static constexpr UINT kIdOnce = 1361;
  static constexpr UINT kIdHelp = 1362;
  static constexpr UINT kIdCountAsScore = 1363;
  static constexpr UINT kIdPermanent = 1364;
  static constexpr UINT kIdDelayDown = 40001;
  static constexpr UINT kIdLinesDown = 40002;
  static constexpr UINT kIdDelayLabel = 40003;
  static constexpr UINT kIdLinesLabel = 40004;
  static constexpr int kMaxTenths = 300;
  static constexpr int kMaxLines = 15;

  KDlgScrollData() : KModalDialog(kTemplateId) {}

  BOOL OnInitDialog() override;

  // Typed values: a delay of 0.1 to 30 seconds, 1 to 15 lines; anything else
  // shows a message and empties the field, keeping the value.
  void OnDelayChanged();
  void OnLinesChanged();
  // The steppers: the delay wraps 300 <-> 1 tenths; lines wrap 15 -> 1 and
  // stay at 1 when lowered.
  void OnDelayStep(int step);
  void OnLinesStep(int step);
  void OnHelp();

  int tenths = 10;
  int lines = 1;
  int sound = 0;   // 0 on, 1 off
  int repeat = 0;  // 0 continuously, 1 once
  int countAsScore = 0;
  int permanent = 0;
  CString delayText;
  CString linesText;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void ShowValues();
  bool m_inUpdate = false;
};
