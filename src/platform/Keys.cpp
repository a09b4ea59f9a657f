#include "platform/Keys.h"

namespace {

class NoKeysHeld final : public KeyStatePort {
 public:
  bool IsDown(int) const override { return false; }
  bool IsToggled(int) const override { return false; }
};

NoKeysHeld g_noKeys;
KeyStatePort* g_keyState = nullptr;

// The plain modifier that a left or right one also holds, or 0.
int PlainModifierOf(int virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
      return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
      return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
      return VK_MENU;
    default:
      return 0;
  }
}

}  // namespace

void FakeKeyState::Press(int virtualKey) {
  m_down.insert(virtualKey);
  if (const int plain = PlainModifierOf(virtualKey)) m_down.insert(plain);
}

void FakeKeyState::Release(int virtualKey) {
  m_down.erase(virtualKey);
  const int plain = PlainModifierOf(virtualKey);
  if (!plain) return;
  // The plain key stays down while the modifier of the other side is held.
  for (int side : m_down) {
    if (PlainModifierOf(side) == plain) return;
  }
  m_down.erase(plain);
}

void FakeKeyState::ReleaseAll() { m_down.clear(); }

void FakeKeyState::SetToggled(int virtualKey, bool on) {
  if (on) {
    m_toggled.insert(virtualKey);
  } else {
    m_toggled.erase(virtualKey);
  }
}

bool FakeKeyState::IsDown(int virtualKey) const { return m_down.count(virtualKey) != 0; }

bool FakeKeyState::IsToggled(int virtualKey) const { return m_toggled.count(virtualKey) != 0; }

KeyStatePort& CurrentKeyState() { return g_keyState ? *g_keyState : g_noKeys; }

KeyStatePort* SetKeyStatePort(KeyStatePort* port) {
  KeyStatePort* previous = g_keyState;
  g_keyState = port;
  return previous;
}

SHORT GetKeyState(int virtualKey) {
  const KeyStatePort& keys = CurrentKeyState();
  unsigned state = 0;
  if (keys.IsDown(virtualKey)) state |= 0x8000;
  if (keys.IsToggled(virtualKey)) state |= 0x0001;
  return static_cast<SHORT>(state);
}
