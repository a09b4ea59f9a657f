#pragma once
// A performance written as a Standard MIDI File. One instrument gives a
// format 0 file of one track; more give format 1, with a first track
// "FileInfo" for the tempo and signatures and then one track per instrument
// in the order they first play. The tempo of the run starts the conductor
// track, later tempo and time-signature changes follow in it at their ticks;
// the header events (time and key signature, a marker for each channel
// played and the program's marker) open it. Each track holds absolute ticks until it is
// written, so lines that share a track keep one clock.
//
// A write that fails leaves no file behind (an older file of that name stays
// as it was).

#include <functional>
#include <string>
#include <utility>

#include "midi/Performance.h"

class CMaxMidiSMF;
class MidiEventTrack;

struct MidiExportOutcome {
  enum class Result { kWritten, kNoTrack, kFailed };
  Result result = Result::kWritten;
  // For kFailed: the place of the failure ("QV4-1" format 0 open, "QV4-2"
  // format 1 open, "QV4-3" a header event, "QV4-4" the tracks or the disk)
  // and the reason the file layer gave.
  std::string code;
  std::string reason;
};

// The channel marker texts of the header, by channel 0..15.
std::string ChannelMarker(const KPerformance& performance, int channel);

// The lowest notes of the first and of the last notes to start (percussion
// left out), -1 when the performance plays no note: the tune's first and
// final, which tell its mode.
std::pair<int, int> FirstAndFinalPitch(const KPerformance& performance);

// Adds the header events to the track at tick 0: the time signature with its
// real denominator, the key signature (minor when the tune's first and final
// notes make it so), a marker for each channel the performance uses and
// "Stavlin " with the program's version.
void WriteTrackHeaderEvents(MidiEventTrack& track, const KPerformance& performance);

// Writes the performance to path through file. makeTrack makes each track
// (its owner keeps it; the export names and fills it and clears its
// recording flag).
MidiExportOutcome ExportPerformance(const KPerformance& performance, const char* path, CMaxMidiSMF& file,
                                    const std::function<MidiEventTrack*(const char* name)>& makeTrack);
