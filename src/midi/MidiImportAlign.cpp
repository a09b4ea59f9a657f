#include "midi/MidiImportAlign.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "model/KChord.h"

namespace midiimport {

namespace {

// A column's place in time: tick, kind, and its order among the line's
// columns of that tick and kind (a guard: the builder makes one).
using TimeKey = std::tuple<int, int, int>;

}  // namespace

bool AlignColumns(const std::vector<std::vector<BuiltColumn>*>& lines, int firstPosition,
                  const SpaceOut& spaceOut, const BuildProgress& progress) {
  std::map<TimeKey, int> positions;
  std::vector<std::vector<TimeKey>> keys(lines.size());
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
      positions.emplace(keys[l].back(), 0);
    }
  }
  if (progress && !progress(1, 3)) return false;

  // The spacing after a column, when a single line is spaced out.
  std::map<TimeKey, int> extraAfter;
  std::map<TimeKey, int> extraBefore;
  if (spaceOut.on && lines.size() == 1) {
    const std::vector<BuiltColumn>& columns = *lines.front();
    for (size_t i = 0; i < columns.size(); ++i) {
      const BuiltColumn& c = columns[i];
      const TimeKey& key = keys.front()[i];
      if (c.kind == ColumnKind::kBar) {
        extraBefore[key] += spaceOut.beforeBar;
        extraAfter[key] += spaceOut.afterBar;
      } else if (c.kind == ColumnKind::kMusic && c.length >= 960) {
        extraAfter[key] += spaceOut.afterHalf;
      } else if (c.kind == ColumnKind::kMusic && c.length >= 480) {
        extraAfter[key] += spaceOut.afterQuarter;
      }
    }
  }
  int next = firstPosition;
  for (auto& [key, position] : positions) {
    if (auto it = extraBefore.find(key); it != extraBefore.end()) next += std::clamp(it->second, 0, 4);
    position = next++;
    if (auto it = extraAfter.find(key); it != extraAfter.end()) next += std::clamp(it->second, 0, 4);
  }
  if (progress && !progress(2, 3)) return false;
  for (size_t l = 0; l < lines.size(); ++l) {
    std::vector<BuiltColumn>& columns = *lines[l];
    for (size_t i = 0; i < columns.size(); ++i) columns[i].column->SetPos(positions[keys[l][i]]);
  }
  return true;
}

}  // namespace midiimport
