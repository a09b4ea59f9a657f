#pragma once
// A MIDI output device as the program's MIDI output object uses it: open a
// device by number, put short events, close. The real device (ALSA sequencer
// through RtMidi) implements it in the MIDI subsystem; tests use
// RecordingMidiOut, which writes every call into a text log.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/WinTypes.h"

class MidiClock;

// One short event as it is handed to the device: eight bytes.
struct MidiShortEvent {
  std::uint32_t time = 0;  // kMidiSendNow: send at once
  BYTE status = 0;
  BYTE data1 = 0;
  BYTE data2 = 0;
  BYTE reserved = 0;
};
static_assert(sizeof(MidiShortEvent) == 8);

// The time of an event that is sent at once (all 32 bits set).
inline constexpr std::uint32_t kMidiSendNow = 0xFFFFFFFFu;

// A short event to send at once (callers give data bytes of 0..127).
inline MidiShortEvent SendNowEvent(BYTE status, int data1, int data2) {
  MidiShortEvent event;
  event.time = kMidiSendNow;
  event.status = status;
  event.data1 = static_cast<BYTE>(data1);
  event.data2 = static_cast<BYTE>(data2);
  return event;
}

class MidiOutPort;

// Puts every sound module back to its start, at once: General MIDI System
// On (one System Exclusive byte an event), then controllers 125 and 127 (omni
// on, poly on, all notes off) on the first and last channels.
void SendModuleReset(MidiOutPort& port);

class MidiOutPort {
 public:
  virtual ~MidiOutPort() = default;
  // Opens output device number device (flags as the caller's MIDI library
  // takes them) unless the output is open; nonzero on success.
  virtual BOOL Open(int device, DWORD flags) = 0;
  // Sends one event; nonzero when it was accepted.
  virtual BOOL Put(const MidiShortEvent& event) = 0;
  // Resets and closes the output; clears the open flag.
  virtual void Close() = 0;
  // The open flag.
  virtual bool IsOpen() const = 0;
};

// An output that hands every call on to another (target, set before use): a
// relay overrides Put to watch or mark what passes through it.
class MidiOutRelay : public MidiOutPort {
 public:
  BOOL Open(int device, DWORD flags) override { return target->Open(device, flags); }
  BOOL Put(const MidiShortEvent& event) override { return target->Put(event); }
  void Close() override { target->Close(); }
  bool IsOpen() const override { return target->IsOpen(); }
  MidiOutPort* target = nullptr;
};

// Records calls as lines of text:
//   "open <device> <flags>"                      (also when already open)
//   "put <time> <status> <data1> <data2> <reserved>"  (hex bytes, time in hex)
//   "close"
// Puts on a closed output are recorded and refused.
class RecordingMidiOut : public MidiOutPort {
 public:
  BOOL Open(int device, DWORD flags) override;
  BOOL Put(const MidiShortEvent& event) override;
  void Close() override;
  bool IsOpen() const override { return m_open; }

  // Opens without a log line, as playback would have left it.
  void SetOpen(bool open) { m_open = open; }
  // Open requests fail (no such device).
  void SetOpenFails(bool fails) { m_openFails = fails; }
  // Adds a line of the caller's own (a pause, say) to keep the order visible.
  void Note(std::string line) { m_log.push_back(std::move(line)); }

  const std::vector<std::string>& Log() const { return m_log; }
  const std::vector<MidiShortEvent>& Events() const { return m_events; }
  // With a clock, every accepted event's time of sending (µs) is kept too.
  void StampWith(const MidiClock* clock) { m_clock = clock; }
  const std::vector<std::int64_t>& Times() const { return m_times; }
  // The stamped events as "<ms after startUs> <status> <data1> <data2>"
  // (hex bytes), one text each.
  std::vector<std::string> TimedEvents(std::int64_t startUs) const;

 private:
  std::vector<std::string> m_log;
  std::vector<MidiShortEvent> m_events;
  std::vector<std::int64_t> m_times;
  const MidiClock* m_clock = nullptr;
  bool m_open = false;
  bool m_openFails = false;
};
