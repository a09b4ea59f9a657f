// What the view asks about the columns of a line for its caret: the word (a
// beamed note group, a linked run of rhythm symbols, a chord diagram) holding a
// column, how far a word step moves the caret, from which column a change must
// be redrawn, and which column lies under a pixel.
//
// Beam groups are marked in the stem values of the note columns (KChord::
// GetStemEnd): 6 means no beam, an odd value above 6 opens a group and an even
// value above 6 closes it. A rhythm symbol's link code above 0 opens a run and
// -1 to -9 close it.

#include <algorithm>

#include "common/Globals.h"
#include "common/ViewServices.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/KRhythmObj.h"

namespace {

constexpr int kFirstWideRhythmCode = 222;
constexpr int kFirstDoubleRhythmCode = 223;
constexpr int kLastDoubleRhythmCode = 249;
constexpr int kRhythmBarCode = 124;
// A word-step target that is passed over.
constexpr int kSkippedTarget = 10000;
// Attachment offsets count in columns of this width on every family.
constexpr int kAttachmentColumn = 18;

int PosOf(const CObject* object) { return static_cast<const KPosObj*>(object)->GetPos(); }

bool IsOdd(int value) { return value % 2 != 0; }
bool Opens(int stem) { return stem > 6 && IsOdd(stem); }
bool Closes(int stem) { return stem > 6 && !IsOdd(stem); }

int StemOf(const CObject* object, int voice) {
  const KChord* column = AsChord(object);
  return column != nullptr ? column->GetStemEnd(voice) : 0;
}

bool IsBar(const CObject* object) {
  const KChord* column = AsChord(object);
  return column != nullptr && column->IsBarColumn();
}

int RhythmCode(const CObject* object) {
  const KRhythmObj* item = AsRhythmObj(object);
  return item != nullptr ? item->GetCode() : 0;
}

int LinkCode(const CObject* object) {
  const KRhythmObj* item = AsRhythmObj(object);
  return item != nullptr ? item->GetLinkCode() : 0;
}

// A stem value outside a beam group's inner part: 0, 4, 6, or odd and positive.
bool OutsideGroup(int stem) { return stem == 0 || stem == 4 || stem == 6 || (stem >= 1 && IsOdd(stem)); }

int SizeIndexOf(int sizeIndex) { return sizeIndex != 0 ? 1 : 0; }

}  // namespace

KLinePair KListLine::GetWordRange(int column) {
  constexpr KLinePair kNone{0, -1};
  if (m_objects.IsEmpty() || column > GetLength()) return kNone;
  const POSITION oNode = FindNodeAt(column, 1);
  if (oNode == nullptr) return kNone;
  const CObject* o = m_objects.GetAt(oNode);
  const int p = PosOf(o);
  const int family = GetFamily();

  if (IsNoteFamily(family)) {
    const int s1 = StemOf(o, 1);
    const int s0 = StemOf(o, 0);
    if (s1 >= 0 && s1 <= 6 && s0 >= 0 && s0 <= 6) return p == column ? KLinePair{p, p} : kNone;
    if (s1 >= 1 && s0 >= 1 && p != column) return kNone;
  } else if (family == kFamilyRhythm) {
    const int w = RhythmCode(o) < kFirstWideRhythmCode ? 1 : 2;
    if (LinkCode(o) == 0) return p + w >= column ? KLinePair{p, p + w - 1} : kNone;
  } else if (family == kFamilyChord) {
    const int end = p + ObjectSpan(*static_cast<const KPosObj*>(o));
    return end < column ? kNone : KLinePair{p, end - 1};
  } else {
    return kNone;
  }

  // The group around o: back to the object that opens it, then on to the
  // object that closes it in the same voice.
  const bool rhythm = family == kFamilyRhythm;
  POSITION opener = nullptr;
  int voice = -1;
  for (POSITION node = oNode; node != nullptr;) {
    const POSITION here = node;
    const CObject* object = m_objects.GetPrev(node);
    if (rhythm) {
      if (LinkCode(object) > 0) opener = here;
    } else if (Opens(StemOf(object, 1))) {
      opener = here;
      voice = 1;
    } else if (StemOf(object, 0) > 0 && IsOdd(StemOf(object, 0))) {
      opener = here;
      voice = 0;
    }
    if (opener != nullptr) break;
  }
  const int first = opener != nullptr ? PosOf(m_objects.GetAt(opener)) : 0;
  POSITION node = opener;
  if (node != nullptr) {
    m_objects.GetNext(node);
  } else {
    node = m_objects.GetHeadPosition();
  }
  while (node != nullptr) {
    const CObject* object = m_objects.GetNext(node);
    if (rhythm) {
      const int link = LinkCode(object);
      if (link >= -9 && link <= -1) {
        const int w = RhythmCode(object) < kFirstWideRhythmCode ? 1 : 2;
        return {first, PosOf(object) + w - 1};
      }
    } else if (voice >= 0 ? Closes(StemOf(object, voice))
                          : Closes(StemOf(object, 0)) || Closes(StemOf(object, 1))) {
      return {first, PosOf(object)};
    }
  }
  return {first, -1};
}

int KListLine::GetWordStep(int, int, int column, int direction) {
  if (m_objects.IsEmpty()) return -column;
  const int family = GetFamily();
  const bool chordOrRhythm = family == kFamilyChord || family == kFamilyRhythm;
  const bool forward = direction != 0;
  const POSITION oNode = FindNodeAt(column, 1);

  POSITION walk = nullptr;  // the first object the walk looks at
  int previousPos = 0;      // the column of the object looked at before (rhythm gaps)
  if (oNode == nullptr) {
    if (!forward) return -column;
    const CObject* head = m_objects.GetHead();
    if (chordOrRhythm || IsBar(head)) return PosOf(head) - column;
    walk = m_objects.GetHeadPosition();
    previousPos = PosOf(head);
  } else {
    const int oPos = PosOf(m_objects.GetAt(oNode));
    previousPos = oPos;
    POSITION start = oNode;
    if (!forward) {
      if (chordOrRhythm && oPos < column) return oPos - column;
      if (!chordOrRhythm) {
        if (oNode == m_objects.GetHeadPosition()) return oPos - column;
        POSITION before = oNode;
        m_objects.GetPrev(before);
        if (before != nullptr && IsBar(m_objects.GetAt(before))) start = before;
      }
      walk = start;
      m_objects.GetPrev(walk);
    } else {
      walk = oNode;
      m_objects.GetNext(walk);
    }
  }

  // The column of the object after node in the list, or after a last one its
  // own column + 1.
  const auto followingColumn = [this](POSITION node) {
    POSITION next = node;
    const int own = PosOf(m_objects.GetNext(next));
    return next != nullptr ? PosOf(m_objects.GetAt(next)) : own + 1;
  };

  while (walk != nullptr) {
    const POSITION here = walk;
    const CObject* object = forward ? m_objects.GetNext(walk) : m_objects.GetPrev(walk);
    const int pos = PosOf(object);
    int target = -1;
    if (family == kFamilyChord) {
      target = pos;
    } else if (family == kFamilyRhythm) {
      if (RhythmCode(object) == kRhythmBarCode || LinkCode(object) > 0) {
        target = followingColumn(here);
      } else if (forward ? pos > previousPos + 1 : pos < previousPos - 1) {
        target = pos;
      }
    } else if (IsBar(object)) {
      target = followingColumn(here);
    }
    previousPos = pos;
    if (target >= 0 && target != kSkippedTarget) return target - column;
  }
  if (!forward) return -column;
  return PosOf(m_objects.GetTail()) + 2 - column;
}

int KListLine::FindRedrawStart(int column) const {
  const int family = GetFamily();
  if (m_objects.IsEmpty() || family == kFamilyRhythm || column <= 0) return 0;
  for (int c = column;;) {
    const POSITION oNode = FindNodeAt(c, 1);
    if (oNode == nullptr) return c;
    int start = PosOf(m_objects.GetAt(oNode));
    if (IsNoteFamily(family)) {
      POSITION node = oNode;
      start = PosOf(m_objects.GetHead());
      while (node != nullptr) {
        const CObject* object = m_objects.GetPrev(node);
        if (OutsideGroup(StemOf(object, 0)) && OutsideGroup(StemOf(object, 1))) {
          start = PosOf(object);
          break;
        }
      }
    }
    if (start <= 0) return 0;
    if (m_attachments.IsEmpty()) return start;

    // An attachment that starts before the start and reaches the column must
    // be redrawn whole: the search goes on from its first column.
    int next = -1;
    for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
      auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
      const int pos = attachment->GetPos();
      const int first = std::min(pos, pos + attachment->GetOffset().x / kAttachmentColumn);
      if (first >= start) return start;
      const int span = (attachment->MeasureText(g_layoutDC) - 1) / kAttachmentColumn + 1;
      if (first + span >= c) {
        next = first;
        break;
      }
    }
    if (next < 0) return start;
    if (next <= 0) return 0;
    c = next;
  }
}

int KListLine::XToColumn(int mode, int x, int sizeIndex, int extra, int rounding) const {
  const int family = GetFamily();
  const int size = SizeIndexOf(sizeIndex);
  long long offset = x;
  if (mode == 1 || mode == 2) {
    offset -= GetIndent();
    if (IsNoteFamily(family)) offset -= GetLeadInWidth(size);
    if (mode == 2) offset -= extra;
  }
  if (offset < 1 || family == kFamilyText) return 0;
  int column = 0;
  if (IsNoteFamily(family)) {
    column = static_cast<int>(offset / g_NoteColumnWidth[size]);
  } else if (family == kFamilyChord) {
    column = static_cast<int>(offset / kChordColumnWidth[size]);
  } else if (family == kFamilyRhythm) {
    column = static_cast<int>(std::min<long long>(offset, INT32_MAX));
  } else {
    return 0;
  }
  if (IsNoteFamily(family) || m_objects.IsEmpty()) return column;

  const KPosObj* object = GetObjAt(column, 1);
  if (object == nullptr) object = static_cast<const KPosObj*>(m_objects.GetHead());
  const int objectColumn = object->GetPos();
  int width = 1;
  if (family == kFamilyRhythm) {
    const int code = RhythmCode(object);
    width = code >= kFirstDoubleRhythmCode && code <= kLastDoubleRhythmCode ? 2 : 1;
  } else {
    width = ObjectSpan(*object);
  }
  if (column >= static_cast<long long>(objectColumn) + width) return column;
  if (rounding == 2) return objectColumn;
  if (rounding == 3 && column - objectColumn < width / 2) return objectColumn;
  return objectColumn + width;
}

int KListLine::GetNextNoteX(int x, int sizeIndex) const {
  const int size = SizeIndexOf(sizeIndex);
  const int base = GetLeadInWidth(size) + m_indent;
  const int r = x > base ? x - base : 0;
  const bool tab = GetFamily() == kFamilyTab;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const CObject* object = m_objects.GetNext(node);
    const long long columnX = static_cast<long long>(PosOf(object)) * g_NoteColumnWidth[size];
    if (r != 0 && columnX <= r) continue;
    const KChord* chord = AsChord(object);
    if (chord == nullptr) continue;
    for (int i = 0; i < chord->GetNoteCount(); ++i) {
      const int code = chord->GetNote(i).code;
      if (code < 13 || (tab && code >= KChord::kFirstFret && code <= KChord::kLastFret)) {
        return static_cast<int>(base + columnX);
      }
    }
  }
  return kNoNoteX;
}
