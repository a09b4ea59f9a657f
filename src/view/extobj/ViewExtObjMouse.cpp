// Extended objects by mouse: the placement clicks of an Insert/Extended
// Object command, the selected object's frame and end handles, selecting an
// object (or opening its link) with a click, and letting it go. The window
// tracks the frame and the handles itself (a rubber band); the view gets the
// rectangle where the drag ended.

#include <algorithm>

#include "model/KExtendedObj.h"
#include "platform/ShellPort.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/extobj/ViewExtObjPartners.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

// How far a placement point may lie above or below the current line.
constexpr int kPlacementReach = 50;
// The left vertical bracket's click stands this far right of its line.
constexpr int kLeftVerticalShift = 5;
constexpr int kLeftVerticalBracket = 23;
constexpr int kBoxBracket = 22;

bool TakesTwoPoints(UINT command) {
  return command == extobj::kDownCurve || command == extobj::kUpCurve || command == extobj::kVLine;
}

bool Equal(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void ClearSelectedObject(CStavlinView& view) {
  extobj::InvalidatePage(view, view.m_extTracker);
  for (const RECT& handle : view.m_extHandles) extobj::InvalidatePage(view, handle);
  view.m_selectedExtObj = nullptr;
  view.m_extTracker = RECT{};
  view.m_extHandles = {};
  view.m_extTwoHandles = 0;
}

}  // namespace

int CStavlinView::HitTestExtTracker(POINT logical) const {
  if (m_selectedExtObj == nullptr) return kExtHitNone;
  if (m_extTwoHandles != 0) {
    const int handle =
        KExtendedObj::HandleAtPoint(CRect(m_extHandles[0]), CRect(m_extHandles[1]), CPoint(logical));
    return handle < 0 ? kExtHitNone : handle + 1;
  }
  const CRect frame(m_extTracker);
  if (frame.IsRectEmpty()) return kExtHitNone;
  return frame.PtInRect(logical) ? kExtHitFrame : kExtHitNone;
}

void CStavlinView::OnExtObjPlacementPress(POINT logical) {
  m_extPressTaken = 0;
  if (m_extClicksWanted <= 0 || m_currentLine < 0 || m_currentLine >= m_lineCount) return;
  const UINT command = m_pendingExtendedObject;
  const bool bracket = command == extobj::kBracket;
  POINT point = logical;
  if (bracket && m_bracketKind == kLeftVerticalBracket) point.x += kLeftVerticalShift;

  // Objects other than the V-line run rightward from their start.
  if (command != extobj::kVLine && point.x <= m_extPoints[0].x) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  // They stay near the current line; a box may reach further down.
  const DisplayLine& entry = m_display[static_cast<size_t>(m_currentLine)];
  const bool box = bracket && m_bracketKind == kBoxBracket;
  if (point.y < entry.top - kPlacementReach || (!box && point.y > entry.bottom + kPlacementReach)) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  m_extPressTaken = 1;

  if (TakesTwoPoints(command)) {
    if (m_extClicksWanted >= 2) {
      // The mid point: marked until the end point arrives.
      m_extPoints[1] = point;
      m_extMarkers |= 2;
      extobj::InvalidatePage(*this, RECT{point.x - 5, point.y - 5, point.x + 5, point.y + 5});
      return;
    }
    m_extPoints[2] = point;
  } else {
    m_extPoints[1] = point;
  }
  for (int i = 0; i < 2; ++i) {
    const POINT& marked = m_extPoints[static_cast<size_t>(i)];
    if ((m_extMarkers & (1 << i)) != 0)
      extobj::InvalidatePage(*this, RECT{marked.x - 5, marked.y - 5, marked.x + 5, marked.y + 5});
  }
  m_extMarkers = 0;
  EditExtendedText();
}

void CStavlinView::OnExtObjPlacementRelease() {
  if (m_extPressTaken != 0 && m_extClicksWanted > 0) --m_extClicksWanted;
  m_extPressTaken = 0;
  if (m_extClicksWanted <= 0) CancelExtObjPlacement();
}

void CStavlinView::CancelExtObjPlacement() {
  const bool wasPlacing = m_pendingExtendedObject != 0 || m_extClicksWanted != 0;
  for (int i = 0; i < 2; ++i) {
    const POINT& marked = m_extPoints[static_cast<size_t>(i)];
    if ((m_extMarkers & (1 << i)) != 0)
      extobj::InvalidatePage(*this, RECT{marked.x - 5, marked.y - 5, marked.x + 5, marked.y + 5});
  }
  m_extMarkers = 0;
  m_extClicksWanted = 0;
  m_extPressTaken = 0;
  m_pendingExtendedObject = 0;
  if (wasPlacing && m_host != nullptr) m_host->SetCursorId(0);
}

BOOL CStavlinView::FinishExtObjFrameDrag(const RECT& newFrame) {
  if (m_selectedExtObj == nullptr || m_extTwoHandles != 0) return FALSE;
  const RECT before = m_extTracker;
  if (Equal(before, newFrame)) return FALSE;
  m_extTracker = newFrame;
  if (DropExtendedObject(before.left, before.top, before.right, before.bottom) == 0) {
    // Refused: the object stays where it was, and so does its frame.
    extobj::InvalidatePage(*this, newFrame);
    if (m_selectedExtObj != nullptr) m_extTracker = before;
    extobj::InvalidatePage(*this, before);
    return FALSE;
  }
  return TRUE;
}

void CStavlinView::FinishExtObjHandleDrag(int handle, const RECT& oldHandle, const RECT& newHandle) {
  if (m_selectedExtObj == nullptr || m_extTwoHandles == 0) return;
  if (handle != kExtHitHandle1 && handle != kExtHitHandle2) return;
  if (oldHandle.left == newHandle.left && oldHandle.top == newHandle.top) return;
  const int line = std::clamp(m_extDisplayLine, 0, std::max(m_lineCount - 1, 0));
  if (GetDisplayLineObj(line) == nullptr) return;
  if (LeaveReadOnlyForEdit() == FALSE) return;

  extobj::RecordObjectUndo(*this, line);
  extobj::InvalidatePage(*this, m_extTracker);
  const auto copies = extobj::FindPartnerCopies(*this, line, *m_selectedExtObj);
  m_selectedExtObj->MoveHandleBy(handle - 1, CPoint(oldHandle.left, oldHandle.top),
                                 CPoint(newHandle.left, newHandle.top), extobj::DrawSize(*this, line));
  extobj::FollowOriginal(copies, *m_selectedExtObj);
  CRect first;
  CRect second;
  extobj::HandleRects(*this, line, *m_selectedExtObj, first, second);
  for (const RECT& old : m_extHandles) extobj::InvalidatePage(*this, old);
  m_extHandles = {first, second};
  m_extTracker = extobj::ScreenRect(*this, line, *m_selectedExtObj);
  UpdateAfterEdit(extobj::ObjectHint(line), 0);
}

void CStavlinView::LeaveExtHandleMode() {
  if (m_selectedExtObj == nullptr || m_extTwoHandles == 0) return;
  const int line = m_extDisplayLine;
  ClearSelectedObject(*this);
  extobj::RedrawObjectLine(*this, line);
}

void CStavlinView::DeselectExtendedObject() {
  if (m_selectedExtObj == nullptr) return;
  const int line = m_extDisplayLine;
  ClearSelectedObject(*this);
  extobj::RedrawObjectLine(*this, line);
}

int CStavlinView::SelectExtendedObjectAt(POINT logical, BOOL ctrlHeld) {
  DeselectExtendedObject();
  if (m_lineCount <= 0) return kExtFoundNothing;
  const int current = std::clamp(m_currentLine, 0, m_lineCount - 1);
  // The current line first, then the lines above and below: an object may
  // be drawn over its neighbours.
  int found = -1;
  KExtendedObj* object = nullptr;
  for (int line : {current, current - 1, current + 1}) {
    if (line < 0 || line >= m_lineCount) continue;
    object = extobj::FindObjectAt(*this, line, logical);
    if (object != nullptr) {
      found = line;
      break;
    }
  }
  if (object == nullptr) return kExtFoundNothing;

  if (ctrlHeld == FALSE && !object->GetLinkTarget().IsEmpty()) {
    OpenLink(object->GetLinkTarget().Str());
    object->SetVisited(1);
    if (m_document != nullptr) m_document->UpdateAllViews(nullptr, kHintLineFrom + 10000 * found);
    return kExtLinkOpened;
  }
  m_selectedExtObj = object;
  m_extDisplayLine = found;
  m_extTwoHandles = 0;
  m_extHandles = {};
  m_extTracker = extobj::ScreenRect(*this, found, *object);
  extobj::InvalidatePage(*this, m_extTracker);
  return kExtSelected;
}
