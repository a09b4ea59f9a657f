#pragma once
// The pieces of deleting a selected region that work on one line or on the
// view's group state (ViewDeleteRegion.cpp runs them).

#include <utility>

#include "platform/Position.h"

class CStavlinView;

namespace viewdelete {

// The selected columns [first, end) of a staff or tablature display line:
// the selection's pixel edges measured from the line's column 0; 0 where an
// edge lies left of it.
std::pair<int, int> NoteColumnRange(const CStavlinView& view, int displayLine);
// The same on a chord line, in chord columns.
std::pair<int, int> ChordColumnRange(const CStavlinView& view, int displayLine);

// Adds an empty text line in the current text font at the head of the score
// (so that a score never runs out of lines) and counts its font.
void AddBlankTextLine(CStavlinView& view);

// Takes the line out of its group (a group left with one line goes, the line
// staying), drops its font use and its label, and deletes it.
void RemoveWholeLine(CStavlinView& view, POSITION position);

// Switches independent editing of grouped lines on, as a deletion across
// bars of part of a group needs: mutual translation and auto-wrap go off
// (remembered for when it is switched off), and in mode 1 the user is told.
// In mode 2 nothing happens.
void MakeGroupLinesIndependent(CStavlinView& view);

}  // namespace viewdelete
