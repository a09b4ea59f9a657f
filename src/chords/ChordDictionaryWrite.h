#pragma once
// Changes to the user chord dictionary file: whole records appended at its
// end, and one chord removed from the file and from memory together.

#include <vector>

#include "platform/CString.h"

class KTuningInfo;

// The digit of the record's column 117: the +4 row bits of the seventh and
// eighth strings. Seven strings: the seventh's bit. Eight strings: the
// seventh's bit counts 2, the eighth's 1. Every writer and reader uses this.
char ExtraStringsRowDigit(int strings, int seventhHigh, int eighthHigh);

// A record of the chord as the chord designer stores it: the tuning and its
// pitch text, the root code, the type (at most 15 characters), the details
// (at most 30) or a tuning's fret-interval field, the variation hint and the
// chord shape. Empty when the fields do not make a 132-character record.
CString BuildChordRecord(const CString& tuning, const CString& pitchText, const CString& root,
                         const CString& type, const CString& details, const CString& hint,
                         const CString& shape);

// Appends the records (each exactly 132 characters) to the chord file. False,
// with the file as it was, when it cannot be written or a record has another
// length.
bool AppendChordRecords(const std::vector<CString>& records);

enum class ChordRemoval {
  kRemoved,      // gone from the file and from memory
  kNotFound,     // the file or memory does not hold the chord: nothing changed
  kWriteFailed,  // the file could not be read or replaced: nothing changed
};

// Removes the first record of the tuning key, root, type name and shape from
// the chord file, and the chord from the tuning's list in memory: both or
// neither. A record's name counts as "(major)" when its name field is blank,
// as it reads in memory. The file is replaced in one step (a new file renamed
// over it), so a failure leaves it whole. listEmpty and nameRemains as
// KTuningInfo::RemoveChord gives them.
ChordRemoval RemoveUserChord(KTuningInfo& info, const CString& root, const CString& name,
                             const CString& shape, int& listEmpty, int& nameRemains);
