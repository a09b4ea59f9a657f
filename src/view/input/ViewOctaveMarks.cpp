// Attachments on bracketed lines: an attachment added to a staff or
// tablature line that is bracketed with partner lines is copied to them, its
// row converted between staff rows and string rows (extobj::PartnerRow, which
// keeps a copied hairpin or text clear of the strings). An octave text
// ("8va", "8vb", "octave up/down") is not copied onto a tablature partner:
// the tablature shows the notes themselves, so where it still plays the
// staff's notes at their written pitch under the text, it is fingered again
// an octave up or down there.

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "lines/KStaffLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KExtendedObj.h"
#include "model/KLineGroup.h"
#include "model/KLineObj.h"
#include "model/KNoteEvent.h"
#include "view/CStavlinView.h"
#include "view/extobj/ViewExtObjPartners.h"

namespace {

constexpr int kFirstTextKind = 7;
// The column unit in which an attachment's offset counts its columns.
constexpr int kTabColumnUnit = 18;
// A key switch that leaves the key signature of the copy as it is.
constexpr int kNoKeyChange = 31000;
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

// The octave an octave text asks for: +12, -12, or 0 for none.
int OctaveShiftOf(const KExtendedObj& attachment) {
  if (!IsOctaveText(attachment)) return 0;
  std::string text = attachment.GetText().Str();
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (text.find("8VA") != std::string::npos) return 12;
  if (text.find("8VB") != std::string::npos) return -12;
  if (text.find("UP") != std::string::npos || text.find('+') != std::string::npos) return 12;
  return -12;
}

// The MIDI notes a column plays on its line.
std::vector<int> ColumnNotes(const KListLine& line, const KChord& column) {
  KColumnPlayContext context;
  context.lineType = line.GetType();
  if (const auto* tab = dynamic_cast<const KTabLine*>(&line)) {
    context.tuning = tab->GetTuning();
    context.fretMap = tab->GetFretMap();
  }
  context.earlierColumn = [](int) -> const KChord* { return nullptr; };
  std::vector<int> notes;
  int key = line.GetKeySignatureAt(column.GetPos());
  KNoteEvent event;
  for (int index = 0; index < column.GetNoteCount();) {
    const int before = index;
    if (column.MakeMidiEvent(index, event, context, 64, key) == 0) break;
    if (event.velocity > 0) notes.push_back(event.note);
    if (index <= before) break;
  }
  return notes;
}

// Whether the tablature under the octave text still plays the staff's notes
// at their written pitch: false when it plays them an octave off already, or
// when no column of the span says either way.
bool TabPlaysWrittenPitch(KListLine& staff, KListLine& tab, int first, int end, int shift) {
  for (int column = first; column <= end; ++column) {
    const auto* written = AsChord(staff.GetObjAt(column, 0));
    const auto* played = AsChord(tab.GetObjAt(column, 0));
    if (written == nullptr || played == nullptr) continue;
    if (written->GetTicks(3, 0) != played->GetTicks(3, 0)) continue;
    for (int t : ColumnNotes(tab, *played)) {
      for (int s : ColumnNotes(staff, *written)) {
        if (t == s + shift) return false;
        if (t == s) return true;
      }
    }
  }
  return false;
}

// How many fretted notes the columns first..end of a tablature line hold.
int NotesIn(const KListLine& tab, int first, int end) {
  int count = 0;
  const CObList& objects = *tab.GetObjList();
  for (POSITION node = objects.GetHeadPosition(); node != nullptr;) {
    const KChord* column = AsChord(objects.GetNext(node));
    if (column == nullptr || column->GetPos() < first || column->GetPos() > end) continue;
    for (int i = 0; i < column->GetNoteCount(); ++i) {
      const int code = column->GetNote(i).code;
      if (code >= KChord::kFirstFret && code <= KChord::kLastFret) ++count;
    }
  }
  return count;
}

}  // namespace

// The tablature partner of a staff that takes an octave text: fingered again
// an octave up or down over the columns under the text, in place of the old line.
void CStavlinView::ApplyOctaveToTab(POSITION tabPosition, KListLine& staff, const KExtendedObj& text,
                                    int shift) {
  auto* tab = dynamic_cast<KTabLine*>(m_document->GetLineAt(tabPosition));
  if (tab == nullptr) return;
  CDC* dc = m_host != nullptr ? m_host->GetMeasureDC() : nullptr;
  KExtendedObj measured(text);
  const int width = std::max(measured.MeasureText(dc), 0);
  const int anchor = text.GetPos() * kTabColumnUnit + text.GetOffset().x;
  const int first = std::max(anchor / kTabColumnUnit, 0);
  const int end = std::max((anchor + width) / kTabColumnUnit, first);
  if (!TabPlaysWrittenPitch(staff, *tab, first, end, shift)) return;

  const int key = KStaffLine::ListIndexOfKeyCode(tab->GetKey());
  const int hand = std::max(tab->GetFretPositionStat(first - 1, 0), 0);
  std::unique_ptr<KLineObj> made =
      tab->Transpose(first, end, kNoKeyChange, key, key, shift < 0 ? 1 : 0, 1, 0, hand);
  auto* moved = made != nullptr ? made->AsListLine() : nullptr;
  // A note no string can reach an octave off would be lost: the tablature
  // then stays as it is.
  if (moved == nullptr || NotesIn(*moved, first, end) != NotesIn(*tab, first, end)) return;
  moved->CopyLayoutFrom(*tab);
  moved->SetFlagWord(tab->GetFlagWord());
  const int shown = FindDisplayLine(tabPosition, std::max(m_currentLine - 10, 0));
  const POSITION replaced = m_document->ReplaceLine(tab, tabPosition, made.get(), tab->GetKeySignatureAt(0),
                                                    moved->GetAttachmentCount() == 0 ? TRUE : FALSE);
  if (replaced == nullptr) return;
  made.release();
  if (shown >= 0) m_display[static_cast<size_t>(shown)].line = replaced;
}

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
    if (toTab && octave) {
      // The octave text stays on the staff; the tablature takes its octave.
      if (KListLine* staff = line->AsListLine(); staff != nullptr && family == KLineObj::kFamilyStaff)
        ApplyOctaveToTab(group->GetSlotLineRef(slot), *staff, *attachment, OctaveShiftOf(*attachment));
      continue;
    }
    auto* copy = new KExtendedObj(*attachment);
    copy->SetRow(extobj::PartnerRow(attachment->GetKind(), attachment->GetRow(), toTab, *partner));
    partner->AddAttachment(copy);
  }
  line->AddAttachment(attachment);
}
