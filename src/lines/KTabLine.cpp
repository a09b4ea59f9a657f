#include "lines/KTabLine.h"

#include <algorithm>
#include <new>

#include "common/Globals.h"
#include "lines/KSpeedLine.h"
#include "lines/TabLineOptions.h"
#include "model/DocServices.h"
#include "model/KChord.h"
#include "platform/CArchive.h"

IMPLEMENT_SERIAL(KTabLine, KListLine, 90);

namespace {

constexpr int kRowOffset = 2;  // string row r is entry r - 2 of the pitch array
constexpr int kHighestPitch = 80;
constexpr int kFirstRest = 14;
constexpr int kLastRest = 20;

bool IsFretCode(int code) { return code >= KChord::kFirstFret && code <= KChord::kLastFret; }

// The sharp and flat names of the seventh and eighth string, two characters
// per pitch class, starting at A flat / G sharp.
constexpr const char* kSharpNames = "G#A A#B C C#D D#E F F#G ";
constexpr const char* kFlatNames = "AbA BbB C DbD EbE F GbG ";

CString NameOfPitch(const char* table, int pitch) {
  const int cell = ((pitch + 24) % 12 + 12) % 12;
  return CString(table + 2 * cell, 2);
}

}  // namespace

KTabLine::KTabLine() : KListLine(0, kKindTab, 0, kNoGroup, 0), m_tuning(g_DefaultTrebleTuning) {
  Construct();
}

KTabLine::KTabLine(int keySignature, const CString& tuning, DWORD flags)
    : KListLine(keySignature, kKindTab, 0, kNoGroup, flags), m_tuning(tuning) {
  SetType((m_flags & kFlagBass) != 0 ? kKindBassTab : kKindTab);
  if (g_tabAltTuningNames != 0 && m_tuning != g_DefaultTrebleTuning && m_tuning != g_DefaultBassTuning) {
    m_flags |= kFlagAltTuning;
  }
  Construct();
}

void KTabLine::Construct() {
  m_stringCount = GetTuningStringCount(m_tuning);
  try {
    SetLinkedLine(new KSpeedLine(m_type, m_key, &m_objects, 0, m_staffLength, m_indent, m_flags, m_tuning));
  } catch (const std::bad_alloc&) {
    // The line works without its drawing cache; it then draws no columns.
  }
  DeriveTuningFields();
  WidenSpaceForExtraStrings();
}

KTabLine::~KTabLine() = default;

KSpeedLine* KTabLine::GetDrawingCache() const { return dynamic_cast<KSpeedLine*>(GetLinkedLine()); }

void KTabLine::DeriveTuningFields() {
  m_stringCount = GetTuningStringCount(m_tuning);
  m_hasFretLabels = GetFretLabels(m_tuning, m_fretLabels);
  m_fretCount = ParseFretList(m_tuning, &m_fretMap);
}

void KTabLine::WidenSpaceForExtraStrings() {
  if (m_stringCount >= 7 && m_spaceBelow < g_tabWideSpaceLimit) {
    SetSpaceBelow(m_spaceBelow + 2 * TabStringSpacing(0), 0);
  }
}

// ---- Accessors -------------------------------------------------------------------

const CString& KTabLine::GetFretLabel(int fret) const {
  static const CString kNone;
  return fret >= 0 && fret < kFretMapSize ? m_fretLabels[fret] : kNone;
}

int KTabLine::RestRowOfStrings(int stringCount) {
  constexpr int kRowByStrings[9] = {4, 4, 3, 4, 4, 5, 4, 5, 5};
  return kRowByStrings[std::clamp(stringCount, 0, 8)];
}

int KTabLine::GetRestRow() const { return RestRowOfStrings(m_stringCount); }

int KTabLine::GetStringRowLimit(int which) const {
  const bool few = m_stringCount < 6;
  if (which == kFirstRow) return few ? 3 : 2;
  return few ? m_stringCount + 2 : m_stringCount + 1;
}

void KTabLine::GetStringPitches(TuningPitches& pitches) const {
  ParseTuningString(m_tuning, static_cast<int>(m_flags & kFlagBass), pitches);
}

int KTabLine::GetFretOnString(int column, int row) const {
  const KChord* chord = AsChord(GetObjAt(column, 0));
  if (chord == nullptr) return -1;
  bool rest = false;
  for (int i = 0; i < chord->GetNoteCount(); ++i) {
    const NotePair note = chord->GetNote(i);
    if (note.position != row) continue;
    if (IsFretCode(note.code)) return note.code - KChord::kFirstFret;
    if (note.code >= kFirstRest && note.code <= kLastRest) rest = true;
  }
  return rest ? -2 : -1;
}

int KTabLine::GetPitchAt(int row, int code) const {
  if (GetFamily() != kFamilyTab) return -1;
  if (row < GetStringRowLimit(kFirstRow) || row > GetStringRowLimit(kLastRow)) return -1;
  if (!IsFretCode(code)) return -1;
  const int fret = code - KChord::kFirstFret;
  if (fret > m_fretCount) return -1;
  TuningPitches pitches{};
  GetStringPitches(pitches);
  const int open = pitches[row - kRowOffset];
  if (open == kNoString) return -1;
  const int pitch = open + m_fretMap[fret];
  return pitch > kHighestPitch ? -1 : pitch;
}

bool KTabLine::HasFretList() const {
  for (int k = 0; k < kFretMapSize; ++k) {
    if (m_fretMap[k] != k) return true;
  }
  return false;
}

int KTabLine::FretForSemitone(int semitone) const { return FretForSemitone(semitone, HasFretList()); }

int KTabLine::FretForSemitone(int semitone, bool hasFretList) const {
  if (semitone < 0) return -1;
  if (!hasFretList) return semitone <= m_fretCount ? semitone : -1;
  const int fret = FindFretIndex(m_fretMap, semitone, false);
  return fret >= 0 && fret <= m_fretCount ? fret : -1;
}

CString KTabLine::GetStringNameText() const {
  CString names = m_tuning.Left(12);
  while (names.GetLength() < 12) names += ' ';
  if (m_stringCount >= 7) {
    TuningPitches pitches{};
    GetStringPitches(pitches);
    const char* table = m_key % 2 == 0 ? kSharpNames : kFlatNames;
    if (pitches[6] > kNoString) names = NameOfPitch(table, pitches[6]) + names;
    if (m_stringCount >= 8 && pitches[7] > kNoString) names = NameOfPitch(table, pitches[7]) + names;
  } else if (m_stringCount == 5 && (m_flags & kFlagBass) == 0) {
    const char digit = m_tuning.GetAt(12);
    if (digit >= '1' && digit <= '9' && m_tuning.GetLength() > 14) {
      const char tens = m_tuning.GetAt(13);
      const char units = m_tuning.GetAt(14);
      if (tens >= '0' && tens <= '9' && units >= '0' && units <= '9') {
        const int pitch = (tens - '0') * 10 + (units - '0') + (digit - '0');
        const CString& name = g_PitchNames[(pitch + 24) % 12];
        names.SetAt(0, name.GetAt(0));
        names.SetAt(1, name.GetAt(1));
      }
    }
  }
  return names;
}
