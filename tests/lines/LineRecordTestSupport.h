#pragma once
// Shared pieces of the record tests of the rhythm, text and chord-diagram
// lines: a fixture that also restores their defaults and the injected drawing
// faults and registers their classes, a builder of the line base part as the
// file holds it, and archive helpers that store and load a whole line with its
// class tag.

#include <memory>
#include <string_view>

#include "common/SharedGdiObjects.h"
#include "lines/KChordPicLine.h"
#include "lines/KChordPicLineDefaults.h"
#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineDefaults.h"
#include "lines/KStrLine.h"
#include "model/KChordPic.h"
#include "model/LineTestSupport.h"
#include "platform/GdiFaults.h"

class LineRecordTest : public LineTest {
 protected:
  LineRecordTest() {
    Reset();
    CRuntimeClass::Register({RUNTIME_CLASS(KChordPic), RUNTIME_CLASS(KRhythmLine), RUNTIME_CLASS(KStrLine),
                             RUNTIME_CLASS(KChordPicLine)});
  }
  ~LineRecordTest() override { Reset(); }

 private:
  static void Reset() {
    ResetRhythmLineDefaults();
    ResetChordPicLineDefaults();
    ResetGdiFaults();
  }
};

namespace line_records {

// The archive's record of a class met for the first time.
inline RecordBytes& ClassTag(RecordBytes& r, std::string_view name) {
  return r.Word(0xFFFF).Word(90).Word(int(name.size())).Chars(name);
}

// The line base part with one extension word (the indent).
inline RecordBytes& BasePart(RecordBytes& r, int legacyKind, DWORD flags, std::string_view label,
                             int indent = 0) {
  return r.Byte(legacyKind).Int(0).Int(-1).Int(int(flags)).Int(100).String(label).Int(indent);
}

// What follows the object list of a list line: key, time word (two extension
// words), spacing word, layout word and an empty attachment list.
inline RecordBytes& ListTail(RecordBytes& r, int key, int spacing) {
  return r.Byte(key).Int(2400).Int(spacing).Int(0).Word(0);
}

// The line of class T read back from the bytes (class tag first); all of them
// must be consumed.
template <typename T>
std::unique_ptr<T> LoadAs(const Bytes& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  ar.SetObjectReferencesAllowed(false);
  std::unique_ptr<CObject> object(ar.ReadObject(nullptr));
  BYTE extra = 0;
  EXPECT_THROW(ar >> extra, CArchiveException) << "bytes left over after the record";
  if (dynamic_cast<T*>(object.get()) == nullptr) {
    ADD_FAILURE() << "the record holds another class";
    return nullptr;
  }
  return std::unique_ptr<T>(static_cast<T*>(object.release()));
}

// The cause of the archive error that loading a T from the bytes raises, or
// -1 when it loads.
template <typename T>
int LoadFailure(const Bytes& bytes) {
  try {
    LoadAs<T>(bytes);
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return -1;
}

// Every proper prefix of a complete record fails with endOfFile.
template <typename T>
void ExpectEveryTruncationFails(const Bytes& bytes) {
  ASSERT_EQ(LoadFailure<T>(bytes), -1);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const Bytes cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
    try {
      CMemFile file(cut.data(), cut.size());
      CArchive ar(&file, CArchive::load);
      std::unique_ptr<CObject> object(ar.ReadObject(nullptr));
      ADD_FAILURE() << "no error at " << n;
    } catch (const CArchiveException& e) {
      EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << n;
    }
  }
}

// The location codes of the internal-error messages shown so far.
inline std::vector<std::string> ReportedCodes(const FakeUiPort& ui) {
  std::vector<std::string> codes;
  for (const FakeUiPort::Message& m : ui.Messages()) {
    if (m.id != 7008) continue;
    const std::size_t open = m.text.rfind("(Error ");
    codes.push_back(open == std::string::npos ? m.text : m.text.substr(open + 7, m.text.size() - open - 8));
  }
  return codes;
}

}  // namespace line_records
