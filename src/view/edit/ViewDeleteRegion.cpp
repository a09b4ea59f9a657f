// Deleting what the selection covers: the selected columns of each selected
// display line, or (a Cut of a full-width selection) the lines themselves.
// Cut, Remove, Undo and Wrap Music all come through here.

#include <algorithm>
#include <vector>

#include "common/ViewServices.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"
#include "model/LineServices.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/edit/ViewDeleteParts.h"

namespace {

constexpr int kModeCut = 1;
constexpr int kModeWrapCut = 4;
constexpr int kOptionUndo = 2;
constexpr int kWholeColumn = 1000;
constexpr int kWholeLine = 32000;
constexpr int kRowTab = 4;
constexpr int kRowOther = 18;

// While set, column shifts stay on the line they are made on: the alignment
// of the group's other lines is suspended (and put back as it was).
class GroupShiftSuppression {
 public:
  GroupShiftSuppression() : m_saved(g_alignOptions[0]) {}
  ~GroupShiftSuppression() { g_alignOptions[0] = m_saved; }
  GroupShiftSuppression(const GroupShiftSuppression&) = delete;
  GroupShiftSuppression& operator=(const GroupShiftSuppression&) = delete;
  void Set() { g_alignOptions[0] = 1; }

 private:
  int m_saved;
};

// A selected note line whose group has a note line outside the selection.
bool GroupReachesOutside(const CStavlinView& view, int top, int bottom) {
  for (int i = top; i <= bottom; ++i) {
    const KLineObj* line = view.GetDisplayLineObj(i);
    if (line == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) continue;
    const KLineGroup* group = view.m_document->FindLineGroup(line->GetGroupId());
    if (group == nullptr) continue;
    for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
      if (!KLineObj::IsNoteFamily(KLineObj::FamilyOf(group->GetSlotType(slot)))) continue;
      const int shown = view.FindDisplayLine(group->GetSlotLineRef(slot), 0);
      if (shown < top || shown > bottom) return true;
    }
  }
  return false;
}

// A bar column inside the range on a grouped note line of the selection.
bool BarInGroupedRange(const CStavlinView& view, int top, int bottom) {
  for (int i = top; i <= bottom; ++i) {
    KLineObj* line = view.GetDisplayLineObj(i);
    KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (list == nullptr || !KLineObj::IsNoteFamily(line->GetFamily()) ||
        line->GetGroupId() == KLineObj::kNoGroup)
      continue;
    const auto [first, end] = viewdelete::NoteColumnRange(view, i);
    for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(list->GetObjList()->GetNext(node));
      if (column != nullptr && column->GetPos() >= first && column->GetPos() < end && column->IsBarColumn())
        return true;
    }
  }
  return false;
}

// Removes the selected columns of one note or chord line.
void DeleteColumns(CStavlinView& view, int displayLine, int callerOption) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr) return;
  const bool chords = line->GetFamily() == KLineObj::kFamilyChord;
  const auto [first, end] = chords ? viewdelete::ChordColumnRange(view, displayLine)
                                   : viewdelete::NoteColumnRange(view, displayLine);
  if (end <= first) return;
  line->DeleteAttachmentsInRange(first, end);
  std::vector<int> columns;
  for (POSITION node = list->GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(list->GetObjList()->GetNext(node));
    if (object->GetPos() >= first && object->GetPos() < end) columns.push_back(object->GetPos());
  }
  // From the right, so that closing up never moves a column still to delete.
  const int flag = callerOption == kOptionUndo ? 1 : 0;
  const int size = view.GetSizeIndex();
  for (auto it = columns.rbegin(); it != columns.rend(); ++it) {
    if (chords) {
      line->HandleKey(KListLine::kDeleteCode, 0, 0, *it, callerOption == kOptionUndo ? kWholeColumn : 0, 0,
                      flag, 0);
    } else {
      line->DeleteAtCaret(*it, kWholeColumn, size, flag);
    }
  }
  const int count = static_cast<int>(columns.size());
  if (count != end - first) list->ShiftColumns(first, first - end + count, 0);
  if (chords) return;
  list->UpdateTimeSigCache();
  int beats = 0;
  int ticks = 0;
  list->GetTimeSignatureAt(KListLine::kWholeLineColumn, beats, ticks, 1);
  if (beats < 0) list->SetTimeSignature(list->GetStartBeats(), list->GetStartBeatTicks(), 1);
}

// Removes the symbols of a rhythm line inside the selection; the line does
// not close up.
void DeleteRhythm(CStavlinView& view, int displayLine) {
  auto* rhythm = dynamic_cast<KRhythmLine*>(view.GetDisplayLineObj(displayLine));
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (rhythm == nullptr || dc == nullptr) return;
  const int lead = rhythm->GetIndent() + view.m_contentLeft;
  const int x0 = static_cast<int>(view.m_selRect.left) - lead;
  const int x1 = static_cast<int>(view.m_selRect.right) - lead;
  const int size = view.GetSizeIndex();
  const int first = rhythm->GetColumnAtX(dc, 0, x0, size, 0, 3);
  const int end = rhythm->GetColumnAtX(dc, 0, x1, size, 0, 3);
  if (view.m_selFirstColumn != 0 || view.m_selLastColumn != kWholeLine)
    rhythm->SplitTextsAtRange(dc, first, end, 0, size);
  rhythm->DeleteAttachmentsInRange(first, end);
  std::vector<int> positions;
  for (POSITION node = rhythm->GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* item = static_cast<const KPosObj*>(rhythm->GetObjList()->GetNext(node));
    if (item->GetPos() >= x0 && item->GetPos() < x1) positions.push_back(item->GetPos());
  }
  for (const int position : positions) rhythm->RemoveObjAt(position);
  rhythm->SetColumnWidth(-1);
  rhythm->MarkChanged();
}

// Cuts the characters of a text line that stand inside the selection.
void DeleteText(CStavlinView& view, int displayLine, bool wrap) {
  auto* text = dynamic_cast<KStrLine*>(view.GetDisplayLineObj(displayLine));
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  if (text == nullptr || dc == nullptr) return;
  const int lead = text->GetIndent() + view.m_contentLeft;
  int x0 = std::max(static_cast<int>(view.m_selRect.left) - lead, 0);
  const int x1 = std::max(static_cast<int>(view.m_selRect.right) - lead, 0);
  const std::string source = text->GetText().Str();
  const int length = static_cast<int>(source.size());
  int first = length;
  int end = length;
  if (wrap) {
    if (x0 < 18) x0 = 0;
    const KLinePair range = text->GetColumnRangeAtX(dc, view.m_textFonts, x0, x1, 3);
    first = std::clamp(range.first, 0, length);
    end = std::clamp(range.second, first, length);
  } else {
    first = 0;
    while (first < length && text->GetXOfColumn(dc, view.m_textFonts, first) < x0) ++first;
    end = first;
    while (end < length && text->GetXOfColumn(dc, view.m_textFonts, end) < x1) ++end;
  }
  if (end <= first) return;
  text->SetText(CString(
      (source.substr(0, static_cast<size_t>(first)) + source.substr(static_cast<size_t>(end))).c_str()));
}

}  // namespace

int CStavlinView::DeleteSelectedRegion(int mode, int callerOption, int refresh) {
  if (!SelectionRectShown() || m_document == nullptr || m_lineCount <= 0) return 0;
  const auto [top, bottom] = viewgeom::SelectedLines(*this);
  const bool cut = mode == kModeCut || mode == kModeWrapCut;
  const bool wholeLines = m_selRect.left == 0 && cut;
  const bool everyLine = wholeLines && top == 0 && bottom == m_lineCount - 1;
  GroupShiftSuppression suppression;

  if (everyLine) viewdelete::AddBlankTextLine(*this);
  if (!wholeLines) {
    if (!GroupReachesOutside(*this, top, bottom)) {
      suppression.Set();
    } else if (m_independentEditing == 0 && BarInGroupedRange(*this, top, bottom)) {
      m_independenceMode = callerOption;
      viewdelete::MakeGroupLinesIndependent(*this);
    }
  }

  if (wholeLines) {
    std::vector<POSITION> positions;
    for (int i = top; i <= bottom; ++i) positions.push_back(m_display[static_cast<size_t>(i)].line);
    for (const POSITION position : positions) viewdelete::RemoveWholeLine(*this, position);
  } else {
    for (int i = top; i <= bottom; ++i) {
      switch (viewgeom::FamilyAt(*this, i)) {
        case KLineObj::kFamilyStaff:
        case KLineObj::kFamilyTab:
        case KLineObj::kFamilyChord:
          DeleteColumns(*this, i, callerOption);
          break;
        case KLineObj::kFamilyRhythm:
          DeleteRhythm(*this, i);
          break;
        case KLineObj::kFamilyText:
          DeleteText(*this, i, mode == kModeWrapCut);
          break;
        default:
          break;
      }
    }
  }

  if (refresh != 0) {
    const int selectedFirst = std::clamp(m_selFirstLine, 0, m_lineCount - 1);
    if (!wholeLines) {
      RebuildDisplayLines(0);
      if (m_currentLine < m_firstVisible || m_currentLine >= m_lineCount)
        m_currentLine = std::min(std::max(m_firstVisible, selectedFirst), m_lineCount - 1);
      m_caretColumn = std::max(m_selFirstColumn, 0);
    } else {
      if (everyLine) {
        m_currentLine = m_caretColumn = m_firstVisible = 0;
        if (m_show[ScoreSettings::kShowAll] == 0) {
          m_show[ScoreSettings::kShowAll] = 1;
          m_options.showLineType[ScoreSettings::kShowAll] = 1;
          m_document->SetSettings(m_options, TRUE);
        }
        RebuildDisplayLines(0);
      } else {
        // The line that followed the removed block takes its place.
        m_currentLine = top;
        RebuildDisplayLines(0);
        m_currentLine = std::clamp(m_currentLine, 0, std::max(m_lineCount - 1, 0));
        if (m_firstVisible > m_currentLine) m_firstVisible = m_currentLine;
        m_caretColumn = 0;
      }
      g_relayout = 1;
      if (m_lineCount > 0) SetVirtualScrollPosition(0, m_display[static_cast<size_t>(m_firstVisible)].top);
    }
    if (m_lineCount > 0) {
      m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);
      m_currentType = m_display[static_cast<size_t>(m_currentLine)].type;
      m_currentFamily = KLineObj::FamilyOf(m_currentType);
      m_caretRow = m_currentFamily == KLineObj::kFamilyTab ? kRowTab : kRowOther;
      FindTopLine(m_display[static_cast<size_t>(std::clamp(m_firstVisible, 0, m_lineCount - 1))].top);
    }
    UpdateAfterEdit(kHintAll, 1);
  }
  return 1;
}
