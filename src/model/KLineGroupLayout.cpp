// The vertical layout of a group over the view's display lines, the update
// hint of a run of its lines, and the drawing of its brackets.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>

#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/StaffGeometry.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"
#include "platform/GdiObjects.h"

namespace {

bool IsNoteType(int type) { return KLineObj::IsNoteFamily(KLineObj::FamilyOf(type)); }
bool IsTabType(int type) { return KLineObj::FamilyOf(type) == KLineObj::kFamilyTab; }

constexpr int kFullTabStrings = 6;
// The curly brace of a grand staff: how far left of the group's edge its
// point reaches, and how far its arms reach back towards the staves.
constexpr int kBracePoint = 9;
constexpr int kBraceArm = 5;
// The percussion staff sits lower in its display line than the other staves.
constexpr int kPercussionTopLift = 6;
constexpr int kPercussionBottomCut[2] = {31, 41};

// Update hints (their class is hint / 100000000).
constexpr int kHintOneLine = 100000000;    // class 1: one display line
constexpr int kHintWholeView = 300000000;  // class 3: everything
constexpr int kHintLineRange = 400000000;  // class 4: a run of display lines
constexpr int kHintClassSize = 100000000;

// The hint of display line d alone, or the whole view when d does not fit it.
int OneLineHint(int d) {
  const long long hint = (5LL * d + 50000) * 2000;
  return hint >= kHintOneLine && hint < kHintOneLine + kHintClassSize ? static_cast<int>(hint)
                                                                      : kHintWholeView;
}

// The bracket hook symbols and the hook stroke length.
constexpr int kHookFamily = 2;
constexpr int kHookTop = 0;
constexpr int kHookBottom = 1;
constexpr int kHookHeight = 5;
constexpr int kGroupBracketArm = 3;
// Width of the bracket pen on the device path at 100 percent print size.
constexpr int kDevicePenWidth = 6;

}  // namespace

KShownLines::KShownLines(std::span<const DisplayLine> lines) : m_lines(lines) {
  m_first.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) m_first.try_emplace(lines[i].line, i);
}

const DisplayLine* KShownLines::Find(POSITION line) const {
  const auto found = m_first.find(line);
  return found == m_first.end() ? nullptr : &m_lines[found->second];
}

void KLineGroup::Layout(std::span<const DisplayLine> lines, int sizeIndex, int noteLinesOnly,
                        int stringStep) {
  LayoutWith(
      [lines](POSITION line) -> const DisplayLine* {
        for (const DisplayLine& shown : lines)
          if (shown.line == line) return &shown;
        return nullptr;
      },
      sizeIndex, noteLinesOnly, stringStep);
}

void KLineGroup::Layout(const KShownLines& shown, int sizeIndex, int noteLinesOnly, int stringStep) {
  LayoutWith([&shown](POSITION line) { return shown.Find(line); }, sizeIndex, noteLinesOnly, stringStep);
}

void KLineGroup::LayoutWith(const std::function<const DisplayLine*(POSITION)>& find, int sizeIndex,
                            int noteLinesOnly, int stringStep) {
  const int size = sizeIndex != 0 ? 1 : 0;
  m_bracketCount = std::popcount(static_cast<unsigned>(BracketsInUse()));
  m_bracketTop[0] = m_bracketBottom[0] = 0;
  for (int k = 1; k <= kMaxBracket; ++k) m_bracketTop[k] = m_bracketBottom[k] = -1;

  // Each slot with the first display line that shows its line, in slot order.
  struct Match {
    int slot;
    const DisplayLine* shown;
  };
  Match matches[kMaxSlots];
  int matched = 0;
  for (int i = 0; i < m_count; ++i) {
    if (m_slots[i].lineRef == nullptr) continue;
    if (const DisplayLine* shown = find(m_slots[i].lineRef)) matches[matched++] = Match{i, shown};
  }
  if (matched == 0) return;

  // First and last match of entry 0 (the whole group) and of bracket numbers 1..4.
  int first[kMaxBracket + 1] = {0, -1, -1, -1, -1};
  int last[kMaxBracket + 1] = {matched - 1, -1, -1, -1, -1};
  int firstNote = -1;
  int lastNote = -1;
  for (int m = 0; m < matched; ++m) {
    const Slot& slot = m_slots[matches[m].slot];
    if (IsNoteType(slot.type)) {
      if (firstNote < 0) firstNote = m;
      lastNote = m;
    }
    const int k = slot.bracket;
    if (k < 1 || k > kMaxBracket) continue;
    if (first[k] < 0) {
      m_bracketTop[k] = matches[m].shown->top;
      first[k] = m;
    }
    m_bracketBottom[k] = matches[m].shown->bottom - g_lineGap;
    last[k] = m;
  }
  if (noteLinesOnly != 0 && firstNote >= 0) {
    first[0] = firstNote;
    last[0] = lastNote;
  }
  m_bracketTop[0] = matches[first[0]].shown->top;
  m_bracketBottom[0] = matches[last[0]].shown->bottom - g_lineGap - 1;
  m_top = m_bracketTop[0];
  m_bottom = m_bracketBottom[0] + g_lineGap;

  const auto lineOf = [&](int m) -> const KListLine* {
    const KLineObj* line = m_slots[matches[m].slot].line;
    return line != nullptr ? line->AsListLine() : nullptr;
  };
  const auto stringsOf = [&](int m) {
    const KListLine* line = lineOf(m);
    return line != nullptr ? line->GetStringCount() : kFullTabStrings;
  };
  const auto typeOf = [&](int m) { return m_slots[matches[m].slot].type; };

  // A tablature line of few strings draws its top string lower and its bottom
  // string higher in its display line.
  if (IsTabType(typeOf(first[0])) && stringsOf(first[0]) < kFullTabStrings) m_bracketTop[0] += stringStep;
  if (IsTabType(typeOf(last[0])) && stringsOf(last[0]) < 5)
    m_bracketBottom[0] -= (5 - stringsOf(last[0])) * stringStep;

  // The braces of grand-staff pairs: from the upper staff's top line to the
  // lower staff's bottom line, both shown.
  m_braceCount = 0;
  for (int m = 0; m < matched && m_braceCount < kMaxBraces; ++m) {
    const int upper = matches[m].slot;
    const int offset = m_slots[upper].partner % 100;
    if (m_slots[upper].partner <= 0 || offset <= 0) continue;
    for (int n = m + 1; n < matched; ++n) {
      if (matches[n].slot != upper + offset) continue;
      const KListLine* top = lineOf(m);
      const KListLine* bottom = lineOf(n);
      if (top == nullptr || bottom == nullptr) break;
      const int staffTop = matches[m].shown->top + top->GetSpaceAbove(sizeIndex);
      const int staffBottom = matches[n].shown->top + bottom->GetSpaceAbove(sizeIndex) + 4 * g_StaffLineSpacing[size];
      m_braces[m_braceCount++] = {staffTop, staffBottom};
      break;
    }
  }

  // From the display lines' edges to the staves' edges.
  for (int k = 0; k <= kMaxBracket; ++k) {
    if (m_bracketTop[k] < 0 || first[k] < 0) continue;
    const int top = first[k];
    if (IsNoteType(typeOf(top))) {
      if (const KListLine* line = lineOf(top)) m_bracketTop[k] += line->GetSpaceAbove(sizeIndex);
      if (typeOf(top) == KLineObj::kKindPercussion) m_bracketTop[k] -= kPercussionTopLift;
      if (k > 0 && IsTabType(typeOf(top)) && stringsOf(top) < kFullTabStrings) m_bracketTop[k] += stringStep;
    }
    const int bottom = last[k];
    if (IsNoteType(typeOf(bottom))) {
      if (const KListLine* line = lineOf(bottom))
        m_bracketBottom[k] -= line->GetSpaceBelow(sizeIndex) + line->GetMarksRoom(sizeIndex, stringStep);
      if (typeOf(bottom) == KLineObj::kKindPercussion) m_bracketBottom[k] -= kPercussionBottomCut[size];
      if (k > 0 && IsTabType(typeOf(bottom))) {
        const int strings = stringsOf(bottom);
        if (strings > kFullTabStrings) {
          m_bracketBottom[k] += (strings - kFullTabStrings) * stringStep;
        } else if (strings <= 4) {
          m_bracketBottom[k] -= (5 - strings) * stringStep;
        }
      }
    }
  }
}

int KLineGroup::EncodeLineRange(int d, int value, std::span<const DisplayLine> lines) const {
  const int shown = static_cast<int>(std::min<std::size_t>(lines.size(), INT32_MAX));
  if (d < 0 || d >= shown) return OneLineHint(d);
  const int slot = FindSlot(lines[d].line);
  // A line outside the group is judged by slot 0; it has no run of its own.
  const Slot& judged = m_slots[slot >= 0 ? slot : 0];
  if (!IsNoteType(judged.type) && judged.bracket == 0) return OneLineHint(d);
  if (slot < 0) return OneLineHint(d);

  // Back to the first display line of the run of the group's lines.
  int d0 = d;
  int s0 = slot;
  while (d0 > 0) {
    const int previous = FindSlot(lines[d0 - 1].line);
    if (previous < 0 || previous >= s0) break;
    --d0;
    s0 = previous;
  }
  // Forward over the run: its first and last note lines.
  int firstNote = -1;
  int lastNote = -1;
  int previousSlot = -1;
  for (int i = d0; i < shown && i - d0 < m_count; ++i) {
    const int s = FindSlot(lines[i].line);
    if (s < 0 || s <= previousSlot) break;
    previousSlot = s;
    if (IsNoteType(lines[i].type)) {
      if (firstNote < 0) firstNote = i;
      lastNote = i;
    }
  }
  if (firstNote < 0 || lastNote == firstNote) return OneLineHint(d);

  const long long column = value < 1001 ? value : 0;
  const long long hint = column + (lastNote + firstNote * 99LL + 400000) * 1000;
  return hint >= kHintLineRange && hint < kHintLineRange + kHintClassSize ? static_cast<int>(hint)
                                                                          : kHintWholeView;
}

namespace {

// A curly brace left of x0 from top to bottom: each half leaves its end at
// the staff's edge, bends out to the arm, runs down the arm and curls into
// the point at the middle. Three strokes side by side make the arms heavier
// in their middle and thin towards the ends and the point.
void DrawBrace(CDC* dc, int x0, int top, int bottom) {
  if (bottom <= top) return;
  constexpr int kSegments = 12;
  constexpr int kStrokes = 3;
  const int tip = x0 - kBracePoint;
  const double arm = kBraceArm;        // the arm's distance right of the point
  const double end = kBracePoint - 1;  // the ends' distance right of the point
  const int middle = top + (bottom - top) / 2;
  for (int half = 0; half < 2; ++half) {
    const int from = half == 0 ? top : bottom;
    for (int stroke = 0; stroke < kStrokes; ++stroke) {
      for (int i = 0; i <= kSegments; ++i) {
        // s runs from the end (0) to the point (1).
        const double s = static_cast<double>(i) / kSegments;
        const double toPoint = 1.0 - std::pow(s, 6);
        const double toEnd = std::pow(1.0 - s, 6);
        const double dx = arm * toPoint + (end - arm) * toEnd;
        const double weight = std::sin(3.14159265358979 * s) * (kStrokes - 1);
        const int x = tip + static_cast<int>(std::lround(dx)) + std::min(stroke, static_cast<int>(weight));
        const int y = from + static_cast<int>(std::lround((middle - from) * s));
        if (i == 0) {
          ScaledMoveTo(dc, x, y);
        } else {
          ScaledLineTo(dc, x, y);
        }
      }
    }
  }
}

}  // namespace

void KLineGroup::DrawBracket(CDC* dc, int x, int drawBrackets, int yOffset) const {
  if (dc == nullptr) return;
  const int x0 = m_indent + x;
  const int top = m_bracketTop[0] + yOffset;
  const int bottom = m_bracketBottom[0] + yOffset;
  ScaledMoveTo(dc, x0 + kGroupBracketArm, top);
  ScaledLineTo(dc, x0, top);
  ScaledLineTo(dc, x0, bottom);
  ScaledLineTo(dc, x0 + kGroupBracketArm, bottom);

  CPen pen;
  CPen* previous = nullptr;
  if (UsesDevicePath(dc)) {
    const long long width = static_cast<long long>(kDevicePenWidth) * g_printSizePct / 100;
    if (!pen.CreatePen(PS_SOLID, static_cast<int>(std::clamp<long long>(width, 0, INT32_MAX)),
                       RGB(0, 0, 0))) {
      ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, "OC2-6");
      return;
    }
    previous = dc->SelectObject(&pen);
  }

  for (int b = 0; b < m_braceCount; ++b)
    DrawBrace(dc, x0, m_braces[b].first + yOffset, m_braces[b].second + yOffset);

  if (drawBrackets != 0) {
    for (int k = 1; k <= kMaxBracket; ++k) {
      if (m_bracketTop[k] < 0) continue;
      const int kTop = m_bracketTop[k] + yOffset;
      const int kBottom = m_bracketBottom[k] + yOffset;
      LoadSymbolBitmap(dc, kHookFamily, kHookTop, x0 - 3, kTop - kHookHeight, 100, 100, SRCAND);
      LoadSymbolBitmap(dc, kHookFamily, kHookBottom, x0 - 3, kBottom, 100, 100, SRCAND);
      for (int stroke : {x0 - 2, x0 - 3}) {
        ScaledMoveTo(dc, stroke, kTop);
        ScaledLineTo(dc, stroke, kBottom);
      }
    }
  }

  if (UsesDevicePath(dc)) {
    // The pen goes out of scope here: the device context must not keep it.
    if (previous != nullptr) {
      dc->SelectObject(previous);
    } else {
      dc->SelectStockObject(BLACK_PEN);
    }
  }
}
