// The relayout after an edit of one line: instead of walking the whole score,
// the walk starts again at the edited display line from the state the last
// full layout had there, and stops as soon as what it carries to the next
// line (time signature, bar numbering) is what that line had before. Line
// heights must stay what they were (a typed symbol does not change them), so
// the tops below, the page codes and the line-group brackets stay valid;
// anything else falls back to the full layout. The result is the one
// RebuildDisplayLines gives.

#include <algorithm>
#include <span>
#include <vector>

#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "model/DocServices.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLayoutInternal.h"
#include "view/core/ViewMirrors.h"

POSITION g_relayoutEditedLine = nullptr;
int g_relayoutEditedRange = 0;
std::vector<KLineDamage> g_refreshDamage;
bool g_refreshRepaintOnly = false;

namespace {

constexpr int kContentInset = 11;
constexpr int kStartRightEdge = 400;
constexpr int kWidestSlack = 20;  // what pagination adds to the widest notation width
constexpr int kBreakCode = 2;

// The width pagination gives the line on a sheet, from its right edge.
int SheetWidth(const CStavlinView& view, int family, int right) {
  return KLineObj::IsNoteFamily(family) ? std::max(right, view.m_widest + kWidestSlack) : right;
}

}  // namespace

KLayoutInputs view_layout::CurrentLayoutInputs(const CStavlinView& view) {
  KLayoutInputs in;
  in.document = view.m_document;
  in.sizeIndex = view.m_sizeIndex;
  in.show = view.m_show;
  in.contentLeft = view.m_contentLeft;
  in.barNumbersShown = view.m_barNumbersShown;
  in.chordDiagramsShown = view.m_chordDiagramsShown;
  in.chordDiagramsPreference = g_prefChords.showDiagrams;
  in.tabSpacing[0] = view.m_tabSpacing[0];
  in.tabSpacing[1] = view.m_tabSpacing[1];
  in.typeHeight = view.m_typeHeight;
  for (size_t i = 0; i < view.m_textFonts.size(); ++i) {
    in.fontHeight[i] = view.m_textFonts[i].lfHeight;
    in.fontUnderline[i] = view.m_textFonts[i].lfUnderline;
  }
  in.baseFontHeight = view.m_baseFontHeight[0];
  in.titleThreshold = g_prefStaffLines3.titleFontThreshold;
  in.restartBarsAtTitles = g_prefStaffLines3.resetBarCount;
  in.lineGap = g_lineGap;
  in.holdWidest = g_holdWidest;
  in.defaultLineLength = view_layout::DefaultWidest();
  in.readOnly = view.m_readOnly;
  in.keepGroupsTogether = view.m_keepGroupsTogether;
  in.printScale = view.m_printScale;
  in.printableWidth = view.m_printableWidth[0];
  in.printableHeight = view.m_printableHeight[0];
  return in;
}

bool CStavlinView::RelayoutEditedLine(POSITION edited, int displayLine) {
  KLayoutCache& cache = m_layoutCache;
  const size_t count = static_cast<size_t>(std::max(m_lineCount, 0));
  if (!cache.valid || m_document == nullptr || edited == nullptr || count == 0) return false;
  if (cache.before.size() != count + 1 || cache.right.size() != count || cache.fixedLengthLine) return false;
  if (!(cache.inputs == view_layout::CurrentLayoutInputs(*this)) || g_holdWidest != 0) return false;
  // The labels changed since: every right edge moves.
  if (m_contentLeft != (m_labelsShown != 0 ? m_labelWidth : 0) + kContentInset) return false;

  int index = displayLine;
  if (index < 0 || index >= m_lineCount || m_display[static_cast<size_t>(index)].line != edited)
    index = FindDisplayLine(edited, 0);
  if (index < 0) return false;
  const int first = std::max(std::min(index, cache.dirtyFirst), 0);
  const int last = std::min(std::max(index, cache.dirtyLast), m_lineCount - 1);

  // From here on the table may change; a false answer leaves the rest to the
  // full layout, which rewrites every entry.
  cache.carryChanged.clear();
  cache.pagesMoved = false;
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  const int widestBefore = m_widest;
  KLayoutWalk walk = cache.before[static_cast<size_t>(first)];
  std::vector<KLineGroup*> groups;
  std::vector<std::pair<int, int>> rightsChanged;  // display line, former right edge
  int k = first;
  for (; k < m_lineCount; ++k) {
    const size_t at = static_cast<size_t>(k);
    if (k > last && walk.SameCarry(cache.before[at])) break;
    KLineObj* line = GetDisplayLineObj(k);
    if (line == nullptr || !view_layout::IsShownLine(*this, *line)) return false;
    if (KLineObj::IsNoteFamily(line->GetFamily()) && line->GetStaffLength() != 0) return false;
    const DisplayLine old = m_display[at];
    if (k > first && !walk.SameCarry(cache.before[at])) cache.carryChanged.push_back(k);
    cache.before[at] = walk;
    const int right = view_layout::LayOutLineAt(*this, *line, old.line, dc, walk, k);
    DisplayLine& entry = m_display[at];
    if (entry.top != old.top || entry.bottom != old.bottom || entry.type != old.type) return false;
    const bool breakLine = entry.extra[kPageCode] == kBreakCode;
    if (breakLine != (old.extra[kPageCode] % 10 == kBreakCode)) return false;
    entry.extra[kPageCode] = old.extra[kPageCode];  // the pages stay as they were
    if (right != cache.right[at]) rightsChanged.emplace_back(k, cache.right[at]);
    cache.right[at] = right;
    KLineGroup* group = line->GetGroupId() != KLineObj::kNoGroup ? line->GetGroup() : nullptr;
    if (group != nullptr && std::find(groups.begin(), groups.end(), group) == groups.end())
      groups.push_back(group);
  }
  if (k == m_lineCount) cache.before[count] = walk;

  // What the full layout does after its walk.
  if (!walk.fixedLengthSeen && g_holdWidest == 0) m_widest = std::max(m_widest, view_layout::DefaultWidest());
  g_widestNotation = m_widest;
  int widestRight = kStartRightEdge;
  for (int right : cache.right) widestRight = std::max(widestRight, right);
  view_layout::SetScrollSizesFromTable(*this, widestRight);

  const std::span<const DisplayLine> table(m_display.data(), count);
  const int stringStep = TabStringSpacing(m_sizeIndex);
  for (KLineGroup* group : groups) group->Layout(table, m_sizeIndex, m_readOnly, stringStep);

  // The page codes hang on the heights, which stayed; the sheets of a page
  // row also hang on its widest line, which pagination works out again when
  // a line's width on the sheet changed.
  bool sheetsChanged = m_widest != widestBefore;
  for (const auto& [line, formerRight] : rightsChanged) {
    const int family = KLineObj::FamilyOf(m_display[static_cast<size_t>(line)].type);
    if (SheetWidth(*this, family, formerRight) !=
        SheetWidth(*this, family, cache.right[static_cast<size_t>(line)]))
      sheetsChanged = true;
  }
  // The widest width does not change how any line is drawn (each draws to
  // its own length), only the sheets of pagination.
  if (sheetsChanged) {
    std::vector<int> pagesBefore(count);
    for (size_t i = 0; i < count; ++i) pagesBefore[i] = m_display[i].extra[kPageCode];
    CountPages();
    for (size_t i = 0; i < count && !cache.pagesMoved; ++i)
      cache.pagesMoved = pagesBefore[i] != m_display[i].extra[kPageCode];
  }

  g_viewMirrors.lineCount = m_lineCount;
  g_viewMirrors.pageCount = view_layout::HighestPageOf(*this);
  cache.inputs = view_layout::CurrentLayoutInputs(*this);
  cache.ClearDirty();
  return true;
}
