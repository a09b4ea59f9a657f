// Insert/Key Signature and Insert/Time Signature: the key of whole lines (with
// the lines of their groups), a key change at the caret, and a time signature
// at the caret.

#include <algorithm>

#include "dialogs/KDlgKeySig.h"
#include "dialogs/KDlgTimeSig.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"

namespace {

constexpr int kUndoLine = 0;
constexpr int kUndoGroup = 1;
constexpr int kUndoSelected = 3;
constexpr UINT kNoNaturalsForLine = 7071;
constexpr int kKeyColumnCode = 254;
constexpr int kNaturalsOffset = 16;
constexpr DWORD kHasKeyColumn = 0x800;
constexpr int kTimeSignatureChar = 225;
constexpr int kCommonTimeCode = 98;
constexpr int kCutTimeCode = 99;
constexpr int kNumberBase = 99;

bool SkipsKey(int type) { return type == 5 || type == 3; }  // text and rhythm lines

// Sets the key of one display line: alone, or with every non-text line of its
// group. A line that shares a translating bracket with the edited line (or
// every line, under mutual translation) takes the key as its own; the others
// keep their own key and only lay out with the group's.
void SetLineKey(CStavlinView& view, int displayLine, int key) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr || SkipsKey(line->GetType())) return;
  KLineGroup* group = line->GetGroup();
  if (group == nullptr) {
    list->SetKeySignature(key, 0, 0);
    return;
  }
  const POSITION own = view.GetDisplayEntry(displayLine).line;
  const int ownSlot = group->FindSlot(own);
  const int ownBracket = ownSlot >= 0 ? group->GetSlotBracket(ownSlot, 1) : 0;
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    KLineObj* member = group->GetSlotLine(slot);
    KListLine* memberList = member != nullptr ? member->AsListLine() : nullptr;
    if (memberList == nullptr || member->GetType() == 5) continue;
    const bool aligned = ownBracket != 0 && group->GetSlotBracket(slot, 1) == ownBracket;
    if (view.m_mutualTranslation != 0 || aligned || slot == ownSlot) {
      memberList->SetKeySignature(key, key, 0);
    } else {
      memberList->SetKeySignature(key, group->GetLeadInSteps(), 1);
    }
  }
  group->EqualizeLeadInSteps(*view.m_document);
  group->IndentOtherLines();
}

// A key-signature column (254, code) at the column of the line.
void InsertKeyColumn(CStavlinView& view, KLineObj* line, int column, int code) {
  KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  if (list == nullptr) return;
  auto* chord = new KChord(column, 1, kKeyColumnCode, 0);
  chord->AddNote(1, code);
  list->InsertObjAt(chord, view.m_sizeIndex, column, nullptr, 0);
  line->ModifyFlags(kHasKeyColumn, 1);
  list->MarkChanged();
}

void OnInsertKeySignature(CStavlinView& view) {
  if (!view.LeaveReadOnlyForEdit()) return;
  KDlgKeySig dialog;
  dialog.keyCode = view.m_keyAtCaret;
  dialog.selection = view.SelectionRectShown() ? 1 : 0;
  if (dialog.DoModal() != IDOK) return;

  const int lastLine = view.GetDisplayLineCount() - 1;
  if (lastLine < 0) return;
  int handled = 0;
  KLineObj* current = view.GetDisplayLineObj(view.m_currentLine);
  const bool grouped = current != nullptr && current->GetGroupId() != KLineObj::kNoGroup;

  if (dialog.action == KDlgKeySig::kActionSetLine) {
    if (dialog.naturals != 0) {
      AfxMessageBox(kNoNaturalsForLine);
      return;
    }
    view.m_keyAtCaret = dialog.keyCode;
    int first = view.m_currentLine;
    int last = view.m_currentLine;
    if (view.SelectionRectShown() && view.m_selFirstLine >= 0) {
      first = std::min(std::min(view.m_selFirstLine, view.m_selLastLine), lastLine);
      last = std::min(std::max(view.m_selFirstLine, view.m_selLastLine), lastLine);
      view.RecordUndoStep(kUndoSelected, 0, 0, nullptr, 0);
    } else if (grouped) {
      view.RecordUndoStep(kUndoGroup, current->GetGroupId(), 0, nullptr, 0);
    } else {
      view.RecordUndoStep(kUndoLine, view.m_currentLine, 0, nullptr, 0);
    }
    for (int d = first; d <= last; ++d) SetLineKey(view, d, dialog.keyCode);
    handled = last - first + 1;
  } else {
    if (dialog.naturals != 0 && dialog.count == 0) return;  // nothing to cancel
    const int code = dialog.keyCode + (dialog.naturals != 0 ? kNaturalsOffset : 0);
    if (current != nullptr && current->GetFamily() == KLineObj::kFamilyStaff) {
      if (grouped) {
        KLineGroup* group = current->GetGroup();
        view.RecordUndoStep(kUndoGroup, current->GetGroupId(), 0, nullptr, 0);
        for (int slot = 0; group != nullptr && slot < group->GetSlotCount(); ++slot) {
          KLineObj* member = group->GetSlotLine(slot);
          if (member != nullptr && member->GetFamily() == KLineObj::kFamilyStaff)
            InsertKeyColumn(view, member, view.m_caretColumn, code);
        }
      } else {
        view.RecordUndoStep(kUndoLine, view.m_currentLine, 0, nullptr, 0);
        InsertKeyColumn(view, current, view.m_caretColumn, code);
      }
    }
    handled = 1;
  }

  const int hint = handled == 1 && !grouped ? CStavlinView::kHintLineFrom + 10000 * view.m_currentLine
                                            : CStavlinView::kHintAll;
  view.UpdateAfterEdit(hint, 1);
}

void OnInsertTimeSignature(CStavlinView& view) {
  KDlgTimeSig dialog;
  if (dialog.DoModal() != IDOK) return;
  view.m_timeSigDenominator = 0;
  switch (dialog.choice) {
    case KDlgTimeSig::kCommonTime:
      view.m_timeSigNumerator = kCommonTimeCode;
      break;
    case KDlgTimeSig::kCutTime:
      view.m_timeSigNumerator = kCutTimeCode;
      break;
    case KDlgTimeSig::kNumeric:
      view.m_timeSigNumerator = kNumberBase + dialog.beats;
      view.m_timeSigDenominator = kNumberBase + dialog.beatValue;
      break;
    default:
      return;
  }
  view.OnChar(kTimeSignatureChar, 0, 0);
  // The lines after it start in the new time.
  if (view.m_document != nullptr) view.m_document->PropagateTimeSignatures();
}

constexpr KViewCommandHandler kHandlers[] = {
    {cmd::kInsertKeySignature, cmd::kInsertKeySignature,
     [](CStavlinView& v, UINT) { OnInsertKeySignature(v); }},
    {cmd::kInsertTimeSignature, cmd::kInsertTimeSignature,
     [](CStavlinView& v, UINT) { OnInsertTimeSignature(v); }},
};

}  // namespace

std::span<const KViewCommandHandler> SignatureCommandHandlers() { return kHandlers; }
