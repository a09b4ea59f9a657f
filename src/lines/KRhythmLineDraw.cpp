// KRhythmLine: measuring the items in the line's font, converting between
// caret columns and pixels, finding the attachment under the mouse, and
// drawing the items with the beams of linked symbol runs.

#include <algorithm>
#include <string_view>

#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/SymbolCache.h"
#include "common/ViewServices.h"
#include "lines/KRhythmLine.h"
#include "model/KExtendedObj.h"
#include "model/KRhythmObj.h"
#include "platform/CDC.h"
#include "platform/GdiConstants.h"

namespace {
constexpr int kSymbolWidth = 9;
constexpr int kDoubleSymbolWidth = 18;
constexpr int kFirstDoubleCode = 223;
constexpr int kLastDoubleCode = 249;
constexpr int kLastFlaggedCode = 238;
constexpr int kDotIndex = 22;
constexpr int kSymbolFamily = 5;
constexpr int kMaxBeams = 4;
constexpr int kBeamSpacing = 3;
constexpr int kBeamStub = 9;
constexpr int kBeamStemX = 8;
constexpr int kDotPull = 7;
constexpr int kDotReach = 22;
constexpr int kTextDrop = 5;
constexpr int kMaxCharsForClick = 100;

int SymbolWidth(int code) {
  return code >= kFirstDoubleCode && code <= kLastDoubleCode ? kDoubleSymbolWidth : kSymbolWidth;
}

bool IsText(const KRhythmObj& item) {
  return item.GetCode() < KRhythmObj::kFirstSymbolCode || !item.GetText().IsEmpty();
}

int Extent(CDC* dc, const CString& text, int count) {
  if (dc == nullptr || count <= 0) return 0;
  const std::string_view view = text.View();
  return dc->GetTextExtent(view.substr(0, std::min<std::size_t>(view.size(), count))).cx;
}

KRhythmObj* ItemAt(CObList& list, POSITION& node) { return static_cast<KRhythmObj*>(list.GetNext(node)); }
}  // namespace

void KRhythmLine::MeasureSymbols(CDC* dc, int fontIndex) {
  if (dc == nullptr) return;
  CFont* previous = dc->SelectObject(GetFont(fontIndex));
  m_columnWidth = dc->GetTextExtent(std::string_view("          ")).cx / 10;
  int x = 0;
  int end = 0;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    KRhythmObj* item = ItemAt(m_objects, node);
    if (item->GetPos() < x && !m_keepStoredPlaces) item->SetPos(x);
    x = item->GetPos();
    const int width = IsText(*item) ? Extent(dc, item->GetText(), item->GetText().GetLength())
                                    : SymbolWidth(item->GetCode());
    item->SetWidth(width);
    x += width;
    end = std::max(end, x);
  }
  m_measuredEnd = end;
  if (previous != nullptr) dc->SelectObject(previous);
  MarkChanged();
}

int KRhythmLine::GetColumnX(CDC* dc, int column, int fontIndex) {
  if (m_columnWidth == -1) MeasureSymbols(dc, fontIndex);
  const int unit = std::max(1, m_columnWidth);
  column = std::max(0, column);
  int c = 0;
  int end = 0;
  CFont* previous = dc != nullptr ? dc->SelectObject(GetFont(fontIndex)) : nullptr;
  int result = -1;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr && result < 0;) {
    KRhythmObj* item = ItemAt(m_objects, node);
    const int gap = std::max(0, item->GetPos() - end) / unit;
    if (column < c + gap) {
      result = end + (column - c) * unit;
      break;
    }
    c += gap;
    if (column == c) {
      result = item->GetPos();
      break;
    }
    if (IsText(*item)) {
      const int length = item->GetText().GetLength();
      if (column < c + length) {
        result = item->GetPos() + Extent(dc, item->GetText(), column - c);
        break;
      }
      c += length;
    } else {
      c += 1;
    }
    end = item->GetPos() + item->GetWidth();
  }
  if (result < 0) result = end + (column - c) * unit;
  if (previous != nullptr) dc->SelectObject(previous);
  return result;
}

int KRhythmLine::GetColumnAtX(CDC* dc, int mode, int x, int fontIndex, int extra, int rounding) {
  if (mode == 1) x -= GetIndent();
  if (mode == 2) x -= GetIndent() + extra;
  if (x < 1) return 0;
  if (m_columnWidth == -1) MeasureSymbols(dc, fontIndex);
  const int unit = std::max(1, m_columnWidth);
  CFont* previous = dc != nullptr ? dc->SelectObject(GetFont(fontIndex)) : nullptr;
  int c = 0;
  int end = 0;
  int result = -1;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    KRhythmObj* item = ItemAt(m_objects, node);
    const int pos = item->GetPos();
    const int gap = std::max(0, pos - end) / unit;
    if (x < pos) {
      result = c + std::min(gap, std::max(0, x - end) / unit);
      break;
    }
    c += gap;
    const int within = x - pos;
    if (IsText(*item)) {
      const int length = std::min(item->GetText().GetLength(), kMaxCharsForClick);
      if (within < item->GetWidth()) {
        for (int n = 0; n < length; ++n) {
          const int before = Extent(dc, item->GetText(), n);
          const int after = Extent(dc, item->GetText(), n + 1);
          if (within < after) {
            result = c + (within - before <= after - within ? n : n + 1);
            break;
          }
        }
        if (result < 0) result = c + length;
        break;
      }
      c += item->GetText().GetLength();
    } else {
      if (within < item->GetWidth()) {
        if (rounding == 2)
          result = c;
        else if (rounding == 1)
          result = c + 1;
        else
          result = within * 2 < item->GetWidth() ? c : c + 1;
        break;
      }
      c += 1;
    }
    end = pos + item->GetWidth();
  }
  if (result < 0) result = c + std::max(0, x - end) / unit;
  if (previous != nullptr) dc->SelectObject(previous);
  return result;
}

KExtendedObj* KRhythmLine::FindAttachmentAtPoint(CDC* dc, int x, int y, int top, int sizeIndex) {
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const int columnX = GetColumnX(dc, attachment->GetPos(), sizeIndex);
    const int left = columnX + attachment->GetOffset().x;
    const int right = left + std::max(1, attachment->MeasureText(dc));
    if (x < left || x > right) continue;
    CRect rect;
    attachment->GetScreenRect(rect, dc, m_type, columnX, top, sizeIndex);
    if (rect.PtInRect(CPoint(x, y))) return attachment;
  }
  return nullptr;
}

void KRhythmLine::Draw(CDC* dc, int top, int, int sizeIndex, int originX, int, int, int, int, int) {
  if (dc == nullptr) return;
  const bool wide = dc->IsPrinting() || g_deviceRender != 0;
  CPen pen;
  if (!pen.CreatePen(PS_SOLID, wide ? 4 : 2, RGB(0, 0, 0))) {
    ReportInternalErrorOnce(kOncePenFailed, kMsgInternalProblem, wide ? "TCR-4" : "TCR-5");
    return;
  }
  const int size = sizeIndex != 0 ? 1 : 0;
  if (m_columnWidth == -1) MeasureSymbols(dc, size);
  const int beamY = GetFontHeight(size) * 20 / 25 - 12 + top;
  CFont* previousFont = dc->SelectObject(GetFont(size));
  CPen* previousPen = dc->SelectObject(&pen);
  const COLORREF previousColor = dc->SetTextColor(m_textColor);
  const int left = GetIndent() + originX;

  int beamStart[kMaxBeams] = {-1, -1, -1, -1};
  auto beam = [&](int level, int from, int to) {
    ScaledMoveTo(dc, from, beamY + level * kBeamSpacing);
    ScaledLineTo(dc, to, beamY + level * kBeamSpacing);
  };
  // The x of the item before when it is a flagged symbol.
  constexpr int kNoFlaggedX = -100000;
  int lastFlaggedX = kNoFlaggedX;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KRhythmObj* item = ItemAt(m_objects, node);
    if (item->GetPos() < 0) continue;
    int x = left + item->GetPos();
    if (IsText(*item)) {
      ScaledTextOut(dc, x, top + kTextDrop, item->GetText(), 0);
      lastFlaggedX = kNoFlaggedX;
      continue;
    }
    const int index = item->GetCode() - KRhythmObj::kFirstSymbolCode;
    if (index == kDotIndex && x - lastFlaggedX <= kDotReach) x -= kDotPull;
    const int link = item->GetLinkCode();
    const bool flagged = item->GetCode() >= kFirstDoubleCode && item->GetCode() <= kLastFlaggedCode;
    if (link == 0 || !flagged) {
      LoadSymbolBitmap(dc, kSymbolFamily, index, x, beamY, 100, 100, SRCAND);
    } else {
      const int stemmed = (item->GetCode() - kFirstDoubleCode) / 4 * 3 + 7;
      LoadSymbolBitmap(dc, kSymbolFamily, stemmed, x, beamY, 100, 100, SRCAND);
      const int stemX = x + kBeamStemX;
      if (link > 0) {
        for (int i = 0; i < kMaxBeams; ++i) beamStart[i] = i < link ? stemX : -1;
      } else if (link <= -11) {
        const int k = std::min(kMaxBeams, -10 - link);
        for (int i = 0; i < kMaxBeams; ++i) {
          if (i >= k && beamStart[i] >= 0) {
            beam(i, beamStart[i], stemX);
            beamStart[i] = -1;
          } else if (i < k && beamStart[i] < 0) {
            beamStart[i] = stemX;
          }
        }
      } else {
        const int k = std::min(kMaxBeams, -link);
        for (int i = 0; i < kMaxBeams; ++i) {
          if (i < k)
            beam(i, beamStart[i] >= 0 ? beamStart[i] : stemX - kBeamStub, stemX);
          else if (beamStart[i] >= 0)
            beam(i, beamStart[i], beamStart[i] + kBeamStub);
          beamStart[i] = -1;
        }
      }
    }
    lastFlaggedX = flagged ? x : kNoFlaggedX;
  }
  dc->SetTextColor(previousColor);
  if (previousPen != nullptr) dc->SelectObject(previousPen);
  if (previousFont != nullptr) dc->SelectObject(previousFont);

  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const int x = GetColumnX(dc, attachment->GetPos(), size) + originX + GetIndent();
    attachment->Draw(dc, m_type, x, top, size);
  }
}
