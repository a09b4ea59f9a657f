// Insert/Previous Object: copies the nth previous note column, cluster of
// joined notes or bar of the same line (or of the lines above it) to the
// caret. On a chord line only the note/chord form copies: the nth previous
// chord diagram. A search that finds nothing beeps and leaves the score as it
// was.

#include <algorithm>
#include <memory>
#include <vector>

#include "lines/KChordPicLine.h"
#include "model/KChord.h"
#include "model/KChordPic.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"
#include "model/KListLineBeams.h"
#include "platform/UiPort.h"
#include "view/CStavlinView.h"
#include "view/commands/CommandIds.h"
#include "view/music/ViewMusic.h"

namespace {

constexpr int kKindNote = 0;
constexpr int kKindCluster = 1;
constexpr int kKindBar = 2;
constexpr int kLineEnd = 32000;
constexpr UINT kNotFoundBeep = 0x40;
constexpr int kUndoLine = 0;
constexpr int kUndoGroup = 1;

// The columns found: first and last source column (the same for one column).
struct Found {
  const KListLine* line = nullptr;
  std::vector<const KChord*> columns;
};

void RecordEditUndo(CStavlinView& v, const KLineObj& line) {
  if (line.GetGroupId() != KLineObj::kNoGroup) {
    v.RecordUndoStep(kUndoGroup, line.GetGroupId(), 0, nullptr, 0);
  } else {
    v.RecordUndoStep(kUndoLine, v.m_currentLine, 0, nullptr, 0);
  }
}

// Objects of the line at or before the column, last first.
template <typename T>
std::vector<const T*> BackwardFrom(const KListLine& line, int start) {
  std::vector<const T*> out;
  CObList* objects = const_cast<KListLine&>(line).GetObjList();
  for (POSITION pos = objects->GetTailPosition(); pos != nullptr;) {
    const auto* object = dynamic_cast<const T*>(objects->GetPrev(pos));
    if (object != nullptr && object->GetPos() <= start) out.push_back(object);
  }
  return out;
}

bool IsNoteColumn(const KChord& column, bool tab) {
  if (column.GetNoteCount() <= 0) return false;
  const int code = column.GetNote(0).code % KChord::kFlaggedBase;
  return code < 13 || (tab && code >= KChord::kFirstFret && code <= KChord::kLastFret);
}

// A cluster of joined notes opens at a column whose stored stem value marks
// a beam group's start and runs to the one that marks its end (voice 1 is
// looked at before voice 0).
bool StartsCluster(const KChord& column) {
  return beam::Opens(column.GetVoiceStem(1)) || beam::Opens(column.GetVoiceStem(0));
}

bool EndsCluster(const KChord& column) {
  return beam::Closes(column.GetVoiceStem(1)) || beam::Closes(column.GetVoiceStem(0));
}

// The nth object of the kind at or before the start column of the line,
// counting backward; n is reduced by the ones seen when none is found.
Found FindOnLine(const KListLine& line, int kind, int& n, int start) {
  Found found;
  found.line = &line;
  const bool tab = line.GetFamily() == KLineObj::kFamilyTab;
  const std::vector<const KChord*> back = BackwardFrom<KChord>(line, start);
  std::vector<size_t> hits;
  for (size_t i = 0; i < back.size(); ++i) {
    const KChord& column = *back[i];
    const bool hit = kind == kKindNote      ? IsNoteColumn(column, tab)
                     : kind == kKindCluster ? StartsCluster(column)
                                            : column.IsBarColumn();
    if (hit) hits.push_back(i);
  }
  if (kind == kKindBar) {
    // The nth bar back ends at the nth bar line and starts after the next one.
    if (static_cast<int>(hits.size()) < n) {
      n -= static_cast<int>(hits.size());
      return found;
    }
    const size_t end = hits[static_cast<size_t>(n - 1)];
    const size_t begin = static_cast<int>(hits.size()) > n ? hits[static_cast<size_t>(n)] : back.size();
    for (size_t i = begin; i-- > end;) found.columns.push_back(back[i]);
    return found;
  }
  if (static_cast<int>(hits.size()) < n) {
    n -= static_cast<int>(hits.size());
    return found;
  }
  const size_t at = hits[static_cast<size_t>(n - 1)];
  found.columns.push_back(back[at]);
  if (kind == kKindCluster) {
    // The cluster runs forward to its closing column (the whole line when
    // the source has none).
    for (size_t i = at; i-- > 0;) {
      found.columns.push_back(back[i]);
      if (EndsCluster(*back[i])) break;
    }
  }
  return found;
}

// A line whose objects may be copied into the current one.
bool Qualifies(const CStavlinView& v, int displayLine, const KLineObj& current) {
  KLineObj* line = v.GetDisplayLineObj(displayLine);
  if (line == nullptr || v.GetDisplayEntry(displayLine).type != v.m_currentType) return false;
  if (displayLine == v.m_currentLine) return true;
  if (line->GetLabelName() != current.GetLabelName()) return false;
  const bool lineAlone = line->GetGroupId() == KLineObj::kNoGroup;
  const bool currentAlone = current.GetGroupId() == KLineObj::kNoGroup;
  if (lineAlone && currentAlone) return true;
  if (lineAlone || currentAlone) return false;
  const KLineGroup* own = v.m_document->FindLineGroup(current.GetGroupId());
  const KLineGroup* other = v.m_document->FindLineGroup(line->GetGroupId());
  if (own == nullptr || other == nullptr) return false;
  return own->FindSlot(v.GetDisplayEntry(v.m_currentLine).line) ==
         other->FindSlot(v.GetDisplayEntry(displayLine).line);
}

// Puts copies of the columns at the caret, keeping their spacing and their
// beam joins (a cluster or a bar is copied whole), after moving the line's
// columns from the caret on out of the way.
// Copies of the source line's attachments anchored from column `from` to
// `to`, moved by delta columns.
std::vector<std::unique_ptr<KExtendedObj>> CopyAttachments(const KListLine& source, int from, int to,
                                                           int delta) {
  std::vector<std::unique_ptr<KExtendedObj>> out;
  CObList* attachments = const_cast<KListLine&>(source).GetAttachments();
  if (attachments == nullptr) return out;
  for (POSITION pos = attachments->GetHeadPosition(); pos != nullptr;) {
    const auto* object = dynamic_cast<const KExtendedObj*>(attachments->GetNext(pos));
    if (object == nullptr || object->GetPos() < from || object->GetPos() > to) continue;
    auto copy = std::make_unique<KExtendedObj>();
    copy->CopyFrom(*object);
    copy->SetPos(object->GetPos() + delta);
    out.push_back(std::move(copy));
  }
  return out;
}

int CopyColumns(CStavlinView& v, KListLine& line, const std::vector<const KChord*>& columns,
                const KListLine* attachmentSource) {
  std::vector<const KChord*> kept;
  for (const KChord* column : columns) {
    const bool timeSig = column->GetNoteCount() > 0 &&
                         column->GetNote(0).code % KChord::kFlaggedBase == KChord::kTimeSignature;
    if (!timeSig) kept.push_back(column);
  }
  if (kept.empty()) return 0;
  const int first = kept.front()->GetPos();
  const int span = kept.back()->GetPos() - first + 1;
  // Copies are made before the line moves: the sources may be on this line.
  std::vector<std::unique_ptr<KChord>> copies;
  for (const KChord* column : kept) {
    copies.push_back(std::make_unique<KChord>(*column, v.m_caretColumn + column->GetPos() - first, true));
  }
  std::vector<std::unique_ptr<KExtendedObj>> attachments;
  if (attachmentSource != nullptr) {
    attachments = CopyAttachments(*attachmentSource, columns.front()->GetPos(), columns.back()->GetPos(),
                                  v.m_caretColumn - first);
  }
  if (line.GetObjAt(kLineEnd, 1) != nullptr && line.GetObjAt(kLineEnd, 1)->GetPos() >= v.m_caretColumn) {
    line.ShiftColumns(v.m_caretColumn, span, -1);
  }
  CObList* objects = line.GetObjList();
  for (auto& copy : copies) {
    const POSITION before = line.FindNodeBefore(copy->GetPos());
    KChord* raw = copy.release();
    if (before == nullptr) {
      objects->AddHead(raw);
    } else {
      objects->InsertAfter(before, raw);
    }
  }
  for (auto& attachment : attachments) line.AddAttachment(attachment.release());
  line.UpdateTimeSigCache();
  return span;
}

}  // namespace

void CStavlinView::OnInsertPreviousObject(UINT id) {
  if (m_document == nullptr || m_lineCount <= 0) return;
  if (id < cmd::kInsertPreviousFirst || id > cmd::kInsertPreviousLast) return;
  const int family = m_currentFamily;
  if (family != KLineObj::kFamilyStaff && family != KLineObj::kFamilyTab && family != KLineObj::kFamilyChord)
    return;
  if (m_caretColumn == 0 && m_currentLine == 0) return;
  KLineObj* current = GetDisplayLineObj(m_currentLine);
  KListLine* currentList = current != nullptr ? current->AsListLine() : nullptr;
  if (currentList == nullptr) return;
  const int kind = static_cast<int>(id - cmd::kInsertPreviousFirst) / 10;
  int n = static_cast<int>(id - cmd::kInsertPreviousFirst) % 10 + 1;

  if (family == KLineObj::kFamilyChord) {
    auto* diagrams = dynamic_cast<KChordPicLine*>(current);
    if (kind != kKindNote || diagrams == nullptr) {
      MessageBeep(0);
      return;
    }
    for (int line = m_currentLine; line >= 0; --line) {
      const KLineObj* source = GetDisplayLineObj(line);
      if (source == nullptr || GetDisplayEntry(line).type != m_currentType) continue;
      const int start = line == m_currentLine ? m_caretColumn - 1 : kLineEnd;
      const auto back = BackwardFrom<KChordPic>(*source->AsListLine(), start);
      if (static_cast<int>(back.size()) < n) {
        n -= static_cast<int>(back.size());
        continue;
      }
      const KChordPic& found = *back[static_cast<size_t>(n - 1)];
      const CString name = found.GetName();
      const CString shape = found.GetShape();
      RecordEditUndo(*this, *current);
      diagrams->InsertDiagramAt(m_caretColumn, name, shape, 0, 1);
      m_caretColumn += std::max(name.GetLength(), 1);
      m_document->SetModifiedFlag(TRUE);
      UpdateAfterEdit(kHintLineFrom + 10000 * m_currentLine, 1);
      return;
    }
    MessageBeep(kNotFoundBeep);
    return;
  }

  // The undo step is taken once something is found: a search that finds
  // nothing leaves no step that would undo nothing.
  for (int line = m_currentLine; line >= 0; --line) {
    if (!Qualifies(*this, line, *current)) continue;
    const int start = line == m_currentLine ? m_caretColumn - 1 : kLineEnd;
    const Found found = FindOnLine(*GetDisplayLineObj(line)->AsListLine(), kind, n, start);
    if (found.columns.empty()) continue;
    RecordEditUndo(*this, *current);
    if (kind == kKindNote) {
      const KChord copy(*found.columns.front(), m_caretColumn, false);
      const KLinePair step = current->InsertCopy(&copy, m_sizeIndex, m_caretColumn, nullptr, m_entryMode);
      m_caretColumn += std::max(step.first, 0);
    } else {
      m_caretColumn +=
          CopyColumns(*this, *currentList, found.columns, kind == kKindBar ? found.line : nullptr);
    }
    m_document->SetModifiedFlag(TRUE);
    UpdateAfterEdit(kHintLineFrom + 10000 * m_currentLine, 1);
    AutoWrapCheck(*this, m_currentLine, -1);
    return;
  }
  MessageBeep(kNotFoundBeep);
}
