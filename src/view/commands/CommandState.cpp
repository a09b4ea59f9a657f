// How each command appears: enabled or not, its check mark, a changed text.
// Pure functions of the active score view's state and of the application
// state (clipboard, bars and toolboxes the frame shows). Without a score view
// only the commands that need no score are enabled.

#include <algorithm>

#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "platform/StringTable.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/commands/CommandTable.h"

namespace {

using namespace cmd;

KCommandUi Enable(bool enabled) {
  KCommandUi ui;
  ui.enabled = enabled;
  return ui;
}

// A command whose rule only checks stays enabled.
KCommandUi Check(bool checked) {
  KCommandUi ui;
  ui.check = checked ? 1 : 0;
  return ui;
}

bool InRange(UINT id, UINT first, UINT last) { return id >= first && id <= last; }

// ---- Commands that need no score -----------------------------------------------------

bool IsToolBoxCommand(UINT id) { return InRange(id, kToolBoxCycle, kToolBoxLast); }

// The check marks of the frame's own commands (bars, clock, toolboxes, MIDI
// import method); nullopt-like false when the id is not one of them.
bool FrameCheck(UINT id, const KAppCommandState& app, KCommandUi& ui) {
  switch (id) {
    case kViewMainToolbar:
      ui = Check(app.mainToolbarShown);
      return true;
    case kViewStatusBar:
      ui = Check(app.statusBarShown);
      return true;
    case kViewExtraToolbar:
      ui = Check(app.extraToolbarShown);
      return true;
    case kViewClock:
      ui = Check(g_prefToolViewOptions.clock != 0);
      return true;
    case kImportMidiMethod1:
      ui = Check(app.midiImportMethod != 0);
      return true;
    case kImportMidiMethod2:
      ui = Check(app.midiImportMethod == 0);
      return true;
    case kToolBoxCycle:
      ui = Check(app.toolBoxShown[0] || app.toolBoxShown[1]);
      return true;
    default:
      break;
  }
  if (InRange(id, kToolBoxFirst, kToolBoxLast)) {
    ui = Check(app.toolBoxShown[id - kToolBoxFirst]);
    return true;
  }
  return false;
}

bool NeedsNoScore(UINT id) {
  switch (id) {
    case kFileNew:
    case kFileNewScore:
    case kFileNewText:
    case kFileOpen:
    case kImportAbc:
    case kImportMidi:
    case kImportMidiMethod1:
    case kImportMidiMethod2:
    case kFilePreferences:
    case kFilePrintSetup:
    case kAppExit:
    case kViewMainToolbar:
    case kViewStatusBar:
    case kViewExtraToolbar:
    case kViewClock:
    case kViewAdTabGuide:
    case kMidiLiveInput:  // opens a new score first when none is active
    case kAboutCurrentScore:
    case kWindowArrange:
    case kWindowCascade:
    case kWindowTile:
    case kAppAbout:
    case kHelpIndex:
    case kHelpFinder:
    case kContextHelp:
    case kDefaultHelp:
      return true;
    default:
      break;
  }
  return IsToolBoxCommand(id) || InRange(id, kFileRecent1, kFileRecent1 + kRecentFileCount - 1) ||
         InRange(id, kHelpShortcuts, kHelpStarting);
}

// Linux has no OLE: the commands that create, link or activate embedded
// objects stay in the menus, always disabled.
bool IsEmbeddedObjectCommand(UINT id) {
  return id == kOleInsertNew || id == kOleEditLinks || id == kOleVerbFirst || id == kEditDelete;
}

// ---- View state as the rules read it ---------------------------------------------------

int Family(const CStavlinView& view) { return KLineObj::FamilyOf(view.GetCurrentType()); }

bool HasSelection(const CStavlinView& view) {
  const RECT& r = view.m_selRect;
  return r.right > r.left && r.bottom > r.top;
}

// The selection rectangle, or whole lines selected.
bool HasAnySelection(const CStavlinView& view) { return HasSelection(view) || view.m_selFirstLine >= 0; }

bool ReadOnly(const CStavlinView& view) { return view.IsReadOnly() != 0; }

template <typename Pred>
bool AnyDisplayLine(const CStavlinView& view, Pred pred) {
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    if (pred(view.GetDisplayEntry(i).type)) return true;
  }
  return false;
}

// The current line carries its own label indent.
bool CurrentLineIndented(const CStavlinView& view) {
  const KLineObj* line = view.GetDisplayLineObj(view.GetCurrentLine());
  return line != nullptr && line->TestFlags(16) != 0;
}

// A line type entry of Line Types To Show: a hidden type can be shown; a
// shown one can be hidden (checked) only while a line of another type stays.
KCommandUi LineTypeRule(const CStavlinView& view, int type) {
  if (view.m_show[static_cast<size_t>(type)] == 0) return Check(false);
  if (AnyDisplayLine(view, [type](int t) { return t != type; })) return Check(true);
  return Enable(false);
}

KCommandUi AllTablatureRule(const CStavlinView& view) {
  if (view.m_show[2] != 0 && view.m_show[15] != 0) {
    if (AnyDisplayLine(view, [](int t) { return t != 2 && t != 15; })) return Check(true);
    return Enable(false);
  }
  return Check(false);
}

// The current display line and the three below it are text lines: a text
// tablature to translate needs its rows.
bool FourTextLinesFromCaret(const CStavlinView& view) {
  const int first = view.GetCurrentLine();
  if (first < 0 || first + 3 >= view.GetDisplayLineCount()) return false;
  for (int i = first; i <= first + 3; ++i) {
    if (KLineObj::FamilyOf(view.GetDisplayEntry(i).type) != KLineObj::kFamilyText) return false;
  }
  return true;
}

// Which translations the current line's family allows (no selection).
bool TranslationAllowed(const CStavlinView& view, int target) {
  switch (Family(view)) {
    case KLineObj::kFamilyStaff:
      return target != 5 && target != 4;
    case KLineObj::kFamilyTab:
      return target == 5 || target == 0 || target == 1 || target == 3;
    case KLineObj::kFamilyRhythm:
      return target != 3 && target != 4;
    case KLineObj::kFamilyChord:
      return target == 5 || target == 0 || target == 2;
    case KLineObj::kFamilyText:
      if (target == 2) return FourTextLinesFromCaret(view);
      return target == 0 || target == 3 || target == 4;
    default:
      return false;
  }
}

KCommandUi TranslationRule(const CStavlinView& view, UINT id) {
  if (HasSelection(view)) return Enable(true);
  return Enable(TranslationAllowed(view, cmd::kTranslateTargets[id - kTranslateFirst]));
}

KCommandUi ExtendedObjectRule(const CStavlinView& view, UINT id) {
  if (ReadOnly(view)) return Enable(false);
  if (Family(view) == KLineObj::kFamilyText) return Enable(id == kInsertBracket || id == kInsertTextString);
  return Enable(view.m_pendingExtendedObject == 0);
}

// Change Size of All Text: the current height of the default text font
// against its original.
KCommandUi TextSizeRule(const CStavlinView& view, UINT id) {
  const int current = view.m_textFonts[0].lfHeight;
  const int original = view.m_baseFontHeight[0];
  if (id == kViewTextBigger) return Check(current > original);
  if (id == kViewTextSmaller) return Check(current < original);
  return Check(current == original);
}

// Rules over ranges of ids; false when id is in none of them.
bool RangeRule(UINT id, const CStavlinView& view, KCommandUi& ui) {
  const bool ro = ReadOnly(view);
  const int family = Family(view);
  if (InRange(id, kNoteStyleFirst, kNoteStyleLast)) {
    ui = Check(static_cast<int>(id - kNoteStyleFirst) == view.m_noteStyle);
  } else if (InRange(id, kInsertTextLine, kInsertChordLine)) {
    ui = Enable(!ro && view.m_pendingExtendedObject == 0);
  } else if (InRange(id, kInsertExtendedFirst, kInsertTextString)) {
    ui = ExtendedObjectRule(view, id);
  } else if (InRange(id, kInsertPreviousFirst, kInsertPreviousLast)) {
    ui = Enable(!ro && (family == 0 || family == 1 || family == 2 || family == 4));
  } else if (InRange(id, kTranslateFirst, kTranslateLast)) {
    ui = TranslationRule(view, id);
  } else if (InRange(id, kOptionsAutoJoinToggle, kOptionsAutoJoinLast)) {
    ui = Check(static_cast<int>(id - kOptionsAutoJoinToggle) == view.m_autoJoin);
  } else if (InRange(id, kViewAdTabNone, kViewAdTabColorNumbers)) {
    ui = Check(static_cast<int>(id - kViewAdTabNone) == view.m_adTabMode);
  } else if (InRange(id, kViewShowAlto, kViewShowPercLine)) {
    static constexpr int kOtherStaves[] = {9, 10, 11, 12, 13, 14, 16};
    ui = LineTypeRule(view, kOtherStaves[id - kViewShowAlto]);
  } else {
    return false;
  }
  return true;
}

KCommandUi ViewRule(UINT id, const CStavlinView& view, const KAppCommandState& app) {
  KCommandUi ui;
  if (RangeRule(id, view, ui)) return ui;
  const bool ro = ReadOnly(view);
  const int family = Family(view);
  const bool noteLine = family >= 0 && family < 3;
  switch (id) {
    case kInsertAlternateSymbol:
      return Check(view.m_alternateSymbols == 1);
    case kActionsFretPosition:
      return Enable(family == KLineObj::kFamilyTab || HasSelection(view));
    case kFileAutoSave:
      if (ro) return Enable(false);
      return Check(view.m_autosaveInterval > 0);
    case kViewShowAll:
      return Check(view.m_show[ScoreSettings::kShowAll] != 0);
    case kViewShowText:
      return LineTypeRule(view, 5);
    case kViewShowTreble:
      return LineTypeRule(view, 0);
    case kViewShowBass:
      return LineTypeRule(view, 1);
    case kViewShowTrebleTab:
      return LineTypeRule(view, 2);
    case kViewShowBassTab:
      return LineTypeRule(view, 15);
    case kViewShowRhythm:
      return LineTypeRule(view, 3);
    case kViewShowChordNames:
      return LineTypeRule(view, 4);
    case kViewShowAllTab:
      return AllTablatureRule(view);
    case kViewShowChordDiagrams:
      return Check(view.m_chordDiagramsShown != 0);
    case kEditGroupLinesIndependently:
      return Check(view.m_independentEditing != 0);
    case kViewTabStems:
      return Check(view.m_tabStems != 0);
    case kActionsUnjoinTails:
      return Enable(!ro && HasSelection(view) && family >= 0 && family < 4);
    case kOptionsArrowCursor:
      return Check(g_prefEntryOptions.cursorMode == 0);
    case kOptionsKeyboardSetsCursor:
      return Check(view.Options().keyChangesCursor != 0);
    case kOptionsAdvanceCaret:
      return Check(g_prefEntryOptions.advanceAfterNote != 0);
    case kHideLine:
      return Enable(view.GetDisplayLineCount() >= 2);
    case kOptionsArrowsWithinStaff:
      return Check(view.Options().arrowKeysWithinStaff != 0);
    case kOptionsAutoBars:
      return Check(view.m_autoBars != 0);
    case kOptionsStemNone:
      return Check(view.m_stemDirection == 0);
    case kOptionsStemInward:
      return Check(view.m_stemDirection == 1);
    case kOptionsStemOutward:
      return Check(view.m_stemDirection == 2);
    case kOptionsRhythmEntry:
      return Check(view.m_rhythmSymbolEntry != 0);
    case kViewSymbolSize:
      return Check(view.GetSizeIndex() == 1);
    case kLabelIndentNoMenu:
      return Check(CurrentLineIndented(view));
    case kViewLabelIndent: {
      KCommandUi text;
      text.text = LoadString(CurrentLineIndented(view) ? 8244 : 8243);
      return text;
    }
    case kViewLabelsAll:
      return Check(view.m_labelsShown != 0);
    case kViewBarNumbering:
      return Check(view.m_barNumbersShown != 0);
    case kViewSetBarNumbering:
    case kInsertKeySignature:
    case kInsertTimeSignature:
      return Enable(!ro && noteLine);
    case kViewTextBigger:
    case kViewTextSmaller:
    case kViewTextOriginal:
      return TextSizeRule(view, id);
    case kViewSetLineFont:
      return Enable(!ro && family >= 3 && family <= 5);
    case kActionsJoinTails:
      return Check(view.m_joinTails != 0);
    case kEditReadOnly:
      return Check(ro);
    case kScrollSlower:
    case kScrollFaster:
      return Enable(view.m_autoScroll != 0);
    case kScrollToggle:
      return Check(view.m_autoScroll != 0);
    case kViewPageBreaks:
      return Check(view.m_pageMarks != 0);
    case kOptionsAutoWrap:
      return Check(view.m_autoWrap != 0);
    case kActionsWrapMusic:
      return Enable(HasSelection(view));
    case kActionsEvenSpace:
      return Enable(HasSelection(view) || noteLine);
    case kActionsEvenSpaceContinuous:
      return Enable(view.m_evenSpacingContinuous == 0);
    case kOptionsMutualTranslation:
      return Check(view.m_mutualTranslation != 0);
    case kInsertChord:
      return Enable(!ro && family != KLineObj::kFamilyRhythm && family != KLineObj::kFamilyText);
    case kInsertLineGroup:
      return Enable(!ro);
    case kEditUndo:
      return Enable(view.m_undoEnabled != 0 && view.m_undoCurrent > 0);
    case kEditRedo:
      return Enable(view.m_undoEnabled != 0 && view.m_redoAvailable != 0);
    case kEditUndoSwitch: {
      KCommandUi text;
      text.text = LoadString(view.m_undoEnabled != 0 ? 8213 : 8214);
      return text;
    }
    case kEditCopy:
    case kEditCut:
    case kEditRemove:
      return Enable(HasAnySelection(view));
    case kEditPaste:
    case kEditPasteOver:
      return Enable(app.clipboardHasScore || app.clipboardHasText);
    default:
      // Every other command of a score view is enabled, its check left alone.
      return KCommandUi();
  }
}

}  // namespace

KCommandUi QueryCommand(UINT id, const CStavlinView* view, const KAppCommandState& app) {
  KCommandUi ui;
  if (FrameCheck(id, app, ui)) return ui;
  if (IsEmbeddedObjectCommand(id)) return Enable(false);
  if (view == nullptr) return Enable(NeedsNoScore(id));
  return ViewRule(id, *view, app);
}
