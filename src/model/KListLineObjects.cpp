// The object list of a line: lookups by column, deletion, insertion and
// column shifts, and the cached last bar column.

#include <algorithm>
#include <climits>
#include <vector>

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

int KListLine::ShiftColumns(int first, int delta, int) {
  if (m_objects.IsEmpty() || delta == 0) return -1;

  // The objects from the column on, and the last one before them.
  std::vector<KPosObj*> movers;
  long long before = -1;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    auto* object = static_cast<KPosObj*>(m_objects.GetNext(node));
    if (object->GetPos() >= first) {
      movers.push_back(object);
    } else {
      before = std::max<long long>(before, object->GetPos());
    }
  }
  if (movers.empty()) return FindRedrawStart(std::max(0, first));

  // Staff and tablature lines keep the next bar column where it is as far as
  // the empty columns before it allow: objects before the bar take the whole
  // delta, the bar and everything after it only what the empty columns cannot
  // absorb (a negative delta closes up before the bar and leaves it).
  std::size_t bar = movers.size();
  const int family = GetFamily();
  if (family == kFamilyStaff || family == kFamilyTab) {
    for (std::size_t i = 0; i < movers.size(); ++i) {
      if (IsBar(movers[i])) {
        bar = i;
        break;
      }
    }
  }
  long long restDelta = delta;
  if (bar < movers.size()) {
    if (delta > 0) {
      long long lastBeforeBar = first - 1LL;
      for (std::size_t i = 0; i < bar; ++i)
        lastBeforeBar = std::max<long long>(lastBeforeBar, movers[i]->GetPos());
      const long long emptyColumns = movers[bar]->GetPos() - 1LL - lastBeforeBar;
      restDelta = std::max(0LL, delta - emptyColumns);
    } else if (bar > 0) {
      restDelta = 0;
    }
  }

  // Refuse a shift that would put an object on or before its neighbour, below
  // column 0 or beyond the largest column.
  long long lowest = LLONG_MAX;
  long long highest = LLONG_MIN;
  for (std::size_t i = 0; i < movers.size(); ++i) {
    const long long moved = movers[i]->GetPos() + (i < bar ? static_cast<long long>(delta) : restDelta);
    lowest = std::min(lowest, moved);
    highest = std::max(highest, moved);
  }
  if (lowest < 0 || lowest <= before || highest > INT_MAX) return -1;

  for (std::size_t i = 0; i < movers.size(); ++i) {
    movers[i]->SetPos(static_cast<int>(movers[i]->GetPos() + (i < bar ? delta : restDelta)));
  }
  m_changed = 1;
  UpdateTimeSigCache();
  return FindRedrawStart(std::max(0, std::min(first, first + delta)));
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
