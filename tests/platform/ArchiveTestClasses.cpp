#include "ArchiveTestClasses.h"

#include <set>

IMPLEMENT_SERIAL(TNote, CObject, 90);
IMPLEMENT_SERIAL(TAccent, TNote, 90);
IMPLEMENT_SERIAL(TGroup, CObject, 90);
IMPLEMENT_DYNAMIC(TPlain, CObject);

void TNote::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << pos << text;
  } else {
    ar >> pos >> text;
  }
}

void TAccent::Serialize(CArchive& ar) {
  TNote::Serialize(ar);
  if (ar.IsStoring()) {
    ar << strength;
  } else {
    ar >> strength;
  }
}

TGroup::~TGroup() {
  DeleteElements(children);
  delete lead;
}

void TGroup::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << id;
    children.Serialize(ar);
    ar << lead;
  } else {
    ar >> id;
    children.Serialize(ar);
    ar >> lead;
  }
}

void RegisterTestClasses() {
  CRuntimeClass::Register(
      {RUNTIME_CLASS(TNote), RUNTIME_CLASS(TAccent), RUNTIME_CLASS(TGroup), RUNTIME_CLASS(TPlain)});
}

void DeleteElements(CObList& list) {
  std::set<CObject*> distinct;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) distinct.insert(list.GetNext(pos));
  list.RemoveAll();
  for (CObject* element : distinct) delete element;
}
