#pragma once
// Puts the program-wide values of the score core and of the score view back
// to their start values: the core's (ResetProgramGlobals), the view's
// mirrors, the shown-once word and the view's own switches. Tests call it
// before each case.
void ResetViewGlobals();
