#include "view/music/ViewWrapColumns.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KPosObj.h"

namespace {

constexpr int kNoteColumn = 18;
constexpr int kChordColumn = 8;
// A chord line in a group starts 5 pixels left of the note lines' column 0.
constexpr int kChordOffset = 5;

bool IsChordLine(const KListLine& line) { return line.GetFamily() == KLineObj::kFamilyChord; }

// Note column of a position of the line, and back.
int ToNote(const KListLine& line, int pos) {
  if (!IsChordLine(line)) return pos;
  return std::max((kChordColumn * pos + kNoteColumn / 2 - 1) / kNoteColumn, 0);
}

int FromNote(const KListLine& line, int column) {
  if (!IsChordLine(line)) return column;
  return (kNoteColumn * column + kChordOffset) / kChordColumn;
}

void Finish(KListLine& line) {
  line.UpdateTimeSigCache();
  line.MarkChanged();
  if (KListLine* cache = line.GetLinkedLine()) cache->MarkChanged();
}

}  // namespace

KColumnBlock::~KColumnBlock() {
  for (KPosObj* object : m_objects) delete object;
  for (KExtendedObj* attachment : m_attachments) delete attachment;
}

KColumnBlock::KColumnBlock(KColumnBlock&& other) noexcept
    : m_objects(std::exchange(other.m_objects, {})), m_attachments(std::exchange(other.m_attachments, {})) {}

KColumnBlock& KColumnBlock::operator=(KColumnBlock&& other) noexcept {
  if (this != &other) {
    KColumnBlock dropped(std::move(*this));
    m_objects = std::exchange(other.m_objects, {});
    m_attachments = std::exchange(other.m_attachments, {});
  }
  return *this;
}

bool WrapMovesLine(const KListLine& line) {
  const int family = line.GetFamily();
  return KLineObj::IsNoteFamily(family) || family == KLineObj::kFamilyChord;
}

int NoteColumnLength(KListLine& line) {
  const CObList* objects = line.GetObjList();
  if (objects->IsEmpty()) return 0;
  const auto* last = static_cast<const KPosObj*>(objects->GetTail());
  return ToNote(line, last->GetPos()) + 1;
}

int FirstUsedColumn(KListLine& line) {
  int first = INT32_MAX;
  const CObList* objects = line.GetObjList();
  if (!objects->IsEmpty()) first = ToNote(line, static_cast<const KPosObj*>(objects->GetHead())->GetPos());
  if (const CObList* attachments = line.GetAttachments()) {
    for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
      const auto* attachment = static_cast<const KExtendedObj*>(attachments->GetNext(node));
      first = std::min(first, ToNote(line, attachment->GetPos()));
    }
  }
  return first;
}

KColumnBlock CutColumns(KListLine& line, int from, int to) {
  KColumnBlock block;
  const int width = to - from;
  if (width <= 0) return block;
  CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    auto* object = static_cast<KPosObj*>(objects->GetNext(node));
    const int column = ToNote(line, object->GetPos());
    if (column < from) continue;
    if (column < to) {
      objects->RemoveAt(here);
      object->SetPos(column - from);
      block.m_objects.push_back(object);
    } else {
      object->SetPos(FromNote(line, column - width));
    }
  }
  if (CObList* attachments = line.GetAttachments()) {
    for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
      const POSITION here = node;
      auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
      const int column = ToNote(line, attachment->GetPos());
      if (column < from) continue;
      if (column < to) {
        attachments->RemoveAt(here);
        attachment->SetPos(column - from);
        block.m_attachments.push_back(attachment);
      } else {
        attachment->SetPos(FromNote(line, column - width));
      }
    }
  }
  Finish(line);
  return block;
}

void InsertColumns(KListLine& line, int at, int width, KColumnBlock&& block) {
  CObList* objects = line.GetObjList();
  // Everything from the column on moves right, then the block goes in front
  // of the first object that stands after it; the list stays in order.
  std::vector<KPosObj*> all;
  while (!objects->IsEmpty()) {
    auto* object = static_cast<KPosObj*>(objects->RemoveHead());
    const int column = ToNote(line, object->GetPos());
    if (column >= at) object->SetPos(FromNote(line, column + width));
    all.push_back(object);
  }
  for (KPosObj* object : block.m_objects) {
    object->SetPos(FromNote(line, object->GetPos() + at));
    all.push_back(object);
  }
  block.m_objects.clear();
  std::stable_sort(all.begin(), all.end(),
                   [](const KPosObj* a, const KPosObj* b) { return a->GetPos() < b->GetPos(); });
  for (KPosObj* object : all) objects->AddTail(object);

  if (CObList* attachments = line.GetAttachments()) {
    for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
      const int column = ToNote(line, attachment->GetPos());
      if (column >= at) attachment->SetPos(FromNote(line, column + width));
    }
    for (KExtendedObj* attachment : block.m_attachments) {
      attachment->SetPos(FromNote(line, attachment->GetPos() + at));
      line.AppendAttachment(attachment);
    }
  } else {
    for (KExtendedObj* attachment : block.m_attachments) delete attachment;
  }
  block.m_attachments.clear();
  Finish(line);
}
