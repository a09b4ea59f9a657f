#pragma once
// What the rhythm line needs from the score view while it edits outside
// drawing: a device context to measure its text with. While the view draws,
// g_layoutDC is that context; at other times (key entry, translation, tests)
// the line measures with the context the view registered here, or with a
// built-in fixed-width measuring context until the view registers one.

class CDC;

// The context the rhythm line measures with: g_layoutDC when set, else the
// registered one, else the built-in fixed-width context.
CDC* RhythmMeasureDC();
// The view registers its screen-measuring context (null: the built-in one).
void SetRhythmMeasureDC(CDC* dc);
