#include "midi/CMaxMidiSMF.h"

#include <algorithm>
#include <cstring>

CMaxMidiSMF::~CMaxMidiSMF() { Close(); }

BOOL CMaxMidiSMF::Open(const char* fileName, char mode, DWORD format) {
  Close();
  m_mode = mode;
  m_format = format;
  m_handle = OpenSMF(fileName, &m_format, mode, &m_numTracks);
  m_open = m_handle != 0;
  return m_open ? TRUE : FALSE;
}

BOOL CMaxMidiSMF::Close() {
  BOOL written = TRUE;
  if (m_open) {
    written = CloseSMF(m_handle);
    m_handle = 0;
    while (!m_tracks.empty()) {
      MidiEventTrack* track = m_tracks.front();
      m_tracks.erase(m_tracks.begin());
      track->DetachSMF(this);
    }
    m_numTracks = 0;
  }
  m_open = false;
  return written;
}

void CMaxMidiSMF::Discard() {
  if (m_open) DiscardSMF(m_handle);
  m_handle = 0;
  m_open = false;
  while (!m_tracks.empty()) {
    MidiEventTrack* track = m_tracks.front();
    m_tracks.erase(m_tracks.begin());
    track->DetachSMF(this);
  }
  m_numTracks = 0;
}

void CMaxMidiSMF::AddTrack(MidiEventTrack* track) {
  if (track == nullptr || IndexOf(track) >= 0) return;
  if (track->GetSMF() != nullptr) track->GetSMF()->RemoveTrack(track);
  m_tracks.push_back(track);
  if (m_tracks.size() > 1) m_format = 1;
  track->SetSMF(this);
}

BOOL CMaxMidiSMF::RemoveTrack(MidiEventTrack* track) {
  const int index = IndexOf(track);
  if (index < 0) return FALSE;
  m_tracks.erase(m_tracks.begin() + index);
  if (m_tracks.empty()) m_tracks.shrink_to_fit();
  track->DetachSMF(this);
  return TRUE;
}

int CMaxMidiSMF::IndexOf(const MidiEventTrack* track) const {
  const auto it = std::find(m_tracks.begin(), m_tracks.end(), track);
  return it == m_tracks.end() ? -1 : static_cast<int>(it - m_tracks.begin());
}

BOOL CMaxMidiSMF::ReadTrack(MidiEventTrack* track) {
  const int index = IndexOf(track);
  if (!m_open || m_mode != 'r' || index < 0) return FALSE;
  DWORD read = 0;
  for (;;) {
    // Keep room for a whole chunk: grow by what was read so far, and never by
    // less than the room missing.
    const DWORD room = track->GetCapacity() - read;
    if (room < MidiEventTrack::kChunk) {
      const DWORD growth = std::max(read, MidiEventTrack::kChunk - room);
      track->m_events.resize(track->m_events.size() + growth, MidiEvent{});
    }
    const DWORD n =
        ReadSMF(m_handle, static_cast<DWORD>(index), track->m_events.data() + read, MidiEventTrack::kChunk);
    if (n == 0) break;
    read += n;
  }
  track->m_count = read;
  track->m_cursor = 0;
  track->GetName();
  return read > 0 ? TRUE : FALSE;
}

BOOL CMaxMidiSMF::WriteTrack(MidiEventTrack* track) {
  const int index = IndexOf(track);
  if (!m_open || m_mode != 'w' || index < 0) return FALSE;
  if (const char* name = track->GetName()) {
    if (!WriteMetaEvent(track, 3, reinterpret_cast<const BYTE*>(name), static_cast<DWORD>(std::strlen(name))))
      return FALSE;
  }
  // The events not yet read, from the cursor on, in runs between the metas;
  // a meta's time counts from the track's last item.
  std::vector<const MidiTrackMeta*> metas;
  for (const MidiTrackMeta& meta : track->m_metas) metas.push_back(&meta);
  std::stable_sort(metas.begin(), metas.end(),
                   [](const MidiTrackMeta* a, const MidiTrackMeta* b) { return a->tick < b->tick; });
  const DWORD track_ = static_cast<DWORD>(index);
  DWORD first = track->m_cursor;
  // The track exists in the file even when it holds nothing.
  if (WriteSMF(m_handle, track_, track->m_events.data(), 0) != 0) return FALSE;
  std::uint64_t lastItem = 0;   // tick of the track's last item written
  std::uint64_t eventTime = 0;  // tick of the event before `first`
  std::size_t m = 0;
  while (first < track->m_count || m < metas.size()) {
    // The events before the next meta's tick.
    DWORD end = first;
    std::uint64_t time = eventTime;
    while (end < track->m_count) {
      const std::uint64_t next = time + track->m_events[end].time;
      if (m < metas.size() && next >= metas[m]->tick) break;
      time = next;
      ++end;
    }
    if (end > first) {
      const DWORD count = end - first;
      if (WriteSMF(m_handle, track_, track->m_events.data() + first, count) != count) return FALSE;
      first = end;
      eventTime = time;
      lastItem = time;
    }
    if (m < metas.size()) {
      const MidiTrackMeta& meta = *metas[m++];
      const std::uint64_t at = std::max<std::uint64_t>(meta.tick, lastItem);
      if (::WriteMetaEvent(m_handle, track_, meta.type, meta.data.data(),
                           static_cast<DWORD>(meta.data.size()), static_cast<DWORD>(at - lastItem)) != 0)
        return FALSE;
      lastItem = at;
    }
  }
  return TRUE;
}

BOOL CMaxMidiSMF::ReadAll() {
  if (!m_open || m_mode != 'r' || m_tracks.empty()) return FALSE;
  RewindSMF(m_handle);
  for (MidiEventTrack* track : m_tracks) {
    track->m_count = 0;
    track->m_cursor = 0;
    ReadTrack(track);
  }
  MidiTrackOutput* output = m_tracks.front()->GetOutput();
  if (output != nullptr && output->HasSync()) output->SetSyncResolution(LOWORD(GetSMFResolution(m_handle)));
  return TRUE;
}

BOOL CMaxMidiSMF::WriteAll() {
  if (!m_open || m_mode != 'w' || m_tracks.empty()) return FALSE;
  for (MidiEventTrack* track : m_tracks) {
    if (!WriteTrack(track)) return FALSE;
  }
  return TRUE;
}

int CMaxMidiSMF::ReadMetaEvent(MidiEventTrack* track, BYTE type, std::vector<BYTE>& data) {
  const int index = IndexOf(track);
  if (!m_open || m_mode != 'r' || index < 0) return -1;
  const BYTE* bytes = nullptr;
  DWORD length = 0;
  const int result = ::ReadMetaEvent(m_handle, static_cast<DWORD>(index), type, &bytes, &length);
  if (result != -1) data.assign(bytes, bytes + length);
  return result;
}

BOOL CMaxMidiSMF::WriteMetaEvent(MidiEventTrack* track, BYTE type, const BYTE* data, DWORD length,
                                 DWORD time) {
  const int index = IndexOf(track);
  if (!m_open || m_mode != 'w' || index < 0) return FALSE;
  return ::WriteMetaEvent(m_handle, static_cast<DWORD>(index), type, data, length, time) == 0 ? TRUE : FALSE;
}
