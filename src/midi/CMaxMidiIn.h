#pragma once
// The program's MIDI input: one input device of the machine, opened by its
// number. While started, every message that arrives becomes one event (a
// System Exclusive message a run of them, status F0, one byte each) whose
// time is the delta since the previous one, in ticks of the sync (or of 480
// to the quarter at 120 per minute without one), and goes to FilterEvent on
// the user-interface thread.
//
// A device that goes away while open (unplugged, its program closed, the
// MIDI system ended) leaves the input lost: nothing more arrives, IsOpen is
// false, GetLastError names the device and OnInputLost runs once (from the
// event loop, so that it may close the input). The next Open opens afresh.

#include <memory>
#include <string>

#include "platform/MidiDevices.h"
#include "platform/MidiOutPort.h"

class CMaxMidiSync;

class CMaxMidiIn {
 public:
  CMaxMidiIn() = default;
  virtual ~CMaxMidiIn();
  CMaxMidiIn(const CMaxMidiIn&) = delete;
  CMaxMidiIn& operator=(const CMaxMidiIn&) = delete;

  // Opens device `device` unless open (TRUE then); FALSE when it cannot be opened.
  BOOL Open(int device, DWORD flags);
  void Close();
  void Start();
  void Stop();
  bool IsOpen() const { return m_connection != nullptr && !m_lost; }
  // Whether the device went away while open (until the next Open).
  bool IsLost() const { return m_lost; }
  // That the device went away, naming it.
  const std::string& GetLastError() const { return m_lastError; }
  // Ticks of the sync from the last event delivered until now (0 before the first).
  std::uint32_t TicksSinceLastEvent() const;
  bool IsStarted() const { return m_started; }
  int GetDevice() const { return m_device; }
  const std::string& GetDeviceName() const { return m_deviceName; }

  void SetSync(CMaxMidiSync* sync) { m_sync = sync; }
  CMaxMidiSync* GetSync() const { return m_sync; }

  // An event arrived; TRUE when it was used.
  virtual BOOL FilterEvent(const MidiShortEvent& event) { return TRUE; }
  // The device went away while open; nothing here.
  virtual void OnInputLost() {}

 private:
  void Arrived(const MidiInMessage& message);
  void NoteLost();
  std::uint32_t TicksIn(std::int64_t us) const;
  void Deliver(const MidiShortEvent& event);

  std::unique_ptr<MidiInConnection> m_connection;
  int m_device = -1;
  DWORD m_flags = 0;
  std::string m_deviceName;
  CMaxMidiSync* m_sync = nullptr;
  bool m_started = false;
  bool m_lost = false;
  std::string m_lastError;
  std::int64_t m_lastUs = -1;
};
