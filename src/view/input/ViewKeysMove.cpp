// The caret keys of OnKeyDown: Left and Right, Home and End, Page Up and
// Page Down, Up and Down (caret rows, lines, auto-scroll), their Shift rules
// that extend the selection.

#include <algorithm>

#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KListLine.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/input/ViewKeysInternal.h"

namespace viewkeys {

namespace {

constexpr int kKeep = -9899;  // UpdateSelection: keep the stored value
constexpr int kModeColumns = 0;
constexpr int kModeWholeLines = 10;
constexpr int kModePixelsKept = 14;
constexpr int kModeExtend = 22;
constexpr int kWholeLineLastColumn = 10000;
// Caret rows: tablature string rows 0..9, staff steps 0..37.
constexpr int kLastTabRow = 9;
constexpr int kLastStaffRow = 37;

int LengthOf(const CStavlinView& view, int displayLine) {
  KLineObj* line = LineAt(view, displayLine);
  return line != nullptr ? line->GetLength() : 0;
}

int Top(const CStavlinView& view, int displayLine) {
  return view.m_display[static_cast<size_t>(displayLine)].top;
}
int Bottom(const CStavlinView& view, int displayLine) {
  return view.m_display[static_cast<size_t>(displayLine)].bottom;
}

int ClientHeight(const CStavlinView& view) {
  if (view.m_host == nullptr) return 0;
  const RECT client = view.m_host->GetClientRect();
  return static_cast<int>(client.bottom - client.top);
}

int LastLine(const CStavlinView& view) { return view.m_lineCount - 1; }

bool RhythmOrChord(int family) {
  return family == KLineObj::kFamilyRhythm || family == KLineObj::kFamilyChord;
}

void SetTargetLine(const CStavlinView& view, KeyPress& press, int line) {
  press.targetLine = std::clamp(line, 0, LastLine(view));
  press.targetType = view.m_display[static_cast<size_t>(press.targetLine)].type;
}

// Page Up and Page Down with Shift select whole lines from the caret's line
// to the target.
void ExtendByPage(CStavlinView& view, const KeyPress& press) {
  if (!press.shift || press.toolbox) return;
  const bool selection = HasSelectionRect(view);
  view.UpdateSelection(0, kWholeLineLastColumn, selection ? kKeep : view.m_currentLine, press.targetLine,
                       kModeWholeLines);
}

// One line up or down, scrolling the window as little as shows the line;
// false when there is no line to go to.
bool StepLine(CStavlinView& view, KeyPress& press, bool up) {
  const int current = view.m_currentLine;
  if (up) {
    if (current <= 0) {
      MessageBeep(MB_ICONASTERISK);
      return false;
    }
    if (current == view.m_firstVisible) ScrollTo(view, Top(view, current - 1));
    SetTargetLine(view, press, current - 1);
  } else {
    if (current >= LastLine(view)) return false;
    const int next = current + 1;
    const int h = ClientHeight(view);
    const int first = std::clamp(view.m_firstVisible, 0, LastLine(view));
    if (Bottom(view, next) >= Top(view, first) + h) {
      // The smallest scroll that shows the next line whole; a line taller
      // than the window is brought to the top.
      int k = std::min(first + 1, next);
      while (k < next && Top(view, k) + h <= Bottom(view, next)) ++k;
      ScrollTo(view, Top(view, k));
    }
    SetTargetLine(view, press, next);
  }
  if (RhythmOrChord(view.m_currentFamily)) press.targetColumn = view.m_caretColumn;
  return true;
}

// Auto-scroll mode: Up and Down scroll the window by one line.
bool ScrollOneLine(CStavlinView& view, KeyPress& press, bool up) {
  const int current = view.m_currentLine;
  if (up) {
    if (view.m_firstVisible <= 0) return false;
    ScrollTo(view, Top(view, view.m_firstVisible - 1));
    SetTargetLine(view, press, current == view.m_firstVisible ? view.m_lastVisible : current - 1);
  } else {
    if (view.m_firstVisible >= LastLine(view)) return false;
    ScrollTo(view, Top(view, view.m_firstVisible + 1));
    SetTargetLine(view, press, current == view.m_firstVisible ? current : current + 1);
  }
  return true;
}

// The caret row on a tablature line, crossing from a "Tab-T" line to the
// "Tab-B" line below it (and back) at the outer strings.
bool MoveTabRow(CStavlinView& view, KeyPress& press, bool up) {
  const int current = view.m_currentLine;
  auto* tab = dynamic_cast<KTabLine*>(LineAt(view, current));
  const int neighbour = up ? current - 1 : current + 1;
  auto* other = neighbour >= 0 && neighbour <= LastLine(view)
                    ? dynamic_cast<KTabLine*>(LineAt(view, neighbour))
                    : nullptr;
  if (tab != nullptr && other != nullptr) {
    const char* own = up ? "Tab-B" : "Tab-T";
    const char* theirs = up ? "Tab-T" : "Tab-B";
    const int edge = tab->GetStringRowLimit(up ? KTabLine::kFirstRow : KTabLine::kLastRow);
    if (tab->GetLabelName().Find(own) >= 0 && other->GetLabelName().Find(theirs) >= 0 &&
        view.m_caretRow == edge) {
      // Only the line changes: the caret keeps the type and takes the row.
      press.targetLine = neighbour;
      view.m_caretRow = other->GetStringRowLimit(up ? KTabLine::kLastRow : KTabLine::kFirstRow);
      return true;
    }
  }
  if (up ? view.m_caretRow <= 0 : view.m_caretRow >= kLastTabRow) {
    MessageBeep(MB_ICONASTERISK);
    return false;
  }
  view.m_caretRow += up ? -1 : 1;
  return true;
}

bool MoveStaffRow(CStavlinView& view, bool up) {
  if (up ? view.m_caretRow <= 0 : view.m_caretRow >= kLastStaffRow) {
    MessageBeep(MB_ICONASTERISK);
    return false;
  }
  view.m_caretRow += up ? -1 : 1;
  return true;
}

// Up and Down change the caret row (not the line) on staff and tablature
// lines: always from the toolbox; with Ctrl when the arrows move between
// lines by option and the view is not read-only; without Ctrl when they move
// within the staff.
bool RowsMove(const CStavlinView& view, const KeyPress& press) {
  if (!KLineObj::IsNoteFamily(view.m_currentFamily)) return false;
  if (press.toolbox) return true;
  const bool withinStaff = view.m_options.arrowKeysWithinStaff == 1;
  if (press.ctrl) return view.m_options.arrowKeysWithinStaff == 0 && view.m_readOnly == 0;
  return withinStaff;
}

}  // namespace

bool HandleHorizontal(CStavlinView& view, KeyPress& press) {
  const bool left = press.key == VK_LEFT;
  const int caret = view.m_caretColumn;
  KLineObj* line = LineAt(view, view.m_currentLine);
  if (left && caret <= 0) return false;
  if (!left && line != nullptr && caret >= line->GetLength()) {
    // Right at the end of the line types a blank there.
    if (HasSelectionRect(view)) return false;
    view.OnChar(' ', 0, 0);
    if (press.shift && !press.toolbox) {
      if (HasSelectionRect(view)) {
        view.UpdateSelection(kKeep, caret + 1, kKeep, kKeep, kModeExtend);
      } else {
        view.UpdateSelection(caret, caret + 1, view.m_currentLine, view.m_currentLine, kModeColumns);
      }
    }
    return false;
  }

  int step = left ? -1 : 1;
  if (press.toolbox) {
    // one column
  } else if (press.ctrl && line != nullptr) {
    step = line->GetWordStep(0, view.m_sizeIndex, caret, left ? 0 : 1);
  } else if (view.m_currentFamily == KLineObj::kFamilyChord && line != nullptr &&
             line->AsListLine() != nullptr) {
    const int size = view.m_sizeIndex != 0 ? 1 : 0;
    const int width = KListLine::kChordColumnWidth[size];
    const int c = left ? std::max(caret - 1, 0) : caret + 1;
    step = line->AsListLine()->XToColumn(0, c * width, size, view.m_contentLeft, left ? 2 : 1) - caret;
  }
  press.targetColumn = std::max(caret + step, 0);

  if (press.shift && !press.toolbox) {
    if (HasSelectionRect(view)) {
      if (left) {
        view.UpdateSelection(press.targetColumn, kKeep, kKeep, kKeep, kModeExtend);
      } else {
        view.UpdateSelection(kKeep, press.targetColumn, kKeep, kKeep, kModeExtend);
      }
    } else if (left) {
      view.UpdateSelection(press.targetColumn, caret, view.m_currentLine, view.m_currentLine, kModeColumns);
    } else {
      view.UpdateSelection(caret, press.targetColumn, view.m_currentLine, view.m_currentLine, kModeColumns);
    }
  }
  return true;
}

bool HandleHomeEnd(CStavlinView& view, KeyPress& press) {
  const bool end = press.key == VK_END;
  bool moved = false;
  if (end) {
    if (press.ctrl) {
      const int last = LastLine(view);
      ScrollTo(view, Bottom(view, last) - ClientHeight(view));
      SetTargetLine(view, press, last);
      press.targetColumn = LengthOf(view, last);
      press.columnOnTarget = true;
      moved = true;
    } else {
      const int length = LengthOf(view, view.m_currentLine);
      if (view.m_caretColumn == length) return false;
      press.targetColumn = length;
    }
  } else {
    if (press.ctrl) {
      ScrollTo(view, 0);
      SetTargetLine(view, press, view.m_firstVisible);
      press.targetColumn = 0;
      press.columnOnTarget = true;
      press.hint = CStavlinView::kHintAll;
      moved = true;
    } else {
      if (view.m_caretColumn == 0) return false;
      press.targetColumn = 0;
    }
  }

  if (press.shift && !press.toolbox) {
    const bool selection = HasSelectionRect(view);
    const int mode = moved ? kModeWholeLines : (selection ? kModeExtend : kModeColumns);
    const int lastLine = moved ? press.targetLine : (selection ? kKeep : view.m_currentLine);
    const int firstLine = selection ? kKeep : view.m_currentLine;
    if (end) {
      const int firstColumn = moved ? 0 : (selection ? kKeep : view.m_caretColumn);
      view.UpdateSelection(firstColumn, press.targetColumn, firstLine, lastLine, mode);
    } else {
      view.UpdateSelection(0, selection ? kKeep : view.m_caretColumn, firstLine, lastLine, mode);
    }
  }
  return true;
}

bool HandlePageKeys(CStavlinView& view, KeyPress& press) {
  const bool up = press.key == VK_PRIOR;
  const int current = view.m_currentLine;
  if (press.ctrl) {
    if (up) {
      SetTargetLine(view, press, view.m_firstVisible);
      press.targetColumn = 0;
      press.columnOnTarget = true;
      ExtendByPage(view, press);
    } else {
      const int last = std::max(view.m_lastVisible, view.m_firstVisible);
      SetTargetLine(view, press, last);
      press.targetColumn = LengthOf(view, press.targetLine);
      press.columnOnTarget = true;
    }
    return true;
  }

  const int h = ClientHeight(view);
  if (up) {
    if (view.m_firstVisible <= 0) {
      if (current == 0) return false;
      SetTargetLine(view, press, 0);
    } else {
      const int offset = current - view.m_firstVisible;
      ScrollTo(view, Top(view, view.m_firstVisible) - h);
      SetTargetLine(view, press, std::min(view.m_firstVisible + offset, std::max(view.m_lastVisible, 0)));
    }
  } else {
    const int last = LastLine(view);
    if (view.m_firstVisible >= last) return false;
    if (view.m_lastVisible >= last) {
      SetTargetLine(view, press, last);
    } else {
      const int offset = current - view.m_firstVisible;
      const int toTop = view.m_visibleCount <= 1 ? std::min(current + 1, last) : view.m_lastVisible;
      ScrollTo(view, Top(view, toTop));
      int target = view.m_firstVisible + offset;
      if (target > view.m_lastVisible) target = std::max(current + 1, view.m_lastVisible);
      SetTargetLine(view, press, target);
    }
  }
  if (RhythmOrChord(view.m_currentFamily)) press.targetColumn = view.m_caretColumn;
  ExtendByPage(view, press);
  return true;
}

bool HandleVertical(CStavlinView& view, KeyPress& press) {
  const bool up = press.key == VK_UP;
  if (view.m_autoScroll != 0 && !press.toolbox) return ScrollOneLine(view, press, up);

  const bool noteLine = KLineObj::IsNoteFamily(view.m_currentFamily);
  if (press.shift && !press.toolbox && (!press.ctrl || !noteLine)) {
    if (!HasSelectionRect(view)) {
      const int caret = view.m_caretColumn;
      view.UpdateSelection(caret, caret, view.m_currentLine, view.m_currentLine, kModeWholeLines);
      return false;
    }
    if (!StepLine(view, press, up)) return false;
    const int mode = view.m_selRect.left != 0 ? kModePixelsKept : kModeWholeLines;
    view.UpdateSelection(kKeep, kKeep, kKeep, press.targetLine, mode);
    return true;
  }

  if (RowsMove(view, press)) {
    return view.m_currentFamily == KLineObj::kFamilyTab ? MoveTabRow(view, press, up)
                                                        : MoveStaffRow(view, up);
  }
  return StepLine(view, press, up);
}

}  // namespace viewkeys
