// KChordPicLine: translation into a treble staff, a tablature line or a text
// line. The staff and tablature lines get one note column per diagram, filled
// with the notes of its shape and spelled from its root name.

#include <algorithm>

#include "common/ChordShape.h"
#include "common/Globals.h"
#include "lines/KChordPicLine.h"
#include "lines/KStaffLine.h"
#include "lines/KStrLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "model/KChordPic.h"

namespace {

constexpr int kTrebleStaff = 0;
constexpr int kTrebleTab = 2;
constexpr int kBassTab = 15;
constexpr int kTextLine = 5;
// The columns of the chord names that a text line receives.
constexpr int kTextLastColumn = 10000;
constexpr int kStaffRhythm = 0;
constexpr int kTabRhythm = 150;

int SizeOf(int sizeIndex) { return sizeIndex == 1 ? 1 : 0; }

// The note name of the chord's root: its first character, then "#" or "b"
// when the second is one, else a blank.
CString RootName(const CString& name) {
  const std::string_view text = name.View();
  CString root;
  root += text.empty() ? ' ' : text[0];
  root += text.size() > 1 && (text[1] == '#' || text[1] == 'b') ? text[1] : ' ';
  return root;
}

}  // namespace

std::unique_ptr<KLineObj> KChordPicLine::TranslateTo(int, int kind, int, int sizeIndex, int fontNumber,
                                                     CString text, int) {
  switch (kind) {
    case kTrebleStaff:
      return ConvertToStaff(sizeIndex);
    case kTrebleTab:
    case kBassTab:
      return ConvertToTab(sizeIndex, text);
    case kTextLine:
      return std::make_unique<KStrLine>(WriteText(0, kTextLastColumn, 0).value_or(CString()), fontNumber);
    default:
      return nullptr;
  }
}

std::unique_ptr<KStaffLine> KChordPicLine::ConvertToStaff(int sizeIndex) const {
  const int size = SizeOf(sizeIndex);
  // The staff carries the key in which the notes are spelled.
  auto staff = std::make_unique<KStaffLine>(kTrebleStaff, m_key, 0);
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    const int column = static_cast<int>(static_cast<long long>(diagram->GetPos()) * kChordColumnWidth[size] /
                                        g_NoteColumnWidth[size]);
    auto* chord = new KChord(column, kStaffRhythm);
    ShapeToChord<KChord>(diagram->GetShape(), RootName(diagram->GetName()), nullptr, chord, kStandardTuning,
                         m_key);
    staff->GetObjList()->AddTail(chord);
  }
  staff->UpdateTimeSigCache();
  staff->MarkChanged();
  return staff;
}

std::unique_ptr<KTabLine> KChordPicLine::ConvertToTab(int sizeIndex, const CString& tuning) const {
  const int size = SizeOf(sizeIndex);
  const CString& strings = tuning.IsEmpty() ? g_CurrentTuning : tuning;
  auto tab = std::make_unique<KTabLine>(m_key, strings, 0);
  const long long lead = static_cast<long long>(tab->GetLeadInWidth(size)) + tab->GetIndent();
  int previous = 0;
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const KChordPic* diagram = AsChordPic(m_objects.GetNext(node));
    if (diagram == nullptr) continue;
    const long long x =
        std::max(0LL, static_cast<long long>(diagram->GetPos()) * kChordColumnWidth[size] - lead);
    // No two diagrams share a column, and none stands at column 0.
    const int column = std::max(static_cast<int>(x / g_NoteColumnWidth[size]), previous + 1);
    previous = column;
    auto* chord = new KChord(column, kTabRhythm);
    ShapeToChord<KChord>(diagram->GetShape(), RootName(diagram->GetName()), chord, nullptr, strings, m_key);
    tab->GetObjList()->AddTail(chord);
  }
  tab->UpdateTimeSigCache();
  tab->MarkChanged();
  return tab;
}
