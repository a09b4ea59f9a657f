// Beam groups of staff and tablature lines: finding the group around a column,
// clearing part of a group, writing the stem values of a beamed range, and
// re-evaluating the groups around a column that was just inserted.
//
// A group joins consecutive columns of one voice that have flags (eighths and
// shorter); a bar column or a column whose voice is drawn without beam (stem
// value 6) ends it. The stem ends of a group lie on one straight beam line:
// voice 0 (odd note codes) has its stems down and its beam below the notes,
// voice 1 above them.

#include "model/KListLineBeams.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

#include "common/Globals.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"

namespace {

using beam::kBackward;
using beam::kForward;

// Geometry of a beam in the units of the stem ends (staff steps of 3 or 4).
constexpr double kMaxSlope = 0.05;  // for groups of more than two columns
constexpr double kBeamOffset = 22.0;
constexpr double kStemStep = 5.0;
constexpr double kMinStem = 12.0;
// A stem end at or below 6 would read as a plain stem value; a beam above the
// notes never runs that high.
constexpr double kHighestEnd = 8.0;
// The y of the stem frame for a note: notes and stem ends count from 100.
constexpr int kStemOrigin = 100;
constexpr int kMiddleStep = 14;
constexpr int kTabTopString = 2;

int SizeIndexOf(int sizeIndex) { return sizeIndex != 0 ? 1 : 0; }

int PosOf(const CObList& list, POSITION node) {
  return static_cast<const KPosObj*>(list.GetAt(node))->GetPos();
}

POSITION Step(const CObList& list, POSITION node, int direction) {
  if (node == nullptr) return nullptr;
  if (direction == kBackward) {
    list.GetPrev(node);
  } else {
    list.GetNext(node);
  }
  return node;
}

// True when walking from `from` in the direction meets `to`.
bool Reaches(const CObList& list, POSITION from, POSITION to, int direction) {
  for (POSITION node = from; node != nullptr; node = Step(list, node, direction)) {
    if (node == to) return true;
  }
  return false;
}

// The nearest column with flags in the voice from `node` on (included), not
// across a bar column or a column whose voice is drawn without beam.
POSITION NearestFlagged(const CObList& list, POSITION node, int voice, int direction) {
  for (; node != nullptr; node = Step(list, node, direction)) {
    const KChord* column = AsChord(list.GetAt(node));
    if (column == nullptr) continue;
    if (column->IsBarColumn() || column->GetVoiceStem(voice) == KChord::kStemPlain) return nullptr;
    if (column->GetFlagCount(voice) > 0) return node;
  }
  return nullptr;
}

void ResetMarker(KChord* column, int voice) {
  if (column != nullptr && beam::IsMarker(column->GetVoiceStem(voice))) column->SetVoiceStem(voice, 0);
}

// The y of a note position in the frame of the stem ends (it grows downwards),
// as KChord::SetStemEnd measures from it.
double NoteY(const KChord& column, int note, int sizeIndex) {
  if (!column.IsTabColumn()) return (note - kMiddleStep) * g_StaffStep[sizeIndex] + kStemOrigin;
  return (note - kTabTopString) * (TabStringSpacing(sizeIndex) + 1) - 2 + kStemOrigin;
}

struct BeamMember {
  KChord* column;
  double x;
  double noteY;  // the note the stem starts from, or on drums the outermost note
};

// Fits the beam line of a group of at least two columns and writes the stem
// values: the first column odd (opens), the inner ones negative, the last
// even (closes).
void WriteGroup(const std::vector<BeamMember>& members, int voice, int sizeIndex) {
  const double sense = voice == 0 ? 1.0 : -1.0;
  const BeamMember& head = members.front();
  const BeamMember& tail = members.back();
  double slope = tail.x != head.x ? (tail.noteY - head.noteY) / (tail.x - head.x) : 0.0;
  if (members.size() > 2) slope = std::clamp(slope, -kMaxSlope, kMaxSlope);
  const double midX = (head.x + tail.x) / 2.0;
  const double midY = (head.noteY + tail.noteY) / 2.0;

  // The beam stands 22 units off the notes and moves away from them in steps
  // of 5 while its shortest stem is below 12 units.
  auto offsetFor = [&](double s) {
    double offset = kBeamOffset * sense;
    double shortest = INFINITY;
    for (const BeamMember& m : members)
      shortest = std::min(shortest, sense * (midY + s * (m.x - midX) + offset - m.noteY));
    if (shortest < kMinStem) offset += sense * kStemStep * std::ceil((kMinStem - shortest) / kStemStep);
    return offset;
  };
  double offset = offsetFor(slope);
  auto beamAt = [&](double x) { return midY + slope * (x - midX) + offset; };
  if (voice != 0) {
    const bool tooHigh = std::any_of(members.begin(), members.end(),
                                     [&](const BeamMember& m) { return beamAt(m.x) < kHighestEnd; });
    if (tooHigh) {
      slope = 0.0;
      offset = offsetFor(slope);
    }
  }

  const int toward = voice == 0 ? 1 : -1;  // lengthens a stem by one unit
  for (std::size_t i = 0; i < members.size(); ++i) {
    int y = static_cast<int>(std::lround(beamAt(members[i].x)));
    if (i == 0) {
      if (y % 2 == 0) y += toward;
    } else if (i + 1 == members.size()) {
      if (y % 2 != 0) y += toward;
    } else {
      y = -y;
    }
    members[i].column->SetStemEnd(voice, y, sizeIndex, -1);
  }
}

}  // namespace

void KListLine::FindNeighbours(int column, int voice, POSITION& start, POSITION& end) const {
  start = nullptr;
  end = nullptr;
  // The object just after the column, unless the column itself ends every
  // group (a bar, or a voice without beam); then the last object before it.
  POSITION successor = nullptr;
  POSITION predecessor = nullptr;
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const POSITION here = node;
    const CObject* object = m_objects.GetPrev(node);
    const int pos = static_cast<const KPosObj*>(object)->GetPos();
    if (pos > column) {
      successor = here;
    } else if (pos == column) {
      const KChord* chord = AsChord(object);
      if (chord != nullptr && (chord->IsBarColumn() || chord->GetVoiceStem(voice) == KChord::kStemPlain))
        successor = nullptr;
    } else {
      predecessor = here;
      break;
    }
  }
  start = NearestFlagged(m_objects, predecessor, voice, kBackward);
  end = NearestFlagged(m_objects, successor, voice, kForward);
}

POSITION KListLine::FindBeamGroupEdge(POSITION node, int voice, int direction) const {
  const int dir = direction == kBackward ? kBackward : kForward;
  for (; node != nullptr; node = Step(m_objects, node, dir)) {
    const KChord* column = AsChord(m_objects.GetAt(node));
    if (column == nullptr) continue;
    const int stem = column->GetVoiceStem(voice);
    // Groups never reach over a bar or a voice drawn without beam.
    if (stem == KChord::kStemPlain || column->IsBarColumn()) return nullptr;
    if (dir == kBackward ? beam::Opens(stem) : beam::Closes(stem)) return node;
    if (stem == 0 && column->GetVoiceDuration(voice) < 8) return node;
  }
  return nullptr;
}

void KListLine::ClearBeamRange(POSITION first, POSITION last, int voice, int direction) {
  m_changed = 1;
  if (first == nullptr || first == last) return;
  const int dir = direction == kBackward ? kBackward : kForward;
  // Without a bound ahead (no neighbour, or the neighbour lies behind the
  // start) the walk clears the rest of the start's own group only: it stops
  // before a column outside every group and after the group's edge.
  const bool bounded = last != nullptr && Reaches(m_objects, first, last, dir);
  for (POSITION node = first; node != nullptr && node != last; node = Step(m_objects, node, dir)) {
    KChord* column = AsChord(m_objects.GetAt(node));
    if (column == nullptr) continue;
    const int stem = column->GetVoiceStem(voice);
    if (!bounded && node != first && (column->IsBarColumn() || !beam::IsMarker(stem))) break;
    if (beam::IsMarker(stem)) column->SetVoiceStem(voice, 0);
    if (!bounded && (dir == kBackward ? beam::Opens(stem) : beam::Closes(stem))) break;
  }
}

void KListLine::ApplyToNodeRange(POSITION first, POSITION last, int voice, int sizeIndex) {
  m_changed = 1;
  if (first == nullptr || last == nullptr) return;
  if (first == last) {
    // A single column stands outside every group; its plain and bar values stay.
    ResetMarker(AsChord(m_objects.GetAt(first)), voice);
    return;
  }
  BeamRange(first, last, voice, sizeIndex);
}

void KListLine::BeamRange(POSITION first, POSITION last, int voice, int sizeIndex) {
  m_changed = 1;
  if (first == nullptr || last == nullptr) return;
  if (!Reaches(m_objects, first, last, kForward)) {
    if (!Reaches(m_objects, last, first, kForward)) return;
    std::swap(first, last);
  }
  voice = voice != 0 ? 1 : 0;
  const int size = SizeIndexOf(sizeIndex);
  const bool drums = GetType() == kKindDrums;
  const double lead = GetLeadInWidth(size);
  const double width = g_NoteColumnWidth[size];

  // Columns with flags join the group; columns without flags between two of
  // them are passed over by the beam (-1); those before the first or after the
  // last of a group stand outside it. A bar ends the group, and so does the
  // 33rd column with flags, which starts the next one.
  std::vector<BeamMember> members;
  std::vector<KChord*> pending;
  bool warned = false;
  auto finish = [&]() {
    if (members.size() >= 2) {
      WriteGroup(members, voice, size);
    } else {
      for (const BeamMember& m : members) ResetMarker(m.column, voice);
    }
    for (KChord* column : pending) ResetMarker(column, voice);
    members.clear();
    pending.clear();
  };
  for (POSITION node = first; node != nullptr;) {
    const POSITION here = node;
    KChord* column = AsChord(m_objects.GetNext(node));
    if (column != nullptr) {
      if (column->IsBarColumn()) {
        finish();
      } else if (column->GetFlagCount(voice) > 0) {
        if (members.size() == static_cast<std::size_t>(beam::kMaxColumns)) {
          if (!warned) AfxMessageBox(beam::kTooLongMessage);
          warned = true;
          finish();
        }
        for (KChord* passed : pending) {
          if (members.empty()) {
            ResetMarker(passed, voice);
          } else {
            passed->SetVoiceStem(voice, -1);
          }
        }
        pending.clear();
        const int note = column->GetExtremeNote(drums ? (voice == 0 ? 101 : 100) : voice);
        members.push_back({column, lead + column->GetPos() * width, NoteY(*column, note, size)});
      } else {
        pending.push_back(column);
      }
    }
    if (here == last) break;
  }
  finish();
}

int KListLine::RebeamAfterInsert(POSITION node, int sizeIndex, const int* beamFlags) {
  int touched = INT_MAX;
  KChord* column = node != nullptr ? AsChord(m_objects.GetAt(node)) : nullptr;
  if (column == nullptr || !IsNoteFamily(GetFamily())) return touched;
  const POSITION previous = Step(m_objects, node, kBackward);
  const POSITION next = Step(m_objects, node, kForward);

  for (int voice = 0; voice < 2; ++voice) {
    const int stem = column->GetVoiceStem(voice);
    const bool flagged = column->GetFlagCount(voice) > 0;
    // The new column continues the group before it: asked for by the caller's
    // beam flag of the voice, or carried in its own stem value.
    const bool continues =
        flagged && ((beamFlags != nullptr && beamFlags[voice] != 0) || stem < 0 || beam::Closes(stem));
    const POSITION after = NearestFlagged(m_objects, next, voice, kForward);
    // The search backwards can walk the whole line (a voice without flags and
    // no bar); it is needed only when a group may run across the new column
    // or the new column continues one. A column appended at the end of a
    // line needs it only in the second case.
    const POSITION before =
        after != nullptr || continues ? NearestFlagged(m_objects, previous, voice, kBackward) : nullptr;
    // A group of the line runs across the new column.
    const bool spanning = before != nullptr && after != nullptr &&
                          beam::ContinuesAfter(beam::StemOf(m_objects.GetAt(before), voice)) &&
                          beam::ContinuesBefore(beam::StemOf(m_objects.GetAt(after), voice));
    auto apply = [&](POSITION from, POSITION to) {
      if (from != nullptr) touched = std::min(touched, PosOf(m_objects, from));
      ApplyToNodeRange(from, to, voice, sizeIndex);
    };

    if (spanning && (column->IsBarColumn() || stem == KChord::kStemPlain || (flagged && !continues))) {
      // The new column breaks the group: each side is beamed on its own.
      const POSITION afterEdge = FindBeamGroupEdge(after, voice, kForward);
      ClearBeamRange(next, after, voice, kForward);
      apply(after, afterEdge);
      const POSITION beforeEdge = FindBeamGroupEdge(before, voice, kBackward);
      ClearBeamRange(previous, before, voice, kBackward);
      apply(beforeEdge, before);
      ResetMarker(column, voice);
    } else if (spanning) {
      apply(FindBeamGroupEdge(before, voice, kBackward), FindBeamGroupEdge(after, voice, kForward));
    } else if (continues && before != nullptr) {
      apply(FindBeamGroupEdge(before, voice, kBackward), node);
    } else {
      ResetMarker(column, voice);
    }
  }
  return touched;
}
