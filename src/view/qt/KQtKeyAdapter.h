#pragma once
// Turns a Qt key press into the window messages the score view's handlers
// are written for: WM_KEYDOWN with the Windows virtual-key code (or
// WM_SYSKEYDOWN for the Alt-arrow edits), then, for a key that types a
// character, WM_CHAR with that character in Windows-1252.
//
// It also learns what Qt does not report directly: the Caps Lock toggle. A
// letter whose case disagrees with Shift means Caps Lock is on, one whose
// case agrees means it is off; the Caps Lock key flips what was learnt; on
// X11 the key event's native state carries the lock bit as well. Until one
// of these has been seen (after start-up, before the first letter) the
// toggle is unknown, and the key-state port's own answer stands.

#include <QtCore/qnamespace.h>

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class QKeyEvent;

// One window message of a key press.
struct KWinKeyMessage {
  enum Kind { kKeyDown, kSysKeyDown, kChar };
  Kind kind = kKeyDown;
  UINT code = 0;    // virtual-key code, or the character (kChar)
  UINT repeat = 1;  // the repeat count
  UINT flags = 0;   // scan code, extended key, Alt held, key already down
  bool operator==(const KWinKeyMessage&) const = default;
};

// "keydown 0x41 x1 flags 0x1e" and the like, for test messages.
std::string Describe(const KWinKeyMessage& message);

class KQtKeyAdapter {
 public:
  // With nativeLockBit the X11 lock bit of the event's native modifiers is
  // read too (only meaningful on the xcb platform).
  explicit KQtKeyAdapter(bool nativeLockBit = false) : m_nativeLockBit(nativeLockBit) {}

  // The messages of one key press, in the order the window receives them;
  // empty when the view has nothing to do with the key (Alt with a letter
  // goes to the menu bar). Updates the Caps Lock toggle it has learnt.
  std::vector<KWinKeyMessage> Translate(const QKeyEvent& event);

  // The Caps Lock toggle as learnt from the keys seen so far.
  std::optional<bool> CapsLock() const { return m_capsLock; }

  // A key the view handles itself even when a menu accelerator claims the
  // same key (navigation, editing, F1..F6, typing keys, the Alt-arrows).
  static bool IsViewKey(const QKeyEvent& event);

  // The virtual-key code of a Qt key (0 when it has none). Keys of the
  // numeric pad are told apart by the keypad modifier.
  static UINT VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

  // Extra bits of WM_KEYDOWN's flags.
  static constexpr UINT kExtendedKey = 0x0100;
  static constexpr UINT kAltHeld = 0x2000;
  static constexpr UINT kWasDown = 0x4000;

 private:
  void LearnCapsLock(const QKeyEvent& event);

  bool m_nativeLockBit;
  std::optional<bool> m_capsLock;
};
