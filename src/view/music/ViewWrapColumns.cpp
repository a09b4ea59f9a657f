#include "view/music/ViewWrapColumns.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KPosObj.h"

namespace {

constexpr int kNoteColumn = 18;
constexpr int kChordColumn = 8;
// A chord line in a group starts 5 pixels left of the note lines' column 0.
constexpr int kChordOffset = 5;

bool IsChordLine(const KListLine& line) { return line.GetFamily() == KLineObj::kFamilyChord; }
// A rhythm line places its items in pixels of the normal size; a note column
// is 18 of them, and an item keeps its place inside its column as it moves.
bool IsPixelLine(const KListLine& line) { return line.GetFamily() == KLineObj::kFamilyRhythm; }

// Note column of a position of the line, and back.
int ToNote(const KListLine& line, int pos) {
  if (IsPixelLine(line)) return std::max(pos, 0) / kNoteColumn;
  if (!IsChordLine(line)) return pos;
  return std::max((kChordColumn * pos + kNoteColumn / 2 - 1) / kNoteColumn, 0);
}

int FromNote(const KListLine& line, int column) {
  if (!IsChordLine(line)) return column;
  return (kNoteColumn * column + kChordOffset) / kChordColumn;
}

// The position of an object of note column `column` when its column moves by
// `delta` note columns.
int Shifted(const KListLine& line, int pos, int column, int delta) {
  if (IsPixelLine(line)) return std::max(pos + delta * kNoteColumn, 0);
  return FromNote(line, column + delta);
}

// An object's place in a cut block: its note column from the block's first
// column (in pixels from the block's start on a rhythm line).
int InBlock(const KListLine& line, int pos, int column, int from) {
  if (IsPixelLine(line)) return std::max(pos - from * kNoteColumn, 0);
  return column - from;
}

// The position of a block's object put in at note column `at`.
int FromBlock(const KListLine& line, int inBlock, int at) {
  if (IsPixelLine(line)) return inBlock + at * kNoteColumn;
  return FromNote(line, inBlock + at);
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
  return KLineObj::IsNoteFamily(family) || family == KLineObj::kFamilyChord ||
         family == KLineObj::kFamilyRhythm;
}

int NoteColumnLength(KListLine& line) {
  const CObList* objects = line.GetObjList();
  if (objects->IsEmpty()) return 0;
  const auto* last = static_cast<const KPosObj*>(objects->GetTail());
  return ToNote(line, last->GetPos()) + 1;
}

int WrapUsedWidth(KListLine& line, int columns) {
  constexpr int kColumn = 18;
  return columns * kColumn + line.GetLeadInWidth(0) + line.GetIndent();
}

int WrapUsedWidth(KListLine& line) { return WrapUsedWidth(line, line.GetLength()); }

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
      object->SetPos(InBlock(line, object->GetPos(), column, from));
      block.m_objects.push_back(object);
    } else {
      object->SetPos(Shifted(line, object->GetPos(), column, -width));
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
        attachment->SetPos(InBlock(line, attachment->GetPos(), column, from));
        block.m_attachments.push_back(attachment);
      } else {
        attachment->SetPos(Shifted(line, attachment->GetPos(), column, -width));
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
    if (column >= at) object->SetPos(Shifted(line, object->GetPos(), column, width));
    all.push_back(object);
  }
  for (KPosObj* object : block.m_objects) {
    object->SetPos(FromBlock(line, object->GetPos(), at));
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
      if (column >= at) attachment->SetPos(Shifted(line, attachment->GetPos(), column, width));
    }
    for (KExtendedObj* attachment : block.m_attachments) {
      attachment->SetPos(FromBlock(line, attachment->GetPos(), at));
      line.AppendAttachment(attachment);
    }
  } else {
    for (KExtendedObj* attachment : block.m_attachments) delete attachment;
  }
  block.m_attachments.clear();
  Finish(line);
}

// ---- KColumnCarry -------------------------------------------------------------------

KColumnCarry::KColumnCarry(const KListLine& line) : m_unit(IsPixelLine(line) ? kNoteColumn : 1) {}

KColumnCarry::~KColumnCarry() {
  for (KPosObj* object : m_objects) delete object;
  for (const auto& [position, attachment] : m_attachments) delete attachment;
}

KColumnCarry::KColumnCarry(KColumnCarry&& other) noexcept
    : m_unit(other.m_unit),
      m_shift(other.m_shift),
      m_objects(std::exchange(other.m_objects, {})),
      m_attachments(std::exchange(other.m_attachments, {})) {}

int KColumnCarry::Length() const {
  if (m_objects.empty()) return 0;
  return std::max(m_objects.back()->GetPos() - m_shift, 0) / m_unit + 1;
}

void KColumnCarry::PutFront(KColumnBlock&& block, int width) {
  m_shift -= width * m_unit;
  for (auto it = block.m_objects.rbegin(); it != block.m_objects.rend(); ++it) {
    (*it)->SetPos((*it)->GetPos() + m_shift);
    m_objects.push_front(*it);
  }
  for (KExtendedObj* attachment : block.m_attachments) {
    attachment->SetPos(attachment->GetPos() + m_shift);
    m_attachments.emplace(attachment->GetPos(), attachment);
  }
  block.m_objects.clear();
  block.m_attachments.clear();
}

void KColumnCarry::PutAt(KColumnBlock&& block, int at) {
  const int offset = at * m_unit + m_shift;
  for (KPosObj* object : block.m_objects) {
    object->SetPos(object->GetPos() + offset);
    m_objects.push_back(object);
  }
  for (KExtendedObj* attachment : block.m_attachments) {
    attachment->SetPos(attachment->GetPos() + offset);
    m_attachments.emplace(attachment->GetPos(), attachment);
  }
  block.m_objects.clear();
  block.m_attachments.clear();
}

KColumnBlock KColumnCarry::TakeFront(int columns) {
  KColumnBlock block;
  const int end = columns * m_unit + m_shift;
  while (!m_objects.empty() && m_objects.front()->GetPos() < end) {
    KPosObj* object = m_objects.front();
    m_objects.pop_front();
    object->SetPos(object->GetPos() - m_shift);
    block.m_objects.push_back(object);
  }
  while (!m_attachments.empty() && m_attachments.begin()->first < end) {
    KExtendedObj* attachment = m_attachments.begin()->second;
    m_attachments.erase(m_attachments.begin());
    attachment->SetPos(attachment->GetPos() - m_shift);
    block.m_attachments.push_back(attachment);
  }
  m_shift = end;
  return block;
}
