#pragma once
// The reading of a shape text that the chord-diagram pictures and measures
// share (the positions are listed in ChordDiagram.h). Every value here is
// within its range whatever the text holds.

#include <array>
#include <string>

#include "platform/CString.h"

inline constexpr int kDiagramMaxStrings = 8;
inline constexpr int kDiagramMaxRows = 8;
inline constexpr int kDiagramFingerLabels = 6;

struct DiagramShape {
  int strings = 6;           // 2..8
  int rows = 4;              // 4..7, from the shape readers
  int rowDigit = 4;          // the row digit at position 24, 4..7
  int highestFingerRow = 0;  // 0..7
  int firstFret = 0;         // 0..24
  int shortFifthFret = 0;    // five-string shapes: where the short fifth string starts
  int leftMargin = 0;        // 7 when the base fret stands in a left margin
  bool barreOnFret = false;  // display flag A
  bool hasFingerFields = false;
  bool showsFingerRow = false;
  // Dot kinds (0 none, 1 first, 2 second) by string 1..8 and fret row 0..7.
  std::array<std::array<int, kDiagramMaxRows>, kDiagramMaxStrings> fingerDots{};
  // Glyph index of each finger label, -1 for none.
  std::array<int, kDiagramFingerLabels> fingerLabels{};
  std::string chars;  // the first fret, then one character per string, lowest first
  unsigned marks = 0;
  int firstField = 0;
  int lastField = 5;

  bool ShortFifth() const {
    return strings == 5 && shortFifthFret > 1 && (firstFret == 0 || firstFret <= shortFifthFret);
  }
  // The value of string i's character (tens: barre span, units: dot), -1 when unreadable.
  int StringValue(int i) const {
    const std::size_t place = static_cast<std::size_t>(i) + 1;
    if (place >= chars.size()) return -1;
    const int v = static_cast<unsigned char>(chars[place]) - '0';
    return v >= 0 && v <= 89 ? v : -1;
  }
  bool PlusFour(int i) const { return i - firstField < 32 && ((marks >> (i - firstField)) & 1u) != 0; }
  // Left edge of the pieces of string i.
  int StringX(int i) const { return leftMargin + 6 * (i - firstField); }
};

DiagramShape ReadDiagramShape(const CString& shape);
// g_fingerRowOption is on, the text has at least 32 characters and "1" at 16.
bool ShowsFingerRow(const CString& shape);
