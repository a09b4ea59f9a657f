// The copy engine: the selection (a range of display lines, or one selected
// attachment) as a word stream, on the clipboard for Copy, Cut, Remove and
// Wrap Music, or handed back as an undo snapshot.

#include <algorithm>

#include "common/ErrorReporter.h"
#include "model/KExtendedObj.h"
#include "platform/Clipboard.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/edit/ViewClip.h"
#include "view/extobj/ViewExtObjPartners.h"

int g_clipboardCommand = 0;
int g_pasteInProgress = 0;
int g_autoWrapSuspended = 0;

UINT StavlinClipFormat() { return RegisterClipboardFormat(kClipFormatName); }

namespace viewclip {

void ReportClipboardProblem(const char* code) { ReportInternalError(kMsgClipboardProblem, code); }

}  // namespace viewclip

namespace {

using namespace viewclip;

// Opens the clipboard, optionally empties it, puts one format on it and
// closes it; each failing call reports its own location code.
bool PutOnClipboard(UINT format, std::vector<BYTE> bytes, bool empty, const char* openCode,
                    const char* emptyCode, const char* setCode, const char* closeCode) {
  if (!OpenClipboard()) {
    ReportClipboardProblem(openCode);
    return false;
  }
  if (empty && !EmptyClipboard()) {
    CloseClipboard();
    ReportClipboardProblem(emptyCode);
    return false;
  }
  if (!SetClipboardData(format, std::move(bytes))) {
    CloseClipboard();
    ReportClipboardProblem(setCode);
    return false;
  }
  if (!CloseClipboard()) {
    ReportClipboardProblem(closeCode);
    return false;
  }
  return true;
}

// The selected attachment on the clipboard; Cut and Remove then delete it.
void CopySelectedAttachment(CStavlinView& view, int mode) {
  KClipData data;
  data.isAttachment = true;
  data.attachment = AttachmentRecord(*view.m_selectedExtObj);
  if (!PutOnClipboard(StavlinClipFormat(), WriteClipStream(data).ToBytes(), true, "QV3-1", "QV3-2", "QV3-3",
                      "QV3-4"))
    return;
  if (mode != kCut && mode != kRemove) return;
  if (!view.LeaveReadOnlyForEdit()) return;
  if (KLineObj* line = view.GetDisplayLineObj(view.m_extDisplayLine)) {
    extobj::DeleteCopies(extobj::FindPartnerCopies(view, view.m_extDisplayLine, *view.m_selectedExtObj));
    line->EditAttachment(view.m_selectedExtObj, KLineObj::kEditDelete);
  }
  view.m_selectedExtObj = nullptr;
  view.m_document->SetModifiedFlag(TRUE);
  view.m_document->UpdateAllViews(nullptr,
                                  std::max(view.GetCurrentLine() - 1, 0) * 100000 + CStavlinView::kHintRange);
}

}  // namespace

std::unique_ptr<KClipStream> CStavlinView::SerializeSelection(int mode) {
  const bool wrap = mode == kWrapCut;
  if (mode != kSnapshot && m_selectedExtObj != nullptr) {
    CopySelectedAttachment(*this, wrap ? kCut : mode);
    return nullptr;
  }
  if (!SelectionRectShown() || m_lineCount <= 0 || m_document == nullptr) return nullptr;
  if ((mode == kCut || mode == kRemove) && !LeaveReadOnlyForEdit()) return nullptr;

  const auto [top, bottom] = viewgeom::SelectedLines(*this);
  const int count = bottom - top + 1;
  KClipData data;
  data.leftX = static_cast<int>(m_selRect.left);
  data.rightX = static_cast<int>(m_selRect.right);
  data.firstColumn = m_selFirstColumn;
  data.lastColumn = m_selLastColumn;
  if (data.leftX > 0 && count >= 2 && count <= 20) {
    for (int i = top; i <= bottom; ++i) data.types.push_back(GetDisplayEntry(i).type);
  }
  for (int i = top; i <= bottom; ++i) {
    std::optional<ClipLine> line = viewclip::CollectLine(*this, i, mode, i - top, count);
    if (!line) return nullptr;  // a display line without its line: nothing is copied
    data.lines.push_back(std::move(*line));
  }
  auto stream = std::make_unique<KClipStream>(WriteClipStream(data));
  if (mode == kSnapshot) return stream;

  if (!PutOnClipboard(StavlinClipFormat(), stream->ToBytes(), true, "QV3-6", "QV3-7", "QV3-8", "QV3-9"))
    return nullptr;
  if (g_clipboardCommand == 0) {
    if (mode == kCut || wrap) DeleteSelectedRegion(mode, 2, 1);
    return stream;
  }
  // Plain text: every copied line, each ended by CR LF.
  std::string text;
  for (int i = top; i <= bottom; ++i) {
    text += viewclip::LineAsText(*this, i).Str();
    text += "\r\n";
  }
  if (!PutOnClipboard(CF_TEXT, std::vector<BYTE>(text.begin(), text.end()), false, "QV3-11", "QV3-11",
                      "QV3-12", "QV3-13"))
    return nullptr;
  if (mode == kCut || mode == kRemove || wrap) DeleteSelectedRegion(mode, 1, 1);
  return stream;
}
