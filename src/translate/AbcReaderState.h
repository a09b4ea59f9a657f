#pragma once
// The ABC reader's header state. It lives for the whole program run and is
// shared by every call: the header fields of one tune go on acting on the
// lines read after it until another field changes them.

#include <memory>

#include "platform/CString.h"

class KStaffLine;

struct AbcReaderState {
  AbcReaderState();
  ~AbcReaderState();
  AbcReaderState(const AbcReaderState&) = delete;
  AbcReaderState& operator=(const AbcReaderState&) = delete;

  int unitLength = 240;  // ticks of one unit note (480 per quarter)
  int meterCode = 404;   // numerator * 100 + denominator; -404 common time, -202 cut time
  int tempo = 120;       // beats per minute
  int tempoUnit = 480;   // ticks of the tempo beat
  int key = 0;           // key-signature index 0..15
  int lastKey = -1;      // key of the previous music line; -1 before the first
  bool titlePending = true;
  bool meterPending = true;
  bool tempoPending = true;
  // The staff line a line ending in "\" left open, and its next free column.
  std::unique_ptr<KStaffLine> continued;
  int continuedColumn = 0;
  bool continueFlag = false;
  bool chordNamesSeen = false;
};

AbcReaderState& GetAbcReaderState();
// Back to the start values (drops a line left open by continuation).
void ResetAbcReaderState();

// Header fields that change the state. The value is the text after the colon.
void ReadAbcKeyField(const CString& value);
void ReadAbcUnitLengthField(const CString& value);
void ReadAbcMeterField(const CString& value);
void ReadAbcTempoField(const CString& value);
