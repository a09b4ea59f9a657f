// The note-entry editor: what a code typed or entered at a caret cell of a
// staff or tablature line does to the note columns there. The beam repair
// that ends most calls is in KNoteEntryBeams.cpp.

#include "model/KNoteEntry.h"

#include <algorithm>

#include "common/ViewServices.h"
#include "model/KChord.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "platform/UiPort.h"

namespace {

// A duration typed on a tablature cell changes the note value of that string
// (mode 2000 plus the string row).
constexpr int kTabDurationRow = 12000;
constexpr int kNoValue = KChord::kNoDuration;
constexpr int kByteMax = 255;
constexpr int kTabDurationLimit = 13;  // codes 0..13 typed on a tablature cell are durations
constexpr int kHeadWithoutLength = 13;

bool IsFret(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }
// Flagged note symbols, which a tablature line takes only beside a fret.
bool IsFlaggedNote(int code) { return code >= KChord::kFlaggedBase && code <= KChord::kFlaggedBase + 12; }
// Bar lines and repeat signs that make a column a bar column.
bool IsBarCode(int code) { return code >= 21 && code <= 25; }
// Codes after which the caret moves on one column.
bool MovesCaret(int code) {
  return (code >= 0 && code <= 26) || code == KChord::kTimeSignature || code == KChord::kKeySignature ||
         code == KChord::kFlaggedBase + KChord::kWholeNote;
}

}  // namespace

KLinePair KListLine::EditNoteAt(int code, int subCode, int sizeIndex, int column, int row, int beamFlag,
                                int replace, int removeMode) {
  KNoteEntry entry(*this, {code, subCode, sizeIndex, column, row, beamFlag, replace, removeMode});
  return entry.Run();
}

KNoteEntry::KNoteEntry(KListLine& line, const Args& args)
    : m_line(line), m_list(*line.GetObjList()), m_a(args), m_tab(line.GetFamily() == KLineObj::kFamilyTab) {}

bool KNoteEntry::Refuses() const {
  if (!KLineObj::IsNoteFamily(m_line.GetFamily())) return true;
  if (m_a.column < 0 || m_a.row < 0) return true;
  const int code = m_a.code;
  const bool keyCode = code == kBlankCode || code == kDeleteCode || code == kBlankRunCode;
  if (!keyCode && (code < 0 || code >= 2 * KChord::kFlaggedBase || code % KChord::kFlaggedBase > kByteMax))
    return true;
  // An entry stores its row in one byte; a larger row would land on another.
  if (!keyCode && m_a.row > kByteMax && m_a.row < kValueChangeRow) return true;
  // Note lines hold note columns only.
  for (POSITION node = m_list.GetHeadPosition(); node != nullptr;) {
    if (AsChord(m_list.GetNext(node)) == nullptr) return true;
  }
  return false;
}

KLinePair KNoteEntry::Run() {
  if (Refuses()) return {0, -1};
  const int code = m_a.code;
  m_step = 1;
  m_redraw = m_a.column;
  if (code == KChord::kTimeSignature) m_line.m_overrideBeats = 0;
  m_line.m_changed = 1;

  // A replacing entry first clears the caret column (or the empty place there)
  // through the line's own key slot, closing up each time.
  if (m_a.replace != 0 && code != kDeleteCode) {
    const int times = code == kBlankRunCode ? std::max(0, g_blankRunCount) : 1;
    for (int i = 0; i < times; ++i) {
      m_line.HandleKey(kDeleteCode, 0, m_a.sizeIndex, m_a.column, kWholeColumnRow, 0, 0, 0);
    }
  }

  const int length = m_line.GetLength();
  if (code == kDeleteCode && m_a.column > length) return {-1, m_a.column};
  if (m_tab && code >= 0 && code <= kTabDurationLimit && m_a.row < kValueChangeRow)
    m_a.row += kTabDurationRow;
  m_valueChange = m_a.row >= kValueChangeRow;
  TakeWorkingValues();

  if (code == kBlankCode || code == kBlankRunCode) return Blank(length);
  if (code == kDeleteCode) return Delete();
  return Entry();
}

void KNoteEntry::TakeWorkingValues() {
  const int code = m_a.code;
  m_entryCode = code;
  if (!m_tab) {
    m_noteValue = code >= 0 && code <= KChord::kWholeNote ? code : kNoValue;
  } else if (IsFret(code)) {
    // The fret's own duration travels in the sub-code: 70 + 10 x duration + style.
    m_noteValue = m_a.subCode >= KChord::kTabRhythm ? (m_a.subCode - KChord::kTabRhythm) / 10 : kNoValue;
  } else {
    m_noteValue = code == kHeadWithoutLength ? kHeadWithoutLength : kNoValue;
  }

  m_node = m_line.FindNodeAt(m_a.column, 0);
  m_chord = m_node != nullptr ? AsChord(m_list.GetAt(m_node)) : nullptr;
  if (m_node != nullptr) {
    m_before = m_node;
    m_list.GetPrev(m_before);
    m_after = m_node;
    if (code == kDeleteCode) m_list.GetNext(m_after);
  } else {
    m_before = m_line.FindNodeBefore(m_a.column);
    m_after = m_before;
    if (m_after != nullptr) {
      m_list.GetNext(m_after);
    } else {
      m_after = m_list.GetHeadPosition();
    }
  }

  // The value that decides whether a flagged note continues the beam before it.
  int tested = -1;
  if (!m_tab || m_valueChange) {
    tested = code;
  } else if (IsFret(code)) {
    tested = m_noteValue;
  }
  for (int v = 0; v < 2; ++v) {
    Voice& w = m_voices[v];
    m_line.FindNeighbours(m_a.column, v, w.neighbourBefore, w.neighbourAfter);
    w.stem = m_chord != nullptr ? m_chord->GetVoiceStem(v) : 0;
    w.duration = m_chord != nullptr ? m_chord->GetVoiceDuration(v) : kNoValue;
    const bool groupBefore = w.neighbourBefore != nullptr &&
                             beam::ContinuesAfter(beam::StemOf(m_list.GetAt(w.neighbourBefore), v));
    w.inGroup = groupBefore || (m_chord != nullptr && beam::ContinuesBefore(w.stem));
    w.join = m_a.beamFlag != 0 && tested >= 0 && tested <= 7 && tested % 2 == (v == 0 ? 1 : 0);
  }
}

KLinePair KNoteEntry::Entry() {
  const int code = m_a.code;
  const int column = m_a.column;
  m_step = m_valueChange ? 0 : ((m_tab && IsFret(code)) || MovesCaret(code) ? 1 : 0);

  if (m_list.IsEmpty()) {
    // A refused entry leaves the caret where it is.
    if (m_tab && IsFlaggedNote(code)) {
      MessageBeep(MB_ICONASTERISK);
      return {0, column};
    }
    // A note-value change leaves an empty column (its row lies past every step).
    m_list.AddTail(new KChord(column, m_a.row, code, m_a.subCode));
    if (IsBarCode(code)) m_line.UpdateTimeSigCache();
    return {m_step, column};
  }

  if (m_valueChange) {
    if (m_chord == nullptr) return {0, column};
    int handed = code;
    const int changed = m_chord->SetNoteDuration(handed, m_a.row);
    // A quarter or half beside shorter notes of its voice comes back stemless.
    if (handed >= 14 && handed <= 17) {
      m_effective = handed + 94;
    } else if (handed >= 108 && handed <= 111) {
      m_effective = handed;
    }
    if (m_tab && changed == 0) m_voices[0].join = m_voices[1].join = false;
    return RepairBeams();
  }

  if (m_chord == nullptr) {
    if (m_tab && IsFlaggedNote(code)) {
      MessageBeep(MB_ICONASTERISK);
      return {0, column};
    }
    return NewColumn(code);
  }

  // The caret column's duration in the voice of the note typed, and the value
  // compared with it.
  const int voiceDuration =
      m_noteValue == kNoValue ? kNoValue : m_chord->GetVoiceDuration(m_noteValue % 2 == 0 ? 1 : 0);
  int compared = code;
  bool sameFret = false;
  if (m_tab && IsFret(code)) {
    compared = m_noteValue;
    sameFret = m_chord->GetFretOnString(m_a.row) == code - KChord::kFirstFret && voiceDuration == kNoValue;
    if (!sameFret && voiceDuration <= 7 && m_noteValue >= 8 && m_noteValue <= 11) {
      compared = m_noteValue + 100;
      m_effective = compared;
    }
  } else if (!m_tab && voiceDuration <= 7 && code >= 8 && code <= 11) {
    // A quarter or half beside shorter notes of its voice takes its head form.
    m_entryCode = code + 100;
    compared = m_entryCode;
  }

  // A dot that stands alone where a bar line goes belongs to no note: the bar
  // takes its column rather than pushing it on to the next note.
  if (IsBarCode(code) && m_chord->HoldsOnlyDots()) return ReplaceCaretColumn(code);

  // Notes of different lengths in one voice do not share a column, except
  // quarters and halves among themselves.
  const bool otherLength = compared < 12 && voiceDuration != KChord::kWholeNote &&
                           voiceDuration != kNoValue && !sameFret && compared != voiceDuration &&
                           !(compared >= 8 && voiceDuration >= 8);
  if (otherLength || m_a.replace != 0 ||
      (m_chord->NeedsOwnColumn(m_a.row, m_entryCode, false) == 1 && !sameFret)) {
    return NewColumn(m_entryCode);
  }

  // A refusal inside AddNote shows its own message and leaves the column as
  // it was; the call goes on as for an accepted entry. A dot typed before
  // the note, wherever the caret stood then, is the note's.
  m_chord->AddNote(m_a.row, m_entryCode, (m_a.subCode % 10 + 1) % 10, m_noteValue);
  m_chord->TakeLooseDot(m_a.row);
  m_joined = true;
  return RepairBeams();
}

KLinePair KNoteEntry::NewColumn(int code) {
  const int column = m_a.column;
  m_line.ShiftColumns(column, 1, 0);
  // A line that cannot make room (columns at the largest position) takes nothing.
  if (m_chord != nullptr && m_chord->GetPos() == column) return {0, column};

  auto* fresh = new KChord(column, m_a.row, code, m_a.subCode);
  POSITION node = nullptr;
  if (m_chord != nullptr) {
    // The old caret column now follows the new one.
    for (int v = 0; v < 2; ++v) {
      if (m_chord->GetFlagCount(v) > 0) m_voices[v].neighbourAfter = m_node;
    }
    node = m_list.InsertBefore(m_node, fresh);
  } else {
    const POSITION before = m_line.FindNodeBefore(column);
    node = before != nullptr ? m_list.InsertAfter(before, fresh) : m_list.AddHead(fresh);
  }
  m_node = node;
  m_chord = fresh;
  if (IsBarCode(code)) m_line.UpdateTimeSigCache();
  for (int v = 0; v < 2; ++v) m_voices[v].stem = fresh->GetVoiceStem(v);
  m_joined = false;
  return RepairBeams();
}

KLinePair KNoteEntry::ReplaceCaretColumn(int code) {
  auto* fresh = new KChord(m_a.column, m_a.row, code, m_a.subCode);
  m_list.SetAt(m_node, fresh);
  delete m_chord;
  m_chord = fresh;
  m_line.UpdateTimeSigCache();
  for (int v = 0; v < 2; ++v) m_voices[v].stem = fresh->GetVoiceStem(v);
  m_joined = false;
  return RepairBeams();
}

KLinePair KNoteEntry::Delete() {
  const int column = m_a.column;
  if (m_line.DeleteAttachmentAt(column, m_a.row) != 0) return {0, column};
  if (m_list.IsEmpty()) return {0, column};
  m_step = -1;

  if (m_chord == nullptr) {
    if (!(m_a.row == kWholeColumnRow && m_a.replace != 0)) m_line.ShiftColumns(column, -1, 0);
    return RepairBeams();
  }

  // Bars and signatures go whole, whatever the row.
  const int first = m_chord->GetNote(0).code;
  if (m_chord->IsBarColumn() || first == 26 || first == KChord::kTimeSignature ||
      first == KChord::kKeySignature) {
    if (first == KChord::kTimeSignature) m_line.m_overrideBeats = 0;
    RemoveCaretColumn();
    m_line.ShiftColumns(column, -1, -2);
    m_line.UpdateTimeSigCache();
    return {-1, column};
  }

  if (m_a.row != kWholeColumnRow) m_chord->RemoveNote(m_a.row, m_a.removeMode);
  if (m_chord->GetNoteCount() == 0 || m_a.row == kWholeColumnRow) {
    RemoveCaretColumn();
    if (m_a.replace == 0) m_line.ShiftColumns(column, -1, 0);
    m_line.UpdateTimeSigCache();
  }
  // A column that leaves its group, or loses its flags in the voice, breaks it.
  for (int v = 0; v < 2; ++v) {
    Voice& w = m_voices[v];
    if (beam::IsMarker(w.stem)) w.broken = m_deleted || m_chord->GetFlagCount(v) == 0;
  }
  return RepairBeams();
}

void KNoteEntry::RemoveCaretColumn() {
  m_list.RemoveAt(m_node);
  delete m_chord;
  m_node = nullptr;
  m_chord = nullptr;
  m_deleted = true;
}

KLinePair KNoteEntry::Blank(int length) {
  const int count = m_a.code == kBlankRunCode ? std::max(0, g_blankRunCount) : 1;
  m_step = count;
  if (m_list.IsEmpty() || m_a.column > length) return {1, m_a.column};
  m_line.ShiftColumns(m_a.column, count, 0);
  return RepairBeams();
}
