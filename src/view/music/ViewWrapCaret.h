#pragma once
// Where the caret stands in the music of its part, counted in bars, so that
// Wrap Music can put it back in the same bar at the same offset however the
// bars were moved between lines.

class CStavlinView;

struct KWrapCaret {
  bool notation = false;  // the caret was on a staff or tablature line
  int type = -1;          // its line type
  bool grouped = false;   // its line stands in a line group ...
  int slot = -1;          // ... in this slot
  int bar = 0;            // bars of the part before the caret's bar
  int offset = 0;         // columns from the start of its bar to the caret
};

// The caret of the view as bars of its part: the display lines of the same
// type (and, in line groups, of the same slot) above it and its own line.
KWrapCaret RememberWrapCaret(const CStavlinView& view);

// Puts the caret of the view in the remembered bar of its part at the same
// offset (limited to the line's length); the last line of the part when the
// part has fewer bars now. Returns false when no line of the part is left.
bool RestoreWrapCaret(CStavlinView& view, const KWrapCaret& caret);
