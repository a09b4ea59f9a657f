#pragma once
// The last touch of a MIDI import's systems, so that the score reads as if
// typed: the flagged notes of each beat are beamed together (as typed notes
// are beamed by beat), a system that ends with a full measure ends with a bar
// line, and the last system ends with the final bar.

class CStavlinDoc;

// The document's staff lines are the systems the import made, staffCount
// staves to a system, in order.
void FinishImportedSystems(CStavlinDoc& doc, int staffCount);
