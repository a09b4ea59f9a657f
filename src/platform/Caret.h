#pragma once
// The caret of a window, kept as Win32 keeps it: a new caret starts hidden,
// and hiding counts, so that it shows only when as many ShowCaret calls as
// HideCaret calls (plus the one its creation stands for) have been made. The
// window paints it from this model; the change handler tells it when to repaint.

#include "platform/WinTypes.h"

#include <functional>
#include <utility>

class KCaret {
 public:
  // A new caret shape of the size (a width or height of 0 takes 1 pixel);
  // replaces any caret before it and starts hidden. The position stays.
  void Create(int width, int height);
  void Destroy();
  bool Exists() const { return m_exists; }

  // Each HideCaret needs one ShowCaret to undo it. FALSE without a caret,
  // and for ShowCaret on a caret that is not hidden.
  BOOL Show();
  BOOL Hide();
  bool IsVisible() const { return m_exists && m_hideCount == 0; }
  int HideCount() const { return m_hideCount; }

  // The caret's top-left corner in client coordinates; kept without a caret too.
  void SetPos(int x, int y);
  POINT GetPos() const { return m_pos; }
  SIZE GetSize() const { return m_size; }
  // The rectangle the caret covers.
  RECT GetRect() const;

  // Called after each change to what is on screen: shown or hidden, moved
  // while visible, or reshaped while visible.
  void SetChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }

 private:
  void Changed(bool wasVisible, RECT before);

  bool m_exists = false;
  int m_hideCount = 0;
  POINT m_pos;
  SIZE m_size;
  std::function<void()> m_onChange;
};
