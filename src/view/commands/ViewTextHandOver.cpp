// A text document hands its text to a new score: the text is pasted at the
// caret as text lines (straight into the paste engine; the user's clipboard
// is not touched), then every line is translated, from ABC notation or as
// rows of text tablature.

#include <string_view>
#include <vector>

#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/edit/ViewClip.h"

namespace {
constexpr int kSelectWholeLines = 10;
}  // namespace

void CStavlinView::ReceiveHandedOverText(const CString& text, bool abc, bool toTablature) {
  if (m_document == nullptr || m_lineCount <= 0) return;
  const std::vector<CString> lines = viewclip::SplitPlainText(text.View());
  viewclip::PastePlainTextLines(*this, lines, viewclip::kPasteInsert);
  if (m_lineCount <= 0) return;
  if (abc) {
    TranslateFromAbc(0, m_lineCount - 1, true);
  } else if (toTablature) {
    UpdateSelection(0, viewclip::kWholeLine, 0, m_lineCount - 1, kSelectWholeLines);
    TranslateTextTab(0);
  }
  UpdateSelection(0, 0, 0, 0, kSelClear);
  // What came in is the new score's content, not an edit to undo.
  m_document->SetModifiedFlag(TRUE);
}
