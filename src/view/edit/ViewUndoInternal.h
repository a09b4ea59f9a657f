#pragma once
// The pieces the undo recorder and the Undo and Redo commands share: the
// view state a record keeps, the whole-line selection a snapshot or a
// restore works on, and the restore of a saved range.

#include <memory>
#include <optional>
#include <vector>

#include "view/core/ViewLayoutCache.h"
#include "view/edit/ViewUndoRing.h"

class CStavlinView;
class KClipStream;

namespace viewundo {

// Column and pixel edges that select whole display lines.
inline constexpr int kWholeLine = 32000;

// Copies the view's display state into the record's form, and back. Restore
// also hands the settings copy and the font table to the document and
// relays the score out.
void CaptureViewState(const CStavlinView& view, KUndoViewState& state);
void RestoreViewState(CStavlinView& view, const KUndoViewState& state);
// The part of the state that restored lines are built against: the text
// fonts (a restored text line finds its font among them) and the symbol
// size.
void RestoreLayoutBasis(CStavlinView& view, const KUndoViewState& state);

// The view's selection, saved around a snapshot.
struct SavedSelection {
  int firstColumn = 0;
  int lastColumn = 0;
  int firstLine = -1;
  int lastLine = -1;
  int anchorColumn = 0;
  int pixelLeft = 0;
  int pixelRight = 0;
  int hidden = 1;
  RECT rect{};
};
SavedSelection SaveSelection(const CStavlinView& view);
void RestoreSelection(CStavlinView& view, const SavedSelection& saved);
// Selects display lines first..last whole (columns and pixels 0..32000).
void SelectWholeLines(CStavlinView& view, int first, int last);

// The word stream of display lines first..last (last -1: to the end), or
// nothing when it cannot be made; the selection is left as it was.
std::unique_ptr<KClipStream> SnapshotLines(CStavlinView& view, int first, int last);

// Replaces display lines first..last (-1: to the end) with the snapshot's
// lines, built against the basis state's fonts and symbol size. Nothing
// changes when there is no snapshot. A placeholder line that the deletion
// adds when it empties the score goes again once the snapshot is in.
void ReplaceLines(CStavlinView& view, int first, int last, const KClipStream* snapshot,
                  const KUndoViewState& basis);

// Whether the record's state is the view's but for the caret, the scroll
// and the widest width: lines restored in place then need no new layout
// basis.
bool SameLayoutBasis(const CStavlinView& view, const KUndoViewState& state);
// Brings back the caret, the first visible line and the widest width only.
void RestoreCaretState(CStavlinView& view, const KUndoViewState& state);
// Puts the snapshot's lines in place of display lines first..last, line for
// line at the same positions and group slots, when every line fits its
// record (same kind, same group and bracket) and every group met lies whole
// in the range; current is the snapshot of the lines there now. Returns the
// lines that changed with their first changed column, or nothing (with the
// score unchanged) when the range must be restored the general way.
std::optional<std::vector<KLineDamage>> SwapLinesInPlace(CStavlinView& view, int first, int last,
                                                         const KClipStream& snapshot,
                                                         const KClipStream& current);

// Mirrors the ring's cursor and redo state into the view members that the
// command enabling rules read.
void PublishRingState(CStavlinView& view);

}  // namespace viewundo
