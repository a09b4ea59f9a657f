#pragma once
// The music-line half of the ABC reader: one line of notes, rests, bars and
// signs read into a treble staff line (or into the line a "\" left open).

#include <memory>

#include "platform/CString.h"

class KLineObj;

// text: the line without its comment, trimmed, not empty. Returns the staff
// line, or null (empty result, or the line stays open for continuation).
std::unique_ptr<KLineObj> ReadAbcMusicLine(const CString& text, int continuation);
