#include "dialogs/ChordDesignerGrid.h"

#include <algorithm>
#include <cstdlib>

#include "platform/UiPort.h"

namespace {

constexpr const char* kFingerCharacters = "0123456789:;<=>?@ABCDEFGHIJ ";
constexpr int kBlankFinger = 27;
constexpr int kMaxFret = 24;

bool Refuse() {
  MessageBeep(MB_ICONASTERISK);
  return false;
}

// The row of a dot value (either kind), 0 for open and not played.
int RowOf(int value) { return value == 0 || value == 9 ? 0 : value % 10; }

}  // namespace

KChordGrid::KChordGrid() {
  finger.fill(kBlankFinger);
  Clear();
}

void KChordGrid::Clear() {
  m_value.fill(9);
  m_barreSpan.fill(0);
  m_barreRow.fill(0);
  m_pending = kNoPending;
  m_fretPosition = 0;
  finger.fill(kBlankFinger);
}

bool KChordGrid::IsBlank() const {
  for (int s = 0; s < m_strings; ++s)
    if (m_value[static_cast<std::size_t>(s)] != 9) return false;
  return true;
}

void KChordGrid::SetStringCount(int n) {
  m_strings = std::clamp(n, 2, kSlots);
  Clear();
}

void KChordGrid::SetFretRows(int rows) {
  m_rows = std::clamp(rows, 4, 7);
  for (int s = 0; s < kSlots; ++s) {
    auto& value = m_value[static_cast<std::size_t>(s)];
    if (RowOf(value) > m_rows) value = 9;
    if (m_barreSpan[static_cast<std::size_t>(s)] >= 2 && m_barreRow[static_cast<std::size_t>(s)] > m_rows)
      RemoveBarreThrough(s);
  }
}

int KChordGrid::HighestRow() const {
  int highest = 0;
  for (int s = 0; s < m_strings; ++s)
    highest = std::max(highest, RowOf(m_value[static_cast<std::size_t>(s)]));
  return highest;
}

bool KChordGrid::SetFretPosition(int position) {
  if (position < 0 || position > kMaxFret) return Refuse();
  if (position + HighestRow() > kMaxFret) return Refuse();
  m_fretPosition = position;
  return true;
}

void KChordGrid::Load(const CString& prefix, int highRowMask) {
  m_barreSpan.fill(0);
  m_barreRow.fill(0);
  m_pending = kNoPending;
  m_value.fill(9);
  const int position = prefix.IsEmpty() ? 0 : static_cast<unsigned char>(prefix[0]) - '0';
  m_fretPosition = position >= 0 && position <= kMaxFret ? position : 0;
  for (int s = 0; s < m_strings && s + 1 < prefix.GetLength(); ++s) {
    const int c = static_cast<unsigned char>(prefix[s + 1]) - '0';
    if (c < 0) continue;
    const int u = c % 10;
    const int span = c / 10;
    int value = u;
    if (u != 0 && u != 9) {
      if (u >= 5) value = u + 6;  // the second kind: 11..14
      if ((highRowMask >> s) & 1) value += 4;
    }
    m_value[static_cast<std::size_t>(s)] = value;
    if (span >= 2 && u != 0 && u != 9) {
      m_barreSpan[static_cast<std::size_t>(s)] = std::min(span, m_strings - s);
      m_barreRow[static_cast<std::size_t>(s)] = value % 10;
    }
  }
  for (int s = 0; s < m_strings; ++s) {
    const int span = m_barreSpan[static_cast<std::size_t>(s)];
    for (int k = 1; k < span; ++k) {
      m_barreSpan[static_cast<std::size_t>(s + k)] = kCovered;
      m_barreRow[static_cast<std::size_t>(s + k)] = m_barreRow[static_cast<std::size_t>(s)];
    }
  }
}

void KChordGrid::RemoveBarreThrough(int slot) {
  int start = slot;
  while (start > 0 && m_barreSpan[static_cast<std::size_t>(start)] == kCovered) --start;
  const int span = m_barreSpan[static_cast<std::size_t>(start)];
  if (span < 2 || span == kCovered) return;
  for (int k = 0; k < span && start + k < kSlots; ++k) {
    m_barreSpan[static_cast<std::size_t>(start + k)] = 0;
    m_barreRow[static_cast<std::size_t>(start + k)] = 0;
  }
}

bool KChordGrid::BarreGesture(int column) {
  if (column == m_pending) {
    m_pending = kNoPending;
    return true;
  }
  if (m_barreSpan[static_cast<std::size_t>(column)] != 0) RemoveBarreThrough(column);
  const int value = m_value[static_cast<std::size_t>(column)];
  if (m_pending == kNoPending) {
    if (value == 9 || value == 0) return Refuse();
    m_pending = column;
    return true;
  }
  const int start = std::min(m_pending, column);
  const int span = std::abs(column - m_pending) + 1;
  const int row = RowOf(m_value[static_cast<std::size_t>(m_pending)]);
  for (int k = 0; k < span; ++k) {
    if (m_barreSpan[static_cast<std::size_t>(start + k)] != 0) RemoveBarreThrough(start + k);
  }
  for (int k = 0; k < span; ++k) {
    const auto slot = static_cast<std::size_t>(start + k);
    m_value[slot] = row;
    m_barreSpan[slot] = k == 0 ? span : kCovered;
    m_barreRow[slot] = row;
  }
  m_pending = kNoPending;
  return true;
}

bool KChordGrid::Click(int x, int y, int button, bool shift) {
  if (x < GridLeft() - 3) return Refuse();
  const int column = (x - GridLeft() + 3) / kColumn;
  if (column < 0 || column >= m_strings) return Refuse();
  if (y > m_rows * RowHeight() + 43) return Refuse();
  const auto slot = static_cast<std::size_t>(column);
  const bool barreGesture = y < 18 || shift;
  if (barreGesture && m_value[slot] == 9 && m_pending == kNoPending) return Refuse();

  if (y >= kMarkerTop && y <= kMarkerBottom) {
    const int wanted = button == 1 ? 9 : 0;
    if (m_value[slot] != wanted) {
      if (m_barreSpan[slot] != 0) RemoveBarreThrough(column);
      m_value[slot] = wanted;
      // A muted string loses its fingering label.
      if (wanted == 9) finger[slot] = kBlankFinger;
    }
  } else if (y >= kFirstRowY) {
    const int row = (y - 43) / RowHeight() + 1;
    const int v = button == 1 ? row : 10 + row;
    if (m_pending == kNoPending) {
      // A dot above a barre's row on one of its strings takes the string out of the barre.
      if (m_barreSpan[slot] != 0 && row <= m_barreRow[slot]) RemoveBarreThrough(column);
      if (m_value[slot] == v && m_barreSpan[slot] == 0) {
        m_value[slot] = 0;  // the same dot again: the string rings open
      } else {
        m_value[slot] = v;
      }
    }
  } else if (!barreGesture) {
    return Refuse();
  }
  if (barreGesture) return BarreGesture(column);
  return true;
}

CString KChordGrid::BuildShape() const {
  // The string characters, lowest string first, and their +4 row bits.
  std::array<char, kSlots> chars{};
  std::array<int, kSlots> high{};
  for (int s = 0; s < m_strings; ++s) {
    const int value = m_value[static_cast<std::size_t>(s)];
    int c;
    if (value == 0 || value == 9) {
      c = '0' + value;
    } else {
      const bool second = value > 10;
      int row = value % 10;
      if (row > 4) {
        high[static_cast<std::size_t>(s)] = 1;
        row -= 4;
      }
      c = '0' + row + (second ? 4 : 0);
    }
    const int span = m_barreSpan[static_cast<std::size_t>(s)];
    if (span >= 2 && span <= m_strings) c += 10 * span;
    chars[static_cast<std::size_t>(s)] = static_cast<char>(c);
  }
  // The six shape positions: pads for fewer than five strings, the highest
  // six strings for seven and eight.
  std::array<char, 6> positions{'9', '9', '9', '9', '9', '9'};
  std::array<int, 6> positionSlot{-1, -1, -1, -1, -1, -1};
  const int pads = m_strings < 5 ? 5 - m_strings : 0;
  const int skipped = m_strings > 6 ? m_strings - 6 : 0;
  for (int s = skipped; s < m_strings; ++s) {
    const int position = pads + s - skipped;
    if (position >= 6) break;
    positions[static_cast<std::size_t>(position)] = chars[static_cast<std::size_t>(s)];
    positionSlot[static_cast<std::size_t>(position)] = s;
  }
  int mask = 0;
  for (int p = 0; p < 6; ++p) {
    const int slot = positionSlot[static_cast<std::size_t>(p)];
    if (slot >= 0 && high[static_cast<std::size_t>(slot)] != 0) mask |= 1 << p;
  }
  bool fingering = false;
  for (int s = 0; s < m_strings; ++s)
    fingering = fingering || finger[static_cast<std::size_t>(s)] != kBlankFinger;

  CString shape(static_cast<char>('0' + m_fretPosition));
  for (char c : positions) shape += c;
  CString hint = variationHint.Left(8);
  while (hint.GetLength() < 8) hint += ' ';
  shape += hint;
  shape += shortFifthFret > 0 && m_strings == 5 ? static_cast<char>('0' + std::min(shortFifthFret, 9)) : ' ';
  shape += fingering ? '1' : '0';
  shape += noVariationNumber != 0 ? '1' : '0';
  shape += showHint != 0 ? '1' : '0';
  shape += hideName != 0 ? '1' : '0';
  shape += barsStyle != 0 ? '1' : '0';
  shape += positionLeft != 0 ? '1' : '0';
  shape += bass != 0 ? '1' : '0';
  shape += static_cast<char>('0' + std::min(m_strings, 6));
  shape += static_cast<char>('0' + m_rows);
  shape += static_cast<char>('0' + mask);
  const CString labels(kFingerCharacters);
  if (fingering || m_strings > 6) {
    for (int p = 0; p < 6; ++p) {
      const int slot = positionSlot[static_cast<std::size_t>(p)];
      shape += slot >= 0 ? labels[finger[static_cast<std::size_t>(slot)]] : ' ';
    }
  }
  // Seven strings: the lowest string after "7"; eight: the second lowest
  // after "7", the lowest after "8".
  auto extra = [&](char number, int slot) {
    shape += number;
    shape += chars[static_cast<std::size_t>(slot)];
    shape += high[static_cast<std::size_t>(slot)] != 0 ? '1' : '0';
    shape += labels[finger[static_cast<std::size_t>(slot)]];
  };
  if (m_strings == 7) extra('7', 0);
  if (m_strings == 8) {
    extra('7', 1);
    extra('8', 0);
  }
  return shape;
}
