// Bar numbers of a staff or tablature line (CountBars): the number of the bar
// that holds a column, the column at which a bar starts, or the last column.
//
// Bars are counted from 1 along the line's bar columns. A bar column only
// closes a bar once the line has had content (notes, rests and the other
// symbols that fill time); an opening bar at the line start and a bar right
// after the opening time signature close nothing, and a closing bar at the end
// of the line opens no new bar. First and second endings are bracket
// attachments (kind 21) with their number in a text attachment below them:
// a bar closed inside an ending adds the ending's number.

#include <algorithm>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"

namespace {

constexpr int kModeBarAtColumn = 2000;
constexpr int kModeColumnOfBar = 2001;
constexpr int kAttachmentColumn = 18;
// Bar kinds (the code of a bar column's first entry) with a rule of their own.
constexpr int kStartBar = 24;
constexpr int kRepeatBar = 25;
// A bar column this close after the opening time signature belongs to it.
constexpr int kTimeSigReach = 2;

// Symbols that fill time or mark content in a column without sounding notes.
bool IsContentCode(int code) {
  return (code >= 14 && code <= 20) || code == 26 || code == 94 || code == 96 || code == 97 ||
         (code >= 10000 && code <= 10014) || code == 10023 || code == 10029 || code == 10031 ||
         (code >= 10068 && code <= 10071) || code == 10076 || code == 10077;
}

bool HasContent(const KChord& column) {
  if (column.CountNotes() > 0) return true;
  for (int i = 0; i < column.GetNoteCount(); ++i) {
    if (IsContentCode(column.GetNote(i).code)) return true;
  }
  return false;
}

struct Ending {
  long long first = 0;
  long long last = 0;
  int number = 0;
};

// The ending number in a text: its first digit 1..9 and up to two digits
// directly after it; 0 when the text holds none.
int EndingNumber(const CString& text) {
  const int length = text.GetLength();
  for (int i = 0; i < length; ++i) {
    if (text[i] < '1' || text[i] > '9') continue;
    int number = text[i] - '0';
    for (int j = i + 1; j < length && j <= i + 2 && text[j] >= '0' && text[j] <= '9'; ++j)
      number = number * 10 + (text[j] - '0');
    return number;
  }
  return 0;
}

// Walks the attachments for ending brackets: each call gives the next bracket
// that has a number text under it; brackets without one are passed over.
class EndingScanner {
 public:
  explicit EndingScanner(const CObList& attachments)
      : m_attachments(attachments), m_next(attachments.GetHeadPosition()) {}

  bool Next(Ending& ending) {
    while (m_next != nullptr) {
      auto* bracket = static_cast<KExtendedObj*>(m_attachments.GetNext(m_next));
      if (bracket->GetKind() != KExtendedObj::kDoubleBar) continue;
      const long long pos = bracket->GetPos();
      ending.first = pos + bracket->GetOffset().x / kAttachmentColumn;
      ending.last = (bracket->MeasureText(nullptr) + pos * kAttachmentColumn + bracket->GetOffset().x) /
                    kAttachmentColumn;
      ending.number = NumberUnder(ending);
      if (ending.number > 0) return true;
    }
    return false;
  }

 private:
  int NumberUnder(const Ending& ending) const {
    for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
      auto* text = static_cast<const KExtendedObj*>(m_attachments.GetNext(node));
      if (text->GetPos() > ending.last) break;
      if (text->GetKind() != KExtendedObj::kTextBox || text->GetPos() < ending.first) continue;
      return EndingNumber(text->GetText());
    }
    return 0;
  }

  const CObList& m_attachments;
  POSITION m_next;
};

}  // namespace

KLinePair KListLine::CountBars(int mode, int target) {
  if (m_staffLength == 1) return {0, 0};
  if (m_objects.IsEmpty()) return {mode == kModeBarAtColumn ? 1 : 0, 0};

  EndingScanner endings(m_attachments);
  Ending ending;
  bool inEnding = endings.Next(ending);

  int count = 1;
  int lastMarked = 0;
  bool contentSinceBar = false;
  bool contentOnLine = false;
  int openingTimeSig = -1;
  int lastCountedBar = -1;
  const POSITION head = m_objects.GetHeadPosition();
  for (POSITION node = head; node != nullptr;) {
    const POSITION here = node;
    const KChord* column = AsChord(m_objects.GetNext(node));
    if (column == nullptr) continue;
    const int pos = column->GetPos();
    if (mode == kModeBarAtColumn && pos >= target) return {std::max(count, 1), lastMarked};

    if (!column->IsBarColumn()) {
      if (HasContent(*column)) contentSinceBar = contentOnLine = true;
      if (here == head && column->GetRawNote(0).code == KChord::kTimeSignature) openingTimeSig = pos;
      continue;
    }

    const int kind = column->GetRawNote(0).code;
    if ((here == head && (pos <= 1 || kind == kStartBar)) || !contentOnLine) {
      lastMarked = pos;
      continue;
    }
    if (openingTimeSig >= 0 && pos - openingTimeSig <= kTimeSigReach) continue;
    if (kind == kRepeatBar) lastMarked = pos;

    if (inEnding && pos > ending.first) {
      count += ending.number;
      inEnding = endings.Next(ending);
    } else {
      ++count;
    }
    lastCountedBar = pos;
    if (contentSinceBar) {
      lastMarked = pos;
      contentSinceBar = false;
    }
    // A bar numbered past the one asked for (an ending) still starts there.
    if (mode == kModeColumnOfBar && count >= target) return {pos + (count > 1 ? 1 : 0), lastMarked};
  }

  // A closing bar line at the end of the line opens no new bar (one that
  // counted; a bar passed over above took nothing).
  for (POSITION node = m_objects.GetTailPosition(); node != nullptr;) {
    const KChord* column = AsChord(m_objects.GetPrev(node));
    if (column == nullptr) continue;
    if (column->IsBarColumn()) {
      if (column->GetPos() == lastCountedBar) --count;
      break;
    }
    if (HasContent(*column)) break;
  }
  if (mode == kModeBarAtColumn) return {std::max(count, 1), lastMarked};
  return {static_cast<const KPosObj*>(m_objects.GetTail())->GetPos(), lastMarked};
}
