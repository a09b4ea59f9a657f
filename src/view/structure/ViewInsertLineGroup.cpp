// Insert/Line Group: makes a new line group out of the current line or the
// selected lines, together with every group those lines already belong to,
// or defines a group of new lines. The line grouping dialog sets the lines,
// kinds, labels, bracket sets, braces and long bars; then the old groups are
// dissolved, the new one is built and the rebuilder makes its missing lines.

#include <algorithm>
#include <array>
#include <set>
#include <vector>

#include "common/ViewServices.h"
#include "dialogs/KDlgLineGroup.h"
#include "doc/pref_values/PreferenceWriters.h"
#include "doc/pref_values/Preferences.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"

namespace {

constexpr int kUndoSelectedToEnd = 4;
constexpr int kMaxLines = KLineGroup::kMaxSlots;
constexpr DWORD kPairBits = KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper | KLineObj::kFlagShownPair |
                            KLineObj::kFlagPairLong;
constexpr DWORD kSpaceAtBottom = 1;
constexpr const char* kMustShowAll =
    "All lines in the score must be visible when lines are being grouped.\n"
    "All lines will be made visible now, then re-select lines to group.";
constexpr const char* kTooManyLines =
    "The selected lines plus their associated group lines\n"
    "total to more than twenty lines, but you cannot select\n"
    "    more than twenty lines to create a line group.";
constexpr const char* kTooManySets =
    "There are more than four different mutual translation sets.\nSets after the first four will be turned "
    "off.";
constexpr const char* kOneLine = "A group won't be created since there was only one line in the group.";
constexpr int kColumnUnit[2] = {18, 22};
constexpr int kLeadIn = 34;
constexpr int kAccidental[2] = {5, 7};

struct GatheredLine {
  POSITION position = nullptr;
  KLineObj* line = nullptr;
  int set = 0;
};

// The lines the grouping starts from: the range's lines, each group met taken
// whole in slot order, bracket sets renumbered so that two groups' sets stay
// apart. false when the lines are too many (the message has been shown).
bool GatherLines(CStavlinView& v, int first, int last, std::vector<GatheredLine>& gathered) {
  CStavlinDoc& doc = *v.m_document;
  std::array<int, 5> map{0, 1, 2, 3, 4};
  int previousLargest = 0;
  bool setsWarned = false;
  std::set<POSITION> taken;
  for (int d = first; d <= last && d < v.GetDisplayLineCount(); ++d) {
    const POSITION pos = v.GetDisplayEntry(d).line;
    if (taken.count(pos) != 0) continue;
    KLineObj* line = doc.GetLineAt(pos);
    if (line == nullptr) continue;
    KLineGroup* group = doc.FindLineGroup(line->GetGroupId());
    if (group == nullptr) {
      if (static_cast<int>(gathered.size()) >= kMaxLines) {
        AfxMessageBox(kTooManyLines, MB_OK | MB_ICONEXCLAMATION);
        return false;
      }
      gathered.push_back({pos, line, 0});
      taken.insert(pos);
      continue;
    }
    if (static_cast<int>(gathered.size()) + group->GetSlotCount() > kMaxLines) {
      AfxMessageBox(kTooManyLines, MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    // The sets of this group follow those of the group before.
    if (std::any_of(map.begin() + 1, map.end(), [](int m) { return m == 0; })) {
      std::fill(map.begin() + 1, map.end(), 0);
    } else {
      for (int b = 1; b <= 4; ++b) map[static_cast<size_t>(b)] += previousLargest;
    }
    int largest = 0;
    for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
      const POSITION slotPos = group->GetSlotLineRef(slot);
      KLineObj* slotLine = doc.GetLineAt(slotPos);
      if (slotLine == nullptr || taken.count(slotPos) != 0) continue;
      const int bracket = std::clamp(group->GetSlotBracket(slot, 1), 0, 4);
      largest = std::max(largest, bracket);
      if (map[static_cast<size_t>(bracket)] > 4) {
        if (!setsWarned) AfxMessageBox(kTooManySets, MB_OK | MB_ICONEXCLAMATION);
        setsWarned = true;
        for (int b = bracket; b <= 4; ++b) map[static_cast<size_t>(b)] = 0;
      }
      gathered.push_back({slotPos, slotLine, map[static_cast<size_t>(bracket)]});
      taken.insert(slotPos);
    }
    previousLargest = largest;
  }
  return true;
}

// The staff length new staff and tablature lines of the group take.
int GroupWidth(CStavlinView& v, const KLineGroup& group) {
  int largestStaffLength = 0;
  int largestLength = 0;
  int largestKey = 0;
  for (int slot = 0; slot < group.GetSlotCount(); ++slot) {
    KLineObj* line = group.GetSlotLine(slot);
    if (line == nullptr || !KLineObj::IsNoteFamily(line->GetFamily())) continue;
    if (line->GetStaffLength() > 0) {
      largestStaffLength = std::max(largestStaffLength, line->GetStaffLength());
    } else if (KListLine* list = line->AsListLine()) {
      largestLength = std::max(largestLength, list->GetLength());
      largestKey = std::max(largestKey, list->GetKeySignatureAt(0));
    }
  }
  const int size = v.m_sizeIndex != 0 ? 1 : 0;
  int width = -1;
  if (largestLength > 0) {
    width = kColumnUnit[size] * largestLength + 20 + kLeadIn;
    if (largestKey != 0) width += kAccidental[size] * (largestKey / 2 + 1);
  }
  width = std::max(width, largestStaffLength);
  return width > 0 ? width : v.m_widest;
}

}  // namespace

void CStavlinView::OnInsertLineGroup() {
  if (m_document == nullptr) return;
  CStavlinDoc& doc = *m_document;

  // Every line must be shown: lines of hidden kinds and lines hidden by
  // their label all show once show-all is on. (With show-all on already
  // there is nothing more to show, and the grouping goes on.)
  if (m_show[ScoreSettings::kShowAll] == 0 && m_lineCount < doc.GetLineCount()) {
    AfxMessageBox(kMustShowAll, MB_OK | MB_ICONEXCLAMATION);
    UpdateSelection(kKeep, kKeep, kKeep, kKeep, kSelClear);
    OnViewShowAll();
    return;
  }

  KDlgLineGroup dlg;
  std::vector<GatheredLine> gathered;
  const KLineObj* current = GetDisplayLineObj(m_currentLine);
  const bool selected = SelectionRectShown();
  if (selected || (current != nullptr && current->GetGroupId() != KLineObj::kNoGroup)) {
    int first = m_currentLine;
    int last = m_currentLine;
    if (selected) {
      const auto [top, bottom] = viewgeom::SelectedLines(*this);
      first = top;
      last = bottom;
    }
    if (last - first > kMaxLines) {
      AfxMessageBox(kTooManyLines, MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    if (!GatherLines(*this, first, last, gathered)) return;
  }

  bool everyStaffKind = g_prefStaffLines.staffLengthOption2 != 0;
  dlg.gatheredCount = static_cast<int>(gathered.size());
  for (size_t i = 0; i < gathered.size(); ++i) {
    const KLineObj& line = *gathered[i].line;
    const int type = line.GetType();
    dlg.types[i] = type;
    if (type >= 9 && type != 15) everyStaffKind = true;
    const bool member = line.TestFlags(KLineObj::kFlagPairedStaff) != 0;
    dlg.braces[i] = !member                                         ? 0
                    : line.TestFlags(KLineObj::kFlagPairUpper) != 0 ? KDlgLineGroup::kUpperMark
                                                                    : KDlgLineGroup::kLowerMark;
    dlg.labels[i] = line.GetLabelName();
    dlg.sets[i] = gathered[i].set;
    const int s = gathered[i].set;
    if (s > 0 && dlg.longBars[static_cast<size_t>(s - 1)] < 0)
      dlg.longBars[static_cast<size_t>(s - 1)] = line.TestFlags(KLineObj::kFlagPairLong);
  }
  dlg.includeAll = everyStaffKind ? 1 : 0;
  dlg.defaultsText = g_prefLineGroups;
  if (dlg.DoModal() != IDOK) return;

  RecordUndoStep(kUndoSelectedToEnd, 0, 0, nullptr, 0);
  // The old groups of the gathered lines go; their lines stay.
  std::set<int> oldGroups;
  for (const GatheredLine& g : gathered) {
    const int id = g.line->GetGroupId();
    if (id == KLineObj::kNoGroup) continue;
    oldGroups.insert(id);
    g.line->SetGroup(KLineObj::kNoGroup, nullptr);
    if (g.line->GetType() == 0 || g.line->GetType() == 1) g.line->ModifyFlags(kPairBits, 0);
  }
  for (int id : oldGroups) doc.DeleteLineGroup(id, FALSE);

  // The new group's slots: the rows in the group, in order.
  DWORD flags = dlg.spaceAtBottom != 0 ? kSpaceAtBottom : 0;
  for (int s = 0; s < KDlgLineGroup::kSets; ++s) {
    if (dlg.longBars[static_cast<size_t>(s)] != 0) flags |= 0x10u << s;
  }
  std::vector<int> rows;
  for (int row = 0; row < KDlgLineGroup::kRows; ++row) {
    if (dlg.types[static_cast<size_t>(row)] < KDlgLineGroup::kOutOfGroup) rows.push_back(row);
  }
  std::array<CString, KLineGroup::kMaxSlots> labels;
  size_t longestLabel = 0;
  for (size_t n = 0; n < rows.size(); ++n) {
    labels[n] = dlg.labels[static_cast<size_t>(rows[n])];
    longestLabel = std::max(longestLabel, static_cast<size_t>(labels[n].GetLength()));
  }
  if (longestLabel > 0) MeasureLabelWidth();
  if (!rows.empty()) m_contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + 11;

  bool made = false;
  if (rows.size() == 1) {
    MessageBeep(MB_ICONASTERISK);
    AfxMessageBox(kOneLine, MB_OK | MB_ICONINFORMATION);
  } else if (rows.size() >= 2) {
    const int id = doc.GetNewLineGroupId();
    auto* group = new KLineGroup(id, static_cast<int>(rows.size()), flags);
    std::array<bool, 5> longBarTaken{};
    for (size_t n = 0; n < rows.size(); ++n) {
      const auto row = static_cast<size_t>(rows[n]);
      const int slot = static_cast<int>(n);
      group->SetSlotType(slot, dlg.types[row]);
      group->SetSlotBracket(slot, dlg.sets[row]);
      group->SetSlotPartner(slot, dlg.braces[row]);
      if (dlg.sets[row] != 0 && m_independentEditing == 0) m_mutualTranslation = 1;
      if (row < gathered.size()) {
        KLineObj* line = gathered[row].line;
        group->SetSlotLine(slot, line);
        group->SetSlotLineRef(slot, gathered[row].position);
        const int s = dlg.sets[row];
        if (s > 0 && KLineObj::IsNoteFamily(line->GetFamily()) &&
            dlg.longBars[static_cast<size_t>(s - 1)] != 0 && !longBarTaken[static_cast<size_t>(s)]) {
          line->ModifyFlags(KLineObj::kFlagPairLong, 1);
          longBarTaken[static_cast<size_t>(s)] = true;
        }
      }
    }
    doc.AddLineGroup(group);
    RebuildLineGroup(id, GroupWidth(*this, *group), -1, labels.data());
    made = true;
  }
  if (!gathered.empty() || made) {
    doc.SetModifiedFlag(TRUE);
    g_relayout = 1;
    doc.UpdateAllViews(nullptr, kHintAll);
    g_relayout = 0;
  }

  // New defaults of the dialog, and whether it offers every staff kind.
  const int preferenceAll = g_prefStaffLines.staffLengthOption2 != 0 ? 1 : 0;
  if (dlg.useAsDefaults != 0 || dlg.includeAll != preferenceAll) {
    if (dlg.useAsDefaults != 0) {
      g_prefLineGroups = dlg.newDefaultsText;
      WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kLineGroups);
    }
    g_prefStaffLines.staffLengthOption2 = dlg.includeAll;
    WritePreferenceGroup(HKEY_CURRENT_USER, KPrefGroup::kStaffLines);
  }
}

std::span<const KViewCommandHandler> LineGroupCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kInsertLineGroup, cmd::kInsertLineGroup, [](CStavlinView& v, UINT) { v.OnInsertLineGroup(); }},
  };
  return kHandlers;
}
