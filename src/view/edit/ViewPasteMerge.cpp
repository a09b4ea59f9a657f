// Pasting a stream's columns into existing lines at the caret column: one
// line into the caret line of its family, or a run of lines into the same
// number of display lines of matching types. Mode 20 opens room by shifting
// what follows; mode 21 (paste over) clears the span first.

#include <algorithm>
#include <memory>

#include "doc/CStavlinDoc.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "lines/LineColumnConversion.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "model/KRhythmObj.h"
#include "platform/CDC.h"
#include "view/CStavlinView.h"
#include "view/core/ViewLineGeometry.h"
#include "view/edit/ViewClip.h"
#include "view/edit/ViewPasteBuild.h"

namespace viewclip {

namespace {

// The number of columns the stream line spans.
int SpanOf(const KClipData& data, const ClipLine& record) {
  int last = record.base - 1;
  for (const ClipColumn& c : record.columns) last = std::max(last, c.column);
  for (const ClipDiagram& d : record.diagrams) last = std::max(last, d.column);
  const int stored = last - record.base + 1;
  const int selected = data.lastColumn - data.firstColumn;
  return std::max(selected > 0 && selected < kWholeLine ? selected : 0, stored);
}

// Modes of the column conversion between the partner lines.
constexpr int kStaffToTab = 0;
constexpr int kTabToStaff = 2;

// Width in pixels of a rhythm symbol as the merge counts it.
int SymbolWidth(CDC* dc, const ClipRhythmSymbol& s) {
  if (!s.text.IsEmpty()) return dc != nullptr ? dc->GetTextExtent(s.text.View()).cx : 9 * s.text.GetLength();
  return s.code >= 223 && s.code <= 249 ? 18 : 9;
}

// Opens the span from the caret: Paste Over empties it; an insert moves what
// stands from the caret on to the right by the span. Nothing else moves.
void OpenSpan(KListLine& list, int caret, int span, int mode) {
  CObList* objects = list.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const POSITION at = node;
    auto* object = static_cast<KPosObj*>(objects->GetNext(node));
    if (object->GetPos() < caret) continue;
    if (mode == kPasteOver) {
      if (object->GetPos() < caret + span) {
        objects->RemoveAt(at);
        delete object;
      }
    } else {
      object->SetPos(object->GetPos() + span);
    }
  }
  if (mode == kPasteOver) {
    list.DeleteAttachmentsInRange(caret, caret + span);
  } else if (CObList* attachments = list.GetAttachments(); attachments != nullptr && span > 0) {
    for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KPosObj*>(attachments->GetNext(node));
      if (attachment->GetPos() >= caret) attachment->SetPos(attachment->GetPos() + span);
    }
  }
  list.MarkChanged();
}

// Puts a column into the free span of the line at its place.
void PlaceColumn(KListLine& list, KChord* chord) {
  CObList* objects = list.GetObjList();
  const POSITION before = list.FindNodeBefore(chord->GetPos());
  if (before == nullptr) {
    objects->AddHead(chord);
  } else {
    objects->InsertAfter(before, chord);
  }
}

// The staff or tablature line bracketed with the line in its line group
// that mutual translation keeps in step with it: the first line of the other
// notation family in the line's bracket; null when there is none.
KListLine* TranslatingPartner(const CStavlinView& view, int displayLine) {
  if (view.m_mutualTranslation == 0) return nullptr;
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  CStavlinDoc* doc = view.GetDocument();
  if (line == nullptr || doc == nullptr) return nullptr;
  const int family = line->GetFamily();
  if (family != KLineObj::kFamilyStaff && family != KLineObj::kFamilyTab) return nullptr;
  const KLineGroup* group =
      line->GetGroupId() != KLineObj::kNoGroup ? doc->FindLineGroup(line->GetGroupId()) : nullptr;
  const int slot = group != nullptr ? group->FindSlot(view.GetDisplayEntry(displayLine).line) : -1;
  const int bracket = slot >= 0 ? group->GetSlotBracket(slot, 0) : 0;
  if (bracket == 0) return nullptr;
  const int wanted = family == KLineObj::kFamilyStaff ? KLineObj::kFamilyTab : KLineObj::kFamilyStaff;
  for (int other = 0; other < group->GetSlotCount(); ++other) {
    if (other == slot || group->GetSlotBracket(other, 0) != bracket) continue;
    KLineObj* partner = doc->GetLineAt(group->GetSlotLineRef(other));
    if (partner != nullptr && partner != line && partner->GetFamily() == wanted) return partner->AsListLine();
  }
  return nullptr;
}

// Merges a staff, tablature or chord line; returns the columns it took. With
// a translating partner, the partner's span opens too and every pasted column
// goes into it in the partner's form (a staff's notes as frets, a tablature
// line's frets as notes), so that the two lines stay in step.
int MergeColumns(CStavlinView& view, KListLine& list, const KClipData& data, const ClipLine& record,
                 int caret, int mode, KListLine* partner, bool keepPitches) {
  const int span = SpanOf(data, record);
  OpenSpan(list, caret, span, mode);
  auto* staff = dynamic_cast<KStaffLine*>(
      partner != nullptr && list.GetFamily() == KLineObj::kFamilyTab ? partner : &list);
  auto* tab = dynamic_cast<KTabLine*>(
      partner != nullptr && list.GetFamily() == KLineObj::kFamilyTab ? &list : partner);
  if (partner != nullptr && (staff == nullptr || tab == nullptr)) partner = nullptr;
  if (partner != nullptr) OpenSpan(*partner, caret, span, mode);
  // Pasted staff notes keep the pitches they had where they were copied: the
  // copied columns are read under the copied line's key, and a row that
  // sounds otherwise here gets the accidental that restores its note. (Wrap
  // Music only moves bars within their own key and keeps them as they are.)
  auto* target = dynamic_cast<KStaffLine*>(&list);
  std::unique_ptr<KStaffLine> copied;
  if (keepPitches && target != nullptr && record.family == ClipFamily::kStaff) {
    copied = std::make_unique<KStaffLine>(record.type, record.key, 0);
    for (const ClipColumn& c : record.columns) PlaceColumn(*copied, BuildColumn(c, c.column));
    copied->UpdateTimeSigCache();
  }
  bool timeSignature = false;
  for (const ClipColumn& c : record.columns) {
    KChord* chord = BuildColumn(c, caret + c.column - record.base);
    timeSignature = timeSignature || HoldsTimeSignature(c);
    // The span is free now: the column goes straight into its place.
    PlaceColumn(list, chord);
    if (copied != nullptr) target->KeepPitchesOf(*copied, c.column, chord->GetPos());
    if (partner == nullptr) continue;
    LineColumnConversion lines(*staff, *tab);
    const bool fromTab = chord->IsTabColumn();
    KChord* converted =
        KChord::MakeTabFingering(*chord, lines, staff->GetType(), tab->GetType(), chord->GetPos(),
                                 fromTab ? 0 : view.m_handPosition, fromTab ? kTabToStaff : kStaffToTab);
    if (converted == nullptr) continue;
    // The partner's rhythm is beamed as the pasted columns are.
    for (int voice = 0; voice < 2; ++voice) {
      const int stem = chord->GetVoiceStem(voice);
      if (beam::IsMarker(stem)) converted->SetVoiceStem(voice, stem);
    }
    PlaceColumn(*partner, converted);
  }
  if (partner != nullptr) {
    partner->UpdateTimeSigCache();
    if (timeSignature) partner->SetTimeSignature(partner->GetStartBeats(), partner->GetStartBeatTicks(), 1);
  }
  if (auto* chords = dynamic_cast<KChordPicLine*>(&list)) {
    for (const ClipDiagram& d : record.diagrams)
      chords->InsertDiagramAt(caret + d.column - record.base, d.name, d.shape, d.number, d.value);
  }
  if (KLineObj::IsNoteFamily(list.GetFamily())) {
    list.UpdateTimeSigCache();
    if (timeSignature) list.SetTimeSignature(list.GetStartBeats(), list.GetStartBeatTicks(), 1);
  }
  return span;
}

// Merges rhythm symbols at the caret's pixel position; the line's symbols
// after it move right by the width pasted.
void MergeRhythm(CStavlinView& view, KRhythmLine& rhythm, const ClipLine& record, int caret) {
  if (record.symbols.empty()) return;
  CDC* dc = view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
  const int size = view.GetSizeIndex();
  const int at = dc != nullptr ? rhythm.GetColumnX(dc, caret, size) : caret * 9;
  int width = 0;
  for (const ClipRhythmSymbol& s : record.symbols) width += SymbolWidth(dc, s);
  rhythm.ShiftColumns(at, width, -1);
  const int firstStored = record.symbols.front().position;
  CObList* objects = rhythm.GetObjList();
  POSITION after = rhythm.FindNodeBefore(at);
  for (const ClipRhythmSymbol& s : record.symbols) {
    KRhythmObj* symbol = BuildSymbol(s, at + s.position - firstStored);
    after = after == nullptr ? objects->AddHead(symbol) : objects->InsertAfter(after, symbol);
  }
  rhythm.SetColumnWidth(-1);
  rhythm.MarkChanged();
}

// Merges a text line's characters; returns the caret column after them.
int MergeText(KStrLine& text, const ClipLine& record, int caret, int mode, int placement) {
  if (placement == 3) {
    text.InsertText(text.GetLength(), record.text, 0);
    return text.GetLength();
  }
  if (placement == 2) {
    text.InsertText(0, record.text, 0);
    return record.text.GetLength();
  }
  text.InsertText(caret, record.text, mode == kPasteOver ? 1 : 0);
  return caret + record.text.GetLength();
}

// The caret column of a target line of a merge of several lines: the caret
// line's x measured on the target line.
int ColumnOnLine(const CStavlinView& view, int displayLine, int caretX) {
  const int width = viewgeom::ColumnWidth(view, view.GetDisplayEntry(displayLine).type);
  if (width <= 0) return view.GetCaretColumn();
  return std::max((caretX - viewgeom::LineLeftX(view, displayLine)) / width, 0);
}

}  // namespace

void PasteMerged(CStavlinView& view, const KClipData& data, int mode, int placement, bool severalLines) {
  const int entryLine = view.GetCurrentLine();
  const int entryColumn = view.GetCaretColumn();
  const int caretWidth = viewgeom::ColumnWidth(view, view.GetDisplayEntry(entryLine).type);
  const int caretX = viewgeom::LineLeftX(view, entryLine) + std::max(caretWidth, 0) * entryColumn;
  const int savedTranslation = view.m_mutualTranslation;
  if (severalLines) view.m_mutualTranslation = 0;

  int newColumn = entryColumn;
  size_t next = 0;
  const int wanted = severalLines ? static_cast<int>(data.lines.size()) : 1;
  for (int displayLine = entryLine; next < data.lines.size() && displayLine < view.GetDisplayLineCount();
       ++displayLine) {
    KLineObj* line = view.GetDisplayLineObj(displayLine);
    if (line == nullptr) continue;
    if (placement >= 2 && line->GetGroupId() < 0) continue;
    if (static_cast<int>(next) >= wanted) break;
    const ClipLine& record = data.lines[next++];
    if (record.family != line->GetFamily()) continue;
    const int caret = displayLine == entryLine ? entryColumn : ColumnOnLine(view, displayLine, caretX);
    int after = caret;
    if (auto* text = dynamic_cast<KStrLine*>(line)) {
      after = MergeText(*text, record, caret, mode, placement);
    } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) {
      MergeRhythm(view, *rhythm, record, caret);
    } else if (KListLine* list = line->AsListLine()) {
      KListLine* partner = severalLines ? nullptr : TranslatingPartner(view, displayLine);
      after = caret + MergeColumns(view, *list, data, record, caret, mode, partner, placement < 2);
    }
    if (record.family != ClipFamily::kText) {
      // In a translating group the attachments are copied to the partner too.
      const bool translating = !severalLines && TranslatingPartner(view, displayLine) != nullptr;
      for (const ClipAttachment& a : record.attachments) {
        KExtendedObj* attachment = BuildAttachment(a, caret + a.column - record.base);
        if (translating) {
          view.ApplyOctaveMarks(line->GetGroupId(), view.GetDisplayEntry(displayLine).line, line, attachment);
        } else {
          line->AddAttachment(attachment);
        }
      }
    }
    if (displayLine == entryLine) newColumn = after;
  }
  view.m_mutualTranslation = savedTranslation;
  g_pasteInProgress = 0;
  view.m_caretColumn = newColumn;
  view.RebuildDisplayLines(0);
  view.UpdateAfterEdit(CStavlinView::kHintAll, 1);
}

}  // namespace viewclip
