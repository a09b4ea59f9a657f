// Grouping the beams of whole bars again by beats: when a tuplet bracket is
// placed over notes already written, its notes start at other times than
// they did, so the beats their beams followed are no longer the music's.
// The line's time says when each column starts; within a bar, a flagged
// column that starts inside a beat joins the flagged column just before it.

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "model/KChord.h"
#include "model/KLineTime.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"

int KListLine::RegroupBeamsByBeat(int firstColumn, int lastColumn, int mode, int sizeIndex) {
  if (!IsNoteFamily(GetFamily()) || mode <= 0 || m_objects.IsEmpty()) return -1;
  if (lastColumn < firstColumn) std::swap(firstColumn, lastColumn);

  // The bars that hold the range: after the last bar column before it, up to
  // the first one at or after its end.
  const KLineTime time(*this);
  int from = -1;
  int to = -1;
  for (const KColumnTime& c : time.Columns()) {
    if (c.kind != KColumnTime::Kind::kBar) continue;
    if (c.pos < firstColumn) from = c.pos;
    if (c.pos >= lastColumn && to < 0) to = c.pos;
  }
  auto inRange = [&](int pos) { return pos > from && (to < 0 || pos < to); };

  // The columns of those bars and their nodes; every group there is undone
  // first, so that nothing of an old group stays behind.
  std::unordered_map<const KChord*, POSITION> nodes;
  for (POSITION at = m_objects.GetHeadPosition(); at != nullptr;) {
    const POSITION here = at;
    KChord* column = AsChord(m_objects.GetNext(at));
    if (column == nullptr || !inRange(column->GetPos())) continue;
    nodes[column] = here;
    for (int voice = 0; voice < 2; ++voice) {
      if (beam::IsMarker(column->GetVoiceStem(voice))) column->SetVoiceStem(voice, 0);
    }
  }
  m_changed = 1;

  for (int voice = 0; voice < 2; ++voice) {
    std::vector<POSITION> run;
    auto close = [&]() {
      if (!run.empty()) ApplyToNodeRange(run.front(), run.back(), voice, sizeIndex);
      run.clear();
    };
    int barStart = 0;
    for (const KColumnTime& c : time.Columns()) {
      if (c.kind == KColumnTime::Kind::kBar) {
        if (inRange(c.pos)) close();
        barStart = c.start;
        continue;
      }
      if (!inRange(c.pos)) continue;
      const auto found = nodes.find(c.chord);
      if (found == nodes.end()) continue;
      const KChord& column = *c.chord;
      const int stem = column.GetVoiceStem(voice);
      if (column.GetFlagCount(voice) == 0 || stem == KChord::kStemPlain) {
        // A column that sounds in the voice without flags, a rest, or a voice
        // drawn without beam ends the run; a column that leaves the voice
        // silent does not.
        if (column.GetVoiceDuration(voice) <= KChord::kWholeNote || stem == KChord::kStemPlain ||
            c.kind == KColumnTime::Kind::kRest)
          close();
        continue;
      }
      int beats = 0;
      int beatTicks = 0;
      GetTimeSignatureAt(c.pos, beats, beatTicks, 0);
      if (beats <= 0 || beatTicks <= 0) {
        beats = kDefaultBeats;
        beatTicks = kDefaultBeatTicks;
      }
      const int unit = BeamBeatTicks(mode, beats, beatTicks);
      const int start = (c.twoVoices ? c.voiceEnd[voice] - c.length[voice] : c.start) - barStart;
      if (unit <= 0 || start % unit == 0) close();
      run.push_back(found->second);
    }
    close();
  }
  return from + 1;
}
