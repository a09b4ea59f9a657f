// Translating a tablature line into another kind of line: a staff that shows
// the same pitches, a rhythm line that shows the rhythm of the columns, or a
// text line holding the plain-text tablature. The tablature line itself is
// never changed; the caller owns and places the new line.

#include <algorithm>
#include <vector>

#include "lines/KRhythmLine.h"
#include "lines/KRhythmLineDefaults.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"

namespace {

constexpr int kTextColumns = 10000;
constexpr int kWholeColumnRow = 1000;
constexpr int kRowCount = 10;
constexpr int kFirstStaffRow = 1;
constexpr int kLastStaffRow = 36;
// Entries on rows without a note go to the staff rows 0, 4, 8 and on.
constexpr int kFreeRowStep = 4;
constexpr int kNoRhythm = 32761;
// The accidental codes that PitchToRow's answers 1..3 need.
constexpr int kAccidentalCode[4] = {0, 28, 30, 27};
// Staff rows of an attachment by its row + vertical offset / 10, for -2..10.
constexpr int kAttachmentRow[13] = {28, 30, 27, 6, 10, 12, 14, 17, 21, 24, 28, 30, 31};
// Rhythm symbols of the durations 0..12.
constexpr int kDurationSymbol[13] = {27, 27, 28, 28, 29, 29, 30, 30, 10, 10, 9, 9, 8};

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// The rhythm symbol of a tablature symbol without a fret; 0 when it has none.
int RhythmSymbolOf(int code) {
  switch (code) {
    case 36:
      return 222;
    case 16:
      return 217;
    case 17:
      return 218;
    case 18:
      return 219;
    case 19:
      return 220;
    case 20:
      return 221;
    case 14:
      return 239;
    case 15:
      return 240;
    case 32:
    case 33:
    case 34:
    case 35:
      return 241;
    case 26:
      return 242;
    case 21:
      return 200;
    case 24:
      return 203;
    case 25:
      return 204;
    case 22:
      return 201;
    case 23:
      return 202;
    default:
      return 0;
  }
}

struct StaffEntry {
  int row;
  int code;
  int flag;
};

}  // namespace

std::unique_ptr<KLineObj> KTabLine::TranslateTo(int, int kind, int textMode, int sizeIndex, int fontNumber,
                                                CString, int) {
  switch (kind) {
    case 0:
      return ConvertToStaff(m_tuning.GetLength() > 12 && m_tuning.GetAt(12) == '*' ? 1 : 0, 0);
    case 1:
      return ConvertToStaff(1, 0);
    case 3:
      return ConvertToRhythm(sizeIndex);
    case 5: {
      const std::optional<CString> text = WriteText(0, kTextColumns, textMode);
      return std::make_unique<KStrLine>(text.value_or(CString()), fontNumber);
    }
    default:
      return nullptr;
  }
}

int KTabLine::TabCellToStaffRow(int& accidental, int code, int column, int row, const KChord& cell,
                                int key) const {
  accidental = 0;
  if (row == kWholeColumnRow) return kWholeColumnRow;
  const KStaffLine treble(0, std::clamp(key, 0, kMaxKey), 0);
  return LineColumnConversion::StaffRowOfTabCell(treble, *this, accidental, code, column, row, cell, key);
}

std::unique_ptr<KLineObj> KTabLine::ConvertToStaff(int kind, int) const {
  const int type = kind == 1 ? KLineObj::kKindBassStaff : 0;
  auto staff = std::make_unique<KStaffLine>(type, m_key, 0);
  staff->SetIndent(GetIndent());
  const int offset = KStaffLine::RowOffset(type);

  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    const int pos = column->GetPos();
    auto* out = new KChord(pos);
    out->SetRhythmCode(column->GetNoteStyle());
    out->SetVoiceStem(0, column->GetVoiceStem(0));
    out->SetVoiceStem(1, column->GetVoiceStem(1));

    std::vector<StaffEntry> entries;
    const int first = column->GetRawNote(0).code;
    if (column->GetNoteCount() > 0 && (first == KChord::kTimeSignature || first == KChord::kKeySignature)) {
      const int count = first == KChord::kTimeSignature ? 3 : 2;
      for (int i = 0; i < count; ++i) entries.push_back({i, column->GetRawNote(i).code, 0});
      if (first == KChord::kKeySignature) staff->ModifyFlags(kFlagKeyChanges, 1);
    } else {
      // The staff row of each string row's note; -1 none yet, -2 dropped.
      int noteRow[kRowCount];
      std::fill(std::begin(noteRow), std::end(noteRow), -1);
      int freeRow = 0;
      const int key = GetKeySignatureAt(pos);
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        const int flag = column->RawEntry(i).flag;
        const int raw = column->GetRawNote(i).code;
        const int string = note.position;
        const bool onRow = string >= 0 && string < kRowCount;
        if (IsFretCode(note.code) && onRow) {
          int accidental = 0;
          int row = LineColumnConversion::StaffRowOfTabCell(*staff, *this, accidental, note.code, pos, string,
                                                            *column, key);
          if (row >= 0) row -= offset;
          if (row < kFirstStaffRow || row > kLastStaffRow) {
            noteRow[string] = -2;
            continue;
          }
          noteRow[string] = row;
          if (accidental >= 1 && accidental <= 3) entries.push_back({row, kAccidentalCode[accidental], 0});
          int duration = column->GetRawNote(i).position / 10;
          if (duration >= 14 && duration <= 17) duration += 94;
          entries.push_back({row, duration, flag & KChord::kFlagStyleMask});
          // The staff column is built entry by entry so that the accidentals
          // of this note count for the next one on the same staff row.
          continue;
        }
        if (onRow && noteRow[string] == -2) continue;
        if (onRow && noteRow[string] >= 0) {
          entries.push_back({noteRow[string], raw, flag});
        } else {
          entries.push_back({freeRow, raw, flag});
          freeRow += kFreeRowStep;
        }
      }
    }
    const int count = std::min(static_cast<int>(entries.size()), KChord::kMaxNotes);
    out->SetNoteCount(count);
    for (int i = 0; i < count; ++i) {
      out->SetNoteValue(i, entries[i].row);
      out->SetNoteCode(i, entries[i].code);
      out->SetNoteFlags(i, entries[i].flag);
    }
    staff->GetObjList()->AddTail(out);
  }
  staff->UpdateTimeSigCache();
  staff->MarkChanged();

  staff->CopyAttachmentsFrom(*this);
  CObList* attachments = staff->GetAttachments();
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    const int index = std::clamp(attachment->GetRow() + attachment->GetOffset().y / 10, -2, 10);
    attachment->SetRow(kAttachmentRow[index + 2]);
  }
  return staff;
}

std::unique_ptr<KLineObj> KTabLine::ConvertToRhythm(int sizeIndex) const {
  auto rhythm = std::make_unique<KRhythmLine>(m_key, g_defaultRhythmFontText);
  const int size = sizeIndex != 0 ? 1 : 0;
  const int measured = rhythm->GetColumnWidth();
  const int unit = measured > 0 ? measured : 4;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    const int duration = column->GetVoiceDuration(3);
    int code = duration >= 0 && duration <= 12 ? 200 + kDurationSymbol[duration] : kNoRhythm;
    bool hasFret = false;
    for (int i = 0; i < column->GetNoteCount() && !hasFret; ++i)
      hasFret = IsFretCode(column->GetNote(i).code);
    if (!hasFret) {
      code = 0;
      for (int i = 0; i < column->GetNoteCount() && code == 0; ++i) {
        code = RhythmSymbolOf(column->GetNote(i).code);
      }
    }
    if (code == 0) continue;
    const long long x =
        static_cast<long long>(column->GetPos()) * ColumnWidth(size) + GetLeadInWidth(size) + GetIndent();
    rhythm->HandleKey(code, 0, size, static_cast<int>(x / unit), 0, 0, 0, 0);
  }
  return rhythm;
}
