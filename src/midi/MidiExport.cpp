#include "midi/MidiExport.h"

#include <algorithm>

#include "common/Globals.h"
#include "common/KeyMode.h"
#include "midi/CMaxMidiSMF.h"
#include "midi/MidiEventTrack.h"
#include "platform/MidiFile.h"

namespace {

constexpr BYTE kMetaMarker = 0x06;
constexpr BYTE kMetaTempo = 0x51;
constexpr BYTE kMetaTimeSignature = 0x58;
constexpr BYTE kMetaKeySignature = 0x59;
constexpr int kPercussionChannel = 9;

std::vector<BYTE> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<BYTE> TempoBytes(std::uint32_t microseconds) {
  return {static_cast<BYTE>(microseconds >> 16), static_cast<BYTE>(microseconds >> 8),
          static_cast<BYTE>(microseconds)};
}

std::vector<BYTE> TimeSignatureBytes(int numerator, int power) {
  return {static_cast<BYTE>(numerator == 0 ? 4 : numerator), static_cast<BYTE>(power), 24, 8};
}

// Sharps (positive) or flats of a key-signature index.
int SharpsOf(int key) {
  static constexpr int kSharps[16] = {0, 0, 1, -1, 2, -2, 3, -3, 4, -4, 5, -5, 6, -6, 7, -7};
  return kSharps[std::clamp(key, 0, 15)];
}

std::string GmName(int program) {
  if (program < 1 || program > kInstrumentNameCount) return {};
  return std::string(g_GmInstrumentNames[program - 1].View());
}

}  // namespace

std::string ChannelMarker(const KPerformance& performance, int channel) {
  const std::string head = "C" + std::to_string(channel + 1);
  if (channel == kPercussionChannel) return head + "-Percussion";
  for (const KPerfTrack& track : performance.tracks) {
    if (track.channel != channel) continue;
    if (track.program == 130) return head + "-Percussion";
    return head + "-P" + std::to_string(track.program) + "-" + GmName(track.program);
  }
  return head + "-P1-" + GmName(1);
}

std::pair<int, int> FirstAndFinalPitch(const KPerformance& performance) {
  int first = -1;
  int final = -1;
  std::uint32_t firstTick = 0;
  std::uint32_t finalTick = 0;
  for (const KPerfEvent& e : performance.events) {
    if (!e.IsNoteOn() || (e.status & 15) == kPercussionChannel) continue;
    if (e.track >= 0 && e.track < static_cast<int>(performance.tracks.size()) &&
        performance.tracks[static_cast<std::size_t>(e.track)].program == 130)
      continue;
    if (first < 0 || (e.tick == firstTick && e.data1 < first)) {
      if (first < 0) firstTick = e.tick;
      first = e.data1;
    }
    if (final < 0 || e.tick > finalTick || (e.tick == finalTick && e.data1 < final)) {
      finalTick = e.tick;
      final = e.data1;
    }
  }
  return {first, final};
}

void WriteTrackHeaderEvents(MidiEventTrack& track, const KPerformance& performance) {
  track.AddMeta(0, kMetaTimeSignature,
                TimeSignatureBytes(performance.numerator, performance.denominatorPower));
  const auto [first, final] = FirstAndFinalPitch(performance);
  const KeyMode mode = KeyModeOfTune(std::clamp(performance.key, 0, 15), first, final);
  track.AddMeta(0, kMetaKeySignature,
                {static_cast<BYTE>(static_cast<signed char>(SharpsOf(performance.key))),
                 static_cast<BYTE>(mode.minor ? 1 : 0)});
  // A marker for each channel the performance plays on, none for the others.
  for (int channel = 0; channel < 16; ++channel) {
    const bool used = std::any_of(performance.tracks.begin(), performance.tracks.end(),
                                  [channel](const KPerfTrack& t) { return t.channel == channel; });
    if (used) track.AddMeta(0, kMetaMarker, Bytes(ChannelMarker(performance, channel)));
  }
  track.AddMeta(0, kMetaMarker, Bytes("Stavlin " + std::string(g_ProgramVersionText.View())));
}

MidiExportOutcome ExportPerformance(const KPerformance& performance, const char* path, CMaxMidiSMF& file,
                                    const std::function<MidiEventTrack*(const char* name)>& makeTrack) {
  MidiExportOutcome outcome;
  if (performance.tracks.empty()) {
    outcome.result = MidiExportOutcome::Result::kNoTrack;
    return outcome;
  }
  const bool single = performance.tracks.size() == 1;
  MidiEventTrack* conductor = nullptr;
  if (!single) conductor = makeTrack("FileInfo");
  std::vector<MidiEventTrack*> tracks;
  for (const KPerfTrack& t : performance.tracks) tracks.push_back(makeTrack(t.name.c_str()));
  if (single) conductor = tracks.front();

  // Absolute ticks per track become delta times as the events go in.
  std::vector<std::uint32_t> last(tracks.size(), 0);
  for (MidiEventTrack* track : tracks) track->SetRecording(true);
  conductor->AddMeta(0, kMetaTempo, TempoBytes(TempoMicroseconds(performance.tempo)));
  for (const KPerfEvent& e : performance.events) {
    switch (e.kind) {
      case KPerfEvent::Kind::kTempo:
        conductor->AddMeta(e.tick, kMetaTempo, TempoBytes(e.value));
        break;
      case KPerfEvent::Kind::kTimeSignature:
        conductor->AddMeta(e.tick, kMetaTimeSignature, TimeSignatureBytes(e.data1, e.data2));
        break;
      case KPerfEvent::Kind::kShort: {
        if (e.track < 0 || e.track >= static_cast<int>(tracks.size())) break;
        const std::size_t t = static_cast<std::size_t>(e.track);
        MidiEvent event;
        event.time = e.tick - last[t];
        event.status = e.status;
        event.data1 = e.data1;
        event.data2 = e.data2;
        tracks[t]->AddEvent(event);
        last[t] = e.tick;
        break;
      }
    }
  }
  for (MidiEventTrack* track : tracks) track->SetRecording(false);
  WriteTrackHeaderEvents(*conductor, performance);

  if (!file.Open(path, 'w', single ? 0 : 1)) {
    outcome.result = MidiExportOutcome::Result::kFailed;
    outcome.code = single ? "QV4-1" : "QV4-2";
    outcome.reason = GetSMFLastError();
    return outcome;
  }
  if (!single) file.AddTrack(conductor);
  for (MidiEventTrack* track : tracks) file.AddTrack(track);
  if (!file.WriteAll()) {
    outcome.result = MidiExportOutcome::Result::kFailed;
    outcome.code = "QV4-4";
    outcome.reason = GetSMFLastError();
    file.Discard();
    return outcome;
  }
  if (!file.Close()) {
    outcome.result = MidiExportOutcome::Result::kFailed;
    outcome.code = "QV4-4";
    outcome.reason = GetSMFLastError();
  }
  return outcome;
}
