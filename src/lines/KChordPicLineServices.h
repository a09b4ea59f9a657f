#pragma once
// What the chord-diagram line needs of the chord code that is not built on the
// lines' level: the fitting of a chord shape to another tuning and the
// transposition of chord names. The chord code installs its own
// KChordLineServices at start-up; until it does (and in tests that install
// none) the built-in services below answer: shapes are fitted by their
// pitches (AdaptChordShape), and chord names are left as they are.
//
// Also here: the preference that writes a diagram's display value beside its
// picture, which the preferences' reader and the document set.

#include "platform/CString.h"

class KChordPicLine;

class KChordLineServices {
 public:
  virtual ~KChordLineServices() = default;
  // The shape written for oldTuning, fitted to newTuning, into out.
  virtual void AdaptChordShape(const CString& oldTuning, const CString& shape, const CString& newTuning,
                               CString& out) = 0;
  // Rewrites the names of the line's diagrams in columns first..last,
  // transposed up by shift semitones (0..11); reports its own failures.
  virtual void ShiftChordNames(KChordPicLine& line, int first, int last, int lowCode, int highCode, int shift,
                               int option) = 0;
};

// Installs the services (not owned; null restores the built-in ones).
void SetChordLineServices(KChordLineServices* services);
KChordLineServices& GetChordLineServices();

// The built-in fitting: each string's pitch of the shape on oldTuning, played
// on newTuning as near as they allow to the average of the shape's fretted
// positions (an empty shape of newTuning when nothing can be played).
void AdaptChordShape(const CString& oldTuning, const CString& shape, const CString& newTuning, CString& out);

// Write a diagram's display value (when not 1) as its number label (0 off).
extern int g_diagramFretNumbers;

// Removes installed services and restores the start value above.
void ResetChordLineServices();
