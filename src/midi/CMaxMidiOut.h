#pragma once
// The program's MIDI output: one output device of the machine (by its number
// in the device list), opened on demand and fed one event at a time. Every
// event goes out at once; timed output waits on the MIDI clock's scheduler
// (platform/MidiScheduler.h), never here. A System Exclusive message arrives
// as a run of events (status F0, one message byte each in data1, from F0 to
// F7) and leaves as one message. Event tracks can be attached to it, and
// Restart plays the attached tracks merged into one stream, block by block
// (BuildBlock), each event put at its time on the MIDI clock by the output's
// own alarm (Pump); OnOutputNotify runs after every wake of that alarm.
// Nothing in the program attaches tracks yet: playback queues each message of
// its performance on the MIDI clock's scheduler and sends it through Put
// (midi/LivePlayback.h), and File export writes its tracks through a MIDI
// file object; the document holds no tracks.
//
// A device that goes away while open (unplugged, its program closed) closes
// the output: the put that found it gone fails, IsLost says so and
// GetLastError names the device, until the next Open.

#include <memory>
#include <string>
#include <vector>

#include "midi/MidiEventTrack.h"
#include "platform/MidiClock.h"
#include "platform/MidiDevices.h"
#include "platform/MidiOutPort.h"

class CMaxMidiSync;

class CMaxMidiOut : public MidiOutPort, public MidiTrackOutput {
 public:
  // The device number of the MIDI mapper: the program's own port, which the
  // system's patchbay routes (see MidiDeviceSystem::MapperName).
  static constexpr int kMapper = 65535;
  // Events in one merged block, and asked of each track per block.
  static constexpr DWORD kBlockEvents = 512;

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

  // The name of the device the user chose: while set, Open finds the device
  // by this name (device numbers shift as ports come and go) and fails when
  // no device has it.
  void SetWantedName(std::string name) { m_wantedName = std::move(name); }
  const std::string& GetWantedName() const { return m_wantedName; }

  int GetDevice() const { return m_device; }
  DWORD GetFlags() const { return m_flags; }
  // The name of the device last opened or asked for.
  const std::string& GetDeviceName() const { return m_deviceName; }
  // Why the last open failed, or that the device went away.
  const std::string& GetLastError() const { return m_lastError; }
  // Whether the device went away while the output was open (until the next
  // Open).
  bool IsLost() const { return m_lost; }

  void SetSync(CMaxMidiSync* sync) { m_sync = sync; }
  CMaxMidiSync* GetSync() const { return m_sync; }

  // Attached tracks (the output becomes each one's owner).
  void AddTrack(MidiEventTrack* track);
  // MidiTrackOutput: takes the track out of the table; TRUE when found.
  void RemoveTrack(MidiEventTrack* track) override;
  bool HasSync() const override { return m_sync != nullptr; }
  void SetSyncResolution(DWORD ticksPerQuarter) override;
  int GetTrackCount() const { return static_cast<int>(m_entries.size()); }

  // Plays the attached tracks from their starts: every merge position back
  // to 0, the block emptied, then Pump.
  void Restart();
  // Puts every block event whose time has come, building the next block
  // whenever one is used up, and arms the output's alarm for the next event
  // still to come. A refused put stops here; the next wake tries the same
  // event again. Nothing without tracks.
  void Pump();
  // Merges the next events of all attached tracks into the block (at most
  // kBlockEvents, their times made deltas from the event before, the first
  // from the last event of the previous block); 0 events when the tracks
  // are used up.
  void BuildBlock();
  // After each wake of the output's alarm (its Pump); empty here.
  virtual void OnOutputNotify() {}
  // The merged block as it stands (tests).
  const std::vector<MidiShortEvent>& Block() const { return m_block; }
  DWORD GetBlockCount() const { return m_blockCount; }
  // Whether merged events are still waiting to be put.
  bool IsPumping() const;

 private:
  struct TrackEntry {
    MidiEventTrack* track = nullptr;
    DWORD position = 0;  // first event not yet merged
    bool inSysEx = false;
  };
  // The alarm's wake: Pump, then OnOutputNotify.
  void OnOutputReady();
  // Microseconds of delta ticks at the sync's tempo and resolution (120 a
  // minute at 480 a quarter without a sync).
  std::int64_t TicksToUs(std::uint32_t ticks) const;
  void NoteLost();

  std::unique_ptr<MidiOutConnection> m_connection;
  int m_device = -1;
  DWORD m_flags = 0;
  std::string m_deviceName;
  std::string m_wantedName;
  std::string m_lastError;
  CMaxMidiSync* m_sync = nullptr;
  std::vector<TrackEntry> m_entries;
  std::vector<MidiShortEvent> m_block;
  DWORD m_blockCount = 0;
  DWORD m_sendCursor = 0;
  std::uint32_t m_lastBlockTime = 0;
  std::int64_t m_nextDueUs = 0;  // when the event at the send cursor is due
  std::unique_ptr<MidiAlarm> m_alarm;
  std::vector<std::uint8_t> m_sysEx;  // a System Exclusive message being gathered
  bool m_lost = false;
};
