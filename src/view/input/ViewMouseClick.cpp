// The left button: a press anchors the selection (or selects whole lines on
// the labels), a release moves the caret to the clicked line, column and row
// and enters the toolbox's symbol there. Presses and releases also serve the
// extended objects (placement points, dragging a selected one, selecting one
// by a click) and the two clicks of the play range.

#include <algorithm>

#include "common/Globals.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/input/ViewMouseCodes.h"
#include "view/input/ViewMouseInternal.h"
#include "view/play/ViewPlayer.h"

namespace {

using namespace viewmouse;

constexpr int kPressMode = 14;
constexpr int kLabelMode = 10;
constexpr int kRightLabelMode = 9;
// The caret rows a selected object's line takes when it becomes current.
constexpr int kObjectStaffRow = 18;
constexpr int kObjectTabRow = 4;
// Toolbox slots that follow the kind of the caret's line.
constexpr int kAlternateSymbolsBox = 2;
constexpr int kFretboardBox = 17;

int SizeOf(const CStavlinView& view) { return view.GetSizeIndex() != 0 ? 1 : 0; }

bool IsNoteLine(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }

// A press beside the handles of an object in handle mode leaves that mode.
// (The window drags the selected object's frame and handles itself; a press
// that starts such a drag never reaches the view.)
void LeaveHandleModeOnPress(CStavlinView& view, POINT page) {
  if (view.m_selectedExtObj == nullptr || view.m_extTwoHandles == 0) return;
  if (view.HitTestExtTracker(page) == CStavlinView::kExtHitNone) view.LeaveExtHandleMode();
}

// The caret moves from the current display line to another: a note line
// left behind is laid out again with its final beams.
void LeaveLine(CStavlinView& view, int next) {
  const int current = view.GetCurrentLine();
  if (view.IsReadOnly() != 0 || next == current || current < 0 || current >= view.GetDisplayLineCount())
    return;
  if (!IsNoteLine(view.GetDisplayEntry(current).type)) return;
  if (KLineObj* line = view.GetDisplayLineObj(current); line != nullptr && line->AsListLine() != nullptr)
    line->AsListLine()->MarkChanged();
  if (view.m_document != nullptr)
    view.m_document->UpdateAllViews(nullptr,
                                    CStavlinView::kHintLineAndBelow + 10000 * std::min(current, next));
}

// The display line becomes the current one; a note line entered from a
// rhythm, chord or text line is drawn again.
void EnterLine(CStavlinView& view, int line) {
  const int previousFamily = KLineObj::FamilyOf(view.GetCurrentType());
  view.m_currentLine = line;
  view.m_currentType = view.GetDisplayEntry(line).type;
  view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  if (view.IsReadOnly() != 0 || !IsNoteLine(view.m_currentType) || previousFamily < KLineObj::kFamilyRhythm)
    return;
  if (KLineObj* object = view.GetDisplayLineObj(line); object != nullptr && object->AsListLine() != nullptr)
    object->AsListLine()->MarkChanged();
  if (view.m_document != nullptr)
    view.m_document->UpdateAllViews(nullptr, CStavlinView::kHintLineFrom + 10000 * line);
}

// A release under the last fully shown line: the window scrolls until that
// line's bottom is in it.
void ScrollLineIntoView(CStavlinView& view, int line) {
  const RECT client = view.m_host != nullptr ? view.m_host->GetClientRect() : RECT{};
  const int height = client.bottom - client.top;
  const int bottom = view.GetDisplayEntry(line).bottom;
  for (int i = view.GetFirstVisible() + 1; i < view.GetDisplayLineCount(); ++i) {
    const int top = view.GetDisplayEntry(i).top;
    if (top + height > bottom) {
      view.SetVirtualScrollPosition(view.GetVirtualScrollPosition().x, view.FindTopLine(top));
      return;
    }
  }
}

// The caret goes to the column and row under the page point on the current
// line; a caret above the page beeps and stays at the page's top.
void PlaceCaretAt(CStavlinView& view, int x, int y) {
  const int line = view.GetCurrentLine();
  const CaretSpot spot = CaretSpotAt(view, line, x, y);
  view.m_caretColumn = spot.column;
  view.m_caretRow = spot.row;
  if (view.GetDisplayEntry(line).top + spot.yOffset < 0) MessageBeep(MB_ICONASTERISK);
  view.PlaceCaret();
}

// After a click on an object drawn over another display line, that line
// becomes current, with the caret on its middle row.
void MoveToObjectLine(CStavlinView& view, POINT page) {
  const int line = std::clamp(view.m_extDisplayLine, 0, view.GetDisplayLineCount() - 1);
  if (line == view.GetCurrentLine()) return;
  LeaveLine(view, line);
  EnterLine(view, line);
  if (line > view.GetLastVisible()) ScrollLineIntoView(view, line);
  PlaceCaretAt(view, page.x, page.y);
  const int family = view.GetCurrentFamily();
  if (family == KLineObj::kFamilyStaff) view.m_caretRow = kObjectStaffRow;
  if (family == KLineObj::kFamilyTab) view.m_caretRow = kObjectTabRow;
  view.PlaceCaret();
}

// The toolboxes that follow the caret's line kind are told of it.
void SyncToolboxes(CStavlinView& view) {
  KFrameServices* frame = view.m_host != nullptr ? view.m_host->Frame() : nullptr;
  if (frame != nullptr &&
      (frame->IsToolBoxShown(kAlternateSymbolsBox) || frame->IsToolBoxShown(kFretboardBox)))
    frame->RefreshToolboxes();
}

}  // namespace

void CStavlinView::OnLButtonDown(UINT /*nFlags*/, POINT point) {
  // A click stops the music; neither the press nor its release does more.
  if (IsPlaying()) {
    Player().TakePress();
    return;
  }
  if (m_mouseArmed == 0) return;
  KCommandScope command(this);
  const POINT page = ToPage(*this, point);
  LeaveHandleModeOnPress(*this, page);

  bool clearedSelection = false;
  if (SelectionRectShown()) {
    UpdateSelection(kKeep, kKeep, kKeep, kKeep, kSelClear);
    clearedSelection = true;
  }
  if (m_extClicksWanted != 0) {
    OnExtObjPlacementPress(page);
    return;
  }
  if (m_playAwaitStart != 0 || m_playAwaitEnd != 0) return;  // the release marks it
  if (m_lineCount <= 0) return;

  int line = HitDisplayLine(*this, page.y, kNoHit);
  if (line >= m_lineCount) line = m_lineCount - 1;
  int mode = kPressMode;
  int column = kKeep;
  if (page.x >= m_contentLeft) {
    const PressColumn press = ColumnForPress(*this, line, page.x);
    column = press.column;
    m_selAnchorColumn = press.column;
    m_selPixelLeft = m_selPixelRight = press.x;
  } else if (clearedSelection) {
    return;  // a click on the labels first only takes the old selection away
  } else {
    mode = m_rightButton != 0 ? kRightLabelMode : kLabelMode;
  }
  UpdateSelection(column, column, line, line, mode);

  m_mousePoints[0] = point;
  m_leftButtonHeld = 1;
  m_rightButton = 0;
}

void CStavlinView::OnLButtonUp(UINT nFlags, POINT point) {
  m_leftButtonHeld = 0;
  if (m_player != nullptr && m_player->TakeRelease()) return;
  const CaretState saved{m_currentLine, m_caretColumn, m_caretRow, m_currentType};
  if (m_mouseArmed == 0) {
    m_mouseArmed = 1;
    return;
  }
  if (m_extClicksWanted != 0) {
    OnExtObjPlacementRelease();
    return;
  }
  KCommandScope command(this);
  POINT page = ToPage(*this, point);
  if (m_lineCount <= 0) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kNoLinesMessage, MB_OK);
    return;
  }

  int line = HitDisplayLine(*this, page.y, m_lineCount);
  LeaveLine(*this, line);
  if (line >= m_lineCount) {
    line = m_lineCount - 1;
    if (IsNoteLine(m_display[static_cast<size_t>(line)].type)) {
      KLineObj* object = GetDisplayLineObj(line);
      const int spaceBelow = object != nullptr && object->AsListLine() != nullptr
                                 ? object->AsListLine()->GetSpaceBelow(SizeOf(*this))
                                 : 0;
      page.y = m_display[static_cast<size_t>(line)].bottom - spaceBelow;
    }
  }
  EnterLine(*this, line);
  // A line only partly shown under the window's last whole line comes in.
  if (line > GetLastVisible()) ScrollLineIntoView(*this, line);

  PlaceCaretAt(*this, page.x, page.y);
  if (RecordPlayRangeClick(*this, saved)) return;

  if (SelectExtendedObjectAt(page, (nFlags & MK_CONTROL) != 0 ? TRUE : FALSE) != kExtFoundNothing) {
    // The object's line, not the click's, holds the caret; the click's other
    // work waits for the next ordinary release.
    if (m_selectedExtObj != nullptr) MoveToObjectLine(*this, page);
    return;
  }
  DrawCaretLedgerLine();

  if (m_noSymbolEntry == 0) EnterToolboxSymbol(*this);
  m_noSymbolEntry = 0;
  m_rightButton = 0;
  SyncToolboxes(*this);
}
