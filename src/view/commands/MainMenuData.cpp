// The menu bar: File, Edit, View, Insert, Actions, Options, Toolboxes,
// Window, Help. Actions is the fifth popup and its last item is the MIDI
// submenu, which ends with the device submenus the shell fills.

#include <initializer_list>

#include "view/commands/CommandIds.h"
#include "view/commands/CommandTableData.h"

namespace command_data {
namespace {

using namespace cmd;

KMenuNode Item(UINT id) {
  KMenuNode node;
  node.id = id;
  return node;
}

// A command shown here under another text than its table text.
KMenuNode Item(UINT id, const char* text) {
  KMenuNode node;
  node.id = id;
  node.text = text;
  return node;
}

KMenuNode Separator() { return KMenuNode(); }

KMenuNode Popup(const char* text, std::initializer_list<KMenuNode> children) {
  KMenuNode node;
  node.text = text;
  node.children.assign(children.begin(), children.end());
  return node;
}

// Items first..last, one per id.
void AppendRange(KMenuNode& popup, UINT first, UINT last) {
  for (UINT id = first; id <= last; ++id) popup.children.push_back(Item(id));
}

KMenuNode FileMenu() {
  KMenuNode file =
      Popup("&File", {
                         Item(kFileNewScore),
                         Item(kFileNewText),
                         Item(kFileOpen),
                         Item(kFileClose),
                         Item(kFileSave),
                         Item(kFileSaveAs),
                         Separator(),
                         Popup("&Import...", {Item(kImportAbc), Item(kImportMidi),
                                              Popup("MIDI File Import Me&thod",
                                                    {Item(kImportMidiMethod1), Item(kImportMidiMethod2)})}),
                         Popup("&Export...", {Item(kExportImage), Item(kExportImageHighRes),
                                              Item(kExportMidi), Item(kExportAbc)}),
                         Separator(),
                         Item(kFileAutoSave),
                         Item(kFilePreferences),
                         Separator(),
                         Item(kFilePrintOptions),
                         Item(kFilePrint),
                         Item(kFilePrintPreview),
                         Item(kFilePrintSetup),
                         Separator(),
                     });
  AppendRange(file, kFirstRecentFileId, kFirstRecentFileId + kRecentFileCount - 1);
  file.children.push_back(Separator());
  file.children.push_back(Item(kAppExit));
  return file;
}

KMenuNode EditMenu() {
  return Popup("&Edit", {
                            Item(kEditUndo),
                            Item(kEditRedo),
                            Item(kEditUndoSwitch),
                            Separator(),
                            Item(kEditCut),
                            Item(kEditCopy),
                            Item(kEditPaste),
                            Item(kEditPasteOver),
                            Item(kEditRemove),
                            Item(kEditDelete),
                            Item(kEditSelectEverything),
                            Separator(),
                            Item(kEditGoTo),
                            Separator(),
                            Item(kEditReadOnly),
                            Item(kEditGroupLinesIndependently),
                            Separator(),
                            Item(kOleInsertNew),
                            Item(kOleEditLinks),
                            Item(kOleVerbFirst),
                        });
}

KMenuNode ViewMenu() {
  return Popup(
      "&View",
      {
          Item(kViewMainToolbar),
          Item(kViewExtraToolbar),
          Item(kViewStatusBar),
          Item(kViewClock),
          Separator(),
          Popup("Line &Types To Show...",
                {Item(kViewShowAll), Separator(), Item(kViewShowText), Item(kViewShowTreble),
                 Item(kViewShowBass),
                 Popup("&Other Staff Lines",
                       {Item(kViewShowAlto), Item(kViewShowTenor), Item(kViewShowTreble8va),
                        Item(kViewShowTreble8vb), Item(kViewShowDrums), Item(kViewShowNoClef),
                        Item(kViewShowPercLine)}),
                 Separator(), Item(kViewShowAllTab), Item(kViewShowTrebleTab), Item(kViewShowBassTab),
                 Separator(), Item(kViewShowRhythm), Item(kViewShowChordNames), Item(kViewShowChordDiagrams),
                 Separator(), Item(kViewLabeledLines)}),
          Item(kViewLabelLines),
          Popup("L&ine Labels", {Item(kViewLabelsAll), Item(kViewLabelIndent)}),
          Separator(),
          Item(kViewSymbolSize),
          Popup("Change Si&ze of All Text",
                {Item(kViewTextBigger), Item(kViewTextSmaller), Item(kViewTextOriginal)}),
          Item(kViewSetLineFont),
          Item(kViewTabStems),
          Item(kViewPageBreaks),
          Popup("&Bar Numbering", {Item(kViewBarNumbering), Item(kViewSetBarNumbering)}),
          Popup("Line &Appearance", {Item(kViewStaffLineSpacing), Item(kViewChordLineAppearance)}),
          Popup("A&d-Tab", {Item(kViewAdTabNone), Item(kViewAdTabOutline), Item(kViewAdTabColorSymbols),
                            Item(kViewAdTabColorNumbers), Separator(), Item(kViewAdTabGuide)}),
          Separator(),
          Item(kToolBoxFretboard),
          Item(kToolBoxPianoKeyboard),
          Separator(),
          Item(kViewRefresh),
      });
}

KMenuNode PreviousObjectMenu() {
  KMenuNode notes = Popup("nth Prev. Note/Chord\tCtrl+n", {});
  AppendRange(notes, kInsertPreviousFirst, kInsertPreviousNoteLast);
  KMenuNode clusters = Popup("nth Prev Note Cluster\tCtrl+Shift+n", {});
  AppendRange(clusters, kInsertPreviousClusterFirst, kInsertPreviousClusterLast);
  KMenuNode bars = Popup("nth Previous Bar\tAlt+n", {});
  AppendRange(bars, kInsertPreviousBarFirst, kInsertPreviousLast);
  return Popup("Pre&vious Object...", {notes, clusters, bars});
}

KMenuNode InsertMenu() {
  KMenuNode extended = Popup("E&xtended Object", {});
  AppendRange(extended, kInsertExtendedFirst, kInsertExtendedLast);
  return Popup("&Insert",
               {
                   Item(kInsertTextLine),
                   Item(kInsertTreble),
                   Item(kInsertBass),
                   Item(kInsertKeyboardStaff),
                   Popup("&Other Staff Lines", {Item(kInsertAlto), Item(kInsertTenor), Item(kInsertTreble8va),
                                                Item(kInsertTreble8vb), Item(kInsertDrums),
                                                Item(kInsertPercussionLine), Item(kInsertNoClef)}),
                   Item(kInsertTabLine),
                   Item(kInsertBassTabLine),
                   Item(kInsertRhythmLine),
                   Item(kInsertChordLine),
                   Item(kInsertPageBreak),
                   Separator(),
                   Item(kInsertLineGroup),
                   Separator(),
                   Item(kInsertChord),
                   Item(kInsertKeySignature),
                   Item(kInsertTimeSignature),
                   extended,
                   PreviousObjectMenu(),
                   Separator(),
                   Item(kInsertAlternateSymbol),
               });
}

KMenuNode ActionsMenu() {
  KMenuNode translate = Popup("Translate &Current or Selected Line(s)...", {});
  AppendRange(translate, kTranslateFirst, kTranslateLast);
  translate.children.push_back(Separator());
  translate.children.push_back(Item(kTranslateToAbc));
  translate.children.push_back(Item(kTranslateFromAbc));
  translate.children.push_back(Separator());
  translate.children.push_back(Item(kTranslateSettings));
  return Popup(
      "&Actions",
      {
          Item(kActionsStaffLength),
          Item(kActionsTabTuning),
          Item(kActionsFretPosition),
          Item(kActionsTranspose),
          translate,
          Separator(),
          Item(kActionsJoinTails),
          Item(kActionsUnjoinTails),
          Item(kActionsWrapMusic),
          Popup("&Evenly Space Notation", {Item(kActionsEvenSpace), Item(kActionsEvenSpaceContinuous)}),
          Separator(),
          Popup("&Scrolling",
                {Item(kScrollToggle), Item(kScrollFaster), Item(kScrollSlower), Item(kScrollSetSpeed)}),
          Popup("&MIDI", {Item(kMidiPlay), Item(kMidiMarks), Item(kMidiSettings), Item(kMidiLiveInput),
                          Separator(), Popup(kMidiOutputMenuText, {}), Popup(kMidiInputMenuText, {})}),
      });
}

KMenuNode OptionsMenu() {
  KMenuNode styles = Popup("&Note Style", {});
  AppendRange(styles, kNoteStyleFirst, kNoteStyleLast);
  KMenuNode autoJoin = Popup("Auto-Join Note C&lusters", {Item(kOptionsAutoJoinToggle), Separator()});
  AppendRange(autoJoin, kOptionsAutoJoinFirst, kOptionsAutoJoinLast);
  return Popup("&Options",
               {
                   styles,
                   Item(kOptionsRhythmEntry),
                   Item(kOptionsMutualTranslation),
                   Item(kActionsJoinTails, "&Join Note Tails While Entering"),
                   Separator(),
                   Item(kOptionsArrowCursor),
                   Item(kOptionsKeyboardSetsCursor),
                   Item(kOptionsAdvanceCaret),
                   Item(kOptionsArrowsWithinStaff),
                   Separator(),
                   Item(kOptionsAutoWrap),
                   Item(kOptionsAutoBars),
                   autoJoin,
                   Popup("Auto &Stem Direction",
                         {Item(kOptionsStemNone), Item(kOptionsStemInward), Item(kOptionsStemOutward)}),
               });
}

KMenuNode ToolboxesMenu() {
  return Popup("&Toolboxes", {
                                 Item(kToolBoxCycle),          Separator(),
                                 Item(kToolBoxCommonFull),     Item(kToolBoxCommonMini),
                                 Item(kToolBoxAlternate),      Item(kToolBoxNoteStyles),
                                 Item(kToolBoxNotesAndRests),  Item(kToolBoxGraceNotes),
                                 Item(kToolBoxAccidentals),    Item(kToolBoxBarsAndRepeats),
                                 Item(kToolBoxDotsAndAccents), Item(kToolBoxTrillsAndTurns),
                                 Item(kToolBoxStemlessNotes),  Item(kToolBoxOtherSymbols),
                                 Item(kToolBoxGuitar),         Item(kToolBoxDrums),
                                 Item(kToolBoxRhythm),         Separator(),
                                 Item(kToolBoxFretboard),      Item(kToolBoxPianoKeyboard),
                             });
}

KMenuNode WindowMenu() {
  return Popup("&Window", {Item(kWindowNew), Item(kWindowCascade), Item(kWindowTile), Item(kWindowArrange),
                           Item(kWindowSplit)});
}

KMenuNode HelpMenu() {
  return Popup("&Help", {
                            Item(kHelpStarting),
                            Item(kHelpFinder),
                            Separator(),
                            Item(kHelpShortcuts),
                            Item(kHelpMoving),
                            Item(kHelpPercussion),
                            Item(kHelpNoteNames),
                            Separator(),
                            Item(kAboutCurrentScore),
                            Item(kAppAbout),
                        });
}

}  // namespace

std::vector<KMenuNode> BuildMainMenu() {
  return {FileMenu(),    EditMenu(),      ViewMenu(),   InsertMenu(), ActionsMenu(),
          OptionsMenu(), ToolboxesMenu(), WindowMenu(), HelpMenu()};
}

}  // namespace command_data
