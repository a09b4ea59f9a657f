#pragma once
// Building a line's play events: the note columns become note events shaped by their ornament and
// effect symbols, and the line's attachments (text boxes, arcs, brackets, hairpins) add tempo and
// dynamic events, ties, tuplets, crescendi, multi-bar rests and octave ranges. The list belongs to
// the line (KListLine::GetPlayEvents); KListLine::InterpretTextForPlayback reaches this code through
// the interpreter that InstallLinePlayInterpreter sets, since it reads the concrete line kinds.

#include "model/KMIDIObj.h"

class CObList;
class KListLine;

// The playback effects the user switches on and off; the playback settings own their storage and
// copy them here before a run.
struct PlayEffectOptions {
  bool slides = true;
  bool bends = true;
  bool accents = true;  // dynamics words, sforzando, accents, hairpins
  bool fermata = true;
  bool strokes = true;  // glissando and up/down strokes
  bool multiBarRests = true;
  bool tremolo = true;
  bool trills = true;  // trills, mordents and turns
  bool vibrato = true;
  bool graceNotes = true;
  bool tuplets = true;
  bool tempo = true;
  bool octaveShifts = true;
  bool staccato = true;
  // Tablature and guitar-named lines sound an octave lower.
  bool guitarOctaveLower = false;
};

PlayEffectOptions& PlayEffects();

inline constexpr int kTempoControl = 20000002;
// The flags of a note event that the sequencer reads: a note tied on to the
// next of its key (also one from a line's last note into the next line), the
// note a tie comes to, and a rest.
inline constexpr DWORD kTiedOnFlag = 1;
inline constexpr DWORD kTiedFromFlag = 2;
inline constexpr DWORD kRestFlag = 4;
// The flag of a note an ornament adds (trill, tremolo, turn, mordent, grace
// note): it sounds but takes no time of its voice.
inline constexpr DWORD kOrnamentFlag = 8;
// Pitch effects a note carries in the second of its three parameters, as
// kind * 1000 + depth; the sequencer turns them into pitch-wheel messages.
inline constexpr int kPitchBend = 1;
inline constexpr int kPitchVibrato = 2;
inline constexpr int kPitchSlideUp = 3;
inline constexpr int kPitchSlideDown = 4;
inline constexpr int kLevelControl = 20000004;
inline constexpr int kDefaultSwing = 666;  // thousandths

// A note event of an ornament: it takes no time of its voice.
inline bool IsOrnament(const KMIDIObj& event) { return event.TestFlags(kOrnamentFlag) != 0; }
// How long a note sounds: the third parameter when set (staccato, the main
// note of a trill or tremolo, a note after grace notes), else its length.
inline int SoundLength(const KMIDIObj& event) {
  const int sound = event.GetTriple().c;
  return sound > 0 ? sound : event.GetMagnitude();
}
inline int PitchEffectKind(const KMIDIObj& event) { return event.GetTriple().b / 1000; }
inline int PitchEffectDepth(const KMIDIObj& event) { return event.GetTriple().b % 1000; }
// +1 when the pitch effect goes up, -1 down.
inline int PitchEffectDirection(const KMIDIObj& event) {
  return PitchEffectKind(event) == kPitchSlideDown ? -1 : 1;
}

// Rebuilds the play events of columns first..last (see KListLine::InterpretTextForPlayback).
void InterpretLinePlayText(KListLine& line, int lineNumber, float* swingRatio, int first, int last);
// The semitones a line's notes sound moved by: -12 for tablature and
// guitar-named lines when the guitar octave option is on, else 0.
int LinePlayTransposition(const KListLine& line);
// Makes KListLine::InterpretTextForPlayback use InterpretLinePlayText.
void InstallLinePlayInterpreter();
// Puts the event before the first event at or after its column (at the end when none is).
void InsertPlayEvent(CObList& events, KMIDIObj* event);
// The swing ratio of a swing text ("2:1" -> 2/3); 0.666 when the text reads no two numbers.
float ParseSwingText(const char* text);
