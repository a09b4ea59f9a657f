#include "model/KChord.h"

#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KChord, KPosObj, 90);

namespace {

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

}  // namespace

KChord::KChord() { MarkEmptyEntry(); }

KChord::KChord(int pos) : KPosObj(pos) { MarkEmptyEntry(); }

KChord::KChord(int pos, int rhythm) : KPosObj(pos), m_rhythm(rhythm) { MarkEmptyEntry(); }

KChord::KChord(int pos, int value, int code, int rhythm) : KPosObj(pos), m_rhythm(rhythm) {
  if (code == 9 || code == 11) {
    m_stem0 = kStemPlain;
  } else if (code == 8 || code == 10) {
    m_stem1 = kStemPlain;
  } else if (code == 26) {
    m_stem0 = m_stem1 = kStemPlain;
  } else if ((code >= 21 && code <= 25) || code == 10023) {
    m_stem0 = m_stem1 = kStemBar;
  }
  MarkEmptyEntry();
  if (value >= 37) return;

  NoteEntry& entry = m_notes[0];
  int stored = code % kFlaggedBase;
  if (stored == 88 && IsTabColumn()) stored = 100;
  entry.code = static_cast<BYTE>(stored);
  entry.flag = code >= kFlaggedBase ? kFlagFlagged : 0;
  entry.extra = 0;
  entry.value = static_cast<BYTE>(value);
  if (IsTabColumn() && IsFretCode(code)) {
    const int duration = (m_rhythm - kTabRhythm) / 10;
    entry.value = static_cast<BYTE>(duration * 10 + value);
    if (duration == 9 || duration == 11) m_stem0 = kStemPlain;
    if (duration == 8 || duration == 10) m_stem1 = kStemPlain;
  }
  m_count = 1;
}

KChord::KChord(const KChord& source, int pos, bool keepStems)
    : KPosObj(pos), m_count(source.m_count), m_rhythm(source.m_rhythm) {
  for (int i = 0; i < kMaxNotes; ++i) m_notes[i] = source.m_notes[i];
  if (keepStems) {
    m_stem0 = source.m_stem0;
    m_stem1 = source.m_stem1;
  } else {
    for (int voice = 0; voice < 2; ++voice) {
      const int stem = source.GetStemEnd(voice);
      StemField(voice) = stem >= 1 && stem <= 6 ? stem : 0;
    }
  }
}

void KChord::CopyFrom(const KChord& source) {
  if (&source == this) return;
  int stems[2];
  for (int voice = 0; voice < 2; ++voice) {
    const int stem = source.GetStemEnd(voice);
    stems[voice] = stem >= 1 && stem <= 6 ? stem : 0;
  }
  for (int i = 0; i < kMaxNotes; ++i) m_notes[i] = source.m_notes[i];
  m_count = source.m_count;
  m_stem0 = stems[0];
  m_stem1 = stems[1];
  m_rhythm = source.m_rhythm;
  SetPos(source.GetPos());
}

// ---- Small helpers ----

void KChord::MarkEmptyEntry() {
  if (m_count == 0) m_notes[0] = NoteEntry{0, static_cast<BYTE>(kEmptyCode), 0, 0};
}

int KChord::FullCode(int i) const {
  const NoteEntry& e = m_notes[i];
  return (e.flag & kFlagFlagged) ? kFlaggedBase + e.code : e.code;
}

int KChord::EntryPosition(int i) const { return IsTabColumn() ? m_notes[i].value % 10 : m_notes[i].value; }

bool KChord::IsFretEntry(int i) const {
  return (m_notes[i].flag & kFlagFlagged) == 0 && IsFretCode(m_notes[i].code);
}

bool KChord::IsSignatureColumn() const {
  const int first = FirstCode();
  return first == kTimeSignature || first == kKeySignature;
}

int KChord::TabDuration() const { return (m_rhythm - kTabRhythm) / 10; }

void KChord::ResetTabRhythm() {
  if (m_rhythm > kMaxTabRhythm) m_rhythm = kTabRhythm;
}

void KChord::MakeSingleEntry(int value, int code, int flag, int extra) {
  m_notes[0] = NoteEntry{static_cast<BYTE>(value), static_cast<BYTE>(code), static_cast<BYTE>(flag),
                         static_cast<BYTE>(extra)};
  m_count = 1;
}

void KChord::InsertEntry(int at, const NoteEntry& entry) {
  for (int i = m_count; i > at; --i) m_notes[i] = m_notes[i - 1];
  m_notes[at] = entry;
  ++m_count;
}

void KChord::EraseEntry(int at) {
  for (int i = at; i + 1 < m_count; ++i) m_notes[i] = m_notes[i + 1];
  --m_count;
  MarkEmptyEntry();
}

// ---- Accessors ----

void KChord::SetNoteCount(int count) {
  m_count = count < 0 ? 0 : (count > kMaxNotes ? kMaxNotes : count);
  MarkEmptyEntry();
}

NotePair KChord::GetNote(int i) const {
  if (i < 0 || i >= m_count) return {0, kEmptyCode};
  return {EntryPosition(i), FullCode(i)};
}

NotePair KChord::GetRawNote(int i) const {
  if (i < 0 || i >= m_count) return {0, kEmptyCode};
  return {m_notes[i].value, m_notes[i].code};
}

EntryWords KChord::GetEntry(int i) const {
  const NoteEntry& e = RawEntry(i);
  return {static_cast<WORD>(e.value + 256 * e.code), static_cast<WORD>(e.flag + 256 * e.extra)};
}

const NoteEntry& KChord::RawEntry(int i) const {
  static const NoteEntry kEmpty{0, static_cast<BYTE>(kEmptyCode), 0, 0};
  return i >= 0 && i < m_count ? m_notes[i] : kEmpty;
}

void KChord::SetNoteCode(int i, int code) {
  if (i >= 0 && i < kMaxNotes) m_notes[i].code = static_cast<BYTE>(code);
}

void KChord::SetNoteValue(int i, int value) {
  if (i < 0 || i >= kMaxNotes) return;
  NoteEntry& e = m_notes[i];
  if (IsTabColumn() && IsFretEntry(i)) {
    if (value >= 0 && value <= 9) e.value = static_cast<BYTE>(e.value / 10 * 10 + value);
    return;
  }
  e.value = static_cast<BYTE>(value);
}

void KChord::SetEntry(int i, EntryWords words) {
  if (i < 0 || i >= kMaxNotes) return;
  m_notes[i] = NoteEntry{LOBYTE(words.valueAndCode), HIBYTE(words.valueAndCode), LOBYTE(words.flagAndExtra),
                         HIBYTE(words.flagAndExtra)};
}

void KChord::SetNoteFlags(int i, int flags) {
  if (i >= 0 && i < kMaxNotes) m_notes[i].flag = static_cast<BYTE>(flags);
}

bool KChord::IsNoteMarked(int i) const { return (RawEntry(i).flag & kFlagMark) != 0; }

void KChord::SetNoteMark(int i, bool on) {
  if (i < 0 || i >= kMaxNotes) return;
  if (on) {
    m_notes[i].flag |= kFlagMark;
  } else {
    m_notes[i].flag &= static_cast<BYTE>(~kFlagMark);
  }
}

int KChord::GetNoteOffset(int i, bool vertical) const {
  const int extra = RawEntry(i).extra;
  if (vertical) {
    const int v = extra >> 5;
    return v <= 3 ? v : 3 - v;
  }
  const int h = extra & 31;
  if (h >= 1 && h <= 15) return 2 * h;
  if (h >= 17) return -2 * (h - 16);
  return 0;
}

int KChord::GetNoteStyleAt(int i) const {
  const int style = RawEntry(i).flag & kFlagStyleMask;
  return style ? style - 1 : GetNoteStyle();
}

void KChord::SetVoiceStem(int voice, int value) {
  if (voice == 0) {
    m_stem0 = value;
  } else {
    m_stem1 = value;
  }
}

int KChord::CountNotes() const {
  const int first = FirstCode();
  if (first == kTimeSignature || first == kKeySignature || first == 26) return 0;
  int notes = 0;
  for (int i = 0; i < m_count; ++i) {
    if (IsTabColumn() ? IsFretCode(m_notes[i].code) : m_notes[i].code < 14) ++notes;
  }
  return notes;
}

int KChord::GetFretOnString(int string) const {
  for (int i = 0; i < m_count; ++i) {
    if (IsFretCode(m_notes[i].code) && EntryPosition(i) == string) return m_notes[i].code - kFirstFret;
  }
  return kNone;
}

int KChord::GetLowestFret() const {
  if (!IsTabColumn()) return 0;
  int lowest = -1;
  for (int i = 0; i < m_count; ++i) {
    if (!IsFretCode(m_notes[i].code)) continue;
    const int fret = m_notes[i].code - kFirstFret;
    if (lowest < 0 || fret < lowest) lowest = fret;
  }
  return lowest;
}

int KChord::GetNoteRhythm(int i) {
  if (IsTabColumn()) ResetTabRhythm();
  if (i < 0 || i >= m_count || !IsFretCode(m_notes[i].code)) return kNoDuration;
  return m_notes[i].value / 10;
}

int KChord::GetCodeAt(int position) const {
  for (int i = m_count - 1; i >= 0; --i) {
    if (EntryPosition(i) == position) return FullCode(i);
  }
  return kNone;
}

void KChord::Clear() {
  m_count = 0;
  MarkEmptyEntry();
  m_stem0 = m_stem1 = 0;
  m_rhythm = 0;
}
