// A column's counterpart on the bracketed partner line: the frets that play
// a staff column, or the staff notes that a tablature column sounds.

#include <memory>

#include "model/KChord.h"
#include "model/KColumnConversion.h"

namespace {

constexpr int kStaffToTab = 0;
constexpr int kTabToStaff = 2;

// The longer of the two voice durations (the larger tick count); -1 when
// neither voice holds a note.
int LongestDuration(const KChord& column) {
  int best = -1;
  int bestTicks = -1;
  for (int voice = 0; voice < 2; ++voice) {
    const int duration = column.GetVoiceDuration(voice);
    if (duration < 0 || duration > KChord::kWholeNote) continue;
    const int ticks = NoteCodeTicks(duration);
    if (ticks > bestTicks) {
      best = duration;
      bestTicks = ticks;
    }
  }
  return best;
}

}  // namespace

KChord* KChord::MakeTabFingering(const KChord& source, KColumnConversion& lines, int staffType, int tabType,
                                 int column, int handPosition, int mode) {
  std::unique_ptr<KChord> converted;
  if (mode == kStaffToTab && !source.IsTabColumn()) {
    converted.reset(source.ConvertColumn(staffType, tabType, &lines, column, handPosition));
  } else if (mode == kTabToStaff && source.IsTabColumn()) {
    converted.reset(source.ConvertColumn(tabType, staffType, &lines, column, 0));
  }
  if (converted == nullptr) return nullptr;
  converted->SetPos(column);
  if (converted->IsBarColumn() || converted->IsSignatureColumn()) return converted.release();

  const int style = source.GetNoteStyle();
  if (mode == kStaffToTab) {
    const int duration = LongestDuration(source);
    if (duration >= 0) converted->SetRhythmCode(kTabRhythm + 10 * duration + style);
  } else {
    converted->SetRhythmCode(style);
  }
  return converted.release();
}
