#include "common/StaffGeometry.h"
#include "view/extobj/ViewExtObjSupport.h"

#include <algorithm>

#include "common/Globals.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/DocServices.h"
#include "model/KExtendedObj.h"
#include "model/KExtendedObjPlace.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/edit/ViewTailJoin.h"

namespace extobj {

namespace {

// Text-line objects store their pixel x plus this as their column.
constexpr int kTextColumnBase = 10000;
// The tablature row the origin counts from (a staff's is g_StaffOriginRow).
constexpr int kTabOriginRow = 2;
// The placement start stands this far below the top of other lines.
constexpr int kRhythmStartDrop = 5;
constexpr int kTextStartDrop = 2;

int SizeOf(const CStavlinView& view) { return view.GetSizeIndex() != 0 ? 1 : 0; }

int Bounded(long long value) { return BoundedValue(value, -kMaxLinePixel, kMaxLinePixel); }

const DisplayLine* EntryAt(const CStavlinView& view, int displayLine) {
  if (displayLine < 0 || displayLine >= view.GetDisplayLineCount()) return nullptr;
  return &view.GetDisplayEntry(displayLine);
}

// The x of the line's own left: content left and indent, plus the clef and
// key of a note line.
int LineLeft(const CStavlinView& view, int displayLine) { return viewgeom::LineLeftX(view, displayLine); }

// The line holds a tuplet bracket at the bracket's column.
bool HoldsBracketAt(KLineObj& line, const KExtendedObj& tuplet) {
  const CObList* attachments = line.GetAttachments();
  if (attachments == nullptr) return false;
  for (POSITION at = attachments->GetHeadPosition(); at != nullptr;) {
    const auto* object = static_cast<const KExtendedObj*>(attachments->GetNext(at));
    if (object->GetKind() == tuplet.GetKind() && object->GetPos() == tuplet.GetPos()) return true;
  }
  return false;
}

}  // namespace

CDC* MeasureDC(const CStavlinView& view) {
  return view.Host() != nullptr ? view.Host()->GetMeasureDC() : nullptr;
}

int DrawSize(const CStavlinView& view, int displayLine) {
  return viewgeom::FamilyAt(view, displayLine) == KLineObj::kFamilyText ? 0 : SizeOf(view);
}

int DrawTop(const CStavlinView& view, int displayLine) {
  const DisplayLine* entry = EntryAt(view, displayLine);
  if (entry == nullptr) return 0;
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list != nullptr && KLineObj::IsNoteFamily(line->GetFamily()))
    return Bounded(static_cast<long long>(entry->top) + list->GetSpaceAbove(SizeOf(view)));
  return entry->top;
}

int ObjectX(const CStavlinView& view, int displayLine, const KExtendedObj& object) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return view.m_contentLeft;
  const int size = SizeOf(view);
  const long long pos = object.GetPos();
  switch (line->GetFamily()) {
    case KLineObj::kFamilyStaff:
    case KLineObj::kFamilyTab:
      return Bounded(LineLeft(view, displayLine) + pos * g_NoteColumnWidth[size]);
    case KLineObj::kFamilyRhythm: {
      auto* rhythm = dynamic_cast<KRhythmLine*>(line);
      const long long x = rhythm != nullptr ? rhythm->GetColumnX(MeasureDC(view), object.GetPos(), size) : 0;
      return Bounded(LineLeft(view, displayLine) + x);
    }
    case KLineObj::kFamilyText:
      return Bounded(LineLeft(view, displayLine) +
                     (pos < kTextColumnBase ? pos * 18 : pos - kTextColumnBase));
    default:
      return Bounded(LineLeft(view, displayLine) + pos * KListLine::kChordColumnWidth[size]);
  }
}

CRect ScreenRect(const CStavlinView& view, int displayLine, KExtendedObj& object) {
  CRect rect;
  const DisplayLine* entry = EntryAt(view, displayLine);
  if (entry == nullptr) return rect;
  object.GetScreenRect(rect, MeasureDC(view), entry->type, ObjectX(view, displayLine, object),
                       DrawTop(view, displayLine), DrawSize(view, displayLine));
  return rect;
}

bool HandleRects(const CStavlinView& view, int displayLine, KExtendedObj& object, CRect& first,
                 CRect& second) {
  const DisplayLine* entry = EntryAt(view, displayLine);
  if (entry == nullptr) return false;
  return object.HitTestHandle(first, second, entry->type, DrawTop(view, displayLine),
                              ObjectX(view, displayLine, object), DrawSize(view, displayLine)) != 0;
}

KExtendedObj* FindObjectAt(const CStavlinView& view, int displayLine, POINT point) {
  const DisplayLine* entry = EntryAt(view, displayLine);
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (entry == nullptr || line == nullptr) return nullptr;
  CDC* dc = MeasureDC(view);
  const int size = SizeOf(view);
  const int x = Bounded(static_cast<long long>(point.x) - LineLeft(view, displayLine));
  const int y = static_cast<int>(point.y);
  if (auto* text = dynamic_cast<KStrLine*>(line)) return text->FindAttachmentAtPoint(dc, x, y, entry->top);
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(line))
    return rhythm->FindAttachmentAtPoint(dc, x, y, entry->top, size);
  const int columnWidth = KLineObj::IsNoteFamily(line->GetFamily()) ? g_NoteColumnWidth[size]
                                                                    : KListLine::kChordColumnWidth[size];
  return line->HitTestAttachment(x, y, columnWidth, dc, entry->top, size);
}

void RecordObjectUndo(CStavlinView& view, int displayLine) {
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  const int group = line != nullptr ? line->GetGroupId() : KLineObj::kNoGroup;
  if (group != KLineObj::kNoGroup) {
    view.RecordUndoStep(kUndoGroup, group, 0, nullptr, 0);
  } else {
    view.RecordUndoStep(kUndoLine, displayLine, 0, nullptr, 0);
  }
}

void InvalidatePage(CStavlinView& view, const RECT& page) {
  constexpr int kMargin = 4;
  if (view.Host() == nullptr || page.right < page.left || page.bottom < page.top) return;
  const POINT scroll = view.GetVirtualScrollPosition();
  const RECT client{page.left - scroll.x - kMargin, page.top - scroll.y - kMargin,
                    page.right - scroll.x + kMargin, page.bottom - scroll.y + kMargin};
  view.Host()->InvalidateRect(&client, TRUE);
}

int ObjectHint(int displayLine) {
  return CStavlinView::kHintRange + 30000 + 100000 * std::max(displayLine - 1, 0);
}

void RedrawObjectLine(CStavlinView& view, int displayLine) {
  CStavlinDoc* doc = view.GetDocument();
  if (doc == nullptr) return;
  const int saved = g_noModify;
  g_noModify = 1;
  doc->UpdateAllViews(nullptr, ObjectHint(displayLine));
  g_noModify = saved;
}

int CaretColumnX(const CStavlinView& view) {
  KLineObj* line = view.GetDisplayLineObj(view.GetCurrentLine());
  const int size = SizeOf(view);
  CDC* dc = MeasureDC(view);
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(line))
    return rhythm->GetColumnX(dc, view.GetCaretColumn(), size);
  if (auto* text = dynamic_cast<KStrLine*>(line)) {
    return dc != nullptr
               ? text->GetXOfColumn(dc, const_cast<CStavlinView&>(view).m_textFonts, view.GetCaretColumn())
               : 0;
  }
  const int width = viewgeom::ColumnWidth(view, view.GetCurrentType());
  return Bounded(static_cast<long long>(view.GetCaretColumn()) * width + width / 2);
}

POINT PlacementStart(const CStavlinView& view) {
  const int current = view.GetCurrentLine();
  const DisplayLine* entry = EntryAt(view, current);
  if (entry == nullptr) return POINT{0, 0};
  KLineObj* line = view.GetDisplayLineObj(current);
  const int size = SizeOf(view);
  long long x = LineLeft(view, current) + CaretColumnX(view);
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) x += rhythm->GetFontHeight(size) / 5;
  long long y = entry->top;
  const int row = view.GetCaretRow();
  switch (KLineObj::FamilyOf(view.GetCurrentType())) {
    case KLineObj::kFamilyStaff:
      y = DrawTop(view, current) + static_cast<long long>(row - g_StaffOriginRow) * g_StaffStep[size];
      if (view.GetCurrentType() == KLineObj::kKindPercussion) y -= g_PercussionRaise * g_StaffStep[size];
      break;
    case KLineObj::kFamilyTab:
      y = DrawTop(view, current) +
          static_cast<long long>(TabStringSpacing(size) + 1) * (row - kTabOriginRow) - 2;
      break;
    case KLineObj::kFamilyText:
      y += kTextStartDrop;
      break;
    default:
      y += kRhythmStartDrop;
      break;
  }
  return POINT{Bounded(x), Bounded(y)};
}

void RegroupTupletBeams(CStavlinView& view, int displayLine, const KExtendedObj& tuplet) {
  if (displayLine < 0 || displayLine >= view.GetDisplayLineCount()) return;
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return;
  const int first = tuplet.GetPos();
  const int last = first + std::max(static_cast<int>(tuplet.GetSize().cx), 0) / g_NoteColumnWidth[0];
  const int group = line->GetGroupId();
  for (int i = 0; i < view.GetDisplayLineCount(); ++i) {
    KLineObj* other = view.GetDisplayLineObj(i);
    if (other == nullptr) continue;
    // A partner took a copy of the bracket when the bracket was attached.
    const bool partner = group != KLineObj::kNoGroup && other->GetGroupId() == group &&
                         KLineObj::IsNoteFamily(other->GetFamily()) && HoldsBracketAt(*other, tuplet);
    if (other != line && !partner) continue;
    KListLine* list = other->AsListLine();
    if (list == nullptr) continue;
    // Without automatic beaming the tuplet's own notes are joined.
    if (view.m_autoJoin != 0) {
      list->RegroupBeamsByBeat(first, last, view.m_autoJoin, view.GetSizeIndex());
    } else {
      viewnotes::JoinTailsInRange(*list, first, last + 1, view.GetSizeIndex(), viewnotes::kJoin);
    }
  }
}

}  // namespace extobj
