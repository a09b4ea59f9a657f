#pragma once
// Shared pieces of the line tests: a fixture that also restores the line
// defaults and registers the line classes, builders of note columns, rhythm
// items and lines, and archive helpers that store and load whole objects with
// their class tags.

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

#include "AttachmentTestSupport.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "model/LineServices.h"

class LineTest : public AttachmentTest {
 protected:
  LineTest() {
    ResetLineServices();
    CRuntimeClass::Register({RUNTIME_CLASS(KLineObj), RUNTIME_CLASS(KListLine)});
  }
  ~LineTest() override { ResetLineServices(); }
};

// Line kinds used by the tests.
inline constexpr int kTreble = 0;
inline constexpr int kTab = 2;
inline constexpr int kRhythm = 3;
inline constexpr int kChordLine = 4;
inline constexpr int kText = 5;

// A plain note column (one quarter note on the middle line).
inline KChord* Note(int pos) { return new KChord(pos, 18, 8, 0); }
// A note column with the given stem values of voices 0 and 1.
inline KChord* Stemmed(int pos, int stem0, int stem1) {
  KChord* column = Note(pos);
  column->SetVoiceStem(0, stem0);
  column->SetVoiceStem(1, stem1);
  return column;
}
// A single bar line.
inline KChord* Bar(int pos) { return new KChord(pos, 1, 21, 0); }
// A time-signature column (beats code, note-value code), made as a file holds it.
inline KChord* TimeSig(int pos, int beatsCode, int noteCode) {
  auto* column = new KChord(pos);
  FillColumn(*column, 0, {{1, KChord::kTimeSignature}, {1, beatsCode}, {1, noteCode}});
  return column;
}
inline KChord* KeySig(int pos, int key) {
  auto* column = new KChord(pos);
  FillColumn(*column, 0, {{1, KChord::kKeySignature}, {1, key}});
  return column;
}
inline KRhythmObj* Item(int pos, int code, int link = 0) {
  auto* item = new KRhythmObj(pos, code);
  item->SetLinkCode(link);
  return item;
}

// Appends objects (owned by the line from here on) without any editing rule.
inline void Fill(KListLine& line, std::initializer_list<KPosObj*> objects) {
  for (KPosObj* object : objects) line.GetObjList()->AddTail(object);
  line.UpdateTimeSigCache();
}

inline std::vector<int> Positions(const CObList& list) {
  std::vector<int> out;
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    out.push_back(static_cast<const KPosObj*>(list.GetNext(node))->GetPos());
  }
  return out;
}

// The list line read back from such bytes; all of them must be consumed.
inline std::unique_ptr<KListLine> LoadLine(const Bytes& bytes) {
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(KListLine)));
  BYTE extra = 0;
  EXPECT_THROW(ar >> extra, CArchiveException) << "bytes left over after the record";
  return std::unique_ptr<KListLine>(static_cast<KListLine*>(object.release()));
}

// The cause of the archive error that loading a list line from the bytes
// raises, or -1 when loading succeeds.
inline int LineLoadFailure(const Bytes& bytes) {
  try {
    CMemFile file(bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(KListLine)));
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return -1;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// The attachments as "pos:row:kind" in list order.
inline std::string AttachText(KListLine& line) {
  std::ostringstream out;
  CObList& list = *line.GetAttachments();
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const auto* a = static_cast<const KExtendedObj*>(list.GetNext(node));
    if (out.tellp() > 0) out << ' ';
    out << a->GetPos() << ':' << a->GetRow() << ':' << a->GetKind();
  }
  return out.str();
}
