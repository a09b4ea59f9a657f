// Actions/Translate/To ABC Notation and File/Export/Full Score as ABC File.
//
// With lines selected, each staff line of the selection gets its ABC text as
// text lines below it, preceded by its key, so that From ABC Notation reads
// them back in the same key. Without a selection the whole score is written
// as ABC tunes into a new plain-text document. The writer is
// translate/AbcScoreWriter; this file hands it the score and places or shows
// what it writes.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "lines/KStrLine.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "translate/AbcScoreWriter.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"

namespace {

constexpr int kUndoLineToEnd = 6;

// The name the score's ABC file takes: the score's name up to its first ".".
CString ExportTitle(const CStavlinDoc& doc) {
  // A score never saved has no name of its own, unless one was given to it
  // (a score made from a text file goes by the file's name).
  CString name = doc.ScoreName();
  if (const int dot = name.Find('.'); dot > 0) name = name.Left(dot);
  return name + ".abc";
}

}  // namespace

void CStavlinView::OnActionsTranslateToAbc() {
  if (m_document == nullptr || m_lineCount <= 0) return;
  if (m_selFirstLine < 0) {
    ExportScoreAsAbc();
    return;
  }
  if (!LeaveReadOnlyForEdit()) return;
  int first = std::clamp(m_currentLine, 0, m_lineCount - 1);
  int last = first;
  if (SelectionRectShown()) std::tie(first, last) = viewgeom::SelectedLines(*this);
  RecordUndoStep(kUndoLineToEnd, first, 0, nullptr, 0);

  CStavlinDoc& doc = *m_document;
  std::vector<POSITION> range;
  std::vector<KLineObj*> lines;
  for (int d = first; d <= last; ++d) {
    range.push_back(m_display[static_cast<size_t>(d)].line);
    lines.push_back(doc.GetLineAt(range.back()));
  }
  // Each staff line's ABC goes below it, a text line a piece.
  const std::vector<std::vector<std::string>> written = WriteAbcOfStaves(lines);
  bool changed = false;
  for (std::size_t i = 0; i < range.size(); ++i) {
    POSITION after = range[i];
    for (const std::string& piece : written[i]) {
      after = doc.InsertLineAfter(after, new KStrLine(CString(std::string_view(piece)), 0));
      changed = true;
    }
  }
  if (!changed) return;
  doc.SetModifiedFlag(TRUE);
  RebuildDisplayLines(0);
  m_currentLine = first;
  m_caretColumn = 0;
  m_currentType = m_display[static_cast<size_t>(m_currentLine)].type;
  m_currentFamily = KLineObj::FamilyOf(m_currentType);
  UpdateAfterEdit(kHintLineAndBelow + 10000 * first, 1);
}

void CStavlinView::OnFileExportAbc() {
  UpdateSelection(0, 0, 0, 0, kSelClear);
  ExportScoreAsAbc();
}

CString CStavlinView::ScoreAsAbc() {
  ScoreExport score;
  for (int d = 0; d < GetDisplayLineCount(); ++d) score.lines.push_back(GetDisplayLineObj(d));
  for (const LOGFONT& font : m_textFonts) score.textFontHeights.push_back(static_cast<int>(font.lfHeight));
  score.sizeIndex = GetSizeIndex();
  return CString(std::string_view(WriteAbcScore(score)));
}

void CStavlinView::ExportScoreAsAbc() {
  if (m_document == nullptr) return;
  const CString text = ScoreAsAbc();
  KFrameServices* frame = m_host != nullptr ? m_host->Frame() : nullptr;
  if (frame == nullptr || !frame->OpenTextDocument(ExportTitle(*m_document), text))
    MessageBeep(MB_ICONASTERISK);
}

// The ABC commands: the File menu's export and the Translate submenu's To and
// From ABC Notation.
std::span<const KViewCommandHandler> AbcCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kExportAbc, kExportAbc, [](CStavlinView& v, UINT) { v.OnFileExportAbc(); }},
      {kTranslateToAbc, kTranslateToAbc, [](CStavlinView& v, UINT) { v.OnActionsTranslateToAbc(); }},
      {kTranslateFromAbc, kTranslateFromAbc, [](CStavlinView& v, UINT) { v.OnActionsTranslateFromAbc(); }},
  };
  return kHandlers;
}
