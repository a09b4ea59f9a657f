#pragma once
// The music commands of the view that reflow, respace and transpose whole
// lines: Wrap Music and its automatic check, even spacing, the staff length,
// transposition. Each is a Qt-free call on the view, as the menu commands and
// the tests make it.

#include <span>
#include <vector>

#include "view/commands/CommandHandlers.h"

class CStavlinView;
class KLineObj;
class KListLine;

// ---- Wrap Music (ViewWrapMusic.cpp) ------------------------------------------------
// Actions/Wrap Music In Selected Lines: whole bars move between successive
// lines of the same part (ungrouped lines of one type and label, or the same
// slots of matching line groups) so that every staff and tablature line fits
// its staff length; new lines or groups are made below a part's last line,
// and ungrouped notation lines and groups left empty are removed. One undo
// step. Internal failures stop the run with a message that points to Undo;
// no bar is ever dropped. With pullUp false, bars only move down: a line
// that fits keeps its own bars (the systems an ABC tune's lines give).
void WrapMusic(CStavlinView& view, bool pullUp = true);
// The wrap an import runs over each tune it brings in, display lines
// first..last, bars only moving down: no undo step, the caret and the display
// table left as they are (the table is stale below `first` afterwards), the
// time signatures not carried on. The importer lays the score out once at
// its end. The messages of a failure or of a bar too long are shown.
void WrapMusicOfImport(CStavlinView& view, int first, int last);
// The error numbers the run stops with (shown in the message).
inline constexpr int kWrapErrorGroupMissing = 17;
inline constexpr int kWrapErrorNothingMoves = 2;
inline constexpr int kWrapErrorNoLines = 6;
// Messages of the run.
inline constexpr UINT kWrapErrorMessage = 8171;
inline constexpr UINT kWrapReportMessage = 8172;
inline constexpr UINT kWrapMeasureTooLongMessage = 8173;
inline constexpr UINT kWrapHiddenLinesMessage = 8174;
inline constexpr UINT kWrapReselectMessage = 8175;
inline constexpr UINT kWrapAskBelowMessage = 8176;
inline constexpr UINT kGroupsNeedAllLinesMessage = 8170;

// The automatic check after an edit: when Auto-Wrap is on and a notation line
// of first..last (only first when last < 0) has passed its staff length,
// wraps from that line to the end of the current piece. 1 when it wrapped.
int AutoWrapCheck(CStavlinView& view, int firstLine, int lastLine);
// Set while the automatic check runs Wrap Music: bars are only pushed down.
extern int g_automaticWrap;

// ---- Even spacing (ViewEvenSpacing.cpp) ---------------------------------------------
// Spreads the free columns of each staff and tablature line of the current
// line or the selection (whole groups) by the priority of their note lengths;
// passes >= 1 applies that many priority steps without a limit of free
// columns (the continuous command). One undo step.
void EvenlySpaceNotation(CStavlinView& view, int passes = -1);
// Actions/Evenly Space Notation/Continuously: the whole score by the
// preference's number of steps, then Wrap Music over the whole score.
void EvenlySpaceContinuously(CStavlinView& view);
// Spreads blank columns between the columns of one line, or of the lines of
// one group alike, by the priority of their note lengths (as the command
// does) until the widest of them is `columns` long; a unit as long already
// is left as it is.
void SpaceLinesToLength(const std::vector<KListLine*>& lines, int columns);
// An imported score's systems filled as engraved music is: in every part
// (ungrouped staves of one type and label, or runs of matching line groups)
// among display lines first..last, each system but the last ends with a bar
// line (the bar that opens the next system moves up to close it) and has its
// notes spread so that this bar stands at the end of its staff length, as
// far as the columns reach; the last system keeps its natural spacing.
void FillSystemsToStaffLength(CStavlinView& view, int first, int last);
// The same over the given lines (in score order), without laying the score
// out afterwards: what an import does tune by tune before its one layout.
void FillSystemsOfLines(CStavlinView& view, const std::vector<KLineObj*>& lines);
// The spacing class of a column of the ticks (and whether it is a bar).
int SpacingClass(int ticks, bool bar);

// ---- Transposition (ViewTranspose.cpp) ----------------------------------------------
// The parameters a caller may give instead of the dialog (tests and the
// benchmark); -1 in assumedKey keeps the key the command finds.
struct KTransposeRequest {
  int targetKey = 5;  // key list index
  int assumedKey = -1;
  int direction = 2;
  int scope = 2;      // 0 current line, 1 selection, 2 all
  int placement = 0;  // 0 replace, 1 above, 2 below
};
void RunTranspose(CStavlinView& view, const KTransposeRequest* scripted);
int TransposeKeyIndexOfCode(int keyCode);
int TransposeKeyCodeOfIndex(int index);

// ---- Staff length (ViewStaffLength.cpp) ----------------------------------------------
void OnActionsSetStaffLength(CStavlinView& view);
