#include "midi/MidiEventTrack.h"

#include "midi/CMaxMidiSMF.h"

MidiEventTrack::MidiEventTrack() { Allocate(kChunk); }

MidiEventTrack::~MidiEventTrack() { Detach(); }

BOOL MidiEventTrack::Allocate(DWORD capacity) {
  if (!m_events.empty()) return FALSE;
  m_events.assign(capacity, MidiEvent{});
  return TRUE;
}

void MidiEventTrack::SetName(const char* name) {
  m_hasName = name != nullptr;
  m_name = name != nullptr ? name : "";
}

const char* MidiEventTrack::GetName() {
  if (m_hasName) return m_name.c_str();
  if (m_smf == nullptr || !m_smf->IsOpen() || m_smf->GetMode() != 'r') return nullptr;
  std::vector<BYTE> data;
  if (m_smf->ReadMetaEvent(this, 3, data) == -1) return nullptr;
  // The text stops at its first zero byte, as a zero-terminated name would.
  m_name.assign(data.begin(), data.end());
  m_name.resize(m_name.find('\0') == std::string::npos ? m_name.size() : m_name.find('\0'));
  m_hasName = true;
  return m_name.c_str();
}

void MidiEventTrack::AddEvent(const MidiEvent& event) {
  if (!m_recording) return;
  if (m_count >= m_events.size()) m_events.resize(m_events.size() + kChunk, MidiEvent{});
  m_events[m_count++] = event;
}

const MidiEvent* MidiEventTrack::GetNextEvent() {
  if (m_cursor >= m_count || !Offers()) return nullptr;
  return &m_events[m_cursor++];
}

DWORD MidiEventTrack::GetAbsoluteTime(DWORD index) const {
  if (index >= m_count) return 0;
  DWORD sum = 0;
  for (DWORD i = 0; i <= index; ++i) sum += m_events[i].time;
  return sum;
}

std::unique_ptr<MidiEvent[]> MidiEventTrack::CopyOut(DWORD first, DWORD& count) const {
  if (first >= m_count || !Offers() || count == 0) {
    count = 0;
    return nullptr;
  }
  const DWORD n = std::min(count, m_count - first);
  auto block = std::make_unique<MidiEvent[]>(n);
  DWORD time = GetAbsoluteTime(first);
  for (DWORD i = 0; i < n; ++i) {
    block[i] = m_events[first + i];
    if (i > 0) time += m_events[first + i].time;
    block[i].time = time;
  }
  count = n;
  return block;
}

void MidiEventTrack::Detach() {
  if (m_smf != nullptr) m_smf->RemoveTrack(this);
  if (m_output != nullptr) m_output->RemoveTrack(this);
  m_smf = nullptr;
  m_output = nullptr;
}
