#pragma once
// Readers of the on/off and limit parts of small comma-separated setting texts.
// A number the text does not hold counts as 0.

#include "platform/CString.h"

// "%d,%d,%d": 1 when the third number is nonzero, else 0.
int ParseTripleFlag(const CString& text);

// "%d,%d,%d,%d,%d": 1 when the fifth number is at least 600, else 0.
int ParseFiveValueLimit(const CString& text);
