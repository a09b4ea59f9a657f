#pragma once
// Preferences page 6, "Translating, Scrolling, Text Files, Graphic Image
// Export": auto-scroll, transposition and translation placement, text and
// ABC files, and the image export's file type.

#include "platform/ModalDialog.h"

class KPropSclTxfTrns : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5532;
  static constexpr UINT kIdScrollLines = 2014;
  static constexpr UINT kIdGroupAsOne = 2015;
  static constexpr UINT kIdScrollDelay = 2016;
  static constexpr UINT kIdSound = 2017;
  static constexpr UINT kIdRepeat = 2018;
  static constexpr UINT kIdLineBreaks = 2020;
  static constexpr UINT kIdOpenAsScore = 2021;
  static constexpr UINT kIdTranslateTab = 2022;
  static constexpr UINT kIdRemoveTextTab = 2023;
  static constexpr UINT kIdMergeStaffs = 2025;
  static constexpr UINT kIdIgnoreBass = 2026;
  static constexpr UINT kIdShiftBass = 2027;
  static constexpr UINT kIdSimpleAccidentals = 2042;
  static constexpr UINT kIdDoubleAccidentals = 2043;
  static constexpr UINT kIdTransposeReplace = 2044;
  static constexpr UINT kIdTransposeAbove = 2045;
  static constexpr UINT kIdTransposeBelow = 2046;
  static constexpr UINT kIdAltReplace = 2047;
  static constexpr UINT kIdAltAbove = 2048;
  static constexpr UINT kIdAltBelow = 2049;
  static constexpr UINT kIdSixTreble = 2050;
  static constexpr UINT kIdSixBass = 2051;
  static constexpr UINT kIdFiveTreble = 2052;
  static constexpr UINT kIdFiveBass = 2053;
  static constexpr UINT kIdFourTreble = 2054;
  static constexpr UINT kIdFourBass = 2055;
  static constexpr UINT kIdTakeAbove = 2056;
  static constexpr UINT kIdTakeBelow = 2057;
  static constexpr UINT kIdAbcTreble = 2058;
  static constexpr UINT kIdWrapAbc = 2059;
  static constexpr UINT kIdConvertAbc = 32078;
  static constexpr UINT kIdPng = 31988;
  static constexpr UINT kIdBitmap = 31989;
  static constexpr UINT kIdInterlaced = 31990;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdScrollBox = 41601;
  static constexpr UINT kIdTransposeBox = 41602;
  static constexpr UINT kIdAltBox = 41603;
  static constexpr UINT kIdTextBox = 41604;
  static constexpr UINT kIdTextTabBox = 41605;
  static constexpr UINT kIdTranslateBox = 41606;
  static constexpr UINT kIdImageBox = 41607;
  static constexpr UINT kIdSixLabel = 41608;
  static constexpr UINT kIdFiveLabel = 41609;
  static constexpr UINT kIdFourLabel = 41610;

  KPropSclTxfTrns() : KModalDialog(kTemplateId) {}

  int groupAsOne = 0;
  int repeat = 0;
  int sound = 0;
  int scrollLines = 0;
  int scrollSeconds = 0;
  int transposePlacement = -1;
  int altTuningPlacement = -1;
  int accidentals = -1;
  int fourStringsBass = -1;  // the text-tab kind of 4, 5 and 6 strings: 0 treble, 1 bass
  int fiveStringsBass = -1;
  int sixStringsBass = -1;
  int lineBreaks = 0;
  int openAsScore = 0;
  int removeTextTab = 0;
  int translateTab = 0;
  int shiftBass = -1;
  int mergeStaffs = 0;
  int takeAbove = 0;
  int takeBelow = 0;
  int interlaced = 0;
  int imageFormat = -1;
  int abcTreble = 0;
  int wrapAbc = 0;
  int convertAbc = 0;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
