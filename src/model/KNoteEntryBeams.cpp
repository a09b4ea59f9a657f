// The beam repair that ends a call of the note-entry editor. For each voice it
// chooses a range of columns to beam again (or none) from the working values
// taken before the change: a group that the caret column left is closed at its
// neighbours, a group that runs through the caret is beamed again through it
// or split around it, and a flagged note with the beam flag joins the group
// before it. The ranges of both voices are applied at the end, and the redraw
// column moves back to the first column of each.

#include <algorithm>

#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "model/KNoteEntry.h"

namespace {

using beam::kBackward;
using beam::kForward;

bool IsFret(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
bool IsStemlessHead(int code) { return code >= 108 && code <= 111; }

}  // namespace

KLinePair KNoteEntry::RepairBeams() {
  const bool fret = m_tab && IsFret(m_a.code);
  // A tablature quarter or half that ended stemless beside shorter notes
  // changes no group.
  if (!(m_tab && (fret || m_valueChange) && IsStemlessHead(m_effective))) {
    const int tested = fret && !m_valueChange ? m_noteValue : m_entryCode;
    for (int v = 0; v < 2; ++v) ChooseRange(v, tested);
  }
  for (int v = 0; v < 2; ++v) {
    const Voice& w = m_voices[v];
    if (w.first == nullptr) continue;
    m_redraw = std::min(m_redraw, static_cast<const KPosObj*>(m_list.GetAt(w.first))->GetPos());
    m_line.ApplyToNodeRange(w.first, w.last, v, m_a.sizeIndex);
  }
  return {m_step, m_redraw};
}

void KNoteEntry::ChooseRange(int voice, int tested) {
  Voice& w = m_voices[voice];
  if (w.broken) {
    ChooseForBrokenGroup(voice);
    return;
  }
  if (m_valueChange) {
    ChooseForValueChange(voice, tested);
    return;
  }
  if (!w.inGroup) {
    if (w.join && w.neighbourBefore != nullptr) Join(voice);
    return;
  }

  // A caret column that is an edge of the group stands in for the neighbour
  // on its own side.
  POSITION before = w.neighbourBefore;
  POSITION after = w.neighbourAfter;
  if (w.stem > KChord::kStemPlain && m_node != nullptr) {
    if (beam::Opens(w.stem)) {
      before = m_node;
    } else {
      after = m_node;
    }
  }
  const bool barCode =
      (tested >= 21 && tested <= 26) || tested == KChord::kTimeSignature || tested == KChord::kKeySignature;
  const bool noteOfVoice = tested >= 0 && tested <= 11 && tested % 2 == (voice == 0 ? 1 : 0);
  if (barCode) {
    Split(voice, before, after);
  } else if (!noteOfVoice) {
    Rebeam(voice, before, after);
  } else if (tested >= 8) {
    Split(voice, before, after);  // a quarter or half ends the beam
  } else if (m_a.beamFlag == 0 && !m_joined) {
    Split(voice, before, after);
  } else {
    Rebeam(voice, before, after);
  }
}

void KNoteEntry::ChooseForBrokenGroup(int voice) {
  Voice& w = m_voices[voice];
  if (beam::Opens(w.stem)) {
    // The rest of the group starts at the next flagged column.
    m_line.ClearBeamRange(m_deleted ? m_after : m_node, w.neighbourAfter, voice, kForward);
    SetRange(voice, w.neighbourAfter, Edge(w.neighbourAfter, voice, kForward));
  } else if (beam::Closes(w.stem)) {
    m_line.ClearBeamRange(m_deleted ? m_before : m_node, w.neighbourBefore, voice, kBackward);
    SetRange(voice, Edge(w.neighbourBefore, voice, kBackward), w.neighbourBefore);
  } else {
    Rebeam(voice, w.neighbourBefore, w.neighbourAfter);
  }
}

void KNoteEntry::ChooseForValueChange(int voice, int tested) {
  Voice& w = m_voices[voice];
  if (!beam::IsMarker(w.stem)) {
    if (w.join && w.neighbourBefore != nullptr) Join(voice);
    return;
  }
  // The voice leaves its group for a quarter or half, or when the new value
  // belongs to the other voice; a tablature column keeps it while it still
  // has flags there.
  bool leaves = (tested >= 8 && tested <= 11) || tested % 2 != w.duration % 2;
  if (m_tab && m_chord != nullptr && m_chord->GetFlagCount(voice) > 0) leaves = false;

  if (beam::Opens(w.stem)) {
    if (!leaves) {
      SetRange(voice, m_node, Edge(w.neighbourAfter, voice, kForward));
      return;
    }
    ResetCaretStem(voice);
    m_line.ClearBeamRange(m_after, w.neighbourAfter, voice, kForward);
    SetRange(voice, w.neighbourAfter, Edge(w.neighbourAfter, voice, kForward));
  } else if (beam::Closes(w.stem)) {
    if (!leaves) {
      SetRange(voice, Edge(w.neighbourBefore, voice, kBackward), m_node);
      return;
    }
    ResetCaretStem(voice);
    m_line.ClearBeamRange(m_before, w.neighbourBefore, voice, kBackward);
    SetRange(voice, Edge(w.neighbourBefore, voice, kBackward), w.neighbourBefore);
  } else if (!leaves) {
    Rebeam(voice, w.neighbourBefore, w.neighbourAfter);
  } else {
    ResetCaretStem(voice);
    Split(voice, w.neighbourBefore, w.neighbourAfter);
  }
}

void KNoteEntry::Join(int voice) {
  SetRange(voice, Edge(m_voices[voice].neighbourBefore, voice, kBackward), m_node);
}

void KNoteEntry::Rebeam(int voice, POSITION before, POSITION after) {
  SetRange(voice, Edge(before, voice, kBackward), Edge(after, voice, kForward));
}

void KNoteEntry::Split(int voice, POSITION before, POSITION after) {
  // The part after the caret is beamed at once, the part before at the end.
  const POSITION afterEdge = Edge(after, voice, kForward);
  m_line.ClearBeamRange(m_after, after, voice, kForward);
  m_line.ApplyToNodeRange(after, afterEdge, voice, m_a.sizeIndex);
  const POSITION beforeEdge = Edge(before, voice, kBackward);
  m_line.ClearBeamRange(m_before, before, voice, kBackward);
  SetRange(voice, beforeEdge, before);
}

void KNoteEntry::ResetCaretStem(int voice) {
  if (m_chord != nullptr && beam::IsMarker(m_chord->GetVoiceStem(voice))) m_chord->SetStemEnd(voice, 0, 0, 0);
}

void KNoteEntry::SetRange(int voice, POSITION first, POSITION last) {
  m_voices[voice].first = first;
  m_voices[voice].last = last;
}

POSITION KNoteEntry::Edge(POSITION node, int voice, int direction) const {
  return m_line.FindBeamGroupEdge(node, voice, direction);
}
