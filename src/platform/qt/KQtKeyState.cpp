#include "platform/qt/KQtKeyState.h"

#include <QGuiApplication>

namespace {

bool g_capsLockNoted = false;

// The modifier a virtual key stands for (either side); NoModifier for others.
Qt::KeyboardModifier ModifierOf(int virtualKey) {
  switch (virtualKey) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
      return Qt::ShiftModifier;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
      return Qt::ControlModifier;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
      return Qt::AltModifier;
    default:
      return Qt::NoModifier;
  }
}

// The plain key of a sided modifier (VK_LSHIFT is VK_SHIFT...).
int PlainKeyOf(int virtualKey) {
  switch (ModifierOf(virtualKey)) {
    case Qt::ShiftModifier:
      return VK_SHIFT;
    case Qt::ControlModifier:
      return VK_CONTROL;
    case Qt::AltModifier:
      return VK_MENU;
    default:
      return virtualKey;
  }
}

}  // namespace

bool KQtKeyState::IsDown(int virtualKey) const {
  const Qt::KeyboardModifier modifier = ModifierOf(virtualKey);
  if (modifier == Qt::NoModifier) return false;
  return QGuiApplication::queryKeyboardModifiers().testFlag(modifier);
}

bool KQtKeyState::IsToggled(int virtualKey) const { return virtualKey == VK_CAPITAL && g_capsLockNoted; }

void KQtKeyState::NoteCapsLock(bool on) { g_capsLockNoted = on; }

bool KQtKeyState::CapsLockNoted() { return g_capsLockNoted; }

KQtKeyEventState::KQtKeyEventState(Qt::KeyboardModifiers modifiers, int virtualKey,
                                   std::optional<bool> capsLock)
    : m_modifiers(modifiers), m_key(virtualKey), m_capsLock(capsLock), m_previous(SetKeyStatePort(this)) {}

KQtKeyEventState::~KQtKeyEventState() { SetKeyStatePort(m_previous); }

bool KQtKeyEventState::IsDown(int virtualKey) const {
  if (const Qt::KeyboardModifier modifier = ModifierOf(virtualKey); modifier != Qt::NoModifier) {
    // The key of the event is down even where the event's modifiers tell the
    // state from before it (a Shift press may come without Shift).
    return m_modifiers.testFlag(modifier) || PlainKeyOf(m_key) == PlainKeyOf(virtualKey);
  }
  if (virtualKey == m_key && m_key != 0) return true;
  return m_previous != nullptr && m_previous->IsDown(virtualKey);
}

bool KQtKeyEventState::IsToggled(int virtualKey) const {
  if (virtualKey == VK_CAPITAL && m_capsLock.has_value()) return *m_capsLock;
  return m_previous != nullptr && m_previous->IsToggled(virtualKey);
}
