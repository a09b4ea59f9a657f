// The reader's text comes from files: truncated and garbage lines must never
// crash or leave the reader in a broken state.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "AbcReaderTestSupport.h"

namespace {

class AbcGarbageTest : public AbcReaderTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AbcGarbageTest, ReadsWithoutFault) {
  for (const int continuation : {0, 1}) {
    ResetAbcReaderState();
    std::unique_ptr<KLineObj> line = Read(GetParam(), continuation);
    // Whatever came out is a well-formed line whose columns can be listed.
    if (auto* staff = dynamic_cast<KStaffLine*>(line.get())) {
      (void)DumpColumns(*staff);
      (void)DumpAttachmentTexts(*staff);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Truncated, AbcGarbageTest,
                         ::testing::Values("[", "(", "\"", "\"unterminated", "((((((((((A)))))))))", "{",
                                           "{A", "A{", "A/0", "A99/99", "z99", "A//////", "[1", "[9A|]",
                                           "A>>>>>>B", "A<<<<B", "---------A", "(3", "(3AB", "(9A",
                                           "::::", ":", "A:", "|]", "[|", "K:", "M:", "Q:=", "Q:=5",
                                           "L:", "M:1/", "M:/", "A'''''',,,,,,", "\xff\xfe\x80 A", "^^^^^^^^",
                                           "~~~~~~~A", "\"\"\"\"\"\"", "}}}}", "]]]]"));

TEST_F(AbcReaderTest, RandomBytesNeverFault) {
  std::mt19937 random(1234);
  const std::string alphabet = "ABCDEFGabcdefgz|:[]()<>{}\"'-,/0123456789^_=~.vu \\%KLMQT";
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      text += round % 4 == 0 ? static_cast<char>(random() % 255 + 1) : alphabet[random() % alphabet.size()];
    }
    std::unique_ptr<KLineObj> line = ReadAbcLine(CString(text.c_str()), static_cast<int>(round % 2));
    if (auto* staff = dynamic_cast<KStaffLine*>(line.get())) (void)DumpColumns(*staff);
  }
  ResetAbcReaderState();
  EXPECT_EQ(GetAbcReaderState().continued, nullptr);
}

}  // namespace
