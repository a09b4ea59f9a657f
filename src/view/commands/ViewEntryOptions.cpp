// The Options menu's entry switches: how keyboard and mouse entry behave.
// None of them changes a note. The ones the score keeps go into the view's
// copy of the settings record, which is stored into the document (and marks
// it modified); the others live in the view and its program-wide mirrors.

#include "common/Globals.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewMirrors.h"

namespace {

// The settings' edit-flag bit that says auto-wrap is on.
constexpr BYTE kAutoWrapBit = 16;
// Cursor resources: 600 + symbol code, 800 + code of an alternate symbol.
constexpr int kCursorBase = 600;
constexpr int kAlternateCursorOffset = 200;
constexpr int kAlternateCodeBase = 10000;

void StoreSettings(CStavlinView& view) {
  if (view.m_document != nullptr) view.m_document->SetSettings(view.m_options, TRUE);
}

void RefreshToolboxes(CStavlinView& view) {
  if (view.m_host != nullptr && view.m_host->Frame() != nullptr) view.m_host->Frame()->RefreshToolboxes();
}

BYTE Flip(BYTE value) { return value != 0 ? 0 : 1; }

}  // namespace

void CStavlinView::OnOptionsArrowsMoveWithinStaff() {
  m_options.arrowKeysWithinStaff = Flip(m_options.arrowKeysWithinStaff);
  StoreSettings(*this);
}

void CStavlinView::OnOptionsUseArrowCursor() {
  g_prefEntryOptions.cursorMode = g_prefEntryOptions.cursorMode != 0 ? 0 : 1;
  if (m_host != nullptr) {
    int cursor = 0;  // the system arrow
    if (g_prefEntryOptions.cursorMode != 0) {
      const int code = g_CurrentNoteCode;
      cursor =
          kCursorBase + code % kAlternateCodeBase + (code >= kAlternateCodeBase ? kAlternateCursorOffset : 0);
    }
    m_host->SetCursorId(cursor);
  }
  // The choice is the user's for every score and every later session.
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kEntryOptions);
  RefreshToolboxes(*this);
}

void CStavlinView::OnOptionsKeyboardSetsCursorSymbol() {
  m_options.keyChangesCursor = Flip(m_options.keyChangesCursor);
  StoreSettings(*this);
}

void CStavlinView::OnOptionsAdvanceCaret() {
  g_prefEntryOptions.advanceAfterNote = g_prefEntryOptions.advanceAfterNote != 0 ? 0 : 1;
  WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kEntryOptions);
}

void CStavlinView::OnOptionsAutoWrapMusic() {
  m_autoWrap = m_autoWrap != 0 ? 0 : 1;
  g_autoWrap = m_autoWrap;
  g_viewMirrors.autoWrap = m_autoWrap;
  if (m_autoWrap != 0) {
    // Wrapping needs a length to wrap at: the widest music unless one is set.
    if (m_fixedStaffLength == 0) m_fixedStaffLength = m_widest;
    m_options.editFlags = static_cast<BYTE>(m_options.editFlags | kAutoWrapBit);
  } else {
    m_fixedStaffLength = m_options.fixedLineLength;
    m_options.editFlags = static_cast<BYTE>(m_options.editFlags & ~kAutoWrapBit);
  }
  StoreSettings(*this);
}

void CStavlinView::OnOptionsAutoJoinClusters(UINT id) {
  if (id > cmd::kOptionsAutoJoinToggle && id <= cmd::kOptionsAutoJoinLast) {
    m_autoJoin = static_cast<int>(id - cmd::kOptionsAutoJoinToggle);
  } else if (id == cmd::kOptionsAutoJoinToggle) {
    if (m_autoJoin != 0) {
      m_autoJoinLast = m_autoJoin;
      m_autoJoin = 0;
    } else {
      m_autoJoin = m_autoJoinLast > 0 ? m_autoJoinLast : 1;
    }
  }
  g_viewMirrors.autoJoin = m_autoJoin;
}

void CStavlinView::OnOptionsAutoBarInsertion() {
  m_autoBars = m_autoBars != 0 ? 0 : 1;
  g_viewMirrors.autoBars = m_autoBars;
}

void CStavlinView::OnOptionsAutoStemNone() {
  m_stemDirection = 0;
  g_viewMirrors.stemDirection = 0;
}

void CStavlinView::OnOptionsAutoStemInward() {
  m_stemDirection = 1;
  g_viewMirrors.stemDirection = 1;
}

void CStavlinView::OnOptionsAutoStemOutward() {
  m_stemDirection = 2;
  g_viewMirrors.stemDirection = 2;
}

std::span<const KViewCommandHandler> EntryOptionCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kNoteStyleFirst, kNoteStyleLast, [](CStavlinView& v, UINT id) { v.OnOptionsNoteStyle(id); }},
      {kInsertAlternateSymbol, kInsertAlternateSymbol,
       [](CStavlinView& v, UINT id) { v.OnOptionsNoteStyle(id); }},
      {kOptionsAutoJoinToggle, kOptionsAutoJoinLast,
       [](CStavlinView& v, UINT id) { v.OnOptionsAutoJoinClusters(id); }},
      {kActionsJoinTails, kActionsJoinTails, [](CStavlinView& v, UINT) { v.OnActionsJoinTails(); }},
      {kActionsUnjoinTails, kActionsUnjoinTails, [](CStavlinView& v, UINT) { v.OnActionsUnjoinTails(); }},
      {kOptionsArrowsWithinStaff, kOptionsArrowsWithinStaff,
       [](CStavlinView& v, UINT) { v.OnOptionsArrowsMoveWithinStaff(); }},
      {kOptionsArrowCursor, kOptionsArrowCursor, [](CStavlinView& v, UINT) { v.OnOptionsUseArrowCursor(); }},
      {kOptionsKeyboardSetsCursor, kOptionsKeyboardSetsCursor,
       [](CStavlinView& v, UINT) { v.OnOptionsKeyboardSetsCursorSymbol(); }},
      {kOptionsAdvanceCaret, kOptionsAdvanceCaret, [](CStavlinView& v, UINT) { v.OnOptionsAdvanceCaret(); }},
      {kOptionsAutoWrap, kOptionsAutoWrap, [](CStavlinView& v, UINT) { v.OnOptionsAutoWrapMusic(); }},
      {kOptionsAutoBars, kOptionsAutoBars, [](CStavlinView& v, UINT) { v.OnOptionsAutoBarInsertion(); }},
      {kOptionsStemNone, kOptionsStemNone, [](CStavlinView& v, UINT) { v.OnOptionsAutoStemNone(); }},
      {kOptionsStemInward, kOptionsStemInward, [](CStavlinView& v, UINT) { v.OnOptionsAutoStemInward(); }},
      {kOptionsStemOutward, kOptionsStemOutward, [](CStavlinView& v, UINT) { v.OnOptionsAutoStemOutward(); }},
  };
  return kHandlers;
}
