// The display-line table: which lines of the score are shown, where each one
// stands on the page, its first bar number, and the scroll size of the whole.
// The walk is one pass over the line list; every line costs a bounded amount
// of work apart from measuring its own content, so the layout is linear in
// the score.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "common/StaffGeometry.h"
#include "common/SharedGdiObjects.h"
#include "common/ViewServices.h"
#include "doc/NewScoreSheetWidth.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "platform/CDC.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLayoutInternal.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kShowAll = 8;
constexpr int kLastShowFlag = 8;  // flags 0..8 are switched on for an empty table
constexpr DWORD kFlagHidden = 2;
constexpr DWORD kFlagOwnLabel = 16;
constexpr DWORD kFlagPageBreak = 4096;
constexpr DWORD kFlagTitle = 32768;

constexpr int kTableStep = 100;
constexpr int kContentInset = 11;
constexpr int kEmptyScrollSize = 100;
constexpr int kStaffExtraHeight[2] = {25, 33};
constexpr int kBottomMarginUnits = 14;
constexpr int kMinScrollHeight = 300;
constexpr int kScrollHeightExtra = 100;
constexpr int kRhythmMinHeight = 21;
constexpr int kRhythmSmallFont = 20;
constexpr int kTextHeightTrim = 3;
// Far taller than any text font; a stored font height beyond it is damage.
constexpr std::int64_t kMaxTextLineHeight = 4096;
constexpr int kDefaultTitleThreshold = 99;
constexpr int kUnsetTitleThreshold = -999;
constexpr int kNoGroupSeen = 10000;
constexpr int kBarsWholeLine = 10000;
constexpr int kBarCountMode = 2000;

bool IsNoteFamily(int family) { return KLineObj::IsNoteFamily(family); }

using LayoutWalk = KLayoutWalk;

int TitleThreshold() {
  const int threshold = g_prefStaffLines3.titleFontThreshold;
  return threshold == kUnsetTitleThreshold ? kDefaultTitleThreshold : threshold;
}

// Whether the line takes part in this layout.
bool IsShown(const CStavlinView& view, const KLineObj& line) {
  if (view.m_show[kShowAll] != 0) return true;
  const int type = line.GetType();
  if (type < 0 || type >= static_cast<int>(view.m_show.size()) || view.m_show[type] == 0) return false;
  return line.TestFlags(kFlagHidden) == 0;
}

// Pixel width of the line's content, measured as it is drawn.
// Held to the widest a line is measured, so that the margins the layout adds
// cannot overflow whatever a stored line holds.
int LineWidth(CStavlinView& view, KLineObj& line, CDC* dc) {
  const int width = dynamic_cast<KStrLine*>(&line) != nullptr
                        ? static_cast<KStrLine&>(line).GetWidth(dc, view.m_textFonts)
                        : line.GetWidth(view.m_sizeIndex, 0, dc, 0);
  return std::clamp(width, 0, KListLine::kMaxWidth);
}

// The widest notation width follows every staff and tablature line.
void TrackWidest(CStavlinView& view, const KLineObj& line, int content, LayoutWalk& walk) {
  if (g_holdWidest != 0) return;
  if (line.GetStaffLength() == 0) {
    view.m_widest = std::max(view.m_widest, content);
  } else if (content > view.m_widest) {
    view.m_widest = line.GetStaffLength();
    walk.fixedLengthSeen = true;
  }
  g_widestNotation = view.m_widest;
}

// A note line without a time signature of its own starts with the one in
// force at the end of the note line before it; from the first such line on,
// every note line takes the carried one and passes its own end on.
void CarryTimeSignature(KListLine& line, LayoutWalk& walk) {
  int beats = 0;
  int ticks = 0;
  line.GetTimeSignatureAt(KListLine::kWholeLineColumn, beats, ticks, 0);
  if (beats != 0 && !walk.carry) return;
  walk.carry = true;
  line.SetTimeSignature(walk.carryBeats, walk.carryTicks, 1);
  line.GetTimeSignatureAt(KListLine::kDeriveColumn, beats, ticks, 0);
  walk.carryBeats = std::abs(beats);
  walk.carryTicks = ticks;
}

// Height of the line below its top and line gap; sets the title flag and the
// page-break code of text lines into the entry.
int LineHeight(CStavlinView& view, KLineObj& line, DisplayLine& entry, LayoutWalk& walk) {
  const int size = view.m_sizeIndex != 0 ? 1 : 0;
  const int family = line.GetFamily();
  KListLine* list = line.AsListLine();
  if (family == KLineObj::kFamilyText) {
    int slot = 0;
    if (const auto* text = dynamic_cast<const KStrLine*>(&line)) slot = text->GetFontIndex();
    if (slot < 0 || slot >= static_cast<int>(view.m_textFonts.size())) slot = 0;
    const LOGFONT& font = view.m_textFonts[static_cast<size_t>(slot)];
    // The heights come from fonts stored in the score, any int at all: they
    // are compared in 64 bits, and the line is at most kMaxTextLineHeight
    // high, so that no stored value overflows the layout.
    const std::int64_t height = font.lfHeight;
    const bool title =
        height > std::int64_t{view.m_baseFontHeight[0]} + TitleThreshold() || font.lfUnderline != 0;
    line.ModifyFlags(kFlagTitle, title ? 1 : 0);
    if (title) walk.restartPending = true;
    if (line.TestFlags(kFlagPageBreak) != 0) {
      entry.extra[CStavlinView::kPageCode] = 2;
      return 1 - g_lineGap;  // the break line is one pixel high, without the gap
    }
    // A font given by character height (negative) is as tall as its magnitude.
    return static_cast<int>(
        std::clamp<std::int64_t>(std::llabs(height) - kTextHeightTrim, 0, kMaxTextLineHeight));
  }
  if (family == KLineObj::kFamilyChord) {
    if (const auto* chords = dynamic_cast<const KChordPicLine*>(&line)) {
      const int diagrams = view.m_chordDiagramsShown != 0 && g_prefChords.showDiagrams != 0 ? 1 : 0;
      return chords->GetLineHeight(diagrams);
    }
  } else if (family == KLineObj::kFamilyTab && list != nullptr) {
    return list->GetSpaceAbove(size) + list->GetSpaceBelow(size) + 5 * view.m_tabSpacing[size] + 1 +
           list->GetMarksRoom(size, view.m_tabSpacing[size]);
  } else if (family == KLineObj::kFamilyStaff && list != nullptr) {
    return list->GetSpaceAbove(size) + list->GetSpaceBelow(size) + kStaffExtraHeight[size];
  } else if (family == KLineObj::kFamilyRhythm) {
    if (const auto* rhythm = dynamic_cast<const KRhythmLine*>(&line)) {
      const int h = rhythm->GetFontHeight(size);
      return h <= kRhythmSmallFont ? kRhythmMinHeight : h + 1;
    }
  }
  const int type = line.GetType();
  return type >= 0 && type < static_cast<int>(view.m_typeHeight.size())
             ? view.m_typeHeight[static_cast<size_t>(type)]
             : 0;
}

// The number of the line's first bar: all lines of a group share it, the next
// group continues after the bars of the first line laid out of this one, a
// title starts the count again (when the preference asks) and a line with its
// own first bar number sets it.
int FirstBar(KListLine& line, LayoutWalk& walk) {
  const int group = line.GetGroupId();
  int field = 0;
  const int own = line.GetLayoutRow();
  if (own != 0) {
    field = own == -1 ? 0 : own;
    walk.restartPending = false;
    walk.base = field - 1;
  } else {
    if (g_prefStaffLines3.resetBarCount != 0 && walk.restartPending) {
      walk.nextStart = 0;
      walk.base = 0;
      walk.restartPending = false;
      walk.lastGroup = kNoGroupSeen;
    }
    if (group != walk.lastGroup) walk.base = walk.nextStart;
    field = walk.base + 1;
  }
  if (group != walk.lastGroup) {
    if (group != KLineObj::kNoGroup) walk.lastGroup = group;
    walk.nextStart = line.CountBars(kBarCountMode, kBarsWholeLine).first + walk.base;
  }
  return field;
}

// Fills entry `index` of the table for one shown line (its top follows the
// entry above); returns the line's right edge.
int LayOutLine(CStavlinView& view, KLineObj& line, POSITION position, CDC* dc, LayoutWalk& walk, int index) {
  DisplayLine& entry = view.m_display[static_cast<size_t>(index)];
  const int type = line.GetType();
  const int family = line.GetFamily();
  KListLine* list = line.AsListLine();
  entry.line = position;
  entry.type = type;
  if (family >= 0 && family <= KLineObj::kFamilyRhythm) view.m_onlyChordsAndText = 0;

  const int right = LineWidth(view, line, dc) + view.m_contentLeft;
  if (IsNoteFamily(family) && list != nullptr) {
    TrackWidest(view, line, right - view.m_contentLeft, walk);
    list->MarkChanged();
    CarryTimeSignature(*list, walk);
  }
  walk.widestRight = std::max(walk.widestRight, right);

  entry.top = index == 0 ? 0 : view.m_display[static_cast<size_t>(index - 1)].bottom + 1;
  entry.extra[CStavlinView::kPageCode] = 0;
  entry.bottom = entry.top + g_lineGap + LineHeight(view, line, entry, walk);

  entry.extra[CStavlinView::kFirstBar] =
      view.m_barNumbersShown != 0 && IsNoteFamily(family) && list != nullptr ? FirstBar(*list, walk) : 0;

  if (family == KLineObj::kFamilyRhythm && list != nullptr && list->GetColumnWidth() < 0)
    list->MeasureSymbols(dc, view.m_sizeIndex);
  return right;
}

// One walk over the line list into the table; false when the table could not
// grow (the walk stopped at the lines that fit).
// The walk state before each line and each line's right edge go into the
// layout cache, for the relayout of a single edited line.
void WalkLines(CStavlinView& view, CDC* dc, LayoutWalk& walk) {
  CStavlinDoc& doc = *view.m_document;
  KLayoutCache& cache = view.m_layoutCache;
  view.m_onlyChordsAndText = 1;
  view.m_lineCount = 0;
  cache.before.clear();
  cache.right.clear();
  cache.fixedLengthLine = false;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const POSITION here = pos;
    KLineObj* line = doc.GetNextLine(pos);
    if (line == nullptr || !IsShown(view, *line)) continue;
    if (view.m_display.size() <= static_cast<size_t>(view.m_lineCount) &&
        view.GrowDisplayTable(kTableStep) == 0)
      return;
    cache.before.push_back(walk);
    cache.right.push_back(LayOutLine(view, *line, here, dc, walk, view.m_lineCount));
    if (KLineObj::IsNoteFamily(line->GetFamily()) && line->GetStaffLength() != 0)
      cache.fixedLengthLine = true;
    ++view.m_lineCount;
    if (static_cast<size_t>(view.m_lineCount) + 1 >= view.m_display.size() &&
        view.GrowDisplayTable(kTableStep) == 0)
      return;
  }
}

// The highest page of the table (a break line carries no page of its own).
int HighestPage(const CStavlinView& view) {
  int pages = 0;
  for (int i = 0; i < view.m_lineCount; ++i)
    pages = std::max(pages, view.m_display[static_cast<size_t>(i)].extra[CStavlinView::kPageCode] / 10);
  return pages;
}

}  // namespace

int view_layout::LayOutLineAt(CStavlinView& view, KLineObj& line, POSITION position, CDC* dc,
                              KLayoutWalk& walk, int index) {
  return LayOutLine(view, line, position, dc, walk, index);
}

bool view_layout::IsShownLine(const CStavlinView& view, const KLineObj& line) { return IsShown(view, line); }

int view_layout::DefaultWidest() { return NewScoreStaffLength(g_defaultLineLength); }

int view_layout::HighestPageOf(const CStavlinView& view) { return HighestPage(view); }

void view_layout::SetScrollSizesFromTable(CStavlinView& view, int widestRight) {
  const int size = view.m_sizeIndex != 0 ? 1 : 0;
  view.m_scrollWidth = std::max(widestRight + 40, view.m_widest + 20);
  const DisplayLine& last = view.m_display[static_cast<size_t>(view.m_lineCount - 1)];
  int height = last.bottom + 20;
  if (IsNoteFamily(KLineObj::FamilyOf(last.type))) height += kBottomMarginUnits * g_StaffStep[size];
  view.m_scrollHeight = std::max(height, kMinScrollHeight) + kScrollHeightExtra;
  if (view.m_host != nullptr)
    view.m_host->SetScrollSizes(SIZE{view.m_scrollWidth, view.m_scrollHeight}, SIZE{330, 10}, SIZE{110, 10});
}

int CStavlinView::RebuildDisplayLines(int flags) {
  m_layoutCache.valid = false;
  if (m_document == nullptr) return 0;
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  if ((flags & 1) != 0) m_document->PropagateTimeSignatures();

  KLayoutInputs inputs = view_layout::CurrentLayoutInputs(*this);
  LayoutWalk walk;
  WalkLines(*this, dc, walk);
  if (m_lineCount == 0) {
    // Nothing shown: show every kind once more before giving up.
    for (int type = 0; type <= kLastShowFlag; ++type) m_show[static_cast<size_t>(type)] = 1;
    inputs = view_layout::CurrentLayoutInputs(*this);
    walk = LayoutWalk();
    WalkLines(*this, dc, walk);
  }
  if (m_lineCount == 0) {
    m_scrollWidth = m_scrollHeight = kEmptyScrollSize;
    g_viewMirrors.lineCount = 0;
    g_viewMirrors.pageCount = 0;
    return 0;
  }
  m_layoutCache.before.push_back(walk);

  if (!walk.fixedLengthSeen && g_holdWidest == 0) {
    m_widest = std::max(m_widest, view_layout::DefaultWidest());
    g_widestNotation = m_widest;
  }
  m_contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + kContentInset;
  view_layout::SetScrollSizesFromTable(*this, walk.widestRight);

  m_document->LayoutLineGroups(
      std::span<const DisplayLine>(m_display.data(), static_cast<size_t>(m_lineCount)), m_sizeIndex,
      m_readOnly);
  CountPages();
  g_viewMirrors.lineCount = m_lineCount;
  g_viewMirrors.pageCount = HighestPage(*this);

  // What a relayout of one edited line starts from.
  inputs.printableWidth = m_printableWidth[0];
  inputs.printableHeight = m_printableHeight[0];
  m_layoutCache.inputs = inputs;
  m_layoutCache.ClearDirty();
  m_layoutCache.valid = true;
  return m_lineCount;
}

int CStavlinView::FindDisplayLine(POSITION position, int start) const {
  if (start < 0) start = 0;
  for (int i = start; i < m_lineCount; ++i) {
    if (m_display[static_cast<size_t>(i)].line == position) return i;
  }
  return -1;
}

int CStavlinView::MeasureLabelWidth() {
  int widest = 0;
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  if (dc != nullptr && m_document != nullptr) {
    CFont* previous = dc->SelectObject(&g_LabelFont);
    const bool showAll = m_show[kShowAll] != 0;
    for (int i = 0; i < m_lineCount; ++i) {
      const KLineObj* line = GetDisplayLineObj(i);
      if (line == nullptr || line->TestFlags(kFlagOwnLabel) != 0) continue;
      if (!showAll && !IsShown(*this, *line)) continue;
      const CString name = line->GetLabelName();
      if (!name.IsEmpty()) widest = std::max(widest, static_cast<int>(dc->GetTextExtent(name.View()).cx));
    }
    if (previous != nullptr) dc->SelectObject(previous);
  }
  m_labelWidth = widest > 0 ? widest + 2 : 0;
  return m_labelWidth;
}
