// OnChar: the one road by which symbols, fret digits and text enter a score,
// from the keyboard, from toolbox clicks and from editing commands. This file
// holds the guards that come first (Escape, a selection the character
// replaces, auto-scroll, read-only mode, a score without shown lines) and the
// bookkeeping after every entry (caret, widths, scroll size, refresh,
// autosave count, automatic wrap). The entry itself is in ViewCharLines.cpp,
// ViewCharText.cpp and ViewCharSymbols.cpp.

#include <algorithm>
#include <vector>

#include "common/Globals.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLayoutCache.h"
#include "view/extobj/ViewExtObjPartners.h"
#include "view/input/ViewCharEntry.h"
#include "view/music/ViewMusic.h"
#include "view/play/ViewPlayer.h"

namespace {

using namespace view_char;

constexpr UINT kEscape = 27;
constexpr UINT kBackspace = 8;
constexpr UINT kEnter = 13;
constexpr UINT kTab = 9;
constexpr UINT kNoLinesMessage = 7041;
constexpr int kDurationKeyCount = 14;  // "tTsSyYxXqQhHw$"
constexpr int kTabOnlyDuration = 13;   // "$": only on tablature lines
constexpr DWORD kLinkedFlag = 0x4;
constexpr int kAutosaveByCharacters = 1;
constexpr int kAutosaveAskFirst = 10;

// The index of the character in the duration letters, -1 when it is none.
int DurationIndex(int ch) {
  if (ch <= 0 || ch > 255) return -1;
  const int found = g_DurationKeys.Find(static_cast<char>(ch));
  return found >= 0 && found < kDurationKeyCount ? found : -1;
}

bool IsBarCode(int code) { return code >= 21 && code <= 26; }

// The first fret of a short fifth string from a treble tablature tuning:
// the digit at index 12, or -1.
int ShortStringFret(const KLineObj& line) {
  const auto* tab = dynamic_cast<const KTabLine*>(&line);
  if (tab == nullptr || tab->GetType() != KTabLine::kKindTab) return -1;
  const CString tuning = tab->GetTuning();
  if (tuning.GetLength() < 15) return -1;
  const char c = tuning[12];
  return c >= '0' && c <= '9' ? c - '0' : -1;
}

// A selected attachment is put back on whole columns before typing goes on.
void SettleSelectedAttachment(CStavlinView& view) {
  if (view.m_selectedExtObj == nullptr) return;
  KLineObj* owner = view.GetDisplayLineObj(view.m_extDisplayLine);
  if (owner != nullptr) {
    const auto copies = extobj::FindPartnerCopies(view, view.m_extDisplayLine, *view.m_selectedExtObj);
    owner->EditAttachment(view.m_selectedExtObj, KLineObj::kEditRenormalise);
    extobj::FollowOriginal(copies, *view.m_selectedExtObj);
  }
  view.m_selectedExtObj = nullptr;
  view.m_extTracker = RECT{};
  view.m_extTwoHandles = 0;
  if (view.m_document == nullptr) return;
  view.m_document->SetModifiedFlag(TRUE);
  const int saved = g_noModify;
  g_noModify = 1;
  view.m_document->UpdateAllViews(
      nullptr, CStavlinView::kHintRange + 30000 + 100000 * std::max(view.m_extDisplayLine - 1, 0));
  g_noModify = saved;
}

// Where the current line's group (or the line alone) is drawn before an
// entry changes it, from the caret's column on: staff and tablature lines
// whose drawing may reach past their bands.
std::vector<KLineDamage> RowsBeforeEntry(CStavlinView& view, const KLineObj& line) {
  std::vector<KLineDamage> rows;
  if (!KLineObj::IsNoteFamily(line.GetFamily())) return rows;
  const int count = view.GetDisplayLineCount();
  const int current = std::clamp(view.m_currentLine, 0, count - 1);
  int first = current;
  int last = current;
  const int group = line.GetGroupId();
  if (group != KLineObj::kNoGroup) {
    const auto inGroup = [&view, group](int d) {
      const KLineObj* other = view.GetDisplayLineObj(d);
      return other != nullptr && other->GetGroupId() == group;
    };
    while (first > 0 && inGroup(first - 1)) --first;
    while (last + 1 < count && inGroup(last + 1)) ++last;
  }
  const int column = std::max(view.m_caretColumn, 0);
  for (int d = first; d <= last; ++d) {
    const auto [top, bottom] = view.DrawnRows(d, column, false);
    rows.push_back({view.GetDisplayEntry(d).line, column, top, bottom});
  }
  return rows;
}

// The lines an entry changed, each from the entry's column: the edited line,
// and the lines of its group a range hint names with it; each with the rows
// it was drawn in before when they were taken from that column or before.
std::vector<KLineDamage> EditedLines(const CStavlinView& view, const Keystroke& key, int line, int entryHint,
                                     int from) {
  std::vector<POSITION> positions{key.position};
  if (entryHint / CStavlinView::kHintLineFrom == 4) {
    const int rest = entryHint % CStavlinView::kHintLineFrom;
    const int first = rest / 100000;
    const int last = first + (rest % 100000) / 1000;
    for (int d = std::max(first, 0); d <= last && d < view.GetDisplayLineCount(); ++d) {
      if (d != line) positions.push_back(view.GetDisplayEntry(d).line);
    }
  }
  std::vector<KLineDamage> lines;
  for (POSITION position : positions) {
    KLineDamage damage{position, from};
    for (const KLineDamage& before : key.before) {
      if (before.line == position && before.column <= from) {
        damage.top = before.top;
        damage.bottom = before.bottom;
      }
    }
    lines.push_back(damage);
  }
  return lines;
}

}  // namespace

void CStavlinView::OnChar(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
  // While the music plays s, S and space stop it; no character is entered.
  if (IsPlaying()) {
    Player().TakeChar(nChar);
    return;
  }
  KCommandScope command(this);
  m_barInserted = 0;
  if (nChar == kEscape) return;
  if (m_lineCount > 0) m_currentFamily = KLineObj::FamilyOf(m_currentType);
  const bool noteLine = KLineObj::IsNoteFamily(m_currentFamily);
  const int duration = DurationIndex(static_cast<int>(nChar));
  const bool tabLine = m_currentFamily == KLineObj::kFamilyTab;
  if (noteLine && duration >= 0 && (duration != kTabOnlyDuration || tabLine)) m_currentDuration = duration;

  // A selection: a few keys act on it, any other character replaces it.
  if (SelectionRectShown()) {
    const KLineObj* first = GetDisplayLineObj(m_selFirstLine);
    const int group = first != nullptr ? first->GetGroupId() : KLineObj::kNoGroup;
    RecordUndoStep(group != KLineObj::kNoGroup ? kUndoGroupRegion : kUndoRegion,
                   group != KLineObj::kNoGroup ? group : 0, 0, nullptr, 0);
    if (nChar == kBackspace) {
      DeleteSelectedRegion(1, 1, 1);
      return;
    }
    if (noteLine && duration >= 0) {
      if (duration == kTabOnlyDuration && !tabLine) return;
      SetSelectedNoteValue(duration);
      if (tabLine) m_currentDuration = duration;
      return;
    }
    if (nChar == 'n' || nChar == 'u' || nChar == 'N' || nChar == 'U') {
      ApplyLetterToSelection(static_cast<int>(nChar));
      return;
    }
    m_caretColumn = m_selFirstColumn;
    if (DeleteSelectedRegion(1, 1, 1) == 0) return;
  } else {
    UpdateSelection(kKeep, kKeep, kKeep, kKeep, kSelClear);
  }

  if (m_autoScroll != 0) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  if (!LeaveReadOnlyForEdit()) return;
  if (m_lineCount <= 0 || m_document == nullptr) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kNoLinesMessage, MB_OK);
    return;
  }
  SettleSelectedAttachment(*this);

  Keystroke key;
  key.ch = static_cast<int>(nChar);
  key.flags = nFlags;
  m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);
  key.position = m_display[static_cast<size_t>(m_currentLine)].line;
  key.line = m_document->GetLineAt(key.position);
  if (key.line == nullptr) return;
  m_currentType = key.line->GetType();
  m_currentFamily = key.line->GetFamily();
  m_linkedLineEntry = key.line->TestFlags(kLinkedFlag);
  m_shortStringFret = ShortStringFret(*key.line);

  if (nChar == kBackspace && m_caretColumn <= 0) {
    JoinOrRemoveLine(*this, key);
    return;
  }
  if (nChar == kEnter) {
    SplitLine(*this, key);
    return;
  }
  key.before = RowsBeforeEntry(*this, *key.line);
  const int entryLine = m_currentLine;
  const int entryColumn = m_caretColumn;
  if (m_currentFamily == KLineObj::kFamilyText) {
    if (nChar == kTab && GetKeyState(VK_SHIFT) < 0 && !AlignTextUnderNotes(*this, key)) return;
    EnterText(*this, key);
  } else if (!EnterSymbols(*this, key)) {
    return;
  }
  FinishEntry(*this, key);
  PreviewTypedNote(*this, nChar, entryLine, entryColumn);
  // A line that grew past its staff length wraps while Auto-Wrap is on.
  if (m_autoWrapNeeded != 0) {
    m_autoWrapNeeded = 0;
    AutoWrapCheck(*this, m_currentLine, -1);
  }
}

void view_char::FinishEntry(CStavlinView& view, Keystroke& key) {
  const int family = view.m_currentFamily;
  const bool noteLine = KLineObj::IsNoteFamily(family);
  const int size = view.m_sizeIndex;
  const int line = view.m_currentLine;
  // The hint the entry chose itself: 0 when it changed the current line
  // alone, a range hint when it changed lines of its group with it.
  const int entryHint = key.hint;

  // 1. The caret: notes leave it where it is when advancing is off; blanks,
  // bars and deletions always move it.
  int column = view.m_caretColumn;
  if (key.caretColumn != kKeepColumn) {
    column = key.caretColumn;
  } else {
    const bool stays = noteLine && g_prefEntryOptions.advanceAfterNote == 0 && key.code != kSpaceCode &&
                       key.code != kBackspaceCode && !IsBarCode(key.code);
    if (!stays) column = std::max(view.m_caretColumn + key.pair.first, 0);
  }

  // 2. The right edge, the widest notation width and the wrap mark.
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  int right = view.m_contentLeft;
  if (auto* text = dynamic_cast<KStrLine*>(key.line)) {
    right += dc != nullptr ? text->GetWidth(dc, view.m_textFonts) : 0;
  } else if (dc != nullptr) {
    right += key.line->GetWidth(size, 0, dc, 0);
  }
  if (noteLine) {
    const int columnWidth = g_NoteColumnWidth[size];
    const int notation = columnWidth * key.line->GetLength() + view.m_contentOrigin - view.m_contentLeft;
    const int staffLength = key.line->GetStaffLength();
    if (view.m_autoWrap != 0 && staffLength > 0 && notation > staffLength) view.m_autoWrapNeeded = 1;
    if (staffLength == 0) {
      int wanted = notation + 20;
      if (key.code == kSpaceCode)
        wanted = std::max(wanted, columnWidth * (column + 1) + view.m_contentOrigin + 20);
      if (wanted > view.m_widest) {
        view.m_widest = wanted;
        g_widestNotation = wanted;
        key.hint = CStavlinView::kHintAll;
      }
    }
  }

  // 3. The scroll size follows a line that grew past it.
  if (right > view.m_scrollWidth && view.m_host != nullptr) {
    view.m_scrollWidth = std::max(right + 40, view.m_widest + 20);
    const int height = view.m_printScale < 100 ? std::min(view.m_scrollHeight, 32767) : view.m_scrollHeight;
    view.m_host->SetScrollSizes(SIZE{view.m_scrollWidth, height}, SIZE{330, 10}, SIZE{110, 10});
  }

  // 4. The refresh hint.
  // On a note line the column before the entry is repainted too: a line
  // that ended there (at a bar, say) draws its end differently once music
  // follows it, with its staff lines running on to the new column.
  const int entered = key.pair.second >= 0 ? key.pair.second : view.m_caretColumn;
  const int from = std::clamp(noteLine ? entered - 1 : entered, 0, 9998);
  const bool backspaceOnNotes = key.code == kBackspaceCode && family != KLineObj::kFamilyText;
  if (key.hint == 0) {
    if (backspaceOnNotes) {
      key.hint = CStavlinView::kHintLineAndBelow + 10000 * std::max(line - 1, 0);
    } else {
      key.hint = CStavlinView::kHintLineFrom + 10000 * line + from + 1;
    }
  }

  // 5. Store the caret and refresh.
  if (column != kKeepColumn) view.m_caretColumn = column;
  if (KListLine* list = key.line->AsListLine()) list->MarkChanged();
  // A relayout this refresh asks for lays out the edited line (and the lines
  // the entry changed with it), not the whole score; what is repainted is
  // those lines from the entry's column on.
  const bool lineEdit = entryHint == 0 || entryHint / 100000000 == 4;
  g_relayoutEditedLine = lineEdit ? key.position : nullptr;
  g_relayoutEditedRange = lineEdit ? entryHint : 0;
  if (lineEdit && !backspaceOnNotes) g_refreshDamage = EditedLines(view, key, line, entryHint, from);
  view.UpdateAfterEdit(key.hint, 1);
  g_relayoutEditedLine = nullptr;
  g_relayoutEditedRange = 0;
  g_refreshDamage.clear();
  if (family == KLineObj::kFamilyStaff) view.DrawCaretLedgerLine();

  // 7. Autosave by typed characters.
  if (view.m_autosaveKind == kAutosaveByCharacters || view.m_autosaveKind == kAutosaveAskFirst) {
    ++view.m_autosaveCount;
    // The first time the count is reached, the user chooses how this score
    // is saved (the Autosave dialog).
    if (view.m_autosaveKind == kAutosaveAskFirst && view.m_autosaveCount == view.m_autosaveInterval) {
      view.OnFileAutoSave();
      view.m_autosaveCount = view.m_autosaveInterval;
    }
    if (view.m_autosaveInterval != 0 && view.m_autosaveCount >= view.m_autosaveInterval) {
      view.m_autosaveCount = 0;
      view.m_autosaveDue = 1;
    }
  }

  // 8. A line that grew past its staff length keeps m_autoWrapNeeded set
  // for the wrap of the edited line.
}
