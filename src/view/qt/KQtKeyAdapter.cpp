#include "view/qt/KQtKeyAdapter.h"

#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Cp1252.h"
#include "platform/Keys.h"

namespace {

constexpr Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;
// X11's lock bit in the native modifier state.
constexpr quint32 kX11LockMask = 0x2;

// The virtual key of a character of the US layout: the key that types it,
// shifted or not (0 when none does).
UINT VirtualKeyOfAscii(int c) {
  if (c >= 'a' && c <= 'z') return static_cast<UINT>(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<UINT>(c);
  // The shifted digits, from ')' over '0' to '(' over '9'.
  static constexpr char kShiftedDigits[] = ")!@#$%^&*(";
  if (c > 0 && c < 0x7F) {
    if (const char* at = std::strchr(kShiftedDigits, c))
      return static_cast<UINT>('0' + (at - kShiftedDigits));
  }
  struct Pair {
    char plain, shifted;
    int key;
  };
  static constexpr Pair kPunctuation[] = {
      {';', ':', VK_OEM_1},      {'=', '+', VK_OEM_PLUS}, {',', '<', VK_OEM_COMMA}, {'-', '_', VK_OEM_MINUS},
      {'.', '>', VK_OEM_PERIOD}, {'/', '?', VK_OEM_2},    {'`', '~', VK_OEM_3},     {'[', '{', VK_OEM_4},
      {'\\', '|', VK_OEM_5},     {']', '}', VK_OEM_6},    {'\'', '"', VK_OEM_7},
  };
  for (const Pair& p : kPunctuation) {
    if (c == p.plain || c == p.shifted) return static_cast<UINT>(p.key);
  }
  if (c == ' ') return VK_SPACE;
  return 0;
}

UINT KeypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<UINT>(VK_NUMPAD0 + (qtKey - Qt::Key_0));
  switch (qtKey) {
    case Qt::Key_Asterisk:
      return VK_MULTIPLY;
    case Qt::Key_Plus:
      return VK_ADD;
    case Qt::Key_Minus:
      return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return VK_DECIMAL;
    case Qt::Key_Slash:
      return VK_DIVIDE;
    default:
      return 0;
  }
}

// PC scan codes (set 1) of the virtual keys, and whether the key is one of
// the extended ones (the separate arrow and editing block, keypad Enter and
// Divide).
struct Scan {
  UINT code = 0;
  bool extended = false;
};

Scan ScanOf(UINT vk, bool keypad) {
  static constexpr const char* kRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static constexpr UINT kRowStart[] = {0x10, 0x1E, 0x2C};
  for (int r = 0; r < 3; ++r) {
    if (const char* at = std::strchr(kRows[r], static_cast<int>(vk)); at != nullptr && vk != 0)
      return {kRowStart[r] + static_cast<UINT>(at - kRows[r]), false};
  }
  if (vk >= '1' && vk <= '9') return {vk - '1' + 0x02, false};
  if (vk >= VK_F1 && vk <= VK_F10) return {vk - VK_F1 + 0x3B, false};
  // The keypad digits share their scan codes with the editing keys.
  static constexpr UINT kPadScan[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return {kPadScan[vk - VK_NUMPAD0], false};
  const bool block = !keypad;  // the separate editing block is extended
  switch (vk) {
    case '0':
      return {0x0B, false};
    case VK_ESCAPE:
      return {0x01, false};
    case VK_OEM_MINUS:
      return {0x0C, false};
    case VK_OEM_PLUS:
      return {0x0D, false};
    case VK_BACK:
      return {0x0E, false};
    case VK_TAB:
      return {0x0F, false};
    case VK_OEM_4:
      return {0x1A, false};
    case VK_OEM_6:
      return {0x1B, false};
    case VK_RETURN:
      return {0x1C, keypad};
    case VK_CONTROL:
      return {0x1D, false};
    case VK_OEM_1:
      return {0x27, false};
    case VK_OEM_7:
      return {0x28, false};
    case VK_OEM_3:
      return {0x29, false};
    case VK_SHIFT:
      return {0x2A, false};
    case VK_OEM_5:
      return {0x2B, false};
    case VK_OEM_COMMA:
      return {0x33, false};
    case VK_OEM_PERIOD:
      return {0x34, false};
    case VK_OEM_2:
      return {0x35, false};
    case VK_DIVIDE:
      return {0x35, true};
    case VK_MULTIPLY:
      return {0x37, false};
    case VK_MENU:
      return {0x38, false};
    case VK_SPACE:
      return {0x39, false};
    case VK_CAPITAL:
      return {0x3A, false};
    case VK_NUMLOCK:
      return {0x45, false};
    case VK_SCROLL:
      return {0x46, false};
    case VK_HOME:
      return {0x47, block};
    case VK_UP:
      return {0x48, block};
    case VK_PRIOR:
      return {0x49, block};
    case VK_SUBTRACT:
      return {0x4A, false};
    case VK_LEFT:
      return {0x4B, block};
    case VK_RIGHT:
      return {0x4D, block};
    case VK_ADD:
      return {0x4E, false};
    case VK_END:
      return {0x4F, block};
    case VK_DOWN:
      return {0x50, block};
    case VK_NEXT:
      return {0x51, block};
    case VK_INSERT:
      return {0x52, block};
    case VK_DELETE:
      return {0x53, block};
    case VK_DECIMAL:
      return {0x53, false};
    case VK_F11:
      return {0x57, false};
    case VK_F12:
      return {0x58, false};
    default:
      return {};
  }
}

bool IsArrow(int qtKey) {
  return qtKey == Qt::Key_Left || qtKey == Qt::Key_Right || qtKey == Qt::Key_Up || qtKey == Qt::Key_Down;
}

bool IsNavigationOrEditing(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
      return true;
    default:
      return qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F6;
  }
}

// The control character a key types as Windows sends it (0: none).
UINT ControlCharacterOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    default:
      return 0;
  }
}

// The printable characters of the event's text (control characters are the
// key's business, not the text's).
std::vector<char32_t> PrintableCharacters(const QString& text) {
  std::vector<char32_t> out;
  for (const char32_t c : text.toUcs4()) {
    if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) out.push_back(c);
  }
  return out;
}

// Ctrl alone, or Alt alone, types nothing the view reads; Ctrl with Alt is
// how Windows reports AltGr, which types characters.
bool TypesCharacters(Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
  const bool alt = modifiers.testFlag(Qt::AltModifier);
  return ctrl == alt;
}

}  // namespace

std::string Describe(const KWinKeyMessage& message) {
  static constexpr const char* kNames[] = {"keydown", "syskeydown", "char"};
  char text[64];
  std::snprintf(text, sizeof text, "%s 0x%X x%u flags 0x%X", kNames[message.kind], message.code,
                message.repeat, message.flags);
  return text;
}

UINT KQtKeyAdapter::VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers.testFlag(Qt::KeypadModifier)) {
    if (const UINT pad = KeypadKey(qtKey)) return pad;
  }
  if (qtKey >= 0x20 && qtKey <= 0x7E) return VirtualKeyOfAscii(qtKey);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<UINT>(VK_F1 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    case Qt::Key_Pause:
      return VK_PAUSE;
    case Qt::Key_Print:
      return VK_SNAPSHOT;
    case Qt::Key_Clear:
      return VK_CLEAR;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_CapsLock:
      return VK_CAPITAL;
    case Qt::Key_NumLock:
      return VK_NUMLOCK;
    case Qt::Key_ScrollLock:
      return VK_SCROLL;
    case Qt::Key_Menu:
      return VK_APPS;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
      return VK_LWIN;
    case Qt::Key_Super_R:
      return VK_RWIN;
    default:
      return 0;
  }
}

bool KQtKeyAdapter::IsViewKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  const bool ctrl = held.testFlag(Qt::ControlModifier);
  const bool alt = held.testFlag(Qt::AltModifier);
  const int key = event.key();
  if (ctrl && alt) return IsArrow(key) || !PrintableCharacters(event.text()).empty();
  if (alt) return IsArrow(key);
  if (IsNavigationOrEditing(key)) return true;
  if (ctrl) return false;
  return ControlCharacterOf(key) != 0 || !PrintableCharacters(event.text()).empty();
}

void KQtKeyAdapter::LearnCapsLock(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers();
  if (event.key() == Qt::Key_CapsLock) {
    // The toggle changes with this press; the next letter confirms it.
    if (m_capsLock.has_value()) m_capsLock = !*m_capsLock;
    return;
  }
  const QString text = event.text();
  if (text.size() == 1 && (text[0].isUpper() || text[0].isLower()) && (held & kCtrlAlt) == 0) {
    m_capsLock = text[0].isUpper() != held.testFlag(Qt::ShiftModifier);
    return;
  }
  if (m_nativeLockBit) m_capsLock = (event.nativeModifiers() & kX11LockMask) != 0;
}

std::vector<KWinKeyMessage> KQtKeyAdapter::Translate(const QKeyEvent& event) {
  LearnCapsLock(event);
  std::vector<KWinKeyMessage> messages;
  const Qt::KeyboardModifiers held = event.modifiers();
  const bool ctrl = held.testFlag(Qt::ControlModifier);
  const bool alt = held.testFlag(Qt::AltModifier);
  const int key = event.key();
  const std::vector<char32_t> typed = PrintableCharacters(event.text());

  // Alt alone (the menu bar's), and Alt with anything but an arrow, is not
  // the view's: those keys belong to the menus.
  if (alt && !ctrl && !IsArrow(key)) return messages;
  UINT vk = VirtualKeyOf(key, held);
  if (key == Qt::Key_Alt || key == Qt::Key_AltGr || key == Qt::Key_Meta || key == Qt::Key_Super_L ||
      key == Qt::Key_Super_R)
    return messages;
  // A key of another layout that types a character the US layout has no
  // key for reads as a punctuation key, so that it counts as a typing key.
  if (vk == 0 && !typed.empty()) {
    vk = typed.front() < 0x80 ? VirtualKeyOfAscii(static_cast<int>(typed.front())) : 0;
    if (vk == 0) vk = VK_OEM_3;
  }
  if (vk == 0) return messages;

  const bool keypad = held.testFlag(Qt::KeypadModifier);
  const Scan scan = ScanOf(vk, keypad);
  UINT flags = scan.code;
  if (scan.extended) flags |= kExtendedKey;
  if (alt) flags |= kAltHeld;
  if (event.isAutoRepeat()) flags |= kWasDown;
  const UINT repeat = static_cast<UINT>(std::max(1, event.count()));
  const bool system = alt && !ctrl;
  messages.push_back({system ? KWinKeyMessage::kSysKeyDown : KWinKeyMessage::kKeyDown, vk, repeat, flags});
  if (system) return messages;

  // The character, as the keyboard layout makes it.
  if (const UINT control = ControlCharacterOf(key); control != 0) {
    if (!ctrl && !alt) messages.push_back({KWinKeyMessage::kChar, control, repeat, flags});
    return messages;
  }
  if (!TypesCharacters(held) || key == Qt::Key_Delete) return messages;
  for (const char32_t c : typed) {
    const unsigned char byte = cp1252::FromUnicode(c);
    // A character Windows-1252 cannot hold is not sent at all, rather than
    // typed as a question mark.
    if (byte == '?' && c != U'?') continue;
    messages.push_back({KWinKeyMessage::kChar, byte, 1, flags});
  }
  return messages;
}
