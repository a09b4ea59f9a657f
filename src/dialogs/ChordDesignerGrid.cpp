#include "dialogs/ChordDesignerGrid.h"

#include <algorithm>
#include <cstdlib>

#include "platform/UiPort.h"

namespace {

constexpr const char* kFingerCharacters = "0123456789:;<=>?@ABCDEFGHIJ ";
constexpr int kBlankFinger = 27;
constexpr int kMaxFret = 24;
constexpr int kMaxDots = 30;

bool Refuse() {
  MessageBeep(MB_ICONASTERISK);
  return false;
}

// The row of a dot value (either kind), 0 for open and not played.
int RowOf(int value) { return value == 0 || value == 9 ? 0 : value % 10; }

}  // namespace

int KChordGrid::mutedFinger = kBlankFinger;

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
  for (auto& string : m_dots) string.fill(0);
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

bool KChordGrid::StepFretPosition(int delta) {
  const int positions = kMaxFret + 1;
  return SetFretPosition(((m_fretPosition + (delta > 0 ? 1 : -1)) % positions + positions) % positions);
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

int KChordGrid::BarreStart(int slot) const {
  int start = slot;
  while (start > 0 && m_barreSpan[static_cast<std::size_t>(start)] == kCovered) --start;
  return start;
}

void KChordGrid::RemoveBarreThrough(int slot) {
  const int start = BarreStart(slot);
  const int span = m_barreSpan[static_cast<std::size_t>(start)];
  if (span < 2 || span == kCovered) return;
  for (int k = 0; k < span && start + k < kSlots; ++k) {
    m_barreSpan[static_cast<std::size_t>(start + k)] = 0;
    m_barreRow[static_cast<std::size_t>(start + k)] = 0;
  }
}

void KChordGrid::SetValue(int slot, int value) {
  auto& current = m_value[static_cast<std::size_t>(slot)];
  auto& label = finger[static_cast<std::size_t>(slot)];
  // A string marked not played shows the muted label; the "x" label goes
  // with the marker.
  if (value == 9 && current != 9) label = mutedFinger;
  if (value != 9 && current == 9 && label == 5) label = kBlankFinger;
  current = value;
}

// A click on a string under an existing barre, before the ordinary rules:
// the middle strings keep the barre's row, the last string can leave the
// barre, a click on the first string takes the barre off or moves its start.
KChordGrid::BarreClick KChordGrid::ClickInBarre(int column, int clickRow, bool onFretRow, bool shift) {
  const int start = BarreStart(column);
  const auto first = static_cast<std::size_t>(start);
  const int span = m_barreSpan[first];
  if (span < 2 || span == kCovered) return BarreClick::kGoOn;
  const int last = start + span - 1;
  const int row = m_barreRow[first];
  if (column != start && column != last) {
    if ((onFretRow && clickRow > row) || clickRow == 9 || clickRow == 100) return BarreClick::kGoOn;
    return BarreClick::kRefused;
  }
  if (column == last) {
    if (onFretRow && clickRow >= row) {
      if (barsStyle != 0 && RowOf(m_value[static_cast<std::size_t>(last)]) == row)
        return BarreClick::kConsumed;
      return BarreClick::kGoOn;
    }
    if (clickRow == 100) return BarreClick::kGoOn;
    // Above the barre, or marked not played: the barre lets go of this string.
    if (span == 2) {
      RemoveBarreThrough(start);
    } else {
      m_barreSpan[first] = span - 1;
      m_barreSpan[static_cast<std::size_t>(last)] = 0;
      m_barreRow[static_cast<std::size_t>(last)] = 0;
    }
    return BarreClick::kGoOn;
  }
  // The first string.
  const bool moves = onFretRow && !shift && span > 2 && m_value[first + 1] == m_value[first];
  RemoveBarreThrough(start);
  if (moves) {
    m_barreSpan[first + 1] = span - 1;
    m_barreRow[first + 1] = row;
    for (int k = start + 2; k <= last; ++k) {
      m_barreSpan[static_cast<std::size_t>(k)] = kCovered;
      m_barreRow[static_cast<std::size_t>(k)] = row;
    }
  }
  return BarreClick::kGoOn;
}

bool KChordGrid::BarreGesture(int column) {
  if (column == m_pending) {
    m_pending = kNoPending;
    return true;
  }
  if (m_barreSpan[static_cast<std::size_t>(column)] != 0) RemoveBarreThrough(column);
  if (m_pending == kNoPending) {
    if (RowOf(m_value[static_cast<std::size_t>(column)]) == 0) return Refuse();
    m_pending = column;
    return true;
  }
  const int from = m_pending;
  m_pending = kNoPending;
  const int value = m_value[static_cast<std::size_t>(from)];
  const int row = RowOf(value);
  if (row == 0) return Refuse();
  const int start = std::min(from, column);
  const int span = std::abs(column - from) + 1;
  for (int k = 0; k < span; ++k) {
    if (m_barreSpan[static_cast<std::size_t>(start + k)] != 0) RemoveBarreThrough(start + k);
  }
  for (int k = 0; k < span; ++k) {
    const auto slot = static_cast<std::size_t>(start + k);
    SetValue(start + k, value);
    m_barreSpan[slot] = k == 0 ? span : kCovered;
    m_barreRow[slot] = row;
  }
  return true;
}

bool KChordGrid::MarkerClick(int column, int button, bool shift, bool ctrl) {
  if (m_multipleDots) {
    auto& dot = m_dots[static_cast<std::size_t>(m_strings - column - 1)][0];
    dot = ctrl ? 0 : button;
    return true;
  }
  if (shift) return Refuse();
  const int wanted = button == 1 ? 9 : 0;
  if (m_value[static_cast<std::size_t>(column)] != wanted) SetValue(column, wanted);
  return true;
}

void KChordGrid::FretRowClick(int column, int row, int button, bool ctrl) {
  if (m_multipleDots) {
    auto& dot = m_dots[static_cast<std::size_t>(m_strings - column - 1)][static_cast<std::size_t>(row)];
    dot = ctrl ? 0 : button;
    return;
  }
  const int v = button == 1 ? row : 10 + row;
  const int value = m_value[static_cast<std::size_t>(column)];
  // The same dot clicked again: the string rings open.
  SetValue(column, value == v ? 0 : v);
}

bool KChordGrid::Click(int x, int y, int button, bool shift, bool ctrl) {
  if (x < GridLeft() - 3) return Refuse();
  const int column = (x - GridLeft() + 3) / kColumn;
  if (column < 0 || column >= m_strings) return Refuse();
  if (y > m_rows * RowHeight() + 43) return Refuse();
  const auto slot = static_cast<std::size_t>(column);
  const bool barreGesture = y < 18 || shift;
  // Nothing rings on a muted string to start a barre from (a Shift+click on
  // a fret row puts its dot there first; a barre may end on a muted string).
  if (y < 18 && m_value[slot] == 9 && m_pending == kNoPending) return Refuse();
  // A barre is not started on the last string of a short neck.
  if (barreGesture && m_pending == kNoPending && m_strings < 6 && column > m_strings - 2) return Refuse();

  const bool onFretRow = y >= kFirstRowY;
  const int row = onFretRow ? (y - 43) / RowHeight() + 1 : 0;
  if (m_pending == kNoPending && m_barreSpan[slot] != 0) {
    const bool marker = y >= 18 && y <= 36;
    const int clickRow = onFretRow ? row : marker ? (button == 1 ? 9 : 0) : 100;
    switch (ClickInBarre(column, clickRow, onFretRow, shift)) {
      case BarreClick::kRefused:
        return Refuse();
      case BarreClick::kConsumed:
        return true;
      case BarreClick::kGoOn:
        break;
    }
  }
  if (y >= kMarkerTop && y <= kMarkerBottom) {
    if (!MarkerClick(column, button, shift, ctrl)) return false;
  } else if (onFretRow) {
    if (m_pending != kNoPending) return BarreGesture(column);
    FretRowClick(column, row, button, ctrl);
  } else if (y >= 18) {
    return Refuse();  // the nut and the line above the markers
  }
  if (barreGesture) return BarreGesture(column);
  return true;
}

void KChordGrid::SetMultipleDots(bool on) {
  m_multipleDots = on;
  if (!on)
    for (auto& string : m_dots) string.fill(0);
}

int KChordGrid::Dot(int stringNumber, int row) const {
  if (stringNumber < 1 || stringNumber > kSlots || row < 0 || row >= kSlots) return 0;
  return m_dots[static_cast<std::size_t>(stringNumber - 1)][static_cast<std::size_t>(row)];
}

void KChordGrid::LoadDots(const CString& characters) {
  for (auto& string : m_dots) string.fill(0);
  for (int i = 0; i < characters.GetLength(); ++i) {
    const unsigned bits = static_cast<unsigned char>(characters[i]);
    const unsigned string = (bits >> 4) & 7u;
    if (string == 0 || static_cast<int>(string) > m_strings) continue;
    m_dots[string - 1][(bits >> 1) & 7u] = static_cast<int>(bits & 1u) + 1;
  }
}

CString KChordGrid::DotText() const {
  CString text;
  for (int string = 1; string <= m_strings; ++string) {
    for (int row = 0; row < kSlots; ++row) {
      const int kind = Dot(string, row);
      if (kind == 0 || text.GetLength() >= kMaxDots) continue;
      text += static_cast<char>(16 * string + 2 * row + kind - 1);
    }
  }
  // The dot of string 2 on the marker row is a blank: written first, so
  // that the blanks trimmed from the end of a stored text never take it.
  const int blank = text.Find(' ');
  if (blank > 0) text = " " + text.Left(blank) + text.Mid(blank + 1);
  return text;
}

int KChordGrid::HighestDotRow() const {
  int highest = 0;
  for (int string = 1; string <= kSlots; ++string)
    for (int row = 1; row < kSlots; ++row)
      if (Dot(string, row) != 0) highest = std::max(highest, row);
  return highest;
}

void KChordGrid::StepFinger(int slot, int delta) {
  if (slot < 0 || slot >= kSlots) return;
  auto& label = finger[static_cast<std::size_t>(slot)];
  label = ((label + delta) % (kBlankFinger + 1) + kBlankFinger + 1) % (kBlankFinger + 1);
}

CString KChordGrid::FingerLabel(int index) {
  static constexpr const char* kLabels[] = {"0", "1",  "2",  "3",  "4",  "x",   "T",  "i",   "m",  "r",
                                            "s", "R",  "b3", "b5", "5",  "#5",  "6",  "bb7", "b7", "7",
                                            "8", "b9", "9",  "#9", "11", "#11", "13", " "};
  return index >= 0 && index <= kBlankFinger ? CString(kLabels[index]) : CString(" ");
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
  const CString dots = m_multipleDots ? DotText() : CString();
  if (!dots.IsEmpty()) {
    while (shape.GetLength() < 40) shape += ' ';
    shape += dots;
  }
  return shape;
}
