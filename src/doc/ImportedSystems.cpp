// See ImportedSystems.h. Beats follow the time signature as typed entry's
// beaming by beat does: a quarter in simple time, a dotted quarter in
// compound eighths (6/8, 9/8, 12/8), a half note in x/2 time.

#include "doc/ImportedSystems.h"

#include <algorithm>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KLineTime.h"

namespace {

constexpr int kBar = 21;
constexpr int kFinalBar = 23;
constexpr int kBarRow = 18;

int BeatTicks(int beats, int beatTicks) {
  if (beatTicks == 960) return 960;
  if (beatTicks == 240 && beats % 3 == 0) return 720;
  return 480;
}

int MeasureTicks(KListLine& line, int column) {
  int beats = 4;
  int beatTicks = 480;
  line.GetTimeSignatureAt(column, beats, beatTicks, 0);
  if (beats < 1 || beatTicks < 1) return 1920;
  return beats * beatTicks;
}

// The voice whose flagged notes the column holds; -1 when none.
int FlaggedVoice(const KChord& column) {
  for (int voice = 0; voice < 2; ++voice) {
    if (column.GetFlagCount(voice) > 0) return voice;
  }
  return -1;
}

// Beams each run of flagged notes of one voice within one beat.
void BeamByBeat(KListLine& line) {
  const KLineTime time(line);
  CObList& objects = *line.GetObjList();
  POSITION node = objects.GetHeadPosition();
  int barStart = 0;
  POSITION first = nullptr;
  POSITION last = nullptr;
  int voice = -1;
  int groupBeat = -1;
  int members = 0;
  auto close = [&] {
    if (members >= 2) line.BeamRange(first, last, voice, 0);
    first = last = nullptr;
    members = 0;
    voice = -1;
  };
  for (const KColumnTime& column : time.Columns()) {
    // The list node of the column (the time lists the line's columns in order).
    POSITION here = nullptr;
    while (node != nullptr && here == nullptr) {
      const POSITION at = node;
      if (objects.GetNext(node) == column.chord) here = at;
    }
    if (here == nullptr) break;
    using Kind = KColumnTime::Kind;
    if (column.kind == Kind::kBar) {
      close();
      barStart = column.start;
      continue;
    }
    if (column.kind == Kind::kSignature || column.kind == Kind::kGrace || column.kind == Kind::kNone)
      continue;
    int beats = 4;
    int beatTicks = 480;
    line.GetTimeSignatureAt(column.pos, beats, beatTicks, 0);
    const int beat = BeatTicks(beats, beatTicks);
    const int flagged = column.kind == Kind::kNotes ? FlaggedVoice(*column.chord) : -1;
    const int inBeat = std::max(0, column.start - barStart) / beat;
    if (flagged < 0 || flagged != voice || inBeat != groupBeat) close();
    if (flagged < 0) continue;
    if (members == 0) {
      first = here;
      voice = flagged;
      groupBeat = inBeat;
    }
    last = here;
    ++members;
  }
  close();
}

// The ticks written since the line's last bar (or its start).
int TicksSinceLastBar(KListLine& line) {
  const KLineTime time(line);
  int since = 0;
  for (const KColumnTime& column : time.Columns()) {
    if (column.kind == KColumnTime::Kind::kBar) {
      since = 0;
    } else {
      since += column.Step();
    }
  }
  return since;
}

KChord* LastColumn(KListLine& line) {
  CObList& objects = *line.GetObjList();
  for (POSITION node = objects.GetTailPosition(); node != nullptr;) {
    if (auto* column = dynamic_cast<KChord*>(static_cast<KPosObj*>(objects.GetPrev(node)))) return column;
  }
  return nullptr;
}

void AddBar(KListLine& line, int code) {
  const KChord* tail = LastColumn(line);
  if (tail == nullptr) return;
  auto* bar = new KChord(tail->GetPos() + 1);
  bar->AddNote(kBarRow, code);
  line.InsertObjAt(bar, 0, tail->GetPos() + 1, nullptr, 0);
}

}  // namespace

void FinishImportedSystems(CStavlinDoc& doc, int staffCount) {
  std::vector<KStaffLine*> staves;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    if (auto* staff = dynamic_cast<KStaffLine*>(doc.GetNextLine(pos))) staves.push_back(staff);
  }
  const std::size_t lastSystem =
      staves.size() - std::min(staves.size(), static_cast<std::size_t>(std::max(1, staffCount)));
  for (std::size_t i = 0; i < staves.size(); ++i) {
    KStaffLine& staff = *staves[i];
    const KChord* tail = LastColumn(staff);
    if (tail == nullptr) continue;
    BeamByBeat(staff);
    if (i >= lastSystem) {
      if (tail->IsBarColumn()) continue;
      AddBar(staff, kFinalBar);
    } else if (!tail->IsBarColumn()) {
      // A system cut at a bar line ends with it; one cut inside a long
      // measure goes on in the next system without one.
      const int since = TicksSinceLastBar(staff);
      const int measure = MeasureTicks(staff, tail->GetPos());
      if (since > 0 && since % measure == 0) AddBar(staff, kBar);
    }
  }
}
