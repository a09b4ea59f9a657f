#include "common/SoundNote.h"

#include <algorithm>
#include <cstdint>

#include "common/Globals.h"
#include "platform/MidiScheduler.h"

namespace {

constexpr BYTE kProgramChange = 0xC0;  // channel 1
constexpr BYTE kNoteOn = 0x90;
constexpr BYTE kNoteOff = 0x80;

}  // namespace

void PlayPreviewNote(MidiOutPort* out, int note, int instrument, int durationMs, int velocity) {
  if (out == nullptr || instrument < 0 || instrument >= kFirstSilentInstrument) return;
  // Data bytes above 127 would read as status bytes and garble the stream.
  if (note < 0 || note > 127) return;
  velocity = std::clamp(velocity, 0, 127);
  if (!out->IsOpen() && !out->Open(g_MidiOutDevice - 1, kPreviewOpenFlags)) return;

  const int program = instrument > 0 ? instrument - 1 : 0;
  out->Put(SendNowEvent(kProgramChange, program, velocity));
  out->Put(SendNowEvent(kNoteOn, note, velocity));
  KMidiScheduler& scheduler = SoundScheduler();
  KMidiScheduler::Item off;
  off.dueUs = scheduler.Clock().NowUs() + static_cast<std::int64_t>(std::max(durationMs, 0)) * 1000;
  off.port = out;
  off.event = SendNowEvent(kNoteOff, note, velocity);
  scheduler.Add({off});
}
