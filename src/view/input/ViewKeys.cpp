// OnKeyDown: the keys that do not type a character of their own. The entry
// checks (the caret's line scrolled into view, a pending mouse placement
// given up, the selection filter, no visible line), then the key table; the
// keys' own steps live in ViewKeysMove.cpp, ViewKeysDelete.cpp and
// ViewKeysEdit.cpp.

#include <algorithm>
#include <cctype>

#include "common/Globals.h"
#include "model/KLineObj.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/input/ViewKeysInternal.h"

using namespace viewkeys;

namespace {

constexpr UINT kNoLinesMessage = 7041;
// The play range's start line in the score's settings while no range is marked.
constexpr int kNoPlayRange = 10000;

// The character a key types without Shift, as MapVirtualKey (key, 2) gives
// it: letters in upper case, digits, the blank and the punctuation keys;
// 0 for keys that type nothing.
int CharacterOfKey(UINT key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE)
    return static_cast<int>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return '0' + static_cast<int>(key - VK_NUMPAD0);
  switch (key) {
    case VK_MULTIPLY:
      return '*';
    case VK_ADD:
      return '+';
    case VK_SUBTRACT:
      return '-';
    case VK_DECIMAL:
      return '.';
    case VK_DIVIDE:
      return '/';
    case VK_OEM_1:
      return ';';
    case VK_OEM_PLUS:
      return '=';
    case VK_OEM_COMMA:
      return ',';
    case VK_OEM_MINUS:
      return '-';
    case VK_OEM_PERIOD:
      return '.';
    case VK_OEM_2:
      return '/';
    case VK_OEM_3:
      return '`';
    case VK_OEM_4:
      return '[';
    case VK_OEM_5:
      return '\\';
    case VK_OEM_6:
      return ']';
    case VK_OEM_7:
      return '\'';
    default:
      return 0;
  }
}

// The key code read as a character is one of the note-value letters (the
// letter keys T, S, Y, X, Q, H, and F2, F4, F5, F8..F10, Home and numeric-pad 8
// whose codes read as those letters).
bool IsNoteValueKey(UINT key) {
  if (key == 0 || key > 0xFF) return false;
  return g_DurationKeys.Find(static_cast<char>(key)) >= 0;
}

void ClearSelection(CStavlinView& view) { view.UpdateSelection(0, 0, 0, 0, 11); }

// The play range being marked is given up: no range is left, in the view or
// in the score's settings.
void CancelPlayRangeMarking(CStavlinView& view) {
  view.m_playFirstLine = -1;
  view.m_playAwaitStart = 0;
  view.m_playAwaitEnd = 0;
  view.m_options.word70 = static_cast<short>(kNoPlayRange);
  if (view.m_document != nullptr) view.m_document->SetSettings(view.m_options, TRUE);
  if (view.Host() != nullptr) view.Host()->InvalidateRect(nullptr, FALSE);
}

// The selection filter: true when the key goes on (with the selection kept
// or cleared), false when it ends here and the selection stays.
bool FilterSelection(CStavlinView& view, const KeyPress& press) {
  const UINT key = press.key;
  const bool pageOrLineEnd = key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME;
  if (pageOrLineEnd && (press.ctrl || !press.shift)) {
    ClearSelection(view);
    return true;
  }
  if (IsNoteValueKey(key) || key == 'W') return false;
  if (key == VK_ESCAPE) {
    ClearSelection(view);
    return false;
  }
  if (press.shift || key == VK_DELETE || (Held(VK_MENU) && press.ctrl)) return true;
  if (std::isprint(CharacterOfKey(key)) != 0) return false;  // OnChar takes it with the selection
  if (!press.ctrl) ClearSelection(view);
  return true;
}

// Escape: a selected extended object is let go.
void HandleEscape(CStavlinView& view, KeyPress& press) {
  if (view.m_selectedExtObj != nullptr) {
    view.m_selectedExtObj = nullptr;
    view.m_extTracker = RECT{};
    view.m_extTwoHandles = 0;
    press.hint = CStavlinView::kHintAll;
  }
  Refresh(view, press);
}

}  // namespace

void CStavlinView::OnKeyDown(UINT nChar, UINT /*nRepCnt*/, UINT nFlags) {
  // While the music plays keys do nothing (their characters may stop it).
  if (IsPlaying()) return;
  KCommandScope scope(this);
  KeyPress press;
  press.key = nChar;
  press.toolbox = nFlags == kToolboxKeyFlags;
  press.shift = Held(VK_SHIFT);
  press.ctrl = Held(VK_CONTROL);

  // The caret's line comes into view first.
  if (m_lineCount > 0 && m_host != nullptr) {
    const RECT client = m_host->GetClientRect();
    const int h = static_cast<int>(client.bottom - client.top);
    const int current = std::clamp(m_currentLine, 0, m_lineCount - 1);
    const DisplayLine& entry = m_display[static_cast<size_t>(current)];
    if (current < m_firstVisible) {
      ScrollTo(*this, entry.top);
    } else if (current > m_lastVisible) {
      ScrollTo(*this, entry.bottom - h);
    }
  }
  press.firstVisible = m_firstVisible;
  press.lastVisible = m_lastVisible;

  // A key lets go of what the mouse was about to mark: an extended object
  // waiting for its clicks, or a play range waiting for its start or end.
  if (m_extClicksWanted != 0) {
    CancelExtObjPlacement();
    return;
  }
  if (m_playAwaitStart != 0 || m_playAwaitEnd != 0) {
    CancelPlayRangeMarking(*this);
    return;
  }

  if (nChar == static_cast<UINT>(VK_CONTROL)) return;
  if (HasSelectionRect(*this) && !FilterSelection(*this, press)) return;

  // With no line to show nothing can move. (A line taller than the window
  // still counts as shown.)
  if (m_lineCount <= 0) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kNoLinesMessage);
    return;
  }

  bool move = false;
  switch (nChar) {
    case VK_ESCAPE:
      HandleEscape(*this, press);
      return;
    case VK_PRIOR:
    case VK_NEXT:
      move = HandlePageKeys(*this, press);
      break;
    case VK_END:
    case VK_HOME:
      move = HandleHomeEnd(*this, press);
      break;
    case VK_LEFT:
    case VK_RIGHT:
      if (press.ctrl && !press.toolbox && HasSelectionRect(*this)) {
        NudgeSelection(*this, press);
        return;
      }
      move = HandleHorizontal(*this, press);
      break;
    case VK_UP:
    case VK_DOWN:
      if (press.ctrl && !press.toolbox && HasSelectionRect(*this)) {
        NudgeSelection(*this, press);
        return;
      }
      if (press.shift && press.ctrl && !press.toolbox && m_autoScroll == 0 &&
          KLineObj::IsNoteFamily(m_currentFamily)) {
        MoveNoteAtCaret(*this, press);
        return;
      }
      move = HandleVertical(*this, press);
      break;
    case VK_INSERT:
      ToggleOverwrite(*this, press);
      return;
    case VK_DELETE:
      HandleDelete(*this, press);
      return;
    case VK_F1:
    case VK_F2:
    case VK_F3:
    case VK_F4:
    case VK_F6:
      ApplyNoteStyleKey(*this, press);
      return;
    default:
      return;
  }
  if (!move) return;
  MoveCaret(*this, press);
  Refresh(*this, press);
}
