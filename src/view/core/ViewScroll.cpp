// The score view's scroll positions and its size handler.
//
// Positions above 28000 go through the large scroll offset, which on the
// 16-bit scroll bars of old systems held the part of the position the bar
// could not. Our scroll bars take 32-bit positions, so the bar always carries
// the full position: the offset is only recorded (callers test it to know that
// the window is far down a long score), and reading the position asks the
// scroll bar, which is also right after the user dragged it.

#include <algorithm>

#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLayoutCache.h"

int g_repaintOnLargeScroll = 1;

namespace {

// Positions up to this one scroll without the large offset.
constexpr int kLargeScrollLimit = 28000;
// What the frame around a child window adds to its client area (the frame
// three times, the horizontal scroll bar, the caption), as the window size
// stored with a score counts it.
constexpr int kFrameWidth = 4;
constexpr int kScrollBarWidth = 17;
constexpr int kCaptionHeight = 19;
// The range the settings record keeps for the window size.
constexpr int kMinWindowSize = 40;
constexpr int kMaxWindowSize = 2500;
// The auto-scroll caret stands this far left of the client's right edge.
constexpr int kAutoScrollCaretInset = 35;

}  // namespace

POINT CStavlinView::GetVirtualScrollPosition() const {
  if (m_host == nullptr) return POINT{0, 0};
  return m_host->GetScrollPosition();
}

void CStavlinView::SetVirtualScrollPosition(int x, int y) {
  if (m_host == nullptr) return;
  if (y <= kLargeScrollLimit) {
    m_host->ScrollToPosition(POINT{x, y});
    m_largeOffset = 0;
    return;
  }
  m_largeOffset = y;
  const POINT before = m_host->GetScrollPosition();
  m_host->ScrollToPosition(POINT{x, y});
  const POINT after = m_host->GetScrollPosition();
  const bool moved = before.x != after.x || before.y != after.y;
  if (moved && g_repaintOnLargeScroll != 0 && m_document != nullptr) {
    // A whole repaint of every view; it changes nothing in the score.
    const int saved = g_noModify;
    g_noModify = 1;
    g_refreshRepaintOnly = true;
    m_document->UpdateAllViews(nullptr, kHintAll);
    g_refreshRepaintOnly = false;
    g_noModify = saved;
  }
}

void CStavlinView::OnSize(UINT /*type*/, int cx, int cy) {
  if (m_trackWindowSize != 0 && m_document != nullptr) {
    const int width = cx + 3 * kFrameWidth + kScrollBarWidth;
    const int height = cy + 3 * kFrameWidth + kCaptionHeight + kScrollBarWidth;
    m_options.windowWidth = static_cast<short>(std::clamp(width, kMinWindowSize, kMaxWindowSize));
    m_options.windowHeight = static_cast<short>(std::clamp(height, kMinWindowSize, kMaxWindowSize));
    // The window's size is kept with the score without counting as a change.
    m_document->SetSettings(m_options, FALSE);
  }

  m_autoScrollCaretX = cx - kAutoScrollCaretInset;
  if (m_autoScroll != 0 && m_host != nullptr) {
    KCaret& caret = m_host->Caret();
    caret.SetPos(m_autoScrollCaretX, caret.GetPos().y);
  }

  if (m_host != nullptr) {
    // The place of new score windows follows the last one sized.
    const RECT frame = m_host->GetChildFrameRect();
    g_prefNewDocWnd.width = std::max(0, static_cast<int>(frame.right - frame.left));
    g_prefNewDocWnd.height = std::max(0, static_cast<int>(frame.bottom - frame.top));
    g_prefNewDocWnd.left = std::max(0, static_cast<int>(frame.left));
    g_prefNewDocWnd.top = std::max(0, static_cast<int>(frame.top));
  }
}
