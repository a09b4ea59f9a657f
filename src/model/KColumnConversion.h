#pragma once
// What converting a note column between staff and tablature needs from the
// two lines: the staff line chooses a string and fret for a note, the
// tablature line maps a cell back to a staff row. The line classes provide it.

#include "platform/CString.h"

class KChord;

class KColumnConversion {
 public:
  virtual ~KColumnConversion() = default;

  // The tuning of the tablature line; empty when there is none (the current
  // tuning applies then).
  virtual CString GetTabTuning() const = 0;

  // Staff to tablature: the string row (0..9) for a note at a staff row, and
  // its fret code (226 + fret) through fretCode; -1 when no string can take
  // it. code may come back replaced. wantedString is the string the note
  // asks for (1..6), 0 for any. target is the tablature column built so far,
  // whose strings are taken.
  virtual int ChooseTabString(int& code, int column, int staffRow, int positionCode, int wantedString,
                              const KChord& target, int& fretCode) = 0;

  // Tablature to staff: the treble staff row of a tablature cell, and the
  // accidental it needs through accidental (0 none, 1 sharp, 2 flat, 3
  // natural); -1 when it has none.
  virtual int TabCellToStaffRow(int& accidental, int code, int column, int stringRow, const KChord& cell,
                                int key) = 0;

  // The key signature in force at a column of the tablature line.
  virtual int GetKeySignatureAt(int column) const = 0;
};
