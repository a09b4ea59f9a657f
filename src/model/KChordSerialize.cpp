// The score-file record of a note column.
//
// After the position word: the two stem fields (32-bit each), the entry count
// (one byte), the entries, and the rhythm code (one byte). An entry is its
// value byte, then, when its flag byte is not 0, the escape 106 and the flag,
// when its nudge byte is not 0, the escape 105 and the nudge, and last its code
// byte. The escape 104 opens a block of unknown data that the reader skips;
// its entry keeps its value with the code of an empty entry.
//
// From an entry whose code byte (read right after its value) is a time or key
// signature on, the bytes 104 to 106 are plain codes: signature columns store
// numbers there (a time signature of 6 beats is the code 105).

#include <utility>

#include "common/AppServices.h"
#include "model/KChord.h"
#include "model/ModelGlobals.h"
#include "platform/CArchive.h"

namespace {

constexpr BYTE kEscapeBlock = 104;
constexpr BYTE kEscapeExtra = 105;
constexpr BYTE kEscapeFlag = 106;
constexpr BYTE kMarkedCode = 70;

bool IsEscape(BYTE b) { return b == kEscapeBlock || b == kEscapeExtra || b == kEscapeFlag; }
bool IsSignatureCode(BYTE b) { return b == KChord::kTimeSignature || b == KChord::kKeySignature; }
bool IsFretCode(BYTE b) { return b >= KChord::kFirstFret && b <= KChord::kLastFret; }

// Thresholds of older file layouts.
constexpr int kVersionEntryDurations = 20;   // before: a tablature column's duration was the column's only
constexpr int kVersionArrangedHeads = 32;    // before: note heads were not arranged on entry
constexpr int kVersionSortedStrings = 3494;  // before: tablature entries were not kept in string order

}  // namespace

void KChord::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    KPosObj::Serialize(ar);
    ar << m_stem0 << m_stem1 << static_cast<BYTE>(m_count);
    // An entry that carries a flag or nudge cannot follow a signature code
    // written plainly (the reader would take the escapes as codes), so such a
    // column writes its signature entry through an escape too. The escape 105
    // also carries the codes 104..106 of signature numbers whose column is not
    // read as a signature column. The bytes stay those of the plain layout for
    // every column that needs none of this.
    bool extrasFrom[kMaxNotes + 1] = {};
    for (int i = m_count - 1; i >= 0; --i) {
      extrasFrom[i] = extrasFrom[i + 1] || m_notes[i].flag != 0 || m_notes[i].extra != 0;
    }
    bool signature = false;
    for (int i = 0; i < m_count; ++i) {
      const NoteEntry& e = m_notes[i];
      ar << e.value;
      if (signature || (IsSignatureCode(e.code) && !extrasFrom[i])) {
        signature = true;
        ar << e.code;
        continue;
      }
      if (e.flag != 0) ar << kEscapeFlag << e.flag;
      if (e.extra != 0 || IsEscape(e.code) || IsSignatureCode(e.code)) ar << kEscapeExtra << e.extra;
      ar << e.code;
    }
    ar << static_cast<BYTE>(m_rhythm);
    return;
  }

  const int oldPos = GetPos();
  try {
    KPosObj::Serialize(ar);
    int stem0 = 0;
    int stem1 = 0;
    BYTE count = 0;
    ar >> stem0 >> stem1 >> count;
    // The format holds at most 20 entries; a larger count is a damaged record.
    if (count > kMaxNotes) AfxThrowArchiveException(CArchiveException::generic);

    NoteEntry notes[kMaxNotes];
    int kept = 0;
    bool signature = false;
    bool marked = false;
    for (int k = 0; k < count; ++k) {
      NoteEntry e;
      BYTE b = 0;
      ar >> e.value >> b;
      if (IsSignatureCode(b)) signature = true;
      if (b == kMarkedCode) {
        e.code = kMarkedCode;
        marked = true;
      } else if (!IsEscape(b) || signature) {
        e.code = b;
      } else if (b == kEscapeFlag) {
        BYTE c = 0;
        ar >> e.flag >> c;
        if (c == kEscapeExtra) {
          ar >> e.extra >> e.code;
        } else {
          e.code = c;
        }
      } else if (b == kEscapeExtra) {
        ar >> e.extra >> e.code;
      } else {
        // A block written by a newer program in place of the entry's symbol:
        // skip it. The entry keeps its value and holds no symbol (the code of
        // an empty entry), so the column keeps its entries and their order.
        BYTE length = 0;
        ar >> length;
        for (int i = 0; i < length; ++i) ar >> b;
        e.code = static_cast<BYTE>(kEmptyCode);
      }
      notes[kept++] = e;
    }
    BYTE rhythmByte = 0;
    ar >> rhythmByte;

    // Everything is read: take it over.
    for (int i = 0; i < kMaxNotes; ++i) m_notes[i] = i < kept ? notes[i] : NoteEntry{};
    m_count = kept;
    MarkEmptyEntry();
    m_stem0 = stem0;
    m_stem1 = stem1;
    m_rhythm = rhythmByte % 10 > 7 ? rhythmByte - rhythmByte % 10 : rhythmByte;
    if (marked) g_loadMarker = 1;
  } catch (...) {
    SetPos(oldPos);
    throw;
  }

  // Older layouts.
  if (g_fileVersion < kVersionEntryDurations && IsTabColumn()) {
    const int duration = TabDuration();
    for (int i = 0; i < m_count; ++i) {
      if (IsFretCode(m_notes[i].code)) m_notes[i].value = static_cast<BYTE>(m_notes[i].value + 10 * duration);
    }
  }
  if (g_fileVersion < kVersionSortedStrings && IsTabColumn() && m_count >= 2) SortTabEntriesByString();
  if (g_fileVersion < kVersionArrangedHeads) {
    ArrangeNoteHeads();
    for (int voice = 0; voice < 2; ++voice) {
      const int duration = GetVoiceDuration(voice);
      if (StemField(voice) == 0 && duration >= 8 && duration <= 11) StemField(voice) = kStemPlain;
    }
  }
  if (IsSignatureColumn()) {
    for (int i = 0; i < 3; ++i) m_notes[i].value = 1;
  }
}

void KChord::SortTabEntriesByString() {
  int head = 0;
  while (m_count - head > 1) {
    int lowest = -1;
    for (int i = head; i < m_count; ++i) {
      if (IsFretCode(m_notes[i].code) && (lowest < 0 || EntryString(i) < EntryString(lowest))) lowest = i;
    }
    if (lowest < 0) break;
    std::swap(m_notes[head], m_notes[lowest]);
    const int string = EntryString(head);
    ++head;
    for (int i = head; i < m_count; ++i) {
      if (EntryString(i) == string) std::swap(m_notes[head++], m_notes[i]);
    }
  }
}
