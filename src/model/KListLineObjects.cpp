// The object list of a line: lookups by column, deletion, insertion and the
// cached last bar column (column shifts: KListLineShift.cpp).

#include <algorithm>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"

namespace {

const KPosObj* PosObjAt(const CObList& list, POSITION node) {
  return static_cast<const KPosObj*>(list.GetAt(node));
}

bool IsBar(const CObject* object) {
  const KChord* column = AsChord(object);
  return column != nullptr && column->IsBarColumn();
}

}  // namespace

KPosObj* KListLine::GetObjAt(int column, int orPrevious) const {
  const POSITION node = FindNodeAt(column, orPrevious);
  return node != nullptr ? static_cast<KPosObj*>(m_objects.GetAt(node)) : nullptr;
}

POSITION KListLine::FindNodeAt(int column, int orPrevious) const {
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    const int pos = static_cast<const KPosObj*>(m_objects.GetPrev(node))->GetPos();
    if (pos <= column) return pos == column || orPrevious != 0 ? here : nullptr;
  }
  return nullptr;
}

POSITION KListLine::FindNodeBefore(int column) const {
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    if (static_cast<const KPosObj*>(m_objects.GetPrev(node))->GetPos() < column) return here;
  }
  return nullptr;
}

void KListLine::DeleteObjsFrom(int column) {
  // The whole list is walked: a loaded list may hold objects out of order.
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    CObject* object = m_objects.GetNext(node);
    if (static_cast<KPosObj*>(object)->GetPos() >= column) {
      m_objects.RemoveAt(here);
      delete object;
    }
  }
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    CObject* attachment = m_attachments.GetNext(node);
    if (static_cast<KPosObj*>(attachment)->GetPos() >= column) {
      m_attachments.RemoveAt(here);
      delete attachment;
    }
  }
  m_changed = 1;
  UpdateTimeSigCache();
}

KLinePair KListLine::InsertObjAt(KPosObj* object, int sizeIndex, int column, const int* beamFlags,
                                 int replace) {
  if (object == nullptr) return {0, -1};
  m_changed = 1;
  if (replace != 0) {
    const int beamed = beamFlags != nullptr && (beamFlags[0] != 0 || beamFlags[1] != 0) ? 1 : 0;
    HandleKey(kDeleteCode, 0, sizeIndex, column, 1000, beamed, 0, 0);
  }
  if (const KChord* chord = AsChord(object);
      chord != nullptr && chord->GetNoteCount() > 0 && chord->GetRawNote(0).code == KChord::kTimeSignature) {
    m_overrideBeats = 0;
  }
  object->SetPos(column);
  if (m_objects.IsEmpty()) {
    m_objects.AddTail(object);
    UpdateTimeSigCache();
    return {1, column};
  }

  // Appending after the last object (as every importer builds its lines)
  // moves nothing and costs the same whatever the line's length: no column
  // lies at or after the new one, so there is no room to make, and the cached
  // last bar changes only when the new column is a bar. (A damaged file's
  // list may hold an object out of order at a later column; it stays put.)
  if (replace == 0 && PosObjAt(m_objects, m_objects.GetTailPosition())->GetPos() < column) {
    const POSITION inserted = m_objects.AddTail(object);
    const int family = GetFamily();
    if (family != kFamilyChord && family != kFamilyRhythm && IsBar(object)) {
      m_timeSigNode = inserted;
      m_timeSigColumn = column;
    }
    return {1, std::min(column, RebeamAfterInsert(inserted, sizeIndex, beamFlags))};
  }

  // Make room first, so that the node found below lies before the new column
  // (or is the object that a replacing insertion leaves there).
  if (replace == 0) ShiftColumns(column, 1, -2);
  POSITION found = FindNodeAt(column, 1);
  if (found == nullptr) found = m_objects.GetHeadPosition();
  const int foundPos = PosObjAt(m_objects, found)->GetPos();
  POSITION inserted = nullptr;
  if (found != m_objects.GetHeadPosition()) {
    if (foundPos == column) {
      inserted = m_objects.InsertBefore(found, object);
    } else {
      inserted = m_objects.InsertAfter(found, object);
    }
  } else if (foundPos >= column) {
    inserted = m_objects.AddHead(object);
  } else {
    inserted = m_objects.InsertAfter(found, object);
  }
  UpdateTimeSigCache();
  // The beam groups of both voices around the new column (KListLineBeams.cpp).
  return {1, std::min(column, RebeamAfterInsert(inserted, sizeIndex, beamFlags))};
}

void KListLine::UpdateTimeSigCache() {
  m_timeSigNode = nullptr;
  m_timeSigColumn = -1;
  const int family = GetFamily();
  if (family == kFamilyChord || family == kFamilyRhythm) return;
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    const CObject* object = m_objects.GetPrev(node);
    if (IsBar(object)) {
      m_timeSigNode = here;
      m_timeSigColumn = static_cast<const KPosObj*>(object)->GetPos();
      return;
    }
  }
}
