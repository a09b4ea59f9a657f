#pragma once
// Puts every program-wide value of the score core back to its start value:
// the preferences and the values the document, the model and the lines share.
// Tests, fuzz targets and benchmarks call it before each case.
void ResetProgramGlobals();
