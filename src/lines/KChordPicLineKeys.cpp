// KChordPicLine: the keys at the caret (delete, blanks, tab) and the insertion
// of a diagram from an insertion record. Chord names are not typed into the
// line: diagrams arrive through the chord commands and the paste engine.
//
// A diagram covers (its explicit or name width + 7) / 8 columns. Removing a
// diagram whose shape needs extra fret rows recounts the line's rows.

#include <algorithm>

#include "common/ChordDiagram.h"
#include "lines/KChordPicLine.h"
#include "lines/KStrLineServices.h"
#include "model/KChordPic.h"

namespace {

// Columns that the tab key and key 225 insert or clear.
constexpr int kTabColumns = 5;
constexpr int kWideBlankColumns = 4;
// The blank count with which delete in overwrite mode leaves the others in place.
constexpr int kKeepPlaceBlankCount = 1000;
// Shifts made by the line's own edits move this line only.
constexpr int kOwnShift = -1;
// What InsertDiagramAt puts in the record's field after the setting.
constexpr int kRecordMarker = 8;

// Columns a diagram covers.
int SpanOf(const KChordPic& diagram) { return std::max(1, (diagram.GetWidth(0) + 7) / 8); }

// Unlinks and deletes the diagram at the node; true when its shape needed
// extra rows (the caller then recounts).
bool RemoveDiagram(CObList& objects, POSITION node) {
  CObject* object = objects.GetAt(node);
  objects.RemoveAt(node);
  const KChordPic* diagram = AsChordPic(object);
  const bool extra = diagram != nullptr && GetShapeExtraRows(diagram->GetShape()) > 0;
  delete object;
  return extra;
}

// Removes every diagram at columns first..last; true when a removed shape
// needed extra rows and examine is set.
bool RemoveDiagramsIn(CObList& objects, long long first, long long last, bool examine) {
  bool recount = false;
  for (POSITION node = objects.GetHeadPosition(); node != nullptr;) {
    const POSITION current = node;
    const auto* object = static_cast<const KPosObj*>(objects.GetNext(node));
    if (object->GetPos() < first || object->GetPos() > last) continue;
    if (RemoveDiagram(objects, current) && examine) recount = true;
  }
  return recount;
}

}  // namespace

KLinePair KChordPicLine::HandleKey(int code, int, int noRecount, int column, int blankCount, int,
                                   int overwrite, int) {
  column = std::max(0, column);
  bool recount = false;
  KLinePair result{1, column};
  switch (code) {
    case kDeleteCode: {
      if (column > GetLength()) return {-1, std::max(column - 1, 0)};
      if (DeleteAttachmentAt(column, blankCount) != 0) {
        MarkChanged();
        return {-1, column};
      }
      POSITION node = FindNodeAt(column, 0);
      if (node == nullptr) {
        const POSITION before = FindNodeAt(column, 1);
        const KChordPic* diagram = before != nullptr ? AsChordPic(m_objects.GetAt(before)) : nullptr;
        if (diagram != nullptr && column < diagram->GetPos() + SpanOf(*diagram)) node = before;
      }
      if (node == nullptr) {
        ShiftColumns(column, -1, kOwnShift);
        return {-1, column};
      }
      const int newColumn = std::max(static_cast<const KPosObj*>(m_objects.GetAt(node))->GetPos() - 1, 0);
      recount = RemoveDiagram(m_objects, node);
      if (!(blankCount == kKeepPlaceBlankCount && overwrite != 0)) ShiftColumns(column, -1, kOwnShift);
      result = {-1, newColumn};
      break;
    }
    case kBlankKey:
      if (overwrite == 0) {
        ShiftColumns(column, 1, kOwnShift);
      } else if (const POSITION node = FindNodeAt(column, 0); node != nullptr) {
        recount = RemoveDiagram(m_objects, node);
      }
      result = {1, column};
      break;
    case kTabKey:
    case kWideBlankKey: {
      const int count = code == kTabKey ? kTabColumns : kWideBlankColumns;
      if (overwrite == 0) {
        ShiftColumns(column, count, kOwnShift);
      } else {
        recount =
            RemoveDiagramsIn(m_objects, column, static_cast<long long>(column) + count - 1, noRecount == 0);
      }
      result = {count, column};
      break;
    }
    default:
      return {1, column};
  }
  MarkChanged();
  if (recount) UpdateDiagramRows();
  return result;
}

KLinePair KChordPicLine::EnterSymbol(KLineObj*, int, int, int, int, int, int, int, int) { return {0, -1}; }

KLinePair KChordPicLine::InsertCopy(const CObject* source, int, int column, const int*, int overwrite) {
  const auto* record = dynamic_cast<const KInsertionRecord*>(source);
  if (record == nullptr) return {0, -1};
  column = std::max(0, column);
  if (record->text.IsEmpty()) return {1, column};

  auto* diagram = new KChordPic(column, record->text, record->shape, record->value0);
  diagram->SetValue(record->value2);
  // The object keeps the shape it settled on (a too short one becomes the default).
  const CString shape = diagram->GetShape();
  if (GetShapeExtraRows(shape) > GetExtraDiagramRows()) AdjustRowsForShape(shape);
  const int k = record->text.GetLength();

  bool shifted = false;
  if (!m_objects.IsEmpty()) {
    if (overwrite == 0) {
      ShiftColumns(column, k, kOwnShift);
      shifted = true;
    } else {
      RemoveDiagramsIn(m_objects, column, static_cast<long long>(column) + k - 1, false);
    }
  }
  const POSITION before = FindNodeAt(column, 1);
  if (before == nullptr) {
    m_objects.AddHead(diagram);
  } else if (shifted && static_cast<const KPosObj*>(m_objects.GetAt(before))->GetPos() == column) {
    m_objects.InsertBefore(before, diagram);
  } else {
    m_objects.InsertAfter(before, diagram);
  }
  MarkChanged();
  return {k, column};
}

void KChordPicLine::InsertDiagramAt(int column, const CString& name, const CString& shape, int setting,
                                    int displayValue) {
  KInsertionRecord record(name);
  record.shape = shape;
  record.value0 = setting;
  record.value1 = kRecordMarker;
  record.value2 = displayValue;
  InsertCopy(&record, 0, column, nullptr, 0);
}
