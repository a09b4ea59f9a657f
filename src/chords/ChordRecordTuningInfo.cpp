#include "chords/ChordRecordTuningInfo.h"

#include <algorithm>

#include "chords/ChordDictionary.h"
#include "common/Globals.h"
#include "platform/FileBytes.h"
#include "platform/UiPort.h"

namespace {

CString WithoutStar(const CString& name) {
  return !name.IsEmpty() && name[name.GetLength() - 1] == '*' ? name.Left(name.GetLength() - 1) : name;
}

const KUserChordData* ChordAt(const CObList& list, POSITION position) {
  return static_cast<const KUserChordData*>(list.GetAt(position));
}

}  // namespace

KTuningInfo::KTuningInfo(const CString& tuningKey, const CString& pitchText)
    : m_tuningKey(tuningKey), m_pitchText(pitchText) {}

KTuningInfo::~KTuningInfo() {
  while (!m_chords.IsEmpty()) delete m_chords.RemoveHead();
}

int KTuningInfo::ListIndex(const CString& rootCode) { return std::max(ChordRecordRootIndex(rootCode), 0); }

std::uint32_t KTuningInfo::RootBit(const CString& rootCode, const char* locationCode) {
  const int index = ChordRecordRootIndex(rootCode);
  if (index >= 0) return 1u << index;
  ReportChordRootError(locationCode);
  return 0;
}

void KTuningInfo::AddKey(const CString& rootCode) { m_listedMask |= RootBit(rootCode, "OC2-1"); }

int KTuningInfo::HasKey(const CString& rootCode) {
  return (m_listedMask & RootBit(rootCode, "OC2-2")) != 0 ? 1 : 0;
}

int KTuningInfo::IsKeyLoaded(const CString& rootCode) {
  return (m_loadedMask & RootBit(rootCode, "OC2-3")) != 0 ? 1 : 0;
}

POSITION KTuningInfo::FirstOfRoot(int rootIndex) const {
  for (POSITION position = m_chords.GetHeadPosition(); position != nullptr;) {
    const POSITION here = position;
    if (static_cast<const KUserChordData*>(m_chords.GetNext(position))->GetKeyIndex() == rootIndex)
      return here;
  }
  return nullptr;
}

void KTuningInfo::AddChord(const CString& record) {
  auto* chord = new KUserChordData(record);
  const int root = chord->GetKeyIndex();
  m_listedMask |= 1u << root;
  m_loadedMask |= 1u << root;
  POSITION position = FirstOfRoot(root);
  bool nameMet = false;
  while (position != nullptr) {
    const KUserChordData* other = ChordAt(m_chords, position);
    if (other->GetKeyIndex() != root) break;
    if (other->GetName() == chord->GetName()) {
      nameMet = true;
    } else if (nameMet) {
      break;
    }
    m_chords.GetNext(position);
  }
  if (position == nullptr)
    m_chords.AddTail(chord);
  else
    m_chords.InsertBefore(position, chord);
}

void KTuningInfo::LoadChords(const CString& tuningKey, const CString& rootCode) {
  const fileio::ReadResult file = fileio::ReadWholeFile(g_ChordFilePath.Str());
  if (!file.ok()) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  const auto* bytes = reinterpret_cast<const char*>(file.bytes.data());
  const std::size_t size = file.bytes.size();
  for (std::size_t offset = 0; size - offset >= static_cast<std::size_t>(kChordRecordTextSize);
       offset += kChordRecordSize) {
    const CString record(bytes + offset, kChordRecordTextSize);
    if (ChordRecordTuningKey(record) == tuningKey && ChordRecordRootCode(record) == rootCode)
      AddChord(record);
    if (size - offset < static_cast<std::size_t>(kChordRecordSize)) break;
  }
}

bool KTuningInfo::HasChord(const CString& rootCode, const CString& nameText, const CString& shape) const {
  const CString name = WithoutStar(nameText);
  const int root = ListIndex(rootCode);
  for (POSITION position = FirstOfRoot(root); position != nullptr;) {
    const KUserChordData* chord = ChordAt(m_chords, position);
    if (chord->GetKeyIndex() != root) break;
    if (chord->GetName() == name && chord->GetShape() == shape) return true;
    m_chords.GetNext(position);
  }
  return false;
}

int KTuningInfo::RemoveChord(const CString& rootCode, const CString& nameText, const CString& shape,
                             int& listEmpty, int& nameRemains) {
  listEmpty = 0;
  nameRemains = 1;
  const CString name = WithoutStar(nameText);
  const int root = ListIndex(rootCode);
  POSITION position = FirstOfRoot(root);
  if (position == nullptr) return 0;
  bool otherNameBefore = false;
  while (position != nullptr && ChordAt(m_chords, position)->GetKeyIndex() == root &&
         ChordAt(m_chords, position)->GetName() != name) {
    otherNameBefore = true;
    m_chords.GetNext(position);
  }
  if (position == nullptr || ChordAt(m_chords, position)->GetKeyIndex() != root) return 0;
  bool otherVariationBefore = false;
  while (position != nullptr && ChordAt(m_chords, position)->GetKeyIndex() == root &&
         ChordAt(m_chords, position)->GetName() == name && ChordAt(m_chords, position)->GetShape() != shape) {
    otherVariationBefore = true;
    m_chords.GetNext(position);
  }
  if (position == nullptr || ChordAt(m_chords, position)->GetKeyIndex() != root ||
      ChordAt(m_chords, position)->GetName() != name) {
    return 0;
  }
  POSITION next = position;
  m_chords.GetNext(next);
  delete m_chords.GetAt(position);
  m_chords.RemoveAt(position);
  const KUserChordData* following = next != nullptr ? ChordAt(m_chords, next) : nullptr;
  const bool nextOfRoot = following != nullptr && following->GetKeyIndex() == root;
  nameRemains = otherVariationBefore || (nextOfRoot && following->GetName() == name) ? 1 : 0;
  if (!otherNameBefore && !otherVariationBefore && !nextOfRoot) {
    m_listedMask &= ~(1u << root);
    m_loadedMask &= ~(1u << root);
  }
  if (next == nullptr && m_chords.IsEmpty()) listEmpty = 1;
  return 1;
}

int KTuningInfo::CountVariations(const CString& rootCode, const CString& nameText) const {
  const CString name = WithoutStar(nameText);
  const int root = ListIndex(rootCode);
  int count = 0;
  for (POSITION position = FirstOfRoot(root); position != nullptr;) {
    const KUserChordData* chord = static_cast<const KUserChordData*>(m_chords.GetNext(position));
    if (chord->GetKeyIndex() != root) break;
    if (chord->GetName() == name)
      ++count;
    else if (count > 0)
      break;
  }
  return count;
}

CString KTuningInfo::GetChordField(const CString& rootCode, const CString& nameText, int n,
                                   int selector) const {
  const CString name = WithoutStar(nameText);
  const int root = ListIndex(rootCode);
  const KUserChordData* last = nullptr;
  int count = 0;
  for (POSITION position = FirstOfRoot(root); position != nullptr;) {
    const KUserChordData* chord = static_cast<const KUserChordData*>(m_chords.GetNext(position));
    last = chord;
    if (chord->GetKeyIndex() != root) break;
    if (chord->GetName() != name || ++count != n) continue;
    switch (selector) {
      case kChordFieldShape:
        return chord->GetShape();
      case kChordFieldDescription:
        return chord->GetDescription();
      case kChordFieldVariationHint:
        return chord->GetVariationHint();
      case kChordFieldFlagText:
        return chord->GetFlagText();
      case kChordFieldExtraStrings:
        return chord->GetExtraStrings();
      default:
        return CString();
    }
  }
  AfxMessageBox(kMsgChordConfusion);
  if (last == nullptr && !m_chords.IsEmpty()) last = static_cast<const KUserChordData*>(m_chords.GetTail());
  return last != nullptr ? last->GetShape() : CString();
}

CString KTuningInfo::GetNextChordName(const CString& rootCode, const CString& name) const {
  const int root = ListIndex(rootCode);
  POSITION position = FirstOfRoot(root);
  if (position == nullptr) return CString();
  if (name.IsEmpty()) return ChordAt(m_chords, position)->GetName();
  bool nameMet = false;
  while (position != nullptr) {
    const KUserChordData* chord = static_cast<const KUserChordData*>(m_chords.GetNext(position));
    if (chord->GetKeyIndex() != root) break;
    if (chord->GetName() == name)
      nameMet = true;
    else if (nameMet)
      return chord->GetName();
  }
  return CString();
}
