#pragma once
// The pieces of the clipboard engine shared by its files: the copy side
// (ViewCopy.cpp, ViewCopyLines.cpp) and the paste side
// (ViewPaste*.cpp).

#include <optional>
#include <string_view>
#include <vector>

#include "platform/CString.h"
#include "view/edit/ClipStream.h"

class CDC;
class CStavlinView;
class KExtendedObj;
class KLineObj;

namespace viewclip {

// Copy modes of SerializeSelection.
constexpr int kCopy = 0;
constexpr int kCut = 1;
constexpr int kRemove = 2;
constexpr int kSnapshot = 3;
constexpr int kWrapCut = 4;
// Paste modes.
constexpr int kPasteInsert = 20;
constexpr int kPasteOver = 21;
// A selection's right edge at or past this reaches the end of the lines.
constexpr int kWholeLine = 32000;

// Messages.
constexpr UINT kMsgSelectionTooLarge = 7057;
constexpr UINT kMsgClipboardProblem = 7032;
constexpr UINT kMsgNoPasteableData = 7039;
constexpr UINT kMsgTooManyGroupLines = 8221;
constexpr UINT kMsgJoinGroup = 8222;
constexpr UINT kMsgTypesDiffer = 8230;

// The line record of one selected display line. index and count place the
// line among the copied ones (for the pairing flags). Damaged attachments
// (a kind outside 0..24 or a column outside 0..10000) are taken out of the
// line and deleted on the way. Nothing for a display line without a line.
std::optional<ClipLine> CollectLine(CStavlinView& view, int displayLine, int mode, int index, int count);

// An attachment as the stream carries it.
ClipAttachment AttachmentRecord(const KExtendedObj& attachment);

// The selected part of a display line as plain text (no line end).
CString LineAsText(CStavlinView& view, int displayLine);

// Plain text from the clipboard (CR LF, LF or CR line ends) as lines of
// Windows-1252 text: the text split at every line end; a text ending with a
// line end gives a last, empty line.
std::vector<CString> SplitPlainText(std::string_view bytes);

// Pastes lines of text as the clipboard's plain text is pasted (mode
// kPasteInsert or kPasteOver), without the clipboard: the first into the
// caret's text line at the caret, each further one as a new text line.
void PastePlainTextLines(CStavlinView& view, const std::vector<CString>& lines, int mode);

// Shows the clipboard problem message with its location code.
void ReportClipboardProblem(const char* code);

}  // namespace viewclip
