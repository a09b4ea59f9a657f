#include "dialogs/pref_pages/KPropOptAsvVw.h"

#include "dialogs/pref_pages/PrefPageSupport.h"

using namespace pref_page;

void KPropOptAsvVw::DeclareControls(DialogControls& c) {
  c.SetTitle("Entry Options, View Options, AutoSave");
  c.Group(kIdEntryBox, "Entry options");
  Radios(c, cursorMode,
         {{kIdArrowCursor, "Use &Arrow Cursor (Enter symbols with keyboard or click on symbol toolbox)"},
          {kIdSymbolCursor,
           "Use &Symbol Cursor (Cursor has shape of musical symbol, click on staff to enter)"}});
  c.Check(kIdKeyboardCursor, "Keyboa&rd changes cursor when symbol's key hit", keyboardChangesCursor);
  Radios(
      c, upDownMode,
      {{kIdUpDownLines, "&Up/Down Arrow keys move from line to line within score"},
       {kIdUpDownStaff, "U&p/Down Arrow keys move within staff lines (except when scrolling or Read Only)"}});
  c.Check(kIdAdvance, "Ad&vance caret after note entry (caret will move right after entering a note)",
          advanceAfterNote);
  c.Group(kIdViewBox, "View options (new scores)");
  c.Check(kIdLargeSymbols, "Use Large S&ymbols", largeSymbols);
  c.Check(kIdBarNumbers, "Show &Bar Numbering", barNumbering);
  LabelledNumber(c, kIdLineSpacing, "Vertical line spacing (pixels):", lineSpacing, 0, 30);
  c.Group(kIdLabelsBox, "Line labels");
  Radios(c, lineLabels,
         {{kIdLabelsNone, "Don't S&how"},
          {kIdLabelsAll, "Sho&w On All Lines"},
          {kIdLabelsFirst, "On F&irst Line(s) Only"}});
  c.Group(kIdBarsBox, "Show");
  c.Check(kIdMainToolbar, "&Main Toolbar", mainToolbar);
  c.Check(kIdExtraToolbar, "E&xtra Toolbar", extraToolbar);
  c.Check(kIdStatusBar, "S&tatus Bar", statusBar);
  c.Check(kIdClock, "Cl&ock on Status Bar", clock);
  c.Group(kIdToolboxBox, "Symbol toolbox positions");
  c.Check(kIdSaveNow, "Save curre&nt positions", saveToolboxesNow);
  c.Check(kIdSaveOnQuit, "Save positions when &quitting", saveToolboxesOnQuit);
  c.Group(kIdAutosaveBox, "AutoSave and Undo");
  Radios(c, autosaveMode,
         {{kIdAutosaveChars, "&Character count"},
          {kIdAutosaveTime, "&Elapsed time"},
          {kIdAutosaveNever, "&Do not AutoSave"},
          {kIdAutosaveAsk, "Ask &for each new file"}});
  LabelledNumber(c, kIdAutosaveInterval, "Characters or minutes between autosaves:", autosaveInterval,
                 kAnyLow, kAnyHigh);
  c.Check(kIdBackups, "Ma&ke Backup Files", makeBackups);
  c.Check(kIdUndo, "Enab&le Undo", undoEnabled);
  LabelledNumber(c, kIdUndoLevels, "Number of undo levels:", undoLevels, 1, 99);
  HelpButton(c, kIdHelp, HelpTopic::kPropsOptAsvVew);
}

void KPropOptAsvVw::DescribeLayout(DialogLayoutItem& layout) const {
  using namespace dialog_layout;
  layout.children = {
      Box(kIdEntryBox, {Ctl(kIdArrowCursor), Ctl(kIdSymbolCursor), Ctl(kIdKeyboardCursor),
                        Ctl(kIdUpDownLines), Ctl(kIdUpDownStaff), Ctl(kIdAdvance)}),
      Row({Column(
               {Box(kIdViewBox, {Ctl(kIdLargeSymbols), Ctl(kIdBarNumbers), Form({FieldOf(kIdLineSpacing)})}),
                Box(kIdLabelsBox, {Ctl(kIdLabelsNone), Ctl(kIdLabelsAll), Ctl(kIdLabelsFirst)}), Stretch()}),
           Column({Box(kIdBarsBox,
                       {Ctl(kIdMainToolbar), Ctl(kIdExtraToolbar), Ctl(kIdStatusBar), Ctl(kIdClock)}),
                   Box(kIdToolboxBox, {Ctl(kIdSaveNow), Ctl(kIdSaveOnQuit)}), Stretch()}),
           Column({Box(kIdAutosaveBox, {Ctl(kIdAutosaveChars), Ctl(kIdAutosaveTime), Ctl(kIdAutosaveNever),
                                        Ctl(kIdAutosaveAsk), Form({FieldOf(kIdAutosaveInterval)}),
                                        Ctl(kIdBackups), Ctl(kIdUndo), Form({FieldOf(kIdUndoLevels)})}),
                   Stretch()})}),
  };
  // A page shorter than the tallest keeps its controls together at the top.
  layout.children.push_back(dialog_layout::Stretch());
}
