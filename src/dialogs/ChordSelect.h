#pragma once
// The chord selection step of Insert/Chord: the view asks for a chord with a
// request (the key, tuning and diagram mode in force) and gets back the chosen
// chord, or nothing when the user cancels. The chord selection dialog
// (KDlgChordSelect.h) answers; tests may install their own chooser.

#include <functional>
#include <memory>
#include <optional>

#include "model/KChord.h"
#include "platform/CString.h"

struct KChordSelectRequest {
  int key = 0;          // key signature in force at the caret
  CString tuning;       // tuning of the diagrams
  int stringCount = 6;  // strings of that tuning
  int displayMode = 0;  // 0/2 chord line, 1 staff, 3 tablature
  CString initialKey;   // root code to start on ("G "), empty for none
};

struct KChordChoice {
  CString keyName;                 // root code as listed: "G ", "C#", "Bb"
  CString typeName;                // chord type, "(major)" for a plain major chord
  int variation = 1;               // 1-based variation of the name
  CString shape;                   // diagram shape text
  CString tuning;                  // tuning the user chose (empty: unchanged)
  int displayMode = 0;             // diagram display mode chosen (2 = coloured diagrams)
  int tuningFlag = 0;              // set when the dictionary key is to carry "*"
  std::shared_ptr<KChord> column;  // the chord as a note column, when it has one
  // The same chord for the line bracketed with a staff or tablature line:
  // frets for the tablature when the column is a staff's, notes for the staff
  // when it is a tablature's.
  std::shared_ptr<KChord> partner;
  // For the recent chords: the spelling, the catalogue type's string id, and
  // the catalogue's and the user's variation counts.
  CString spelling;
  int typeStringId = 0;
  int libraryCount = 0;
  int userCount = 0;
};

using KChordSelectFn = std::function<std::optional<KChordChoice>(const KChordSelectRequest&)>;

// Installs the chooser; an empty function restores the default.
void SetChordSelectSeam(KChordSelectFn chooser);
std::optional<KChordChoice> RunChordSelect(const KChordSelectRequest& request);

// The name shown on a diagram: the root (its letter alone for a natural) and
// the type up to where "(major)" begins.
CString DisplayedChordName(const KChordChoice& choice);
// The chord's dictionary key: shown name, variation in two characters
// (" 1".."99", "1" and two digits for 100..199), the tuning text, and "*"
// when the choice's flag asks for it.
CString ChordDictionaryKey(const KChordChoice& choice, const CString& tuning);
// Cuts every occurrence of the key out of the pending key text.
void RemovePendingChordKey(CString& pending, const CString& key);
