// Reading one record of the chord dictionary file: root codes, tuning keys
// and the chord's fields and shape.

#include <gtest/gtest.h>

#include "ChordRecordTestSupport.h"
#include "chords/ChordRecord.h"
#include "chords/ChordRecordKeys.h"

using chordtest::MakeRecord;
using chordtest::RecordFields;

namespace {

const char* const kGuitar = "E A D G B E  323742475156";
const char* const kSemitones = "0,1,2,3,4,5,6,7,8,9,10,11,12";

TEST(ChordRecordRoot, IndexIsFirstPlaceInRootTableHalved) {
  const struct {
    const char* code;
    int length;
    int index;
  } cases[] = {{"Ab", 2, 0}, {"A ", 2, 1},   {"A#", 2, 2}, {"Db", 2, 7},   {"G#", 2, 16}, {"X ", 2, -1},
               {"A", 1, -1}, {"A# ", 3, -1}, {"", 0, -1},  {"\0 ", 2, -1}, {"A\0", 2, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(ChordRecordRootIndex(CString(c.code, c.length)), c.index) << '"' << c.code << '"';
}

TEST(ChordRecordTuningKey, KeyIsTuningWithItsFretListUpTo12) {
  const struct {
    const char* details;
    std::string key;
  } cases[] = {
      {"", kGuitar},
      {"a nice chord", kGuitar},
      {kSemitones, std::string(kGuitar) + "!@@!" + kSemitones},
      {"0,2,4,5,7,9,10,12,14", std::string(kGuitar) + "!@@!0,2,4,5,7,9,10,12"},
      {"0,1,2a,12", kGuitar},  // a letter: no fret list
      {",12,13", kGuitar},     // ",12" at the start is no list
      {"0,1,2,3", kGuitar},    // no ",12"
  };
  for (const auto& c : cases) {
    RecordFields f;
    f.details = c.details;
    EXPECT_EQ(ChordRecordTuningKey(MakeRecord(f).c_str()).Str(), c.key) << c.details;
  }
}

TEST(ChordRecordTuningKey, RecordAndLineTuningMeetUnderOneKey) {
  const struct {
    std::string lineTuning;
    const char* details;
  } cases[] = {
      {kGuitar, ""},
      {std::string(kGuitar) + "!@@!20,0,1,2,3,4,5,6,7,8,9,10,11,12,13", kSemitones},
      {"B E A D G C *152025303540", "slash chord"},
      {"G D G B D    594247515400", ""},
  };
  for (const auto& c : cases) {
    RecordFields f;
    f.tuning = c.lineTuning.substr(0, 25);
    f.details = c.details;
    EXPECT_EQ(ChordRecordTuningKey(MakeRecord(f).c_str()), MakeTuningKey(c.lineTuning.c_str()))
        << c.lineTuning;
  }
}

TEST(ChordRecordTuningKey, MakeTuningKeyCutsTheFretList) {
  const struct {
    const char* tuning;
    const char* key;
  } cases[] = {
      {"E A D G B E  323742475156", "E A D G B E  323742475156"},
      {"E A D G B E  323742475156!@@!20", "E A D G B E  323742475156"},  // a count alone
      {"E A D G B E  323742475156!@@!20,0,2,4,12,14", "E A D G B E  323742475156!@@!0,2,4,12"},
      {"E A D G B E  323742475156!@@!20,0,2,4", "E A D G B E  323742475156!@@!20,0,2,4"},  // no ",12"
      {"E A D G B E  323742475156!@@!20,,12", "E A D G B E  323742475156!@@!20,,12"},      // ",12" first
      {"!@@!20,0,12", "!@@!20,0,12"},                                                      // marker first
  };
  for (const auto& c : cases) EXPECT_EQ(MakeTuningKey(c.tuning), c.key) << c.tuning;
}

TEST(ChordRecordData, FieldsAndShapeFromTheirColumns) {
  RecordFields f;
  f.root = "F#";
  f.type = "m7b5 with a long name";  // only 15 characters are read
  f.details = "open voicing";
  f.hint = "V2 hint ";
  f.head = "2101110";
  f.flags = " 1010";
  f.groupA = "640";
  f.groupB = "100";
  f.groupC = "213411";
  const KUserChordData chord(MakeRecord(f).c_str());
  EXPECT_EQ(chord.GetKeyIndex(), 13);
  EXPECT_EQ(chord.GetName(), "m7b5 with a lon");
  EXPECT_EQ(chord.GetDescription(), "open voicing");
  EXPECT_EQ(chord.GetVariationHint(), "V2 hint ");
  EXPECT_EQ(chord.GetFlagText(), " 1010");
  EXPECT_EQ(chord.GetExtraStrings(), "");
  // head, hint, flags, then group B before group A, then group C
  EXPECT_EQ(chord.GetShape(), "2101110V2 hint  1010100640213411");
}

TEST(ChordRecordData, BlankPartsReadAsDocumented) {
  RecordFields f;
  f.type = "";
  f.root = "X ";
  const KUserChordData chord(MakeRecord(f).c_str());
  EXPECT_EQ(chord.GetName(), "(major)");
  EXPECT_EQ(chord.GetKeyIndex(), 0);  // a root outside the table counts as the first
  // blank groups are left out entirely
  EXPECT_EQ(chord.GetShape().Str(), "0032010        " + std::string(" 0000"));
}

TEST(ChordRecordData, ExtraTextAfterAmpersandsEndsAPaddedShape) {
  const struct {
    const char* details;
    const char* description;
    int shapeLength;
    const char* tail;
  } cases[] = {
      {"Barre form&&57", "Barre form", 42, "57"},
      {"&&9", "", 41, "9"},
      {"a&&b&&c", "a", 44, "b&&c"},
  };
  for (const auto& c : cases) {
    RecordFields f;
    f.details = c.details;
    f.groupC = "123400";
    const KUserChordData chord(MakeRecord(f).c_str());
    EXPECT_EQ(chord.GetDescription(), c.description) << c.details;
    const CString shape = chord.GetShape();
    EXPECT_EQ(shape.GetLength(), c.shapeLength) << c.details;
    EXPECT_EQ(shape.Mid(40), c.tail) << c.details;
    EXPECT_EQ(shape.Mid(26, 14), CString(' ', 14)) << c.details;
  }
}

TEST(ChordRecordData, SeventhAndEighthStringText) {
  const struct {
    char seventh, eighth, highRow, finger7, finger8;
    const char* extra;
  } cases[] = {
      {' ', '3', '3', '1', '2', ""},  // no seventh string: nothing
      {'2', ' ', '0', '1', ' ', "7201"},     {'2', ' ', '3', '4', ' ', "7214"},
      {'2', '5', '0', '1', '3', "72018503"}, {'2', '5', '1', '1', '3', "72018513"},
      {'2', '5', '2', '1', '3', "72118503"}, {'2', '5', '3', '1', '3', "72118513"},
      {'2', '5', 'x', '1', '3', "72018503"},  // not a digit: no high rows
  };
  for (const auto& c : cases) {
    RecordFields f;
    f.seventh = c.seventh;
    f.eighth = c.eighth;
    f.highRow = c.highRow;
    f.seventhFinger = c.finger7;
    f.eighthFinger = c.finger8;
    const KUserChordData chord(MakeRecord(f).c_str());
    EXPECT_EQ(chord.GetExtraStrings(), c.extra);
    EXPECT_TRUE(chord.GetShape().Right(static_cast<int>(std::string(c.extra).size())) == c.extra);
  }
}

TEST(ChordRecordData, ShortOrGarbageTextReadsWithoutFault) {
  const std::string garbage[] = {"", "E A", std::string(131, '\xff'), std::string(200, '^'),
                                 std::string("C \0\0", 4) + std::string(140, '&')};
  for (const std::string& text : garbage) {
    const CString record(text.data(), static_cast<int>(text.size()));
    const KUserChordData chord(record);
    EXPECT_GE(chord.GetKeyIndex(), 0);
    EXPECT_FALSE(chord.GetName().IsEmpty());
    EXPECT_LE(ChordRecordTuningKey(record).GetLength(), 13 + 14 + 4 + 30);
  }
}

}  // namespace
