// Actions/Translate/From ABC Notation: the text lines of the current line or
// the selection are read as ABC notation, line by line, and replaced by what
// they stand for: staff lines of the music, a centred title line, lines of
// information, and chord-diagram lines of the chord names written over the
// notes. The reading is translate/AbcTextToLines; this file puts its lines in
// the score, sets the titles' font and lays the tunes' staves out. The reader
// starts afresh for every command (and for every tune in the text); a line
// that the last line of music left open by continuation is not lost.
#include <algorithm>
#include <memory>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "doc/pref_values/Preferences.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "translate/AbcTextToLines.h"
#include "view/CStavlinView.h"
#include "doc/NewScoreSheetWidth.h"
#include "view/core/ViewLineGeometry.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr int kUndoLineToEnd = 6;
constexpr int kSelectWholeLines = 10;
constexpr int kShowAll = 8;
constexpr int kDefaultBeats = 4;  // 4/4 before any time signature
constexpr int kWholeLineColumns = 32000;
constexpr const char* kTitleFont = "22,0,0,0,700,0,0,0,0,3,2,1,18,Times New Roman";
// The lead-in of a note line and the room of one key-signature accidental,
// by symbol size (small, large), for the common staff length of a tune.
constexpr int kLineStart[2] = {34, 34};
constexpr int kKeyAccidentalWidth[2] = {9, 11};

int KeyAtStart(KLineObj* line) {
  const KListLine* list = line != nullptr ? line->AsListLine() : nullptr;
  return list != nullptr ? list->GetKeySignatureAt(0) : 0;
}

// Carries the time signature from note line to note line over the lines from
// `first` up to (not taking) `stop`, as CStavlinDoc::PropagateTimeSignatures
// does over the whole score: the first note line among them starts with the
// time in force at the end of the note line before `first` (4/4 when none).
void PropagateTimeSignaturesOver(CStavlinDoc& doc, POSITION first, POSITION stop) {
  int beats = kDefaultBeats;
  int beatTicks = KListLine::kDefaultBeatTicks;
  POSITION before = first;
  if (before != nullptr) doc.GetPrevLine(before);
  while (before != nullptr) {
    KLineObj* line = doc.GetPrevLine(before);
    KListLine* list =
        line != nullptr && KLineObj::IsNoteFamily(line->GetFamily()) ? line->AsListLine() : nullptr;
    if (list == nullptr) continue;
    list->GetTimeSignatureAt(KListLine::kDeriveColumn, beats, beatTicks, 0);
    break;
  }
  for (POSITION pos = first; pos != nullptr && pos != stop;) {
    KLineObj* line = doc.GetNextLine(pos);
    KListLine* list =
        line != nullptr && KLineObj::IsNoteFamily(line->GetFamily()) ? line->AsListLine() : nullptr;
    if (list == nullptr) continue;
    list->SetTimeSignature(beats, beatTicks, 1);
    list->GetTimeSignatureAt(KListLine::kDeriveColumn, beats, beatTicks, 0);
  }
}

// The tunes' staves (each tune's in score order) filled as engraved systems,
// wrapped to the staff length first when `wrap` asks for it, with one layout
// of the score before and none between the tunes; the lines the wraps add
// join `made`. Every line of the score is shown.
void FillTunesInOneLayout(CStavlinView& view, const std::vector<std::vector<KLineObj*>>& tunes, bool wrap,
                          int staffLength, std::unordered_set<const KLineObj*>& made) {
  CStavlinDoc& doc = *view.GetDocument();
  if (wrap) {
    for (const std::vector<KLineObj*>& tune : tunes) {
      for (KLineObj* line : tune) line->SetStaffLength(staffLength);
    }
  }
  view.RebuildDisplayLines(0);
  // Each tune's first and last display line, found in one pass. The tunes are
  // then filled from the last up: what one tune's wrap adds or removes lies
  // below the tunes still to come, whose display lines stay as they are.
  std::unordered_map<const KLineObj*, size_t> tuneOf;
  for (size_t t = 0; t < tunes.size(); ++t) {
    for (const KLineObj* line : tunes[t]) tuneOf.emplace(line, t);
  }
  std::vector<int> tops(tunes.size(), -1);
  std::vector<int> bottoms(tunes.size(), -1);
  for (int d = 0; d < view.GetDisplayLineCount(); ++d) {
    const auto found = tuneOf.find(view.GetDisplayLineObj(d));
    if (found == tuneOf.end()) continue;
    if (tops[found->second] < 0) tops[found->second] = d;
    bottoms[found->second] = d;
  }
  const bool wrapping = wrap && view.LeaveReadOnlyForEdit();
  bool wrapped = false;
  for (size_t t = tunes.size(); t-- > 0;) {
    const int top = tops[t];
    const int bottom = bottoms[t];
    if (top < 0) continue;
    std::vector<KLineObj*> lines;
    if (wrapping) {
      // The tune's own lines are its systems, as its writer broke them:
      // only a line too long for the staff gives bars to the next.
      const POSITION above = top > 0 ? view.GetDisplayEntry(top - 1).line : nullptr;
      WrapMusicOfImport(view, top, bottom);
      wrapped = true;
      // The tune's lines now: its own and those the wrap added below them.
      POSITION pos = above;
      if (pos != nullptr) {
        doc.GetNextLine(pos);
      } else {
        pos = doc.GetFirstLinePosition();
      }
      const POSITION start = pos;
      POSITION stop = nullptr;
      while (pos != nullptr) {
        const POSITION here = pos;
        KLineObj* line = doc.GetNextLine(pos);
        if (line == nullptr || line->GetFamily() > KLineObj::kFamilyTab) {
          stop = here;
          break;
        }
        made.insert(line);
        lines.push_back(line);
      }
      // Bars moved between lines: each line starts in the time in force at
      // the end of the line before it.
      PropagateTimeSignaturesOver(doc, start, stop);
    } else {
      for (int d = top; d <= bottom; ++d) lines.push_back(view.GetDisplayLineObj(d));
    }
    FillSystemsOfLines(view, lines);
  }
  if (wrapped) doc.PropagateTimeSignatures();
}

}  // namespace

void CStavlinView::OnActionsTranslateFromAbc() {
  if (m_document == nullptr || m_lineCount <= 0) return;
  if (!LeaveReadOnlyForEdit()) return;
  const bool selection = SelectionRectShown();
  int first = std::clamp(m_currentLine, 0, m_lineCount - 1);
  int last = first;
  if (selection) std::tie(first, last) = viewgeom::SelectedLines(*this);
  RecordUndoStep(kUndoLineToEnd, first, 0, nullptr, 0);
  TranslateFromAbc(first, last, selection);
}

void CStavlinView::TranslateFromAbc(int first, int last, bool selection) {
  if (m_document == nullptr || m_lineCount <= 0) return;
  first = std::clamp(first, 0, m_lineCount - 1);
  last = std::clamp(last, first, m_lineCount - 1);
  CStavlinDoc& doc = *m_document;

  // The lines of the range, taken before any of them changes.
  std::vector<POSITION> range;
  std::vector<std::optional<CString>> texts;
  for (int d = first; d <= last; ++d) {
    range.push_back(m_display[static_cast<size_t>(d)].line);
    const auto* source = dynamic_cast<KStrLine*>(doc.GetLineAt(range.back()));
    texts.push_back(source != nullptr ? std::optional<CString>(source->GetText()) : std::nullopt);
  }
  AbcTextRead read = ReadAbcTextLines(texts);

  POSITION beforeRange = range.front();
  doc.GetPrevLine(beforeRange);

  int titleFontSlot = -1;
  std::vector<KLineObj*> titles;  // the title lines made, for the runs below
  // Every line made: a set, since a long tune wraps into thousands of lines
  // and each line of the score is looked up in it.
  std::unordered_set<const KLineObj*> made;
  POSITION lastPlaced = nullptr;  // where a line still open at the end goes
  POSITION firstPlaced = nullptr;
  for (size_t i = 0; i < range.size(); ++i) {
    const POSITION pos = range[i];
    auto* source = dynamic_cast<KStrLine*>(doc.GetLineAt(pos));
    if (source == nullptr) continue;
    std::unique_ptr<KLineObj> result = std::move(read.lines[i].line);
    if (result == nullptr) {
      // A line the reader consumed, or one that yields nothing, goes.
      doc.RemoveLine(pos, nullptr, TRUE);
      continue;
    }
    if (read.lines[i].title) {
      auto* text = static_cast<KStrLine*>(result.get());
      if (titleFontSlot < 0) titleFontSlot = FindOrAddLineFont(CString(kTitleFont), 0, 0);
      text->SetFontIndex(titleFontSlot);
      if (titleFontSlot > 0) ++m_fontUseCounts[static_cast<size_t>(titleFontSlot)];
      titles.push_back(text);
    }
    const int key = dynamic_cast<KStaffLine*>(result.get()) != nullptr && result->GetType() == 0
                        ? KeyAtStart(result.get())
                        : 0;
    KLineObj* line = result.release();
    const POSITION placed = doc.ReplaceLine(source, pos, line, key, FALSE);
    if (placed == nullptr) {
      delete line;
      continue;
    }
    made.insert(line);
    lastPlaced = placed;
    if (firstPlaced == nullptr) firstPlaced = placed;
  }
  // Music that the last line left open for continuation still comes in.
  if (read.continued != nullptr) {
    KStaffLine* line = read.continued.release();
    if (lastPlaced == nullptr) lastPlaced = beforeRange;
    lastPlaced = lastPlaced != nullptr ? doc.InsertLineAfter(lastPlaced, line) : doc.AddHeadLine(line);
    if (firstPlaced == nullptr) firstPlaced = lastPlaced;
    made.insert(line);
  }
  doc.SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(m_fontUseCounts));
  if (doc.HasNoLines()) doc.AddTailLine(new KStrLine(0));
  RebuildDisplayLines(0);
  FindTopLine(GetVirtualScrollPosition().y);

  const int firstTranslated = firstPlaced != nullptr ? std::max(FindDisplayLine(firstPlaced, 0), 0) : first;
  auto madeHere = [&made](const KLineObj* line) { return made.count(line) != 0; };

  if (selection) {
    // The staff lines of each tune share one staff length, that of the
    // longest, so that the tune's lines end together.
    const int size = std::clamp(m_sizeIndex, 0, 1);
    const int columnWidth = viewgeom::ColumnWidth(*this, 0) > 0 ? viewgeom::ColumnWidth(*this, 0) : 18;
    const std::unordered_set<const KLineObj*> titleLines(titles.begin(), titles.end());
    std::vector<KLineObj*> run;
    int longest = 0;
    int largestKey = 0;
    std::vector<std::vector<KLineObj*>> runs;
    auto closeRun = [&] {
      if (run.empty()) return;
      int width = 20 + kLineStart[size] + columnWidth * longest;
      if (largestKey != 0) width += kKeyAccidentalWidth[size] * (largestKey / 2 + 1);
      for (KLineObj* line : run) line->SetStaffLength(width);
      runs.push_back(run);
      run.clear();
      longest = 0;
      largestKey = 0;
    };
    for (int d = firstTranslated; d < m_lineCount; ++d) {
      KLineObj* line = GetDisplayLineObj(d);
      if (line == nullptr) continue;
      if (titleLines.count(line) != 0 && !run.empty()) closeRun();
      // Only the staves this command made: the score's other lines keep their lengths.
      if (line->GetFamily() > KLineObj::kFamilyTab || !madeHere(line)) continue;
      run.push_back(line);
      longest = std::max(longest, line->GetLength());
      largestKey = std::max(largestKey, KeyAtStart(line));
    }
    closeRun();
    // Each tune's staves, the last tune first so that the lines of the tunes
    // above stay where they are: wrapped to the default staff length (when
    // the preference asks for it), then filled to their staff length as
    // engraved systems.
    const bool wrap = g_prefTransAltTun.wrapAbc != 0;
    // The staves keep within a printed sheet at 100 %.
    const int staffLength = NewScoreStaffLength(g_prefStaffLines.initialStaffLength, m_contentLeft);
    if (m_show[kShowAll] != 0) {
      FillTunesInOneLayout(*this, runs, wrap, staffLength, made);
    } else {
      for (auto tune = runs.rbegin(); tune != runs.rend(); ++tune) {
        if (wrap) {
          for (KLineObj* line : *tune) line->SetStaffLength(staffLength);
        }
        RebuildDisplayLines(0);
        int top = -1;
        int bottom = -1;
        for (int d = 0; d < m_lineCount; ++d) {
          if (std::find(tune->begin(), tune->end(), GetDisplayLineObj(d)) == tune->end()) continue;
          if (top < 0) top = d;
          bottom = d;
        }
        if (top < 0) continue;
        if (wrap) {
          // The tune's own lines are its systems, as its writer broke them:
          // only a line too long for the staff gives bars to the next.
          UpdateSelection(0, kWholeLineColumns, top, bottom, kSelectWholeLines);
          WrapMusic(*this, false);
          UpdateSelection(0, 0, 0, 0, kSelClear);
          // The lines the wrap added below the tune's are made by this command too.
          for (int d = top; d < m_lineCount; ++d) {
            KLineObj* line = GetDisplayLineObj(d);
            if (line == nullptr || line->GetFamily() > KLineObj::kFamilyTab) break;
            made.insert(line);
            bottom = d;
          }
        }
        FillSystemsToStaffLength(*this, top, bottom);
      }
    }
    // A title stands apart from the music of its tune.
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      const POSITION here = pos;
      if (titleLines.count(doc.GetNextLine(pos)) != 0) doc.InsertLineAfter(here, new KStrLine(0));
    }
    RebuildDisplayLines(0);
  }

  // Chord names written over the notes become chord-diagram lines above
  // their staves.
  if (read.chordNamesSeen) {
    bool added = false;
    AbcDiagramGeometry geometry;
    geometry.noteColumnWidth = viewgeom::ColumnWidth(*this, 0) > 0 ? viewgeom::ColumnWidth(*this, 0) : 18;
    geometry.diagramColumnWidth = KListLine::kChordColumnWidth[std::clamp(m_sizeIndex, 0, 1)];
    int searchFrom = 0;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      const POSITION here = pos;
      auto* staff = dynamic_cast<KStaffLine*>(doc.GetNextLine(pos));
      if (staff == nullptr || staff->GetType() != 0 || !madeHere(staff)) continue;
      // The staves come in display order (the lines put in here show only
      // after the rebuild below): the search goes on from the last one found.
      geometry.staffLead = [&] {
        int staffLine = FindDisplayLine(here, searchFrom);
        if (staffLine < 0) staffLine = FindDisplayLine(here, 0);
        if (staffLine >= 0) searchFrom = staffLine;
        return staffLine >= 0 ? std::max(viewgeom::LineLeftX(*this, staffLine) - m_contentLeft, 0) : 0;
      };
      std::unique_ptr<KChordPicLine> chords = AbcChordNamesToDiagrams(*staff, geometry);
      // Without a diagram line the names stay written over the notes.
      if (chords == nullptr) continue;
      doc.InsertLineBefore(here, chords.release());
      doc.InsertLineAfter(here, new KStrLine(0));
      added = true;
    }
    if (added) {
      // The new diagrams take their fingering numbers as those of an opened score do.
      NumberChordDiagrams(m_host != nullptr ? m_host->GetMeasureDC() : nullptr);
      RebuildDisplayLines(0);
    }
  }

  // A single line that read as nothing but signatures leaves no empty staff.
  if (!selection) {
    bool removed = false;
    for (POSITION pos = doc.GetFirstLinePosition(); pos != nullptr;) {
      const POSITION here = pos;
      KLineObj* line = doc.GetNextLine(pos);
      if (line != nullptr && madeHere(line) && line->GetFamily() == KLineObj::kFamilyStaff &&
          line->GetLength() == 0 && line->GetAttachmentCount() == 0) {
        doc.RemoveLine(here, nullptr, TRUE);
        removed = true;
      }
    }
    if (doc.HasNoLines()) doc.AddTailLine(new KStrLine(0));
    if (removed) RebuildDisplayLines(0);
  }

  m_currentLine = std::clamp(firstTranslated, 0, std::max(m_lineCount - 1, 0));
  m_caretColumn = 0;
  if (m_lineCount > 0) {
    m_currentType = m_display[static_cast<size_t>(m_currentLine)].type;
    m_currentFamily = KLineObj::FamilyOf(m_currentType);
  }
  doc.SetModifiedFlag(TRUE);
  UpdateAfterEdit(kHintAll, 1);
}
