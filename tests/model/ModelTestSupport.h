#pragma once
// Shared pieces of the model tests: a fixture that starts every test from the
// program's start values with a recording UI port, byte helpers for archives,
// and builders of small note columns.

#include <gtest/gtest.h>

#include <initializer_list>
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

// One entry of a column record: value, code byte, flag byte, nudge byte.
struct Entry {
  int value;
  int code;
  int flag = 0;
  int extra = 0;
};

// The record bytes of a column as the file holds it (position word, stems,
// count, entries with their escapes, rhythm byte).
inline Bytes ColumnRecord(int pos, int stem0, int stem1, int rhythm, std::initializer_list<Entry> entries) {
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
