#pragma once
// Preferences page 2, "Entry Options, View Options, AutoSave": how notes are
// entered, what new scores show, the bars of the main window, autosave and
// undo.

#include "platform/ModalDialog.h"

class KPropOptAsvVw : public KModalDialog {
 public:
  static constexpr UINT kTemplateId = 5530;
  static constexpr UINT kIdArrowCursor = 1976;
  static constexpr UINT kIdKeyboardCursor = 1978;
  static constexpr UINT kIdAdvance = 1979;
  static constexpr UINT kIdUpDownLines = 1980;
  static constexpr UINT kIdMainToolbar = 1982;
  static constexpr UINT kIdExtraToolbar = 1983;
  static constexpr UINT kIdStatusBar = 1984;
  static constexpr UINT kIdClock = 1985;
  static constexpr UINT kIdSaveNow = 1987;
  static constexpr UINT kIdSaveOnQuit = 1988;
  static constexpr UINT kIdLabelsNone = 1990;
  static constexpr UINT kIdBarNumbers = 1993;
  static constexpr UINT kIdLargeSymbols = 1994;
  static constexpr UINT kIdLineSpacing = 1995;
  static constexpr UINT kIdAutosaveChars = 2000;
  static constexpr UINT kIdAutosaveInterval = 2004;
  static constexpr UINT kIdBackups = 2005;
  static constexpr UINT kIdUndo = 2007;
  static constexpr UINT kIdUndoLevels = 2008;
  static constexpr UINT kIdHelp = 57670;
  static constexpr UINT kIdSymbolCursor = 41201;
  static constexpr UINT kIdUpDownStaff = 41202;
  static constexpr UINT kIdLabelsAll = 41203;
  static constexpr UINT kIdLabelsFirst = 41204;
  static constexpr UINT kIdAutosaveTime = 41205;
  static constexpr UINT kIdAutosaveNever = 41206;
  static constexpr UINT kIdAutosaveAsk = 41207;
  static constexpr UINT kIdEntryBox = 41210;
  static constexpr UINT kIdViewBox = 41211;
  static constexpr UINT kIdBarsBox = 41212;
  static constexpr UINT kIdToolboxBox = 41213;
  static constexpr UINT kIdAutosaveBox = 41214;
  static constexpr UINT kIdLabelsBox = 41215;

  KPropOptAsvVw() : KModalDialog(kTemplateId) {}

  int makeBackups = 0;
  int autosaveInterval = 0;
  int autosaveMode = -1;
  int largeSymbols = 0;
  int barNumbering = 0;
  int lineSpacing = 0;
  int keyboardChangesCursor = 0;
  int upDownMode = -1;
  int cursorMode = -1;
  int clock = 0;
  int mainToolbar = 0;
  int statusBar = 0;
  int saveToolboxesNow = 0;
  int saveToolboxesOnQuit = 0;
  int extraToolbar = 0;
  int advanceAfterNote = 0;
  int lineLabels = -1;
  int undoEnabled = 0;
  int undoLevels = 0;

 protected:
  void DeclareControls(DialogControls& controls) override;
  void DescribeLayout(DialogLayoutItem& layout) const override;
};
