// The attachment list of a line: how the line places, finds, moves, copies,
// deletes and packs its attached objects.
//
// An attachment is anchored to a column (pos; on text lines the anchor pixel x
// + 10000) and a row (staff: a step 1..36, 14 being the top staff line;
// tablature: a string row 0..9; other lines 0), with a pixel offset from that
// anchor at the normal symbol size. Column widths by family: staff and
// tablature 18, rhythm 9, chord 8, text 9 pixels. Row steps: staff 3 pixels,
// tablature the string spacing.

#include <algorithm>

#include "common/Globals.h"
#include "common/ViewServices.h"
#include "model/DocServices.h"
#include "model/KExtendedObj.h"
#include "model/KLineObj.h"
#include "model/KListLine.h"

namespace {

constexpr int kTextAnchor = 10000;
// Text lines find an attachment within this many pixels of the asked column.
constexpr int kTextSlack = 9;
// Attachment offsets count in columns of 18 pixels on every line family.
constexpr int kAttachmentColumn = 18;
constexpr int kStaffRowStep = 3;
constexpr int kTopStaffRow = 14;
constexpr int kFirstStaffRow = 1;
constexpr int kLastStaffRow = 36;
constexpr int kTopTabRow = 2;
constexpr int kLastTabRow = 9;
// The fallback column unit of a rhythm line that is not measured yet.
constexpr int kUnmeasuredRhythmUnit = 4;
constexpr int kRhythmColumnPixels = 9;

// How far an attachment of each kind reaches left and right of its text,
// for the rhythm line's column shifts. Kinds without a right extent of their
// own take -7, the common one.
constexpr int kLeftExtent[25] = {1,  30, 1, 8,  8,  0,  112, 2,  -6, -5, -6, 0, -7,
                                 -6, -7, 0, -7, -6, -7, 2,   -8, -5, -8, 0,  -7};
constexpr int kRightExtent[6] = {-7, -7, -1, -7, -8, -7};
constexpr int kDefaultRightExtent = -7;

int LeftExtent(int kind) { return kind >= 0 && kind < 25 ? kLeftExtent[kind] : 0; }
int RightExtent(int kind) { return kind >= 0 && kind < 6 ? kRightExtent[kind] : kDefaultRightExtent; }

// Division rounding toward minus infinity.
int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int SizeIndexOf(int sizeIndex) { return sizeIndex != 0 ? 1 : 0; }

KExtendedObj* AttachmentAt(const CObList& list, POSITION node) {
  return static_cast<KExtendedObj*>(list.GetAt(node));
}

}  // namespace

void KLineObj::AddAttachment(KExtendedObj* attachment) {
  if (attachment == nullptr) return;
  InsertByPos(m_attachments, attachment);
  MarkLineChanged();
}

void KLineObj::AppendAttachment(KExtendedObj* attachment) {
  if (attachment != nullptr) m_attachments.AddTail(attachment);
}

int KLineObj::RemoveAttachment(KExtendedObj* attachment) {
  const POSITION node = m_attachments.Find(attachment);
  if (node == nullptr) return 0;
  m_attachments.RemoveAt(node);
  return 1;
}

void KLineObj::Reorder(POSITION node) {
  KExtendedObj* attachment = AttachmentAt(m_attachments, node);
  m_attachments.RemoveAt(node);
  AddAttachment(attachment);
}

void KLineObj::EditAttachment(KExtendedObj* attachment, int operation) {
  const POSITION node = attachment != nullptr ? m_attachments.Find(attachment) : nullptr;
  if (node == nullptr) return;
  if (operation == kEditDelete) {
    m_attachments.RemoveAt(node);
    delete attachment;
    MarkLineChanged();
    return;
  }
  if (operation != kEditRenormalise) return;

  const int family = GetFamily();
  int x = attachment->GetOffset().x;
  int y = attachment->GetOffset().y;
  if (family == kFamilyStaff || family == kFamilyTab) {
    const bool tab = family == kFamilyTab;
    const int step = tab ? TabStringSpacing(0) : kStaffRowStep;
    const int rows = FloorDiv(y, step);
    int row = attachment->GetRow() + rows;
    y -= step * rows;
    const int low = tab ? 0 : kFirstStaffRow;
    const int high = tab ? kLastTabRow : kLastStaffRow;
    const int bound = row < low ? low : row > high ? high : row;
    y += (row - bound) * step;
    row = bound;
    attachment->SetRow(row);
  }
  const int oldPos = attachment->GetPos();
  int pos = oldPos;
  if (family == kFamilyText) {
    pos += x;
    x = 0;
  } else {
    const int width =
        family >= 0 && family <= kFamilyText ? g_AttachmentColumnWidths[family] : kAttachmentColumn;
    const int columns = FloorDiv(x, width);
    pos += columns;
    x -= width * columns;
    if (pos < 0) {
      x += pos * width;
      pos = 0;
    }
  }
  attachment->SetOffset(x, y);
  if (pos != oldPos) {
    attachment->SetPos(pos);
    Reorder(node);
  }
  MarkLineChanged();
}

void KLineObj::CopyAttachmentsFrom(const KLineObj& other) {
  const int family = other.GetFamily();
  if (family < 0 || family > kFamilyChord || other.m_attachments.IsEmpty()) return;
  for (POSITION node = other.m_attachments.GetHeadPosition(); node != nullptr;) {
    const auto* attachment = static_cast<const KExtendedObj*>(other.m_attachments.GetNext(node));
    m_attachments.AddTail(new KExtendedObj(*attachment));
  }
  MarkLineChanged();
}

int KLineObj::DeleteAttachmentAt(int column, int row) {
  const int family = GetFamily();
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const CPoint offset = attachment->GetOffset();
    bool match = false;
    if (family == kFamilyText) {
      const long long at = static_cast<long long>(attachment->GetPos()) + offset.x - kTextAnchor;
      if (at > column + static_cast<long long>(kTextSlack)) return 0;
      match = at >= column - static_cast<long long>(kTextSlack) && offset.y == row;
    } else {
      const long long at =
          (static_cast<long long>(attachment->GetPos()) * kAttachmentColumn + offset.x) / kAttachmentColumn;
      if (at > column) return 0;
      const int step = family == kFamilyTab ? 10 : kStaffRowStep;
      match = at == column && attachment->GetRow() + offset.y / step == row;
    }
    if (match) {
      m_attachments.RemoveAt(here);
      delete attachment;
      MarkLineChanged();
      return 1;
    }
  }
  return 0;
}

int KLineObj::DeleteAttachmentsInRange(int first, int end) {
  const bool text = GetFamily() == kFamilyText;
  int deleted = 0;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const long long column =
        text ? static_cast<long long>(attachment->GetPos()) + attachment->GetOffset().x - kTextAnchor
             : attachment->GetPos();
    if (column < first) continue;
    if (column >= end) break;
    m_attachments.RemoveAt(here);
    delete attachment;
    ++deleted;
  }
  if (deleted > 0) MarkLineChanged();
  return deleted;
}

void KLineObj::PlaceAttachmentAt(CDC* dc, KExtendedObj* attachment, int x, int y, int, int, int top,
                                 int rounding, int sizeIndex) {
  if (attachment == nullptr) return;
  const int size = SizeIndexOf(sizeIndex);
  const int family = GetFamily();
  KListLine* line = AsListLine();
  const int lead = line != nullptr ? line->GetLeadInWidth(size) + GetIndent() : GetIndent();
  const int spaceAbove = line != nullptr ? line->GetSpaceAbove(size) : 0;
  const int dy = y - top;

  int pos = 0;
  int row = 0;
  int offsetX = 0;
  int offsetY = dy;
  if (family == kFamilyText) {
    pos = x + kTextAnchor;
  } else if (family == kFamilyRhythm) {
    pos = line != nullptr ? line->GetColumnAtX(dc, 1, x, size, 0, rounding) : 0;
  } else if (family == kFamilyStaff || family == kFamilyTab) {
    const bool tab = family == kFamilyTab;
    const int width = g_NoteColumnWidth[size];
    const int step = tab ? TabStringSpacing(size) : g_StaffStep[size];
    const int topRow = tab ? kTopTabRow : kTopStaffRow;
    // A point left of the line's first column anchors at column 0 and keeps
    // the distance in its offset.
    pos = std::max(0, (x - lead) / width);
    row = (dy - spaceAbove) / step + topRow;
    row = tab ? std::clamp(row, 0, kLastTabRow) : std::clamp(row, kFirstStaffRow, kLastStaffRow);
    offsetX = x - width * pos - lead;
    offsetY = (topRow - row) * step + dy - spaceAbove - 1;
  } else {
    pos = std::max(0, (x - lead) / KListLine::kChordColumnWidth[size]);
    offsetY = top - y;
  }
  attachment->SetPos(pos);
  attachment->SetRow(row);
  attachment->SetOffset(offsetX, offsetY);
  AddAttachment(attachment);
}

int KLineObj::ShiftAttachments(int column, int delta) {
  if (GetFamily() != kFamilyRhythm || m_attachments.IsEmpty()) return 0;
  MarkLineChanged();
  const KListLine* line = AsListLine();
  const int measured = line != nullptr ? line->GetColumnWidth() : -1;
  const int unit = measured > 0 ? measured : kUnmeasuredRhythmUnit;
  for (POSITION node = m_attachments.GetTailPosition(); node != nullptr;) {
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetPrev(node));
    const int kind = attachment->GetKind();
    const int x = attachment->GetOffset().x;
    const long long start = (x + LeftExtent(kind) + 4) / kRhythmColumnPixels + attachment->GetPos();
    const long long end =
        (static_cast<long long>(x) + attachment->MeasureText(g_layoutDC) + RightExtent(kind)) / unit +
        attachment->GetPos();
    if (end < column) continue;
    if (start >= column) {
      attachment->MoveBy(delta);
      continue;
    }
    if (kind == KExtendedObj::kTextBox) continue;
    const CSize size = attachment->GetSize();
    const int a = size.cx;
    const int stretched = std::max(1, unit * delta + a);
    if (a != 0) {
      const CPoint anchor = attachment->GetAnchor();
      attachment->SetAnchor(static_cast<int>(static_cast<long long>(anchor.x) * stretched / a), anchor.y);
      if (kind == KExtendedObj::kTie || kind == KExtendedObj::kSlur) {
        for (int i = 0; i < 2; ++i) {
          const CPoint point = attachment->GetPoint(i);
          attachment->SetPoint(i, static_cast<int>(static_cast<long long>(point.x) * stretched / a), point.y);
        }
      }
    }
    attachment->SetSize(stretched, size.cy);
  }
  return 0;
}

KExtendedObj* KLineObj::FindAttachmentAt(int column, int row, int kind) const {
  for (POSITION node = m_attachments.GetTailPosition(); node != nullptr;) {
    KExtendedObj* attachment = static_cast<KExtendedObj*>(m_attachments.GetPrev(node));
    const int pos = attachment->GetPos();
    if (pos > column) continue;
    if (pos < column) return nullptr;
    if (attachment->GetRow() == row && (kind < 0 || attachment->GetKind() == kind)) return attachment;
  }
  return nullptr;
}

std::vector<std::int32_t> KLineObj::PackAttachments() const {
  std::vector<std::int32_t> words;
  if (m_attachments.IsEmpty()) return words;
  for (POSITION node = m_attachments.GetHeadPosition(); node != nullptr;) {
    auto* attachment = static_cast<KExtendedObj*>(m_attachments.GetNext(node));
    const std::vector<std::int32_t> record = attachment->Pack();
    words.push_back(static_cast<std::int32_t>(record.size()));
    words.insert(words.end(), record.begin(), record.end());
  }
  words.push_back(0);
  return words;
}
