// Standard MIDI Files: whatever the reader takes must be writable as it is,
// and the written file must read back into content that writes the same bytes.

#include <string>
#include <vector>

#include "FuzzEnvironment.h"
#include "platform/MidiFileReader.h"
#include "platform/MidiFileWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StavlinFuzzStart();
  MidiFileContent content;
  std::string error;
  if (!ParseMidiFile(std::span<const std::uint8_t>(data, size), content, error)) {
    if (error.empty()) StavlinFuzzFail("a refused file gives no reason");
    return 0;
  }
  for (const MidiFileTrack& track : content.tracks) {
    if (!CheckMidiEvents(track.events).empty()) StavlinFuzzFail("the reader gives events the writer refuses");
  }
  const std::vector<std::uint8_t> first = MidiFileBytes(content);
  MidiFileContent again;
  if (!ParseMidiFile(first, again, error)) StavlinFuzzFail("a written file does not read back");
  if (MidiFileBytes(again) != first) StavlinFuzzFail("reading and writing a written file changes it");
  return 0;
}
