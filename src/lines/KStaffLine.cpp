#include "lines/KStaffLine.h"

#include <algorithm>

#include "lines/KSpeedLine.h"
#include "model/KChord.h"
#include "model/LineServices.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KStaffLine, KListLine, 90);

int g_staffTextAsAbc = 0;

void ResetStaffLineServices() {
  g_staffTextAsAbc = 0;
  g_shiftBassIntoTabRange = 1;
}

namespace {

constexpr int kTreble = 0;

}  // namespace

KStaffLine::KStaffLine() : KStaffLine(kTreble, 0, 0) {}

KStaffLine::KStaffLine(int type, int key, DWORD flags) : KListLine(key, type, 0, kNoGroup, flags) {
  MakeSpeedLine();
}

KStaffLine::KStaffLine(const KListLine& source)
    : KListLine(source.GetKeySignatureAt(0), source.GetType(), source.GetStaffLength(), kNoGroup,
                source.GetFlagWord()) {
  if (m_key < 0 || m_key > kMaxKey) m_key = m_layoutKey = 0;
  m_label = source.GetLabelName();
  m_indent = source.GetIndent();
  m_spaceAbove = g_staffSpaceAbove;
  m_spaceBelow = g_staffSpaceBelow;
  const CObList* columns = source.GetObjList();
  for (POSITION node = columns->GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(columns->GetNext(node));
    if (column != nullptr) m_objects.AddTail(new KChord(*column, column->GetPos(), true));
  }
  UpdateTimeSigCache();
  CopyAttachmentsFrom(source);
  MakeSpeedLine();
  SetSpaceAbove(m_spaceAbove, 0);
  SetSpaceBelow(m_spaceBelow, 0);
}

KStaffLine::~KStaffLine() {
  // Whoever still points at this staff is unpaired from it first.
  while (!m_pointedBy.empty()) m_pointedBy.back()->SetPartner(nullptr);
  SetPartner(nullptr);
}

void KStaffLine::MakeSpeedLine() {
  SetLinkedLine(new KSpeedLine(m_type, m_key, &m_objects, 0, m_staffLength, m_indent, m_flags, CString()));
}

KSpeedLine* KStaffLine::GetSpeedLine() const { return dynamic_cast<KSpeedLine*>(GetLinkedLine()); }

int KStaffLine::RowOffset(int type) { return ClefStepOffset(type); }

bool KStaffLine::IsStaffKind(int type) { return FamilyOf(type) == kFamilyStaff; }

int KStaffLine::RestRow(int code) {
  constexpr int kWholeRest = 14;
  constexpr int kFourthLine = 16;
  constexpr int kMiddleLine = 18;
  if (code < kFirstRest || code > kLastRest) return -1;
  return code == kWholeRest ? kFourthLine : kMiddleLine;
}

// ---- Partner staff -----------------------------------------------------------------

void KStaffLine::Unpoint(KStaffLine* line) {
  const auto it = std::find(m_pointedBy.begin(), m_pointedBy.end(), line);
  if (it != m_pointedBy.end()) m_pointedBy.erase(it);
}

void KStaffLine::SetPartner(KStaffLine* line) {
  if (line != m_partner) {
    if (m_partner != nullptr) m_partner->Unpoint(this);
    m_partner = line;
    if (line != nullptr) line->m_pointedBy.push_back(this);
  }
  if (line != nullptr && line->TestFlags(kFlagPairedStaff) == 0) line->ModifyFlags(kFlagPairedStaff, 1);
}

void KStaffLine::SetPartnerStaff(KListLine* partner) { SetPartner(dynamic_cast<KStaffLine*>(partner)); }

KListLine* KStaffLine::UnhookPartner() {
  KStaffLine* former = m_partner;
  if (former == nullptr) return nullptr;
  SetPartner(nullptr);
  if (former->m_partner == this) former->SetPartner(nullptr);
  return former;
}

// ---- Slots ------------------------------------------------------------------------------

KLinePair KStaffLine::HandleKey(int code, int subCode, int sizeIndex, int column, int row, int beamFlag,
                                int replace, int removeMode) {
  return EditNoteAt(code, subCode, sizeIndex, column, row, beamFlag, replace, removeMode);
}

KLinePair KStaffLine::DeleteAtCaret(int column, int row, int sizeIndex, int extra) {
  return HandleKey(kDeleteCode, 0, sizeIndex, column, row, 0, extra, 0);
}

KLinePair KStaffLine::InsertObj(CObject* object, int sizeIndex, int column, const int* beamFlags,
                                int replace) {
  KChord* chord = AsChord(object);
  if (chord == nullptr) return {0, -1};
  return InsertObjAt(chord, sizeIndex, column, beamFlags, replace);
}

KLinePair KStaffLine::InsertCopy(const CObject* source, int sizeIndex, int column, const int* beamFlags,
                                 int replace) {
  const KChord* chord = AsChord(source);
  if (chord == nullptr) return {0, -1};
  return InsertObjAt(new KChord(*chord, column, false), sizeIndex, column, beamFlags, replace);
}

std::optional<CString> KStaffLine::WriteText(int, int, int) {
  if (g_staffTextAsAbc != 0) return WriteAbc();
  return CString();
}

const CRuntimeClass* KStaffLine::GetObjClass() const { return RUNTIME_CLASS(KChord); }
