#include "view/music/ViewWrapKeys.h"

#include <memory>

#include "model/KChord.h"
#include "model/KListLine.h"

namespace {

constexpr int kKeyCount = 16;

// The key a key-change column sets: a change to C names the key it cancels
// (16 + that key).
int KeyOfChange(const KChord& column) {
  if (column.GetNoteCount() < 2) return -1;
  const int code = column.GetRawNote(1).code;
  return code < kKeyCount ? code : 0;
}

bool IsKeyChange(const KChord* column) {
  return column != nullptr && column->GetNoteCount() > 0 && column->GetRawNote(0).code == KChord::kKeySignature;
}

// Bars and time signatures sound in no key: a key change never needs to
// stand before them.
bool SoundsInNoKey(const KChord* column) {
  return column == nullptr || column->IsBarColumn() || (column->GetNoteCount() > 0 && column->GetRawNote(0).code == KChord::kTimeSignature);
}

bool IsStaff(const KListLine& line) { return line.GetFamily() == KLineObj::kFamilyStaff; }

}  // namespace

void KWrapKeys::Note(KListLine& line) {
  if (!IsStaff(line)) return;
  int key = line.GetKey();
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const CObject* object = objects->GetNext(node);
    m_before[static_cast<const KPosObj*>(object)] = key;
    const KChord* column = AsChord(object);
    if (IsKeyChange(column) && KeyOfChange(*column) >= 0) key = KeyOfChange(*column);
  }
}

int KWrapKeys::WrittenStartKey(KListLine& line) const {
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const CObject* object = objects->GetNext(node);
    const KChord* column = AsChord(object);
    if (SoundsInNoKey(column)) continue;
    const auto found = m_before.find(static_cast<const KPosObj*>(object));
    if (found != m_before.end()) return found->second;
  }
  return line.GetKey();
}

int KWrapKeys::KeyAtEnd(KListLine& line) {
  int key = line.GetKey();
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(objects->GetNext(node));
    if (IsKeyChange(column) && KeyOfChange(*column) >= 0) key = KeyOfChange(*column);
  }
  return key;
}

int KWrapKeys::FirstMismatch(KListLine& line, int from, int& key, int& playing) const {
  if (!IsStaff(line)) return -1;
  int inForce = line.GetKey();
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const CObject* object = objects->GetNext(node);
    const KChord* column = AsChord(object);
    if (IsKeyChange(column)) {
      if (KeyOfChange(*column) >= 0) inForce = KeyOfChange(*column);
      continue;
    }
    if (SoundsInNoKey(column)) continue;
    const auto* placed = static_cast<const KPosObj*>(object);
    const auto found = m_before.find(placed);
    if (found == m_before.end() || found->second == inForce || placed->GetPos() < from) continue;
    key = found->second;
    playing = inForce;
    return placed->GetPos();
  }
  return -1;
}

bool KWrapKeys::HasKeyChange(KListLine& line) {
  const CObList* objects = line.GetObjList();
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    if (IsKeyChange(AsChord(objects->GetNext(node)))) return true;
  }
  return false;
}

KColumnBlock KWrapKeys::ChangeBlock(KListLine& line, int key, int previous) {
  // Built in a scratch line so that the block takes it as cut columns.
  std::unique_ptr<KListLine> scratch = line.CloneEmpty(0);
  if (scratch == nullptr) return {};
  auto* change = new KChord(0);
  change->AddNote(1, KChord::kKeySignature);
  change->AddNote(1, key != 0 ? key : previous + kKeyCount);
  scratch->GetObjList()->AddTail(change);
  m_before[change] = previous;
  return CutColumns(*scratch, 0, 1);
}
