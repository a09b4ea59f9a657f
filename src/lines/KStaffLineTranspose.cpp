// Transposing a staff: a new staff in which every note of a column range moves
// from the staff's key to a target key by the interval between the two keys,
// spelled for the target key, with the symbols and attachments of the columns
// following the notes. The staff itself is left as it is.
//
// Target keys come from a list of 15 keys (A flat, A, B flat, B, C flat, C,
// C sharp, D flat, D, E flat, E, F, F sharp, G flat, G); each has its key
// code and its pitch class on the pitch scale (A flat 0).

#include <algorithm>
#include <memory>
#include <vector>

#include "lines/KStaffLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kKeyCodeOfIndex[KStaffLine::kKeyListSize] = {9, 6, 5, 10, 15, 0, 14, 11, 4, 7, 8, 3, 12, 13, 2};
constexpr int kPitchClassOfIndex[KStaffLine::kKeyListSize] = {0, 1, 2, 3, 3, 4, 5, 5, 6, 7, 8, 9, 10, 10, 11};
// Key code 1 (no accidentals) counts as C.
constexpr int kIndexOfKeyCode[16] = {5, 5, 14, 11, 8, 2, 1, 9, 10, 0, 3, 7, 12, 13, 6, 4};

// A last column from here on means the whole line.
constexpr int kWholeLine = 31000;
constexpr int kDown = 1;
constexpr int kNearest = 2;
constexpr int kOctave = 12;

constexpr int kNaturalCode = 27;
constexpr int kSharpCode = 28;
constexpr int kDoubleSharpCode = 29;
constexpr int kFlatCode = 30;
constexpr int kDoubleFlatCode = 31;
constexpr int kFirstShortNote = 108;  // notes without length
constexpr int kLastShortNote = 111;
constexpr int kNoLength = 127;

bool IsAccidental(int code) { return code >= kNaturalCode && code <= kDoubleFlatCode; }
bool IsTransposedNote(int code) {
  return (code >= 0 && code < 14) || (code >= kFirstShortNote && code <= kLastShortNote);
}
// The duration AddNote takes for a staff note code.
int DurationOf(int code) {
  if (code <= KChord::kWholeNote) return code;
  return code >= kFirstShortNote && code <= kLastShortNote ? code - 100 : kNoLength;
}
int Packed(const NoteEntry& entry) { return (entry.flag & KChord::kFlagStyleMask) | entry.extra << 8; }
// The sign that raises (positive) or lowers a natural by the shift; 0 for none
// that can.
int SignOfShift(int shift) {
  switch (shift) {
    case -2:
      return kDoubleFlatCode;
    case -1:
      return kFlatCode;
    case 0:
      return kNaturalCode;
    case 1:
      return kSharpCode;
    case 2:
      return kDoubleSharpCode;
    default:
      return 0;
  }
}

// The accidentals written so far in the bar of a walk along a line's columns,
// row by row: what a search back from the latest column taken would find (the
// first accidental on the row in the nearest column, none past a bar line).
class BarAccidentals {
 public:
  void Take(const KChord& column) {
    if (column.IsBarColumn()) {
      m_rows.clear();
      return;
    }
    // Only the column's first accidental on a row counts; it replaces what
    // earlier columns wrote on that row.
    m_column.clear();
    for (int i = 0; i < column.GetNoteCount(); ++i) {
      const NotePair entry = column.GetNote(i);
      const int value = KStaffLine::BarAccidentalOfCode(entry.code);
      if (value == 0 || Find(m_column, entry.position) != nullptr) continue;
      m_column.push_back({entry.position, value});
    }
    for (const Row& taken : m_column) {
      if (Row* row = Find(m_rows, taken.row)) {
        row->value = taken.value;
      } else {
        m_rows.push_back(taken);
      }
    }
  }
  int At(int row) const {
    const Row* found = Find(m_rows, row);
    return found != nullptr ? found->value : 0;
  }

 private:
  struct Row {
    int row = 0;
    int value = 0;
  };
  template <class Rows>
  static auto Find(Rows& rows, int row) -> decltype(rows.data()) {
    for (auto& r : rows) {
      if (r.row == row) return &r;
    }
    return nullptr;
  }
  std::vector<Row> m_rows;
  std::vector<Row> m_column;
};

}  // namespace

int KStaffLine::KeyCodeOfListIndex(int index) {
  return index >= 0 && index < kKeyListSize ? kKeyCodeOfIndex[index] : -1;
}

int KStaffLine::PitchClassOfListIndex(int index) {
  return index >= 0 && index < kKeyListSize ? kPitchClassOfIndex[index] : -1;
}

int KStaffLine::ListIndexOfKeyCode(int key) { return key >= 0 && key <= kMaxKey ? kIndexOfKeyCode[key] : -1; }

std::unique_ptr<KLineObj> KStaffLine::Transpose(int first, int last, int, int targetKey, int, int direction,
                                                int, int sizeIndex, int) {
  const int targetCode = KeyCodeOfListIndex(targetKey);
  if (targetCode < 0) return nullptr;
  const int newKey = last >= kWholeLine ? targetCode : m_key;
  auto line = std::make_unique<KStaffLine>(m_type, newKey, m_flags);
  line->SetStaffLength(m_staffLength);
  line->SetIndent(m_indent);
  line->m_label = m_label;

  int interval =
      (PitchClassOfListIndex(targetKey) - PitchClassOfListIndex(ListIndexOfKeyCode(KeyAt(0))) + kOctave) %
      kOctave;
  if (interval == 0) interval = kOctave;
  // Down to the same key is an octave down, as up to it is an octave up.
  if (direction == kDown || (direction == kNearest && interval >= 6)) interval -= kOctave;
  if (direction == kDown && interval == 0) interval = -kOctave;

  int rowChange = 0;
  // The accidentals of the bar so far, on this staff (its own column
  // included) and on the copy (the columns placed before this one).
  BarAccidentals sourceBar;
  BarAccidentals copyBar;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    sourceBar.Take(*column);
    const int pos = column->GetPos();
    if (pos < first || pos > last || column->IsBarColumn() || column->IsSignatureColumn() ||
        column->CountNotes() == 0) {
      auto* copy = new KChord(*column, pos, true);
      line->m_objects.AddTail(copy);
      copyBar.Take(*copy);
      continue;
    }

    auto moved = std::make_unique<KChord>(pos, column->GetRhythmCode());
    // The notes first, so that the symbols of the column follow their move.
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (!IsTransposedNote(note.code)) continue;
      const int pitch = PitchAtRowWithBar(note.position, pos, sourceBar.At(note.position));
      int row = note.position;
      int sign = 0;
      if (pitch >= 0) {
        // Spelled for the target key; the sign is what the copy's own key and
        // the signs already written in its bar need on that row.
        row = line->SpelledRow(pitch + interval + kPitchToMidi, targetCode);
        if (row < kFirstRow || row > kLastRow) continue;  // no place for it on this clef
        const int standing = line->PitchAtRowWithBar(row, pos, copyBar.At(row));
        if (standing != pitch + interval)
          sign = SignOfShift(pitch + interval - NaturalPitchAtRow(m_type, row));
        rowChange = row - note.position;
      }
      if (sign != 0) moved->AddNote(row, sign);
      moved->AddNote(row, note.code, Packed(column->RawEntry(i)), DurationOf(note.code));
    }
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair entry = column->GetNote(i);
      if (IsTransposedNote(entry.code) || IsAccidental(entry.code)) continue;
      const int row = std::clamp(entry.position + rowChange, kFirstRow, kLastRow);
      moved->AddNote(row, entry.code, Packed(column->RawEntry(i)));
    }
    for (int voice = 0; voice < 2; ++voice) moved->SetVoiceStem(voice, column->GetVoiceStem(voice));
    copyBar.Take(*moved);
    line->m_objects.AddTail(moved.release());
  }
  line->UpdateTimeSigCache();

  // The beam groups of the moved columns lay out their stems again.
  for (POSITION node = line->m_objects.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    const KChord* column = AsChord(line->m_objects.GetNext(node));
    if (column != nullptr && column->GetPos() >= first && column->GetPos() <= last)
      line->RestemBeamGroups(here, sizeIndex);
  }

  line->CopyAttachmentsFrom(*this);
  CObList* attachments = line->GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    if (attachment->GetPos() < first || attachment->GetPos() > last || attachment->GetKind() > 2) continue;
    attachment->SetRow(std::clamp(attachment->GetRow() + rowChange, kFirstRow, kLastRow));
  }
  line->MarkChanged();
  return line;
}
