#pragma once
// The chord designer's tuning row: the name and pitch of every string, which
// the user steps one semitone at a time, and the tuning string built from
// them. String 1 is the highest (rightmost); strings 7 and 8 exist only on
// seven- and eight-string instruments. A pitch is the tuning string's number
// (the guitar's low E is 32); names run through the seventeen two-character
// names "Ab", "A ", "A#", "Bb" ... "G#", so a step between enharmonic names
// keeps the pitch.

#include <array>

#include "platform/CString.h"

class KDesignerTuning {
 public:
  static constexpr int kStrings = 8;
  static constexpr int kNone = -9;

  // Names and pitches from a tuning string (its fret list is kept apart).
  void Load(const CString& tuning);
  // One step up (+1) or down (-1) of a string's name; false when the pitch
  // would leave its bounds (nothing changes).
  bool Step(int stringNumber, int delta);
  // The tuning string: names of strings 6..1, the bass mark, the pitches,
  // the seventh and eighth strings, then the fret list.
  CString Build() const;
  // The pitch part of the tuning string (from position 13, without the fret list).
  CString PitchText() const;

  int StringCount() const { return m_strings; }
  CString Name(int stringNumber) const;
  int Pitch(int stringNumber) const;
  // The sounding note, "(E3)", spelt with flats when the name has a flat.
  CString PitchLabel(int stringNumber) const;
  bool Bass() const { return m_bass; }
  const CString& FretList() const { return m_fretList; }
  // The fret at which a five-string banjo's short string starts (0 none).
  int ShortFifthFret() const { return m_shortFifth; }

 private:
  int m_strings = 6;
  bool m_bass = false;
  int m_shortFifth = 0;
  CString m_fretList;
  std::array<CString, kStrings> m_name;  // index: string number - 1
  std::array<int, kStrings> m_pitch{};
};

// The note a string sounds at a fret, named from the key's table: " X " for a
// string not played. Used for the names under the designer's strings.
CString DesignerNoteName(const CString& key, int pitch, int semitone);
