// Measuring and drawing of a text line. The line has no column grid: columns
// are character positions, turned into pixels by measuring the text in the
// line's font.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/ErrorReporter.h"
#include "common/ScaledDraw.h"
#include "common/ViewServices.h"
#include "lines/KStrLine.h"
#include "model/KExtendedObj.h"
#include "platform/CDC.h"

namespace {

// The line's font selected into a device context for the time of a
// measurement: made from the table's record with the escapement (the colour)
// set to 0; the previous font is selected again afterwards.
class LineFontScope {
 public:
  LineFontScope(CDC* dc, KTextFontTable fonts, int fontNumber, const char* failureCode) : m_dc(dc) {
    if (dc == nullptr) return;
    if (fontNumber >= 0 && static_cast<std::size_t>(fontNumber) < fonts.size()) {
      LOGFONT record = fonts[static_cast<std::size_t>(fontNumber)];
      record.lfEscapement = 0;
      if (m_font.CreateFontIndirect(&record)) {
        m_previous = dc->SelectObject(&m_font);
        m_ok = true;
        return;
      }
    }
    ReportInternalErrorOnce(kOnceFontFailed, kMsgInternalProblem, failureCode);
  }
  ~LineFontScope() {
    if (m_ok) m_dc->SelectObject(m_previous);
  }
  LineFontScope(const LineFontScope&) = delete;
  LineFontScope& operator=(const LineFontScope&) = delete;

  bool Ok() const { return m_ok; }

 private:
  CDC* m_dc;
  CFont m_font;
  CFont* m_previous = nullptr;
  bool m_ok = false;
};

int Width(CDC* dc, std::string_view text) { return text.empty() ? 0 : dc->GetTextExtent(text).cx; }

// The text measured as if padded with blanks up to the column (which is cut
// to the editing limit).
int WidthToColumn(CDC* dc, const std::string& text, int column) {
  column = std::clamp(column, 0, KStrLine::kMaxColumns);
  if (column <= static_cast<int>(text.size())) return Width(dc, std::string_view(text).substr(0, column));
  std::string padded = text;
  padded.resize(static_cast<std::size_t>(column), ' ');
  return Width(dc, padded);
}

int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The pixel x of an attachment from the text's start: a position below 10000
// is a column of 18 pixels, a larger one a pixel offset plus 10000.
std::int64_t AttachmentX(const KExtendedObj& attachment) {
  const std::int64_t pos = attachment.GetPos();
  return pos < 10000 ? pos * 18 : pos - 10000;
}

}  // namespace

int KStrLine::GetColumnAtX(CDC* dc, KTextFontTable fonts, int x, int pad) {
  if (x <= 0) return 0;
  LineFontScope font(dc, fonts, m_fontNumber, "TCR-1");
  if (!font.Ok()) return 0;

  const std::string& text = m_text.Str();
  const int n = static_cast<int>(text.size());
  const int width = Width(dc, text);
  if (x < width - 3) {
    TEXTMETRIC metrics;
    dc->GetTextMetrics(&metrics);
    const int average = std::max<int>(1, metrics.tmAveCharWidth);
    int c = std::min(x / average, n - 1);
    // Walk from the estimate to the column whose edges hold x, then take the
    // nearer edge (a tie keeps the left one). Column 0 has its left edge at 0,
    // so the walk ends there at the latest; the text's end bounds it on the right.
    for (int steps = 0; steps <= n + 1; ++steps) {
      const int w1 = WidthToColumn(dc, text, c);
      const int w2 = WidthToColumn(dc, text, c + 1);
      if (x < w1) {
        if (c == 0) break;
        --c;
      } else if (x < w2) {
        return (w2 - x) < (x - w1) ? c + 1 : c;
      } else {
        ++c;
        if (c >= n) return n;
      }
    }
    return c;
  }

  const std::int64_t blank = std::max(1, Width(dc, " "));
  const std::int64_t extra = (std::int64_t{x} - width + 3) / blank;
  const int target = static_cast<int>(std::min<std::int64_t>(n + extra, std::max(n, kMaxColumns)));
  if (pad == 0) return target;
  if (target > n) m_text = CString(text + std::string(static_cast<std::size_t>(target - n), ' '));
  return m_text.GetLength();
}

int KStrLine::GetXOfColumn(CDC* dc, KTextFontTable fonts, int column) {
  LineFontScope font(dc, fonts, m_fontNumber, "TCR-2");
  if (!font.Ok()) return 0;
  return WidthToColumn(dc, m_text.Str(), column);
}

KLinePair KStrLine::GetColumnRangeAtX(CDC* dc, KTextFontTable fonts, int x1, int x2, int mode) {
  const int n = m_text.GetLength();
  const auto blankBefore = [&](int c) { return c > 0 && c < n && m_text.GetAt(c - 1) == ' '; };
  // The word edge nearer to c (the end wins a tie), or its start with mode 2.
  const auto snap = [&](int c, int a, int b) {
    if (mode == 2) return a;
    return std::abs(c - (b + 1)) <= std::abs(c - a) ? b + 1 : a;
  };

  KLinePair range;
  if (x1 != 0) {
    const int c = GetColumnAtX(dc, fonts, x1, 0);
    if (c == 0 || blankBefore(c)) {
      range.first = c;
    } else {
      const KLinePair word = GetWordRange(c);
      range.first = snap(c, word.first, word.second);
    }
  }
  if (x2 != 0) {
    const int c = GetColumnAtX(dc, fonts, x2, 0);
    if (c == 0 || blankBefore(c)) {
      range.second = c;
    } else if (c + 1 < n && m_text.GetAt(c + 1) == ' ') {
      range.second = c + 1;
    } else {
      KLinePair word = GetWordRange(c);
      if (word.second < 0) word.second = kToLineEnd;
      range.second = snap(c, word.first, word.second);
    }
  }
  if (range.second < range.first) range.second = kToLineEnd;
  return range;
}

int KStrLine::GetWidth(CDC* dc, KTextFontTable fonts) {
  LineFontScope font(dc, fonts, m_fontNumber, "TCR-3");
  if (!font.Ok()) return 0;
  std::string_view text = m_text.View();
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return Width(dc, text);
}

int KStrLine::GetWidth(int, int, CDC* dc, int) {
  if (dc == nullptr) return 0;
  std::string_view text = m_text.View();
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return Width(dc, text);
}

void KStrLine::Draw(CDC* dc, int top, int redrawX, int, int originX, int mode, int, int, int, int) {
  if (dc == nullptr) return;
  const std::string& text = m_text.Str();
  const int start = ClampToInt(std::int64_t{originX} + GetIndent());
  const int textY = top >= 3 ? top - 3 : top;

  // The text from its first non-blank, placed where it stands, so that an
  // underline starts at the first visible character.
  const auto drawFromFirstVisible = [&] {
    const std::size_t lead = std::min(text.find_first_not_of(' '), text.size());
    ScaledTextOut(dc, start + Width(dc, std::string_view(text).substr(0, lead)), textY,
                  CString(std::string_view(text).substr(lead)), 0);
  };

  if (UsesDevicePath(dc)) {
    if ((m_flags & (kFlagTitle | kFlagPrintAsScreen)) == 0) {
      ScaledTextOutFitted(dc, start, textY, m_text);
    } else if (mode == kModeUnderlined) {
      drawFromFirstVisible();
    } else {
      ScaledTextOut(dc, start, textY, m_text, 0);
    }
  } else {
    const std::int64_t hidden = std::max<std::int64_t>(0, std::int64_t{redrawX} - start);
    if (mode == kModeUnderlined) {
      drawFromFirstVisible();
    } else if (hidden == 0) {
      ScaledTextOut(dc, start, textY, m_text, 0);
    } else {
      // Skip the characters scrolled off to the left, counted with the widest
      // character so that no visible one is skipped.
      TEXTMETRIC metrics;
      dc->GetTextMetrics(&metrics);
      const auto skipped =
          static_cast<std::size_t>(hidden / std::max<std::int64_t>(1, metrics.tmMaxCharWidth));
      if (text.size() > skipped) {
        ScaledTextOut(dc, start + Width(dc, std::string_view(text).substr(0, skipped)), textY,
                      CString(std::string_view(text).substr(skipped)), 0);
      }
    }
  }

  // The attachments may reach into view even when the text does not.
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    attachment->Draw(dc, m_type, ClampToInt(start + AttachmentX(*attachment)), top, 0);
  }
}

KExtendedObj* KStrLine::FindAttachmentAtPoint(CDC* dc, int x, int y, int top) {
  const std::int64_t dy = std::int64_t{y} - top;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const std::int64_t place = AttachmentX(*attachment);
    if (attachment->GetKind() == KExtendedObj::kTextBox) {
      // A text box is found where Draw puts its text.
      const CRect box = attachment->GetDrawnTextRect(dc, m_type, ClampToInt(place), top, 0);
      if (x >= box.left && x <= box.right && y >= box.top && y <= box.bottom) return attachment;
      continue;
    }
    const CPoint offset = attachment->GetOffset();
    const CSize extent = attachment->GetExtent(dc);
    const std::int64_t left = place + offset.x;
    const std::int64_t boxTop = offset.y;
    if (x >= left && x <= left + extent.cx && dy >= boxTop && dy <= boxTop + extent.cy) return attachment;
  }
  return nullptr;
}
