// Undo and Redo of an edit that kept the score's lines and groups as they
// were (typing, most commands on the notes of a line): the saved lines are
// built again and each takes the place of its present line at the same
// position of the line list, in the same group slot, instead of the range
// being deleted and pasted back. The display table keeps its entries, so
// the views lay out the restored lines alone, and each line is repainted
// from its first column that differs.

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <utility>
#include <vector>

#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "view/CStavlinView.h"
#include "view/edit/ViewPasteBuild.h"
#include "view/edit/ViewUndoInternal.h"

namespace {

// The most lines an in-place restore takes on; a larger range goes the
// general way.
constexpr size_t kMostLines = 64;

// The first column of the line whose drawing differs between the two
// records of one line: 0 when anything but its columns or text differs.
int FirstDifferentColumn(const ClipLine& was, const ClipLine& now) {
  ClipLine wasHeader = was;
  ClipLine nowHeader = now;
  for (ClipLine* header : {&wasHeader, &nowHeader}) {
    header->columns.clear();
    header->text = CString();
    header->base = 0;
  }
  if (!(wasHeader == nowHeader)) return 0;
  if (was.family == ClipFamily::kText) {
    const std::string& a = was.text.Str();
    const std::string& b = now.text.Str();
    const auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<int>(differ.first - a.begin());
  }
  const size_t common = std::min(was.columns.size(), now.columns.size());
  size_t i = 0;
  while (i < common && was.columns[i].column - was.base == now.columns[i].column - now.base &&
         was.columns[i] == now.columns[i])
    ++i;
  int column = INT_MAX;
  if (i < was.columns.size()) column = std::min(column, was.columns[i].column - was.base);
  if (i < now.columns.size()) column = std::min(column, now.columns[i].column - now.base);
  return column == INT_MAX ? INT_MAX : std::max(column, 0);
}

// Whether the record can take the place of the line: the same kind, in the
// same group slot with the same bracket.
bool Fits(const CStavlinDoc& doc, const KLineObj& line, POSITION position, const ClipLine& record) {
  if (line.GetType() != record.type) return false;
  const int group = line.GetGroupId();
  if (group == KLineObj::kNoGroup) return record.groupId < 0;
  if (record.groupId != group) return false;
  const KLineGroup* owner = doc.FindLineGroup(group);
  const int slot = owner != nullptr ? owner->FindSlot(position) : -1;
  return slot >= 0 && owner->GetSlotBracket(slot, 1) == record.bracket;
}

bool IsNoteLine(const KLineObj& line) { return KLineObj::IsNoteFamily(line.GetFamily()); }

// Carries the time signature from note line to note line as the document
// does for the whole score, from the line at `from` (which the signature
// `carried` reaches) down, and no further past `through` than the first note
// line that already starts with the one carried to it: the lines below it
// stay as they are.
void CarryTimeSignatures(CStavlinDoc& doc, POSITION from, POSITION through,
                         std::optional<std::pair<int, int>> carried) {
  if (!carried) return;  // no note line among the restored ones
  auto [beats, beatTicks] = *carried;
  bool past = false;
  for (POSITION pos = from; pos != nullptr;) {
    const POSITION here = pos;
    KLineObj* line = doc.GetNextLine(pos);
    KListLine* list = line != nullptr && IsNoteLine(*line) ? line->AsListLine() : nullptr;
    if (list != nullptr) {
      if (past && list->GetStartBeats() == beats && list->GetStartBeatTicks() == beatTicks) return;
      list->SetTimeSignature(beats, beatTicks, 1);
      list->GetTimeSignatureAt(KListLine::kDeriveColumn, beats, beatTicks, 0);
    }
    if (here == through) past = true;
  }
}

}  // namespace

namespace viewundo {

bool SameLayoutBasis(const CStavlinView& view, const KUndoViewState& state) {
  KUndoViewState now;
  CaptureViewState(view, now);
  // What only places the caret and the scroll, and the widest width (the
  // layout works it out again), may differ.
  now.widest = state.widest;
  now.currentTextFont = state.currentTextFont;
  now.caretRow = state.caretRow;
  now.currentType = state.currentType;
  now.currentFamily = state.currentFamily;
  now.currentLine = state.currentLine;
  now.caretColumn = state.caretColumn;
  now.firstVisible = state.firstVisible;
  now.keyAtCaret = state.keyAtCaret;
  return now == state;
}

void RestoreCaretState(CStavlinView& view, const KUndoViewState& state) {
  view.m_widest = state.widest;
  view.m_currentTextFont = state.currentTextFont;
  view.m_caretRow = state.caretRow;
  const int last = std::max(view.GetDisplayLineCount() - 1, 0);
  view.m_currentLine = std::clamp(state.currentLine, 0, last);
  view.m_caretColumn = state.caretColumn;
  view.m_firstVisible = std::clamp(state.firstVisible, 0, last);
  view.m_keyAtCaret = state.keyAtCaret;
  if (view.GetDisplayLineCount() > 0) {
    view.m_currentType = view.GetDisplayEntry(view.m_currentLine).type;
    view.m_currentFamily = KLineObj::FamilyOf(view.m_currentType);
  }
}

std::optional<std::vector<KLineDamage>> SwapLinesInPlace(CStavlinView& view, int first, int last,
                                                         const KClipStream& snapshot,
                                                         const KClipStream& current) {
  CStavlinDoc* doc = view.m_document;
  if (doc == nullptr || first < 0 || last < first || last >= view.GetDisplayLineCount()) return std::nullopt;
  const std::optional<KClipData> saved = ReadClipStream(snapshot);
  const std::optional<KClipData> present = ReadClipStream(current);
  const size_t count = static_cast<size_t>(last - first + 1);
  if (!saved || !present || saved->isAttachment || present->isAttachment || count > kMostLines ||
      saved->lines.size() != count || present->lines.size() != count)
    return std::nullopt;

  // Every line fits its record, and every group met has all its lines here.
  std::vector<POSITION> positions;
  std::map<int, int> linesOfGroup;
  for (size_t i = 0; i < count; ++i) {
    const POSITION position = view.GetDisplayEntry(first + static_cast<int>(i)).line;
    const KLineObj* line = doc->GetLineAt(position);
    if (line == nullptr || !Fits(*doc, *line, position, saved->lines[i])) return std::nullopt;
    if (line->GetGroupId() != KLineObj::kNoGroup) ++linesOfGroup[line->GetGroupId()];
    positions.push_back(position);
  }
  for (const auto& [id, lines] : linesOfGroup) {
    const KLineGroup* group = doc->FindLineGroup(id);
    if (group == nullptr || group->GetSlotCount() != lines) return std::nullopt;
  }

  // The saved lines, built as a paste builds them; a text line must find its
  // font in the view's table as it is.
  const std::array<LOGFONT, 41> fonts = view.m_textFonts;
  const std::array<int, 41> uses = view.m_fontUseCounts;
  std::vector<std::unique_ptr<KLineObj>> built;
  for (const ClipLine& record : saved->lines) {
    built.push_back(viewclip::BuildLine(view, record));
    if (!built.back()) break;
  }
  view.m_fontUseCounts = uses;
  doc->SetFontUseCounts(std::span<const int, CStavlinDoc::kFontArraySize>(view.m_fontUseCounts));
  if (view.m_textFonts != fonts || built.size() != count || !built.back()) {
    view.m_textFonts = fonts;
    return std::nullopt;
  }

  // The time signature carried into the first restored note line, as the
  // score stood before the restore.
  std::optional<std::pair<int, int>> carried;
  for (const POSITION position : positions) {
    if (const KListLine* list = doc->GetLineAt(position)->AsListLine();
        list != nullptr && IsNoteLine(*list)) {
      carried = std::pair{list->GetStartBeats(), list->GetStartBeatTicks()};
      break;
    }
  }

  std::vector<KLineDamage> damage;
  std::vector<std::unique_ptr<KLineObj>> replaced;
  std::set<KLineGroup*> groups;
  for (size_t i = 0; i < count; ++i) {
    KLineObj* fresh = built[i].release();
    KLineObj* old = doc->GetLineAt(positions[i]);
    int column = FirstDifferentColumn(present->lines[i], saved->lines[i]);
    if (column == INT_MAX) {
      column = 0;  // the same line: nothing of it is repainted
    } else if (const KListLine* list = old->AsListLine(); list != nullptr && column > 0) {
      // A beam or tie that began before the column on the line that goes.
      column = std::min(column, list->FindRedrawStart(column));
    }
    if (!(present->lines[i] == saved->lines[i])) {
      // The rows the line that goes is drawn in.
      const auto [top, bottom] = view.DrawnRows(first + static_cast<int>(i), column, false);
      damage.push_back({positions[i], column, top, bottom});
    }
    fresh->SetGroup(old->GetGroupId(), old->GetGroup());
    if (old->GetGroup() != nullptr) groups.insert(old->GetGroup());
    replaced.emplace_back(doc->SwapLineAt(positions[i], fresh));
  }
  // The group slots and grand-staff partners point at the new lines; the old
  // ones let go of their partners as they go.
  for (KLineGroup* group : groups) group->BindLines(*doc);
  replaced.clear();
  // A restored line may hold a time signature another had not: each note
  // line from the first restored one on starts again with the one in force
  // at the end of the one before, as far down as that changes anything.
  CarryTimeSignatures(*doc, positions.front(), positions.back(), carried);
  return damage;
}

}  // namespace viewundo
