// Line labels: the label of a line, with the MIDI instrument that a labelled
// note line takes from the score's instrument table.

#include <algorithm>

#include "model/LineServices.h"
#include "view/CStavlinView.h"

void CStavlinView::SetLineLabel(KLineObj* line, const CString& label) {
  if (line == nullptr) return;
  // The view's instrument entries and the settings texts that mirror them,
  // in the form the line's label setter fills.
  MidiInstrumentTable table;
  table.count = std::clamp(m_labelCount, 0, kInstrumentTableSize);
  for (int i = 0; i < table.count; ++i) {
    table.entries[i].name = m_labels[static_cast<size_t>(i)].name;
    table.entries[i].program = m_labels[static_cast<size_t>(i)].program;
    table.entries[i].volume = m_labels[static_cast<size_t>(i)].volume;
  }
  InstrumentLabels texts;
  for (int i = 0; i < kInstrumentTableSize; ++i) texts.instrumentLabels[i] = m_options.instrumentTable[i];
  texts.instrumentCount = m_options.instrumentCount;
  line->SetLabelAndInstrument(label, table, texts, m_document, -1, -1);
  if (table.count == m_labelCount) return;
  for (int i = m_labelCount; i < table.count; ++i) {
    m_labels[static_cast<size_t>(i)] = {table.entries[i].name, table.entries[i].program,
                                        table.entries[i].volume};
  }
  m_labelCount = table.count;
  for (int i = 0; i < kInstrumentTableSize; ++i) m_options.instrumentTable[i] = texts.instrumentLabels[i];
  m_options.instrumentCount = texts.instrumentCount;
}
