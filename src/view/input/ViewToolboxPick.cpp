// A pick from a symbol toolbox, the fretboard or the piano keyboard, turned
// into what the user would have typed at the caret: the symbol's key (twice
// for the doubled-key symbols, in one undo step), the arrow keys that move
// the caret to a string or a staff row, the digits of a fret, a note value's
// key and an accidental; or the option command of a control cell.

#include <algorithm>

#include "common/Globals.h"
#include "common/SoundNote.h"
#include "common/TuningCodec.h"
#include "dialogs/toolbox/ToolBoxCells.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KLineObj.h"
#include "platform/Keys.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/input/ViewMouseInternal.h"

namespace {

using namespace toolbox;
using viewmouse::IsDoubledKey;
using viewmouse::SavedInt;
using viewmouse::TypeFromToolbox;

constexpr int kFirstStyleCommand = 41328;
constexpr UINT kNotTabLineQuestion = 8131;
constexpr UINT kNotKeyboardLineQuestion = 8132;
constexpr int kTabType = 2;
constexpr int kTrebleType = 0;
constexpr int kBassType = 1;
constexpr int kRowOffset = 2;  // tablature row of string slot 0
constexpr int kPitchToMidi = 20;
constexpr int kLastFret = 24;
// Symbols typed as one key twice, and the combined repeat bars typed as an
// end-repeat bar, a step back and a second sign.
constexpr int kRepeatBothWays = 96;
constexpr int kRepeatTwoBars = 97;
constexpr int kSharpCode = 28;
constexpr int kFlatCode = 30;
constexpr int kNaturalCode = 27;
// Instruments of the preview by line kind.
constexpr int kPianoInstrument = 1;
constexpr int kGuitarInstrument = 26;

// A symbol that no key types goes to the line by its code.
void TypeCode(CStavlinView& view, int code) {
  SavedInt direct(view.m_toolboxCode, code);
  TypeFromToolbox(view, 0);
}

void Press(CStavlinView& view, UINT key, int times = 1) {
  for (int i = 0; i < times; ++i) view.OnKeyDown(key, 1, CStavlinView::kToolboxKeyFlags);
}

// Moves the caret by rows (positive: down).
void MoveRows(CStavlinView& view, int rows) {
  if (rows > 0) Press(view, VK_DOWN, rows);
  if (rows < 0) Press(view, VK_UP, -rows);
}

// Steps the caret back to a column the entry moved it away from, or on to
// one it should stand on.
void BackToColumn(CStavlinView& view, int column) {
  const int delta = view.GetCaretColumn() - column;
  if (delta > 0) Press(view, VK_LEFT, delta);
  if (delta < 0) Press(view, VK_RIGHT, -delta);
}

void SoundNote(CStavlinView& view, int note, int instrument) {
  KFrameServices* frame = view.m_host != nullptr ? view.m_host->Frame() : nullptr;
  if (frame == nullptr) return;
  if (MidiOutPort* out = frame->PreviewOutput())
    PlayPreviewNote(out, note, instrument, kPreviewDurationMs, kPreviewVelocity);
}

// The line at the caret (null when the score is empty).
KLineObj* CaretLine(const CStavlinView& view) {
  if (view.GetDisplayLineCount() <= 0) return nullptr;
  return view.GetDisplayLineObj(std::clamp(view.GetCurrentLine(), 0, view.GetDisplayLineCount() - 1));
}

// The caret goes to another display line at the same column and row.
void EnterDisplayLine(CStavlinView& view, int line) {
  view.m_currentLine = line;
  view.m_currentType = view.GetDisplayEntry(line).type;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  view.PlaceCaret();
}

// ---- Palette symbols ---------------------------------------------------------------------

int PickSymbol(CStavlinView& view, int code) {
  const bool alternate = code >= kAlternatePage;
  g_toolboxSymbol = code;
  view.m_toolboxSymbol = code;
  if (code >= 0 && code <= 12) g_CurrentNoteCode = code;
  if (g_prefEntryOptions.cursorMode != 0) {
    // The symbol cursor: a click in the score places the symbol.
    if (view.m_host != nullptr)
      view.m_host->SetCursorId(alternate ? CStavlinView::kCursorAltSymbolBase + code - kAlternatePage
                                         : CStavlinView::kCursorSymbolBase + code);
    return 0;
  }
  const int family = view.GetCurrentFamily();
  if (family >= KLineObj::kFamilyChord || view.GetDisplayLineCount() <= 0) return 0;
  const int c = alternate ? code - kAlternatePage : code;

  if (family == KLineObj::kFamilyRhythm) {
    if (alternate) return 0;
    int key = viewmouse::KeyOfSymbol(view, c, KLineObj::kFamilyStaff);
    if (key == 'H' || key == 'Q' || key == 'T' || key == 'S' || key == 'Y' || key == 'X') key += 'a' - 'A';
    if (c == 90) key = 'Z';
    if (c == 71) key = 'L';
    if (c == 31) key = 'F';
    if (c == 29) key = 'S';
    if (c == 94) key = '/';
    if (key <= 0 || g_RhythmSymbolLetters.Find(static_cast<char>(key)) < 0) return 0;
    TypeFromToolbox(view, key);
    return 1;
  }

  // Staff and tablature lines: the toolbox's page for this entry only.
  SavedInt page(view.m_alternateSymbols, alternate ? 1 : 0);
  const int key = viewmouse::KeyOfSymbol(view, c, family);
  if (key == 0) {
    TypeCode(view, code);
    return 1;
  }
  TypeFromToolbox(view, key);
  // The rest of a symbol of two keystrokes belongs to the same undo step.
  SavedInt quiet(g_noModify, 1);
  if (!alternate && IsDoubledKey(c)) {
    TypeFromToolbox(view, key);
  } else if (!alternate && (c == kRepeatBothWays || c == kRepeatTwoBars)) {
    view.OnKeyDown(VK_LEFT, 1, 0);
    TypeFromToolbox(view, c == kRepeatBothWays ? '[' : '%');
  }
  return 1;
}

int PickControl(CStavlinView& view, int code) {
  if (code == kNotUsed) {
    MessageBeep(MB_ICONASTERISK);
    return 1;
  }
  if (code == kJoinTails) {
    view.OnActionsJoinTails();
  } else if (code == kArrowCursor) {
    view.OnOptionsUseArrowCursor();
  } else if (code == kMutualTranslation) {
    if (!ExecuteViewCommand(view, cmd::kOptionsMutualTranslation)) {
      MessageBeep(MB_ICONASTERISK);
      return 0;
    }
  } else if (code >= kCaretLeft && code <= kCaretDown) {
    static constexpr UINT kKeys[4] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
    Press(view, kKeys[code - kCaretLeft]);
  } else if (code >= kFirstNoteStyle && code <= kLastNoteStyle) {
    view.OnOptionsNoteStyle(static_cast<UINT>(kFirstStyleCommand + code - kFirstNoteStyle));
  } else {
    return 0;
  }
  return 1;
}

// ---- Notes of the fretboard and the keyboard --------------------------------------------

// The fret's digits at the caret's column on the caret's string.
void TypeFret(CStavlinView& view, int fret) {
  const int column = view.GetCaretColumn();
  if (fret > 9) {
    TypeFromToolbox(view, '0' + fret / 10);
    BackToColumn(view, column);
    SavedInt quiet(g_noModify, 1);
    TypeFromToolbox(view, '0' + fret % 10);
  } else {
    TypeFromToolbox(view, '0' + fret);
  }
}

int EnterOnTab(CStavlinView& view, int note, int noteValue, int slot, int fret) {
  g_offerLineInsertion = 1;
  MoveRows(view, slot + kRowOffset - view.GetCaretRow());
  view.m_currentDuration = noteValue;
  g_CurrentNoteCode = noteValue;
  TypeFret(view, fret);
  SoundNote(view, note, kGuitarInstrument);
  return 1;
}

// The piano's note on a tablature line: the string that plays it lowest on
// the neck at or above the hand's position.
int KeyboardOnTab(CStavlinView& view, int note, int noteValue) {
  auto* tab = dynamic_cast<KTabLine*>(CaretLine(view));
  if (tab == nullptr) return 0;
  TuningPitches open{};
  tab->GetStringPitches(open);
  const int pitch = note - kPitchToMidi;
  int lowest = 1000;
  int highest = -100;
  for (int pitchOfString : open) {
    if (pitchOfString == kNoString) continue;
    lowest = std::min(lowest, pitchOfString);
    highest = std::max(highest, pitchOfString);
  }
  if (pitch < lowest || pitch > highest + kLastFret) {
    MessageBeep(MB_ICONASTERISK);
    return 0;
  }
  int wanted = 0;
  if (g_prefTabOptions.fretFromPrevious != 0) {
    const int used = tab->GetFretPositionStat(view.GetCaretColumn(), 0);
    if (used >= 5) wanted = used - 2;
  }
  for (; wanted >= 0; --wanted) {
    int bestSlot = -1;
    int bestFret = 1000;
    for (int slot = 0; slot < kMaxTuningStrings; ++slot) {
      if (open[static_cast<size_t>(slot)] == kNoString) continue;
      const int semitones = pitch - open[static_cast<size_t>(slot)];
      if (semitones < 0) continue;
      const int fret = FindFretIndex(tab->GetFretMap(), semitones, false);
      if (fret < wanted || fret > tab->GetFretCount()) continue;
      if (fret < bestFret) {
        bestFret = fret;
        bestSlot = slot;
      }
    }
    if (bestSlot >= 0) {
      view.m_handPosition = wanted;
      return EnterOnTab(view, note, noteValue, bestSlot, bestFret);
    }
  }
  MessageBeep(MB_ICONASTERISK);
  return 0;
}

int EnterOnStaff(CStavlinView& view, int note, int noteValue) {
  g_offerLineInsertion = 1;
  // A keyboard pair: the note goes to the staff of its range.
  const int line = view.GetCurrentLine();
  const KLineObj* here = CaretLine(view);
  const int split = g_prefMidiImport.splitTone;
  if (here != nullptr && here->GetType() == kTrebleType && here->TestFlags(KLineObj::kFlagPairedStaff) != 0 &&
      line + 1 < view.GetDisplayLineCount() && view.GetDisplayEntry(line + 1).type == kBassType &&
      note < split) {
    EnterDisplayLine(view, line + 1);
  } else if (here != nullptr && here->GetType() == kBassType && line > 0 &&
             view.GetDisplayEntry(line - 1).type == kTrebleType && note >= split) {
    const KLineObj* above = view.GetDisplayLineObj(line - 1);
    if (above != nullptr && above->TestFlags(KLineObj::kFlagPairedStaff) != 0)
      EnterDisplayLine(view, line - 1);
  }
  auto* staff = dynamic_cast<KStaffLine*>(CaretLine(view));
  if (staff == nullptr) return 0;
  int accidental = KStaffLine::kNoAccidental;
  const int row = staff->PitchToRow(note, view.GetCaretColumn(), accidental, -1);
  if (row < KStaffLine::kFirstRow || row > KStaffLine::kLastRow) {
    MessageBeep(MB_ICONASTERISK);
    return 0;
  }
  MoveRows(view, row - view.GetCaretRow());
  const int column = view.GetCaretColumn();
  const int key = viewmouse::KeyOfSymbol(view, noteValue, KLineObj::kFamilyStaff);
  if (key == 0) return 0;
  {
    SavedInt plain(view.m_alternateSymbols, 0);
    TypeFromToolbox(view, key);
  }
  if (accidental != KStaffLine::kNoAccidental) {
    // The accidental goes before the note just entered; the caret comes
    // back to where the note left it.
    const int after = view.GetCaretColumn();
    const int sign = accidental == KStaffLine::kSharp  ? kSharpCode
                     : accidental == KStaffLine::kFlat ? kFlatCode
                                                       : kNaturalCode;
    SavedInt quiet(g_noModify, 1);
    SavedInt plain(view.m_alternateSymbols, 0);
    BackToColumn(view, column);
    TypeFromToolbox(view, viewmouse::KeyOfSymbol(view, sign, KLineObj::kFamilyStaff));
    BackToColumn(view, after);
  }
  SoundNote(view, note, kPianoInstrument);
  return 1;
}

int PickNote(CStavlinView& view, int note, int boxKind, int noteValue, int slot, int fret) {
  const KLineObj* line = CaretLine(view);
  const int type = line != nullptr ? line->GetType() : -1;
  if (type == kTabType || (line != nullptr && line->GetFamily() == KLineObj::kFamilyTab)) {
    if (g_offerLineInsertion == 0) {
      SoundNote(view, note, kGuitarInstrument);
      return 0;
    }
    if (boxKind == kKeyboard) return KeyboardOnTab(view, note, noteValue);
    auto* tab = dynamic_cast<const KTabLine*>(line);
    if (tab != nullptr &&
        (slot + kRowOffset < tab->GetStringRowLimit(KTabLine::kFirstRow) ||
         slot + kRowOffset > tab->GetStringRowLimit(KTabLine::kLastRow) || fret > tab->GetFretCount())) {
      // The fretboard shows another tuning than this line's.
      MessageBeep(MB_ICONASTERISK);
      return 0;
    }
    return EnterOnTab(view, note, noteValue, slot, fret);
  }
  if (type == kTrebleType || type == kBassType) {
    if (g_offerLineInsertion == 0) {
      SoundNote(view, note, kPianoInstrument);
      return 0;
    }
    return EnterOnStaff(view, note, noteValue);
  }
  // Any other line: a line of the instrument's kind may be inserted.
  if (g_offerLineInsertion != 0 && view.GetDocument() != nullptr) {
    const UINT question = boxKind == kFretboard ? kNotTabLineQuestion : kNotKeyboardLineQuestion;
    const int answer = AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return 0;
    if (answer == IDNO) {
      g_offerLineInsertion = 0;
    } else if (answer == IDYES) {
      if (boxKind == kFretboard) {
        view.InsertLineOfType(kTabType, 0);
      } else {
        view.OnInsertKeyboardStaff();
      }
      if (g_offerLineInsertion != 0 && CaretLine(view) != line) {
        return PickNote(view, note, boxKind, noteValue, slot, fret);
      }
    }
  }
  SoundNote(view, note, boxKind == kFretboard ? kGuitarInstrument : kPianoInstrument);
  return 0;
}

}  // namespace

int CStavlinView::PickToolboxSymbol(int code, int boxKind, int noteValue, int string, int fret) {
  KCommandScope command(this);
  if (boxKind == kFretboard || boxKind == kKeyboard)
    return PickNote(*this, code, boxKind, noteValue, string, fret);
  if (code >= 0 && code < kNotUsed) return PickSymbol(*this, code);
  if (code >= kNotUsed && code <= kLastNoteStyle) return PickControl(*this, code);
  return 0;
}
