// Choosing the string and fret on which a tablature line plays a note written
// on a staff: used when a staff becomes tablature, when a note column is
// converted and when a note entered on a staff of a line group goes onto the
// tablature line of the group.
//
// A note keeps its pitch. Of the strings that can play it (not taken by
// another note of the column, the fret within the instrument's frets and, on a
// fret list, a fret the list has) the one whose fret lies within the reach of
// the hand and nearest its first fret wins, the higher string on a tie; when
// no string lies within the reach, the hand moves down one fret at a time, and
// a note above the reach everywhere goes to its lowest fret (the hand shifts
// up for it).
//
// The hand's reach: from a position given by the caller, the position's fret
// and the four above it (position 0 or 1 takes the open strings too). From the
// line's fret statistics it also takes in where the hand has just been
// playing, so that a hand low on the neck plays the open strings and a scale
// stays in one position instead of climbing one string: a scale in C after A3
// plays D0 D2 D3, not A5 A7 A8.
//
// A refused note sounds the asterisk beep, except through FindTabString, whose
// callers report the refusal themselves.

#include <algorithm>
#include <array>

#include "common/Globals.h"
#include "common/TuningCodec.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "platform/UiPort.h"

int g_shiftBassIntoTabRange = 1;

namespace {

constexpr int kRowOffset = 2;  // string row r plays entry r - 2 of the pitch array
constexpr int kRowCount = 10;  // string rows 0..9 of a tablature column
constexpr int kNoRow = -1;

constexpr int kWholeColumnRow = 1000;
constexpr int kBlankCode = 32761;
constexpr int kDeleteCode = 32762;
constexpr int kBlankRunCode = 32763;

constexpr int kHeadWithoutLength = 13;
constexpr int kFirstMark = 89;  // marks drawn above the strings
constexpr int kLastMark = 90;
constexpr int kFirstRowMark = 10016;  // flagged symbols placed by their staff row
constexpr int kLastRowMark = 10019;

// Position codes: from this value up the code carries the hand position,
// below kDirectFretLimit it is the hand's fret itself.
constexpr int kPositionUnit = 1000;
constexpr int kDirectFretLimit = 21;
// A hand position taken from the column statistics above this fret is moved
// down by kStatLowering, so that the hand covers the frets around it.
constexpr int kStatThreshold = 4;
constexpr int kStatLowering = 2;
constexpr int kAverageFret = 1;  // mode of KTabLine::GetFretPositionStat

constexpr int kLowestPitch = 6;
constexpr int kHighestPitch = 80;
constexpr int kOctave = 12;
constexpr int kMaxOctaveRaises = 2;

// Rests on the middle rows of the staff (17..19, and a whole rest hanging from
// the fourth line where engraving puts it) stand on a middle string row of the
// tablature line, by its string count 0..8.
constexpr int kMiddleRestRow = 4;
constexpr int kFirstMiddleRestRow = 17;
constexpr int kLastMiddleRestRow = 19;

// The string row of a symbol placed by its staff row: the staff's rows mapped
// onto rows 0..9 of the tablature line, last staff row of each string row.
constexpr int kStringRowLastStaffRow[kRowCount] = {8, 15, 17, 18, 20, 23, 25, 27, 28, 35};

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
bool IsNoteCode(int code) { return code >= 0 && code <= kHeadWithoutLength; }

int StringRowOfStaffRow(int staffRow) {
  for (int row = 0; row < kRowCount; ++row) {
    if (staffRow <= kStringRowLastStaffRow[row]) return row;
  }
  return kRowCount - 1;
}

// The strings of the tablature line, or of the current tuning without one.
struct TabStrings {
  TuningPitches open{};
  FretMap map{};
  int fretCount = 0;
  int stringCount = 0;
  int firstRow = 0;
  int lastRow = 0;
  bool bass = false;

  // The open pitch of a string row; kNoString outside the strings.
  int OpenPitch(int row) const {
    if (row < firstRow || row > lastRow || row - kRowOffset >= kMaxTuningStrings) return kNoString;
    return open[row - kRowOffset];
  }
  // The fret that plays the pitch on the string row; -1 when none does.
  int FretFor(int row, int pitch) const {
    const int base = OpenPitch(row);
    if (base == kNoString || pitch < base) return -1;
    const int fret = FindFretIndex(map, pitch - base, false);
    return fret >= 0 && fret <= fretCount ? fret : -1;
  }
  // The pitch a fret code sounds on the string row; -1 when it sounds none.
  int PitchOf(int row, int fretCode) const {
    const int base = OpenPitch(row);
    if (base == kNoString || !IsFretCode(fretCode)) return -1;
    return base + map[fretCode - KChord::kFirstFret];
  }
};

TabStrings StringsOf(const KTabLine* tab) {
  TabStrings s;
  if (tab != nullptr) {
    tab->GetStringPitches(s.open);
    s.map = tab->GetFretMap();
    s.fretCount = tab->GetFretCount();
    s.stringCount = tab->GetStringCount();
    s.firstRow = tab->GetStringRowLimit(KTabLine::kFirstRow);
    s.lastRow = tab->GetStringRowLimit(KTabLine::kLastRow);
    s.bass = tab->TestFlags(KTabLine::kFlagBass) != 0;
    return s;
  }
  const CString& tuning = g_CurrentTuning;
  s.bass = tuning.GetLength() > 12 && tuning.GetAt(12) == '*';
  ParseTuningString(tuning, s.bass ? kTuningFlagBass : 0, s.open);
  s.fretCount = ParseFretList(tuning, &s.map);
  s.stringCount = GetTuningStringCount(tuning);
  s.firstRow = s.stringCount < 6 ? 3 : 2;
  s.lastRow = s.stringCount < 6 ? s.stringCount + 2 : s.stringCount + 1;
  return s;
}

// The frets one hand covers: first..last.
struct HandReach {
  int first = 0;
  int last = 0;
};

// The hand position (a fret) that the position code gives at the column, and
// the reach of the hand at each lower position.
class Hand {
 public:
  Hand(const KTabLine* tab, int positionCode, int column, int fretCount) : m_fretCount(fretCount) {
    if (positionCode >= kPositionUnit) {
      m_position = positionCode / kPositionUnit - 1;
    } else if (positionCode >= 0 && positionCode < kDirectFretLimit) {
      m_position = positionCode;
    } else if (tab != nullptr) {
      m_position = tab->GetFretPositionStat(column, kAverageFret);
      if (m_position > kStatThreshold) m_position -= kStatLowering;
      m_recent = tab->GetRecentFretRange(column, m_recentLow, m_recentHigh);
    }
    m_position = std::clamp(m_position, 0, fretCount);
  }

  int Position() const { return m_position; }

  // The reach of the hand at the position (the position itself or one it was
  // lowered to).
  HandReach ReachAt(int position) const {
    HandReach reach;
    reach.first = position <= kFirstPosition ? 0 : position;
    reach.last = position + KTabLine::kHandReach;
    if (m_recent) {
      // The frets just played lie within the reach.
      reach.first = std::min(reach.first, std::max(m_recentHigh - KTabLine::kHandReach, 0));
      reach.last = std::max(reach.last, m_recentLow + KTabLine::kHandReach);
    }
    reach.last = std::min(reach.last, m_fretCount);
    return reach;
  }

 private:
  // Positions up to this one take the open strings too.
  static constexpr int kFirstPosition = 1;
  int m_fretCount;
  int m_position = 0;
  bool m_recent = false;
  int m_recentLow = 0;
  int m_recentHigh = 0;
};

// Of the rows with a fret (-1: none), the one whose fret lies within the
// hand's reach and nearest its first fret, the first on a tie; the hand moves
// down until one does. Above the reach everywhere: the lowest fret.
int NearestInReach(const std::array<int, kRowCount>& fretOfRow, const Hand& hand) {
  for (int position = hand.Position(); position >= 0; --position) {
    const HandReach reach = hand.ReachAt(position);
    int best = kNoRow;
    for (int row = 0; row < kRowCount; ++row) {
      const int fret = fretOfRow[row];
      if (fret < reach.first || fret > reach.last) continue;
      if (best == kNoRow || fret < fretOfRow[best]) best = row;
    }
    if (best != kNoRow) return best;
  }
  int lowest = kNoRow;
  for (int row = 0; row < kRowCount; ++row) {
    if (fretOfRow[row] >= 0 && (lowest == kNoRow || fretOfRow[row] < fretOfRow[lowest])) lowest = row;
  }
  return lowest;
}

// Of the rows with a fret (-1: none), the one whose fret lies nearest at or
// above the hand, the first on a tie; the hand moves down until one does.
int NearestToHand(const std::array<int, kRowCount>& fretOfRow, int hand) {
  for (int h = hand; h >= 0; --h) {
    int best = kNoRow;
    for (int row = 0; row < kRowCount; ++row) {
      const int fret = fretOfRow[row];
      if (fret < h) continue;
      if (best == kNoRow || fret < fretOfRow[best]) best = row;
    }
    if (best != kNoRow) return best;
  }
  return kNoRow;
}

int Refuse() { return kNoRow; }

}  // namespace

int KStaffLine::ChooseTabString(const KTabLine* tab, int& code, int column, int staffRow, int positionCode,
                                int wantedString, const KChord* taken, int& fretCode) const {
  const int row = FindTabString(tab, code, column, staffRow, positionCode, wantedString, taken, fretCode);
  if (row == kNoRow) MessageBeep(MB_ICONASTERISK);
  return row;
}

int KStaffLine::FindTabString(const KTabLine* tab, int& code, int column, int staffRow, int positionCode,
                              int wantedString, const KChord* taken, int& fretCode) const {
  if (staffRow == kWholeColumnRow) return kWholeColumnRow;
  const TabStrings strings = StringsOf(tab);
  if (code == kBlankCode || code == kBlankRunCode) return strings.firstRow;

  // Symbols without a pitch stand on rows of their own.
  if (code >= kFirstRest && code <= kLastRest) {
    const bool middle = (staffRow >= kFirstMiddleRestRow && staffRow <= kLastMiddleRestRow) ||
                        staffRow == KStaffLine::RestRow(code);
    if (!middle) return StringRowOfStaffRow(staffRow);
    return tab != nullptr ? KTabLine::RestRowOfStrings(strings.stringCount) : kMiddleRestRow;
  }
  if (code >= kFirstRowMark && code <= kLastRowMark) return StringRowOfStaffRow(staffRow);
  if (code == kFirstMark || code == kLastMark) return strings.stringCount < 6 ? 2 : 1;
  switch (code) {
    case KChord::kFlaggedBase:
    case KChord::kFlaggedBase + 10:
    case KChord::kFlaggedBase + 11:
      code = fretCode = 10;  // the half-note heads play as half notes
      break;
    case KChord::kFlaggedBase + 2:
    case KChord::kFlaggedBase + 8:
    case KChord::kFlaggedBase + 9:
      code = fretCode = 8;  // the quarter-note heads as quarter notes
      break;
    default:
      break;
  }

  // The pitch that the row sounds at the column; a bass staff's notes may go
  // up by octaves onto a tablature line that is not a bass tablature.
  int pitch = GetPitchAtRow(staffRow, column);
  if (pitch < kLowestPitch || pitch > kHighestPitch) return Refuse();
  if (m_type == kKindBassStaff && !strings.bass && g_shiftBassIntoTabRange != 0) {
    int lowest = kNoString;
    for (int row = strings.firstRow; row <= strings.lastRow; ++row) {
      const int open = strings.OpenPitch(row);
      if (open != kNoString && (lowest == kNoString || open < lowest)) lowest = open;
    }
    for (int raised = 0; raised < kMaxOctaveRaises && lowest != kNoString && pitch < lowest; ++raised) {
      pitch += kOctave;
    }
  }
  const Hand hand(tab, positionCode, column, strings.fretCount);

  // The delete code and the symbols of a note go to the string of the column
  // that already sounds the pitch.
  if (!IsNoteCode(code)) {
    std::array<int, kRowCount> sounding;
    sounding.fill(-1);
    if (taken != nullptr) {
      for (int row = strings.firstRow; row <= strings.lastRow; ++row) {
        const int fret = taken->GetFretOnString(row);
        if (fret != KChord::kNone && strings.PitchOf(row, KChord::kFirstFret + fret) == pitch)
          sounding[row] = fret;
      }
    }
    const int row = NearestToHand(sounding, hand.Position());
    if (row != kNoRow) {
      fretCode = KChord::kFirstFret + sounding[row];
      return row;
    }
    if (code == kDeleteCode) return Refuse();
  }

  // The strings free to play the note, with their frets.
  std::array<int, kRowCount> playable;
  playable.fill(-1);
  for (int row = strings.firstRow; row <= strings.lastRow && row < kRowCount; ++row) {
    if (taken != nullptr && taken->GetFretOnString(row) != KChord::kNone) continue;
    playable[row] = strings.FretFor(row, pitch);
  }
  int row = kNoRow;
  if (wantedString >= 1 && wantedString <= kMaxTuningStrings) {
    const int wanted = strings.firstRow + wantedString - 1;
    if (wanted <= strings.lastRow && wanted < kRowCount && playable[wanted] >= 0) row = wanted;
  }
  if (row == kNoRow) row = NearestInReach(playable, hand);
  if (row == kNoRow || KChord::kFirstFret + playable[row] > KChord::kLastFret) return Refuse();
  fretCode = KChord::kFirstFret + playable[row];
  return row;
}
