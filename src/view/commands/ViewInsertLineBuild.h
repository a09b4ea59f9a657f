#pragma once
// The new line of an Insert line command, built with the settings in force at
// the caret (ViewInsertLineBuild.cpp): a line of the kind, or the two lines of
// the score's paired tablature.

#include "platform/CString.h"
#include "platform/Position.h"

class CStavlinView;
class KLineObj;

// What the line is made from.
struct KNewLineSettings {
  int type = 0;
  int key = 0;    // the key in force at the caret
  int beats = 4;  // starting time signature of a staff or tablature line (0: none)
  int beatTicks = 480;
};

// The line made (owned by the caller until placed); for paired tablature the
// upper line first and the lower second, with their labels.
struct KNewLines {
  KLineObj* first = nullptr;
  KLineObj* second = nullptr;
  CString firstLabel;
  CString secondLabel;
};

// A new empty line of the kind. A tablature line while the score has a paired
// tablature tuning (the upper tuning, "!@!", the lower tuning) makes the pair.
// label is the label the line is to take; a pair's upper line takes "Tab-T"
// unless the label holds it already.
KNewLines BuildNewLine(CStavlinView& view, const KNewLineSettings& settings, const CString& label);

// The lower line of a pair goes right after the upper one (at upperPos); both
// are bound into a line group of their own.
void PlacePairedTablature(CStavlinView& view, const KNewLines& lines, POSITION upperPos,
                          const KNewLineSettings& settings);
