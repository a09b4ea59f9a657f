#pragma once
// The key-state port on the desktop: Shift, Ctrl and Alt (either side) as the
// window system reports them now. Qt cannot tell other keys or the lock
// toggles: they read as up and off.

#include "platform/Keys.h"

class KQtKeyState : public KeyStatePort {
 public:
  bool IsDown(int virtualKey) const override;
  bool IsToggled(int virtualKey) const override;
};
