// Splitting an object-list line at a column: a new line of the same class and
// settings takes the objects and attachments from the cut on, renumbered from
// column 0. The "Wrap Music" and line-splitting commands and the clipboard
// engine insert the returned line after the old one.
//
// The cut: everything at or after the column moves, the first moved object
// going to column 0. With the bar flag (staff and tablature lines only) the
// cut goes back to the last bar column before the column, which is deleted:
// the new line begins with the bar after it. A beam group that runs across the
// cut is closed on both sides, and a note tied over the cut gets a tie at the
// start of the new line, which then opens with an empty column for it.

#include <algorithm>
#include <vector>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "model/KRhythmObj.h"

namespace {

// Chord lines whose diagrams take rows of their own (a row count in the flag
// value, or the diagram-row flag) recompute those rows after a split.
constexpr DWORD kDiagramRowValueMask = 0x2000;
constexpr DWORD kDiagramRowFlag = 0x4000;
// Tie codes of a note column entry: above the note and below it.
constexpr int kTieBelowFirst = 32;
constexpr int kTieBelowLast = 33;
constexpr int kTieAboveFirst = 34;
constexpr int kTieAboveLast = 35;
// Geometry of the tie that opens the new line: from its first column to the
// next one, at the normal symbol size.
constexpr int kAttachmentColumn = 18;
constexpr int kTieHeight = 6;

int PosOf(const CObject* object) { return static_cast<const KPosObj*>(object)->GetPos(); }

struct TieStart {
  int row;
  int kind;
  bool operator==(const TieStart&) const = default;
};

// The ties that the new line must open with: notes of the column before the
// cut that carry a tie code, and ties and slurs of the old line that end
// exactly at the first moved column. None is made for a note without a
// duration or one whose row in the first moved column cannot take a tie.
std::vector<TieStart> CollectTies(const KChord* before, const KChord* firstMoved, const CObList& attachments,
                                  int cut) {
  std::vector<TieStart> ties;
  auto add = [&](int row, int kind) {
    if (firstMoved != nullptr && firstMoved->NeedsOwnColumn(row, kTieBelowFirst, false) == 1) return;
    const TieStart tie{row, kind};
    if (std::find(ties.begin(), ties.end(), tie) == ties.end()) ties.push_back(tie);
  };
  if (before != nullptr) {
    for (int i = 0; i < before->GetNoteCount(); ++i) {
      const NotePair note = before->GetNote(i);
      int kind = -1;
      // Ties above and below alike: the kind says tie, not its side.
      if (note.code >= kTieAboveFirst && note.code <= kTieAboveLast) kind = KExtendedObj::kTie;
      if (note.code >= kTieBelowFirst && note.code <= kTieBelowLast) kind = KExtendedObj::kTie;
      if (kind < 0) continue;
      if (before->GetNoteDurationAt(note.position, 0) == KChord::kNoDuration &&
          before->GetNoteDurationAt(note.position, 1) == KChord::kNoDuration)
        continue;
      add(note.position, kind);
    }
  }
  if (firstMoved != nullptr) {
    const long long target = firstMoved->GetPos();
    for (POSITION node = attachments.GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KExtendedObj*>(attachments.GetNext(node));
      const int kind = attachment->GetKind();
      if ((kind != KExtendedObj::kTie && kind != KExtendedObj::kSlur) || attachment->GetPos() >= cut)
        continue;
      const long long end = (static_cast<long long>(attachment->GetPos()) * kAttachmentColumn +
                             attachment->GetOffset().x + attachment->GetSize().cx) /
                            kAttachmentColumn;
      if (end == target) add(attachment->GetRow(), kind);
    }
  }
  return ties;
}

}  // namespace

std::unique_ptr<KLineObj> KListLine::SplitAt(int column, int /*arg2*/, int barFlag) {
  std::unique_ptr<KListLine> fresh = CloneEmpty(column);
  if (fresh == nullptr) return nullptr;

  const int family = GetFamily();
  const bool noteLine = IsNoteFamily(family);
  if (!noteLine) barFlag = 0;

  // 1. The time signature carried over; a derived one is not.
  m_changed = 1;
  int beats = 0;
  int beatTicks = kDefaultBeatTicks;
  GetTimeSignatureAt(column, beats, beatTicks, 1);
  if (m_overrideBeats <= 0) {
    m_overrideBeats = 0;
    beats = 0;
  }
  const bool diagramRows =
      family == kFamilyChord && (GetFlagValue(kDiagramRowValueMask) > 0 || TestFlags(kDiagramRowFlag));

  // 3. The settings of the new line.
  fresh->SetStaffLength(m_staffLength);
  fresh->m_label = m_label;
  fresh->SetFlagWord(m_flags);
  fresh->SetTimeSignature(beats, beatTicks, 1);

  auto finish = [&]() {
    if (diagramRows) {
      UpdateDiagramRows();
      fresh->UpdateDiagramRows();
    }
    UpdateTimeSigCache();
    fresh->UpdateTimeSigCache();
    return std::unique_ptr<KLineObj>(std::move(fresh));
  };

  // 4. Nothing lies at or after the column.
  if (GetLength() <= column) return finish();

  // 5. Where the cut lies.
  int cut = std::max(column, 0);
  POSITION cutNode = m_objects.GetHeadPosition();
  if (cut > 0) {
    POSITION barNode = nullptr;
    if (barFlag != 0) {
      for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
        const POSITION here = node;
        const CObject* object = m_objects.GetPrev(node);
        const KChord* chord = AsChord(object);
        if (PosOf(object) < cut && chord != nullptr && chord->IsBarColumn()) {
          barNode = here;
          break;
        }
      }
    }
    if (barNode != nullptr) {
      // The bar at the cut goes: the old line ends before it.
      cut = PosOf(m_objects.GetAt(barNode));
      cutNode = barNode;
      m_objects.GetNext(cutNode);
      delete m_objects.GetAt(barNode);
      m_objects.RemoveAt(barNode);
    } else {
      cutNode = m_objects.GetHeadPosition();
      while (cutNode != nullptr && PosOf(m_objects.GetAt(cutNode)) < cut) m_objects.GetNext(cutNode);
    }
  }
  // The first moved object goes to column 0; with none (the column lies
  // inside the last object) the attachments move by the column itself.
  int shift = 0;
  if (column > 0) shift = cutNode != nullptr ? -PosOf(m_objects.GetAt(cutNode)) : -cut;

  // 7. Ties over the cut (staff and tablature lines).
  std::vector<TieStart> ties;
  if (noteLine && cutNode != nullptr) {
    POSITION beforeNode = cutNode;
    m_objects.GetPrev(beforeNode);
    const KChord* before = beforeNode != nullptr ? AsChord(m_objects.GetAt(beforeNode)) : nullptr;
    ties = CollectTies(before, AsChord(m_objects.GetAt(cutNode)), m_attachments, cut);
  }
  if (!ties.empty()) {
    const KChord* first = AsChord(m_objects.GetAt(cutNode));
    fresh->m_objects.AddTail(
        new KChord(0, first != nullptr && first->IsTabColumn() ? KChord::kTabRhythm : 0));
    shift += 1;
    for (const TieStart& tie : ties) {
      fresh->AddAttachment(
          new KExtendedObj(0, tie.row, tie.kind, kAttachmentColumn / 2, 0, kAttachmentColumn, kTieHeight));
    }
  }

  // 8. The objects from the cut on, then the attachments anchored there.
  POSITION firstMoved = nullptr;
  while (cutNode != nullptr) {
    const POSITION here = cutNode;
    auto* object = static_cast<KPosObj*>(m_objects.GetNext(cutNode));
    if (object->MoveBy(shift) < 0) object->SetPos(0);
    const POSITION added = fresh->m_objects.AddTail(object);
    if (firstMoved == nullptr) firstMoved = added;
    m_objects.RemoveAt(here);
  }
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    if (attachment->GetPos() < cut) continue;
    m_attachments.RemoveAt(here);
    // An attachment between the column and the first moved object (or at a
    // deleted bar) lands on column 0 instead of being lost below it.
    if (attachment->MoveBy(shift) < 0) attachment->SetPos(0);
    fresh->AddAttachment(attachment);
  }

  // 6. Groups that ran across the cut close on both sides.
  if (noteLine) {
    for (int voice = 0; voice < 2; ++voice) {
      const POSITION tail = m_objects.GetTailPosition();
      if (tail != nullptr && beam::ContinuesAfter(beam::StemOf(m_objects.GetAt(tail), voice))) {
        const POSITION open = FindBeamGroupEdge(tail, voice, beam::kBackward);
        if (open != nullptr) {
          BeamRange(open, tail, voice, 0);
        } else {
          ClearBeamRange(tail, nullptr, voice, beam::kBackward);
        }
      }
      if (firstMoved != nullptr &&
          beam::ContinuesBefore(beam::StemOf(fresh->m_objects.GetAt(firstMoved), voice))) {
        const POSITION close = fresh->FindBeamGroupEdge(firstMoved, voice, beam::kForward);
        if (close != nullptr) {
          fresh->BeamRange(firstMoved, close, voice, 0);
        } else {
          fresh->ClearBeamRange(firstMoved, nullptr, voice, beam::kForward);
        }
      }
    }
  } else if (family == kFamilyRhythm && firstMoved != nullptr) {
    // A linked run of rhythm items that crossed the cut starts again.
    auto* item = dynamic_cast<KRhythmObj*>(fresh->m_objects.GetAt(firstMoved));
    if (item != nullptr && item->GetLinkCode() < 0) item->SetLinkCode(0);
  }

  // 9 and 10.
  return finish();
}
