#include "midi/MidiImportAlign.h"

#include <algorithm>
#include <tuple>
#include <vector>

#include "model/KChord.h"

namespace midiimport {

namespace {

// A column's place in time: tick, kind, and its order among the line's
// columns of that tick and kind (a guard: the builder makes one).
using TimeKey = std::tuple<int, int, int>;

}  // namespace

bool AlignColumns(const std::vector<std::vector<BuiltColumn>*>& lines, int firstPosition,
                  const SpaceOut& spaceOut, const BuildProgress& progress) {
  // Every line's columns as places in time; the places of all lines, sorted
  // and each once, are the score's columns in order.
  std::vector<std::vector<TimeKey>> keys(lines.size());
  std::vector<TimeKey> places;
  for (size_t l = 0; l < lines.size(); ++l) {
    const std::vector<BuiltColumn>& columns = *lines[l];
    keys[l].reserve(columns.size());
    int lastTick = -1;
    int lastKind = -1;
    int order = 0;
    for (const BuiltColumn& c : columns) {
      const int kind = static_cast<int>(c.kind);
      order = c.tick == lastTick && kind == lastKind ? order + 1 : 0;
      lastTick = c.tick;
      lastKind = kind;
      keys[l].emplace_back(c.tick, kind, order);
    }
    places.insert(places.end(), keys[l].begin(), keys[l].end());
  }
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  const auto indexOf = [&places](const TimeKey& key) {
    return static_cast<size_t>(std::lower_bound(places.begin(), places.end(), key) - places.begin());
  };
  if (progress && !progress(1, 3)) return false;

  // The spacing before and after each place, when a single line is spaced out.
  std::vector<int> extraBefore(places.size(), 0);
  std::vector<int> extraAfter(places.size(), 0);
  if (spaceOut.on && lines.size() == 1) {
    const std::vector<BuiltColumn>& columns = *lines.front();
    for (size_t i = 0; i < columns.size(); ++i) {
      const BuiltColumn& c = columns[i];
      const size_t place = indexOf(keys.front()[i]);
      if (c.kind == ColumnKind::kBar) {
        extraBefore[place] += spaceOut.beforeBar;
        extraAfter[place] += spaceOut.afterBar;
      } else if (c.kind == ColumnKind::kMusic && c.length >= 960) {
        extraAfter[place] += spaceOut.afterHalf;
      } else if (c.kind == ColumnKind::kMusic && c.length >= 480) {
        extraAfter[place] += spaceOut.afterQuarter;
      }
    }
  }
  std::vector<int> positions(places.size(), 0);
  int next = firstPosition;
  for (size_t p = 0; p < places.size(); ++p) {
    next += std::clamp(extraBefore[p], 0, 4);
    positions[p] = next++;
    next += std::clamp(extraAfter[p], 0, 4);
  }
  if (progress && !progress(2, 3)) return false;
  for (size_t l = 0; l < lines.size(); ++l) {
    std::vector<BuiltColumn>& columns = *lines[l];
    for (size_t i = 0; i < columns.size(); ++i) columns[i].column->SetPos(positions[indexOf(keys[l][i])]);
  }
  return true;
}

}  // namespace midiimport
