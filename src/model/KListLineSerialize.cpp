// The record of every object-list line, after the line base part:
//
//   objects        object list   the positioned objects, each with its class tag
//   key            BYTE
//   time word      int           1000 x extension count + a time part
//   spacing word   int           layout row (-1 as 32767) x 65536
//                                + space above x 256 + space below
//   layout word    int           the four layout values, the first in the top byte
//   attachments    object list   the KExtendedObj records
//
// The extension count says how many of the spacing and layout words follow
// (this program writes both: 2). The time part, |override beats| + 100 x
// (override beat ticks / 120), is not read back. It fits below 1000 only for
// beat lengths below 1200 ticks and fewer than 100 beats; a larger one would
// add to the extension count and make a reader take words that were never
// written, so it is then written as 0.
// Older files without spacing get the family's default spaces; a newer program
// may announce more words, which are skipped after the once-per-run warning.

#include <cstdlib>
#include <unordered_set>

#include "common/AppServices.h"
#include "model/AttachmentServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"

namespace {

constexpr int kTimeWordUnit = 1000;
constexpr int kStoredExtensionWords = 2;
constexpr int kUnsetRowWord = 32767;
// Files older than this keep a rhythm line's items in the old format.
constexpr int kVersionRhythmItems = 3900;
// The file version whose spaces the "StaffLines3" value 111 replaces.
constexpr int kVersionOldSpaces = 34;
constexpr int kOldSpacesSetting = 111;

// The time part of the time word, or 0 when it would not fit below 1000.
int TimePart(int overrideBeats, int overrideBeatTicks) {
  const long long part =
      std::llabs(static_cast<long long>(overrideBeats)) + 100LL * (overrideBeatTicks / 120);
  return part >= 0 && part < kTimeWordUnit ? static_cast<int>(part) : 0;
}

int PosAt(const CObList& objects, POSITION node) {
  return static_cast<const KPosObj*>(objects.GetAt(node))->GetPos();
}

}  // namespace

void KListLine::LoadObjects(CArchive& ar, CObList& into, const CRuntimeClass* expected) {
  CObList loaded;
  // An object met twice (a back-reference) would be owned twice. An archive
  // that refuses back-references altogether (a document's) needs no check.
  const bool references = ar.ObjectReferencesAllowed();
  std::unordered_set<const CObject*> seen;
  try {
    for (DWORD n = ar.ReadCount(); n > 0; --n) {
      // ReadObject refuses an object of another class (badClass).
      CObject* object = ar.ReadObject(expected);
      if (object == nullptr) AfxThrowArchiveException(CArchiveException::generic);
      if (references && !seen.insert(object).second) AfxThrowArchiveException(CArchiveException::badIndex);
      loaded.AddTail(object);
    }
  } catch (...) {
    while (!loaded.IsEmpty()) delete loaded.RemoveHead();
    throw;
  }
  into.TakeTail(loaded);
}

void KListLine::RepairOrder() {
  // When an object stands at or below the one before it, and its successor
  // stands above it but below the one before it, the one before it is out of
  // place and is dropped. Nothing else is reordered; equal positions stay.
  // After a drop the walk steps back one object: the drop brought two objects
  // side by side, and of a run of objects standing too high only the last
  // would go otherwise. The list left has no object that another walk would
  // drop, so a saved file opens again with the same objects.
  POSITION node = m_objects.GetHeadPosition();
  while (node != nullptr) {
    POSITION previous = node;
    m_objects.GetPrev(previous);
    POSITION next = node;
    m_objects.GetNext(next);
    if (previous != nullptr && next != nullptr) {
      const int previousPos = PosAt(m_objects, previous);
      const int pos = PosAt(m_objects, node);
      const int nextPos = PosAt(m_objects, next);
      if (pos <= previousPos && nextPos > pos && previousPos > nextPos) {
        POSITION before = previous;
        m_objects.GetPrev(before);
        delete m_objects.GetAt(previous);
        m_objects.RemoveAt(previous);
        if (before != nullptr) node = before;
        continue;
      }
    }
    node = next;
  }
}

void KListLine::SetDefaultSpaces() {
  const int family = GetFamily();
  if (family == kFamilyStaff || family == 1) {
    m_spaceAbove = 22;
    m_spaceBelow = 26;
  } else if (family == kFamilyTab) {
    m_spaceAbove = 14;
    m_spaceBelow = 12;
  } else {
    m_spaceAbove = 0;
    m_spaceBelow = 0;
  }
}

void KListLine::StoreWithLabel(CArchive& ar, const CString& storedLabel) {
  const CString label = m_label;
  m_label = storedLabel;
  try {
    KListLine::Serialize(ar);
  } catch (...) {
    m_label = label;
    throw;
  }
  m_label = label;
}

void KListLine::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    KLineObj::Serialize(ar);
    m_objects.Serialize(ar);
    m_timeWord = kTimeWordUnit * kStoredExtensionWords + TimePart(m_overrideBeats, m_overrideBeatTicks);
    const int rowWord = m_layoutRow == -1 ? kUnsetRowWord : m_layoutRow;
    // The spaces are added, not masked, as the format always had them.
    const auto spacing =
        static_cast<int>(static_cast<unsigned>(rowWord) * 65536u +
                         static_cast<unsigned>(m_spaceAbove) * 256u + static_cast<unsigned>(m_spaceBelow));
    DWORD layout = 0;
    for (int value : m_layoutBytes) layout = (layout << 8) | static_cast<DWORD>(value & 0xFF);
    ar << static_cast<BYTE>(m_key) << m_timeWord << spacing << layout;
    m_attachments.Serialize(ar);
    return;
  }

  KLineObj::Serialize(ar);
  m_changed = 1;
  g_loadMarker = 0;
  CObList* itemList = &m_objects;
  if (g_fileVersion < kVersionRhythmItems && m_type == kKindRhythm) {
    if (CObList* old = GetOldSymbolList()) itemList = old;
  }
  LoadObjects(ar, *itemList, GetObjClass());
  if (g_loadMarker != 0) {
    m_flags |= kFlagLoadMarked;
    g_loadMarker = 0;
  }
  RepairOrder();

  BYTE key = 0;
  ar >> key;
  m_key = m_layoutKey = key <= kMaxKey ? key : 0;

  ar >> m_timeWord;
  m_startBeats = m_overrideBeats = 0;
  m_startBeatTicks = m_overrideBeatTicks = kDefaultBeatTicks;
  // A negative word (a damaged file) announces nothing.
  const long long count = m_timeWord > 0 ? m_timeWord / kTimeWordUnit : 0;
  if (count < 1) {
    SetDefaultSpaces();
  } else {
    int spacing = 0;
    ar >> spacing;
    m_spaceAbove = (spacing >> 8) & 0xFF;
    m_spaceBelow = spacing & 0xFF;
    m_layoutRow = spacing >> 16;
    if (m_layoutRow == kUnsetRowWord) m_layoutRow = -1;
    if (g_fileVersion == kVersionOldSpaces && g_staffLines3Second == kOldSpacesSetting) SetDefaultSpaces();
  }
  if (count >= 2) {
    DWORD layout = 0;
    ar >> layout;
    for (int i = 0; i < 4; ++i) m_layoutBytes[i] = static_cast<int>((layout >> (8 * (3 - i))) & 0xFF);
  } else {
    for (int& value : m_layoutBytes) value = 0;
  }
  if (count > 2) {
    WarnNewerFileOnce();
    int word = 0;
    for (long long i = 2; i < count; ++i) ar >> word;
  }

  if (m_linked != nullptr) {
    m_linked->SetGroup(m_groupId, m_group);
    m_linked->SetKeySignature(m_key, m_layoutKey, 0);
    m_linked->SetIndent(m_indent);
    m_linked->SetSpaceAbove(m_spaceAbove, 0);
    m_linked->SetSpaceBelow(m_spaceBelow, 0);
  }
  UpdateTimeSigCache();
  LoadObjects(ar, m_attachments, RUNTIME_CLASS(KExtendedObj));
}
