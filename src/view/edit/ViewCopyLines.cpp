// The copy engine's line records: what one selected display line puts into
// the word stream, by line family.

#include <algorithm>
#include <cstring>
#include <tuple>
#include <vector>

#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewClip.h"
#include "view/edit/ViewDeleteParts.h"

static_assert(sizeof(LOGFONT) == 60, "the stream carries a 60-byte font record");

namespace viewclip {

namespace {

constexpr int kMaxAttachmentColumn = 10000;
constexpr int kMaxAttachmentKind = 24;
constexpr DWORD kPairFlags = KLineObj::kFlagShownPair | KLineObj::kFlagPairLong | KLineObj::kFlagPairUpper;

CDC* MeasureDC(const CStavlinView& view) {
  return view.m_host != nullptr ? view.m_host->GetMeasureDC() : nullptr;
}

// A selection that reaches the right edge of the view takes the whole rest
// of the line, however long it is.
int RangeEnd(const CStavlinView& view, int end) {
  return view.m_selRect.right >= kWholeLine ? KListLine::kWholeLineColumn : end;
}

// The attachments whose column lies in [first, end), in list order. Damaged
// ones are taken out of the line and deleted: they cannot be drawn or
// written.
void CollectAttachments(KLineObj& line, int first, int end, ClipLine& out) {
  CObList* list = line.GetAttachments();
  if (list == nullptr) return;
  std::vector<KExtendedObj*> damaged;
  for (POSITION node = list->GetHeadPosition(); node != nullptr;) {
    auto* a = static_cast<KExtendedObj*>(list->GetNext(node));
    if (a->GetKind() < 0 || a->GetKind() > kMaxAttachmentKind || a->GetPos() < 0 ||
        a->GetPos() > kMaxAttachmentColumn) {
      damaged.push_back(a);
      continue;
    }
    if (a->GetPos() < first) continue;
    if (a->GetPos() >= end) break;
    out.attachments.push_back(AttachmentRecord(*a));
  }
  for (KExtendedObj* a : damaged) line.EditAttachment(a, KLineObj::kEditDelete);
}

// The note columns of a staff or tablature line in [first, end).
void CollectColumns(const KListLine& list, int first, int end, ClipLine& out) {
  for (POSITION node = list.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const KChord* chord = AsChord(list.GetObjList()->GetNext(node));
    if (chord == nullptr || chord->GetPos() < first) continue;
    if (chord->GetPos() >= end) break;
    ClipColumn c;
    c.column = chord->GetPos();
    // The whole rhythm code: for staff columns its last digit is the note style.
    c.rhythm = chord->GetRhythmCode();
    // The stored stem values travel as they are: 0..6 are the plain stems,
    // other values explicit stem ends whose sign and parity say the same as
    // the short form would.
    c.stem0 = chord->GetVoiceStem(0);
    c.stem1 = chord->GetVoiceStem(1);
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const EntryWords words = chord->GetEntry(i);
      c.entries.emplace_back(words.valueAndCode, words.flagAndExtra);
    }
    out.columns.push_back(std::move(c));
  }
}

CString TuningForStream(const CString& tuning) { return tuning.GetLength() <= 1 ? CString() : tuning; }

void CollectNoteLine(CStavlinView& view, int displayLine, KListLine& list, ClipLine& out) {
  const auto [first, end] = viewdelete::NoteColumnRange(view, displayLine);
  const int last = RangeEnd(view, end);
  out.key = list.GetKeySignatureAt(0);
  out.spaceAbove = list.GetSpaceAbove(0);
  out.spaceBelow = list.GetSpaceBelow(0);
  out.base = first;
  if (out.family == ClipFamily::kStaff) {
    out.bodyType = list.GetType();
  } else if (const auto* tab = dynamic_cast<const KTabLine*>(&list)) {
    out.tuning = TuningForStream(tab->GetTuning());
  }
  CollectColumns(list, first, last, out);
  CollectAttachments(list, first, last, out);
}

void CollectRhythmLine(CStavlinView& view, KRhythmLine& rhythm, int mode, ClipLine& out) {
  CDC* dc = MeasureDC(view);
  const int lead = rhythm.GetIndent() + view.m_contentLeft;
  const int x0 = static_cast<int>(view.m_selRect.left) - lead;
  const int x1 =
      view.m_selRect.right >= kWholeLine ? kWholeLine : static_cast<int>(view.m_selRect.right) - lead;
  const int size = view.GetSizeIndex();
  int first = 0;
  int end = KListLine::kWholeLineColumn;
  if (dc != nullptr) {
    first = rhythm.GetColumnAtX(dc, 0, x0, size, 0, 3);
    end = RangeEnd(view, rhythm.GetColumnAtX(dc, 0, x1, size, 0, 3));
    if (mode != kSnapshot && (view.m_selFirstColumn != 0 || view.m_selLastColumn != kWholeLine))
      rhythm.SplitTextsAtRange(dc, first, end, 0, size);
  }
  out.key = rhythm.GetKeySignatureAt(0);
  out.base = first;
  out.fontText = rhythm.GetFontText();
  for (POSITION node = rhythm.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* symbol = dynamic_cast<const KRhythmObj*>(rhythm.GetObjList()->GetNext(node));
    if (symbol == nullptr || symbol->GetPos() < x0) continue;
    if (symbol->GetPos() >= x1) break;
    out.symbols.push_back({symbol->GetPos(), symbol->GetCode(), symbol->GetLinkCode(), symbol->GetText()});
  }
  CollectAttachments(rhythm, first, end, out);
}

void CollectChordLine(CStavlinView& view, int displayLine, KChordPicLine& chords, ClipLine& out) {
  const auto [first, end] = viewdelete::ChordColumnRange(view, displayLine);
  const int last = RangeEnd(view, end);
  out.key = chords.GetKeySignatureAt(0);
  out.tuning = TuningForStream(chords.GetTuning());
  out.widthPercent = chords.GetDiagramWidthPct();
  out.heightPercent = chords.GetDiagramHeightPct();
  out.base = first;
  out.fontText = chords.GetNameFontText();
  for (POSITION node = chords.GetObjList()->GetHeadPosition(); node != nullptr;) {
    const auto* diagram = dynamic_cast<const KChordPic*>(chords.GetObjList()->GetNext(node));
    if (diagram == nullptr || diagram->GetPos() < first) continue;
    if (diagram->GetPos() >= last) break;
    out.diagrams.push_back({diagram->GetPos(), diagram->GetSetting(), diagram->GetName(), diagram->GetShape(),
                            diagram->GetValue()});
  }
  CollectAttachments(chords, first, last, out);
}

void CollectTextLine(CStavlinView& view, KStrLine& text, int mode, ClipLine& out) {
  const int slot = std::clamp(text.GetFontIndex(), 0, CStavlinDoc::kFontCount);
  std::memcpy(out.logFont.data(), &view.m_textFonts[static_cast<size_t>(slot)], out.logFont.size());
  const int lead = text.GetIndent() + view.m_contentLeft;
  int x0 = std::max(static_cast<int>(view.m_selRect.left) - lead, 0);
  const int x1 = std::max(static_cast<int>(view.m_selRect.right) - lead, 0);
  out.base = x0;
  const std::string source = text.GetText().Str();
  const int length = static_cast<int>(source.size());
  CDC* dc = MeasureDC(view);
  int first = 0;
  int end = length;
  if (view.m_selRect.left <= 0 && view.m_selRect.right >= kWholeLine) {
    // The whole line: every character, measured or not.
  } else if (dc == nullptr) {
    end = 0;
  } else if (mode == kWrapCut) {
    if (x0 < 18) x0 = 0;
    const KLinePair range = text.GetColumnRangeAtX(dc, view.m_textFonts, x0, x1, 3);
    first = std::clamp(range.first, 0, length);
    end = std::clamp(range.second, first, length);
  } else {
    while (first < length && text.GetXOfColumn(dc, view.m_textFonts, first) < x0) ++first;
    end = first;
    while (end < length && text.GetXOfColumn(dc, view.m_textFonts, end) < x1) ++end;
  }
  out.text = CString(std::string_view(source).substr(static_cast<size_t>(first),
                                                     static_cast<size_t>(std::max(end - first, 0))));
}

}  // namespace

ClipAttachment AttachmentRecord(const KExtendedObj& a) {
  ClipAttachment c;
  c.column = a.GetPos();
  c.row = a.GetRow();
  c.kind = a.GetKind();
  c.anchorX = a.GetAnchor().x;
  c.anchorY = a.GetAnchor().y;
  c.sizeX = a.GetSize().cx;
  c.sizeY = a.GetSize().cy;
  c.offsetX = a.GetOffset().x;
  c.offsetY = a.GetOffset().y;
  c.point0X = a.GetPoint(0).x;
  c.point0Y = a.GetPoint(0).y;
  c.point1X = a.GetPoint(1).x;
  c.point1Y = a.GetPoint(1).y;
  c.text = a.GetText();
  c.fontText = a.GetFontText();
  c.bold = a.GetOpaque() != 0 ? 1 : 0;
  c.linkTarget = a.GetLinkTarget();
  c.visited = a.IsVisited();
  return c;
}

std::optional<ClipLine> CollectLine(CStavlinView& view, int displayLine, int mode, int index, int count) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return std::nullopt;
  ClipLine out;
  out.family = line->GetFamily();
  out.type = view.GetDisplayEntry(displayLine).type;
  if (KLineObj::FamilyOf(out.type) != out.family) out.type = line->GetType();
  out.staffLength = line->GetStaffLength();
  out.indent = line->GetIndent();
  out.groupId = line->GetGroupId() < 0 ? -1 : line->GetGroupId();
  const KLineGroup* group = out.groupId >= 0 ? view.m_document->FindLineGroup(out.groupId) : nullptr;
  if (group == nullptr) out.groupId = -1;
  out.bracket = group != nullptr ? group->GetLineBracket(view.GetDisplayEntry(displayLine).line, 1) : 0;
  out.label = line->GetLabelName();
  DWORD flags = line->GetFlagWord();
  if ((flags & KLineObj::kFlagPairedStaff) != 0 && index == count - 1) {
    flags &= ~kPairFlags;
    if (count == 1) flags &= ~KLineObj::kFlagPairedStaff;
  }
  out.flagsLow = static_cast<int>(flags & 0xFFFF);
  out.flagsHigh = static_cast<int>(flags >> 16);

  switch (out.family) {
    case ClipFamily::kStaff:
    case ClipFamily::kTab:
      if (KListLine* list = line->AsListLine()) CollectNoteLine(view, displayLine, *list, out);
      break;
    case ClipFamily::kRhythm:
      if (auto* rhythm = dynamic_cast<KRhythmLine*>(line)) CollectRhythmLine(view, *rhythm, mode, out);
      break;
    case ClipFamily::kChord:
      if (auto* chords = dynamic_cast<KChordPicLine*>(line))
        CollectChordLine(view, displayLine, *chords, out);
      break;
    case ClipFamily::kText:
      if (auto* text = dynamic_cast<KStrLine*>(line)) CollectTextLine(view, *text, mode, out);
      break;
    default:
      return std::nullopt;
  }
  return out;
}

}  // namespace viewclip

namespace viewclip {

CString LineAsText(CStavlinView& view, int displayLine) {
  KLineObj* line = view.GetDisplayLineObj(displayLine);
  if (line == nullptr) return CString();
  const int family = line->GetFamily();
  if (family == ClipFamily::kText) {
    // The same characters the word stream takes.
    const std::optional<ClipLine> record = CollectLine(view, displayLine, kCopy, 0, 1);
    return record ? record->text : CString();
  }
  int first = 0;
  int end = KListLine::kWholeLineColumn;
  if (family == ClipFamily::kChord) {
    std::tie(first, end) = viewdelete::ChordColumnRange(view, displayLine);
  } else if (KLineObj::IsNoteFamily(family)) {
    std::tie(first, end) = viewdelete::NoteColumnRange(view, displayLine);
  } else if (auto* rhythm = dynamic_cast<KRhythmLine*>(line);
             rhythm != nullptr && MeasureDC(view) != nullptr) {
    const int lead = rhythm->GetIndent() + view.m_contentLeft;
    first = rhythm->GetColumnAtX(MeasureDC(view), 0, static_cast<int>(view.m_selRect.left) - lead,
                                 view.GetSizeIndex(), 0, 3);
    end = rhythm->GetColumnAtX(MeasureDC(view), 0, static_cast<int>(view.m_selRect.right) - lead,
                               view.GetSizeIndex(), 0, 3);
  }
  end = RangeEnd(view, end);
  if (end <= first) return CString();
  return line->WriteText(first, end - 1, 0).value_or(CString());
}

}  // namespace viewclip
