// What a note typed on a staff or tablature line brings with it: the bar
// line that closes a measure the note completes (automatic bar insertion),
// and whether the note joins the beam of the notes before it (auto-join
// note clusters).

#include <algorithm>
#include <memory>

#include "model/KChord.h"
#include "model/KLineTime.h"
#include "model/KListLine.h"

namespace {

constexpr int kBarCode = 21;

bool IsFret(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// The duration code a typed code stands for on the line: a staff note 0..12,
// or a fret with the tablature duration; -1 for every other code.
int TypedDuration(bool tab, int code, int tabDuration) {
  if (tab) return IsFret(code) && tabDuration >= 0 && tabDuration <= KChord::kWholeNote ? tabDuration : -1;
  return code >= 0 && code <= KChord::kWholeNote ? code : -1;
}

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

  // A rest completes a measure as a note does, on a staff and on tablature.
  const bool rest = code >= kFirstRestCode && code <= kLastRestCode;
  const int duration = rest ? code : TypedDuration(tab, code, tabDuration);
  if (duration < 0 || beats <= 0 || beatTicks <= 0) return 1;
  const int measure = static_cast<int>(BarTicks(beats, beatTicks));

  // A note inside the line never pushes a bar into what follows it.
  const CObject* lastObject = m_objects.IsEmpty() ? nullptr : m_objects.GetTail();
  if (lastObject != nullptr && static_cast<const KPosObj*>(lastObject)->GetPos() > column) return 1;

  // The measure as it would be with the note entered, by the line's time:
  // full when every voice of it reaches the measure's length.
  const KChord* here = AsChord(GetObjAt(column, 0));
  const int rhythm = tab ? KChord::kTabRhythm + 10 * (rest ? 0 : duration) : 0;
  const std::unique_ptr<KChord> joined = here != nullptr ? std::make_unique<KChord>(*here, column, true)
                                                         : std::make_unique<KChord>(column, rhythm);
  if (joined->GetNoteCount() >= KChord::kMaxNotes) return 1;
  // (A fret typed where a column stands joins it as a chord of its length.)
  if (tab && !rest) {
    if (here == nullptr) joined->AddNote(row, code, 0, duration);
  } else {
    joined->AddNote(row, code);
  }
  if (KLineTime::StepOf(*joined) <= 0) return 1;
  KLineTimeOptions options;
  options.replace = joined.get();
  const KLineTime time(*this, std::move(options));
  int barStart = 0;
  int full = 0;  // the voices that had filled the measure before the column
  const KColumnTime* entered = nullptr;
  for (const KColumnTime& c : time.Columns()) {
    if (c.pos >= column) {
      if (c.pos == column) entered = &c;
      break;
    }
    if (c.kind == KColumnTime::Kind::kBar) {
      barStart = c.start;
      full = 0;
    } else if (c.kind != KColumnTime::Kind::kGrace) {
      full = 0;
      for (int v = 0; v < 2; ++v) full += c.voiceEnd[v] - barStart >= measure ? 1 : 0;
    }
  }
  // Never a bar after a bar, or after a measure already full.
  if (entered == nullptr || full == 2) return 1;
  for (int v = 0; v < 2; ++v) {
    if (entered->voiceEnd[v] - barStart != measure) return 1;
  }
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
