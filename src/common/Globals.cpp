#include "common/Globals.h"

#include "common/RecentChords.h"
#include "platform/StringTable.h"

namespace {

// The numbers 0..99 as two-character cells, blank- or zero-padded.
CString MakeTwoDigitTable(char pad) {
  CString table;
  for (int n = 0; n < 100; ++n) {
    table += n < 10 ? pad : static_cast<char>('0' + n / 10);
    table += static_cast<char>('0' + n % 10);
  }
  return table;
}

}  // namespace

const CString g_NoteNamesSharp = "A A#B C C#D D#E F F#G G#";
const CString g_NoteNamesFlat = "AbA BbB C DbD EbE F GbG ";
const CString g_NoteNamesAll = "AbA A#BbB C C#DbD D#EbE F F#GbG G#";
const CString g_PitchNames[12] = {"Ab", "A ", "Bb", "B ", "C ", "C#", "D ", "Eb", "E ", "F ", "F#", "G "};
const CString g_NoteNameList[26] = {" ",  "A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#",
                                    "Ab", "A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", " "};
const CString g_PianoKeyNames[12] = {"G# / Ab", "A",       "A# / Bb", "B", "C",       "C# / Db",
                                     "D",       "D# / Eb", "E",       "F", "F# / Gb", "G"};
const CString g_NoteLetters = "abcdefgABCDEFG";

const CString g_KeySigNames[15] = {"Ab / Fm",   "A   / F#m", "Bb / Gm",  "B   / G#m", "Cb / Abm",
                                   "C   / Am",  "C# / A#m",  "Db / Bbm", "D   / Bm",  "Eb / Cm",
                                   "E   / C#m", "F   / Dm",  "F# / D#m", "Gb / Ebm",  "G   / Em"};
const CString g_AbcKeyTable = "C C G F D BbA EbE AbB DbF#GbC#Cb";

const CString g_DurationKeys = "tTsSyYxXqQhHw$";
const CString g_DurationKeysNoWhole = "tTsSyYxXqQhH";
const CString g_DurationLetters = "whHqQtTsSyYxX";
const CString g_RhythmSymbolLetters = "|\"I[]whq!,'jJ.tsyx_-n%OZML#&N/SF";

const CString g_Digits = "0123456789";
const CString g_TwoDigitBlank = MakeTwoDigitTable(' ');
const CString g_TwoDigitZero = MakeTwoDigitTable('0');

const CString g_GmInstrumentNames[kInstrumentNameCount] = {
    "Ac. Piano",
    "Bright Ac. Piano",
    "Elec. Gr. Piano",
    "Honky-tonk Piano",
    "Elec. Piano 1",
    "Elec. Piano 2",
    "Harpsichord",
    "Clavi",
    "Celesta",
    "Glockenspiel",
    "Music Box",
    "Vibraphone",
    "Marimba",
    "Xylophone",
    "Tubular Bells",
    "Dulcimer",
    "Drawbar Organ",
    "Perc. Organ",
    "Rock Organ",
    "Church Organ",
    "Reed Organ",
    "Accordion",
    "Harmonica",
    "Tango Accordion",
    "Ac. Guitar (nylon)",
    "Ac. Guitar (steel)",
    "Elec. Guitar (jazz)",
    "Elec. Guitar (clean)",
    "Elec. Guitar (muted)",
    "Overdriven Guitar",
    "Distortion Guitar",
    "Guitar Harmonics",
    "Ac. Bass",
    "Elec. Bass (finger)",
    "Elec. Bass (pick)",
    "Fretless Bass",
    "Slap Bass 1",
    "Slap Bass 2",
    "Synth Bass 1",
    "Synth Bass 2",
    "Violin",
    "Viola",
    "Cello",
    "Contrabass",
    "Tremolo Strings",
    "Pizzicato Strings",
    "Orch. Harp",
    "Timpani",
    "String Ens. 1",
    "String Ens. 2",
    "Synthstrings 1",
    "Synthstrings 2",
    "Choir Aahs",
    "Voice Oohs",
    "Synth Voice",
    "Orchestra Hit",
    "Trumpet",
    "Trombone",
    "Tuba",
    "Muted Trumpet",
    "French Horn",
    "Brass Section",
    "SynthBrass 1",
    "SynthBrass 2",
    "Soprano Sax",
    "Alto Sax",
    "Tenor Sax",
    "Baritone Sax",
    "Oboe",
    "English Horn",
    "Bassoon",
    "Clarinet",
    "Piccolo",
    "Flute",
    "Recorder",
    "Pan Flute",
    "Blown Bottle",
    "Shakuhachi",
    "Whistle",
    "Ocarina",
    "Lead 1 (square)",
    "Lead 2 (sawtooth)",
    "Lead 3 (calliope)",
    "Lead 4 (chiff)",
    "Lead 5 (charang)",
    "Lead 6 (voice)",
    "Lead 7 (fifths)",
    "Lead 8 (bass + lead)",
    "Pad 1 (new age)",
    "Pad 2 (warm)",
    "Pad 3 (polysynth)",
    "Pad 4 (choir)",
    "Pad 5 (bowed)",
    "Pad 6 (metallic)",
    "Pad 7 (halo)",
    "Pad 8 (sweep)",
    "Fx 1 (train)",
    "Fx 2 (soundtrack)",
    "Fx 3 (crystal)",
    "Fx 4 (atmosphere)",
    "Fx 5 (brightness)",
    "Fx 6 (goblins)",
    "Fx 7 (echoes)",
    "Fx 8 (sci-fi)",
    "Sitar",
    "Banjo",
    "Shamisen",
    "Koto",
    "Kalimba",
    "Bag Pipe",
    "Fiddle",
    "Shanai",
    "Tinkle Bell",
    "Agogo",
    "Steel Drums",
    "Woodblock",
    "Taiko Drum",
    "Melodic Tom",
    "Synth Drum",
    "Reverse Cymbal",
    "Guitar Fret Noise",
    "Breath Noise",
    "Seashore",
    "Bird Tweet",
    "Telephone Ring",
    "Helicopter",
    "Applause",
    "Gunshot",
    "Silence",
    "Percussion",
};

const CString g_LabelSeparator = "!@!";
const CString g_FretListMarker = "!@@!";
const CString g_ChordPicMarker = "!@@@!";

const CString g_TuningBass2 = "      E A   *000000202500";
const CString g_TuningBass3 = "    E A D   *000020253000";
const CString g_TuningBass4 = "  E A D G   *002025303500";
const CString g_TuningBass5 = "B E A D G   *152025303500";
const CString g_TuningBass6 = "B E A D G C *152025303540";
const CString g_TuningBass7 = "B E A D G C *1520253035402";
const CString g_TuningBass8 = "B E A D G C *1520253035402-";
const CString g_TuningTwoString = "      G D    000000475400";
const CString g_TuningDiatonic = "    D A D    000042495400!@@!16,2,4,5,7,9,10,11,12,14,16,17,19";
const CString g_TuningFourString = "  G D A E    003542495600!@@!20";
const CString g_TuningFiveString = "D D G B D   5594247515400!@@!22";
const CString g_TuningGuitar = "E A D G B E  323742475156";
const CString g_TuningGuitar7 = "E A D G B E  323742475156/";
const CString g_TuningGuitar8 = "E A D G B E  323742475156/*";
const CString g_DefaultTrebleTuning = "E A D G B E  323742475156";
const CString g_DefaultBassTuning = "  E A D G   *002025303500";

const CString g_ProgramVersionText = "3.94.0.2";
const CString g_LanguageName = "English";
const CString g_AbcFileTitle = "ABC File";

namespace {
constexpr int kStartNoteCode = 8;
constexpr std::int32_t kStartMidiOutDevice = 2;
}  // namespace

CString g_CurrentTuning = g_TuningGuitar;
int g_CurrentNoteCode = kStartNoteCode;
CString g_FileVersionText = g_ProgramVersionText;
CString g_MessageText;
CString g_HelpDir;
CString g_ChordFilePath;
CString g_UnlabelledLineNames[kUnlabelledLineNameCount];
std::int32_t g_MidiOutDevice = kStartMidiOutDevice;
std::int32_t g_MidiOutDeviceAtStart = g_MidiOutDevice;
int g_HalfFretLabels = 0;
std::uint32_t g_ReportedOnce = 0;

const CString& PitchNameOf(int pitch) {
  int cell = (pitch + 24) % 12;
  if (cell < 0) cell += 12;
  return g_PitchNames[cell];
}

void ResetCommonGlobals() {
  g_CurrentTuning = g_TuningGuitar;
  g_CurrentNoteCode = kStartNoteCode;
  g_FileVersionText = g_ProgramVersionText;
  g_MessageText.Empty();
  g_HelpDir.Empty();
  g_ChordFilePath.Empty();
  for (CString& name : g_UnlabelledLineNames) name.Empty();
  g_MidiOutDevice = kStartMidiOutDevice;
  g_MidiOutDeviceAtStart = kStartMidiOutDevice;
  g_HalfFretLabels = 0;
  g_ReportedOnce = 0;
  ClearRecentChords();
}

void LoadGlobalTexts() {
  for (int i = 0; i < kUnlabelledLineNameCount; ++i)
    g_UnlabelledLineNames[i] = LoadString(kFirstUnlabelledLineNameId + static_cast<unsigned>(i));
}
