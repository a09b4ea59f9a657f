// After live recording: each run of short rest columns becomes the fewest
// rests of larger values (dotted where needed).

#include <cstdint>
#include <vector>

#include "common/NoteConversions.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KListLineRestsServices.h"

namespace {

constexpr int kMaxCollected = 98;
constexpr int kWholeRest = 14;
constexpr int kLastRest = 20;

struct Collected {
  POSITION node;
  KChord* column;
  int restTicks;  // 0: not a rest
};

// Makes the column a single rest of the note value, dotted when asked.
void MakeRest(KChord& column, int value, bool dotted) {
  int step = column.GetRawNote(0).position;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    if (code >= kWholeRest && code <= kLastRest) {
      step = column.GetNote(i).position;
      break;
    }
  }
  column.SetNoteCount(1);
  column.SetNoteValue(0, step);
  column.SetNoteFlags(0, 0);
  column.SetNoteCode(0, kWholeRest + value);
  if (dotted) column.AddNote(step, KChord::kDot);
}

}  // namespace

int KListLine::MergeRests(int column, int acrossBars) {
  if (!IsNoteFamily(GetFamily()) || m_objects.IsEmpty()) return column;

  // From the tail: the columns at or before the column, back to the first bar
  // before it unless the walk goes across bars.
  std::vector<Collected> collected;
  int stoppedAt = 0;
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    KChord* chord = AsChord(m_objects.GetPrev(node));
    if (chord == nullptr || chord->GetPos() > column) continue;
    if (acrossBars == 0 && chord->IsBarColumn() && chord->GetPos() < column) {
      stoppedAt = chord->GetPos();
      break;
    }
    if (static_cast<int>(collected.size()) >= kMaxCollected) break;
    collected.push_back({here, chord, chord->GetRestTicks()});
  }
  if (collected.empty()) return column;

  bool changed = false;
  const int count = static_cast<int>(collected.size());
  // Earliest first: the collection was made from the tail.
  for (int i = count - 1; i >= 0;) {
    if (collected[i].restTicks <= 0) {
      --i;
      continue;
    }
    std::int64_t sum = 0;
    int best = -1;
    int bestValue = 0;
    bool bestDotted = false;
    for (int j = i; j >= 0 && collected[j].restTicks > 0; --j) {
      sum += collected[j].restTicks;
      if (sum > INT32_MAX) break;
      std::int32_t remainder = 0;
      std::int32_t dotted = 0;
      const int value =
          TicksToNoteValue(static_cast<std::int32_t>(sum), remainder, 0, dotted, g_liveShortestNote, 1);
      if (value >= 0 && (remainder == 0 || dotted != 0)) {
        best = j;
        bestValue = value;
        bestDotted = dotted != 0;
      }
    }
    if (best < 0 || best == i) {
      // Nothing to merge with this rest: the next stretch starts after it.
      --i;
      continue;
    }
    MakeRest(*collected[i].column, bestValue, bestDotted);
    for (int j = i - 1; j >= best; --j) {
      m_objects.RemoveAt(collected[j].node);
      delete collected[j].column;
    }
    changed = true;
    i = best - 1;
  }
  if (changed) {
    UpdateTimeSigCache();
    MarkChanged();
  }
  return stoppedAt;
}
