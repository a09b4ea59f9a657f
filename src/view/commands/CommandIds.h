#pragma once
// The program's command ids by name. The framework's standard commands keep
// their usual numbers (57600 New ... 59393 Status Bar); the program's own run
// from 31440 to 41508.

#include "platform/WinTypes.h"

namespace cmd {

// ---- Framework commands ---------------------------------------------------------
inline constexpr UINT kFileNew = 57600;
inline constexpr UINT kFileOpen = 57601;
inline constexpr UINT kFileClose = 57602;
inline constexpr UINT kFileSave = 57603;
inline constexpr UINT kFileSaveAs = 57604;
inline constexpr UINT kFilePrintSetup = 57606;
inline constexpr UINT kFilePrint = 57607;
inline constexpr UINT kFilePrintPreview = 57609;
inline constexpr UINT kFileRecent1 = 57616;  // ..57623
inline constexpr UINT kEditDelete = 57632;   // ID_EDIT_CLEAR
inline constexpr UINT kEditCopy = 57634;
inline constexpr UINT kEditCut = 57635;
inline constexpr UINT kEditPaste = 57637;
inline constexpr UINT kEditUndo = 57643;
inline constexpr UINT kWindowNew = 57648;
inline constexpr UINT kWindowArrange = 57649;
inline constexpr UINT kWindowCascade = 57650;
inline constexpr UINT kWindowTile = 57651;
inline constexpr UINT kWindowSplit = 57653;
inline constexpr UINT kAppAbout = 57664;
inline constexpr UINT kAppExit = 57665;
inline constexpr UINT kHelpIndex = 57666;
inline constexpr UINT kHelpFinder = 57667;
inline constexpr UINT kContextHelp = 57669;
inline constexpr UINT kDefaultHelp = 57671;
inline constexpr UINT kOleInsertNew = 57856;
inline constexpr UINT kOleEditLinks = 57857;
inline constexpr UINT kOleVerbFirst = 57872;
inline constexpr UINT kViewMainToolbar = 59392;
inline constexpr UINT kViewStatusBar = 59393;

// ---- File ------------------------------------------------------------------------
inline constexpr UINT kFileNewScore = 40960;
inline constexpr UINT kFileNewText = 40961;
inline constexpr UINT kFileAutoSave = 40962;
inline constexpr UINT kFilePrintOptions = 40963;
inline constexpr UINT kFilePreferences = 40964;
inline constexpr UINT kImportMidiMethod1 = 40968;
inline constexpr UINT kImportMidiMethod2 = 40969;
inline constexpr UINT kImportMidi = 40976;
inline constexpr UINT kImportAbc = 40977;
inline constexpr UINT kExportAbc = 40993;
inline constexpr UINT kExportImage = 40998;
inline constexpr UINT kExportImageHighRes = 40999;
inline constexpr UINT kExportMidi = 41259;

// ---- Edit ------------------------------------------------------------------------
inline constexpr UINT kEditRedo = 41008;
inline constexpr UINT kEditReadOnly = 41009;
inline constexpr UINT kEditRemove = 41010;
inline constexpr UINT kEditSelectEverything = 41011;
inline constexpr UINT kEditPasteOver = 41012;
inline constexpr UINT kEditGoTo = 41013;
inline constexpr UINT kEditUndoSwitch = 41014;
inline constexpr UINT kEditGroupLinesIndependently = 31463;

// ---- View ------------------------------------------------------------------------
inline constexpr UINT kViewShowAll = 41119;
inline constexpr UINT kViewShowText = 41120;
inline constexpr UINT kViewShowAllTab = 41121;
inline constexpr UINT kViewShowTrebleTab = 41122;
inline constexpr UINT kViewShowBassTab = 41123;
inline constexpr UINT kViewShowTreble = 41124;
inline constexpr UINT kViewShowBass = 41125;
inline constexpr UINT kViewShowAlto = 41126;
inline constexpr UINT kViewShowTenor = 41127;
inline constexpr UINT kViewShowTreble8va = 41128;
inline constexpr UINT kViewShowTreble8vb = 41129;
inline constexpr UINT kViewShowDrums = 41130;
inline constexpr UINT kViewShowNoClef = 41131;
inline constexpr UINT kViewShowPercLine = 41132;
inline constexpr UINT kViewShowChordDiagrams = 41133;
inline constexpr UINT kViewShowChordNames = 41134;
inline constexpr UINT kViewShowRhythm = 41135;
inline constexpr UINT kViewTextBigger = 41154;
inline constexpr UINT kViewTextSmaller = 41155;
inline constexpr UINT kViewTextOriginal = 41156;
inline constexpr UINT kViewSetLineFont = 41157;
inline constexpr UINT kViewLabeledLines = 41158;
inline constexpr UINT kViewLabelLines = 41160;
inline constexpr UINT kViewSymbolSize = 41161;
inline constexpr UINT kViewBarNumbering = 41162;
inline constexpr UINT kViewTabStems = 41163;
inline constexpr UINT kViewChordLineAppearance = 41164;
inline constexpr UINT kViewStaffLineSpacing = 41165;
inline constexpr UINT kViewPageBreaks = 41166;
inline constexpr UINT kViewAdTabNone = 41168;  // ..41171
inline constexpr UINT kViewAdTabOutline = 41169;
inline constexpr UINT kViewAdTabColorSymbols = 41170;
inline constexpr UINT kViewAdTabColorNumbers = 41171;
inline constexpr UINT kHideLine = 41178;
inline constexpr UINT kViewRefresh = 41179;
inline constexpr UINT kLabelIndentNoMenu = 41180;
inline constexpr UINT kViewLabelIndent = 41182;
inline constexpr UINT kViewLabelsAll = 41183;
inline constexpr UINT kViewSetBarNumbering = 31468;
inline constexpr UINT kViewAdTabGuide = 31462;

// ---- Toolboxes and frame ------------------------------------------------------------
inline constexpr UINT kToolBoxCycle = 41184;
inline constexpr UINT kToolBoxFirst = 41185;  // kind 0; kind k is 41185 + k
inline constexpr UINT kToolBoxCommonFull = 41185;
inline constexpr UINT kToolBoxCommonMini = 41186;
inline constexpr UINT kToolBoxAlternate = 41187;
inline constexpr UINT kToolBoxNoteStyles = 41189;
inline constexpr UINT kToolBoxNotesAndRests = 41190;
inline constexpr UINT kToolBoxGraceNotes = 41192;
inline constexpr UINT kToolBoxAccidentals = 41194;
inline constexpr UINT kToolBoxBarsAndRepeats = 41195;
inline constexpr UINT kToolBoxDotsAndAccents = 41196;
inline constexpr UINT kToolBoxTrillsAndTurns = 41197;
inline constexpr UINT kToolBoxStemlessNotes = 41198;
inline constexpr UINT kToolBoxOtherSymbols = 41199;
inline constexpr UINT kToolBoxGuitar = 41200;
inline constexpr UINT kToolBoxDrums = 41201;
inline constexpr UINT kToolBoxFretboard = 41202;
inline constexpr UINT kToolBoxPianoKeyboard = 41203;
inline constexpr UINT kToolBoxRhythm = 41204;
inline constexpr UINT kToolBoxLast = 41204;   // kind 19
inline constexpr UINT kViewExtraToolbar = 41205;
inline constexpr UINT kViewClock = 41206;

// ---- Insert ------------------------------------------------------------------------
inline constexpr UINT kInsertTextLine = 41040;
inline constexpr UINT kInsertTreble = 41041;
inline constexpr UINT kInsertBass = 41042;
inline constexpr UINT kInsertAlto = 41043;
inline constexpr UINT kInsertTenor = 41044;
inline constexpr UINT kInsertTreble8va = 41045;
inline constexpr UINT kInsertTreble8vb = 41046;
inline constexpr UINT kInsertDrums = 41047;
inline constexpr UINT kInsertPercussionLine = 41048;
inline constexpr UINT kInsertNoClef = 41049;
inline constexpr UINT kInsertKeyboardStaff = 41050;
inline constexpr UINT kInsertTabLine = 41051;
inline constexpr UINT kInsertBassTabLine = 41052;
inline constexpr UINT kInsertRhythmLine = 41053;
inline constexpr UINT kInsertChordLine = 41054;  // last of 41040..41054
inline constexpr UINT kInsertChord = 41072;
inline constexpr UINT kInsertKeySignature = 41073;
inline constexpr UINT kInsertTimeSignature = 41074;
inline constexpr UINT kInsertLineGroup = 41075;
inline constexpr UINT kInsertExtendedFirst = 41088;  // ..41095
inline constexpr UINT kInsertBracket = 41093;
inline constexpr UINT kInsertTextString = 41095;
inline constexpr UINT kInsertExtendedLast = 41095;
inline constexpr UINT kInsertPageBreak = 41098;
inline constexpr UINT kInsertPreviousFirst = 41441;  // ..41470: notes, clusters, bars
inline constexpr UINT kInsertPreviousNoteLast = 41450;
inline constexpr UINT kInsertPreviousClusterFirst = 41451;
inline constexpr UINT kInsertPreviousClusterLast = 41460;
inline constexpr UINT kInsertPreviousBarFirst = 41461;
inline constexpr UINT kInsertPreviousLast = 41470;
inline constexpr UINT kInsertAlternateSymbol = 41336;

// ---- Actions -----------------------------------------------------------------------
inline constexpr UINT kActionsStaffLength = 41216;
inline constexpr UINT kActionsTabTuning = 41217;
inline constexpr UINT kActionsFretPosition = 41218;
inline constexpr UINT kTranslateFirst = 41220;  // ..41230, targets in kTranslateTargets
inline constexpr UINT kTranslateLast = 41230;
inline constexpr UINT kTranslateSettings = 41231;
inline constexpr UINT kTranslateToAbc = 41236;
inline constexpr UINT kTranslateFromAbc = 41242;
inline constexpr UINT kActionsJoinTails = 41248;
inline constexpr UINT kActionsUnjoinTails = 41249;
inline constexpr UINT kActionsWrapMusic = 41250;
inline constexpr UINT kActionsTranspose = 41251;
inline constexpr UINT kActionsEvenSpace = 31469;
inline constexpr UINT kActionsEvenSpaceContinuous = 31472;
inline constexpr UINT kMidiPlay = 41258;
inline constexpr UINT kMidiLiveInput = 41260;
inline constexpr UINT kMidiSettings = 41261;
inline constexpr UINT kMidiMarks = 41262;
inline constexpr UINT kScrollToggle = 41290;
inline constexpr UINT kScrollSlower = 41291;
inline constexpr UINT kScrollFaster = 41292;
inline constexpr UINT kScrollSetSpeed = 41293;

// ---- Options -----------------------------------------------------------------------
inline constexpr UINT kOptionsArrowCursor = 41296;
inline constexpr UINT kOptionsKeyboardSetsCursor = 41297;
inline constexpr UINT kOptionsAdvanceCaret = 41300;
inline constexpr UINT kOptionsArrowsWithinStaff = 41301;
inline constexpr UINT kOptionsRhythmEntry = 41302;
inline constexpr UINT kOptionsMutualTranslation = 41303;
inline constexpr UINT kOptionsAutoWrap = 41304;
inline constexpr UINT kOptionsStemInward = 41305;
inline constexpr UINT kOptionsStemOutward = 41306;
inline constexpr UINT kOptionsStemNone = 41307;
inline constexpr UINT kOptionsAutoJoinToggle = 41308;
inline constexpr UINT kOptionsAutoJoinFirst = 41309;  // ..41314 modes 1..6
inline constexpr UINT kOptionsAutoJoinLast = 41314;
inline constexpr UINT kOptionsAutoBars = 41315;
inline constexpr UINT kNoteStyleFirst = 41328;  // ..41335 styles 0..7
inline constexpr UINT kNoteStyleLast = 41335;

// ---- Help --------------------------------------------------------------------------
inline constexpr UINT kAboutCurrentScore = 31440;
inline constexpr UINT kHelpShortcuts = 41504;
inline constexpr UINT kHelpMoving = 41505;
inline constexpr UINT kHelpPercussion = 41506;
inline constexpr UINT kHelpNoteNames = 41507;
inline constexpr UINT kHelpStarting = 41508;

// The target line type of each translation command 41220..41230, in order.
inline constexpr int kTranslateTargets[11] = {5, 0, 1, 9, 10, 11, 12, 14, 2, 3, 4};

}  // namespace cmd
