#pragma once
// What the symbol toolboxes show beside their pictures: the current symbol,
// the note style, the entry modes of the active score view and the tuning the
// fretboard is drawn for. The frame gathers it from the active view; the
// boxes only read it (a click changes the current symbol through
// g_toolboxSymbol). Qt-free.

#include "platform/CString.h"

struct KToolBoxState {
  int symbol = -1;            // the current symbol code (10000 and up: the alternate page); -1 none
  int noteStyle = 0;          // 0..7
  int arrowCursor = 0;        // the arrow cursor is in use (clicks in the score enter nothing)
  int joinTails = 0;          // join-note-tails mode
  int mutualTranslation = 0;  // mutual translation of bracketed lines
  CString tuning;             // the current tablature tuning
  CString defaultTuning;      // the default tablature tuning ("Standard")
};

// Program-wide: the current symbol code, set by a palette click, a pick and
// a typed symbol; the boxes highlight it. -1 while none is chosen.
extern int g_toolboxSymbol;
// Program-wide: a fretboard or keyboard pick enters its note (1) or only
// sounds it (0, after the user declined a new line for it). Starts at 1.
extern int g_offerLineInsertion;
// Restores both start values (tests call it).
void ResetToolBoxGlobals();
