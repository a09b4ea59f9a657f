// The line label and the MIDI instrument entry that a labelled note line gets
// in the score's instrument table.

#include "common/Globals.h"
#include "common/RecentChords.h"
#include "model/KLineObj.h"
#include "model/LineServices.h"
#include "platform/UiPort.h"

namespace {

constexpr UINT kInstrumentTableFullMessage = 7059;
constexpr int kPercussionProgram = 130;

// The instrument class of each kind code, an index into g_defaultPrograms.
constexpr int kInstrumentClass[KLineObj::kKindCount] = {0, 1, 2, 3, 0, 0, 0, 0, 0, 4, 5, 0, 0, 3, 0, 6, 3};

CString WithoutBlanks(CString text) {
  text.Remove(' ');
  return text;
}

}  // namespace

CString KLineObj::GetLabelName() const {
  const int separator = m_label.Find(g_LabelSeparator);
  return separator >= 0 ? m_label.Left(separator) : m_label;
}

void KLineObj::SetLabel(const CString& text) {
  if (text.Find(g_LabelSeparator) >= 0) {
    m_label = text;
    return;
  }
  const int separator = m_label.Find(g_LabelSeparator);
  m_label = separator >= 0 ? text + m_label.Mid(separator) : text;
}

void KLineObj::SetLabelAndInstrument(const CString& label, MidiInstrumentTable& table,
                                     InstrumentLabels& settings, KScoreSettingsSink* document, int program,
                                     int volume) {
  SetLabel(label);
  const CString name = GetLabelName();
  if (!IsNoteFamily(GetFamily()) || name.IsEmpty()) return;

  // The fixed entries of the unlabelled kinds are not compared. A count the
  // table cannot hold is taken as full rather than written past its end.
  const int count = table.count;
  const CString key = WithoutBlanks(name);
  for (int i = kInstrumentFixedEntries; i < count && i < kInstrumentTableSize; ++i) {
    if (WithoutBlanks(table.entries[i].name) == key) return;
  }
  if (count >= kInstrumentTableLimit || count < 0) {
    AfxMessageBox(kInstrumentTableFullMessage, MB_OK);
    return;
  }

  MidiInstrumentEntry& entry = table.entries[count];
  entry.name = name;
  entry.volume = volume >= 0 ? volume : g_defaultVolume;
  if (program >= 0) {
    entry.program = program;
  } else if (m_type == kKindDrums || m_type == kKindPercussion) {
    entry.program = kPercussionProgram;
  } else {
    entry.program = g_defaultPrograms[kInstrumentClass[m_type]];
  }
  settings.instrumentLabels[count] =
      FormatNumberLabel(entry.program) + FormatNumberLabel(entry.volume) + name;
  table.count = count + 1;
  settings.instrumentCount = static_cast<BYTE>(table.count);
  if (document != nullptr) document->TakeInstrumentLabels(settings, 1);
}
