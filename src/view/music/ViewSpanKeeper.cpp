#include "view/music/ViewSpanKeeper.h"

#include <algorithm>
#include <cstdint>

#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KPosObj.h"

namespace {

// Attachments measure in pixels of the normal size; a note column is 18 of them.
constexpr int kColumnPixels = 18;

// The line's last object when it is a bar column: the bar that closes it.
const KChord* ClosingBar(const KListLine& line) {
  const CObList* objects = line.GetObjList();
  const KPosObj* last = nullptr;
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;) {
    const auto* object = static_cast<const KPosObj*>(objects->GetNext(node));
    if (last == nullptr || object->GetPos() >= last->GetPos()) last = object;
  }
  const KChord* chord = last != nullptr ? AsChord(last) : nullptr;
  return chord != nullptr && chord->IsBarColumn() ? chord : nullptr;
}

}  // namespace

SpanKeeper::SpanKeeper(const std::vector<KListLine*>& lines) {
  for (KListLine* line : lines) Hold(*line);
}

void SpanKeeper::Hold(KListLine& line) {
  CObList* attachments = line.GetAttachments();
  const CObList* objects = line.GetObjList();
  if (attachments == nullptr || !KLineObj::IsNoteFamily(line.GetFamily()) || objects->IsEmpty()) return;
  std::vector<const KPosObj*> columns;
  for (POSITION node = objects->GetHeadPosition(); node != nullptr;)
    columns.push_back(static_cast<const KPosObj*>(objects->GetNext(node)));
  std::stable_sort(columns.begin(), columns.end(),
                   [](const KPosObj* a, const KPosObj* b) { return a->GetPos() < b->GetPos(); });
  for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(attachments->GetNext(node));
    const int kind = attachment->GetKind();
    if (kind == KExtendedObj::kTextBox || kind == KExtendedObj::kDoubleBar || attachment->GetSize().cx <= 0)
      continue;
    const long long right =
        1LL * attachment->GetPos() * kColumnPixels + attachment->GetOffset().x + attachment->GetSize().cx;
    const long long endColumn = right / kColumnPixels;
    if (endColumn <= attachment->GetPos()) continue;  // within its own column
    const auto stop = std::lower_bound(columns.begin(), columns.end(), endColumn,
                                       [](const KPosObj* c, long long column) { return c->GetPos() < column; });
    const KPosObj* end = stop != columns.end() ? *stop : columns.back();
    m_held.push_back({&line, attachment, end, attachment->GetPos(), end->GetPos(), stop == columns.end()});
  }
}

void SpanKeeper::Restore() const {
  for (const Held& held : m_held) {
    KExtendedObj& attachment = *held.attachment;
    const int cx = attachment.GetSize().cx;
    const long long left = 1LL * attachment.GetPos() * kColumnPixels + attachment.GetOffset().x;
    // Arcs of both kinds (above and below the notes) that run on into the
    // next system.
    const int kind = attachment.GetKind();
    const bool arc = kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur;
    const KChord* closing = held.pastEnd && arc ? ClosingBar(*held.line) : nullptr;
    long long wanted = 0;
    if (closing != nullptr && closing->GetPos() > attachment.GetPos()) {
      wanted = 1LL * closing->GetPos() * kColumnPixels - left;
    } else {
      const long long moved =
          (1LL * held.end->GetPos() - held.endFrom) - (1LL * attachment.GetPos() - held.startFrom);
      wanted = 1LL * cx + moved * kColumnPixels;
    }
    wanted = std::clamp(wanted, 1LL, 1LL * INT32_MAX);
    if (wanted == cx) continue;
    attachment.DragTo(RECT{0, 0, cx, 0}, RECT{0, 0, static_cast<int>(wanted), 0});
  }
}
