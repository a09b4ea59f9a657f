#pragma once
// Preferences page 4, "Tab, Rhythm, and Text Lines, Chord Line Tuning": the
// default tunings (taken from the tunings in use by two buttons), what tab
// lines show, and the tab, rhythm and text fonts.

#include "platform/ModalDialog.h"

class KPropTab : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5557;
  static constexpr UINT kIdTuningNames = 1932;
  static constexpr UINT kIdMakeTuningDefault = 1933;
  static constexpr UINT kIdBassTuningNames = 1937;
  static constexpr UINT kIdMakeBassDefault = 1938;
  static constexpr UINT kIdFretFromPrevious = 1940;
  static constexpr UINT kIdStems = 1941;
  static constexpr UINT kIdTabWord = 1942;
  static constexpr UINT kIdAltPitches = 1943;
  static constexpr UINT kIdBanjo = 1944;
  static constexpr UINT kIdDulcimer = 1945;
  static constexpr UINT kIdBanjoFret = 1946;
  static constexpr UINT kIdTabFont = 1948;
  static constexpr UINT kIdTabSpacing = 1949;
  static constexpr UINT kIdRhythmFont = 1950;
  static constexpr UINT kIdTextFont = 1964;
  static constexpr UINT kIdTitleThreshold = 1970;
  static constexpr UINT kIdResetBarCount = 32072;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdTuningBox = 41401;
  static constexpr UINT kIdTabBox = 41402;
  static constexpr UINT kIdFontsBox = 41403;
  static constexpr UINT kIdTuningLabel = 41404;
  static constexpr UINT kIdBassTuningLabel = 41405;
  // The guitar's tuning, which a tuning of one character stands for.
  static constexpr const char* kStandardTuning = "E A D G B E  323742475156";

  KPropTab() : KModalDialog(kTemplateId) {}

  // Builds the two buttons' captions and the two names from the tunings.
  BOOL OnInitDialog() override;
  void OnMakeTuningDefault();
  void OnMakeBassTuningDefault();

  int altPitches = 0;
  int stemsOnTab = 0;
  int tabWord = 0;
  int fretFromPrevious = 0;
  int banjoFingering = 0;
  int dulcimerPlus = 0;
  int tabSpacing = 0;
  int banjoStartFret = 0;
  int titleThreshold = 0;
  int resetBarCount = 0;
  // Filled by the sheet: the tunings in use and the defaults, and the fonts.
  CString currentTuning;
  CString currentLabelledTuning;
  CString currentBassTuning;
  CString defaultTuning;
  CString defaultLabelledTuning;
  CString defaultBassTuning;
  CString tabFont;
  CString rhythmFont;
  CString textFont;
  // The buttons were pressed: the defaults are the tunings in use.
  int tuningChanged = 0;
  int bassTuningChanged = 0;

  // The string names shown for a tuning ("E A D G B E ").
  static CString NamesOf(const CString& tuning);

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;

 private:
  void ShowTuningTexts();
};
