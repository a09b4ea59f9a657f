#pragma once
// What a format's writer reads of a score: its lines in the order the window
// shows them, and the little of the window's state that decides how they are
// written. The view fills it; the writers (src/translate/) take it and return
// the file's text, so that a writer needs no window and tests call it alone.

#include <vector>

class KLineObj;

struct ScoreExport {
  // The score's lines top to bottom; a writer may skip a null entry. A writer
  // may attach marks to a line while it writes it, and takes them off again.
  std::vector<KLineObj*> lines;
  // The pixel heights of the score's text fonts by font slot, slot 0 the
  // score's own text font (a text line in a larger font is a title).
  std::vector<int> textFontHeights;
  // The symbol size: 0 small, 1 large.
  int sizeIndex = 0;
};
