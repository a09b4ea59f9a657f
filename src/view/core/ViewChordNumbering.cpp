// Chord-diagram numbering: when a score holds several fingerings of the same
// chord, each diagram shows the number of its fingering. The table of chord
// keys and their fingerings is rebuilt on every numbering.

#include "model/KChordPic.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

// The table holds at most this many chords; later chords all get 1.
constexpr int kMaxChords = 500;
// A fingering is the shape's first seven characters and one blank.
constexpr int kFingering = 7;
constexpr int kFingeringSlot = kFingering + 1;

}  // namespace

int CStavlinView::NumberChordShape(const CString& key) {
  const CString chord = key.GetLength() > kFingering ? key.Mid(kFingering) : CString();
  const CString fingering = key.Left(kFingering) + " ";
  for (int i = 0; i < m_shapeCount; ++i) {
    if (m_chordKeys[static_cast<size_t>(i)] != chord) continue;
    CString& list = m_chordFingerings[static_cast<size_t>(i)];
    // Fingerings start every eight characters.
    for (int at = 0; at + kFingeringSlot <= list.GetLength(); at += kFingeringSlot) {
      if (list.Mid(at, kFingeringSlot) == fingering) return at / kFingeringSlot + 1;
    }
    const int number = list.GetLength() / kFingeringSlot + 1;
    list += fingering;
    return number;
  }
  if (m_shapeCount >= kMaxChords) return 1;
  m_chordKeys.resize(static_cast<size_t>(m_shapeCount) + 1);
  m_chordFingerings.resize(static_cast<size_t>(m_shapeCount) + 1);
  m_chordKeys[static_cast<size_t>(m_shapeCount)] = chord;
  m_chordFingerings[static_cast<size_t>(m_shapeCount)] = fingering;
  ++m_shapeCount;
  return 1;
}

void CStavlinView::NumberChordDiagrams(CDC* /*dc*/) {
  m_shapeCount = 0;
  m_chordKeys.clear();
  m_chordFingerings.clear();
  if (m_document == nullptr) return;
  for (POSITION pos = m_document->GetFirstLinePosition(); pos != nullptr;) {
    KLineObj* line = m_document->GetNextLine(pos);
    if (line == nullptr || line->GetFamily() != KLineObj::kFamilyChord) continue;
    KListLine* list = line->AsListLine();
    if (list == nullptr) continue;
    CObList* objects = list->GetObjList();
    for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
      auto* diagram = dynamic_cast<KChordPic*>(objects->GetNext(node));
      if (diagram == nullptr) continue;
      const CString shape = diagram->GetShape();
      diagram->SetValue(shape.GetLength() >= kFingering ? NumberChordShape(shape + diagram->GetName()) : 1);
    }
  }
}
