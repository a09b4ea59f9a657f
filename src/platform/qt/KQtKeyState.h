#pragma once
// The key-state port on the desktop: Shift, Ctrl and Alt (either side) as the
// window system reports them now, and Caps Lock as the key events last told
// it (Qt has no way to ask for a lock key's toggle: the view's key adapter
// learns it from typed letters and tells it here). Other keys and the other
// lock toggles read as up and off.
//
// While a key event is handled, KQtKeyEventState stands in front of the
// installed port: GetKeyState then reports the state that came with the
// event, as Windows reports the state of the message being processed.

#include <QtCore/qnamespace.h>

#include <optional>

#include "platform/Keys.h"

class KQtKeyState : public KeyStatePort {
 public:
  bool IsDown(int virtualKey) const override;
  bool IsToggled(int virtualKey) const override;

  // What the key events last told about Caps Lock (program-wide, as the
  // keyboard is).
  static void NoteCapsLock(bool on);
  static bool CapsLockNoted();
};

// The key state of one key event, installed as the key-state port for its
// lifetime: the modifiers held with the event and the key itself are down,
// Caps Lock is the given toggle when known; anything else is asked of the
// port that was installed before, which comes back when this goes.
class KQtKeyEventState : public KeyStatePort {
 public:
  KQtKeyEventState(Qt::KeyboardModifiers modifiers, int virtualKey, std::optional<bool> capsLock);
  ~KQtKeyEventState() override;
  KQtKeyEventState(const KQtKeyEventState&) = delete;
  KQtKeyEventState& operator=(const KQtKeyEventState&) = delete;

  bool IsDown(int virtualKey) const override;
  bool IsToggled(int virtualKey) const override;

 private:
  Qt::KeyboardModifiers m_modifiers;
  int m_key;
  std::optional<bool> m_capsLock;
  KeyStatePort* m_previous;
};
