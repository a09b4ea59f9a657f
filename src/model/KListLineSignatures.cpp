// The key and time signature in force at a column of a line.
//
// A time-signature column holds the code 225 in its first entry, the beats code
// in its second and the note-value code in its third; a key-signature column
// holds 254 in its first entry and the key in its second.
//
// The time signature has two parts: the start of the line (startBeats,
// startBeatTicks) and the signature in force (overrideBeats and its beat
// length): above 0 a user override that wins everywhere, below 0 the negated
// beats of the line's last time-signature column, 0 while not derived yet.

#include <cstdlib>

#include "model/KChord.h"
#include "model/KListLine.h"

namespace {

bool IsSignatureColumn(const CObject* object, int code, const KChord** column) {
  const KChord* chord = AsChord(object);
  if (chord == nullptr || chord->GetNoteCount() == 0 || chord->GetRawNote(0).code != code) return false;
  *column = chord;
  return true;
}

int Magnitude(int value) { return value == INT32_MIN ? INT32_MAX : std::abs(value); }

}  // namespace

void KListLine::DecodeTimeSignature(const KChord& column, int& beats, int& beatTicks) {
  const int beatsCode = column.GetRawNote(1).code;
  const int noteCode = column.GetRawNote(2).code;
  if (beatsCode == 98) {
    beats = 4;
    beatTicks = 480;
  } else if (beatsCode == 99) {
    beats = 2;
    beatTicks = 960;
  } else {
    beats = beatsCode - 99;
    switch (noteCode - 99) {
      case 1:
        beatTicks = 1920;
        break;
      case 2:
        beatTicks = 960;
        break;
      case 8:
        beatTicks = 240;
        break;
      case 16:
        beatTicks = 120;
        break;
      default:
        beatTicks = 480;
        break;
    }
  }
}

int KListLine::GetKeySignatureAt(int column) const {
  if (column == 0 || !TestFlags(kFlagKeyChanges)) return m_key;
  const KChord* found = nullptr;
  const KChord* keyColumn = nullptr;
  // Both walks give the same answer; the shorter one is taken.
  const int length = const_cast<KListLine*>(this)->GetLength();
  if (column < length / 2) {
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const CObject* object = m_objects.GetNext(node);
      if (static_cast<const KPosObj*>(object)->GetPos() >= column) break;
      if (IsSignatureColumn(object, KChord::kKeySignature, &keyColumn)) found = keyColumn;
    }
  } else {
    for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
      const CObject* object = m_objects.GetPrev(node);
      if (static_cast<const KPosObj*>(object)->GetPos() >= column) continue;
      if (IsSignatureColumn(object, KChord::kKeySignature, &keyColumn)) {
        found = keyColumn;
        break;
      }
    }
  }
  if (found == nullptr) return m_key;
  const int key = found->GetRawNote(1).code;
  return key < 16 ? key : 0;
}

void KListLine::GetTimeSignatureAt(int column, int& beats, int& beatTicks, int raw) {
  beats = m_overrideBeats;
  beatTicks = m_overrideBeatTicks;
  const int family = GetFamily();
  if (m_overrideBeats > 0 || column == kWholeLineColumn || family == kFamilyChord ||
      family == kFamilyRhythm) {
    if (raw == 0) beats = Magnitude(m_overrideBeats);
    return;
  }

  POSITION foundNode = nullptr;
  const KChord* found = nullptr;
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    const CObject* object = m_objects.GetPrev(node);
    if (static_cast<const KPosObj*>(object)->GetPos() > column) continue;
    if (IsSignatureColumn(object, KChord::kTimeSignature, &found)) {
      foundNode = here;
      break;
    }
  }
  if (foundNode == nullptr) {
    beats = m_startBeats;
    beatTicks = m_startBeatTicks;
    return;
  }

  DecodeTimeSignature(*found, beats, beatTicks);
  const bool isFirst = foundNode == m_objects.GetHeadPosition();
  if (column == kDeriveColumn || m_overrideBeats == 0) {
    m_overrideBeats = -beats;
    m_overrideBeatTicks = beatTicks;
  }
  if (isFirst) {
    m_startBeats = beats;
    m_startBeatTicks = beatTicks;
  }
}

void KListLine::SetTimeSignature(int beats, int beatTicks, int initial) {
  m_changed = 1;
  if (initial == 0) {
    m_overrideBeats = beats;
    m_overrideBeatTicks = beatTicks;
    return;
  }
  m_startBeats = beats;
  m_startBeatTicks = beatTicks;
  m_overrideBeats = -1;
  const KChord* found = nullptr;
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    if (IsSignatureColumn(m_objects.GetPrev(node), KChord::kTimeSignature, &found)) {
      int decodedBeats = 0;
      int decodedTicks = 0;
      DecodeTimeSignature(*found, decodedBeats, decodedTicks);
      m_overrideBeats = -decodedBeats;
      m_overrideBeatTicks = decodedTicks;
      if (here == m_objects.GetHeadPosition()) {
        m_startBeats = decodedBeats;
        m_startBeatTicks = decodedTicks;
      }
      return;
    }
  }
  m_overrideBeats = m_startBeats;
  m_overrideBeatTicks = m_startBeatTicks;
}
