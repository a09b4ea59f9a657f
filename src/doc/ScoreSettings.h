#pragma once
// ScoreSettings: the settings that travel with a score (window, scrolling,
// display, page layout, printing, playback, fonts, tunings and the score's
// table of MIDI instruments). The document holds one; each view keeps a copy,
// edits it and hands it back with CStavlinDoc::SetSettings.
//
// A plain record of 16-bit words, bytes, strings and three 32-bit words,
// copied field by field. The default constructor gives the settings of a new
// score, taken from the program's preferences. The score file stores every
// field except word98 and byte39 (see CStavlinDocSerialize.cpp).
//
// Byte flags hold 0 or 1 unless their comment says otherwise. Fields the
// document only keeps, copies and stores carry their number as name (word9,
// byte15 ...): the code that uses them gives them their meaning.

#include "platform/CString.h"
#include "platform/WinTypes.h"

struct ScoreSettings {
  // The instrument table: 7 fixed entries for the unlabelled line kinds, then
  // at most 30 for line labels.
  static constexpr int kInstrumentSlots = 37;
  static constexpr int kFixedInstruments = 7;
  // showLineType is indexed by line type code 0 to 16.
  static constexpr int kLineTypeCount = 17;
  // Elements of showLineType with a role of their own.
  static constexpr int kPackedShowFlags = 7;  // the flags of types 9 to 16, packed, in the file
  static constexpr int kShowAll = 8;

  ScoreSettings();

  // Puts every value the view, the printer or playback would use outside its
  // range back to the value a new score has: a score file is outside input.
  // The margins are left to the page layout, which warns of them (a margin
  // below 0 or too large for the page gets the safe defaults there).
  void KeepInRange();

  // Fills entries 0 to 6 of the instrument table from the instrument and
  // loudness preferences and makes them the only ones (instrumentCount 7).
  void SetFixedInstruments();

  // Window of the score and scrolling.
  short windowX = 0;
  short windowY = 0;
  short windowWidth = 0;   // 40 to 2500
  short windowHeight = 0;  // 40 to 2500
  short scrollDelay = 0;
  short fixedLineLength = 0;  // staff length of every line when all lines have a fixed length, else 0
  short firstPageNumber = 0;  // 0 means 1
  // Chord-diagram scale in percent: width in the high byte, height in the low
  // byte; bits 8 to 10 of each are kept in flags48.
  WORD diagramScale = 0;
  short word9 = 0;

  BYTE largeSymbols = 0;
  BYTE scrollLines = 0;     // 1 to 20, plus 100 when grouped lines count as one
  BYTE lineSpacing = 0;     // pixels between lines, 0 to 30
  BYTE autosaveAmount = 0;  // characters (kind 1 or 10) or 30-second ticks (kind 0); 0 off
  BYTE autosaveKind = 0;    // 1 characters typed, 0 elapsed time, 10 characters then ask
  BYTE byte15 = 0;
  BYTE lineLabelMode = 0;      // 0 hidden, 1 on all lines, 2 on the first lines only
  BYTE adTabMode = 0;          // Ad-Tab display code (0, 2, 6 or 4) + 1 when stems show on tab fingering
  BYTE tabDigitPlacement = 0;  // (tab-digit position + 10) x 10, + 1 when bar numbers show
  BYTE readOnly = 0;
  BYTE repeatScrolling = 0;
  BYTE scrollSound = 0;

  // Shown line types by type code; see the constants above for 7 and 8.
  // Element 6 is only kept, copied and stored.
  BYTE showLineType[kLineTypeCount] = {};
  BYTE byte39 = 1;  // not stored in the file

  BYTE flags48 = 0;  // bit 0 show chord diagrams; bits 1-3 and 4-6: bits 8-10 of diagram width and height
  BYTE arrowKeysWithinStaff = 0;
  BYTE arrowCursor = 0;  // 1 arrow cursor, 0 symbol cursor
  BYTE keyChangesCursor = 0;
  BYTE barFlags = 0;  // bit 3 clock, bit 2 status bar, bit 1 extra toolbar, bit 0 main toolbar
  BYTE makeBackups = 0;
  // bit 6 undo; bit 5 re-wrap below the edited line; bit 4 auto-wrap the
  // edited line; bit 3 scrolled lines count groups; bit 2 chord variation
  // numbering; bit 1 "TAB" on the staff; bit 0 alternate tuning pitches.
  BYTE editFlags = 0;
  BYTE byte47 = 0;
  BYTE byte48 = 0;
  BYTE printOrientation = 0;  // 0 portrait, 1 landscape
  BYTE byte50 = 0;
  BYTE byte51 = 0;

  CString tabTuning;          // tuning of new treble tablature lines
  CString bassTabTuning;      // tuning of new bass tablature lines
  CString tabTuningFull;      // the treble tuning with its extension, or empty
  CString pageNumberingText;  // printed beside the page number

  BYTE showVariationNumbers = 0;
  short printScale = 0;  // percent, 20 to 400
  BYTE marginUnit = 0;   // 0 inches, 1 millimetres
  short marginTop = 0;
  short marginBottom = 0;
  short marginLeft = 0;
  short marginRight = 0;
  BYTE showPageBreaks = 0;
  BYTE pageXofY = 0;
  BYTE pageNumberText = 0;        // 0 none, 1 file name and number, 2 numbering text and number
  BYTE pageNumberVertical = 0;    // 0 top, 1 bottom
  BYTE pageNumberHorizontal = 0;  // 0 left, 1 centre, 2 right, 3 alternating
  BYTE keepGroupsTogether = 0;
  BYTE alertLargerThanPage = 0;

  // The five values of the MIDI marks (the range playback can be limited to);
  // 10000 in word70 means no marks.
  short word70 = 10000;
  short word71 = 0;
  short word72 = 30000;
  short word73 = 30000;
  short word74 = 0;
  short word75 = 0;
  short midiTempo = 0;   // beats per minute
  BYTE midiLevel = 127;  // loudness relative to the score's, + 127 (127 unchanged)
  BYTE midiBetweenMarks = 0;
  BYTE midiLoop = 0;
  BYTE midiIgnoreRepeats = 0;
  BYTE midiShowCaret = 0;  // bit 6 may be set by the conversion of old files
  BYTE instrumentCount = kFixedInstruments;
  short word83 = 0;
  short word84 = 0;
  BYTE tabSpacing = 0;  // tab line spacing x 10, + 1 when translation takes the previous fret position
  BYTE byte86 = 0;

  // Each entry: 3 characters program number, 3 characters volume (as
  // FormatNumberLabel writes them), then the label name.
  CString instrumentTable[kInstrumentSlots];
  CString text88;

  // Font texts (see common/FontCodec.h); the escapement number carries a colour.
  CString pageNumberFont;
  CString textFont;                // default font of new text lines
  CString extTextAndTripletFonts;  // extTextFont + "!@!" + tripletFont, as held
  CString extTextFont;
  CString tripletFont;
  CString tabFont;
  CString chordAndRhythmFonts;  // chordNameFont + "!@!" + rhythmFont, rebuilt before each store
  CString chordNameFont;
  CString rhythmFont;

  short word98 = 0;  // copied, not stored
  short staffValue8 = 0;
  BYTE staffValue9 = 22;
  BYTE staffValue10 = 26;
  BYTE staffValue11 = 14;
  BYTE staffValue12 = 12;
  DWORD midiEffects = 0;  // playback effects bit set
  DWORD dword105 = 0;
  DWORD dword106 = 0;

  bool operator==(const ScoreSettings&) const = default;
};
