#pragma once
// ABC text lines to score lines: the part of From ABC Notation that needs no
// window. The text lines are read in order by one fresh ABC reading (header
// fields change the reader's state, music lines become treble staff lines, a
// title field a text line marked as a title); chord names written over the
// notes become a chord-diagram line for the staff. Where the lines go, their
// fonts and their staff lengths are the view's.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/CString.h"

class KChordPicLine;
class KLineObj;
class KStaffLine;

// What one text line reads as.
struct AbcLineRead {
  // The line it stands for; null where the text yields nothing (a header
  // field, an empty line, music that goes on in a later line): it goes.
  std::unique_ptr<KLineObj> line;
  // The text was a title field: the line made is a text line flagged as a
  // title, to be set in the title font.
  bool title = false;
};

struct AbcTextRead {
  std::vector<AbcLineRead> lines;  // one for each text given, in order
  // A staff line the last music line left open by continuation ("\"), which
  // goes after the last line made.
  std::unique_ptr<KStaffLine> continued;
  // Some music line had chord names over its notes ("@@" text attachments of
  // its staff line), for AbcChordNamesToDiagrams.
  bool chordNamesSeen = false;
};

// Reads the text lines as one piece of ABC. texts[i] empty: a line that is not
// text, read as nothing (its entry stays empty), which still lets the music of
// the line before it go on. The text is untrusted: a line outside the dialect
// reads as text or as nothing.
AbcTextRead ReadAbcTextLines(std::span<const std::optional<CString>> texts);

// How the view lays out a staff and a chord line, for putting diagrams over
// the notes.
struct AbcDiagramGeometry {
  int noteColumnWidth = 18;    // pixels of a staff's note column
  int diagramColumnWidth = 8;  // pixels of a chord line's diagram column
  // Pixels from the content's left edge to the staff's first column; asked
  // only when the staff has chord names.
  std::function<int()> staffLead;
};

// The chord names over the staff's notes as a chord-diagram line, each
// diagram over the note its name was written over (a diagram pushed past its
// note by a wide one before it never stands at another note's column), in
// the staff's key; the names' attachments leave the staff. Null, and the staff
// unchanged, when it has no names or none is a chord.
std::unique_ptr<KChordPicLine> AbcChordNamesToDiagrams(KStaffLine& staff, const AbcDiagramGeometry& geometry);
