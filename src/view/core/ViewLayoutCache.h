#pragma once
// What a full layout of the display-line table leaves behind so that an edit
// of one line can be laid out again without walking the whole score: the
// running state of the layout walk before every display line, each line's
// right edge, the inputs the walk depended on, and the display lines whose
// content changed since (edits refreshed without a relayout).

#include <array>
#include <climits>
#include <vector>

#include "platform/Position.h"

// The running state of one walk over the line list: the time signature
// carried from note line to note line, the bar numbering, and the widths.
struct KLayoutWalk {
  bool carry = false;
  int carryBeats = 4;
  int carryTicks = 480;
  bool restartPending = true;
  int base = 0;
  int nextStart = 0;
  int lastGroup = 10000;
  int widestRight = 400;
  bool fixedLengthSeen = false;

  // What the lines after this point depend on (the widths only feed the
  // scroll size, which is worked out from every line's right edge).
  bool SameCarry(const KLayoutWalk& other) const {
    return carry == other.carry && carryBeats == other.carryBeats && carryTicks == other.carryTicks &&
           restartPending == other.restartPending && base == other.base && nextStart == other.nextStart &&
           lastGroup == other.lastGroup && fixedLengthSeen == other.fixedLengthSeen;
  }
};

// The view settings and program-wide values a layout reads besides the lines.
struct KLayoutInputs {
  const void* document = nullptr;
  int sizeIndex = 0;
  std::array<int, 19> show{};
  int contentLeft = 0;
  int barNumbersShown = 0;
  int chordDiagramsShown = 0;
  int chordDiagramsPreference = 0;
  int tabSpacing[2] = {0, 0};
  std::array<int, 17> typeHeight{};
  std::array<int, 41> fontHeight{};
  std::array<int, 41> fontUnderline{};
  int baseFontHeight = 0;
  int titleThreshold = 0;
  int restartBarsAtTitles = 0;
  int lineGap = 0;
  int holdWidest = 0;
  int defaultLineLength = 0;
  int readOnly = 0;
  int keepGroupsTogether = 0;
  int printScale = 0;
  int printableWidth = 0;
  int printableHeight = 0;

  bool operator==(const KLayoutInputs& other) const = default;
};

struct KLayoutCache {
  bool valid = false;
  KLayoutInputs inputs;
  // before[i]: the walk state before display line i; before[count]: after
  // the last line.
  std::vector<KLayoutWalk> before;
  std::vector<int> right;  // right edge of each display line
  // Whether any shown note line has a fixed staff length (its widest-width
  // rule depends on the order of the walk).
  bool fixedLengthLine = false;
  // Display lines edited since the last layout without a relayout.
  int dirtyFirst = INT_MAX;
  int dirtyLast = -1;
  // What the last relayout of an edited line changed besides the edited
  // lines: the display lines it laid out with another time signature or bar
  // count carried in (their drawing may differ anywhere), and whether any
  // line moved to another page.
  std::vector<int> carryChanged;
  bool pagesMoved = false;

  void MarkDirty(int first, int last) {
    if (first < dirtyFirst) dirtyFirst = first;
    if (last > dirtyLast) dirtyLast = last;
  }
  void ClearDirty() {
    dirtyFirst = INT_MAX;
    dirtyLast = -1;
  }
};

// Program-wide, set by typed entry around the refresh that asks for a
// relayout: the line whose content the entry changed, so that each view lays
// out that line (and what follows from it) instead of the whole score; null
// asks for a full layout. The entry's own range hint (a 400000000 hint: the
// lines of a line group it changed with the line), or 0 when the entry
// changed that line alone.
extern POSITION g_relayoutEditedLine;
extern int g_relayoutEditedRange;

// Program-wide, set around a refresh by an edit that knows where it changed
// each line: the line, and the first column whose drawing may differ (0: the
// whole line). A refresh that needs no relayout, or whose relayout of the
// edited lines kept every line's height and page, repaints those lines from
// those columns on (with the lines their relayout carried a change to), and
// nothing else. Empty: the update hint alone says what to repaint.
// Program-wide, set around an update that only repaints the views (a scroll
// past the large-offset limit, a scroll bar's page): the score did not
// change, so the layouts stay valid.
extern bool g_refreshRepaintOnly;

struct KLineDamage {
  POSITION line = nullptr;
  int column = 0;
  // The page rows the line's drawing covered before the change
  // (CStavlinView::DrawnRows); top > bottom when they are not known.
  int top = 1;
  int bottom = 0;
};
extern std::vector<KLineDamage> g_refreshDamage;
