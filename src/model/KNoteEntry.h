#pragma once
// KNoteEntry: one call of the note-entry editor of staff and tablature lines
// (KListLine::EditNoteAt). It takes a code at the caret cell (column and staff
// step or string row) and decides whether it joins the note column standing
// there or goes into a new column, deletes at the caret, inserts blank
// columns, or changes the note value of the caret column; then it repairs the
// beam groups of both voices around the column.
//
// The working values (the caret column, its neighbours in the list and the
// beam neighbours of each voice) are taken once, before anything changes, and
// the beam repair decides from them. The call answers (caret step, first
// column to redraw). The redraw column is -1 only for a call refused outright
// (a line that is not a note line, a code that no column can hold, a negative
// column or row), which changes nothing.
//
// The jobs are split over KNoteEntry.cpp (opening steps, entry, new column,
// delete, blank columns) and KNoteEntryBeams.cpp (the beam repair).

#include "model/KLineObj.h"
#include "platform/Position.h"

class CObList;
class KChord;
class KListLine;

class KNoteEntry {
 public:
  // Internal key codes of the edit slots.
  static constexpr int kBlankCode = 32761;
  static constexpr int kDeleteCode = 32762;
  static constexpr int kBlankRunCode = 32763;
  // With the delete code: the whole column.
  static constexpr int kWholeColumnRow = 1000;
  // Rows from this one up make the call a note-value change.
  static constexpr int kValueChangeRow = 10000;

  struct Args {
    int code = 0;
    int subCode = 0;
    int sizeIndex = 0;
    int column = 0;
    int row = 0;
    int beamFlag = 0;
    int replace = 0;
    int removeMode = 0;
  };

  KNoteEntry(KListLine& line, const Args& args);
  KNoteEntry(const KNoteEntry&) = delete;
  KNoteEntry& operator=(const KNoteEntry&) = delete;

  KLinePair Run();

 private:
  struct Voice {
    POSITION neighbourBefore = nullptr;  // nearest column with flags before the caret column
    POSITION neighbourAfter = nullptr;   // and after it (FindNeighbours)
    bool inGroup = false;                // a beam group runs through the caret column
    bool join = false;                   // the entry continues the group before it
    bool broken = false;                 // a delete took the column out of its group
    int stem = 0;                        // the caret column's stored stem value
    int duration = 0;                    // the caret column's voice duration (224: none)
    POSITION first = nullptr;            // the range the repair beams at its end
    POSITION last = nullptr;
  };

  bool Refuses() const;
  void TakeWorkingValues();
  KLinePair Entry();
  KLinePair NewColumn(int code);
  // The caret column, made over into a new column of the code.
  KLinePair ReplaceCaretColumn(int code);
  KLinePair Delete();
  KLinePair Blank(int length);
  void RemoveCaretColumn();

  // ---- Beam repair (KNoteEntryBeams.cpp) ----
  KLinePair RepairBeams();
  void ChooseRange(int voice, int tested);
  void ChooseForBrokenGroup(int voice);
  void ChooseForValueChange(int voice, int tested);
  void Join(int voice);
  void Rebeam(int voice, POSITION before, POSITION after);
  void Split(int voice, POSITION before, POSITION after);
  void ResetCaretStem(int voice);
  void SetRange(int voice, POSITION first, POSITION last);
  POSITION Edge(POSITION node, int voice, int direction) const;

  KListLine& m_line;
  CObList& m_list;
  Args m_a;
  bool m_tab = false;
  bool m_valueChange = false;
  int m_step = 1;
  int m_redraw = 0;
  int m_noteValue = 0;
  // The code as it goes into the column: a quarter or half typed on a staff
  // beside shorter notes of its voice takes its head form 108..111.
  int m_entryCode = 0;
  // 108..111 when a tablature entry or value change ends in a stemless
  // quarter or half; -1 otherwise.
  int m_effective = -1;
  bool m_joined = false;
  bool m_deleted = false;
  POSITION m_node = nullptr;
  KChord* m_chord = nullptr;
  POSITION m_before = nullptr;
  POSITION m_after = nullptr;
  Voice m_voices[2];
};
