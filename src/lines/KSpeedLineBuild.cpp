// The drawn items of one column of the drawing cache: the numbers of a time
// signature, the key of a key-signature column, and one item per entry of any
// other column (notes, rests, symbols, bars, tablature frets), with the
// extents and the ledger lines of the notes outside the staff.

#include <algorithm>

#include "lines/KSpeedLine.h"
#include "model/KBigChord.h"
#include "model/KChord.h"

namespace {

constexpr int kLargeBase = 112;      // symbol-set base of the large size
constexpr int kLargeFigures = 18;    // time-signature figures: large = small + 18
constexpr int kCommonTime = 98;      // the 4/4 sign; 99 is the 2/2 sign
constexpr int kFlaggedMarker = 255;  // the next item holds a flagged code - 10000
constexpr int kFretId = 224;         // frets 0..24 are drawn as ids 224..248
constexpr int kLastCode = 111;
// Special drawing kinds of itemX, as signed bytes.
constexpr int kTimeSignatureKind = 151 - 256;
constexpr int kKeySignatureKind = 152 - 256;
constexpr int kHollowMarkKind = 186 - 256;
constexpr int kStemlessMarkKind = 136 - 256;  // 136..139 for durations 14..17
// The staff's top line and bottom line.
constexpr int kTopLineStep = 14;
constexpr int kBottomLineStep = 22;

BYTE ClampByte(int value) { return static_cast<BYTE>(std::clamp(value, 0, 255)); }
signed char ClampSigned(int value) { return static_cast<signed char>(std::clamp(value, -128, 127)); }

void PushItem(KBigChord& entry, int symbol, int style, int x, int y) {
  if (entry.itemCount >= KBigChord::kMaxItems) return;
  const int i = entry.itemCount++;
  entry.itemSymbol[i] = ClampByte(symbol);
  entry.itemStyle[i] = ClampByte(style);
  entry.itemX[i] = ClampSigned(x);
  entry.itemY[i] = ClampByte(y);
}

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// A note head of a staff column, for ledger lines and extents.
bool IsHead(int code) {
  return code <= 13 || (code >= KChord::kFlaggedBase && code <= KChord::kFlaggedBase + 13);
}

}  // namespace

int KSpeedLine::ItemStyleOf(const KChord& column, int i) {
  return (column.RawEntry(i).flag & KChord::kFlagStyleMask) != 0 ? column.GetNoteStyleAt(i) : 100;
}

void KSpeedLine::AddItems(KBigChord& entry, const KChord& column, int spacing) const {
  if (column.GetNoteCount() == 0) return;
  const int first = column.GetNote(0).code;
  if (first == KChord::kTimeSignature) {
    AddTimeSignature(entry, column, spacing);
    return;
  }
  if (first == KChord::kKeySignature) {
    // The key stands in the second entry; tablature lines draw no key.
    if (!IsTab()) PushItem(entry, column.GetRawNote(1).code, 100, kKeySignatureKind, 100);
    return;
  }
  for (int i = 0; i < column.GetNoteCount(); ++i) AddEntryItem(entry, column, i, spacing);
}

void KSpeedLine::AddTimeSignature(KBigChord& entry, const KChord& column, int spacing) const {
  const int large = m_sizeIndex != 0 ? kLargeFigures : 0;
  // A figure is two staff spaces high; its top row is its reference.
  const int figure = 2 * g_StaffLineSpacing[m_sizeIndex];
  const int upper = column.GetRawNote(1).code;
  const bool single = upper == kCommonTime || upper == kCommonTime + 1;
  int top = 100;
  if (IsTab()) {
    const int first = RowY(FirstStringRow(), spacing);
    const int height = RowY(LastStringRow(), spacing) - first;
    top = first + (height - (single ? figure : 2 * figure)) / 2;
  } else if (single) {
    top = 100 + g_StaffLineSpacing[m_sizeIndex];
  }
  PushItem(entry, upper + large, 100, kTimeSignatureKind, top);
  if (!single) PushItem(entry, column.GetRawNote(2).code + large, 100, kTimeSignatureKind, top + figure);
}

void KSpeedLine::AddEntryItem(KBigChord& entry, const KChord& column, int i, int spacing) const {
  const NotePair note = column.GetNote(i);
  const int code = note.code;
  const int base = m_sizeIndex != 0 ? kLargeBase : 0;
  const int nudgeX = column.GetNoteOffset(i, false);
  const int nudgeY = column.GetNoteOffset(i, true);
  const int style = ItemStyleOf(column, i);
  const int y = RowY(note.position, spacing);

  if (IsTab() && IsFretCode(code)) {
    const int duration = column.RawEntry(i).value / 10;
    const int noteStyle = column.GetNoteStyleAt(i);
    if (noteStyle == 1 || noteStyle == 2) {
      // Drawn as the note symbol of its own duration.
      const int symbol = duration >= 14 && duration <= 17 ? duration - 6 : duration;
      if (symbol > 13) return;
      const Placement p = GetPlacement(symbol + base);
      PushItem(entry, symbol + base, style, nudgeX + p.x, y + p.y);
      return;
    }
    int fret = code - KChord::kFirstFret;
    // A short fifth string that starts at fret d shows that fret as 0.
    const bool bass = GetType() == 15 || TestFlags(0x20) != 0;
    if (m_stringCount == 5 && !bass && m_tuning.GetLength() > 12 && m_tuning[12] >= '1' &&
        m_tuning[12] <= '9' && note.position == 7 && fret == m_tuning[12] - '0') {
      fret = 0;
    }
    int x = nudgeX;
    if (duration >= 10 && duration <= 12) x = kHollowMarkKind;
    if (duration >= 14 && duration <= 17) x = kStemlessMarkKind + duration - 14;
    PushItem(entry, kFretId + fret, style, x, y);
    return;
  }

  if (code >= KChord::kFlaggedBase) {
    const int flagged = code - KChord::kFlaggedBase;
    if (flagged > kLastCode || entry.itemCount + 2 > KBigChord::kMaxItems) return;
    const Placement p = GetFlaggedPlacement(flagged + base);
    PushItem(entry, kFlaggedMarker, style, 0, 0);
    PushItem(entry, flagged + base, style, nudgeX + p.x, y + p.y + nudgeY);
  } else if (code <= kLastCode) {
    const Placement p = GetPlacement(code + base);
    const bool bar = (code >= 21 && code <= 26) || code == 96 || code == 97;
    // Bars carry only their nudge: the bar drawer places its strokes itself.
    PushItem(entry, code + base, style, nudgeX + (bar ? 0 : p.x), y + p.y + (code > 12 ? nudgeY : 0));
  } else {
    return;  // codes 112..253 other than frets have no picture in a column
  }

  if (!IsTab() && IsHead(code)) {
    if (note.position < kTopLineStep) {
      entry.extent[0] = std::min(entry.extent[0], nudgeX);
      entry.extent[1] = std::max(entry.extent[1], nudgeX);
    } else if (note.position > kBottomLineStep) {
      entry.extent[2] = std::min(entry.extent[2], nudgeX);
      entry.extent[3] = std::max(entry.extent[3], nudgeX);
    }
  }
}

void KSpeedLine::AddLedgerLines(KBigChord& entry, const KChord& column) const {
  if (column.IsSignatureColumn() || column.IsBarColumn()) return;
  int highest = -1;
  int lowest = -1;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    const NotePair note = column.GetNote(i);
    if (!IsHead(note.code)) continue;
    if (highest < 0 || note.position < highest) highest = note.position;
    if (note.position > lowest) lowest = note.position;
  }
  if (highest < 0) return;
  if (highest < kTopLineStep - 1 || lowest > kBottomLineStep + 1) GetLedgerLines(entry, highest, lowest);
}

void KSpeedLine::GetLedgerLines(KBigChord& entry, int highestStep, int lowestStep) const {
  entry.ledgerCount = 0;
  auto add = [&](int step) {
    if (entry.ledgerCount < KBigChord::kMaxLedgers)
      entry.ledgerY[entry.ledgerCount++] = ClampByte(RowY(step, 0));
  };
  // Above the staff: from the highest note, rounded towards the staff, down to step 12.
  if (highestStep < kTopLineStep - 1) {
    for (int step = highestStep + (highestStep % 2 != 0 ? 1 : 0); step <= kTopLineStep - 2; step += 2)
      add(step);
  }
  // Below it: from step 24 down to the lowest note, rounded towards the staff.
  if (lowestStep > kBottomLineStep + 1) {
    const int last = lowestStep - (lowestStep % 2 != 0 ? 1 : 0);
    for (int step = kBottomLineStep + 2; step <= last; step += 2) add(step);
  }
}
