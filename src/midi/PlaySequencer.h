#pragma once
// The sequencer: turns the shown score into one performance (Performance.h),
// the single road from the score to MIDI that playback, MIDI file export and
// the tests share. It is Qt-free and never waits: it only computes ticks.
//
// Line groups are played in display order, or in the play order when repeats
// are honoured (PlayOrder.h). Within a group every notation line's columns
// sound when the line's written time says (KLineTime: one voice or two, dots,
// tuplets, grace notes, rests); the next group starts when the longest line
// of this one has ended. A staff bracketed with a tablature line (the pair
// that Mutual Translation keeps in step) leaves the notes they share to the
// tablature line, which plays them with its instrument and octave; the
// staff's own notes beside them still sound.
//
// Instruments: a line without a label plays the instrument of its kind's
// unlabelled entry (entries 0..6 of the table), a labelled line the entry of
// its label; a label the table does not know stays silent. Each instrument is
// a track. Percussion (program 130, and drum and percussion lines) sounds on
// MIDI channel 10; melodic instruments take the other fifteen channels, one
// each, in the order they first play, and the sixteenth melodic instrument
// ends the performance there with message 7073 (maximum 15).

#include <string>
#include <vector>

#include "midi/Performance.h"
#include "midi/PlayScore.h"
#include "platform/WinTypes.h"

class CObList;

struct KInstrumentEntry {
  std::string name;
  int program = 1;     // 1..128, 129 silent, 130 percussion
  int loudness = 100;  // 0..127
};

// The playback effects word of a score: one bit per effect (see PlayEffects).
namespace effect_bit {
inline constexpr DWORD kBends = 1u << 0;
inline constexpr DWORD kAccents = 1u << 1;
inline constexpr DWORD kFermata = 1u << 2;
inline constexpr DWORD kStrokes = 1u << 3;
inline constexpr DWORD kMultiBarRests = 1u << 4;
inline constexpr DWORD kTremolo = 1u << 5;
inline constexpr DWORD kTrills = 1u << 6;
inline constexpr DWORD kVibrato = 1u << 7;
inline constexpr DWORD kSlides = 1u << 8;
inline constexpr DWORD kGraceNotes = 1u << 9;
inline constexpr DWORD kTuplets = 1u << 10;
inline constexpr DWORD kMultipleRepeats = 1u << 11;
inline constexpr DWORD kOctaveShifts = 1u << 12;
inline constexpr DWORD kBarRepeats = 1u << 13;
inline constexpr DWORD kTempoChanges = 1u << 14;
inline constexpr DWORD kStaccato = 1u << 16;
// Bits 17..27 are always set in a stored word.
inline constexpr DWORD kAlwaysSet = 0x0FFE0000;
inline constexpr DWORD kAll = 0x17FFF | kAlwaysSet;
}  // namespace effect_bit

struct KPlaySettings {
  int tempo = 120;   // quarter notes per minute; below 10 plays at 10, above 1200 at 120
  int loudness = 0;  // -127..127, added to every velocity
  bool ignoreRepeats = false;
  DWORD effects = effect_bit::kAll;
  // Tablature and guitar-named lines sound an octave lower.
  bool guitarOctaveLower = false;
  // Entries 0..6 are the unlabelled kinds: treble, bass, tab, percussion,
  // alto, tenor, bass tab.
  std::vector<KInstrumentEntry> instruments;
};

// Which part of the score to play: from (startLine, startColumn) through
// (endLine, endColumn), display lines and columns; an end line past the
// score plays to the end.
struct KPlayRange {
  int startLine = 0;
  int startColumn = 0;
  int endLine = 30000;
  int endColumn = 30000;
};

// The entry of the unlabelled kind a line type plays with (0..6).
int UnlabelledEntryOf(int lineType);
// The default instrument table: the seven unlabelled kinds.
std::vector<KInstrumentEntry> DefaultInstruments();
// The tempo the sequencer plays a requested tempo at.
int ClampPlayTempo(int tempo);

class KPlaySequencer {
 public:
  // The most melodic instruments one performance can hold (channel 10 is
  // percussion's).
  static constexpr int kMaxMelodicTracks = 15;

  // jumps: the play order (KJTObj), or null to play straight through.
  KPlaySequencer(const KPlayScore& score, const CObList* jumps, KPlaySettings settings);
  // Builds the performance of the range. The lines' play events are rebuilt
  // (and left on the lines until ClearPlayEvents).
  KPerformance Run(const KPlayRange& range);
  // Deletes the play events the run built on the lines.
  void ClearPlayEvents();

 private:
  class Run_;
  const KPlayScore& m_score;
  const CObList* m_jumps;
  KPlaySettings m_settings;
};
