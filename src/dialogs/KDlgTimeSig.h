#pragma once
// KDlgTimeSig: "Select Time Signature" (template 5500), opened by
// Insert/Time Signature: common time, cut time, or 1 to 16 beats of a beat
// value of 2, 4, 8 or 16.

#include "platform/GdiObjects.h"
#include "platform/ModalDialog.h"

class KDlgTimeSig : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5500;
  static constexpr UINT kIdCommon = 1001;
  static constexpr UINT kIdCut = 1002;
  static constexpr UINT kIdNumeric = 1003;
  static constexpr UINT kIdValue2 = 1004;
  static constexpr UINT kIdValue4 = 1005;
  static constexpr UINT kIdValue8 = 1006;
  static constexpr UINT kIdValue16 = 1007;
  // The beats stepper: one beat more (wrapping 16 to 1) or fewer (1 to 16).
  static constexpr UINT kIdBeatsUp = 1008;
  static constexpr UINT kIdBeatsDown = 40010;
  static constexpr UINT kIdBeats = 1013;
  static constexpr UINT kIdHelp = 1014;
  static constexpr UINT kIdBeatsLabel = 40001;
  static constexpr UINT kIdValueBox = 40002;
  // The pictures of common and cut time beside their choices, and the
  // preview of a numeric signature: the beats over the beat value, in the
  // time-signature digits of the score.
  static constexpr UINT kIdCommonPicture = 1009;
  static constexpr UINT kIdCutPicture = 1010;
  static constexpr UINT kIdBeatsPicture = 1011;
  static constexpr UINT kIdValuePicture = 1012;
  static constexpr int kFigureWidth = 28;
  static constexpr int kFigureHeight = 28;
  // The symbol of a time-signature number: 99 + the number.
  static constexpr int kFirstFigure = 99;

  static constexpr int kCommonTime = 0;
  static constexpr int kCutTime = 1;
  static constexpr int kNumeric = 2;

  KDlgTimeSig() : KModalDialog(kTemplateId) {}

  BOOL OnInitDialog() override;
  // The beat value follows the chosen radio.
  bool OnOK() override;

  void OnBeatValue(int value);
  // The beats typed: 1..16 is taken, anything else shows message 7024 and
  // empties the box, keeping the beats.
  void OnBeatsChanged();
  void OnBeatsUp();
  void OnBeatsDown();
  void OnHelp();
  // The two preview figures as last drawn: the beats and the beat value.
  const CBitmap& BeatsPicture() const { return m_beatsPicture; }
  const CBitmap& ValuePicture() const { return m_valuePicture; }
  // The symbol codes last drawn into them.
  int ShownBeatsFigure() const { return m_shownBeats; }
  int ShownValueFigure() const { return m_shownValue; }

  int beats = 4;
  int beatValue = 4;  // 2, 4, 8 or 16
  int choice = -1;    // 0 common, 1 cut, 2 numeric

  // What the dialog shows.
  CString beatsText;
  int valueIndex = 1;  // radio: 2, 4, 8, 16

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void StepTo(int newBeats);
  void Show();
  void DrawPreview();
  bool m_inUpdate = false;
  CBitmap m_commonPicture;
  CBitmap m_cutPicture;
  CBitmap m_beatsPicture;
  CBitmap m_valuePicture;
  int m_shownBeats = 0;
  int m_shownValue = 0;
};
