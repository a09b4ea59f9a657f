// What a note typed on a staff or tablature line brings with it: the bar
// line that closes a measure the note completes (automatic bar insertion),
// and whether the note joins the beam of the notes before it (auto-join
// note clusters).

#include <algorithm>

#include "model/KChord.h"
#include "model/KListLine.h"

namespace {

constexpr int kBarCode = 21;
constexpr int kFirstRestCode = 14;  // the whole rest, down to
constexpr int kLastRestCode = 20;   // the 64th rest
constexpr int kEveryVoice = 3;      // GetTicks counts the notes of both voices

bool IsFret(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// The duration code a typed code stands for on the line: a staff note 0..12,
// or a fret with the tablature duration; -1 for every other code.
int TypedDuration(bool tab, int code, int tabDuration) {
  if (tab) return IsFret(code) && tabDuration >= 0 && tabDuration <= KChord::kWholeNote ? tabDuration : -1;
  return code >= 0 && code <= KChord::kWholeNote ? code : -1;
}

// The voice index of GetTicks for a duration: odd codes voice 0, even codes
// voice 1.
int VoiceOf(int duration) { return duration % 2 == 1 ? 0 : 1; }

}  // namespace

int KListLine::EnterPreviousNote(int sizeIndex, int row, int code, int column, int tabDuration, int beats,
                                 int beatTicks, int codes[2], int columns[2]) {
  (void)sizeIndex;
  codes[0] = code;
  columns[0] = column;
  const int family = GetFamily();
  if (!IsNoteFamily(family) || column < 0) return 1;
  const bool tab = family == kFamilyTab;
  int checkedCode = code;
  int checkedColumn = column;
  if (CheckMeasureTiming(code, column, row, tabDuration, checkedCode, checkedColumn, 0) == 0) return 0;

  // A rest completes a measure as a note does; it stands for every voice.
  const bool rest = !tab && code >= kFirstRestCode && code <= kLastRestCode;
  const int duration = rest ? code : TypedDuration(tab, code, tabDuration);
  if (duration < 0 || beats <= 0 || beatTicks <= 0) return 1;
  const long long measure = static_cast<long long>(beats) * beatTicks;
  const int voice = rest ? kEveryVoice : VoiceOf(duration);

  // The ticks of the measure before the column, from the last bar before it.
  long long ticks = 0;
  bool laterObject = false;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(m_objects.GetNext(node));
    if (chord == nullptr) continue;
    if (chord->GetPos() > column) {
      laterObject = true;
      break;
    }
    if (chord->IsBarColumn()) {
      ticks = 0;
      continue;
    }
    if (chord->GetPos() < column) ticks += chord->GetTicks(voice, false);
  }
  // A note inside the line never pushes a bar into what follows it.
  if (laterObject) return 1;
  ticks += NoteCodeTicks(duration);
  if (ticks != measure) return 1;
  codes[1] = kBarCode;
  columns[1] = column + 1;
  return 2;
}

int KListLine::EnterPreviousChord(int sizeIndex, int code, int column, int tabDuration, int beats,
                                  int beatTicks, int mode) {
  (void)sizeIndex;
  (void)beats;
  (void)beatTicks;
  const bool tab = GetFamily() == kFamilyTab;
  const int duration = TypedDuration(tab, code, tabDuration);
  // Only flagged notes (eighths to 64ths) form clusters.
  if (duration < 0 || duration > 7 || mode <= 0) return 0;
  return ShouldBeamWithPrevious(mode, code, column, tabDuration) != 0 ? 1 : 0;
}
