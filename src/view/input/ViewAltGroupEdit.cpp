// HandleAltKeyEdit: an Alt-arrow edit of a grouped line under mutual
// translation, carried into the lines bracketed with it. Left and Right
// shift the columns of every bracketed line; Up and Down move the notes of
// the line and rebuild the bracketed partners' columns from the moved ones,
// so that a staff and its tablature keep showing the same pitches.

#include <algorithm>
#include <iterator>

#include "common/ViewServices.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "view/input/ViewKeysInternal.h"

namespace viewkeys {
int g_altUndoRecorded = 0;
}  // namespace viewkeys

namespace {

using viewkeys::HasSelectionRect;

bool Vertical(int key) { return key == VK_UP || key == VK_DOWN; }

// Lines that the bracket set's Left and Right carry along.
bool ShiftsWithBracket(const KLineObj& line) {
  const int family = line.GetFamily();
  return family != KLineObj::kFamilyRhythm && family != KLineObj::kFamilyChord;
}

// The layout keeps bracketed note lines aligned (and a shift of one of them
// moves them all, all or none) while every alignment option is off.
bool ModelAlignsBrackets() {
  return std::all_of(std::begin(g_alignOptions), std::end(g_alignOptions),
                     [](int option) { return option == 0; });
}

// The note move of a line: the notes at the caret cell, or with a selection
// the notes of the selected columns.
int MoveNotes(const CStavlinView& view, KListLine& line, int first, int last, int key, int row, int size) {
  if (!HasSelectionRect(view)) return line.MoveByArrowKey(first, row, key, size);
  return line.MoveNotesByArrowKey(first, std::max(last, first + 1), key, size);
}

// Left and Right over a bracket set: the line and every other bracketed
// line that is neither a rhythm nor a chord line move their columns.
int ShiftBracketSet(const KLineGroup& group, KListLine& line, POSITION position, int bracket, int first,
                    int last, int delta) {
  const bool aligned = ModelAlignsBrackets() && KLineObj::IsNoteFamily(line.GetFamily());
  // Aligned note lines move together through the line's own shift.
  const int r = line.ShiftColumns(first, delta, aligned ? std::max(last - first, 0) : -1);
  if (r < 0) return r;
  line.MarkChanged();
  for (int slot = 0; slot < group.GetSlotCount(); ++slot) {
    const POSITION ref = group.GetSlotLineRef(slot);
    KLineObj* other = group.GetSlotLine(slot);
    if (ref == position || other == nullptr || group.GetLineBracket(ref, 0) != bracket) continue;
    if (!ShiftsWithBracket(*other)) continue;
    KListLine* list = other->AsListLine();
    if (aligned && list != nullptr && KLineObj::IsNoteFamily(other->GetFamily())) {
      list->MarkChanged();  // moved with the line
      continue;
    }
    other->ShiftColumns(first, delta, -1);
    if (list != nullptr) list->MarkChanged();
  }
  return r;
}

// The partner's column at the column is rebuilt from the moved line's column.
void FollowColumn(KListLine& moved, KListLine& partner, int column, int size) {
  const KChord* source = AsChord(moved.GetObjAt(column, 0));
  CObList& objects = *partner.GetObjList();
  const POSITION node = partner.FindNodeAt(column, 0);
  if (source == nullptr || node == nullptr) return;
  KChord* old = AsChord(objects.GetAt(node));
  if (old == nullptr) return;

  KStaffLine* staff = dynamic_cast<KStaffLine*>(&moved);
  KTabLine* tab = dynamic_cast<KTabLine*>(&partner);
  if (staff == nullptr) {
    staff = dynamic_cast<KStaffLine*>(&partner);
    tab = dynamic_cast<KTabLine*>(&moved);
  }
  KChord* rebuilt = nullptr;
  if (staff != nullptr && tab != nullptr) {
    LineColumnConversion conversion(*staff, *tab);
    rebuilt = source->ConvertColumn(moved.GetType(), partner.GetType(), &conversion, column, 0);
  } else {
    rebuilt = source->ConvertColumn(moved.GetType(), partner.GetType(), nullptr, column, 0);
  }
  if (rebuilt == nullptr) return;
  for (int voice = 0; voice < 2; ++voice) rebuilt->SetStemEnd(voice, old->GetStemEnd(voice, size), size);
  const POSITION added = objects.InsertAfter(node, rebuilt);
  objects.RemoveAt(node);
  delete old;
  // The beam groups through the column are laid out again.
  for (int voice = 0; voice < 2; ++voice) {
    const POSITION start = partner.FindBeamGroupEdge(added, voice, 20);
    const POSITION end = partner.FindBeamGroupEdge(added, voice, 21);
    if (start != nullptr && end != nullptr && start != end) partner.ApplyToNodeRange(start, end, voice, size);
  }
  partner.MarkChanged();
}

}  // namespace

int CStavlinView::HandleAltKeyEdit(int groupId, POSITION linePosition, int firstColumn, int lastColumn,
                                   int key, int row, int sizeIndex) {
  if (m_document == nullptr) return -1;
  KLineObj* lineObj = m_document->GetLineAt(linePosition);
  KLineGroup* group = m_document->FindLineGroup(groupId);
  KListLine* line = lineObj != nullptr ? lineObj->AsListLine() : nullptr;
  if (line == nullptr || group == nullptr) return -1;
  const int family = line->GetFamily();
  if (family == KLineObj::kFamilyChord) return -1;
  if (Vertical(key) && family == KLineObj::kFamilyRhythm) return -1;

  // The caller may have recorded the step that covers this edit already.
  if (viewkeys::g_altUndoRecorded == 0) RecordUndoStep(viewkeys::kUndoGroup, groupId, 0, nullptr, 0);

  const int bracket = group->GetLineBracket(linePosition, 0);
  const int delta = key == VK_LEFT ? -1 : 1;
  if (!Vertical(key)) {
    if (bracket == 0) return line->ShiftColumns(firstColumn, delta, std::max(lastColumn - firstColumn, 0));
    return ShiftBracketSet(*group, *line, linePosition, bracket, firstColumn, lastColumn, delta);
  }

  const int r = MoveNotes(*this, *line, firstColumn, lastColumn, key, row, sizeIndex);
  if (bracket == 0 || r < 0) return r;
  // The lower staff of a grand-staff pair moves alone.
  if (line->TestFlags(KLineObj::kFlagPairedStaff) != 0 && line->TestFlags(KLineObj::kFlagPairUpper) == 0)
    return r;

  const int lastMoved = std::max(firstColumn, lastColumn - 1);
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    const POSITION ref = group->GetSlotLineRef(slot);
    KLineObj* other = group->GetSlotLine(slot);
    if (ref == linePosition || other == nullptr || group->GetLineBracket(ref, 0) != bracket) continue;
    if (!KLineObj::IsNoteFamily(other->GetFamily()) || other->AsListLine() == nullptr) continue;
    for (int column = firstColumn; column <= lastMoved; ++column)
      FollowColumn(*line, *other->AsListLine(), column, sizeIndex);
  }
  line->MarkChanged();
  return r;
}
