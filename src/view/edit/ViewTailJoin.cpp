#include "view/edit/ViewTailJoin.h"

#include <vector>

#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"

namespace viewnotes {

namespace {

int StemAt(const CObList& list, POSITION node, int voice) { return beam::StemOf(list.GetAt(node), voice); }

// The columns of the voice's group that reach into the range from before it
// (walking back from `from`), nearest last; empty when none does.
std::vector<POSITION> GroupPartBefore(const CObList& list, POSITION from, int voice) {
  std::vector<POSITION> part;
  POSITION node = from;
  list.GetPrev(node);
  while (node != nullptr) {
    const int stem = StemAt(list, node, voice);
    if (!beam::ContinuesAfter(stem)) break;
    part.insert(part.begin(), node);
    if (beam::Opens(stem)) break;
    list.GetPrev(node);
  }
  return part;
}

// The same after the range, walking on from `from`.
std::vector<POSITION> GroupPartAfter(const CObList& list, POSITION from, int voice) {
  std::vector<POSITION> part;
  for (POSITION node = from; node != nullptr; list.GetNext(node)) {
    const int stem = StemAt(list, node, voice);
    if (!beam::ContinuesBefore(stem)) break;
    part.push_back(node);
    if (beam::Closes(stem)) break;
  }
  return part;
}

void Rebeam(KListLine& line, const std::vector<POSITION>& part, int voice, int sizeIndex) {
  if (!part.empty()) line.ApplyToNodeRange(part.front(), part.back(), voice, sizeIndex);
}

}  // namespace

int JoinTailsInRange(KListLine& line, int first, int end, int sizeIndex, int mode) {
  CObList& list = *line.GetObjList();
  std::vector<POSITION> inRange;
  for (POSITION node = list.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    const KChord* column = AsChord(list.GetNext(node));
    if (column != nullptr && column->GetPos() >= first && column->GetPos() < end) inRange.push_back(here);
  }
  if (inRange.size() < 2) return -1;

  for (int voice = 0; voice < 2; ++voice) {
    if (mode == kJoin) {
      std::vector<POSITION> flagged;
      for (const POSITION node : inRange) {
        if (AsChord(list.GetAt(node))->GetFlagCount(voice) > 0) flagged.push_back(node);
      }
      if (flagged.size() >= 2) line.ApplyToNodeRange(flagged.front(), flagged.back(), voice, sizeIndex);
      continue;
    }
    // Un-join: the range leaves its groups; the pieces outside it stay beamed.
    std::vector<POSITION> before;
    if (beam::ContinuesBefore(StemAt(list, inRange.front(), voice)))
      before = GroupPartBefore(list, inRange.front(), voice);
    std::vector<POSITION> after;
    POSITION next = inRange.back();
    list.GetNext(next);
    if (next != nullptr && beam::ContinuesAfter(StemAt(list, inRange.back(), voice)))
      after = GroupPartAfter(list, next, voice);
    for (const POSITION node : inRange) {
      if (beam::IsMarker(StemAt(list, node, voice))) line.ApplyToNodeRange(node, node, voice, sizeIndex);
    }
    Rebeam(line, before, voice, sizeIndex);
    Rebeam(line, after, voice, sizeIndex);
  }
  line.MarkChanged();
  return static_cast<const KPosObj*>(list.GetAt(inRange.front()))->GetPos();
}

}  // namespace viewnotes
