#pragma once
// One record of the user chord dictionary file, and the chord it holds.
//
// The file is a run of fixed records of 132 single-byte characters: 129
// characters of blank-padded fields, '$' at column 129, then CR and LF.
// Columns, from 0:
//   0-13    the tuning's string names (its first 13 characters) and a blank
//   15-28   the tuning's pitch digits from its character 13 on
//   30-31   root code (see ChordRootIndex)
//   33-52   chord type name (only 33-47 are read; all blank = "(major)")
//   54-83   details: a description, optionally "&&" and extra shape text; or,
//           for a tuning with a fret list, only that list ("0,1,...,12")
//   85-92   shape characters 7-14        94-100  shape characters 0-6
//   101/102 seventh / eighth string fret  105-109 shape characters 15-19
//   111-113 shape characters 23-25        114-116 shape characters 20-22
//   117     high-row bits of strings 7 and 8
//   118-123 shape characters 26-31        124/125 seventh / eighth string finger
// Columns 14, 29, 32, 53, 84, 93, 104 and 110 hold '^'.

#include "chords/ChordNames.h"
#include "platform/CObject.h"
#include "platform/CString.h"

inline constexpr int kChordRecordSize = 132;
// A record as the readers take it: the line feed is cut off, so that a last
// record without one still counts.
inline constexpr int kChordRecordTextSize = 131;
inline constexpr int kChordRecordEndColumn = 129;  // holds '$'

// The root index (0..16) of a record's root code, by ChordRootIndex (ChordNames.h):
// where the code first occurs in the root table, halved; -1 for any code that
// does not name a root, whatever bytes it holds.
int ChordRecordRootIndex(const CString& code);

// The tuning key of a record (131 or 132 characters; shorter text reads as
// blank-padded): columns 0-12 and the pitch part, then the fret-list marker
// and the fret list when the details field holds one.
CString ChordRecordTuningKey(const CString& record);
// The text of the seventh and eighth strings ("7" and three characters, then
// "8" and three), empty for six strings or fewer. Column 117 is read as
// ExtraStringsRowDigit (ChordDictionaryWrite.h) writes it.
CString ChordRecordExtraStrings(const CString& record);
// Columns 15-28 without trailing blanks.
CString ChordRecordPitchText(const CString& record);
// Columns 30-31.
CString ChordRecordRootCode(const CString& record);

// One chord of the dictionary, read from its record.
class KUserChordData : public CObject {
 public:
  explicit KUserChordData(const CString& record);

  int GetKeyIndex() const { return m_rootIndex; }
  CString GetName() const { return m_name; }
  CString GetDescription() const { return m_description; }
  CString GetVariationHint() const { return m_variationHint; }
  CString GetShape() const { return m_shape; }
  CString GetFlagText() const { return m_flagText; }
  CString GetExtraStrings() const { return m_extraStrings; }

 private:
  int m_rootIndex = 0;      // index of the root code; 0 for a code outside the table
  CString m_name;           // type name, "(major)" when blank
  CString m_description;    // details before any "&&"
  CString m_variationHint;  // columns 85-92
  CString m_shapeHead;      // columns 94-100
  CString m_flagText;       // columns 105-109
  CString m_extraStrings;   // "7..." and "8..." text of strings seven and eight
  CString m_groupA;         // columns 111-113, empty when blank
  CString m_groupB;         // columns 114-116, empty when blank
  CString m_groupC;         // columns 118-123, empty when blank
  CString m_shape;          // the chord shape string put together from the fields
};
