#pragma once
// Score objects built from the records of a word stream (ViewPasteBuild.cpp)
// and the three ways a stream is pasted (ViewPasteLines.cpp,
// ViewPasteMerge.cpp, ViewPasteText.cpp).

#include <memory>

#include "view/edit/ClipStream.h"

class CStavlinView;
class KChord;
class KExtendedObj;
class KLineObj;
class KRhythmObj;

namespace viewclip {

// A note column at the column; the caller owns it.
KChord* BuildColumn(const ClipColumn& record, int column);
// Whether the column is a time-signature column.
bool HoldsTimeSignature(const ClipColumn& record);
// An attachment at the column; the caller owns it.
KExtendedObj* BuildAttachment(const ClipAttachment& record, int column);
// A rhythm symbol at the pixel position; the caller owns it.
KRhythmObj* BuildSymbol(const ClipRhythmSymbol& record, int position);
// A new line of the record's family with its settings and objects (columns
// counted from the record's base column). A text line takes a font slot of
// the view (counted). Null for an unknown family.
std::unique_ptr<KLineObj> BuildLine(CStavlinView& view, const ClipLine& record);
// Puts the record's objects into a line built for it.
void FillLine(CStavlinView& view, KLineObj& line, const ClipLine& record);

// Inserts the stream's lines as new lines below the caret line (above it for
// placement 1), rebuilding their line groups or joining the caret line's
// group. False when the user or the group refused (nothing inserted).
bool PasteNewLines(CStavlinView& view, const KClipData& data, int placement, bool fromSnapshot);
// After new lines: lays out, places the caret lines further down and
// refreshes.
void FinishPaste(CStavlinView& view, int caretLine, int linesPasted, bool moveCaret);

// Merges the stream's columns into existing lines at the caret column
// (one line, or one line per stream line when several).
void PasteMerged(CStavlinView& view, const KClipData& data, int mode, int placement, bool severalLines);

// Plain text from the clipboard into the caret's text line or new text
// lines.
void PastePlainText(CStavlinView& view, int mode);

}  // namespace viewclip
