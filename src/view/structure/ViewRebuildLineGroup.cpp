// The line-group rebuilder: gives a line group its member lines and makes the
// view consistent afterwards. It completes a group that stands in the
// document with its slot kinds, bracket numbers and partner links (a new,
// empty line for every slot without one), or starts a following group: a
// copy of a group's layout placed after it, its lines split off the old
// lines at a pixel x (a line break inside a group) or new and empty (Wrap
// Music). Then the group is bound, indented and laid out, the caret goes to
// a sensible line and every view is refreshed.

#include <algorithm>
#include <array>
#include <vector>

#include "common/ViewServices.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KLineGroup.h"
#include "model/LineServices.h"
#include "view/CStavlinView.h"
#include "view/core/ViewMirrors.h"
#include "view/structure/ViewStructure.h"

namespace {

constexpr int kShowAll = 8;
constexpr DWORD kSpaceAtBottom = 1;
constexpr DWORD kPairMember = KLineObj::kFlagPairedStaff;
constexpr DWORD kPairUpper = KLineObj::kFlagPairUpper;
constexpr DWORD kLongBars = KLineObj::kFlagPairLong;
constexpr DWORD kPairBits = kPairMember | kPairUpper | kLongBars;
constexpr int kJoinedBarsMark = 100;
constexpr int kLineEndColumn = 30000;
constexpr int kTabCaretRow = 4;
constexpr int kStaffCaretRow = 18;

// The long-bar bit of bracket number b (1..4).
DWORD LongBarBit(int bracket) { return 0x10u << (bracket - 1); }

// A partner link turned into the pairing flags of a staff: 4 for the lower
// line, 0x200004 for the upper one; an upper link above 100 asks for joined
// bars (taken off the link, which the slot keeps).
DWORD PairingFlags(KLineGroup& group, int slot) {
  int link = group.GetSlotPartner(slot);
  if (link == 0) return 0;
  if (link < 0) return kPairMember;
  DWORD flags = kPairMember | kPairUpper;
  if (link > kJoinedBarsMark) {
    group.SetSlotPartner(slot, link - kJoinedBarsMark);
    flags |= kLongBars;
  }
  return flags;
}

// The spaces around new staff and tablature lines: the defaults of new lines,
// then those of each line of the family met on the way.
struct RunningSpaces {
  int above[2] = {g_staffSpaceAbove, g_tabSpaceAbove};
  int below[2] = {g_staffSpaceBelow, g_tabSpaceBelow};

  static int Index(int family) { return family == KLineObj::kFamilyTab ? 1 : 0; }
  void Take(KListLine& line) {
    const int i = Index(line.GetFamily());
    above[i] = line.GetSpaceAbove(0);
    below[i] = line.GetSpaceBelow(0);
  }
  void Give(KListLine& line) const {
    const int i = Index(line.GetFamily());
    line.SetSpaceAbove(above[i], 0);
    line.SetSpaceBelow(below[i], 0);
  }
};

struct Rebuild {
  Rebuild(CStavlinView& view, CStavlinDoc& document) : v(view), doc(document) {}
  CStavlinView& v;
  CStavlinDoc& doc;
  KLineGroup* group = nullptr;      // the group built or completed
  const KLineGroup* old = nullptr;  // the group followed (starting a following group)
  int width = 0;
  int splitX = -1;
  const CString* labels = nullptr;
  bool completing = true;
  POSITION insertAfter = nullptr;
  POSITION firstNew = nullptr;
  POSITION lastNew = nullptr;
  RunningSpaces spaces;
  int fretPosition = -1;  // from the old group's tablature, when starting a following group
  bool fretFromTrebleTab = false;
};

KListLine* ListOf(KLineObj* line) { return line != nullptr ? line->AsListLine() : nullptr; }

// The last line of the group's slots in document order (the slots stand in it).
POSITION LastSlotLine(const KLineGroup& group) {
  for (int slot = group.GetSlotCount() - 1; slot >= 0; --slot) {
    if (group.GetSlotLineRef(slot) != nullptr) return group.GetSlotLineRef(slot);
  }
  return nullptr;
}

// After the group's last line, and after the text line that follows it when
// the group keeps a blank line below.
POSITION AfterGroup(const CStavlinDoc& doc, const KLineGroup& group) {
  POSITION after = LastSlotLine(group);
  if (after == nullptr || group.TestFlags(kSpaceAtBottom) == 0) return after;
  POSITION next = after;
  doc.GetNextLine(next);
  const KLineObj* line = doc.GetLineAt(next);
  if (line != nullptr && line->GetFamily() == KLineObj::kFamilyText) return next;
  return after;
}

// The new line of an empty slot when completing a group.
KLineObj* MakeEmptyLine(Rebuild& r, int slot, int type) {
  CStavlinView& v = r.v;
  const int key = v.m_keyAtCaret;
  switch (KLineObj::FamilyOf(type)) {
    case KLineObj::kFamilyStaff:
      return new KStaffLine(type, key, PairingFlags(*r.group, slot));
    case KLineObj::kFamilyTab: {
      const bool bass = type == KTabLine::kKindBassTab;
      return new KTabLine(key, bass ? v.m_bassTabTuning : v.m_trebleTabTuning,
                          bass ? KTabLine::kFlagBass : 0);
    }
    case KLineObj::kFamilyRhythm:
      return new KRhythmLine(key, v.m_rhythmFontText);
    case KLineObj::kFamilyChord:
      return new KChordPicLine(key, v.m_trebleTabTuning, ViewChordNameFont(v), v.m_diagramWidth,
                               v.m_diagramHeight);
    case KLineObj::kFamilyText:
      return new KStrLine(v.m_currentTextFont);
    default:
      return nullptr;
  }
}

// The new line of a slot of a following group, made from the old group's
// line of the same slot: an empty line of the same kind (Wrap Music) or the
// old line's part from the pixel x on.
KLineObj* MakeFollowingLine(Rebuild& r, KLineObj& oldLine, int type) {
  CStavlinView& v = r.v;
  const int family = KLineObj::FamilyOf(type);
  KListLine* list = oldLine.AsListLine();
  if (family == KLineObj::kFamilyTab) {
    if (auto* tab = dynamic_cast<KTabLine*>(&oldLine)) {
      const int position = std::max(tab->GetFretPositionStat(kLineEndColumn, 0), 0);
      if (!r.fretFromTrebleTab) r.fretPosition = position;
      if (tab->GetType() == KTabLine::kKindTab) r.fretFromTrebleTab = true;
    }
  }
  if (r.splitX == CStavlinView::kFollowingEmptyGroup) {
    switch (family) {
      case KLineObj::kFamilyStaff:
        return new KStaffLine(type, list->GetKeySignatureAt(kLineEndColumn), oldLine.GetFlagWord());
      case KLineObj::kFamilyTab: {
        auto* tab = dynamic_cast<KTabLine*>(&oldLine);
        return new KTabLine(list->GetKeySignatureAt(kLineEndColumn),
                            tab != nullptr ? tab->GetTuning() : v.m_trebleTabTuning, oldLine.GetFlagWord());
      }
      case KLineObj::kFamilyRhythm: {
        auto* rhythm = dynamic_cast<KRhythmLine*>(&oldLine);
        return new KRhythmLine(list->GetKeySignatureAt(0),
                               rhythm != nullptr ? rhythm->GetFontText() : v.m_rhythmFontText);
      }
      case KLineObj::kFamilyChord: {
        auto* chords = dynamic_cast<KChordPicLine*>(&oldLine);
        if (chords == nullptr) return nullptr;
        return new KChordPicLine(list->GetKeySignatureAt(0), v.m_trebleTabTuning, chords->GetNameFontText(),
                                 chords->GetDiagramWidthPct(), chords->GetDiagramHeightPct());
      }
      case KLineObj::kFamilyText: {
        auto* text = dynamic_cast<KStrLine*>(&oldLine);
        return new KStrLine(text != nullptr ? text->GetFontIndex() : 0);
      }
      default:
        return nullptr;
    }
  }
  // Split at the pixel x: the column under it on this line.
  CDC* dc = v.m_host != nullptr ? v.m_host->GetMeasureDC() : nullptr;
  int column = 0;
  if (auto* text = dynamic_cast<KStrLine*>(&oldLine)) {
    const int x = r.splitX - v.m_contentLeft - oldLine.GetIndent();
    column = std::max(text->GetColumnRangeAtX(dc, v.m_textFonts, x, x, 3).first, 0);
  } else if (family == KLineObj::kFamilyRhythm && list != nullptr) {
    column = std::max(list->GetColumnAtX(dc, 2, r.splitX, v.m_sizeIndex, v.m_contentLeft, 2), 0);
  } else if (list != nullptr) {
    column = std::max(list->XToColumn(2, r.splitX, v.m_sizeIndex, v.m_contentLeft, 3), 0);
  }
  std::unique_ptr<KLineObj> rest = oldLine.SplitAt(column, 0, v.m_sizeIndex);
  return rest.release();
}

void CountTextFont(Rebuild& r, KLineObj& line) {
  auto* text = dynamic_cast<KStrLine*>(&line);
  if (text == nullptr) return;
  const int font = std::clamp(text->GetFontIndex(), 0, static_cast<int>(r.v.m_fontUseCounts.size()) - 1);
  ++r.v.m_fontUseCounts[static_cast<size_t>(font)];
  r.doc.SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(r.v.m_fontUseCounts));
}

// A line already in the slot, when completing: its pairing is renewed. A
// tablature line of the other tablature kind takes the slot's kind (bass
// tablature carries its flag); any other line keeps its kind, which the slot
// then takes, so that no line changes its music by being grouped.
void RenewSlotLine(Rebuild& r, int slot, KLineObj& line) {
  const int family = line.GetFamily();
  const int slotType = r.group->GetSlotType(slot);
  if (slotType != line.GetType()) {
    if (family == KLineObj::kFamilyTab && KLineObj::FamilyOf(slotType) == family) {
      line.SetType(slotType);
      line.ModifyFlags(KTabLine::kFlagBass, slotType == KTabLine::kKindBassTab ? 1 : 0);
    } else {
      r.group->SetSlotType(slot, line.GetType());
    }
  }
  if (family == KLineObj::kFamilyStaff) {
    const DWORD pairing = PairingFlags(*r.group, slot);
    line.ModifyFlags(kPairBits, 0);
    if (pairing != 0) line.ModifyFlags(pairing, 1);
  }
}

void FillSlots(Rebuild& r) {
  KLineGroup& group = *r.group;
  std::array<bool, 5> longBarTaken{};
  for (int slot = 0; slot < group.GetSlotCount(); ++slot) {
    const int type = group.GetSlotType(slot);
    KLineObj* line = r.doc.GetLineAt(group.GetSlotLineRef(slot));
    KLineObj* oldLine = r.old != nullptr ? r.doc.GetLineAt(r.old->GetSlotLineRef(slot)) : nullptr;
    CString label = r.labels != nullptr ? r.labels[slot] : CString();
    const bool existed = line != nullptr;
    if (existed) {
      RenewSlotLine(r, slot, *line);
    } else {
      if (r.completing) {
        line = MakeEmptyLine(r, slot, type);
      } else if (oldLine != nullptr) {
        line = MakeFollowingLine(r, *oldLine, type);
        label = oldLine->GetLabelName();
      }
      if (line == nullptr) continue;  // nothing to put in the slot
      r.insertAfter =
          r.insertAfter != nullptr ? r.doc.InsertLineAfter(r.insertAfter, line) : r.doc.AddHeadLine(line);
      if (r.firstNew == nullptr) r.firstNew = r.insertAfter;
      r.lastNew = r.insertAfter;
      group.SetSlotLineRef(slot, r.insertAfter);
      group.SetSlotLine(slot, line);
      CountTextFont(r, *line);
    }

    line->SetGroup(group.GetId(), &group);
    const int family = line->GetFamily();
    if (KLineObj::IsNoteFamily(family)) {
      int length = r.width;
      if (!r.completing && oldLine != nullptr) length = oldLine->GetStaffLength();
      line->SetStaffLength(std::max(length, 0));
      if (KListLine* list = ListOf(line)) {
        KListLine* source = ListOf(existed ? line : oldLine);
        if (source != nullptr) r.spaces.Take(*source);
        r.spaces.Give(*list);
      }
    } else {
      line->SetStaffLength(0);
    }
    r.v.SetLineLabel(line, label);

    // Long bars: the first note line of each bracket set whose bars are long.
    const int bracket = group.GetSlotBracket(slot, 1);
    if (KLineObj::IsNoteFamily(family) && bracket >= 1 && bracket <= 4) {
      const bool wanted =
          group.TestFlags(LongBarBit(bracket)) != 0 && !longBarTaken[static_cast<size_t>(bracket)];
      if (wanted) {
        line->ModifyFlags(kLongBars, 1);
        longBarTaken[static_cast<size_t>(bracket)] = true;
      }
    }
  }
}

// The blank text line below a group that keeps space at its bottom, unless
// an empty ungrouped text line stands there already.
void AddSpaceBelow(Rebuild& r) {
  if (r.group->TestFlags(kSpaceAtBottom) == 0) return;
  POSITION last = LastSlotLine(*r.group);
  if (last == nullptr) return;
  POSITION next = last;
  r.doc.GetNextLine(next);
  if (auto* text = dynamic_cast<KStrLine*>(r.doc.GetLineAt(next));
      text != nullptr && text->GetGroupId() == KLineObj::kNoGroup && text->GetText().IsEmpty()) {
    return;
  }
  auto* blank = new KStrLine(0);
  blank->SetGroup(KLineObj::kNoGroup, nullptr);
  r.doc.InsertLineAfter(last, blank);
  CountTextFont(r, *blank);
}

}  // namespace

KLineGroup* CStavlinView::RebuildLineGroup(int groupId, int width, int splitX, const CString* labels) {
  if (m_document == nullptr) return nullptr;
  CStavlinDoc& doc = *m_document;
  // Every line must be shown while lines are made and placed.
  if (m_show[kShowAll] == 0) OnViewShowAll();

  const POSITION currentPos = m_currentLine >= 0 && m_currentLine < m_lineCount
                                  ? m_display[static_cast<size_t>(m_currentLine)].line
                                  : nullptr;
  KLineObj* current = doc.GetLineAt(currentPos);
  const int currentGroupId = current != nullptr ? current->GetGroupId() : KLineObj::kNoGroup;
  KLineGroup* given = doc.FindLineGroup(groupId);
  if (given == nullptr) return nullptr;
  const int currentSlot = given->FindSlot(currentPos);
  if (KListLine* list = ListOf(current); list != nullptr && KLineObj::IsNoteFamily(current->GetFamily()))
    list->MarkChanged();

  Rebuild r(*this, doc);
  r.width = width;
  r.splitX = splitX;
  r.labels = labels;
  r.completing = splitX < 0;
  const bool slotZeroFilled = r.completing && given->GetSlotLineRef(0) != nullptr;
  if (r.completing) {
    r.group = given;
    if (slotZeroFilled) {
      for (int slot = 0; slot < given->GetSlotCount() && given->GetSlotLineRef(slot) != nullptr; ++slot)
        r.insertAfter = given->GetSlotLineRef(slot);
    } else if (currentGroupId == KLineObj::kNoGroup || currentGroupId == groupId) {
      r.insertAfter = currentPos;
    } else if (const KLineGroup* g = doc.FindLineGroup(currentGroupId)) {
      r.insertAfter = AfterGroup(doc, *g);
    } else {
      r.insertAfter = currentPos;
    }
  } else {
    r.old = given;
    r.group = new KLineGroup(doc.GetNewLineGroupId(), *given);
    doc.AddLineGroup(r.group);
    r.insertAfter = AfterGroup(doc, *given);
  }

  FillSlots(r);
  AddSpaceBelow(r);
  if (!r.completing && r.fretPosition >= 0) m_handPosition = r.fretPosition;

  KLineGroup& group = *r.group;
  group.BindLines(doc);
  group.EqualizeLeadInSteps(doc);
  group.IndentOtherLines();
  group.ComputeIndent(m_host != nullptr ? m_host->GetMeasureDC() : nullptr, std::max(m_widest, 0),
                      m_sizeIndex, m_labelsShown);
  doc.SetGroupStartTimeSignature(group.GetId());
  MeasureLabelWidth();
  RebuildDisplayLines(0);

  // The caret: on the first new line, on the same slot's line of the
  // following group, or where it was.
  if (r.completing) {
    if (!slotZeroFilled && r.firstNew != nullptr) {
      const int shown = FindDisplayLine(r.firstNew, 0);
      if (shown >= 0) m_currentLine = shown;
    } else {
      const int shown = FindDisplayLine(currentPos, 0);
      if (shown >= 0) m_currentLine = shown;
    }
  } else {
    int shown = -1;
    if (currentSlot >= 0) shown = FindDisplayLine(group.GetSlotLineRef(currentSlot), 0);
    m_currentLine = std::max(shown, 0);
  }
  m_currentLine = std::clamp(m_currentLine, 0, std::max(m_lineCount - 1, 0));
  m_caretColumn = 0;

  if (m_lineCount > 0) {
    const RECT client = m_host != nullptr ? m_host->GetClientRect() : RECT{};
    const int top = GetDisplayEntry(m_currentLine).top - (client.bottom - client.top) / 2;
    SetVirtualScrollPosition(0, FindTopLine(std::max(top, 0)));
  }
  doc.SetModifiedFlag(TRUE);
  g_relayout = 1;
  doc.UpdateAllViews(nullptr, kHintAll);
  g_relayout = 0;

  if (m_lineCount > 0) {
    m_currentType = GetDisplayEntry(m_currentLine).type;
    m_currentFamily = KLineObj::FamilyOf(m_currentType);
    m_caretRow = m_currentFamily == KLineObj::kFamilyTab ? kTabCaretRow : kStaffCaretRow;
    if (auto* text = dynamic_cast<KStrLine*>(GetDisplayLineObj(m_currentLine)))
      m_currentTextFont = text->GetFontIndex();
  }
  PlaceCaret();
  g_viewMirrors.currentLine = m_currentLine;
  g_viewMirrors.caretColumn = m_caretColumn;
  g_viewMirrors.currentType = m_currentType;
  g_viewMirrors.currentPage =
      m_currentLine < m_lineCount ? GetDisplayEntry(m_currentLine).extra[kPageCode] / 10 : 0;
  return r.completing ? given : r.group;
}
