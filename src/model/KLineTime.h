#pragma once
// Musical time of a staff or tablature line: the one place that says, for
// every column, how long it lasts (dots, tuplets, grace notes, fermatas),
// which voice it belongs to and when it starts after the column before.
// Playback and MIDI export, the play caret and the toolbox marks (through the
// performance), and automatic bar insertion all ask it.
//
// Voices. Note codes carry a voice in their parity, and automatic stems move
// a melody's notes between the two codes by their height, so a code's voice
// alone says nothing of the music. A bar is written in two voices only where
// the score writes them together: a column holding notes of both voices of
// different lengths, or a rest beside notes of one voice. Elsewhere the bar is
// one voice: every column starts when the one before it ends, whatever its
// stems. In a bar of two voices each voice keeps its own time; a rest beside
// notes of one voice is the other voice's, a rest alone belongs to the voice
// that is behind (to both when they are level), and the voices meet again at
// the bar line.
//
// A whole rest that stands alone in a bar (no note, no other rest) is the
// bar's rest: it lasts as long as the bar's time signature says, a breve in
// four halves, three quarters in three.
//
// Grace notes (a column holding a grace symbol, or a column of small flagged
// notes) take no time of their own: they sound one after another from the
// start of the note they lead to, and that note sounds later by as much.

#include <map>
#include <vector>

class KChord;
class KListLine;

struct KColumnTime {
  enum class Kind { kBar, kSignature, kNotes, kRest, kGrace, kNone };
  const KChord* chord = nullptr;
  int pos = 0;
  Kind kind = Kind::kNone;
  // Ticks of each voice's shortest note here (0: the voice has no note),
  // with dots, tuplets and fermata; a whole note counts in both.
  int length[2] = {0, 0};
  // Ticks of a rest here, with its dot (0: none).
  int rest = 0;
  // A whole rest alone in its bar rests for the whole bar, whatever the time
  // signature: the bar's ticks (0 for any other column).
  int barRest = 0;
  // Tuplet: lengths here are written length x num / den.
  int tupletNum = 1;
  int tupletDen = 1;
  // -1: every voice is scaled; 0 or 1: only that voice.
  int tupletVoice = -1;
  // Ticks from the line's start at which the column sounds.
  int start = 0;
  // Everything written up to and with this column has ended by then.
  int end = 0;
  // Where each voice's time stands after this column (in a bar of one voice
  // both are the same).
  int voiceEnd[2] = {0, 0};
  // The note a run of grace notes leads to sounds this much later.
  int graceDelay = 0;
  // A grace column: how long its notes sound.
  int graceLength = 0;
  // The column's bar is written in two voices.
  bool twoVoices = false;

  // The ticks the column takes in the line's time when it is one voice.
  int Step() const;
};

struct KLineTimeOptions {
  bool tuplets = true;     // tuplet brackets and triplet numbers scale their notes
  bool fermata = false;    // a fermata doubles its column
  bool graceNotes = true;  // grace notes sound (else they are silent and take no time)
  // Columns that last at least so long (multi-bar rests of playback).
  std::map<int, int> holds;
  // A column to count in place of the one at its position (or added there):
  // what the line would be with a note entered.
  const KChord* replace = nullptr;
};

class KLineTime {
 public:
  static constexpr int kGraceTicks = 60;

  explicit KLineTime(const KListLine& line, KLineTimeOptions options = {});

  const std::vector<KColumnTime>& Columns() const { return m_columns; }
  // The column at the position, or null.
  const KColumnTime* At(int pos) const;
  // When the position sounds: the start of its column, or of the next column
  // after it; the line's end past its last column.
  int TimeAt(int pos) const;
  // Everything written up to and with the column at or before pos has ended.
  int EndAfter(int pos) const;
  // The end of the line's music.
  int End() const { return m_end; }

  // A grace symbol: the grace note and the flagged grace and slide heads.
  static bool IsGraceCode(int code);
  // A grace column: a grace symbol, or small (mini style) flagged notes only.
  static bool IsGraceColumn(const KChord& chord);
  // The ticks one column takes when it stands alone in one voice (its
  // shortest note, else its rest; 0 for a grace, bar or signature column).
  static int StepOf(const KChord& chord);

 private:
  void Measure(const KListLine& line);
  void ApplyTuplets(KListLine& line);
  void FillBarRests(KListLine& line);
  void Place();
  void PlaceGraces(std::size_t first, std::size_t principal, int clock);

  KLineTimeOptions m_options;
  std::vector<KColumnTime> m_columns;
  int m_end = 0;
};
