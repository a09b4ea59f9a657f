#pragma once
// Scores of every kind of content the program saves, built with the
// program's own line classes, for the load-and-save tests and as seeds of the
// score-file fuzz target: every line kind, every attachment kind (texts short,
// long, linked), chord diagrams, rhythm symbols, line groups; and a large
// score for the interrupted-save test.

#include <ostream>
#include <string>
#include <vector>

class CStavlinDoc;

struct SampleScore {
  const char* name;
  void (*fill)(CStavlinDoc& doc);
};

// Tests print a sample by its name.
inline void PrintTo(const SampleScore& sample, std::ostream* out) { *out << sample.name; }

// The samples, each with a name fit for a test name.
const std::vector<SampleScore>& SampleScores();

// A score of `lines` staff and tablature lines of `columns` columns each.
void FillLargeScore(CStavlinDoc& doc, int lines, int columns);

// Registers every class a score file holds and installs the program's line
// hooks and services (as the shell does at start-up).
void PrepareRealScoreClasses();
