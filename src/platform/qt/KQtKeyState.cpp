#include "platform/qt/KQtKeyState.h"

#include <QGuiApplication>

bool KQtKeyState::IsDown(int virtualKey) const {
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  switch (virtualKey) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
      return held.testFlag(Qt::ShiftModifier);
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
      return held.testFlag(Qt::ControlModifier);
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
      return held.testFlag(Qt::AltModifier);
    default:
      return false;
  }
}

bool KQtKeyState::IsToggled(int) const { return false; }
