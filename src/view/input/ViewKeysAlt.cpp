// OnSysKeyDown: the Alt-arrow edits. Without a selection the note or object
// at the caret moves one step and the caret follows it (Shift nudges a note's
// drawing instead; on a chord line Up and Down shift the chord name). With a
// selection the selected columns move one column left or right, or the
// selected notes of one line one step up or down. Any other system key is
// the window's (menus).

#include <algorithm>
#include <span>

#include "chords/ChordNamesShift.h"
#include "common/Globals.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/input/ViewKeysInternal.h"

using namespace viewkeys;

namespace {

constexpr int kKeep = -9899;
constexpr int kSelOneLeft = 12;
constexpr int kSelOneRight = 13;

bool Vertical(UINT key) { return key == VK_UP || key == VK_DOWN; }

// The undo step of a key recorded here covers the group edits it makes.
class AltUndoScope {
 public:
  AltUndoScope() { g_altUndoRecorded = 1; }
  ~AltUndoScope() { g_altUndoRecorded = 0; }
  AltUndoScope(const AltUndoScope&) = delete;
  AltUndoScope& operator=(const AltUndoScope&) = delete;
};

POSITION PositionOf(const CStavlinView& view, int displayLine) {
  return view.m_display[static_cast<size_t>(displayLine)].line;
}

int GroupHint(const CStavlinView& view, int groupId, int redraw) {
  const KLineGroup* group = view.GetDocument()->FindLineGroup(groupId);
  if (group == nullptr) return CStavlinView::kHintLineFrom + 10000 * view.m_currentLine + redraw;
  return group->EncodeLineRange(
      view.m_currentLine, redraw,
      std::span<const DisplayLine>(view.m_display.data(), static_cast<size_t>(view.m_lineCount)));
}

// The chord names at the columns [first, end) move one step in the key's
// direction, with mutual translation off for the call.
int ShiftChordNamesAt(CStavlinView& view, KLineObj& line, int first, int end, UINT key, bool shift) {
  auto* chords = dynamic_cast<KChordPicLine*>(&line);
  if (chords == nullptr) return -1;
  const int saved = view.m_mutualTranslation;
  view.m_mutualTranslation = 0;
  const int mode = shift ? kChordShiftTranspose : kChordShiftVariation;
  const int r = ShiftChordNames(*chords, first, std::max(end, first + 1), static_cast<int>(key), mode, 1, 0);
  view.m_mutualTranslation = saved;
  return r;
}

// The undo step of an edit of one line: the group's, or the line's.
void RecordLineOrGroup(CStavlinView& view, int group, int displayLine) {
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  } else {
    view.RecordUndoStep(kUndoLine, displayLine, 0, nullptr, 0);
  }
}

void AltAtCaret(CStavlinView& view, UINT key, bool shift) {
  const int current = view.m_currentLine;
  KLineObj* line = LineAt(view, current);
  if (line == nullptr) return;
  const int family = line->GetFamily();
  const int k = static_cast<int>(key);
  bool groupRefresh = false;
  int group = KLineObj::kNoGroup;
  int r = -1;
  bool caretFollows = true;

  if (family == KLineObj::kFamilyText || family == KLineObj::kNoFamily) return;
  if (family == KLineObj::kFamilyChord) {
    if (!Vertical(key) || !MayEdit(view)) return;
    view.RecordUndoStep(kUndoLine, current, 0, nullptr, 0);
    r = ShiftChordNamesAt(view, *line, view.m_caretColumn, view.m_caretColumn + 1, key, shift);
  } else if (shift && KLineObj::IsNoteFamily(family)) {
    // The note's drawing is nudged; the caret stays.
    if (!MayEdit(view)) return;
    view.RecordUndoStep(kUndoLine, current, 0, nullptr, 0);
    if (line->AsListLine() == nullptr ||
        line->AsListLine()->NudgeNoteAt(view.m_caretColumn, view.m_caretRow, k) == 0) {
      MessageBeep(MB_ICONASTERISK);
      return;
    }
    r = view.m_caretColumn;
    caretFollows = false;
  } else {
    if (!MayEdit(view)) return;
    group = line->GetGroupId();
    RecordLineOrGroup(view, group, current);
    if (group != KLineObj::kNoGroup && view.m_mutualTranslation != 0) {
      AltUndoScope recorded;
      r = view.HandleAltKeyEdit(group, PositionOf(view, current), view.m_caretColumn, view.m_caretColumn, k,
                                view.m_caretRow, view.m_sizeIndex);
      groupRefresh = true;
    } else {
      r = line->MoveByArrowKey(view.m_caretColumn, view.m_caretRow, k, view.m_sizeIndex);
    }
  }
  if (r < 0) return;

  if (caretFollows) {
    if (Vertical(key)) {
      view.m_caretRow += key == VK_UP ? -1 : 1;
    } else {
      view.m_caretColumn = std::max(view.m_caretColumn + (key == VK_LEFT ? -1 : 1), 0);
    }
  }
  const int redraw = RedrawColumn(view, line, r);
  const int hint =
      groupRefresh ? GroupHint(view, group, redraw) : CStavlinView::kHintLineFrom + 10000 * current + redraw;
  view.UpdateAfterEdit(hint, 1);
}

// Up and Down over a selection on one line: its notes (or chord names) move.
void AltSelectionVertical(CStavlinView& view, UINT key, bool shift, int selected) {
  KLineObj* line = LineAt(view, selected);
  if (line == nullptr) return;
  const int family = line->GetFamily();
  if (family == KLineObj::kFamilyText || family == KLineObj::kFamilyRhythm || family == KLineObj::kNoFamily)
    return;
  if (!MayEdit(view)) return;
  const int first = view.m_selFirstColumn;
  const int last = view.m_selLastColumn;
  int r = -1;
  int group = KLineObj::kNoGroup;
  bool groupRefresh = false;
  if (family == KLineObj::kFamilyChord) {
    view.RecordUndoStep(kUndoLine, selected, 0, nullptr, 0);
    r = ShiftChordNamesAt(view, *line, first, last, key, shift);
  } else {
    group = line->GetGroupId();
    RecordLineOrGroup(view, group, selected);
    if (group != KLineObj::kNoGroup && view.m_mutualTranslation != 0) {
      AltUndoScope recorded;
      r = view.HandleAltKeyEdit(group, PositionOf(view, selected), first, last, static_cast<int>(key),
                                view.m_caretRow, view.m_sizeIndex);
      groupRefresh = true;
    } else if (line->AsListLine() != nullptr) {
      r = line->AsListLine()->MoveNotesByArrowKey(first, std::max(last, first + 1), static_cast<int>(key),
                                                  view.m_sizeIndex);
    }
  }
  if (r < 0) return;
  view.m_caretRow += key == VK_UP ? -1 : 1;
  const int redraw = RedrawColumn(view, line, r);
  view.UpdateAfterEdit(
      groupRefresh ? GroupHint(view, group, redraw) : CStavlinView::kHintLineFrom + 10000 * selected + redraw,
      0);
}

// The column range of display line i under the highlight's pixel edges.
std::pair<int, int> ColumnsUnderHighlight(CStavlinView& view, KLineObj& line, int left, int right) {
  const int size = view.m_sizeIndex != 0 ? 1 : 0;
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (auto* text = dynamic_cast<KStrLine*>(&line)) {
    if (dc == nullptr) return {0, 0};
    const int lead = view.m_contentLeft + line.GetIndent();
    return {text->GetColumnAtX(dc, view.m_textFonts, left - lead, 0),
            text->GetColumnAtX(dc, view.m_textFonts, right - lead, 0)};
  }
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(&line)) {
    return {rhythm->GetColumnAtX(dc, 2, left, size, view.m_contentLeft, 2),
            rhythm->GetColumnAtX(dc, 2, right, size, view.m_contentLeft, 1)};
  }
  KListLine* list = line.AsListLine();
  if (list == nullptr) return {0, 0};
  return {list->XToColumn(2, left, size, view.m_contentLeft, 2),
          list->XToColumn(2, right, size, view.m_contentLeft, 1)};
}

// Left and Right over a selection: the selected columns of every selected
// line move one column, and the highlight with them.
void AltSelectionHorizontal(CStavlinView& view, UINT key, int first, int last) {
  const int anchorLine = std::clamp(view.m_selFirstLine, 0, view.m_lineCount - 1);
  KLineObj* anchor = LineAt(view, anchorLine);
  if (anchor == nullptr) return;
  if (key == VK_LEFT && view.m_caretColumn <= 0) return;
  if (!MayEdit(view)) return;
  const int d = key == VK_LEFT ? -1 : 1;
  const int count = last - first + 1;
  const int left = view.m_selRect.left;
  const int right = view.m_selRect.right;
  const int firstColumn = view.m_selFirstColumn;
  const int lastColumn = view.m_selLastColumn;

  // One undo step that covers every line the key may change: with several
  // lines, everything from the first selected one down.
  const int group = anchor->GetGroupId();
  if (count > 1) {
    view.RecordUndoStep(group != KLineObj::kNoGroup ? kUndoGroupRegion : kUndoRegion,
                        group != KLineObj::kNoGroup ? group : 0, 0, nullptr, 0);
  } else {
    RecordLineOrGroup(view, group, view.m_currentLine);
  }
  AltUndoScope recorded;

  int groupEdit = KLineObj::kNoGroup;
  int r = -1;
  if (group != KLineObj::kNoGroup && view.m_mutualTranslation != 0 &&
      KLineObj::IsNoteFamily(anchor->GetFamily())) {
    r = view.HandleAltKeyEdit(group, PositionOf(view, anchorLine), firstColumn, lastColumn,
                              static_cast<int>(key), view.m_caretRow, view.m_sizeIndex);
    groupEdit = group;
  } else {
    r = anchor->ShiftColumns(firstColumn, d, lastColumn - firstColumn);
  }
  if (r < 0) return;

  view.m_selAnchorColumn += d;
  view.UpdateSelection(firstColumn + d, lastColumn + d, kKeep, kKeep, d < 0 ? kSelOneLeft : kSelOneRight);

  int smallest = r;
  for (int i = first; i <= last && count > 1; ++i) {
    if (i == anchorLine) continue;
    KLineObj* line = LineAt(view, i);
    if (line == nullptr) continue;
    const auto [a, b] = ColumnsUnderHighlight(view, *line, left, right);
    const int lineGroup = line->GetGroupId();
    const KLineGroup* g =
        lineGroup != KLineObj::kNoGroup ? view.GetDocument()->FindLineGroup(lineGroup) : nullptr;
    int ri = -1;
    if (groupEdit == KLineObj::kNoGroup && g != nullptr && view.m_mutualTranslation != 0 &&
        KLineObj::IsNoteFamily(line->GetFamily()) && g->GetLineBracket(PositionOf(view, i), 0) != 0) {
      ri = view.HandleAltKeyEdit(lineGroup, PositionOf(view, i), a, b, static_cast<int>(key), view.m_caretRow,
                                 view.m_sizeIndex);
      groupEdit = lineGroup;
    } else {
      ri = line->ShiftColumns(a, d, b - a);
    }
    if (ri >= 0) smallest = std::min(smallest, ri);
  }

  view.m_caretColumn = std::max(view.m_caretColumn + d, 0);
  const int redraw = RedrawColumn(view, anchor, smallest);
  if (groupEdit != KLineObj::kNoGroup) {
    view.UpdateAfterEdit(GroupHint(view, groupEdit, redraw), 1);
  } else if (count > 1) {
    view.UpdateAfterEdit(CStavlinView::kHintLineAndBelow + 10000 * first + redraw, 1);
  } else {
    view.UpdateAfterEdit(CStavlinView::kHintLineFrom + 10000 * first + redraw, 0);
  }
}

}  // namespace

void CStavlinView::OnSysKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT /*nFlags*/) {
  if (IsPlaying()) return;
  KCommandScope scope(this);
  if (!m_trebleTabTuning.IsEmpty()) g_CurrentTuning = m_trebleTabTuning;
  const bool arrow = nChar == static_cast<UINT>(VK_LEFT) || nChar == static_cast<UINT>(VK_UP) ||
                     nChar == static_cast<UINT>(VK_RIGHT) || nChar == static_cast<UINT>(VK_DOWN);
  if (!Held(VK_MENU) || !arrow) return;  // the window's own system keys
  if (m_lineCount <= 0 || m_document == nullptr) return;
  m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);
  const bool shift = Held(VK_SHIFT);

  if (!HasSelectionRect(*this)) {
    AltAtCaret(*this, nChar, shift);
    return;
  }
  const int first = std::min(std::min(m_selFirstLine, m_selLastLine), m_lineCount - 1);
  const int last = std::min(std::max(m_selFirstLine, m_selLastLine), m_lineCount - 1);
  if (first < 0) return;
  if (Vertical(nChar)) {
    if (first == last) AltSelectionVertical(*this, nChar, shift, first);
    return;
  }
  AltSelectionHorizontal(*this, nChar, first, last);
}
