#pragma once
// The text form of a font, as preferences, score files and font owners store
// it: the thirteen numeric LOGFONT fields in declared order as signed decimal
// integers (the 8-bit ones as 0..255), then the face name, joined by commas:
// "16,0,0,0,700,0,0,0,0,3,2,1,34,Arial" is a bold 16-unit Arial. Values are
// carried unchanged, including the text colour some owners keep in lfEscapement.

#include "platform/CString.h"
#include "platform/GdiObjects.h"

// Writes the font text of the font into text.
void LogFontToString(const LOGFONT& font, CString& text);

// Reads a font text into the font. Up to thirteen comma-separated numbers are
// read from the start; reading stops at the first place without a number and
// the fields after it keep their values (8-bit fields take the low 8 bits).
// The face name is the text after the last comma (the whole text when there is
// none), cut to the 31 bytes that lfFaceName holds. Returns true when all
// thirteen numbers were read.
bool StringToLogFont(const CString& text, LOGFONT& font);
