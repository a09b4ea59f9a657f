// Column shifts of an object-list line, and of the note lines of its line
// group that stay aligned with it.
//
// A shift moves the objects from a column on. Rhythm and chord lines move
// them all by the same amount. Staff and tablature lines keep their next bar
// column where it is as far as the empty columns before it allow: the objects
// before the bar take the whole delta, the bar and everything after it only
// what the empty columns cannot absorb; a negative delta closes up before the
// bar and leaves the bar where it is, or moves the bar too when nothing stands
// between the column and the bar.
//
// Note lines of a line group that share a bracket number translate into each
// other and are aligned column by column. While the three alignment options
// of the layout are off, a shift of one of them is a shift of all of them:
// one column mapping (the same bar column, the same amount before and after
// it) is worked out over all the lines and applied to each, so that columns
// that stood together still stand together. Either every line takes it or,
// when one of them cannot (an object would land on or before its neighbour,
// below column 0 or beyond the largest column), none changes.
//
// The group's lines are reached through the line's group pointer, which the
// group's binding and the document give every grouped line, and the group's
// slots; the document itself is not needed.

#include <algorithm>
#include <climits>
#include <iterator>
#include <vector>

#include "common/ViewServices.h"
#include "model/KChord.h"
#include "model/KLineGroup.h"
#include "model/KListLine.h"

namespace {

bool IsBar(const CObject* object) {
  const KChord* column = AsChord(object);
  return column != nullptr && column->IsBarColumn();
}

bool IsNoteLine(const KLineObj& line) { return KLineObj::IsNoteFamily(line.GetFamily()); }

// The layout keeps bracketed note lines aligned while every alignment option
// is off.
bool AlignmentIsOn() {
  return std::all_of(std::begin(g_alignOptions), std::end(g_alignOptions),
                     [](int option) { return option == 0; });
}

// One line's part in a shift: its objects from the column on, and the largest
// column of the objects before them (-1 when there are none). The whole list
// is walked: a loaded list may hold objects out of order.
struct LinePart {
  KListLine* line = nullptr;
  std::vector<KPosObj*> movers;
  long long before = -1;
};

LinePart Collect(KListLine& line, int first) {
  LinePart part;
  part.line = &line;
  const CObList& objects = *line.GetObjList();
  for (POSITION node = objects.GetHeadPosition(); node != nullptr;) {
    auto* object = static_cast<KPosObj*>(objects.GetNext(node));
    if (object->GetPos() >= first) {
      part.movers.push_back(object);
    } else {
      part.before = std::max<long long>(part.before, object->GetPos());
    }
  }
  return part;
}

// The other note lines of the line's group that carry the line's nonzero
// bracket number. None when the line is no note line, has no group or a
// group pointer that is not its group, or is not among the group's lines.
std::vector<KListLine*> AlignedLines(const KListLine& line) {
  std::vector<KListLine*> aligned;
  const KLineGroup* group = line.GetGroup();
  if (!IsNoteLine(line) || line.GetGroupId() == KLineObj::kNoGroup || group == nullptr ||
      group->GetId() != line.GetGroupId() || group->GetSlotCount() < 2) {
    return aligned;
  }
  int bracket = 0;
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    if (group->GetSlotLine(slot) == &line) bracket = group->GetSlotBracket(slot, 1);
  }
  if (bracket == 0) return aligned;
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    KLineObj* other = group->GetSlotLine(slot);
    if (other == nullptr || other == &line || group->GetSlotBracket(slot, 1) != bracket) continue;
    KListLine* list = other->AsListLine();
    if (list == nullptr || !IsNoteLine(*list) || list->GetGroupId() != line.GetGroupId()) continue;
    if (std::find(aligned.begin(), aligned.end(), list) == aligned.end()) aligned.push_back(list);
  }
  return aligned;
}

// The column mapping of a shift over the lines: objects at column `first` or
// after and before `bar` move by delta, those at `bar` or after by `rest`.
struct Mapping {
  long long bar = LLONG_MAX;
  long long rest = 0;
};

Mapping MappingOf(const std::vector<LinePart>& parts, int first, int delta, bool keepBars) {
  Mapping mapping;
  mapping.rest = delta;
  if (!keepBars) return mapping;
  for (const LinePart& part : parts) {
    for (const KPosObj* object : part.movers) {
      if (IsBar(object)) mapping.bar = std::min<long long>(mapping.bar, object->GetPos());
    }
  }
  if (mapping.bar == LLONG_MAX) return mapping;

  long long lastBeforeBar = first - 1LL;
  bool anyBeforeBar = false;
  for (const LinePart& part : parts) {
    for (const KPosObj* object : part.movers) {
      if (object->GetPos() < mapping.bar) {
        lastBeforeBar = std::max<long long>(lastBeforeBar, object->GetPos());
        anyBeforeBar = true;
      }
    }
  }
  if (delta > 0) {
    const long long emptyColumns = mapping.bar - 1 - lastBeforeBar;
    mapping.rest = std::max(0LL, delta - emptyColumns);
  } else if (anyBeforeBar) {
    mapping.rest = 0;
  }
  return mapping;
}

long long Moved(const KPosObj& object, int delta, const Mapping& mapping) {
  return object.GetPos() + (object.GetPos() < mapping.bar ? static_cast<long long>(delta) : mapping.rest);
}

// True when the line can take the mapping: its moved objects stay at column
// 0 or above, after the objects that stay, and within the column range.
bool Fits(const LinePart& part, int delta, const Mapping& mapping) {
  for (const KPosObj* object : part.movers) {
    const long long moved = Moved(*object, delta, mapping);
    if (moved < 0 || moved <= part.before || moved > INT_MAX) return false;
  }
  return true;
}

}  // namespace

int KListLine::ShiftColumns(int first, int delta, int mode) {
  if (m_objects.IsEmpty() || delta == 0) return -1;

  // Insertion and paste (the negative modes) look after each line themselves.
  std::vector<LinePart> parts{Collect(*this, first)};
  if (mode >= 0 && AlignmentIsOn()) {
    for (KListLine* line : AlignedLines(*this)) parts.push_back(Collect(*line, first));
  }
  const bool anyMovers =
      std::any_of(parts.begin(), parts.end(), [](const LinePart& part) { return !part.movers.empty(); });
  if (!anyMovers) return FindRedrawStart(std::max(0, first));

  const int family = GetFamily();
  const Mapping mapping = MappingOf(parts, first, delta, family == kFamilyStaff || family == kFamilyTab);
  for (const LinePart& part : parts) {
    if (!Fits(part, delta, mapping)) return -1;
  }

  for (const LinePart& part : parts) {
    bool moved = false;
    for (KPosObj* object : part.movers) {
      const int pos = static_cast<int>(Moved(*object, delta, mapping));
      moved = moved || pos != object->GetPos();
      object->SetPos(pos);
    }
    // The attachments of the moved columns (ties, slurs, texts anchored there)
    // move with them by the same mapping.
    if (CObList* attachments = part.line->GetAttachments()) {
      for (POSITION node = attachments->GetHeadPosition(); node != nullptr;) {
        auto* attachment = static_cast<KPosObj*>(attachments->GetNext(node));
        if (attachment->GetPos() < first) continue;
        const long long pos = Moved(*attachment, delta, mapping);
        if (pos < 0 || pos > INT_MAX) continue;
        moved = moved || pos != attachment->GetPos();
        attachment->SetPos(static_cast<int>(pos));
      }
    }
    if (!moved) continue;
    part.line->MarkChanged();
    part.line->UpdateTimeSigCache();
  }
  if (parts.front().movers.empty()) return FindRedrawStart(std::max(0, first));
  return FindRedrawStart(static_cast<int>(std::max(0LL, std::min<long long>(first, 1LL * first + delta))));
}
