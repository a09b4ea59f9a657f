#pragma once
// Recognition of the chord names written in a text line (a line of chord
// symbols above lyrics, or the chord names of an ABC tune): each name that
// the chord-string library knows becomes a chord diagram of a new
// chord-diagram line, in standard tuning, with the library's first shape.
//
// A name starts at a root letter A-G that follows a blank (or the start of the
// text): the letter, an optional "#" or "b", then the quality up to the next
// blank or upper-case A-G; a quality ending in "/" takes the bass note that
// follows ("D/F#"), and the diagram plays the chord over that bass where a
// shape of the chord can. A quality written as an alias ("min", "-7", "M7")
// is looked up under its catalogue type and keeps the name as written.

#include <functional>
#include <memory>

#include "platform/CString.h"

class KChordPicLine;

// What the caller's view contributes to the placing of the diagrams.
struct ChordNameLayout {
  // The pixel x at which a character position of the text starts, measured in
  // the text line's font (null: 8 pixels a character, one column each).
  std::function<int(int position)> xOfPosition;
  // Added to every diagram's column (from the view's layout of chord lines).
  int columnOffset = 0;
  // True for the names the program spells its own way (chord-name aliases):
  // those keep the library's name and shape and are not remembered as recent
  // chords. Null: no aliases.
  std::function<bool(const CString& name)> isAlias;
};

// The chord-diagram line of the names in text, or null when the chord-string
// library is missing, the text holds no recognised name, or the library's
// chord block is damaged (message 7052 with "CCR-1" for a missing type
// string, "CCR-2" for a missing spelling string). A diagram's column is the
// pixel x of its name divided by 8 plus the column offset, and always lies
// after the previous diagram's column; with keepAfterPrevious a name that
// starts before the previous diagram's column is placed right after it
// without being measured. Each recognised chord joins the recent chords.
std::unique_ptr<KChordPicLine> RecognizeChordNamesInText(const CString& text, bool keepAfterPrevious,
                                                         const ChordNameLayout& layout = {});
