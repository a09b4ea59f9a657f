// How long a note column lasts, which duration each voice has, how many flags
// a voice shows, which note is the extreme note of a voice and where its stem
// ends. Time is counted in ticks, 480 to the quarter note.
//
// A negative voice or mode argument (its bitwise complement is the voice or
// mode) also counts the special symbols (grace and ornament heads) as notes.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "common/Globals.h"
#include "model/DocServices.h"
#include "model/KChord.h"

namespace {

constexpr int kSteps = 37;

// Grace and ornament heads, counted as notes when asked for.
bool IsSpecialSymbol(int code) {
  static constexpr int kSpecial[] = {13,    70,    71,    10003, 10004, 10005, 10006, 10007,
                                     10013, 10070, 10071, 10076, 10077, 10089, 10090};
  return std::find(std::begin(kSpecial), std::end(kSpecial), code) != std::end(kSpecial);
}

// Voice 0 takes the odd codes, voice 1 the even ones, voice 3 both; a whole
// note belongs to every voice.
bool FitsVoice(int code, int voice) {
  return voice == 3 || code == KChord::kWholeNote || (code % 2 == 1 ? voice == 0 : voice == 1);
}

int SizeIndex(int sizeIndex) { return sizeIndex == 1 ? 1 : 0; }

}  // namespace

int KChord::GetTicks(int voice, bool byStyle) const {
  if (voice < 0) voice = ~voice;
  if (m_stem0 == kStemBar || IsSignatureColumn()) return 0;

  // Per step: the shortest note's ticks (0: none) and the eighths of its
  // plain length that a dot there gives it.
  int ticks[kSteps] = {};
  int eighths[kSteps];
  for (int& e : eighths) e = kPlainEighths;
  auto contribute = [&](int step, int t) {
    if (step < 0 || step >= kSteps || t <= 0) return;
    if (ticks[step] == 0 || t < ticks[step]) ticks[step] = t;
  };
  auto setDot = [&](int step, int dotCode) {
    if (step >= 0 && step < kSteps) eighths[step] = DotEighths(dotCode);
  };

  for (int i = 0; i < m_count; ++i) {
    const int code = FullCode(i);
    if (IsTabColumn()) {
      const int string = EntryString(i);
      if (IsFretEntry(i)) {
        int d = EntryDuration(i);
        if (d >= 14 && d <= 17) d -= 6;
        if (d <= kWholeNote && FitsVoice(d, voice)) contribute(string, NoteCodeTicks(d));
      } else if (DotEighths(code) != 0) {
        setDot(string, code);
      }
      continue;
    }
    const int step = m_notes[i].value;
    if (code >= kFlaggedBase) {
      if (DotEighths(code) != 0) {
        setDot(step, code);
      } else {
        contribute(step, FlaggedNoteTicks(code));
      }
    } else if (IsRestCode(code)) {
      contribute(step, NoteCodeTicks(code));
    } else if (DotEighths(code) != 0) {
      setDot(step, code);
    } else if (code <= kWholeNote && FitsVoice(code, voice)) {
      contribute(step, NoteCodeTicks(code));
    }
  }

  long long shortest = -1;
  for (int step = 0; step < kSteps; ++step) {
    if (ticks[step] == 0) continue;
    // In eighths of a tick, so that the dotted lengths compare exactly.
    const long long product = static_cast<long long>(ticks[step]) * eighths[step];
    if (shortest < 0 || product < shortest) shortest = product;
  }
  if (shortest < 0) return 0;
  const int style = GetNoteStyle();
  if (byStyle && style >= 1 && style <= 6) return static_cast<int>(shortest * 2 / 3 / kPlainEighths);
  return static_cast<int>(shortest / kPlainEighths);
}

int KChord::GetRestTicks() const {
  if (m_count > 2 || IsBarColumn() || IsSignatureColumn()) return 0;
  int rest = 0;
  int dot = 0;
  for (int i = 0; i < m_count; ++i) {
    const int code = FullCode(i);
    if (IsRestCode(code)) rest = NoteCodeTicks(code);
    if (DotEighths(code) != 0) dot = code;
  }
  return static_cast<int>(DottedTicks(rest, dot));
}

int KChord::GetVoiceDuration(int voice) const { return GetNoteDurationAt(-1, voice); }

// Position -1 stands for the whole column.
int KChord::GetNoteDurationAt(int position, int voice) const {
  const bool special = voice < 0;
  if (special) voice = ~voice;
  const int first = FirstCode();
  if (IsBarColumn() || first == 26 || first == 97 || IsSignatureColumn()) return kNoDuration;

  if (IsTabColumn()) {
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i) || (position >= 0 && EntryString(i) != position)) continue;
      int d = EntryDuration(i);
      if (d == 14) d = 8;
      if (d < 15 && FitsVoice(d, voice)) return d;
    }
    return kNoDuration;
  }
  bool whole = false;
  for (int i = 0; i < m_count; ++i) {
    if (position >= 0 && m_notes[i].value != position) continue;
    const int code = FullCode(i);
    if (code <= 11 && FitsVoice(code, voice)) return code;
    if (special && IsSpecialSymbol(code)) return code;
    if (code == kWholeNote || code == kFlaggedBase + kWholeNote) whole = true;
  }
  return whole ? kWholeNote : kNoDuration;
}

int KChord::FindNoteAt(int position) const {
  if (IsBarColumn()) return -1;
  for (int i = 0; i < m_count; ++i) {
    if (IsTabColumn()) {
      if (IsFretEntry(i) && EntryString(i) == position && EntryDuration(i) < 14) return i;
      continue;
    }
    if (m_notes[i].value != position) continue;
    const int code = FullCode(i);
    if (code < 14 || code == 10000 || code == 10002 || (code >= 10008 && code <= 10012) || code == 10076 ||
        code == 10077) {
      return i;
    }
  }
  return -1;
}

int KChord::GetFlagCount(int voice) const {
  if (IsBarColumn() || (voice != 0 && voice != 1) || GetVoiceStem(voice) == kStemPlain) return 0;
  if (IsTabColumn()) {
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i)) continue;
      const int d = EntryDuration(i);
      if (d >= 14 && d <= 17) continue;
      if (d % 2 == (voice == 0 ? 1 : 0)) return d <= 7 ? d / 2 + 1 : 0;
    }
    return 0;
  }
  if (voice == 0) {
    for (int i = m_count - 1; i >= 0; --i) {
      const int code = FullCode(i);
      if (code <= 7) return code % 2 == 1 ? (code + 1) / 2 : 0;
    }
    return 0;
  }
  const int code = m_count > 0 ? FullCode(0) : kEmptyCode;
  return (code <= 6 && code % 2 == 0) ? code / 2 + 1 : 0;
}

int KChord::GetExtremeNote(int mode) const {
  const bool special = mode < 0;
  if (special) mode = ~mode;
  if (IsTabColumn()) {
    int found = -1;
    for (int i = 0; i < m_count; ++i) {
      if (!IsFretEntry(i)) continue;
      const int string = EntryString(i);
      const int d = EntryDuration(i);
      switch (mode) {
        case 0:
          if (d % 2 == 1 && string > found) found = string;
          break;
        case 1:
          if (d % 2 == 0 && (found < 0 || string < found)) found = string;
          break;
        case 3:
          return string;
        case 100:
          if (found < 0 || string < found) found = string;
          break;
        case 101:
          if (string > found) found = string;
          break;
        default:
          return 0;
      }
    }
    return found < 0 ? 0 : found;
  }

  switch (mode) {
    case 0:
      for (int i = m_count - 1; i >= 0; --i) {
        const int code = FullCode(i);
        if (code <= 7) return code % 2 == 1 ? m_notes[i].value : 0;
      }
      return 0;
    case 1: {
      const int code = m_count > 0 ? FullCode(0) : kEmptyCode;
      return (code <= 6 && code % 2 == 0) ? m_notes[0].value : 0;
    }
    case 100:
    case 101: {
      int found = -1;
      for (int i = 0; i < m_count; ++i) {
        const int code = FullCode(i);
        if (!(code < 13 || code == kFlaggedBase + kWholeNote || (special && IsSpecialSymbol(code)))) continue;
        const int step = m_notes[i].value;
        if (found < 0 || (mode == 100 ? step < found : step > found)) found = step;
      }
      return found < 0 ? 0 : found;
    }
    default:
      return 0;
  }
}

int KChord::StemBase(int voice, int sizeIndex, int spacing) const {
  const int note = GetExtremeNote(voice == 0 ? 0 : 1);
  if (!IsTabColumn()) return (note - 14) * g_StaffStep[sizeIndex];
  const int s = spacing < 0 ? TabStringSpacing(sizeIndex) : spacing;
  return (note - 2) * (s + 1) - 2;
}

int KChord::GetStemEnd(int voice, int sizeIndex, int spacing) const {
  const int stored = GetVoiceStem(voice == 0 ? 0 : 1);
  if (stored >= -2 && stored <= 6) return stored;
  sizeIndex = SizeIndex(sizeIndex);
  const long long magnitude = std::llabs(static_cast<long long>(stored));
  int d = static_cast<int>(magnitude * g_StemMetric[sizeIndex] / 150);
  if (voice != 0) d = -d;
  int result = StemBase(voice, sizeIndex, spacing) + 100 + d;
  if (stored < 0) result = -result;
  if ((result & 1) != (stored & 1)) result -= 1;
  return result;
}

void KChord::SetStemEnd(int voice, int y, int sizeIndex, int spacing) {
  int& stem = StemField(voice == 0 ? 0 : 1);
  if (y >= -2 && y <= 6) {
    stem = y;
    return;
  }
  sizeIndex = SizeIndex(sizeIndex);
  const long long numerator = (static_cast<long long>(StemBase(voice, sizeIndex, spacing)) + 100 -
                               std::llabs(static_cast<long long>(y))) *
                              150;
  long long magnitude = std::llround(static_cast<double>(numerator) / g_StemMetric[sizeIndex]);
  if (magnitude < 0) magnitude = -magnitude;
  int stored = static_cast<int>(y < 0 ? -magnitude : magnitude);
  if ((stored & 1) != (y & 1)) stored += 1;
  stem = stored;
}
