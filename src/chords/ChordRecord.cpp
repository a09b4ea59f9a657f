#include "chords/ChordRecord.h"

#include "common/Globals.h"

namespace {

// Columns of the record fields (first column, width).
constexpr int kNamesColumn = 0, kNamesWidth = 13;
constexpr int kPitchColumn = 15, kPitchWidth = 14;
constexpr int kRootColumn = 30;
constexpr int kTypeColumn = 33, kTypeWidth = 15;
constexpr int kDetailsColumn = 54, kDetailsWidth = 30;
constexpr int kHintColumn = 85, kHintWidth = 8;
constexpr int kHeadColumn = 94, kHeadWidth = 7;
constexpr int kSeventhFretColumn = 101, kEighthFretColumn = 102;
constexpr int kFlagsColumn = 105, kFlagsWidth = 5;
constexpr int kGroupAColumn = 111, kGroupBColumn = 114, kGroupWidth = 3;
constexpr int kHighRowColumn = 117;
constexpr int kGroupCColumn = 118, kGroupCWidth = 6;
constexpr int kSeventhFingerColumn = 124, kEighthFingerColumn = 125;

constexpr int kShapeWithExtraText = 40;  // the "&&" text starts here in a shape
const char* const kFretListCharacters = "0123456789,";

// The record as exactly 131 characters: longer text is cut, shorter text
// blank-padded, so that every column below can be read without a bound check.
CString Normalized(const CString& record) {
  CString text = record.Left(kChordRecordTextSize);
  while (text.GetLength() < kChordRecordTextSize) text += ' ';
  return text;
}

CString TrimmedBlanks(CString text) {
  text.TrimRight(' ');
  return text;
}

// A group of columns that counts as empty when it is all blank.
CString GroupOrEmpty(const CString& record, int column, int width) {
  const CString group = record.Mid(column, width);
  return TrimmedBlanks(group).IsEmpty() ? CString() : group;
}

CString Details(const CString& record) { return TrimmedBlanks(record.Mid(kDetailsColumn, kDetailsWidth)); }

CString KeyOfNormalized(const CString& record) {
  CString key = record.Mid(kNamesColumn, kNamesWidth) + TrimmedBlanks(record.Mid(kPitchColumn, kPitchWidth));
  const CString details = Details(record);
  if (!details.IsEmpty() && details.SpanIncluding(kFretListCharacters).GetLength() == details.GetLength()) {
    const int at = details.Find(",12");
    if (at > 0) key += g_FretListMarker + details.Left(at + 3);
  }
  return key;
}

// The text of the seventh and eighth strings, empty for six strings or fewer.
CString ExtraStringText(const CString& record) {
  const char seventh = record[kSeventhFretColumn];
  if (seventh == ' ') return CString();
  const char digit = record[kHighRowColumn];
  const int bits = digit >= '0' && digit <= '9' ? digit - '0' : 0;
  const char eighth = record[kEighthFretColumn];
  CString text("7");
  text += seventh;
  if (eighth == ' ') {
    text += static_cast<char>('0' + bits % 2);
    text += record[kSeventhFingerColumn];
    return text;
  }
  text += bits >= 2 ? '1' : '0';
  text += record[kSeventhFingerColumn];
  text += '8';
  text += eighth;
  text += static_cast<char>('0' + bits % 2);
  text += record[kEighthFingerColumn];
  return text;
}

}  // namespace

int ChordRecordRootIndex(const CString& code) { return ChordRootIndex(code); }

CString ChordRecordTuningKey(const CString& record) { return KeyOfNormalized(Normalized(record)); }

CString ChordRecordExtraStrings(const CString& record) { return ExtraStringText(Normalized(record)); }

CString ChordRecordPitchText(const CString& record) {
  return TrimmedBlanks(Normalized(record).Mid(kPitchColumn, kPitchWidth));
}

CString ChordRecordRootCode(const CString& record) { return Normalized(record).Mid(kRootColumn, 2); }

KUserChordData::KUserChordData(const CString& recordText) {
  const CString record = Normalized(recordText);
  m_rootIndex = ChordRecordRootIndex(record.Mid(kRootColumn, 2));
  if (m_rootIndex < 0) m_rootIndex = 0;
  m_name = TrimmedBlanks(record.Mid(kTypeColumn, kTypeWidth));
  if (m_name.IsEmpty()) m_name = "(major)";
  const CString details = Details(record);
  const int split = details.Find("&&");
  m_description = split < 0 ? details : details.Left(split);
  m_variationHint = record.Mid(kHintColumn, kHintWidth);
  m_shapeHead = record.Mid(kHeadColumn, kHeadWidth);
  m_flagText = record.Mid(kFlagsColumn, kFlagsWidth);
  m_extraStrings = ExtraStringText(record);
  m_groupA = GroupOrEmpty(record, kGroupAColumn, kGroupWidth);
  m_groupB = GroupOrEmpty(record, kGroupBColumn, kGroupWidth);
  m_groupC = GroupOrEmpty(record, kGroupCColumn, kGroupCWidth);
  m_shape = m_shapeHead + m_variationHint + m_flagText + m_groupB + m_groupA + m_groupC + m_extraStrings;
  if (split >= 0) {
    while (m_shape.GetLength() < kShapeWithExtraText) m_shape += ' ';
    m_shape += details.Mid(split + 2);
  }
}
