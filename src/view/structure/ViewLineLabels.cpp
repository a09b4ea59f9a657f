// Line labels: the label of a line with the MIDI instrument a labelled note
// line takes; labels shown in a column at the left of the lines or as a
// line's own indent; labelling the current or selected lines, or every line
// of a kind that carries a label.

#include <algorithm>
#include <set>
#include <string>

#include "common/SharedGdiObjects.h"
#include "common/ViewServices.h"
#include "dialogs/KDlgSetLineLabel.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "platform/CDC.h"
#include "platform/StringTable.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr DWORD kOwnIndent = 16;
constexpr DWORD kHidden = 2;
constexpr int kLabelMargin = 6;
constexpr int kShortestStaff = 50;
constexpr UINT kUnlabeled = 8050;
constexpr UINT kLastLinesMessage = 7044;
constexpr int kShowAll = 8;

// The names of the line kinds as the label dialog shows them.
const char* KindName(int type) {
  static const char* const kNames[] = {"Treble", "Bass", "TAB",     "Rhythm",  "Chord", "Text",
                                       "Chord",  "Text", "Text",    "Alto",    "Tenor", "8va",
                                       "8vb",    "Drum", "No Clef", "BassTAB", "Perc.L"};
  return type >= 0 && type < 17 ? kNames[type] : "Text";
}

int LabelWidth(CStavlinView& v, const CString& label) {
  CDC* dc = v.m_host != nullptr ? v.m_host->GetMeasureDC() : nullptr;
  if (dc == nullptr || label.IsEmpty()) return 0;
  CFont* previous = dc->SelectObject(&g_LabelFont);
  const int width = static_cast<int>(dc->GetTextExtent(label.View()).cx);
  if (previous != nullptr) dc->SelectObject(previous);
  return width;
}

// A new indent; a fixed-length staff or tablature line of no group keeps its
// right end where it was.
void SetIndentKeepingEnd(KLineObj& line, int indent) {
  const int delta = indent - line.GetIndent();
  line.SetIndent(indent);
  if (KLineObj::IsNoteFamily(line.GetFamily()) && line.GetGroupId() == KLineObj::kNoGroup &&
      line.GetStaffLength() > 0) {
    line.SetStaffLength(std::max(line.GetStaffLength() - delta, kShortestStaff));
  }
}

// The display lines a label command works on: the selected ones, else the
// current one.
std::pair<int, int> TargetLines(CStavlinView& v) {
  if (v.SelectionRectShown()) return viewgeom::SelectedLines(v);
  return {v.m_currentLine, v.m_currentLine};
}

void LayOutGroups(CStavlinView& v, const std::set<int>& groups) {
  for (int id : groups) {
    if (KLineGroup* group = v.m_document->FindLineGroup(id)) {
      group->IndentOtherLines();
      group->ComputeIndent(v.m_host != nullptr ? v.m_host->GetMeasureDC() : nullptr, std::max(v.m_widest, 0),
                           v.m_sizeIndex, v.m_labelsShown);
    }
  }
}

// The score's instrument entries after the fixed ones whose label no line
// shows any more are dropped.
void DropUnusedInstruments(CStavlinView& v) {
  std::set<std::string> used;
  for (int i = 0; i < v.m_lineCount; ++i) {
    if (const KLineObj* line = v.GetDisplayLineObj(i)) used.insert(std::string(line->GetLabelName().View()));
  }
  int kept = ScoreSettings::kFixedInstruments;
  for (int i = ScoreSettings::kFixedInstruments; i < v.m_labelCount; ++i) {
    if (used.count(std::string(v.m_labels[static_cast<size_t>(i)].name.View())) == 0) continue;
    v.m_labels[static_cast<size_t>(kept)] = v.m_labels[static_cast<size_t>(i)];
    v.m_options.instrumentTable[kept] = v.m_options.instrumentTable[i];
    ++kept;
  }
  for (int i = kept; i < v.m_labelCount; ++i) {
    v.m_labels[static_cast<size_t>(i)] = LabelEntry{};
    v.m_options.instrumentTable[i].Empty();
  }
  v.m_labelCount = kept;
  v.m_options.instrumentCount = static_cast<BYTE>(kept);
}

// Lays out again with the label column measured, and repaints.
void RefreshLabels(CStavlinView& v) {
  v.UpdateSelection(CStavlinView::kKeep, CStavlinView::kKeep, CStavlinView::kKeep, CStavlinView::kKeep,
                    CStavlinView::kSelClear);
  v.MeasureLabelWidth();
  v.m_contentLeft = (v.m_labelsShown != 0 ? v.m_labelWidth : 0) + 11;
  RefreshAfterLineChanges(v);
}

}  // namespace

void CStavlinView::SetLineLabel(KLineObj* line, const CString& label) {
  if (line == nullptr) return;
  // The view's instrument entries and the settings texts that mirror them,
  // in the form the line's label setter fills.
  MidiInstrumentTable table;
  table.count = std::clamp(m_labelCount, 0, kInstrumentTableSize);
  for (int i = 0; i < table.count; ++i) {
    table.entries[i].name = m_labels[static_cast<size_t>(i)].name;
    table.entries[i].program = m_labels[static_cast<size_t>(i)].program;
    table.entries[i].volume = m_labels[static_cast<size_t>(i)].volume;
  }
  InstrumentLabels texts;
  for (int i = 0; i < kInstrumentTableSize; ++i) texts.instrumentLabels[i] = m_options.instrumentTable[i];
  texts.instrumentCount = m_options.instrumentCount;
  line->SetLabelAndInstrument(label, table, texts, m_document, -1, -1);
  if (table.count == m_labelCount) return;
  for (int i = m_labelCount; i < table.count; ++i) {
    m_labels[static_cast<size_t>(i)] = {table.entries[i].name, table.entries[i].program,
                                        table.entries[i].volume};
  }
  m_labelCount = table.count;
  for (int i = 0; i < kInstrumentTableSize; ++i) m_options.instrumentTable[i] = texts.instrumentLabels[i];
  m_options.instrumentCount = texts.instrumentCount;
}

void CStavlinView::OnViewLabelsOnAllLines() {
  if (m_document == nullptr) return;
  m_labelsShown = m_labelsShown != 0 ? 0 : 1;
  m_options.lineLabelMode = static_cast<BYTE>(m_labelsShown);
  m_document->SetSettings(m_options, TRUE);
  RefreshLabels(*this);
}

void CStavlinView::OnViewLabelIndent() {
  if (m_document == nullptr || m_lineCount == 0) return;
  const KLineObj* current = GetDisplayLineObj(m_currentLine);
  const bool add = current == nullptr || current->TestFlags(kOwnIndent) == 0;
  std::set<int> groups;
  const auto change = [&](KLineObj& line) {
    const bool has = line.TestFlags(kOwnIndent) != 0;
    if (add && !has) {
      line.ModifyFlags(kOwnIndent, 1);
      SetIndentKeepingEnd(line, LabelWidth(*this, line.GetLabelName()) + kLabelMargin);
    } else if (!add && has) {
      line.ModifyFlags(kOwnIndent, 0);
      SetIndentKeepingEnd(line, 0);
    }
  };
  const auto [first, last] = TargetLines(*this);
  for (int i = first; i <= last; ++i) {
    KLineObj* line = GetDisplayLineObj(i);
    if (line == nullptr) continue;
    const int id = line->GetGroupId();
    KLineGroup* group = m_document->FindLineGroup(id);
    if (group == nullptr) {
      change(*line);
      continue;
    }
    // A line of a group changes with every line of its group.
    if (!groups.insert(id).second) continue;
    for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
      if (KLineObj* member = m_document->GetLineAt(group->GetSlotLineRef(slot))) change(*member);
    }
  }
  LayOutGroups(*this, groups);
  RefreshLabels(*this);
}

void CStavlinView::OnViewLabelSelectedLines() {
  if (m_document == nullptr || m_lineCount == 0) return;
  KLineObj* current = GetDisplayLineObj(m_currentLine);
  if (current == nullptr) return;
  KDlgSetLineLabel dlg;
  const CString oldLabel = current->GetLabelName();
  dlg.newLabel = oldLabel;
  dlg.oldLabel = oldLabel.IsEmpty() ? LoadString(kUnlabeled) : oldLabel;
  dlg.typeName = KindName(current->GetType());
  dlg.scope = 0;
  if (dlg.DoModal() != IDOK) return;
  CString label = dlg.newLabel.Left(KDlgSetLineLabel::kMaxLabelChars);

  // A label whose lines are hidden: the lines labelled now join them, but
  // some line must stay visible.
  bool joinHidden = false;
  if (!label.IsEmpty()) {
    for (POSITION pos = m_document->GetFirstLinePosition(); pos != nullptr;) {
      const KLineObj* line = m_document->GetNextLine(pos);
      if (line == nullptr || line->GetLabelName() != label) continue;
      joinHidden = line->TestFlags(kHidden) != 0;
      break;
    }
  }
  if (joinHidden && m_show[kShowAll] == 0) {
    bool anyVisible = false;
    for (POSITION pos = m_document->GetFirstLinePosition(); pos != nullptr && !anyVisible;) {
      const KLineObj* line = m_document->GetNextLine(pos);
      const int type = line->GetType();
      const bool shownType = type >= 0 && type < 17 && m_show[static_cast<size_t>(type)] != 0;
      anyVisible = shownType && line->TestFlags(kHidden) == 0 && line->GetLabelName() != oldLabel;
    }
    if (!anyVisible) {
      MessageBeep(MB_ICONASTERISK);
      AfxMessageBox(kLastLinesMessage);
      return;
    }
  }

  std::vector<KLineObj*> targets;
  if (dlg.scope == 1) {
    for (int i = 0; i < m_lineCount; ++i) {
      KLineObj* line = GetDisplayLineObj(i);
      if (line != nullptr && line->GetType() == current->GetType() && line->GetLabelName() == oldLabel)
        targets.push_back(line);
    }
  } else {
    const auto [first, last] = TargetLines(*this);
    for (int i = first; i <= last; ++i) {
      if (KLineObj* line = GetDisplayLineObj(i)) targets.push_back(line);
    }
  }

  std::set<int> groups;
  bool toColumn = false;
  for (KLineObj* line : targets) {
    const CString before = line->GetLabelName();
    if (line->TestFlags(kOwnIndent) != 0) {
      if (line->GetIndent() - kLabelMargin == LabelWidth(*this, before) && label.IsEmpty()) {
        line->ModifyFlags(kOwnIndent, 0);
        SetIndentKeepingEnd(*line, 0);
      } else {
        SetIndentKeepingEnd(*line, LabelWidth(*this, label) + kLabelMargin);
      }
    }
    SetLineLabel(line, label);
    if (joinHidden) line->ModifyFlags(kHidden, 1);
    const KLineGroup* group = m_document->FindLineGroup(line->GetGroupId());
    if (group != nullptr) groups.insert(group->GetId());
    if (group != nullptr && group->GetIndent() != 0) {
      line->ModifyFlags(kOwnIndent, 1);
    } else if (line->TestFlags(kOwnIndent) == 0 && !label.IsEmpty()) {
      toColumn = true;
    }
  }
  LayOutGroups(*this, groups);
  DropUnusedInstruments(*this);
  if (toColumn && m_labelsShown == 0) {
    m_labelsShown = 1;
    m_options.lineLabelMode = 1;
  }
  m_document->SetSettings(m_options, TRUE);
  RefreshLabels(*this);
}

std::span<const KViewCommandHandler> LabelCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kViewLabeledLines, cmd::kViewLabeledLines, [](CStavlinView& v, UINT) { v.OnViewLabeledLines(); }},
      {cmd::kViewLabelLines, cmd::kViewLabelLines,
       [](CStavlinView& v, UINT) { v.OnViewLabelSelectedLines(); }},
      {cmd::kLabelIndentNoMenu, cmd::kLabelIndentNoMenu,
       [](CStavlinView& v, UINT) { v.OnViewLabelIndent(); }},
      {cmd::kViewLabelIndent, cmd::kViewLabelIndent, [](CStavlinView& v, UINT) { v.OnViewLabelIndent(); }},
      {cmd::kViewLabelsAll, cmd::kViewLabelsAll, [](CStavlinView& v, UINT) { v.OnViewLabelsOnAllLines(); }},
  };
  return kHandlers;
}
