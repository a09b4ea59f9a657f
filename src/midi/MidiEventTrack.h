#pragma once
// The one container of MIDI events: a growable array of 8-byte events with
// delta times, a name, a read cursor, and links to the Standard MIDI File
// wrapper and the MIDI output it is attached to. While the recording or the
// hide flag is set the track offers no events to readers; events are appended
// only while the recording flag is set.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MidiOutPort.h"

using MidiEvent = MidiShortEvent;

class CMaxMidiSMF;
class MidiEventTrack;

// A meta event of a track (tempo, time or key signature, marker...) at an
// absolute tick; written among the track's events at that time.
struct MidiTrackMeta {
  std::uint32_t tick = 0;
  BYTE type = 0;
  std::vector<BYTE> data;
};

// What a track needs of the MIDI output it is attached to: being taken out of
// its track table, and the sync whose resolution a file read sets. The output
// object implements it, and clears the output link of each of its tracks
// (SetOutput(nullptr)) when it goes first.
class MidiTrackOutput {
 public:
  virtual ~MidiTrackOutput() = default;
  virtual void RemoveTrack(MidiEventTrack* track) = 0;
  virtual bool HasSync() const = 0;
  virtual void SetSyncResolution(DWORD ticksPerQuarter) = 0;
};

class MidiEventTrack {
 public:
  // Events the array starts with and grows by.
  static constexpr DWORD kChunk = 8192;

  MidiEventTrack();
  ~MidiEventTrack();
  MidiEventTrack(const MidiEventTrack&) = delete;
  MidiEventTrack& operator=(const MidiEventTrack&) = delete;

  // Allocates capacity zero-filled events, only when there is no array.
  BOOL Allocate(DWORD capacity);
  void SetName(const char* name);
  // The name; without one, and while the file wrapper is open for reading, the
  // track's name meta event (type 3), kept from then on. Null when none.
  const char* GetName();
  // Appends a copy while recording (growing by kChunk when full); else ignored.
  void AddEvent(const MidiEvent& event);
  // The event at the cursor, advancing it; null at the end or while a flag is set.
  const MidiEvent* GetNextEvent();
  // Sum of the delta times of events 0 to index; 0 when index is past the end.
  DWORD GetAbsoluteTime(DWORD index) const;
  // A copy of up to count events from first with absolute times; count gets
  // the number copied. Null with count 0 past the end or while a flag is set.
  std::unique_ptr<MidiEvent[]> CopyOut(DWORD first, DWORD& count) const;
  // Leaves the file wrapper and the output and clears both links.
  void Detach();

  void SetSMF(CMaxMidiSMF* smf) { m_smf = smf; }
  void DetachSMF(CMaxMidiSMF* smf) {
    if (m_smf == smf) m_smf = nullptr;
  }
  void SetOutput(MidiTrackOutput* output) { m_output = output; }
  CMaxMidiSMF* GetSMF() const { return m_smf; }
  MidiTrackOutput* GetOutput() const { return m_output; }

  void SetRecording(bool on) { m_recording = on; }
  bool IsRecording() const { return m_recording; }
  void SetHidden(bool on) { m_hidden = on; }
  bool IsHidden() const { return m_hidden; }

  DWORD GetCount() const { return m_count; }
  DWORD GetCapacity() const { return static_cast<DWORD>(m_events.size()); }
  DWORD GetCursor() const { return m_cursor; }
  void SetCursor(DWORD cursor) { m_cursor = cursor < m_count ? cursor : m_count; }
  const MidiEvent* GetEvents() const { return m_events.data(); }
  // Empties the track (count and cursor 0, no metas); the array stays.
  void Clear() {
    m_count = m_cursor = 0;
    m_metas.clear();
  }

  // Meta events, kept in the order added; at one tick they are written in
  // that order, before the events of that tick.
  void AddMeta(std::uint32_t tick, BYTE type, std::vector<BYTE> data) {
    m_metas.push_back({tick, type, std::move(data)});
  }
  const std::vector<MidiTrackMeta>& GetMetas() const { return m_metas; }

 private:
  friend class CMaxMidiSMF;
  bool Offers() const { return !m_recording && !m_hidden; }

  CMaxMidiSMF* m_smf = nullptr;
  MidiTrackOutput* m_output = nullptr;
  std::vector<MidiEvent> m_events;  // size() is the capacity
  DWORD m_count = 0;
  DWORD m_cursor = 0;
  bool m_recording = false;
  bool m_hidden = false;
  bool m_hasName = false;
  std::string m_name;
  std::vector<MidiTrackMeta> m_metas;
};
