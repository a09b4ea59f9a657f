// Actions/Set TAB and Chord Diagram Tuning: gives tablature and chord-diagram
// lines a new string tuning, in place or as translated new lines whose notes
// keep their pitches; labels and pairs the two lines of a two-part
// instrument (a touch guitar's melody and bass sides, a pedal steel's high
// and low strings); makes the tuning the default of new lines; saves or
// removes a user tuning.

#include <algorithm>
#include <memory>
#include <string>

#include "common/Globals.h"
#include "common/ViewServices.h"
#include "dialogs/KDlgTabTuning.h"
#include "dialogs/UserTuningStore.h"
#include "doc/CStavlinDoc.h"
#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KTabLine.h"
#include "model/KLineGroup.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"

namespace {

constexpr const char* kStandard = "E A D G B E  323742475156";
constexpr int kUndoLineToEnd = 6;
constexpr DWORD kNoTabWord = 0x200;
constexpr DWORD kStringPitches = KTabLine::kFlagAltTuning;
constexpr int kPlainTuningLength = 12;
constexpr int kScopeCurrentAndNew = 1;
constexpr int kScopeAll = 2;
constexpr int kPlaceReplace = 0;
constexpr int kPlaceAbove = 1;
constexpr int kSpaceBelowUpperPart = 10;
constexpr const char* kKeepFretsQuestion =
    "This tablature is bracketed with a staff. Keeping its frets in the new tuning makes it sound other "
    "notes than the staff.\n\nTranslate the fingering to the new tuning, so that the tablature keeps "
    "the staff's notes? (No keeps the frets.)";
constexpr int kStringsForSpaceBelow = 6;

enum class Part { kNone, kUpper, kLower };

Part PartOf(const CString& selection) {
  if (selection.Find("Stick-M") >= 0 || selection.Find("Steel-H") >= 0) return Part::kUpper;
  if (selection.Find("Stick-B") >= 0 || selection.Find("Steel-L") >= 0) return Part::kLower;
  return Part::kNone;
}

// "Tab-T" for an unlabelled line (or one labelled as a part already), else
// the label's name followed by ",Tab-T".
CString PartLabel(const KLineObj& line, const char* part) {
  const CString name = line.GetLabelName();
  if (name.IsEmpty() || name.Find("Tab-") >= 0) return part;
  return name + "," + part;
}

struct Retune {
  CStavlinView& v;
  KDlgTabTuning& dlg;
  bool found = false;
};

// The lower part of a two-part instrument below the upper part's line: the
// paired tuning is theirs, and two ungrouped lines become a group of their own.
void PairWithUpperPart(Retune& r, int displayLine, POSITION position, KTabLine& lower) {
  CStavlinView& v = r.v;
  if (displayLine <= 0 || v.GetDisplayEntry(displayLine - 1).type != KTabLine::kKindTab) return;
  auto* upper = dynamic_cast<KTabLine*>(v.GetDisplayLineObj(displayLine - 1));
  if (upper == nullptr) return;
  v.m_options.tabTuningFull = upper->GetTuning() + g_LabelSeparator + lower.GetTuning();
  if (lower.GetGroupId() != KLineObj::kNoGroup || upper->GetGroupId() != KLineObj::kNoGroup ||
      upper->GetLabelName().Find("Tab-T") < 0) {
    return;
  }
  CStavlinDoc& doc = *v.m_document;
  const int id = doc.GetNewLineGroupId();
  const POSITION upperPos = v.GetDisplayEntry(displayLine - 1).line;
  upper->SetGroup(id, nullptr);
  lower.SetGroup(id, nullptr);
  auto* group = new KLineGroup(id, upperPos, upper->GetType(), upper->GetKey(), position, lower.GetType(),
                               lower.GetKey(), 0);
  group->BindLines(doc);
  group->EqualizeLeadInSteps(doc);
  doc.AddLineGroup(group);
  doc.SetGroupStartTimeSignature(id);
  upper->SetGroupPtr(group);
  lower.SetGroupPtr(group);
}

// Labels, flags and spaces of a two-part instrument's line; the lower part
// pairs with the upper part's line above it (pair false: later, or never).
void LabelPart(Retune& r, int displayLine, POSITION position, KTabLine& line, bool pair) {
  CStavlinView& v = r.v;
  switch (PartOf(r.dlg.selectionText)) {
    case Part::kUpper:
      v.SetLineLabel(&line, PartLabel(line, "Tab-T"));
      line.ModifyFlags(kNoTabWord, 1);
      line.SetSpaceBelow(line.GetStringCount() >= kStringsForSpaceBelow ? kSpaceBelowUpperPart : 0,
                         v.m_sizeIndex);
      break;
    case Part::kLower:
      v.SetLineLabel(&line, PartLabel(line, "Tab-B"));
      line.ModifyFlags(kNoTabWord, 1);
      line.SetSpaceAbove(0, v.m_sizeIndex);
      if (pair) PairWithUpperPart(r, displayLine, position, line);
      break;
    case Part::kNone:
      v.m_options.tabTuningFull.Empty();
      break;
  }
}

// A translated line goes in place of the old one, above or below it.
POSITION PlaceNewLine(Retune& r, KLineObj& old, POSITION oldPos, std::unique_ptr<KLineObj> made) {
  CStavlinDoc& doc = *r.v.m_document;
  KListLine* list = old.AsListLine();
  const int key = list != nullptr ? list->GetKeySignatureAt(0) : 0;
  KLineObj* line = made.release();
  if (r.dlg.placement == kPlaceReplace) {
    const POSITION pos = doc.ReplaceLine(&old, oldPos, line, key, FALSE);
    if (pos == nullptr) delete line;
    return pos;
  }
  const POSITION pos =
      r.dlg.placement == kPlaceAbove ? doc.InsertLineBefore(oldPos, line) : doc.InsertLineAfter(oldPos, line);
  r.v.SetLineLabel(line, line->GetLabelName());
  if (dynamic_cast<KTabLine*>(line) != nullptr) line->ModifyFlags(kStringPitches, r.dlg.showPitches);
  return pos;
}

void RetuneTab(Retune& r, int displayLine) {
  CStavlinView& v = r.v;
  DisplayLine& entry = v.m_display[static_cast<size_t>(displayLine)];
  auto* tab = dynamic_cast<KTabLine*>(v.m_document->GetLineAt(entry.line));
  if (tab == nullptr) return;
  tab->ModifyFlags(kNoTabWord, r.dlg.showTabText == 0 ? 1 : 0);
  tab->ModifyFlags(kStringPitches, r.dlg.showPitches != 0 ? 1 : 0);
  const int oldType = tab->GetType();
  std::unique_ptr<KTabLine> made = tab->SetTuning(r.dlg.bass, r.dlg.tuning, r.dlg.translate);
  KTabLine& retuned = made != nullptr ? *made : *tab;
  if (retuned.GetType() != oldType && made == nullptr) {
    entry.type = retuned.GetType();
    if (KLineGroup* group = v.m_document->FindLineGroup(tab->GetGroupId())) {
      const int slot = group->FindSlot(entry.line);
      if (slot >= 0) group->SetSlotType(slot, retuned.GetType());
    }
  }
  if (made == nullptr) {
    LabelPart(r, displayLine, entry.line, *tab, true);
    return;
  }
  made->CopyLayoutFrom(*tab);
  made->CopyAttachmentsFrom(*tab);
  made->ModifyFlags(kNoTabWord, r.dlg.showTabText == 0 ? 1 : 0);
  KTabLine* fresh = made.get();
  LabelPart(r, displayLine, entry.line, *fresh, false);
  const POSITION pos = PlaceNewLine(r, *tab, entry.line, std::move(made));
  if (pos == nullptr) return;
  if (r.dlg.placement == kPlaceReplace) {
    entry.line = pos;
    entry.type = fresh->GetType();
    if (PartOf(r.dlg.selectionText) == Part::kLower) PairWithUpperPart(r, displayLine, pos, *fresh);
  }
}

void RetuneChords(Retune& r, int displayLine) {
  CStavlinView& v = r.v;
  DisplayLine& entry = v.m_display[static_cast<size_t>(displayLine)];
  auto* chords = dynamic_cast<KChordPicLine*>(v.m_document->GetLineAt(entry.line));
  if (chords == nullptr) return;
  std::unique_ptr<KChordPicLine> made = chords->SetTuning(r.dlg.tuning, r.dlg.translate);
  if (made == nullptr) return;
  made->CopyAttachmentsFrom(*chords);
  made->SetIndent(chords->GetIndent());
  const POSITION pos = PlaceNewLine(r, *chords, entry.line, std::move(made));
  if (pos != nullptr && r.dlg.placement == kPlaceReplace) entry.line = pos;
}

// The tuning becomes the default of new tablature lines of its kind.
void MakeDefault(CStavlinView& v, const KDlgTabTuning& dlg) {
  CString tuning = dlg.tuning;
  if (dlg.bass == 0) {
    const std::string t(tuning.View());
    if (t.size() == 1 || (t.size() < 14 && t.substr(0, kPlainTuningLength) == "E A D G B E "))
      tuning = kStandard;
    v.m_trebleTabTuning = tuning;
    v.m_options.tabTuning = tuning;
  } else {
    v.m_bassTabTuning = tuning;
    v.m_options.bassTabTuning = tuning;
  }
  g_CurrentTuning = tuning;
}

// Whether the tablature line at the display line is bracketed with a staff
// in its line group: the two show the same notes, so a retune that keeps the
// frets would make them disagree.
bool BracketedWithStaff(const CStavlinView& v, int displayLine) {
  KLineObj* line = v.GetDisplayLineObj(displayLine);
  CStavlinDoc* doc = v.m_document;
  if (line == nullptr || doc == nullptr || line->GetGroupId() == KLineObj::kNoGroup) return false;
  const KLineGroup* group = doc->FindLineGroup(line->GetGroupId());
  const int slot = group != nullptr ? group->FindSlot(v.GetDisplayEntry(displayLine).line) : -1;
  const int bracket = slot >= 0 ? group->GetSlotBracket(slot, 0) : 0;
  if (bracket == 0) return false;
  for (int other = 0; other < group->GetSlotCount(); ++other) {
    if (other == slot || group->GetSlotBracket(other, 0) != bracket) continue;
    const KLineObj* partner = doc->GetLineAt(group->GetSlotLineRef(other));
    if (partner != nullptr && partner->GetFamily() == KLineObj::kFamilyStaff) return true;
  }
  return false;
}

// The dialog filled from the current line.
void FillDialog(CStavlinView& v, KDlgTabTuning& dlg) {
  dlg.preferFlats = v.m_keyAtCaret & 1;  // odd key codes are flat keys
  dlg.scope = 0;
  dlg.retuneTab = 1;
  dlg.retuneChords = 1;
  dlg.showPitches = g_prefTabOptions.altTuningPitches;
  dlg.placement = std::clamp(g_prefTransAltTun.placement, 0, 2);
  dlg.banjoFret = std::clamp(g_prefStaffLines2.banjoStartFret, 0, 9);
  dlg.showTabText = 1;
  KLineObj* line = v.GetDisplayLineObj(v.m_currentLine);
  if (auto* tab = dynamic_cast<KTabLine*>(line)) {
    dlg.tuning = tab->GetTuning().GetLength() <= 1 ? CString(kStandard) : tab->GetTuning();
    g_CurrentTuning = dlg.tuning;
    dlg.bass = tab->TestFlags(KTabLine::kFlagBass);
    dlg.showTabText = tab->TestFlags(kNoTabWord) != 0 ? 0 : 1;
    if (dlg.tuning != kStandard) dlg.showPitches = tab->TestFlags(kStringPitches);
    // Tablature bracketed with a staff keeps sounding the staff's notes: its
    // fingering is translated, in place, unless the user says otherwise.
    if (BracketedWithStaff(v, v.m_currentLine)) {
      dlg.translate = 1;
      dlg.placement = kPlaceReplace;
    }
  } else if (auto* chords = dynamic_cast<KChordPicLine*>(line)) {
    dlg.tuning =
        chords->GetTuning().GetLength() < kPlainTuningLength ? CString(kStandard) : chords->GetTuning();
    g_CurrentTuning = dlg.tuning;
    dlg.bass = dlg.tuning.GetLength() > 12 && dlg.tuning.GetAt(12) == '*' ? 1 : 0;
  } else {
    dlg.tuning = v.m_trebleTabTuning.IsEmpty() ? CString(kStandard) : v.m_trebleTabTuning;
    dlg.bass = 0;
  }
  dlg.stringChoice = GetTuningStringCount(dlg.tuning) - 2;
}

void StoreUserTuning(const KDlgTabTuning& dlg) {
  const CString value = user_tunings::ReadStore();
  if (dlg.removeMode != 0) {
    if (const std::optional<CString> left = user_tunings::WithoutEntry(value, dlg.entryText))
      user_tunings::WriteStore(*left);
  } else {
    user_tunings::WriteStore(user_tunings::WithEntry(value, dlg.entryText));
  }
}

}  // namespace

void CStavlinView::OnActionsSetTabAndChordDiagramTuning() {
  if (m_document == nullptr) return;
  KDlgTabTuning dlg;
  FillDialog(*this, dlg);
  if (dlg.DoModal() != IDOK) return;
  if (dlg.saveTuning != 0 && dlg.removeMode != 0) {
    StoreUserTuning(dlg);
    return;
  }
  RecordUndoStep(kUndoLineToEnd, m_currentLine, 0, nullptr, 0);

  // The lines: all, the selected ones, or the caret's.
  int first = m_currentLine;
  int last = m_currentLine;
  if (dlg.scope == kScopeAll) {
    first = 0;
    last = m_lineCount - 1;
  } else if (SelectionRectShown()) {
    const auto [top, bottom] = viewgeom::SelectedLines(*this);
    first = top;
    last = bottom;
  }
  first = std::clamp(first, 0, std::max(m_lineCount - 1, 0));
  last = std::clamp(last, first, std::max(m_lineCount - 1, 0));

  // Keeping the frets of tablature bracketed with a staff makes the two
  // lines sound different notes: the user is told and offered the translation.
  if (dlg.translate == 0 && dlg.retuneTab != 0) {
    bool bracketed = false;
    for (int i = first; i <= last && i < m_lineCount && !bracketed; ++i)
      bracketed =
          KLineObj::FamilyOf(GetDisplayEntry(i).type) == KLineObj::kFamilyTab && BracketedWithStaff(*this, i);
    if (bracketed && AfxMessageBox(kKeepFretsQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
      dlg.translate = 1;
      dlg.placement = kPlaceReplace;
    }
  }

  Retune r{*this, dlg};
  for (int i = first; i <= last && i < m_lineCount; ++i) {
    const int family = KLineObj::FamilyOf(GetDisplayEntry(i).type);
    if (family == KLineObj::kFamilyTab) {
      r.found = true;
      if (dlg.retuneTab != 0) RetuneTab(r, i);
    } else if (family == KLineObj::kFamilyChord) {
      r.found = true;
      if (dlg.retuneChords != 0) RetuneChords(r, i);
    }
  }

  if (dlg.scope == kScopeCurrentAndNew || dlg.scope == kScopeAll || !r.found) MakeDefault(*this, dlg);
  m_document->SetSettings(m_options, TRUE);
  if (dlg.saveTuning != 0) StoreUserTuning(dlg);

  if (r.found) RebuildDisplayLines(0);
  MeasureLabelWidth();
  m_contentLeft = (m_labelsShown != 0 ? m_labelWidth : 0) + 11;
  m_document->SetModifiedFlag(TRUE);
  g_relayout = 1;
  m_document->UpdateAllViews(nullptr, m_labelsShown != 0 ? kHintAll : kHintLineAndBelow + 10000 * first);
  g_relayout = 0;
  PlaceCaret();
}

std::span<const KViewCommandHandler> TuningCommandHandlers() {
  static constexpr KViewCommandHandler kHandlers[] = {
      {cmd::kActionsTabTuning, cmd::kActionsTabTuning,
       [](CStavlinView& v, UINT) { v.OnActionsSetTabAndChordDiagramTuning(); }},
  };
  return kHandlers;
}
