#include "lines/KSpeedLine.h"

#include "common/TuningCodec.h"
#include "model/DocServices.h"
#include "model/KBigChord.h"
#include "model/KChord.h"

int g_fretBoxMargin = 2;

int KSpeedLine::BeatTicks(const KChord& column, int voice) {
  const int ticks = column.GetTicks(voice, false);
  switch (ticks) {
    case 360:
      return 240;
    case 180:
      return 120;
    case 90:
      return 60;
    case 45:
      return 30;
    default:
      return ticks;
  }
}

KSpeedLine::KSpeedLine(int type, int key, const CObList* ownerList, int sizeIndex, int staffLength,
                       int indent, DWORD flags, const CString& tuning)
    : KListLine(key, type, staffLength, kNoGroup, flags), m_sizeIndex(sizeIndex != 0 ? 1 : 0) {
  m_indent = indent;
  SetTuning(tuning);
  Rebuild(ownerList, 0);
}

KSpeedLine::~KSpeedLine() = default;

const CString& KSpeedLine::GetFretLabel(int fret) const {
  static const CString kNone;
  return fret >= 0 && fret < kFretLabelCount ? m_fretLabels[fret] : kNone;
}

const KBigChord* KSpeedLine::GetEntryAt(int column) const {
  for (POSITION node = m_objects.GetHeadPosition(); node != nullptr;) {
    const auto* entry = static_cast<const KBigChord*>(m_objects.GetNext(node));
    if (entry->GetPos() == column) return entry;
    if (entry->GetPos() > column) break;
  }
  return nullptr;
}

void KSpeedLine::SetSizeIndex(const CObList* ownerList, int sizeIndex) {
  m_sizeIndex = sizeIndex != 0 ? 1 : 0;
  DeleteObjsFrom(0);
  Rebuild(ownerList, 0, TabStringSpacing(m_sizeIndex));
}

void KSpeedLine::SetTuning(const CString& tuning) {
  m_tuning = tuning;
  m_stringCount = tuning.IsEmpty() ? 6 : GetTuningStringCount(tuning);
  FretLabels labels;
  GetFretLabels(tuning, labels);
  for (int i = 0; i < kFretLabelCount; ++i) m_fretLabels[i] = labels[i];
}

void KSpeedLine::DeleteObjsFrom(int column) {
  POSITION node = m_objects.GetTailPosition();
  while (node != nullptr) {
    const POSITION here = node;
    auto* entry = static_cast<KBigChord*>(m_objects.GetPrev(node));
    if (entry->GetPos() < column) break;
    m_objects.RemoveAt(here);
    delete entry;
  }
}

bool KSpeedLine::Refresh(KListLine& owner, int sizeIndex, const CString* tuning) {
  bool rebuild = owner.IsChanged() != 0;
  bool rebuilt = false;
  if ((sizeIndex != 0 ? 1 : 0) != m_sizeIndex) {
    SetSizeIndex(owner.GetObjList(), sizeIndex);
    rebuilt = true;
  }
  if (tuning != nullptr && tuning->Compare(m_tuning) != 0) {
    SetTuning(*tuning);
    rebuild = true;
  }
  if (rebuild && !rebuilt) {
    Rebuild(owner.GetObjList(), 0);
    rebuilt = true;
  }
  owner.ClearChanged();
  return rebuilt;
}

int KSpeedLine::Spacing(int spacing) const { return spacing >= 0 ? spacing : TabStringSpacing(m_sizeIndex); }

int KSpeedLine::RowY(int row, int spacing) const {
  if (IsTab()) return 100 + (row - 2) * (Spacing(spacing) + 1);
  return 100 + (row - 14) * g_StaffStep[m_sizeIndex];
}

void KSpeedLine::Rebuild(const CObList* ownerList, int fromColumn, int spacing) {
  DeleteObjsFrom(fromColumn);
  if (ownerList == nullptr) return;
  spacing = Spacing(spacing);
  VoiceState voices[2];
  for (POSITION node = ownerList->GetHeadPosition(); node != nullptr;) {
    const POSITION here = node;
    const KChord* column = AsChord(ownerList->GetNext(node));
    if (column == nullptr) continue;
    for (int voice = 0; voice < 2; ++voice) {
      if (column->GetStemEnd(voice, m_sizeIndex, spacing) != 0) {
        voices[voice].tickSum += BeatTicks(*column, voice);
      } else {
        voices[voice].tickSum = 0;
      }
    }
    KBigChord* entry = nullptr;
    if (column->GetPos() >= fromColumn) {
      entry = new KBigChord(column->GetPos());
      entry->columnStyle = static_cast<BYTE>(column->GetNoteStyle());
      for (int i = 0; i < 4; ++i)
        entry->extent[i] = i % 2 == 0 ? KBigChord::kNoExtentMin : KBigChord::kNoExtentMax;
      AddItems(*entry, *column, spacing);
      if (!IsTab()) AddLedgerLines(*entry, *column);
    }
    // Beam groups are followed over the columns before fromColumn too, so that
    // a rebuild from the middle of a group continues it.
    for (int voice = 0; voice < 2; ++voice) {
      AddVoice(entry, *column, voice, here, *ownerList, voices[voice], spacing);
    }
    if (entry != nullptr) {
      if (!IsTab()) AddOwnStems(*entry, *column);
      m_objects.AddTail(entry);
    }
  }
}
