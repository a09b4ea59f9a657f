// The record of a tablature line: the object-list line part (which holds the
// line base part with the flag word), then the tuning string. Nothing else is
// stored; the fret map, fret count, string count and fret labels are derived
// from the tuning again after loading.
//
// Older files carry older tuning forms, repaired on load:
//   - a single character stands for the standard guitar tuning;
//   - a tuning of string names only (shorter than 14 characters) gets the
//     pitch numbers of those names ("E A D G B E " is the standard tuning);
//   - a fret list closed by a second "!@@!" loses the second marker and all
//     that follows it.
// Files before version 3600 kept the stem ends of beam groups in another form;
// the groups are laid out again.

#include <algorithm>

#include "common/AppServices.h"
#include "common/Globals.h"
#include "lines/KSpeedLine.h"
#include "lines/KTabLine.h"
#include "model/KChord.h"
#include "platform/CArchive.h"

namespace {

constexpr int kVersionNewStemEnds = 3600;
constexpr int kNamesLength = 12;
// Tunings shorter than this hold string names only.
constexpr int kShortTuning = 14;
constexpr const char* kFretListMarker = "!@@!";
constexpr int kMarkerLength = 4;
constexpr int kBeamOpenAbove = 6;

// The stem value of a voice opens a beam group in the older form.
bool OpensGroup(int stem) { return stem > kBeamOpenAbove && stem % 2 != 0; }
bool ClosesGroup(int stem) { return stem > kBeamOpenAbove && stem % 2 == 0; }

}  // namespace

CString KTabLine::RepairLoadedTuning(const CString& tuning, DWORD flags) {
  const int length = tuning.GetLength();
  // An empty tuning is no more readable than a single character.
  if (length <= 1) return g_DefaultTrebleTuning;
  if (length < kShortTuning) {
    if (tuning.Left(kNamesLength) == "E A D G B E ") return g_DefaultTrebleTuning;
    CString names = tuning.Left(kNamesLength);
    while (names.GetLength() < kNamesLength) names += ' ';
    const bool bass = (flags & kFlagBass) != 0;
    TuningPitches pitches{};
    ParseTuningString(names, bass ? kTuningFlagBass : 0, pitches);
    // Lowest string first. A string without a pitch is written "00" (a
    // negative value would break the two-digit field).
    CString digits;
    for (int entry = 5; entry >= 0; --entry) {
      CString cell;
      cell.Format("%02d", std::clamp(pitches[entry], 0, 99));
      digits += cell;
    }
    return names + (bass ? '*' : ' ') + digits;
  }
  const int marker = tuning.Find(kFretListMarker, 0);
  if (marker < 0) return tuning;
  const CString list = tuning.Mid(marker + kMarkerLength);
  const int second = list.Find(kFretListMarker, 0);
  if (second <= 0) return tuning;
  return tuning.Left(marker) + kFretListMarker + list.Left(second);
}

void KTabLine::Serialize(CArchive& ar) {
  if (m_stringCount < 5) {
    m_flags |= kFlagFewStrings;
  } else if (m_stringCount == 5) {
    m_flags |= kFlagFiveStrings;
  }
  KListLine::Serialize(ar);
  if (ar.IsStoring()) {
    ar << m_tuning;
    return;
  }

  CString loaded;
  ar >> loaded;
  m_tuning = RepairLoadedTuning(loaded, m_flags);
  // A damaged record may name another kind; a tablature line stays one.
  if (GetFamily() != kFamilyTab) SetType((m_flags & kFlagBass) != 0 ? kKindBassTab : kKindTab);
  DeriveTuningFields();
  if (g_fileVersion < kVersionNewStemEnds) ConvertOldStemEnds();
  MarkChanged();
  SetKeySignature(m_key, m_layoutKey, 0);
  if (KSpeedLine* cache = GetDrawingCache()) {
    cache->SetType(m_type);
    cache->SetStaffLength(m_staffLength);
    cache->SetFlagWord(m_flags);
    cache->SetTuning(m_tuning);
  }
}

void KTabLine::ConvertOldStemEnds() {
  for (int voice = 0; voice < 2; ++voice) {
    POSITION open = nullptr;
    for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
      const POSITION here = node;
      const KChord* column = AsChord(m_objects.GetNext(node));
      if (column == nullptr) continue;
      const int stem = column->GetStemEnd(voice);
      if (OpensGroup(stem)) {
        open = here;
      } else if (ClosesGroup(stem) && open != nullptr) {
        ApplyToNodeRange(open, here, voice, 0);
        open = nullptr;
      }
    }
  }
}
