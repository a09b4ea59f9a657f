#include "model/KPosObj.h"

#include "platform/CArchive.h"
#include "platform/CObList.h"

IMPLEMENT_SERIAL(KPosObj, CObject, 90);

int KPosObj::MoveBy(int delta) {
  const long long moved = static_cast<long long>(m_pos) + delta;
  const int result = static_cast<int>(moved);
  if (moved >= 0 && moved == result) m_pos = result;
  return result;
}

void KPosObj::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<WORD>(m_pos & 0xFFFF);
  } else {
    WORD pos = 0;
    ar >> pos;
    m_pos = pos;
  }
}

void InsertByPos(CObList& list, KPosObj* object) {
  for (POSITION node = list.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    if (static_cast<const KPosObj*>(list.GetPrev(node))->GetPos() < object->GetPos()) {
      list.InsertAfter(here, object);
      return;
    }
  }
  list.AddHead(object);
}
