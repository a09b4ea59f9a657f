// The drop of a dragged extended object: within reach of its own line the
// object is moved or reshaped there; dropped over another line it moves to
// that line (after a question when it came from a staff or tablature line,
// whose playback it may have shaped). One undo step either way.

#include <algorithm>

#include "common/ViewServices.h"
#include "model/KExtendedObj.h"
#include "model/KExtendedObjPlace.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/extobj/ViewExtObjPartners.h"
#include "view/extobj/ViewExtObjSupport.h"

namespace {

constexpr UINT kMsgMoveToNewLine = 8248;
// The reach of a line toward a neighbour that is not a staff or tablature line.
constexpr int kPlainReach = 30;

bool IsNoteLine(const CStavlinView& view, int displayLine) {
  if (displayLine < 0 || displayLine >= view.GetDisplayLineCount()) return false;
  return KLineObj::IsNoteFamily(KLineObj::FamilyOf(view.GetDisplayEntry(displayLine).type));
}

// How far the line's reach extends toward the neighbour display line.
int ReachToward(const CStavlinView& view, int neighbour) {
  return IsNoteLine(view, neighbour) ? g_lineGap : kPlainReach;
}

// The page point where the object's drawing starts (column x plus its offset,
// without the half-column shift; the row's height plus its offset).
POINT ObjectOrigin(const CStavlinView& view, int displayLine, const KExtendedObj& object) {
  const int type = view.GetDisplayEntry(displayLine).type;
  const int size = extobj::DrawSize(view, displayLine);
  const int x = extobj::ObjectX(view, displayLine, object);
  const KAttachmentFrame frame = PlaceAttachment(object, type, x, extobj::DrawTop(view, displayLine), size);
  return POINT{x + ScaleLength(BoundedLength(object.GetOffset().x), size), frame.y};
}

// The display line whose band holds y, searching away from the source.
int FindTargetLine(const CStavlinView& view, int source, long long y, bool upward) {
  const int step = upward ? -1 : 1;
  for (int i = source + step; i >= 0 && i < view.GetDisplayLineCount(); i += step) {
    const DisplayLine& entry = view.GetDisplayEntry(i);
    if (entry.top - g_lineGap <= y && y <= entry.bottom) return i;
  }
  return -1;
}

}  // namespace

int CStavlinView::DropExtendedObject(int oldLeft, int oldTop, int oldRight, int oldBottom) {
  if (m_selectedExtObj == nullptr || m_lineCount <= 0) return 0;
  const int source = std::clamp(m_extDisplayLine, 0, m_lineCount - 1);
  KLineObj* line = GetDisplayLineObj(source);
  if (line == nullptr) return 0;
  KExtendedObj& object = *m_selectedExtObj;
  const RECT before{oldLeft, oldTop, oldRight, oldBottom};
  const RECT after = m_extTracker;
  const DisplayLine& entry = m_display[static_cast<size_t>(source)];

  // The object's centre on the page, moved by the drag.
  const POINT origin = ObjectOrigin(*this, source, object);
  const long long dy = static_cast<long long>(after.top) - before.top;
  const long long centre = origin.y + object.GetSize().cy / 2 + dy;

  const bool inBand = centre >= entry.top - ReachToward(*this, source - 1) &&
                      centre <= entry.bottom + ReachToward(*this, source + 1);
  if (inBand) {
    // A drag the kind refuses (a text box keeps its size) changes nothing.
    KExtendedObj trial(object);
    if (trial.DragTo(before, after) == 0) return 0;
    extobj::RecordObjectUndo(*this, source);
    const auto copies = extobj::FindPartnerCopies(*this, source, object);
    object.DragTo(before, after);
    extobj::FollowOriginal(copies, object);
    extobj::InvalidatePage(*this, before);
    m_extTracker = extobj::ScreenRect(*this, source, object);
    UpdateAfterEdit(extobj::ObjectHint(source), 0);
    return 1;
  }

  if (IsNoteLine(*this, source) &&
      AfxMessageBox(kMsgMoveToNewLine, MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION) != IDYES) {
    return 0;
  }
  const int target = FindTargetLine(*this, source, centre, centre < entry.top - kPlainReach);
  KLineObj* targetLine = target >= 0 ? GetDisplayLineObj(target) : nullptr;
  if (targetLine == nullptr) return 0;

  RecordUndoStep(extobj::kUndoLineToEnd, std::min(source, target), 0, nullptr, 0);
  // The object leaves its line and the partners of that line: its copies go.
  extobj::DeleteCopies(extobj::FindPartnerCopies(*this, source, object));
  line->RemoveAttachment(&object);
  const long long dx = static_cast<long long>(after.left) - before.left;
  const int x = BoundedValue(origin.x + dx - m_contentLeft, -kMaxLinePixel, kMaxLinePixel);
  // The line anchors the object one pixel above the point it is given.
  const int y = BoundedValue(origin.y + dy + 1, -kMaxLinePixel, kMaxLinePixel);
  targetLine->PlaceAttachmentAt(extobj::MeasureDC(*this), &object, x, y, 0, 0,
                                m_display[static_cast<size_t>(target)].top, 0, m_sizeIndex);
  extobj::InvalidatePage(*this, before);
  extobj::InvalidatePage(*this, after);
  m_selectedExtObj = nullptr;
  m_extTracker = RECT{};
  m_extHandles = {};
  m_extTwoHandles = 0;
  UpdateAfterEdit(kHintAll, 1);
  return 1;
}
