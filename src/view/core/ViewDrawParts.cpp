// The marks beside the lines and the bar-line heights of joined lines.

#include "view/core/ViewDrawParts.h"

#include <algorithm>

#include "common/ScaledDraw.h"
#include "common/StaffGeometry.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

constexpr int kTrebleStaff = 0;
constexpr int kBassStaff = 1;
constexpr int kTrebleTab = 2;
constexpr int kBassTab = 15;
// Flags of a line's flag word.
constexpr DWORD kFlagShownPair = 0x8;
constexpr DWORD kFlagJoinedBelow = 0x200000;
constexpr DWORD kFlagBarsAligned = 0x100000;
// Lines a bracket's bar lines may reach over.
constexpr int kMaxJoinedLines = 20;

void Stroke(CDC* dc, int x1, int y1, int x2, int y2) {
  ScaledMoveTo(dc, x1, y1);
  ScaledLineTo(dc, x2, y2);
}

bool IsStaff(int type) { return type == kTrebleStaff || type == kBassStaff; }

// The y of the lowest staff line or string of a note line whose top is top.
int LowestLineY(const KListLine& line, int type, int top, int size) {
  const int y = top + line.GetSpaceAbove(size);
  if (KLineObj::FamilyOf(type) != KLineObj::kFamilyTab) return y + 4 * g_StaffLineSpacing[size];
  const int strings = line.GetStringCount();
  const int step = TabStringSpacing(size) + 1;
  // Fewer than six strings start one row lower.
  return strings < 6 ? y + strings * step : y + (strings - 1) * step;
}

// Whether bars of a line of type `from` reach across to a line of type `to`:
// staff to staff, tablature to tablature, and a staff to the tablature of its
// clef or back.
bool BarsReach(int from, int to) {
  if (KLineObj::FamilyOf(from) == KLineObj::FamilyOf(to)) return true;
  return (from == kTrebleStaff && to == kTrebleTab) || (from == kTrebleTab && to == kTrebleStaff) ||
         (from == kBassStaff && to == kBassTab) || (from == kBassTab && to == kBassStaff);
}

}  // namespace

void DrawViewMark(CDC* dc, KViewMark mark, int x, int y) {
  if (dc == nullptr) return;
  switch (mark) {
    case KViewMark::kHiddenLines:
      Stroke(dc, x, y, x + 4, y + 4);
      Stroke(dc, x + 4, y + 4, x + 9, y - 1);
      break;
    case KViewMark::kHiddenLine:
      Stroke(dc, x, y, x + 7, y + 7);
      Stroke(dc, x, y + 6, x + 7, y - 1);
      break;
    case KViewMark::kPlayRangeStart:
      Stroke(dc, x + 4, y, x, y);
      Stroke(dc, x, y, x, y + 23);
      Stroke(dc, x, y + 23, x + 5, y + 23);
      break;
    case KViewMark::kPlayRangeEnd:
      Stroke(dc, x, y, x + 4, y);
      Stroke(dc, x + 4, y, x + 4, y + 23);
      Stroke(dc, x + 4, y + 23, x - 1, y + 23);
      break;
  }
}

int BarLineHeight(const CStavlinView& view, int i, int ownHeight) {
  const int count = view.GetDisplayLineCount();
  const KLineObj* line = view.GetDisplayLineObj(i);
  const KListLine* listLine = line != nullptr ? line->AsListLine() : nullptr;
  if (listLine == nullptr || line->GetGroupId() == KLineObj::kNoGroup) return ownHeight;
  const DisplayLine& here = view.GetDisplayEntry(i);
  const int size = view.GetSizeIndex() != 0 ? 1 : 0;
  const int group = line->GetGroupId();
  const int firstLineY = here.top + listLine->GetSpaceAbove(size);

  int last = -1;
  if (IsStaff(here.type) && line->TestFlags(kFlagJoinedBelow) != 0 && line->TestFlags(kFlagShownPair) == 0) {
    // A keyboard staff: down to the next treble or bass staff of the group.
    for (int j = i + 1; j < count; ++j) {
      const KLineObj* other = view.GetDisplayLineObj(j);
      if (other == nullptr || other->GetGroupId() != group) break;
      if (IsStaff(view.GetDisplayEntry(j).type)) {
        last = j;
        break;
      }
    }
  } else if (KLineObj::IsNoteFamily(KLineObj::FamilyOf(here.type)) &&
             line->TestFlags(kFlagBarsAligned) != 0 && line->GetGroup() != nullptr) {
    // Bracketed lines that keep their bars aligned: over the following lines
    // of the same bracket.
    const KLineGroup* lineGroup = line->GetGroup();
    const int bracket = lineGroup->GetLineBracket(here.line, 0);
    if (bracket != 0) {
      for (int j = i + 1; j < count && j <= i + kMaxJoinedLines; ++j) {
        const KLineObj* other = view.GetDisplayLineObj(j);
        const DisplayLine& entry = view.GetDisplayEntry(j);
        if (other == nullptr || other->GetGroupId() != group ||
            lineGroup->GetLineBracket(entry.line, 0) != bracket)
          break;
        if (BarsReach(here.type, entry.type)) last = j;
      }
    }
  }
  if (last < 0) return ownHeight;
  const KListLine* lastLine = view.GetDisplayLineObj(last)->AsListLine();
  if (lastLine == nullptr) return ownHeight;
  const DisplayLine& lastEntry = view.GetDisplayEntry(last);
  return std::max(LowestLineY(*lastLine, lastEntry.type, lastEntry.top, size) - firstLineY + 1, ownHeight);
}
