// The fretboard toolbox's instrument: strings and frets of the current
// tablature tuning, the note under the pointer, and its marks.

#include <algorithm>

#include "common/Globals.h"
#include "dialogs/toolbox/InstrumentGeometry.h"
#include "dialogs/toolbox/KInstrumentPictures.h"

namespace {

using instrument::kFretX;
// A fret's mark stands left of its line; fret 0's left of the nut.
constexpr int kMarkLeft = 12;
constexpr int kMarkTop = 1;
// The open string is under the pointer up to 5 pixels right of the nut.
constexpr int kFretSlack = 5;
// Pitch codes are MIDI notes less 20; names index (pitch + 24) mod 12.
constexpr int kPitchToMidi = 20;
constexpr int kNoStringBelow = -8;

bool HasString(int pitch) { return pitch >= kNoStringBelow; }

}  // namespace

int KFretboard::FretX(int fret) { return kFretX[std::clamp(fret, 0, kFrets - 1)]; }

int KFretboard::OpenPitch(int slot) const {
  return slot >= 0 && slot < kMaxTuningStrings ? m_open[static_cast<size_t>(slot)] : kNoString;
}

bool KFretboard::Build(const CString& tuning, const CString& defaultTuning) {
  const int oldStrings = m_stringCount;
  const int oldFrets = m_fretCount;
  const CString oldThird = m_labels[2];
  const CString oldEighth = m_labels[7];

  m_tuning = tuning;
  ParseTuningString(tuning, 0, m_open);
  m_stringCount = GetTuningStringCount(tuning);
  m_firstString = m_stringCount < 6 ? 1 : 0;
  m_fretMap = FretMap{};
  m_fretCount = ParseFretList(tuning, &m_fretMap);
  GetFretLabels(tuning, m_labels);
  m_customFrets = false;
  for (int k = 0; k < kFrets; ++k) m_customFrets = m_customFrets || m_fretMap[static_cast<size_t>(k)] != k;
  const CString name = tuning == defaultTuning ? CString("Standard") : tuning.Left(12);
  m_tuningSuffix.Format("    ( %s Tuning )", name.Str().c_str());
  ClearMarks();

  const bool hasList = tuning.Find(g_FretListMarker) >= 0;
  return oldStrings == 0 || oldStrings != m_stringCount || oldFrets != m_fretCount ||
         (hasList && (oldThird != m_labels[2] || oldEighth != m_labels[7]));
}

int KFretboard::LabelStripId() const {
  if (!m_customFrets) return kPlainLabels;
  if (m_labels[2] == "1+") return kDulcimerLabels;
  if (m_labels[7] == "6+") return kMixolydianLabels;
  return kOtherLabels;
}

SIZE KFretboard::ClientSize() const {
  return SIZE{FretX(std::clamp(m_fretCount, 1, kFrets - 1)) + 3, PictureHeight() + kLabelStripHeight};
}

int KFretboard::FretAt(int x) const {
  if (x < kFretX[0] + kFretSlack) return 0;
  const int last = std::clamp(m_fretCount, 0, kFrets - 1);
  for (int f = 1; f <= last; ++f)
    if (kFretX[f - 1] < x - kFretSlack && x - kFretSlack <= kFretX[f]) return f;
  return -1;
}

bool KFretboard::NoteAt(int x, int y, Spot& spot) const {
  const int row = RowAt(y);
  const int fret = FretAt(x);
  if (row < 0 || row >= m_stringCount || fret < 0) return false;
  const int slot = m_firstString + row;
  if (!HasString(OpenPitch(slot))) return false;
  spot.slot = slot;
  spot.fret = fret;
  spot.note = OpenPitch(slot) + FretSemitone(fret) + kPitchToMidi;
  return true;
}

bool KFretboard::HoverText(int x, int y, const CString& prompt, CString& text) const {
  const int row = RowAt(y);
  if (row < 0 || row >= m_stringCount) return false;
  const int slot = m_firstString + row;
  // Right of the last fret the last fret is meant.
  const int fret = FretAt(x) < 0 ? std::clamp(m_fretCount, 0, kFrets - 1) : FretAt(x);
  if (!HasString(OpenPitch(slot))) {
    text = CString("This string doesn't exist in this tuning") + prompt;
    return true;
  }
  text = PitchClassName(OpenPitch(slot) + FretSemitone(fret) + kPitchToMidi) + m_tuningSuffix + prompt;
  return true;
}

void KFretboard::ClearMarks() {
  m_marks.clear();
  m_rowMark.fill(0);
}

void KFretboard::MarkClick(const Spot& spot) {
  ClearMarks();
  const int row = spot.slot - m_firstString;
  m_marks.push_back({FretX(spot.fret) - kMarkLeft, kRowHeight * row + kMarkTop, spot.note});
  if (row >= 0 && row < kMaxTuningStrings) m_rowMark[static_cast<size_t>(row)] = 1;
}

void KFretboard::RemoveMark(size_t index) {
  // The last mark takes the place of the one removed; the rows follow.
  const size_t last = m_marks.size() - 1;
  for (int& mark : m_rowMark) {
    if (mark == static_cast<int>(index) + 1) {
      mark = 0;
    } else if (mark == static_cast<int>(last) + 1) {
      mark = static_cast<int>(index) + 1;
    }
  }
  m_marks[index] = m_marks[last];
  m_marks.pop_back();
}

void KFretboard::ShowPlayedNote(int on, int note, int slot, int fret) {
  if (note < 0) {
    ClearMarks();
    return;
  }
  if (on == 0) {
    for (size_t i = 0; i < m_marks.size(); ++i) {
      if (m_marks[i].note == note) {
        RemoveMark(i);
        return;
      }
    }
    return;  // a note that was never marked
  }
  if (static_cast<int>(m_marks.size()) >= kMaxMarks || !IsBuilt()) return;
  int row = -1;
  if (slot >= 0) {
    row = slot - m_firstString;
    if (row < 0 || row >= m_stringCount || fret < 0 || fret > m_fretCount) return;
  } else {
    // The free string that plays the note lowest on the neck.
    const int pitch = note - kPitchToMidi;
    int best = -1;
    for (int r = 0; r < m_stringCount && m_firstString + r < kMaxTuningStrings; ++r) {
      const int open = OpenPitch(m_firstString + r);
      if (!HasString(open) || open > pitch || m_rowMark[static_cast<size_t>(r)] != 0) continue;
      if (best < 0 || pitch - open < best) {
        best = pitch - open;
        row = r;
      }
    }
    if (row < 0) return;
    fret = best;
    if (m_customFrets) fret = FindFretIndex(m_fretMap, best, false);
    // Frets exist up to the last fret of the tuning: a higher note is not shown.
    if (fret < 0 || fret > m_fretCount) return;
  }
  if (const int shown = m_rowMark[static_cast<size_t>(row)]; shown != 0)
    RemoveMark(static_cast<size_t>(shown - 1));
  m_marks.push_back({FretX(fret) - kMarkLeft, kRowHeight * row + kMarkTop, note});
  m_rowMark[static_cast<size_t>(row)] = static_cast<int>(m_marks.size());
}

const CString& PitchClassName(int midiNote) {
  return g_PianoKeyNames[static_cast<size_t>(((midiNote + 4) % 12 + 12) % 12)];
}
