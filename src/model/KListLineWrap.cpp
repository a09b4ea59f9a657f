// Where to break a note line of fixed staff length at a bar line so that each
// piece fits its width. Only bar columns count; widths are measured at the
// normal symbol size. A bar line that closes a bar stays at the end of the
// line it closes, as in engraved music: the line breaks after it, and the
// next line starts with the next bar's first column. Only a start repeat
// goes down with the bar it opens.

#include <algorithm>

#include "model/KChord.h"
#include "model/KListLine.h"

namespace {

constexpr int kColumnWidth = 18;
constexpr int kHalfColumn = 9;
constexpr int kStartRepeat = 24;

// The bar code of a bar column: its first entry when that is a bar code (21
// to 25) or 96, else its second entry.
int BarKind(const KChord& bar) {
  const int first = bar.GetRawNote(0).code;
  if ((first >= 21 && first <= 25) || first == 96) return first;
  return bar.GetNoteCount() > 1 ? bar.GetRawNote(1).code : first;
}

// A start repeat opens the bar after it: a break there leaves it to the
// next line. Every other bar line closes the bar before it.
bool OpensBar(const KChord& bar) { return BarKind(bar) == kStartRepeat; }

// The first column of the line after a break at the bar.
int BreakColumn(const KChord& bar) { return OpensBar(bar) ? bar.GetPos() : bar.GetPos() + 1; }

const KChord* BarAt(const CObList& list, POSITION node) {
  const KChord* chord = AsChord(list.GetAt(node));
  return chord != nullptr && chord->IsBarColumn() ? chord : nullptr;
}

}  // namespace

int KListLine::GetWrapFlags(int& flags) {
  flags = 0;
  if (m_staffLength <= 1 || m_objects.IsEmpty()) return 0;
  const int key = m_key >= 0 && m_key <= kMaxKey ? m_key : 0;
  const long long lead = kClefWidth + (key != 0 ? kAccidentalWidth[0] * (key / 2 + 1) : 0);
  auto xOf = [lead](int column) {
    return lead + static_cast<long long>(kColumnWidth) * column + kHalfColumn;
  };
  // A break at the bar fits when what stays on the line fits: a start
  // repeat's middle stands within the staff, a closing bar's whole column
  // does (the line is measured in whole columns, so a line that ends with
  // it is not found too long again).
  const long long indent = GetIndent();
  auto fits = [&](const KChord& bar) {
    if (OpensBar(bar)) return xOf(bar.GetPos()) < m_staffLength;
    return lead + indent + static_cast<long long>(kColumnWidth) * (bar.GetPos() + 1) <= m_staffLength;
  };

  POSITION node = m_objects.GetTailPosition();
  const int lastColumn = static_cast<const KPosObj*>(m_objects.GetAt(node))->GetPos();
  if (BarAt(m_objects, node) != nullptr) {
    flags |= 2;
    m_objects.GetPrev(node);
  }
  const KChord* firstBar = nullptr;
  while (node != nullptr) {
    const POSITION here = node;
    m_objects.GetPrev(node);
    const KChord* bar = BarAt(m_objects, here);
    if (bar == nullptr) continue;
    firstBar = bar;
    if (fits(*bar)) return BreakColumn(*bar);
  }
  if (firstBar != nullptr) {
    flags |= 1;
    return BreakColumn(*firstBar);
  }
  if (xOf(lastColumn) >= m_staffLength) flags |= 1;
  return lastColumn;
}

int KListLine::FindWrapColumn(int width, int& flags) {
  if (m_staffLength <= 1 || m_objects.IsEmpty() || width < kColumnWidth) return -1;
  POSITION node = m_objects.GetHeadPosition();
  if (BarAt(m_objects, node) != nullptr) {
    flags |= 0x80;
    m_objects.GetNext(node);
  }
  const POSITION tail = m_objects.GetTailPosition();
  POSITION chosen = nullptr;
  bool stopped = false;
  while (node != nullptr) {
    const POSITION here = node;
    m_objects.GetNext(node);
    const KChord* bar = BarAt(m_objects, here);
    if (bar == nullptr && here != tail) continue;
    const int breakColumn =
        bar != nullptr ? BreakColumn(*bar) : static_cast<const KPosObj*>(m_objects.GetAt(here))->GetPos() + 1;
    if (static_cast<long long>(breakColumn) * kColumnWidth >= width) {
      stopped = true;
      break;
    }
    chosen = here;
  }
  if (chosen == nullptr) return -1;
  if (stopped || chosen != tail) flags |= 0x200;
  const KChord* bar = BarAt(m_objects, chosen);
  if (bar == nullptr) return static_cast<const KPosObj*>(m_objects.GetAt(chosen))->GetPos() + 1;
  return BreakColumn(*bar);
}
