// Actions/Transpose All (or Selection): each staff, tablature and chord line
// of the scope makes a transposed copy of itself, which replaces it or goes
// above or below it. Text and rhythm lines keep their notes; in a group their
// indent follows the new key.

#include <algorithm>
#include <set>

#include "common/Globals.h"
#include "dialogs/KDlgTranspose.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr int kUndoScore = 2;
constexpr int kUndoSelectedToEnd = 4;
constexpr int kWholeLineX = 900000;
constexpr int kWholeLineColumn = 32000;
constexpr int kCKeyIndex = 5;
constexpr int kMaxScanSpread = 5;
constexpr int kHighestKeptFret = 16;
constexpr DWORD kUpperPairBits = 4 | 0x200000 | 8;

// The clef area and key signature of a note line of the key at the size, as
// the group indents its other lines.
int KeyWidth(int key, int sizeIndex) {
  return key == 0 ? 0 : KListLine::kAccidentalWidth[sizeIndex] * (key / 2 + 1);
}

struct FingeringDefaults {
  int keepClose = 1;
  int fret = 0;
};

// Keep the fingering close to the lowest fret of the tablature line, unless
// its frets spread over more than five.
FingeringDefaults ScanFrets(KLineObj* line) {
  FingeringDefaults out;
  auto* tab = dynamic_cast<KTabLine*>(line);
  if (tab == nullptr) return out;
  int lowest = 1000;
  int highest = -1;
  const int length = tab->GetLength();
  for (int column = 0; column <= length; ++column) {
    for (int row = 2; row <= 7; ++row) {
      const int fret = tab->GetFretOnString(column, row);
      if (fret < 0) continue;
      lowest = std::min(lowest, fret);
      highest = std::max(highest, fret);
      if (highest - lowest > kMaxScanSpread) return FingeringDefaults{0, 0};
    }
  }
  if (highest >= 0) out.fret = lowest > kHighestKeptFret ? 0 : lowest;
  return out;
}

int ColumnOfX(const CStavlinView& view, int displayLine, int x) {
  const int width = std::max(viewgeom::ColumnWidth(view, view.GetDisplayEntry(displayLine).type), 1);
  return std::max((x - viewgeom::LineLeftX(view, displayLine)) / width, 0);
}

}  // namespace

int TransposeKeyIndexOfCode(int keyCode) {
  const int index = KStaffLine::ListIndexOfKeyCode(keyCode);
  return index < 0 ? kCKeyIndex : index;
}

int TransposeKeyCodeOfIndex(int index) { return std::max(KStaffLine::KeyCodeOfListIndex(index), 0); }

void RunTranspose(CStavlinView& view, const KTransposeRequest* scripted) {
  if (!view.LeaveReadOnlyForEdit()) return;
  if (view.GetDisplayLineCount() <= 0) return;
  const int lastLine = view.GetDisplayLineCount() - 1;
  const bool selected = view.SelectionRectShown() && view.m_selFirstLine >= 0;

  KDlgTranspose dialog;
  dialog.scope = selected ? KDlgTranspose::kScopeSelection : KDlgTranspose::kScopeAll;
  KLineObj* current = view.GetDisplayLineObj(view.m_currentLine);
  const KListLine* currentList = current != nullptr ? current->AsListLine() : nullptr;
  const int currentKey =
      currentList != nullptr && current->GetType() != 5 ? currentList->GetKeySignatureAt(0) : 0;
  dialog.assumedKey = TransposeKeyIndexOfCode(currentKey);
  dialog.targetKey = kCKeyIndex;
  dialog.keyText = current != nullptr && current->GetFamily() == KLineObj::kFamilyStaff
                       ? g_KeySigNames[TransposeKeyIndexOfCode(view.m_defaultKey)]
                       : CString("N/A");
  const FingeringDefaults fingering = current != nullptr && current->GetFamily() == KLineObj::kFamilyTab
                                          ? ScanFrets(current)
                                          : FingeringDefaults{};
  dialog.keepClose = fingering.keepClose;
  dialog.fret = fingering.fret;
  dialog.neverBelow = dialog.fret == 0 ? 1 : 0;
  dialog.placement = selected && view.m_selFirstLine == view.m_selLastLine ? KDlgTranspose::kReplace
                                                                           : g_prefTranspose.placement;
  dialog.accidentals = g_prefTranspose.accidentals;
  dialog.direction = dialog.targetKey != dialog.assumedKey ? KDlgTranspose::kClosest : KDlgTranspose::kRaise;
  if (scripted != nullptr) {
    dialog.targetKey = scripted->targetKey;
    if (scripted->assumedKey >= 0) dialog.assumedKey = scripted->assumedKey;
    dialog.direction = scripted->direction;
    dialog.scope = scripted->scope;
    dialog.placement = scripted->placement;
  } else if (dialog.DoModal() != IDOK) {
    return;
  }

  view.RecordUndoStep(dialog.scope == KDlgTranspose::kScopeSelection ? kUndoSelectedToEnd : kUndoScore, 0, 0,
                      nullptr, 0);
  int first = view.m_currentLine;
  int last = view.m_currentLine;
  int xStart = 0;
  int xEnd = kWholeLineX;
  if (dialog.scope == KDlgTranspose::kScopeAll) {
    first = 0;
    last = lastLine;
  } else if (dialog.scope == KDlgTranspose::kScopeSelection) {
    if (!view.SelectionRectShown() || view.m_selFirstLine < 0) {
      MessageBeep(MB_ICONASTERISK);
      return;
    }
    first = std::clamp(std::min(view.m_selFirstLine, view.m_selLastLine), 0, lastLine);
    last = std::clamp(std::max(view.m_selFirstLine, view.m_selLastLine), 0, lastLine);
    xStart = view.m_selRect.left;
    xEnd = view.m_selRect.right;
    // A selection from the first column takes the line's start (and its key).
    if (view.m_selFirstColumn <= 0) xStart = 0;
  }

  const int newKey = TransposeKeyCodeOfIndex(dialog.targetKey);
  const int size = view.m_sizeIndex;
  const bool replace = dialog.placement == KDlgTranspose::kReplace;
  int growth = 0;

  for (int d = first; d <= last; ++d) {
    const POSITION position = view.GetDisplayEntry(d).line;
    KLineObj* line = view.m_document->GetLineAt(position);
    if (line == nullptr) continue;
    const int type = line->GetType();
    const int family = line->GetFamily();
    const int clefAndKey = KListLine::kClefWidth + KeyWidth(newKey, size) - 5;
    if (type == 5 || type == 3) {
      if (replace && line->GetGroupId() != KLineObj::kNoGroup) line->SetIndent(clefAndKey);
      continue;
    }
    KListLine* list = line->AsListLine();
    if (list == nullptr || (family != KLineObj::kFamilyStaff && family != KLineObj::kFamilyTab &&
                            family != KLineObj::kFamilyChord))
      continue;
    const int firstColumn = xStart == 0 ? 0 : ColumnOfX(view, d, xStart);
    const int lastColumn = xEnd >= kWholeLineX ? kWholeLineColumn : ColumnOfX(view, d, xEnd);
    const int oldKey = list->GetKeySignatureAt(0);
    const int flag = family == KLineObj::kFamilyTab ? dialog.neverBelow : (dialog.accidentals == 0 ? 1 : 0);
    std::unique_ptr<KLineObj> made =
        list->Transpose(firstColumn, lastColumn - 1, firstColumn, dialog.targetKey, dialog.assumedKey,
                        dialog.direction, flag, size, dialog.keepClose != 0 ? dialog.fret : -1);
    KListLine* madeList = made != nullptr ? made->AsListLine() : nullptr;
    if (madeList == nullptr) continue;
    madeList->CopyLayoutFrom(*list);
    const int keyOfCopy = xStart == 0 ? newKey : oldKey;
    madeList->SetKeySignature(keyOfCopy, 0, 0);
    if (family != KLineObj::kFamilyChord && line->GetStaffLength() > 0 && oldKey < newKey)
      growth = std::max(growth, KeyWidth(newKey, 0) - KeyWidth(oldKey, 0));
    if (replace) {
      made->SetFlagWord(line->GetFlagWord());
      const bool groupedChord = family == KLineObj::kFamilyChord && line->GetGroupId() != KLineObj::kNoGroup;
      KLineObj* placed = made.release();
      const POSITION newPos = view.m_document->ReplaceLine(line, position, placed, keyOfCopy, FALSE);
      if (newPos == nullptr) {
        delete placed;
        continue;
      }
      view.m_display[static_cast<size_t>(d)].line = newPos;
      if (groupedChord) placed->SetIndent(KListLine::kClefWidth + KeyWidth(keyOfCopy, size) - 5);
    } else {
      CString label(KDlgTranspose::KeyName(dialog.targetKey).substr(0, 3));
      label += line->GetLabelName();
      made->SetLabel(label);
      if (line->TestFlags(4) != 0) {
        KLineObj* upper = dialog.placement == KDlgTranspose::kAbove ? made.get() : line;
        upper->ModifyFlags(kUpperPairBits, 0);
      }
      made->SetGroup(KLineObj::kNoGroup, nullptr);
      if (dialog.placement == KDlgTranspose::kAbove) {
        view.m_document->InsertLineBefore(position, made.release());
      } else {
        view.m_document->InsertLineAfter(position, made.release());
      }
    }
  }
  // The groups of the range draw their lines in the new key: their lead-in
  // follows the keys their note lines now have.
  if (replace) {
    std::set<int> groupsDone;
    for (POSITION pos = view.m_document->GetFirstLinePosition(); pos != nullptr;) {
      KLineObj* line = view.m_document->GetNextLine(pos);
      KLineGroup* group = line != nullptr ? line->GetGroup() : nullptr;
      if (group == nullptr || !groupsDone.insert(group->GetId()).second) continue;
      group->EqualizeLeadInSteps(*view.m_document);
      group->IndentOtherLines();
    }
  }
  view.RebuildDisplayLines(0);

  if (growth > 0) {
    for (int d = first; d < view.GetDisplayLineCount(); ++d) {
      KLineObj* line = view.GetDisplayLineObj(d);
      KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
      if (list == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) continue;
      if (line->GetStaffLength() > 0 && list->GetKeySignatureAt(0) == newKey)
        line->SetStaffLength(line->GetStaffLength() + growth);
    }
    view.m_widest += growth;
    g_widestNotation = view.m_widest;
  }
  if (dialog.scope == KDlgTranspose::kScopeAll ||
      (dialog.scope == KDlgTranspose::kScopeSelection && last >= lastLine))
    view.m_defaultKey = newKey;

  int hint = CStavlinView::kHintLineAndBelow + 10000 * first;
  if (!replace) {
    view.m_labelWidth = view.MeasureLabelWidth();
    view.m_contentLeft = (view.m_labelsShown != 0 ? view.m_labelWidth : 0) + 11;
    if (view.m_labelsShown != 0) hint = CStavlinView::kHintAll;
  }
  view.UpdateAfterEdit(hint, 1);
}

namespace {

constexpr KViewCommandHandler kHandlers[] = {
    {cmd::kActionsTranspose, cmd::kActionsTranspose, [](CStavlinView& v, UINT) { RunTranspose(v, nullptr); }},
};

}  // namespace

std::span<const KViewCommandHandler> TransposeCommandHandlers() { return kHandlers; }
