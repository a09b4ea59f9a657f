// Arrow-key moves on an object-list line: the attachment or the notes under
// the caret cell (MoveByArrowKey), the notes of a selected range of columns
// (MoveNotesByArrowKey) and the display nudge of one note (NudgeNoteAt).
//
// Rows are staff steps (1 to 36) on staff lines and string rows (0 to 9) on
// tablature lines. Moving a note keeps its symbol and takes it to the next
// row; a beam group through a moved column is laid out again, because its
// beam line follows the notes.

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "platform/UiPort.h"

namespace {

constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
// Attachment offsets are pixels at the normal size: a column is 18 wide, a
// row is a staff step (3) or a tablature string spacing (10).
constexpr int kAttachmentColumn = 18;
constexpr int kStaffRowPixels = 3;
constexpr int kTabRowPixels = 10;
// Note codes below this one carry a voice: odd codes voice 0, even voice 1.
constexpr int kFirstNonVoiceCode = 8;
// Attachments of these kinds keep to their side of the staff when moved.
constexpr int kStaffUpperSide = 12;
constexpr int kStaffLowerSide = 24;
constexpr int kTabUpperSide = 1;
constexpr int kTabLowerSide = 8;

struct RowRange {
  int first;
  int last;
  bool Holds(int row) const { return row >= first && row <= last; }
};

RowRange RowsOf(int family) { return family == KLineObj::kFamilyTab ? RowRange{0, 9} : RowRange{1, 36}; }

bool IsSignature(const KChord& column) {
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    if (code == KChord::kTimeSignature || code == KChord::kKeySignature) return true;
  }
  return false;
}

// Moves entry i of the column to the row (a staff step or a string row); a
// tablature entry keeps its own duration in the tens.
void SetEntryRow(KChord& column, int i, int row) {
  if (!column.IsTabColumn()) {
    column.SetNoteValue(i, row);
    return;
  }
  const NotePair raw = column.GetRawNote(i);
  const bool fret = (column.RawEntry(i).flag & KChord::kFlagFlagged) == 0 && raw.code >= KChord::kFirstFret &&
                    raw.code <= KChord::kLastFret;
  column.SetNoteValue(i, fret ? row : raw.position / 10 * 10 + row);
}

}  // namespace

int KListLine::MoveByArrowKey(int column, int row, int key, int sizeIndex) {
  const bool vertical = key == kKeyUp || key == kKeyDown;
  if (!vertical && key != kKeyLeft && key != kKeyRight) return -1;
  const int family = GetFamily();
  if (vertical && family == kFamilyRhythm) return -1;
  m_changed = 1;
  const int step = key == kKeyUp ? -1 : 1;

  // The attachment anchored at the caret cell moves first.
  const int rowPixels = family == kFamilyTab ? kTabRowPixels : kStaffRowPixels;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const long long at =
        (static_cast<long long>(attachment->GetPos()) * kAttachmentColumn + attachment->GetOffset().x) /
        kAttachmentColumn;
    const long long atRow =
        static_cast<long long>(attachment->GetRow()) + attachment->GetOffset().y / rowPixels;
    if (at != column || atRow != row) continue;
    if (vertical) {
      if (attachment->MoveRow(step, family) == 0) return -1;
      return FindRedrawStart(column);
    }
    const int before = attachment->GetPos();
    if (key == kKeyLeft) {
      attachment->MoveBy(-1);
    } else {
      attachment->MoveBy(1);
    }
    if (attachment->GetPos() != before) {
      // Back into column order.
      RemoveAttachment(attachment);
      AddAttachment(attachment);
    }
    return FindRedrawStart(key == kKeyLeft ? column - 1 : column);
  }

  // Otherwise the column object: left acts on the column before the caret.
  const int target = key == kKeyLeft ? column - 1 : column;
  const POSITION node = FindNodeAt(target, 0);
  if (node == nullptr) return -1;
  if (!vertical) {
    const int shifted = ShiftColumns(target, key == kKeyLeft ? -1 : 1, 1);
    return shifted < 0 ? -1 : FindRedrawStart(shifted);
  }

  // Up and down move the notes on the row.
  const int newRow = row + step;
  if (!RowsOf(family).Holds(newRow)) {
    MessageBeep(MB_ICONASTERISK);
    return -1;
  }
  KChord* chord = AsChord(m_objects.GetAt(node));
  if (chord == nullptr || chord->GetNoteCount() == 0 || IsSignature(*chord)) return -1;
  int atRow = 0;
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    const int position = chord->GetNote(i).position;
    if (position == newRow) return -1;
    if (position == row) ++atRow;
  }
  if (atRow == 0) return -1;
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    if (chord->GetNote(i).position == row) SetEntryRow(*chord, i, newRow);
  }
  if (chord->GetNoteCount() > 1) chord->ArrangeNoteHeads();

  for (int voice = 0; voice < 2; ++voice) {
    if (!beam::IsMarker(chord->GetVoiceStem(voice))) continue;
    ApplyToNodeRange(FindBeamGroupEdge(node, voice, beam::kBackward),
                     FindBeamGroupEdge(node, voice, beam::kForward), voice, sizeIndex);
  }
  return FindRedrawStart(column);
}

int KListLine::MoveNotesByArrowKey(int first, int end, int key, int sizeIndex) {
  const int family = GetFamily();
  if (!IsNoteFamily(family)) return 0;
  m_changed = 1;
  const int step = key == kKeyUp ? -1 : 1;
  const RowRange rows = RowsOf(family);
  bool moved = false;

  // The beam groups to lay out again, by their edges.
  std::vector<std::pair<POSITION, POSITION>> groups[2];
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    KChord* chord = AsChord(m_objects.GetPrev(node));
    if (chord == nullptr) continue;
    const int pos = chord->GetPos();
    if (pos < first) break;
    if (pos >= end || chord->IsBarColumn() || IsSignature(*chord)) continue;
    bool fits = true;
    for (int i = 0; i < chord->GetNoteCount() && fits; ++i)
      fits = rows.Holds(chord->GetNote(i).position + step);
    if (!fits) {
      MessageBeep(MB_ICONASTERISK);
      continue;
    }
    bool voiceMoved[2] = {false, false};
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const NotePair note = chord->GetNote(i);
      SetEntryRow(*chord, i, note.position + step);
      if (note.code < kFirstNonVoiceCode) voiceMoved[note.code % 2 != 0 ? 0 : 1] = true;
      moved = true;
    }
    for (int voice = 0; voice < 2; ++voice) {
      if (!voiceMoved[voice] || !beam::IsMarker(chord->GetVoiceStem(voice))) continue;
      const std::pair<POSITION, POSITION> group{FindBeamGroupEdge(here, voice, beam::kBackward),
                                                FindBeamGroupEdge(here, voice, beam::kForward)};
      if (std::find(groups[voice].begin(), groups[voice].end(), group) == groups[voice].end())
        groups[voice].push_back(group);
    }
  }
  for (int voice = 0; voice < 2; ++voice) {
    for (const auto& [open, close] : groups[voice]) ApplyToNodeRange(open, close, voice, sizeIndex);
  }

  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const long long at =
        static_cast<long long>(attachment->GetPos()) + attachment->GetOffset().x / kAttachmentColumn;
    if (at < first || at >= end) continue;
    const int row = attachment->GetRow();
    if (row == INT32_MIN || row == INT32_MAX) continue;  // no neighbour row
    const int newRow = row + step;
    const int kind = attachment->GetKind();
    bool allowed = rows.Holds(newRow);
    if (kind == KExtendedObj::kNumberedBracket) {
      // A tuplet number stays on its side of the staff.
      const int upper = family == kFamilyTab ? kTabUpperSide : kStaffUpperSide;
      const int lower = family == kFamilyTab ? kTabLowerSide : kStaffLowerSide;
      if (row <= upper && newRow > upper) allowed = false;
      if (row >= lower && newRow < lower) allowed = false;
    }
    if (!allowed) continue;
    attachment->SetRow(newRow);
    moved = true;
  }
  return moved ? FindRedrawStart(first) : -1;
}

int KListLine::NudgeNoteAt(int column, int position, int key) {
  KChord* chord = AsChord(GetObjAt(column, 0));
  if (chord == nullptr) return 0;
  if (chord->NudgeNote(position, key) == 1000) return 0;
  m_changed = 1;
  return 1;
}
