#pragma once
// Reads one text line of ABC notation: a header field becomes a text line or
// changes the reader's state (AbcReaderState.h); a music line becomes a treble
// staff line of note columns and attachments. The text is untrusted: every
// index is checked and anything outside the dialect is skipped.

#include <memory>
#include <string_view>

#include "platform/CString.h"

class KLineObj;

// The text holds a tune of ABC notation: some line starts (after blanks) with
// a reference number "X:" or a key "K:" field. A text without either is not
// ABC, and reading it would make stray notes of its words.
bool HasAbcTuneHeader(std::string_view text);

// continuation: non-zero when a "\" in a music line may keep the staff line
// open for the next call. Returns the new line, or null.
std::unique_ptr<KLineObj> ReadAbcLine(const CString& text, int continuation);

// The note code (stem up) and nominal ticks of a length, from the length table;
// {-1, 0} below 30 ticks.
struct AbcLengthCode {
  int code;
  int nominal;
};
AbcLengthCode AbcNoteCodeForLength(int ticks);
// The rest code of a length; -1 below 30 ticks.
int AbcRestCodeForLength(int ticks);
// The staff row of a pitch (row 18 the middle line, rows counting downward).
int AbcRowOfPitch(int pitch);
