// The worker behind the Insert menu's line commands: a new empty line of a
// chosen kind below the caret's line (or at the head of the score when the
// caret is at its very start), made visible, built with the settings in force
// at the caret (key, time signature, tuning, fonts), offered to the caret
// line's group, laid out, scrolled to and given the caret. The line itself is
// built by ViewInsertLineBuild.cpp; Keyboard Staff and Page Break are in
// ViewInsertSpecialLines.cpp.

#include <algorithm>

#include "common/ViewServices.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KTabLine.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/commands/ViewInsertLineBuild.h"
#include "view/core/ViewMirrors.h"

namespace {

constexpr int kShowAll = 8;
// Placement that forbids insertion above the first line (the hand-over of
// text from a text document inserts after it).
constexpr int kNeverAtHead = 1111;
constexpr int kUndoWholeScore = 2;
constexpr int kUndoGroupToEnd = 5;
constexpr int kUndoLineToEnd = 6;
constexpr int kBassStaff = 1;
constexpr UINT kJoinGroupQuestion = 7097;
constexpr UINT kEditGroupReminder = 8234;
constexpr DWORD kPairMember = KLineObj::kFlagPairedStaff;
constexpr DWORD kPairUpper = KLineObj::kFlagPairUpper;
// Columns past any line's end: "at the end of the line".
constexpr int kLineEndColumn = 30000;
constexpr int kWholeLineColumn = 32000;

bool IsNotationFamily(int family) {
  return family == KLineObj::kFamilyStaff || family == KLineObj::kFamilyTab;
}

bool IsShown(const CStavlinView& v, int type) {
  return type >= 0 && type < static_cast<int>(v.m_show.size()) && v.m_show[static_cast<size_t>(type)] != 0;
}

// A new staff or tablature line never lands between the two staves of a
// brace pair: with the caret on the upper staff of a pair (or on a line of
// the group between the two), the current display line moves down to the
// pair's lower staff.
void StepPastOpenBracePair(CStavlinView& v, int groupId, POSITION currentPos) {
  KLineGroup* group = v.m_document->FindLineGroup(groupId);
  if (group == nullptr) return;
  bool open = false;
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    const KLineObj* line = v.m_document->GetLineAt(group->GetSlotLineRef(slot));
    if (line != nullptr && line->TestFlags(kPairUpper)) {
      open = true;
    } else if (line != nullptr && line->TestFlags(kPairMember) && group->GetSlotLineRef(slot) != currentPos) {
      open = false;  // a pair that closed before the caret's line
    }
    if (group->GetSlotLineRef(slot) == currentPos) break;
  }
  if (!open) return;
  if (v.m_show[kShowAll] == 0 && (!IsShown(v, 0) || !IsShown(v, kBassStaff))) v.OnViewShowAll();
  int line = v.m_currentLine;
  while (line < v.m_lineCount - 1) {
    ++line;
    const KLineObj* below = v.GetDisplayLineObj(line);
    if (below != nullptr && below->TestFlags(kPairMember) && !below->TestFlags(kPairUpper)) break;
  }
  v.m_currentLine = line;
}

// The time signature a new staff or tablature line starts with: the one in
// force at the end of the nearest staff or tablature line above (the music
// goes on from there); none when there is no such line; 4/4 at the head of
// the score or while no notation shows.
void StartingTimeSignature(CStavlinView& v, bool atHead, int& beats, int& beatTicks) {
  beats = kDefaultBeats;
  beatTicks = kDefaultBeatTicks;
  if (atHead || v.m_onlyChordsAndText != 0) return;
  for (int i = std::min(v.m_currentLine, v.m_lineCount - 1); i >= 0; --i) {
    if (!IsNotationFamily(KLineObj::FamilyOf(v.GetDisplayEntry(i).type))) continue;
    KListLine* line = v.GetDisplayLineObj(i) != nullptr ? v.GetDisplayLineObj(i)->AsListLine() : nullptr;
    if (line == nullptr) continue;
    line->GetTimeSignatureAt(kLineEndColumn, beats, beatTicks, 0);
    if (beats == 0) {
      v.m_document->PropagateTimeSignatures();
      line->GetTimeSignatureAt(kWholeLineColumn, beats, beatTicks, 0);
    }
    if (beats == 0) {
      beats = kDefaultBeats;
      beatTicks = kDefaultBeatTicks;
    }
    return;
  }
  beats = 0;
  beatTicks = kDefaultBeatTicks;
}

// The fret position tablature entry starts from: with the option that takes
// fret positions from earlier fingering, the lowest fret of the nearest
// tablature line above; otherwise the open position.
int StartingFretPosition(CStavlinView& v, bool atHead) {
  if (atHead || v.m_onlyChordsAndText != 0 || v.m_fretFromPrevious == 0) return 0;
  for (int i = std::min(v.m_currentLine, v.m_lineCount - 1); i >= 0; --i) {
    if (auto* tab = dynamic_cast<KTabLine*>(v.GetDisplayLineObj(i)))
      return std::max(tab->GetFretPositionStat(kLineEndColumn, 0), 0);
  }
  return 0;
}

// Offers the new line to the caret line's group: it joins without asking
// when the line below it belongs to the same group, else after Yes to 7097.
// A full group keeps the line independent. Returns the group joined.
KLineGroup* JoinCaretGroup(CStavlinView& v, int groupId, POSITION currentPos, POSITION nextPos,
                           POSITION newPos, KLineObj* line, int type) {
  KLineGroup* group = v.m_document->FindLineGroup(groupId);
  if (group == nullptr || group->GetSlotCount() >= KLineGroup::kMaxSlots) return nullptr;
  const KLineObj* next = v.m_document->GetLineAt(nextPos);
  const bool nextInGroup = next != nullptr && next->GetGroupId() == groupId;
  if (!nextInGroup && AfxMessageBox(kJoinGroupQuestion, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return nullptr;
  if (group->InsertLine(currentPos, newPos, line, type, v.m_keyAtCaret, 0, 0) == 0) return nullptr;
  group->IndentOtherLines();
  if (IsNotationFamily(KLineObj::FamilyOf(type)) && g_prefStaffLines3.keepBarsAligned != 0)
    AfxMessageBox(kEditGroupReminder, MB_OK | MB_ICONINFORMATION);
  return group;
}

}  // namespace

void CStavlinView::InsertLineOfType(int type, int value) {
  const int family = KLineObj::FamilyOf(type);
  if (m_document == nullptr || family == KLineObj::kNoFamily || type == 6 || type == 7 || type == 8) return;
  POSITION currentPos = m_currentLine >= 0 && m_currentLine < m_lineCount
                            ? m_display[static_cast<size_t>(m_currentLine)].line
                            : nullptr;
  KLineObj* current = m_document->GetLineAt(currentPos);
  int groupId = current != nullptr ? current->GetGroupId() : KLineObj::kNoGroup;

  // Undo, and the new line's kind made visible.
  if (!IsShown(*this, kShowAll) && !IsShown(*this, type)) {
    RecordUndoStep(kUndoWholeScore, 0, 0, nullptr, 0);
    ToggleLineTypeShown(type);
  } else if (groupId != KLineObj::kNoGroup) {
    RecordUndoStep(kUndoGroupToEnd, groupId, 0, nullptr, 0);
  } else {
    RecordUndoStep(kUndoLineToEnd, m_currentLine, 0, nullptr, 0);
  }

  if (IsNotationFamily(family) && groupId != KLineObj::kNoGroup && current != nullptr &&
      current->GetType() != kBassStaff) {
    StepPastOpenBracePair(*this, groupId, currentPos);
  }
  currentPos = m_currentLine >= 0 && m_currentLine < m_lineCount
                   ? m_display[static_cast<size_t>(m_currentLine)].line
                   : nullptr;
  current = m_document->GetLineAt(currentPos);
  groupId = current != nullptr ? current->GetGroupId() : KLineObj::kNoGroup;

  const bool atHead =
      current == nullptr || (m_currentLine == 0 && m_caretColumn == 0 && value != kNeverAtHead);
  CString label;
  if (current != nullptr && current->GetType() == type) label = current->GetLabelName();

  KNewLineSettings settings;
  settings.type = type;
  settings.key = m_keyAtCaret;
  if (IsNotationFamily(family)) StartingTimeSignature(*this, atHead, settings.beats, settings.beatTicks);
  if (family == KLineObj::kFamilyTab) m_handPosition = StartingFretPosition(*this, atHead);
  const POSITION nextPos =
      m_currentLine < m_lineCount - 1 ? m_display[static_cast<size_t>(m_currentLine + 1)].line : nullptr;

  KNewLines made = BuildNewLine(*this, settings, label);
  if (made.first == nullptr) return;
  const POSITION newPos =
      atHead ? m_document->AddHeadLine(made.first) : m_document->InsertLineAfter(currentPos, made.first);
  if (made.second != nullptr) PlacePairedTablature(*this, made, newPos, settings);

  // A text line made on a text line keeps the caret's font.
  if (family == KLineObj::kFamilyText && current != nullptr && current->GetFamily() == KLineObj::kFamilyText)
    m_currentTextFont = 0;

  KLineGroup* joined = nullptr;
  if (!atHead && made.second == nullptr && groupId != KLineObj::kNoGroup)
    joined = JoinCaretGroup(*this, groupId, currentPos, nextPos, newPos, made.first, type);

  if (current != nullptr && IsNotationFamily(current->GetFamily())) {
    if (KListLine* list = current->AsListLine()) list->MarkChanged();
  }

  // Lay out with the new line, then decide where to scroll and what to repaint.
  const int oldLine = m_currentLine;
  const int firstTop = m_firstVisible >= 0 && m_firstVisible < m_lineCount
                           ? m_display[static_cast<size_t>(m_firstVisible)].top
                           : 0;
  const int oldBottom =
      !atHead && oldLine >= 0 && oldLine < m_lineCount ? m_display[static_cast<size_t>(oldLine)].bottom : 0;
  m_currentType = type;
  m_currentFamily = family;
  m_currentLine = atHead ? 0 : oldLine + 1;
  m_caretColumn = 0;
  if (IsNotationFamily(family)) m_caretRow = family == KLineObj::kFamilyTab ? 4 : 18;

  if (made.second == nullptr) {
    SetLineLabel(made.first, label);
    if (auto* chords = dynamic_cast<KChordPicLine*>(made.first)) chords->SetTuning(m_trebleTabTuning, 0);
    if (joined != nullptr) {
      made.first->SetGroup(joined->GetId(), joined);
    } else {
      made.first->SetStaffLength(m_fixedStaffLength);
    }
  } else {
    SetLineLabel(made.first, made.firstLabel);
    SetLineLabel(made.second, made.secondLabel);
  }

  RebuildDisplayLines(0);
  int y = 0;
  int hint = kHintAll;
  if (!atHead) {
    int height = 0;
    for (int i = m_currentLine; i < m_lineCount && i <= m_currentLine + (made.second != nullptr ? 1 : 0); ++i)
      height += m_display[static_cast<size_t>(i)].bottom - m_display[static_cast<size_t>(i)].top;
    const RECT client = m_host != nullptr ? m_host->GetClientRect() : RECT{};
    if (oldBottom - firstTop + height + 1 >= client.bottom - client.top) {
      y = firstTop + height;
    } else {
      y = firstTop;
      if (groupId == KLineObj::kNoGroup && made.second == nullptr) hint = kHintLineAndBelow + 10000 * oldLine;
    }
  }
  const int top = FindTopLine(y);
  SetVirtualScrollPosition(0, top);
  m_document->SetModifiedFlag(TRUE);
  // Other views of the score lay it out again before they repaint.
  g_relayout = 1;
  m_document->UpdateAllViews(nullptr, hint);
  g_relayout = 0;
  PlaceCaret();
  g_viewMirrors.currentLine = m_currentLine;
  g_viewMirrors.caretColumn = m_caretColumn;
  g_viewMirrors.currentType = m_currentType;
  g_viewMirrors.currentPage =
      m_currentLine < m_lineCount ? GetDisplayEntry(m_currentLine).extra[kPageCode] / 10 : 0;
}

// The Insert menu's line commands.
std::span<const KViewCommandHandler> InsertCommandHandlers() {
  using namespace cmd;
  // The line kind of each command 41040..41054 (41050 builds a keyboard pair).
  static constexpr int kTypes[] = {5, 0, 1, 9, 10, 11, 12, 13, 16, 14, -1, 2, 15, 3, 4};
  static constexpr KViewCommandHandler kHandlers[] = {
      {kInsertTextLine, kInsertKeyboardStaff - 1,
       [](CStavlinView& v, UINT id) { v.InsertLineOfType(kTypes[id - kInsertTextLine], 0); }},
      {kInsertKeyboardStaff, kInsertKeyboardStaff, [](CStavlinView& v, UINT) { v.OnInsertKeyboardStaff(); }},
      {kInsertKeyboardStaff + 1, kInsertChordLine,
       [](CStavlinView& v, UINT id) { v.InsertLineOfType(kTypes[id - kInsertTextLine], 0); }},
      {kInsertChord, kInsertChord, [](CStavlinView& v, UINT) { v.OnInsertChord(); }},
      {kInsertExtendedFirst, kInsertTextString,
       [](CStavlinView& v, UINT id) { v.OnInsertExtendedObject(id); }},
      {kInsertPageBreak, kInsertPageBreak, [](CStavlinView& v, UINT) { v.OnInsertPageBreak(); }},
      {kInsertPreviousFirst, kInsertPreviousLast,
       [](CStavlinView& v, UINT id) { v.OnInsertPreviousObject(id); }},
  };
  return kHandlers;
}
