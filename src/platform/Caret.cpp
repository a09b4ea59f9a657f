#include "platform/Caret.h"

void KCaret::Create(int width, int height) {
  const bool wasVisible = IsVisible();
  const RECT before = GetRect();
  m_exists = true;
  m_hideCount = 1;
  m_size.cx = width > 0 ? width : 1;
  m_size.cy = height > 0 ? height : 1;
  Changed(wasVisible, before);
}

void KCaret::Destroy() {
  const bool wasVisible = IsVisible();
  const RECT before = GetRect();
  m_exists = false;
  m_hideCount = 0;
  Changed(wasVisible, before);
}

BOOL KCaret::Show() {
  if (!m_exists || m_hideCount == 0) return FALSE;
  --m_hideCount;
  Changed(false, GetRect());
  return TRUE;
}

BOOL KCaret::Hide() {
  if (!m_exists) return FALSE;
  const bool wasVisible = IsVisible();
  ++m_hideCount;
  Changed(wasVisible, GetRect());
  return TRUE;
}

void KCaret::SetPos(int x, int y) {
  if (m_pos.x == x && m_pos.y == y) return;
  const bool wasVisible = IsVisible();
  const RECT before = GetRect();
  m_pos.x = x;
  m_pos.y = y;
  Changed(wasVisible, before);
}

RECT KCaret::GetRect() const {
  RECT r;
  r.left = m_pos.x;
  r.top = m_pos.y;
  r.right = m_pos.x + m_size.cx;
  r.bottom = m_pos.y + m_size.cy;
  return r;
}

void KCaret::Changed(bool wasVisible, RECT before) {
  const RECT after = GetRect();
  const bool moved = before.left != after.left || before.top != after.top || before.right != after.right ||
                     before.bottom != after.bottom;
  if (!m_onChange) return;
  if (wasVisible != IsVisible() || (IsVisible() && moved)) m_onChange();
}
