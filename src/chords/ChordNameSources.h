#pragma once
// What the stepping of chord names reads: the chord-string library (the
// catalogue of standard chords, fetched by string id) and the user chord
// dictionary (the variations the user stored for a tuning). The chord
// dictionary installs its own sources at start-up; until it does, the
// stand-in below answers that the library is not available and that the user
// has stored no chords, so that chord names stay as they are.
//
// Library layout the callers rely on: the chord block of pitch class p (Ab =
// 0) starts at string id 12020 + 1000 p. Each type string holds, at character
// 0, a digit d: the next type string of the block is this id + 10 d, and "0"
// ends the block; characters 3..19 the type name (trailing blanks removed);
// from character 20 its variations, 8 characters each (a 7-character shape
// and a separator).

#include "platform/CString.h"

class KChordNameSources {
 public:
  virtual ~KChordNameSources() = default;
  // 1 when the chord-string library is (now) loaded, 0 when not (the loader
  // reports its own failure).
  virtual int LoadChordStringDll() = 0;
  // The length of the library string with the id (out set), or 0 when the
  // library has no such string (out unchanged).
  virtual int LoadChordDllString(int id, CString& out) = 0;
  // The number of the user's stored variations of the chord (root code and
  // quality) for the tuning of a line.
  virtual int CountUserVariations(const CString& tuning, const CString& root, const CString& quality) = 0;
  // The shape of the user's n-th (from 1) stored variation of the chord.
  virtual CString GetUserShape(const CString& tuning, const CString& root, const CString& quality, int n) = 0;
};

// Installs the sources (not owned; null restores the stand-in).
void SetChordNameSources(KChordNameSources* sources);
KChordNameSources& GetChordNameSources();

// Fit library shapes to the line's tuning when it is not the standard one
// (the tuning-adaptation preference; 1 on).
extern int g_adaptLibraryShapes;

// Removes installed sources and restores the preference's start value.
void ResetChordNameSources();
