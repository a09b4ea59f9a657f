// OnUpdate: the update hints that editing code sends through the document
// become scroll sizes and the rectangles of the window to repaint.
//
// Hints (CStavlinView.h): 1 new score; 2 an embedded item; 100000000 +
// 10000 x line + (column + 1) one line from a column; 200000000 + 10000 x line
// that line and everything below it; 300000000 the whole view; 400000000 +
// 100000 x line + 1000 x extra lines a range of lines. Rectangles are worked
// out in page coordinates and handed to the window in client coordinates.

#include <algorithm>
#include <utility>

#include "common/ViewServices.h"
#include "lines/KStrLine.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"

namespace {

constexpr SIZE kPageStep{330, 10};
constexpr SIZE kLineStep{110, 10};
constexpr int kHintClassSize = 100000000;
// A change near a line group: its band is repainted.
constexpr int kClassGroupBand = 5;
// What a changed line repaints below its last reached line, and a change from
// column 0 further still (attachments that hang below the line).
constexpr int kBelowMargin = 50;
constexpr int kColumnZeroMargin = 30;
// What a text line's characters may stray outside its band.
constexpr int kTextMargin = 4;
// The far edges of "everything to the right / below", at least.
constexpr int kFarRight = 30000;
constexpr int kFarBottom = 32000;
// Flag of a staff joined to the staff below it (a keyboard staff).
constexpr DWORD kFlagJoinedBelow = 0x200000;

// The page x from which a display line's drawing changes when its content
// changes from the column on: the column's redraw start on staff and
// tablature lines (a beam or tie begun before it), the character's x on text
// lines, the line's start elsewhere.
int ChangedFromX(CStavlinView& view, int displayLine, int column) {
  if (column <= 0) return 0;
  const DisplayLine& entry = view.GetDisplayEntry(displayLine);
  KLineObj* changed = view.GetDisplayLineObj(displayLine);
  if (changed == nullptr) return 0;
  const int family = KLineObj::FamilyOf(entry.type);
  const int size = view.m_sizeIndex != 0 ? 1 : 0;
  const int indent = changed->GetIndent();
  KListLine* listLine = changed->AsListLine();
  int left = 0;
  if (KLineObj::IsNoteFamily(family) && listLine != nullptr) {
    // The line's own origin: clef area, key signature and indent.
    const int typeWidth = view.m_typeColumnWidth[static_cast<size_t>(std::clamp(entry.type, 0, 16))];
    const int columnWidth = typeWidth > 0 ? typeWidth : (size != 0 ? 22 : 18);
    left = columnWidth * listLine->FindRedrawStart(column) + listLine->GetLeadInWidth(size) + indent +
           view.m_contentLeft;
  } else if (auto* text = dynamic_cast<KStrLine*>(changed)) {
    CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
    left = text->GetXOfColumn(dc, view.m_textFonts, column) + indent + view.m_contentLeft;
  } else if (family != KLineObj::kFamilyRhythm && family != KLineObj::kFamilyChord) {
    left = column + view.m_contentLeft;
  }
  return std::max(left, 0);
}

// The rows a change of a display line from the column on repaints. A text
// line draws its characters inside its own band. A staff or tablature line
// repaints the rows its drawing covered before the change (when the edit
// knew them) and covers now; without the former, from the line `reach`
// lines above to the one `reach` below (notes and their marks reach past
// their line's band). A line of a group repaints the group's band as well
// (columns line up across it, bar lines and brackets cross it).
std::pair<int, int> ChangedRows(CStavlinView& view, int displayLine, int column, const KLineDamage* damage) {
  const int count = view.GetDisplayLineCount();
  const auto entry = [&view, count](int i) -> const DisplayLine& {
    return view.GetDisplayEntry(std::clamp(i, 0, count - 1));
  };
  const KLineObj* line = view.GetDisplayLineObj(displayLine);
  const int family = KLineObj::FamilyOf(entry(displayLine).type);
  if (family == KLineObj::kFamilyText && line != nullptr && line->GetGroupId() == KLineObj::kNoGroup)
    return {entry(displayLine).top - kTextMargin, entry(displayLine).bottom + kTextMargin};
  int top = entry(displayLine).top;
  int bottom = entry(displayLine).bottom;
  const bool knownBefore = damage != nullptr && damage->top <= damage->bottom;
  if (KLineObj::IsNoteFamily(family) && knownBefore) {
    const auto [now, nowBottom] = view.DrawnRows(displayLine, column, true);
    top = std::min({top, now, damage->top});
    bottom = std::max({bottom, nowBottom, damage->bottom});
  } else {
    const int reach = KLineObj::IsNoteFamily(family) ? 2 : 1;
    top = entry(displayLine - reach).top;
    int last = displayLine + reach;
    if (line != nullptr && line->TestFlags(kFlagJoinedBelow) != 0) last = std::max(last, displayLine + 1);
    bottom = entry(last).bottom + kBelowMargin;
  }
  const int group = line != nullptr ? line->GetGroupId() : KLineObj::kNoGroup;
  if (group != KLineObj::kNoGroup) {
    const auto inGroup = [&view, group](int i) {
      const KLineObj* other = view.GetDisplayLineObj(i);
      return other != nullptr && other->GetGroupId() == group;
    };
    int first = displayLine;
    while (first > 0 && inGroup(first - 1)) --first;
    int last = displayLine;
    while (last + 1 < count && inGroup(last + 1)) ++last;
    top = std::min(top, entry(first).top);
    bottom = std::max(bottom, entry(last).bottom);
  }
  return {top, bottom};
}

}  // namespace

// The display lines an update without a relayout names as changed are laid
// out again by the next relayout of an edited line; any other change leaves
// the next relayout to the full layout.
void CStavlinView::NoteEditedRange(int hint) {
  if (hint == 0) return;
  const int hintClass = hint / kHintClassSize;
  const int rest = hint % kHintClassSize;
  if (hintClass == 1) {
    const int line = rest / 10000;
    m_layoutCache.MarkDirty(line - 2, line + 2);
  } else if (hintClass == 4) {
    const int line = rest / 100000;
    m_layoutCache.MarkDirty(line - 2, line + 2 + (rest % 100000) / 1000);
  } else if (hintClass == 2) {
    m_layoutCache.MarkDirty(rest / 10000 - 2, m_lineCount);
  } else {
    m_layoutCache.valid = false;
  }
}

void CStavlinView::InvalidateDamage() {
  const POINT scroll = GetVirtualScrollPosition();
  const RECT client = m_host->GetClientRect();
  const int farRight = std::max(kFarRight, static_cast<int>(scroll.x + client.right));
  const auto invalidate = [&](int displayLine, int column, const KLineDamage* damage) {
    const int left = ChangedFromX(*this, displayLine, column);
    const auto [top, bottom] = ChangedRows(*this, displayLine, column, damage);
    RECT rect{left - scroll.x, top - scroll.y, farRight - scroll.x, bottom - scroll.y};
    m_host->InvalidateRect(&rect, TRUE);
  };
  for (const KLineDamage& damage : g_refreshDamage) {
    const int displayLine = FindDisplayLine(damage.line, 0);
    if (displayLine >= 0) invalidate(displayLine, damage.column, &damage);
  }
  for (int displayLine : m_layoutCache.carryChanged) {
    if (displayLine >= 0 && displayLine < m_lineCount) invalidate(displayLine, 0, nullptr);
  }
}

void CStavlinView::OnUpdate(KDocumentView* /*sender*/, int hint) {
  if (m_host == nullptr) return;
  if (hint == kHintNewScore) {
    m_layoutCache.valid = false;
    m_host->SetScrollSizes(SIZE{100, 100}, kPageStep, kLineStep);
    m_host->InvalidateRect(nullptr, TRUE);
    return;
  }
  // Embedded items do not exist on this platform: nothing to repaint.
  if (hint == kHintItem) return;

  // Whether the edit's own damage list says what to repaint: the lines kept
  // their heights and pages.
  bool damageOnly = !g_refreshDamage.empty();
  if (g_relayout != 0) {
    // An edit of one line lays out that line and what follows from it; any
    // other change lays out the whole score.
    NoteEditedRange(g_relayoutEditedRange);
    const int guess = (hint % kHintClassSize) / 10000;
    if (g_relayoutEditedLine == nullptr || !RelayoutEditedLine(g_relayoutEditedLine, guess)) {
      RebuildDisplayLines(0);
      damageOnly = false;
    } else if (m_layoutCache.pagesMoved) {
      damageOnly = false;
    }
  } else {
    // A repaint that changes nothing in the score keeps what the last layout
    // left for the next relayout of an edited line.
    if (!g_refreshRepaintOnly) NoteEditedRange(hint);
    m_layoutCache.carryChanged.clear();
  }
  m_host->SetScrollSizes(SIZE{m_scrollWidth, m_scrollHeight}, kPageStep, kLineStep);

  // Without display lines there is nothing to look up: repaint the window.
  if (m_lineCount <= 0 || hint < 0) {
    m_host->InvalidateRect(nullptr, TRUE);
    return;
  }

  if (damageOnly) {
    if (m_undoEnabled != 0) RecordUndoStep(8, 0, 0, nullptr, 0);
    InvalidateDamage();
    return;
  }

  int hintClass = hint / kHintClassSize;
  const int rest = hint % kHintClassSize;
  const int line = std::min(hintClass == 4 ? rest / 100000 : rest / 10000, m_lineCount - 1);
  const int column = std::max(hint % 10000 - 1, 0);
  const auto entry = [this](int i) -> const DisplayLine& {
    return m_display[static_cast<size_t>(std::clamp(i, 0, m_lineCount - 1))];
  };
  const auto lineAt = [this](int i) { return GetDisplayLineObj(std::clamp(i, 0, m_lineCount - 1)); };

  // A change two lines below a line group's line may move the whole group.
  if (line > 2) {
    const KLineObj* above = lineAt(line - 2);
    if (above != nullptr && above->GetGroupId() != KLineObj::kNoGroup) hintClass = kClassGroupBand;
  }

  const POINT scroll = GetVirtualScrollPosition();
  const RECT client = m_host->GetClientRect();
  const int farRight = std::max(kFarRight, static_cast<int>(scroll.x + client.right));
  const int farBottom = std::max(kFarBottom, static_cast<int>(scroll.y + client.bottom));

  KLineObj* changed = lineAt(line);
  const int family = KLineObj::FamilyOf(entry(line).type);
  const bool noteLine = KLineObj::IsNoteFamily(family);
  const int reach = noteLine ? 2 : 1;
  RECT rect{0, entry(line - reach).top, farRight, entry(std::min(line + reach, m_lineCount - 1)).bottom};
  bool whole = false;

  switch (hintClass) {
    case 1: {
      if (column == 0) {
        rect.bottom += kColumnZeroMargin;
      } else {
        rect.left = ChangedFromX(*this, line, column);
      }
      if (changed != nullptr && changed->TestFlags(kFlagJoinedBelow) != 0) {
        rect.bottom = entry(std::min(line + 1, m_lineCount - 1)).bottom;
      }
      rect.bottom += kBelowMargin;
      break;
    }
    case 2:
      rect.bottom = farBottom;
      break;
    case 4:
      rect.top = entry(line - 2).top;
      rect.bottom = entry(std::min(line + 2 + (hint % 100000) / 1000, m_lineCount - 1)).bottom + kBelowMargin;
      rect.left = 0;
      break;
    case kClassGroupBand: {
      // The change may move every line of the group above it (aligned
      // columns, brackets, bar lines drawn across its lines): repaint the
      // band from that group's first line to the reach of the change, and on
      // through the group it ends in, not the whole window.
      const int groupAbove = lineAt(line - 2)->GetGroupId();
      int first = line - 2;
      while (first > 0 && lineAt(first - 1) != nullptr && lineAt(first - 1)->GetGroupId() == groupAbove)
        --first;
      int last = std::min(line + reach, m_lineCount - 1);
      const KLineObj* lastLine = lineAt(last);
      const int groupBelow = lastLine != nullptr ? lastLine->GetGroupId() : KLineObj::kNoGroup;
      while (groupBelow != KLineObj::kNoGroup && last + 1 < m_lineCount && lineAt(last + 1) != nullptr &&
             lineAt(last + 1)->GetGroupId() == groupBelow) {
        ++last;
      }
      rect = RECT{0, entry(first).top, farRight, entry(last).bottom + kBelowMargin};
      break;
    }
    default:
      whole = true;
      break;
  }

  // The state after the change, for the undo code's current step (it records
  // nothing when it has none, or for typing in a text line).
  if (m_undoEnabled != 0) RecordUndoStep(8, 0, 0, nullptr, 0);

  if (whole) {
    m_host->InvalidateRect(nullptr, TRUE);
    return;
  }
  rect.left -= scroll.x;
  rect.right -= scroll.x;
  rect.top -= scroll.y;
  rect.bottom -= scroll.y;
  m_host->InvalidateRect(&rect, TRUE);
}
