// Pitch and row mapping of a staff. A staff note is stored as a row with a
// note symbol in a KChord column; its pitch follows from the row under the
// clef, the key signature in force at the column and the accidentals written
// on that row earlier in the same bar. Pitch numbers are MIDI note numbers
// less 20 (the guitar's low E string, MIDI 52, is 32).
//
// Rows count diatonic steps downwards; on the treble scale row 2 is D7 (pitch
// 78) and each further row one step lower (D C B A G F E). A staff kind's row
// offset turns its rows into treble-scale rows.

#include <algorithm>
#include <vector>

#include "lines/KStaffLine.h"
#include "model/KChord.h"

namespace {

// Accidental symbol codes of a column's entries.
constexpr int kNaturalCode = 27;
constexpr int kSharpCode = 28;
constexpr int kDoubleSharpCode = 29;
constexpr int kFlatCode = 30;
constexpr int kDoubleFlatCode = 31;

// Semitones below a D of the steps D C B A G F E.
constexpr int kSemitonesBelowD[7] = {0, 2, 3, 5, 7, 9, 10};
// The pitch of treble-scale row 2 (D7).
constexpr int kRow2Pitch = 78;
// Pitches a staff can sound.
constexpr int kLowestPitch = 6;
constexpr int kHighestPitch = 80;

// The pitch classes (pitch number mod 12; C is 4) that a key's sharps and
// flats alter, in the order they are added: F C G D A E B and B E A D G C F.
constexpr int kSharpOrder[7] = {9, 4, 11, 6, 1, 8, 3};
constexpr int kFlatOrder[7] = {3, 8, 1, 6, 11, 4, 9};
// The same orders as the altered pitch classes: F# C# G# ... and Bb Eb Ab ...
constexpr int kSharpedClasses[7] = {10, 5, 0, 7, 2, 9, 4};
constexpr int kFlattedClasses[7] = {2, 7, 0, 5, 10, 3, 8};

// The treble-scale row of each pitch class relative to 7 x (octaves below
// MIDI 102 + 2); a black key shares the row of the natural below it.
constexpr int kTrebleRowOfClass[12] = {-8, -9, -9, -10, -11, -11, -12, -12, -13, -14, -14, -8};
constexpr int kRowFormulaTop = 102;

// Rows and notes far outside any staff are kept in this range so that the
// arithmetic cannot overflow; their pitches lie outside 6..80 either way.
constexpr int kRowLimit = 1000;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int FloorMod(int a, int b) { return ((a % b) + b) % b; }

// -1, 0 or +1: what a key signature does to a natural pitch.
int KeyAlteration(int pitch, int key) {
  const int count = key / 2;
  const bool sharps = key % 2 == 0;
  const int pitchClass = FloorMod(pitch, 12);
  for (int i = 0; i < count && i < 7; ++i) {
    if ((sharps ? kSharpOrder[i] : kFlatOrder[i]) == pitchClass) return sharps ? 1 : -1;
  }
  return 0;
}

// A note entry that MoveNoteOneStep moves: the note values, the notes of no
// length (108..111) and the flagged note heads.
bool IsMovableNote(int code) {
  if (code < 14 || (code >= 108 && code <= 111)) return true;
  switch (code) {
    case 10000:
    case 10002:
    case 10008:
    case 10010:
    case 10012:
    case 10013:
    case 10076:
    case 10077:
      return true;
    default:
      return false;
  }
}

bool IsAccidental(int code) { return code >= kNaturalCode && code <= kDoubleFlatCode; }

// Directions of the beam group searches.
constexpr int kBeamBackward = 20;
constexpr int kBeamForward = 21;

}  // namespace

int KStaffLine::KeyAt(int column) const {
  const int key = GetKeySignatureAt(std::max(column, 0));
  return key >= 0 && key <= kMaxKey ? key : 0;
}

int KStaffLine::NaturalPitchAtRow(int type, int row) {
  const int v = std::clamp(row, -kRowLimit, kRowLimit) + RowOffset(type) - 2;
  return kRow2Pitch - 12 * FloorDiv(v, 7) - kSemitonesBelowD[FloorMod(v, 7)];
}

int KStaffLine::BarAccidental(int row, int column) const {
  return BarAccidentalFrom(row, column, m_objects.GetTailPosition());
}

int KStaffLine::BarAccidentalOfCode(int code) {
  switch (code) {
    case kNaturalCode:
      return kBarNatural;
    case kSharpCode:
      return 1;
    case kDoubleSharpCode:
      return 2;
    case kFlatCode:
      return -1;
    case kDoubleFlatCode:
      return -2;
    default:
      return 0;
  }
}

int KStaffLine::BarAccidentalFrom(int row, int column, POSITION from) const {
  if (column < 0) return 0;
  // Columns after the asked one are passed by their position alone.
  for (POSITION node = from; node != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(m_objects.GetPrev(node));
    if (object->GetPos() > column) continue;
    const KChord* chord = AsChord(object);
    if (chord == nullptr) continue;
    if (chord->IsBarColumn()) return 0;
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const NotePair entry = chord->GetNote(i);
      if (entry.position == row && IsAccidental(entry.code)) return BarAccidentalOfCode(entry.code);
    }
  }
  return 0;
}

int KStaffLine::GetPitchAtRow(int row, int column) const {
  return GetPitchAtRow(row, column, m_objects.GetTailPosition());
}

int KStaffLine::GetPitchAtRow(int row, int column, POSITION at) const {
  if (!IsStaffKind(m_type)) return -1;
  return PitchAtRowWithBar(row, column, BarAccidentalFrom(row, column, at));
}

int KStaffLine::PitchAtRowWithBar(int row, int column, int bar) const {
  if (!IsStaffKind(m_type)) return -1;
  const int key = KeyAt(column);
  const int pitch = NaturalPitchAtRow(m_type, row);
  if (pitch < kLowestPitch || pitch > kHighestPitch) return -1;
  if (bar == kBarNatural) return pitch;
  if (bar != 0) return pitch + bar;
  return pitch + KeyAlteration(pitch, key);
}

int KStaffLine::PitchToRow(int midiNote, int column, int& accidental, int key) const {
  int k = key == -1 ? KeyAt(column) : key;
  if (k < 0 || k > kMaxKey) k = 0;
  const int note = std::clamp(midiNote, -kRowLimit, kRowLimit);
  const int row = SpelledRow(note, k);

  // The sign to write: none when what stands on the row already (an
  // accidental earlier in the bar, else the key) gives the note; otherwise the
  // one that turns the row's natural into the note.
  const int natural = NaturalPitchAtRow(m_type, row);
  const int wanted = note - kPitchToMidi - natural;
  const int bar = BarAccidental(row, column);
  const int standing = bar == kBarNatural ? 0 : (bar != 0 ? bar : KeyAlteration(natural, k));
  if (standing == wanted) {
    accidental = kNoAccidental;
  } else {
    accidental = wanted > 0 ? kSharp : (wanted < 0 ? kFlat : kNatural);
  }
  return row;
}

int KStaffLine::SpelledRow(int midiNote, int key) const {
  int k = key;
  if (k < 0 || k > kMaxKey) k = 0;
  const int count = k / 2;
  const bool flatKey = count > 0 && k % 2 == 1;
  const int note = std::clamp(midiNote, -kRowLimit, kRowLimit);
  const int pitchClass = FloorMod(note - kPitchToMidi, 12);

  // Spelling under the key: a flat of the key is written on the row above the
  // black key (the flat of the natural above); every other black key on the
  // row of the natural below. The walk covers the key's own accidentals and
  // the next ones of its kind.
  int rowShift = 0;
  const int walk = count < 6 ? 5 : 7;
  for (int i = 0; i < walk; ++i) {
    if (i >= count) {
      if (pitchClass == (flatKey ? kFlattedClasses[i] : kSharpedClasses[i])) break;
    } else if (!flatKey) {
      if (pitchClass == kSharpedClasses[i] || pitchClass == (kSharpedClasses[i] + 11) % 12) break;
    } else {
      if (pitchClass == kFlattedClasses[i]) {
        rowShift = -1;
        break;
      }
      if (pitchClass == (kFlattedClasses[i] + 1) % 12) break;
    }
  }
  const int trebleRow = 7 * (FloorDiv(kRowFormulaTop - note, 12) + 2) + kTrebleRowOfClass[pitchClass];
  return trebleRow + rowShift - RowOffset(m_type);
}

int KStaffLine::MoveNoteOneStep(int column, int row, int arrowKey, int sizeIndex) {
  if (arrowKey != kKeyUp && arrowKey != kKeyDown) return -1;
  MarkChanged();
  const POSITION node = FindNodeAt(column, 0);
  KChord* chord = node != nullptr ? AsChord(m_objects.GetAt(node)) : nullptr;
  const int newRow = arrowKey == kKeyUp ? row - 1 : row + 1;
  if (chord == nullptr || newRow < kFirstRow || newRow > kLastRow) return -1;

  int noteIndex = -1;
  int accidentalIndex = -1;
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    const NotePair entry = chord->GetNote(i);
    if (entry.position == newRow) return -1;
    if (entry.position != row) continue;
    if (noteIndex < 0 && IsMovableNote(entry.code)) {
      noteIndex = i;
    } else if (accidentalIndex < 0 && IsAccidental(entry.code)) {
      accidentalIndex = i;
    }
  }
  if (noteIndex < 0) return -1;

  // The note keeps its pitch: the new row needs the sign that turns its
  // natural into the old pitch, unless it already sounds that pitch.
  const int oldPitch = GetPitchAtRow(row, column);
  const int newPitch = GetPitchAtRow(newRow, column);
  int natural = NaturalPitchAtRow(m_type, newRow);
  if (!IsStaffKind(m_type) || natural < kLowestPitch || natural > kHighestPitch) natural = -1;
  int newAccidental = 0;
  if (oldPitch != newPitch) {
    static constexpr int kSignOfShift[5] = {kDoubleFlatCode, kFlatCode, kNaturalCode, kSharpCode,
                                            kDoubleSharpCode};
    const long long shift = static_cast<long long>(oldPitch) - natural;
    if (shift < -2 || shift > 2) return -1;
    newAccidental = kSignOfShift[shift + 2];
  }

  // The change is made on a copy and taken over only when every step
  // succeeded, so that a refused step changes nothing.
  KChord edited(*chord, chord->GetPos(), true);
  const NoteEntry note = chord->RawEntry(noteIndex);
  const int noteCode = chord->GetNote(noteIndex).code;
  if (accidentalIndex > noteIndex) edited.RemoveEntry(accidentalIndex);
  edited.RemoveEntry(noteIndex);
  if (accidentalIndex >= 0 && accidentalIndex < noteIndex) edited.RemoveEntry(accidentalIndex);
  const int packed = (note.flag & KChord::kFlagStyleMask) | (note.extra << 8);
  if (edited.AddNote(newRow, noteCode, packed) < 0) return -1;
  if (newAccidental != 0 && edited.AddNote(newRow, newAccidental) < 0) return -1;
  for (int i = 0; i < edited.GetNoteCount(); ++i) {
    if (edited.GetNote(i).position == row) edited.SetNoteValue(i, newRow);
  }
  chord->CopyFrom(edited);
  for (int voice = 0; voice < 2; ++voice) chord->SetVoiceStem(voice, edited.GetVoiceStem(voice));

  RestemBeamGroups(node, sizeIndex);
  return FindRedrawStart(column);
}

void KStaffLine::RestemBeamGroups(POSITION node, int sizeIndex) {
  const KChord* column = AsChord(m_objects.GetAt(node));
  if (column == nullptr) return;
  for (int voice = 0; voice < 2; ++voice) {
    // Stored stem values (0..6) stay as the user set them.
    const int stem = column->GetVoiceStem(voice);
    if (stem >= 0 && stem <= KChord::kStemPlain) continue;
    const POSITION first = FindBeamGroupEdge(node, voice, kBeamBackward);
    const POSITION last = FindBeamGroupEdge(node, voice, kBeamForward);
    ApplyToNodeRange(first, last, voice, sizeIndex);
  }
}

void KStaffLine::KeepPitchesOf(const KStaffLine& source, int sourceColumn, int column) {
  if (source.m_type != m_type || !IsStaffKind(m_type)) return;
  const POSITION node = FindNodeAt(column, 0);
  KChord* chord = node != nullptr ? AsChord(m_objects.GetAt(node)) : nullptr;
  if (chord == nullptr || chord->IsBarColumn()) return;
  static constexpr int kSignOfShift[5] = {kDoubleFlatCode, kFlatCode, kNaturalCode, kSharpCode,
                                          kDoubleSharpCode};
  std::vector<int> rows;
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    const NotePair entry = chord->GetNote(i);
    if (IsMovableNote(entry.code) && std::find(rows.begin(), rows.end(), entry.position) == rows.end())
      rows.push_back(entry.position);
  }
  for (const int row : rows) {
    const int wanted = source.GetPitchAtRow(row, sourceColumn);
    const int natural = NaturalPitchAtRow(m_type, row);
    if (wanted < 0 || natural < kLowestPitch || natural > kHighestPitch || wanted - natural < -2 ||
        wanted - natural > 2)
      continue;
    // What the key, or a sign earlier in the bar, gives the row here.
    const int bar = BarAccidentalFrom(row, column - 1, m_objects.GetTailPosition());
    const int standing = bar == kBarNatural ? 0 : (bar != 0 ? bar : KeyAlteration(natural, KeyAt(column)));
    const int shift = wanted - natural;
    for (int i = chord->GetNoteCount() - 1; i >= 0; --i) {
      const NotePair entry = chord->GetNote(i);
      if (entry.position == row && IsAccidental(entry.code)) chord->RemoveEntry(i);
    }
    if (shift != standing) chord->AddNote(row, kSignOfShift[shift + 2]);
  }
  MarkChanged();
}
