#pragma once
// The two instrument pictures of the toolbox: the fretboard of a stringed
// instrument, drawn for the current tablature tuning (its string count and
// fret list), and the 88-key piano keyboard. Each knows which note lies under
// a point, what the pointer's caption names there, and the marks it shows:
// the note last clicked, or up to nine notes that playback sounds. Qt-free;
// the toolbox window paints the picture and the marks where these say.

#include <array>
#include <vector>

#include "common/TuningCodec.h"
#include "dialogs/toolbox/InstrumentGeometry.h"
#include "platform/CString.h"
#include "platform/Geometry.h"

// A mark drawn over the picture: its top-left corner and the note it shows.
struct KInstrumentMark {
  int x = 0;
  int y = 0;
  int note = 0;
};

class KFretboard {
 public:
  static constexpr int kRowHeight = instrument::kStringRow;
  static constexpr int kMarkSize = 13;
  static constexpr int kLabelStripHeight = instrument::kLabelStripHeight;
  static constexpr int kMaxMarks = 9;
  static constexpr int kFrets = instrument::kFrets;  // frets 0..24
  static constexpr int kPictureWidth = instrument::kFretboardWidth;
  // Pictures: 5488 + string count (5490 for two strings .. 5496 for eight),
  // the fret-number strips and the mark.
  static constexpr int kFirstPictureId = 5488;
  static constexpr int kPlainLabels = 5133;
  static constexpr int kDulcimerLabels = 5623;
  static constexpr int kMixolydianLabels = 5624;
  static constexpr int kOtherLabels = 5625;
  static constexpr int kMarkPicture = 5412;

  // The x of each fret's line on the picture (0 = the nut).
  static int FretX(int fret);

  // Reads the tuning: strings, their open pitches, frets and labels. True
  // when the pictures must be loaded again (first build, another string or
  // fret count, other fret labels). Every build clears the marks.
  bool Build(const CString& tuning, const CString& defaultTuning);
  bool IsBuilt() const { return m_stringCount > 0; }
  // Whether the tuning differs from the one the picture shows.
  bool NeedsRebuild(const CString& tuning) const { return !IsBuilt() || !(tuning == m_tuning); }

  const CString& Tuning() const { return m_tuning; }
  int StringCount() const { return m_stringCount; }
  int FirstString() const { return m_firstString; }  // the slot of the top row
  int FretCount() const { return m_fretCount; }
  int OpenPitch(int slot) const;  // pitch code (E = 32); below -8 none
  int FretSemitone(int fret) const { return m_fretMap[static_cast<size_t>(fret)]; }
  bool CustomFrets() const { return m_customFrets; }
  const CString& FretLabel(int fret) const { return m_labels[static_cast<size_t>(fret)]; }
  const CString& TuningSuffix() const { return m_tuningSuffix; }

  int PictureId() const { return kFirstPictureId + m_stringCount; }
  int LabelStripId() const;
  int PictureHeight() const { return kRowHeight * m_stringCount + 2; }
  // The window's client area: the frets in use and the label strip below.
  SIZE ClientSize() const;

  // The fret under x (0 left of x 20), -1 right of the last fret.
  int FretAt(int x) const;
  // The string row under y (row 0 at the top); may lie outside the strings.
  static int RowAt(int y) { return y >= 0 ? y / kRowHeight : -1; }

  // The note under a point: the slot and fret, and the MIDI note. False
  // (nothing filled in) for a point off the strings or on a string the
  // tuning does not have.
  struct Spot {
    int slot = 0;
    int fret = 0;
    int note = 0;
  };
  bool NoteAt(int x, int y, Spot& spot) const;
  // What the caption says with the pointer at the point, followed by prompt;
  // false when the point is below the strings (the caption stays).
  bool HoverText(int x, int y, const CString& prompt, CString& text) const;

  // A click: the marks go and the clicked note is marked (when it exists).
  void MarkClick(const Spot& spot);
  // Playback: marks a note that sounds (on) or takes its mark away (off);
  // the string slot given (0..7) or chosen here (negative). A negative note
  // clears every mark.
  void ShowPlayedNote(int on, int note, int slot, int fret);
  const std::vector<KInstrumentMark>& Marks() const { return m_marks; }
  void ClearMarks();

 private:
  void RemoveMark(size_t index);

  CString m_tuning;
  TuningPitches m_open{};
  int m_stringCount = 0;
  int m_firstString = 0;
  int m_fretCount = 24;
  FretMap m_fretMap{};
  FretLabels m_labels;
  bool m_customFrets = false;
  CString m_tuningSuffix;
  std::vector<KInstrumentMark> m_marks;
  std::array<int, kMaxTuningStrings> m_rowMark{};  // index + 1 of the mark on each row, 0 none
};

class KPianoKeyboard {
 public:
  static constexpr int kWidth = instrument::kKeyboardWidth;
  static constexpr int kHeight = instrument::kKeyboardHeight;
  static constexpr int kBlackKeyHeight = instrument::kBlackKeyHeight;  // the white-key zone lies below
  static constexpr int kMarkSize = 9;
  static constexpr int kMaxMarks = 9;
  static constexpr int kLowest = 21;    // A0
  static constexpr int kHighest = 108;  // C8
  static constexpr int kPictureId = 5484;
  static constexpr int kMarkPicture = 5410;

  // The MIDI note under a point of the picture.
  static int NoteAt(int x, int y);
  static bool IsBlackKey(int note);
  // The caption with the pointer at the point: the note's name, then prompt.
  static CString HoverText(int x, int y, const CString& prompt);

  // A click at the point: the marks go and the clicked key is marked.
  void MarkClick(int x, int y);
  // Playback marks (as KFretboard::ShowPlayedNote, without strings).
  void ShowPlayedNote(int on, int note);
  const std::vector<KInstrumentMark>& Marks() const { return m_marks; }
  void ClearMarks() { m_marks.clear(); }

 private:
  std::vector<KInstrumentMark> m_marks;
};

// The name of a MIDI note's pitch class ("C", "C# / Db", ...), as the
// instruments name the note under the pointer.
const CString& PitchClassName(int midiNote);
