// The score's line list: plain access by position, removing a line with the
// bookkeeping that needs (the partner staff, the instrument entries of line
// labels, a group that still names the line), joining two lines, replacing a
// line by one of another kind in its place and group, and carrying the time
// signature from note line to note line.

#include <algorithm>
#include <climits>

#include "common/RecentChords.h"
#include "doc/CStavlinDoc.h"
#include "doc/DocLineHooks.h"
#include "model/KExtendedObj.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "model/KPosObj.h"
#include "model/KRhythmObj.h"

namespace {

// The pairing bits a partner staff loses when its partner leaves the score.
constexpr DWORD kPartnerBits = KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper |
                               KLineObj::kFlagPairLong | KLineObj::kFlagShownPair;

bool IsNoteLine(const KLineObj& line) { return KLineObj::IsNoteFamily(line.GetFamily()); }

// The display text of an instrument entry: program, volume, name.
CString InstrumentText(const MidiInstrumentEntry& entry) {
  return FormatNumberLabel(entry.program) + FormatNumberLabel(entry.volume) + entry.name;
}

}  // namespace

// ---- Access ----------------------------------------------------------------------------

KLineObj* CStavlinDoc::GetLineAt(POSITION pos) const {
  return pos != nullptr ? dynamic_cast<KLineObj*>(lines.GetAt(pos)) : nullptr;
}

KLineObj* CStavlinDoc::SwapLineAt(POSITION pos, KLineObj* newLine) {
  KLineObj* old = GetLineAt(pos);
  if (old == nullptr || newLine == nullptr) return nullptr;
  lines.SetAt(pos, newLine);
  return old;
}

KLineObj* CStavlinDoc::GetNextLine(POSITION& pos) const {
  if (pos == nullptr) return nullptr;
  return dynamic_cast<KLineObj*>(lines.GetNext(pos));
}

KLineObj* CStavlinDoc::GetPrevLine(POSITION& pos) const {
  if (pos == nullptr) return nullptr;
  return dynamic_cast<KLineObj*>(lines.GetPrev(pos));
}

POSITION CStavlinDoc::AddHeadLine(KLineObj* line) { return lines.AddHead(line); }
POSITION CStavlinDoc::AddTailLine(KLineObj* line) { return lines.AddTail(line); }
POSITION CStavlinDoc::InsertLineBefore(POSITION pos, KLineObj* line) { return lines.InsertBefore(pos, line); }
POSITION CStavlinDoc::InsertLineAfter(POSITION pos, KLineObj* line) { return lines.InsertAfter(pos, line); }

int CStavlinDoc::GetLineLengthAt(POSITION pos) const {
  KLineObj* line = GetLineAt(pos);
  return line != nullptr ? line->GetLength() : 0;
}

// ---- Removing a line and the label bookkeeping ----------------------------------------------

namespace {

// Whether some line of the list carries the label name.
bool LabelInUse(const CObList& lines, const CString& name) {
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr;) {
    const auto* line = dynamic_cast<const KLineObj*>(lines.GetNext(pos));
    if (line != nullptr && line->GetLabelName() == name) return true;
  }
  return false;
}

}  // namespace

void CStavlinDoc::RemoveLine(POSITION pos, MidiInstrumentTable* labels, BOOL deleteLine) {
  KLineObj* line = GetLineAt(pos);
  if (line == nullptr) return;
  const CString name = line->GetLabelName();

  // A paired staff leaves its partner unpaired.
  if (labels != nullptr && line->TestFlags(KLineObj::kFlagPairedStaff)) {
    if (KListLine* listLine = line->AsListLine()) {
      if (KListLine* partner = listLine->ReleasePartner()) partner->ModifyFlags(kPartnerBits, 0);
    }
  }

  // A group must never keep the position of a line that left the list. The
  // callers take the line out of its group first; should one not have, the
  // group lets it go here (a group of this line alone goes with it).
  if (KLineGroup* group = FindLineGroup(line->GetGroupId()); group != nullptr && group->FindSlot(pos) >= 0) {
    POSITION remaining = nullptr;
    group->RemoveLine(pos, remaining);
    if (group->FindSlot(pos) >= 0) {
      line->SetGroup(KLineObj::kNoGroup, nullptr);
      DropGroup(group);
    }
  }

  lines.RemoveAt(pos);
  if (deleteLine) delete line;

  if (labels == nullptr || name.IsEmpty()) return;
  MidiInstrumentTable& table = *labels;
  table.count = std::clamp(table.count, 0, kInstrumentTableSize);
  if (table.count <= kInstrumentFixedEntries) return;
  const MidiInstrumentEntry* begin = table.entries + kInstrumentFixedEntries;
  const MidiInstrumentEntry* end = table.entries + table.count;
  if (std::none_of(begin, end, [&](const MidiInstrumentEntry& e) { return e.name == name; })) return;

  bool removed = false;
  for (int i = kInstrumentFixedEntries; i < table.count;) {
    if (LabelInUse(lines, table.entries[i].name)) {
      ++i;
      continue;
    }
    // Later entries move down one place and keep their order.
    std::move(table.entries + i + 1, table.entries + table.count, table.entries + i);
    --table.count;
    table.entries[table.count] = MidiInstrumentEntry();
    removed = true;
  }
  if (!removed) return;
  settings.instrumentCount = static_cast<BYTE>(table.count);
  for (int j = 0; j < ScoreSettings::kInstrumentSlots; ++j) {
    settings.instrumentTable[j] = j < table.count ? InstrumentText(table.entries[j]) : CString();
  }
}

BOOL CStavlinDoc::RemoveOrphanLabels(MidiInstrumentTable& table) {
  table.count = std::clamp(table.count, 0, kInstrumentTableSize);
  bool removed = false;
  for (int i = kInstrumentFixedEntries; i < table.count && table.count > kInstrumentFixedEntries;) {
    if (LabelInUse(lines, table.entries[i].name)) {
      ++i;
      continue;
    }
    // The last entry takes the place of the dropped one.
    --table.count;
    table.entries[i] = table.entries[table.count];
    table.entries[table.count] = MidiInstrumentEntry();
    removed = true;
  }
  if (!removed) return FALSE;
  settings.instrumentCount = static_cast<BYTE>(table.count);
  for (int j = 0; j < ScoreSettings::kInstrumentSlots; ++j) {
    settings.instrumentTable[j] = j < table.count ? InstrumentText(table.entries[j]) : CString();
  }
  return TRUE;
}

// ---- Joining and replacing ------------------------------------------------------------------

void CStavlinDoc::JoinLines(KLineObj& first, KLineObj& second) {
  if (&first == &second) return;
  if (first.GetFamily() == KLineObj::kFamilyText) {
    const KDocLineHooks& hooks = DocLineHooks();
    if (hooks.lineText != nullptr && hooks.setLineText != nullptr)
      hooks.setLineText(first, hooks.lineText(first) + hooks.lineText(second));
    return;
  }
  KListLine* to = first.AsListLine();
  KListLine* from = second.AsListLine();
  if (to == nullptr || from == nullptr) return;

  // The second line's objects and attachments move past the first line's
  // end as a whole (bars included), so that nothing lands on the first
  // line's objects, and every attachment stays with its object. Rhythm items
  // stand at pixel positions: they move by the first line's pixel end.
  const int length = first.GetLength();
  const bool rhythm = first.GetFamily() == KLineObj::kFamilyRhythm;
  long long shift = length;
  if (rhythm) {
    const CObList* own = to->GetObjList();
    const auto* last = own->IsEmpty() ? nullptr : static_cast<const KPosObj*>(own->GetTail());
    const KRhythmObj* item = AsRhythmObj(last);
    shift = last == nullptr
                ? 0
                : static_cast<long long>(last->GetPos()) + (item != nullptr ? item->GetWidth() : 0);
  }
  CObList* objects = from->GetObjList();
  while (!objects->IsEmpty()) {
    auto* object = static_cast<KPosObj*>(objects->RemoveHead());
    object->SetPos(static_cast<int>(std::clamp<long long>(object->GetPos() + shift, 0, INT_MAX)));
    to->GetObjList()->AddTail(object);
  }
  from->UpdateTimeSigCache();
  from->MarkChanged();
  to->UpdateTimeSigCache();
  to->MarkChanged();
  if (rhythm) {
    if (const auto reset = DocLineHooks().resetColumnWidth) reset(first);
  }

  CObList* attachments = second.GetAttachments();
  while (attachments != nullptr && !attachments->IsEmpty()) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->RemoveHead());
    attachment->MoveBy(length);
    first.AppendAttachment(attachment);
  }
}

POSITION CStavlinDoc::ReplaceLine(KLineObj* oldLine, POSITION oldPos, KLineObj* newLine, int keySignature,
                                  BOOL copyAttachments) {
  if (newLine == nullptr) return oldPos;
  if (oldLine == nullptr || GetLineAt(oldPos) != oldLine) {
    // Nothing to replace: the new line is not taken.
    return nullptr;
  }
  newLine->SetStaffLength(oldLine->GetStaffLength());
  newLine->SetLabel(oldLine->GetLabelName());
  if (IsNoteLine(*oldLine) && IsNoteLine(*newLine)) {
    if (KListLine* listLine = newLine->AsListLine()) listLine->SetKeySignature(keySignature, 0, 0);
    if (copyAttachments) newLine->CopyAttachmentsFrom(*oldLine);
  }

  // The new line takes the old one's slot in its group; a line whose group
  // does not hold it stays without one.
  KLineGroup* group = FindLineGroup(oldLine->GetGroupId());
  const int slot = group != nullptr ? group->FindSlot(oldPos) : -1;
  if (slot < 0) group = nullptr;
  newLine->SetGroup(group != nullptr ? group->GetId() : KLineObj::kNoGroup, group);
  const POSITION newPos = lines.InsertAfter(oldPos, newLine);

  if (group != nullptr) {
    group->SetSlotLine(slot, newLine);
    group->SetSlotLineRef(slot, newPos);
    group->SetSlotType(slot, newLine->GetType());
    // A grand-staff pairing carries over to a staff that is itself paired;
    // otherwise the slot and its partner slot lose their offsets together.
    const int offset = group->GetSlotPartner(slot);
    const int type = newLine->GetType();
    const bool staysPaired = oldLine->TestFlags(KLineObj::kFlagPairedStaff) &&
                             newLine->TestFlags(KLineObj::kFlagPairedStaff) &&
                             (type == 0 || type == KLineObj::kKindBassStaff);
    if (offset != 0 && !staysPaired) {
      const int other = slot + (offset > 100 ? offset - 100 : offset);
      if (other >= 0 && other < group->GetSlotCount()) group->SetSlotPartner(other, 0);
      group->SetSlotPartner(slot, 0);
    }
  }

  RemoveLine(oldPos, nullptr, TRUE);
  if (group != nullptr) group->BindLines(*this);
  return newPos;
}

// ---- Time signatures ------------------------------------------------------------------------

void CStavlinDoc::PropagateTimeSignatures() {
  int beats = kDefaultBeats;
  int beatTicks = kDefaultBeatTicks;
  for (POSITION pos = lines.GetHeadPosition(); pos != nullptr;) {
    KLineObj* line = GetNextLine(pos);
    if (line == nullptr || !IsNoteLine(*line)) continue;
    KListLine* listLine = line->AsListLine();
    if (listLine == nullptr) continue;
    listLine->SetTimeSignature(beats, beatTicks, 1);
    listLine->GetTimeSignatureAt(KListLine::kDeriveColumn, beats, beatTicks, 0);
  }
}
