#pragma once
// What the files of view/structure share: the commands that build a score's
// structure (line groups, tunings, labels, line appearance, fonts, bar
// numbering and the view toggles).

#include "platform/CString.h"

class CStavlinView;

// The chord-name font of new chord lines.
CString ViewChordNameFont(const CStavlinView& view);

// After lines changed how they look: lay out again, keep the first visible
// line at the top, mark the score modified and repaint every view.
void RefreshAfterLineChanges(CStavlinView& view);
