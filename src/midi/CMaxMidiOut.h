#pragma once
// The program's MIDI output: one output device of the machine (by its number
// in the device list), opened on demand and fed one event at a time. Every
// event goes out at once; timed output waits on the MIDI clock's scheduler
// (platform/MidiScheduler.h), never here. A System Exclusive message arrives
// as a run of events (status F0, one message byte each in data1, from F0 to
// F7) and leaves as one message. Event tracks can be attached to it: the
// document's tracks are, as they are attached to a file.

#include <memory>
#include <string>
#include <vector>

#include "midi/MidiEventTrack.h"
#include "platform/MidiDevices.h"
#include "platform/MidiOutPort.h"

class CMaxMidiSync;

class CMaxMidiOut : public MidiOutPort, public MidiTrackOutput {
 public:
  // The device number of the system's MIDI mapper (none on this system).
  static constexpr int kMapper = 65535;

  CMaxMidiOut() = default;
  ~CMaxMidiOut() override;
  CMaxMidiOut(const CMaxMidiOut&) = delete;
  CMaxMidiOut& operator=(const CMaxMidiOut&) = delete;

  // Opens device number `device` (0-based) unless the output is open (TRUE
  // then); FALSE with the output closed when the device cannot be opened.
  BOOL Open(int device, DWORD flags) override;
  // Sends the event at once; TRUE when the output is closed (the event is
  // dropped) or the device took it.
  BOOL Put(const MidiShortEvent& event) override;
  // Silences every channel, then closes.
  void Close() override;
  bool IsOpen() const override { return m_connection != nullptr; }
  // Silences every channel (all notes off) when open.
  void Reset();

  int GetDevice() const { return m_device; }
  DWORD GetFlags() const { return m_flags; }
  // The name of the device last opened or asked for.
  const std::string& GetDeviceName() const { return m_deviceName; }
  // Why the last open failed.
  const std::string& GetLastError() const { return m_lastError; }

  void SetSync(CMaxMidiSync* sync) { m_sync = sync; }
  CMaxMidiSync* GetSync() const { return m_sync; }

  // Attached tracks (the output becomes each one's owner).
  void AddTrack(MidiEventTrack* track);
  // MidiTrackOutput: takes the track out of the table; TRUE when found.
  void RemoveTrack(MidiEventTrack* track) override;
  bool HasSync() const override { return m_sync != nullptr; }
  void SetSyncResolution(DWORD ticksPerQuarter) override;
  int GetTrackCount() const { return static_cast<int>(m_tracks.size()); }

 private:
  std::unique_ptr<MidiOutConnection> m_connection;
  int m_device = -1;
  DWORD m_flags = 0;
  std::string m_deviceName;
  std::string m_lastError;
  CMaxMidiSync* m_sync = nullptr;
  std::vector<MidiEventTrack*> m_tracks;
  std::vector<std::uint8_t> m_sysEx;  // a System Exclusive message being gathered
};
