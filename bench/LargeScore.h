#pragma once
// Large generated scores for the benchmarks: staff and tablature lines full
// of note columns, bars and attachments, in bracketed line groups of two,
// with a title line.

class CStavlinDoc;

struct KLargeScoreShape {
  int lines = 2000;          // staff and tablature lines, alternating
  int noteColumns = 200;     // note columns per line
  int columnsPerBar = 8;     // a bar column after this many note columns
  int attachmentEvery = 16;  // one attachment per this many note columns
  int textLineEvery = 0;     // a text line of words after this many line groups; 0: none
};

// Registers the classes a score file holds and installs the program's line
// hooks (call once before the first load).
void PrepareScoreClasses();

// Fills an empty document with a score of the shape; the groups are bound.
void MakeLargeScore(CStavlinDoc& doc, const KLargeScoreShape& shape = {});
