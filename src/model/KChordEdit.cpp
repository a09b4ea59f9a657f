// The editing rules of a note column: which symbols may stand together, what a
// new symbol replaces, and how entries are removed, nudged, restyled and given
// a new duration. Positions are staff steps on a staff column and string
// numbers 0..9 on a tablature column; the voice of a staff note is the parity
// of its code (odd: voice 0, even: voice 1).

#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "common/ViewServices.h"
#include "model/KChord.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kColumnFullMessage = 7061;
constexpr UINT kFretRangeMessage = 7025;
constexpr int kNothingMoved = 1000;

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
bool IsBarCode(int code) { return (code >= 21 && code <= 26) || code == 96 || code == 97; }
bool IsQuarterOrHalf(int code) { return code >= 8 && code <= 11; }
// Durations 14..17 are the stemless quarter and half forms of 8..11.
int PlainDuration(int duration) { return duration >= 14 && duration <= 17 ? duration - 6 : duration; }

// The symbols that toggle with their partner when added where one stands:
// 28/29, 30/31 ... 76/77, 89/90, 91/92 (so a sharp on a sharp makes a double
// sharp), and 100/101.
int PairPartner(int code) {
  if (code >= 28 && code <= 77) return code % 2 == 0 ? code + 1 : code - 1;
  switch (code) {
    case 89:
      return 90;
    case 90:
      return 89;
    case 91:
      return 92;
    case 92:
      return 91;
    case 100:
      return 101;
    case 101:
      return 100;
    default:
      return -1;
  }
}

bool TogglesWithPartner(int code) {
  const int low = code % KChord::kFlaggedBase;
  return (low >= 28 && low <= 77) || (low >= 89 && low <= 92) || code == 100;
}

// Symbols placed above or below their note by the voice of the note.
bool HasPlacementMark(int code) { return code == 85 || code == 10048 || code == 10050 || code == 10085; }

int RefuseFullColumn() {
  AfxMessageBox(kColumnFullMessage);
  return -1;
}

}  // namespace

int KChord::AddNote(int position, int code, int packed, int duration) {
  int style = packed & 0xFF;
  const int extra = (packed >> 8) & 0xFF;
  if (style - 1 == m_rhythm) style = 0;
  style &= kFlagStyleMask;
  const bool nudged = extra != 0;
  const int first = FirstCode();

  if (code < 0 || code >= 2 * kFlaggedBase || code % kFlaggedBase > 255) return -1;
  if (m_stem0 == kStemBar && code != 24 && code != 26 && code != 89 && code != 90) return -1;

  // Key signature: entry 0 is the marker, the further entries its numbers.
  if (code == kKeySignature || first == kKeySignature) {
    if (first != kKeySignature) {
      MakeSingleEntry(1, kKeySignature, 0, extra);
    } else {
      if (m_count >= kMaxNotes) return RefuseFullColumn();
      InsertEntry(m_count, NoteEntry{1, static_cast<BYTE>(code % kFlaggedBase), 0, static_cast<BYTE>(extra)});
      m_stem0 = m_stem1 = kStemPlain;
    }
    return m_count;
  }

  // Bar lines replace the whole column; some combine with the bar before.
  if (IsBarCode(code)) {
    int stored = code;
    if (code == 24) {
      if (first == 25) {
        stored = 96;
      } else if (first != kEmptyCode) {
        return -1;
      }
    } else if (code == 26) {
      if (first == 26) {
        stored = 97;
      } else if (first != 97 && first != kEmptyCode) {
        return -1;
      }
    }
    MakeSingleEntry(1, stored, 0, extra);
    m_stem0 = m_stem1 = (code == 26 || code == 97) ? kStemPlain : kStemBar;
    return 0;
  }

  // Time signature: entry 0 is the marker, the further entries its numbers.
  if (code == kTimeSignature || first == kTimeSignature) {
    if (first != kTimeSignature) {
      MakeSingleEntry(1, kTimeSignature, 0, extra);
    } else {
      if (m_count >= kMaxNotes) return RefuseFullColumn();
      const BYTE flag = code >= kFlaggedBase ? kFlagFlagged : 0;
      InsertEntry(m_count,
                  NoteEntry{1, static_cast<BYTE>(code % kFlaggedBase), flag, static_cast<BYTE>(extra)});
    }
    if (m_count == 3 || (m_count >= 2 && (m_notes[1].code == 0 || m_notes[1].code == 13))) {
      m_stem0 = m_stem1 = kStemPlain;
    }
    return m_count;
  }

  if (m_count >= kMaxNotes) return RefuseFullColumn();
  if (IsTabColumn() && code == 88) code = 100;

  const bool flagged = code >= kFlaggedBase;
  const int low = code % kFlaggedBase;

  // A mark placed by the voice of the note it belongs to: set for voice 1 or
  // no note, cleared for voice 0.
  bool mark = false;
  if (HasPlacementMark(code)) {
    mark = true;
    for (int i = m_count - 1; i >= 0; --i) {
      const int c = FullCode(i);
      if (EntryPosition(i) == position && c < 12 && c != low) {
        mark = c % 2 == 0;
        break;
      }
    }
  }
  const int flag = (flagged ? kFlagFlagged : 0) | style | (mark ? kFlagMark : 0);

  if (m_count == 0) {
    if (!IsTabColumn()) {
      MakeSingleEntry(position, low, flag, extra);
      if (!flagged && (low == 9 || low == 11)) m_stem0 = kStemPlain;
      if (!flagged && (low == 8 || low == 10)) m_stem1 = kStemPlain;
      return 0;
    }
    if (flagged && low <= 12) {
      MessageBeep(MB_ICONASTERISK);
      return -1;
    }
    const int string = (position % 10 + 10) % 10;
    if (IsFretCode(code)) {
      const int d = TabFretDuration(duration);
      MakeSingleEntry(d * 10 + string, low, flag, extra);
      if (d == 9 || d == 11) m_stem0 = kStemPlain;
      if (d == 8 || d == 10) m_stem1 = kStemPlain;
    } else {
      MakeSingleEntry(string, low, flag, extra);
    }
    return 0;
  }

  // A fret typed on a string that has one replaces it, or with the fret 1 or 2
  // before it forms a two-digit fret. Bulk entry adds further frets instead.
  if (IsTabColumn() && IsFretCode(code) && !g_bulkEntry) {
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i) || EntryString(i) != position) continue;
      const int oldFret = m_notes[i].code - kFirstFret;
      int fret = low - kFirstFret;
      if (fret < 10 && (oldFret == 1 || oldFret == 2)) {
        fret += oldFret * 10;
        // The fret list may claim more frets than the codes can hold.
        int highest = ParseFretList(g_CurrentTuning, nullptr);
        if (highest > kLastFret - kFirstFret) highest = kLastFret - kFirstFret;
        if (fret > highest) {
          CString range;
          range.Format("%d", highest);
          CString text;
          AfxFormatString1(text, kFretRangeMessage, range);
          AfxMessageBox(text, MB_OK);
          return -1;
        }
      }
      m_notes[i].code = static_cast<BYTE>(kFirstFret + fret);
      if (!nudged) ArrangeNoteHeads();
      return i;
    }
  }

  // Accidentals, marks and ornaments toggle with their partner.
  if (TogglesWithPartner(code)) {
    const int partner = (flagged ? kFlaggedBase : 0) + PairPartner(low);
    for (int i = 0; i < m_count; ++i) {
      const int c = FullCode(i);
      if (EntryPosition(i) != position || (c != code && c != partner)) continue;
      m_notes[i].code = static_cast<BYTE>(PairPartner(m_notes[i].code));
      if (!nudged) ArrangeNoteHeads();
      return i;
    }
  }

  if (IsTabColumn()) return AddToTabColumn(position, code, flag, extra, duration);

  const NoteEntry entry{static_cast<BYTE>(position), static_cast<BYTE>(low), static_cast<BYTE>(flag),
                        static_cast<BYTE>(extra)};
  if (!flagged && low < 12) {
    // Notes stand as voice-1 notes by rising step, then voice-0 notes by
    // rising step, then the other symbols.
    if (low == 9 || low == 11) m_stem0 = kStemPlain;
    if (low == 8 || low == 10) m_stem1 = kStemPlain;
    const bool voice1 = low % 2 == 0;
    int at = 0;
    for (; at < m_count; ++at) {
      const int c = FullCode(at);
      if (c > 11) break;
      if (voice1 && c % 2 == 1) break;
      if (c % 2 == low % 2 && m_notes[at].value >= position) break;
    }
    InsertEntry(at, entry);
    if (!nudged) ArrangeNoteHeads();
    return at;
  }
  if (code == kEmptyCode) {
    FillDots();
    if (!nudged) ArrangeNoteHeads();
    return m_count;
  }
  InsertEntry(m_count, entry);
  if (!nudged) ArrangeNoteHeads();
  return m_count;
}

int KChord::AddToTabColumn(int position, int code, int flag, int extra, int duration) {
  if (position < 0 || position > 9) return -1;
  const bool flagged = code >= kFlaggedBase;
  const int low = code % kFlaggedBase;
  if (code == kEmptyCode) {
    FillDots();
    if (extra == 0) ArrangeNoteHeads();
    return m_count;
  }

  int value = position;
  if (flagged && low <= 12) {
    // A duration mark of the fret on its string.
    if (GetFretOnString(position) == kNone) {
      MessageBeep(MB_ICONASTERISK);
      return -1;
    }
    value = low * 10 + position;
  }
  const bool fret = IsFretCode(code);
  int d = 0;
  if (fret) {
    d = TabFretDuration(duration);
    value = d * 10 + position;
  }

  // After the entries of lower strings and of its own string, but a further
  // fret goes before the fret already on the string.
  int at = m_count;
  for (int i = 0; i < m_count; ++i) {
    if (EntryString(i) > position || (fret && EntryString(i) == position && IsFretEntry(i))) {
      at = i;
      break;
    }
  }
  InsertEntry(at, NoteEntry{static_cast<BYTE>(value), static_cast<BYTE>(low), static_cast<BYTE>(flag),
                            static_cast<BYTE>(extra)});
  if (fret) {
    if (d == 9 || d == 11) m_stem0 = kStemPlain;
    if (d == 8 || d == 10) m_stem1 = kStemPlain;
  }
  if (extra == 0) ArrangeNoteHeads();
  return at;
}

int KChord::TabFretDuration(int duration) {
  ResetTabRhythm();
  int d = duration;
  if (d >= 108 && d <= 111) {
    d -= 94;
  } else if (d < 0 || d > 17) {
    d = TabDuration();
  }
  if (IsQuarterOrHalf(d)) {
    // A quarter or half beside shorter frets of its voice loses its stem.
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i)) continue;
      const int other = PlainDuration(EntryDuration(i));
      if (other % 2 == d % 2 && !(other >= 8 && other <= 12)) return d + 6;
    }
    return d;
  }
  // The column takes the duration of its new fret.
  m_rhythm = m_rhythm % 10 + kTabRhythm + 10 * d;
  return d;
}

int KChord::VoiceCode(int i) const {
  if (IsTabColumn()) return IsFretEntry(i) ? EntryDuration(i) : -1;
  const int code = FullCode(i);
  return code <= kWholeNote ? code : -1;
}

void KChord::FillDots() {
  for (int i = 0; i < m_count; ++i) {
    if (FullCode(i) == kDoubleDot) m_notes[i].code = kDot;
  }
  const int count = m_count;
  for (int i = 0; i < count && m_count < kMaxNotes; ++i) {
    const bool note = IsTabColumn() ? IsFretEntry(i) : FullCode(i) <= kWholeNote;
    if (!note) continue;
    const int position = EntryPosition(i);
    bool dotted = false;
    for (int j = 0; j < m_count && !dotted; ++j)
      dotted = m_notes[j].code == kDot && EntryPosition(j) == position;
    if (!dotted) InsertEntry(m_count, NoteEntry{static_cast<BYTE>(position), kDot, 0, 0});
  }
}

namespace {

bool IsDotCode(int code) { return code == KChord::kDot || code == KChord::kDoubleDot; }

}  // namespace

bool KChord::TakeLooseDot(int position) {
  // A note head or rest: what a dot lengthens.
  auto isHead = [this](int i) {
    const int code = FullCode(i);
    if (code >= 14 && code <= 20) return true;
    return IsTabColumn() ? IsFretEntry(i) : code <= kWholeNote;
  };
  auto headAt = [&](int at) {
    for (int i = 0; i < m_count; ++i) {
      if (isHead(i) && EntryPosition(i) == at) return true;
    }
    return false;
  };
  if (!headAt(position)) return false;
  for (int i = 0; i < m_count; ++i) {
    if (IsDotCode(FullCode(i)) && EntryPosition(i) == position) return false;
  }
  for (int i = 0; i < m_count; ++i) {
    if (!IsDotCode(FullCode(i)) || headAt(EntryPosition(i))) continue;
    // A tablature entry keeps its string in the units of its value.
    const int value =
        IsTabColumn() ? m_notes[i].value - m_notes[i].value % 10 + (position % 10 + 10) % 10 : position;
    m_notes[i].value = static_cast<BYTE>(value);
    ArrangeNoteHeads();
    return true;
  }
  return false;
}

bool KChord::HoldsOnlyDots() const {
  if (m_count == 0) return false;
  for (int i = 0; i < m_count; ++i) {
    if (!IsDotCode(FullCode(i))) return false;
  }
  return true;
}

int KChord::NeedsOwnColumn(int position, int code, bool anyVoice) const {
  const int e0 = FirstCode();
  const bool afterBarMark = e0 == 89 || e0 == 90;
  if (code == 21 || code == 22 || code == 25) return 1;
  if (code == 23) return afterBarMark ? 0 : 1;
  if (code == 24) return (e0 == 25 || afterBarMark) ? 0 : 1;
  if (code == 26) return (afterBarMark || e0 == 26 || e0 == 97) ? 0 : 1;
  if (IsBarColumn() || e0 == 26) return (code == 89 || code == 90) ? 0 : 1;
  if (code == kTimeSignature || code == kKeySignature) return 1;
  if (e0 == kTimeSignature && m_stem0 == kStemPlain) return 1;

  const int here = GetCodeAt(position);
  if (here == kNone) return 0;
  if (anyVoice) return 1;
  if (IsTabColumn()) {
    if (!IsFretCode(code)) return 0;
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i) || EntryString(i) != position) continue;
      const int c = m_notes[i].code;
      return (c == kFirstFret || c >= kFirstFret + 3) ? 1 : 0;
    }
    return 0;
  }
  if (code > 20 || here > 20) return 0;
  if ((code >= 13 && code <= 20) || (here >= 13 && here <= 20)) return 1;
  if (code == kWholeNote || here == kWholeNote) return 0;
  if (IsQuarterOrHalf(code) && IsQuarterOrHalf(here)) return 0;
  return code % 2 == here % 2 ? 1 : 0;
}

int KChord::RemoveNote(int position, int mode) {
  if (m_count == 0) return 0;
  auto isNote = [this](int i) { return IsTabColumn() ? IsFretEntry(i) : FullCode(i) <= kWholeNote; };
  auto matches = [&](int i) {
    if (EntryPosition(i) != position) return false;
    const bool tab = IsTabColumn();
    const int c = FullCode(i);
    // On a tablature column the notes are the frets, in the voice of the
    // parity of their duration.
    const int voiceCode = tab ? PlainDuration(EntryDuration(i)) : c;
    const bool shortEnough = tab ? IsFretEntry(i) && voiceCode < 12 : c < 12;
    switch (mode) {
      case 0:
      case 1:
        return true;
      case 2:
        return shortEnough && voiceCode % 2 == 0;
      case 3:
        return shortEnough && voiceCode % 2 == 1;
      case 4:
        return tab ? IsFretEntry(i) : c < 13;
      default:
        return false;
    }
  };

  int removed = kNone;
  bool removedNote = false;
  for (int i = m_count - 1; i >= 0; --i) {
    if (!matches(i)) continue;
    if (removed == kNone) removed = FullCode(i);
    removedNote = removedNote || isNote(i);
    EraseEntry(i);
    if (mode != 0) break;
  }
  if (removed == kNone) return kNone;

  if (m_count == 0) {
    m_stem0 = m_stem1 = 0;
  } else if (removedNote) {
    ResetPlainStems();
  }
  if (!IsTabColumn()) {
    int last = -1;
    int notes = 0;
    for (int i = 0; i < m_count; ++i) {
      if (FullCode(i) < 14) {
        ++notes;
        last = i;
      }
    }
    if (notes == 1) m_notes[last].extra = 0;
  }
  ArrangeNoteHeads();
  return removed;
}

void KChord::ResetPlainStems() {
  for (int voice = 0; voice < 2; ++voice) {
    int& stem = StemField(voice);
    if (stem != kStemPlain) continue;
    stem = 0;
    for (int i = 0; i < m_count; ++i) {
      const int c = VoiceCode(i);
      if (IsQuarterOrHalf(c) && c % 2 != voice) stem = kStemPlain;
    }
  }
}

int KChord::RemoveSymbolAt(int i) {
  if (m_count <= 1 || i < 0 || i >= m_count) return -1;
  const int code = FullCode(i);
  if (code < 14) return -1;
  EraseEntry(i);
  return code;
}

void KChord::RemoveEntry(int i) {
  if (i >= 0 && i < m_count) EraseEntry(i);
}

void KChord::RemoveCode(int code) {
  const int low = code & 0xFF;
  for (int i = m_count - 1; i >= 0 && m_count > 1; --i) {
    if ((m_notes[i].flag & kFlagFlagged) == 0 && m_notes[i].code == low) EraseEntry(i);
  }
}

int KChord::RemoveFretOnString(int string) {
  if (IsTabColumn()) ResetTabRhythm();
  for (int i = 0; i < m_count; ++i) {
    if (IsFretEntry(i) && EntryPosition(i) == string) {
      const int fret = m_notes[i].code - kFirstFret;
      EraseEntry(i);
      return fret;
    }
  }
  return kNone;
}

int KChord::NudgeNote(int position, int key) {
  int target = -1;
  if (IsTabColumn()) {
    for (int i = m_count - 1; i >= 0 && target < 0; --i) {
      if (EntryString(i) == position && !IsFretEntry(i)) target = i;
    }
  } else {
    for (int i = m_count - 1; i >= 0 && target < 0; --i) {
      if (EntryPosition(i) == position && FullCode(i) > 11) target = i;
    }
    for (int i = m_count - 1; i >= 0 && target < 0; --i) {
      if (EntryPosition(i) == position && IsQuarterOrHalf(FullCode(i))) target = i;
    }
  }
  if (target < 0) return kNothingMoved;

  // A quarter or half note moved sideways takes the vertical code 1, which
  // gives it a stem of its own; such notes never move up or down.
  const bool ownStem = !IsTabColumn() && IsQuarterOrHalf(FullCode(target));
  const int h = m_notes[target].extra & 31;
  const int v = m_notes[target].extra >> 5;
  int steps = (h >= 1 && h <= 15) ? h : (h >= 17 ? 16 - h : 0);
  int y = v <= 3 ? v : 3 - v;
  switch (key) {
    case 37:
      if (steps <= -15) return kNothingMoved;
      --steps;
      break;
    case 39:
      if (steps >= 15) return kNothingMoved;
      ++steps;
      break;
    case 38:
      if (ownStem || y <= -4) return kNothingMoved;
      --y;
      break;
    case 40:
      if (ownStem || y >= 3) return kNothingMoved;
      ++y;
      break;
    default:
      return kNothingMoved;
  }
  if (ownStem) y = 1;
  const int newH = steps >= 0 ? steps : 16 - steps;
  const int newV = y >= 0 ? y : 3 - y;
  m_notes[target].extra = static_cast<BYTE>(newH | newV << 5);
  return m_notes[target].extra;
}

void KChord::SetNoteStyle(int style, int position) {
  if (style < 0 || style >= 13) return;
  if (position == -1 && style <= 7) {
    m_rhythm = m_rhythm - m_rhythm % 10 + style;
    return;
  }
  for (int i = 0; i < m_count; ++i) {
    const bool note = IsTabColumn() ? IsFretEntry(i) && EntryString(i) == position
                                    : EntryPosition(i) == position && FullCode(i) <= kWholeNote;
    if (note) m_notes[i].flag = static_cast<BYTE>((m_notes[i].flag & ~kFlagStyleMask) | (style + 1));
  }
}

int KChord::SetNoteDuration(int& code, int modeAndString) {
  // Signature columns hold numbers in the note codes' range: never notes.
  if (IsBarColumn() || IsSignatureColumn()) return 0;
  int arg = modeAndString;
  if (arg > 13036) arg -= 10000;
  if (arg < 0) arg = 0;
  int mode = arg / 1000 % 10 * 1000;
  const int string = arg % 100;
  int d = code;
  if (d < 0 || d > 17) return 0;
  if (d == kWholeNote) mode = 1000;

  auto newDuration = [&](int old) {
    switch (mode) {
      case 1000:
        return d;
      case 2000:
        return (old % 2 == d % 2 && old != kWholeNote) ? d : -1;
      case 3000:
        return (d & ~1) | (old & 1);
      default:
        return -1;
    }
  };

  bool changed = false;
  if (!IsTabColumn()) {
    for (int i = 0; i < m_count; ++i) {
      const int old = FullCode(i);
      if (old > kWholeNote) continue;
      const int now = newDuration(old);
      if (now < 0 || now == old) continue;
      m_notes[i].code = static_cast<BYTE>(now);
      changed = true;
    }
  } else {
    ResetTabRhythm();
    const int style = m_rhythm % 10;
    if (d != 13) m_rhythm = style + kTabRhythm + 10 * d;
    if (string >= 1) {
      for (int i = 0; i < m_count; ++i) {
        if (!IsFretEntry(i) || EntryString(i) != string) continue;
        int now = d;
        if (IsQuarterOrHalf(d)) {
          for (int j = 0; j < m_count; ++j) {
            if (j == i || !IsFretEntry(j)) continue;
            const int other = PlainDuration(EntryDuration(j));
            if (other % 2 == d % 2 && other < 8) now = d + 6;
          }
          if (now != d) {
            m_rhythm = style + kTabRhythm + 10 * now;
            code = now;
          }
        }
        if (EntryDuration(i) != now) changed = true;
        m_notes[i].value = static_cast<BYTE>(now * 10 + string);
        break;
      }
    } else {
      for (int i = 0; i < m_count; ++i) {
        if (!IsFretEntry(i)) continue;
        const int old = EntryDuration(i);
        const int now = newDuration(PlainDuration(old));
        if (now < 0 || now == old) continue;
        m_notes[i].value = static_cast<BYTE>(now * 10 + EntryString(i));
        changed = true;
      }
    }
  }

  if (changed) {
    if (d == kWholeNote) {
      m_stem0 = m_stem1 = 0;
    } else {
      // Quarters and halves draw without flag or beam; a voice that no longer
      // holds one must get its flags back.
      for (int voice = 0; voice < 2; ++voice) {
        bool plain = false;
        for (int i = 0; i < m_count; ++i) {
          const int c = VoiceCode(i);
          if (IsQuarterOrHalf(c) && c % 2 != voice) plain = true;
        }
        int& stem = StemField(voice);
        if (plain) {
          stem = kStemPlain;
        } else if (stem == kStemPlain) {
          stem = 0;
        }
      }
    }
  }
  for (int voice = 0; voice < 2; ++voice) {
    bool hasNote = false;
    for (int i = 0; i < m_count && !hasNote; ++i) {
      const int c = VoiceCode(i);
      hasNote = c >= 0 && (c == kWholeNote || c % 2 != voice);
    }
    int& stem = StemField(voice);
    if (!hasNote && stem != kStemBar) stem = 0;
  }
  return changed ? 1 : 0;
}
