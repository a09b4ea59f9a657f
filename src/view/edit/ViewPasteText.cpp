// Pasting plain text: into the caret's text line at the caret column, each
// further line of the text becoming a new text line below it (the part of
// the caret line after the caret follows the last pasted line); from a line
// of any other kind every line of the text becomes a new text line.

#include <algorithm>
#include <vector>

#include "lines/KStrLine.h"
#include "platform/Clipboard.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewClip.h"
#include "view/edit/ViewPasteBuild.h"

namespace viewclip {

std::vector<CString> SplitPlainText(std::string_view bytes) {
  std::vector<CString> lines;
  const size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  std::string current;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(std::string_view(current));
      current.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      current.push_back(c);
    }
  }
  lines.emplace_back(std::string_view(current));
  return lines;
}

void PastePlainText(CStavlinView& view, int mode) {
  g_pasteInProgress = 0;
  if (!IsClipboardFormatAvailable(CF_TEXT)) {
    AfxMessageBox(kMsgNoPasteableData, MB_OK);
    return;
  }
  if (!OpenClipboard()) {
    ReportClipboardProblem("QV3-19");
    return;
  }
  const std::optional<std::vector<BYTE>> bytes = GetClipboardData(CF_TEXT);
  CloseClipboard();
  if (!bytes) {
    ReportClipboardProblem("QV3-20");
    return;
  }
  PastePlainTextLines(
      view, SplitPlainText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())),
      mode);
}

void PastePlainTextLines(CStavlinView& view, const std::vector<CString>& lines, int mode) {
  g_pasteInProgress = 0;
  if (lines.empty() || view.m_document == nullptr || view.GetDisplayLineCount() <= 0) return;
  CStavlinDoc& doc = *view.m_document;
  const int caretLine = view.GetCurrentLine();
  POSITION previous = view.GetDisplayEntry(caretLine).line;
  auto* caretText = dynamic_cast<KStrLine*>(view.GetDisplayLineObj(caretLine));
  size_t first = 0;
  CString tail;
  if (caretText != nullptr) {
    const int column = view.GetCaretColumn();
    if (lines.size() == 1) {
      caretText->InsertText(column, lines[0], mode == kPasteOver ? 1 : 0);
      view.m_caretColumn = column + lines[0].GetLength();
      view.UpdateAfterEdit((caretLine + 10000) * 10000, 1);
      return;
    }
    // The caret line keeps what stands before the caret and takes the first
    // line of the text; what stood after the caret follows the last line.
    const std::string text = caretText->GetText().Str();
    const size_t cut = std::min(static_cast<size_t>(std::max(column, 0)), text.size());
    tail = CString(std::string_view(text).substr(cut));
    caretText->SetText(CString(std::string_view(text).substr(0, cut)));
    caretText->InsertText(static_cast<int>(cut), lines[0], 0);
    first = 1;
  }
  int added = 0;
  KStrLine* last = caretText;
  for (size_t i = first; i < lines.size(); ++i) {
    auto* line = new KStrLine(lines[i], 0);
    line->SetStaffLength(0);
    previous = doc.InsertLineAfter(previous, line);
    last = line;
    ++added;
  }
  int column = lines.back().GetLength();
  if (last != nullptr && !tail.IsEmpty()) last->InsertText(last->GetLength(), tail, 0);
  view.m_currentLine = caretLine + added;
  view.m_caretColumn = column;
  FinishPaste(view, caretLine, added, false);
}

}  // namespace viewclip
