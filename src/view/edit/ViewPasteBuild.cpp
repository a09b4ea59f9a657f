// Building score objects from the records of a word stream: lines, note
// columns, rhythm symbols, chord diagrams and attachments. The paste of new
// lines and the merge into existing lines both build through here.

#include "view/edit/ViewPasteBuild.h"

#include <cstring>

#include "common/Globals.h"
#include "lines/KChordPicLine.h"
#include "lines/KRhythmLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"
#include "view/CStavlinView.h"

namespace viewclip {

namespace {

constexpr const char* kDefaultTuning = "E A D G B E  323742475156";

CString TuningOrDefault(const CString& tuning) { return tuning.IsEmpty() ? CString(kDefaultTuning) : tuning; }

// The font slot of a pasted text line: an equal font of the view's table, or
// a free slot that takes the font; slot 0 when the table is full. The slot's
// use is counted.
int TextFontSlot(CStavlinView& view, const ClipLine& record) {
  LOGFONT font{};
  std::memcpy(&font, record.logFont.data(), sizeof font);
  font.lfFaceName[LF_FACESIZE - 1] = 0;
  const int slot = view.FindOrAddLineFont(font);
  if (slot > 0) {
    ++view.m_fontUseCounts[static_cast<size_t>(slot)];
    view.m_document->SetFontUseCounts(
        std::span<const int, CStavlinDoc::kFontArraySize>(view.m_fontUseCounts));
  }
  view.m_fontsNeedMeasuring = 1;
  return slot;
}

}  // namespace

KChord* BuildColumn(const ClipColumn& record, int column) {
  auto* chord = new KChord(column, record.rhythm);
  chord->SetNoteCount(static_cast<int>(record.entries.size()));
  for (size_t i = 0; i < record.entries.size(); ++i) {
    const auto [first, second] = record.entries[i];
    chord->SetEntry(static_cast<int>(i), EntryWords{static_cast<WORD>(first), static_cast<WORD>(second)});
  }
  chord->SetVoiceStem(0, record.stem0);
  chord->SetVoiceStem(1, record.stem1);
  return chord;
}

bool HoldsTimeSignature(const ClipColumn& record) {
  for (const auto& entry : record.entries)
    if (HIBYTE(static_cast<WORD>(entry.first)) == KChord::kTimeSignature) return true;
  return false;
}

KExtendedObj* BuildAttachment(const ClipAttachment& a, int column) {
  RECT points{a.point0X, a.point0Y, a.point1X, a.point1Y};
  auto* attachment = new KExtendedObj(column, a.row, a.kind, a.anchorX, a.anchorY, a.sizeX, a.sizeY,
                                      a.offsetX, a.offsetY, a.text, a.fontText, a.linkTarget, &points);
  // The constructor fills in defaults for some kinds; the record's values win.
  // (SetSize keeps widths above 0, so a record of width 0 keeps the
  // constructor's size.)
  if (a.sizeX > 0) attachment->SetSize(a.sizeX, a.sizeY);
  attachment->SetText(a.text);
  attachment->SetVisited(a.visited);
  attachment->SetBold(a.bold);
  return attachment;
}

KRhythmObj* BuildSymbol(const ClipRhythmSymbol& s, int position) {
  if (s.text.IsEmpty()) {
    auto* symbol = new KRhythmObj(position, s.code);
    symbol->SetLinkCode(s.link);
    return symbol;
  }
  return new KRhythmObj(position, s.text);
}

std::unique_ptr<KLineObj> BuildLine(CStavlinView& view, const ClipLine& record) {
  const DWORD flags = record.Flags();
  std::unique_ptr<KLineObj> line;
  switch (record.family) {
    case ClipFamily::kStaff: {
      auto staff = std::make_unique<KStaffLine>(record.type, record.key, flags);
      staff->SetSpaceAbove(record.spaceAbove, 0);
      staff->SetSpaceBelow(record.spaceBelow, 0);
      line = std::move(staff);
      break;
    }
    case ClipFamily::kTab: {
      auto tab = std::make_unique<KTabLine>(record.key, TuningOrDefault(record.tuning), flags);
      tab->SetFlagWord(flags);
      tab->SetSpaceAbove(record.spaceAbove, 0);
      tab->SetSpaceBelow(record.spaceBelow, 0);
      line = std::move(tab);
      break;
    }
    case ClipFamily::kRhythm:
      line = std::make_unique<KRhythmLine>(record.key, record.fontText);
      line->SetFlagWord(flags);
      break;
    case ClipFamily::kChord:
      line = std::make_unique<KChordPicLine>(record.key, TuningOrDefault(record.tuning), record.fontText,
                                             record.widthPercent, record.heightPercent);
      line->SetFlagWord(flags);
      break;
    case ClipFamily::kText:
      line = std::make_unique<KStrLine>(record.text, TextFontSlot(view, record));
      line->SetFlagWord(flags);
      break;
    default:
      return nullptr;
  }
  line->SetStaffLength(record.staffLength);
  line->SetIndent(record.indent);
  if (!record.label.IsEmpty()) line->SetLabel(record.label);
  FillLine(view, *line, record);
  return line;
}

void FillLine(CStavlinView& view, KLineObj& line, const ClipLine& record) {
  KListLine* list = line.AsListLine();
  if (list == nullptr) return;
  bool timeSignature = false;
  for (const ClipColumn& c : record.columns) {
    list->GetObjList()->AddTail(BuildColumn(c, c.column - record.base));
    timeSignature = timeSignature || HoldsTimeSignature(c);
  }
  for (const ClipRhythmSymbol& s : record.symbols) list->GetObjList()->AddTail(BuildSymbol(s, s.position));
  if (auto* chords = dynamic_cast<KChordPicLine*>(&line)) {
    for (const ClipDiagram& d : record.diagrams)
      chords->InsertDiagramAt(d.column - record.base, d.name, d.shape, d.number, d.value);
  }
  for (const ClipAttachment& a : record.attachments)
    line.AddAttachment(BuildAttachment(a, a.column - record.base));
  if (KLineObj::IsNoteFamily(line.GetFamily())) {
    list->UpdateTimeSigCache();
    if (timeSignature) list->SetTimeSignature(list->GetStartBeats(), list->GetStartBeatTicks(), 1);
  }
  if (auto* rhythm = dynamic_cast<KRhythmLine*>(&line)) rhythm->SetColumnWidth(-1);
  list->MarkChanged();
  (void)view;
}

}  // namespace viewclip
