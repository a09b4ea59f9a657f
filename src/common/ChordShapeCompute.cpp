// ComputeChordShape: finds a hand position that plays given pitches on a
// tuning. Two searches build candidates by pairing strings with pitches in
// order (from the lowest string and pitch upward, then from the highest string
// and pitch onward) and keep the candidate that places the most notes closest
// to the preferred fret.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/ChordShape.h"
#include "common/Globals.h"

namespace {

constexpr int kUnplayed = -1;
constexpr int kHighestFret = 24;

struct Candidate {
  std::array<int, kShapeStrings> frets{};  // by string entry (0 the highest); -1 not played
  int placed = 0;
  double average = 0;
  int lowest = 0;       // the lowest fret used, open strings counting as 0
  int onLowest = 0;     // strings on that fret
  int lowFretted = 0;   // the lowest fretted fret (above 0), 0 when none
  int highFretted = 0;  // the highest fret

  Candidate() { frets.fill(kUnplayed); }

  // A fretted note fits while the hand spans 4 frets, 3 once it reaches above
  // fret 4; open strings always fit.
  bool Fits(int fret) const {
    if (fret == 0) return true;
    const int low = lowFretted == 0 ? fret : std::min(lowFretted, fret);
    const int high = std::max(highFretted, fret);
    return high - low < (high > 4 ? 3 : 4);
  }
  void Place(int string, int fret) {
    frets[static_cast<std::size_t>(string)] = fret;
    if (fret > 0) {
      lowFretted = lowFretted == 0 ? fret : std::min(lowFretted, fret);
      highFretted = std::max(highFretted, fret);
    }
  }
  void Summarise() {
    placed = 0;
    int fretted = 0;
    int sum = 0;
    lowest = kHighestFret + 1;
    for (int fret : frets) {
      if (fret == kUnplayed) continue;
      ++placed;
      lowest = std::min(lowest, fret);
      if (fret > 0) {
        ++fretted;
        sum += fret;
      }
    }
    average = placed == 0 ? 1000.0 : fretted == 0 ? 0.0 : static_cast<double>(sum) / fretted;
    onLowest = static_cast<int>(std::count(frets.begin(), frets.end(), lowest));
    if (placed == 0) lowest = 0;
  }
};

class ShapeSearch {
 public:
  ShapeSearch(const CString& tuning, const ShapeValues& given, int preferredFret)
      // A preferred fret off the fretboard means its nearest end; the search's
      // starting average (100) would otherwise beat every real hand position.
      : m_guitar(tuning == g_TuningGuitar), m_preferred(std::clamp(preferredFret, 0, kHighestFret)) {
    for (int pitch : given)
      if (pitch > kNoString) m_pitches.push_back(pitch);

    TuningPitches pitches{};
    ParseTuningString(tuning, 0, pitches);
    m_stringCount = GetTuningStringCount(tuning);
    // Strings by entry, entry 0 the highest; short tunings have no entry 0.
    for (int e = 0; e < m_stringCount; ++e) {
      const int source = m_stringCount < 6 ? e + 1 : e;
      m_sourceEntry[static_cast<std::size_t>(e)] = source;
      m_stringPitch[static_cast<std::size_t>(e)] = pitches[static_cast<std::size_t>(source)];
    }
    FretMap map{};
    const int fretCount = std::min(ParseFretList(tuning, &map), kHighestFret);
    bool identity = true;
    for (int k = 0; k < kFretMapSize; ++k) identity = identity && map[static_cast<std::size_t>(k)] == k;
    m_fret.assign(m_pitches.size(), {});
    for (std::size_t j = 0; j < m_pitches.size(); ++j) {
      m_fret[j].fill(kUnplayed);
      for (int e = 0; e < m_stringCount; ++e) {
        const int open = m_stringPitch[static_cast<std::size_t>(e)];
        if (open <= kNoString) continue;
        const long long semitones = static_cast<long long>(m_pitches[j]) - open;
        if (semitones < 0 || semitones > fretCount) continue;
        const int fret =
            identity ? static_cast<int>(semitones) : FindFretIndex(map, static_cast<int>(semitones), false);
        if (fret >= 0 && fret <= fretCount) m_fret[j][static_cast<std::size_t>(e)] = fret;
      }
    }
  }

  Candidate Run() {
    const int count = static_cast<int>(m_pitches.size());
    m_best.average = 100;
    m_best.placed = -100;
    m_best.onLowest = 0;
    if (count == 0) return m_best;
    // From the lowest strings and pitches upward.
    for (int s = m_stringCount - 1; s >= (m_stringCount == 2 ? 1 : 2); --s)
      for (int p = count - 1; p >= 0; --p) Weigh(Build(s, p, -1));
    // From the highest string onward.
    for (int p = 0; p < count; ++p) Weigh(Build(0, p, +1));
    return m_best;
  }

  int StringCount() const { return m_stringCount; }
  int SourceEntry(int e) const { return m_sourceEntry[static_cast<std::size_t>(e)]; }

 private:
  // Walks the strings from s and the pitches from p in the direction step.
  // A string takes the current pitch when it fits; else the next pitch, and
  // the current one is skipped; else it stays unplayed.
  Candidate Build(int s, int p, int step) const {
    Candidate c;
    const int count = static_cast<int>(m_pitches.size());
    int j = p;
    for (int e = s; e >= 0 && e < m_stringCount && j >= 0 && j < count; e += step) {
      const int here = FretFor(j, e);
      if (here != kUnplayed && c.Fits(here)) {
        c.Place(e, here);
        j += step;
        continue;
      }
      const int next = j + step >= 0 && j + step < count ? FretFor(j + step, e) : kUnplayed;
      if (next != kUnplayed && c.Fits(next)) {
        c.Place(e, next);
        j += 2 * step;
      }
    }
    c.Summarise();
    return c;
  }

  int FretFor(int j, int e) const { return m_fret[static_cast<std::size_t>(j)][static_cast<std::size_t>(e)]; }

  void Weigh(const Candidate& c) {
    if (c.placed <= 0) return;  // placing nothing never helps
    if (Wins(c)) m_best = c;
  }

  bool Wins(const Candidate& c) const {
    const int count = static_cast<int>(m_pitches.size());
    const double d = std::fabs(c.average - m_preferred);
    const double best = std::fabs(m_best.average - m_preferred);
    if (d > best) return false;
    if (!m_guitar) {
      const int k = std::min(count - 1, 4);
      if (c.onLowest >= k && c.onLowest > m_best.onLowest &&
          std::abs(c.lowest - static_cast<double>(m_preferred)) <= 3)
        return true;
      if (m_best.onLowest >= k && c.onLowest < m_best.onLowest) return false;
    }
    if (d < best && d <= 8 && c.placed >= std::min(count, 4)) return true;
    return c.placed > m_best.placed ||
           (c.placed == m_best.placed && c.frets[0] > 0 && m_best.frets[0] == kUnplayed);
  }

  bool m_guitar;
  int m_preferred;
  std::vector<int> m_pitches;
  int m_stringCount = 6;
  std::array<int, kShapeStrings> m_sourceEntry{};
  std::array<int, kShapeStrings> m_stringPitch{};
  std::vector<std::array<int, kShapeStrings>> m_fret;
  Candidate m_best;
};

char FieldChar(int fret, int base) {
  if (fret == kUnplayed) return '9';
  if (fret == 0) return '0';
  return static_cast<char>('0' + (base > 0 ? fret - base + 1 : fret));
}

}  // namespace

void ComputeChordShape(const CString& tuning, CString& shape, const ShapeValues& pitches, int preferredFret) {
  ShapeSearch search(tuning, pitches, preferredFret);
  const Candidate best = search.Run();
  const int strings = search.StringCount();
  if (best.placed <= 0) {
    shape = EmptyChordShape(strings);
    return;
  }
  // Frets by the tuning's own entries (0 the highest string, 6 and 7 the seventh and eighth).
  std::array<int, kShapeStrings> byEntry{};
  byEntry.fill(kUnplayed);
  for (int e = 0; e < strings; ++e)
    byEntry[static_cast<std::size_t>(search.SourceEntry(e))] = best.frets[static_cast<std::size_t>(e)];

  const int base = best.highFretted <= 4 ? 0 : best.lowFretted;
  std::string text(26, ' ');
  text[0] = static_cast<char>('0' + base);
  for (int k = 1; k <= 6; ++k)
    text[static_cast<std::size_t>(k)] = FieldChar(byEntry[static_cast<std::size_t>(6 - k)], base);
  text.replace(16, 7, "0000000");
  text[23] = static_cast<char>('0' + std::min(strings, 6));
  text[24] = '4';
  text[25] = '0';
  if (strings >= 7) {
    text += "      7";
    text += FieldChar(byEntry[6], base);
    text += "0 ";
  }
  if (strings >= 8) {
    text += '8';
    text += FieldChar(byEntry[7], base);
    text += "0 ";
  }
  shape = CString(text);
}
