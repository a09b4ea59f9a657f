// Actions/Translate Current or Selected Line(s): To Text, To Treble ... To
// Chord. Each line of the selection (or the current line) is translated by
// its own TranslateTo into a new line of the target type, which goes above
// or below its source or in its place, grouped with the source when the
// translation options say so. Text tablature rows translated to tablature go
// through the plain-text tablature reader; a keyboard staff (a treble staff
// paired with a bass staff) translated to treble or tablature becomes one
// merged line when the options ask for it.

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "lines/TranslationServices.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KLineGroup.h"
#include "platform/ProgressPort.h"
#include "platform/StringTable.h"
#include "translate/ParseTextTab.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandHandlers.h"
#include "view/commands/CommandIds.h"
#include "view/core/ViewLineGeometry.h"

namespace {

constexpr UINT kConvertingToTablatureText = 8090;
constexpr int kUndoSelectedToEnd = 4;
constexpr int kUndoLineToEnd = 6;
constexpr int kTextType = 5;
constexpr int kTrebleType = 0;
constexpr int kBassType = 1;
constexpr int kTabType = 2;
constexpr int kRhythmType = 3;
constexpr int kTenorType = 10;
constexpr int kDrumsType = 13;
constexpr int kPercussionType = 16;
constexpr int kGoAbove = 0;
constexpr int kReplace = 2;
constexpr const char* kMergedLabel = "T&B";
// The tunings a tablature translation takes when the view has none.
constexpr const char* kGuitarTuning = "E A D G B E  323742475156";
constexpr const char* kBassGuitarTuning = "  E A D G   *002025303500";
// A tuning string holds two characters of names and two digits per string.
constexpr int kShortestTuning = 24;

CString TuningOr(const CString& tuning, const char* fallback) {
  return tuning.GetLength() >= kShortestTuning ? tuning : CString(fallback);
}

int KeyAtStart(const KLineObj* line) {
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  return list != nullptr ? list->GetKeySignatureAt(0) : 0;
}

// A treble staff and the bass staff it is paired with as a grand staff.
KStaffLine* BassPartner(KLineObj* line) {
  auto* staff = dynamic_cast<KStaffLine*>(line);
  if (staff == nullptr || staff->GetType() != kTrebleType) return nullptr;
  KStaffLine* partner = staff->GetPartner();
  return partner != nullptr && partner->GetType() == kBassType ? partner : nullptr;
}

// One treble staff holding the notes of a treble staff and of its bass
// partner: the bass notes written in the treble clef, column by column.
std::unique_ptr<KStaffLine> MergeKeyboardStaff(KStaffLine& treble, KStaffLine& bass, int sizeIndex) {
  auto merged = std::make_unique<KStaffLine>(static_cast<const KListLine&>(treble));
  merged->SetPartner(nullptr);
  merged->ModifyFlags(KLineObj::kFlagPairedStaff | KLineObj::kFlagPairUpper, 0);
  std::unique_ptr<KLineObj> lower = bass.TranslateTo(0, kTrebleType, 0, sizeIndex, 0, CString(), 0);
  KListLine* lowerList = lower != nullptr ? lower->AsListLine() : nullptr;
  if (lowerList != nullptr) {
    for (POSITION node = lowerList->GetObjList()->GetHeadPosition(); node != nullptr;) {
      const KChord* column = AsChord(lowerList->GetObjList()->GetNext(node));
      if (column == nullptr || column->IsBarColumn() || column->IsSignatureColumn()) continue;
      KChord* target = nullptr;
      for (POSITION at = merged->GetObjList()->GetHeadPosition(); at != nullptr;) {
        KChord* candidate = AsChord(merged->GetObjList()->GetNext(at));
        if (candidate != nullptr && candidate->GetPos() == column->GetPos()) target = candidate;
      }
      if (target == nullptr) {
        merged->InsertObjAt(new KChord(*column, column->GetPos(), true), sizeIndex, column->GetPos(), nullptr,
                            0);
        continue;
      }
      if (target->IsBarColumn() || target->IsSignatureColumn()) continue;
      for (int i = 0; i < column->GetNoteCount(); ++i) {
        const NotePair note = column->GetNote(i);
        target->AddNote(note.position, note.code);
      }
    }
  }
  merged->SetLabel(CString(kMergedLabel));
  merged->MarkChanged();
  return merged;
}

}  // namespace

void CStavlinView::OnTranslateLines(UINT id) {
  if (id < cmd::kTranslateFirst || id > cmd::kTranslateLast) return;
  if (m_document == nullptr || m_lineCount <= 0) return;
  if (!LeaveReadOnlyForEdit()) return;
  const int target = cmd::kTranslateTargets[id - cmd::kTranslateFirst];
  if (m_show[ScoreSettings::kShowAll] == 0 && m_show[static_cast<size_t>(target)] == 0)
    ToggleLineTypeShown(target);
  m_currentLine = std::clamp(m_currentLine, 0, m_lineCount - 1);
  const bool selection = SelectionRectShown();
  int first = m_currentLine;
  int last = first;
  if (selection) std::tie(first, last) = viewgeom::SelectedLines(*this);

  // Rows of text tablature become tablature lines through their own reader,
  // which records its own undo step.
  if (target == kTabType) {
    bool textRows = false;
    for (int d = first; d <= last; ++d) {
      textRows =
          textRows || KLineObj::FamilyOf(m_display[static_cast<size_t>(d)].type) == KLineObj::kFamilyText;
    }
    if (textRows) {
      TranslateTextTab(m_currentLine);
      return;
    }
  }

  RecordUndoStep(selection ? kUndoSelectedToEnd : kUndoLineToEnd, first, 0, nullptr, 0);
  CStavlinDoc& doc = *m_document;
  const KPrefTranslation& options = g_prefTranslation;
  const int action = options.options[1];
  const bool group = options.options[2] != 0 && action != kReplace;
  const bool mutual = options.options[3] != 0;
  g_textTabMode = options.options[0];

  std::vector<POSITION> range;
  for (int d = first; d <= last; ++d) range.push_back(m_display[static_cast<size_t>(d)].line);
  std::vector<POSITION> skip;  // bass staves merged into the treble above them
  KLineObj* firstMade = nullptr;
  for (const POSITION sourcePos : range) {
    if (std::find(skip.begin(), skip.end(), sourcePos) != skip.end()) continue;
    KLineObj* source = doc.GetLineAt(sourcePos);
    if (source == nullptr) continue;
    const int type = source->GetType();
    if (type == kDrumsType || type == kPercussionType) continue;

    std::unique_ptr<KLineObj> made;
    KStaffLine* bass = options.mergeStaffs != 0 && (target == kTrebleType || target == kTabType)
                           ? BassPartner(source)
                           : nullptr;
    if (bass != nullptr) {
      std::unique_ptr<KStaffLine> merged =
          MergeKeyboardStaff(*static_cast<KStaffLine*>(source), *bass, m_sizeIndex);
      for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
        const POSITION here = pos;
        if (doc.GetNextLine(pos) == bass) skip.push_back(here);
      }
      if (target == kTabType) {
        made = merged->TranslateTo(0, kTabType, g_textTabMode, m_sizeIndex, 0,
                                   TuningOr(m_trebleTabTuning, kGuitarTuning), 0);
        if (made != nullptr) made->SetLabel(CString(kMergedLabel));
      } else {
        made = std::move(merged);
      }
    } else {
      if (type == target) continue;
      CString text;
      if (target == kTabType) {
        const bool bassStaff = type == kBassType || type == kTenorType;
        text = bassStaff ? TuningOr(m_bassTabTuning, kBassGuitarTuning)
                         : TuningOr(m_trebleTabTuning, kGuitarTuning);
      }
      if (target == kRhythmType) text = m_rhythmFontText;
      made = source->TranslateTo(0, target, g_textTabMode, m_sizeIndex, 0, text, 0);
    }
    if (made == nullptr) continue;
    made->SetStaffLength(source->GetStaffLength());

    KLineObj* line = made.release();
    if (firstMade == nullptr) firstMade = line;
    if (action == kReplace) {
      if (doc.ReplaceLine(source, sourcePos, line, KeyAtStart(line), TRUE) == nullptr) {
        if (firstMade == line) firstMade = nullptr;
        delete line;
      }
      continue;
    }
    const POSITION placed =
        action == kGoAbove ? doc.InsertLineBefore(sourcePos, line) : doc.InsertLineAfter(sourcePos, line);
    if (group) GroupWithSource(sourcePos, placed, action == kGoAbove, mutual);
  }

  RebuildDisplayLines(0);
  if (firstMade != nullptr) {
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      const POSITION here = pos;
      if (doc.GetNextLine(pos) != firstMade) continue;
      const int shown = FindDisplayLine(here, 0);
      if (shown >= 0) m_currentLine = shown;
      break;
    }
  }
  m_currentLine = std::clamp(m_currentLine, 0, std::max(m_lineCount - 1, 0));
  m_caretColumn = 0;
  m_currentType = m_display[static_cast<size_t>(m_currentLine)].type;
  m_currentFamily = KLineObj::FamilyOf(m_currentType);
  // On a new chord line the caret stands on its first diagram, where Alt
  // with the arrows steps and transposes it, not on an empty column before it.
  if (m_currentFamily == KLineObj::kFamilyChord) {
    if (const KListLine* chords = GetDisplayLineObj(m_currentLine)->AsListLine()) {
      CObList* objects = const_cast<KListLine*>(chords)->GetObjList();
      for (POSITION at = objects->GetHeadPosition(); at != nullptr;) {
        if (const KChordPic* diagram = AsChordPic(objects->GetNext(at))) {
          m_caretColumn = diagram->GetPos();
          break;
        }
      }
    }
  }
  doc.SetModifiedFlag(TRUE);
  UpdateAfterEdit(kHintAll, 1);
}

void CStavlinView::GroupWithSource(POSITION sourcePos, POSITION newPos, bool above, bool mutual) {
  CStavlinDoc& doc = *m_document;
  KLineObj* source = doc.GetLineAt(sourcePos);
  KLineObj* line = doc.GetLineAt(newPos);
  if (source == nullptr || line == nullptr) return;
  KLineGroup* group = doc.FindLineGroup(source->GetGroupId());
  if (group != nullptr && group->FindSlot(sourcePos) >= 0) {
    if (group->InsertLine(sourcePos, newPos, line, line->GetType(), KeyAtStart(line), above ? 1 : 0,
                          mutual ? 1 : 0) > 0)
      line->SetGroup(group->GetId(), group);
  } else {
    const int id = doc.GetNewLineGroupId();
    const POSITION top = above ? newPos : sourcePos;
    const POSITION bottom = above ? sourcePos : newPos;
    KLineObj* topLine = doc.GetLineAt(top);
    KLineObj* bottomLine = doc.GetLineAt(bottom);
    group = new KLineGroup(id, top, topLine->GetType(), KeyAtStart(topLine), bottom, bottomLine->GetType(),
                           KeyAtStart(bottomLine), mutual ? 1 : 0);
    topLine->SetGroup(id, group);
    bottomLine->SetGroup(id, group);
    doc.AddLineGroup(group);
  }
  group->BindLines(doc);
  group->EqualizeLeadInSteps(doc);
  group->IndentOtherLines();
  doc.SetGroupStartTimeSignature(group->GetId());
}

void CStavlinView::ConvertToTablature(int flag) {
  if (m_document == nullptr) return;
  CStavlinDoc& doc = *m_document;
  std::vector<POSITION> staves;
  for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
    const POSITION here = pos;
    const KLineObj* line = doc.GetNextLine(pos);
    const int type = line != nullptr ? line->GetType() : -1;
    if (type != kTrebleType && type != kBassType) continue;
    // A flag names the staves wanted, grouped or not (the group takes the new
    // line in); without one only staves outside groups are converted.
    if (flag == 0 && line->GetGroupId() != KLineObj::kNoGroup) continue;
    if (flag != 0 && line->TestFlags(static_cast<DWORD>(flag)) == 0) continue;
    staves.push_back(here);
  }
  if (staves.empty()) return;
  // A stop (Stop, s, S, space or a click on the window) comes between two
  // staves: each one converted is whole, the rest stay staves alone.
  ProgressWindow progress(LoadString(kConvertingToTablatureText));
  int done = 0;
  for (const POSITION staffPos : staves) {
    if (progress.Update(done * 100 / static_cast<int>(staves.size()))) break;
    ++done;
    KLineObj* staff = doc.GetLineAt(staffPos);
    const bool bass = staff->GetType() == kBassType;
    const CString tuning =
        bass ? TuningOr(m_bassTabTuning, kBassGuitarTuning) : TuningOr(m_trebleTabTuning, kGuitarTuning);
    std::unique_ptr<KLineObj> tab = staff->TranslateTo(0, kTabType, g_textTabMode, m_sizeIndex, 0, tuning, 0);
    if (tab == nullptr) continue;
    tab->SetStaffLength(staff->GetStaffLength());
    // The tablature line's label follows the staff's.
    tab->SetLabel(staff->GetLabelName());
    const POSITION placed = doc.InsertLineAfter(staffPos, tab.release());
    GroupWithSource(staffPos, placed, false, true);
  }
  RebuildDisplayLines(0);
  m_currentLine = std::clamp(m_currentLine, 0, std::max(m_lineCount - 1, 0));
  doc.SetModifiedFlag(TRUE);
  UpdateAfterEdit(kHintAll, 1);
}

// The Translate submenu's commands between lines (the ABC ones are
// ViewAbcExport.cpp's).
std::span<const KViewCommandHandler> TranslateCommandHandlers() {
  using namespace cmd;
  static constexpr KViewCommandHandler kHandlers[] = {
      {kTranslateFirst, kTranslateLast, [](CStavlinView& v, UINT id) { v.OnTranslateLines(id); }},
      {kTranslateSettings, kTranslateSettings, [](CStavlinView& v, UINT) { v.OnTranslateSettings(); }},
  };
  return kHandlers;
}
