#pragma once
// A Standard MIDI File read for import: its tracks' events on the program's
// clock (480 ticks per quarter note, absolute times), its meta events, and
// the analysis that proposes one staff per track and channel. The file is
// untrusted: times are summed in 64 bits and capped, every meta event's data
// is length-checked before use, and the number of proposals is bounded.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/CString.h"
#include "platform/MidiFileData.h"

namespace midiimport {

// Staff kinds of a proposal (and of the dialog's rows).
inline constexpr int kKindTreble = 0;
inline constexpr int kKindBass = 1;
inline constexpr int kKindKeyboard = 2;
inline constexpr int kKindDrum = 3;
inline constexpr int kKindTab = 4;
inline constexpr int kKindBassTab = 5;

// Octave indexes: +1, none, -1.
inline constexpr int kOctaveUp = 0;
inline constexpr int kOctaveNone = 1;
inline constexpr int kOctaveDown = 2;

// The most proposals (track and channel pairs with notes) and staff lines.
inline constexpr int kMaxRows = 40;
inline constexpr int kMaxLines = 20;

// The drum channel (channel 10 counted from 1) and its program.
inline constexpr int kDrumChannel = 9;
inline constexpr int kDrumProgram = 130;

// Ticks that no change reaches: the end marker of change lists.
inline constexpr int kNever = 2000000000;
// The most bars of 4/4 an import makes. Events from the tick they end on are
// left out, and the import says how many notes that was: a file of absurd
// delta times would otherwise ask for millions of rests.
inline constexpr int kMostBars = 20000;
inline constexpr std::int64_t kLatestTick = std::int64_t{kMostBars} * 1920;

// A note on or off of one track on the program's clock.
struct TimedEvent {
  int tick = 0;
  BYTE status = 0;
  BYTE data1 = 0;
  BYTE data2 = 0;
};

struct TimedMeta {
  int tick = 0;
  BYTE type = 0;
  std::vector<BYTE> data;
};

// A change of time or key signature at a tick: value numerator * 1000 +
// denominator, or a key code 0..15.
struct SignatureChange {
  int tick = 0;
  int value = 0;
};

// The import preferences the analysis follows.
struct AnalysisPreferences {
  int lineTypes = 3;  // 1 treble, 2 bass, else by range
  int trebleUpper = 67;
  int bassLower = 50;
  int keyboardDivisor = 4;
  int split = 59;
  int resolution = 2;  // 0..3: 1/8 .. 1/64
};

// One proposed staff (or keyboard pair): what the settings dialog shows and
// the user edits.
struct ImportTrackInfo {
  int track = 0;
  int channel = 0;
  int kind = kKindTreble;
  int resolution = 2;
  int rangeMark = 100;  // -100: low notes
  int octave = kOctaveNone;
  CString label;
  int noteCount = 0;
  int averageVelocity = 100;
  int program = 1;
  bool import = true;
  // A keyboard pair made of two channels: the lower staff's channel.
  int lowerTrack = -1;
  int lowerChannel = -1;
};

class MidiImportFile {
 public:
  // Takes the parsed file; the tracks' times are converted at once.
  explicit MidiImportFile(MidiFileContent content);

  int GetTrackCount() const { return static_cast<int>(m_events.size()); }
  const std::vector<TimedEvent>& Events(int track) const { return m_events[static_cast<size_t>(track)]; }
  const std::vector<TimedMeta>& Metas(int track) const { return m_metas[static_cast<size_t>(track)]; }
  // What the reader left out of the file, one line per part, and the notes
  // past the last bar an import makes.
  const std::vector<std::string>& Warnings() const { return m_content.warnings; }
  // The notes (note-ons with a velocity) left out past kLatestTick.
  int NotesLeftOut() const { return m_notesLeftOut; }

  // The first meta event of the type in the track; null when none.
  const TimedMeta* FirstMeta(int track, BYTE type) const;
  // The first meta event of the type in any track, in track order.
  const TimedMeta* FirstMetaAnywhere(BYTE type) const;

  // One proposal per track and channel with notes (at most kMaxRows), named
  // and with its octave set; two channels judged treble and bass make one
  // keyboard pair.
  std::vector<ImportTrackInfo> Analyse(const AnalysisPreferences& prefs) const;

  // Beats per minute of the first tempo event, or 0 when there is none or it
  // lies outside 10..400.
  int Tempo() const;

  // The time signatures of a track in order, the first at tick 0 (4/4 when
  // the track starts with none); fallback when the track has none at all. A
  // signature that stands before the file's first note is the opening one,
  // wherever before it it stands.
  std::vector<SignatureChange> TimeSignatures(int track, const std::vector<SignatureChange>* fallback) const;
  std::vector<SignatureChange> KeySignatures(int track, const std::vector<SignatureChange>* fallback) const;
  // The same for the whole score: the signatures of every track, in time
  // order (a file may keep them in its first track, in the track of the
  // notes, or in any other).
  std::vector<SignatureChange> ScoreTimeSignatures() const;
  std::vector<SignatureChange> ScoreKeySignatures() const;
  // The tick of the file's first note (0 when it has none).
  int FirstNoteTick() const { return m_firstNoteTick; }

  // The name of a track: its track name, else its instrument name; cut at the
  // first unprintable character and trimmed of trailing blanks and signs.
  CString TrackName(int track) const;

  // The meta text of the type found first in any track, cleaned as a name
  // but with inner signs kept; empty when none.
  CString FirstText(BYTE type) const;

 private:
  MidiFileContent m_content;
  std::vector<std::vector<TimedEvent>> m_events;
  std::vector<std::vector<TimedMeta>> m_metas;
  int m_notesLeftOut = 0;
  int m_firstNoteTick = 0;

  std::vector<const TimedMeta*> MetasOf(int track, BYTE type) const;
  std::vector<SignatureChange> TimeList(const std::vector<const TimedMeta*>& metas,
                                        const std::vector<SignatureChange>* fallback) const;
  std::vector<SignatureChange> KeyList(const std::vector<const TimedMeta*>& metas,
                                       const std::vector<SignatureChange>* fallback) const;
};

// The score title of a file's path: its base name without extension, lower
// case, with the first letter and every letter after a blank in capitals.
CString ImportTitleFromPath(const CString& path);

// Cuts a name before its first unprintable character and trims blanks and
// trailing characters that are neither letters, digits nor '_'.
CString CleanImportName(const std::string& raw);

}  // namespace midiimport
