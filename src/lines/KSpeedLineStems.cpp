// Stems, flags and beams of the drawing cache's entries.
//
// Voice 1 (even note codes) has its stem up on the right of the note heads,
// voice 0 (odd codes) down on their left. A voice's stored stem value
// (KChord::GetStemEnd) of -2..6 asks for the default length; any other value
// is the y (+ 100) of the stem's free end, and its lowest bit carries the
// beam grouping: an odd positive value opens a group, the columns inside it
// hold negative values and an even positive value closes it. The main beam
// joins the stem ends of the opening and the closing column; the shorter
// notes of the group get further beams 5 pixels nearer the heads per level,
// or stubs where a level stops at one column.
//
// On a tablature line the rhythm stays clear of the strings on one side: every
// stem hangs below the bottom string (below its fret numbers), whatever its
// voice, and the beams run level at the stems' free ends.

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "lines/KSpeedLine.h"
#include "model/KBigChord.h"
#include "model/KChord.h"

namespace {

constexpr int kStemOffset[2] = {7, 10};      // voice-1 stem: x right of the note's picture
constexpr int kTabStemX[2] = {9, 11};        // tablature stems stand in the middle of the fret
constexpr int kTabTextHalf[2] = {7, 8};      // half the height of a fret number
constexpr int kStubLength[2] = {7, 10};      // beam stubs
constexpr int kTabStemLength[2] = {10, 13};  // tablature stems under the strings
constexpr int kBeamLevelStep = 5;            // each further beam lies this much nearer the heads
constexpr int kFlagFamilyLarge = 12;         // family-1 index of the large flags
constexpr int kStemKindUp = 1;
constexpr int kStemKindDown = 0;
constexpr int kMaxOwnStems = 5;

// Vertical and horizontal offset of the flag pictures (family 1) from the
// stem's free end, indexes 0..11 normal and 12..23 large.
constexpr int kFlagOffsetY[24] = {0, -18, 0, -18, -3, -21, -6, -24, 0, -13, 0, -13,
                                  0, -24, 0, -24, -4, -28, -8, -33, 0, -17, 0, -17};
constexpr int kFlagOffsetX[24] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3, -3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -4, -4};

// The stem metric times a shared ratio, less 1, truncated: the ratio is the
// single-precision constant and the product is taken in double precision,
// which gives 19 (up) and 20 (down) pixels at size 0 and 23 and 25 at size 1.
int StemLength(int sizeIndex, float ratio) {
  return static_cast<int>(static_cast<double>(g_StemMetric[sizeIndex]) * static_cast<double>(ratio) - 1.0);
}
// How far above the highest note (below the lowest) a flag's end stands: 23 / 27.
int FlagRaise(int sizeIndex) {
  return static_cast<int>(static_cast<double>(g_StemMetric[sizeIndex]) * static_cast<double>(g_Ratio23_14));
}
int UpStem(int sizeIndex) { return StemLength(sizeIndex, g_Ratio20_14); }
int DownStem(int sizeIndex) { return StemLength(sizeIndex, g_Ratio22_14); }

BYTE ClampByte(int value) { return static_cast<BYTE>(std::clamp(value, 0, 255)); }
BYTE ClampByte(double value) { return ClampByte(static_cast<int>(std::lround(value))); }

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
bool IsExplicit(int stemValue) { return stemValue < -2 || stemValue > 6; }

void AddStem(KBigChord& entry, int x, int y1, int kind, int y2) {
  if (entry.stemCount >= KBigChord::kMaxStems) return;
  const int i = entry.stemCount++;
  entry.stemX[i] = ClampByte(x);
  entry.stemY1[i] = ClampByte(y1);
  entry.stemKind[i] = static_cast<BYTE>(kind);
  entry.stemY2[i] = ClampByte(y2);
}

void AddBeam(KBigChord& entry, int x1, double y1, int x2, double y2) {
  if (entry.beamCount >= KBigChord::kMaxBeams) return;
  const int i = entry.beamCount++;
  entry.beamX1[i] = ClampByte(x1);
  entry.beamY1[i] = ClampByte(y1);
  entry.beamX2[i] = x2;
  entry.beamY2[i] = ClampByte(y2);
}

// The next note column of the list from the node (moved past it), or null.
const KChord* NextColumn(const CObList& list, POSITION& node) {
  while (node != nullptr) {
    if (const KChord* column = AsChord(list.GetNext(node))) return column;
  }
  return nullptr;
}

}  // namespace

int KSpeedLine::TabStemEnd(const StemPlace& place) const {
  return place.noteEndY + kTabStemLength[m_sizeIndex];
}

KSpeedLine::StemPlace KSpeedLine::FindStemPlace(const KChord& column, int voice, int spacing) const {
  StemPlace place;
  if (column.IsBarColumn() || column.IsSignatureColumn()) return place;
  const int s = m_sizeIndex;
  int top = 0;
  int bottom = 0;
  int topNudge = 0;
  int bottomNudge = 0;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    int length = -1;
    if (IsTab()) {
      if (!IsFretCode(note.code)) continue;
      length = column.RawEntry(i).value / 10;
      if (length > 11 && length != 13) continue;
    } else {
      length = note.code;
      if (length > 11) continue;
      // Quarters and halves nudged down by one pixel carry a stem of their own.
      if (length >= 8 && column.GetNoteOffset(i, true) == 1) continue;
    }
    if ((length % 2 == 1) != (voice == 0)) continue;
    const int nudge = column.GetNoteOffset(i, false);
    if (!place.any || note.position < top) {
      top = note.position;
      topNudge = nudge;
    }
    if (!place.any || note.position > bottom) {
      bottom = note.position;
      bottomNudge = nudge;
    }
    place.any = true;
  }
  if (!place.any) return place;
  place.topY = RowY(top, spacing);
  place.bottomY = RowY(bottom, spacing);
  // The stem stands at the note it starts from, which is never moved aside.
  const int nudge = voice == 1 ? bottomNudge : topNudge;
  if (IsTab()) {
    place.x = nudge + kTabStemX[s];
    place.noteEndY = RowY(LastStringRow(), spacing) + kTabTextHalf[s];
  } else {
    place.x = nudge + GetPlacement(s != 0 ? kCodesPerSize : 0).x + (voice == 1 ? kStemOffset[s] : 0);
    place.noteEndY = voice == 1 ? place.bottomY : place.topY;
  }
  return place;
}

void KSpeedLine::AddVoice(KBigChord* entry, const KChord& column, int voice, POSITION here,
                          const CObList& ownerList, VoiceState& state, int spacing) const {
  const StemPlace place = FindStemPlace(column, voice, spacing);
  const int stemEnd = column.GetStemEnd(voice, m_sizeIndex, spacing);
  bool beamed = false;
  if (place.any && IsExplicit(stemEnd)) {
    bool opening = false;
    if (stemEnd > 0 && stemEnd % 2 == 1) {
      OpenBeamGroup(entry, column, voice, place, stemEnd, here, ownerList, state, spacing);
      opening = state.inGroup;
    }
    if (state.inGroup) {
      beamed = true;
      if (entry != nullptr)
        BuildBeams(*entry, column, voice, place, opening, here, ownerList, state, spacing);
      if (here == state.endNode) state.inGroup = false;
    }
  }
  if (entry != nullptr && place.any) AddStemAndFlag(*entry, column, voice, place, stemEnd, beamed);
}

void KSpeedLine::AddStemAndFlag(KBigChord& entry, const KChord& column, int voice, const StemPlace& place,
                                int stemEnd, bool beamed) const {
  const int s = m_sizeIndex;
  const bool up = !StemDown(voice);
  int freeEnd = up ? place.topY - UpStem(s) : place.bottomY + DownStem(s);
  if (IsTab()) {
    freeEnd = TabStemEnd(place);
  } else if (IsExplicit(stemEnd)) {
    freeEnd = std::abs(stemEnd);
    if (voice == 0 && freeEnd % 2 == 0) --freeEnd;
  }
  AddStem(entry, place.x, place.noteEndY, voice == 1 ? kStemKindUp : kStemKindDown, freeEnd);

  const int flags = beamed ? 0 : column.GetFlagCount(voice);
  if (flags < 1 || flags > 4) return;
  // The flag picture carries the stem's last pixels: it ends FlagRaise above
  // the highest note (below the lowest) where the stem has its default length.
  const int index = (up ? 2 * (flags - 1) : 2 * flags - 1) + (s != 0 ? kFlagFamilyLarge : 0);
  const int end = up ? freeEnd - (FlagRaise(s) - UpStem(s)) : freeEnd + (FlagRaise(s) - DownStem(s));
  if (entry.itemCount >= KBigChord::kMaxItems) return;
  const int i = entry.itemCount++;
  entry.itemSymbol[i] = static_cast<BYTE>(index);
  entry.itemStyle[i] = 100;
  entry.itemX[i] = static_cast<signed char>(std::clamp(100 + place.x + kFlagOffsetX[index], 100, 127));
  entry.itemY[i] = ClampByte(end + kFlagOffsetY[index]);
}

void KSpeedLine::AddOwnStems(KBigChord& entry, const KChord& column) const {
  if (column.IsBarColumn() || column.IsSignatureColumn()) return;
  const int s = m_sizeIndex;
  for (int i = 0; i < column.GetNoteCount() && entry.stemCount < kMaxOwnStems; ++i) {
    const NotePair note = column.GetNote(i);
    if (note.code < 8 || note.code > 11 || column.GetNoteOffset(i, true) != 1) continue;
    const int x = column.GetNoteOffset(i, false) + GetPlacement(note.code + (s != 0 ? kCodesPerSize : 0)).x +
                  kStemOffset[s];
    const int y = RowY(note.position, 0);
    AddStem(entry, x, y, kStemKindUp, y - UpStem(s));
  }
}

void KSpeedLine::OpenBeamGroup(KBigChord* entry, const KChord& column, int voice, const StemPlace& place,
                               int stemEnd, POSITION here, const CObList& ownerList, VoiceState& state,
                               int spacing) const {
  state.inGroup = false;
  POSITION node = here;
  ownerList.GetNext(node);
  while (node != nullptr) {
    const POSITION at = node;
    const KChord* other = AsChord(ownerList.GetNext(node));
    if (other == nullptr) continue;
    const StemPlace otherPlace = FindStemPlace(*other, voice, spacing);
    const int otherEnd = other->GetStemEnd(voice, m_sizeIndex, spacing);
    if (!otherPlace.any) {
      if (IsExplicit(otherEnd)) return;
      continue;  // a column without notes of the voice (a bar, a rest) inside the group
    }
    if (otherEnd < -6) continue;
    if (otherEnd <= 6 || otherEnd % 2 == 1) return;  // no closing column: no group
    // The main beam lies on the stem ends; a beam under its notes hangs above
    // its (odd) stem ends, so that the beam's three lines end on them. A
    // tablature beam runs level at the ends of the stems under the strings.
    const int lift = StemDown(voice) ? 2 : 0;
    const int startEnd = voice == 0 && stemEnd % 2 == 0 ? stemEnd - 1 : stemEnd;
    state.startX = ColumnX(column.GetPos()) + place.x;
    state.startY = IsTab() ? TabStemEnd(place) - lift : startEnd - lift;
    const double endX = ColumnX(other->GetPos()) + otherPlace.x;
    const double endY = IsTab() ? state.startY : otherEnd - 1 - lift;
    state.slope = endX != state.startX ? (endY - state.startY) / (endX - state.startX) : 0.0;
    state.inGroup = true;
    state.endNode = at;
    if (entry != nullptr) {
      AddBeam(*entry, place.x, state.startY, static_cast<int>(endX) - ColumnX(column.GetPos()), endY);
    }
    return;
  }
}

void KSpeedLine::BuildBeams(KBigChord& entry, const KChord& column, int voice, const StemPlace& place,
                            bool opening, POSITION here, const CObList& ownerList, const VoiceState& state,
                            int spacing) const {
  const int flags = std::min(column.GetFlagCount(voice), 4);
  if (flags < 2) return;
  const bool closing = here == state.endNode;

  int previousFlags = 0;
  if (!opening) {
    POSITION node = here;
    ownerList.GetPrev(node);
    while (node != nullptr) {
      if (const KChord* previous = AsChord(ownerList.GetPrev(node))) {
        previousFlags = previous->GetFlagCount(voice);
        break;
      }
    }
  }
  POSITION afterHere = here;
  ownerList.GetNext(afterHere);
  POSITION scan = afterHere;
  const KChord* next = NextColumn(ownerList, scan);
  const int nextFlags = closing || next == nullptr ? 0 : next->GetFlagCount(voice);

  const int columnX = ColumnX(column.GetPos());
  const double x = columnX + place.x;
  const double towardHeads = StemDown(voice) ? -kBeamLevelStep : kBeamLevelStep;
  for (int level = std::max(2, previousFlags + 1); level <= flags; ++level) {
    const double y = state.startY + state.slope * (x - state.startX) + towardHeads * (level - 1);
    // The level runs on to the last later column of the group that still has as many flags.
    double lastX = x;
    if (!closing) {
      POSITION node = afterHere;
      while (node != nullptr) {
        const POSITION at = node;
        if (const KChord* other = AsChord(ownerList.GetNext(node))) {
          const StemPlace otherPlace = FindStemPlace(*other, voice, spacing);
          if (otherPlace.any) {
            if (other->GetFlagCount(voice) < level) break;
            lastX = ColumnX(other->GetPos()) + otherPlace.x;
          }
        }
        if (at == state.endNode) break;
      }
    }
    if (lastX > x) {
      AddBeam(entry, place.x, y, static_cast<int>(lastX) - columnX, y + state.slope * (lastX - x));
      continue;
    }
    // A stub: inside the group it points to the side with more flags; on the
    // closing column it points back unless the column completes an odd number
    // of its lengths that the next column would make even.
    bool right = previousFlags <= nextFlags;
    if (closing) {
      const int own = BeatTicks(column, voice);
      right = false;
      if (own > 0 && (state.tickSum / own) % 2 != 0) {
        const int withNext = state.tickSum + (next != nullptr ? BeatTicks(*next, voice) : 0);
        right = (withNext / own) % 2 != 0;
      }
    }
    const double length = right ? kStubLength[m_sizeIndex] : -kStubLength[m_sizeIndex];
    AddBeam(entry, place.x, y, static_cast<int>(x + length) - columnX, y + state.slope * length);
  }
}
