#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/NoteConversions.h"

namespace {

struct NameCase {
  std::string name;
  int expected;
};

TEST(NoteName, ParsesLetterOctaveAndAccidental) {
  const std::vector<NameCase> cases = {
      // The octave number changes at A.
      {"C4", 60},
      {"B4", 59},
      {"A4", 57},
      {"G4", 67},
      {"A5", 69},
      {"G#4", 68},
      {"Bb3", 46},
      {"C#4", 61},
      {"Db4", 61},
      {"Cb4", 59},
      // Letter and digit may stand anywhere; "#" wins over "b".
      {"4C", 60},
      {"  E 2 ", 40},
      {"Gb#4", 68},
      // The ends of the range.
      {"C0", 12},
      {"Ab0", 8},
      {"G9", 127},
      {"A0", 9},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseNoteName(CString(c.name.c_str())), c.expected) << c.name;
}

TEST(NoteName, RefusesTextThatNamesNoNote) {
  const std::vector<std::string> names = {
      "",         "C",  "4",  "c4", "h4", "#4", "b4",  // no digit, or no upper-case letter A-G
      "@4",       "H4", "X#",                          // "@" only fills the table's black-key places
      "G#9",                                           // above MIDI note 127
      "\xff\x80",
  };
  for (const auto& name : names) EXPECT_EQ(ParseNoteName(CString(name.c_str())), -1) << name;
}

TEST(NoteName, ReadsEmbeddedBytesAsPartOfTheName) {
  // The whole stored text counts, also past a NUL byte.
  EXPECT_EQ(ParseNoteName(CString("C\0"
                                  "4",
                                  3)),
            60);
}

}  // namespace
