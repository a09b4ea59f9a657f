// The playback event of a note column: the pitch of a staff note from its step,
// clef, accidentals and key; of a fret from its string's tuning; of a drum
// staff's note from the drum table. Pitches are the note lines' pitch numbers
// (the MIDI note number minus 20; the guitar's low E string is 32).

#include <algorithm>

#include "model/DrumKeys.h"
#include "model/KChord.h"
#include "model/KNoteEvent.h"

namespace {

constexpr int kBassStaff = 1;
constexpr int kTrebleTab = 2;
constexpr int kBassTab = 15;
constexpr int kDrums = 13;
constexpr int kPercussion = 16;
constexpr int kLowestPitch = 6;
constexpr int kHighestPitch = 80;
constexpr int kMidiOffset = 20;
constexpr BYTE kNoteOn = 0x90;
constexpr BYTE kDrumNoteOn = 0x99;

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int FloorMod(int a, int b) { return ((a % b) + b) % b; }

// The natural (unaltered) pitch of a treble staff step.
int TrebleStepPitch(int step) {
  static constexpr int kBelowOctaveTop[7] = {0, 2, 3, 5, 7, 9, 10};
  return 78 - 12 * FloorDiv(step - 2, 7) - kBelowOctaveTop[FloorMod(step + 5, 7)];
}

// A bass staff step sounds a diatonic thirteenth below the treble one.
int BassStepPitch(int step) {
  static constexpr int kThirteenth[12] = {21, 21, 21, 21, 20, 21, 21, 21, 21, 20, 21, 20};
  const int treble = TrebleStepPitch(step);
  return treble - kThirteenth[FloorMod(treble, 12)];
}

// Pitch classes that a key signature alters, in the order sharps and flats are added.
constexpr int kSharpOrder[7] = {9, 4, 11, 6, 1, 8, 3};
constexpr int kFlatOrder[7] = {3, 8, 1, 6, 11, 4, 9};

int KeyAlteration(int pitch, int key) {
  const int accidentals = std::clamp(key, 0, 15) / 2;
  const int pitchClass = FloorMod(pitch, 12);
  const bool sharps = key % 2 == 0;
  for (int k = 0; k < accidentals; ++k) {
    if ((sharps ? kSharpOrder[k] : kFlatOrder[k]) == pitchClass) return sharps ? 1 : -1;
  }
  return 0;
}

int AccidentalShift(int code) {
  switch (code) {
    case 28:
      return 1;
    case 29:
      return 2;
    case 30:
      return -1;
    case 31:
      return -2;
    default:
      return 0;
  }
}

// General MIDI drum notes by variant and staff step 10..24 (0: no drum there).
constexpr int kDrumNotes[5][15] = {
    {63, 0, 64, 0, 48, 50, 47, 38, 45, 43, 41, 35, 0, 36, 0},
    {59, 57, 49, 51, 42, 52, 40, 37, 0, 55, 0, 44, 0, 44, 0},
    {60, 0, 61, 0, 0, 56, 0, 58, 0, 71, 72, 80, 0, 0, 79},
    {0, 0, 76, 77, 0, 75, 69, 0, 73, 74, 0, 67, 68, 0, 70},
    {62, 53, 0, 54, 46, 0, 39, 65, 0, 66, 0, 81, 0, 0, 78},
};
// The drum variant of each note style 0..7; -1: the style plays no drum.
constexpr int kDrumVariant[8] = {0, -1, 1, 2, 0, 3, -1, 4};

}  // namespace

int DrumKeyOf(int row, int style) {
  if (row < 10 || row > 24 || style < 0 || style > 7) return 0;
  const int variant = kDrumVariant[style];
  return variant < 0 ? 0 : kDrumNotes[variant][row - 10];
}

int ClefStepOffset(int lineType) {
  switch (lineType) {
    case 1:
      return 12;  // bass
    case 9:
      return 6;  // alto
    case 10:
      return 8;  // tenor
    case 11:
      return -7;  // treble 8va
    case 12:
      return 7;  // treble 8vb
    default:
      return 0;
  }
}

int KChord::GetNoteLength(int i) const {
  if (i < 0 || i >= m_count || IsBarColumn()) return 0;
  const bool tab = IsTabColumn();
  int sounding = FullCode(i);
  if (tab && IsFretEntry(i)) {
    sounding = EntryDuration(i);
    if (sounding >= 14 && sounding <= 17) sounding -= 6;
    if (sounding > 13) return 0;
  } else if (NoteOfHead(sounding) != sounding) {
    sounding = NoteOfHead(sounding);  // a quarter or half head beside shorter notes of its voice
  } else if (sounding > 20 && sounding != kBreve) {
    return 0;
  }
  // A dot at the note's step (or a step away on a staff) lengthens it,
  // unless it belongs to a longer note there; a column of a note and a dot
  // dots the note wherever the dot stands.
  const int position = EntryPosition(i);
  int dot = 0;  // the dot symbol that lengthens the note
  for (int j = 0; j < m_count && dot == 0; ++j) {
    const int dotCode = FullCode(j);
    if (j == i || DotEighths(dotCode) == 0) continue;
    if (m_count == 2) {
      dot = dotCode;
      break;
    }
    const int at = EntryPosition(j);
    const int distance = at > position ? at - position : position - at;
    if (tab ? distance != 0 : distance > 1) continue;
    bool longerThere = false;
    for (int k = 0; k < m_count && !longerThere; ++k) {
      if (k == i || EntryPosition(k) != at) continue;
      int other = tab ? (IsFretEntry(k) ? EntryDuration(k) : -1) : FullCode(k);
      if (tab && other >= 14 && other <= 17) other -= 6;
      longerThere = other >= 0 && SoundingTicks(other) > SoundingTicks(sounding);
    }
    if (!longerThere) dot = dotCode;
  }
  return static_cast<int>(DottedTicks(SoundingTicks(sounding), dot));
}

int KChord::MakeMidiEvent(int& index, KNoteEvent& event, const KColumnPlayContext& line, int velocity,
                          int& key, int transpose, int channel) const {
  const int first = FirstCode();
  if (first == kTimeSignature) {
    index = -1;
    return 0;
  }
  if (index < 0 || index >= m_count || IsBarColumn()) return 0;
  if (first == kKeySignature) {
    // A change to C names the key it cancels (16 + that key).
    if (m_count > 1) key = m_notes[1].code < 16 ? m_notes[1].code : 0;
    index = m_count;
    return 0;
  }
  velocity = std::clamp(velocity, 0, 127);

  const int type = line.lineType;
  const bool tab = type == kTrebleTab || type == kBassTab;
  const bool drums = type == kDrums || type == kPercussion;
  TuningPitches open{};
  int firstRow = 0;
  int lastRow = -1;
  if (tab) {
    ParseTuningString(line.tuning, type == kBassTab ? kTuningFlagBass : 0, open);
    const int strings = GetTuningStringCount(line.tuning);
    firstRow = strings < 6 ? 3 : 2;
    lastRow = strings < 6 ? strings + 2 : strings + 1;
  }

  for (int i = index; i < m_count; ++i) {
    const int code = FullCode(i);
    int note = 0;         // the MIDI note number
    int sounding = code;  // the code whose ticks and parity the event takes
    BYTE status = static_cast<BYTE>(kNoteOn | (channel & 15));

    if (tab) {
      if (!IsFretEntry(i)) continue;  // rests and other symbols advance without sound
      const int row = EntryString(i);
      if (row < firstRow || row > lastRow || open[row - 2] == kNoString) continue;
      const int pitch = open[row - 2] + line.fretMap[m_notes[i].code - kFirstFret];
      if (pitch < kLowestPitch || pitch > kHighestPitch) continue;
      note = pitch + kMidiOffset + transpose;
      sounding = EntryDuration(i);
      if (sounding >= 14 && sounding <= 17) sounding -= 6;
      if (sounding > 13) continue;
    } else if (drums) {
      const int step = m_notes[i].value;
      if (code > 20 || step < 10 || step > 24) continue;
      const int style = GetNoteStyleAt(i);
      const int variant = style >= 0 && style <= 7 ? kDrumVariant[style] : -1;
      if (variant < 0 || kDrumNotes[variant][step - 10] == 0) continue;
      note = kDrumNotes[variant][step - 10];
      status = kDrumNoteOn;
    } else {
      const bool head = NoteOfHead(code) != code;  // a quarter or half beside shorter notes
      if (code > 20 && !head && code != kBreve) continue;
      sounding = NoteOfHead(code);
      if (code == kBreve) sounding = kWholeNote;  // of every voice, as a whole note
      const int step = m_notes[i].value;
      int pitch = type == kBassStaff ? BassStepPitch(step) : TrebleStepPitch(step + ClefStepOffset(type));
      if (sounding <= 13) {
        // The accidental in force: at the step in this column, else in the
        // columns before it back to the bar line; else the key signature.
        int accidental = 0;
        for (int j = m_count - 1; j >= 0 && accidental == 0; --j) {
          if (m_notes[j].value == step && FullCode(j) >= 27 && FullCode(j) <= 31) accidental = FullCode(j);
        }
        for (int back = 1; accidental == 0 && line.earlierColumn; ++back) {
          const KChord* earlier = line.earlierColumn(back);
          if (!earlier || earlier->IsBarColumn()) break;
          for (int j = earlier->m_count - 1; j >= 0 && accidental == 0; --j) {
            const int c = earlier->FullCode(j);
            if (earlier->m_notes[j].value == step && c >= 27 && c <= 31) accidental = c;
          }
        }
        pitch += accidental != 0 ? AccidentalShift(accidental) : KeyAlteration(pitch, key);
        if (pitch < kLowestPitch || pitch > kHighestPitch) continue;
      }
      note = pitch + kMidiOffset + transpose;
    }

    const int position = EntryPosition(i);
    bool tied = false;
    for (int j = 0; j < m_count && !tied; ++j) {
      const int c = FullCode(j);
      tied = c >= 32 && c <= 35 && EntryPosition(j) == position;
    }

    event.pos = GetPos();
    event.status = status;
    event.note = static_cast<BYTE>(std::clamp(note, 0, 127));
    event.velocity = static_cast<BYTE>(sounding <= 12 || (tab && IsFretEntry(i)) ? velocity : 0);
    event.length = GetNoteLength(i);
    event.voice = sounding % 2 == 1 ? 0 : 1;
    event.tied = tied;
    index = i + 1;
    return 1;
  }
  index = m_count;
  return 0;
}
