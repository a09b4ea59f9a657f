#include "model/KLineObj.h"

#include <cstdlib>

#include "model/KExtendedObj.h"
#include "model/KListLine.h"
#include "model/LineServices.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KLineObj, CObject, 90);

namespace {

// The family of each kind code 0..16.
constexpr int kFamilies[KLineObj::kKindCount] = {0, 0, 2, 3, 4, 5, 4, 7, 10, 0, 0, 0, 0, 0, 0, 2, 0};

constexpr int kFlagValueShift = 28;
constexpr DWORD kFlagValueMask = 0xF0000000u;

}  // namespace

int KLineObj::FamilyOf(int type) { return type >= 0 && type < kKindCount ? kFamilies[type] : kNoFamily; }

KLineObj::KLineObj() = default;

KLineObj::KLineObj(int type, int staffLength, int groupId, DWORD flags, int fileWord)
    : m_type(type),
      m_staffLength(staffLength),
      m_groupId(groupId),
      m_indent(g_defaultIndent),
      m_flags(flags),
      m_fileWord(fileWord) {}

KLineObj::~KLineObj() {
  while (!m_attachments.IsEmpty()) delete m_attachments.RemoveHead();
}

int KLineObj::SetType(int type) {
  m_type = type;
  return 1;
}

int KLineObj::GetFlagValue(DWORD mask) const {
  if ((m_flags & mask) == 0) return 0;
  return static_cast<std::int32_t>(m_flags) >> kFlagValueShift;
}

void KLineObj::SetFlagValue(DWORD mask, int value) {
  if (value != 0) {
    m_flags |= mask;
  } else {
    m_flags &= ~mask;
  }
  m_flags = (m_flags & ~kFlagValueMask) | ((static_cast<DWORD>(value) & 0xF) << kFlagValueShift);
}

int KLineObj::GetIndent() const {
  // The magnitude of the most negative value does not fit; it reads as the
  // largest one.
  return m_indent < -INT32_MAX ? INT32_MAX : std::abs(m_indent);
}

void KLineObj::MarkLineChanged() {
  if (KListLine* line = AsListLine()) line->MarkChanged();
}

// ---- Default slot bodies ------------------------------------------------------

KLinePair KLineObj::HandleKey(int, int, int, int, int, int, int, int) { return {0, 0}; }

KLinePair KLineObj::DeleteAtCaret(int, int, int, int) { return {0, 0}; }

KLinePair KLineObj::EnterSymbol(KLineObj*, int, int, int, int, int, int, int, int) { return {0, 0}; }

KLinePair KLineObj::InsertObj(CObject*, int, int, const int*, int) { return {0, 0}; }

KLinePair KLineObj::InsertCopy(const CObject*, int, int, const int*, int) { return {0, 0}; }

std::optional<CString> KLineObj::WriteText(int, int, int) { return std::nullopt; }

std::optional<CString> KLineObj::WriteAbc() { return std::nullopt; }

int KLineObj::GetLength() { return 0; }

bool KLineObj::HoldsNothing(int) { return GetLength() == 0 && GetAttachmentCount() == 0; }

void KLineObj::Draw(CDC*, int, int, int, int, int, int, int, int, int) {}

std::unique_ptr<KLineObj> KLineObj::SplitAt(int, int, int) { return nullptr; }

int KLineObj::ShiftColumns(int, int, int) { return 0; }

std::unique_ptr<KLineObj> KLineObj::TranslateTo(int, int, int, int, int, CString, int) { return nullptr; }

int KLineObj::GetWordStep(int, int, int, int) { return 0; }

KLinePair KLineObj::GetWordRange(int) { return {0, 0}; }

int KLineObj::GetWidth(int, int, CDC*, int) { return 0; }

void KLineObj::SetIndent(int pixels) { m_indent = pixels; }

CObList* KLineObj::GetAttachments() { return &m_attachments; }

void KLineObj::SetGroup(int groupId, KLineGroup* group) {
  m_groupId = groupId;
  m_group = group;
}

void KLineObj::SetStaffLength(int staffLength) { m_staffLength = staffLength; }

void KLineObj::SetFlagWord(DWORD flags) { m_flags = flags; }

DWORD KLineObj::ModifyFlags(DWORD mask, int set) {
  if (set != 0) {
    m_flags |= mask;
    return mask;
  }
  m_flags &= ~mask;
  return m_flags;
}
