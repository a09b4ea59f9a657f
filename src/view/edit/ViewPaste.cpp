// The paste engine's entry: where the stream comes from (a snapshot, the
// private format, else plain text), the check of the whole stream, a single
// attachment, and the choice between new lines and a merge into existing
// lines.

#include <algorithm>
#include <string>

#include "model/KExtendedObj.h"
#include "platform/Clipboard.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewClip.h"
#include "view/edit/ViewPasteBuild.h"

namespace {

using namespace viewclip;

constexpr int kUndoLine = 0;
constexpr int kUndoScore = 2;
constexpr int kUndoGroupToEnd = 5;
constexpr int kUndoLineToEnd = 6;
constexpr int kUndoGroup = 1;

// The name of a line type in message 8230.
CString TypeName(int type) {
  static constexpr UINT kIds[] = {8061, 8062, 8069, 8072, 8071, 8060, 8071, 8060, 8060,
                                  8063, 8064, 8065, 8066, 8067, 8068, 8070, 8073};
  return type >= 0 && type < static_cast<int>(std::size(kIds)) ? LoadString(kIds[type]) : CString();
}

CString TypeNames(const std::vector<int>& types) {
  std::string out;
  for (size_t i = 0; i < types.size(); ++i) {
    if (i > 0) out += ", ";
    out += TypeName(types[i]).Str();
  }
  return CString(std::string_view(out));
}

// The private format from the clipboard; nothing (reported) when it cannot be
// read.
std::optional<KClipStream> ReadClipboardStream() {
  if (!OpenClipboard()) {
    ReportClipboardProblem("QV3-14");
    return std::nullopt;
  }
  std::optional<std::vector<BYTE>> bytes = GetClipboardData(StavlinClipFormat());
  CloseClipboard();
  if (!bytes) {
    ReportClipboardProblem("QV3-15");
    return std::nullopt;
  }
  return KClipStream::FromBytes(*bytes);
}

void RecordStep(CStavlinView& view, int kind, int value) {
  if (view.m_undoSuspended == 0) view.RecordUndoStep(kind, value, 0, nullptr, 0);
}

// One attachment at the caret column and row of the caret line.
void PasteAttachment(CStavlinView& view, const ClipAttachment& record) {
  KLineObj* line = view.GetDisplayLineObj(view.GetCurrentLine());
  if (line == nullptr || line->GetFamily() == ClipFamily::kText) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  const int family = line->GetFamily();
  if (family == ClipFamily::kRhythm || family == ClipFamily::kChord) view.m_caretRow = 0;
  ClipAttachment placed = record;
  placed.row = view.GetCaretRow();
  KExtendedObj* attachment = BuildAttachment(placed, view.GetCaretColumn());
  const int groupId = line->GetGroupId();
  if (view.m_mutualTranslation == 0 || groupId < 0) {
    RecordStep(view, kUndoLine, view.GetCurrentLine());
    line->AddAttachment(attachment);
  } else {
    RecordStep(view, kUndoGroup, groupId);
    view.ApplyOctaveMarks(groupId, view.GetDisplayEntry(view.GetCurrentLine()).line, line, attachment);
  }
  view.m_document->SetModifiedFlag(TRUE);
  view.m_document->UpdateAllViews(nullptr, 400030000 + 100000 * std::max(view.GetCurrentLine() - 1, 0));
}

// Whether the stream's types match the display lines from the caret down:
// 1 match (merge), 0 differ and the user chose new lines, -1 refused.
int CompareTypes(CStavlinView& view, const KClipData& data) {
  const int caret = view.GetCurrentLine();
  const int count = static_cast<int>(data.types.size());
  if (count == 0 || count > view.GetDisplayLineCount() - caret) return 0;
  std::vector<int> scoreTypes;
  for (int i = 0; i < count; ++i) scoreTypes.push_back(view.GetDisplayEntry(caret + i).type);
  if (scoreTypes == data.types) return 1;
  CString message;
  AfxFormatString2(message, kMsgTypesDiffer, TypeNames(data.types), TypeNames(scoreTypes));
  return AfxMessageBox(message, MB_YESNOCANCEL) == IDYES ? 0 : -1;
}

}  // namespace

void CStavlinView::PasteSerializedLines(int mode, const KClipStream* data, int placement, int caretX) {
  (void)caretX;  // the engine measures the caret's x itself
  if (m_document == nullptr || m_lineCount <= 0) return;
  if (!LeaveReadOnlyForEdit()) return;
  m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);

  std::optional<KClipStream> stream;
  if (data != nullptr) {
    stream = *data;
  } else if (IsClipboardFormatAvailable(StavlinClipFormat())) {
    stream = ReadClipboardStream();
    if (!stream) return;
  } else {
    viewclip::PastePlainText(*this, mode);
    return;
  }
  // The whole stream is read and checked before anything changes.
  const std::optional<KClipData> clip = ReadClipStream(*stream);
  if (!clip) {
    g_pasteInProgress = 0;
    AfxMessageBox(kMsgNoPasteableData, MB_OK);
    return;
  }
  if (clip->isAttachment) {
    PasteAttachment(*this, clip->attachment);
    return;
  }

  const int matching = placement >= 2 ? 0 : CompareTypes(*this, *clip);
  if (matching < 0) return;
  const KLineObj* caretLine = GetDisplayLineObj(m_currentLine);
  const int caretGroup = caretLine != nullptr ? caretLine->GetGroupId() : -1;
  if (placement == 1) {
    RecordStep(*this, kUndoScore, 0);
  } else if (caretGroup >= 0) {
    RecordStep(*this, kUndoGroupToEnd, caretGroup);
  } else {
    RecordStep(*this, matching == 1 ? kUndoLineToEnd : kUndoLine, m_currentLine);
  }

  const int count = static_cast<int>(clip->lines.size());
  const bool merge =
      placement >= 2 ||
      (data == nullptr && (matching == 1 || (count == 1 && clip->leftX != 0 && caretLine != nullptr &&
                                             clip->lines[0].family == caretLine->GetFamily())));
  if (merge) {
    viewclip::PasteMerged(*this, *clip, mode, placement, matching == 1 || placement >= 2);
    return;
  }
  const int caret = m_currentLine;
  if (!viewclip::PasteNewLines(*this, *clip, placement, data != nullptr)) return;
  viewclip::FinishPaste(*this, caret, count, true);
}
