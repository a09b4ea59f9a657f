// See ImportedSystems.h. Beats follow the time signature as typed entry's
// beaming by beat does: a quarter in simple time, a dotted quarter in
// compound eighths (6/8, 9/8, 12/8), a half note in x/2 time.

#include "doc/ImportedSystems.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "doc/CStavlinDoc.h"
#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KLineTime.h"
#include "model/NoteValues.h"

namespace {

constexpr int kBar = 21;
constexpr int kFinalBar = 23;
constexpr int kBarRow = 18;

int MeasureTicks(KListLine& line, int column) {
  int beats = 0;
  int beatTicks = 0;
  line.GetTimeSignatureAt(column, beats, beatTicks, 0);
  return static_cast<int>(BarTicks(beats, beatTicks));
}

// The flagged notes' codes: eighth to 64th notes, the odd codes of voice 0
// (stems down), the even ones of voice 1 (stems up).
bool IsFlaggedCode(int code) { return code >= 0 && code <= 7; }

// The voice of a column whose notes are all flagged notes of one voice; -1
// for any other column (a rest, a longer note, notes of both voices).
int FlaggedVoice(const KChord& column) {
  int voice = -1;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const int code = column.GetNote(i).code;
    if ((code >= 8 && code <= 20) || (code >= 108 && code <= 111)) return -1;
    if (!IsFlaggedCode(code)) continue;
    const int own = code % 2 == 1 ? 0 : 1;
    if (voice >= 0 && own != voice) return -1;
    voice = own;
  }
  return voice >= 0 && column.GetFlagCount(voice) > 0 ? voice : -1;
}

// Beams the columns as one group. The import gives each note the stem
// direction of its own height, which puts the notes of one melody in two
// voices; a beamed group has one direction, that of the group's middle
// height, so its notes all take the code of that voice (their time does
// not change: a bar of one voice keeps one clock whatever its stems).
void BeamGroup(KListLine& line, const std::vector<std::pair<POSITION, KChord*>>& members) {
  if (members.size() < 2) return;
  long long rows = 0;
  int notes = 0;
  for (const auto& member : members) {
    for (int i = 0; i < member.second->GetNoteCount(); ++i) {
      const NotePair note = member.second->GetNote(i);
      if (!IsFlaggedCode(note.code)) continue;
      rows += note.position;
      ++notes;
    }
  }
  // Rows count downwards from the top; row 18 is the middle line.
  const int voice = notes > 0 && rows < 18LL * notes ? 0 : 1;
  for (const auto& member : members) {
    KChord& column = *member.second;
    for (int i = 0; i < column.GetNoteCount(); ++i) {
      const int code = column.GetNote(i).code;
      if (IsFlaggedCode(code) && (code % 2 == 1 ? 0 : 1) != voice) column.SetNoteCode(i, code ^ 1);
    }
  }
  line.BeamRange(members.front().first, members.back().first, voice, 0);
}

// Beams each run of flagged notes within one beat.
void BeamByBeat(KListLine& line) {
  const KLineTime time(line);
  CObList& objects = *line.GetObjList();
  POSITION node = objects.GetHeadPosition();
  int barStart = 0;
  int groupBeat = -1;
  std::vector<std::pair<POSITION, KChord*>> members;
  auto close = [&] {
    BeamGroup(line, members);
    members.clear();
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
    int beats = kDefaultBeats;
    int beatTicks = kDefaultBeatTicks;
    line.GetTimeSignatureAt(column.pos, beats, beatTicks, 0);
    const int beat = SignatureBeatTicks(beats, beatTicks);
    const bool flagged = column.kind == Kind::kNotes && FlaggedVoice(*column.chord) >= 0;
    const int inBeat = std::max(0, column.start - barStart) / beat;
    if (!flagged || inBeat != groupBeat) close();
    if (!flagged) continue;
    groupBeat = inBeat;
    if (auto* chord = dynamic_cast<KChord*>(static_cast<KPosObj*>(objects.GetAt(here))))
      members.emplace_back(here, chord);
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
