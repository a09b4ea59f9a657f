#pragma once
// Auto-insert of an extended object over selected notes of one staff or
// tablature line: the scan of the selected columns and the object that the
// command makes from it (ViewExtObjAuto.cpp). Pure geometry, no view state.

#include <memory>
#include <vector>

#include "platform/CString.h"

class KExtendedObj;
class KListLine;

namespace extobj {

// One note column of the selection.
struct NoteColumn {
  int pos = 0;
  int level = 0;                // height of its extreme note on the object's side, in level units
  int extremeRow = 0;           // the row of that note
  bool upperVoiceOnly = false;  // only notes of the odd-code voice
};

struct AutoScan {
  bool tab = false;        // a tablature line (rows are strings)
  int stringSpacing = 12;  // tablature string spacing at the normal size
  int firstColumn = 0;     // the selected columns: first, and the column after the last
  int lastColumn = 0;
  int objects = 0;          // columns counted in [firstColumn, lastColumn)
  bool firstIsBar = false;  // bar lines at the first and last selected columns
  bool lastIsBar = false;
  bool beforeUpperOnly = false;  // the column before the selection holds odd-voice notes only
  std::vector<NoteColumn> notes;
};

// The object's side: true for the objects above the notes (down curves,
// tuplets, brackets that are not "up" kinds), false below.
bool AboveNotes(unsigned command, int bracketKind);

// Scans the selected columns of the line for the command's side.
AutoScan ScanColumns(const KListLine& line, int firstColumn, int lastColumn, bool above, int stringSpacing);

// The object the command makes from the scan; null when the scan does not
// allow one (fewer than two columns, or fewer than two notes for a tie).
std::unique_ptr<KExtendedObj> MakeAutoObject(unsigned command, int bracketKind, const CString& bracketText,
                                             const CString& bracketFont, const AutoScan& scan);

}  // namespace extobj
