#pragma once
// Shared pieces of the model tests: a fixture that starts every test from the
// program's start values with a recording UI port, byte helpers for archives,
// and builders of small note columns.

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "common/ViewServices.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/ModelClasses.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"
#include "platform/CFile.h"
#include "platform/FakeUiPort.h"

class ModelTest : public ::testing::Test {
 protected:
  ModelTest() : m_scope(m_ui) {
    ResetCommonGlobals();
    ResetAppServices();
    ResetViewServices();
    ResetDocServices();
    ResetModelGlobals();
    RegisterModelClasses();
  }
  ~ModelTest() override {
    ResetCommonGlobals();
    ResetAppServices();
    ResetViewServices();
    ResetDocServices();
    ResetModelGlobals();
  }

  FakeUiPort m_ui;

 private:
  ScopedUiPort m_scope;
};

using Bytes = std::vector<BYTE>;

// The bytes that an object's Serialize writes (no class tag).
template <typename T>
Bytes StoreFields(T& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    object.Serialize(ar);
    ar.Close();
  }
  return file.Data();
}

// Reads the object's fields from the bytes; the whole input must be consumed.
template <typename T>
void LoadFields(T& object, const Bytes& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  object.Serialize(ar);
  BYTE extra = 0;
  EXPECT_THROW(ar >> extra, CArchiveException) << "bytes left over after the record";
}

// The bytes of an object stored through the archive's object protocol (class
// tag, class record, fields).
inline Bytes StoreObject(const CObject& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(&object);
    ar.Close();
  }
  return file.Data();
}

// The object read back after storing it with its class tag (WriteObject, then
// ReadObject).
inline std::unique_ptr<CObject> StoreAndReadObject(const CObject& object) {
  const Bytes stream = StoreObject(object);
  CMemFile in(stream.data(), stream.size());
  CArchive ar(&in, CArchive::load);
  return std::unique_ptr<CObject>(ar.ReadObject(nullptr));
}

// Reading any proper prefix of a stored object stream as an object of the
// requested class is an archive error.
inline void ExpectEveryCutFails(const Bytes& stream, const CRuntimeClass* requested) {
  for (std::size_t cut = 0; cut < stream.size(); ++cut) {
    CMemFile part(stream.data(), cut);
    CArchive ar(&part, CArchive::load);
    EXPECT_THROW(ar.ReadObject(requested), CArchiveException) << cut;
  }
}

// One entry of a column record: value, code byte, flag byte, nudge byte.
struct Entry {
  int value;
  int code;
  int flag = 0;
  int extra = 0;
};

// The record bytes of a column as the file holds it (position word, stems,
// count, entries with their escapes, rhythm byte).
inline Bytes ColumnRecord(int pos, int stem0, int stem1, int rhythm, const std::vector<Entry>& entries) {
  Bytes b = {BYTE(pos & 0xFF), BYTE(pos >> 8)};
  for (int stem : {stem0, stem1}) {
    for (int k = 0; k < 4; ++k) b.push_back(BYTE(unsigned(stem) >> (8 * k)));
  }
  b.push_back(BYTE(entries.size()));
  for (const Entry& e : entries) {
    b.push_back(BYTE(e.value));
    if (e.flag) b.insert(b.end(), {106, BYTE(e.flag)});
    if (e.extra) b.insert(b.end(), {105, BYTE(e.extra)});
    b.push_back(BYTE(e.code));
  }
  b.push_back(BYTE(rhythm));
  return b;
}

// A column made by loading such a record (at the current file version).
inline void FillColumn(KChord& column, int rhythm, std::initializer_list<Entry> entries, int stem0 = 0,
                       int stem1 = 0) {
  LoadFields(column, ColumnRecord(column.GetPos(), stem0, stem1, rhythm, entries));
}
