// Plain text pasted from another program into a new score at the caret (the
// clipboard's CF_TEXT bytes, as Edit/Paste takes them): the text up to a NUL
// is split at its line ends, the first piece joins the caret's text line and
// every further piece becomes a text line after it, in order, as it was; the
// score then stores and loads back.

#include <string_view>
#include <vector>

#include "FuzzEnvironment.h"
#include "FuzzScoreView.h"
#include "lines/KStrLine.h"
#include "view/edit/ViewClip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<CString> lines = viewclip::SplitPlainText(bytes);

  // The pieces are the text before any NUL, split at CR LF, CR and LF.
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) joined += (i > 0 ? "\n" : "") + lines[i].Str();
  std::string expected;
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    expected += text[i] == '\r' ? '\n' : text[i];
  }
  if (joined != expected) StavlinFuzzFail("the pasted text is not split at its line ends");

  FuzzScoreView score;
  const int caret = score.view->GetCurrentLine();
  const int before = score.view->GetDisplayLineCount();
  auto* caretLine = dynamic_cast<KStrLine*>(score.view->GetDisplayLineObj(caret));
  if (caretLine == nullptr || !caretLine->GetText().IsEmpty()) return 0;
  viewclip::PastePlainTextLines(*score.view, lines, viewclip::kPasteInsert);
  if (score.view->GetDisplayLineCount() != before + static_cast<int>(lines.size()) - 1)
    StavlinFuzzFail("the score did not get one text line per pasted line");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto* line = dynamic_cast<KStrLine*>(score.view->GetDisplayLineObj(caret + static_cast<int>(i)));
    if (line == nullptr) StavlinFuzzFail("a pasted line is not a text line");
    if (line->GetText().Str() != lines[i].Str()) StavlinFuzzFail("a pasted line does not hold its text");
  }
  FuzzScoreView::StoresBack(score.doc, "the pasted score does not store, load and store back the same");
  return 0;
}
