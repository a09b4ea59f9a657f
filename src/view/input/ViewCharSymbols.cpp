// Symbol entry of OnChar: how a typed character becomes a symbol code, how
// letters move the caret on a staff, how digits become tablature frets (with
// two-digit frets and the short string), automatic bars and note clusters,
// typed ties, and the entry loop that puts the codes into the line and its
// partner lines.

#include <algorithm>
#include <cctype>
#include <span>
#include <vector>

#include "common/Globals.h"
#include "common/SymbolKeys.h"
#include "common/ViewServices.h"
#include "dialogs/toolbox/ToolBoxState.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/input/ViewCharEntry.h"

namespace {

using namespace view_char;

constexpr int kBackspace = 8;
constexpr int kTab = 9;
constexpr int kSpace = 32;
constexpr int kTimeSignatureCode = 225;
constexpr int kWholeColumnRow = 1000;
constexpr int kDurationChange = 1432;
constexpr int kBarEntry = 14;
constexpr int kDurationChangeRow = 12000;
constexpr UINT kFretRangeMessage = 7025;
constexpr int kSymbolPage = 10000;
constexpr int kRhythmType = 3;
constexpr int kTextType = 5;
constexpr int kBarCode = 21;
constexpr int kPercussionType = 16;  // a staff of one line: its rests keep the caret's row

// The rhythm key string maps through this table of base codes.
constexpr int kRhythmBase[40] = {0,  1,  2,  3,  4,  5,  6,  7,  17, 18, 19, 20, 21, 22,
                                 23, 24, 25, 26, 39, 40, 41, 42, 43, 44, 45, 46, 50, 51,
                                 52, 48, 53, 49, 21, 22, 23, 24, 25, 12, 10, 8};

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
bool IsTieCode(int code) { return code >= 32 && code <= 35; }

// The reference row of a clef: the row of the letter a nearest the top.
int ReferenceRow(int type) {
  switch (type) {
    case 1:
      return 35;
    case 9:
      return 34;
    case 10:
      return 32;
    default:
      return 33;
  }
}

// Staff letters move the caret to the next row of that letter: lower case
// downward, upper case upward. Beeps when the row would leave 1..36.
void MoveCaretByLetter(CStavlinView& view, int letterIndex) {
  int i = letterIndex;
  if ((GetKeyState(VK_CAPITAL) & 1) != 0) i = i < 7 ? i + 7 : i - 7;
  const int d = (ReferenceRow(view.m_currentType) - view.m_caretRow) % 7;
  int delta = 0;
  if (i < 7) {
    delta = d - i + (i >= d ? 7 : 0);
  } else {
    const int j = i - 7;
    delta = d - j - (d >= j ? 7 : 0);
  }
  const int row = view.m_caretRow + delta;
  if (row < 1 || row > 36) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  view.m_caretRow = row;
  view.PlaceCaret();
  view.DrawCaretLedgerLine();
}

// Adds a typed tie at the column, or toggles an existing one between one and
// two columns.
void ApplyTie(CStavlinView& view, Keystroke& key, int code, int column, int row) {
  KExtendedObj* tie = key.line->FindAttachmentAt(column, row, -1);
  if (tie != nullptr && tie->GetKind() <= 1) {
    // Doubled to two columns, or halved back to one.
    const bool wide = tie->GetSize().cx > 18;
    auto scale = [wide](int v) { return wide ? v / 2 : v * 2; };
    tie->SetSize(wide ? 18 : 36, tie->GetSize().cy);
    const CPoint anchor = tie->GetAnchor();
    tie->SetAnchor(scale(anchor.x), anchor.y);
    for (int p = 0; p < 2; ++p) {
      const CPoint point = tie->GetPoint(p);
      tie->SetPoint(p, scale(point.x), point.y);
    }
    return;
  }
  const bool below = code == 32 || code == 33;
  const int width = code == 32 || code == 34 ? 18 : 36;
  auto* made = new KExtendedObj(column, row, 0, width / 2, below ? 6 : -6, width, below ? 4 : -4);
  if (view.m_linkedLineEntry != 0 || key.line->GetGroupId() != KLineObj::kNoGroup) {
    view.ApplyOctaveMarks(key.line->GetGroupId(), key.position, key.line, made);
  } else {
    key.line->AddAttachment(made);
  }
}

// Whether a column holds a note (or a fret) that a tie can hold on.
bool HoldsTiedNote(const KChord* column) {
  if (column == nullptr || column->IsBarColumn() || column->GetRestTicks() > 0) return false;
  if (column->GetVoiceDuration(0) != KChord::kNoDuration ||
      column->GetVoiceDuration(1) != KChord::kNoDuration)
    return true;
  for (int i = 0; i < column->GetNoteCount(); ++i) {
    const int code = column->GetNote(i).code;
    if (code >= KChord::kFirstFret && code <= KChord::kLastFret) return true;
  }
  return false;
}

// The column a typed tie starts at: the caret's column when a note stands
// there; typed just after a note (the caret past it, or past the bar line
// that note closed) the tie holds that note, as a musician reads "tie".
int TieStartColumn(const KListLine* list, int column) {
  if (list == nullptr || HoldsTiedNote(AsChord(list->GetObjAt(column, 0)))) return column;
  for (int back = column - 1; back >= 0; --back) {
    const KChord* before = AsChord(list->GetObjAt(back, 0));
    if (before != nullptr && before->IsBarColumn()) continue;
    return HoldsTiedNote(before) ? back : column;
  }
  return column;
}

// The time-signature command's code: the signature column with the view's
// numerator and denominator, in every notation line of a translating group.
bool EnterTimeSignature(CStavlinView& view, Keystroke& key) {
  const int group = key.line->GetGroupId();
  view.RecordUndoStep(group == KLineObj::kNoGroup ? kUndoLine : kUndoGroup,
                      group == KLineObj::kNoGroup ? view.m_currentLine : group, 0, nullptr, 0);
  const bool tab = view.m_currentFamily == KLineObj::kFamilyTab;
  const int codes[3] = {kTimeSignatureCode, view.m_timeSigNumerator, view.m_timeSigDenominator};
  const bool linked =
      group != KLineObj::kNoGroup && (view.m_mutualTranslation != 0 || view.m_linkedLineEntry != 0);
  for (int i = 0; i < 3; ++i) {
    if (i == 2 && codes[2] == 0) break;  // common and cut time have no second number
    const int rhythm = i == 0 && tab ? KChord::kTabRhythm : 0;
    // Every entry of a signature column stands at position 1, as a loaded
    // one does.
    const int row = std::max(i, 1);
    const KLinePair result =
        linked
            ? view.EnterSymbolInLinkedLines(group, key.position, key.line, codes[i], rhythm, row, kBarEntry)
            : key.line->HandleKey(codes[i], rhythm, view.m_sizeIndex, view.m_caretColumn, row, 0, 0, 0);
    if (i == 0) key.pair = result;
  }
  key.code = kTimeSignatureCode;
  if (linked) key.hint = CStavlinView::kHintAll;
  return true;
}

}  // namespace

int CStavlinView::TranslateTypedChar(int& ch, int lineType, int toolboxFlag) const {
  if (lineType == kTextType) return 1;
  if (ch == kBackspace || ch == kTab || ch == kSpace) {
    ch = ch == kBackspace ? kBackspaceCode : (ch == kTab ? kTabCode : kSpaceCode);
    return 1;
  }
  if (lineType == kRhythmType) {
    if (toolboxFlag == 0 || ch <= 0 || ch > 255) return 1;
    const int i = g_RhythmSymbolLetters.Find(static_cast<char>(ch));
    if (i < 0 || i >= 40) return 1;
    const int b = kRhythmBase[i];
    const int style = m_noteStyle % 4;
    if (b >= 5 && b <= 7) {
      ch = b + 3 * style + 200;
    } else if (b >= 23 && b <= 26) {
      ch = b + 4 * style + 200;
    } else {
      ch = b + 200;
    }
    return 1;
  }
  if (ch >= '0' && ch <= '9') {
    ch = KChord::kFirstFret + (ch - '0');
    return 1;
  }
  if (ch <= 0 || ch > 255) return 0;
  const int row = symbol_keys::CodeOfKey(static_cast<char>(ch));
  if (row < 0) return 0;
  ch = (m_alternateSymbols != 0 ? kSymbolPage : 0) + row;
  return 1;
}

namespace {

// Automatic stem direction. On a staff a duration letter takes its case from
// the caret's height: inward, the notes from the middle line up (rows up to
// 18) take the capital, whose stem points down, and the lower ones the small
// letter, whose stem points up; outward the other way round. On a tablature
// line a fret takes its voice the same way from its string: inward the
// strings below the fourth row the even duration code (stem up), the higher
// ones the odd one; outward the other way round.
void TurnStemByHeight(CStavlinView& view, int& code, int row) {
  const bool inward = view.m_stemDirection == 1;
  if (view.m_currentFamily == KLineObj::kFamilyStaff) {
    if (code <= 0 || code > 127 || g_DurationKeysNoWhole.Find(static_cast<char>(code)) < 0) return;
    const bool capital = inward ? row < 19 : row > 18;
    code = capital ? std::toupper(code) : std::tolower(code);
  } else if (view.m_currentFamily == KLineObj::kFamilyTab) {
    if (code < '0' || code > '9' || view.m_currentDuration == 12 || view.m_currentDuration == 13) return;
    const bool even = inward ? row > 4 : row < 5;
    view.m_currentDuration = (view.m_currentDuration & ~1) + (even ? 0 : 1);
  }
}

}  // namespace

bool view_char::EnterSymbols(CStavlinView& view, Keystroke& key) {
  const int family = view.m_currentFamily;
  const bool staff = family == KLineObj::kFamilyStaff;
  const bool tab = family == KLineObj::kFamilyTab;
  const int typed = key.ch;

  // Letters on a staff move the caret; on a chord line they name a chord.
  if (staff && typed > 0 && typed < 256) {
    const int letter = g_NoteLetters.Find(static_cast<char>(typed));
    if (letter >= 0) {
      MoveCaretByLetter(view, letter);
      return false;
    }
  }
  if (family == KLineObj::kFamilyChord && typed != kBackspace && typed != kTab && typed != kSpace) {
    const int letter = typed > 0 && typed < 256 ? g_NoteLetters.Find(static_cast<char>(typed)) : -1;
    if (letter >= 0) {
      view.m_pendingChordLetter = static_cast<char>(typed >= 'a' ? typed - 'a' + 'A' : typed);
    } else {
      MessageBeep(MB_ICONASTERISK);
    }
    return false;
  }

  int column = view.m_caretColumn;
  int row = view.m_caretRow;
  if (typed == kBackspace) {
    column = view.m_caretColumn - 1;
    if (GetKeyState(VK_SHIFT) < 0 || key.flags == CStavlinView::kCharWholeColumn) row = kWholeColumnRow;
  }
  view.m_pendingChordLetter = 0;

  int code = typed;
  if (code == kTimeSignatureCode && KLineObj::IsNoteFamily(family)) return EnterTimeSignature(view, key);
  if (view.m_stemDirection != 0 && g_prefEntryOptions.keyboardChangesCursor == 0 && view.m_toolboxCode < 0)
    TurnStemByHeight(view, code, row);
  if (view.m_toolboxCode >= 0) {
    code = view.m_toolboxCode;  // a toolbox symbol that no key types
  } else if (view.TranslateTypedChar(code, view.m_currentType,
                                     view.m_rhythmSymbolEntry != 0 || view.m_toolboxPick != 0) == 0) {
    MessageBeep(MB_ICONASTERISK);
    return false;
  }
  if (KLineObj::IsNoteFamily(family) || family == KLineObj::kFamilyRhythm) {
    // A symbol (of either page) becomes the toolboxes' current symbol, a
    // note value their note value.
    const int limit = family == KLineObj::kFamilyRhythm ? 254 : 226;
    KFrameServices* frame = view.m_host != nullptr ? view.m_host->Frame() : nullptr;
    // A key a toolbox pick types leaves the pick's symbol current.
    if (code >= 0 && code % kSymbolPage < limit && view.m_toolboxPick == 0) {
      g_toolboxSymbol = code;
      if (KLineObj::IsNoteFamily(family)) view.m_toolboxSymbol = code;
      if (code < 14) g_CurrentNoteCode = code;
      if (frame != nullptr) frame->RefreshToolboxes();
    }
  }
  if (g_prefEntryOptions.keyboardChangesCursor != 0 && g_prefEntryOptions.cursorMode == 1 &&
      view.m_toolboxPick == 0 && KLineObj::IsNoteFamily(family)) {
    return false;  // the key only chose the cursor symbol
  }
  // A rest typed on a staff stands where engraving puts it, not on the row
  // the last note left the caret on, and one typed on a tablature line on its
  // middle string; one placed with the mouse keeps the row clicked, and one
  // moved later keeps the row it was moved to.
  if (view.m_toolboxPick == 0 && KStaffLine::RestRow(code) >= 0) {
    if (staff && view.m_currentType != kPercussionType) row = KStaffLine::RestRow(code);
    if (const auto* onTab = tab ? dynamic_cast<const KTabLine*>(key.line) : nullptr)
      row = onTab->GetRestRow();
  }
  view.m_toolboxPick = 0;

  KListLine* list = key.line->AsListLine();
  auto* tabLine = dynamic_cast<KTabLine*>(key.line);
  const int style = view.m_noteStyle;
  int rhythm = tab ? style + (view.m_currentDuration + 7) * 10 : style;
  int flags = 0;
  const int group = key.line->GetGroupId();
  KLineGroup* lineGroup = group != KLineObj::kNoGroup ? view.m_document->FindLineGroup(group) : nullptr;
  const int slot = lineGroup != nullptr ? lineGroup->FindSlot(key.position) : -1;
  const bool bracketed = slot >= 0 && lineGroup->GetSlotBracket(slot, 0) != 0;
  const bool linked = (view.m_linkedLineEntry != 0 || (bracketed && view.m_mutualTranslation != 0)) &&
                      KLineObj::IsNoteFamily(family);

  // Tablature durations and frets.
  if (tab && tabLine != nullptr && code < 14) {
    view.m_currentDuration = code;
    const int fret = tabLine->GetFretOnString(column, row);
    if (fret < 0) return false;  // only the current duration changed
    code = KChord::kFirstFret + fret;
    rhythm = style + (view.m_currentDuration + 7) * 10;
    flags = kDurationChange;
  } else if (tab && tabLine != nullptr && IsFretCode(code)) {
    const KChord* here = list != nullptr ? AsChord(list->GetObjAt(column, 0)) : nullptr;
    if (here != nullptr && view.m_currentDuration < 8) {
      const int voice = view.m_currentDuration % 2 == 1 ? 0 : 1;
      const int columnDuration = here->GetVoiceDuration(voice);
      if (columnDuration != KChord::kNoDuration && columnDuration != 12)
        view.m_currentDuration = columnDuration;
      rhythm = style + (view.m_currentDuration + 7) * 10;
    }
    const int standing = tabLine->GetFretOnString(column, row);
    const int digit = code - KChord::kFirstFret;
    if (standing >= 0 && tabLine->HasFretLabels() == 0 && bracketed && view.m_mutualTranslation != 0) {
      const int twoDigits = standing * 10 + digit;
      if (twoDigits > tabLine->GetFretCount()) {
        MessageBeep(MB_ICONASTERISK);
        char text[4];
        std::snprintf(text, sizeof text, "%2d", tabLine->GetFretCount());
        CString message;
        AfxFormatString1(message, kFretRangeMessage, text);
        AfxMessageBox(message, MB_OK);
        return false;
      }
      // The fret of the same cell becomes two-digit: the partner's note of
      // the old fret goes first, then the new fret replaces the old one.
      view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
      const int newCode = KChord::kFirstFret + twoDigits;
      const int x = list->GetLeadInWidth(view.m_sizeIndex) + list->GetIndent() +
                    g_NoteColumnWidth[view.m_sizeIndex] * column;
      std::vector<KLineObj*> partners;
      for (int s = 0; s < lineGroup->GetSlotCount(); ++s) {
        KLineObj* other = view.m_document->GetLineAt(lineGroup->GetSlotLineRef(s));
        if (s != slot && other != nullptr && other->GetFamily() == KLineObj::kFamilyStaff &&
            lineGroup->GetSlotBracket(s, 0) == lineGroup->GetSlotBracket(slot, 0))
          partners.push_back(other);
      }
      for (KLineObj* other : partners)
        other->EnterSymbol(key.line, kBackspaceCode, rhythm, view.m_sizeIndex, x, row, 0, 1, 0);
      key.pair = tabLine->HandleKey(newCode, rhythm, view.m_sizeIndex, column, row, 0, 0,
                                    KTabLine::kReplaceFretMode);
      for (KLineObj* other : partners)
        other->EnterSymbol(key.line, newCode, rhythm, view.m_sizeIndex, x, row, 0, view.m_entryMode, 0);
      key.code = newCode;
      return true;
    }
    if (view.m_shortStringFret >= 0 && row == 7 && digit == 0 && standing < 0) {
      code = KChord::kFirstFret + view.m_shortStringFret;
    }
  }

  // Automatic clusters and bars, then the codes to enter.
  std::vector<std::pair<int, int>> codes{{code, column}};
  if (KLineObj::IsNoteFamily(family) && list != nullptr && code != kBackspaceCode) {
    int beats = 0;
    int beatTicks = 0;
    list->GetTimeSignatureAt(KListLine::kWholeLineColumn, beats, beatTicks, 0);
    if (beats < 1) {
      view.m_document->PropagateTimeSignatures();
      list->GetTimeSignatureAt(KListLine::kWholeLineColumn, beats, beatTicks, 0);
    }
    if (beats < 1) {
      beats = kDefaultBeats;
      beatTicks = kDefaultBeatTicks;
    }
    if (view.m_autoJoin != 0) {
      const int state = list->EnterPreviousChord(view.m_sizeIndex, code, column, view.m_currentDuration,
                                                 beats, beatTicks, view.m_autoJoin);
      if (state != view.m_clusterState && view.m_host != nullptr && view.m_host->Frame() != nullptr)
        view.m_host->Frame()->RefreshToolboxes();
      view.m_clusterState = state;
      // Symbols that are not notes keep the beam as it stands.
      g_beamDefault = state;
    }
    if (view.m_autoBars != 0) {
      int out[2] = {code, kBarCode};
      int columns[2] = {column, column + 1};
      const int count = list->EnterPreviousNote(view.m_sizeIndex, row, code, column, view.m_currentDuration,
                                                beats, beatTicks, out, columns);
      if (count == 0) return false;
      codes.clear();
      for (int i = 0; i < count && i < 2; ++i) codes.emplace_back(out[i], columns[i]);
      if (codes.back().first == kBarCode && count > 1) view.m_barInserted = 1;
    }
  }

  // A dot that stands alone where a bar line goes has no note to belong to:
  // the bar takes its place, with the beep of a key that has none.
  if (code >= kBarCode && code <= 26 && list != nullptr) {
    const KChord* here = AsChord(list->GetObjAt(column, 0));
    if (here != nullptr && here->HoldsOnlyDots()) MessageBeep(MB_ICONASTERISK);
  }

  // The entry loop: one undo step, then every code.
  if (group == KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoLine, view.m_currentLine, 0, nullptr, 0);
  } else {
    view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  }
  std::vector<std::pair<int, int>> ties;
  bool first = true;
  int totalStep = 0;
  const int savedCaret = view.m_caretColumn;
  for (const auto& [entryCode, entryColumn] : codes) {
    if (!first) view.m_clusterState = g_beamDefault = 0;
    if (IsTieCode(entryCode) && KLineObj::IsNoteFamily(family)) {
      ties.emplace_back(entryCode, TieStartColumn(list, entryColumn));
      continue;
    }
    view.m_caretColumn = entryCode == kBackspaceCode ? entryColumn + 1 : entryColumn;
    KLinePair result;
    if (linked) {
      const int entryFlags =
          entryCode >= 21 && entryCode <= 26 ? kBarEntry : (flags == kDurationChange ? kDurationChange : 0);
      result =
          view.EnterSymbolInLinkedLines(group, key.position, key.line, entryCode, rhythm, row, entryFlags);
      if (first && lineGroup != nullptr) {
        key.hint = lineGroup->EncodeLineRange(
            view.m_currentLine, 0,
            std::span<const DisplayLine>(view.m_display.data(), static_cast<size_t>(view.m_lineCount)));
      }
    } else {
      const int entryColumnOnLine = entryCode == kBackspaceCode ? entryColumn : entryColumn;
      const int entryRow = flags == kDurationChange ? row + kDurationChangeRow : row;
      result = key.line->HandleKey(entryCode, rhythm, view.m_sizeIndex, entryColumnOnLine, entryRow,
                                   view.m_clusterState, view.m_entryMode, 0);
    }
    if (first) {
      key.pair = result;
      key.code = entryCode;
    } else if (result.second >= 0) {
      key.pair.second = key.pair.second >= 0 ? std::min(key.pair.second, result.second) : result.second;
    }
    totalStep += result.first;
    first = false;
  }
  view.m_caretColumn = savedCaret;
  if (codes.size() > 1) key.pair.first = totalStep;  // the caret passes the bar the note completed
  for (const auto& [tieCode, tieColumn] : ties) {
    ApplyTie(view, key, tieCode, tieColumn, row);
    if (key.code < 0) key.code = tieCode;
  }
  if (!ties.empty() && key.pair.second < 0) key.pair = {0, column};
  return true;
}
