// What a click enters: the toolbox's current symbol, typed at the new caret
// as the keystrokes that enter it (OnChar is the one road into a line), and
// the two clicks that mark the play range.

#include <algorithm>

#include "common/Globals.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineObj.h"
#include "platform/Keys.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/input/ViewMouseInternal.h"

namespace viewmouse {

namespace {

constexpr int kAlternatePage = 10000;
// Symbols the typing table has no key of their own for: the combined repeat
// bars, typed as two bars on one column.
constexpr int kRepeatPairBar = 96;
constexpr int kRepeatPairEnd = 97;
constexpr int kEndRepeatKey = ']';
constexpr int kRepeatSignKey = '%';
// On a rhythm line these symbols are typed with other keys.
struct RhythmKey {
  int code;
  int key;
};
constexpr RhythmKey kRhythmKeys[] = {{90, 'Z'}, {71, 'L'}, {49, 'F'}, {53, 'S'}};
// A plain (not alternate) symbol of these codes is its key typed twice.
constexpr int kDoubledCodes[] = {90, 92, 101};
// The play-range end mark stands this far right of the caret.
constexpr int kPlayEndShift = 6;
// The play range's start line while no range is marked.
constexpr int kNoPlayRange = 10000;

}  // namespace

bool IsDoubledKey(int code) {
  if (code % 2 == 1 && code >= 28 && code <= 77) return true;
  return std::find(std::begin(kDoubledCodes), std::end(kDoubledCodes), code) != std::end(kDoubledCodes);
}

void TypeFromToolbox(CStavlinView& view, int key) {
  view.m_toolboxPick = 1;
  view.OnChar(static_cast<UINT>(key), 0, 0);
  view.m_toolboxPick = 0;
}

int KeyOfSymbol(const CStavlinView& view, int code, int family) {
  if (family == KLineObj::kFamilyRhythm) {
    for (const RhythmKey& entry : kRhythmKeys)
      if (entry.code == code) return entry.key;
  }
  // The combined bars are typed over a bar of their first key: an end repeat
  // that a start repeat joins, a repeat sign that a second one doubles.
  if (code == kRepeatPairBar) return kEndRepeatKey;
  if (code == kRepeatPairEnd) return kRepeatSignKey;
  // The key whose typed symbol is the code, from the one table typing uses.
  // A code without a key of its own shares the key of the code before it.
  for (const int wanted : {code, code % 2 == 1 ? code - 1 : -1}) {
    if (wanted < 0) continue;
    for (int key = '!'; key <= '~'; ++key) {
      if (key >= '0' && key <= '9') continue;  // digits are frets
      int translated = key;
      if (view.TranslateTypedChar(translated, 0, 0) != 0 && translated % kAlternatePage == wanted) return key;
    }
  }
  return 0;
}

void EnterToolboxSymbol(CStavlinView& view) {
  const int family = view.GetCurrentFamily();
  const bool noteLine = KLineObj::IsNoteFamily(family);
  if (view.m_toolboxSymbol < 0 || g_prefEntryOptions.cursorMode != 1) return;
  if (!noteLine && family != KLineObj::kFamilyRhythm) return;

  const int code = view.m_toolboxSymbol % kAlternatePage;
  const bool alternate = view.m_toolboxSymbol >= kAlternatePage;
  const int key = KeyOfSymbol(view, code, family);
  if (key == 0) {
    MessageBeep(MB_ICONASTERISK);
    return;
  }
  // The toolbox's page for this entry only.
  SavedInt page(view.m_alternateSymbols, alternate ? 1 : 0);
  TypeFromToolbox(view, key);
  if (!noteLine) return;

  // The rest of a two-keystroke symbol belongs to the same undo step.
  SavedInt quiet(g_noModify, 1);
  if (!alternate && IsDoubledKey(code)) {
    TypeFromToolbox(view, key);
  } else if (code == kRepeatPairBar || code == kRepeatPairEnd) {
    view.OnKeyDown(VK_LEFT, 0, 0);
    TypeFromToolbox(view, code == kRepeatPairBar ? '[' : '%');
  }
}

bool RecordPlayRangeClick(CStavlinView& view, const CaretState& saved) {
  if (view.m_playAwaitStart == 0 && view.m_playAwaitEnd == 0) return false;
  const POINT caret = view.PlaceCaret();
  const POINT scroll = view.GetVirtualScrollPosition();
  // Marks are kept from the content's left edge, as they are drawn.
  const int caretX = caret.x + scroll.x - view.m_contentLeft;
  const int line = view.GetCurrentLine();
  if (view.m_playAwaitStart != 0) {
    view.m_playFirstLine = line;
    view.m_playFirstColumn = view.GetCaretColumn();
    view.m_playStartX = caretX;
    view.m_playLastLine = -1;
    view.m_playAwaitStart = 0;
    view.m_playAwaitEnd = 1;
  } else {
    view.m_playLastLine = line;
    view.m_playLastColumn = view.GetCaretColumn();
    view.m_playEndX = caretX + kPlayEndShift;
    view.m_playAwaitEnd = 0;
    ScoreSettings& options = view.m_options;
    options.word70 = static_cast<short>(view.m_playFirstLine >= 0 ? view.m_playFirstLine : kNoPlayRange);
    options.word71 = static_cast<short>(view.m_playFirstColumn);
    options.word72 = static_cast<short>(view.m_playLastLine);
    options.word73 = static_cast<short>(view.m_playLastColumn);
    options.word74 = static_cast<short>(view.m_playStartX);
    options.word75 = static_cast<short>(view.m_playEndX);
    if (view.m_document != nullptr) view.m_document->SetSettings(options, TRUE);
  }
  // The marks are painted with the score; the caret stays where it was.
  if (view.m_host != nullptr) view.m_host->InvalidateRect(nullptr, FALSE);
  view.m_currentLine = saved.line;
  view.m_caretColumn = saved.column;
  view.m_caretRow = saved.row;
  view.m_currentType = saved.type;
  view.PlaceCaret();
  return true;
}

}  // namespace viewmouse
