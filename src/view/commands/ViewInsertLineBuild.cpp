// The new line of an Insert line command: its class by the kind's family,
// its tuning, fonts, diagram size, key and starting time signature; and the
// two lines of paired tablature (a melody and a bass tuning shown as one
// instrument, as on a touch-style instrument or a pedal steel).

#include "view/commands/ViewInsertLineBuild.h"

#include "common/Globals.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KLineGroup.h"
#include "view/CStavlinView.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr DWORD kPairedTabFlag = 0x200;  // the word "TAB" is not drawn on either line
constexpr int kBassMarkIndex = 12;
constexpr int kSpaceBelowManyStrings = 10;
constexpr int kFewStrings = 5;

// The paired tablature tuning split at its separator; false when the score
// has none (the separator must follow at least one character).
bool SplitPairedTuning(const CString& paired, CString& upper, CString& lower) {
  const int separator = paired.Find(g_LabelSeparator);
  if (separator <= 0) return false;
  upper = paired.Left(separator);
  lower = paired.Mid(separator + g_LabelSeparator.GetLength());
  return !upper.IsEmpty() && !lower.IsEmpty();
}

void StartTimeSignature(KLineObj* line, const KNewLineSettings& s) {
  if (KListLine* list = line->AsListLine()) list->SetTimeSignature(s.beats, s.beatTicks, 1);
}

}  // namespace

KNewLines BuildNewLine(CStavlinView& v, const KNewLineSettings& s, const CString& label) {
  KNewLines made;
  made.firstLabel = label;
  switch (KLineObj::FamilyOf(s.type)) {
    case KLineObj::kFamilyText:
      made.first = new KStrLine(0);
      break;
    case KLineObj::kFamilyStaff:
      made.first = new KStaffLine(s.type, s.key, 0);
      StartTimeSignature(made.first, s);
      break;
    case KLineObj::kFamilyTab: {
      CString upper;
      CString lower;
      if (SplitPairedTuning(v.m_options.tabTuningFull, upper, lower)) {
        const DWORD lowerFlags = lower.GetLength() > kBassMarkIndex && lower.GetAt(kBassMarkIndex) == '*'
                                     ? KTabLine::kFlagBass
                                     : 0;
        auto* top = new KTabLine(s.key, upper, 0);
        auto* bottom = new KTabLine(s.key, lower, lowerFlags);
        top->SetSpaceBelow(top->GetStringCount() <= kFewStrings ? 0 : kSpaceBelowManyStrings, v.m_sizeIndex);
        bottom->SetSpaceAbove(0, v.m_sizeIndex);
        top->ModifyFlags(kPairedTabFlag, 1);
        bottom->ModifyFlags(kPairedTabFlag, 1);
        StartTimeSignature(top, s);
        StartTimeSignature(bottom, s);
        made.first = top;
        made.second = bottom;
        made.firstLabel = label.Find("Tab-T") >= 0 ? label : CString("Tab-T");
        made.secondLabel = "Tab-B";
        break;
      }
      const bool bass = s.type == KTabLine::kKindBassTab;
      made.first =
          new KTabLine(s.key, bass ? v.m_bassTabTuning : v.m_trebleTabTuning, bass ? KTabLine::kFlagBass : 0);
      StartTimeSignature(made.first, s);
      break;
    }
    case KLineObj::kFamilyRhythm:
      made.first = new KRhythmLine(s.key, v.m_rhythmFontText);
      break;
    case KLineObj::kFamilyChord: {
      auto* chords = new KChordPicLine(s.key, v.m_trebleTabTuning, ViewChordNameFont(v), v.m_diagramWidth,
                                       v.m_diagramHeight);
      made.first = chords;
      break;
    }
    default:
      break;
  }
  return made;
}

void PlacePairedTablature(CStavlinView& v, const KNewLines& lines, POSITION upperPos,
                          const KNewLineSettings& s) {
  CStavlinDoc& doc = *v.m_document;
  const POSITION lowerPos = doc.InsertLineAfter(upperPos, lines.second);
  const int id = doc.GetNewLineGroupId();
  lines.first->SetGroup(id, nullptr);
  lines.second->SetGroup(id, nullptr);
  auto* group = new KLineGroup(id, upperPos, lines.first->GetType(), s.key, lowerPos, lines.second->GetType(),
                               s.key, 0);
  group->BindLines(doc);
  group->EqualizeLeadInSteps(doc);
  doc.AddLineGroup(group);
  doc.SetGroupStartTimeSignature(id);
  lines.first->SetGroupPtr(group);
  lines.second->SetGroupPtr(group);
  StartTimeSignature(lines.first, s);
  StartTimeSignature(lines.second, s);
}
