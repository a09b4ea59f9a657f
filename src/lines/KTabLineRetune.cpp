// Retuning a tablature line. Without carrying the notes over, the line takes
// the tuning and its frets stay where they are (the pitches change with the
// strings). Carrying them over makes a new line in which every note keeps its
// pitch: it keeps its string where the new tuning has that string, and moves
// to another string where the fret would be negative, out of reach of the
// column's other notes, or where the string is gone.

#include <algorithm>
#include <vector>

#include "lines/KSpeedLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"

namespace {

constexpr int kRowOffset = 2;
constexpr int kRowCount = 10;  // entries stand on rows 0..9
// A note further than this above the column's lowest fret moves to the next
// higher string when that one is free.
constexpr int kReach = 4;
constexpr int kBeamOpenAbove = 6;
constexpr int kBeamForward = 21;

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// One note of a column being carried to the new strings.
struct CarriedNote {
  int entry;     // index in the column
  int oldRow;    // string row before
  int pitch;     // the pitch it keeps
  int index;     // string index (row - 2) on the new line
  int semitone;  // semitones above the new open string
  int fret = -1;
  bool dropped = false;
};

}  // namespace

std::unique_ptr<KTabLine> KTabLine::SetTuning(int bassRequest, const CString& tuning, int remap, int, int) {
  MarkChanged();
  DWORD flags = m_flags & ~kFlagBass;
  if ((tuning.GetLength() > 12 && tuning.GetAt(12) == '*') || bassRequest == 1) flags |= kFlagBass;

  if (remap == 0) {
    m_tuning = tuning;
    SetType((flags & kFlagBass) != 0 ? kKindBassTab : kKindTab);
    DeriveTuningFields();
    SetFlagWord(flags);
    if (KSpeedLine* cache = GetDrawingCache()) {
      cache->SetType(m_type);
      cache->SetTuning(m_tuning);
    }
    WidenSpaceForExtraStrings();
    DropNotesOffStrings();
    return nullptr;
  }

  auto target = std::make_unique<KTabLine>(m_key, tuning, flags);
  // The new line takes this one's place: it keeps its length, indent, spaces
  // and attached objects.
  target->SetStaffLength(m_staffLength);
  target->SetIndent(m_indent);
  target->SetSpaceAbove(m_spaceAbove, 0);
  target->SetSpaceBelow(m_spaceBelow, 0);
  target->WidenSpaceForExtraStrings();
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column != nullptr) target->m_objects.AddTail(CarryColumn(*column, *target));
  }
  target->UpdateTimeSigCache();
  target->MarkChanged();
  target->RelayoutBeams();
  target->CopyAttachmentsFrom(*this);

  const CString name = GetLabelName();
  const char* suffix = (flags & kFlagBass) != 0 ? " BTab" : " AltT";
  if (name.Right(5) != suffix) target->SetLabel(name + suffix);
  return target;
}

KChord* KTabLine::CarryColumn(const KChord& column, const KTabLine& target) const {
  auto* out = new KChord(column, column.GetPos(), true);
  if (column.IsSignatureColumn()) return out;

  TuningPitches oldOpen{};
  TuningPitches newOpen{};
  GetStringPitches(oldOpen);
  target.GetStringPitches(newOpen);
  const int oldFirst = GetStringRowLimit(kFirstRow);
  const int oldLast = GetStringRowLimit(kLastRow);
  const int first = target.FirstStringIndex();
  const int last = target.LastStringIndex();
  auto hasString = [&](int index) { return index >= first && index <= last && newOpen[index] != kNoString; };

  // The notes with their pitches; a note more than one string outside the new
  // range goes to the nearest string (it would otherwise stay on a string the
  // new tuning lacks).
  std::vector<CarriedNote> notes;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (!IsFretCode(note.code) || note.position < oldFirst || note.position > oldLast) continue;
    const int open = oldOpen[note.position - kRowOffset];
    if (open == kNoString) continue;
    const int pitch = open + m_fretMap[note.code - KChord::kFirstFret];
    const int index = std::clamp(note.position - kRowOffset, first, last);
    notes.push_back({i, note.position, pitch, index, 0});
  }
  std::stable_sort(notes.begin(), notes.end(),
                   [](const CarriedNote& a, const CarriedNote& b) { return a.oldRow < b.oldRow; });

  // Each string holds one note: those that kept their string first, then the
  // moved ones; a note whose string is taken goes to the nearest free string
  // that can play it, or is dropped.
  int owner[kRowCount];
  std::fill(std::begin(owner), std::end(owner), -1);
  std::vector<int> displaced;
  for (int pass = 0; pass < 2; ++pass) {
    for (int n = 0; n < static_cast<int>(notes.size()); ++n) {
      CarriedNote& note = notes[n];
      const bool kept = note.index == note.oldRow - kRowOffset;
      if (kept != (pass == 0)) continue;
      if (hasString(note.index) && owner[note.index] < 0) {
        owner[note.index] = n;
      } else {
        displaced.push_back(n);
      }
    }
  }
  for (int n : displaced) {
    CarriedNote& note = notes[n];
    note.dropped = true;
    for (int distance = 1; distance <= last - first && note.dropped; ++distance) {
      for (int index : {note.index + distance, note.index - distance}) {
        if (!hasString(index) || owner[index] >= 0) continue;
        if (target.FretForSemitone(note.pitch - newOpen[index]) < 0) continue;
        note.index = index;
        note.dropped = false;
        owner[index] = n;
        break;
      }
    }
  }
  for (CarriedNote& note : notes) {
    if (!note.dropped) note.semitone = note.pitch - newOpen[note.index];
  }
  auto moveTo = [&](int from, int to) {
    const int n = owner[from];
    owner[to] = n;
    owner[from] = -1;
    notes[n].index = to;
    notes[n].semitone = notes[n].pitch - newOpen[to];
  };
  auto drop = [&](int index) {
    notes[owner[index]].dropped = true;
    owner[index] = -1;
  };

  // A note below its new open string goes one string lower when that string
  // is free and can play it; otherwise it is dropped.
  if (owner[last] >= 0 && notes[owner[last]].semitone < 0) drop(last);
  for (int index = last - 1; index >= first; --index) {
    if (owner[index] < 0 || notes[owner[index]].semitone >= 0) continue;
    if (hasString(index + 1) && owner[index + 1] < 0 && notes[owner[index]].pitch >= newOpen[index + 1]) {
      moveTo(index, index + 1);
    } else {
      drop(index);
    }
  }
  // A note out of reach of the column's lowest fret goes one string higher
  // when that string is free.
  int lowest = -1;
  for (int index = first; index <= last; ++index) {
    if (owner[index] >= 0 && (lowest < 0 || notes[owner[index]].semitone < lowest)) {
      lowest = notes[owner[index]].semitone;
    }
  }
  for (int index = first + 1; index < last; ++index) {
    if (owner[index] < 0 || notes[owner[index]].semitone <= lowest + kReach) continue;
    if (hasString(index - 1) && owner[index - 1] < 0 && notes[owner[index]].pitch >= newOpen[index - 1]) {
      moveTo(index, index - 1);
    }
  }
  // Frets beyond the new fret count, or that the new fret list lacks, go.
  for (int index = first; index <= last; ++index) {
    if (owner[index] < 0) continue;
    CarriedNote& note = notes[owner[index]];
    note.fret = target.FretForSemitone(note.semitone);
    if (note.fret < 0) drop(index);
  }

  // The entries of a row follow the note of that row; those of a dropped note
  // go with it; the others stay where they are.
  int rowTarget[kRowCount];
  bool rowDropped[kRowCount] = {};
  std::fill(std::begin(rowTarget), std::end(rowTarget), -1);
  std::vector<int> action(column.GetNoteCount(), -1);  // new row, or -2 to remove
  for (const CarriedNote& note : notes) {
    if (note.dropped) {
      action[note.entry] = -2;
      rowDropped[note.oldRow] = true;
    } else {
      action[note.entry] = note.index + kRowOffset;
      if (rowTarget[note.oldRow] < 0) rowTarget[note.oldRow] = note.index + kRowOffset;
    }
  }
  for (int i = column.GetNoteCount() - 1; i >= 0; --i) {
    const NotePair raw = column.GetRawNote(i);
    const int row = column.GetNote(i).position;
    if (action[i] >= 0) {
      const CarriedNote& note =
          *std::find_if(notes.begin(), notes.end(), [i](const CarriedNote& c) { return c.entry == i; });
      out->SetNoteValue(i, action[i]);
      out->SetNoteCode(i, KChord::kFirstFret + note.fret);
    } else if (action[i] == -2) {
      out->RemoveEntry(i);
    } else if (row >= 0 && row < kRowCount && rowTarget[row] >= 0) {
      out->SetNoteValue(i, raw.position / 10 * 10 + rowTarget[row]);
    } else if (row >= 0 && row < kRowCount && rowDropped[row]) {
      out->RemoveEntry(i);
    }
  }
  return out;
}

void KTabLine::DropNotesOffStrings() {
  TuningPitches open{};
  GetStringPitches(open);
  const int first = GetStringRowLimit(kFirstRow);
  const int last = GetStringRowLimit(kLastRow);
  auto offString = [&](int row) { return row < first || row > last || open[row - kRowOffset] == kNoString; };
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr || column->IsSignatureColumn()) continue;
    bool rowDropped[kRowCount] = {};
    bool any = false;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const NotePair note = column->GetNote(i);
      if (IsFretCode(note.code) && note.position >= 0 && note.position < kRowCount &&
          offString(note.position)) {
        rowDropped[note.position] = true;
        any = true;
      }
    }
    if (!any) continue;
    for (int i = column->GetNoteCount() - 1; i >= 0; --i) {
      const int row = column->GetNote(i).position;
      if (row >= 0 && row < kRowCount && rowDropped[row]) column->RemoveEntry(i);
    }
  }
  MarkChanged();
}

void KTabLine::RelayoutBeams(int first, int limit) {
  for (int voice = 0; voice < 2; ++voice) {
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const POSITION here = node;
      const KChord* column = AsChord(m_objects.GetNext(node));
      if (column == nullptr || column->GetPos() >= limit) continue;
      const int stem = column->GetStemEnd(voice);
      if (stem <= kBeamOpenAbove || stem % 2 == 0) continue;
      const POSITION end = FindBeamGroupEdge(here, voice, kBeamForward);
      if (end == nullptr) continue;
      // Groups wholly before the range keep the stems they have.
      if (static_cast<const KPosObj*>(m_objects.GetAt(end))->GetPos() >= first) {
        ApplyToNodeRange(here, end, voice, 0);
      }
      // Go on after the group's last column.
      node = end;
      m_objects.GetNext(node);
    }
  }
  MarkChanged();
}
