#pragma once
// What the scan of an opened score compares and writes: a chord as its
// identity text (root code, shape characters 0-19, type name) and tail text
// (shape characters 20-22, 23-25, 26-31 and the seventh- and eighth-string
// text), and the dictionary record made of the two.

#include <vector>

#include "platform/CString.h"

struct ScannedChord {
  CString identity;
  CString tail;
};

// The chord of a diagram: its name split into root and type ("(major)" for a
// root alone) and its shape. False for a name without a root letter.
bool ScannedChordOfDiagram(const CString& name, const CString& shape, ScannedChord& out);
// The chord of a dictionary record.
ScannedChord ScannedChordOfRecord(const CString& record);
// Two chords are the same when root, base fret and string characters, type
// name and the tail from its fourth character agree; the variation hint and
// display flags do not count.
bool SameScannedChord(const ScannedChord& a, const ScannedChord& b);
// The chords of the dictionary file under the tuning key.
std::vector<ScannedChord> DictionaryChordsOfTuning(const CString& tuningKey);
// The record of a scanned chord for the tuning key (a tuning, optionally with
// the fret-list marker and its list); empty when it would not be 132 long.
CString ScannedChordRecord(const CString& tuningKey, const ScannedChord& chord);
