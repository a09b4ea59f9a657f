// Commands that change notes already entered: their note-head style, their
// note value, ties typed over a selection, and the joining and un-joining of
// note tails. Each works on the staff and tablature lines the selection
// covers (or at the caret when nothing is selected); with mutual translation
// on, the range widens to the current line's staff/tablature pair.

#include <algorithm>
#include <tuple>

#include "common/ViewServices.h"
#include "dialogs/KDlgSwitchNote.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/core/ViewMirrors.h"
#include "view/edit/ViewDeleteParts.h"
#include "view/edit/ViewTailJoin.h"

namespace {

constexpr UINT kAlternateSymbolCommand = 41336;
constexpr UINT kFirstStyleCommand = 41328;
constexpr UINT kFunctionKeyFirst = 112;  // F1..F5: styles 8..12
constexpr UINT kFunctionKeyLast = 116;
constexpr UINT kFunctionKeyNormal = 117;  // F6: style 0
constexpr int kLastEntryStyle = 7;
constexpr int kMaxStaffValue = 12;
constexpr int kMaxTabValue = 13;
// Undo step kinds.
constexpr int kUndoLine = 0;
constexpr int kUndoGroup = 1;
constexpr int kUndoSelectedLines = 3;
constexpr int kUndoToEnd = 4;
// The unit of the column part of a one-line hint.
constexpr int kHintUnit = 18;

bool NoteFamily(int family) { return KLineObj::IsNoteFamily(family); }
bool NoteOrRhythmFamily(int family) { return family >= 0 && family <= KLineObj::kFamilyRhythm; }

int LineHint(int line, int column) { return CStavlinView::kHintLineFrom + 10000 * line + column; }
int BelowHint(int line) { return CStavlinView::kHintLineAndBelow + 10000 * line; }

// The column part of a one-line hint: a column less the line's lead over
// the hint unit, never below 0.
int HintColumn(const CStavlinView& view, int displayLine, int column) {
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  const int indent = line != nullptr ? line->GetIndent() : 0;
  return std::max(column - (indent + view.m_contentLeft) / kHintUnit, 0);
}

KListLine* ListLineAt(const CStavlinView& view, int displayLine) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  return line != nullptr ? line->AsListLine() : nullptr;
}

// The selected lines, widened to the current line's partner pair; the group
// id of the pair, or -1.
int RangeWithPartner(const CStavlinView& view, int& top, int& bottom) {
  std::tie(top, bottom) = viewgeom::SelectedLines(view);
  int first = 0;
  int last = 0;
  const int group = view.FindPartnerLine(first, last);
  if (group >= 0) {
    top = std::min(first, last);
    bottom = std::max(first, last);
  }
  return group;
}

void RefreshToolboxes(CStavlinView& view) {
  if (view.m_host != nullptr && view.m_host->Frame() != nullptr) view.m_host->Frame()->RefreshToolboxes();
}

// Joins (or un-joins) the tails of every note and rhythm line of the range;
// the number of lines changed and the first of them.
std::pair<int, int> JoinOverRange(CStavlinView& view, int top, int bottom, int mode, int& lastResult,
                                  int& lastLine) {
  int count = 0;
  int firstChanged = -1;
  for (int i = top; i <= bottom; ++i) {
    KListLine* list = ListLineAt(view, i);
    if (list == nullptr || !NoteOrRhythmFamily(list->GetFamily())) continue;
    const auto [first, end] = viewdelete::NoteColumnRange(view, i);
    const int result = viewnotes::JoinTailsInRange(*list, first, end, view.GetSizeIndex(), mode);
    if (result < 0) continue;
    ++count;
    if (firstChanged < 0) firstChanged = i;
    lastResult = result;
    lastLine = i;
  }
  return {count, firstChanged};
}

}  // namespace

void CStavlinView::OnOptionsNoteStyle(UINT id) {
  if (id == kAlternateSymbolCommand) {
    m_alternateSymbols = m_alternateSymbols != 0 ? 0 : 1;
    g_viewMirrors.alternateSymbols = m_alternateSymbols;
    return;
  }
  int style = static_cast<int>(id) - static_cast<int>(kFirstStyleCommand);
  if (id >= kFunctionKeyFirst && id <= kFunctionKeyLast) style = static_cast<int>(id) - 104;
  if (id == kFunctionKeyNormal) style = 0;
  if (style < 0 || style > kMaxStaffValue) return;

  if (!SelectionRectShown()) {
    if (NoteFamily(m_currentFamily) && m_lineCount > 0 && LeaveReadOnlyForEdit()) {
      RecordUndoStep(kUndoLine, m_currentLine, 0, nullptr, 0);
      if (KListLine* list = ListLineAt(*this, m_currentLine)) {
        if (KChord* column = AsChord(list->GetObjAt(m_caretColumn, 0))) {
          column->SetNoteStyle(style, m_caretRow);
          list->MarkChanged();
        }
      }
      g_relayout = 1;
      UpdateAfterEdit(LineHint(m_currentLine, HintColumn(*this, m_currentLine, m_caretColumn)), 0);
      g_relayout = 0;
    }
    if (style <= kLastEntryStyle) {
      m_noteStyle = style;
      g_viewMirrors.noteStyle = style;
      RefreshToolboxes(*this);
    }
    return;
  }

  if (!LeaveReadOnlyForEdit()) return;
  const auto [top, bottom] = viewgeom::SelectedLines(*this);
  RecordUndoStep(top == bottom ? kUndoLine : kUndoToEnd, top, 0, nullptr, 0);
  for (int i = top; i <= bottom; ++i) {
    KListLine* list = ListLineAt(*this, i);
    if (list == nullptr || !NoteOrRhythmFamily(list->GetFamily())) continue;
    list->SetNoteStyleInRange(m_selRect.left, m_selRect.right, style, m_sizeIndex, m_contentLeft);
  }
  UpdateAfterEdit(top == bottom ? LineHint(top, m_selFirstColumn) : BelowHint(top), 0);
}

void CStavlinView::SetSelectedNoteValue(int code) {
  if (!SelectionRectShown() || m_lineCount <= 0 || code < 0 || code > kMaxTabValue) return;
  int top = 0;
  int bottom = 0;
  const int partner = RangeWithPartner(*this, top, bottom);

  int groupOfRange = KLineObj::kNoGroup;
  for (int i = top; i <= bottom && groupOfRange == KLineObj::kNoGroup; ++i) {
    if (const KLineObj* line = GetDisplayLineObj(i)) groupOfRange = line->GetGroupId();
  }
  if (groupOfRange != KLineObj::kNoGroup) {
    RecordUndoStep(kUndoGroup, groupOfRange, 0, nullptr, 0);
  } else if (top == bottom) {
    RecordUndoStep(kUndoLine, m_currentLine, 0, nullptr, 0);
  } else if (partner >= 0) {
    RecordUndoStep(kUndoGroup, partner, 0, nullptr, 0);
  } else {
    RecordUndoStep(kUndoSelectedLines, top, bottom, nullptr, 0);
  }

  int lastColumn = 0;
  for (int i = top; i <= bottom; ++i) {
    KListLine* list = ListLineAt(*this, i);
    if (list == nullptr) continue;
    const int family = list->GetFamily();
    const bool takes = (family == KLineObj::kFamilyStaff && code <= kMaxStaffValue) ||
                       (family == KLineObj::kFamilyTab && code <= kMaxTabValue);
    if (!takes) continue;
    const KLinePair result = list->SetNoteValueInRange(m_selRect.left, m_selRect.right, code, m_sizeIndex,
                                                       m_contentLeft, &KDlgSwitchNote::AskMode);
    if (result.second >= 0) lastColumn = result.second;
  }
  UpdateAfterEdit(top == bottom ? LineHint(top, HintColumn(*this, top, lastColumn)) : BelowHint(top), 1);
}

void CStavlinView::ApplyLetterToSelection(int letter) {
  if (!SelectionRectShown() || m_lineCount <= 0) return;
  int top = 0;
  int bottom = 0;
  RangeWithPartner(*this, top, bottom);
  for (int i = top; i <= bottom; ++i) {
    KListLine* list = ListLineAt(*this, i);
    if (list == nullptr || !NoteFamily(list->GetFamily())) continue;
    const auto [first, end] = viewdelete::NoteColumnRange(*this, i);
    list->TieNotesInRange(letter, first, end);
  }
  UpdateAfterEdit(BelowHint(top), 1);
}

void CStavlinView::OnActionsJoinTails() {
  if (!LeaveReadOnlyForEdit()) return;
  if (!SelectionRectShown()) {
    m_joinTails = m_joinTails != 0 ? 0 : 1;
    // The caret takes the shape of the entry mode.
    if (NoteOrRhythmFamily(m_currentFamily)) PlaceCaret();
    RefreshToolboxes(*this);
    return;
  }
  if (m_lineCount <= 0) return;
  int top = 0;
  int bottom = 0;
  const int partner = RangeWithPartner(*this, top, bottom);
  if (partner >= 0) {
    RecordUndoStep(kUndoGroup, partner, 0, nullptr, 0);
  } else {
    RecordUndoStep(kUndoSelectedLines, top, bottom, nullptr, 0);
  }
  int lastResult = 0;
  int lastLine = top;
  const auto [count, first] = JoinOverRange(*this, top, bottom, viewnotes::kJoin, lastResult, lastLine);
  if (count == 1) UpdateAfterEdit(LineHint(first, 0), 0);
  if (count >= 2) UpdateAfterEdit(BelowHint(first), 0);
}

void CStavlinView::OnActionsUnjoinTails() {
  if (!SelectionRectShown() || m_lineCount <= 0) return;
  if (!NoteOrRhythmFamily(viewgeom::FamilyAt(*this, std::clamp(m_selFirstLine, 0, m_lineCount - 1)))) return;
  if (!LeaveReadOnlyForEdit()) return;
  int top = 0;
  int bottom = 0;
  const int partner = RangeWithPartner(*this, top, bottom);
  if (partner >= 0) {
    RecordUndoStep(kUndoGroup, partner, 0, nullptr, 0);
  } else {
    RecordUndoStep(kUndoSelectedLines, top, bottom, nullptr, 0);
  }
  int lastResult = 0;
  int lastLine = top;
  const auto [count, first] = JoinOverRange(*this, top, bottom, viewnotes::kUnjoin, lastResult, lastLine);
  (void)first;
  if (count == 1) UpdateAfterEdit(LineHint(m_currentLine, HintColumn(*this, lastLine, lastResult)), 0);
  if (count >= 2) UpdateAfterEdit(BelowHint(m_currentLine), 0);
}
