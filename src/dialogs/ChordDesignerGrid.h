#pragma once
// The chord designer's fretboard grid: what each string plays (open, not
// played, a dot of one of two kinds on a fret row), barres over several
// strings, the base fret ("fret position"), the fret rows shown and the
// display options; the mouse rules that change it; and the chord shape
// string it is written to and read from (positions in ChordShape.h).
//
// Strings are slots 0..n-1 from the lowest (leftmost) string. A value is 0
// open, 9 not played, 1..8 a dot on that row, 11..18 a dot of the second
// kind on row value - 10. A barre starts on a string with the count of
// strings it covers (2..8); the strings it covers carry kCovered.
//
// With several dots allowed per string, clicks set and clear dots of a
// separate matrix (string number 1 the rightmost, row 0 the marker strip)
// that the shape carries after position 40, one character per dot.

#include <array>

#include "platform/CString.h"

class KChordGrid {
 public:
  static constexpr int kSlots = 8;
  static constexpr int kCovered = 900;
  static constexpr int kNoPending = 900;
  // Picture geometry (pixels in the grid picture).
  static constexpr int kWidth = 307;
  static constexpr int kHeight = 200;
  static constexpr int kColumn = 36;
  static constexpr int kMarkerTop = 19;
  static constexpr int kMarkerBottom = 35;
  static constexpr int kFirstRowY = 44;

  KChordGrid();

  // The shape's base fret and string characters (the 7-, 8- or 9-character
  // prefix of a 6-, 7- or 8-string shape, strings lowest first) and its +4
  // row mask already moved to the strings.
  void Load(const CString& prefix, int highRowMask);
  // Everything not played, no barre, fret position 0.
  void Clear();
  void SetStringCount(int n);
  // Fewer rows mute the strings with dots beyond the last row.
  void SetFretRows(int rows);
  // False (with a beep) when a dot would pass fret 24.
  bool SetFretPosition(int position);
  // One step of the fret position's arrows (+1 up, -1 down), round the neck:
  // up from 24 is 0 and down from 0 is 24. False (with a beep) when a dot
  // would pass fret 24 there; the position then stays.
  bool StepFretPosition(int delta);

  // A click in the grid picture: button 1 left, 2 right; Shift starts,
  // ends or cancels a barre (as does a click above the markers); Ctrl
  // clears a dot when several dots are allowed. False (with a beep) when
  // refused.
  bool Click(int x, int y, int button, bool shift, bool ctrl = false);

  // Several dots per string: switching it off clears every dot of the matrix.
  void SetMultipleDots(bool on);
  bool MultipleDots() const { return m_multipleDots; }
  // Kind of the dot at (string number 1..8 from the right, row 0..7): 0 none,
  // 1 normal, 2 second kind.
  int Dot(int stringNumber, int row) const;
  // The dot characters of a shape (from position 40 on), at most 30.
  void LoadDots(const CString& characters);
  CString DotText() const;
  // The highest row any dot uses (0 for none).
  int HighestDotRow() const;

  // Steps a string's fingering label (wraps between the blank label and "0").
  void StepFinger(int slot, int delta);
  static CString FingerLabel(int index);

  // The chord shape: 26 characters (32 with fingering labels), 36 for seven
  // strings, 40 for eight.
  CString BuildShape() const;

  int StringCount() const { return m_strings; }
  int FretRows() const { return m_rows; }
  int FretPosition() const { return m_fretPosition; }
  int Value(int slot) const { return m_value[static_cast<std::size_t>(slot)]; }
  int BarreSpan(int slot) const { return m_barreSpan[static_cast<std::size_t>(slot)]; }
  int BarreRow(int slot) const { return m_barreRow[static_cast<std::size_t>(slot)]; }
  int PendingBarre() const { return m_pending; }
  int RowHeight() const { return m_rows == 4 ? 36 : 22; }
  int GridLeft() const { return (kWidth - kColumn * m_strings) / 2; }
  bool IsBlank() const;

  // Options written into the shape.
  int barsStyle = 0;     // barres drawn as bars (1) or arcs (0)
  int positionLeft = 0;  // the fret position stands left of the grid
  int hideName = 0;
  int showHint = 1;
  int noVariationNumber = 1;
  int bass = 0;
  int shortFifthFret = 0;  // a five-string banjo's short string starts here (0 none)
  CString variationHint;
  // Fingering label index per slot (27 = none), see the shape's label characters.
  std::array<int, kSlots> finger{};
  // The label a string marked not played gets (27 blank or 5 "x"); learned
  // from the chords loaded, kept for the run.
  static int mutedFinger;

 private:
  enum class BarreClick { kRefused, kConsumed, kGoOn };
  void RemoveBarreThrough(int slot);
  int BarreStart(int slot) const;
  BarreClick ClickInBarre(int column, int clickRow, bool onFretRow, bool shift);
  bool BarreGesture(int column);
  bool MarkerClick(int column, int button, bool shift, bool ctrl);
  void FretRowClick(int column, int row, int button, bool ctrl);
  void SetValue(int slot, int value);
  int HighestRow() const;

  int m_strings = 6;
  int m_rows = 4;
  int m_fretPosition = 0;
  std::array<int, kSlots> m_value{};
  std::array<int, kSlots> m_barreSpan{};
  std::array<int, kSlots> m_barreRow{};
  int m_pending = kNoPending;
  bool m_multipleDots = false;
  std::array<std::array<int, kSlots>, kSlots> m_dots{};
};
