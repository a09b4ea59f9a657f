// Before the columns of a note line are spaced evenly: the tie symbols inside
// the columns become tie attachments (which move with their columns), and the
// empty columns close up so that the objects stand side by side.

#include <algorithm>
#include <vector>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"

namespace {

constexpr int kFirstTieCode = 32;
constexpr int kLastTieCode = 35;
constexpr int kColumnWidth = 18;
constexpr int kWholeColumnRow = 1000;
constexpr int kCloseUpMode = 5;

bool IsTieCode(int code) { return code >= kFirstTieCode && code <= kLastTieCode; }

bool HoldsTieCode(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i)
    if (IsTieCode(column.GetNote(i).code)) return true;
  return false;
}

}  // namespace

void KListLine::ConvertTieCodes() {
  const int family = GetFamily();
  if (!IsNoteFamily(family) || m_objects.IsEmpty()) return;
  const bool tab = family == kFamilyTab;
  bool changed = false;

  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr || !HoldsTieCode(*column)) continue;

    // A first column of ties alone carries the ties from the line before: they
    // go to the next column, reaching back one column width.
    const KChord* next = node != nullptr ? AsChord(m_objects.GetAt(node)) : nullptr;
    const bool carried = here == m_objects.GetHeadPosition() && next != nullptr &&
                         column->GetVoiceDuration(0) == KChord::kNoDuration &&
                         column->GetVoiceDuration(1) == KChord::kNoDuration;
    const int anchor = carried ? next->GetPos() : column->GetPos();

    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (!IsTieCode(note.code)) continue;
      const bool above = note.code >= 34;
      const int width = note.code % 2 == 0 ? kColumnWidth : 2 * kColumnWidth;
      const int row = std::max(above ? note.position - 1 : note.position + 1, 0);
      // A tie above or below its note: the side is its shape's, the kind says tie.
      auto* tie = new KExtendedObj(anchor, row, KExtendedObj::kTie, width / 2, above ? -6 : 6, width, 0);
      const int y = tab ? (above ? 7 : -8) : (above ? -2 : 2);
      tie->SetOffset(carried ? -kColumnWidth : 0, y);
      AddAttachment(tie);
    }
    if (carried) {
      m_objects.RemoveAt(here);
      delete column;
      UpdateTimeSigCache();
    } else {
      for (const int code : {34, 32, 35, 33}) column->RemoveCode(code);
      // RemoveCode keeps a column's last entry; a tie code left there would
      // draw the tie a second time beside its attachment.
      for (int i = column->GetNoteCount() - 1; i >= 0; --i)
        if (IsTieCode(column->GetNote(i).code)) column->RemoveEntry(i);
    }
    changed = true;
  }
  if (changed) MarkChanged();
}

void KListLine::CloseUpEmptyColumns() {
  if (!IsNoteFamily(GetFamily()) || m_objects.IsEmpty()) return;
  // Deletes the empty column before `column`, once for each column of the gap,
  // from the column nearest the object downwards.
  auto closeGap = [this](int firstEmpty, int object) {
    for (int c = object - 1; c >= firstEmpty; --c)
      HandleKey(kDeleteCode, kCloseUpMode, 0, c, kWholeColumnRow, 0, 0, 0);
  };
  POSITION node = m_objects.GetHeadPosition();
  closeGap(0, static_cast<const KPosObj*>(m_objects.GetAt(node))->GetPos());
  for (;;) {
    const KPosObj* previous = static_cast<const KPosObj*>(m_objects.GetNext(node));
    if (node == nullptr) break;
    const KPosObj* object = static_cast<const KPosObj*>(m_objects.GetAt(node));
    closeGap(previous->GetPos() + 1, object->GetPos());
  }
}
