#pragma once
// The column conversion between a staff line and a tablature line: the staff
// chooses the string and fret of a staff note, and a tablature cell is mapped
// to the treble staff row that sounds its pitch, spelled for the key in force
// and with the accidental the staff needs there.

#include "model/KColumnConversion.h"

class KStaffLine;
class KTabLine;

class LineColumnConversion : public KColumnConversion {
 public:
  // Neither line is owned; both must outlive the conversion.
  LineColumnConversion(const KStaffLine& staff, const KTabLine& tab) : m_staff(staff), m_tab(tab) {}

  CString GetTabTuning() const override;
  // The staff's string choice on the tablature line; refuses without a beep
  // (the column conversion reports a refused note once).
  int ChooseTabString(int& code, int column, int staffRow, int positionCode, int wantedString,
                      const KChord& target, int& fretCode) override;
  int TabCellToStaffRow(int& accidental, int code, int column, int stringRow, const KChord& cell,
                        int key) override;
  int GetKeySignatureAt(int column) const override;

  // The treble staff row of a tablature cell of `tab` written on `staff` at the
  // column: 1000 for the row 1000; for a fret (or a symbol on a fretted string,
  // which takes that string's fret) the row of its pitch spelled for the key,
  // with the sign the staff needs there through accidental (0 none, 1 sharp,
  // 2 flat, 3 natural); rests on the middle strings and the delete code on a
  // rest give 18; rows above and below the strings map onto the rows above and
  // below the staff; -1 for internal codes, signatures and pitches above the
  // staff's range.
  static int StaffRowOfTabCell(const KStaffLine& staff, const KTabLine& tab, int& accidental, int code,
                               int column, int stringRow, const KChord& cell, int key);

 private:
  const KStaffLine& m_staff;
  const KTabLine& m_tab;
};
