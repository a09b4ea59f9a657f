// Actions/Set Staff Length: staff and tablature lines of the current line,
// the selection, the rest of the score or the whole score get a fixed length
// (or none), which may become the default of new lines; the music may then be
// spaced evenly and wrapped to it.

#include <algorithm>
#include <string>

#include "dialogs/KDlgSetLineLength.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr int kUndoLine = 0;
constexpr int kUndoScore = 2;
constexpr int kUndoLineToEnd = 6;
constexpr int kWholeLines = 10;
constexpr int kWideColumns = 32000;
constexpr int kUsableMargin = 35;
constexpr DWORD kNewPiece = 0x8000;

bool IsNotation(const KLineObj* line) { return line != nullptr && KLineObj::IsNoteFamily(line->GetFamily()); }

int KeyWidth(int key, int size) { return key == 0 ? 0 : KListLine::kAccidentalWidth[size] * (key / 2 + 1); }

// The pixels the line's content takes at the view's size: its columns, the
// clef area, the key and 20 pixels to spare.
int ContentWidth(CStavlinView& view, KListLine& line, int unit) {
  return (line.GetLength() * unit) + 20 + KListLine::kClefWidth +
         KeyWidth(line.GetKeySignatureAt(0), view.m_sizeIndex);
}

}  // namespace

void OnActionsSetStaffLength(CStavlinView& view) {
  if (view.m_document == nullptr || view.GetDisplayLineCount() <= 0) return;
  if (!view.LeaveReadOnlyForEdit()) return;
  const int lastLine = view.GetDisplayLineCount() - 1;
  const int unit = view.m_sizeIndex == 1 ? 22 : 18;
  const RECT client = view.m_host != nullptr ? view.m_host->GetClientRect() : RECT{0, 0, 800, 600};
  const int windowWidth = static_cast<int>(client.right - client.left) - kUsableMargin;
  KLineObj* current = view.GetDisplayLineObj(std::clamp(view.m_currentLine, 0, lastLine));
  KListLine* currentList = current != nullptr ? current->AsListLine() : nullptr;
  const bool currentIsNotation = IsNotation(current) && currentList != nullptr;

  int currentLength = std::max(view.m_widest, 0);
  if (currentIsNotation) {
    currentLength = current->GetStaffLength() > 0
                        ? current->GetStaffLength() * unit / 18
                        : std::max(view.m_widest, ContentWidth(view, *currentList, unit));
  }
  const bool selected = view.SelectionRectShown() && view.m_selFirstLine >= 0;

  KDlgSetLineLength dialog;
  dialog.fixed = 0;
  dialog.source = KDlgSetLineLength::kSourceCaret;
  dialog.range = selected ? KDlgSetLineLength::kRangeCurrent : KDlgSetLineLength::kRangeAll;
  dialog.autoWrap = g_prefStaffLines.staffLengthOption != 0 ? 1 : 0;
  dialog.evenSpace = g_prefStaffLines.staffLengthOption2 != 0 ? 1 : 0;
  dialog.makeDefault = 0;
  dialog.userLength = currentLength;
  dialog.lineLengthText =
      currentIsNotation ? CString("(" + std::to_string(currentLength) + ")") : CString("N/A");
  dialog.windowWidthText = CString("(" + std::to_string(windowWidth) + ")");
  if (dialog.DoModal() != IDOK) return;

  // The new length, in pixels of the normal symbol size.
  const auto stored = [unit](int pixels) { return pixels * 18 / unit; };
  const int caretX = view.m_contentOrigin - view.m_contentLeft + view.m_caretColumn * unit;
  int length = 0;
  const bool perLine = dialog.fixed == 0 && dialog.source == KDlgSetLineLength::kSourceAfterLast;
  if (dialog.fixed == 0) {
    switch (dialog.source) {
      case KDlgSetLineLength::kSourceSameAsLine:
        length = currentIsNotation ? current->GetStaffLength() : stored(std::max(view.m_widest, 0));
        break;
      case KDlgSetLineLength::kSourceWindow:
        length = stored(windowWidth);
        break;
      case KDlgSetLineLength::kSourceUser:
        length = dialog.userLength == 0 ? 1 : stored(dialog.userLength);
        break;
      case KDlgSetLineLength::kSourceAfterLast:
        break;
      case KDlgSetLineLength::kSourceCaret:
      default:
        length = stored(caretX);
        break;
    }
  }

  int first = view.m_currentLine;
  int last = view.m_currentLine;
  int hint = CStavlinView::kHintAll;
  switch (dialog.range) {
    case KDlgSetLineLength::kRangeCurrent:
      if (selected) {
        first = std::clamp(std::min(view.m_selFirstLine, view.m_selLastLine), 0, lastLine);
        last = std::clamp(std::max(view.m_selFirstLine, view.m_selLastLine), 0, lastLine);
        view.RecordUndoStep(kUndoLineToEnd, first, 0, nullptr, 0);
        hint = CStavlinView::kHintLineAndBelow + 10000 * first;
      } else {
        view.RecordUndoStep(kUndoLine, view.m_currentLine, 0, nullptr, 0);
        hint = CStavlinView::kHintLineFrom + 10000 * view.m_currentLine;
      }
      break;
    case KDlgSetLineLength::kRangeFromCurrent:
      last = lastLine;
      view.RecordUndoStep(kUndoLineToEnd, first, 0, nullptr, 0);
      hint = CStavlinView::kHintLineAndBelow + 10000 * first;
      break;
    default:
      first = 0;
      last = lastLine;
      view.RecordUndoStep(kUndoScore, 0, 0, nullptr, 0);
      break;
  }

  const int savedSuspended = view.m_undoSuspended;
  view.m_undoSuspended = 1;  // the follow-up commands belong to this step
  int largest = length;
  for (int d = first; d <= last; ++d) {
    KLineObj* line = view.GetDisplayLineObj(d);
    KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
    if (!IsNotation(line) || list == nullptr) continue;
    int own = length;
    if (perLine) {
      own =
          stored((list->GetLength() + 1) * unit + list->GetLeadInWidth(view.m_sizeIndex)) + line->GetIndent();
      largest = std::max(largest, own);
    }
    line->SetStaffLength(own);
  }
  if (dialog.range != KDlgSetLineLength::kRangeCurrent) {
    view.m_fixedStaffLength = largest;
    view.m_options.fixedLineLength = static_cast<short>(std::clamp(largest, 0, 32767));
    view.m_document->SetSettings(view.m_options, TRUE);
    if (largest > 0) {
      view.m_widest = largest;
      g_widestNotation = largest;
    }
  }
  if (largest + 40 > view.m_scrollWidth) view.m_scrollWidth = std::max(largest + 40, view.m_widest + 20);

  if (dialog.makeDefault != 0) {
    g_prefStaffLines.allFixedLength = dialog.fixed == 0 ? 1 : 0;
    g_prefStaffLines.initialStaffLength = std::max(largest, 50);
    g_defaultLineLength = g_prefStaffLines.initialStaffLength;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kStaffLines);
  }
  g_prefStaffLines.staffLengthOption = dialog.autoWrap;
  g_prefStaffLines.staffLengthOption2 = dialog.evenSpace;
  view.UpdateAfterEdit(hint, 1);

  const bool scoreWide = dialog.range != KDlgSetLineLength::kRangeCurrent;
  if (dialog.evenSpace != 0) {
    if (scoreWide) view.UpdateSelection(0, kWideColumns, first, lastLine, kWholeLines);
    EvenlySpaceNotation(view, -1);
  }
  const KListLine* only = first == last && currentList != nullptr ? currentList : nullptr;
  if (dialog.autoWrap != 0 && !(only != nullptr && only->GetObjCount() == 0)) {
    // To the end of the score, but not into the next piece.
    int wrapLast = lastLine;
    bool notationSeen = false;
    for (int d = scoreWide ? 0 : first; d <= lastLine; ++d) {
      const KLineObj* line = view.GetDisplayLineObj(d);
      if (IsNotation(line)) notationSeen = true;
      if (notationSeen && d > first && line != nullptr && line->GetFamily() == KLineObj::kFamilyText &&
          line->TestFlags(kNewPiece) != 0) {
        wrapLast = d - 1;
        break;
      }
    }
    view.UpdateSelection(0, kWideColumns, dialog.range == KDlgSetLineLength::kRangeAll ? 0 : first, wrapLast,
                         kWholeLines);
    WrapMusic(view);
  }
  view.m_undoSuspended = savedSuspended;
  view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
}
