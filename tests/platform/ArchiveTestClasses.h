#pragma once
// Small classes for the object and archive tests, shaped like the score
// model: a positioned note, a derived note, a group that owns its children
// (a list and a single lead note) and a class the archive may not store.

#include "platform/CArchive.h"
#include "platform/CObList.h"
#include "platform/CObject.h"
#include "platform/CString.h"

#include <vector>

class TNote : public CObject {
  DECLARE_SERIAL(TNote);
  TNote() = default;
  TNote(WORD position, const char* label) : pos(position), text(label) {}
  void Serialize(CArchive& ar) override;

  WORD pos = 0;
  CString text;
};

class TAccent : public TNote {
  DECLARE_SERIAL(TAccent);
  TAccent() = default;
  TAccent(WORD position, BYTE level) : TNote(position, ""), strength(level) {}
  void Serialize(CArchive& ar) override;

  BYTE strength = 0;
};

// Owns its children and its lead note; deletes them with itself.
class TGroup : public CObject {
  DECLARE_SERIAL(TGroup);
  TGroup() = default;
  ~TGroup() override;
  void Serialize(CArchive& ar) override;

  BYTE id = 0;
  CObList children;
  TNote* lead = nullptr;
};

class TPlain : public CObject {
  DECLARE_DYNAMIC(TPlain);
};

void RegisterTestClasses();

// Deletes each distinct element of the list once and empties it.
void DeleteElements(CObList& list);

// The bytes an archive stores through `store`.
template <typename Store>
std::vector<BYTE> StoreToBytes(Store store) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  store(ar);
  ar.Close();
  return file.Data();
}
