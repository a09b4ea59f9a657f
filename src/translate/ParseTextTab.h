#pragma once
// The line translation command's reader of plain-text tablature: it finds
// blocks of four to six consecutive text lines holding "---" and turns each
// into a tablature line inserted below them.

class KTextTabView;

// Reads the selected display lines, or the block starting at currentLine when
// there is no selection. Always returns 0; a block of fewer than four rows
// without a selection beeps and shows message 7055 and changes nothing.
int ParseTextTab(KTextTabView& view, int currentLine);
