// Attachments on bracketed lines: an attachment added to a staff or
// tablature line that is bracketed with partner lines is copied to them, its
// row converted between staff rows and string rows (extobj::PartnerRow, which
// keeps a copied hairpin or text clear of the strings). An octave text
// ("8va", "8vb", "octave up/down") is not copied onto a tablature partner:
// the tablature already shows the notes, so it stays on its own line.

#include <cctype>
#include <string>

#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "view/CStavlinView.h"
#include "view/extobj/ViewExtObjPartners.h"

namespace {

constexpr int kFirstTextKind = 7;
constexpr int kLastTextKind = 20;

bool IsNotationFamily(int family) {
  return family == KLineObj::kFamilyStaff || family == KLineObj::kFamilyTab;
}

// An octave text: "8VA", "8VB", or "OCTAVE" with a direction, in any case.
bool IsOctaveText(const KExtendedObj& attachment) {
  const int kind = attachment.GetKind();
  if (kind < kFirstTextKind || kind > kLastTextKind) return false;
  std::string text = attachment.GetText().Str();
  if (text.find_first_of("8vabocte") == std::string::npos) return false;
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (text.find("8VA") != std::string::npos || text.find("8VB") != std::string::npos) return true;
  if (text.find("OCTAVE") == std::string::npos) return false;
  return text.find("UP") != std::string::npos || text.find('+') != std::string::npos ||
         text.find("DOWN") != std::string::npos || text.find('-') != std::string::npos;
}

}  // namespace

void CStavlinView::ApplyOctaveMarks(int groupId, POSITION linePosition, KLineObj* line,
                                    KExtendedObj* attachment) {
  if (line == nullptr || attachment == nullptr) {
    delete attachment;
    return;
  }
  const int family = line->GetFamily();
  KLineGroup* group =
      groupId != KLineObj::kNoGroup && m_document != nullptr ? m_document->FindLineGroup(groupId) : nullptr;
  const int ownSlot = group != nullptr ? group->FindSlot(linePosition) : -1;
  const int bracket = ownSlot >= 0 ? group->GetSlotBracket(ownSlot, 0) : 0;
  if (!IsNotationFamily(family) || bracket == 0) {
    line->AddAttachment(attachment);
    return;
  }
  const bool octave = IsOctaveText(*attachment);
  for (int slot = 0; slot < group->GetSlotCount(); ++slot) {
    if (slot == ownSlot || group->GetSlotBracket(slot, 0) != bracket) continue;
    KLineObj* partner = m_document->GetLineAt(group->GetSlotLineRef(slot));
    if (partner == nullptr || partner == line) continue;
    const int partnerFamily = partner->GetFamily();
    if (!IsNotationFamily(partnerFamily) || partnerFamily == family) continue;
    const bool toTab = partnerFamily == KLineObj::kFamilyTab;
    if (toTab && octave) continue;
    auto* copy = new KExtendedObj(*attachment);
    copy->SetRow(extobj::PartnerRow(attachment->GetKind(), attachment->GetRow(), toTab, *partner));
    partner->AddAttachment(copy);
  }
  line->AddAttachment(attachment);
}
